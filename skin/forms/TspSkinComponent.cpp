// TspSkinComponent: the skin reference of a skinned component.
#include "skin/forms/TspSkinComponent.h"

#include "skin/core/TspSkinData.h"

TspSkinComponent::TspSkinComponent(TComponent* owner)
    : inherited(owner)
{
}

TspSkinComponent::~TspSkinComponent()
{
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
}

void TspSkinComponent::SetSkinData(TspSkinData* value)
{
    if (FSkinData && FSkinData != value)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinComponent::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData)
        FSkinData = nullptr;
}
