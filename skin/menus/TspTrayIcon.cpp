#include "skin/menus/TspTrayIcon.h"

#include "framework/controls/AllocateHWnd.h"
#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "platform/shell/ShellNotifyIcon.h"
#include "platform/win/Cursors.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT WM_USERCHANGED = 0x0054;

// Windows whose procedure tray icons are in front of: the saved procedure and the icons, in hooking order.
struct THookedWindow {
    WNDPROC OldProc = nullptr;
    std::vector<TspTrayIcon*> Icons;
};
std::map<HWND, THookedWindow>& HookedWindows()
{
    static std::map<HWND, THookedWindow> windows;
    return windows;
}

// A 16 x 16 icon of image `index` of the list.
void ListIcon(TCustomImageList* list, int index, TIcon* icon)
{
    TBitmap bitmap;
    list->GetBitmap(index, &bitmap);
    TCursorImage image;
    image.Width = std::max(bitmap.Width(), 1);
    image.Height = std::max(bitmap.Height(), 1);
    image.Icon = true;
    image.Pixels.resize(size_t(image.Width) * size_t(image.Height), 0xFF000000u);
    image.Mask.assign(image.Pixels.size(), 0);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Canvas()->Pixels(x, y);
            image.Pixels[size_t(y) * size_t(image.Width) + size_t(x)]
                = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    icon->SetHandle(CreateIconFromImage(std::move(image)));
}

} // namespace

LRESULT TrayHookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = HookedWindows().find(hwnd);
    if (found == HookedWindows().end())
        return DefWindowProc(hwnd, message, wParam, lParam);
    const WNDPROC old = found->second.OldProc;
    const std::vector<TspTrayIcon*> icons = found->second.Icons;
    for (TspTrayIcon* icon : icons) {
        if (hwnd == icon->FAppWindow)
            icon->HookAppProc(message, wParam, lParam);
        if (hwnd == icon->FFormWindow)
            icon->HookFormProc(message, wParam, lParam);
    }
    // The window's own procedure always runs afterwards.
    return CallWindowProc(old, hwnd, message, wParam, lParam);
}

namespace {

void HookWindow(HWND hwnd, TspTrayIcon* icon)
{
    THookedWindow& hooked = HookedWindows()[hwnd];
    if (hooked.Icons.empty())
        hooked.OldProc
            = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&TrayHookProc)));
    hooked.Icons.push_back(icon);
}

void UnhookWindow(HWND hwnd, TspTrayIcon* icon)
{
    auto found = HookedWindows().find(hwnd);
    if (found == HookedWindows().end())
        return;
    auto& icons = found->second.Icons;
    icons.erase(std::remove(icons.begin(), icons.end(), icon), icons.end());
    if (!icons.empty())
        return;
    if (IsWindow(hwnd))
        SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.OldProc));
    HookedWindows().erase(found);
}

} // namespace

TspTrayIcon::TspTrayIcon(TComponent* owner)
    : TComponent(owner)
    , FIcon(std::make_unique<TIcon>())
    , FData(std::make_unique<NOTIFYICONDATA>())
    , WM_TASKBARCREATED(RegisterWindowMessage("TaskbarCreated"))
{
    FMessageWindow = AllocateHWnd([this](TMessage& message) { HandleIconMessage(message); });
    FData->hWnd = FMessageWindow;
    FData->uID = 1;
    FData->uFlags = kIconFlags;
    FData->uCallbackMessage = WM_TRAYNOTIFY;
    FCycleTimer = new TTimer(this);
    FCycleTimer->SetEnabled(false);
    FCycleTimer->SetOnTimer([this](TObject*) { TimerCycle(); });
    FClickTimer = new TTimer(this);
    FClickTimer->SetEnabled(false);
    FClickTimer->SetInterval(GetDoubleClickTime());
    FClickTimer->SetOnTimer([this](TObject*) { TimerClick(); });
    if (Application && LoadDefaultIcon())
        FIcon->Assign(Application->Icon());
    HookApp();
    HookForm();
}

