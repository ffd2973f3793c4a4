// Skinned forms on a stage: a picture-mode form cut by its mask over a plain form, clicked through its cut
// corner, on a button and dragged by its face, beside a frame-mode form in its skinned frame. The screens and
// facts of each step.
#pragma once
#include "tests/display/TWindowStage.h"

#include <string>
#include <vector>

struct TSkinFormScreens {
    std::vector<TStagePixels> Screens;
    std::vector<std::string> Facts;
};

TSkinFormScreens PlaySkinnedForms(TWindowStage& stage);
