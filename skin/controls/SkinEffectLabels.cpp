#include "skin/controls/SkinEffectLabels.h"

#include "framework/controls/Menus.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <array>

namespace {

constexpr uint32_t kAlignments[] = { DT_LEFT, DT_RIGHT, DT_CENTER };

// A bitmap of the size filled white, with `font` in black and a clear brush: the mask a label draws its text on.
std::unique_ptr<TBitmap> TextMask(int width, int height, const TFont* font)
{
    auto mask = std::make_unique<TBitmap>();
    mask->SetSize(width, height);
    TCanvas* canvas = mask->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, width, height));
    canvas->Font()->Assign(const_cast<TFont*>(font));
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    return mask;
}

} // namespace

TColor SkinLabelTextColor(const TspSkinData* skin, int skinIndex, bool useSkinColor, const TFont* font)
{
    if (useSkinColor && skin && !skin->Empty && skinIndex >= 0
        && skinIndex < static_cast<int>(skin->ControlRecords.size()))
        if (auto* record = dynamic_cast<TspDataSkinStdLabelControl*>(skin->ControlRecords[size_t(skinIndex)].get()))
            return record->FontColor;
    return font->Color();
}

// ---- TspSkinBevel -----------------------------------------------------------------------------------------------

TspSkinBevel::TspSkinBevel(TComponent* owner)
    : inherited(owner)
{
}

void TspSkinBevel::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    ChangeSkinData();
}

void TspSkinBevel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
}

void TspSkinBevel::ChangeSkinData()
{
    SkinIndex = FSkinLink.ControlIndex();
    if (SkinIndex == -1) {
        FLightColor = clBtnHighlight;
        FDarkColor = clBtnShadow;
    } else if (auto* record = dynamic_cast<TspDataSkinBevel*>(FSkinLink.Skin()->ControlRecords[size_t(SkinIndex)].get())) {
        FLightColor = record->LightColor;
        FDarkColor = record->DarkColor;
    }
    Repaint();
}

void TspSkinBevel::SetDividerMode(bool value)
{
    FDividerMode = value;
    Repaint();
}

void TspSkinBevel::SetBounds(int left, int top, int width, int height)
{
    // On a skinned tool bar a bevel is always centred, whatever the tool bar says about its controls.
    top = CenteredTopInToolBar(Parent(), top, height, true);
    inherited::SetBounds(left, top, width, height);
}

void TspSkinBevel::Paint()
{
    TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    const bool lowered = Style() == bsLowered;
    const TColor c1 = lowered ? FDarkColor : FLightColor;
    const TColor c2 = lowered ? FLightColor : FDarkColor;
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
    auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    // The first half (left and top) in one colour, the second (right and bottom) in the other.
    auto bevelRect = [canvas](TColor first, TColor second, int l, int t, int r, int b) {
        canvas->Pen()->SetColor(first);
        const std::array<TPoint, 3> a { TPoint { l, b }, TPoint { l, t }, TPoint { r, t } };
        canvas->Polyline(a);
        canvas->Pen()->SetColor(second);
        const std::array<TPoint, 3> b2 { TPoint { r, t }, TPoint { r, b }, TPoint { l, b } };
        canvas->Polyline(b2);
    };
    if (FDividerMode) {
        switch (Shape()) {
        case bsTopLine:
        case bsBottomLine:
            bevelRect(c1, c2, 2, h / 2 - 1, w - 2, h / 2);
            break;
        case bsSpacer:
            break;
        default:
            bevelRect(c1, c2, w / 2 - 1, 2, w / 2, h - 2);
            break;
        }
        return;
    }
    switch (Shape()) {
    case bsBox:
        bevelRect(c1, c2, 0, 0, w - 1, h - 1);
        break;
    case bsFrame:
        bevelRect(c2, c2, 1, 1, w - 1, h - 1);
        bevelRect(c1, c1, 0, 0, w - 2, h - 2);
        break;
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

// ---- TspSkinWaveLabel -------------------------------------------------------------------------------------------

TspSkinWaveLabel::TspSkinWaveLabel(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csOpaque);
    SetSkinDataName("stdlabel");
    Font()->SetName("Arial");
    Font()->SetSize(16);
    Font()->SetStyle({ fsBold });
    SetBounds(Left(), Top(), 200, 40);
}

void TspSkinWaveLabel::SetAntialiasing(bool value)
{
    FAntialiasing = value;
    Repaint();
}

void TspSkinWaveLabel::SetXDiv(int value)
{
    FXDiv = value;
    Repaint();
}

void TspSkinWaveLabel::SetYDiv(int value)
{
    FYDiv = value;
    Repaint();
}

void TspSkinWaveLabel::SetRatioVal(int value)
{
    FRatioVal = value;
    Repaint();
}

void TspSkinWaveLabel::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Repaint();
}

void TspSkinWaveLabel::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    switch (message.Msg) {
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        // The label shows what lies behind it: it repaints on every move (the root repaints a blended one).
        if (!AlphaBlend())
            Repaint();
        break;
    case CM_TEXTCHANGED:
        Repaint();
        break;
    default:
        break;
    }
}

