// The main window on a real display under Xvfb, against the same scenario on the headless backend: two clips
// dropped on its list from our own XDND source, a row clicked and moved with Ctrl+Up, another removed with the
// face button. The facts and the pixels of the tool bar and of the list must agree.
#include "tests/display/MainWindowScenario.h"
#include "tests/display/HeadlessAgreement.h"

#include <gtest/gtest.h>

TEST(MainWindowDisplay, DroppedClipsAreChosenMovedAndRemovedWithThePointerTheKeysAndTheFace)
{
    ExpectRealDisplayAgreesWithHeadless(PlayMainWindow,
        { "empty: background yes, Go no", "dropped: a.avi, b.avi (selected 0)",
            "clicked: a.avi, b.avi (selected 1), Up yes", "moved up: b.avi, a.avi (selected 0)",
            "removed: a.avi (selected 0)" }, { {}, true });
}
