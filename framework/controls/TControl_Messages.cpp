// TControl: the message path (WindowProc, WndProc, the handlers, DefaultHandler) and the mouse events.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TControl.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

TPoint MessagePoint(const TMessage& message)
{
    return TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) };
}

} // namespace

// --- Messages ------------------------------------------------------------------------------------------

intptr_t TControl::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    TMessage message { msg, wParam, lParam, 0 };
    if (WindowProc)
        WindowProc(message);
    else
        WndProc(message);
    return message.Result;
}

bool TControl::MouseCapture() const
{
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::WndProc(TMessage& message)
{
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        if (!FControlStyle.Contains(csDoubleClicks)) {
            switch (message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            }
        }
        switch (message.Msg) {
        case WM_MOUSEMOVE:
            if (Application)
                Application->HintMouseMessage(this, message);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FDragMode == dmAutomatic && !StartsDragItself() && !ComponentState().Contains(csDesigning)) {
                // The press starts the drag and goes no further.
                BeginAutoDrag();
                return;
            }
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        }
    }
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        WMLButtonDown(message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(message);
        break;
    case WM_RBUTTONDOWN:
        WMRButtonDown(message);
        break;
    case WM_RBUTTONDBLCLK:
        WMRButtonDblClk(message);
        break;
    case WM_RBUTTONUP:
        WMRButtonUp(message);
        break;
    case WM_MBUTTONDOWN:
        WMMButtonDown(message);
        break;
    case WM_MBUTTONDBLCLK:
        WMMButtonDblClk(message);
        break;
    case WM_MBUTTONUP:
        WMMButtonUp(message);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        break;
    case WM_CANCELMODE:
        WMCancelMode(message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(message);
        break;
    case CM_HITTEST:
        CMHitTest(message);
        break;
    case CM_MOUSEWHEEL:
        CMMouseWheel(message);
        break;
    case CM_DRAG:
        CMDrag(message);
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::DefaultHandler(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(message.LParam);
        const size_t size = message.WParam;
        if (!buffer || size == 0) {
            message.Result = 0;
            break;
        }
        size_t n = std::min(size - 1, FText.size());
        while (n > 0 && n < FText.size() && (static_cast<unsigned char>(FText[n]) & 0xC0) == 0x80)
            --n;
        std::copy_n(FText.data(), n, buffer);
        buffer[n] = 0;
        message.Result = static_cast<intptr_t>(n);
        break;
    }
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<intptr_t>(FText.size());
        break;
    case WM_SETTEXT:
        FText = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
        message.Result = 1;
        break;
    default:
        break;
    }
}

void TControl::SendCancelMode(TControl* sender)
{
    for (TControl* control = this; control; control = control->FParent)
        if (auto* form = dynamic_cast<TCustomForm*>(control))
            form->SendCancelMode(sender);
}

void TControl::DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseDown(button, KeysToShiftState(message.WParam) + shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& message, TMouseButton button)
{
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseUp(button, KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(message, mbLeft, { ssDouble });
}

void TControl::WMLButtonUp(TMessage& message)
{
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        const TPoint p = MessagePoint(message);
        const TRect client = ClientRect();
        if (p.X >= client.Left && p.X < client.Right && p.Y >= client.Top && p.Y < client.Bottom)
            Click();
    }
    DoMouseUp(message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbRight, { ssDouble });
}

void TControl::WMRButtonUp(TMessage& message)
{
    DefaultHandler(message);
    DoMouseUp(message, mbRight);
}

void TControl::WMMButtonDown(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& message)
{
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, { ssDouble });
}

void TControl::WMMButtonUp(TMessage& message)
{
    DefaultHandler(message);
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& message)
{
    DefaultHandler(message);
    if (FControlStyle.Contains(csNoStdEvents))
        return;
    const TPoint p = MessagePoint(message);
    MouseMove(KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::WMMouseWheel(TMessage& message)
{
    // Offered to the control as CM_MOUSEWHEEL first; unhandled, it goes on to the default (the parent).
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(message.WParam));
    const TPoint pos = MessagePoint(message);
    if (!DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(message.WParam), pos))
        DefaultHandler(message);
    else
        message.Result = 1;
}

void TControl::CMMouseWheel(TMessage& message)
{
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(message.WParam));
    message.Result = DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(message.WParam), MessagePoint(message)) ? 1 : 0;
}

void TControl::WMCancelMode(TMessage& message)
{
    DefaultHandler(message);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown))
            Perform(WM_LBUTTONUP, 0, -1);
    } else {
        FControlState.Exclude(csLButtonDown);
    }
}

void TControl::WMContextMenu(TMessage& message)
{
    if (message.Result != 0)
        return;
    TPoint pos { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) };
    // -1, -1: from the keyboard; the menu opens at the control's top-left.
    TPoint local = (pos.X == -1 && pos.Y == -1) ? TPoint { -1, -1 } : ScreenToClient(pos);
    bool handled = false;
    DoContextPopup(local, handled);
    message.Result = handled ? 1 : 0;
    if (handled)
        return;
    TPopupMenu* menu = GetPopupMenu();
    if (menu && menu->AutoPopup()) {
        if (pos.X == -1 && pos.Y == -1)
            pos = ClientToScreen(TPoint { 0, 0 });
        menu->SetPopupComponent(this);
        menu->Popup(pos.X, pos.Y);
        message.Result = 1;
        return;
    }
    DefaultHandler(message);
}

void TControl::WMWindowPosChanged(TMessage& message)
{
    DefaultHandler(message);
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent)
        return;
    FUpdatingFont = true;
    FFont->Assign(FParent->Font());
    FUpdatingFont = false;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent)
        return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (!FParentShowHint || !FParent)
        return;
    SetShowHint(FParent->ShowHint());
    FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& message)
{
    message.Result = 1; // HTCLIENT: the whole bounds rectangle hits
}

// --- Virtual operations ---------------------------------------------------------------------------------

void TControl::Click()
{
    if (OnClick) {
        TNotifyEvent handler = OnClick;
        handler(this);
    } else if (FActionLink) {
        FActionLink->Execute(this);
    }
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (!handled) {
        if (wheelDelta < 0)
            handled = DoMouseWheelDown(shift, mousePos);
        else if (wheelDelta > 0)
            handled = DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (OnContextPopup)
        OnContextPopup(this, mousePos, handled);
}
