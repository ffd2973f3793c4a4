// SetWindowPos and the calls built on it: moving, sizing, stacking, showing, hiding, minimizing,
// maximizing and restoring windows.
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>

using namespace WinCore;

namespace {

bool IsTopmost(const TWindowRecord* w)
{
    return (w->ExStyle & WS_EX_TOPMOST) != 0;
}

// Windows owned by `w` in the same band move along just above it, keeping their order.
void LiftOwned(TWindowRecord* w)
{
    std::vector<TWindowRecord*>& list = TopLevels();
    std::vector<TWindowRecord*> owned;
    for (TWindowRecord* x : list)
        if (x->Owner == w && IsTopmost(x) == IsTopmost(w))
            owned.push_back(x);
    if (owned.empty())
        return;
    for (TWindowRecord* x : owned)
        std::erase(list, x);
    auto at = std::find(list.begin(), list.end(), w);
    list.insert(at, owned.begin(), owned.end());
    for (TWindowRecord* x : owned)
        LiftOwned(x);
}

RECT MaximizedRect(TWindowRecord* w, const MINMAXINFO& info)
{
    RECT area;
    if (IsTopLevel(w)) {
        MONITORINFO monitor { sizeof(MONITORINFO), {}, {}, 0 };
        GetMonitorInfo(MonitorFromWindow(w->Handle, MONITOR_DEFAULTTONEAREST), &monitor);
        area = monitor.rcWork;
    } else {
        area = RECT { 0, 0, RectWidth(w->Parent->Client), RectHeight(w->Parent->Client) };
    }
    const int left = area.left + info.ptMaxPosition.x;
    const int top = area.top + info.ptMaxPosition.y;
    return RECT { left, top, left + info.ptMaxSize.x, top + info.ptMaxSize.y };
}

void ShowOrHide(TWindowRecord* w, bool show, bool activate)
{
    const HWND h = w->Handle;
    const bool visible = (w->Style & WS_VISIBLE) != 0;
    if (show == visible) {
        if (show && activate && IsTopLevel(w))
            SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    Send(w, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!Find(h))
        return;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!show || !activate || !IsTopLevel(w))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, flags);
}

void Minimize(TWindowRecord* w, bool show)
{
    TPlatformState& s = *GPlatform;
    const HWND h = w->Handle;
    if (!(w->Style & WS_MINIMIZE)) {
        w->RestoreMaximized = (w->Style & WS_MAXIMIZE) != 0;
        if (!w->RestoreMaximized)
            w->NormalRect = w->Window;
        w->Style = (w->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        VisibleLayoutChanged();
        if (w->Native)
            s.Backend->MinimizeNativeWindow(w->Native, true);
        if (!(w->Style & WS_VISIBLE) && show) {
            Send(w, WM_SHOWWINDOW, TRUE, 0);
            if (!Find(h))
                return;
        }
        UINT flags
            = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_STATECHANGED_INTERNAL;
        if (show)
            flags |= SWP_SHOWWINDOW;
        SetWindowPosInternal(w, nullptr, 0, 0, 0, 0, flags);
        if (!Find(h))
            return;
    } else if (show) {
        ShowOrHide(w, true, false);
    }
    // A minimized window hands the activation on.
    if (TWindowRecord* active = Find(s.Active); active && (active == w || active->Owner == w))
        ActivateNextAfter(w);
}

void Maximize(TWindowRecord* w, bool activate)
{
    TPlatformState& s = *GPlatform;
    const HWND h = w->Handle;
    if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE)))
        w->NormalRect = w->Window;
    if (!(w->Style & WS_VISIBLE)) {
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!Find(h))
            return;
    }
    const MINMAXINFO info = QueryMinMaxInfo(w);
    if (!Find(h))
        return;
    const RECT r = MaximizedRect(w, info);
    if ((w->Style & WS_MINIMIZE) && w->Native)
        s.Backend->MinimizeNativeWindow(w->Native, false);
    w->Style = (w->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    VisibleLayoutChanged();
    if (w->Native)
        s.Backend->MaximizeNativeWindow(w->Native, true);
    UINT flags = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED_INTERNAL;
    if (!activate || !IsTopLevel(w))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPosInternal(w, HWND_TOP, r.left, r.top, RectWidth(r), RectHeight(r), flags);
}

