// The looks of the skinned controls, drawn into a controls sheet and described as skin-control records, and the
// popup menus, hint window and colours that both of the program's skins carry.
#pragma once
#include "tools/skinmaker/TSkinDescription.h"
#include "tools/skinmaker/TSkinPainter.h"

class TBitmap32;
class TSkinSheet;

namespace SkinControls {

// Each routine draws its images into `sheet`, whose picture becomes active picture `picture`, and adds the
// records, named as the controls look them up.
// "vscrollbar", "hscrollbar", "bothhscrollbar".
void AddScrollBars(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "htrackbar".
void AddTrackBar(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "combobox" with its drop-down "listbox" (whose bars are the scroll-bar records) and "combobutton".
void AddComboBox(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "button", "resizebutton", "HeadButton", "editbutton".
void AddButtons(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "checkbox", "radiobox".
void AddCheckRadio(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "gauge".
void AddGauge(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "panel", "groupbox".
void AddPanels(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "edit", "memo", "buttonedit", "spinedit", "hupdown", "vupdown".
void AddEdits(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "listview", "treeview".
void AddViews(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "tab" with its scroller "hupdown".
void AddTab(TSkinDescription& skin, TSkinSheet& sheet, int picture);
// "stdlabel", "bevel".
void AddLabels(TSkinDescription& skin);

// "POPUPWINDOW" and the "menuitem" object, each with an active picture of its own.
void AddPopupMenu(TSkinDescription& skin);
// "HINTWINDOW" with its window picture.
void AddHintWindow(TSkinDescription& skin);
// A mask of a rounded rectangle of the given size: black inside, white cut away.
void RoundMask(TBitmap32& mask, int width, int height, float radius);
// "SKINCOLORS", all ten.
void AddColors(TSkinDescription& skin);

// The font keys of a record: the theme's font in `colour`.
TSkinDescription::TKeyValues FontKeys(const TPaint& colour, bool bold = false);

} // namespace SkinControls
