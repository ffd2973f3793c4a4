// TWinControl: the window procedure, keys and focus, and painting with the windowless children.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/CommonControls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Shapes.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

bool IsMouseMessage(uint32_t msg)
{
    // The wheel carries screen coordinates and goes to the focused window, not to the control under it.
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

} // namespace

TWinControl* FindVCLWindow(const TPoint& pos)
{
    for (HWND hwnd = WindowFromPoint(ToPOINT(pos)); hwnd; hwnd = GetParent(hwnd))
        if (TWinControl* control = TWinControl::FindControl(hwnd))
            return control;
    return nullptr;
}

TControl* FindDragTarget(const TPoint& pos, bool allowDisabled)
{
    TWinControl* window = TWinControl::FindControl(WindowFromPoint(ToPOINT(pos)));
    if (!window)
        return nullptr;
    if (TControl* child = window->ControlAtPos(window->ScreenToClient(pos), allowDisabled))
        return child;
    return window;
}

void TWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this))
            return;
        break;
    case WM_KILLFOCUS:
        if (FControlState.Contains(csFocusing))
            return;
        break;
    case WM_CANCELMODE:
        if (FHandle && GetCapture() == FHandle)
            if (TControl* capture = GetCaptureControl(); capture && capture != this && capture->Parent() == this)
                capture->Perform(WM_CANCELMODE, 0, 0);
        break;
    default:
        if (IsMouseMessage(message.Msg) && IsControlMouseMsg(message)) {
            // The child may have taken this window away (by re-parenting, say): check before the default.
            if (message.Result == 0 && FHandle)
                DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
            return;
        }
        break;
    }
    switch (message.Msg) {
    case WM_PAINT:
        WMPaint(message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        break;
    case WM_SETFOCUS:
        WMSetFocus(message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(message);
        break;
    case WM_KEYDOWN:
        WMKeyDown(message);
        break;
    case WM_SYSKEYDOWN:
        WMSysKeyDown(message);
        break;
    case WM_KEYUP:
        WMKeyUp(message);
        break;
    case WM_SYSKEYUP:
        WMSysKeyUp(message);
        break;
    case WM_CHAR:
        WMChar(message);
        break;
    case WM_SIZE:
        WMSize(message);
        break;
    case WM_MOVE:
        WMMove(message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(message);
        break;
    case WM_SETCURSOR:
        WMSetCursor(message);
        break;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        break;
    case WM_SETTEXT:
        WMSetText(message);
        break;
    case CN_KEYDOWN:
        CNKeyDown(message);
        break;
    case CN_CHAR:
        CNChar(message);
        break;
    case CN_SYSKEYDOWN:
        CNSysKeyDown(message);
        break;
    case CN_SYSCHAR:
        CNSysChar(message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    case CM_CHILDKEY:
        CMChildKey(message);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(message);
        break;
    case CM_SHOWHINTCHANGED:
        CMShowHintChanged(message);
        break;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(message);
        break;
    case CM_PARENTCTL3DCHANGED:
        CMParentCtl3DChanged(message);
        break;
    case CM_ENTER:
        CMEnter(message);
        break;
    case CM_EXIT:
        CMExit(message);
        break;
    case CM_RECREATEWND:
        CMRecreateWnd(message);
        break;
    case CM_CURSORCHANGED:
        CMCursorChanged(message);
        break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // A child control's notifications, owner-draw requests and colour questions go back to that control
        // as CN_* messages.
        if (!ReflectToControl(message))
            inherited::WndProc(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (!FHandle) {
        inherited::DefaultHandler(message);
        return;
    }
    if (message.Msg >= CN_CTLCOLORMSGBOX && message.Msg <= CN_CTLCOLORSTATIC) {
        DefaultControlColor(message);
        return;
    }
    message.Result = CallWindowProc(
        FDefWndProc ? FDefWndProc : &DefWindowProc, FHandle, message.Msg, message.WParam, message.LParam);
}

bool TWinControl::ReflectToControl(TMessage& message)
{
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_DRAWITEM:
        if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam))
            child = item->hwndItem;
        break;
    case WM_DELETEITEM:
        if (const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(message.LParam))
            child = item->hwndItem;
        break;
    case WM_COMPAREITEM:
        if (const auto* item = reinterpret_cast<const COMPAREITEMSTRUCT*>(message.LParam))
            child = item->hwndItem;
        break;
    case WM_NOTIFY:
        if (const auto* header = reinterpret_cast<const NMHDR*>(message.LParam))
            child = header->hwndFrom;
        break;
    case WM_MEASUREITEM:
        // The record names the control by its ID only, which for the framework's controls is their handle.
        if (const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam); item && item->CtlID)
            for (TControl* control : FControls)
                if (auto* w = dynamic_cast<TWinControl*>(control); w && w->FHandle
                    && static_cast<UINT>(GetWindowLongPtr(w->FHandle, GWLP_ID)) == item->CtlID)
                    child = w->FHandle;
        break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    default:
        return false;
    }
    TWinControl* control = child ? FindControl(child) : nullptr;
    if (!control || control == this)
        return false;
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return true;
}

void TWinControl::DefaultControlColor(TMessage& message)
{
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Brush()->Color())));
    message.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
}

