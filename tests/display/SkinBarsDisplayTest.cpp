// The skinned bars and containers on a real display: the same scenario is played on the headless backend and on
// the SDL backend under Xvfb. A tool bar scrolled by its arrow, a splitter dragged, an expandable panel rolled up
// and down, a radio group changed with the keys; the facts and the form's pixels must agree.
#include "tests/display/SkinBarsScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

namespace {

size_t Differing(const TStagePixels& a, const TStagePixels& b)
{
    if (a.Pixels.size() != b.Pixels.size())
        return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i)
        count += a.Pixels[i] != b.Pixels[i];
    return count;
}

} // namespace

TEST(SkinBarsDisplay, ScrollingDraggingRollingAndKeysAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlaySkinBars(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "tool bar arrows: yes, client 176", "tool bar position: 124", "left panel: 110",
            "rolled: yes 21", "rolled: no 120", "radio: 1" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlaySkinBars(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(Differing(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
