// CreateWindowEx, DestroyWindow and SetParent: the life of a window record and its message sequences.
#include "platform/win/EntryChecks.h"

#include <algorithm>

using namespace WinCore;

namespace {

void SendParentNotify(TWindowRecord* w, UINT event, LPARAM lParam)
{
    const HWND self = w->Handle;
    for (TWindowRecord* c = w; c && IsChildWindow(c) && !(c->ExStyle & WS_EX_NOPARENTNOTIFY); c = c->Parent) {
        Send(c->Parent, WM_PARENTNOTIFY, MAKEWPARAM(event, WORD(w->Id)), lParam);
        if (!Find(self))
            return;
    }
}

// Default placement of overlapped windows: a cascade over the primary work area.
RECT DefaultRect(int x, int y, int width, int height, bool overlapped)
{
    RECT work {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    static int cascade = 0;
    if (x == CW_USEDEFAULT) {
        if (overlapped) {
            const int step = 26 * (cascade++ % 8);
            x = work.left + 32 + step;
            y = work.top + 32 + step;
        } else {
            x = 0;
            y = 0;
        }
    }
    if (width == CW_USEDEFAULT) {
        if (overlapped) {
            width = RectWidth(work) * 3 / 4;
            height = RectHeight(work) * 3 / 4;
        } else {
            width = 0;
            height = 0;
        }
    }
    return RECT { x, y, x + std::max(0, width), y + std::max(0, height) };
}

// The last steps of destruction, children first: WM_NCDESTROY, then the record leaves every list and its
// handle becomes invalid.
void FinishDestroy(TWindowRecord* w)
{
    TPlatformState& s = *GPlatform;
    // By handle: a child's handler may destroy a sibling, whose record is then gone.
    std::vector<HWND> children;
    for (TWindowRecord* child : w->Children)
        children.push_back(child->Handle);
    for (HWND c : children)
        if (TWindowRecord* child = Find(c))
            FinishDestroy(child);
    const HWND h = w->Handle;
    std::shared_ptr<TWindowRecord> keep = FindShared(h);
    Send(w, WM_NCDESTROY, 0, 0);
    if (s.Capture == h) {
        s.Capture = nullptr;
        s.Backend->SetMouseCapture(false);
    }
    if (s.Focus == h)
        s.Focus = nullptr;
    if (s.Active == h) {
        s.Active = nullptr;
        s.Backend->ActivateNativeWindow(0);
    }
    KillTimersOf(h);
    ForgetCaretOf(h);
    DropQueuedMessages(h);
    if (w->Parent)
        std::erase(w->Parent->Children, w);
    VisibleLayoutChanged();
    for (TWindowRecord* child : w->Children)
        child->Parent = nullptr;
    w->Children.clear();
    for (TWindowRecord* top : TopLevels())
        if (top->Owner == w)
            top->Owner = nullptr;
    if (w->Region) {
        DeleteObject(w->Region);
        w->Region = nullptr;
    }
    if (w->Native) {
        s.Backend->DestroyNativeWindow(w->Native);
        w->Native = 0;
    }
    ReleaseBuffer(w);
    if (w->Class)
        --w->Class->WindowCount;
    ForgetProcChain(w);
    w->Parent = nullptr;
    w->Owner = nullptr;
    w->Destroyed = true;
    ReleaseHandle(h);
}

void SendDestroy(TWindowRecord* w)
{
    const HWND h = w->Handle;
    Send(w, WM_DESTROY, 0, 0);
    TWindowRecord* alive = Find(h);
    if (!alive)
        return;
    std::vector<HWND> children;
    for (TWindowRecord* child : alive->Children) {
        child->Destroying = true;
        children.push_back(child->Handle);
    }
    for (HWND c : children)
        if (TWindowRecord* child = Find(c))
            SendDestroy(child);
}

} // namespace

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param)
{
    if (!Ready())
        return nullptr;
    TPlatformState& s = *GPlatform;
    std::shared_ptr<TWindowClassRecord> windowClass = FindClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    TWindowRecord* parentRecord = s.Desktop.get();
    TWindowRecord* owner = nullptr;
    if (parent == HWND_MESSAGE) {
        parentRecord = s.MessageRoot.get();
        style &= ~(WS_VISIBLE | WS_CHILD);
    } else if (style & WS_CHILD) {
        parentRecord = Find(parent);
        if (!parentRecord || parentRecord->IsMessageRoot) {
            SetLastError(parent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        if (parentRecord->IsDesktop)
            style &= ~WS_CHILD;
    } else if (parent) {
        TWindowRecord* o = Find(parent);
        if (!o) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        owner = o->IsDesktop ? nullptr : RootOf(o);
        if (owner && IsMessageOnly(owner))
            owner = nullptr;
    }

    auto record = std::make_shared<TWindowRecord>();
    TWindowRecord* w = record.get();
    w->Handle = AllocateHandle(record);
    w->Class = windowClass;
    ++windowClass->WindowCount;
    const bool visible = (style & WS_VISIBLE) != 0;
    w->Style = style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    w->ExStyle = exStyle;
    w->Parent = parentRecord;
    w->Owner = owner;
    w->Id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
    w->Instance = instance;
    w->Extra.assign(size_t(windowClass->WindowExtra), 0);
    const bool overlapped = parentRecord->IsDesktop && !(style & WS_POPUP);
    w->Window = DefaultRect(x, y, width, height, overlapped);
    w->NormalRect = w->Window;
    w->Client = RECT { 0, 0, RectWidth(w->Window), RectHeight(w->Window) };
    InitProcChain(w);
    parentRecord->Children.insert(parentRecord->Children.begin(), w);
    VisibleLayoutChanged();
    if (IsTopLevel(w)) {
        PlaceInZOrder(w, HWND_TOP);
        w->Native = s.Backend->CreateNativeWindow(w->Handle, w->Window, w->Style, w->ExStyle);
        if (w->Owner && RootOf(w->Owner)->Native)
            s.Backend->SetNativeWindowOwner(w->Native, RootOf(w->Owner)->Native);
        EnsureBuffer(w);
        SyncNativeStacking();
    }

    const HWND h = w->Handle;
    CREATESTRUCT cs {};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = RectWidth(w->Window);
    cs.cy = RectHeight(w->Window);
    cs.x = w->Window.left;
    cs.y = w->Window.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!Send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Find(h)) {
            w->Destroying = true;
            FinishDestroy(w);
        }
        return nullptr;
    }
    if (!Find(h))
        return nullptr;
    RECT client = w->Window;
    Send(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    if (!Find(h))
        return nullptr;
    client = ClampClient(client, w->Window);
    w->Client = RectOffset(client, -w->Window.left, -w->Window.top);
    VisibleLayoutChanged();
    if (Send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!Find(h))
        return nullptr;
    w->Created = true;
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(RectWidth(w->Client), RectHeight(w->Client)));
    if (!Find(h))
        return nullptr;
    Send(w, WM_MOVE, 0,
        MAKELPARAM(WORD(int16_t(w->Window.left + w->Client.left)), WORD(int16_t(w->Window.top + w->Client.top))));
    if (!Find(h))
        return nullptr;
    SendParentNotify(w, WM_CREATE, reinterpret_cast<LPARAM>(h));
    if (!Find(h))
        return nullptr;
    if (visible) {
        int command = SW_SHOW;
        if (style & WS_MAXIMIZE)
            command = SW_SHOWMAXIMIZED;
        else if (style & WS_MINIMIZE)
            command = SW_SHOWMINIMIZED;
        else if ((exStyle & WS_EX_NOACTIVATE) || IsChildWindow(w))
            command = SW_SHOWNA;
        ShowWindow(h, command);
    }
    return Find(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (w->Destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    TPlatformState& s = *GPlatform;
    std::shared_ptr<TWindowRecord> keep = FindShared(hwnd);
    w->Destroying = true;

    if (w->Style & WS_VISIBLE) {
        SetWindowPosInternal(
            w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!Find(hwnd))
            return TRUE;
    }
    if (IsTopLevel(w) && s.Active == hwnd)
        ActivateNextAfter(w);
    // The focus inside a destroyed child goes to its parent, as when it is hidden.
    if (TWindowRecord* focus = Find(s.Focus); focus && (focus == w || IsAncestorOf(w, focus))) {
        if (IsChildWindow(w))
            SetFocus(w->Parent->Handle);
        else
            SetFocus(nullptr);
    }
    if (!Find(hwnd))
        return TRUE;

    // Owned windows go before their owner.
    std::vector<HWND> owned;
    for (TWindowRecord* top : TopLevels())
        if (top->Owner == w)
            owned.push_back(top->Handle);
    for (HWND o : owned)
        DestroyWindow(o);
    if (!Find(hwnd))
        return TRUE;

    if (IsChildWindow(w))
        SendParentNotify(w, WM_DESTROY, reinterpret_cast<LPARAM>(hwnd));
    if (!Find(hwnd))
        return TRUE;
    SendDestroy(w);
    if (!Find(hwnd))
        return TRUE;
    FinishDestroy(w);
    SyncNativeStacking();
    return TRUE;
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return nullptr;
    TPlatformState& s = *GPlatform;
    TWindowRecord* target;
    if (newParent == HWND_MESSAGE)
        target = s.MessageRoot.get();
    else if (!newParent)
        target = s.Desktop.get();
    else
        target = Find(newParent);
    if (!target || target == w || IsAncestorOf(w, target)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    TWindowRecord* old = w->Parent;
    const HWND oldHandle = old->Handle;
    if (old == target)
        return oldHandle;
    const bool visible = IsVisibleChain(w);
    if (visible && IsChildWindow(w))
        InvalidateParentArea(w, w->Window);
    std::erase(old->Children, w);
    w->Parent = target;
    target->Children.insert(target->Children.begin(), w);
    if (IsTopLevel(w)) {
        w->Style &= ~WS_CHILD;
        PlaceInZOrder(w, HWND_TOP);
        if (!w->Native) {
            w->Native = s.Backend->CreateNativeWindow(w->Handle, w->Window, w->Style, w->ExStyle);
            SyncNativeTitle(w);
            SyncNativeIcon(w);
            s.Backend->ShowNativeWindow(w->Native, (w->Style & WS_VISIBLE) != 0);
        }
        EnsureBuffer(w);
    } else {
        if (IsChildWindow(w))
            w->Style |= WS_CHILD;
        w->Owner = nullptr;
        if (w->Native) {
            s.Backend->DestroyNativeWindow(w->Native);
            w->Native = 0;
        }
        ReleaseBuffer(w);
        if (s.Active == hwnd) {
            s.Active = nullptr;
            s.Backend->ActivateNativeWindow(0);
        }
    }
    VisibleLayoutChanged();
    SyncNativeStacking();
    if (IsVisibleChain(w)) {
        InvalidateFrame(w);
        InvalidateClient(w, nullptr, true, true);
    }
    return oldHandle;
}
