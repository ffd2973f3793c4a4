// The items of a shell file list on a temporary tree: the mask, the default and column orders (with a file
// gone since it was listed), and finding items by the start of their names.
#include "framework/core/SysUtils.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListItems.h"
#include "tests/platform/ShellTestSupport.h"

#include <filesystem>

using namespace spShellCtrls;

namespace {

class ShellListItemsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Folder = Home.Root() + "/list " + kAwkwardName;
        std::filesystem::create_directories(Folder + "/b folder");
        std::filesystem::create_directories(Folder + "/A folder");
        Home.Write(Folder + "/small.txt", "1");
        Home.Write(Folder + "/Large.LOG", std::string(300, 'x'));
        Home.Write(Folder + "/middle.avi", std::string(20, 'x'));
        Home.Write(Folder + "/star", "no dot");
        TRoot text = Folder;
        CreateRootFolder(Root, "", text);
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < Items.Count(); ++i)
            names.push_back(Items.Folder(i)->DisplayName());
        return names;
    }

    TShellTestHome Home;
    std::string Folder;
    std::unique_ptr<TspShellFolder> Root;
    TspShellListItems Items;
};

using TNames = std::vector<std::string>;

TEST_F(ShellListItemsTest, MaskKeepsFoldersAndMatchingFiles)
{
    struct Case {
        std::string Mask;
        TNames Names;
    };
    const Case cases[] = {
        { "*.txt;*.log", { "A folder", "b folder", "Large.LOG", "small.txt" } },
        { "*.*|*.*", { "A folder", "b folder", "Large.LOG", "middle.avi", "small.txt", "star" } },
        { "*", { "A folder", "b folder" } },
        { "Video|*.AVI", { "A folder", "b folder", "middle.avi" } },
    };
    for (const Case& c : cases) {
        Items.Populate(Root.get(), { otFolders, otNonFolders }, c.Mask, nullptr, nullptr, true);
        EXPECT_EQ(Names(), c.Names) << c.Mask;
    }
    EXPECT_TRUE(Items.IsFolder(0));
    EXPECT_FALSE(Items.IsFolder(3));
    EXPECT_EQ(Items.Folder(99), nullptr);

    Items.Populate(Root.get(), { otNonFolders }, "*.*", [](TObject*, TspShellFolder* folder, bool& canAdd) {
        canAdd = folder->DisplayName() != "star";
    }, nullptr, true);
    EXPECT_EQ(Names(), (TNames { "Large.LOG", "middle.avi", "small.txt" }));

    TRoot missing = Folder + "/b folder";
    CreateRootFolder(Root, "", missing);
    std::filesystem::remove(Folder + "/b folder");
    Items.Populate(Root.get(), { otFolders, otNonFolders }, "*.*", nullptr, nullptr, true);
    EXPECT_EQ(Items.Count(), 0) << "a folder deleted while shown lists nothing";
}

TEST_F(ShellListItemsTest, ColumnSorts)
{
    Items.Populate(Root.get(), { otFolders, otNonFolders }, "*.*", nullptr, nullptr, true);
    struct Case {
        int Column;
        bool Descending;
        TNames Names;
    };
    const Case cases[] = {
        { 1, false, { "A folder", "b folder", "small.txt", "star", "middle.avi", "Large.LOG" } },
        { 1, true, { "Large.LOG", "middle.avi", "star", "small.txt", "b folder", "A folder" } },
        { 0, true, { "star", "small.txt", "middle.avi", "Large.LOG", "b folder", "A folder" } },
        { 2, false, { "A folder", "b folder", "star", "middle.avi", "Large.LOG", "small.txt" } },
        { 7, false, { "A folder", "b folder", "Large.LOG", "middle.avi", "small.txt", "star" } },
    };
    for (const Case& c : cases) {
        Items.SortByColumn(Root.get(), nullptr, c.Column, c.Descending);
        EXPECT_EQ(Names(), c.Names) << c.Column << (c.Descending ? " descending" : "");
    }

    // A file deleted before the sort: it sorts as empty, and the sort finishes.
    Items.Populate(Root.get(), { otFolders, otNonFolders }, "*.*", nullptr, nullptr, true);
    std::filesystem::remove(Folder + "/Large.LOG");
    Items.SortByColumn(Root.get(), nullptr, 1, true);
    EXPECT_EQ(Names(), (TNames { "middle.avi", "star", "small.txt", "Large.LOG", "b folder", "A folder" }));
}

// The default order is read from keys taken at listing; it must be the folder's own order of its entries,
// also for names that differ only by case, accents, digits or bytes that are not UTF-8.
TEST_F(ShellListItemsTest, DefaultOrderIsTheFoldersOrder)
{
    const std::string folder = Folder + "/names";
    std::filesystem::create_directories(folder + "/Sub");
    std::filesystem::create_directories(folder + "/sub two");
    for (const char* name : { "a", "A", "a10", "a2", "\xc3\x84rger", "\xc3\xa9t\xc3\xa9", "_x", "Zeta", "zeta", "b\xff", "B", ".hidden" })
        Home.Write(folder + "/" + name, "x");
    TRoot text = folder;
    CreateRootFolder(Root, "", text);
    Items.Populate(Root.get(), { otFolders, otNonFolders, otHidden }, "*.*", nullptr, nullptr, true);
    ASSERT_EQ(Items.Count(), 14);
    const std::shared_ptr<IShellFolder>& shell = Root->ShellFolder();
    for (int i = 0; i + 1 < Items.Count(); ++i) {
        const HRESULT order = shell->CompareIDs(0, Items.Folder(i)->RelativeID(), Items.Folder(i + 1)->RelativeID());
        EXPECT_LT(static_cast<int16_t>(order & 0xFFFF), 0) << Items.Folder(i)->DisplayName() << " before " << Items.Folder(i + 1)->DisplayName();
    }

    // A column sort reads sizes afresh each time: a file grown since the last sort moves.
    TRoot again = Folder;
    CreateRootFolder(Root, "", again);
    Items.Populate(Root.get(), { otNonFolders }, "*.*", nullptr, nullptr, true);
    Items.SortByColumn(Root.get(), nullptr, 1, true);
    EXPECT_EQ(Names().front(), "Large.LOG");
    Home.Write(Folder + "/small.txt", std::string(1000, 'x'));
    Items.SortByColumn(Root.get(), nullptr, 1, true);
    EXPECT_EQ(Names().front(), "small.txt");
}

TEST_F(ShellListItemsTest, FindByNameStart)
{
    Items.Populate(Root.get(), { otFolders, otNonFolders }, "*.*", nullptr, nullptr, true);
    ASSERT_EQ(Items.Count(), 6);
    EXPECT_EQ(Items.Find("ST", 0, false), 5) << "the last item, by prefix in any case";
    EXPECT_EQ(Items.Find("a f", 3, false), -1) << "without wrap the search stops at the end";
    EXPECT_EQ(Items.Find("a f", 3, true), 0) << "with wrap it goes on from the top";
    EXPECT_EQ(Items.Find("s", 4, true), 4) << "the start item counts";
    EXPECT_EQ(Items.Find("zzz", 2, true), -1);
    Items.Clear();
    EXPECT_EQ(Items.Find("a", 0, true), -1);
}

} // namespace
