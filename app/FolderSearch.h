// The add-folder dialog's search: the file-type mask table and the classes that run the engine's search thread
// for the dialog and hand what it finds to a caller on the user-interface thread.
#pragma once
#include "engine/TSearchFileThread.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The dialog's file-type choices: the caption of each item and the ';'-separated masks it searches for.
struct TFileTypeItem {
    std::string_view Caption;
    std::string_view Masks;
};
constexpr int FileTypeCount = 12;
extern const std::array<TFileTypeItem, FileTypeCount> FileTypeItems;
// The masks of file-type choice `index`; the first choice ("All Supported Video Files") for an index outside
// the table, so a combo box without a selection still searches for every supported type.
std::string_view FileTypeMasks(int index);

// A folder search: what to look for and where. Start and Stop are the derived class's.
class SearchFile {
public:
    SearchFile(std::string_view maskList, std::string_view folderList, const std::vector<SearchLimit*>* limits,
        bool recursive);
    virtual ~SearchFile();
    virtual void Start() = 0;
    virtual void Stop() = 0;

    const ResultVector& Results() const { return FResults; }

protected:
    std::string MaskList;
    std::string FolderList;
    const std::vector<SearchLimit*>* Limits;
    bool Recursive;
    ResultVector FResults;
};

// The search on the engine's worker thread. Folders entered and files found reach `callback` on the
// user-interface thread; OnSearchEnd runs there once the thread has ended, whether it finished or was stopped.
class SearchFile_Multithread final : public SearchFile {
public:
    SearchFile_Multithread(SearchCallBackBase* callback, std::string_view maskList, std::string_view folderList,
        const std::vector<SearchLimit*>* limits, bool recursive);
    // Stops the search and waits for its thread, serving its hand-overs meanwhile.
    ~SearchFile_Multithread() override;

    // Starts a new search; one still running is stopped and waited for first. The results are emptied.
    void Start() override;
    // Asks the running search to end; OnSearchEnd follows once it has.
    void Stop() override;
    // Cuts the search off from its caller: no callback and no OnSearchEnd reach it any more. For a caller that
    // is going away while the search may still hand something over.
    void Detach();

    std::function<void()> OnSearchEnd;

private:
    // Stops and deletes the thread, if any, serving its pending hand-overs.
    void EndThread();

    // Passes the thread's calls on to the caller until Detach.
    class Relay final : public SearchCallBackBase {
    public:
        SearchCallBackBase* Target = nullptr;
        void OnFileFound(const std::string& path) override;
        void OnFolder(const std::string& folder) override;
    };

    Relay FRelay;
    std::unique_ptr<TSearchFileThread> FThread;
};
