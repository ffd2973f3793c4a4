// Activation of top-level windows, keyboard focus, mouse capture and enabling.
#include "platform/win/EntryChecks.h"

using namespace WinCore;

namespace {

bool CanTakeActivation(const TWindowRecord* w, const TWindowRecord* leaving)
{
    if (!w || w == leaving || !IsTopLevel(w))
        return false;
    if (!(w->Style & WS_VISIBLE) || (w->Style & (WS_DISABLED | WS_MINIMIZE)))
        return false;
    if (w->ExStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW))
        return false;
    for (const TWindowRecord* o = w->Owner; o; o = o->Owner)
        if (o == leaving)
            return false;
    return true;
}

void BroadcastActivateApp(bool active)
{
    std::vector<HWND> targets;
    for (TWindowRecord* w : TopLevels())
        targets.push_back(w->Handle);
    for (HWND target : targets)
        Send(Find(target), WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

} // namespace

namespace WinCore {

void Activate(TWindowRecord* w, WORD how)
{
    TPlatformState& s = *GPlatform;
    TWindowRecord* old = Find(s.Active);
    if (old == w)
        return;
    const HWND newHandle = w ? w->Handle : nullptr;
    const HWND oldHandle = old ? old->Handle : nullptr;
    // Recorded first: a handler below that activates another window supersedes this change, and each step
    // checks that it still holds.
    s.Active = newHandle;
    if (old) {
        Send(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(newHandle));
        if (s.Active != newHandle)
            return;
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->Style & WS_MINIMIZE) ? 1 : 0),
            reinterpret_cast<LPARAM>(newHandle));
        if (s.Active != newHandle)
            return;
        if (TWindowRecord* focus = Find(s.Focus); focus && Find(oldHandle) && RootOf(focus) == old) {
            s.Focus = nullptr;
            Send(focus, WM_KILLFOCUS, reinterpret_cast<WPARAM>(newHandle), 0);
            if (s.Active != newHandle)
                return;
        }
    }
    if (!old || !w) {
        BroadcastActivateApp(w != nullptr);
        if (s.Active != newHandle)
            return;
    }
    if (w && Find(newHandle)) {
        Send(w, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(oldHandle));
        if (s.Active != newHandle || !Find(newHandle))
            return;
        Send(w, WM_ACTIVATE, MAKEWPARAM(how, (w->Style & WS_MINIMIZE) ? 1 : 0), reinterpret_cast<LPARAM>(oldHandle));
    }
    if (s.Active == newHandle) {
        TWindowRecord* now = Find(newHandle);
        s.Backend->ActivateNativeWindow(now ? now->Native : 0);
    }
}

void ActivateNextAfter(TWindowRecord* leaving)
{
    TPlatformState& s = *GPlatform;
    TWindowRecord* next = nullptr;
    for (TWindowRecord* o = leaving ? leaving->Owner : nullptr; o && !next; o = o->Owner)
        if (CanTakeActivation(o, leaving))
            next = o;
    if (!next)
        for (TWindowRecord* w : TopLevels())
            if (CanTakeActivation(w, leaving)) {
                next = w;
                break;
            }
    if (next) {
        Activate(next, WA_ACTIVE);
    } else if (leaving && s.Active == leaving->Handle) {
        Activate(nullptr, WA_INACTIVE);
    }
}

void DeactivateApp()
{
    TPlatformState& s = *GPlatform;
    if (s.Capture)
        ReleaseCapture();
    if (!GPlatform)
        return;
    if (s.Active) {
        s.ActiveBeforeDeactivation = s.Active;
        Activate(nullptr, WA_INACTIVE);
    } else {
        // Only windows that never activate are up (a popup): they still hear that the program is left.
        BroadcastActivateApp(false);
    }
}

void ReactivateApp()
{
    TPlatformState& s = *GPlatform;
    if (s.Active)
        return;
    TWindowRecord* previous = Find(s.ActiveBeforeDeactivation);
    s.ActiveBeforeDeactivation = nullptr;
    if (previous && CanTakeActivation(previous, nullptr))
        Activate(previous, WA_ACTIVE);
    else
        ActivateNextAfter(nullptr);
}

