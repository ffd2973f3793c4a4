// The main window's preview player on a stage: a clip made here played into the preview image, cropped and
// letterboxed, its trim bar shown, and the track bar clicked to seek. The facts of each step and chosen pixels.
#pragma once
#include "tests/display/SkinFormScenario.h"

// The chosen pixels are those of the frame that do not change from frame to frame (the bars, the red band and
// the grey), so a real decoder's timing does not matter.
TSkinFormScreens PlayMainPreview(TWindowStage& stage);
