#include "app/AppDialog.h"

#include "app/TResourceSkinData.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/forms/TspSkinForm.h"

TspSkinData* DialogSkin()
{
    return FormSkinData();
}

TspSkinForm* SkinAppDialog(TForm* form, bool draggable)
{
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons({});
    form->SetKeyPreview(true);
    form->SetPosition(poDesktopCenter);
    auto* skin = new TspSkinForm(form);
    skin->SetSkinData(DialogSkin());
    skin->SetSupportNCArea(true);
    skin->SetBorderIcons({ TspBorderIcon::biSystemMenu });
    skin->Sizeable = false;
    skin->DraggAble = draggable;
    return skin;
}

TspSkinPanel* PlacePanel(TWinControl* parent, int x, int y, int width, int height, TAlign align)
{
    auto* panel = PlaceSkinned<TspSkinPanel>(parent, x, y, width, height);
    panel->SetAlign(align);
    return panel;
}

TspSkinStdLabel* PlaceLabel(TWinControl* parent, int x, int y, std::string_view caption, int width)
{
    auto* label = new TspSkinStdLabel(parent);
    label->SetSkinData(DialogSkin());
    label->SetCaption(std::string(caption));
    label->SetLeft(x);
    label->SetTop(y);
    if (width > 0) {
        label->SetAutoSize(false);
        label->SetWidth(width);
    }
    label->SetParent(parent);
    return label;
}
