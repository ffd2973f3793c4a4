// TspSkinForm: the main menu drawn in the frame as a row of item objects, menus linked to buttons, the shortcuts
// and accelerators of the main menu, and its keyboard mode (F10 or a lone Alt, the arrows, Return, Escape).
#include "framework/controls/Menus.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupWindow.h"

#include <algorithm>

// ---- The item objects -------------------------------------------------------------------------------------------

void TspSkinForm::SetMainMenu(TMainMenu* value)
{
    if (FMainMenu && FMainMenu != value)
        FMainMenu->RemoveFreeNotification(this);
    FMainMenu = value;
    if (value)
        value->FreeNotification(this);
    if (FSkinData && !FSkinData->Empty)
        UpdateMainMenu(true);
}

std::vector<TspSkinMainMenuItem*> TspSkinForm::MainMenuItems() const
{
    std::vector<TspSkinMainMenuItem*> items;
    for (const auto& object : SkinObjects)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(object.get()))
            items.push_back(item);
    return items;
}

void TspSkinForm::CreateMainMenu()
{
    if (!FMainMenu || !FSkinData)
        return;
    const int index = FSkinData->GetIndex("MAINMENUITEM");
    if (index == -1)
        return;
    TspDataSkinObject* record = FSkinData->ObjectRecords[size_t(index)].get();
    TMenuItem* items = FMainMenu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* menuItem = items->Items(i);
        if (!menuItem->Visible())
            continue;
        SkinObjects.push_back(std::make_unique<TspSkinMainMenuItem>(this, record, menuItem));
        // An item deleted by the application takes its object with it (Notification).
        menuItem->FreeNotification(this);
    }
}

void TspSkinForm::RemoveObjects(const std::function<bool(TspActiveSkinObject*)>& drop)
{
    auto at = [this](int index) {
        return index >= 0 && index < ObjectCount() ? SkinObjects[size_t(index)].get() : nullptr;
    };
    TspActiveSkinObject* active = at(ActiveObjectIndex);
    TspActiveSkinObject* oldActive = at(OldActiveObjectIndex);
    TspActiveSkinObject* pressed = at(PressedObjectIndex);
    std::erase_if(SkinObjects, [&](const std::unique_ptr<TspActiveSkinObject>& object) { return drop(object.get()); });
    auto indexOf = [this](TspActiveSkinObject* object) {
        for (size_t i = 0; object && i < SkinObjects.size(); ++i)
            if (SkinObjects[i].get() == object)
                return static_cast<int>(i);
        return -1;
    };
    ActiveObjectIndex = indexOf(active);
    OldActiveObjectIndex = indexOf(oldActive);
    PressedObjectIndex = indexOf(pressed);
}

void TspSkinForm::UpdateMainMenu(bool redraw)
{
    RemoveObjects([](TspActiveSkinObject* object) { return dynamic_cast<TspSkinMainMenuItem*>(object) != nullptr; });
    CreateMainMenu();
    if (!redraw || !FForm->HandleAllocated())
        return;
    if (FSupportNCArea) {
        FramePaint();
        return;
    }
    const TRect r = MainMenuRect();
    const RECT area { r.Left, r.Top, r.Right, r.Bottom };
    // The picture and its objects are painted with the background.
    InvalidateRect(FForm->Handle(), &area, TRUE);
}

void TspSkinForm::LinkMenu(std::string_view idName, TPopupMenu* menu, bool popupUp)
{
    const int index = GetIndex(idName);
    if (index == -1)
        return;
    TMenuItem* items = menu ? menu->Items() : nullptr;
    TspActiveSkinObject* object = SkinObjects[size_t(index)].get();
    if (auto* button = dynamic_cast<TspSkinButtonObject*>(object))
        button->LinkMenu(items, popupUp);
    else if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object); animate && animate->ButtonStyle)
        animate->LinkMenu(items, popupUp);
    else
        return;
    // A menu deleted by the application is taken off the object (Notification).
    if (items)
        items->FreeNotification(this);
}

