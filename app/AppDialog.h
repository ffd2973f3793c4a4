// What the program's dialogs share: the dialog frame skinned with the form skin, controls placed on them wearing
// that skin, and Escape closing them.
#pragma once
#include "framework/controls/Forms.h"

#include <string_view>

class TspSkinForm;
class TspSkinData;

// The skin the program's dialogs and their controls wear: the resource holder's form skin, or none (the
// default look) while there is no holder.
TspSkinData* DialogSkin();

// Dresses `form` as one of the program's dialogs: a dialog border without border icons but the system menu,
// keys seen by the form first, centred on the desktop, and a frame drawn from the form skin. The frame can be
// dragged only when `draggable`; the size stays as the form sets it.
TspSkinForm* SkinAppDialog(TForm* form, bool draggable = false);

// A new control of class T on `parent` at (x, y, width, height).
template <class T> T* PlaceControl(TWinControl* parent, int x, int y, int width, int height)
{
    auto* control = new T(parent);
    control->SetBounds(x, y, width, height);
    control->SetParent(parent);
    return control;
}

// The same for a skinned control, which wears DialogSkin().
template <class T> T* PlaceSkinned(TWinControl* parent, int x, int y, int width, int height)
{
    auto* control = PlaceControl<T>(parent, x, y, width, height);
    control->SetSkinData(DialogSkin());
    return control;
}

class TspSkinStdLabel;

class TspSkinPanel;

// A skinned panel at (x, y, width, height), aligned as `align` says.
TspSkinPanel* PlacePanel(TWinControl* parent, int x, int y, int width, int height, TAlign align = alNone);
// A skinned label showing `caption` at (x, y); with a width, it keeps that width whatever its text.
TspSkinStdLabel* PlaceLabel(TWinControl* parent, int x, int y, std::string_view caption, int width = 0);
