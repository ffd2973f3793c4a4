#include "skin/controls/SkinGauges.h"

#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <memory>

using namespace SPUtils;
using namespace SkinControlSupport;

TspSkinGauge::TspSkinGauge(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("gauge");
    SetBounds(Left(), Top(), 100, 20);
}

void TspSkinGauge::SetMinValue(int value)
{
    FMinValue = value;
    if (FValue < value)
        FValue = value;
    Repaint();
}

void TspSkinGauge::SetMaxValue(int value)
{
    FMaxValue = value;
    if (FValue > value)
        FValue = value;
    Repaint();
}

void TspSkinGauge::SetValue(int value)
{
    value = std::max(FMinValue, std::min(value, FMaxValue));
    if (value == FValue)
        return;
    FValue = value;
    Invalidate();
}

void TspSkinGauge::SetVertical(bool value)
{
    FVertical = value;
    Repaint();
    if (Designing() && !ComponentState().Contains(csLoading))
        SetSkinDataName(value ? "vgauge" : "gauge");
}

void TspSkinGauge::SetUseSkinSize(bool value)
{
    FUseSkinSize = value;
    Repaint();
}

void TspSkinGauge::SetProgressText(std::string_view value)
{
    FProgressText = value;
    Repaint();
}

void TspSkinGauge::SetShowProgressText(bool value)
{
    FShowProgressText = value;
    Repaint();
}

void TspSkinGauge::SetShowPercent(bool value)
{
    FShowPercent = value;
    Repaint();
}

void TspSkinGauge::SetTextAlphaBlend(bool value)
{
    FTextAlphaBlend = value;
    if (SkinIndex != -1 && CaptionShown())
        Repaint();
}

void TspSkinGauge::SetTextAlphaBlendValue(uint8_t value)
{
    FTextAlphaBlendValue = value;
    if (SkinIndex != -1 && FTextAlphaBlend && CaptionShown())
        Repaint();
}

double TspSkinGauge::Fraction() const
{
    if (FMaxValue == FMinValue)
        return 0;
    return double(FValue - FMinValue) / double(FMaxValue - FMinValue);
}

int TspSkinGauge::Percent() const
{
    return int(Trunc(Fraction() * 100));
}

std::string TspSkinGauge::CaptionText() const
{
    std::string text = FShowProgressText ? FProgressText : std::string();
    if (FShowPercent)
        text += std::to_string(Percent()) + "%";
    return text;
}

TRect TspSkinGauge::CalcProgressRect(const TRect& area) const
{
    TRect r = area;
    if (FVertical)
        r.Top = r.Bottom - int(Trunc(Fraction() * RectHeight(area)));
    else
        r.Right = r.Left + int(Trunc(Fraction() * RectWidth(area)));
    return r;
}

void TspSkinGauge::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinGaugeControl>(SkinData(), SkinIndex);
    if (!record)
        return;
    ProgressArea = record->ProgressArea;
    ProgressRect = record->ProgressRect;
    BeginOffset = record->BeginOffset;
    EndOffset = record->EndOffset;
    ProgressStretch = record->ProgressStretch;
    ProgressTransparent = record->ProgressTransparent;
    ProgressTransparentColor = record->ProgressTransparentColor;
    CaptionFont = RecordFont(record);
    FVertical = record->Vertical;
    // A gauge of any size has no window shape.
    if (!FUseSkinSize)
        SkinMask = nullptr;
}

void TspSkinGauge::CalcSize(int& width, int& height)
{
    if (FUseSkinSize) {
        inherited::CalcSize(width, height);
        return;
    }
    const int askedWidth = width;
    const int askedHeight = height;
    inherited::CalcSize(width, height);
    width = askedWidth;
    height = askedHeight;
}

void TspSkinGauge::CreateImage(TBitmap* bitmap)
{
    GetSkinData();
    bitmap->SetSize(Width(), Height());
    if (SkinIndex != -1)
        inherited::CreateControlSkinImage(bitmap);
}

