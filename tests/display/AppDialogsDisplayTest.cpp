// The program's add-folder dialog and options window on a real display under Xvfb, against the same scenarios
// on the headless backend: the search of a temporary tree of 2,000 files with the window painting its count
// meanwhile and Escape keeping what was found; the options window changing a decoder mode in DecoderMode.cfg.
#include "codecs/testclips/TTestFolder.h"
#include "tests/display/AppDialogsScenario.h"
#include "tests/display/TSdlStage.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/VirtualKeys.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// 2,000 clips, one per folder, so that each folder is one hand-over to the window.
void MakeTree(const std::string& root)
{
    for (int i = 0; i < 2000; ++i) {
        const std::string folder = root + "/part " + std::to_string(i / 100) + "/" + std::to_string(i);
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/clip.avi") << "x";
    }
}

} // namespace

TEST(AppDialogsDisplay, TheAddFolderSearchPaintsAsItGoesAndEscapeKeepsWhatItFound)
{
    TTestFolder tree;
    MakeTree(tree.Path());
    const std::vector<std::string> expected = { "height: 423", "button enabled: yes", "searching: Stop, height 481",
        "count repainted while searching: yes", "still searching: yes", "closed by Escape: yes", "kept as counted: yes",
        "stopped before the end: yes", "nothing after closing: yes" };
    {
        THeadlessStage headless;
        headless.Start();
        const TAppDialogScreens played
            = PlayAddFolderSearch(headless, tree.Path(), [&] { headless.Backend().Key(VK_ESCAPE); });
        headless.Stop();
        EXPECT_EQ(played.Facts, expected);
    }
    TSdlStage real(SharedXSession());
    real.Start();
    const TAppDialogScreens played = PlayAddFolderSearch(real, tree.Path(), [&] { real.Session().Key("Escape"); });
    real.Stop();
    EXPECT_EQ(played.Facts, expected);
}

TEST(AppDialogsDisplay, TheOptionsWindowChangesADecoderModeOnDisk)
{
    TAppDialogScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = PlayOptionsEdit(headless);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "edits show: .mkv", "mode chosen: DirectShow Decoder Only",
            ".mkv on disk: 3, .avi on disk: 1", ".mkv for later probes: 3" }));
    TSdlStage real(SharedXSession());
    real.Start();
    const TAppDialogScreens actual = PlayOptionsEdit(real);
    real.Stop();
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_TRUE(expected.Screens[i].Pixels == actual.Screens[i].Pixels) << "screen " << i;
}
