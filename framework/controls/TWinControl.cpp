#include "framework/controls/TWinControl.h"

#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The control whose window is being made: the first message of the new window binds the two.
TWinControl* CreationControl = nullptr;

std::unordered_map<HWND, TWinControl*>& HandleMap()
{
    static std::unordered_map<HWND, TWinControl*> map;
    return map;
}

} // namespace

// The window procedure of every window the controls make. It hands each message to the control's
// WindowProc; an exception escaping a handler goes to Application->HandleException, as the message loop
// would, so that it never unwinds through the window layer.
LRESULT ControlWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = TWinControl::FindControl(hwnd);
    if (!control && CreationControl) {
        control = CreationControl;
        CreationControl = nullptr;
        control->FHandle = hwnd;
        HandleMap()[hwnd] = control;
    }
    if (!control)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    TMessage message { msg, wParam, lParam, 0 };
    try {
        // A copy: the handler may delete the control (Release), and the callable with it.
        const std::function<void(TMessage&)> proc = control->WindowProc;
        if (proc)
            proc(message);
        else
            control->WndProc(message);
    } catch (...) {
        // The control may be gone by now: the handler only needs it as the sender.
        if (!Application)
            throw;
        Application->HandleException(TWinControl::FindControl(hwnd));
    }
    if (msg == WM_NCDESTROY) {
        auto& map = HandleMap();
        if (auto it = map.find(hwnd); it != map.end()) {
            it->second->FHandle = nullptr;
            it->second->FShowing = false;
            map.erase(it);
        }
    }
    return message.Result;
}

TWinControl* TWinControl::FindControl(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto& map = HandleMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner)
{
    FWindowed = true;
}

TWinControl::~TWinControl()
{
    Destroying();
    // Leaving the parent now, while this is still a TWinControl, takes it out of the tab order and the
    // form's focus as well (TControl's destructor only sees a TControl).
    if (Parent())
        Parent()->RemoveControl(this);
    if (FHandle)
        DestroyWindowHandle();
    // A window that the window layer still keeps (destroyed inside one of its own handlers) must not
    // reach this object again.
    for (auto it = HandleMap().begin(); it != HandleMap().end();)
        it = it->second == this ? HandleMap().erase(it) : std::next(it);
    FHandle = nullptr;
    // The children go with their parent, newest first.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        RemoveControl(child);
        delete child;
    }
}

// --- The window ----------------------------------------------------------------------------------------

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (Parent())
        Parent()->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value)
{
    if (Parent() || value == FParentWindow)
        return;
    if (FHandle && FParentWindow && value) {
        FParentWindow = value;
        ::SetParent(FHandle, value);
        return;
    }
    DestroyHandle();
    FParentWindow = value;
    UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params = TCreateParams {};
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!FEnabled)
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = Parent() ? (FQueryingParams ? Parent()->FHandle : Parent()->Handle()) : FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = &DefWindowProc;
    params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD))
        throw EInvalidOperation(Format("Control '%s' has no parent window", Name()));
    FDefWndProc = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : &DefWindowProc;
    WNDCLASS existing {};
    const bool registered = GetClassInfo(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != &ControlWndProc) {
        if (registered)
            UnregisterClass(params.WinClassName.c_str(), params.WindowClass.hInstance);
        WNDCLASS wc = params.WindowClass;
        wc.lpfnWndProc = &ControlWndProc;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClass(&wc))
            throw EOutOfResources(Format("Cannot register the window class %s", params.WinClassName));
    }
    CreationControl = this;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    CreationControl = nullptr;
    if (!FHandle)
        throw EOutOfResources(Format("Error creating window for %s", Name().empty() ? ClassName() : Name()));
    // A child without an ID of its own takes its handle's low half (unique among the windows alive), so the
    // owner-draw records that name a control by ID alone (WM_MEASUREITEM) find it.
    if ((GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) && !GetWindowLongPtr(FHandle, GWLP_ID))
        SetWindowLongPtr(FHandle, GWLP_ID, static_cast<LONG_PTR>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(FHandle))));
    UpdateBounds();
    if (AutoSize())
        AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    // The binding happens on the first message; a window whose creation fails leaves FHandle null.
    HWND hwnd = CreateWindowEx(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
        params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr, params.WindowClass.hInstance,
        params.Param);
    if (!hwnd)
        FHandle = nullptr;
}

