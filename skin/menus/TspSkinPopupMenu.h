// TspSkinPopupMenu, a popup menu that opens through the skinned menu chain of its form.
#pragma once
#include "framework/controls/Menus.h"
#include "skin/controls/SkinButtonLinks.h"
#include "skin/core/Forward.h"

class TCustomForm;
class TspSkinMenuHost;

// Holds no windows of its own: it finds the skinning component of its form, lets the form enter its menu mode
// and opens its Items through the form's chain. Without a skinning component nothing is shown (only OnPopup
// fires); the framework's own menu is never shown instead.
class TspSkinPopupMenu : public TPopupMenu, public TspPopupMenuLink {
    using inherited = TPopupMenu;

public:
    explicit TspSkinPopupMenu(TComponent* owner);

    // The skin of the menu; taken from the form's component at the first opening when unset, then kept.
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    // The form whose skinning component shows the menu; when null, the owner (or the owner's owner) decides.
    TCustomForm* MenuForm() const { return FMenuForm; }
    void SetMenuForm(TCustomForm* value);
    // Fired once when the opened menu closes as a whole.
    TNotifyEvent OnMenuClose;

    // At a screen point, with no opener.
    void Popup(int x, int y) override;
    // Beside a screen rectangle.
    void PopupFromRect(const TRect& rect, bool popupUp);
    // Beside a screen rectangle for `control`, which hears WM_CLOSESKINMENU and WM_AFTERDISPATCH.
    void PopupFromRect2(TControl* control, const TRect& rect, bool popupUp);
    // Downward, as the skinned buttons open their menus.
    void PopupFromRect2(TControl* control, const TRect& rect) override { PopupFromRect2(control, rect, false); }
    // At a screen point for `control`; shows nothing when no skin is known.
    void Popup2(TControl* control, int x, int y);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Open(TControl* opener, const TRect& rect, bool popupUp, bool needsSkin);
    TspSkinMenuHost* FindHost() const;

    TspSkinData* FSkinData = nullptr;
    TCustomForm* FMenuForm = nullptr;
};
