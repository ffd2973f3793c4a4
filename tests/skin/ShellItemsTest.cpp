// Shell namespace items on real temporary trees (HOME and the XDG folders pointed at them): the item-ID list
// routines on hand-made lists, root building, names, attributes, renaming, the details a file list shows, the
// context menu's verb protocol, and the change notifier component.
#include "framework/core/TThread.h"
#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFolders.h"
#include "skin/dialogs/TspShellChangeNotifier.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellImageList.h"
#include "framework/graphics/TBitmap.h"
#include "imaging/TPNGObject.h"
#include "platform/shell/TIconTheme.h"
#include "platform/shell/TSystemImageList.h"
#include "tests/framework/ControlsTestSupport.h"
#include "tests/platform/ShellTestSupport.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <unistd.h>

using namespace spShellCtrls;

namespace {

// A hand-made list of items of the given payload sizes (each payload byte is its item's number).
TItemIdListPtr HandMade(const std::vector<int>& payloads)
{
    size_t size = 2;
    for (int payload : payloads)
        size += 2 + payload;
    TItemIdListPtr list(AllocItemIdList(size));
    auto* at = reinterpret_cast<uint8_t*>(list.get());
    for (size_t i = 0; i < payloads.size(); ++i) {
        const uint16_t count = static_cast<uint16_t>(2 + payloads[i]);
        std::memcpy(at, &count, 2);
        std::memset(at + 2, static_cast<int>(i + 1), payloads[i]);
        at += count;
    }
    return list;
}

std::string Bytes(LPCITEMIDLIST list)
{
    return std::string(reinterpret_cast<const char*>(list), ItemIdListSize(list));
}

std::unique_ptr<TspShellFolder> ItemAt(const std::string& path)
{
    std::unique_ptr<TspShellFolder> root;
    TRoot text = path;
    CreateRootFolder(root, "", text);
    return root;
}

// The children of `folder` as items (folders and files, hidden ones too).
std::vector<std::unique_ptr<TspShellFolder>> Children(TspShellFolder& folder)
{
    std::vector<std::unique_ptr<TspShellFolder>> children;
    std::unique_ptr<IEnumIDList> items;
    if (FAILED(folder.ShellFolder()->EnumObjects(nullptr, ObjectFlags({ otFolders, otNonFolders, otHidden }), &items)))
        return children;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        TItemIdListPtr owned(item);
        std::shared_ptr<IShellFolder> inner;
        if (FAILED(folder.ShellFolder()->BindToObject(item, &inner)))
            inner = nullptr;
        children.push_back(std::make_unique<TspShellFolder>(&folder, item, inner));
    }
    return children;
}

TspShellFolder* Named(std::vector<std::unique_ptr<TspShellFolder>>& items, const std::string& name)
{
    for (auto& item : items)
        if (item->DisplayName() == name)
            return item.get();
    return nullptr;
}

class ShellItemsTest : public testing::Test {
protected:
    void SetUp() override
    {
        Tree = Home.Root() + "/tree " + kAwkwardName;
        std::filesystem::create_directories(Tree + "/one/two/three");
        std::filesystem::create_directories(Tree + "/archive.zip");
        Home.Write(Tree + "/one/two/three/clip.mp4", "clip");
        Home.Write(Tree + "/one/two/three/other.mp4", "other");
        Home.Write(Tree + "/?1?2x", "x");
    }

    TShellTestHome Home;
    std::string Tree;
};

