// A form of framed controls on a real display: the same form is built on the headless backend and on the SDL
// backend under Xvfb, and the two must show the same pixels, before and after the size panel's hot spot is
// clicked.
#include "tests/display/FramedScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

namespace {

std::string Differences(const TStagePixels& expected, const TStagePixels& actual)
{
    if (expected.Pixels.size() != actual.Pixels.size())
        return "the grabs differ in size";
    const int width = expected.Area.right - expected.Area.left;
    size_t count = 0;
    std::string first;
    for (size_t i = 0; i < expected.Pixels.size(); ++i) {
        if (expected.Pixels[i] == actual.Pixels[i])
            continue;
        if (++count <= 5) {
            char text[96];
            snprintf(text, sizeof text, " (%d,%d) %06x not %06x;", expected.Area.left + int(i % size_t(width)),
                expected.Area.top + int(i / size_t(width)), actual.Pixels[i], expected.Pixels[i]);
            first += text;
        }
    }
    return std::to_string(count) + " pixels differ:" + first;
}

} // namespace

TEST(FramedControlsDisplay, AFormOfFramedControlsShowsTheHeadlessPixels)
{
    TFramedScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayFramedForm(headless);
        headless.Stop();
    }
    TFramedScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlayFramedForm(real);
        real.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "panel ring: shadow", "edit frame: navy", "memo frame: darkened", "side width: 8" }));
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_TRUE(actual.Screens[i].Pixels == expected.Screens[i].Pixels)
            << "screen " << i << ": " << Differences(expected.Screens[i], actual.Screens[i]);
}
