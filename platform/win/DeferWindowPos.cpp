// Deferred positioning: a batch of SetWindowPos calls applied together, so a layout pass moves every window
// once, after all the new places are known.
#include "platform/win/EntryChecks.h"
#include "platform/win/WindowProps.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace WinCore;

namespace {

struct TDeferred {
    HWND Window;
    HWND InsertAfter;
    int X, Y, Width, Height;
    UINT Flags;
};

struct TBatch {
    std::vector<TDeferred> Entries;
    HWND Parent = nullptr;
};

// The flags a deferred call may carry, as for the system's own deferred positioning.
constexpr UINT kAllowedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE
    | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

// Batches by number: a handle is never reused, so one that ended (EndDeferWindowPos, or a failing
// DeferWindowPos) stays invalid.
std::map<uintptr_t, TBatch>& Batches()
{
    static std::map<uintptr_t, TBatch> batches;
    return batches;
}

TBatch* BatchOf(HDWP handle)
{
    auto it = Batches().find(reinterpret_cast<uintptr_t>(handle));
    if (it == Batches().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &it->second;
}

void Free(HDWP handle)
{
    Batches().erase(reinterpret_cast<uintptr_t>(handle));
}

} // namespace

HDWP BeginDeferWindowPos(int count)
{
    if (!Ready())
        return nullptr;
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    static uintptr_t next = 0;
    const uintptr_t id = ++next;
    Batches()[id].Entries.reserve(size_t(std::min(count, 1024)));
    return reinterpret_cast<HDWP>(id);
}

HDWP DeferWindowPos(HDWP handle, HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    if (!Ready())
        return nullptr;
    TBatch* batch = BatchOf(handle);
    if (!batch)
        return nullptr;
    TWindowRecord* w = NeedWindow(hwnd);
    const HWND parent = w && w->Parent ? w->Parent->Handle : nullptr;
    const bool sameParent = batch->Entries.empty() || batch->Parent == parent;
    if (!w || !sameParent || (flags & ~kAllowedFlags)) {
        if (w)
            SetLastError(ERROR_INVALID_PARAMETER);
        Free(handle);
        return nullptr;
    }
    batch->Parent = parent;
    // A second call for the same window replaces what the first asked for.
    const TDeferred entry { hwnd, insertAfter, x, y, width, height, flags };
    for (TDeferred& e : batch->Entries) {
        if (e.Window == hwnd) {
            e = entry;
            return handle;
        }
    }
    batch->Entries.push_back(entry);
    return handle;
}

BOOL EndDeferWindowPos(HDWP handle)
{
    if (!Ready())
        return FALSE;
    TBatch* batch = BatchOf(handle);
    if (!batch)
        return FALSE;
    // The batch is taken out first: a handler of the messages below may start batches of its own.
    const std::vector<TDeferred> entries = std::move(batch->Entries);
    Free(handle);
    BOOL result = TRUE;
    for (const TDeferred& e : entries)
        if (Find(e.Window) && !SetWindowPos(e.Window, e.InsertAfter, e.X, e.Y, e.Width, e.Height, e.Flags))
            result = FALSE;
    return result;
}