TEST_F(ShellItemsTest, ListRoutinesOnHandMadeLists)
{
    TItemIdListPtr four = HandMade({ 1, 2, 3, 4 });
    EXPECT_EQ(ItemIdCount(four.get()), 4);
    EXPECT_EQ(ItemIdListSize(four.get()), size_t(3 + 4 + 5 + 6 + 2)) << "the terminator counts";
    EXPECT_EQ(ItemIdListSize(nullptr), 0u);
    EXPECT_EQ(NextItemId(four.get()), reinterpret_cast<LPITEMIDLIST>(reinterpret_cast<uint8_t*>(four.get()) + 3));

    TItemIdListPtr copy(CopyItemIdList(four.get()));
    EXPECT_EQ(Bytes(copy.get()), Bytes(four.get()));
    StripLastItemId(copy.get());
    EXPECT_EQ(Bytes(copy.get()), Bytes(HandMade({ 1, 2, 3 }).get()));

    TItemIdListPtr last(LastItemIdCopy(four.get()));
    ASSERT_EQ(ItemIdCount(last.get()), 1);
    EXPECT_EQ(ItemIdSize(last.get()), 6);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(last.get())[2], 4) << "the last item's bytes";

    TItemIdListPtr joined(JoinItemIdLists(nullptr, four.get()));
    EXPECT_EQ(Bytes(joined.get()), Bytes(four.get())) << "joining to none copies";
    TItemIdListPtr two(JoinItemIdLists(HandMade({ 1 }).get(), HandMade({ 5 }).get()));
    EXPECT_EQ(ItemIdCount(two.get()), 2);

    std::vector<LPITEMIDLIST> prefixes = ItemIdListPrefixes(four.get());
    ASSERT_EQ(prefixes.size(), 4u);
    for (size_t i = 0; i < prefixes.size(); ++i)
        EXPECT_EQ(ItemIdCount(prefixes[i]), int(i + 1));
    EXPECT_EQ(Bytes(prefixes[3]), Bytes(four.get()));
    FreeItemIdListPrefixes(prefixes);
    EXPECT_TRUE(prefixes.empty());
}

// Roots by name and by path; a path reached by parsing is the item browsing reaches; a bad root changes nothing.
TEST_F(ShellItemsTest, RootBuilding)
{
    std::unique_ptr<TspShellFolder> root;
    TRoot text = "rfDesktop";
    CreateRootFolder(root, "", text);
    ASSERT_TRUE(root);
    EXPECT_EQ(ItemIdCount(root->AbsoluteID()), 0);
    text = "rfMyComputer";
    CreateRootFolder(root, "rfDesktop", text);
    EXPECT_EQ(root->DisplayName(), "Computer");
    EXPECT_TRUE(root->IsFolder());

    text = Tree + "/one";
    CreateRootFolder(root, "rfMyComputer", text);
    EXPECT_EQ(root->PathName(), Tree + "/one");
    auto children = Children(*root);
    TspShellFolder* two = Named(children, "two");
    ASSERT_TRUE(two);
    std::unique_ptr<TspShellFolder> parsed = ItemAt(Tree + "/one/two");
    EXPECT_TRUE(SamePIDL(two->AbsoluteID(), parsed->AbsoluteID()));
    EXPECT_EQ(parsed->Level(), 0) << "a root hangs below the desktop item";
    EXPECT_EQ(two->Level(), 1) << "the ancestors above its parent: the desktop item";

    TspShellFolder* before = root.get();
    for (std::string bad : { Tree + "/missing", std::string("relative/path"), std::string(), std::string("rfNetwork") }) {
        SCOPED_TRACE(bad);
        TRoot newText = bad;
        try {
            CreateRootFolder(root, "previous", newText);
            ADD_FAILURE() << "no error";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), "Error setting path: \"" + bad + "\"");
        }
        EXPECT_EQ(newText, "previous");
        EXPECT_EQ(root.get(), before);
    }
}

