// The namespace on real temporary trees: item lists, parsing and enumeration reaching the same items, names,
// attributes, order, renaming, special-folder locations, context menus and opening items.
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/shell/TSystemImageList.h"
#include "platform/win/Windows.h"
#include "ShellTestSupport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

struct TListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using TList = std::unique_ptr<ITEMIDLIST, TListFree>;

std::string NameOf(IShellFolder& folder, LPCITEMIDLIST item, DWORD flags)
{
    STRRET name;
    if (FAILED(folder.GetDisplayNameOf(item, flags, &name)))
        return "<failed>";
    return StrRetToString(name, item);
}

std::vector<TList> Enumerate(IShellFolder& folder, DWORD flags)
{
    std::vector<TList> items;
    std::unique_ptr<IEnumIDList> enumerator;
    if (FAILED(folder.EnumObjects(nullptr, flags, &enumerator)))
        return items;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (enumerator->Next(1, &item, &fetched) == S_OK && fetched == 1)
        items.emplace_back(item);
    return items;
}

std::vector<std::string> Names(IShellFolder& folder, DWORD flags, DWORD nameFlags = SHGDN_INFOLDER | SHGDN_FORPARSING)
{
    std::vector<std::string> names;
    for (const TList& item : Enumerate(folder, flags))
        names.push_back(NameOf(folder, item.get(), nameFlags));
    return names;
}

TList Parse(const std::string& path)
{
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST list = nullptr;
    EXPECT_EQ(desktop->ParseDisplayName(nullptr, path.c_str(), nullptr, &list, nullptr), S_OK) << path;
    return TList(list);
}

short Compare(IShellFolder& folder, LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return static_cast<short>(folder.CompareIDs(0, a, b) & 0xFFFF);
}

class ShellNamespaceTest : public testing::Test {
protected:
    void SetUp() override
    {
        Tree = Home.Root() + "/tree " + kAwkwardName;
        for (const char* folder : { "/Alpha", "/beta/inner/deep", "/.hidden" })
            std::filesystem::create_directories(Tree + folder);
        for (const char* file : { "/b.mp4", "/A.avi", "/a.avi", "/.dot", "/beta/inner/deep/clip.mp4" })
            Home.Write(Tree + file, "x");
        Home.Write(Tree + "/" + kAwkwardName, "x");
        std::filesystem::create_symlink(Tree + "/Alpha", Tree + "/zlink");
        SHGetDesktopFolder(&Desktop);
    }

    TShellTestHome Home;
    std::string Tree;
    std::shared_ptr<IShellFolder> Desktop;
};

TEST_F(ShellNamespaceTest, ItemListsKeepTheirBytes)
{
    TList a(MakeShellItem('F', kAwkwardName));
    TList b(MakeShellItem('F', std::string("nul\0inside", 10)));
    TList both(ILCombine(a.get(), b.get()));
    EXPECT_EQ(ILGetSize(a.get()), 2 + 1 + kAwkwardName.size() + 2);
    EXPECT_EQ(ILGetSize(both.get()), ILGetSize(a.get()) + ILGetSize(b.get()) - 2);
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    TList copy(ILClone(both.get()));
    ASSERT_EQ(std::memcmp(copy.get(), both.get(), ILGetSize(both.get())), 0);
    char kind = 0;
    std::string bytes;
    ASSERT_TRUE(ReadShellItem(copy.get(), kind, bytes));
    EXPECT_EQ(kind, 'F');
    EXPECT_EQ(bytes, kAwkwardName);
    TList empty(ILCombine(nullptr, nullptr));
    EXPECT_EQ(ILGetSize(empty.get()), 2u);
    EXPECT_FALSE(ReadShellItem(empty.get(), kind, bytes));
    EXPECT_EQ(MakeShellItem('F', std::string(70000, 'x')), nullptr);
}

