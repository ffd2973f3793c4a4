#include "framework/controls/TCustomForm.h"

#include "framework/controls/ActnList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TIcon.h"
#include "platform/win/Windows.h"

#include <algorithm>

TCustomForm::TCustomForm(TComponent* owner)
    : TCustomControl(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks };
    FVisible = false;
    SetParentColor(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    FWidth = 320;
    FHeight = 240;
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    DoDestroy();
    if (Screen)
        Screen->RemoveForm(this);
    // The window goes first, while this form (and whatever hooks its WindowProc) still hears WM_DESTROY; its
    // children's windows go with it.
    if (FHandle)
        DestroyWindowHandle();
    // The focus moving on as an MDI child's window goes may have named this form once more.
    if (Screen)
        Screen->RemoveForm(this);
    if (Application)
        Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (!Application)
                throw;
            Application->HandleException(this);
        }
    }
}

// --- Window look ---------------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style = CS_DBLCLKS;
    if (Parent() || ParentWindow())
        return;
    params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP | WS_CLIPSIBLINGS);
    params.WndParent = Application ? Application->Handle() : nullptr;
    switch (FBorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FFormStyle == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu))
            params.Style |= WS_SYSMENU;
        // Dialogs and tool windows have no minimize and maximize boxes.
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize))
                params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                params.Style |= WS_MAXIMIZEBOX;
        }
        if (FBorderIcons.Contains(biHelp))
            params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    // An MDI child is made by the MDI client and leaves what it does not handle to the MDI default.
    if (FFormStyle == fsMDIChild)
        params.WindowClass.lpfnWndProc = &DefMDIChildProc;
}

void TCustomForm::CreateWnd()
{
    inherited::CreateWnd();
    if (FMenu)
        FMenu->SetWindowHandle(FHandle);
    UpdateWindowIcon();
    if (FFormStyle == fsMDIForm)
        CreateMDIClient();
}