void Restore(TWindowRecord* w, bool activate)
{
    TPlatformState& s = *GPlatform;
    const HWND h = w->Handle;
    if (w->Style & WS_MINIMIZE) {
        // Maximised again while still minimised, so that the rectangle kept for restoring stays.
        if (w->RestoreMaximized) {
            Maximize(w, activate);
            return;
        }
        if (w->Native)
            s.Backend->MinimizeNativeWindow(w->Native, false);
        w->Style &= ~WS_MINIMIZE;
        VisibleLayoutChanged();
    } else if (!(w->Style & WS_MAXIMIZE)) {
        ShowOrHide(w, true, activate);
        return;
    }
    w->Style &= ~WS_MAXIMIZE;
    VisibleLayoutChanged();
    if (!(w->Style & WS_VISIBLE)) {
        Send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!Find(h))
            return;
    }
    const RECT r = w->NormalRect;
    UINT flags = SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_STATECHANGED_INTERNAL;
    if (!activate || !IsTopLevel(w))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPosInternal(w, HWND_TOP, r.left, r.top, RectWidth(r), RectHeight(r), flags);
    // Told after the window has its normal place, which the display keeps over any of its own.
    if (Find(h) && w->Native)
        s.Backend->MaximizeNativeWindow(w->Native, false);
}

} // namespace

namespace WinCore {

void PlaceInZOrder(TWindowRecord* w, HWND insertAfter)
{
    std::vector<TWindowRecord*>& list = w->Parent->Children;
    std::erase(list, w);
    VisibleLayoutChanged();
    if (!IsTopLevel(w)) {
        auto at = list.begin();
        if (insertAfter == HWND_BOTTOM)
            at = list.end();
        else if (TWindowRecord* after
            = (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
                ? nullptr
                : Find(insertAfter)) {
            auto it = std::find(list.begin(), list.end(), after);
            at = it == list.end() ? list.begin() : it + 1;
        }
        list.insert(at, w);
        return;
    }
    if (insertAfter == HWND_TOPMOST)
        w->ExStyle |= WS_EX_TOPMOST;
    else if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM)
        w->ExStyle &= ~WS_EX_TOPMOST;
    // The top-most band comes first; a window never leaves its band by its position alone.
    const auto bandEnd = std::find_if(list.begin(), list.end(), [](TWindowRecord* x) { return !IsTopmost(x); });
    const size_t firstNormal = size_t(bandEnd - list.begin());
    size_t index;
    if (insertAfter == HWND_BOTTOM)
        index = list.size();
    else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST || !insertAfter)
        index = IsTopmost(w) ? 0 : firstNormal;
    else {
        TWindowRecord* after = Find(insertAfter);
        auto it = after ? std::find(list.begin(), list.end(), after) : list.end();
        index = it == list.end() ? (IsTopmost(w) ? 0 : firstNormal) : size_t(it - list.begin()) + 1;
    }
    if (IsTopmost(w))
        index = std::min(index, firstNormal);
    else
        index = std::max(index, firstNormal);
    list.insert(list.begin() + std::ptrdiff_t(std::min(index, list.size())), w);
    LiftOwned(w);
}

void SyncNativeStacking()
{
    std::vector<TNativeWindow> natives;
    for (TWindowRecord* w : TopLevels())
        if (w->Native)
            natives.push_back(w->Native);
    GPlatform->Backend->RestackNativeWindows(natives);
}

