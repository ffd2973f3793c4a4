// The folder search over real folders: list splitting, masks, recursion, folders and files handed over once,
// limits, termination, and a symbolic-link loop that ends.
#include "engine/TSearchFileThread.h"

#include "engine/SplitString.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TStrings.h"
#include "framework/core/TThread.h"
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records the hand-overs, checking that they come on the main thread.
class TRecordingCallback : public SearchCallBackBase {
public:
    void OnFileFound(const std::string& path) override
    {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
        Files.push_back(path);
    }
    void OnFolder(const std::string& folder) override
    {
        EXPECT_EQ(GetCurrentThreadId(), MainThreadID());
        Folders.push_back(folder);
        if (AfterFolder)
            AfterFolder();
    }

    std::vector<std::string> Files;
    std::vector<std::string> Folders;
    std::function<void()> AfterFolder;
};

class TNameLimit : public SearchLimit {
public:
    explicit TNameLimit(std::string refused)
        : Refused(std::move(refused))
    {
    }
    bool Accepts(const SearchResultItem& item) override { return item.Name != Refused; }

    std::string Refused;
};

class TSearchFileThreadTest : public testing::Test {
protected:
    // Creates the file (and its folders) under the temporary folder.
    std::string Touch(const std::string& relative)
    {
        const std::filesystem::path path = Folder.Path() + relative;
        std::filesystem::create_directories(path.parent_path());
        WriteText(path.string(), "x");
        return path.string();
    }
    std::string Dir(const std::string& relative)
    {
        std::filesystem::create_directories(Folder.Path() + relative);
        return Folder.Path() + relative;
    }

    // Runs a search to its end on a thread of its own, serving its hand-overs here.
    void Search(bool recursive, const std::string& folders, const std::string& masks,
        const std::vector<SearchLimit*>* limits = nullptr)
    {
        std::unique_ptr<TSearchFileThread> thread(
            TThread::Create<TSearchFileThread>(false, &Callback, recursive, folders, masks, &Results, limits));
        Thread = thread.get();
        thread->WaitFor();
        Thread = nullptr;
    }

    std::vector<std::string> FoundNames() const
    {
        std::vector<std::string> names;
        for (const SearchResultItem& item : Results)
            names.push_back(item.Path.substr(Folder.Path().size()));
        std::sort(names.begin(), names.end());
        return names;
    }

    TTempFolder Folder;
    TRecordingCallback Callback;
    ResultVector Results;
    TSearchFileThread* Thread = nullptr;
};

