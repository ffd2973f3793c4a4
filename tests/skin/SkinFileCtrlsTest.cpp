// The skinned directory list, file list and filter box on a temporary tree, linked as the file dialogs link
// them; every step leaves the process's current folder where it was.
#include "framework/controls/StdCtrls.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellDrives.h"
#include "skin/controls/SkinLabels.h"
#include "skin/dialogs/SkinFileCtrls.h"
#include "skin/dialogs/spfilectrl.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/skin/SkinListsTestSupport.h"

#include <filesystem>

namespace {

using TNames = std::vector<std::string>;

TNames ItemsOf(TStrings* items)
{
    TNames names;
    for (int i = 0; i < items->Count(); ++i)
        names.push_back(items->Strings(i));
    return names;
}

class SkinFileCtrlsTest : public SkinListsTest {
protected:
    void SetUp() override
    {
        SkinListsTest::SetUp();
        Start = GetCurrentDir();
        Tree = Home.Root() + "/tree é";
        std::filesystem::create_directories(Tree + "/sub/deeper");
        std::filesystem::create_directories(Tree + "/Another");
        Home.Write(Tree + "/notes.txt", "x");
        Home.Write(Tree + "/clip.mp4", "x");
        Home.Write(Tree + "/log.LOG", "x");
        Home.Write(Tree + "/sub/inner.txt", "x");
    }
    void TearDown() override
    {
        EXPECT_EQ(GetCurrentDir(), Start) << "the current folder is restored";
        SkinListsTest::TearDown();
    }

