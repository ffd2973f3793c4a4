// The modal loops that DefWindowProc runs inside one call: moving and sizing a window with the mouse or
// the keyboard, and tracking a pressed caption button. They pump every other message while they run.
#include "platform/win/PlatformState.h"

#include <algorithm>

using namespace WinCore;

namespace {

// Ends the loop's hold on the window whatever way the loop leaves.
struct TLoopGuard {
    HWND Window;
    bool SizeMove;
    ~TLoopGuard()
    {
        if (!GPlatform)
            return;
        if (SizeMove)
            GPlatform->SizeMoveWindow = nullptr;
        if (GPlatform->Capture == Window)
            ReleaseCapture();
    }
};

WPARAM EdgeForKey(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
        return WMSZ_LEFT;
    case VK_RIGHT:
        return WMSZ_RIGHT;
    case VK_UP:
        return WMSZ_TOP;
    case VK_DOWN:
        return WMSZ_BOTTOM;
    default:
        return 0;
    }
}

} // namespace

namespace WinCore {

TModal NextModalMessage(MSG& msg)
{
    for (;;) {
        if (!GPlatform)
            return TModal::Stopped;
        if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return TModal::Quit;
            }
            return TModal::Message;
        }
        if (!GPlatform)
            return TModal::Stopped;
        WaitForNextEvent();
    }
}

bool IsMouseMessage(UINT m)
{
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT m)
{
    return m >= WM_KEYFIRST && m <= WM_KEYLAST;
}

void RunSizeMoveLoop(TWindowRecord* w, WPARAM command, POINT start)
{
    TPlatformState& s = *GPlatform;
    if (s.SizeMoveWindow)
        return;
    const HWND h = w->Handle;
    const bool sizing = (command & 0xFFF0) == SC_SIZE;
    const bool keyboard = (command & 0x000F) == 0;
    WPARAM edge = sizing ? (command & 0x000F) : 0;
    if (edge > WMSZ_BOTTOMRIGHT)
        return;
    s.SizeMoveWindow = h;
    TLoopGuard guard { h, true };

    Send(w, WM_ENTERSIZEMOVE, 0, 0);
    if (!Find(h))
        return;
    SetCapture(h);
    MINMAXINFO limits {};
    if (sizing) {
        limits = QueryMinMaxInfo(w);
        if (!Find(h))
            return;
    }
    const RECT original = WindowScreenRect(w);
    RECT current = original;
    POINT pointer = start;

    // Each pointer position gives a proposal that the window may rewrite (WM_MOVING/WM_SIZING), then the
    // track limits, then it is applied at once.
    auto apply = [&](POINT pt) {
        pointer = pt;
        const int dx = pt.x - start.x;
        const int dy = pt.y - start.y;
        RECT r = original;
        if (!sizing) {
            r = RectOffset(r, dx, dy);
            Send(w, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
            if (edge == 0)
                return;
            const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
            const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
            const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
            const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
            if (left)
                r.left += dx;
            if (right)
                r.right += dx;
            if (top)
                r.top += dy;
            if (bottom)
                r.bottom += dy;
            Send(w, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
            if (!Find(h))
                return;
            const int minX = std::max<int>(0, limits.ptMinTrackSize.x);
            const int minY = std::max<int>(0, limits.ptMinTrackSize.y);
            const int width = std::clamp<int>(RectWidth(r), minX, std::max<int>(minX, limits.ptMaxTrackSize.x));
            const int height = std::clamp<int>(RectHeight(r), minY, std::max<int>(minY, limits.ptMaxTrackSize.y));
            // The edge being dragged gives way; the opposite edge stays put.
            if (left)
                r.left = r.right - width;
            else
                r.right = r.left + width;
            if (top)
                r.top = r.bottom - height;
            else
                r.bottom = r.top + height;
        }
        if (!Find(h) || EqualRect(&r, &current))
            return;
        current = r;
        const POINT parent = IsChildWindow(w) ? ClientOrigin(w->Parent) : POINT { 0, 0 };
        SetWindowPosInternal(w, nullptr, r.left - parent.x, r.top - parent.y, RectWidth(r), RectHeight(r),
            SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
    };

    bool cancelled = false;
    bool done = false;
    MSG msg;
    while (!done && Find(h) && s.Capture == h) {
        const TModal next = NextModalMessage(msg);
        if (next == TModal::Stopped)
            return;
        if (next == TModal::Quit)
            break;
        if (IsMouseMessage(msg.message) && msg.hwnd == h) {
            if (msg.message == WM_MOUSEMOVE)
                apply(msg.pt);
            else if (msg.message == WM_LBUTTONUP || (keyboard && msg.message == WM_LBUTTONDOWN))
                done = true;
            continue;
        }
        if (IsKeyMessage(msg.message)) {
            if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
                continue;
            if (msg.wParam == VK_ESCAPE) {
                cancelled = true;
                done = true;
            } else if (msg.wParam == VK_RETURN) {
                done = true;
            } else if (const WPARAM keyEdge = EdgeForKey(msg.wParam)) {
                if (sizing && edge == 0)
                    edge = keyEdge;
                POINT pt = pointer;
                pt.x += keyEdge == WMSZ_LEFT ? -8 : (keyEdge == WMSZ_RIGHT ? 8 : 0);
                pt.y += keyEdge == WMSZ_TOP ? -8 : (keyEdge == WMSZ_BOTTOM ? 8 : 0);
                apply(pt);
            }
            continue;
        }
        DispatchMessage(&msg);
    }
    if (cancelled && Find(h) && !EqualRect(&current, &original)) {
        const POINT parent = IsChildWindow(w) ? ClientOrigin(w->Parent) : POINT { 0, 0 };
        SetWindowPosInternal(w, nullptr, original.left - parent.x, original.top - parent.y, RectWidth(original),
            RectHeight(original), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!GPlatform)
        return;
    if (s.Capture == h)
        ReleaseCapture();
    s.SizeMoveWindow = nullptr;
    if (TWindowRecord* alive = Find(h))
        Send(alive, WM_EXITSIZEMOVE, 0, 0);
}

void TrackCaptionButton(TWindowRecord* w, LRESULT hit)
{
    const HWND h = w->Handle;
    SetCapture(h);
    TLoopGuard guard { h, false };
    MSG msg;
    while (Find(h) && GPlatform->Capture == h) {
        const TModal next = NextModalMessage(msg);
        if (next != TModal::Message)
            return;
        if (IsMouseMessage(msg.message) && msg.hwnd == h) {
            if (msg.message != WM_LBUTTONUP)
                continue;
            ReleaseCapture();
            TWindowRecord* alive = Find(h);
            if (!alive)
                return;
            const LPARAM where = MAKELPARAM(WORD(int16_t(msg.pt.x)), WORD(int16_t(msg.pt.y)));
            if (Send(alive, WM_NCHITTEST, 0, where) != hit || !Find(h))
                return;
            WPARAM command = SC_CLOSE;
            if (hit == HTMINBUTTON)
                command = SC_MINIMIZE;
            else if (hit == HTMAXBUTTON)
                command = (alive->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
            Send(alive, WM_SYSCOMMAND, command, where);
            return;
        }
        if (IsKeyMessage(msg.message)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                return;
            continue;
        }
        DispatchMessage(&msg);
    }
}

} // namespace WinCore
