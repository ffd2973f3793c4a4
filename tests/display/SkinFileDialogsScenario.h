// The skinned open and folder dialogs on a stage, over a temporary tree (HOME and the XDG folders pointed into
// it): the open dialog browsed into a folder by a double click, filtered by type with the keys in the filter
// box, and a file whose name holds spaces and letters beyond ASCII chosen by a click and Return; the folder
// dialog making a new folder, which the keys select and OK returns. The facts of each step and the pixels of the
// filtered list.
#pragma once
#include "tests/display/SkinFormScenario.h"

TSkinFormScreens PlayFileDialogs(TWindowStage& stage);