// ---- Shortcuts and accelerators ---------------------------------------------------------------------------------

void TspSkinForm::FormShortCut(TWMKey& message, bool& handled)
{
    if (OnShortCut) {
        OnShortCut(message, handled);
        if (handled)
            return;
    }
    const TShiftState shift = KeyDataToShiftState(message.KeyData);
    if (message.CharCode == VK_SPACE && shift == TShiftState { ssAlt }) {
        PopupSystemMenu();
        MenuShortCutHandled = false;
        handled = true;
        return;
    }
    if (MenuShortCutHandled) {
        MenuShortCutHandled = false;
        handled = false;
    }
    const bool alt = shift.Contains(ssAlt);
    TMainMenu* menu = FMainMenuBar && FMainMenuBar->MainMenu() ? FMainMenuBar->MainMenu() : FMainMenu;
    if (menu) {
        // Alt+F4 closes the form whatever the menu's captions say.
        if (alt && message.CharCode != VK_F4 && FindHotKeyItem(message.CharCode)) {
            handled = true;
        } else {
            MenuShortCutHandled = menu->IsShortCut(message);
            handled = MenuShortCutHandled;
        }
    }
    // A maximized MDI child's menu, merged into the bar. A key already taken above is not tried again: an
    // accelerator found twice would run its item's command twice.
    TMainMenu* childMenu = FMainMenuBar ? FMainMenuBar->GetChildMainMenu() : nullptr;
    if (!childMenu || MenuShortCutHandled || handled)
        return;
    if (alt && FindHotKeyItem(message.CharCode)) {
        handled = true;
        return;
    }
    MenuShortCutHandled = childMenu->IsShortCut(message);
    handled = MenuShortCutHandled;
}

bool TspSkinForm::FindHotKeyItem(WORD key)
{
    if (FMainMenuBar)
        return FMainMenuBar->FindHotKeyItem(key);
    for (TspSkinMainMenuItem* item : MainMenuItems()) {
        if (!item->Enabled || !item->Visible || !item->MenuItem || !IsAccel(key, item->MenuItem->Caption()))
            continue;
        item->MouseEnter();
        // Over an open menu, highlighting a submenu item already moved the open submenu to it.
        if (!(SkinMenuOpened && item->MenuItem->Count() > 0))
            item->MouseDown(0, 0, mbLeft); // may run a command that rebuilds the items: nothing of them is used after
        return true;
    }
    return false;
}

// ---- The keyboard mode ------------------------------------------------------------------------------------------

void TspSkinForm::ActivateMenu()
{
    const std::vector<TspSkinMainMenuItem*> items = MainMenuItems();
    auto active = std::find_if(items.begin(), items.end(), [](TspSkinMainMenuItem* item) { return item->Active; });
    TspSkinMainMenuItem* item = active != items.end() ? *active : items.empty() ? nullptr : items.front();
    if (item) {
        item->MouseEnter();
        MainMenuActive = true;
        HookApp();
    }
    if (OnMainMenuEnter)
        OnMainMenuEnter(this);
}

TspSkinMainMenuItem* TspSkinForm::SelectedMainMenuItem() const
{
    for (TspSkinMainMenuItem* item : MainMenuItems())
        if (item->Enabled && item->Visible && (item->Active || item->Down))
            return item;
    return nullptr;
}

void TspSkinForm::StepMainMenuItem(int step)
{
    std::vector<TspSkinMainMenuItem*> items = MainMenuItems();
    std::erase_if(items, [](TspSkinMainMenuItem* item) { return !item->Enabled || !item->Visible; });
    if (items.empty())
        return;
    const int count = static_cast<int>(items.size());
    TspSkinMainMenuItem* selected = SelectedMainMenuItem();
    if (!selected) {
        (step > 0 ? items.front() : items.back())->MouseEnter();
        return;
    }
    const int index = static_cast<int>(std::find(items.begin(), items.end(), selected) - items.begin());
    selected->MouseLeave();
    // Entering the next item while the selected one is pressed moves its open submenu there.
    items[size_t((index + step + count) % count)]->MouseEnter();
}

