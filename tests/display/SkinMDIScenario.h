// A skinned MDI main form with a main-menu bar, a tab bar and three skinned children on a stage: tiled, one child
// maximized by its caption button (the menu bar shows its buttons), another chosen from the tab bar. The screens
// and facts of each step.
#pragma once
#include "tests/display/SkinFormScenario.h"

TSkinFormScreens PlaySkinnedMDIForms(TWindowStage& stage);