bool TWinControl::IsControlMouseMsg(TMessage& message)
{
    TControl* control = nullptr;
    if (FHandle && GetCapture() == FHandle) {
        TControl* capture = GetCaptureControl();
        if (capture && capture != this && capture->Parent() == this)
            control = capture;
    } else {
        control = ControlAtPos(TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) }, false);
    }
    if (!control)
        return false;
    const int x = GET_X_LPARAM(message.LParam) - control->Left();
    const int y = GET_Y_LPARAM(message.LParam) - control->Top();
    message.Result = control->Perform(message.Msg, message.WParam, MAKELPARAM(WORD(int16_t(x)), WORD(int16_t(y))));
    return true;
}

// --- Window messages -----------------------------------------------------------------------------------

void TWinControl::WMSize(TMessage& message)
{
    UpdateBounds();
    DefaultHandler(message);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

void TWinControl::WMMove(TMessage& message)
{
    DefaultHandler(message);
    UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& message)
{
    if (!FControlState.Contains(csDestroyingHandle))
        UpdateBounds();
    DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message)
{
    if (reinterpret_cast<HWND>(message.WParam) == FHandle
        && static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(message.LParam))) == HTCLIENT) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            if (TControl* control = ControlAtPos(ScreenToClient(TPoint { p.x, p.y }), false))
                cursor = control->Cursor();
            if (cursor == crDefault)
                cursor = Cursor();
        }
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->Cursors(cursor));
            message.Result = 1;
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMNCHitTest(TMessage& message)
{
    DefaultHandler(message);
    if (message.Result == HTTRANSPARENT) {
        const TPoint p = ScreenToClient(TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) });
        if (ControlAtPos(p, false))
            message.Result = HTCLIENT;
    }
}

void TWinControl::WMSetText(TMessage& message)
{
    FText = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
    DefaultHandler(message);
}

void TWinControl::WMSetFocus(TMessage& message)
{
    DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message)
{
    DefaultHandler(message);
}

// --- Keys ----------------------------------------------------------------------------------------------

void TWinControl::KeyDown(uint16_t& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    uint16_t key = static_cast<uint16_t>(message.WParam);
    KeyDown(key, KeyDataToShiftState(static_cast<uint32_t>(message.LParam)));
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    uint16_t key = static_cast<uint16_t>(message.WParam);
    KeyUp(key, KeyDataToShiftState(static_cast<uint32_t>(message.LParam)));
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message)
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(message))
        return true;
    if (FControlStyle.Contains(csNoStdEvents))
        return false;
    char32_t key = static_cast<char32_t>(message.WParam);
    KeyPress(key);
    message.WParam = key;
    return key == 0;
}

void TWinControl::WMKeyDown(TMessage& message)
{
    if (!DoKeyDown(message))
        DefaultHandler(message);
}

void TWinControl::WMSysKeyDown(TMessage& message)
{
    if (!DoKeyDown(message))
        DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message)
{
    if (!DoKeyUp(message))
        DefaultHandler(message);
}

void TWinControl::WMSysKeyUp(TMessage& message)
{
    if (!DoKeyUp(message))
        DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message)
{
    if (!DoKeyPress(message))
        DefaultHandler(message);
}

bool TWinControl::IsMenuKey(TMessage& message)
{
    TWMKey key = TWMKey::From(message);
    for (TWinControl* control = this; control; control = control->Parent())
        if (TPopupMenu* menu = control->GetPopupMenu(); menu && menu->IsShortCut(key))
            return true;
    if (TCustomForm* form = GetParentForm(this); form && form->IsShortCut(key))
        return true;
    return Application && Application->IsShortCut(key);
}

void TWinControl::CNKeyDown(TMessage& message)
{
    message.Result = 1;
    if (IsMenuKey(message))
        return;
    if (Perform(CM_CHILDKEY, message.WParam, reinterpret_cast<intptr_t>(this)) != 0)
        return;
    LRESULT mask = 0;
    switch (message.WParam) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, message.WParam, message.LParam) == 0
        && (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        if (TCustomForm* form = GetParentForm(this);
            form && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0)
            return;
    }
    message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& message)
{
    message.Result = IsMenuKey(message) ? 1 : 0;
}

