// Skinned forms on a real display: the same forms are played on the headless backend and on the SDL backend
// under Xvfb, and must show the same pixels (the shaped face, the skinned frame) and take clicks and drags
// alike.
#include "tests/display/SkinFormScenario.h"
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

TEST(SkinFormsDisplay, PictureAndFrameFormsBehaveAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlaySkinnedForms(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "corner: below", "face: picture", "clicked play", "picture at 180,170 160x120",
            "below pressed at 90,80" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlaySkinnedForms(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(Differing(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
