// The main window on the headless display: its face and areas, the control states, the commands on the job list,
// the face buttons and shortcuts, the profile combo, the add road (open dialog, drops, folder search) with the real
// analysis and output settings windows over clips the tests make, the output folder, and closing during an add.
#include "tests/app/MainWindowTestSupport.h"

#include "app/JobList.h"
#include "framed/FrPanel.h"
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "imaging/TBitmap32.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBoxEx.h"

namespace {

TEST_F(MainWindowTest, TheFaceHoldsItsControlsInTheSkinsAreas)
{
    Open();
    EXPECT_EQ(Window->Caption(), "Tarnwick Pro");
    EXPECT_EQ(Window->ClientWidth(), 785);
    EXPECT_EQ(Window->ClientHeight(), 521);
    struct Case {
        const char* Name;
        TControl* Control;
        TRect Place;
    };
    const Case cases[] = {
        { "list panel", Window->SkinPanelFileList, { 12, 96, 529, 404 } },
        { "output folder", Window->edtOutputFolder, { 110, 451, 436, 475 } },
        { "preview", Window->PreviewPanel, { 541, 96, 773, 270 } },
        { "track bar", Window->tbPreview, { 541, 276, 720, 298 } },
        { "progress panel", Window->ConvertInfoPanel, { 541, 342, 773, 446 } },
        { "profile combo", Window->cbOutputProfile, { 110, 417, 336, 441 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Control->BoundsRect(), c.Place);
    }
    // The markers sit under the track bar's two ends.
    EXPECT_EQ(Window->imgStartTime->Left(), 541);
    EXPECT_EQ(Window->imgEndTime->Left(), 541 + 179 - 9);
    EXPECT_EQ(Window->imgStartTime->Top(), 276 + 9 + 6);
}

} // namespace
