// The shell file list on a temporary tree: masks, item texts and details through owner data, column sorts,
// navigation by keys, refreshing (by key, by call and through the change notifier) and bad paths.
#include "framework/controls/ImgList.h"
#include "framework/core/TThread.h"
#include "platform/win/Windows.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/skin/SkinListsTestSupport.h"

#include <chrono>
#include <filesystem>

namespace {

using TNames = std::vector<std::string>;

class TTestShellList : public TspSkinFileListView {
public:
    using TspSkinFileListView::ColClick;
    using TspSkinFileListView::TspSkinFileListView;
};

class ShellListViewTest : public SkinListsTest {
protected:
    void SetUp() override
    {
        SkinListsTest::SetUp();
        Folder = Home.Root() + "/list " + kAwkwardName;
        std::filesystem::create_directories(Folder + "/b folder/inner");
        std::filesystem::create_directories(Folder + "/A folder");
        Home.Write(Folder + "/small.txt", "1");
        Home.Write(Folder + "/Large.LOG", std::string(300, 'x'));
        Home.Write(Folder + "/middle.avi", std::string(20, 'x'));
        List = Place<TTestShellList>(10, 10, 360, 260, false);
        List->SetRoot(Folder);
        Pump();
    }

    TNames Names()
    {
        TNames names;
        for (int i = 0; i < List->Items()->Count(); ++i)
            names.push_back(List->Items()->Item(i)->Caption());
        return names;
    }

    void Key(UINT key)
    {
        List->SetFocus();
        Backend.Key(key);
        Pump();
    }

    TShellTestHome Home;
    std::string Folder;
    TTestShellList* List = nullptr;
};

TEST_F(ShellListViewTest, MaskItemsAndDetails)
{
    EXPECT_EQ(List->GetPath(), Folder);
    EXPECT_EQ(Names(), (TNames { "A folder", "b folder", "Large.LOG", "middle.avi", "small.txt" }));
    List->SetMask("*.txt;*.log");
    EXPECT_EQ(Names(), (TNames { "A folder", "b folder", "Large.LOG", "small.txt" }));
    List->SetMask("*");
    EXPECT_EQ(Names(), (TNames { "A folder", "b folder" }));
    List->SetMask("*.*");

    List->SetViewStyle(vsReport);
    ASSERT_EQ(List->Columns()->Count(), 4);
    EXPECT_EQ(List->Columns()->Items(1)->Caption(), "Size");
    TListItem* large = List->Items()->Item(2);
    ASSERT_EQ(large->SubItems()->Count(), 3);
    EXPECT_EQ(large->SubItems()->Strings(0), "300");
    EXPECT_EQ(large->SubItems()->Strings(1), ".LOG");
    EXPECT_GE(large->ImageIndex(), 0);
    EXPECT_LT(large->ImageIndex(), List->SmallImages()->Count()) << "the icon is in the image list";

    List->SetItemIndex(3);
    EXPECT_EQ(List->GetSelectedFile(), Folder + "/middle.avi");
    List->SetItemIndex(0);
    EXPECT_EQ(List->GetSelectedFile(), "") << "a folder is not a file";
}

TEST_F(ShellListViewTest, ColumnSorts)
{
    List->SetViewStyle(vsReport);
    List->ColClick(List->Columns()->Items(1));
    List->ColClick(List->Columns()->Items(1));
    EXPECT_EQ(Names(), (TNames { "Large.LOG", "middle.avi", "small.txt", "b folder", "A folder" }))
        << "size twice: the largest first, folders last";
    List->ColClick(List->Columns()->Items(0));
    EXPECT_EQ(Names(), (TNames { "A folder", "b folder", "Large.LOG", "middle.avi", "small.txt" }));

    // With fewer than four columns only the first sorts.
    List->Columns()->Clear();
    List->Columns()->Add()->SetCaption("Name");
    List->Columns()->Add()->SetCaption("Other");
    List->ColClick(List->Columns()->Items(1));
    EXPECT_EQ(Names(), (TNames { "A folder", "b folder", "Large.LOG", "middle.avi", "small.txt" }));

    // A file deleted before a column sort sorts as empty; nothing fails.
    List->SetViewStyle(vsReport);
    std::filesystem::remove(Folder + "/Large.LOG");
    List->ColClick(List->Columns()->Items(1));
    EXPECT_EQ(List->Items()->Count(), 5);
}

TEST_F(ShellListViewTest, KeysNavigateAndRefresh)
{
    int moves = 0;
    List->OnPathChange = [&](TObject*) { ++moves; };
    List->SetItemIndex(1);
    Key(VK_RETURN);
    EXPECT_EQ(List->GetPath(), Folder + "/b folder");
    EXPECT_EQ(Names(), (TNames { "inner" }));
    EXPECT_EQ(moves, 1);
    Key(VK_BACK);
    EXPECT_EQ(List->GetPath(), Folder);

    // F5 shows a file made meanwhile; Refresh keeps the last item selected.
    Home.Write(Folder + "/zz new.txt", "x");
    Key(VK_F5);
    EXPECT_EQ(Names().back(), "zz new.txt");
    List->SetItemIndex(List->Items()->Count() - 1);
    List->Refresh();
    EXPECT_EQ(List->ItemIndex(), List->Items()->Count() - 1);

    // Backspace at the file system's root goes to the computer.
    List->SetPath("/");
    Key(VK_BACK);
    EXPECT_EQ(List->GetPath(), "Computer");

    EXPECT_THROW(List->SetPath(Folder + "/missing"), EInvalidPath);
    EXPECT_THROW(List->SetRoot(Folder + "/missing"), Exception);
    EXPECT_EQ(List->Root(), Folder) << "the root stays";
}

TEST_F(ShellListViewTest, AutoRefreshFollowsTheFolderAndAFolderDeletedWhileShown)
{
    List->SetAutoRefresh(true);
    Home.Write(Folder + "/appeared.txt", "x");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (List->Items()->Count() < 6 && std::chrono::steady_clock::now() < deadline)
        CheckSynchronize(100);
    EXPECT_EQ(List->Items()->Count(), 6);

    List->SetPath(Folder + "/A folder");
    std::filesystem::remove(Folder + "/A folder");
    List->Refresh();
    EXPECT_EQ(List->Items()->Count(), 0) << "a folder gone while shown lists nothing";
    List->SetAutoRefresh(false);
}

} // namespace
