// The path routines of the file-system controls on temporary trees; every case leaves the process's current
// folder where it found it.
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/dialogs/SkinDialogGlyphs.h"
#include "skin/dialogs/spfilectrl.h"
#include "tests/platform/ShellTestSupport.h"

#include <filesystem>

using namespace spfilectrl;

namespace {

class FileCtrlPathsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Start = GetCurrentDir();
        Tree = Home.Root() + "/tree é";
        std::filesystem::create_directories(Tree + "/sub/deeper");
        Home.Write(Tree + "/file.txt", "x");
        Home.Write(Tree + "/sub/clip.mp4", "x");
    }
    void TearDown() override { EXPECT_EQ(GetCurrentDir(), Start) << "the current folder is restored"; }

    TShellTestHome Home;
    std::string Tree;
    std::string Start;
};

TEST_F(FileCtrlPathsTest, DirectoryExistsAndForceDirectories)
{
    EXPECT_TRUE(spfilectrl::DirectoryExists(Tree));
    EXPECT_FALSE(spfilectrl::DirectoryExists(Tree + "/file.txt"));
    EXPECT_FALSE(spfilectrl::DirectoryExists(""));
    EXPECT_FALSE(spfilectrl::DirectoryExists(Tree + "/missing"));

    EXPECT_TRUE(spfilectrl::ForceDirectories(Tree + "/a/b/c/"));
    EXPECT_TRUE(spfilectrl::DirectoryExists(Tree + "/a/b/c"));
    EXPECT_TRUE(spfilectrl::ForceDirectories("/"));
    EXPECT_FALSE(spfilectrl::ForceDirectories(""));
    EXPECT_FALSE(spfilectrl::ForceDirectories(Tree + "/file.txt/below")) << "a file in the way";

    // Short names are created like any other (they used to count as done without being made).
    ChDir(Tree);
    EXPECT_TRUE(spfilectrl::ForceDirectories("ab"));
    EXPECT_TRUE(spfilectrl::DirectoryExists(Tree + "/ab"));
    ChDir(Start);
}

TEST_F(FileCtrlPathsTest, DropFirstFolderAndMinimizeName)
{
    struct Case {
        std::string In, Out;
    };
    for (const Case& c : { Case { "/", "" }, Case { "/a/b/", "/.../b/" }, Case { "/.../b/", "/.../" }, Case { "/.../", "/" },
             Case { "a/b/", ".../b/" }, Case { ".../", "" }, Case { "a", "" } }) {
        std::string s = c.In;
        DropFirstFolder(s);
        EXPECT_EQ(s, c.Out) << c.In;
    }

    const auto chars = [](const std::string& text) { return static_cast<int>(text.size()); };
    const std::string name = "/usrlocal/share/doc/x.txt";
    struct Fit {
        int MaxLen;
        std::string Result;
    };
    for (const Fit& fit : { Fit { 100, name }, Fit { 25, name }, Fit { 24, "/.../share/doc/x.txt" }, Fit { 19, "/.../doc/x.txt" },
             Fit { 10, "/.../x.txt" }, Fit { 9, ".../x.txt" }, Fit { 8, "x.txt" }, Fit { 0, "x.txt" } })
        EXPECT_EQ(MinimizeName(name, chars, fit.MaxLen), fit.Result) << fit.MaxLen;

    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/", "b"), "/b");
    EXPECT_EQ(PathDepth("/a/b/c"), 3);
}

