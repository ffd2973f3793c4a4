// The windows' own scroll bars: where they sit in the non-client area, their painting and hit codes, the scroll calls,
// and the mouse loop of a press on a bar (repeating arrows and page areas, the dragged thumb).
#include "platform/win/EntryChecks.h"
#include "platform/win/ScrollBarLayout.h"
#include "platform/win/ScrollBars.h"

#include <algorithm>

using namespace WinCore;

namespace {

// A window timer id the system keeps for the repeat of a held arrow or page area; the loop consumes its
// WM_TIMER, so the window never sees it.
constexpr UINT_PTR kRepeatTimer = 0xFFFE;

bool IsWindowBar(int bar)
{
    return bar == SB_HORZ || bar == SB_VERT;
}

TScrollBarState& StateOf(TWindowRecord* w, int bar)
{
    return bar == SB_HORZ ? w->HorzBar : w->VertBar;
}

DWORD StyleBit(int bar)
{
    return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

// A bar's data exists once the window had its style or a scroll call set it.
bool HasBarData(TWindowRecord* w, int bar)
{
    return StateOf(w, bar).Made || (w->Style & StyleBit(bar));
}

// Where the bar sits next to the client area (window-relative), whether or not the style shows it; empty when
// the frame leaves it no room.
RECT BarPlace(const TWindowRecord* w, int bar)
{
    const RECT& c = w->Client;
    RECT r;
    if (bar == SB_VERT) {
        const int cx = GetSystemMetrics(SM_CXVSCROLL);
        r = (w->ExStyle & WS_EX_LEFTSCROLLBAR) ? RECT { c.left - cx, c.top, c.left, c.bottom }
                                               : RECT { c.right, c.top, c.right + cx, c.bottom };
    } else {
        r = RECT { c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL) };
    }
    return RectIntersection(r, RECT { 0, 0, RectWidth(w->Window), RectHeight(w->Window) });
}

bool ShownBarRect(const TWindowRecord* w, int bar, RECT& r)
{
    if (!(w->Style & StyleBit(bar)))
        return false;
    r = BarPlace(w, bar);
    return !IsRectEmpty(&r);
}

TBarLayout LayoutOf(TWindowRecord* w, int bar)
{
    return ScrollBarLayout(StateOf(w, bar), BarPlace(w, bar), bar == SB_VERT);
}

POINT ToWindow(const TWindowRecord* w, POINT screen)
{
    const POINT origin = WindowOrigin(w);
    return POINT { screen.x - origin.x, screen.y - origin.y };
}

// --- Painting ---------------------------------------------------------------------------------------------

void Fill(TWindowRecord* w, const RECT& r, int colorIndex)
{
    FillBuffer(w, false, nullptr, r, GetSysColor(colorIndex));
}

void PaintBar(TWindowRecord* w, int bar)
{
    RECT r;
    if (!IsVisibleChain(w) || !ShownBarRect(w, bar, r))
        return;
    const TScrollBarState& s = StateOf(w, bar);
    PaintScrollBarParts(
        s, ScrollBarLayout(s, r, bar == SB_VERT), [w](const RECT& part, int color) { Fill(w, part, color); });
}

// --- Showing, hiding and the scroll requests -----------------------------------------------------------

// Sets or clears the bars' style bits (WS_HSCROLL and/or WS_VSCROLL in `bits`) and recalculates the frame when
// that changed something.
void ShowBars(TWindowRecord* w, DWORD bits, bool show)
{
    const DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
    if (style == w->Style)
        return;
    if (bits & WS_HSCROLL)
        w->HorzBar.Made = true;
    if (bits & WS_VSCROLL)
        w->VertBar.Made = true;
    w->Style = style;
    VisibleLayoutChanged();
    SetWindowPosInternal(
        w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Applies `info` to a window's own bar; returns the new position.
int ApplyScrollInfo(TWindowRecord* w, int bar, const SCROLLINFO& info, bool redraw)
{
    const HWND h = w->Handle;
    TScrollBarState& s = StateOf(w, bar);
    s.Made = true;
    const bool changed = SetScrollValues(s, info);

    if (info.fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        if (s.Min >= ScrollMaxPos(s)) {
            // Nothing to scroll: the bar goes, or stays greyed with SIF_DISABLENOSCROLL.
            if (info.fMask & SIF_DISABLENOSCROLL)
                s.Disabled = ESB_DISABLE_BOTH;
            else if (changed)
                ShowBars(w, StyleBit(bar), false);
        } else if (info.fMask != SIF_PAGE) {
            s.Disabled = ESB_ENABLE_BOTH;
            if (changed)
                ShowBars(w, StyleBit(bar), true);
        }
    }
    w = Find(h);
    if (!w)
        return 0;
    if (redraw)
        PaintBar(w, bar);
    return StateOf(w, bar).Pos;
}

WPARAM Request(WORD code, int pos = 0)
{
    return MAKEWPARAM(code, static_cast<WORD>(pos));
}

// The part under the pointer now, as the bar is laid out now (the thumb moves as the window scrolls).
TScrollPart PartUnderPointer(TWindowRecord* w, int bar)
{
    return ScrollPartAt(LayoutOf(w, bar), ToWindow(w, CursorNow()));
}

// What a tracking loop holds; whatever way the loop ends, the window's bar is left unpressed and the capture
// and repeat timer go.
struct TTrackGuard {
    HWND Window;
    int Bar;
    ~TTrackGuard()
    {
        if (!GPlatform)
            return;
        KillTimer(Window, kRepeatTimer);
        if (GPlatform->Capture == Window)
            ReleaseCapture();
        if (TWindowRecord* w = Find(Window)) {
            TScrollBarState& s = StateOf(w, Bar);
            s.Pressed = spNone;
            s.Tracking = false;
            PaintBar(w, Bar);
        }
    }
};

} // namespace

namespace WinCore {

void RemoveScrollBarsFromClient(DWORD style, DWORD exStyle, RECT& client)
{
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    const int cy = GetSystemMetrics(SM_CYHSCROLL);
    if ((style & WS_VSCROLL) && RectWidth(client) >= cx) {
        if (exStyle & WS_EX_LEFTSCROLLBAR)
            client.left += cx;
        else
            client.right -= cx;
    }
    if ((style & WS_HSCROLL) && RectHeight(client) >= cy)
        client.bottom -= cy;
}

LRESULT ScrollBarHitTest(TWindowRecord* w, POINT screen)
{
    const POINT p = ToWindow(w, screen);
    RECT vertical;
    RECT horizontal;
    const bool hasVertical = ShownBarRect(w, SB_VERT, vertical);
    const bool hasHorizontal = ShownBarRect(w, SB_HORZ, horizontal);
    if (hasVertical && RectContains(vertical, p.x, p.y))
        return HTVSCROLL;
    if (hasHorizontal && RectContains(horizontal, p.x, p.y))
        return HTHSCROLL;
    if (hasVertical && hasHorizontal) {
        const RECT corner { vertical.left, horizontal.top, vertical.right, horizontal.bottom };
        if (RectContains(corner, p.x, p.y))
            return HTSIZE;
    }
    return HTNOWHERE;
}

void PaintScrollBars(TWindowRecord* w)
{
    PaintBar(w, SB_HORZ);
    PaintBar(w, SB_VERT);
    RECT vertical;
    RECT horizontal;
    if (IsVisibleChain(w) && ShownBarRect(w, SB_VERT, vertical) && ShownBarRect(w, SB_HORZ, horizontal))
        Fill(w, RECT { vertical.left, horizontal.top, vertical.right, horizontal.bottom }, COLOR_BTNFACE);
}

void TrackScrollBar(TWindowRecord* w, int bar, POINT screen)
{
    const HWND h = w->Handle;
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    const TBarLayout start = LayoutOf(w, bar);
    const TScrollPart part = (w->Style & StyleBit(bar)) ? ScrollPartAt(start, ToWindow(w, screen)) : spNone;
    if (part == spNone || ScrollPartDisabled(StateOf(w, bar), part))
        return;
    SetCapture(h);
    TTrackGuard guard { h, bar };
    // Where in the thumb it was grabbed, and the position it returns to when the pointer wanders off.
    const int grab = start.Along(ToWindow(w, screen)) - start.ThumbStart;
    const int startPos = StateOf(w, bar).Pos;
    {
        TScrollBarState& s = StateOf(w, bar);
        s.Pressed = part;
        s.Tracking = part == spThumb;
        s.TrackPos = s.Pos;
    }
    PaintBar(w, bar);
    if (part != spThumb) {
        // The repeat counts from the press, however long the window takes over the request.
        SetTimer(h, kRepeatTimer, kScrollFirstRepeatDelay, nullptr);
        Send(w, message, Request(ScrollRequestFor(part)), 0);
    }
    MSG msg;
    while ((w = Find(h)) && GPlatform->Capture == h) {
        if (NextModalMessage(msg) != TModal::Message)
            return;
        if (!(w = Find(h)))
            return;
        if (msg.message == WM_TIMER && msg.hwnd == h && msg.wParam == kRepeatTimer) {
            // A held arrow repeats while the pointer stays on it; a held page area until the thumb reaches the
            // pointer.
            if (PartUnderPointer(w, bar) == part && !ScrollPartDisabled(StateOf(w, bar), part)) {
                SetTimer(h, kRepeatTimer, kScrollRepeatDelay, nullptr);
                Send(w, message, Request(ScrollRequestFor(part)), 0);
            }
            continue;
        }
        if (IsMouseMessage(msg.message) && msg.hwnd == h) {
            if (msg.message == WM_LBUTTONUP)
                break;
            if (msg.message != WM_MOUSEMOVE)
                continue;
            TScrollBarState& s = StateOf(w, bar);
            const POINT p = ToWindow(w, msg.pt);
            if (part == spThumb) {
                const TBarLayout now = LayoutOf(w, bar);
                const int value = NearScrollBar(now, p) ? ScrollValueAtThumb(s, now, now.Along(p) - grab) : startPos;
                if (value != s.TrackPos) {
                    s.TrackPos = value;
                    PaintBar(w, bar);
                    Send(w, message, Request(SB_THUMBTRACK, value), 0);
                }
            } else {
                const int pressed = PartUnderPointer(w, bar) == part ? part : spNone;
                if (pressed != s.Pressed) {
                    s.Pressed = pressed;
                    PaintBar(w, bar);
                }
            }
            continue;
        }
        if (IsKeyMessage(msg.message))
            continue;
        DispatchMessage(&msg);
    }
    if (!(w = Find(h)))
        return;
    KillTimer(h, kRepeatTimer);
    if (part == spThumb) {
        // The handler of the final position may still read the tracked position (SIF_TRACKPOS).
        Send(w, message, Request(SB_THUMBPOSITION, StateOf(w, bar).TrackPos), 0);
        if (!(w = Find(h)))
            return;
        StateOf(w, bar).Tracking = false;
    }
    Send(w, message, Request(SB_ENDSCROLL), 0);
}

} // namespace WinCore

// --- The scroll calls -----------------------------------------------------------------------------------------

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw)
{
    if (bar == SB_CTL)
        return static_cast<int>(SendMessage(hwnd, SBM_SETSCROLLINFO, WPARAM(redraw), reinterpret_cast<LPARAM>(info)));
    TWindowRecord* w = NeedWindow(hwnd, info);
    if (!w)
        return 0;
    if (!IsWindowBar(bar) || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return ApplyScrollInfo(w, bar, *info, redraw != FALSE);
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info)
{
    if (bar == SB_CTL)
        return SendMessage(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
    TWindowRecord* w = NeedWindow(hwnd, info);
    if (!w)
        return FALSE;
    if (!IsWindowBar(bar) || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!HasBarData(w, bar)) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    const TScrollBarState& s = StateOf(w, bar);
    if (info->fMask & SIF_RANGE) {
        info->nMin = s.Min;
        info->nMax = s.Max;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = s.Page;
    if (info->fMask & SIF_POS)
        info->nPos = s.Pos;
    if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
        info->nTrackPos = s.Tracking ? s.TrackPos : s.Pos;
    return (info->fMask & SIF_ALL) ? TRUE : FALSE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    if (bar == SB_CTL)
        return static_cast<int>(SendMessage(hwnd, SBM_SETPOS, WPARAM(pos), LPARAM(redraw)));
    const int previous = GetScrollPos(hwnd, bar);
    SCROLLINFO info { sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0 };
    SetScrollInfo(hwnd, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar)
{
    if (bar == SB_CTL)
        return static_cast<int>(SendMessage(hwnd, SBM_GETPOS, 0, 0));
    SCROLLINFO info { sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0 };
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (bar == SB_CTL) {
        SendMessage(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, WPARAM(minPos), LPARAM(maxPos));
        return TRUE;
    }
    if (int64_t(maxPos) - minPos >= 0x80000000LL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!NeedWindow(hwnd))
        return FALSE;
    SCROLLINFO info { sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0 };
    SetScrollInfo(hwnd, bar, &info, redraw);
    return IsWindowBar(bar) ? TRUE : FALSE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
    if (!minPos || !maxPos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *minPos = 0;
    *maxPos = 0;
    if (bar == SB_CTL) {
        SendMessage(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
        return TRUE;
    }
    SCROLLINFO info { sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0 };
    if (!GetScrollInfo(hwnd, bar, &info))
        return FALSE;
    *minPos = info.nMin;
    *maxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (bar == SB_CTL) {
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    DWORD bits = 0;
    if (bar == SB_HORZ || bar == SB_BOTH)
        bits |= WS_HSCROLL;
    if (bar == SB_VERT || bar == SB_BOTH)
        bits |= WS_VSCROLL;
    if (!bits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShowBars(w, bits, show != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    if (bar == UINT(SB_CTL))
        return SendMessage(hwnd, SBM_ENABLE_ARROWS, WPARAM(arrows), 0) ? TRUE : FALSE;
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (bar != UINT(SB_HORZ) && bar != UINT(SB_VERT) && bar != UINT(SB_BOTH)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    arrows &= ESB_DISABLE_BOTH;
    bool changed = false;
    for (int b : { SB_HORZ, SB_VERT }) {
        if (bar != UINT(b) && bar != UINT(SB_BOTH))
            continue;
        TScrollBarState& s = StateOf(w, b);
        s.Made = true;
        if (s.Disabled == arrows)
            continue;
        s.Disabled = arrows;
        changed = true;
        PaintBar(w, b);
    }
    return changed ? TRUE : FALSE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO* info)
{
    if (objectId == OBJID_CLIENT)
        return SendMessage(hwnd, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
    TWindowRecord* w = NeedWindow(hwnd, info);
    if (!w)
        return FALSE;
    if ((objectId != OBJID_HSCROLL && objectId != OBJID_VSCROLL) || info->cbSize != sizeof(SCROLLBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int bar = objectId == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    const TScrollBarState& s = StateOf(w, bar);
    const RECT place = BarPlace(w, bar);
    const TBarLayout l = ScrollBarLayout(s, place, bar == SB_VERT);
    const POINT origin = WindowOrigin(w);
    info->rcScrollBar = RectOffset(place, origin.x, origin.y);
    info->dxyLineButton = l.Arrow;
    info->xyThumbTop = l.ThumbStart;
    info->xyThumbBottom = l.ThumbStart + l.ThumbLength;
    info->reserved = 0;
    DWORD barState = 0;
    if (!(w->Style & StyleBit(bar)))
        barState |= STATE_SYSTEM_INVISIBLE;
    else if (IsRectEmpty(&place))
        barState |= STATE_SYSTEM_OFFSCREEN;
    if (s.Disabled == ESB_DISABLE_BOTH)
        barState |= STATE_SYSTEM_UNAVAILABLE;
    const DWORD noThumb = l.ThumbLength ? 0 : STATE_SYSTEM_INVISIBLE;
    auto pressed = [&](TScrollPart part) { return s.Pressed == part ? STATE_SYSTEM_PRESSED : 0; };
    info->rgstate[0] = barState;
    info->rgstate[1] = pressed(spArrowStart) | ((s.Disabled & ESB_DISABLE_LTUP) ? STATE_SYSTEM_UNAVAILABLE : 0);
    info->rgstate[2] = pressed(spPageStart) | noThumb;
    info->rgstate[3] = (s.Tracking ? STATE_SYSTEM_PRESSED : 0) | noThumb;
    info->rgstate[4] = pressed(spPageEnd) | noThumb;
    info->rgstate[5] = pressed(spArrowEnd) | ((s.Disabled & ESB_DISABLE_RTDN) ? STATE_SYSTEM_UNAVAILABLE : 0);
    return TRUE;
}
