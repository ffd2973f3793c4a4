#include "skin/controls/SkinDataLink.h"

#include "skin/core/TspSkinData.h"

void TspSkinDataLink::SetSkin(TspSkinData* value)
{
    if (FSkin == value)
        return;
    if (FSkin)
        FSkin->RemoveFreeNotification(FOwner);
    FSkin = value;
    if (FSkin)
        FSkin->FreeNotification(FOwner);
}

void TspSkinDataLink::Forget(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component == FSkin)
        FSkin = nullptr;
}

int TspSkinDataLink::ControlIndex() const
{
    return FSkin && !FSkin->Empty ? FSkin->GetControlIndex(FName) : -1;
}
