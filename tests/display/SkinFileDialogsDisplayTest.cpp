// The skinned open and folder dialogs on a real display: the scenario of SkinFileDialogsScenario played on the
// headless backend and on the SDL backend under Xvfb with openbox; the facts and the pixels of the filtered
// file list must agree.
#include "tests/display/SkinFileDialogsScenario.h"
#include "tests/display/TSdlStage.h"

#include <gtest/gtest.h>

TEST(SkinFileDialogsDisplay, BrowseFilterChooseAndMakeAFolderAsHeadless)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayFileDialogs(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "shown: sub dir, top.avi", "after a double click: notes.txt, Été à la plage.avi",
            "filtered: Été à la plage.avi", "edit: Été à la plage.avi", "open: /sub dir/Été à la plage.avi",
            "folder shown: /films", "path edit: /films/New Folder", "folder: /New Folder" }));
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    TSkinFormScreens actual;
    {
        TSdlStage real(SharedXSession(options));
        real.Start();
        actual = PlayFileDialogs(real);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
