// TTimer, the component that calls OnTimer every Interval milliseconds on the UI thread.
#pragma once
#include "framework/controls/Messages.h"
#include "framework/core/TComponent.h"
#include "platform/win/WinTypes.h"

#include <cstdint>

// Runs on a hidden message-only window's timer (the window is made when the timer first runs), so its ticks
// are WM_TIMER messages of the message loop (and follow the tick source: the virtual clock in tests). The timer
// runs while Enabled, Interval > 0 and OnTimer is assigned. Changing Interval or Enabled inside OnTimer, and
// deleting the timer there, are safe.
class TTimer : public TComponent {
    using inherited = TComponent;

public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Milliseconds; default 1000. 0 stops the timer.
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);

protected:
    // Fires OnTimer. An exception from it goes to Application->HandleException, and the timer goes on.
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& message);

    bool FEnabled = true;
    uint32_t FInterval = 1000;
    TNotifyEvent FOnTimer;
    HWND FWindowHandle = nullptr;
};
