// Skinned forms on a real display: the same forms are played on the headless backend and on the SDL backend
// under Xvfb, and must show the same pixels (the shaped face, the skinned frame) and take clicks and drags
// alike.
#include "tests/display/SkinFormScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}

TEST(SkinFormsDisplay, AFrameFormSizesByEachEdgeAndCornerAndItsCaptionButtonsWorkAsHeadless)
{
    std::vector<std::string> expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayFrameFormSizing(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected,
        (std::vector<std::string> { "left at 290,200 210x160", "right at 290,200 220x160", "top at 290,190 220x170",
            "bottom at 290,190 220x180", "top-left at 280,180 230x190", "top-right at 280,170 240x200",
            "bottom-left at 270,170 250x210", "bottom-right at 270,170 260x220",
            "maximize over the work area maximized", "restore at 270,170 260x220 normal",
            "minimize at 0,743 100x25 minimized", "restore at 270,170 260x220 normal", "closed: yes" }));
    for (TWindowManager manager : { TWindowManager::Bare, TWindowManager::Openbox }) {
        SCOPED_TRACE(manager == TWindowManager::Bare ? "bare" : "openbox");
        TXSessionOptions options;
        options.WindowManager = manager;
        TXSession session(options);
        TSdlStage real(session);
        real.Start();
        EXPECT_EQ(PlayFrameFormSizing(real), expected);
        real.Stop();
    }
}
