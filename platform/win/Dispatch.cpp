// Delivering messages to window procedures: SendMessage, DispatchMessage, the procedure chain of
// GWLP_WNDPROC with CallWindowProc, and the other window long values and the window text.
#include "framework/core/TThread.h"
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>

using namespace WinCore;

namespace {

// Link tokens live where no user-space code address can be (the top of the 64-bit address space), so a
// token and a plain procedure address passed to SetWindowLongPtr or CallWindowProc are told apart.
constexpr uintptr_t kTokenMask = 0xFFFFF00000000000ull;
constexpr uintptr_t kTokenBase = 0xFFFFF00000000000ull;

bool IsToken(uintptr_t value)
{
    return (value & kTokenMask) == kTokenBase;
}

uintptr_t NewLink(TWindowRecord* w, WNDPROC proc, uintptr_t saved)
{
    TPlatformState& s = *GPlatform;
    const uintptr_t token = kTokenBase | s.NextProcToken++;
    s.ProcLinks[token] = TProcLink { proc, saved, w->Handle, true };
    return token;
}

// The procedure a token stands for now: a link that came off passes on to what it had saved.
WNDPROC ResolveToken(uintptr_t token)
{
    TPlatformState& s = *GPlatform;
    for (size_t guard = 0; guard <= s.ProcLinks.size(); ++guard) {
        auto it = s.ProcLinks.find(token);
        if (it == s.ProcLinks.end())
            return nullptr;
        if (it->second.Live)
            return it->second.Proc;
        token = it->second.Saved;
    }
    return nullptr;
}

LRESULT Deliver(const std::shared_ptr<TWindowRecord>& w, UINT message, WPARAM wParam, LPARAM lParam)
{
    TPlatformState& s = *GPlatform;
    if (w->ProcChain.empty())
        return 0;
    WNDPROC proc = ResolveToken(w->ProcChain.back());
    if (!proc)
        return 0;
    TMessageObserver* observer = s.Observer;
    const size_t token = observer ? observer->MessageStarted(w->Handle, message, wParam, lParam, s.SendDepth) : 0;
    ++s.SendDepth;
    LRESULT result;
    try {
        result = proc(w->Handle, message, wParam, lParam);
    } catch (...) {
        if (GPlatform)
            --GPlatform->SendDepth;
        throw;
    }
    // The window may be gone by now; `w` keeps its record alive until this frame unwinds.
    if (GPlatform) {
        --GPlatform->SendDepth;
        if (observer && GPlatform->Observer == observer)
            observer->MessageFinished(token, result);
    }
    return result;
}

LRESULT SendOnUiThread(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GPlatform)
        return 0;
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> targets;
        for (TWindowRecord* w : TopLevels())
            targets.push_back(w->Handle);
        for (HWND target : targets)
            if (std::shared_ptr<TWindowRecord> w = FindShared(target); w && !w->Destroyed)
                Deliver(w, message, wParam, lParam);
        return 0;
    }
    std::shared_ptr<TWindowRecord> w = FindShared(hwnd);
    if (!w || w->Destroyed || IsPseudoWindow(w.get())) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Deliver(w, message, wParam, lParam);
}

} // namespace

namespace WinCore {

LRESULT Send(TWindowRecord* w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!w)
        return 0;
    std::shared_ptr<TWindowRecord> shared = FindShared(w->Handle);
    if (!shared || shared->Destroyed)
        return 0;
    return Deliver(shared, message, wParam, lParam);
}

void InitProcChain(TWindowRecord* w)
{
    w->ProcChain.assign(1, NewLink(w, w->Class->Proc, 0));
}

void ForgetProcChain(TWindowRecord* w)
{
    TPlatformState& s = *GPlatform;
    std::erase_if(s.ProcLinks, [&](const auto& entry) { return entry.second.Window == w->Handle; });
    w->ProcChain.clear();
}

} // namespace WinCore

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GPlatform)
        return 0;
    if (IsUiThread())
        return SendOnUiThread(hwnd, message, wParam, lParam);
    // Another thread: the call waits on that thread until the UI thread pumps and runs it.
    LRESULT result = 0;
    TThread::Synchronize(nullptr, [&] {
        if (!GPlatform)
            return;
        ++GPlatform->CrossThreadSends;
        try {
            result = SendOnUiThread(hwnd, message, wParam, lParam);
        } catch (...) {
            if (GPlatform)
                --GPlatform->CrossThreadSends;
            throw;
        }
        if (GPlatform)
            --GPlatform->CrossThreadSends;
    });
    return result;
}

BOOL InSendMessage()
{
    return GPlatform && GPlatform->CrossThreadSends > 0 ? TRUE : FALSE;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(proc);
    if (!value)
        return 0;
    if (IsToken(value)) {
        if (!Ready())
            return 0;
        proc = ResolveToken(value);
        if (!proc)
            return 0;
    }
    return proc(hwnd, message, wParam, lParam);
}

