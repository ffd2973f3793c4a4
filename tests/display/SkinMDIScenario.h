// A skinned MDI main form with a tab bar and three skinned children on a stage: tiled, one child maximized by its
// caption button, another chosen from the tab bar. The screens and facts of each step.
#pragma once
#include "tests/display/SkinFormScenario.h"

TSkinFormScreens PlaySkinnedMDIForms(TWindowStage& stage);
