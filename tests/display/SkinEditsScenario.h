// The skinned edit, spin edit and memo typed into on a stage, and the edit's context menu pasting the text a
// clipboard setter puts there (another X client's on a real display): what each step left, as facts.
#pragma once
#include "tests/display/TWindowStage.h"

#include <functional>
#include <string>
#include <vector>

std::vector<std::string> PlaySkinEdits(
    TWindowStage& stage, const std::function<void(const std::string&)>& setClipboard);
