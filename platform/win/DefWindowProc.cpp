// DefWindowProc: the system's default answer to every message.
#include "platform/win/PlatformState.h"

#include <algorithm>
#include <cstring>

using namespace WinCore;

namespace {

HCURSOR CursorForHit(LRESULT hit)
{
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM:
        return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return LoadCursor(nullptr, IDC_SIZENESW);
    default:
        return LoadCursor(nullptr, IDC_ARROW);
    }
}

LRESULT OnSetCursor(TWindowRecord* w, WPARAM wParam, LPARAM lParam)
{
    const HWND h = w->Handle;
    // A parent gets the first say over its children's cursor.
    if (IsChildWindow(w) && Send(w->Parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    TWindowRecord* self = Find(h);
    if (!self)
        return FALSE;
    const LRESULT hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
    if (hit == HTCLIENT) {
        if (!self->Class->Cursor)
            return FALSE;
        SetCursor(self->Class->Cursor);
        return TRUE;
    }
    SetCursor(CursorForHit(hit));
    return TRUE;
}

LRESULT OnSysCommand(TWindowRecord* w, WPARAM wParam, LPARAM lParam)
{
    const HWND h = w->Handle;
    switch (wParam & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE: {
        if (w->Style & (WS_MAXIMIZE | WS_MINIMIZE))
            return 0;
        POINT start;
        if (wParam & 0x000F)
            start = MAKEPOINT(lParam);
        else
            GetCursorPos(&start);
        RunSizeMoveLoop(w, wParam, start);
        return 0;
    }
    case SC_HSCROLL:
    case SC_VSCROLL:
        TrackScrollBar(w, (wParam & 0xFFF0) == SC_VSCROLL ? SB_VERT : SB_HORZ, MAKEPOINT(lParam));
        return 0;
    case SC_MINIMIZE:
        ShowWindow(h, SW_MINIMIZE);
        return 0;
    case SC_MAXIMIZE:
        ShowWindow(h, SW_MAXIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(h, SW_RESTORE);
        return 0;
    case SC_CLOSE:
        if (!(w->Class->Style & CS_NOCLOSE))
            Send(w, WM_CLOSE, 0, 0);
        return 0;
    default:
        // SC_KEYMENU and the rest open native menus, of which there are none: the application's own menus
        // answer these commands themselves.
        return 0;
    }
}

LRESULT CopyText(TWindowRecord* w, WPARAM size, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || size == 0)
        return 0;
    size_t n = std::min<size_t>(size - 1, w->Text.size());
    // Never cut a UTF-8 sequence in half.
    while (n > 0 && n < w->Text.size() && (static_cast<unsigned char>(w->Text[n]) & 0xC0) == 0x80)
        --n;
    std::memcpy(buffer, w->Text.data(), n);
    buffer[n] = 0;
    return static_cast<LRESULT>(n);
}

// Into `dc` when the message brings one the DC layer knows (a paint DC, or a memory DC of someone capturing
// the window's background), else straight into the window's buffer.
bool EraseWithClassBrush(TWindowRecord* w, HDC dc)
{
    const HBRUSH brush = w->Class->Background;
    if (!brush)
        return false;
    COLORREF color;
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    // A system colour index plus one stands for that colour's brush.
    if (value > 0 && value <= uintptr_t(COLOR_MENUBAR) + 1)
        color = GetSysColor(static_cast<int>(value) - 1);
    else if (TGdiObject* object = GdiLookupObject(brush); !object || !object->SolidColor(color))
        return false;
    const RECT client { 0, 0, RectWidth(w->Client), RectHeight(w->Client) };
    if (TDCProvider* provider = InstalledDCProvider(); dc && provider && provider->FillDCRect(dc, client, color))
        return true;
    FillBuffer(w, true, nullptr, client, color);
    return true;
}

} // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Ready())
        return 0;
    TPlatformState& s = *GPlatform;
    TWindowRecord* w = Find(hwnd);
    if (!w || IsPseudoWindow(w))
        return 0;
    TWindowRecord* root = RootOf(w);
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            w->Text = cs->lpszName;
        SyncNativeTitle(w);
        SyncNativeIcon(w);
        return TRUE;
    }
    case WM_NCCALCSIZE:
        if (wParam) {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
            params->rgrc[0] = DefaultClientFromWindow(w->Style, w->ExStyle, params->rgrc[0]);
        } else if (auto* rect = reinterpret_cast<RECT*>(lParam)) {
            *rect = DefaultClientFromWindow(w->Style, w->ExStyle, *rect);
        }
        return 0;
    case WM_NCHITTEST:
        return DefaultHitTest(w, MAKEPOINT(lParam));
    case WM_NCPAINT:
        PaintDefaultFrame(w, w->NcActive);
        return 0;
    case WM_NCACTIVATE:
        w->NcActive = wParam != 0;
        PaintDefaultFrame(w, w->NcActive);
        return TRUE;
    case WM_SETTEXT:
        w->Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        SyncNativeTitle(w);
        if ((w->Style & WS_CAPTION) == WS_CAPTION)
            PaintDefaultFrame(w, w->NcActive);
        return TRUE;
    case WM_GETTEXT:
        return CopyText(w, wParam, lParam);
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? w->BigIcon : w->SmallIcon;
        HICON old = slot;
        slot = reinterpret_cast<HICON>(lParam);
        SyncNativeIcon(w);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->BigIcon : w->SmallIcon);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->Text.size());
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseWithClassBrush(w, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETCURSOR:
        return OnSetCursor(w, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (IsChildWindow(w))
            if (const LRESULT answer = Send(w->Parent, WM_MOUSEACTIVATE, wParam, lParam))
                return answer;
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(hwnd);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!pos)
            return 0;
        if (!(pos->flags & SWP_NOCLIENTMOVE))
            Send(w, WM_MOVE, 0,
                MAKELPARAM(
                    WORD(int16_t(w->Window.left + w->Client.left)), WORD(int16_t(w->Window.top + w->Client.top))));
        if (Find(hwnd) && (!(pos->flags & SWP_NOCLIENTSIZE) || (pos->flags & SWP_STATECHANGED_INTERNAL))) {
            const WPARAM type = (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                         : ((w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED);
            Send(w, WM_SIZE, type, MAKELPARAM(RectWidth(w->Client), RectHeight(w->Client)));
        }
        return 0;
    }
    case WM_SYSCOMMAND:
        return OnSysCommand(w, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        if (wParam == WPARAM(HTCAPTION))
            Send(w, WM_SYSCOMMAND, SC_MOVE | WPARAM(HTCAPTION), lParam);
        else if (wParam >= WPARAM(HTLEFT) && wParam <= WPARAM(HTBOTTOMRIGHT))
            Send(w, WM_SYSCOMMAND, SC_SIZE + (wParam - WPARAM(HTLEFT) + WMSZ_LEFT), lParam);
        else if (wParam == WPARAM(HTCLOSE) || wParam == WPARAM(HTMINBUTTON) || wParam == WPARAM(HTMAXBUTTON))
            TrackCaptionButton(w, static_cast<LRESULT>(wParam));
        else if (wParam == WPARAM(HTHSCROLL) || wParam == WPARAM(HTVSCROLL))
            Send(w, WM_SYSCOMMAND, (wParam == WPARAM(HTVSCROLL) ? SC_VSCROLL : SC_HSCROLL) | wParam, lParam);
        // Other codes (the client, HTOBJECT and unknown ones) have no default action.
        return 0;
    case WM_NCLBUTTONDBLCLK:
        // A quick second press on a scroll bar is one more press.
        if (wParam == WPARAM(HTHSCROLL) || wParam == WPARAM(HTVSCROLL))
            return DefWindowProc(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
        if (wParam == WPARAM(HTCAPTION) && (w->Style & WS_MAXIMIZEBOX))
            Send(w, WM_SYSCOMMAND, (w->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_RBUTTONUP: {
        POINT pt = MAKEPOINT(lParam);
        ClientToScreen(hwnd, &pt);
        Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(WORD(int16_t(pt.x)), WORD(int16_t(pt.y))));
        return 0;
    }
    case WM_NCRBUTTONUP:
        Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if (IsChildWindow(w))
            return Send(w->Parent, message, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & (LPARAM(1) << 29)))
            Send(root, WM_SYSCOMMAND, SC_CLOSE, 0);
        else if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
            Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP:
        if ((wParam == VK_MENU || wParam == VK_LMENU || wParam == VK_RMENU) && s.LoneAlt) {
            s.LoneAlt = false;
            Send(root, WM_SYSCOMMAND, SC_KEYMENU, 0);
        } else if (wParam == VK_F10 && s.MenuKeyPending) {
            s.MenuKeyPending = false;
            Send(root, WM_SYSCOMMAND, SC_KEYMENU, 0);
        } else if (wParam == VK_APPS && message == WM_KEYUP) {
            Send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        }
        return 0;
    case WM_SYSCHAR:
        if (lParam & (LPARAM(1) << 29))
            Send(root, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
        return 0;
    case WM_CANCELMODE:
        if (s.Capture == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SETREDRAW:
        // Only the flag changes, without any message or repaint, as on Windows.
        if (wParam)
            w->Style |= WS_VISIBLE;
        else
            w->Style &= ~WS_VISIBLE;
        VisibleLayoutChanged();
        return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
        return TRUE;
    default:
        return 0;
    }
}
