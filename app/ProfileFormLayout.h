// Builders of the profile windows' layouts: each makes one skinned control owned by the form, places it on its
// parent and binds it to the program's form skin (the default look while there is none).
#pragma once
#include "app/TResourceSkinData.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"

#include <string_view>

namespace ProfileFormLayout {

// The form's skinning component on the form skin, as the application's dialogs have it: no caption icons, fixed
// size.
inline TspSkinForm* NewFormSkinner(TForm* form)
{
    auto* skinner = new TspSkinForm(form);
    skinner->SetBorderIcons({});
    skinner->Sizeable = false;
    skinner->SetSkinData(FormSkinData());
    skinner->SetMenusSkinData(FormSkinData());
    return skinner;
}

template <class T> T* Place(TComponent* owner, TWinControl* parent, int x, int y, int width, int height)
{
    auto* control = new T(owner);
    // The parent first: taking a skin may size the control, which needs the windows of its own children.
    control->SetParent(parent);
    if constexpr (requires { control->SetSkinData(FormSkinData()); })
        control->SetSkinData(FormSkinData());
    control->SetBounds(x, y, width, height);
    return control;
}

inline TspSkinStdLabel* Label(TComponent* owner, TWinControl* parent, int x, int y, std::string_view text)
{
    auto* label = new TspSkinStdLabel(owner);
    label->SetSkinData(FormSkinData());
    label->SetParent(parent);
    label->SetBounds(x, y, 100, 16);
    label->SetCaption(text);
    return label;
}

// A fixed-list choice.
inline TspSkinComboBox* Choice(TComponent* owner, TWinControl* parent, int x, int y, int width)
{
    auto* combo = Place<TspSkinComboBox>(owner, parent, x, y, width, 21);
    combo->SetStyle(spcbFixedStyle);
    return combo;
}

// A fixed-list choice after its label, on one row of a page's group box.
inline TspSkinComboBox* LabelledChoice(TComponent* owner, TWinControl* parent, int y, std::string_view label)
{
    Label(owner, parent, 10, y + 3, label);
    return Choice(owner, parent, 110, y, parent->Width() - 125);
}

// An integer number edit; its range, increment and value are set where the page gets its values.
inline TspSkinSpinEdit* Spin(TComponent* owner, TWinControl* parent, int x, int y, int width)
{
    auto* edit = Place<TspSkinSpinEdit>(owner, parent, x, y, width, 21);
    edit->SetValueType(vtInteger);
    return edit;
}

inline TspSkinCheckRadioBox* Check(TComponent* owner, TWinControl* parent, int x, int y, std::string_view caption)
{
    auto* box = Place<TspSkinCheckRadioBox>(owner, parent, x, y, 180, 21);
    box->SetCaption(caption);
    return box;
}

inline TspSkinCheckRadioBox* Radio(
    TComponent* owner, TWinControl* parent, int x, int y, std::string_view caption, int group)
{
    auto* radio = Place<TspSkinCheckRadioBox>(owner, parent, x, y, 95, 21);
    radio->SetSkinDataName("radiobox");
    radio->SetRadio(true);
    radio->SetGroupIndex(group);
    radio->SetCaption(caption);
    return radio;
}

inline TspSkinGroupBox* Group(
    TComponent* owner, TWinControl* parent, int x, int y, int width, int height, std::string_view caption)
{
    auto* group = Place<TspSkinGroupBox>(owner, parent, x, y, width, height);
    group->SetCaption(caption);
    return group;
}

} // namespace ProfileFormLayout
