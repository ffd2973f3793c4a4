#include "skin/menus/TspSkinPopupMenu.h"

#include "framework/controls/Forms.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuHost.h"
#include "skin/menus/TspSkinMenu.h"

TspSkinMenuHost* FindSkinMenuHost(TCustomForm* form)
{
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* host = dynamic_cast<TspSkinMenuHost*>(form->Components(i)))
            return host;
    return nullptr;
}

TspSkinPopupMenu::TspSkinPopupMenu(TComponent* owner)
    : TPopupMenu(owner)
{
}

void TspSkinPopupMenu::SetSkinData(TspSkinData* value)
{
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinPopupMenu::SetMenuForm(TCustomForm* value)
{
    FMenuForm = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinPopupMenu::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FSkinData)
        FSkinData = nullptr;
    if (component == FMenuForm)
        FMenuForm = nullptr;
}

TspSkinMenuHost* TspSkinPopupMenu::FindHost() const
{
    if (FMenuForm)
        return FindSkinMenuHost(FMenuForm);
    // A menu without an owner (or whose owner is not a form and has none) has no skinning component.
    TComponent* owner = Owner();
    TCustomForm* form = dynamic_cast<TCustomForm*>(owner);
    if (!form && owner)
        form = dynamic_cast<TCustomForm*>(owner->Owner());
    TspSkinMenuHost* host = FindSkinMenuHost(form);
    // The menus of an MDI child open through the main form, whose chain keeps them above the children.
    if (host && form->FormStyle() == fsMDIChild && Application)
        host = FindSkinMenuHost(Application->MainForm());
    return host;
}

void TspSkinPopupMenu::Open(TControl* opener, const TRect& rect, bool popupUp, bool needsSkin)
{
    DoPopup(this);
    TspSkinMenuHost* host = FindHost();
    if (host && !FSkinData)
        SetSkinData(host->MenusSkinData() ? host->MenusSkinData() : host->SkinData());
    if (!host || (needsSkin && !FSkinData))
        return;
    TspSkinMenu* chain = host->SkinMenu();
    if (chain->Visible())
        host->SkinMenuClose();
    SetPopupPoint(TPoint { rect.Left, rect.Top });
    host->SkinMenuOpen();
    chain->Popup(opener, FSkinData, 0, rect, Items(), popupUp);
    // A menu that showed nothing leaves no menu mode behind (the hook would otherwise swallow the application's
    // keys until something closed a menu that is not there).
    if (!chain->Visible()) {
        host->SkinMenuClose();
        return;
    }
    if (OnMenuClose)
        chain->OnMenuClose = OnMenuClose;
}

void TspSkinPopupMenu::Popup(int x, int y)
{
    Open(nullptr, TRect(x, y, x, y), false, false);
}

void TspSkinPopupMenu::PopupFromRect(const TRect& rect, bool popupUp)
{
    Open(nullptr, rect, popupUp, false);
}

void TspSkinPopupMenu::PopupFromRect2(TControl* control, const TRect& rect, bool popupUp)
{
    Open(control, rect, popupUp, false);
}

void TspSkinPopupMenu::Popup2(TControl* control, int x, int y)
{
    Open(control, TRect(x, y, x, y), false, true);
}