void TCustomForm::DestroyWindowHandle()
{
    // The client window is a child of the form's window and goes with it.
    FClientHandle = nullptr;
    inherited::DestroyWindowHandle();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    if (value == FBorderIcons)
        return;
    FBorderIcons = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (value == FFormStyle)
        return;
    // A form becoming or ceasing to be an MDI form or child needs a window of the other kind.
    const bool mdiChanged = (value == fsMDIForm) != (FFormStyle == fsMDIForm)
        || (value == fsMDIChild) != (FFormStyle == fsMDIChild);
    FFormStyle = value;
    if (FHandle && mdiChanged) {
        RecreateWnd();
        return;
    }
    if (FHandle && !Parent())
        SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetPosition(TPosition value)
{
    FPosition = value;
}

TWindowState TCustomForm::WindowState() const
{
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    if (value == FWindowState)
        return;
    FWindowState = value;
    if (FHandle && Showing()) {
        static const int commands[] = { SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED };
        ShowWindow(FHandle, commands[value]);
    }
}

TIcon* TCustomForm::Icon()
{
    if (!FIcon) {
        FIcon = std::make_unique<TIcon>();
        FIcon->OnChange = [this](TObject*) { UpdateWindowIcon(); };
    }
    return FIcon.get();
}

void TCustomForm::UpdateWindowIcon()
{
    if (!HandleAllocated())
        return;
    HICON icon = nullptr;
    if (FIcon && !FIcon->Empty())
        icon = FIcon->Handle();
    else if (Application && !Application->Icon()->Empty())
        icon = Application->Icon()->Handle();
    SendMessage(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TCustomForm::SetMenu(TMainMenu* value)
{
    if (value == FMenu)
        return;
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetWindowHandle(nullptr);
    }
    FMenu = value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        FMenu->SetWindowHandle(FHandle);
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMenu)
        FMenu = nullptr;
    if (component == FWindowMenu)
        FWindowMenu = nullptr;
    if (component == FActiveControl)
        FActiveControl = nullptr;
    if (component == FFocusedControl)
        FFocusedControl = nullptr;
    if (component == FLastFocus)
        FLastFocus = nullptr;
}

void TCustomForm::SetParent(TWinControl* value)
{
    if (value == Parent())
        return;
    // Between top-level and child the window changes kind: it is made anew.
    if (FHandle)
        DestroyHandle();
    inherited::SetParent(value);
    if (!Parent())
        UpdateControlState();
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

// --- Showing and closing -------------------------------------------------------------------------------

void TCustomForm::Show()
{
    SetVisible(true);
    if (IsMDIChildWindow())
        SendToMDIClient(WM_MDIACTIVATE);
    else if (FHandle && !Parent())
        SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::PlaceByPosition()
{
    TRect area;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        area = Screen ? (FPosition == poScreenCenter ? Screen->WorkAreaRect() : Screen->DesktopRect()) : TRect {};
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* around = FPosition == poMainFormCenter && Application ? Application->MainForm()
                                                                           : dynamic_cast<TCustomForm*>(Owner());
        if (around && around != this)
            area = around->BoundsRect();
        else if (Screen)
            area = Screen->WorkAreaRect();
        break;
    }
    default:
        return;
    }
    const int left = area.Left + (area.Right - area.Left - FWidth) / 2;
    const int top = area.Top + (area.Bottom - area.Top - FHeight) / 2;
    SetBounds(left, top, FWidth, FHeight);
}

void TCustomForm::CMShowingChanged(TMessage& message)
{
    if (Parent() || ParentWindow()) {
        inherited::CMShowingChanged(message);
        return;
    }
    if (Showing()) {
        try {
            DoShow();
        } catch (...) {
            if (!Application)
                throw;
            Application->HandleException(this);
        }
        if (!FPlaced) {
            FPlaced = true;
            PlaceByPosition();
        }
        static const int commands[] = { SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED };
        ShowWindow(FHandle, commands[FWindowState]);
        if (FWindowState != wsMinimized)
            SendToMDIClient(WM_MDIACTIVATE);
    } else {
        try {
            DoHide();
        } catch (...) {
            if (!Application)
                throw;
            Application->HandleException(this);
        }
        ShowWindow(FHandle, SW_HIDE);
    }
}

TModalResult TCustomForm::ShowModal()
{
    if (FVisible || !FEnabled || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture())
        SendMessage(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    HWND activeWindow = GetActiveWindow();
    const int saveFocusCount = FFocusCount;
    Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), Screen->FFocusedForm);
    Screen->FFocusedForm = this;
    const TCursor saveCursor = Screen->Cursor();
    Screen->SetCursor(crDefault);
    const int saveCursorCount = Screen->FCursorCount;
    // The other windows of the application take no input while the modal form runs.
    std::vector<HWND> disabled;
    for (TCustomForm* form : Screen->FCustomForms)
        if (form != this && form->FHandle && IsWindowVisible(form->FHandle) && IsWindowEnabled(form->FHandle)) {
            disabled.push_back(form->FHandle);
            EnableWindow(form->FHandle, FALSE);
        }
    const HWND self = Handle();
    auto restore = [&] {
        if (Screen->FCursorCount == saveCursorCount)
            Screen->SetCursor(saveCursor);
        else
            Screen->SetCursor(crDefault);
        for (HWND hwnd : disabled)
            if (IsWindow(hwnd))
                EnableWindow(hwnd, TRUE);
        if (!Screen->FSaveFocusedList.empty()) {
            Screen->FFocusedForm = Screen->FSaveFocusedList.front();
            Screen->FSaveFocusedList.erase(Screen->FSaveFocusedList.begin());
        } else {
            Screen->FFocusedForm = nullptr;
        }
        if (activeWindow && IsWindow(activeWindow))
            SetActiveWindow(activeWindow);
    };
    TModalResult result = mrNone;
    try {
        Show();
        try {
            SendMessage(self, CM_ACTIVATE, 0, 0);
            FModalResult = mrNone;
            do {
                Application->HandleMessage();
                if (Application->Terminated())
                    FModalResult = mrCancel;
                else if (FModalResult != mrNone)
                    CloseModal();
            } while (FModalResult == mrNone);
            result = FModalResult;
            SendMessage(self, CM_DEACTIVATE, 0, 0);
            if (GetActiveWindow() != self)
                activeWindow = nullptr;
        } catch (...) {
            Hide();
            throw;
        }
        Hide();
    } catch (...) {
        restore();
        FFocusCount = saveFocusCount;
        FFormState.Exclude(fsModal);
        throw;
    }
    restore();
    FFocusCount = saveFocusCount;
    FFormState.Exclude(fsModal);
    return result;
}

