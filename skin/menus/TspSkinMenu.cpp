#include "skin/menus/TspSkinMenu.h"

#include "framework/controls/AllocateHWnd.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspMenuLookCache.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupWindow.h"

using namespace SPUtils;

namespace {

// Posted to the chain's own message window: levels closed from inside their handlers can go now.
constexpr UINT CM_RELEASELEVELS = WM_USER + 1;

} // namespace

TspSkinMenu::TspSkinMenu(TComponent* owner, TCustomForm* form)
    : TComponent(owner)
    , FForm(form)
    , FDefaultMenuItemFont(std::make_unique<TFont>())
    , FLooks(std::make_unique<TspMenuLookCache>())
{
    FDefaultMenuItemFont->SetName("Arial");
    FDefaultMenuItemFont->SetHeight(14);
    FDefaultMenuItemFont->SetStyle({});
    FWaitTimer = new TTimer(this);
    FWaitTimer->SetEnabled(false);
    FWaitTimer->SetInterval(500);
    FWaitTimer->SetOnTimer([this](TObject* sender) { WaitItem(sender); });
    FReleaseWindow = AllocateHWnd([this](TMessage& message) {
        if (message.Msg == CM_RELEASELEVELS)
            ReleaseClosedLevels();
        else
            message.Result = DefWindowProc(FReleaseWindow, message.Msg, message.WParam, message.LParam);
    });
    if (FForm)
        FForm->FreeNotification(this);
}

TspSkinMenu::~TspSkinMenu()
{
    CloseMenu(0);
    FClosedLevels.clear();
    if (FReleaseWindow)
        DeallocateHWnd(FReleaseWindow);
}

void TspSkinMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FOpener)
        FOpener = nullptr;
    if (component == FLastOpener)
        FLastOpener = nullptr;
    if (component == FSkinData)
        FSkinData = nullptr;
    if (component == FForm)
        FForm = nullptr;
}