TEST_F(ShellItemsTest, NamesAttributesAndIcons)
{
    std::unique_ptr<TspShellFolder> tree = ItemAt(Tree);
    auto children = Children(*tree);
    TspShellFolder* questions = Named(children, "12x");
    ASSERT_TRUE(questions) << "\"?1?2x\" is shown without its question marks";
    EXPECT_EQ(questions->FullObjectName(), Tree + "/?1?2x") << "the path keeps them";

    TspShellFolder* zip = Named(children, "archive.zip");
    ASSERT_TRUE(zip);
    EXPECT_FALSE(zip->IsFolder()) << "archives are files even when they are folders";
    TspShellFolder* one = Named(children, "one");
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->IsFolder());
    EXPECT_TRUE(one->SubFolders());
    EXPECT_TRUE(one->Properties().Contains(fpFileSystem));
    EXPECT_TRUE(one->Capabilities().Contains(fcCanRename));
    EXPECT_FALSE(questions->IsFolder());
    EXPECT_GE(one->ImageIndex(false), 0);
    EXPECT_GE(questions->ImageIndex(true), 0);

    // A virtual item: its parsing name "::{...}" falls back to the shown name, and it has no file-system path.
    std::unique_ptr<TspShellFolder> computer;
    TRoot text = "rfMyComputer";
    CreateRootFolder(computer, "", text);
    EXPECT_EQ(computer->PathName(), "Computer");
    EXPECT_EQ(computer->FullObjectName(), "");
    EXPECT_FALSE(computer->Properties().Contains(fpFileSystem));
    EXPECT_EQ(GetDisplayName(nullptr, computer->RelativeID(), 0), "parentfolder = nil");
}

// A rename three levels down leaves lists that still name the item; a taken name is refused and both files
// stay as they were.
TEST_F(ShellItemsTest, RenameKeepsListsAndNeverOverwrites)
{
    std::unique_ptr<TspShellFolder> one = ItemAt(Tree + "/one");
    auto level1 = Children(*one);
    auto level2 = Children(*Named(level1, "two"));
    auto level3 = Children(*Named(level2, "three"));
    TspShellFolder* clip = Named(level3, "clip.mp4");
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->Level(), 3);

    EXPECT_TRUE(clip->Rename("renamed clip é.mp4"));
    EXPECT_EQ(clip->FullObjectName(), Tree + "/one/two/three/renamed clip é.mp4");
    EXPECT_EQ(clip->DisplayName(), "renamed clip é.mp4");
    EXPECT_TRUE(SamePIDL(clip->AbsoluteID(), ItemAt(Tree + "/one/two/three/renamed clip é.mp4")->AbsoluteID()));

    for (const char* bad : { "other.mp4", "a/b", "" }) {
        SCOPED_TRACE(bad);
        try {
            clip->Rename(bad);
            ADD_FAILURE() << "renamed";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), std::string("Rename to ") + bad + " failed");
        }
    }
    EXPECT_EQ(Home.Read(Tree + "/one/two/three/renamed clip é.mp4"), "clip");
    EXPECT_EQ(Home.Read(Tree + "/one/two/three/other.mp4"), "other");

    // The computer cannot be renamed: no capability, no error.
    std::unique_ptr<TspShellFolder> computer;
    TRoot text = "rfMyComputer";
    CreateRootFolder(computer, "", text);
    EXPECT_FALSE(computer->Rename("x"));
}

