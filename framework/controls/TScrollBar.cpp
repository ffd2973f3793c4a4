#include "framework/controls/TScrollBar.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>

TScrollBar::TScrollBar(TComponent* owner)
    : TWinControl(owner)
{
    FControlStyle = TControlStyle { csFramed, csDoubleClicks, csOpaque };
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is a "SCROLLBAR" under the control's own class name: its procedure is the bar's.
    RegisterScrollBarClass();
    WNDCLASS bar {};
    GetClassInfo(nullptr, WC_SCROLLBAR, &bar);
    params.WindowClass.lpfnWndProc = bar.lpfnWndProc;
    params.WindowClass.cbWndExtra = bar.cbWndExtra;
    params.WindowClass.hCursor = bar.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd()
{
    inherited::CreateWnd();
    SCROLLINFO info { sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, FMin, FMax, static_cast<UINT>(FPageSize), FPosition,
        0 };
    SetScrollInfo(Handle(), SB_CTL, &info, FALSE);
}

void TScrollBar::SetKind(TScrollBarKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    // A new kind turns the bar round.
    SetBounds(FLeft, FTop, FHeight, FWidth);
    if (HandleAllocated())
        RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min || max < FPageSize)
        throw EInvalidOperation("Scrollbar property out of range");
    const bool rangeChanged = min != FMin || max != FMax;
    FMin = min;
    FMax = max;
    position = std::clamp(position, FMin, std::max(FMin, HighestPosition()));
    if (rangeChanged && HandleAllocated())
        SetScrollRange(Handle(), SB_CTL, FMin, FMax, position == FPosition);
    if (position == FPosition)
        return;
    FPosition = position;
    if (HandleAllocated())
        SetScrollPos(Handle(), SB_CTL, FPosition, TRUE);
    Change();
}

void TScrollBar::SetPageSize(int value)
{
    if (value == FPageSize || value > FMax)
        return;
    FPageSize = std::max(0, value);
    if (HandleAllocated()) {
        SCROLLINFO info { sizeof info, SIF_PAGE, 0, 0, static_cast<UINT>(FPageSize), 0, 0 };
        SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
    }
    // A larger page lowers the highest position the thumb can show.
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode scrollCode, int& scrollPos)
{
    if (OnScroll)
        OnScroll(this, scrollCode, scrollPos);
}

void TScrollBar::DoScroll(TMessage& message)
{
    const auto code = static_cast<TScrollCode>(std::min<int>(LOWORD(message.WParam), scEndScroll));
    int position = FPosition;
    switch (code) {
    case scLineUp:
        position -= FSmallChange;
        break;
    case scLineDown:
        position += FSmallChange;
        break;
    case scPageUp:
        position -= FLargeChange;
        break;
    case scPageDown:
        position += FLargeChange;
        break;
    case scPosition:
    case scTrack: {
        // The message carries 16 bits of the position; the bar knows all of it.
        SCROLLINFO info { sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0 };
        position
            = GetScrollInfo(Handle(), SB_CTL, &info) ? info.nTrackPos : static_cast<int16_t>(HIWORD(message.WParam));
        break;
    }
    case scTop:
        position = FMin;
        break;
    case scBottom:
        position = FMax;
        break;
    case scEndScroll:
        break;
    }
    position = std::clamp(position, FMin, std::max(FMin, HighestPosition()));
    Scroll(code, position);
    SetPosition(position);
}

void TScrollBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        DoScroll(message);
        return;
    default:
        inherited::WndProc(message);
    }
}
