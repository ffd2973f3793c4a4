// The main window's preview player on a real display under Xvfb, against the same scenario on the headless
// backend: a clip played into the preview image with its crop letterboxed, the trim bar between the markers, the
// track bar clicked to seek. The facts and the chosen pixels must agree.
#include "tests/display/MainPreviewScenario.h"
#include "tests/display/HeadlessAgreement.h"

#include <gtest/gtest.h>

TEST(MainPreviewDisplay, AClipIsPreviewedLetterboxedAndSeekedByAClickOnTheTrackBar)
{
    ExpectRealDisplayAgreesWithHeadless(PlayMainPreview,
        { "frame drawn: yes, bar to 400, trim from 583 to 668", "seeked past 2.5 s: yes",
            "stopped: queue", "left bar black, band red, middle grey, right bar black", "trim bar lime" });
}