TspTrayIcon::~TspTrayIcon()
{
    Send(NIM_DELETE);
    FCycleTimer->SetEnabled(false);
    FClickTimer->SetEnabled(false);
    UnhookForm();
    UnhookApp();
    if (FMessageWindow)
        DeallocateHWnd(FMessageWindow);
}

bool TspTrayIcon::TrayAvailable()
{
    return GetTrayHost() && GetTrayHost()->Available();
}

void TspTrayIcon::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FIconList)
        FIconList = nullptr;
    if (component == static_cast<TComponent*>(FPopupMenu))
        FPopupMenu = nullptr;
}

void TspTrayIcon::Loaded()
{
    inherited::Loaded();
    if (dynamic_cast<TWinControl*>(Owner()) && MinimizedOnStart) {
        FIconVisible = true;
        MinimizeToTray = true;
        if (Application) {
            Application->SetShowMainForm(false);
            if (Application->Handle())
                ShowWindow(Application->Handle(), SW_HIDE);
        }
    }
    ModifyIcon();
    SetIconVisible(FIconVisible);
}

// ---- The icon record --------------------------------------------------------------------------------------------

bool TspTrayIcon::InitIcon()
{
    // The handle is made on first use: an icon just assigned has its image but no handle yet.
    FData->hIcon = FIcon->Empty() ? nullptr : FIcon->Handle();
    SetNotifyText(FData->szTip, !FHint.empty() && FShowHint ? FHint : std::string());
    return true;
}

void TspTrayIcon::Send(DWORD message)
{
    // The shell's answer is not needed: an icon that could not be added comes back when a tray appears.
    Shell_NotifyIcon(message, FData.get());
}

void TspTrayIcon::ShowIcon()
{
    FIconVisible = true;
    HookForm();
    if (InitIcon())
        Send(NIM_ADD);
}

void TspTrayIcon::HideIcon()
{
    FIconVisible = false;
    Send(NIM_DELETE);
}

void TspTrayIcon::ModifyIcon()
{
    if (InitIcon())
        Send(NIM_MODIFY);
}

void TspTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text, TspBalloonHintIcon iconKind)
{
    HideBalloonHint();
    FData->uFlags = kIconFlags | NIF_INFO;
    SetNotifyText(FData->szInfo, text);
    SetNotifyText(FData->szInfoTitle, title);
    FData->dwInfoFlags = DWORD(iconKind);
    ModifyIcon();
    FData->uFlags = kIconFlags;
}

void TspTrayIcon::HideBalloonHint()
{
    FData->uFlags = kIconFlags | NIF_INFO;
    SetNotifyText(FData->szInfo, std::string());
    ModifyIcon();
    FData->uFlags = kIconFlags;
}

// ---- Properties -------------------------------------------------------------------------------------------------

void TspTrayIcon::SetIcon(TIcon* value)
{
    FIcon->Assign(value);
    ModifyIcon();
}

void TspTrayIcon::SetIconVisible(bool value)
{
    if (value)
        ShowIcon();
    else
        HideIcon();
}

void TspTrayIcon::SetHint(const std::string& value)
{
    FHint = value;
    ModifyIcon();
}

void TspTrayIcon::SetShowHint(bool value)
{
    FShowHint = value;
    ModifyIcon();
}

void TspTrayIcon::SetPopupMenu(TspSkinPopupMenu* value)
{
    FPopupMenu = value;
    if (value)
        value->FreeNotification(this);
}

void TspTrayIcon::SetIconList(TCustomImageList* value)
{
    FIconList = value;
    if (value)
        value->FreeNotification(this);
    SetIconIndex(0);
}

void TspTrayIcon::SetIconIndex(int value)
{
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(value, 0, FIconList->Count() - 1);
        ListIcon(FIconList, FIconIndex, FIcon.get());
    } else {
        FIconIndex = 0;
    }
    ModifyIcon();
}

