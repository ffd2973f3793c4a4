// The main window's preview player on a real display under Xvfb, against the same scenario on the headless
// backend: a clip played into the preview image with its crop letterboxed, the trim bar between the markers, the
// track bar clicked to seek. The facts and the chosen pixels must agree.
#include "tests/display/MainPreviewScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

TEST(MainPreviewDisplay, AClipIsPreviewedLetterboxedAndSeekedByAClickOnTheTrackBar)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayMainPreview(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "frame drawn: yes, bar to 400, trim from 583 to 668", "seeked past 2.5 s: yes",
            "stopped: queue", "left bar black, band red, middle grey, right bar black", "trim bar lime" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlayMainPreview(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
