// The advanced settings window on a stage, over a paused preview of a clip the scenario makes: a frame handed to
// it, a crop dragged over the picture, the end marker dragged back, and OK. The facts of each step and the pixels
// of the preview and of the marker track.
#pragma once
#include "tests/display/SkinFormScenario.h"

// Runs over a program folder of its own, with one stored profile and the clip, which it removes at the end.
TSkinFormScreens PlayAdvanceForm(TWindowStage& stage);
