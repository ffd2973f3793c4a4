// The shell path box on the headless display: the desktop's lines with the mounts under the computer, a path
// two levels under a mount inserted as indented lines, and linked controls that follow a choice only once the
// list has closed.
#include "platform/shell/ShellDrives.h"
#include "platform/win/VirtualKeys.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/skin/SkinListsTestSupport.h"

#include <filesystem>

namespace {

class ShellComboBoxTest : public SkinListsTest {
protected:
    TShellTestHome Home;
};

TEST_F(ShellComboBoxTest, DesktopLinesMountsAndAPathUnderAMount)
{
    auto* box = Place<TspSkinShellComboBox>(10, 10, 300, 22, false);
    ASSERT_GE(box->ItemsExCount(), 4);
    EXPECT_EQ(box->ItemEx(0).Caption, "Desktop");
    EXPECT_EQ(box->ItemEx(0).Indent, 0);
    int computer = -1;
    for (int i = 0; i < box->ItemsExCount(); ++i)
        if (box->ItemEx(i).Caption == "Computer")
            computer = i;
    ASSERT_GT(computer, 0);
    EXPECT_EQ(box->ItemEx(computer).Indent, 1);
    const std::vector<TShellDrive> drives = ShellDrives();
    ASSERT_LT(computer + 1, box->ItemsExCount());
    EXPECT_EQ(box->ItemEx(computer + 1).Data->PathName(), drives.front().Path) << "the mounts follow the computer";
    EXPECT_EQ(box->ItemEx(computer + 1).Indent, 2);
    EXPECT_EQ(box->Items()->Count(), box->ItemsExCount());

    // Two levels under the root mount: both inserted after it, each a step deeper, the deeper one chosen.
    const std::string folder = Home.Root() + "/a b/c d";
    std::filesystem::create_directories(folder);
    box->SetPath(folder);
    const int chosen = box->ItemIndex();
    ASSERT_GE(chosen, 0);
    EXPECT_EQ(box->GetPath(), folder);
    EXPECT_EQ(box->ItemEx(chosen - 1).Data->PathName(), Home.Root() + "/a b");
    EXPECT_EQ(box->ItemEx(chosen).Indent, box->ItemEx(chosen - 1).Indent + 1);
    EXPECT_THROW(box->SetPath(Home.Root() + "/missing"), EInvalidPath);
}

TEST_F(ShellComboBoxTest, LinkedListFollowsOnlyAfterTheListCloses)
{
    std::filesystem::create_directories(Home.Root() + "/shown/inner");
    auto* box = Place<TspSkinShellComboBox>(10, 10, 300, 22, false);
    auto* list = Place<TspSkinFileListView>(10, 40, 300, 200, false);
    box->SetListView(list);
    box->SetPath(Home.Root() + "/shown/inner");
    list->SetPath(Home.Root() + "/shown/inner");
    const int inner = box->ItemIndex();
    box->DropDown();
    ASSERT_TRUE(box->IsPopupVisible());
    box->ListBox()->SetItemIndex(inner - 1);
    box->SetItemIndex(inner - 1);
    EXPECT_EQ(list->GetPath(), Home.Root() + "/shown/inner") << "nothing follows while the list is open";
    box->CloseUp(true);
    EXPECT_EQ(list->GetPath(), Home.Root() + "/shown");
}

// The drive box lists the mounts of the chosen kinds; rebuilding keeps the one shown; a choice becomes the
// drive before the box's own event says so.
TEST_F(ShellComboBoxTest, DriveBoxListsTheMountsOfItsKinds)
{
    auto* box = Place<TspSkinShellDriveComboBox>(10, 10, 300, 22, false);
    std::vector<std::string> fixed;
    std::vector<std::string> all;
    for (const TShellDrive& drive : ShellDrives()) {
        if (drive.Kind == DRIVE_FIXED)
            fixed.push_back(drive.Path);
        if (drive.Kind >= DRIVE_REMOVABLE && drive.Kind <= DRIVE_RAMDISK)
            all.push_back(drive.Path);
    }
    ASSERT_FALSE(fixed.empty()) << "the root is a fixed drive";
    EXPECT_EQ(box->Drives(), all);
    EXPECT_EQ(box->Items()->Count(), static_cast<int>(all.size()));
    EXPECT_EQ(box->Drive(), all.front());

    const std::string last = fixed.back();
    box->SetDrive(last);
    EXPECT_EQ(box->Drive(), last);
    box->SetDriveTypes({ spdtFixed });
    EXPECT_EQ(box->Drives(), fixed);
    EXPECT_EQ(box->Drive(), last) << "rebuilding keeps the drive shown";
    box->SetDrive("/not a mount");
    EXPECT_EQ(box->Drive(), last);

    std::string seen;
    box->OnChange = [&](TObject*) { seen = box->Drive(); };
    box->SetItemIndex(0);
    EXPECT_EQ(box->Drive(), fixed.front());
    EXPECT_EQ(seen, fixed.front());

    box->SetDriveTypes({ spdtNoDrive });
    EXPECT_TRUE(box->Drives().empty());
    EXPECT_EQ(box->Drive(), "") << "no drive of those kinds: none shown";
}

// Path box, tree and list linked to each other: whichever moves, the other two follow, without echoing back;
// a control deleted leaves no dangling link behind.
TEST_F(ShellComboBoxTest, TreeListAndPathBoxFollowEachOther)
{
    const std::string top = Home.Root() + "/linked";
    std::filesystem::create_directories(top + "/one/deeper");
    std::filesystem::create_directories(top + "/two");
    auto* box = Place<TspSkinShellComboBox>(10, 10, 300, 22, false);
    auto* tree = Place<TspSkinDirTreeView>(10, 40, 150, 200, false);
    auto* list = Place<TspSkinFileListView>(170, 40, 300, 200, false);
    list->SetComboBox(box);
    list->SetTreeView(tree);
    EXPECT_EQ(box->ShellListView(), list);
    EXPECT_EQ(tree->ShellListView(), list);
    EXPECT_EQ(list->ShellTreeView(), tree);
    tree->SetComboBox(box);
    EXPECT_EQ(box->ShellTreeView(), tree);

    struct Step {
        const char* Who;
        std::string Path;
    };
    const Step steps[] = {
        { "list", top + "/one" },
        { "tree", top + "/two" },
        { "list", top + "/one/deeper" },
        { "box", top },
    };
    for (const Step& step : steps) {
        if (std::string(step.Who) == "list")
            list->SetPath(step.Path);
        else if (std::string(step.Who) == "tree")
            tree->SetPath(step.Path);
        else
            box->SetPath(step.Path), box->SetItemIndex(box->ItemIndex());
        EXPECT_EQ(list->GetPath(), step.Path) << step.Who;
        EXPECT_EQ(tree->GetPath(), step.Path) << step.Who;
        EXPECT_EQ(box->GetPath(), step.Path) << step.Who;
    }

    // Into a folder of the list by Enter: the tree and the box follow.
    list->SetPath(top);
    for (int i = 0; i < list->FolderCount(); ++i)
        if (list->GetFolder(i)->DisplayName() == "two")
            list->SetItemIndex(i);
    list->SetFocus();
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(list->GetPath(), top + "/two");
    EXPECT_EQ(tree->GetPath(), top + "/two");
    EXPECT_EQ(box->GetPath(), top + "/two");

    delete list;
    EXPECT_EQ(box->ShellListView(), nullptr);
    EXPECT_EQ(tree->ShellListView(), nullptr);
    tree->SetPath(top + "/one");
    EXPECT_EQ(box->GetPath(), top + "/one");
}

} // namespace
