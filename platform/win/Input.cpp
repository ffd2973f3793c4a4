// Turning raw input into messages: hit testing, mouse activation, cursor, parent notification, double
// clicks, capture, wheel and keys; key translation; the key state, cursor and window-from-point queries.
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstdlib>

using namespace WinCore;

namespace {

struct TButtonMessages {
    UINT Down;
    UINT Up;
    UINT DoubleClick;
    UINT VirtualKey;
};

constexpr TButtonMessages kButtons[] = {
    { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, VK_LBUTTON },
    { WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, VK_RBUTTON },
    { WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, VK_MBUTTON },
};

// Client mouse message numbers minus this give the non-client ones (WM_MOUSEMOVE -> WM_NCMOUSEMOVE ...).
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

bool Down(const std::array<BYTE, 256>& state, UINT vk)
{
    return (state[vk] & 0x80) != 0;
}

WPARAM MouseKeys()
{
    const auto& k = GPlatform->KeyState;
    WPARAM flags = 0;
    if (Down(k, VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (Down(k, VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (Down(k, VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (Down(k, VK_SHIFT))
        flags |= MK_SHIFT;
    if (Down(k, VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

LPARAM PackPoint(int x, int y)
{
    return MAKELPARAM(WORD(int16_t(x)), WORD(int16_t(y)));
}

// True when the screen point lies in the window: its rectangle, its region, and its parent's client area.
bool PointInWindow(const TWindowRecord* w, POINT pt)
{
    const RECT r = WindowScreenRect(w);
    if (!RectContains(r, pt.x, pt.y))
        return false;
    if (w->Region)
        if (const TRegion* region = RegionOf(w->Region); region && !region->Contains(pt.x - r.left, pt.y - r.top))
            return false;
    if (IsChildWindow(w) && !RectContains(ClientScreenRect(w->Parent), pt.x, pt.y))
        return false;
    return true;
}

// The windows that may take a point, in the order the system offers it: the top-most deepest first, then
// the windows beneath it (siblings, then parents). Disabled child windows give the point to their parent; a
// disabled window's children are disabled with it, so the window itself takes the point.
void CollectCandidates(TWindowRecord* w, POINT pt, std::vector<HWND>& out)
{
    for (TWindowRecord* c : w->Children) {
        if (!(c->Style & WS_VISIBLE) || (c->Style & WS_MINIMIZE) || !PointInWindow(c, pt))
            continue;
        if (c->Style & WS_DISABLED)
            continue;
        CollectCandidates(c, pt, out);
        out.push_back(c->Handle);
    }
}

std::vector<HWND> Candidates(POINT pt)
{
    std::vector<HWND> out;
    for (TWindowRecord* top : TopLevels()) {
        if (!(top->Style & WS_VISIBLE) || (top->Style & WS_MINIMIZE) || !PointInWindow(top, pt))
            continue;
        // A layered, transparent window (a drag image) lets the mouse through to what lies beneath it.
        if ((top->ExStyle & WS_EX_LAYERED) && (top->ExStyle & WS_EX_TRANSPARENT))
            continue;
        if (!(top->Style & WS_DISABLED))
            CollectCandidates(top, pt, out);
        out.push_back(top->Handle);
    }
    return out;
}

void PushCooked(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT pt, DWORD tag = 0)
{
    TPlatformState& s = *GPlatform;
    std::lock_guard lock(s.QueueLock);
    s.Cooked.push_back(MSG { hwnd, message, wParam, lParam, GetTickCount(), pt, tag });
}

void SetButtonState(UINT vk, bool down)
{
    BYTE& state = GPlatform->KeyState[vk];
    state = down ? BYTE(0x80 | (state & 1)) : BYTE(state & 1);
}

void CookMouse(const TRawInput& ev)
{
    TPlatformState& s = *GPlatform;
    const POINT pt = ev.Point;
    const bool isMove = ev.Kind == TRawInputKind::MouseMove;
    const bool isDown = ev.Kind == TRawInputKind::ButtonDown;
    const TButtonMessages& button = kButtons[static_cast<int>(ev.Button)];
    if (!isMove)
        SetButtonState(button.VirtualKey, isDown);
    if (isDown) {
        s.LoneAlt = false;
        s.MenuKeyPending = false;
    }
    UINT clientMessage = isMove ? WM_MOUSEMOVE : (isDown ? button.Down : button.Up);

    TWindowRecord* capture = Find(s.Capture);
    TWindowRecord* target = capture;
    LRESULT hit = HTCLIENT;
    if (!target) {
        target = HitWindow(pt, &hit, true, nullptr);
        if (!target)
            return;
    }
    const HWND th = target->Handle;

    bool eat = false;
    if (isDown && !capture) {
        const bool nonClient = hit != HTCLIENT;
        const TBackendCapabilities caps = s.Backend->Capabilities();
        const UINT doubleTime = GetDoubleClickTime();
        const DWORD now = GetTickCount();
        const TClickRecord& last = s.LastClick;
        const bool isDouble = last.Valid && last.Window == th && last.Message == button.Down
            && last.NonClient == nonClient && now - last.Time <= doubleTime
            && std::abs(pt.x - last.Point.x) <= caps.DoubleClickWidth / 2
            && std::abs(pt.y - last.Point.y) <= caps.DoubleClickHeight / 2;
        // Client double clicks need the class's CS_DBLCLKS; non-client ones always come.
        if (isDouble && (nonClient || (target->Class->Style & CS_DBLCLKS))) {
            clientMessage = button.DoubleClick;
            s.LastClick.Valid = false;
        } else {
            s.LastClick = TClickRecord { th, button.Down, nonClient, now, pt, true };
        }
        const UINT message = nonClient ? clientMessage - kNonClientOffset : clientMessage;

        TWindowRecord* top = RootOf(target);
        if (top && top->Handle != s.Active && !(top->Style & WS_DISABLED) && IsTopLevel(top)) {
            const LRESULT answer = Send(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->Handle),
                MAKELPARAM(WORD(int16_t(hit)), message));
            eat = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
            const bool activate = answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT;
            if (activate && Find(top->Handle) && !(top->ExStyle & WS_EX_NOACTIVATE)) {
                const HWND topHandle = top->Handle;
                if (!TopLevels().empty() && TopLevels().front() != top)
                    SetWindowPosInternal(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                if (TWindowRecord* again = Find(topHandle))
                    Activate(again, WA_CLICKACTIVE);
            }
        }
        if (!Find(th))
            return;
    }
    const UINT message = (hit == HTCLIENT || capture) ? clientMessage : clientMessage - kNonClientOffset;
    if (!capture) {
        Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(th), MAKELPARAM(WORD(int16_t(hit)), message));
        if (!Find(th))
            return;
    }
    if (eat)
        return;
    if (hit == HTERROR) {
        // A click on a disabled window brings up the window it waits for (a modal dialog).
        if (isDown)
            if (HWND popup = GetWindow(th, GW_ENABLEDPOPUP))
                SetActiveWindow(popup);
        return;
    }
    if (isDown && !capture && IsChildWindow(target)) {
        // Ancestors hear of the press before the child gets it.
        for (TWindowRecord* c = target; IsChildWindow(c) && !(c->ExStyle & WS_EX_NOPARENTNOTIFY); c = c->Parent) {
            TWindowRecord* parent = c->Parent;
            const POINT origin = ClientOrigin(parent);
            const HWND cHandle = c->Handle;
            Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(button.Down, 0), PackPoint(pt.x - origin.x, pt.y - origin.y));
            if (!Find(th) || !Find(cHandle))
                return;
        }
    }
    if (hit == HTCLIENT || capture) {
        const POINT origin = ClientOrigin(target);
        PushCooked(th, message, MouseKeys(), PackPoint(pt.x - origin.x, pt.y - origin.y), pt);
    } else {
        PushCooked(th, message, WPARAM(hit), PackPoint(pt.x, pt.y), pt);
    }
}

void CookWheel(const TRawInput& ev)
{
    TPlatformState& s = *GPlatform;
    TWindowRecord* target = Find(s.Focus);
    if (!target)
        target = Find(s.Active);
    if (!target)
        return;
    const int delta = std::clamp(ev.WheelDelta, -32768, 32767);
    PushCooked(target->Handle, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), WORD(int16_t(delta))),
        PackPoint(ev.Point.x, ev.Point.y), ev.Point);
}

void CookKey(const TRawInput& ev)
{
    TPlatformState& s = *GPlatform;
    const UINT vk = ev.VirtualKey & 0xFF;
    const bool down = ev.Kind == TRawInputKind::KeyDown;
    auto& keys = s.KeyState;
    const bool wasDown = Down(keys, vk);
    auto apply = [&](UINT key) {
        BYTE& state = keys[key];
        if (down)
            state = BYTE(0x80 | ((state & 0x80) ? (state & 1) : ((state & 1) ^ 1)));
        else
            state = BYTE(state & 1);
    };
    apply(vk);
    // The side-specific keys also drive the generic ones.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT)
        apply(VK_SHIFT);
    else if (vk == VK_LCONTROL || vk == VK_RCONTROL)
        apply(VK_CONTROL);
    else if (vk == VK_LMENU || vk == VK_RMENU)
        apply(VK_MENU);
    const bool isAlt = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;

    if (down) {
        if (isAlt) {
            if (!wasDown)
                s.LoneAlt = true;
        } else {
            s.LoneAlt = false;
        }
        s.MenuKeyPending = vk == VK_F10;
    }
    // The Alt bit of a key-up of Alt itself still reads "held", as the key was held until now.
    const bool alt = Down(keys, VK_MENU) || (isAlt && !down);
    const bool ctrl = Down(keys, VK_CONTROL);

    TWindowRecord* target = Find(s.Focus);
    const bool noFocus = !target;
    if (!target)
        target = Find(s.Active);
    if (!target)
        return;
    const bool system = (alt && !ctrl) || vk == VK_F10 || noFocus;
    const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    if (alt && !ctrl)
        lParam |= LPARAM(1) << 29;
    if (wasDown)
        lParam |= LPARAM(1) << 30;
    if (!down)
        lParam |= (LPARAM(1) << 31) | (LPARAM(1) << 30);
    // The display's text rides with the key-down until TranslateMessage turns it into characters.
    DWORD tag = 0;
    if (down && !ev.Text.empty()) {
        tag = s.NextKeyTextTag++;
        if (tag == 0)
            tag = s.NextKeyTextTag++;
        s.KeyTexts[tag] = ev.Text;
    }
    PushCooked(target->Handle, message, vk, lParam, CursorNow(), tag);
}

void CookChar(const TRawInput& ev)
{
    TPlatformState& s = *GPlatform;
    TWindowRecord* target = Find(s.Focus);
    if (!target)
        target = Find(s.Active);
    if (!target || ev.Char == 0)
        return;
    PushCooked(target->Handle, WM_CHAR, ev.Char, 1, CursorNow());
}

// The control character of a key, which no layout changes and no display reports as text: Enter, Escape,
// Backspace, Tab and the Ctrl combinations. 0 for none.
uint32_t ControlCharForKey(UINT vk)
{
    const auto& keys = GPlatform->KeyState;
    const bool ctrl = Down(keys, VK_CONTROL);
    if (ctrl && Down(keys, VK_MENU))
        return 0;
    if (ctrl) {
        if (vk >= 'A' && vk <= 'Z')
            return vk - 'A' + 1;
        switch (vk) {
        case VK_RETURN:
            return 10;
        case VK_BACK:
            return 127;
        case VK_OEM_4:
            return 27;
        case VK_OEM_5:
            return 28;
        case VK_OEM_6:
            return 29;
        case VK_SPACE:
            return ' ';
        default:
            return 0;
        }
    }
    switch (vk) {
    case VK_RETURN:
        return 13;
    case VK_ESCAPE:
        return 27;
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    default:
        return 0;
    }
}

// The window manager already moved or sized the native window; the window record follows, with the usual
// messages.
void CookWindowMoved(const TRawInput& ev)
{
    TWindowRecord* w = Find(ev.Window);
    if (!w || !IsTopLevel(w) || (w->Style & WS_MINIMIZE) || EqualRect(&w->Window, &ev.Bounds))
        return;
    SetWindowPosInternal(w, nullptr, ev.Bounds.left, ev.Bounds.top, RectWidth(ev.Bounds), RectHeight(ev.Bounds),
        SWP_NOZORDER | SWP_NOACTIVATE);
}

// A drop goes to the window under the point that accepts files, or its nearest ancestor that does. A window
// disabled behind a modal dialog takes none: the files would land in a list the dialog may be about to change.
void CookDrop(const TRawInput& ev)
{
    TPlatformState& s = *GPlatform;
    if (ev.Paths.empty())
        return;
    LRESULT hit;
    TWindowRecord* target = HitWindow(ev.Point, &hit, false, nullptr);
    if (hit == HTERROR)
        return;
    while (target && !(target->ExStyle & WS_EX_ACCEPTFILES))
        target = IsChildWindow(target) ? target->Parent : nullptr;
    if (!target)
        return;
    const POINT origin = ClientOrigin(target);
    TDropRecord drop;
    drop.Paths = ev.Paths;
    drop.Point = POINT { ev.Point.x - origin.x, ev.Point.y - origin.y };
    drop.InClient = RectContains(ClientScreenRect(target), ev.Point.x, ev.Point.y);
    const uintptr_t id = s.NextDrop++;
    s.Drops.emplace(id, std::move(drop));
    PushCooked(target->Handle, WM_DROPFILES, WPARAM(id), 0, ev.Point);
}

HCURSOR StandardCursor(uintptr_t id)
{
    // Standard cursors are fixed pseudo handles (tag 3), the same for every LoadCursor call.
    return reinterpret_cast<HCURSOR>((id << 4) | 3);
}

} // namespace

namespace WinCore {

TWindowRecord* HitWindow(POINT screen, LRESULT* hit, bool sendHitTest, TWindowRecord* skip)
{
    *hit = HTNOWHERE;
    for (HWND candidate : Candidates(screen)) {
        TWindowRecord* w = Find(candidate);
        if (!w || w == skip)
            continue;
        if (w->Style & WS_DISABLED) {
            *hit = HTERROR;
            return w;
        }
        if (!sendHitTest) {
            *hit = HTCLIENT;
            return w;
        }
        const LRESULT answer = Send(w, WM_NCHITTEST, 0, PackPoint(screen.x, screen.y));
        if (answer == HTTRANSPARENT || !Find(candidate))
            continue;
        *hit = answer;
        return w;
    }
    return nullptr;
}

bool CookNextInput()
{
    TPlatformState& s = *GPlatform;
    TRawInput ev;
    {
        std::lock_guard lock(s.QueueLock);
        if (s.Raw.empty())
            return false;
        ev = s.Raw.front();
        s.Raw.pop_front();
    }
    switch (ev.Kind) {
    case TRawInputKind::MouseMove:
    case TRawInputKind::ButtonDown:
    case TRawInputKind::ButtonUp:
        CookMouse(ev);
        break;
    case TRawInputKind::Wheel:
        CookWheel(ev);
        break;
    case TRawInputKind::KeyDown:
    case TRawInputKind::KeyUp:
        CookKey(ev);
        break;
    case TRawInputKind::Char:
        CookChar(ev);
        break;
    case TRawInputKind::CloseRequest:
        if (TWindowRecord* w = Find(ev.Window))
            PushCooked(w->Handle, WM_SYSCOMMAND, SC_CLOSE, 0, CursorNow());
        break;
    case TRawInputKind::AppActivate:
        ReactivateApp();
        break;
    case TRawInputKind::AppDeactivate:
        DeactivateApp();
        break;
    case TRawInputKind::PointerLeave:
        // Nothing to send: the pointer position says where it went, and the framework's idle pass sees
        // that no control is under it.
        break;
    case TRawInputKind::WindowMoved:
        CookWindowMoved(ev);
        break;
    case TRawInputKind::WindowMinimized:
        if (TWindowRecord* w = Find(ev.Window); w && IsTopLevel(w))
            PushCooked(w->Handle, WM_SYSCOMMAND, ev.Flag ? SC_MINIMIZE : SC_RESTORE, 0, CursorNow());
        break;
    case TRawInputKind::WindowMaximized:
        if (TWindowRecord* w = Find(ev.Window); w && IsTopLevel(w))
            PushCooked(w->Handle, WM_SYSCOMMAND, ev.Flag ? SC_MAXIMIZE : SC_RESTORE, 0, CursorNow());
        break;
    case TRawInputKind::Drop:
        CookDrop(ev);
        break;
    }
    return true;
}

} // namespace WinCore

BOOL TranslateMessage(const MSG* msg)
{
    if (!msg || !Ready())
        return FALSE;
    const UINT m = msg->message;
    if (m == WM_KEYUP || m == WM_SYSKEYUP)
        return TRUE;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN)
        return FALSE;
    TPlatformState& s = *GPlatform;
    std::u32string text;
    if (auto it = s.KeyTexts.find(msg->lPrivate); msg->lPrivate && it != s.KeyTexts.end()) {
        text = std::move(it->second);
        s.KeyTexts.erase(it);
    } else if (const uint32_t control = ControlCharForKey(static_cast<UINT>(msg->wParam & 0xFF))) {
        text.push_back(char32_t(control));
    }
    // The characters come next, in order, before anything queued after the key.
    std::lock_guard lock(s.QueueLock);
    for (auto it = text.rbegin(); it != text.rend(); ++it)
        s.Posted.push_front(
            MSG { msg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, WPARAM(*it), msg->lParam, msg->time, msg->pt });
    return TRUE;
}

BOOL GetCursorPos(POINT* point)
{
    if (!point || !GPlatform)
        return FALSE;
    // The display knows best (the pointer may have moved over other programs' windows); other threads get
    // the position of the last event.
    *point = IsUiThread() ? GPlatform->Backend->PointerPosition() : CursorNow();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    if (!Ready())
        return FALSE;
    GPlatform->Backend->WarpPointer(POINT { x, y });
    return TRUE;
}

HWND WindowFromPoint(POINT point)
{
    if (!Ready())
        return nullptr;
    {
        // Where the display says the pointer is over another program, none of our windows is under it.
        TPlatformState& s = *GPlatform;
        std::lock_guard lock(s.QueueLock);
        if (s.PointerOutside && point.x == s.CursorPos.x && point.y == s.CursorPos.y)
            return nullptr;
    }
    LRESULT hit;
    TWindowRecord* w = HitWindow(point, &hit, false, nullptr);
    return w ? w->Handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags)
{
    TWindowRecord* p = NeedWindow(parent);
    if (!p)
        return nullptr;
    if (!RectContains(RECT { 0, 0, RectWidth(p->Client), RectHeight(p->Client) }, clientPoint.x, clientPoint.y))
        return nullptr;
    const POINT origin = ClientOrigin(p);
    const POINT screen { clientPoint.x + origin.x, clientPoint.y + origin.y };
    for (TWindowRecord* c : p->Children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->Style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->Style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT))
            continue;
        if (PointInWindow(c, screen))
            return c->Handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint)
{
    return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

short GetKeyState(int virtualKey)
{
    if (!GPlatform || virtualKey < 0 || virtualKey > 255)
        return 0;
    const BYTE state = GPlatform->KeyState[size_t(virtualKey)];
    return static_cast<short>(((state & 0x80) ? 0x8000 : 0) | (state & 1));
}

short GetAsyncKeyState(int virtualKey)
{
    if (!GPlatform || virtualKey < 0 || virtualKey > 255)
        return 0;
    std::lock_guard lock(GPlatform->QueueLock);
    return (GPlatform->AsyncKeyState[size_t(virtualKey)] & 0x80) ? static_cast<short>(0x8000) : 0;
}

UINT GetDoubleClickTime()
{
    if (!GPlatform)
        return 500;
    if (GPlatform->DoubleClickTimeOverride)
        return GPlatform->DoubleClickTimeOverride;
    return GPlatform->Backend->Capabilities().DoubleClickTime;
}

BOOL SetDoubleClickTime(UINT milliseconds)
{
    if (!Ready())
        return FALSE;
    GPlatform->DoubleClickTimeOverride = milliseconds;
    return TRUE;
}

HCURSOR LoadCursor(HINSTANCE instance, const char* name)
{
    if (instance || !IS_INTRESOURCE(name))
        return nullptr;
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    static constexpr uintptr_t kStandard[]
        = { 32512, 32513, 32514, 32515, 32516, 32642, 32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651 };
    for (uintptr_t known : kStandard)
        if (known == id)
            return StandardCursor(id);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    if (!Ready())
        return nullptr;
    TPlatformState& s = *GPlatform;
    const HCURSOR old = s.Cursor;
    if (old != cursor) {
        s.Cursor = cursor;
        s.Backend->SetCursorShape(cursor);
    }
    return old;
}

HCURSOR GetCursor()
{
    return GPlatform ? GPlatform->Cursor : nullptr;
}
