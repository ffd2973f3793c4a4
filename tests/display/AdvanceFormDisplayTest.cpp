// The advanced settings window on a real display under Xvfb, against the same scenario on the headless backend: a
// crop dragged over the preview picture, the end marker dragged back, and OK writing both into the job. The facts
// and the pixels of the preview and of the marker track must agree.
#include "tests/display/AdvanceFormScenario.h"
#include "tests/display/HeadlessAgreement.h"

#include <gtest/gtest.h>

TEST(AdvanceFormDisplay, ACropAndATrimAreDraggedWithTheMouseAndOkWritesThem)
{
    ExpectRealDisplayAgreesWithHeadless(PlayAdvanceForm,
        { "opens with: 00:00:00 to 00:00:06 ", "crop: 20 60 20 40", "end: 00:00:03 ",
            "closed with OK: yes", "job: crop 20 60 20 40, ends at 3" }, { {}, true });
}