void TspTrayIcon::SetCycleIcons(bool value)
{
    FCycleIcons = value;
    if (value)
        SetIconIndex(0);
    FCycleTimer->SetInterval(FAnimateTimerInterval);
    FCycleTimer->SetEnabled(value);
}

void TspTrayIcon::SetAnimateTimerInterval(uint32_t value)
{
    FAnimateTimerInterval = value;
    FCycleTimer->SetInterval(value);
}

bool TspTrayIcon::BitmapToIcon(TBitmap* bitmap, TIcon* icon, TColor maskColor)
{
    TImageList list(nullptr);
    list.SetWidth(16);
    list.SetHeight(16);
    list.AddMasked(bitmap, maskColor);
    ListIcon(&list, 0, icon);
    return true;
}

// ---- Events -----------------------------------------------------------------------------------------------------

TShiftState TspTrayIcon::ShiftFromKeys()
{
    TShiftState shift;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetAsyncKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    return shift;
}

void TspTrayIcon::HandleIconMessage(TMessage& message)
{
    if (message.Msg == WM_TRAYNOTIFY) {
        if (!Enabled)
            return;
        POINT p {};
        GetCursorPos(&p);
        TShiftState shift = ShiftFromKeys();
        switch (UINT(message.LParam)) {
        case WM_MOUSEMOVE:
            MouseMove(shift, p.x, p.y);
            break;
        case WM_LBUTTONDOWN:
            FClickTimer->SetEnabled(false);
            FClickTimer->SetEnabled(true);
            shift.Include(ssLeft);
            MouseDown(mbLeft, shift, p.x, p.y);
            FLeftDown = true;
            if (PopupByLeftButton)
                PopupAtCursor();
            break;
        case WM_LBUTTONUP:
            if (FLeftDown) {
                FClickPending = true;
                // A press held past the double-click time clicks at its release.
                if (!FClickTimer->Enabled()) {
                    FClickPending = false;
                    FDblClickSeen = false;
                    Click();
                }
            }
            FLeftDown = false;
            shift.Include(ssLeft);
            MouseUp(mbLeft, shift, p.x, p.y);
            break;
        case WM_LBUTTONDBLCLK:
            FClickPending = false;
            FDblClickSeen = true;
            DblClick();
            if (FPopupMenu && FPopupMenu->AutoPopup() && !PopupByLeftButton) {
                TMenuItem* items = FPopupMenu->Items();
                for (int i = 0; i < items->Count(); ++i)
                    if (items->Items(i)->Default()) {
                        items->Items(i)->Click();
                        break;
                    }
            }
            break;
        case WM_RBUTTONDOWN:
            shift.Include(ssRight);
            MouseDown(mbRight, shift, p.x, p.y);
            PopupAtCursor();
            break;
        case WM_RBUTTONUP:
            shift.Include(ssRight);
            MouseUp(mbRight, shift, p.x, p.y);
            break;
        case WM_MBUTTONDOWN:
            shift.Include(ssMiddle);
            MouseDown(mbMiddle, shift, p.x, p.y);
            break;
        case WM_MBUTTONUP:
            shift.Include(ssMiddle);
            MouseUp(mbMiddle, shift, p.x, p.y);
            break;
        case NIN_BALLOONUSERCLICK:
            if (OnBalloonHintClick)
                OnBalloonHintClick(this);
            break;
        default:
            break;
        }
        return;
    }
    if (message.Msg == WM_TASKBARCREATED) {
        // The tray (re)appeared: the shell tells every window that asked for an icon, this one included.
        if (FIconVisible)
            ShowIcon();
        return;
    }
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
        message.Result = 1;
        return;
    default:
        message.Result = DefWindowProc(FMessageWindow, message.Msg, message.WParam, message.LParam);
    }
}

void TspTrayIcon::TimerClick()
{
    FClickTimer->SetEnabled(false);
    if (!FDblClickSeen && FClickPending) {
        FClickPending = false;
        Click();
    }
    FDblClickSeen = false;
}

