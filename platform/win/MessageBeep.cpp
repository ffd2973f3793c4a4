// The system's alert sound: a counter in front of the display's bell.
#include "framework/core/TThread.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <atomic>

namespace {

std::atomic<unsigned long long> GBeeps { 0 };

// Where the alert is heard: the display's bell, whatever the kind (the display has one sound). Only the UI
// thread talks to the display; a beep from another thread is counted and stays silent.
void RingBell(UINT type)
{
    (void)type;
    if (PlatformStarted() && GetCurrentThreadId() == MainThreadID())
        PlatformBackend()->Bell();
}

} // namespace

BOOL MessageBeep(UINT type)
{
    GBeeps.fetch_add(1, std::memory_order_relaxed);
    RingBell(type);
    return TRUE;
}

unsigned long long MessageBeepCount()
{
    return GBeeps.load(std::memory_order_relaxed);
}
