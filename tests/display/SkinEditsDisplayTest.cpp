// The skinned edit, spin edit and memo on a real display under Xvfb: text typed with the keyboard (beyond
// ASCII too), and the edit's context menu pasting what another X client put on the clipboard.
#include "tests/display/SkinEditsScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

TEST(SkinEditsDisplay, TypingIntoSkinnedEditsAndPastingAnotherClientsClipboardThroughTheMenu)
{
    TSdlStage stage(SharedXSession());
    stage.Start();
    const std::vector<std::string> facts
        = PlaySkinEdits(stage, [&](const std::string& text) { stage.Session().SetClipboardText(text); });
    stage.Stop();
    const std::vector<std::string> expected = { "edit focused: yes", "edit: Grüße €", "spin focused: yes", "spin: 42",
        "spin: 43", "memo: één", "paste enabled: yes", "pasted: from xclip ✓" };
    EXPECT_EQ(facts, expected);
}
