// The program's skins drawn the way skinned windows draw them, without a display: a dialog frame at a size of
// its own from the frame skin's pictures, and the main face with a button in each state. Chosen pixels must
// come from the skins' own pictures; the renders are kept under build/screenshots/ to look at.
#include "platform/win/Regions.h"
#include "tests/app/ProgramSkinRenders.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspSkinData.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kSkinFolder = TP_SKIN_DIR "/";

using ProgramSkinRenders::PixelAt;

void KeepScreenshot(TBitmap& bitmap, const std::string& name)
{
    ProgramSkinRenders::KeepScreenshot(bitmap, TP_SCREENSHOT_DIR, name);
}

TPoint Moved(TPoint p, int dx, int dy)
{
    return TPoint { p.X + dx, p.Y + dy };
}

// Copies `source` of `from` to (x, y) of `to`.
void CopyPiece(TBitmap& to, int x, int y, TBitmap& from, const TRect& source)
{
    to.Canvas()->CopyRect(
        TRect { x, y, x + source.Right - source.Left, y + source.Bottom - source.Top }, from.Canvas(), source);
}

void Label(TBitmap& target, const TRect& box, const char* text, TColor colour, bool centred, bool bold = false)
{
    TCanvas& canvas = *target.Canvas();
    canvas.Font()->SetName("DejaVu Sans");
    canvas.Font()->SetHeight(-12);
    canvas.Font()->SetStyle(bold ? TFontStyles { fsBold } : TFontStyles {});
    canvas.Font()->SetColor(colour);
    canvas.Brush()->SetStyle(bsClear);
    const int width = canvas.TextWidth(text);
    const int height = canvas.TextHeight(text);
    const int x = centred ? (box.Left + box.Right - width) / 2 : box.Left;
    canvas.TextOut(x, (box.Top + box.Bottom - height) / 2, text);
}

TEST(ProgramSkinRender, ADialogFrameAtItsOwnSizeIsCutFromTheFramePicture)
{
    TspSkinData skin(nullptr);
    skin.LoadFromFile(kSkinFolder + "Skin.ini");
    ASSERT_FALSE(skin.Empty);
    TBitmap& picture = *skin.Picture;
    const int width = 480;
    const int height = 340;
    TBitmap frame;
    ProgramSkinRenders::TDialogFrame parts;
    ASSERT_TRUE(ProgramSkinRenders::RenderDialogFrame(skin, width, height, frame, parts));
    const TspDataSkinStdButton* close = parts.Close;
    TBitmap& buttons = *parts.Buttons;
    const int closeLeft = parts.CloseLeft;
    KeepScreenshot(frame, "dialog-frame.png");

    // The four corners are the picture's corners.
    const int w = picture.Width();
    const int h = picture.Height();
    const std::pair<TPoint, TPoint> corners[] = { { { 0, 0 }, { 0, 0 } }, { { width - 1, 0 }, { w - 1, 0 } },
        { { 0, height - 1 }, { 0, h - 1 } }, { { width - 1, height - 1 }, { w - 1, h - 1 } }, { { 3, 20 }, { 3, 20 } },
        { { width - 4, height - 3 }, { w - 4, h - 3 } } };
    for (const auto& [at, from] : corners)
        EXPECT_EQ(PixelAt(frame, at.X, at.Y), PixelAt(picture, from.X, from.Y)) << at.X << "," << at.Y;
    // The caption bar runs on between the corners, and the client area is the picture's client colour.
    EXPECT_EQ(PixelAt(frame, width / 2, 10), PixelAt(picture, w / 2, 10));
    EXPECT_EQ(PixelAt(frame, width / 2, height / 2), PixelAt(picture, w / 2, h / 2));
    // The close button sits at the right end of the caption, with the cross at its centre.
    const int bw = close->SkinRect.Right - close->SkinRect.Left;
    const int bh = close->SkinRect.Bottom - close->SkinRect.Top;
    for (const TPoint& p : { TPoint { bw / 2, bh / 2 }, TPoint { 2, 2 }, TPoint { bw / 2 + 3, bh / 2 + 3 } })
        EXPECT_EQ(PixelAt(frame, closeLeft + p.X, skin.CaptionRect.Top + p.Y),
            PixelAt(buttons, close->SkinRect.Left + p.X, close->SkinRect.Top + p.Y));
    EXPECT_NE(PixelAt(frame, closeLeft + bw / 2, skin.CaptionRect.Top + bh / 2), PixelAt(frame, closeLeft + 2, 12))
        << "the cross stands out from the caption";
}

