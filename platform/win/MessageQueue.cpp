// The UI thread's message queue: posting (from any thread), PeekMessage/GetMessage with the retrieval order,
// WM_QUIT, and waiting for events while serving synchronised calls.
#include "framework/core/TThread.h"
#include "platform/win/PlatformState.h"

#include <algorithm>

using namespace WinCore;

namespace {

const HWND kThreadMessages = reinterpret_cast<HWND>(-1);

bool MatchesWindow(HWND filter, HWND target)
{
    if (!filter)
        return true;
    if (filter == kThreadMessages)
        return target == nullptr;
    return target == filter || IsChild(filter, target);
}

bool MatchesRange(UINT first, UINT last, UINT message)
{
    if (first == 0 && last == 0)
        return true;
    return message >= first && message <= last;
}

bool RangeOverlaps(UINT first, UINT last, UINT low, UINT high)
{
    if (first == 0 && last == 0)
        return true;
    return first <= high && last >= low;
}

bool WantsInput(UINT first, UINT last)
{
    return RangeOverlaps(first, last, WM_KEYFIRST, WM_KEYLAST)
        || RangeOverlaps(first, last, WM_MOUSEFIRST, WM_MOUSELAST)
        || RangeOverlaps(first, last, WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK)
        || RangeOverlaps(first, last, WM_SYSCOMMAND, WM_SYSCOMMAND);
}

bool TakeMatching(std::deque<MSG>& queue, HWND hwnd, UINT first, UINT last, UINT flags, MSG* msg)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (MatchesWindow(hwnd, it->hwnd) && MatchesRange(first, last, it->message)) {
            *msg = *it;
            if (flags & PM_REMOVE)
                queue.erase(it);
            return true;
        }
    }
    return false;
}

bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    TPlatformState* s = GPlatform;
    if (!s)
        return false;
    {
        std::lock_guard lock(s->QueueLock);
        s->Posted.push_back(MSG { hwnd, message, wParam, lParam, GetTickCount(), s->CursorPos });
    }
    s->Backend->Wake();
    return true;
}

} // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GPlatform)
        return FALSE;
    if (hwnd == HWND_BROADCAST) {
        if (!Ready())
            return FALSE;
        std::vector<HWND> targets;
        for (TWindowRecord* w : TopLevels())
            targets.push_back(w->Handle);
        for (HWND target : targets)
            Post(target, message, wParam, lParam);
        return TRUE;
    }
    if (!hwnd) {
        if (!IsUiThread()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return Post(nullptr, message, wParam, lParam) ? TRUE : FALSE;
    }
    std::shared_ptr<TWindowRecord> w = FindShared(hwnd);
    if (!w || w->Destroyed || w->IsDesktop || w->IsMessageRoot) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return Post(hwnd, message, wParam, lParam) ? TRUE : FALSE;
}

BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GPlatform || threadId != MainThreadID()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Post(nullptr, message, wParam, lParam) ? TRUE : FALSE;
}

void PostQuitMessage(int exitCode)
{
    TPlatformState* s = GPlatform;
    if (!s)
        return;
    {
        std::lock_guard lock(s->QueueLock);
        s->QuitPending = true;
        s->QuitCode = exitCode;
    }
    s->Backend->Wake();
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags)
{
    if (!msg || !Ready())
        return FALSE;
    // Calls handed over by other threads (Synchronize, cross-thread SendMessage) run before any message.
    CheckSynchronize(0);
    if (!GPlatform)
        return FALSE;
    TPlatformState& s = *GPlatform;
    s.Backend->PumpEvents();

    auto retrieved = [&] {
        s.MessageTime = msg->time;
        s.MessagePoint = msg->pt;
        // Keys taken before this one and never translated were consumed: their text goes.
        if ((flags & PM_REMOVE) && msg->lPrivate)
            std::erase_if(s.KeyTexts, [&](const auto& entry) { return entry.first < msg->lPrivate; });
        return TRUE;
    };
    {
        std::lock_guard lock(s.QueueLock);
        if (TakeMatching(s.Posted, hwnd, first, last, flags, msg))
            return retrieved();
    }
    if (WantsInput(first, last)) {
        // Input becomes messages one event at a time, as it is taken, so that what a handler did with the
        // previous event (capture, activation, focus) decides where the next one goes.
        for (;;) {
            if (TakeMatching(s.Cooked, hwnd, first, last, flags, msg))
                return retrieved();
            if (!s.Cooked.empty() || !CookNextInput())
                break;
            if (!GPlatform)
                return FALSE;
        }
        // A handler called while cooking may have posted something.
        std::lock_guard lock(s.QueueLock);
        if (TakeMatching(s.Posted, hwnd, first, last, flags, msg))
            return retrieved();
    }
    {
        std::lock_guard lock(s.QueueLock);
        if (s.QuitPending && (!hwnd || hwnd == kThreadMessages) && MatchesRange(first, last, WM_QUIT)) {
            *msg = MSG { nullptr, WM_QUIT, WPARAM(s.QuitCode), 0, GetTickCount(), s.CursorPos };
            if (flags & PM_REMOVE)
                s.QuitPending = false;
            return retrieved();
        }
    }
    if (MatchesRange(first, last, WM_PAINT) && hwnd != kThreadMessages) {
        TWindowRecord* filter = hwnd ? Find(hwnd) : nullptr;
        if (!hwnd || filter) {
            if (TWindowRecord* w = FindWindowToPaint(filter)) {
                *msg = MSG { w->Handle, WM_PAINT, 0, 0, GetTickCount(), CursorNow() };
                return retrieved();
            }
        }
        if (!GPlatform)
            return FALSE;
    }
    if (MatchesRange(first, last, WM_TIMER) && TakeDueTimer(hwnd, (flags & PM_REMOVE) != 0, msg))
        return retrieved();
    PresentDirty();
    return FALSE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last)
{
    if (!msg || !Ready())
        return FALSE;
    for (;;) {
        if (PeekMessage(msg, hwnd, first, last, PM_REMOVE))
            return msg->message != WM_QUIT ? TRUE : FALSE;
        if (!GPlatform)
            return FALSE;
        WaitForNextEvent();
    }
}

BOOL WaitMessage()
{
    if (!Ready())
        return FALSE;
    TPlatformState& s = *GPlatform;
    s.Backend->PumpEvents();
    {
        std::lock_guard lock(s.QueueLock);
        if (!s.Posted.empty() || !s.Raw.empty() || !s.Cooked.empty() || s.QuitPending)
            return TRUE;
    }
    const std::optional<uint64_t> due = NextTimerDue();
    if ((due && *due <= GetTickCount64()) || AnyPaintPending())
        return TRUE;
    WaitForNextEvent();
    return TRUE;
}

DWORD GetMessagePos()
{
    if (!GPlatform)
        return 0;
    const POINT p = GPlatform->MessagePoint;
    return MAKELONG(WORD(int16_t(p.x)), WORD(int16_t(p.y)));
}

LONG GetMessageTime()
{
    return GPlatform ? static_cast<LONG>(GPlatform->MessageTime) : 0;
}

namespace WinCore {

void DropQueuedMessages(HWND hwnd)
{
    TPlatformState& s = *GPlatform;
    std::lock_guard lock(s.QueueLock);
    std::erase_if(s.Posted, [&](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(s.Cooked, [&](const MSG& m) { return m.hwnd == hwnd; });
}

void WaitForNextEvent()
{
    TPlatformState& s = *GPlatform;
    s.Backend->WaitForEvents(NextTimerDue());
}

} // namespace WinCore