void TWinControl::CNChar(TMessage& message)
{
    message.Result = 1;
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0)
        if (TCustomForm* form = GetParentForm(this);
            form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
            return;
    message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& message)
{
    message.Result = 0;
    if (message.WParam != VK_SPACE)
        if (TCustomForm* form = GetParentForm(this))
            message.Result = form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
}

void TWinControl::CMDialogKey(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMDialogChar(TMessage& message)
{
    Broadcast(message);
}

void TWinControl::CMChildKey(TMessage& message)
{
    if (Parent())
        message.Result = Parent()->Perform(CM_CHILDKEY, message.WParam, message.LParam);
}

// --- Focus ---------------------------------------------------------------------------------------------

bool TWinControl::CanFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return false;
    for (TControl* control = this; control && control != form; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this))
        form->FocusControl(this);
    else if (FParentWindow)
        ::SetFocus(Handle());
    else
        ValidParentForm(this);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::CMEnter(TMessage&)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage&)
{
    DoExit();
}

void TWinControl::CMFocusChanged(TMessage& message)
{
    Broadcast(message);
}

// --- State changes -------------------------------------------------------------------------------------

void TWinControl::CMEnabledChanged(TMessage& message)
{
    if (!FEnabled && Parent())
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    if (FHandle)
        EnableWindow(FHandle, FEnabled);
    TControl::CMEnabledChanged(message);
}

void TWinControl::CMFontChanged(TMessage& message)
{
    TControl::CMFontChanged(message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& message)
{
    if (FBrush)
        FBrush->SetColor(Color());
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage&)
{
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::SetCtl3D(bool value)
{
    if (value == FCtl3D)
        return;
    FCtl3D = value;
    FParentCtl3D = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool value)
{
    if (value == FParentCtl3D)
        return;
    FParentCtl3D = value;
    if (Parent() && value)
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&)
{
    NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMParentCtl3DChanged(TMessage&)
{
    if (!FParentCtl3D || !Parent())
        return;
    SetCtl3D(Parent()->Ctl3D());
    FParentCtl3D = true;
}

void TWinControl::CMCursorChanged(TMessage&)
{
    if (!FHandle || GetCapture())
        return;
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) == FHandle)
        SendMessage(FHandle, WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// --- Painting ------------------------------------------------------------------------------------------

TBrush* TWinControl::Brush()
{
    if (!FBrush) {
        FBrush = std::make_unique<TBrush>();
        FBrush->SetColor(Color());
    }
    return FBrush.get();
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::WMPaint(TMessage& message)
{
    PaintHandler(message);
}

void TWinControl::WMEraseBkgnd(TMessage& message)
{
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (dc && !FDoubleBuffered) {
        const RECT client = ToRECT(ClientRect());
        FillRect(dc, &client, Brush()->Handle());
    }
    message.Result = 1;
}

void TWinControl::PaintHandler(TMessage& message)
{
    PAINTSTRUCT paint {};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool own = dc == nullptr;
    if (own)
        dc = BeginPaint(FHandle, &paint);
    if (dc) {
        const int saved = SaveDC(dc);
        // Opaque windowless children paint over their whole area: the window need not paint under them.
        int clip = SIMPLEREGION;
        for (TControl* child : FControls) {
            if (child->IsWindowed() || !child->Visible() || !child->FControlStyle.Contains(csOpaque))
                continue;
            clip = ExcludeClipRect(
                dc, child->Left(), child->Top(), child->Left() + child->Width(), child->Top() + child->Height());
            if (clip == NULLREGION)
                break;
        }
        if (clip != NULLREGION)
            PaintWindow(dc);
        RestoreDC(dc, saved);
        PaintControls(dc, nullptr);
    }
    if (own)
        EndPaint(FHandle, &paint);
}

void TWinControl::PaintWindow(HDC dc)
{
    // A control on another window class (an edit, a list view, a page control) is drawn by that class's
    // procedure, into the paint's DC.
    if (FDefWndProc && FDefWndProc != &DefWindowProc) {
        TMessage paint {WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0, 0};
        DefaultHandler(paint);
    }
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = FControls.begin();
    if (first)
        it = std::find(FControls.begin(), FControls.end(), first);
    for (; it != FControls.end(); ++it) {
        TControl* child = *it;
        if (child->IsWindowed() || !child->Visible())
            continue;
        RECT bounds = ToRECT(child->BoundsRect());
        if (!RectVisible(dc, &bounds))
            continue;
        const int saved = SaveDC(dc);
        POINT origin;
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x - child->Left(), origin.y - child->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        child->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
        RestoreDC(dc, saved);
    }
}
