// The shell folder tree on a temporary tree: lazy filling and expand marks, following a path three levels
// down, refusing folders, and refreshing with expanded folders and the selection kept.
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "tests/platform/ShellTestSupport.h"
#include "tests/skin/SkinListsTestSupport.h"

#include <filesystem>

namespace {

using TNames = std::vector<std::string>;

TNames Children(TTreeNode* node)
{
    TNames names;
    for (int i = 0; i < node->Count(); ++i)
        names.push_back(node->Item(i)->Text());
    return names;
}

class ShellTreeViewTest : public SkinListsTest {
protected:
    void SetUp() override
    {
        SkinListsTest::SetUp();
        Folder = Home.Root() + "/tree " + kAwkwardName;
        std::filesystem::create_directories(Folder + "/one/two/three");
        std::filesystem::create_directories(Folder + "/files only");
        std::filesystem::create_directories(Folder + "/skip me");
        Home.Write(Folder + "/files only/a.txt", "x");
        Home.Write(Folder + "/top.txt", "x");
        Tree = Place<TspSkinDirTreeView>(10, 10, 300, 260, false);
        Tree->SetRoot(Folder);
        Pump();
    }

    TShellTestHome Home;
    std::string Folder;
    TspSkinDirTreeView* Tree = nullptr;
};

TEST_F(ShellTreeViewTest, ExpandsLazilyAndFollowsPaths)
{
    TTreeNode* root = Tree->Items()->GetFirstNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(Tree->FolderOf(root)->PathName(), Folder);
    root->Expand(false);
    EXPECT_EQ(Children(root), (TNames { "files only", "one", "skip me" })) << "folders only, in the shell's order";
    TTreeNode* filesOnly = root->Item(0);
    EXPECT_TRUE(filesOnly->HasChildren()) << "marked before it is read";
    filesOnly->Expand(false);
    EXPECT_FALSE(filesOnly->HasChildren()) << "a folder of files only has no mark once expanded";

    Tree->SetPath(Folder + "/one/two/three");
    ASSERT_TRUE(Tree->Selected());
    EXPECT_EQ(Tree->GetPath(), Folder + "/one/two/three");
    EXPECT_TRUE(root->Item(1)->Expanded());
    const int count = Tree->Items()->Count();
    Tree->SetPath(Folder + "/one/two/three");
    EXPECT_EQ(Tree->Items()->Count(), count) << "the same path again changes nothing";
    EXPECT_THROW(Tree->SetPath(Folder + "/missing"), EInvalidPath);

    // Files too, when asked for.
    Tree->SetObjectTypes({ otFolders, otNonFolders });
    root = Tree->Items()->GetFirstNode();
    root->Expand(false);
    EXPECT_EQ(Children(root), (TNames { "files only", "one", "skip me", "top.txt" }));
}

TEST_F(ShellTreeViewTest, RefusedFoldersAndRefresh)
{
    Tree->OnAddFolder = [](TObject*, TspShellFolder* folder, bool& canAdd) { canAdd = folder->DisplayName() != "skip me"; };
    // The root node is expanded as it is made: made again, it asks the handler.
    Tree->RootChanged();
    TTreeNode* root = Tree->Items()->GetFirstNode();
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(Tree->Selected(), root);
    EXPECT_EQ(Children(root), (TNames { "files only", "one" }));

    Tree->SetPath(Folder + "/one/two");
    std::filesystem::create_directories(Folder + "/new one");
    Tree->Refresh(root);
    EXPECT_EQ(Children(root), (TNames { "files only", "new one", "one" }));
    EXPECT_EQ(Tree->GetPath(), Folder + "/one/two") << "the selection stays";
    EXPECT_TRUE(root->Item(2)->Expanded()) << "an expanded folder is expanded again";

    // A selected folder deleted meanwhile leaves with its node when refreshed.
    std::filesystem::remove_all(Folder + "/one");
    Tree->Refresh(root);
    EXPECT_EQ(Children(root), (TNames { "files only", "new one" }));
}

} // namespace
