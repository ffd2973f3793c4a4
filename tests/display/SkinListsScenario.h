// The skinned combo boxes' drop-down lists on a stage: a combo's list opened by a click and an item chosen with
// the keys, another list closed by a click outside it, and a check combo toggled from its open list. The facts of
// each step and the pixels of the open lists.
#pragma once
#include "tests/display/SkinFormScenario.h"

// A form with two combo boxes and a check combo box, played as the comment above says.
TSkinFormScreens PlayDropDowns(TWindowStage& stage);