TEST_F(ShellItemsTest, FallbackDetails)
{
    {
        std::ofstream sparse(Tree + "/big.bin");
    }
    ASSERT_EQ(truncate((Tree + "/big.bin").c_str(), (int64_t(5) << 30) + 7), 0);
    std::unique_ptr<TspShellFolder> tree = ItemAt(Tree);
    auto children = Children(*tree);
    TspShellFolder* big = Named(children, "big.bin");
    TspShellFolder* one = Named(children, "one");
    ASSERT_TRUE(big && one);

    try {
        big->GetDetails(1);
        ADD_FAILURE() << "details before loading";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "big.bin: Missing call to LoadColumnDetails");
    }
    big->LoadColumnDetails(tree.get(), nullptr, 4);
    EXPECT_EQ(big->GetDetails(1), std::to_string((int64_t(5) << 30) + 7)) << "the whole 64-bit size";
    EXPECT_EQ(big->GetDetails(2), ".bin");
    EXPECT_EQ(big->GetDetails(3).size(), 19u) << big->GetDetails(3);
    EXPECT_EQ(big->GetDetails(4), "32") << "a plain file: the archive bit, in decimal";
    one->LoadColumnDetails(tree.get(), nullptr, 4);
    EXPECT_EQ(one->GetDetails(1), "-1");
    EXPECT_EQ(one->GetDetails(3), "") << "folders have no date to show";

    big->SetDetails(5, "appended");
    EXPECT_EQ(big->GetDetails(5), "appended");
    big->SetDetails(9, "ignored");
    EXPECT_EQ(big->DetailCount(), 5);

    // A file gone since it was listed: a clear error naming it.
    std::filesystem::remove(Tree + "/big.bin");
    big->SetDetails(1, "x");
    TspShellFolder* gone = big;
    auto fresh = std::make_unique<TspShellFolder>(tree.get(), gone->RelativeID(), nullptr);
    try {
        fresh->LoadColumnDetails(tree.get(), nullptr, 4);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidPath& error) {
        EXPECT_EQ(error.Message(), "Unable to retrieve folder details for \"big.bin\". Error code $2");
    }

    // Virtual roots give no details at all.
    std::unique_ptr<TspShellFolder> computer;
    TRoot text = "rfMyComputer";
    CreateRootFolder(computer, "", text);
    one->LoadColumnDetails(computer.get(), nullptr, 8);
    EXPECT_EQ(one->DetailCount(), 0);
}

// The menu shows the item's verbs; the owner may carry a verb out itself, and hears how each ended.
class TVerbForm : public TForm, public IShellCommandVerb {
public:
    using TForm::TForm;
    void ExecuteCommand(const std::string& verb, bool& handled) override
    {
        Log.push_back("execute " + verb);
        handled = verb == "rename";
    }
    void CommandCompleted(const std::string& verb, bool succeeded) override
    {
        Log.push_back("completed " + verb + (succeeded ? " ok" : " failed"));
    }
    std::vector<std::string> Log;
};

class ShellContextMenuTest : public ControlsTest {
protected:
    TShellTestHome Home;
};

TEST_F(ShellContextMenuTest, VerbProtocol)
{
    const std::string file = Home.Write(Home.Root() + "/box/clip.mp4", "x");
    std::unique_ptr<TspShellFolder> box = ItemAt(Home.Root() + "/box");
    auto children = Children(*box);
    TspShellFolder* clip = Named(children, "clip.mp4");
    ASSERT_TRUE(clip);
    auto* form = TCustomForm::Create<TVerbForm>(Application);
    form->SetBounds(10, 10, 300, 200);
    form->Show();
    Pump();
    TShellCommandRecorder recorder;

    struct Case {
        const char* Name;
        std::vector<UINT> Keys;
        std::vector<std::string> Log;
    };
    const Case cases[] = {
        { "the owner renames", { 'M' }, { "execute rename", "completed rename ok" } },
        { "the shell opens", { 'O' }, { "execute open", "completed open ok" } },
        { "cancelled", { VK_ESCAPE }, {} },
        { "the shell deletes (to the trash)", { 'D' }, { "execute delete", "completed delete ok" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        form->Log.clear();
        for (UINT key : c.Keys)
            Backend.Key(key);
        InvokeContextMenu(form, clip, 5, 5);
        EXPECT_EQ(form->Log, c.Log);
        EXPECT_EQ(OpenContextMenu(), nullptr);
    }
    ASSERT_EQ(recorder.Commands().size(), 1u);
    EXPECT_EQ(recorder.Commands()[0].Argv.back(), file);
    EXPECT_FALSE(std::filesystem::exists(file)) << "deleted to the trash";
    EXPECT_FALSE(DoContextMenuVerb(clip, "properties"));
    InvokeContextMenu(form, nullptr, 0, 0);
}

// Icons: a theme's PNG read by our codec, halved with its alpha, and the image list taking every icon the
// system list handed out.
TEST(TspShellImageList, DecodesThemeIconsAndFollowsTheSystemList)
{
    TShellTestHome home;
    TBitmap red;
    red.SetSize(32, 32);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 32, 32));
    TPNGObject png;
    png.AssignHandle(red.Handle(), false, 0);
    png.CreateAlpha();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            png.GetAlphaScanline(y)[x] = 0;
    const std::string file = home.Root() + "/icon.png";
    png.SaveToFile(file);

    std::vector<uint32_t> pixels;
    ASSERT_TRUE(DecodeShellIcon(file, 16, pixels));
    ASSERT_EQ(pixels.size(), 256u);
    EXPECT_EQ(pixels[0], 0u) << "transparent half";
    EXPECT_EQ(pixels[15], 0xFFFF0000u) << "opaque red as B,G,R,A";
    EXPECT_FALSE(DecodeShellIcon(home.Root() + "/missing.png", 16, pixels));
    EXPECT_FALSE(DecodeShellIcon(home.Write("bad.png", "not a png"), 16, pixels));

    TSystemImageList& system = TSystemImageList::Instance();
    system.SetTheme(std::make_unique<TIconTheme>("None", std::vector<std::string> { home.Root() + "/no-icons" }));
    TspShellImageList small(nullptr, false);
    EXPECT_EQ(small.Width(), 16);
    const int index = system.IndexOf({ "folder" }, { "text-x-generic" });
    small.Sync();
    EXPECT_EQ(small.Count(), system.Count());
    EXPECT_GT(small.Count(), index);
    system.SetTheme(std::make_unique<TIconTheme>());
}

