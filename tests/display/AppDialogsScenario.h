// The program's add-folder dialog and options window on a stage, in the program's own skins, over a program
// folder of the scenario's own: what each step left, as facts, and chosen screens.
#pragma once
#include "tests/display/TWindowStage.h"

#include <functional>
#include <string>
#include <vector>

struct TAppDialogScreens {
    std::vector<TStagePixels> Screens;
    std::vector<std::string> Facts;
};

// The add-folder dialog searches `folder` (and its subfolders) for every supported type; the found count is
// grabbed twice while the search runs; `pressEscape` gives the display an Escape press without handling it.
TAppDialogScreens PlayAddFolderSearch(
    TWindowStage& stage, const std::string& folder, const std::function<void()>& pressEscape);

// The options window changes the decoder mode of .mkv with the mouse and the keys, Modify and OK; the facts
// include the mode DecoderMode.cfg then holds.
TAppDialogScreens PlayOptionsEdit(TWindowStage& stage);