void TWinControl::CreateHandle()
{
    if (FHandle)
        return;
    CreateWnd();
    // The window's stacking follows the order of the controls: later ones are on top.
    if (Parent()) {
        HWND after = HWND_TOP;
        bool found = false;
        for (auto it = Parent()->FControls.rbegin(); it != Parent()->FControls.rend(); ++it) {
            if (*it == this) {
                found = true;
                continue;
            }
            if (!found)
                if (auto* w = dynamic_cast<TWinControl*>(*it); w && w->FHandle)
                    after = w->FHandle;
        }
        if (after != HWND_TOP)
            SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (TControl* child : FControls)
        child->UpdateAnchorRules();
}

void TWinControl::DestroyWnd()
{
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    HWND hwnd = FHandle;
    ::DestroyWindow(hwnd);
    FControlState.Exclude(csDestroyingHandle);
    // WM_NCDESTROY has unbound the window; a window that refused leaves the object anyway.
    HandleMap().erase(hwnd);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    for (TControl* child : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(child))
            w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd()
{
    if (FHandle)
        Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&)
{
    const bool wasFocused = Focused();
    DestroyHandle();
    UpdateControlState();
    if (wasFocused && FHandle)
        ::SetFocus(FHandle);
}

void TWinControl::UpdateShowing()
{
    const bool showControl = FVisible && !FControlState.Contains(csReadingState);
    if (showControl) {
        if (!FHandle)
            CreateHandle();
        for (TControl* child : std::vector<TControl*>(FControls))
            if (auto* w = dynamic_cast<TWinControl*>(child))
                w->UpdateShowing();
    }
    if (FHandle && FShowing != showControl) {
        FShowing = showControl;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowing = !showControl;
            throw;
        }
    }
}

void TWinControl::UpdateControlState()
{
    TWinControl* control = this;
    while (control->Parent()) {
        control = control->Parent();
        if (!control->Showing())
            return;
    }
    if (dynamic_cast<TCustomForm*>(control) || control->FParentWindow)
        UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& message)
{
    if (!FVisible && Parent())
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    UpdateControlState();
    TControl::CMVisibleChanged(message);
}

void TWinControl::UpdateBounds()
{
    if (!FHandle || IsIconic(FHandle))
        return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)
        if (HWND parent = GetParent(FHandle))
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsRect(FromRECT(r));
}

TRect TWinControl::ClientRect() const
{
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        return FromRECT(r);
    }
    // Without a window, the frame its styles would give it.
    const RECT frame = FrameForStyles();
    return TRect { 0, 0, std::max(0, FWidth - (frame.right - frame.left)),
        std::max(0, FHeight - (frame.bottom - frame.top)) };
}

RECT TWinControl::FrameForStyles() const
{
    auto* self = const_cast<TWinControl*>(this);
    TCreateParams params;
    // Asking for the styles must not make the parent's window.
    self->FQueryingParams = true;
    try {
        self->CreateParams(params);
    } catch (...) {
        self->FQueryingParams = false;
        throw;
    }
    self->FQueryingParams = false;
    RECT frame { 0, 0, 0, 0 };
    AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
    return frame;
}

TPoint TWinControl::ClientOrigin() const
{
    if (FHandle) {
        POINT p { 0, 0 };
        ::ClientToScreen(FHandle, &p);
        return TPoint { p.x, p.y };
    }
    const RECT frame = FrameForStyles();
    const TPoint origin = Parent() ? Parent()->ClientOrigin() : TPoint {};
    return TPoint { origin.X + FLeft - frame.left, origin.Y + FTop - frame.top };
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (!CheckNewSize(width, height))
        return;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    if (FHandle && !IsIconic(FHandle)) {
        // WM_WINDOWPOSCHANGED brings the new bounds back (UpdateBounds), and WM_SIZE realigns.
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const bool sized = width != FWidth || height != FHeight;
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
        if (sized) {
            Realign();
            if (!ComponentState().Contains(csLoading))
                Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}