void TspSkinGauge::DrawFill(TCanvas* canvas, const TRect& progress)
{
    const int pw = RectWidth(progress);
    const int ph = RectHeight(progress);
    const TRect& src = ProgressRect;
    // A fill without a middle piece is not drawn.
    if ((FVertical ? RectHeight(src) : RectWidth(src)) - BeginOffset - EndOffset <= 0)
        return;
    TspSkinImageKey key(TspSkinImageKind::GaugeFill, SkinPicture);
    key.Add(src).Add(BeginOffset).Add(EndOffset).Add(pw).Add(ph).Add(ProgressStretch).Add(FVertical);
    key.Add(ProgressTransparent).Add(int(ProgressTransparentColor));
    TBitmap scratch;
    TBitmap* fill = CachedSkinImage(SkinData() ? SkinData()->ImageCache() : nullptr, key, scratch,
        [&](TBitmap* image) { ComposeFill(image, pw, ph); });
    canvas->Draw(progress.Left, progress.Top, fill);
}

void TspSkinGauge::ComposeFill(TBitmap* fill, int pw, int ph)
{
    const TRect& src = ProgressRect;
    fill->SetSize(pw, ph);
    TCanvas* c = fill->Canvas();
    TCanvas* picture = SkinPicture->Canvas();
    if (!FVertical) {
        const TRect middle = Rect(src.Left + BeginOffset, src.Top, src.Right - EndOffset, src.Bottom);
        const int tile = RectWidth(middle);
        if (pw > BeginOffset + EndOffset) {
            const int end = pw - EndOffset;
            if (ProgressStretch) {
                c->CopyRect(Rect(BeginOffset, 0, end, ph), picture, middle);
            } else {
                for (int x = BeginOffset; x < end; x += tile) {
                    const int w = std::min(tile, end - x);
                    c->CopyRect(Rect(x, 0, x + w, ph), picture,
                        Rect(middle.Left, middle.Top, middle.Left + w, middle.Bottom));
                }
            }
        }
        c->CopyRect(Rect(0, 0, BeginOffset, ph), picture, Rect(src.Left, src.Top, src.Left + BeginOffset, src.Bottom));
        c->CopyRect(Rect(pw - EndOffset, 0, pw, ph), picture, Rect(src.Right - EndOffset, src.Top, src.Right, src.Bottom));
    } else {
        const TRect middle = Rect(src.Left, src.Top + BeginOffset, src.Right, src.Bottom - EndOffset);
        const int tile = RectHeight(middle);
        if (ph > BeginOffset + EndOffset) {
            const int top = BeginOffset;
            if (ProgressStretch) {
                c->CopyRect(Rect(0, top, pw, ph - EndOffset), picture, middle);
            } else {
                // From the bottom upward; the top tile keeps its lower rows.
                for (int y = ph - EndOffset; y > top; y -= tile) {
                    const int h = std::min(tile, y - top);
                    c->CopyRect(Rect(0, y - h, pw, y), picture,
                        Rect(middle.Left, middle.Bottom - h, middle.Right, middle.Bottom));
                }
            }
        }
        c->CopyRect(Rect(0, 0, pw, BeginOffset), picture, Rect(src.Left, src.Top, src.Right, src.Top + BeginOffset));
        c->CopyRect(Rect(0, ph - EndOffset, pw, ph), picture, Rect(src.Left, src.Bottom - EndOffset, src.Right, src.Bottom));
    }
    if (ProgressTransparent) {
        fill->SetTransparentMode(tmFixed);
        fill->SetTransparentColor(ProgressTransparentColor);
        fill->SetTransparent(true);
    }
}

