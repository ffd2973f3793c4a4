// Skinned forms on a stage: a picture-mode form cut by its mask over a plain form, clicked through its cut
// corner, on a button and dragged by its face, beside a frame-mode form in its skinned frame. The screens and
// facts of each step.
#pragma once
#include "tests/display/TWindowStage.h"

#include <string>
#include <vector>

class TFixtureSkin;

struct TSkinFormScreens {
    std::vector<TStagePixels> Screens;
    std::vector<std::string> Facts;
};

TSkinFormScreens PlaySkinnedForms(TWindowStage& stage);

// A 100 x 60 frame with a 20-pixel caption band holding the caption and the close, maximize and minimize buttons.
void WriteFrameSkin(TFixtureSkin& frame);

// A frame-mode form dragged by each of its edges and corners, then its caption buttons clicked (maximize twice,
// minimize, close): the form's bounds and states after each step.
std::vector<std::string> PlayFrameFormSizing(TWindowStage& stage);
