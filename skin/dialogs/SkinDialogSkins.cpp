#include "skin/dialogs/SkinDialogSkins.h"

#include "skin/core/TspSkinData.h"

void TspDialogSkins::Watch(TspSkinData*& field, TspSkinData* value)
{
    TspSkinData* old = field;
    field = value;
    // One skin often serves as both: its notice stays while either field holds it.
    if (old && old != FSkin && old != FCtrlSkin)
        old->RemoveFreeNotification(FHolder);
    if (value)
        value->FreeNotification(FHolder);
}

void TspDialogSkins::Removed(const TComponent* component)
{
    if (component == FSkin)
        FSkin = nullptr;
    if (component == FCtrlSkin)
        FCtrlSkin = nullptr;
}
