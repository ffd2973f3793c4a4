#include "platform/controls/ScrollBarControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBarLayout.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

namespace {

// The timer of a held arrow or page area.
constexpr UINT_PTR kRepeatTimer = 1;

// One scroll bar's state, kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class ScrollBar {
public:
    ScrollBar(HWND hwnd, const CREATESTRUCT&)
        : hwnd_(hwnd)
    {
        state_.Made = true;
    }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    bool Vertical() const { return (GetWindowLongPtr(hwnd_, GWL_STYLE) & SBS_VERT) != 0; }
    TBarLayout Layout() const;
    // The parent hears a request as WM_HSCROLL or WM_VSCROLL from this window.
    void Request(WORD code, int pos = 0);
    void Redraw() { InvalidateRect(hwnd_, nullptr, FALSE); }
    // Applies `info`, returns the new position.
    int Apply(const SCROLLINFO& info, bool redraw);

    void OnPress(POINT p);
    void OnMove(POINT p);
    void OnRelease();
    void OnRepeat();
    void OnKey(WPARAM key);
    void Paint(HDC dc);
    BOOL FillBarInfo(SCROLLBARINFO* info) const;

    HWND hwnd_;
    TScrollBarState state_;
    TScrollPart held_ = spNone; // the part the left button went down on, while the capture is ours
    int grab_ = 0; // where in the thumb it was grabbed
    int dragStart_ = 0; // the position a thumb that wanders off goes back to
};

TBarLayout ScrollBar::Layout() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    TScrollBarState shown = state_;
    if (!IsWindowEnabled(hwnd_))
        shown.Disabled = ESB_DISABLE_BOTH;
    return ScrollBarLayout(shown, client, Vertical());
}

void ScrollBar::Request(WORD code, int pos)
{
    if (HWND parent = GetParent(hwnd_))
        SendMessage(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
            reinterpret_cast<LPARAM>(hwnd_));
}

int ScrollBar::Apply(const SCROLLINFO& info, bool redraw)
{
    SetScrollValues(state_, info);
    if (redraw)
        Redraw();
    return state_.Pos;
}

void ScrollBar::OnPress(POINT p)
{
    TBarLayout l = Layout();
    TScrollPart part = ScrollPartAt(l, p);
    if (part == spNone || ScrollPartDisabled(state_, part) || !IsWindowEnabled(hwnd_))
        return;
    if (GetWindowLongPtr(hwnd_, GWL_STYLE) & WS_TABSTOP)
        SetFocus(hwnd_);
    SetCapture(hwnd_);
    held_ = part;
    state_.Pressed = part;
    if (part == spThumb) {
        grab_ = l.Along(p) - l.ThumbStart;
        dragStart_ = state_.Pos;
        state_.Tracking = true;
        state_.TrackPos = state_.Pos;
        Redraw();
        return;
    }
    Redraw();
    // The repeat counts from the press, however long the parent takes over the request.
    SetTimer(hwnd_, kRepeatTimer, kScrollFirstRepeatDelay, nullptr);
    Request(ScrollRequestFor(part));
}

void ScrollBar::OnMove(POINT p)
{
    if (held_ == spNone)
        return;
    TBarLayout l = Layout();
    if (held_ == spThumb) {
        int value = NearScrollBar(l, p) ? ScrollValueAtThumb(state_, l, l.Along(p) - grab_) : dragStart_;
        if (value != state_.TrackPos) {
            state_.TrackPos = value;
            Redraw();
            Request(SB_THUMBTRACK, value);
        }
        return;
    }
    int pressed = ScrollPartAt(l, p) == held_ ? held_ : spNone;
    if (pressed != state_.Pressed) {
        state_.Pressed = pressed;
        Redraw();
    }
}

void ScrollBar::OnRelease()
{
    TScrollPart part = held_;
    if (part == spNone)
        return;
    held_ = spNone;
    KillTimer(hwnd_, kRepeatTimer);
    state_.Pressed = spNone;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    Redraw();
    if (part == spThumb) {
        // The handler of the final position may still read the dragged position (SIF_TRACKPOS). It may also
        // destroy the bar: nothing of the object is touched then.
        const HWND self = hwnd_;
        Request(SB_THUMBPOSITION, state_.TrackPos);
        if (!IsWindow(self))
            return;
        state_.Tracking = false;
    }
    Request(SB_ENDSCROLL);
}

void ScrollBar::OnRepeat()
{
    // A held arrow repeats while the pointer stays on it; a held page area until the thumb reaches the pointer.
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    if (held_ == spNone || held_ == spThumb) {
        KillTimer(hwnd_, kRepeatTimer);
        return;
    }
    SetTimer(hwnd_, kRepeatTimer, kScrollRepeatDelay, nullptr);
    if (ScrollPartAt(Layout(), p) == held_ && !ScrollPartDisabled(state_, held_))
        Request(ScrollRequestFor(held_));
}

