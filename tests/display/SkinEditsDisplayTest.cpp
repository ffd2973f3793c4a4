// The skinned edit, spin edit and memo on a real display under Xvfb: text typed with the keyboard (beyond
// ASCII too), the edit's context menu pasting what another X client put on the clipboard, and a spin edit's
// number on its face as the headless render shows it.
#include "skin/testing/TFixtureSkin.h"
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

TEST(SkinEditsDisplay, ASpinEditsNumberStandsOnItsFaceAsInTheHeadlessRender)
{
    TStagePixels expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlaySpinEditFace(headless);
        headless.Stop();
    }
    ASSERT_EQ(expected.Pixels.size(), 100u * 24u);
    // Right of the "1" and where the long number stood, the face shows through the number's edit.
    for (int x : { 40, 70 })
        EXPECT_EQ(expected.At(expected.Area.left + x, expected.Area.top + 12) & 0xFFFFFF,
            TFixtureSkin::PixelOf(x, 12, kSpinFaceSeed))
            << "x " << x;
    TStagePixels actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlaySpinEditFace(real);
        real.Stop();
    }
    EXPECT_EQ(DifferingPixels(expected, actual), 0u);
}
