#include "tests/app/ProgramSkinRenders.h"

#include "framework/graphics/TCanvas.h"
#include "imaging/TPNGObject.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspSkinData.h"

#include <filesystem>

namespace ProgramSkinRenders {

namespace {

TPoint Moved(TPoint p, int dx, int dy)
{
    return TPoint { p.X + dx, p.Y + dy };
}

template <class Record> const Record* ObjectAs(const TspSkinData& skin, const char* name)
{
    const int index = skin.GetIndex(name);
    return index < 0 ? nullptr : dynamic_cast<const Record*>(skin.ObjectRecords[size_t(index)].get());
}

// Copies `source` of `from` to (x, y) of `to`.
void CopyPiece(TBitmap& to, int x, int y, TBitmap& from, const TRect& source)
{
    to.Canvas()->CopyRect(
        TRect { x, y, x + source.Right - source.Left, y + source.Bottom - source.Top }, from.Canvas(), source);
}

void Label(TBitmap& target, const TRect& box, const char* text, TColor colour)
{
    TCanvas& canvas = *target.Canvas();
    canvas.Font()->SetName("DejaVu Sans");
    canvas.Font()->SetHeight(-12);
    canvas.Font()->SetStyle(TFontStyles { fsBold });
    canvas.Font()->SetColor(colour);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(box.Left, (box.Top + box.Bottom - canvas.TextHeight(text)) / 2, text);
}

} // namespace

uint32_t PixelAt(TBitmap& bitmap, int x, int y)
{
    const int bytes = bitmap.PixelFormat() == pf32bit ? 4 : 3;
    const auto* p = static_cast<const uint8_t*>(bitmap.ScanLine(y)) + x * bytes;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

void KeepScreenshot(TBitmap& bitmap, const std::string& folder, const std::string& name)
{
    std::filesystem::create_directories(folder);
    // Kept opaque: a 32-bit render carries no alpha worth keeping.
    TBitmap opaque;
    opaque.SetPixelFormat(pf24bit);
    opaque.SetSize(bitmap.Width(), bitmap.Height());
    opaque.Canvas()->CopyRect(TRect { 0, 0, bitmap.Width(), bitmap.Height() }, bitmap.Canvas(),
        TRect { 0, 0, bitmap.Width(), bitmap.Height() });
    TPNGObject png;
    png.Assign(&opaque);
    png.SaveToFile(folder + "/" + name);
}

bool RenderDialogFrame(TspSkinData& skin, int width, int height, TBitmap& frame, TDialogFrame& parts)
{
    parts.Close = ObjectAs<TspDataSkinStdButton>(skin, "closebutton");
    parts.SysMenu = ObjectAs<TspDataSkinStdButton>(skin, "sysmenubutton");
    parts.Caption = ObjectAs<TspDataSkinCaption>(skin, "caption");
    if (skin.Empty || !parts.Close || !parts.SysMenu || !parts.Caption || parts.Close->ActivePictureIndex < 0
        || size_t(parts.Close->ActivePictureIndex) >= skin.ActivePictures.size())
        return false;
    TBitmap& picture = *skin.Picture;
    const int dx = width - picture.Width();
    const int dy = height - picture.Height();
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(width, height);
    const TRect client = skin.ClientRect;
    SPUtils::CreateSkinImage(skin.LeftTopPoint, skin.RightTopPoint, skin.LeftBottomPoint, skin.RightBottomPoint,
        client, skin.LeftTopPoint, Moved(skin.RightTopPoint, dx, 0), Moved(skin.LeftBottomPoint, 0, dy),
        Moved(skin.RightBottomPoint, dx, dy), TRect { client.Left, client.Top, client.Right + dx, client.Bottom + dy },
        &frame, &picture, TRect { 0, 0, picture.Width(), picture.Height() }, width, height, true, skin.LeftStretch,
        skin.TopStretch, skin.RightStretch, skin.BottomStretch, skin.StretchEffect, skin.StretchType);

    // The caption buttons of a dialog, right to left from the end of the button row, and the system menu mark
    // at the start of the caption.
    parts.Buttons = skin.ActivePictures[size_t(parts.Close->ActivePictureIndex)].get();
    const TRect closeRect = parts.Close->SkinRect;
    const TRect markRect = parts.SysMenu->SkinRect;
    parts.CloseLeft = skin.CaptionRect.Right + dx - (closeRect.Right - closeRect.Left);
    CopyPiece(frame, parts.CloseLeft, skin.CaptionRect.Top, *parts.Buttons, closeRect);
    const int captionHeight = skin.CaptionRect.Bottom - skin.CaptionRect.Top;
    const int markTop = skin.CaptionRect.Top + captionHeight / 2 - (markRect.Bottom - markRect.Top) / 2;
    CopyPiece(frame, skin.CaptionRect.Left, markTop, *parts.Buttons, markRect);
    // The caption text starts after the mark.
    const int textLeft = skin.CaptionRect.Left + (markRect.Right - markRect.Left) + parts.Caption->TextRect.Left;
    Label(frame, TRect { textLeft, skin.CaptionRect.Top, parts.CloseLeft, skin.CaptionRect.Bottom }, "Output Settings",
        parts.Caption->ActiveFontColor);
    return true;
}

const TspDataSkinButton* RenderMainFaceHot(TspSkinData& skin, const char* name, TBitmap& window)
{
    const auto* button = ObjectAs<TspDataSkinButton>(skin, name);
    if (skin.Empty || !button || button->ActivePictureIndex < 0
        || size_t(button->ActivePictureIndex) >= skin.ActivePictures.size())
        return nullptr;
    TBitmap& face = *skin.Picture;
    window.SetPixelFormat(pf24bit);
    window.SetSize(face.Width(), face.Height());
    CopyPiece(window, 0, 0, face, TRect { 0, 0, face.Width(), face.Height() });
    CopyPiece(window, button->SkinRect.Left, button->SkinRect.Top, *skin.ActivePictures[size_t(button->ActivePictureIndex)],
        button->ActiveSkinRect);
    return button;
}

} // namespace ProgramSkinRenders
