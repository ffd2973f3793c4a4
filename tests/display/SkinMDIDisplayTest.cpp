// Skinned MDI forms on a real display under a window manager: the same main form, bars and children are played
// on the headless backend and on the SDL backend under Xvfb with openbox, and must show the same pixels and end in
// the same states.
#include "tests/display/SkinMDIScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

TEST(SkinMDIDisplay, TilingMaximizingAndChoosingFromTheTabBarBehaveAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlaySkinnedMDIForms(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "tabs: One Two Three*", "One at 0,2 450x90", "Two at 0,92 450x90",
            "Three at 0,182 450x90", "Two maximized", "Two at 0,0 450x272", "Main - [Two]", "menu bar buttons: 4",
            "tabs: One* Two Three", "active One" }));
    TSkinFormScreens actual;
    {
        TXSessionOptions options;
        options.WindowManager = TWindowManager::Openbox;
        TSdlStage real(SharedXSession(options));
        real.Start();
        actual = PlaySkinnedMDIForms(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