TEST_F(ShellNamespaceTest, ParsingAndBrowsingReachTheSameItem)
{
    const std::string target = Tree + "/beta/inner/deep/clip.mp4";
    TList parsed = Parse(Tree + "/beta/./inner//deep/../deep/clip.mp4");
    std::string path;
    ASSERT_TRUE(SHGetPathFromIDList(parsed.get(), path));
    EXPECT_EQ(path, target);
    EXPECT_EQ(NameOf(*Desktop, parsed.get(), SHGDN_FORPARSING), target);

    // Browse there from the parent folder's list.
    TList parent = Parse(Tree + "/beta/inner/deep");
    std::shared_ptr<IShellFolder> deep;
    ASSERT_EQ(Desktop->BindToObject(parent.get(), &deep), S_OK);
    auto children = Enumerate(*deep, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    ASSERT_EQ(children.size(), 1u);
    TList browsed(ILCombine(parent.get(), children[0].get()));
    EXPECT_EQ(Compare(*Desktop, browsed.get(), parsed.get()), 0);
    EXPECT_EQ(Compare(*Desktop, parent.get(), parsed.get()), -1);

    // The awkward name survives parsing, naming and the path.
    TList awkward = Parse(Tree + "/" + kAwkwardName);
    ASSERT_TRUE(SHGetPathFromIDList(awkward.get(), path));
    EXPECT_EQ(path, Tree + "/" + kAwkwardName);
    char buffer[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(awkward.get(), buffer));
    EXPECT_EQ(std::string(buffer), Tree + "/" + kAwkwardName);

    LPITEMIDLIST none = nullptr;
    for (const std::string& bad : { Tree + "/missing", std::string("relative/path"), std::string("") })
        EXPECT_TRUE(FAILED(Desktop->ParseDisplayName(nullptr, bad.c_str(), nullptr, &none, nullptr))) << bad;
    EXPECT_EQ(none, nullptr);
    // A folder parses names relative to itself.
    std::shared_ptr<IShellFolder> tree;
    TList treeList = Parse(Tree);
    ASSERT_EQ(Desktop->BindToObject(treeList.get(), &tree), S_OK);
    LPITEMIDLIST relative = nullptr;
    ULONG attributes = 0;
    ASSERT_EQ(tree->ParseDisplayName(nullptr, "beta/inner", nullptr, &relative, &attributes), S_OK);
    TList relativeList(relative);
    EXPECT_TRUE(attributes & SFGAO_FOLDER);
    EXPECT_EQ(NameOf(*tree, relative, SHGDN_FORPARSING), Tree + "/beta/inner");
    // A file is not a folder to bind to.
    TList file = Parse(target);
    EXPECT_EQ(Desktop->BindToObject(file.get(), &tree), E_INVALIDARG);
}

TEST_F(ShellNamespaceTest, EnumerationOrderAndNames)
{
    std::shared_ptr<IShellFolder> tree;
    TList treeList = Parse(Tree);
    ASSERT_EQ(Desktop->BindToObject(treeList.get(), &tree), S_OK);

    auto items = Enumerate(*tree, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    std::sort(items.begin(), items.end(), [&](const TList& a, const TList& b) { return Compare(*tree, a.get(), b.get()) < 0; });
    std::vector<std::string> sorted;
    for (const TList& item : items)
        sorted.push_back(NameOf(*tree, item.get(), SHGDN_INFOLDER | SHGDN_FORPARSING));
    // Folders (and links to folders) first; names ignore case, and "A.avi" and "a.avi" stay two items.
    EXPECT_EQ(sorted, (std::vector<std::string> { "Alpha", "beta", "zlink", "A.avi", "a.avi", "b.mp4", kAwkwardName }));
    EXPECT_NE(Compare(*tree, items[3].get(), items[4].get()), 0);

    std::vector<std::string> folders = Names(*tree, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::string> { ".hidden", "Alpha", "beta", "zlink" }));
    std::vector<std::string> files = Names(*tree, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    EXPECT_EQ(files.size(), 5u);

    // Shown names are valid UTF-8, parsing names the raw bytes.
    for (const TList& item : items) {
        if (NameOf(*tree, item.get(), SHGDN_INFOLDER | SHGDN_FORPARSING) == kAwkwardName) {
            EXPECT_EQ(NameOf(*tree, item.get(), SHGDN_NORMAL), "it's a \"clip\" $(x) \xEF\xBF\xBD\xEF\xBF\xBD");
            EXPECT_EQ(NameOf(*tree, item.get(), SHGDN_FORPARSING), Tree + "/" + kAwkwardName);
        }
    }

    // An unreadable (here: missing) folder fails to enumerate.
    std::filesystem::remove_all(Tree + "/beta");
    TList gone(MakeShellItem('F', "beta"));
    std::shared_ptr<IShellFolder> beta;
    EXPECT_EQ(tree->BindToObject(gone.get(), &beta), E_INVALIDARG);
}

TEST_F(ShellNamespaceTest, DesktopComputerAndSpecialFolders)
{
    Home.Write(Home.Home() + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    Home.Write(Home.Home() + "/Desk/note.txt", "");
    std::filesystem::create_directories(Home.Home() + "/Desk/Project");
    std::filesystem::create_directories(Home.Home() + "/Docs");
    SHGetDesktopFolder(&Desktop);

    // The virtual folders first, then the desktop directory's entries (in the directory's order).
    std::vector<std::string> shown = Names(*Desktop, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, SHGDN_NORMAL);
    ASSERT_EQ(shown.size(), 5u);
    std::sort(shown.begin() + 3, shown.end());
    EXPECT_EQ(shown, (std::vector<std::string> { "Home", "Computer", "Trash", "Project", "note.txt" }));
    EXPECT_EQ(Names(*Desktop, SHCONTF_NONFOLDERS), (std::vector<std::string> { "note.txt" }));
    auto top = Enumerate(*Desktop, SHCONTF_FOLDERS);
    EXPECT_EQ(NameOf(*Desktop, top[1].get(), SHGDN_FORPARSING), "::{computer}");
    EXPECT_EQ(NameOf(*Desktop, top[0].get(), SHGDN_FORPARSING), Home.Home());
    std::string path;
    EXPECT_FALSE(SHGetPathFromIDList(top[1].get(), path));
    EXPECT_EQ(path, "");
    EXPECT_EQ(NameOf(*Desktop, top[3].get(), SHGDN_FORPARSING), Home.Home() + "/Desk/Project");

    // The computer lists the mounts, "/" first, named by label and path.
    std::shared_ptr<IShellFolder> computer;
    ASSERT_EQ(Desktop->BindToObject(top[1].get(), &computer), S_OK);
    auto mounts = Enumerate(*computer, SHCONTF_FOLDERS);
    ASSERT_FALSE(mounts.empty());
    EXPECT_EQ(NameOf(*computer, mounts[0].get(), SHGDN_FORPARSING), "/");
    EXPECT_NE(NameOf(*computer, mounts[0].get(), SHGDN_NORMAL).find(" (/)"), std::string::npos);
    EXPECT_TRUE(Enumerate(*computer, SHCONTF_NONFOLDERS).empty());
    LPITEMIDLIST parsedVirtual = nullptr;
    ASSERT_EQ(Desktop->ParseDisplayName(nullptr, "::{trash}", nullptr, &parsedVirtual, nullptr), S_OK);
    TList trash(parsedVirtual);
    EXPECT_EQ(Compare(*Desktop, trash.get(), top[2].get()), 0);

    const struct {
        int csidl;
        std::string path; // "" for a virtual folder
        HRESULT result;
    } cases[] = {
        { CSIDL_PERSONAL, Home.Home() + "/Docs", S_OK },
        { CSIDL_DESKTOPDIRECTORY, Home.Home() + "/Desk", S_OK },
        { CSIDL_DESKTOP, Home.Home() + "/Desk", S_OK },
        { CSIDL_PROFILE, Home.Home(), S_OK },
        { CSIDL_DRIVES, "", S_OK },
        { CSIDL_BITBUCKET, "", S_OK },
        { CSIDL_MYVIDEO, Home.Home(), S_OK },
        { CSIDL_NETWORK, "", E_FAIL },
        { CSIDL_TEMPLATES | CSIDL_FLAG_CREATE, Home.Home(), S_OK },
    };
    for (const auto& c : cases) {
        LPITEMIDLIST list = nullptr;
        EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, c.csidl, &list), c.result) << c.csidl;
        TList owned(list);
        if (FAILED(c.result))
            continue;
        std::string found;
        EXPECT_EQ(SHGetPathFromIDList(list, found), !c.path.empty()) << c.csidl;
        EXPECT_EQ(found, c.path) << c.csidl;
    }
    // The documents folder's location is the list browsing gives: it compares equal to the parsed path.
    LPITEMIDLIST documents = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &documents), S_OK);
    TList documentsList(documents);
    TList parsed = Parse(Home.Home() + "/Docs");
    EXPECT_EQ(Compare(*Desktop, documents, parsed.get()), 0);
}