TEST(ProgramSkinRender, TheMainFaceShowsEachButtonStateFromTheStatesPicture)
{
    TspSkinData skin(nullptr);
    skin.LoadFromFile(kSkinFolder + "MainSkin.ini");
    ASSERT_FALSE(skin.Empty);
    TBitmap& face = *skin.Picture;
    // The face with the button hot: its hot image copied over its place.
    TBitmap window;
    const TspDataSkinButton* go = ProgramSkinRenders::RenderMainFaceHot(skin, "Go", window);
    ASSERT_NE(go, nullptr);
    TBitmap& states = *skin.ActivePictures[size_t(go->ActivePictureIndex)];
    KeepScreenshot(face, "main-face.png");
    KeepScreenshot(window, "main-face-go-hot.png");

    // A point of the button's fill, off its label, in each state.
    const TPoint fill { go->SkinRect.Left + 6, go->SkinRect.Top + 26 };
    const uint32_t normal = PixelAt(face, fill.X, fill.Y);
    const uint32_t hot = PixelAt(window, fill.X, fill.Y);
    EXPECT_EQ(hot, PixelAt(states, go->ActiveSkinRect.Left + 6, go->ActiveSkinRect.Top + 26));
    EXPECT_NE(hot, normal);
    const uint32_t down = PixelAt(states, go->DownRect.Left + 6, go->DownRect.Top + 26);
    const uint32_t disabled = PixelAt(states, go->DisableSkinRsect.Left + 6, go->DisableSkinRsect.Top + 26);
    EXPECT_NE(down, normal);
    EXPECT_NE(down, hot);
    EXPECT_NE(disabled, normal);
    // Outside the button nothing changed.
    EXPECT_EQ(PixelAt(window, go->SkinRect.Left - 3, fill.Y), PixelAt(face, go->SkinRect.Left - 3, fill.Y));

    // The mask rounds the window's corners: the corner pixel is cut away, the edges' middles stay.
    HRGN region = nullptr;
    SPUtils::CreateSkinSimplyRegion(region, skin.MaskPicture.get());
    ASSERT_NE(region, nullptr);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 784, 520));
    EXPECT_TRUE(PtInRegion(region, 392, 0));
    EXPECT_TRUE(PtInRegion(region, 0, 260));
    EXPECT_TRUE(PtInRegion(region, 10, 10));
    DeleteObject(region);
}

template <typename Record>
const Record* ControlAs(const TspSkinData& skin, const char* name)
{
    const int index = skin.GetControlIndex(name);
    return index < 0 ? nullptr : dynamic_cast<const Record*>(skin.ControlRecords[size_t(index)].get());
}

// A nine-part control image of `image` (a rectangle of the record's picture) at width x height, put at (x, y).
void DrawControl(TBitmap& target, int x, int y, int width, int height, TspSkinData& skin,
    const TspDataSkinCustomControl& record, const TRect& image)
{
    const int dw = width - (record.SkinRect.Right - record.SkinRect.Left);
    const bool sizesDown = record.RightBottomPoint.X != 0 && record.RightBottomPoint.Y != 0;
    const int dh = sizesDown ? height - (record.SkinRect.Bottom - record.SkinRect.Top) : 0;
    if (!sizesDown)
        height = record.SkinRect.Bottom - record.SkinRect.Top;
    TBitmap part;
    part.SetPixelFormat(pf32bit);
    part.SetSize(width, height);
    const TRect c = record.ClientRect;
    TPoint lb = record.LeftBottomPoint;
    TPoint rb = record.RightBottomPoint;
    if (!sizesDown)
        lb = rb = TPoint { 0, height };
    SPUtils::CreateSkinImage(record.LeftTopPoint, record.RightTopPoint, lb, rb, c, record.LeftTopPoint,
        Moved(record.RightTopPoint, dw, 0), Moved(lb, 0, dh), Moved(rb, dw, dh),
        TRect { c.Left, c.Top, c.Right + dw, c.Bottom + dh }, &part,
        skin.ActivePictures[size_t(record.PictureIndex)].get(), image, width, height, true, record.LeftStretch,
        record.TopStretch, record.RightStretch, record.BottomStretch, record.StretchEffect, record.StretchType);
    CopyPiece(target, x, y, part, TRect { 0, 0, width, height });
}

