#include "skin/dialogs/SkinDialogSkins.h"

#include "framework/controls/Forms.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"

#include <algorithm>

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

void SkinDialogControls(TComponent* form, TspSkinData* ctrlSkin)
{
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* client = dynamic_cast<TspSkinDataClient*>(form->Components(i)))
            client->SetSkinData(ctrlSkin);
}

void SetDialogClientSize(TForm* form, const TspSkinForm* skinForm, const TspSkinData* skin, int width, int height,
    int defaultWidth, int defaultHeight)
{
    width = width > 0 ? width : defaultWidth;
    height = height > 0 ? height : defaultHeight;
    if (skin && !skin->Empty) {
        width = std::max(width, skinForm->GetMinWidth());
        height = std::max(height, skinForm->GetMinHeight());
    }
    form->SetClientWidth(width);
    form->SetClientHeight(height);
}