TEST_F(ShellNamespaceTest, AttributesOfFilesFoldersLinksAndVirtualItems)
{
    const struct {
        std::string path;
        ULONG set;
        ULONG clear;
    } cases[] = {
        { Tree + "/Alpha", SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER | SFGAO_CANRENAME | SFGAO_DROPTARGET, SFGAO_LINK },
        { Tree + "/zlink", SFGAO_FOLDER | SFGAO_LINK | SFGAO_CANDELETE, 0 },
        { Tree + "/b.mp4", SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_HASPROPSHEET, SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_SHARE },
    };
    for (const auto& c : cases) {
        TList item = Parse(c.path);
        const LPCITEMIDLIST items[] = { item.get() };
        ULONG attributes = SFGAO_VALIDATE;
        ASSERT_EQ(Desktop->GetAttributesOf(1, items, &attributes), S_OK) << c.path;
        EXPECT_EQ(attributes & c.set, c.set) << c.path;
        EXPECT_EQ(attributes & c.clear, 0u) << c.path;
        EXPECT_EQ(ShellItemAttributes(item.get()), attributes) << c.path;
    }
    LPITEMIDLIST computerList = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computerList), S_OK);
    TList computer(computerList);
    ULONG attributes = 0;
    const LPCITEMIDLIST items[] = { computer.get() };
    ASSERT_EQ(Desktop->GetAttributesOf(1, items, &attributes), S_OK);
    EXPECT_EQ(attributes & (SFGAO_FOLDER | SFGAO_FILESYSTEM), SFGAO_FOLDER);

    // An item removed since it was listed fails validation.
    TList file = Parse(Tree + "/b.mp4");
    std::filesystem::remove(Tree + "/b.mp4");
    const LPCITEMIDLIST goneItems[] = { file.get() };
    attributes = SFGAO_VALIDATE;
    EXPECT_TRUE(FAILED(Desktop->GetAttributesOf(1, goneItems, &attributes)));

    SHFILEINFO info;
    ASSERT_NE(SHGetFileInfo(reinterpret_cast<const char*>(computer.get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_ATTRIBUTES), 0u);
    EXPECT_STREQ(info.szDisplayName, "Computer");
    EXPECT_EQ(TSystemImageList::Instance().IconName(info.iIcon), "computer");
    EXPECT_TRUE(info.dwAttributes & SFGAO_FOLDER);
}

