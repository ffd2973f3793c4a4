#include "skin/controls/SkinControlSupport.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinLabels.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"

#include <algorithm>

using namespace SPUtils;

namespace SkinControlSupport {

void ApplyCaptionFont(TFont* font, const TRecordFont& values, bool useSkinFont, TFont* defaultFont,
    const TspSkinData* skin)
{
    if (useSkinFont) {
        font->SetName(values.Name);
        font->SetHeight(values.Height);
        font->SetStyle(values.Style);
    } else {
        const TColor color = font->Color();
        font->Assign(defaultFont);
        font->SetColor(color);
    }
    SkinLabels::ApplyCharset(font, skin, defaultFont);
}

void DrawPiece(TCanvas* canvas, int x, int y, TBitmap* picture, const TRect& source, bool transparent,
    TColor transparentColor)
{
    if (!picture || RectWidth(source) <= 0 || RectHeight(source) <= 0)
        return;
    TBitmap piece;
    piece.SetSize(RectWidth(source), RectHeight(source));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), picture->Canvas(), source);
    if (transparent) {
        piece.SetTransparentMode(tmFixed);
        piece.SetTransparentColor(transparentColor);
        piece.SetTransparent(true);
    }
    canvas->Draw(x, y, &piece);
}

bool DropClickWithoutFocus(TWinControl* control, const TMessage& message, bool& focusingByClick)
{
    if (message.Msg == CN_COMMAND)
        return focusingByClick;
    if (message.Msg != WM_LBUTTONDOWN && message.Msg != WM_LBUTTONDBLCLK)
        return false;
    if (control->Focused() || control->ComponentState().Contains(csDesigning))
        return false;
    focusingByClick = true;
    if (control->CanFocus())
        control->SetFocus();
    focusingByClick = false;
    return !control->Focused();
}

} // namespace SkinControlSupport

namespace SkinControlSupport {

namespace {

bool ListImage(const TCaptionImage& image)
{
    return image.Glyph->Empty() && image.List && image.Index >= 0 && image.Index < image.List->Count();
}

} // namespace

void BindSkinData(TComponent* owner, TspSkinData*& field, TspSkinData* value)
{
    if (field)
        field->RemoveFreeNotification(owner);
    field = value;
    if (value)
        value->FreeNotification(owner);
}

int TCaptionImage::Width() const
{
    if (ListImage(*this))
        return List->Width();
    return Glyph->Empty() ? 0 : Glyph->Width() / NumGlyphs;
}

int TCaptionImage::Height() const
{
    if (ListImage(*this))
        return List->Height();
    return Glyph->Empty() ? 0 : Glyph->Height();
}

void TCaptionImage::Draw(TCanvas* canvas, int x, int y) const
{
    if (Glyph->Empty()) {
        if (ListImage(*this))
            List->Draw(canvas, x, y, Index, Enabled);
        return;
    }
    const int cell = Glyph->Width() / NumGlyphs;
    const int index = (!Enabled && NumGlyphs == 2) ? 1 : 0;
    TBitmap piece;
    piece.SetSize(cell, Glyph->Height());
    piece.Canvas()->CopyRect(Rect(0, 0, cell, Glyph->Height()), Glyph->Canvas(),
        Rect(index * cell, 0, (index + 1) * cell, Glyph->Height()));
    piece.SetTransparent(true);
    canvas->Draw(x, y, &piece);
}

void TPopupFade::Start(HWND window, int target)
{
    FOpacity = 0;
    FTarget = target;
    SetAlphaBlendTransparent(window, 0);
    SetTimer(window, FTimerId, 10, nullptr);
}

void TPopupFade::Stop(HWND window) { KillTimer(window, FTimerId); }

bool TPopupFade::Step(HWND window, UINT_PTR timerId)
{
    if (timerId != FTimerId)
        return false;
    FOpacity = std::min(FOpacity + 10, FTarget);
    SetAlphaBlendTransparent(window, FOpacity);
    if (FOpacity >= FTarget)
        Stop(window);
    return true;
}

} // namespace SkinControlSupport
