// The profile editor and the output settings window on a stage: a new MP4 profile made, its size and bit rate
// typed, saved; then the output settings window switching format with its radio buttons. The facts of each step
// and the pixels of the choices they changed.
#pragma once
#include "tests/display/SkinFormScenario.h"

// Runs over a program folder of its own, with a few stored profiles, which it removes at the end.
TSkinFormScreens PlayProfileWindows(TWindowStage& stage);