TEST_F(ShellNamespaceTest, RenamingThreeLevelsDownNeverOverwrites)
{
    TList folderList = Parse(Tree + "/beta/inner/deep");
    std::shared_ptr<IShellFolder> deep;
    ASSERT_EQ(Desktop->BindToObject(folderList.get(), &deep), S_OK);
    Home.Write(Tree + "/beta/inner/deep/taken.mp4", "keep me");
    TList clip(MakeShellItem('F', "clip.mp4"));

    LPITEMIDLIST renamed = nullptr;
    ASSERT_EQ(deep->SetNameOf(nullptr, clip.get(), kAwkwardName.c_str(), SHGDN_NORMAL, &renamed), S_OK);
    TList renamedList(renamed);
    TList absolute(ILCombine(folderList.get(), renamed));
    std::string path;
    ASSERT_TRUE(SHGetPathFromIDList(absolute.get(), path));
    EXPECT_EQ(path, Tree + "/beta/inner/deep/" + kAwkwardName);
    EXPECT_TRUE(std::filesystem::exists(path));

    const struct {
        std::string name;
        HRESULT result;
    } refused[] = {
        { "taken.mp4", HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) },
        { "../escape", E_INVALIDARG },
        { "sub/name", E_INVALIDARG },
        { "..", E_INVALIDARG },
        { "", E_INVALIDARG },
    };
    for (const auto& c : refused) {
        LPITEMIDLIST none = nullptr;
        EXPECT_EQ(deep->SetNameOf(nullptr, renamed, c.name.c_str(), SHGDN_NORMAL, &none), c.result) << c.name;
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_EQ(Home.Read(Tree + "/beta/inner/deep/taken.mp4"), "keep me");
    EXPECT_EQ(Home.Read(path), "x");
    // Virtual and mount items cannot be renamed.
    LPITEMIDLIST home = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, &home);
    TList homeList(home);
    EXPECT_EQ(Desktop->SetNameOf(nullptr, home, "x", SHGDN_NORMAL, nullptr), E_INVALIDARG);
}