void LoseCaptureOf(TWindowRecord* w)
{
    TPlatformState& s = *GPlatform;
    if (w && s.Capture == w->Handle) {
        s.Capture = nullptr;
        s.Backend->SetMouseCapture(false);
    }
}

} // namespace WinCore

HWND SetActiveWindow(HWND hwnd)
{
    if (!Ready())
        return nullptr;
    TPlatformState& s = *GPlatform;
    const HWND previous = s.Active;
    if (!hwnd) {
        Activate(nullptr, WA_INACTIVE);
        return previous;
    }
    TWindowRecord* w = NeedDrawable(hwnd);
    if (!w)
        return nullptr;
    w = RootOf(w);
    if (s.Active == w->Handle)
        return previous;
    const HWND h = w->Handle;
    if (!TopLevels().empty() && TopLevels().front() != w)
        SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (TWindowRecord* again = Find(h))
        Activate(again, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow()
{
    return GPlatform && IsUiThread() ? GPlatform->Active : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd)
{
    if (!NeedWindow(hwnd))
        return FALSE;
    SetActiveWindow(hwnd);
    return GPlatform->Active == GetAncestor(hwnd, GA_ROOT) ? TRUE : FALSE;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

HWND SetFocus(HWND hwnd)
{
    if (!Ready())
        return nullptr;
    TPlatformState& s = *GPlatform;
    const HWND previous = s.Focus;
    if (!hwnd) {
        if (TWindowRecord* old = Find(previous)) {
            s.Focus = nullptr;
            Send(old, WM_KILLFOCUS, 0, 0);
        }
        s.Focus = nullptr;
        return previous;
    }
    TWindowRecord* w = NeedDrawable(hwnd);
    if (!w || (w->Style & WS_DISABLED))
        return nullptr;
    if (s.Focus == hwnd)
        return previous;
    TWindowRecord* root = RootOf(w);
    if (s.Active != root->Handle) {
        SetActiveWindow(root->Handle);
        if (!Find(hwnd) || s.Active != root->Handle)
            return nullptr;
    }
    const HWND old = s.Focus;
    if (old == hwnd)
        return previous;
    s.Focus = hwnd;
    if (TWindowRecord* o = Find(old))
        Send(o, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (s.Focus == hwnd)
        if (TWindowRecord* now = Find(hwnd))
            Send(now, WM_SETFOCUS, reinterpret_cast<WPARAM>(Find(old) ? old : nullptr), 0);
    return previous;
}

HWND GetFocus()
{
    return GPlatform && IsUiThread() ? GPlatform->Focus : nullptr;
}

HWND SetCapture(HWND hwnd)
{
    TWindowRecord* w = NeedDrawable(hwnd);
    if (!w)
        return nullptr;
    TPlatformState& s = *GPlatform;
    const HWND previous = s.Capture;
    if (previous == hwnd)
        return previous;
    s.Capture = hwnd;
    s.Backend->SetMouseCapture(true);
    if (TWindowRecord* old = Find(previous))
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture()
{
    if (!Ready())
        return FALSE;
    TPlatformState& s = *GPlatform;
    const HWND previous = s.Capture;
    if (!previous)
        return TRUE;
    s.Capture = nullptr;
    s.Backend->SetMouseCapture(false);
    if (TWindowRecord* old = Find(previous))
        Send(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return GPlatform && IsUiThread() ? GPlatform->Capture : nullptr;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    TPlatformState& s = *GPlatform;
    const BOOL wasDisabled = (w->Style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->Style &= ~WS_DISABLED;
        Send(w, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Send(w, WM_CANCELMODE, 0, 0);
        if (!Find(hwnd))
            return wasDisabled;
        w->Style |= WS_DISABLED;
        if (TWindowRecord* focus = Find(s.Focus); focus && (focus == w || IsAncestorOf(w, focus)))
            SetFocus(nullptr);
        if (TWindowRecord* capture = Find(s.Capture); capture && (capture == w || IsAncestorOf(w, capture)))
            ReleaseCapture();
        if (Find(hwnd))
            Send(w, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}
