// The add-folder search (the engine's search thread with the dialog's "All Supported Video Files" masks, every
// folder and file handed to the main thread as the dialog gets them) over a tree of 100,000 files in 5,000
// folders, against `find` with the same extensions. Both run as whole processes and write the paths they found
// to the same kind of file; a first round checks that both found the same paths.
#include "app/FolderSearch.h"
#include "bench/BenchProcess.h"
#include "bench/BenchTiming.h"
#include "engine/SplitString.h"
#include "framework/core/TStrings.h"
#include "framework/core/TThread.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kTopFolders = 50;
constexpr int kSubFolders = 99; // per top folder: 50 + 50 * 99 = 5,000 folders
constexpr int kFilesPerFolder = 20;

// What the dialog keeps of the search: the found paths, and the two labels' texts.
class TDialogSide : public SearchCallBackBase {
public:
    void OnFileFound(const std::string& path) override
    {
        Found.push_back(path);
        CountText = std::to_string(Found.size());
    }
    void OnFolder(const std::string& folder) override { FolderText = folder; }
    std::vector<std::string> Found;
    std::string CountText;
    std::string FolderText;
};

int SearchAsTheDialogDoes(const std::string& folder)
{
    TDialogSide dialog;
    bool ended = false;
    SearchFile_Multithread search(&dialog, FileTypeMasks(0), folder, nullptr, true);
    search.OnSearchEnd = [&] { ended = true; };
    search.Start();
    while (!ended)
        CheckSynchronize(INFINITE);
    for (const std::string& path : dialog.Found)
        std::fwrite((path + '\n').data(), 1, path.size() + 1, stdout);
    return dialog.Found.empty() ? 1 : 0;
}

// find's arguments for the same masks: -iname for each, joined by -o.
std::vector<std::string> FindCommand(const std::string& folder)
{
    std::vector<std::string> command { "find", folder, "-type", "f", "(" };
    TStringList masks;
    SplitString(FileTypeMasks(0), ';', masks);
    for (int i = 0; i < masks.Count(); ++i) {
        if (i > 0)
            command.push_back("-o");
        command.push_back("-iname");
        command.push_back(masks.Strings(i));
    }
    command.push_back(")");
    return command;
}

void MakeTree(const std::string& root)
{
    // Twelve of every twenty names are videos of the searched types, in both cases; the rest are not.
    const char* const extensions[kFilesPerFolder] = { ".avi", ".mp4", ".txt", ".MKV", ".wmv", ".jpg", ".flv",
        ".mov", ".srt", ".mpg", ".nfo", ".3gp", ".rmvb", ".png", ".vob", ".avix", ".asf", ".log", ".zip", ".ini" };
    auto fill = [&](const std::string& folder) {
        std::filesystem::create_directories(folder);
        for (int i = 0; i < kFilesPerFolder; ++i)
            std::ofstream(folder + "/clip " + std::to_string(i) + extensions[i]);
    };
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topFolder = root + "/d" + std::to_string(top);
        fill(topFolder);
        for (int sub = 0; sub < kSubFolders; ++sub)
            fill(topFolder + "/e" + std::to_string(sub));
    }
}

std::vector<std::string> SortedLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--ours")
        return SearchAsTheDialogDoes(argv[2]);

    std::string root = std::filesystem::temp_directory_path().string() + "/bench-search-XXXXXX";
    if (!mkdtemp(root.data()))
        return 1;
    MakeTree(root);
    const std::string self = BenchProgram();
    const std::vector<std::string> ours { self, "--ours", root };
    const std::vector<std::string> peer = FindCommand(root);

    // The check round, which also brings the tree into the page cache for both.
    RunWithOutput(ours, root + ".ours");
    RunWithOutput(peer, root + ".peer");
    const std::vector<std::string> oursFound = SortedLines(root + ".ours");
    const std::vector<std::string> peerFound = SortedLines(root + ".peer");
    std::filesystem::remove(root + ".ours");
    std::filesystem::remove(root + ".peer");
    std::printf("check bench_folder_search: ours found %zu, find found %zu%s\n", oursFound.size(), peerFound.size(),
        oursFound == peerFound ? ", the same paths" : ", different paths");
    if (oursFound != peerFound) {
        std::filesystem::remove_all(root);
        return 1;
    }

    const double oursMs = BestOf([&] { RunWithOutput(ours); }, 5);
    const double peerMs = BestOf([&] { RunWithOutput(peer); }, 5);
    Report("bench_folder_search", oursMs, peerMs);
    std::filesystem::remove_all(root);
    return 0;
}