void TspSkinGauge::BuildSkinImage(TBitmap* bitmap, bool caption)
{
    inherited::CreateControlSkinImage(bitmap);
    // The area follows the control's size along the bar when the skin resizes that way.
    FNewProgressArea = ProgressArea;
    const int mode = SkinResizeMode;
    if (!FVertical && (mode == 1 || mode == 2))
        FNewProgressArea.Right += bitmap->Width() - RectWidth(SkinRectangle);
    if (FVertical && (mode == 1 || mode == 3))
        FNewProgressArea.Bottom += bitmap->Height() - RectHeight(SkinRectangle);
    const TRect progress = CalcProgressRect(FNewProgressArea);
    if (!SkinPicture || RectWidth(progress) <= 0 || RectHeight(progress) <= 0)
        return;
    const int middle = FVertical ? RectHeight(ProgressRect) - BeginOffset - EndOffset
                                 : RectWidth(ProgressRect) - BeginOffset - EndOffset;
    // A progress picture without a middle draws neither the fill nor the caption.
    if (middle <= 0)
        return;
    DrawFill(bitmap->Canvas(), progress);
    if (!caption)
        return;
    if (!FTextAlphaBlend || !CaptionShown()) {
        DrawProgressText(bitmap->Canvas());
        return;
    }
    TBitmap withText;
    withText.Assign(bitmap);
    DrawProgressText(withText.Canvas());
    TspEffectBmp blended(withText.Handle());
    const TspEffectBmp without(bitmap->Handle());
    // The caption keeps the weight TextAlphaBlendValue / 255.
    blended.Morph(&without, 1.0 - FTextAlphaBlendValue / 255.0);
    blended.Draw(bitmap->Canvas()->Handle(), 0, 0);
}

void TspSkinGauge::CreateControlSkinImage(TBitmap* bitmap)
{
    BuildSkinImage(bitmap, FUseSkinSize);
}

void TspSkinGauge::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clWindow);
    canvas->FillRect(ClientRect());
    Frm3D(canvas, Rect(0, 0, Width(), Height()), clBtnShadow, clBtnShadow);
    const TRect progress = CalcProgressRect(Rect(1, 1, Width() - 1, Height() - 1));
    if (RectWidth(progress) > 0 && RectHeight(progress) > 0) {
        canvas->Brush()->SetColor(RGB(182, 189, 210));
        canvas->FillRect(progress);
    }
    DrawProgressText(canvas);
}

void TspSkinGauge::DrawProgressText(TCanvas* canvas)
{
    const std::string text = CaptionText();
    if (text.empty())
        return;
    TFont* font = canvas->Font();
    if (SkinIndex == -1) {
        font->Assign(DefaultFont());
        ApplyCaptionFont(font, CaptionFont, false, DefaultFont(), SkinData());
    } else {
        ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
        font->SetColor(CaptionFont.Color);
    }
    canvas->Brush()->SetStyle(bsClear);
    const int textWidth = canvas->TextWidth(text);
    const int textHeight = canvas->TextHeight(text);
    if (!FVertical) {
        canvas->TextOut(Width() / 2 - textWidth / 2, Height() / 2 - textHeight / 2, text);
        return;
    }
    // Rotated to read upward, starting low.
    font->SetOrientation(900);
    canvas->TextOut(Width() / 2 - textHeight / 2, textWidth / 2 + Height() / 2, text);
    font->SetOrientation(0);
}

void TspSkinGauge::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    if (SkinIndex == -1 || FUseSkinSize) {
        inherited::Paint();
        return;
    }
    // A skin image of the skin's own size (fixed skins) or of the control's, stretched to the control.
    TBitmap image;
    image.SetSize(Width(), Height());
    BuildSkinImage(&image, false);
    TBitmap sized;
    sized.SetSize(Width(), Height());
    sized.Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), &image);
    DrawProgressText(sized.Canvas());
    TCanvas* canvas = Canvas();
    if (!AlphaBlend()) {
        canvas->Draw(0, 0, &sized);
        return;
    }
    TBitmap background;
    background.SetSize(Width(), Height());
    GetParentImage(this, background.Canvas());
    TspEffectBmp blended(sized.Handle());
    const TspEffectBmp behind(background.Handle());
    blended.Morph(&behind, 1.0 - AlphaBlendValue() / 255.0);
    blended.Draw(canvas->Handle(), 0, 0);
}

void TspSkinGauge::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        PaintOnErase(message);
        return;
    }
    inherited::WndProc(message);
}