void TCustomForm::CloseModal()
{
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        switch (action) {
        case caNone:
            FModalResult = mrNone;
            break;
        case caFree:
            Release();
            break;
        default:
            break;
        }
    } catch (...) {
        FModalResult = mrNone;
        if (!Application)
            throw;
        Application->HandleException(this);
    }
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = FFormStyle == fsMDIChild ? (FBorderIcons.Contains(biMinimize) ? caMinimize : caNone) : caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release()
{
    // Posted, so that the form outlives the handler that asked for it; without a window it goes at once.
    if (FHandle)
        PostMessage(FHandle, CM_RELEASE, 0, 0);
    else
        delete this;
}

void TCustomForm::CMRelease(TMessage&)
{
    delete this;
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

// --- Activation and focus ------------------------------------------------------------------------------

void TCustomForm::WMActivate(TMessage& message)
{
    SetActive(LOWORD(message.WParam) != WA_INACTIVE);
}

void TCustomForm::SetActive(bool value)
{
    FActive = value;
    if (!value)
        return;
    if (!FActiveControl)
        FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    // An MDI form without a control of its own hands the keys to its active child.
    if (!FActiveControl && FFormStyle == fsMDIForm && FClientHandle) {
        ::SetFocus(FClientHandle);
        return;
    }
    TWinControl* target = FActiveControl ? FActiveControl : this;
    ::SetFocus(target->Handle());
}

void TCustomForm::WMMDIActivate(TMessage& message)
{
    DefaultHandler(message);
    if (FFormStyle != fsMDIChild)
        return;
    const bool active = reinterpret_cast<HWND>(message.LParam) == FHandle;
    // Only a child of the active frame takes the focus.
    if (active && GetActiveWindow() != GetAncestor(FHandle, GA_ROOT)) {
        FActive = true;
        return;
    }
    SetActive(active);
}

void TCustomForm::CMActivate(TMessage&)
{
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&)
{
    Deactivate();
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == FActiveControl)
        return;
    if (control && (control == this || GetParentForm(control) != this || !control->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (FActive)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control)
{
    const bool wasActive = FActive;
    SetActiveControl(control);
    if (!wasActive)
        SetFocus();
}

void TCustomForm::SetFocus()
{
    if (FActive)
        return;
    if (!FVisible || !FEnabled)
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

bool TCustomForm::CanFocus()
{
    if (Parent())
        return inherited::CanFocus();
    return FVisible && FEnabled;
}

bool TCustomForm::SendFocusMessage(HWND hwnd, uint32_t msg)
{
    const int count = FFocusCount;
    SendMessage(hwnd, msg, 0, 0);
    return FFocusCount == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    ++FFocusCount;
    // The control losing the focus ends whatever mode it is in (a dropped-down list, say).
    TWinControl* previous = Screen ? Screen->FActiveControl : nullptr;
    if (previous && previous != control)
        previous->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(control));
    FActiveControl = control != this ? control : nullptr;
    if (Screen) {
        Screen->FActiveControl = control;
        Screen->SetActiveCustomForm(this);
    }
    if (control->FControlState.Contains(csFocusing))
        return false;
    control->FControlState.Include(csFocusing);
    struct TFocusingGuard {
        TWinControl* Control;
        ~TFocusingGuard() { Control->FControlState.Exclude(csFocusing); }
    } guard { control };
    if (Screen && Screen->FFocusedForm != this) {
        if (TCustomForm* old = Screen->FFocusedForm) {
            Screen->FFocusedForm = nullptr;
            if (old->FHandle && !SendFocusMessage(old->FHandle, CM_DEACTIVATE))
                return false;
        }
        Screen->FFocusedForm = this;
        if (!SendFocusMessage(Handle(), CM_ACTIVATE))
            return false;
    }
    if (!FFocusedControl)
        FFocusedControl = this;
    if (FFocusedControl != control) {
        while (FFocusedControl && !FFocusedControl->ContainsControl(control)) {
            const HWND hwnd = FFocusedControl->Handle();
            FFocusedControl = FFocusedControl->Parent();
            if (!SendFocusMessage(hwnd, CM_EXIT))
                return false;
        }
        while (FFocusedControl != control) {
            TWinControl* step = control;
            while (step->Parent() != FFocusedControl)
                step = step->Parent();
            FFocusedControl = step;
            if (!SendFocusMessage(step->Handle(), CM_ENTER))
                return false;
        }
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(control));
    }
    if (Screen)
        Screen->ActiveControlChanged();
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing)
{
    if (removing && FFocusedControl && control->ContainsControl(FFocusedControl))
        FFocusedControl = control->Parent();
    if (FActiveControl && control->ContainsControl(FActiveControl)) {
        FActiveControl = nullptr;
        if (FActive && FHandle && !ComponentState().Contains(csDestroying))
            ::SetFocus(FHandle);
    }
    if (Screen && Screen->FActiveControl && control->ContainsControl(Screen->FActiveControl))
        Screen->FActiveControl = removing ? nullptr : Screen->FActiveControl;
}

void TCustomForm::SendCancelMode(TControl* sender)
{
    if (FActive && FActiveControl)
        FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(sender));
}

