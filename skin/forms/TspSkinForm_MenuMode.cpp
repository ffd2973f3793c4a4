// The form's menus: the menu chain's settings, opening menus through it, and the menu mode around an open menu
// (the application hook that feeds keys to the menu, and the messages that close it).
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/graphics/TBitmap.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"

namespace {

// The application hook of one form. A type of its own, so that the form can tell whether the handler installed
// now is its own before it puts the saved one back.
struct TMenuAppHook {
    TspSkinForm* Form;
    void operator()(MSG& message, bool& handled) const { Form->NewAppMessage(message, handled); }
};

} // namespace

// ---- Settings ---------------------------------------------------------------------------------------------------

void TspSkinForm::SetMenusSkinData(TspSkinData* value)
{
    if (FMenusSkinData && FMenusSkinData != value)
        FMenusSkinData->RemoveFreeNotification(this);
    FMenusSkinData = value;
    if (value)
        value->FreeNotification(this);
}

int TspSkinForm::DefMenuItemHeight() const
{
    return FSkinMenu->DefaultMenuItemHeight;
}

void TspSkinForm::SetDefMenuItemHeight(int value)
{
    if (value > 0)
        FSkinMenu->DefaultMenuItemHeight = value;
}

TFont* TspSkinForm::DefMenuItemFont() const
{
    return FSkinMenu->DefaultMenuItemFont();
}

void TspSkinForm::SetDefMenuItemFont(TFont* value)
{
    FSkinMenu->SetDefaultMenuItemFont(value);
}

bool TspSkinForm::UseSkinFontInMenu() const
{
    return FSkinMenu->UseSkinFont;
}

void TspSkinForm::SetUseSkinFontInMenu(bool value)
{
    FSkinMenu->UseSkinFont = value;
}

void TspSkinForm::SetMaxMenuItemsInWindow(int value)
{
    if (value < 0)
        return;
    FMaxMenuItemsInWindow = value;
    FSkinMenu->MaxMenuItemsInWindow = value;
}

void TspSkinForm::SetMenusAlphaBlend(bool value)
{
    FMenusAlphaBlend = value;
    FSkinMenu->AlphaBlend = value;
}

void TspSkinForm::SetMenusAlphaBlendValue(uint8_t value)
{
    FMenusAlphaBlendValue = value;
    FSkinMenu->AlphaBlendValue = value;
}

void TspSkinForm::SetMenusAlphaBlendAnimation(bool value)
{
    FMenusAlphaBlendAnimation = value;
    FSkinMenu->AlphaBlendAnimation = value;
}

// ---- Opening menus ----------------------------------------------------------------------------------------------

void TspSkinForm::PopupSkinMenu(TMenuItem* items, TPoint p)
{
    PopupSkinMenu1(items, TRect(p.X, p.Y, p.X, p.Y), false);
}

void TspSkinForm::PopupSkinMenu1(TMenuItem* items, const TRect& r, bool popupUp)
{
    SkinMenuOpen();
    FSkinMenu->Popup(nullptr, FMenusSkinData ? FMenusSkinData : FSkinData, 0, r, items, popupUp);
    // A menu that opened nothing leaves no menu mode behind.
    if (!FSkinMenu->Visible() && SkinMenuOpened)
        SkinMenuClose();
}

void TspSkinForm::DoPopupMenu(TPopupMenu* menu, int x, int y)
{
    if (!menu)
        return;
    if (menu->OnPopup)
        menu->OnPopup(menu);
    if (FSkinMenu->Visible())
        SkinMenuClose();
    SkinMenuOpen();
    FSkinMenu->Popup(nullptr, FSkinData, 0, TRect(x, y, x, y), menu->Items(), false);
    if (!FSkinMenu->Visible() && SkinMenuOpened)
        SkinMenuClose();
}

