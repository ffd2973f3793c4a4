#include "framework/controls/TUpDown.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/UpDownControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

TCustomUpDown::TCustomUpDown(TComponent* owner)
    : TWinControl(owner)
{
    FControlStyle = TControlStyle { csCaptureMouse, csOpaque, csFixedWidth, csFixedHeight };
    FWidth = GetSystemMetrics(SM_CXVSCROLL);
    FHeight = 33;
}

void TCustomUpDown::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    RegisterUpDownClass();
    WNDCLASS upDown {};
    GetClassInfo(nullptr, UPDOWN_CLASS, &upDown);
    params.WindowClass.lpfnWndProc = upDown.lpfnWndProc;
    params.WindowClass.cbWndExtra = upDown.cbWndExtra;
    params.WindowClass.hCursor = upDown.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= UDS_SETBUDDYINT | (FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT);
    if (FOrientation == udHorizontal)
        params.Style |= UDS_HORZ;
    if (FArrowKeys)
        params.Style |= UDS_ARROWKEYS;
    if (!FThousands)
        params.Style |= UDS_NOTHOUSANDS;
    if (FWrap)
        params.Style |= UDS_WRAP;
}

void TCustomUpDown::CreateWnd()
{
    inherited::CreateWnd();
    SendToWindow(UDM_SETRANGE32, static_cast<uintptr_t>(FMin), FMax);
    SendToWindow(UDM_SETPOS32, 0, FPosition);
    UDACCEL accel[3] {};
    const int count = static_cast<int>(SendToWindow(UDM_GETACCEL, 3, reinterpret_cast<intptr_t>(accel)));
    accel[0].nInc = static_cast<UINT>(FIncrement);
    SendToWindow(UDM_SETACCEL, static_cast<uintptr_t>(std::min(count, 3)), reinterpret_cast<intptr_t>(accel));
    if (FAssociate)
        SendToWindow(UDM_SETBUDDY, reinterpret_cast<uintptr_t>(FAssociate->Handle()), 0);
}

intptr_t TCustomUpDown::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomUpDown*>(this);
    if (!self->HandleAllocated())
        return 0;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

// The styles are read when the window is made, so a change makes it again.
void TCustomUpDown::UpdateStyle()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton value)
{
    if (value == FAlignButton)
        return;
    FAlignButton = value;
    UpdateStyle();
}

void TCustomUpDown::SetArrowKeys(bool value)
{
    if (value == FArrowKeys)
        return;
    FArrowKeys = value;
    UpdateStyle();
}

void TCustomUpDown::SetOrientation(TUDOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    // A new orientation turns the control round.
    SetBounds(FLeft, FTop, FHeight, FWidth);
    UpdateStyle();
}

void TCustomUpDown::SetThousands(bool value)
{
    if (value == FThousands)
        return;
    FThousands = value;
    UpdateStyle();
}

void TCustomUpDown::SetWrap(bool value)
{
    if (value == FWrap)
        return;
    FWrap = value;
    UpdateStyle();
}

void TCustomUpDown::SetAssociate(TWinControl* value)
{
    if (value == this)
        value = nullptr;
    if (value == FAssociate)
        return;
    if (FAssociate)
        FAssociate->RemoveFreeNotification(this);
    FAssociate = value;
    if (FAssociate)
        FAssociate->FreeNotification(this);
    SendToWindow(UDM_SETBUDDY, FAssociate ? reinterpret_cast<uintptr_t>(FAssociate->Handle()) : 0, 0);
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FAssociate) {
        FAssociate = nullptr;
        SendToWindow(UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::SetIncrement(int value)
{
    if (value == FIncrement)
        return;
    FIncrement = value;
    UDACCEL accel[3] {};
    const int count = static_cast<int>(SendToWindow(UDM_GETACCEL, 3, reinterpret_cast<intptr_t>(accel)));
    if (count <= 0)
        return;
    accel[0].nInc = static_cast<UINT>(value);
    SendToWindow(UDM_SETACCEL, static_cast<uintptr_t>(std::min(count, 3)), reinterpret_cast<intptr_t>(accel));
}

void TCustomUpDown::SetMin(int value)
{
    if (value == FMin)
        return;
    FMin = value;
    SendToWindow(UDM_SETRANGE32, static_cast<uintptr_t>(FMin), FMax);
}

void TCustomUpDown::SetMax(int value)
{
    if (value == FMax)
        return;
    FMax = value;
    SendToWindow(UDM_SETRANGE32, static_cast<uintptr_t>(FMin), FMax);
}

int TCustomUpDown::Position() const
{
    if (const_cast<TCustomUpDown*>(this)->HandleAllocated())
        FPosition = static_cast<int>(SendToWindow(UDM_GETPOS32, 0, 0));
    return FPosition;
}

void TCustomUpDown::SetPosition(int value)
{
    if (value == Position())
        return;
    if (!DoCanChange(value, value - FPosition))
        return;
    FPosition = value;
    SendToWindow(UDM_SETPOS32, 0, value);
    Position(); // the window keeps it within the range
}

bool TCustomUpDown::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

bool TCustomUpDown::DoCanChange(int newValue, int delta)
{
    bool allow = CanChange();
    if (OnChangingEx) {
        TUpDownDirection direction = delta == 0 ? updNone : delta > 0 ? updUp : updDown;
        OnChangingEx(this, allow, newValue, direction);
    }
    return allow;
}

void TCustomUpDown::Click(TUDBtnType button)
{
    if (OnClick)
        OnClick(this, button);
}

void TCustomUpDown::CNNotify(TMessage& message)
{
    const auto* notify = reinterpret_cast<const NMUPDOWN*>(message.LParam);
    if (notify && notify->hdr.code == UDN_DELTAPOS)
        message.Result = DoCanChange(notify->iPos + notify->iDelta, notify->iDelta) ? 0 : 1;
}

void TCustomUpDown::CNScroll(TMessage& message)
{
    if (LOWORD(message.WParam) != SB_THUMBPOSITION)
        return;
    // The message carries 16 bits of the position; the window knows all of it.
    const int previous = FPosition;
    const int now = Position();
    if (now > previous)
        Click(btNext);
    else if (now < previous)
        Click(btPrev);
}

void TCustomUpDown::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CN_HSCROLL:
    case CN_VSCROLL:
        CNScroll(message);
        return;
    default:
        inherited::WndProc(message);
    }
}
