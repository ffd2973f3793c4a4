#include "platform/win/EntryChecks.h"

#include <algorithm>

using namespace WinCore;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (!Ready())
        return 0;
    TPlatformState& s = *GPlatform;
    if (hwnd && !NeedWindow(hwnd))
        return 0;
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (!hwnd) {
        // Thread timers get an id of the system's choosing.
        auto existing = std::find_if(s.Timers.begin(), s.Timers.end(),
            [&](const TTimerRecord& t) { return !t.Window && t.Id == id && id != 0; });
        if (existing == s.Timers.end()) {
            do {
                id = ++s.NextThreadTimerId;
            } while (id == 0 || std::any_of(s.Timers.begin(), s.Timers.end(), [&](const TTimerRecord& t) {
                return !t.Window && t.Id == id;
            }));
        }
    }
    const uint64_t due = GetTickCount64() + elapse;
    for (TTimerRecord& t : s.Timers) {
        if (t.Window == hwnd && t.Id == id) {
            t.Elapse = elapse;
            t.Proc = proc;
            t.Due = due;
            return hwnd ? 1 : id;
        }
    }
    s.Timers.push_back(TTimerRecord { hwnd, id, elapse, proc, due });
    return hwnd ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    if (!Ready())
        return FALSE;
    TPlatformState& s = *GPlatform;
    const size_t removed
        = std::erase_if(s.Timers, [&](const TTimerRecord& t) { return t.Window == hwnd && t.Id == id; });
    // A WM_TIMER already taken from the timer but not yet retrieved does not exist here: timers make their
    // message only when it is retrieved.
    return removed ? TRUE : FALSE;
}

namespace WinCore {

bool IsTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc)
{
    for (const TTimerRecord& t : GPlatform->Timers)
        if (t.Window == hwnd && t.Id == id && t.Proc == proc)
            return true;
    return false;
}

void KillTimersOf(HWND hwnd)
{
    std::erase_if(GPlatform->Timers, [&](const TTimerRecord& t) { return t.Window == hwnd; });
}

std::optional<uint64_t> NextTimerDue()
{
    std::optional<uint64_t> next;
    for (const TTimerRecord& t : GPlatform->Timers)
        if (!next || t.Due < *next)
            next = t.Due;
    return next;
}

bool TakeDueTimer(HWND filter, bool remove, MSG* msg)
{
    TPlatformState& s = *GPlatform;
    const uint64_t now = GetTickCount64();
    TTimerRecord* due = nullptr;
    for (TTimerRecord& t : s.Timers) {
        if (t.Due > now)
            continue;
        if (filter == reinterpret_cast<HWND>(-1) && t.Window)
            continue;
        if (filter && filter != reinterpret_cast<HWND>(-1)) {
            if (!t.Window || (t.Window != filter && !IsChild(filter, t.Window)))
                continue;
        }
        if (!due || t.Due < due->Due)
            due = &t;
    }
    if (!due)
        return false;
    *msg = MSG { due->Window, WM_TIMER, due->Id, reinterpret_cast<LPARAM>(due->Proc), static_cast<DWORD>(now),
        CursorNow() };
    // However many periods went by, the timer fires once and the next period starts now.
    if (remove)
        due->Due = now + due->Elapse;
    return true;
}

} // namespace WinCore