void TspSkinWaveLabel::Paint()
{
    const int w = Width();
    const int h = Height();
    if (w <= 0 || h <= 0)
        return;
    GetSkinData();
    auto mask = TextMask(w, h, Font());
    TCanvas* maskCanvas = mask->Canvas();
    const std::string& text = Caption();
    const int textWidth = maskCanvas->TextWidth(text);
    const int textHeight = maskCanvas->TextHeight(text);
    int x = FAlignment == taLeftJustify ? 10 : FAlignment == taRightJustify ? w - textWidth - 10 : w / 2 - textWidth / 2;
    int y = h / 2 - textHeight / 2;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    maskCanvas->TextOut(x, y, text);
    TspEffectBmp maskImage(mask->Handle());
    TBitmap background;
    background.SetSize(w, h);
    SPUtils::GetParentImage(this, background.Canvas());
    TspEffectBmp image(background.Handle());
    maskImage.Wave(FXDiv, FYDiv, FRatioVal);
    const TColor color = SkinLabelTextColor(SkinData(), SkinIndex, FUseSkinColor, Font());
    image.MaskFillColor(&maskImage, color, AlphaBlend() ? AlphaBlendValue() / 255.0 : 1.0);
    if (FAntialiasing)
        image.MaskAntialiasing(&maskImage, 1);
    image.Draw(Canvas()->Handle(), 0, 0);
}

// ---- TspSkinShadowLabel -----------------------------------------------------------------------------------------

TspSkinShadowLabel::TspSkinShadowLabel(TComponent* owner)
    : inherited(owner)
{
    FControlStyle = FControlStyle + TControlStyle { csOpaque, csReplicatable };
    SetSkinDataName("stdlabel");
    Font()->SetName("Arial");
    Font()->SetHeight(16);
    Font()->SetStyle({ fsBold });
    TControl::SetAutoSize(true);
    SetBounds(Left(), Top(), 65, 17);
}

void TspSkinShadowLabel::SetLayout(TTextLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Invalidate();
}

void TspSkinShadowLabel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Invalidate();
}

void TspSkinShadowLabel::SetShowAccelChar(bool value)
{
    if (value == FShowAccelChar)
        return;
    FShowAccelChar = value;
    Invalidate();
}

void TspSkinShadowLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TspSkinShadowLabel::SetAutoSize(bool value)
{
    if (value == AutoSize())
        return;
    inherited::SetAutoSize(value);
    AdjustBounds();
}

void TspSkinShadowLabel::SetFocusControl(TWinControl* value)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (FFocusControl)
        FFocusControl->FreeNotification(this);
}

void TspSkinShadowLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}

void TspSkinShadowLabel::Loaded()
{
    inherited::Loaded();
    AdjustBounds();
}

void TspSkinShadowLabel::DoDrawText(TCanvas* canvas, TRect& rect, uint32_t flags)
{
    std::string text = GetLabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    RECT r = ToRECT(rect);
    DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    rect = FromRECT(r);
}

void TspSkinShadowLabel::AdjustBounds()
{
    if (ComponentState().Contains(csLoading) || !AutoSize())
        return;
    TBitmap screen;
    screen.SetSize(1, 1);
    TCanvas* canvas = screen.Canvas();
    canvas->Font()->Assign(Font());
    TRect rect = ClientRect();
    DoDrawText(canvas, rect, (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
    int x = Left();
    const int width = rect.Right - rect.Left;
    if (FAlignment == taRightJustify)
        x += Width() - width;
    // Room for the shadow, two pixels down and right of the text.
    SetBounds(x, Top(), width + 3, rect.Bottom - rect.Top + 3);
}

uint32_t TspSkinShadowLabel::TextFlags() const
{
    return (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | kAlignments[FAlignment];
}

TRect TspSkinShadowLabel::TextRect(TCanvas* canvas, uint32_t flags)
{
    TRect r = ClientRect();
    r.Right -= 3;
    r.Bottom -= 3;
    if (FLayout != tlTop) {
        TRect measured = ClientRect();
        DoDrawText(canvas, measured, flags | DT_CALCRECT);
        const int dy = FLayout == tlBottom ? Height() - measured.Bottom - 2 : (Height() - measured.Bottom) / 2 - 2;
        r.Top += dy;
        r.Bottom += dy;
    }
    return r;
}

void TspSkinShadowLabel::Paint()
{
    const int w = Width();
    const int h = Height();
    if (w < 1 || h < 1)
        return;
    GetSkinData();
    Canvas()->Font()->Assign(Font());
    auto mask = TextMask(w, h, Font());
    const uint32_t flags = TextFlags();
    TRect r = TextRect(mask->Canvas(), flags);
    // The shadow's shape: the text at offsets 1 and 2.
    for (int i = 0; i < 2; ++i) {
        r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
        TRect drawn = r;
        DoDrawText(mask->Canvas(), drawn, flags);
    }
    TspEffectBmp maskImage(mask->Handle());
    TBitmap background;
    background.SetSize(w, h);
    SPUtils::GetParentImage(this, background.Canvas());
    {
        TspEffectBmp image(background.Handle());
        image.MaskFillColor(&maskImage, clBlack, 0.3);
        image.MaskAntialiasing(&maskImage, 1);
        image.Draw(background.Canvas()->Handle(), 0, 0);
    }
    TCanvas* canvas = background.Canvas();
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(SkinLabelTextColor(SkinData(), SkinIndex, FUseSkinColor, Font()));
    canvas->Brush()->SetStyle(bsClear);
    TRect textRect = TextRect(canvas, flags);
    DoDrawText(canvas, textRect, flags);
    Canvas()->Draw(0, 0, &background);
}

void TspSkinShadowLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(uint32_t(message.WParam), Caption())
            && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
        }
        return;
    default:
        inherited::WndProc(message);
        break;
    }
    if ((message.Msg == WM_MOVE || message.Msg == WM_WINDOWPOSCHANGED) && !AlphaBlend())
        Repaint();
}
