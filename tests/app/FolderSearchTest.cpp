// The add-folder dialog's search over real folders: the file-type table, whole-extension matching, the end
// handler after a finished or stopped search, a new start replacing a running one, and a caller cut off.
#include "app/FolderSearch.h"

#include "framework/core/TThread.h"
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TRecorder : public SearchCallBackBase {
public:
    void OnFileFound(const std::string& path) override { Files.push_back(path); }
    void OnFolder(const std::string& folder) override
    {
        Folders.push_back(folder);
        if (AfterFolder)
            AfterFolder();
    }
    std::vector<std::string> Files;
    std::vector<std::string> Folders;
    std::function<void()> AfterFolder;
};

class FolderSearchTest : public testing::Test {
protected:
    void Touch(const std::string& relative)
    {
        const std::filesystem::path path = Folder.Path() + relative;
        std::filesystem::create_directories(path.parent_path());
        WriteText(path.string(), "x");
    }
    // Runs the search until its end handler has run, serving the hand-overs here as the dialog's loop would.
    void RunToEnd(SearchFile_Multithread& search)
    {
        search.OnSearchEnd = [this] { ++Ends; };
        search.Start();
        while (Ends == 0)
            CheckSynchronize(1000);
    }
    std::vector<std::string> Relative(std::vector<std::string> paths) const
    {
        for (std::string& path : paths)
            path = path.substr(Folder.Path().size());
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    TTempFolder Folder;
    TRecorder Recorder;
    int Ends = 0;
};

TEST_F(FolderSearchTest, FileTypeTableHasTwelveChoicesAndFallsBackToAll)
{
    EXPECT_EQ(FileTypeItems[6].Caption, "Real Video(*.rmvb, *.rm)");
    EXPECT_EQ(FileTypeMasks(6), "*.rmvb;*.rm");
    EXPECT_EQ(FileTypeMasks(11), "*.3gp;*.3g2");
    EXPECT_EQ(FileTypeMasks(-1), FileTypeMasks(0));
    EXPECT_EQ(FileTypeMasks(FileTypeCount), FileTypeMasks(0));
    EXPECT_EQ(std::count(FileTypeMasks(0).begin(), FileTypeMasks(0).end(), ';'), 15);
}

TEST_F(FolderSearchTest, FindsWholeExtensionsOnlyInSubfoldersWhenAskedWithBlanksInPaths)
{
    for (const char* name : { "a.rm", "b.RMVB", "c.rmx", "d.avi", "with blanks/e.rm", "with blanks/deeper/f.rmvb" })
        Touch(name);
    struct Case {
        bool Recursive;
        std::vector<std::string> Found;
    };
    for (const Case& c : { Case { false, { "a.rm", "b.RMVB" } },
             Case { true, { "a.rm", "b.RMVB", "with blanks/deeper/f.rmvb", "with blanks/e.rm" } } }) {
        SCOPED_TRACE(c.Recursive);
        Recorder = {};
        Ends = 0;
        SearchFile_Multithread search(&Recorder, FileTypeMasks(6), Folder.Path(), nullptr, c.Recursive);
        RunToEnd(search);
        EXPECT_EQ(Relative(Recorder.Files), c.Found);
        EXPECT_EQ(search.Results().size(), c.Found.size());
        EXPECT_EQ(Ends, 1);
    }
}

TEST_F(FolderSearchTest, StopEndsTheSearchKeepingWhatWasFound)
{
    for (int i = 0; i < 20; ++i)
        Touch("f" + std::to_string(i) + "/clip.avi");
    SearchFile_Multithread search(&Recorder, FileTypeMasks(1), Folder.Path(), nullptr, true);
    // Stop once the search has entered its third folder: it sees the request before the next one.
    Recorder.AfterFolder = [&] {
        if (Recorder.Folders.size() == 3)
            search.Stop();
    };
    RunToEnd(search);
    EXPECT_EQ(Recorder.Folders.size(), 3u);
    EXPECT_LE(Recorder.Files.size(), 2u);
    EXPECT_EQ(Recorder.Files.size(), search.Results().size());
    EXPECT_EQ(Ends, 1);
}

TEST_F(FolderSearchTest, RestartAndDetachReachNoOldOrGoneCaller)
{
    for (int i = 0; i < 5; ++i)
        Touch("f" + std::to_string(i) + "/clip.mp4");
    {
        SearchFile_Multithread search(&Recorder, FileTypeMasks(7), Folder.Path(), nullptr, true);
        RunToEnd(search);
        EXPECT_EQ(Recorder.Files.size(), 5u);
        // A second start empties the results and finds everything again.
        Ends = 0;
        RunToEnd(search);
        EXPECT_EQ(search.Results().size(), 5u);
        EXPECT_EQ(Recorder.Files.size(), 10u);
    }
    // Detached right after its start, a search that is then destroyed hands nothing to its caller.
    TRecorder gone;
    bool ended = false;
    {
        SearchFile_Multithread search(&gone, FileTypeMasks(7), Folder.Path(), nullptr, true);
        search.OnSearchEnd = [&] { ended = true; };
        search.Start();
        search.Detach();
    }
    CheckSynchronize();
    EXPECT_TRUE(gone.Files.empty());
    EXPECT_TRUE(gone.Folders.empty());
    EXPECT_FALSE(ended);
}

} // namespace
