// TspTrayIcon, an icon in the desktop's notification area with its mouse events, popup menu, balloons and icon
// cycling, able to hide the application there when it is minimized.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Colors.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

class TBitmap;
class TCustomImageList;
class TIcon;
class TTimer;
class TspSkinPopupMenu;
struct NOTIFYICONDATA;

enum TspBalloonHintIcon : uint8_t { spbitNone, spbitInfo, spbitWarning, spbitError };
using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;

// The tray's reports for the icon arrive at a hidden window of the component and become its events: a click
// one double-click time after a press (so that a double click raises only OnDblClick), mouse down, up and move
// at the cursor, and a click on the balloon. Where the display has no tray the calls succeed without effect and
// TrayAvailable says so; the icon is added as soon as a tray appears.
class TspTrayIcon : public TComponent {
    using inherited = TComponent;

public:
    explicit TspTrayIcon(TComponent* owner);
    // Removes the icon and gives the application's and the owner's windows their procedures back.
    ~TspTrayIcon() override;

    TIcon* Icon() const { return FIcon.get(); }
    // Copies the icon.
    void SetIcon(TIcon* value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool Enabled = true;
    TspSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TspSkinPopupMenu* value);
    bool PopupByLeftButton = false;
    TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(TCustomImageList* value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool value);
    uint32_t AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(uint32_t value);
    bool MinimizeToTray = false;
    bool MinimizedOnStart = false;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnBalloonHintClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TCycleEvent OnCycle;

    // Whether the display has a tray at all (without one the icon calls do nothing).
    static bool TrayAvailable();
    virtual bool LoadDefaultIcon() { return true; }
    virtual void ShowIcon();
    virtual void HideIcon();
    virtual void ModifyIcon();
    void Refresh() { ModifyIcon(); }
    void ShowBalloonHint(const std::string& title, const std::string& text, TspBalloonHintIcon iconKind);
    void HideBalloonHint();
    void PopupAtCursor();
    void ShowMainForm();
    void HideMainForm();
    // The bitmap as a 16 x 16 icon with `maskColor` transparent.
    static bool BitmapToIcon(TBitmap* bitmap, TIcon* icon, TColor maskColor);
    void Loaded() override;

    // The component's window (the tray reports to it) and its icon record, for the tray's tests.
    HWND MessageWindow() const { return FMessageWindow; }
    // The callback message of the icon record.
    static constexpr UINT WM_TRAYNOTIFY = 0x0400 + 1024;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void CycleIcon();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DoMinimizeToTray();
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool InitIcon();
    void Send(DWORD message);
    void HandleIconMessage(TMessage& message);
    void TimerClick();
    void TimerCycle();
    void HookApp();
    void UnhookApp();
    void HookForm();
    void UnhookForm();
    // What the application's and the owner's windows hear first.
    friend LRESULT TrayHookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void HookAppProc(UINT message, WPARAM wParam, LPARAM lParam);
    void HookFormProc(UINT message, WPARAM wParam, LPARAM lParam);
    static TShiftState ShiftFromKeys();

    std::unique_ptr<TIcon> FIcon;
    bool FIconVisible = true;
    std::string FHint;
    bool FShowHint = true;
    TspSkinPopupMenu* FPopupMenu = nullptr;
    TCustomImageList* FIconList = nullptr;
    int FIconIndex = 0;
    bool FCycleIcons = false;
    uint32_t FAnimateTimerInterval = 0;
    std::unique_ptr<NOTIFYICONDATA> FData;
    HWND FMessageWindow = nullptr;
    TTimer* FCycleTimer = nullptr;
    TTimer* FClickTimer = nullptr;
    bool FLeftDown = false;
    bool FClickPending = false;
    bool FDblClickSeen = false;
    bool FFirstShow = true;
    HWND FAppWindow = nullptr;
    HWND FFormWindow = nullptr;
    const UINT WM_TASKBARCREATED;
};