namespace {

// A buffer of the given size: the spare one when it has that size (still holding another window's image, so
// `filled` is false), else a new one made filled with kUnpaintedPixel.
std::unique_ptr<TBackBuffer> TakeBuffer(int width, int height, bool& filled)
{
    std::unique_ptr<TBackBuffer>& spare = GPlatform->SpareBuffer;
    filled = false;
    if (spare && spare->Width == width && spare->Height == height)
        return std::move(spare);
    auto buffer = std::make_unique<TBackBuffer>();
    buffer->Width = width;
    buffer->Height = height;
    buffer->Pixels.assign(size_t(width) * size_t(height), kUnpaintedPixel);
    filled = true;
    return buffer;
}

void KeepSpare(std::unique_ptr<TBackBuffer> buffer)
{
    if (buffer && buffer->Pixels.size() <= kMaxSpareBufferPixels)
        GPlatform->SpareBuffer = std::move(buffer);
}

} // namespace

void ReleaseBuffer(TWindowRecord* w)
{
    KeepSpare(std::move(w->Buffer));
}

void EnsureBuffer(TWindowRecord* w)
{
    if (!IsTopLevel(w)) {
        if (w->Buffer)
            VisibleLayoutChanged();
        ReleaseBuffer(w);
        return;
    }
    const int width = std::clamp<int>(RectWidth(w->Window), 0, kMaxBufferSide);
    const int height = std::clamp<int>(RectHeight(w->Window), 0, kMaxBufferSide);
    if (w->Buffer && w->Buffer->Width == width && w->Buffer->Height == height)
        return;
    bool filled = false;
    std::unique_ptr<TBackBuffer> buffer = TakeBuffer(width, height, filled);
    uint32_t* pixels = buffer->Pixels.data();
    // What the window already drew stays in place until it repaints the spoiled parts; every other pixel is
    // filled once (a reused buffer still holds another window's image). A new window's reused buffer is filled
    // when it is first used: its first paint may cover it all.
    TBackBuffer* old = w->Buffer.get();
    if (old)
        SettleBuffer(*old);
    const int rows = old ? std::min(height, old->Height) : 0;
    const int columns = old ? std::min(width, old->Width) : 0;
    for (int y = 0; y < rows; ++y) {
        uint32_t* row = pixels + size_t(y) * size_t(width);
        std::memcpy(row, &old->Pixels[size_t(y) * size_t(old->Width)], size_t(columns) * 4);
        if (!filled)
            FillPixels(row + columns, size_t(width - columns), kUnpaintedPixel);
    }
    buffer->Unfilled = !filled && !old;
    if (!filled && old)
        FillPixels(pixels + size_t(rows) * size_t(width), size_t(height - rows) * size_t(width), kUnpaintedPixel);
    KeepSpare(std::exchange(w->Buffer, std::move(buffer)));
    VisibleLayoutChanged();
    w->Dirty = RECT { 0, 0, width, height };
}

RECT ClampClient(RECT proposed, const RECT& window)
{
    proposed.right = std::max(proposed.right, proposed.left);
    proposed.bottom = std::max(proposed.bottom, proposed.top);
    return RECT { std::clamp(proposed.left, window.left, window.right),
        std::clamp(proposed.top, window.top, window.bottom), std::clamp(proposed.right, window.left, window.right),
        std::clamp(proposed.bottom, window.top, window.bottom) };
}

MINMAXINFO QueryMinMaxInfo(TWindowRecord* w)
{
    const RECT probe = DefaultClientFromWindow(w->Style, w->ExStyle, RECT { 0, 0, 1000, 1000 });
    const bool framed = (w->Style & (WS_THICKFRAME | WS_CAPTION)) != 0;
    const int border = framed ? probe.left : 0;
    RECT area;
    if (IsTopLevel(w)) {
        MONITORINFO monitor { sizeof(MONITORINFO), {}, {}, 0 };
        GetMonitorInfo(MonitorFromWindow(w->Handle, MONITOR_DEFAULTTONEAREST), &monitor);
        area = monitor.rcWork;
    } else {
        area = w->Parent ? RECT { 0, 0, RectWidth(w->Parent->Client), RectHeight(w->Parent->Client) } : RECT {};
    }
    MINMAXINFO info {};
    info.ptMaxSize = POINT { RectWidth(area) + 2 * border, RectHeight(area) + 2 * border };
    info.ptMaxPosition = POINT { -border, -border };
    info.ptMinTrackSize
        = framed ? POINT { GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK) } : POINT { 1, 1 };
    info.ptMaxTrackSize = POINT { GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK) };
    Send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

