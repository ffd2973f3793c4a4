// TspSkinForm: the form's system menu, built afresh each time it is shown so that its commands follow the window
// state, the roll-up state and the border icons: the component's own menu, or the application's SystemMenu with
// the standard commands added around its items (never twice); shown by a right click on the caption or by
// Alt+Space under the system-menu button.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "platform/win/Windows.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinMenu.h"

namespace {

// The names the standard commands carry, by which they are found again and their glyphs chosen.
constexpr const char* kStandardNames[]
    = { "SKF_MINITEM", "SKF_MAXITEM", "SKF_CLOSE", "SKF_MINTOTRAY", "SKF_ROLLUP", "SKF_RESTORE" };

bool IsStandardItem(const TMenuItem* item)
{
    for (const char* name : kStandardNames)
        if (item->Name() == name)
            return true;
    return false;
}

} // namespace

void TspSkinForm::SetSystemMenu(TPopupMenu* value)
{
    if (FSystemMenu && FSystemMenu != value)
        FSystemMenu->RemoveFreeNotification(this);
    FSystemMenu = value;
    if (value)
        value->FreeNotification(this);
}

TPopupMenu* TspSkinForm::DefaultSystemMenu()
{
    if (!FDefaultSystemMenu)
        FDefaultSystemMenu = new TPopupMenu(this);
    return FDefaultSystemMenu;
}