TEST(ProgramSkinRender, TheDialogControlsFitTheirRecordsAtTheirOwnSizes)
{
    TspSkinData skin(nullptr);
    skin.LoadFromFile(kSkinFolder + "Skin.ini");
    ASSERT_FALSE(skin.Empty);
    const auto* button = ControlAs<TspDataSkinButtonControl>(skin, "button");
    const auto* edit = ControlAs<TspDataSkinEditControl>(skin, "edit");
    const auto* combo = ControlAs<TspDataSkinComboBox>(skin, "combobox");
    const auto* group = ControlAs<TspDataSkinPanelControl>(skin, "groupbox");
    const auto* gauge = ControlAs<TspDataSkinGaugeControl>(skin, "gauge");
    const auto* check = ControlAs<TspDataSkinCheckRadioControl>(skin, "checkbox");
    ASSERT_TRUE(button && edit && combo && group && gauge && check);

    // A sample dialog body: a group box holding an edit, a choice, a check box and a gauge, and two buttons.
    TBitmap body;
    body.SetPixelFormat(pf32bit);
    body.SetSize(360, 240);
    body.Canvas()->Brush()->SetColor(skin.Colors->cBtnFace);
    body.Canvas()->FillRect(TRect { 0, 0, 360, 240 });
    DrawControl(body, 12, 12, 336, 170, skin, *group, group->SkinRect);
    Label(body, TRect { 12 + group->CaptionRect.Left, 12, 348, 12 + group->CaptionRect.Bottom }, "Output",
        group->FontColor, false);
    DrawControl(body, 24, 48, 312, 24, skin, *edit, edit->SkinRect);
    Label(body, TRect { 30, 48, 330, 72 }, "/home/user/Videos", edit->FontColor, false);
    DrawControl(body, 24, 82, 312, 24, skin, *combo, combo->ActiveSkinRect);
    Label(body, TRect { 30, 82, 300, 106 }, "MP4 - H.264 High Quality (640x480)", combo->FontColor, false);
    const int checkTop = 116;
    CopyPiece(body, 24 + check->CheckImageArea.Left, checkTop + check->CheckImageArea.Top,
        *skin.ActivePictures[size_t(check->PictureIndex)], check->CheckImageRect);
    Label(body, TRect { 24 + check->TextArea.Left, checkTop, 330, checkTop + 20 }, "Fix Aspect Ratio",
        check->FontColor, false);
    DrawControl(body, 24, 148, 312, 18, skin, *gauge, gauge->SkinRect);
    TBitmap progress;
    progress.SetPixelFormat(pf32bit);
    SPUtils::CreateHSkinImage(gauge->BeginOffset, gauge->EndOffset, &progress,
        skin.ActivePictures[size_t(gauge->PictureIndex)].get(), gauge->ProgressRect, 200, 0, gauge->ProgressStretch);
    CopyPiece(body, 24 + gauge->ProgressArea.Left, 148 + gauge->ProgressArea.Top, progress,
        TRect { 0, 0, progress.Width(), progress.Height() });
    DrawControl(body, 172, 200, 84, 27, skin, *button, button->SkinRect);
    Label(body, TRect { 172, 200, 256, 227 }, "OK", button->FontColor, true);
    DrawControl(body, 264, 200, 84, 27, skin, *button, button->ActiveSkinRect);
    Label(body, TRect { 264, 200, 348, 227 }, "Cancel", button->ActiveFontColor, true);
    KeepScreenshot(body, "dialog-controls.png");

    // Each control keeps its picture's corners and edges at any size.
    TBitmap& controls = *skin.ActivePictures[size_t(button->PictureIndex)];
    const TRect b = button->SkinRect;
    EXPECT_EQ(PixelAt(body, 172, 200), PixelAt(controls, b.Left, b.Top));
    EXPECT_EQ(PixelAt(body, 255, 226), PixelAt(controls, b.Right - 1, b.Bottom - 1));
    EXPECT_EQ(PixelAt(body, 200, 200), PixelAt(controls, b.Left + 30, b.Top));
    const TRect e = edit->SkinRect;
    EXPECT_EQ(PixelAt(body, 335, 71), PixelAt(controls, e.Right - 1, e.Bottom - 1));
    EXPECT_EQ(PixelAt(body, 200, 48), PixelAt(controls, e.Left + 40, e.Top));
    // The choice's button sits at its right end, as placed in the record.
    const TRect c = combo->ActiveSkinRect;
    const int buttonCentre = (combo->ButtonRect.Left + combo->ButtonRect.Right) / 2;
    const int dw = 312 - (c.Right - c.Left);
    for (int y = 0; y < 24; ++y)
        EXPECT_EQ(PixelAt(body, 24 + buttonCentre + dw, 82 + y), PixelAt(controls, c.Left + buttonCentre, c.Top + y));
    // The progress fill starts inside the gauge's track.
    EXPECT_EQ(PixelAt(body, 24 + gauge->ProgressArea.Left + 100, 148 + gauge->ProgressArea.Top + 6),
        PixelAt(controls, gauge->ProgressRect.Left + 20, gauge->ProgressRect.Top + 6));
}

} // namespace
