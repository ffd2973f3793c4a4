// The skinned bars and containers on a stage: a tool bar scrolling its buttons with its arrow, a splitter dragged
// between two panels, an expandable panel rolled up and down by its button, and a radio group changed with the
// keys. The facts of each step and the pixels of the form at the end of each.
#pragma once
#include "tests/display/SkinFormScenario.h"

TSkinFormScreens PlaySkinBars(TWindowStage& stage);