LRESULT DispatchMessage(const MSG* msg)
{
    if (!msg || !Ready())
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only the procedure of a live timer is called: a WM_TIMER posted by anyone else may carry anything
        // in lParam, which must never be jumped to.
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (IsTimerProc(msg->hwnd, msg->wParam, proc)) {
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
            return 0;
        }
    }
    if (!msg->hwnd)
        return 0;
    std::shared_ptr<TWindowRecord> w = FindShared(msg->hwnd);
    if (!w || w->Destroyed || IsPseudoWindow(w.get())) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return Deliver(w, msg->message, msg->wParam, msg->lParam);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return w->ProcChain.empty() ? 0 : static_cast<LONG_PTR>(w->ProcChain.back());
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->Style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->ExStyle);
    case GWLP_ID:
        return w->Id;
    case GWLP_USERDATA:
        return w->UserData;
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWLP_HWNDPARENT:
        if (IsChildWindow(w))
            return reinterpret_cast<LONG_PTR>(w->Parent->Handle);
        return reinterpret_cast<LONG_PTR>(w->Owner ? w->Owner->Handle : nullptr);
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->Extra.size()) {
            LONG_PTR value;
            std::memcpy(&value, w->Extra.data() + index, sizeof value);
            return value;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

namespace {

LONG_PTR SetWindowProc(TWindowRecord* w, LONG_PTR value)
{
    TPlatformState& s = *GPlatform;
    const uintptr_t raw = static_cast<uintptr_t>(value);
    if (!raw || w->ProcChain.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const uintptr_t old = w->ProcChain.back();
    if (!IsToken(raw)) {
        // A new hook on top; it saved `old`.
        w->ProcChain.push_back(NewLink(w, reinterpret_cast<WNDPROC>(raw), old));
        return static_cast<LONG_PTR>(old);
    }
    if (raw == old)
        return static_cast<LONG_PTR>(old);
    // A saved token coming back: the hook that saved it comes off, wherever it sits in the chain.
    auto it = std::find_if(w->ProcChain.begin() + 1, w->ProcChain.end(), [&](uintptr_t token) {
        auto link = s.ProcLinks.find(token);
        return link != s.ProcLinks.end() && link->second.Saved == raw;
    });
    if (it == w->ProcChain.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    s.ProcLinks[*it].Live = false;
    w->ProcChain.erase(it);
    return static_cast<LONG_PTR>(old);
}

DWORD ChangeStyle(TWindowRecord* w, int index, DWORD value)
{
    const bool ex = index == GWL_EXSTYLE;
    const DWORD old = ex ? w->ExStyle : w->Style;
    STYLESTRUCT change { old, value };
    Send(w, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&change));
    if (!Find(w->Handle))
        return old;
    if (ex) {
        const DWORD newStyle = change.styleNew;
        w->ExStyle = newStyle;
        if (((old ^ newStyle) & WS_EX_LAYERED) && w->Native) {
            // Leaving the layered state makes the window opaque again; entering it starts opaque too.
            w->Alpha = 255;
            w->LayeredFlags = 0;
            GPlatform->Backend->SetNativeWindowOpacity(w->Native, 255);
        }
        // A transparent window hides nothing under it: the areas its parent and siblings may draw on change.
        if ((old ^ newStyle) & WS_EX_TRANSPARENT)
            VisibleLayoutChanged();
    } else {
        // WS_CHILD cannot be changed this way: a window does not move between the trees.
        w->Style = (change.styleNew & ~WS_CHILD) | (old & WS_CHILD);
        VisibleLayoutChanged();
    }
    Send(w, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&change));
    return old;
}

} // namespace

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_WNDPROC:
        return SetWindowProc(w, value);
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(ChangeStyle(w, index, static_cast<DWORD>(value)));
    case GWLP_ID:
        old = w->Id;
        w->Id = value;
        return old;
    case GWLP_USERDATA:
        old = w->UserData;
        w->UserData = value;
        return old;
    case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->Instance);
        w->Instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    case GWLP_HWNDPARENT: {
        if (IsChildWindow(w))
            return reinterpret_cast<LONG_PTR>(SetParent(hwnd, reinterpret_cast<HWND>(value)));
        old = reinterpret_cast<LONG_PTR>(w->Owner ? w->Owner->Handle : nullptr);
        TWindowRecord* owner = value ? Find(reinterpret_cast<HWND>(value)) : nullptr;
        owner = owner ? RootOf(owner) : nullptr;
        // An owner chain never loops back to the window.
        for (TWindowRecord* o = owner; o; o = o->Owner)
            if (o == w)
                owner = nullptr;
        w->Owner = owner;
        if (w->Native)
            GPlatform->Backend->SetNativeWindowOwner(w->Native, owner ? owner->Native : 0);
        return old;
    }
    default:
        if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->Extra.size()) {
            std::memcpy(&old, w->Extra.data() + index, sizeof old);
            std::memcpy(w->Extra.data() + index, &value, sizeof value);
            return old;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
}

int GetWindowText(HWND hwnd, char* buffer, int bufferSize)
{
    if (!NeedWindow(hwnd, buffer) || bufferSize <= 0)
        return 0;
    buffer[0] = 0;
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, WPARAM(bufferSize), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd)
{
    if (!NeedWindow(hwnd))
        return 0;
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowText(HWND hwnd, const char* text)
{
    if (!NeedWindow(hwnd))
        return FALSE;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}
