// Deleting to the trash on a private home: GIO keeps the home's data folder from its first use, so this
// program sets up its one home before any test runs.
#include "platform/shell/ShellNamespace.h"
#include "platform/shell/ShellTrash.h"
#include "ShellTestSupport.h"

#include <filesystem>

namespace {

TShellTestHome* Home = nullptr;

class TrashHomeEnvironment : public testing::Environment {
public:
    void SetUp() override { Home = new TShellTestHome; }
    void TearDown() override
    {
        delete Home;
        Home = nullptr;
    }
};
const auto* const environment = testing::AddGlobalTestEnvironment(new TrashHomeEnvironment);

std::string TrashFiles()
{
    return Home->Home() + "/.local/share/Trash/files";
}

std::string TrashInfo(const std::string& name)
{
    return Home->Read(Home->Home() + "/.local/share/Trash/info/" + name + ".trashinfo");
}

TEST(ShellTrash, FilesAndFoldersMoveToTheTrashWithTheirRecord)
{
    const std::string folder = Home->Root() + "/work " + kAwkwardName;
    const std::string file = Home->Write(folder + "/" + kAwkwardName + ".mp4", "movie");
    Home->Write(folder + "/inner/keep.txt", "kept");

    std::string error;
    ASSERT_TRUE(MoveToTrash(file, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(Home->Read(TrashFiles() + "/" + kAwkwardName + ".mp4"), "movie");
    const std::string info = TrashInfo(kAwkwardName + ".mp4");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
    // The original path is percent-encoded, so its quotes, spaces and bad bytes are recorded exactly.
    EXPECT_NE(info.find("%FF%FE.mp4"), std::string::npos) << info;
    EXPECT_NE(info.find("DeletionDate="), std::string::npos);

    ASSERT_TRUE(MoveToTrash(folder + "/inner", error)) << error;
    EXPECT_EQ(Home->Read(TrashFiles() + "/inner/keep.txt"), "kept");

    // A second item of the same name is kept beside the first, never over it.
    Home->Write(folder + "/inner/keep.txt", "second");
    ASSERT_TRUE(MoveToTrash(folder + "/inner", error)) << error;
    EXPECT_EQ(Home->Read(TrashFiles() + "/inner/keep.txt"), "kept");
    int copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TrashFiles()))
        copies += entry.path().filename().string().rfind("inner", 0) == 0;
    EXPECT_EQ(copies, 2);
}

TEST(ShellTrash, RefusalsLeaveEverythingInPlace)
{
    std::string error;
    EXPECT_FALSE(MoveToTrash(Home->Root() + "/missing.avi", error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(MoveToTrash("relative.avi", error));
    EXPECT_FALSE(error.empty());
}

TEST(ShellTrash, TheDeleteVerbTrashesTheItem)
{
    const std::string file = Home->Write(Home->Root() + "/verb/clip 'x'.avi", "clip");
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST parent = nullptr;
    ASSERT_EQ(desktop->ParseDisplayName(nullptr, (Home->Root() + "/verb").c_str(), nullptr, &parent, nullptr), S_OK);
    std::shared_ptr<IShellFolder> folder;
    ASSERT_EQ(desktop->BindToObject(parent, &folder), S_OK);
    ILFree(parent);
    LPITEMIDLIST item = MakeShellItem('F', "clip 'x'.avi");
    const LPCITEMIDLIST items[] = { item };
    std::shared_ptr<IContextMenu> menu;
    ASSERT_EQ(folder->GetUIObjectOf(nullptr, 1, items, &menu), S_OK);
    ILFree(item);
    menu->QueryContextMenu(nullptr, 0, 1, 0x7FFF, CMF_EXPLORE);
    CMINVOKECOMMANDINFO invoke;
    invoke.fMask = CMIC_MASK_ASYNCOK;
    invoke.lpVerb = "delete";
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(Home->Read(TrashFiles() + "/clip 'x'.avi"), "clip");
    // Gone already: the verb fails and reports it.
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_FAIL);
}

} // namespace
