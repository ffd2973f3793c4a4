// The skinned list view on a stage: an owner-data report view of 10,000 rows in the program's own skin, with its
// skinned column header and two external skinned bars, scrolled by dragging each bar's thumb, by the wheel and by
// the keys. After each step the facts say where the view and its bars stand; the screens are the view with its
// bars.
#pragma once
#include "tests/display/SkinFormScenario.h"

// Plays the scenario with the skin of `skinFolder` (the folder holding Skin.ini).
TSkinFormScreens PlaySkinListView(TWindowStage& stage, const std::string& skinFolder);