bool SetWindowPosInternal(TWindowRecord* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    TPlatformState& s = *GPlatform;
    const HWND h = w->Handle;
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    if ((flags & SWP_SHOWWINDOW) && wasVisible)
        flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !wasVisible)
        flags &= ~SWP_HIDEWINDOW;
    if (!IsTopLevel(w))
        flags |= SWP_NOACTIVATE;
    if (IsMessageOnly(w))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW;

    WINDOWPOS pos { h, insertAfter, x, y, std::max(0, cx), std::max(0, cy), flags };
    if (flags & SWP_NOMOVE) {
        pos.x = w->Window.left;
        pos.y = w->Window.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = RectWidth(w->Window);
        pos.cy = RectHeight(w->Window);
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if (!Find(h))
            return false;
        // The handler may change the position, the size and the flags, not the window.
        pos.hwnd = h;
        flags = pos.flags;
    }
    const RECT oldWindow = w->Window;
    const RECT oldClient = RectOffset(w->Client, oldWindow.left, oldWindow.top);
    RECT newWindow { pos.x, pos.y, pos.x + std::max(0, pos.cx), pos.y + std::max(0, pos.cy) };
    if (flags & SWP_NOMOVE)
        newWindow = RectOffset(newWindow, oldWindow.left - newWindow.left, oldWindow.top - newWindow.top);
    if (flags & SWP_NOSIZE) {
        newWindow.right = newWindow.left + RectWidth(oldWindow);
        newWindow.bottom = newWindow.top + RectHeight(oldWindow);
    }
    const bool moved = newWindow.left != oldWindow.left || newWindow.top != oldWindow.top;
    const bool sized = RectWidth(newWindow) != RectWidth(oldWindow) || RectHeight(newWindow) != RectHeight(oldWindow);
    const bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;

    RECT newClient = RectOffset(w->Client, newWindow.left, newWindow.top);
    if (moved || sized || frameChanged) {
        NCCALCSIZE_PARAMS params {};
        params.rgrc[0] = newWindow;
        params.rgrc[1] = oldWindow;
        params.rgrc[2] = oldClient;
        WINDOWPOS calcPos = pos;
        params.lppos = &calcPos;
        Send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        if (!Find(h))
            return false;
        newClient = ClampClient(params.rgrc[0], newWindow);
    }
    const RECT keptWindow = w->Window;
    const RECT keptClient = w->Client;
    w->Window = newWindow;
    w->Client = RectOffset(newClient, -newWindow.left, -newWindow.top);
    if (!EqualRect(&keptWindow, &w->Window) || !EqualRect(&keptClient, &w->Client))
        VisibleLayoutChanged();
    if (IsTopLevel(w)) {
        EnsureBuffer(w);
        if (w->Native && (moved || sized))
            s.Backend->SetNativeWindowBounds(w->Native, newWindow);
    }
    if (!(flags & SWP_NOZORDER) && w->Parent) {
        PlaceInZOrder(w, insertAfter);
        if (IsTopLevel(w))
            SyncNativeStacking();
    }
    if (flags & SWP_SHOWWINDOW) {
        w->Style |= WS_VISIBLE;
        VisibleLayoutChanged();
        if (w->Native)
            s.Backend->ShowNativeWindow(w->Native, true);
    }
    if (flags & SWP_HIDEWINDOW) {
        w->Style &= ~WS_VISIBLE;
        VisibleLayoutChanged();
        if (w->Native)
            s.Backend->ShowNativeWindow(w->Native, false);
        if (s.Capture == h || IsAncestorOf(w, Find(s.Capture)))
            ReleaseCapture();
    }

    const bool clientMoved = newClient.left != oldClient.left || newClient.top != oldClient.top;
    const bool clientSized
        = RectWidth(newClient) != RectWidth(oldClient) || RectHeight(newClient) != RectHeight(oldClient);
    if (!(flags & SWP_NOREDRAW)) {
        if ((flags & SWP_HIDEWINDOW) && IsChildWindow(w))
            InvalidateParentArea(w, oldWindow);
        if (IsVisibleChain(w)) {
            if (flags & SWP_SHOWWINDOW) {
                InvalidateFrame(w);
                InvalidateClient(w, nullptr, true, true);
                // Its children appear with it, also those a clipping parent would not invalidate for them.
                ForEachDescendant(w, [](TWindowRecord* c) {
                    if (c->Style & WS_VISIBLE) {
                        InvalidateFrame(c);
                        InvalidateClient(c, nullptr, true, false);
                    }
                });
            } else {
                if (sized || frameChanged)
                    InvalidateFrame(w);
                if (clientSized || frameChanged)
                    InvalidateClient(w, nullptr, true, true);
                if (IsChildWindow(w) && moved) {
                    // Child windows share their top-level's buffer: the old place shows the parent again,
                    // the new place needs the child's paint.
                    InvalidateParentArea(w, oldWindow);
                    InvalidateFrame(w);
                    InvalidateClient(w, nullptr, true, true);
                }
            }
        }
    }

    WINDOWPOS done { h, insertAfter, newWindow.left, newWindow.top, RectWidth(newWindow), RectHeight(newWindow),
        flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE) };
    if (!clientMoved)
        done.flags |= SWP_NOCLIENTMOVE;
    if (!clientSized)
        done.flags |= SWP_NOCLIENTSIZE;
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
    if (!Find(h))
        return true;

    if ((flags & SWP_HIDEWINDOW)) {
        if (s.Active == h)
            ActivateNextAfter(w);
        if (TWindowRecord* focus = Find(s.Focus); focus && IsChildWindow(w) && (focus == w || IsAncestorOf(w, focus)))
            SetFocus(w->Parent->Handle);
    } else if (!(flags & SWP_NOACTIVATE) && IsTopLevel(w) && (w->Style & WS_VISIBLE) && !(w->Style & WS_MINIMIZE)) {
        Activate(w, WA_ACTIVE);
    }
    if (!Find(h))
        return true;
    // A window that appears gets its frame and background painted at once; WM_PAINT follows from the queue.
    if ((flags & SWP_SHOWWINDOW) && IsVisibleChain(w))
        RedrawWindow(h, nullptr, nullptr, RDW_ERASENOW | RDW_ALLCHILDREN);
    return true;
}

} // namespace WinCore

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    flags &= ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_STATECHANGED_INTERNAL);
    return SetWindowPosInternal(w, insertAfter, x, y, width, height, flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    return SetWindowPos(
        hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int command)
{
    TWindowRecord* w = NeedDrawable(hwnd);
    if (!w)
        return FALSE;
    const BOOL wasVisible = (w->Style & WS_VISIBLE) ? TRUE : FALSE;
    switch (command) {
    case SW_HIDE:
        ShowOrHide(w, false, false);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        Minimize(w, true);
        break;
    case SW_SHOWMAXIMIZED:
        Maximize(w, true);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        Restore(w, true);
        break;
    case SW_SHOWNOACTIVATE:
        if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))
            Restore(w, false);
        else
            ShowOrHide(w, true, false);
        break;
    case SW_SHOW:
        ShowOrHide(w, true, true);
        break;
    case SW_SHOWNA:
        ShowOrHide(w, true, false);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return wasVisible;
}