void TspTrayIcon::TimerCycle()
{
    if (!FIconList || FIconList->Count() == 0)
        return;
    ListIcon(FIconList, FIconIndex, FIcon.get());
    CycleIcon();
    ModifyIcon();
    SetIconIndex(FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0);
}

void TspTrayIcon::Click()
{
    if (OnClick)
        OnClick(this);
}

void TspTrayIcon::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TspTrayIcon::CycleIcon()
{
    if (!OnCycle)
        return;
    const int count = FIconList ? FIconList->Count() : 0;
    OnCycle(this, FIconIndex + 1 < count ? FIconIndex + 1 : 0);
}

void TspTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TspTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TspTrayIcon::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

// ---- The popup menu and the main form ---------------------------------------------------------------------------

void TspTrayIcon::PopupAtCursor()
{
    POINT p {};
    if (!FPopupMenu || !FPopupMenu->AutoPopup() || !GetCursorPos(&p))
        return;
    if (Application)
        Application->ProcessMessages();
    SetForegroundWindow(FMessageWindow);
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (owner && owner->HandleAllocated())
        SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.x, p.y);
    if (owner && owner->HandleAllocated())
        PostMessage(owner->Handle(), WM_NULL, 0, 0);
}

void TspTrayIcon::ShowMainForm()
{
    if (!dynamic_cast<TWinControl*>(Owner()) || !Application || !Application->MainForm())
        return;
    if (Application->Handle())
        ShowWindow(Application->Handle(), SW_RESTORE);
    TCustomForm* form = Application->MainForm();
    form->SetVisible(true);
    if (form->WindowState() == wsMinimized)
        form->SetWindowState(wsNormal);
}

void TspTrayIcon::HideMainForm()
{
    if (!dynamic_cast<TWinControl*>(Owner()) || !Application || !Application->MainForm())
        return;
    Application->MainForm()->SetVisible(false);
    if (Application->Handle())
        ShowWindow(Application->Handle(), SW_HIDE);
}

void TspTrayIcon::DoMinimizeToTray()
{
    HideMainForm();
    SetIconVisible(true);
}

// ---- Window hooks -----------------------------------------------------------------------------------------------

void TspTrayIcon::HookApp()
{
    if (FAppWindow || !Application || !Application->Handle())
        return;
    FAppWindow = Application->Handle();
    HookWindow(FAppWindow, this);
}

void TspTrayIcon::UnhookApp()
{
    if (FAppWindow)
        UnhookWindow(FAppWindow, this);
    FAppWindow = nullptr;
}

void TspTrayIcon::HookForm()
{
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (FFormWindow || !owner || !owner->HandleAllocated())
        return;
    FFormWindow = owner->Handle();
    HookWindow(FFormWindow, this);
}

void TspTrayIcon::UnhookForm()
{
    if (FFormWindow)
        UnhookWindow(FFormWindow, this);
    FFormWindow = nullptr;
}

void TspTrayIcon::HookAppProc(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED && MinimizeToTray)
        DoMinimizeToTray();
    else if (message == WM_WINDOWPOSCHANGED && FFirstShow && Application && Application->MainForm()) {
        if (Application->MainForm()->FormStyle() == fsMDIForm && MinimizedOnStart)
            ShowWindow(FAppWindow, SW_HIDE);
        FFirstShow = false;
    }
}

void TspTrayIcon::HookFormProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The application's windows here are message-only and never minimize: the main form stands for them.
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED && MinimizeToTray && Application && Application->MainForm()
        && Application->MainForm()->HandleAllocated() && Application->MainForm()->Handle() == FFormWindow) {
        DoMinimizeToTray();
        return;
    }
    if (message == WM_SHOWWINDOW && wParam == 1 && lParam == 0) {
        if (FAppWindow)
            ShowWindow(FAppWindow, SW_RESTORE);
        if (FAppWindow)
            SetForegroundWindow(FAppWindow);
        SetForegroundWindow(FFormWindow);
    }
}