TEST_F(FileCtrlPathsTest, ProcessPathSplitsTypedAndListedPaths)
{
    ChDir(Tree);
    struct Case {
        std::string Text, Dir, File;
    };
    const Case cases[] = {
        { "[sub]", Tree + "/sub", "" },
        { "*.txt", Tree, "*.txt" },
        { "file.txt", Tree, "file.txt" },
        { "sub/clip.mp4", Tree + "/sub", "clip.mp4" },
        { "sub/deeper", Tree + "/sub/deeper", "" },
        { Tree + "/sub/*.mp4", Tree + "/sub", "*.mp4" },
        { "/", "/", "" },
        { "../" + std::filesystem::path(Tree).filename().string() + "/sub", Tree + "/sub", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        char drive = 0;
        std::string dir, file;
        ProcessPath(c.Text, drive, dir, file);
        EXPECT_EQ(drive, '/');
        EXPECT_EQ(dir, c.Dir);
        EXPECT_EQ(file, c.File);
        EXPECT_EQ(GetCurrentDir(), Tree);
    }
    for (const std::string bad : { "missing/x.txt", "nothing-here", "[missing]" }) {
        char drive = 0;
        std::string dir, file;
        EXPECT_THROW(ProcessPath(bad, drive, dir, file), EInOutError) << bad;
        EXPECT_EQ(GetCurrentDir(), Tree);
    }
    ChDir(Start);
}

TEST_F(FileCtrlPathsTest, VolumeNames)
{
    EXPECT_EQ(DriveVolumeLabel("/nonexistent-mount"), "[]");
    const std::string label = DriveVolumeLabel(Tree);
    EXPECT_EQ(label.front(), '[');
    EXPECT_EQ(label.back(), ']');
    EXPECT_EQ(DriveRemoteName(Tree), label) << "a local mount has no remote name";
}

TEST(FileCtrlFilters, FilterPairsAndSaveNames)
{
    std::vector<std::string> descriptions, masks;
    ParseFilter("A|*.a|B|*.b|C", descriptions, masks);
    EXPECT_EQ(descriptions, (std::vector<std::string> { "A", "B" }));
    EXPECT_EQ(masks, (std::vector<std::string> { "*.a", "*.b" }));
    ParseFilter("Videos|*.mp4;*.avi", descriptions, masks);
    EXPECT_EQ(masks, (std::vector<std::string> { "*.mp4;*.avi" }));
    ParseFilter("", descriptions, masks);
    EXPECT_TRUE(descriptions.empty() && masks.empty());
    ParseFilter("All files|", descriptions, masks);
    EXPECT_EQ(masks, (std::vector<std::string> { "" }));

    struct Case {
        std::string Name, Mask, DefaultExt, Result;
    };
    const Case cases[] = {
        { "/d/foo", "*.txt", "", "/d/foo.txt" },
        { "/d/foo", "*.txt", "doc", "/d/foo.txt" },
        { "/d/foo", "*.*", "doc", "/d/foo.doc" },
        { "/d/foo", "*.*", "", "/d/foo" },
        { "/d/foo", "*.bmp;*.ico", "", "/d/foo.bmp" },
        { "/d/foo.png", "*.bmp", "doc", "/d/foo.png" },
        { "/d.x/foo", "*.t?t", "", "/d.x/foo" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompleteSaveFileName(c.Name, c.Mask, c.DefaultExt), c.Result) << c.Name << " " << c.Mask << " " << c.DefaultExt;
}

// Every glyph is 16 x 16 with its background in the bottom-left corner and a picture on it; other names load
// nothing.
TEST(DialogGlyphs, DrawnByName)
{
    for (const char* name : { "SP_BACK", "SP_UP", "SP_NEWFOLDER", "SP_LVSTYLE", "SP_STRETCH", "SP_PLAY", "SP_STOP", "SP_FLOPPY",
             "SP_HARD", "SP_NETWORK", "SP_CDROM", "SP_RAM", "SP_CLOSEDFOLDER", "SP_OPENFOLDER", "SP_CURRENTFOLDER", "SP_PRIORMONTH", "SP_NEXTMONTH",
             "SP_PRIORYEAR", "SP_NEXTYEAR" }) {
        SCOPED_TRACE(name);
        TBitmap bitmap;
        ASSERT_TRUE(LoadDialogGlyph(&bitmap, name));
        ASSERT_EQ(bitmap.Width(), 16);
        ASSERT_EQ(bitmap.Height(), 16);
        const TColor background = bitmap.Canvas()->Pixels(0, 15);
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += bitmap.Canvas()->Pixels(x, y) != background;
        EXPECT_GT(drawn, 12);
    }
    TBitmap bitmap;
    bitmap.SetSize(3, 3);
    EXPECT_FALSE(LoadDialogGlyph(&bitmap, "SP_NOSUCHGLYPH"));
    EXPECT_EQ(bitmap.Width(), 3);
}

} // namespace
