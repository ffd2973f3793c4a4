#include "framework/controls/TTimer.h"

#include "framework/controls/AllocateHWnd.h"
#include "framework/controls/TApplication.h"
#include "platform/win/Windows.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* owner)
    : TComponent(owner)
{
}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value)
{
    FOnTimer = std::move(value);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    const bool runs = FEnabled && FInterval != 0 && FOnTimer;
    // Most timers are made stopped and many never run (a menu level's, a control's repeat): the window that
    // receives the ticks is made when the timer first runs, so a timer that never runs costs no window.
    if (!FWindowHandle && runs)
        FWindowHandle = AllocateHWnd([this](TMessage& message) { WndProc(message); });
    if (!FWindowHandle)
        return;
    KillTimer(FWindowHandle, kTimerId);
    if (runs)
        SetTimer(FWindowHandle, kTimerId, FInterval, nullptr);
}

void TTimer::Timer()
{
    if (!FOnTimer)
        return;
    // A copy: the handler may replace OnTimer, or delete the timer, while it runs.
    TNotifyEvent handler = FOnTimer;
    handler(this);
}

void TTimer::WndProc(TMessage& message)
{
    if (message.Msg != WM_TIMER) {
        message.Result = DefWindowProc(FWindowHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    // NOTE: OnTimer may delete this timer; nothing here touches the object after it.
    try {
        Timer();
    } catch (const Exception&) {
        if (Application)
            Application->HandleException(this);
        else
            throw;
    }
}