void ScrollBar::OnKey(WPARAM key)
{
    WORD code;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        code = SB_LINEUP;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        code = SB_LINEDOWN;
        break;
    case VK_PRIOR:
        code = SB_PAGEUP;
        break;
    case VK_NEXT:
        code = SB_PAGEDOWN;
        break;
    case VK_HOME:
        code = SB_TOP;
        break;
    case VK_END:
        code = SB_BOTTOM;
        break;
    default:
        return;
    }
    if (!IsWindowEnabled(hwnd_))
        return;
    const HWND self = hwnd_;
    Request(code);
    if (IsWindow(self))
        Request(SB_ENDSCROLL);
}

void ScrollBar::Paint(HDC dc)
{
    // The parent may give the track its own brush.
    HBRUSH track = nullptr;
    if (HWND parent = GetParent(hwnd_))
        track = reinterpret_cast<HBRUSH>(
            SendMessage(parent, WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)));
    TScrollBarState shown = state_;
    if (!IsWindowEnabled(hwnd_))
        shown.Disabled = ESB_DISABLE_BOTH;
    PaintScrollBarParts(shown, Layout(), [dc, track](const RECT& r, int color) {
        HBRUSH brush = color == COLOR_SCROLLBAR && track ? track : GetSysColorBrush(color);
        FillRect(dc, &r, brush);
    });
}

BOOL ScrollBar::FillBarInfo(SCROLLBARINFO* info) const
{
    if (!info || info->cbSize != sizeof(SCROLLBARINFO))
        return FALSE;
    TBarLayout l = Layout();
    RECT window;
    GetWindowRect(hwnd_, &window);
    info->rcScrollBar = window;
    info->dxyLineButton = l.Arrow;
    info->xyThumbTop = l.ThumbStart;
    info->xyThumbBottom = l.ThumbStart + l.ThumbLength;
    info->reserved = 0;
    auto pressed = [&](TScrollPart part) { return state_.Pressed == part ? STATE_SYSTEM_PRESSED : DWORD(0); };
    const DWORD noThumb = l.ThumbLength ? 0 : STATE_SYSTEM_INVISIBLE;
    info->rgstate[0] = (IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE)
        | (state_.Disabled == ESB_DISABLE_BOTH || !IsWindowEnabled(hwnd_) ? STATE_SYSTEM_UNAVAILABLE : 0);
    info->rgstate[1] = pressed(spArrowStart) | ((state_.Disabled & ESB_DISABLE_LTUP) ? STATE_SYSTEM_UNAVAILABLE : 0);
    info->rgstate[2] = pressed(spPageStart) | noThumb;
    info->rgstate[3] = (state_.Tracking ? STATE_SYSTEM_PRESSED : 0) | noThumb;
    info->rgstate[4] = pressed(spPageEnd) | noThumb;
    info->rgstate[5] = pressed(spArrowEnd) | ((state_.Disabled & ESB_DISABLE_RTDN) ? STATE_SYSTEM_UNAVAILABLE : 0);
    return TRUE;
}

LRESULT ScrollBar::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
    case WM_ENABLE:
    case WM_STYLECHANGED:
        Redraw();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(MAKEPOINT(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMove(MAKEPOINT(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnRelease();
        return 0;
    case WM_CAPTURECHANGED:
        // The capture taken away ends the press as a release would.
        if (held_ != spNone && reinterpret_cast<HWND>(lParam) != hwnd_)
            OnRelease();
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer) {
            OnRepeat();
            return 0;
        }
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case WM_KEYDOWN:
        OnKey(wParam);
        return 0;

    case SBM_SETPOS: {
        int previous = state_.Pos;
        SCROLLINFO info { sizeof info, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0 };
        Apply(info, lParam != 0);
        return previous;
    }
    case SBM_GETPOS:
        return state_.Pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int previous = state_.Pos;
        SCROLLINFO info { sizeof info, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0 };
        Apply(info, message == SBM_SETRANGEREDRAW);
        return previous;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = state_.Min;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = state_.Max;
        return 0;
    case SBM_ENABLE_ARROWS: {
        UINT arrows = static_cast<UINT>(wParam) & ESB_DISABLE_BOTH;
        if (state_.Disabled == arrows)
            return FALSE;
        state_.Disabled = arrows;
        Redraw();
        return TRUE;
    }
    case SBM_SETSCROLLINFO: {
        const auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
        if (!info)
            return state_.Pos;
        return Apply(*info, wParam != 0);
    }
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
        if (!info)
            return FALSE;
        if (info->fMask & SIF_RANGE) {
            info->nMin = state_.Min;
            info->nMax = state_.Max;
        }
        if (info->fMask & SIF_PAGE)
            info->nPage = state_.Page;
        if (info->fMask & SIF_POS)
            info->nPos = state_.Pos;
        if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
            info->nTrackPos = state_.Tracking ? state_.TrackPos : state_.Pos;
        return (info->fMask & SIF_ALL) ? TRUE : FALSE;
    }
    case SBM_GETSCROLLBARINFO:
        return FillBarInfo(reinterpret_cast<SCROLLBARINFO*>(lParam));
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterScrollBarClass()
{
    return RegisterControlClass<ScrollBar>(WC_SCROLLBAR, IDC_ARROW);
}
