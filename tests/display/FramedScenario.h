// A form of framed controls (panels, the size panel, a label, an edit, a memo, buttons), shown and painted on a
// stage, then its size panel collapsed by a click on the hot spot: the screens and a few facts of each.
#pragma once
#include "tests/display/TWindowStage.h"

#include <string>
#include <vector>

struct TFramedScreens {
    std::vector<TStagePixels> Screens;
    std::vector<std::string> Facts;
};

TFramedScreens PlayFramedForm(TWindowStage& stage);
