// TspSkinMenu, the menu chain of a skinned form: one borderless popup window per open level of a framework menu.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forward.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "skin/core/Forward.h"

#include <memory>
#include <vector>

class TBitmap;
class TCustomForm;
class TMenuItem;
class TspMenuLookCache;
struct TspKeptLevelImage;
class TTimer;
class TspSkinPopupWindow;
class TspSkinMenuItem;

// Shows a framework menu (the children of a TMenuItem) as a chain of levels drawn by the skin: it opens beside
// a screen rectangle, opens submenus after a wait or on a click, runs the chosen item's command and tells the
// opener and the form that the menu closed. Levels are never reused: a level is freed when it closes.
class TspSkinMenu : public TComponent {
    using inherited = TComponent;

public:
    TspSkinMenu(TComponent* owner, TCustomForm* form);
    // Closes an open chain with its messages and event first.
    ~TspSkinMenu() override;

    void SetDefaultMenuItemFont(TFont* value);
    TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
    // The work area of the monitor that holds the form's window.
    TRect GetWorkArea() const;

    // Opens the children of `root` from `startIndex` on beside `rect` (screen coordinates; an empty rectangle
    // stands for a point). `opener` (may be null) hears WM_CLOSESKINMENU and WM_AFTERDISPATCH. A root without
    // children from that index opens nothing.
    void Popup(TControl* opener, TspSkinData* skin, int startIndex, const TRect& rect, TMenuItem* root, bool popupUp);
    // The same for the children of `root` followed by those of `root2`.
    void Popup2(TControl* opener, TspSkinData* skin, int startIndex, const TRect& rect, TMenuItem* root,
        TMenuItem* root2, bool popupUp);
    // Appends a level and shows it.
    TspSkinPopupWindow* PopupSub(const TRect& rect, TMenuItem* root, int startIndex, bool asSubMenu, bool popupUp);
    TspSkinPopupWindow* PopupSub2(
        const TRect& rect, TMenuItem* root, TMenuItem* root2, int startIndex, bool asSubMenu, bool popupUp);
    // An item of `window` was entered (click false) or clicked (click true), by the mouse or by a key.
    void CheckItem(TspSkinPopupWindow* window, TspSkinMenuItem* item, bool click, bool byKey);
    // The submenu wait ran out: the waiting item opens its submenu.
    void WaitItem(TObject* sender);
    // Stops the submenu wait and forgets the waiting item.
    void StopWait();
    // The index of `window` among the levels (the level count when it is not one).
    int GetPWIndex(const TspSkinPopupWindow* window) const;
    // Closes the levels from `n` on; n = 0 closes the whole chain, tells the opener and fires OnMenuClose.
    void CloseMenu(int n);
    // Closes the whole chain and tells the form.
    void Hide();

    int LevelCount() const { return static_cast<int>(FLevels.size()); }
    TspSkinPopupWindow* Level(int index) const { return FLevels[size_t(index)].get(); }
    // The deepest open level, or null.
    TspSkinPopupWindow* LastLevel() const { return FLevels.empty() ? nullptr : FLevels.back().get(); }
    bool Visible() const { return FVisible; }
    TCustomForm* Form() const { return FForm; }
    TControl* Opener() const { return FOpener; }
    TspSkinData* SkinData() const { return FSkinData; }
    TTimer* WaitTimer() const { return FWaitTimer; }
    TspSkinMenuItem* WaitingItem() const { return FWaitingItem; }
    // The character set of item texts: the skin string table's when the menu's skin has one, else the default
    // item font's.
    uint8_t ItemCharset() const;
    // The item looks kept across openings.
    TspMenuLookCache* Looks() const { return FLooks.get(); }
    // The image of a closed level of that size with what it shows, or a new image that shows nothing yet.
    TspKeptLevelImage TakeLevelImage(int width, int height);
    // Keeps the image of a level that closes for the next one.
    void KeepLevelImage(TspKeptLevelImage kept);

    // The form's menu settings, kept in step by its skinning component.
    int DefaultMenuItemHeight = 20;
    bool UseSkinFont = true;
    int MaxMenuItemsInWindow = 0;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    // The root window now being opened is the first since the chain was closed (it fades in).
    bool First = false;
    TRect WorkArea;

    // One-shot: fired when the whole chain closes next, then cleared.
    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Shows the children of one or two roots as the root level.
    void OpenRoot(
        TControl* opener, TspSkinData* skin, const TRect& rect, bool popupUp, const std::function<void()>& popupSub);
    // A menu without items to show: an open chain still closes.
    void NothingToOpen(TControl* opener);
    void SetOpener(TControl* value);
    void SetLastOpener(TControl* value);
    // Sends `message` to a control: to its window when it is windowed, else through Perform.
    static void Tell(TControl* control, UINT message);
    // Frees levels closed from inside their own handlers once those have returned.
    void ReleaseClosedLevels();

    TCustomForm* FForm;
    std::vector<std::unique_ptr<TspSkinPopupWindow>> FLevels;
    std::vector<std::unique_ptr<TspSkinPopupWindow>> FClosedLevels;
    HWND FReleaseWindow = nullptr;
    TControl* FOpener = nullptr;
    TControl* FLastOpener = nullptr;
    TspSkinData* FSkinData = nullptr;
    bool FVisible = false;
    std::unique_ptr<TFont> FDefaultMenuItemFont;
    TspSkinMenuItem* FWaitingItem = nullptr;
    TTimer* FWaitTimer = nullptr;
    std::unique_ptr<TspMenuLookCache> FLooks;
    // Reopening a menu would otherwise allocate and clear a window-sized image each time.
    std::unique_ptr<TspKeptLevelImage> FKeptLevelImage;
};
