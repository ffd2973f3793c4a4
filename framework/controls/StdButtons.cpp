#include "framework/controls/StdButtons.h"

#include "framework/controls/Menus.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ButtonControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

// --- TButtonControl ------------------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner)
    : TWinControl(owner)
{
}

void TButtonControl::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is a "BUTTON" under the control's own class name: its procedure is the button's.
    RegisterButtonClass();
    WNDCLASS button {};
    GetClassInfo(nullptr, WC_BUTTON, &button);
    params.WindowClass.lpfnWndProc = button.lpfnWndProc;
    params.WindowClass.cbWndExtra = button.cbWndExtra;
    params.WindowClass.hCursor = button.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    if (FWordWrap)
        params.Style |= BS_MULTILINE;
}

void TButtonControl::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), 0);
}

intptr_t TButtonControl::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (!HandleAllocated())
        return 0;
    return SendMessage(Handle(), message, wParam, lParam);
}

void TButtonControl::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TButtonControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

// --- TButton -------------------------------------------------------------------------------------------

TButton::TButton(TComponent* owner)
    : TButtonControl(owner)
{
    FControlStyle = TControlStyle { csSetCaption, csDoubleClicks };
    FWidth = 75;
    FHeight = 25;
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
    inherited::CreateWnd();
    FActive = FDefault;
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    inherited::Click();
}

void TButton::SetButtonStyle(bool isDefault)
{
    if (!HandleAllocated())
        return;
    DWORD kind = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((static_cast<DWORD>(GetWindowLongPtr(Handle(), GWL_STYLE)) & BS_TYPEMASK) != kind)
        SendMessage(Handle(), BM_SETSTYLE, kind, TRUE);
}

void TButton::SetDefault(bool value)
{
    FDefault = value;
    // Every button of the form looks again at who takes Enter now.
    if (HandleAllocated())
        if (TCustomForm* form = GetParentForm(this))
            form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->ActiveControl()));
}

void TButton::CNCommand(TMessage& message)
{
    if (HIWORD(message.WParam) == BN_CLICKED)
        Click();
}

void TButton::CMDialogKey(TMessage& message)
{
    bool enter = message.WParam == VK_RETURN && FActive;
    bool escape = message.WParam == VK_ESCAPE && FCancel;
    if ((enter || escape) && KeyDataToShiftState(static_cast<uint32_t>(message.LParam)).Empty() && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TButton::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TButton::CMFocusChanged(TMessage& message)
{
    auto* sender = reinterpret_cast<TWinControl*>(message.LParam);
    // A focused button takes Enter itself; any other control leaves it to the default button.
    if (dynamic_cast<TButton*>(sender))
        FActive = sender == this;
    else
        FActive = FDefault;
    SetButtonStyle(FActive);
    inherited::WndProc(message);
}

void TButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGKEY:
        CMDialogKey(message);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        return;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        return;
    default:
        inherited::WndProc(message);
    }
}

// --- TCustomCheckBox -----------------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* owner)
    : TButtonControl(owner)
{
    FControlStyle = TControlStyle { csSetCaption, csDoubleClicks };
    FWidth = 97;
    FHeight = 17;
    SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The control keeps the state itself, so the window is a plain three-state box.
    params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(BM_SETCHECK, FState, 0);
}

void TCustomCheckBox::SetAlignment(TLeftRight value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState)
        return;
    FState = value;
    SendToWindow(BM_SETCHECK, FState, 0);
    if (!ClicksDisabled())
        Click();
}

void TCustomCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::CNCommand(TMessage& message)
{
    if (HIWORD(message.WParam) == BN_CLICKED)
        Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused())
            Toggle();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TCustomCheckBox::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGCHAR) {
        CMDialogChar(message);
        return;
    }
    inherited::WndProc(message);
}

// --- TRadioButton --------------------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner)
    : TButtonControl(owner)
{
    FControlStyle = TControlStyle { csSetCaption, csDoubleClicks };
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // Not an auto radio button: the control checks itself and its siblings.
    params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(BM_SETCHECK, FChecked, 0);
}

void TRadioButton::SetAlignment(TLeftRight value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TRadioButton::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    SetTabStop(value);
    SendToWindow(BM_SETCHECK, value, 0);
    if (!value)
        return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    if (!ClicksDisabled())
        Click();
}

void TRadioButton::CNCommand(TMessage& message)
{
    switch (HIWORD(message.WParam)) {
    case BN_CLICKED:
        SetChecked(true);
        break;
    case BN_DOUBLECLICKED:
        DblClick();
        break;
    }
}

void TRadioButton::CMDialogChar(TMessage& message)
{
    // Taking the focus by the keys checks the button (the window reports it as a click).
    if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TRadioButton::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGCHAR) {
        CMDialogChar(message);
        return;
    }
    inherited::WndProc(message);
}

// --- TCustomGroupBox -----------------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner)
    : TCustomControl(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    FWidth = 185;
    FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

namespace {

// The height of a line of `font`, measured on the screen: the box may have no window yet.
int TextLineHeight(TFont* font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    SIZE size {};
    GetTextExtentPoint32(dc, "0", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cy;
}

} // namespace

void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    // The caption's line at the top, and the frame's two pixels all round.
    rect.Top += TextLineHeight(Font());
    rect.Left += 2;
    rect.Top += 2;
    rect.Right -= 2;
    rect.Bottom -= 2;
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    int h = canvas->TextHeight("0");
    TRect r = Rect(0, h / 2 - 1, FWidth, FHeight);
    if (Ctl3D()) {
        // The etched look: a light frame one pixel down and right under a shadow frame.
        r.Left += 1;
        r.Top += 1;
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FrameRect(r);
        r.Left -= 1;
        r.Top -= 1;
        r.Right -= 1;
        r.Bottom -= 1;
        canvas->Brush()->SetColor(clBtnShadow);
    } else {
        canvas->Brush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(r);
    const std::string& text = Caption();
    if (text.empty())
        return;
    RECT textRect { 8, 0, 0, h };
    uint32_t flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
    DrawText(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &textRect, flags | DT_CALCRECT);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(textRect.left, textRect.top, textRect.right, textRect.bottom));
    SetBkMode(canvas->Handle(), TRANSPARENT);
    if (!Enabled())
        canvas->Font()->SetColor(clGrayText);
    DrawText(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &textRect, flags);
}

void TCustomGroupBox::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus()) {
        SelectFirst();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TCustomGroupBox::CMTextChanged(TMessage&)
{
    Invalidate();
    Realign();
}

void TCustomGroupBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        return;
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        return;
    default:
        inherited::WndProc(message);
    }
}
