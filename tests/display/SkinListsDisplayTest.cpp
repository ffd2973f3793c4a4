// The skinned combo boxes' drop-down lists on a real display: the same scenario is played on the headless backend
// and on the SDL backend under Xvfb with openbox. A combo's list opened by a click and an item chosen with the
// keys, another list closed by a click outside it, and a check combo toggled from its open list; the facts and
// the pixels of the open lists must agree.
#include "tests/display/SkinListsScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

TEST(SkinListsDisplay, DropDownListsOpenChooseCloseOutsideAndToggleAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayDropDowns(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "first open: yes", "below: yes", "form still active: yes",
            "first: gamma open no", "second open: yes", "second after outside click: open no, alpha",
            "checks open: yes above: no", "checks: \"green\" open yes", "focus kept: yes",
            "checks after Esc: open no, \"green\"", "checks reopened by its face: yes",
            "checks after a press on its button: open no, \"green\"" }));
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession(options));
        real.Start();
        actual = PlayDropDowns(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
