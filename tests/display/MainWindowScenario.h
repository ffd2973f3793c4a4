// The main window on a stage, in the program's skins, over a program folder of the scenario's own: two clips dropped
// on its list, a row chosen with the mouse and moved with the keys, one removed with its face button. What each
// step left, as facts, and chosen screens.
#pragma once
#include "tests/display/SkinFormScenario.h"

TSkinFormScreens PlayMainWindow(TWindowStage& stage);
