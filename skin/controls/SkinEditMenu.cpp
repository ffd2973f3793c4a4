#include "skin/controls/SkinEditMenu.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinPopupMenu.h"

std::string EditMenuCaptionFrom(const TspSkinData* skin, std::string_view key, std::string_view fallback)
{
    if (skin && skin->ResourceStrData())
        return skin->ResourceStrData()->GetResStr(key);
    return std::string(fallback);
}

void TspEditContextMenu::Free()
{
    delete FMenu;
    FMenu = nullptr;
}

void TspEditContextMenu::Build(TWinControl* control, TspEditMenuClient* client)
{
    Free();
    FMenu = new TspSkinPopupMenu(control);
    // The menus of an MDI child open through the main form, whose menu chain stays above the children.
    TCustomForm* form = GetParentForm(control);
    if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        form = Application->MainForm();
    FMenu->SetMenuForm(form);

    const TspEditMenuState state = client->EditMenuState();
    struct TItem {
        const char* Key;
        const char* Fallback;
        void (TspEditMenuClient::*Handler)(TObject*);
        bool Enabled;
    };
    const TItem kItems[] = {
        { "EDIT_UNDO", "Undo", &TspEditMenuClient::DoUndo, state.CanUndo },
        { nullptr, nullptr, nullptr, true },
        { "EDIT_CUT", "Cut", &TspEditMenuClient::DoCut, state.HasSelection && !state.ReadOnly },
        { "EDIT_COPY", "Copy", &TspEditMenuClient::DoCopy, state.HasSelection },
        { "EDIT_PASTE", "Paste", &TspEditMenuClient::DoPaste, state.ClipboardHasText && !state.ReadOnly },
        { "EDIT_DELETE", "Delete", &TspEditMenuClient::DoDelete, state.HasSelection && !state.ReadOnly },
        { nullptr, nullptr, nullptr, true },
        { "EDIT_SELECTALL", "Select All", &TspEditMenuClient::DoSelectAll, !state.AllSelected },
    };
    for (const TItem& entry : kItems) {
        auto* item = new TMenuItem(FMenu);
        if (!entry.Key) {
            item->SetCaption("-");
        } else {
            item->SetCaption(client->EditMenuCaption(entry.Key, entry.Fallback));
            item->OnClick = [client, handler = entry.Handler](TObject* sender) { (client->*handler)(sender); };
            item->SetEnabled(entry.Enabled);
        }
        FMenu->Items()->Add(item);
    }
}

void TspEditContextMenu::Show(TWinControl* control, TspEditMenuClient* client, const TMessage& message)
{
    int x = static_cast<int16_t>(LOWORD(message.LParam));
    int y = static_cast<int16_t>(HIWORD(message.LParam));
    if (x < 0 || y < 0) {
        const TPoint origin = control->ClientOrigin();
        x = origin.X + control->Width() / 2;
        y = origin.Y + control->Height() / 2;
    }
    Build(control, client);
    FMenu->Popup2(control, x, y);
}

bool TspEditContextMenu::HandleMessage(TWinControl* control, TspEditMenuClient* client, TMessage& message)
{
    if (message.Msg == WM_AFTERDISPATCH) {
        Free();
        return true;
    }
    // A control's own popup menu shows instead, through the standard handling.
    if (message.Msg != WM_CONTEXTMENU || control->PopupMenu())
        return false;
    Show(control, client, message);
    return true;
}