TEST(SplitString, DropsBlanksAtItemEndsAndEmptyItems)
{
    struct Case {
        const char* Text;
        std::vector<std::string> Items;
    };
    const Case kCases[] = {
        { " *.avi ; *.mkv;;/home/my  videos ", { "*.avi", "*.mkv", "/home/my  videos" } },
        { ";;", {} },
        { "", {} },
        { "   ;  ", {} },
        { "a", { "a" } },
        { "a b ;c", { "a b", "c" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Text);
        TStringList list;
        list.Add("kept");
        SplitString(c.Text, ';', list);
        std::vector<std::string> items;
        for (int i = 1; i < list.Count(); ++i)
            items.push_back(list.Strings(i));
        EXPECT_EQ(items, c.Items);
        EXPECT_EQ(list.Strings(0), "kept");
    }
}

TEST_F(TSearchFileThreadTest, TheSameFolderGivenTwiceIsSearchedOnce)
{
    Touch("A/one.avi");
    const std::string a = Folder.Path() + "A";
    Search(false, a + ";" + a + "/; " + a + " ", "*.avi");
    EXPECT_EQ(Callback.Folders, std::vector<std::string> { a + "/" });
    EXPECT_EQ(FoundNames(), std::vector<std::string> { "A/one.avi" });
    EXPECT_EQ(Callback.Files, std::vector<std::string> { Folder.Path() + "A/one.avi" });
}

TEST_F(TSearchFileThreadTest, MasksMatchTheExtensionWhateverItsCase)
{
    Touch("clip.AVI");
    Touch("clip.avix");
    Touch("other.avi");
    Touch("movie.mkv");
    Touch("noext");
    Dir("x.avi");
    struct Case {
        const char* Masks;
        std::vector<std::string> Found;
    };
    const Case kCases[] = {
        { "*.avi", { "clip.AVI", "other.avi" } },
        { "*.AVI;*.mkv", { "clip.AVI", "movie.mkv", "other.avi" } },
        // No file name has a wildcard for its extension.
        { "*.*", {} },
        { "*.avix", { "clip.avix" } },
        { "", {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Masks);
        Results.clear();
        Search(false, Folder.Path(), c.Masks);
        EXPECT_EQ(FoundNames(), c.Found);
    }
    // What is handed over describes the file.
    Results.clear();
    Search(false, Folder.Path(), "*.mkv");
    ASSERT_EQ(Results.size(), 1u);
    EXPECT_EQ(Results[0].Name, "movie.mkv");
    EXPECT_EQ(Results[0].Size, 1);
    EXPECT_NE(Results[0].Time, 0);
    EXPECT_TRUE(Results[0].Attr & faArchive);
}

TEST_F(TSearchFileThreadTest, RecursionEntersSubfoldersDepthFirst)
{
    Touch("top.avi");
    Touch("a/in-a.avi");
    Touch("a/deep/in-deep.avi");
    Touch("b/in-b.avi");
    Search(false, Folder.Path(), "*.avi");
    EXPECT_EQ(FoundNames(), std::vector<std::string> { "top.avi" });
    EXPECT_EQ(Callback.Folders.size(), 1u);

    Results.clear();
    Callback.Folders.clear();
    Search(true, Folder.Path(), "*.avi");
    EXPECT_EQ(FoundNames(), (std::vector<std::string> { "a/deep/in-deep.avi", "a/in-a.avi", "b/in-b.avi", "top.avi" }));
    // The subfolder enumerated last is searched first.
    const std::string root = Folder.Path();
    EXPECT_EQ(Callback.Folders, (std::vector<std::string> { root, root + "b/", root + "a/", root + "a/deep/" }));
}

TEST_F(TSearchFileThreadTest, FilesReachedTwiceAreHandedOverOnce)
{
    Touch("a/sub/clip.avi");
    Touch("a/top.avi");
    const std::string a = Folder.Path() + "a";
    // The subfolder is given too, and waits in the stack when the recursion finds it again.
    Search(true, a + "/sub;" + a, "*.avi");
    EXPECT_EQ(FoundNames(), (std::vector<std::string> { "a/sub/clip.avi", "a/top.avi" }));
    EXPECT_EQ(Callback.Files.size(), 2u);
    // A second search into the same results adds nothing.
    Search(true, a, "*.avi");
    EXPECT_EQ(Results.size(), 2u);
    EXPECT_EQ(Callback.Files.size(), 2u);
}

TEST_F(TSearchFileThreadTest, EachFolderReachesTheCallerBeforeItsFilesInOrder)
{
    // More files than one hand-over carries, in a folder between two small ones.
    for (int i = 0; i < 600; ++i)
        Touch("b/clip" + std::to_string(1000 + i) + ".avi");
    Touch("a/one.avi");
    Touch("c/two.avi");
    std::vector<std::string> events;
    struct TOrder : SearchCallBackBase {
        std::vector<std::string>* Events;
        void OnFileFound(const std::string& path) override { Events->push_back("file " + path); }
        void OnFolder(const std::string& folder) override { Events->push_back("folder " + folder); }
    } order;
    order.Events = &events;
    std::unique_ptr<TSearchFileThread> thread(TThread::Create<TSearchFileThread>(
        false, &order, true, Folder.Path(), "*.avi", &Results, nullptr));
    thread->WaitFor();

    std::vector<std::string> expected { "folder " + Folder.Path() };
    for (const char* sub : { "c", "b", "a" }) {
        expected.push_back("folder " + Folder.Path() + sub + "/");
        if (std::string(sub) == "b") {
            for (int i = 0; i < 600; ++i)
                expected.push_back("file " + Folder.Path() + "b/clip" + std::to_string(1000 + i) + ".avi");
        } else {
            expected.push_back("file " + Folder.Path() + sub + (std::string(sub) == "a" ? "/one.avi" : "/two.avi"));
        }
    }
    EXPECT_EQ(events, expected);
    EXPECT_EQ(Results.size(), 602u);
}

TEST_F(TSearchFileThreadTest, ALinkBackUpTheTreeEndsTheDescent)
{
    Touch("a/clip.avi");
    Touch("a/b/deeper.avi");
    std::filesystem::create_directory_symlink(Folder.Path() + "a", Folder.Path() + "a/b/loop");
    std::filesystem::create_directory_symlink(Folder.Path() + "a/b", Folder.Path() + "shortcut");
    Search(true, Folder.Path(), "*.avi");
    // Each real folder is searched once, under the first path that reached it.
    EXPECT_EQ(FoundNames(), (std::vector<std::string> { "a/clip.avi", "shortcut/deeper.avi" }));
    EXPECT_EQ(Callback.Folders.size(), 3u);
}

TEST_F(TSearchFileThreadTest, LimitsMustAllAcceptAFile)
{
    Touch("keep.avi");
    Touch("drop.avi");
    TNameLimit dropLimit("drop.avi");
    TNameLimit noneLimit("");
    const std::vector<SearchLimit*> empty;
    const std::vector<SearchLimit*> both { &noneLimit, &dropLimit };
    Search(false, Folder.Path(), "*.avi", &empty);
    EXPECT_EQ(FoundNames(), (std::vector<std::string> { "drop.avi", "keep.avi" }));
    Results.clear();
    Search(false, Folder.Path(), "*.avi", &both);
    EXPECT_EQ(FoundNames(), std::vector<std::string> { "keep.avi" });
}

TEST_F(TSearchFileThreadTest, TerminateIsSeenBeforeTheNextFolder)
{
    Touch("a/one.avi");
    Touch("b/two.avi");
    // The folder in progress is searched to its end; the next one is not entered.
    Callback.AfterFolder = [this] { Thread->Terminate(); };
    Search(false, Folder.Path() + "a;" + Folder.Path() + "b", "*.avi");
    EXPECT_EQ(Callback.Folders, std::vector<std::string> { Folder.Path() + "b/" });
    EXPECT_EQ(FoundNames(), std::vector<std::string> { "b/two.avi" });
}

TEST_F(TSearchFileThreadTest, MissingFoldersAndHugeFiles)
{
    // A folder that does not exist yields nothing and no error.
    Search(true, Folder.Path() + "missing", "*.avi");
    EXPECT_TRUE(Results.empty());
    EXPECT_EQ(Callback.Folders.size(), 1u);
    // A file above 2 GiB keeps its size (a sparse file, so the disk is not filled).
    const std::string big = Touch("big.mkv");
    std::filesystem::resize_file(big, 3ll << 30);
    Search(false, Folder.Path(), "*.mkv");
    ASSERT_EQ(Results.size(), 1u);
    EXPECT_EQ(Results[0].Size, 3ll << 30);
}

TEST_F(TSearchFileThreadTest, AThreadDeletedWhileSearchingStopsFirst)
{
    for (int i = 0; i < 20; ++i)
        Touch("f" + std::to_string(i) + "/clip.avi");
    auto* thread = TThread::Create<TSearchFileThread>(false, &Callback, true, Folder.Path(), "*.avi", &Results,
        static_cast<const std::vector<SearchLimit*>*>(nullptr));
    // Deleting it at once asks it to end and waits, serving its hand-overs meanwhile.
    delete thread;
    EXPECT_LE(Results.size(), 20u);
}

} // namespace