// --- Keys ----------------------------------------------------------------------------------------------

bool TCustomForm::IsShortCut(TWMKey& message)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(message, handled);
    if (!handled && FMenu)
        handled = FMenu->IsShortCut(message);
    for (int i = 0; !handled && i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)))
            handled = list->IsShortCut(message);
    return handled;
}

void TCustomForm::CMDialogKey(TMessage& message)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (message.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(
                    FActiveControl, message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
                message.Result = 1;
            }
            return;
        }
    }
    inherited::CMDialogKey(message);
}

// --- Window messages -----------------------------------------------------------------------------------

void TCustomForm::WMGetMinMaxInfo(TMessage& message)
{
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    if (!info)
        return;
    TSizeConstraints* c = Constraints();
    if (c->MinWidth() > 0)
        info->ptMinTrackSize.x = c->MinWidth();
    if (c->MinHeight() > 0)
        info->ptMinTrackSize.y = c->MinHeight();
    if (c->MaxWidth() > 0)
        info->ptMaxTrackSize.x = c->MaxWidth();
    if (c->MaxHeight() > 0)
        info->ptMaxTrackSize.y = c->MaxHeight();
}

void TCustomForm::WMSize(TMessage& message)
{
    switch (message.WParam) {
    case SIZE_RESTORED:
        FWindowState = wsNormal;
        break;
    case SIZE_MINIMIZED:
        FWindowState = wsMinimized;
        break;
    case SIZE_MAXIMIZED:
        FWindowState = wsMaximized;
        break;
    }
    TWinControl::WMSize(message);
    SizeMDIClient();
}

void TCustomForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ACTIVATE:
        WMActivate(message);
        break;
    case WM_MDIACTIVATE:
        WMMDIActivate(message);
        break;
    case WM_CLOSE:
        WMClose(message);
        break;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(message);
        break;
    case WM_SIZE:
        WMSize(message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_RELEASE:
        CMRelease(message);
        break;
    case CM_ACTIVATE:
        CMActivate(message);
        break;
    case CM_DEACTIVATE:
        CMDeactivate(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}
