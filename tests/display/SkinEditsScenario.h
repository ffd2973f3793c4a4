// The skinned edit, spin edit and memo typed into on a stage, and the edit's context menu pasting the text a
// clipboard setter puts there (another X client's on a real display): what each step left, as facts.
#pragma once
#include "tests/display/TWindowStage.h"

#include <functional>
#include <string>
#include <vector>

std::vector<std::string> PlaySkinEdits(
    TWindowStage& stage, const std::function<void(const std::string&)>& setClipboard);

// A skinned spin edit whose long number gave way to a short one: the screen over it, where the number stands on
// the edit's face (a 100 x 24 piece of a generated sheet, seed kSpinFaceSeed, from its top left).
constexpr uint32_t kSpinFaceSeed = 5;
TStagePixels PlaySpinEditFace(TWindowStage& stage);
