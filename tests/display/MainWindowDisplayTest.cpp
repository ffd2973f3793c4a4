// The main window on a real display under Xvfb, against the same scenario on the headless backend: two clips
// dropped on its list from our own XDND source, a row clicked and moved with Ctrl+Up, another removed with the
// face button. The facts and the pixels of the tool bar and of the list must agree.
#include "tests/display/MainWindowScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>
#include <set>

TEST(MainWindowDisplay, DroppedClipsAreChosenMovedAndRemovedWithThePointerTheKeysAndTheFace)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayMainWindow(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "empty: background yes, Go no", "dropped: a.avi, b.avi (selected 0)",
            "clicked: a.avi, b.avi (selected 1), Up yes", "moved up: b.avi, a.avi (selected 0)",
            "removed: a.avi (selected 0)" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlayMainWindow(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i) {
        const std::vector<uint32_t>& pixels = expected.Screens[i].Pixels;
        EXPECT_GT(std::set<uint32_t>(pixels.begin(), pixels.end()).size(), 2u) << "screen " << i;
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
    }
}