void TspSkinForm::NextMainMenuItem()
{
    StepMainMenuItem(1);
}

void TspSkinForm::PriorMainMenuItem()
{
    StepMainMenuItem(-1);
}

bool TspSkinForm::CanNextMainMenuItem() const
{
    if (!FSkinMenu->Visible() || FSkinMenu->LevelCount() == 0)
        return true;
    // Right on an item with a submenu opens that submenu instead.
    const TspSkinPopupWindow* level = FSkinMenu->LastLevel();
    const int active = level->ActiveItem;
    if (active < 0 || active >= static_cast<int>(level->ItemList.size()))
        return true;
    return level->ItemList[size_t(active)]->MenuItem->Count() == 0;
}

bool TspSkinForm::CanPriorMainMenuItem() const
{
    // With a submenu open, Left closes it instead.
    return FSkinMenu->LevelCount() <= 1;
}

bool TspSkinForm::CheckReturnKey()
{
    if (FMainMenuBar)
        return FMainMenuBar->CheckReturnKey();
    for (TspSkinMainMenuItem* item : MainMenuItems()) {
        const bool pressedLeaf = item->Down && item->MenuItem && item->MenuItem->Count() == 0;
        if (!pressedLeaf && !(item->Active && !SkinMenuOpened))
            continue;
        item->Active = false;
        item->MouseDown(0, 0, mbLeft); // may run a command that rebuilds the items: nothing of them is used after
        return true;
    }
    return false;
}

void TspSkinForm::MainMenuItemClicked()
{
    // A command chosen on the main menu ends the menu and its keyboard mode, as a command chosen from a popup
    // does, so that the keys go back to the form before the command runs.
    if (FSkinMenu->Visible())
        FSkinMenu->Hide();
    else if (SkinMenuOpened)
        SkinMenuClose();
    if (MainMenuActive)
        SkinMainMenuClose();
    SkinMenuOpened = false;
}

void TspSkinForm::SkinMenuClose2()
{
    SkinMenuOpened = false;
    if (FMainMenuBar) {
        FMainMenuBar->MenuClose();
    } else {
        for (TspSkinMainMenuItem* item : MainMenuItems())
            if (item->Down) {
                item->Down = false;
                item->Active = false;
                item->MouseEnter();
                break;
            }
    }
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
}

void TspSkinForm::SkinMainMenuClose()
{
    MainMenuActive = false;
    // The chain tells the form, which leaves the menu mode (SkinMenuClose).
    if (FSkinMenu->Visible())
        FSkinMenu->Hide();
    if (FMainMenuBar) {
        FMainMenuBar->MenuExit();
    } else {
        for (TspSkinMainMenuItem* item : MainMenuItems())
            if (item->Active) {
                item->MouseLeave();
                break;
            }
    }
    UnHookApp();
    if (OnMainMenuExit)
        OnMainMenuExit(this);
}

void TspSkinForm::ForgetMenu(TComponent* component)
{
    if (component == FMainMenu)
        FMainMenu = nullptr;
    // Objects only compare the pointer: the item is half gone already.
    bool dropped = false;
    RemoveObjects([&](TspActiveSkinObject* object) {
        auto* item = dynamic_cast<TspSkinMainMenuItem*>(object);
        const bool gone = item && static_cast<TComponent*>(item->MenuItem) == component;
        dropped = dropped || gone;
        return gone;
    });
    for (const auto& object : SkinObjects) {
        if (auto* button = dynamic_cast<TspSkinButtonObject*>(object.get());
            button && static_cast<TComponent*>(button->MenuItem) == component)
            button->LinkMenu(nullptr, false);
        if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object.get());
            animate && static_cast<TComponent*>(animate->MenuItem) == component)
            animate->LinkMenu(nullptr, false);
    }
    if (dropped && !ComponentState().Contains(csDestroying) && FSupportNCArea)
        FramePaint();
}
