// The advanced settings window on a real display under Xvfb, against the same scenario on the headless backend: a
// crop dragged over the preview picture, the end marker dragged back, and OK writing both into the job. The facts
// and the pixels of the preview and of the marker track must agree.
#include "tests/display/AdvanceFormScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>
#include <set>

TEST(AdvanceFormDisplay, ACropAndATrimAreDraggedWithTheMouseAndOkWritesThem)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayAdvanceForm(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "opens with: 00:00:00 to 00:00:06 ", "crop: 20 60 20 40", "end: 00:00:03 ",
            "closed with OK: yes", "job: crop 20 60 20 40, ends at 3" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlayAdvanceForm(real);
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