void TspSkinForm::PopupObjectMenu(TspActiveSkinObject* object, TMenuItem* menu, bool upward, TspSkinData* skin)
{
    // Object rectangles are in window coordinates; an MDI child's Left and Top are in its parent's client area,
    // so its window's corner is found on the screen.
    TPoint corner { FForm->Left(), FForm->Top() };
    if (FForm->FormStyle() == fsMDIChild && FForm->HandleAllocated()) {
        RECT window {};
        GetWindowRect(FForm->Handle(), &window);
        corner = TPoint { window.left, window.top };
    }
    TRect r = object->ObjectRect;
    r.Left += corner.X;
    r.Right += corner.X;
    r.Top += corner.Y;
    r.Bottom += corner.Y;
    // A skinned popup menu opens itself: its own skin, OnPopup and OnMenuClose.
    if (auto* popup = dynamic_cast<TspSkinPopupMenu*>(menu->GetParentMenu()); popup && menu == popup->Items()) {
        popup->PopupFromRect(r, upward);
        // Nothing opened through this form (the menu has no skinned form, or another form shows it): the object
        // does not wait for a close it will not hear.
        if (!SkinMenuOpened)
            ReleaseMenuObject();
        return;
    }
    SkinMenuOpen();
    FSkinMenu->Popup(nullptr, skin ? skin : FMenusSkinData ? FMenusSkinData : FSkinData, 0, r, menu, upward);
    // A menu that opens nothing ends the menu mode at once, and the object comes up again. A main-menu item
    // without a submenu stays pressed instead: the open submenu moved to it, and the next item, Return or Escape
    // take it on from there.
    if (!FSkinMenu->Visible() && SkinMenuOpened && !dynamic_cast<TspSkinMainMenuItem*>(object))
        SkinMenuClose();
}

TRect TspSkinForm::MainMenuRect() const
{
    if (!FSkinData || !FSkinData->Picture || SPUtils::IsNullRect(FSkinData->MainMenuRect))
        return TRect();
    TRect r = FSkinData->MainMenuRect;
    // The menu band widens with a form that can stretch the picture; one that starts in the bottom-left corner
    // of the picture goes down with the bottom edge.
    const int width = LayoutWidth ? LayoutWidth : FForm->Width();
    const int height = LayoutHeight ? LayoutHeight : FForm->Height();
    const int pictureHeight = FSkinData->Picture->Height();
    if (CanScale())
        r.Right += width - FSkinData->Picture->Width();
    const TPoint corner = FSkinData->LeftBottomPoint;
    if (r.Left >= 0 && r.Left <= corner.X && r.Top >= corner.Y && r.Top <= pictureHeight) {
        r.Top += height - pictureHeight;
        r.Bottom += height - pictureHeight;
    }
    return r;
}

void TspSkinForm::MainMenuEntered()
{
    if (MainMenuActive)
        return;
    MainMenuActive = true;
    if (OnMainMenuEnter)
        OnMainMenuEnter(this);
}

// ---- The menu mode ----------------------------------------------------------------------------------------------

void TspSkinForm::HookApp()
{
    // A menu opened over an open one (Alt+Space over a popup, say) must not save the form's own hook as the
    // handler to restore: it would then stay installed for good and swallow every key of the application.
    if (FAppHooked || !Application)
        return;
    SavedAppMessageHandler = Application->OnMessage;
    Application->OnMessage = TMenuAppHook { this };
    FAppHooked = true;
}

void TspSkinForm::UnHookApp()
{
    if (!FAppHooked)
        return;
    FAppHooked = false;
    if (!Application)
        return;
    const auto* installed = Application->OnMessage.target<TMenuAppHook>();
    if (installed && installed->Form == this)
        Application->OnMessage = std::move(SavedAppMessageHandler);
    SavedAppMessageHandler = nullptr;
}

void TspSkinForm::SkinMenuOpen()
{
    if (!MainMenuActive)
        HookApp();
    if (SkinMenuOpened)
        return;
    SkinMenuOpened = true;
    if (OnSkinMenuOpen)
        OnSkinMenuOpen(this);
}

