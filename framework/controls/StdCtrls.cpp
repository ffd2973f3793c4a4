#include "framework/controls/StdCtrls.h"

#include "framework/controls/Menus.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"

namespace {

constexpr uint32_t kAlignments[] = { DT_LEFT, DT_RIGHT, DT_CENTER };

} // namespace

TCustomLabel::TCustomLabel(TComponent* owner)
    : TGraphicControl(owner)
{
    FControlStyle = FControlStyle + TControlStyle { csOpaque, csReplicatable };
    FWidth = 65;
    FHeight = 17;
    TControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value)
{
    if (value == AutoSize())
        return;
    inherited::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value)
{
    if (value == Transparent())
        return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (value == FShowAccelChar)
        return;
    FShowAccelChar = value;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    if (value == FFocusControl)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (FFocusControl)
        FFocusControl->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}

void TCustomLabel::DoDrawText(TRect& rect, uint32_t flags)
{
    std::string text = GetLabelText();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    RECT r = ToRECT(rect);
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        // The engraved look of disabled text: a light copy one pixel down and right, the shadow on top.
        OffsetRect(&r, 1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        canvas->Font()->SetColor(clBtnShadow);
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    } else {
        DrawText(canvas->Handle(), text.c_str(), int(text.size()), &r, flags);
    }
    rect = FromRECT(r);
}

void TCustomLabel::Paint()
{
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    const uint32_t style = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | kAlignments[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = rect;
        DoDrawText(calc, style | DT_CALCRECT);
        const int dy = FLayout == tlBottom ? FHeight - calc.Bottom : (FHeight - calc.Bottom) / 2;
        rect.Top += dy;
        rect.Bottom += dy;
    }
    DoDrawText(rect, style);
}

void TCustomLabel::AdjustBounds()
{
    if (ComponentState().Contains(csLoading) || !AutoSize())
        return;
    TRect rect = ClientRect();
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    Canvas()->SetHandle(dc);
    DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    int x = FLeft;
    const int width = rect.Right - rect.Left;
    if (FAlignment == taRightJustify)
        x = FLeft + FWidth - width;
    else if (FAlignment == taCenter)
        x = FLeft + (FWidth - width) / 2;
    SetBounds(x, FTop, width, rect.Bottom - rect.Top);
}

void TCustomLabel::CMTextChanged(TMessage&)
{
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& message)
{
    TControl::CMFontChanged(message);
    AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& message)
{
    if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(uint32_t(message.WParam), Caption())
        && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        message.Result = 1;
    }
}

void TCustomLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}