void TspSkinMenu::SetOpener(TControl* value)
{
    FOpener = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinMenu::SetLastOpener(TControl* value)
{
    FLastOpener = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinMenu::SetDefaultMenuItemFont(TFont* value)
{
    FDefaultMenuItemFont->Assign(value);
}

uint8_t TspSkinMenu::ItemCharset() const
{
    if (FSkinData && FSkinData->ResourceStrData())
        return FSkinData->ResourceStrData()->CharSet();
    return FDefaultMenuItemFont->Charset();
}

TspKeptLevelImage TspSkinMenu::TakeLevelImage(int width, int height)
{
    TspKeptLevelImage result;
    if (FKeptLevelImage && FKeptLevelImage->Image->Width() == width && FKeptLevelImage->Image->Height() == height) {
        result = std::move(*FKeptLevelImage);
        FKeptLevelImage.reset();
    } else {
        result.Image = std::make_unique<TBitmap>();
    }
    return result;
}

void TspSkinMenu::KeepLevelImage(TspKeptLevelImage kept)
{
    FKeptLevelImage = std::make_unique<TspKeptLevelImage>(std::move(kept));
}

TRect TspSkinMenu::GetWorkArea() const
{
    TRect result;
    GetPrimaryMonitorWorkArea(true, result);
    if (FForm && FForm->HandleAllocated())
        GetMonitorWorkArea(FForm->Handle(), true, result);
    return result;
}

void TspSkinMenu::OpenRoot(
    TControl* opener, TspSkinData* skin, const TRect&, bool, const std::function<void()>& popupSub)
{
    First = !FVisible;
    // The chain that is still open closes first, so that its own opener hears about it; only then is the new
    // opener recorded. (Recording it first would send the old menu's close to the new opener and then forget
    // the new opener, which would never hear that its own menu closed.)
    CloseMenu(0);
    SetOpener(opener);
    WorkArea = GetWorkArea();
    FSkinData = skin;
    if (skin)
        skin->FreeNotification(this);
    FVisible = true;
    popupSub();
    First = false;
}

void TspSkinMenu::Popup(
    TControl* opener, TspSkinData* skin, int startIndex, const TRect& rect, TMenuItem* root, bool popupUp)
{
    if (!root || root->Count() == 0 || startIndex >= root->Count()) {
        NothingToOpen(opener);
        return;
    }
    OpenRoot(opener, skin, rect, popupUp, [&] { PopupSub(rect, root, startIndex, false, popupUp); });
}

void TspSkinMenu::Popup2(TControl* opener, TspSkinData* skin, int startIndex, const TRect& rect, TMenuItem* root,
    TMenuItem* root2, bool popupUp)
{
    const int count = (root ? root->Count() : 0) + (root2 ? root2->Count() : 0);
    if (!root || root->Count() == 0 || startIndex >= count) {
        NothingToOpen(opener);
        return;
    }
    OpenRoot(opener, skin, rect, popupUp, [&] { PopupSub2(rect, root, root2, startIndex, false, popupUp); });
}

void TspSkinMenu::NothingToOpen(TControl* opener)
{
    CloseMenu(0);
    // The opener hears at once that its menu is closed, so a button pressed for it comes up again.
    if (opener)
        Tell(opener, WM_CLOSESKINMENU);
}

namespace {

// The skin's POPUPWINDOW record while the skin is loaded, else null (the default look).
TspDataSkinPopupWindow* PopupRecord(TspSkinData* skin)
{
    return skin && !skin->Empty ? skin->PopupWindow.get() : nullptr;
}

} // namespace

TspSkinPopupWindow* TspSkinMenu::PopupSub(
    const TRect& rect, TMenuItem* root, int startIndex, bool asSubMenu, bool popupUp)
{
    FLevels.push_back(std::make_unique<TspSkinPopupWindow>(nullptr, this, PopupRecord(FSkinData)));
    TspSkinPopupWindow* window = FLevels.back().get();
    window->Show(rect, root, startIndex, asSubMenu, popupUp);
    return window;
}

TspSkinPopupWindow* TspSkinMenu::PopupSub2(
    const TRect& rect, TMenuItem* root, TMenuItem* root2, int startIndex, bool asSubMenu, bool popupUp)
{
    FLevels.push_back(std::make_unique<TspSkinPopupWindow>(nullptr, this, PopupRecord(FSkinData)));
    TspSkinPopupWindow* window = FLevels.back().get();
    window->Show2(rect, root, root2, startIndex, asSubMenu, popupUp);
    return window;
}

int TspSkinMenu::GetPWIndex(const TspSkinPopupWindow* window) const
{
    for (size_t i = 0; i < FLevels.size(); ++i)
        if (FLevels[i].get() == window)
            return static_cast<int>(i);
    return LevelCount();
}

void TspSkinMenu::StopWait()
{
    FWaitTimer->SetEnabled(false);
    FWaitingItem = nullptr;
}

void TspSkinMenu::CheckItem(TspSkinPopupWindow* window, TspSkinMenuItem* item, bool click, bool byKey)
{
    const bool hasChildren = item->MenuItem->Count() > 0;
    if (hasChildren && !click && byKey)
        return; // by key a submenu opens only with the right arrow, Return or its accelerator
    StopWait();
    const int level = GetPWIndex(window);
    if (!hasChildren && !click) {
        if (level + 1 < LevelCount())
            CloseMenu(level + 1);
        return;
    }
    if (!hasChildren) {
        // Everything the command needs is taken before the levels (and this item) go.
        TMenuItem* menuItem = item->MenuItem;
        TMenu* menu = menuItem->GetParentMenu();
        const uint16_t command = menuItem->Command();
        Hide();
        if (menu)
            menu->DispatchCommand(command);
        else
            menuItem->Click();
        if (FLastOpener)
            Tell(FLastOpener, WM_AFTERDISPATCH);
        return;
    }
    if (!click) {
        if (level + 1 < LevelCount())
            CloseMenu(level + 1);
        FWaitingItem = item;
        FWaitTimer->SetEnabled(true);
        return;
    }
    // The item's own OnClick runs before its submenu is built, so a handler may fill the submenu.
    TMenuItem* menuItem = item->MenuItem;
    if (TMenu* menu = menuItem->GetParentMenu())
        menu->DispatchCommand(menuItem->Command());
    else
        menuItem->Click();
    if (GetPWIndex(window) >= LevelCount())
        return; // the handler closed the menu
    if (level + 1 < LevelCount())
        CloseMenu(level + 1);
    item->Down = true;
    PopupSub(window->ItemScreenRect(item), menuItem, 0, true, false);
}

void TspSkinMenu::WaitItem(TObject*)
{
    TspSkinMenuItem* item = FWaitingItem;
    FWaitTimer->SetEnabled(false);
    if (item)
        CheckItem(item->Parent, item, true, false);
}

void TspSkinMenu::Tell(TControl* control, UINT message)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
        SendMessage(windowed->Handle(), message, 0, 0);
    else
        control->Perform(message, 0, 0);
}

void TspSkinMenu::CloseMenu(int n)
{
    if (n < 0)
        n = 0;
    bool closedAny = false;
    while (LevelCount() > n) {
        std::unique_ptr<TspSkinPopupWindow> level = std::move(FLevels.back());
        FLevels.pop_back();
        if (FWaitingItem && FWaitingItem->Parent == level.get())
            StopWait();
        level->Hide();
        // The level may be the one whose handler runs now (a click on an item closes every level), so the
        // object lives on, hidden and inert, until the handler has returned.
        FClosedLevels.push_back(std::move(level));
        closedAny = true;
    }
    if (closedAny && FReleaseWindow)
        PostMessage(FReleaseWindow, CM_RELEASELEVELS, 0, 0);
    if (n != 0)
        return;
    StopWait();
    const bool wasVisible = FVisible;
    FVisible = false;
    if (!wasVisible && !closedAny)
        return;
    SetLastOpener(FOpener);
    if (TControl* opener = FOpener) {
        FOpener = nullptr;
        Tell(opener, WM_CLOSESKINMENU);
    }
    if (OnMenuClose) {
        TNotifyEvent handler = std::move(OnMenuClose);
        OnMenuClose = nullptr;
        handler(this);
    }
}

void TspSkinMenu::Hide()
{
    CloseMenu(0);
    StopWait();
    if (FForm && FForm->HandleAllocated())
        SendMessage(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
}

void TspSkinMenu::ReleaseClosedLevels()
{
    FClosedLevels.clear();
}