    TShellTestHome Home;
    std::string Tree;
    std::string Start;
};

TEST_F(SkinFileCtrlsTest, FilterBoxListsPairsAndSetsTheFileListsMask)
{
    auto* files = Place<TspSkinFileListBox>(10, 10, 150, 150);
    auto* filter = Place<TspSkinFilterComboBox>(170, 10, 150, 20);
    EXPECT_EQ(ItemsOf(filter->Items()), (TNames { "All files (*.*)" }));
    filter->SetFileList(files);
    filter->SetFilter("A|*.a|B|*.b|C");
    EXPECT_EQ(ItemsOf(filter->Items()), (TNames { "A", "B" }));
    EXPECT_EQ(filter->ItemIndex(), 0);
    EXPECT_EQ(files->Mask(), "*.a");
    filter->SetItemIndex(1);
    EXPECT_EQ(files->Mask(), "*.b");
    filter->SetItemIndex(-1);
    EXPECT_EQ(filter->GetMask(), "*.b") << "no selection: the last entry is selected first";
    EXPECT_EQ(filter->ItemIndex(), 1);
    filter->SetFilter("");
    EXPECT_EQ(filter->GetMask(), "*.*");
}

TEST_F(SkinFileCtrlsTest, FileListMasksAttributesAndTypedPaths)
{
    auto* files = Place<TspSkinFileListBox>(10, 10, 150, 150);
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    files->SetDirectory(Tree);
    files->SetMask("*.txt;*.LOG");
    EXPECT_EQ(ItemsOf(files->Items()), (TNames { "log.LOG", "notes.txt" }));
    files->SetFileEdit(edit);
    EXPECT_EQ(edit->Text(), "*.txt;*.LOG") << "no file selected: the edit shows the mask";

    files->SetFileType(TspFileType { spftDirectory });
    EXPECT_EQ(ItemsOf(files->Items()), (TNames {})) << "folders only, and the mask finds none";
    files->SetMask("*");
    EXPECT_EQ(ItemsOf(files->Items()), (TNames { "[..]", "[.]", "[Another]", "[sub]" }));
    files->SetFileType(TspFileType { spftNormal });
    files->SetMask("*.*");

    // A file the mask hides: the mask becomes its name and it is selected.
    files->SetMask("*.txt");
    files->ApplyFilePath("clip.mp4");
    EXPECT_EQ(files->Mask(), "clip.mp4");
    EXPECT_EQ(files->GetFileName(), "clip.mp4");
    EXPECT_EQ(files->GetFilePath(), Tree + "/clip.mp4");
    EXPECT_EQ(edit->Text(), "clip.mp4");
    // A typed folder and mask.
    files->ApplyFilePath("sub/*.txt");
    EXPECT_EQ(files->Directory(), Tree + "/sub");
    EXPECT_EQ(ItemsOf(files->Items()), (TNames { "inner.txt" }));

    EXPECT_THROW(files->SetDirectory(Tree + "/missing"), EInOutError);
    EXPECT_EQ(files->Directory(), Tree + "/sub") << "the list keeps its folder";
}

TEST_F(SkinFileCtrlsTest, DirectoryListShowsTheChainAndDrivesTheFileList)
{
    auto* dirs = Place<TspSkinDirectoryListBox>(10, 10, 150, 150);
    auto* files = Place<TspSkinFileListBox>(170, 10, 150, 150);
    dirs->SetFileList(files);
    int changes = 0;
    dirs->OnChange = [&](TObject*) { ++changes; };
    dirs->SetDirectory(Tree);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(files->Directory(), Tree);

    const TNames chain = [&] {
        TNames names { "/" };
        for (const auto& part : std::filesystem::path(Tree))
            if (part != "/")
                names.push_back(part.string());
        names.push_back("Another");
        names.push_back("sub");
        return names;
    }();
    EXPECT_EQ(ItemsOf(dirs->Items()), chain);
    const int current = dirs->Items()->Count() - 3;
    EXPECT_EQ(dirs->ItemIndex(), current);
    EXPECT_EQ(dirs->ItemKind(0), TspSkinDirectoryListBox::ikOpenFolder);
    EXPECT_EQ(dirs->ItemKind(current), TspSkinDirectoryListBox::ikCurrentFolder);
    EXPECT_EQ(dirs->ItemKind(current + 2), TspSkinDirectoryListBox::ikClosedFolder);
    EXPECT_EQ(dirs->GetItemPath(0), "/");
    EXPECT_EQ(dirs->GetItemPath(current), Tree);
    EXPECT_EQ(dirs->GetItemPath(current - 1), Home.Root());
    EXPECT_EQ(dirs->GetItemPath(current + 2), Tree + "/sub");
    EXPECT_EQ(dirs->GetItemPath(99), "");

    // Into a sub-folder by Enter, back up through an ancestor.
    dirs->SetItemIndex(current + 2);
    dirs->ListBox()->SetFocus();
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(dirs->Directory(), Tree + "/sub");
    EXPECT_EQ(files->Directory(), Tree + "/sub");
    EXPECT_EQ(ItemsOf(files->Items()), (TNames { "inner.txt" }));
    dirs->SetItemIndex(current);
    dirs->OpenCurrent();
    EXPECT_EQ(dirs->Directory(), Tree);

    // A label shows the folder, shortened from the front to the list's width.
    auto* label = Place<TspSkinStdLabel>(170, 200, 70, 20, false);
    label->SetAutoSize(false);
    label->SetWidth(70);
    dirs->SetDirLabel(label);
    EXPECT_NE(label->Caption(), Tree);
    EXPECT_NE(label->Caption().find(".../"), std::string::npos) << label->Caption();

    // The root alone is the current folder.
    dirs->SetDirectory("/");
    EXPECT_EQ(dirs->Items()->Strings(0), "/");
    EXPECT_EQ(dirs->ItemKind(0), TspSkinDirectoryListBox::ikCurrentFolder);

    const int before = changes;
    EXPECT_THROW(dirs->SetDirectory(Tree + "/missing"), EInOutError);
    EXPECT_EQ(dirs->Directory(), "/");
    EXPECT_EQ(changes, before);
}

TEST_F(SkinFileCtrlsTest, DriveBoxListsTheMountsAndFollowsTheChoice)
{
    auto* drives = Place<TspSkinDriveComboBox>(10, 10, 200, 20);
    ASSERT_FALSE(drives->DrivePaths().empty());
    EXPECT_EQ(drives->DrivePaths()[0], "/");
    const std::string first = drives->Items()->Strings(0);
    EXPECT_EQ(first.substr(0, 2), "/ ") << first;
    EXPECT_EQ(first.back(), ']') << "the volume label in brackets: " << first;
    drives->SetDrive("/");
    EXPECT_EQ(drives->ItemIndex(), 0);
    EXPECT_EQ(drives->Drive(), "/");
    drives->SetTextCase(tcUpperCase);
    EXPECT_EQ(drives->Items()->Strings(0), AnsiUpperCase(first));
    EXPECT_EQ(drives->ItemIndex(), 0) << "the drive stays chosen";
    drives->SetDrive("");
    EXPECT_EQ(drives->ItemIndex(), -1);

    // Choosing the mount of the folder a linked list shows leaves the list where it is.
    auto* dirs = Place<TspSkinDirectoryListBox>(10, 40, 150, 150);
    dirs->SetDirectory(Tree);
    drives->SetDirList(dirs);
    drives->SetItemIndex(0);
    EXPECT_EQ(drives->Drive(), "/");
    TShellDrive mount;
    ASSERT_TRUE(ShellDriveOf(Tree, mount));
    EXPECT_EQ(dirs->Directory(), mount.Path == "/" ? Tree : std::string("/"));
}

} // namespace
