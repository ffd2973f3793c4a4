// The skinned lists on a real display: each scenario is played on the headless backend and on the SDL backend
// under Xvfb, and the facts and pixels of both must agree. The combo boxes' drop-down lists (under openbox): a
// combo's list opened by a click and an item chosen with the keys, another list closed by a click outside it, and
// a check combo toggled from its open list. The skinned list view of 10,000 rows scrolled by its bars' thumbs, the
// wheel and the keys, its bars following.
#include "tests/display/SkinListViewScenario.h"
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

TEST(SkinListsDisplay, AListViewOfTenThousandRowsScrolledByThumbsWheelAndKeysKeepsItsBarsInStepAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlaySkinListView(headless, TP_SKIN_DIR);
        headless.Stop();
    }
    // Each step as the view's rules give it: the thumb's 60 pixels of a 10,000-row track, 3 rows a notch.
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "skin loaded: yes", "bars shown: yes, yes", "start: top 0 bar 0, left 0 bar 0",
            "vertical thumb dragged: top 3842 bar 3842, left 0 bar 0",
            "horizontal thumb dragged: top 3842 bar 3842, left 65 bar 65", "view focused: yes",
            "wheel down 2: top 3848 bar 3848, left 65 bar 65", "wheel up 1: top 3845 bar 3845, left 65 bar 65",
            "page down twice: top 3856 bar 3856, left 65 bar 65", "end: top 9988 bar 9988, left 65 bar 65",
            "home: top 0 bar 0, left 65 bar 65" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlaySkinListView(real, TP_SKIN_DIR);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
