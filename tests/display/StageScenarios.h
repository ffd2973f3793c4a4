// Scenarios the display tests play on the headless stage and on the real display, each giving what the two
// must agree on: the named message steps and the screen pixels.
#pragma once
#include "tests/display/TWindowStage.h"

#include <string>
#include <vector>

struct TScenarioResult {
    std::vector<std::string> Steps;
    std::vector<TStagePixels> Screens;
    // Facts a scenario checks on each stage by itself ("focus: edit"), compared too.
    std::vector<std::string> Facts;
};

// A form with a framed child and a caption text, and an owned top-most popup over its corner, all painted.
TScenarioResult FormChildAndPopupPixels(TWindowStage& stage);
// An inactive form: move onto a child of a child, press, release.
TScenarioResult ClickOnAChild(TWindowStage& stage);
// Press in a form, leave it with the button held (with the form's capture or without), release outside.
TScenarioResult DragLeavingTheWindow(TWindowStage& stage, bool capture);
// A form with a focused child shows an owned popup without activation, and the popup is clicked.
TScenarioResult PopupKeepsTheOwnersFocus(TWindowStage& stage);
// A form shaped to a frame with a hole over another one: clicks in the hole reach the one below.
TScenarioResult ShapedWindowPassesClicksThrough(TWindowStage& stage);
// A window at half opacity over another one, where the display can blend (else the facts say it cannot).
TScenarioResult HalfTransparentWindow(TWindowStage& stage);
// Files dropped on a child of a form that takes drops.
TScenarioResult DroppedFiles(TWindowStage& stage, const std::vector<std::string>& paths);
// An edit and a memo typed into, a selection by the keys copied from the edit and pasted into the memo, with
// the caret shown steadily (it does not blink).
TScenarioResult TypingAndPastingIntoEdits(TWindowStage& stage);