TMenuItem* TspSkinForm::NewSystemMenuItem(const char* name, const char* captionKey, const char* caption,
    void (TspSkinForm::*handler)(TObject*))
{
    auto* item = new TMenuItem(nullptr);
    item->SetName(name);
    const TspResourceStrData* strings = FSkinData ? FSkinData->ResourceStrData() : nullptr;
    item->SetCaption(strings ? strings->GetResStr(captionKey) : std::string(caption));
    item->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
    if (std::string_view(name) == "SKF_CLOSE" || std::string_view(name) == "TRAY_SKF_CLOSE")
        item->SetShortCut(TextToShortCut(FForm->FormStyle() == fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
    return item;
}

bool TspSkinForm::SysMenuHasMin() const
{
    return FWindowState != wsMinimized && FBorderIcons.Contains(TspBorderIcon::biMinimize);
}

bool TspSkinForm::SysMenuHasMax() const
{
    return FWindowState != wsMaximized && FBorderIcons.Contains(TspBorderIcon::biMaximize);
}

bool TspSkinForm::SysMenuHasRestore() const
{
    return FWindowState != wsNormal || FRolledUp;
}

bool TspSkinForm::SysMenuHasRollUp() const
{
    const bool maximizedChild = FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized;
    return FBorderIcons.Contains(TspBorderIcon::biRollUp) && !FRolledUp && FWindowState != wsMinimized
        && !maximizedChild;
}

void TspSkinForm::CreateSysMenu()
{
    TMenuItem* items = DefaultSystemMenu()->Items();
    items->Clear();
    if (SysMenuHasMin())
        items->Add(NewSystemMenuItem("SKF_MINITEM", "MI_MINCAPTION", "Mi&nimize", &TspSkinForm::SM_Min));
    if (SysMenuHasMax())
        items->Add(NewSystemMenuItem("SKF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", &TspSkinForm::SM_Max));
    if (SysMenuHasRestore())
        items->Add(NewSystemMenuItem("SKF_RESTORE", "MI_RESTORECAPTION", "&Restore", &TspSkinForm::SM_Restore));
    if (SysMenuHasRollUp())
        items->Add(NewSystemMenuItem("SKF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", &TspSkinForm::SM_RollUp));
    if (FBorderIcons.Contains(TspBorderIcon::biMinimizeToTray))
        items->Add(NewSystemMenuItem(
            "SKF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray", &TspSkinForm::SM_MinToTray));
    if (items->Count() > 0) {
        auto* separator = new TMenuItem(nullptr);
        separator->SetCaption("-");
        items->Add(separator);
    }
    items->Add(NewSystemMenuItem("SKF_CLOSE", "MI_CLOSECAPTION", "&Close", &TspSkinForm::SM_Close));
}

void TspSkinForm::CreateUserSysMenu()
{
    if (!UseDefaultSysMenu || !FSystemMenu)
        return;
    TMenuItem* items = FSystemMenu->Items();
    // The commands of the last showing go first, so that they are never there twice.
    for (int i = 0; i < items->Count();) {
        if (IsStandardItem(items->Items(i))) {
            delete items->Items(i);
            i = 0;
        } else {
            ++i;
        }
    }
    if (FBorderIcons.Contains(TspBorderIcon::biMinimizeToTray))
        items->Insert(0,
            NewSystemMenuItem("SKF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray", &TspSkinForm::SM_MinToTray));
    if (SysMenuHasRollUp())
        items->Insert(0, NewSystemMenuItem("SKF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", &TspSkinForm::SM_RollUp));
    if (SysMenuHasMax())
        items->Insert(0, NewSystemMenuItem("SKF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", &TspSkinForm::SM_Max));
    if (SysMenuHasRestore())
        items->Insert(
            0, NewSystemMenuItem("SKF_RESTORE", "MI_RESTORECAPTION", "&Restore", &TspSkinForm::SM_Restore));
    if (SysMenuHasMin())
        items->Insert(0, NewSystemMenuItem("SKF_MINITEM", "MI_MINCAPTION", "Mi&nimize", &TspSkinForm::SM_Min));
    items->Add(NewSystemMenuItem("SKF_CLOSE", "MI_CLOSECAPTION", "&Close", &TspSkinForm::SM_Close));
}

TMenuItem* TspSkinForm::GetSystemMenu()
{
    if (FSystemMenu) {
        CreateUserSysMenu();
        return FSystemMenu->Items();
    }
    CreateSysMenu();
    return DefaultSystemMenu()->Items();
}

// ---- The commands -----------------------------------------------------------------------------------------------

void TspSkinForm::SM_Min(TObject*)
{
    if (AlwaysMinimizeToTray())
        MinimizeToTray();
    else
        SetWindowState(wsMinimized);
}

void TspSkinForm::SM_Max(TObject*)
{
    SetWindowState(wsMaximized);
}

void TspSkinForm::SM_Restore(TObject*)
{
    if (RolledUpWhileMaximized || (FRolledUp && FWindowState == wsNormal))
        SetRollUpState(false);
    else
        SetWindowState(wsNormal);
}

void TspSkinForm::SM_RollUp(TObject*)
{
    SetRollUpState(true);
}

void TspSkinForm::SM_MinToTray(TObject*)
{
    MinimizeToTray();
}

void TspSkinForm::SM_Close(TObject*)
{
    CloseForm();
}

// ---- Showing the system menu ------------------------------------------------------------------------------------

void TspSkinForm::TrackSystemMenu(int x, int y)
{
    TrackSystemMenu2(Rect(x, y, x, y));
}

void TspSkinForm::TrackSystemMenu2(const TRect& r)
{
    TMenuItem* items = GetSystemMenu();
    if (FForm->FormStyle() != fsMDIChild) {
        PopupSkinMenu1(items, r, false);
        return;
    }
    // An MDI child's menu opens through the main form's chain, in the main form's skin for menus.
    TspSkinForm* main = Application ? GetSkinFormComponent(Application->MainForm()) : nullptr;
    if (!main)
        return;
    SkinMenuOpen();
    // The child is the opener: the main form's chain tells it when the menu closes (by Escape or a command), so
    // that it leaves its menu mode and gives the application its keys back.
    main->SkinMenu()->Popup(FForm, main->MenusSkinData() ? main->MenusSkinData() : main->SkinData(), 0, r, items,
        false);
    if (!main->SkinMenu()->Visible() && SkinMenuOpened)
        SkinMenuClose();
}

void TspSkinForm::PopupSystemMenu()
{
    if (!FForm->HandleAllocated())
        return;
    RECT window {};
    GetWindowRect(FForm->Handle(), &window);
    for (size_t i = 0; i < SkinObjects.size(); ++i) {
        TspActiveSkinObject* object = SkinObjects[i].get();
        TStdCommand command = cmDefault;
        if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(object))
            command = button->Command;
        else if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object))
            command = animate->Command;
        if (command != cmSysMenu || !object->Enabled)
            continue;
        const TRect& r = object->ObjectRect;
        TrackSystemMenu2(Rect(r.Left + window.left, r.Top + window.top, r.Right + window.left, r.Bottom + window.top));
        // The menu is open now; a second button would only open it again.
        return;
    }
}