TEST_F(ShellNamespaceTest, ContextMenuVerbsAndOpeningItems)
{
    TShellCommandRecorder recorder;
    TList file = Parse(Tree + "/" + kAwkwardName);
    TList parent = Parse(Tree);
    std::shared_ptr<IShellFolder> tree;
    ASSERT_EQ(Desktop->BindToObject(parent.get(), &tree), S_OK);
    TList relative(MakeShellItem('F', kAwkwardName));
    const LPCITEMIDLIST items[] = { relative.get() };
    std::shared_ptr<IContextMenu> menu;
    ASSERT_EQ(tree->GetUIObjectOf(nullptr, 1, items, &menu), S_OK);
    EXPECT_EQ(menu->QueryContextMenu(nullptr, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME), 3);
    EXPECT_EQ(menu->Verbs(), (std::vector<std::string> { "open", "rename", "delete" }));
    char verb[256];
    ASSERT_EQ(menu->GetCommandString(1, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
    EXPECT_STREQ(verb, "rename");
    EXPECT_EQ(menu->GetCommandString(3, GCS_VERBA, nullptr, verb, sizeof verb), E_INVALIDARG);

    CMINVOKECOMMANDINFO invoke;
    invoke.lpVerb = reinterpret_cast<const char*>(uintptr_t(0));
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    invoke.lpVerb = "rename";
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_NOTIMPL);

    // Opening through the list, as the default action of an item does.
    SHELLEXECUTEINFO info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.lpIDList = file.get();
    info.nShow = SW_SHOW;
    EXPECT_TRUE(ShellExecuteEx(&info));
    LPITEMIDLIST computer = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
    TList computerList(computer);
    info.lpIDList = computer;
    EXPECT_FALSE(ShellExecuteEx(&info));

    const auto commands = recorder.Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Argv, (std::vector<std::string> { "xdg-open", Tree + "/" + kAwkwardName }));
    EXPECT_EQ(commands[1].Argv, commands[0].Argv);
}

} // namespace