// The object whose press opened the menu comes up again.
void TspSkinForm::ReleaseMenuObject()
{
    for (const auto& object : SkinObjects) {
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(object.get()); item && item->Down) {
            item->Active = false;
            item->Down = false;
            item->Redraw();
            break;
        }
        if (auto* button = dynamic_cast<TspSkinButtonObject*>(object.get());
            button && button->MenuItem && button->Down) {
            button->SetDown(false);
            break;
        }
        if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object.get()); animate && animate->MenuTracking) {
            animate->MenuClosed();
            break;
        }
    }
}

void TspSkinForm::SkinMenuClose()
{
    SkinMenuOpened = false;
    ReleaseMenuObject();
    UnHookApp();
    if (OnSkinMenuClose)
        OnSkinMenuClose(this);
    if (!MainMenuActive)
        return;
    MainMenuActive = false;
    if (FMainMenuBar)
        FMainMenuBar->MenuExit();
    if (OnMainMenuExit)
        OnMainMenuExit(this);
}

void TspSkinForm::NewAppMessage(MSG& message, bool& handled)
{
    if (message.message == WM_KEYDOWN) {
        FormKeyDown(message.wParam);
        message.message = 0;
        handled = true;
    } else if (message.message == WM_MOUSEWHEEL) {
        message.message = 0;
        handled = true;
    }
}

void TspSkinForm::ToDeepestLevel(WPARAM key)
{
    if (FSkinMenu->Visible())
        if (TspSkinPopupWindow* level = FSkinMenu->LastLevel())
            level->PopupKeyDown(int(key));
}

void TspSkinForm::FormKeyDown(WPARAM key)
{
    // An MDI child's keys go to the main form while the main form's menu is in use.
    if (FForm->FormStyle() == fsMDIChild && Application) {
        TspSkinForm* main = GetSkinFormComponent(Application->MainForm());
        if (main && main != this && (main->SkinMenuOpened || main->MainMenuActive || main->SkinMenu()->Visible())) {
            main->FormKeyDown(key);
            return;
        }
    }
    if (MainMenuActive && FindHotKeyItem(WORD(key)))
        return;
    if (key == VK_ESCAPE && MainMenuActive && !SkinMenuOpened) {
        SkinMainMenuClose();
        return;
    }
    if (key == VK_LEFT && MainMenuActive && CanPriorMainMenuItem()) {
        if (FMainMenuBar)
            FMainMenuBar->PriorMainMenuItem();
        else
            PriorMainMenuItem();
        return;
    }
    if (key == VK_RIGHT && MainMenuActive && CanNextMainMenuItem()) {
        if (FMainMenuBar)
            FMainMenuBar->NextMainMenuItem();
        else
            NextMainMenuItem();
        return;
    }
    if (key == VK_RETURN || key == VK_DOWN) {
        if (!CheckReturnKey())
            ToDeepestLevel(key);
        return;
    }
    ToDeepestLevel(key);
    // Escape closed the last popup: the menu mode ends, but the keyboard mode of the main menu stays.
    if (key == VK_ESCAPE && FSkinMenu->LevelCount() == 0 && SkinMenuOpened) {
        if (MainMenuActive)
            SkinMenuClose2();
        else
            SkinMenuClose();
    }
}

void TspSkinForm::CheckMenuVisible(const TMessage& message)
{
    if (!CanMenuClose(message.Msg))
        return;
    if (ShowObjectHint && FSkinHint)
        FSkinHint->HideHint();
    if (MainMenuActive && !SkinMenuOpened)
        SkinMainMenuClose();
    else if (FSkinMenu->Visible())
        FSkinMenu->Hide(); // the form hears WM_CLOSESKINMENU and leaves the menu mode
    else if (SkinMenuOpened)
        SkinMenuClose();
    else if (FForm->FormStyle() == fsMDIForm && FForm->Visible())
        if (TspSkinForm* child = GetMDIChildSkinFormComponent2(); child && child != this)
            child->CheckMenuVisible(message);
}
