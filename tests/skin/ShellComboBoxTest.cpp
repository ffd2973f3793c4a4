// The shell path box on the headless display: the desktop's lines with the mounts under the computer, a path
// two levels under a mount inserted as indented lines, and linked controls that follow a choice only once the
// list has closed.
#include "platform/shell/ShellDrives.h"
#include "platform/win/VirtualKeys.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
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

} // namespace
