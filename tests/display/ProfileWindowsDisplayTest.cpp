// The profile editor and the output settings window on a real display: the same scenario is played on the
// headless backend and on the SDL backend under Xvfb. A new MP4 profile gets its size and bit rate typed and is
// saved, and the file holds them; the output settings window switches format with its radio buttons and its
// profile list follows. The facts and the pixels of the changed choices must agree.
#include "tests/display/ProfileWindowsScenario.h"
#include "tests/display/HeadlessAgreement.h"

#include <gtest/gtest.h>

TEST(ProfileWindowsDisplay, ANewProfileIsTypedAndSavedAndTheOutputSettingsListFollowsItsRadioButtons)
{
    ExpectRealDisplayAgreesWithHeadless(PlayProfileWindows,
        { "new: New MP4 Profile", "size: 176 x 144 (QCIF)",
            "asked: Do You Want To Save Profile:\nHandheld?", "stored: 176 x 144 at 640000", "opens on: Archive",
            "MOV Video Settings: Clip, Film", "MP4 Video Settings: Handheld, Phone" }, { {}, true });
}
