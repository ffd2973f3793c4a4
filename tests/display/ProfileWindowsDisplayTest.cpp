// The profile editor and the output settings window on a real display: the same scenario is played on the
// headless backend and on the SDL backend under Xvfb. A new MP4 profile gets its size and bit rate typed and is
// saved, and the file holds them; the output settings window switches format with its radio buttons and its
// profile list follows. The facts and the pixels of the changed choices must agree.
#include "tests/display/ProfileWindowsScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>
#include <set>

TEST(ProfileWindowsDisplay, ANewProfileIsTypedAndSavedAndTheOutputSettingsListFollowsItsRadioButtons)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayProfileWindows(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "new: New MP4 Profile", "size: 176 x 144 (QCIF)",
            "asked: Do You Want To Save Profile:\nHandheld?", "stored: 176 x 144 at 640000", "opens on: Archive",
            "MOV Video Settings: Clip, Film", "MP4 Video Settings: Handheld, Phone" }));
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession());
        real.Start();
        actual = PlayProfileWindows(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i) {
        // The choice's face and text, not an empty screen.
        const std::vector<uint32_t>& pixels = expected.Screens[i].Pixels;
        EXPECT_GT(std::set<uint32_t>(pixels.begin(), pixels.end()).size(), 2u) << "screen " << i;
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
    }
}
