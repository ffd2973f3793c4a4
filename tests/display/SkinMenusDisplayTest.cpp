// The skinned popup menu and hint on a real display: the same scenarios are played on the headless backend and
// on the SDL backend under Xvfb, and must open at the same place relative to the cursor, run the same item and
// show the same pixels at the chosen points.
#include "tests/display/SkinMenuScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

namespace {


template <class TPlay> TSkinFormScreens PlayHeadless(TPlay play)
{
    THeadlessStage headless;
    headless.Start();
    TSkinFormScreens result = play(headless);
    headless.Stop();
    return result;
}

template <class TPlay> TSkinFormScreens PlayOn(TXSession& session, TPlay play)
{
    TSdlStage real(session);
    real.Start();
    TSkinFormScreens result = play(real);
    real.Stop();
    return result;
}

} // namespace

TEST(SkinMenusDisplay, ARightClickOpensTheControlsSkinnedMenuAtTheCursorAndTheKeysChooseAnItem)
{
    const TSkinFormScreens expected = PlayHeadless(PlaySkinnedPopupMenu);
    // Each item's corner and face: the navy-framed highlight on the first item at opening, on Save after two
    // Downs (past Recent, whose submenu stays closed).
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "menu at cursor 0,0",
            "opened: 000080/b6bdd2 d4d0c8/ffffff d4d0c8/ffffff d4d0c8/ffffff",
            "two down: d4d0c8/ffffff d4d0c8/ffffff 000080/b6bdd2 d4d0c8/ffffff", "ran Save", "menu closed: yes" }));
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    const TSkinFormScreens actual = PlayOn(SharedXSession(options), PlaySkinnedPopupMenu);
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}

TEST(SkinMenusDisplay, TheSkinnedHintShowsAfterItsPauseOverAControlWithAHint)
{
    const TSkinFormScreens expected = PlayHeadless(PlaySkinnedHint);
    // Below the cursor by half the cursor's height and 4; the default look's clBtnShadow frame on clInfoBk.
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "shown at once: no", "skinned: yes",
            "hint at cursor 0,20 125x17 \"Convert the checked files\"", "pixels: 808080 ffffe1 808080 ffffe1" }));
    const TSkinFormScreens actual = PlayOn(SharedXSession(), PlaySkinnedHint);
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
