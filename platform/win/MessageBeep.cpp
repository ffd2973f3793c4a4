// The system's alert sound: a counter in front of the display's bell.
#include "platform/win/Windows.h"

#include <atomic>

namespace {

std::atomic<unsigned long long> GBeeps { 0 };

// Where the alert is actually heard. Nothing rings yet: the display's bell is still to be wired in here.
void RingBell(UINT type)
{
    (void)type;
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
