// Scrolling a window's client pixels inside its top-level's back buffer, with the uncovered area to repaint.
#include "platform/win/EntryChecks.h"
#include "platform/win/ScrollBars.h"

#include <algorithm>

using namespace WinCore;

namespace {

int RegionType(const TRegion& region)
{
    if (region.IsEmpty())
        return NULLREGION;
    return region.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

// Moves the pixels of `area` (client coordinates) by dx, dy. Only pixels that are visible can be copied, and
// only onto visible ones; returns the part of `clip` that now shows moved pixels.
TRegion MovePixels(TWindowRecord* w, const RECT& area, const RECT& clip, int dx, int dy)
{
    TWindowRecord* top = nullptr;
    TRegion visible = VisibleRegion(w, true, &top);
    if (!top || visible.IsEmpty())
        return TRegion();
    // Client coordinates from here on.
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = ClientOrigin(w);
    const int ox = origin.x - topOrigin.x;
    const int oy = origin.y - topOrigin.y;
    visible.Offset(-ox, -oy);
    TRegion moved = visible;
    moved.Intersect(area);
    moved.Offset(dx, dy);
    moved.Intersect(clip);
    moved.Intersect(visible);
    if (moved.IsEmpty() || (dx == 0 && dy == 0))
        return moved;
    // The sources overlap the destinations, so they are read out first.
    const RECT source = RectOffset(moved.Bounds(), -dx, -dy);
    const int width = RectWidth(source);
    std::vector<uint32_t> saved(size_t(width) * size_t(RectHeight(source)));
    TBackBuffer& buffer = *top->Buffer;
    SettleBuffer(buffer);
    auto at = [&](int x, int y) { return &buffer.Pixels[size_t(y + oy) * size_t(buffer.Width) + size_t(x + ox)]; };
    for (int y = source.top; y < source.bottom; ++y)
        std::copy_n(at(source.left, y), width, &saved[size_t(y - source.top) * size_t(width)]);
    moved.ForEachRect([&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            const uint32_t* from = &saved[size_t(y - dy - source.top) * size_t(width) + size_t(r.left - dx - source.left)];
            std::copy_n(from, r.right - r.left, at(r.left, y));
        }
    });
    MarkDirty(top, RectOffset(moved.Bounds(), ox, oy));
    return moved;
}

void MoveChildren(TWindowRecord* w, const RECT* scroll, int dx, int dy)
{
    std::vector<HWND> children;
    for (TWindowRecord* c : w->Children) {
        const RECT meets = scroll ? RectIntersection(c->Window, *scroll) : c->Window;
        if (!scroll || !IsRectEmpty(&meets))
            children.push_back(c->Handle);
    }
    for (HWND h : children)
        if (TWindowRecord* c = Find(h))
            SetWindowPosInternal(c, nullptr, c->Window.left + dx, c->Window.top + dy, 0, 0,
                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
    UINT flags)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return ERROR;
    TRegion* updateOut = nullptr;
    if (update && !(updateOut = RegionOf(update))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    const RECT client { 0, 0, RectWidth(w->Client), RectHeight(w->Client) };
    const RECT area = scroll ? RectIntersection(*scroll, client) : client;
    const RECT within = clip ? RectIntersection(*clip, area) : area;
    const HWND h = w->Handle;
    // The caret comes off while its pixels move, and moves along when it sits in the scrolled area.
    const bool caretHidden = GPlatform->Caret.Window == h && HideCaret(h);

    TRegion changed(within);
    changed.Subtract(MovePixels(w, area, within, dx, dy));
    // A part of the scrolled area still waiting to be painted moves along with the pixels.
    TRegion pending = w->Update;
    pending.Intersect(area);
    pending.Offset(dx, dy);
    pending.Intersect(within);
    changed.Union(pending);

    if (updateOut)
        *updateOut = changed;
    if (updateRect)
        *updateRect = changed.Bounds();
    if (caretHidden) {
        POINT caret;
        if (GetCaretPos(&caret) && RectContains(area, caret.x, caret.y))
            SetCaretPos(caret.x + dx, caret.y + dy);
        ShowCaret(h);
    }
    if (flags & SW_SCROLLCHILDREN)
        MoveChildren(w, scroll, dx, dy);
    if ((flags & SW_INVALIDATE) && (w = Find(h)))
        InvalidateTree(
            w, &changed, (flags & SW_ERASE) != 0, (flags & SW_SCROLLCHILDREN) ? kChildrenAll : kChildrenNone);
    return RegionType(changed);
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip)
{
    const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
