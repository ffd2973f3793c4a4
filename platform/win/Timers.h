// Window timers: SetTimer/KillTimer, fired as coalesced WM_TIMER messages from the tick source's clock.
#pragma once
#include "platform/win/WinTypes.h"

// Shorter intervals are raised to this, as on Windows.
constexpr UINT USER_TIMER_MINIMUM = 10;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Starts (or restarts) timer `id` of `hwnd`, due every `elapse` ms from now. WM_TIMER(id, proc) is generated
// when the queue has nothing else, at most once per timer however many periods have passed, and the next
// period counts from then. With a null `hwnd` the id is chosen by the system and returned; `proc`, if given,
// is called by DispatchMessage instead of a window procedure. Returns 0 for an invalid window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
