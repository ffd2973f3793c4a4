// A skinned main form in its skinned frame, maximized, restored and minimized by its caption buttons, and given
// back by the window manager. The facts of each step.
#pragma once
#include "tests/display/SkinFormScenario.h"

#include <functional>
#include <string>

// What the display's window manager says of the main form, and how it gives a minimized form back.
struct TWindowManagerProbe {
    // "maximized", "minimized" or "normal" (the headless display: always what the window layer did).
    std::function<std::string(HWND)> State;
    // The window manager restores (de-iconifies) the form.
    std::function<void(HWND)> Restore;
};

TSkinFormScreens PlaySkinnedFormStates(TWindowStage& stage, const TWindowManagerProbe& probe);