// --- The notifier -------------------------------------------------------------------------------------------

bool PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        CheckSynchronize(100);
    }
    return true;
}

TEST(TspShellChangeNotifier, StartsWithItsEventAndCallsOnTheMainThread)
{
    TShellTestHome home;
    const std::string folder = home.Root() + "/watched";
    std::filesystem::create_directories(folder + "/sub");
    auto notifier = std::make_unique<TspShellChangeNotifier>(nullptr);
    EXPECT_FALSE(notifier->Active()) << "no event, no thread";
    EXPECT_EQ(notifier->Root(), "/");
    EXPECT_TRUE(notifier->WatchSubTree());
    EXPECT_EQ(TspCustomShellChangeNotifier::FilterBits(notifier->NotifyFilters()), 0x3u);
    EXPECT_EQ(TspCustomShellChangeNotifier::FilterBits(TNotifyFilters { nfWriteChange, nfSecurityChange }), 0x110u);

    notifier->SetRoot(folder);
    notifier->SetWatchSubTree(false);
    int count = 0;
    notifier->SetOnChange([&] {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
        ++count;
    });
    ASSERT_TRUE(notifier->Active());
    ASSERT_TRUE(notifier->Watching());

    // A change in the subfolder alone is not seen; the one after it in the folder is.
    home.Write(folder + "/sub/inner.txt", "x");
    home.Write(folder + "/top.txt", "x");
    ASSERT_TRUE(PumpUntil([&] { return count >= 1; }));
    const int seen = count;
    notifier->SetWatchSubTree(true);
    home.Write(folder + "/sub/second.txt", "x");
    ASSERT_TRUE(PumpUntil([&] { return count > seen; })) << "watching the subtree after re-arming";

    // Deleting the notifier right after a change: nothing runs afterwards.
    home.Write(folder + "/late.txt", "x");
    notifier.reset();
    const int final = count;
    CheckSynchronize(0);
    EXPECT_EQ(count, final);
}

TEST(TspShellChangeNotifier, MissingFolderGivesNothingAndNoError)
{
    TShellTestHome home;
    TspShellChangeNotifier notifier(nullptr);
    notifier.SetRoot(home.Root() + "/missing");
    bool called = false;
    notifier.SetOnChange([&] { called = true; });
    EXPECT_TRUE(notifier.Active());
    EXPECT_FALSE(notifier.Watching());
    home.Write(home.Root() + "/missing/now.txt", "x");
    CheckSynchronize(0);
    EXPECT_FALSE(called);
}

} // namespace
