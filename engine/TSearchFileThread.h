// TSearchFileThread, the worker of the folder search, with its result records and the caller's hand-over interfaces.
#pragma once
#include "framework/core/TStrings.h"
#include "framework/core/TThread.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TFolderEntries;

// One found file.
struct SearchResultItem {
    std::string Path; // Folder and file name.
    std::string Name; // File name alone.
    // Bytes. Wider than the 32 bits the search once stored, so video files above 2 GiB keep their size.
    int64_t Size = 0;
    int32_t Time = 0; // The file's packed date and time (DateTimeToFileDate).
    int32_t Attr = 0; // The file's attribute bits (faReadOnly, faHidden, faArchive, faSymLink).
};

// The caller's list of found files.
using ResultVector = std::vector<SearchResultItem>;

// The caller's hand-over interface; both calls come on the user-interface thread and do nothing here.
class SearchCallBackBase {
public:
    virtual ~SearchCallBackBase();
    // A new file was added to the results.
    virtual void OnFileFound(const std::string& path);
    // The search enters this folder.
    virtual void OnFolder(const std::string& folder);
};

// A caller-supplied test that a found file must pass to be handed over. Called on the search thread.
class SearchLimit {
public:
    virtual ~SearchLimit();
    virtual bool Accepts(const SearchResultItem& item) = 0;
};

// Walks the given folders (and their subfolders when recursive), finds every file that matches one of the masks,
// and hands each folder it enters and each new file to the user-interface thread through Synchronize, while the
// search waits. A folder is handed over together with the files found in it (in batches, for a large folder), so
// the user-interface thread sees the folder and then its files in order without a wait for each file. Folders are searched depth-first, from the last given folder to the first. A request to terminate
// is seen before each folder. Symbolic links to folders are followed, but no folder is entered twice through
// them, so a link that points back up the tree ends the descent.
class TSearchFileThread final : public TThread {
    using inherited = TThread;

public:
    // `folderList` and `maskList` are ';'-separated (SplitString); each folder gets a trailing '/' and the same
    // folder given twice is searched once. `results`, `callback` and `limits` stay the caller's and must outlive
    // the thread; `callback` and `limits` may be null (no limits: every file passes).
    TSearchFileThread(bool createSuspended, SearchCallBackBase* callback, bool recursive, std::string_view folderList,
        std::string_view maskList, ResultVector* results, const std::vector<SearchLimit*>* limits);
    // Asks a running search to end and waits for it, since the search reads this object's members.
    ~TSearchFileThread() override;

protected:
    void Execute() override;

private:
    // Pushes a subfolder found in CurrentFolder unless it is waiting already or its folder was seen before.
    void PushFolder(const std::string& path, int& top);
    void SearchMask(const TFolderEntries& entries, const std::string& mask);
    // Hands the folder (when not yet handed over) and the files found since the last hand-over to the
    // user-interface thread.
    void HandOver();
    // On the user-interface thread.
    void HandOverFolderAndFiles();
    // Adds a found file to the results unless the very same file is there already.
    void AddResult(const SearchResultItem& item);

    ResultVector* Results;
    SearchCallBackBase* Callback;
    const std::vector<SearchLimit*>* Limits;
    bool Recursive;
    // The folders still to search, used as a stack; searched entries are emptied.
    std::vector<std::string> Folders;
    TStringList Masks;
    std::string CurrentFolder;
    bool FolderHandedOver = false;
    // Files found in CurrentFolder and not yet handed over.
    std::vector<SearchResultItem> Found;
    // Device and inode of every folder searched or waiting, so a folder reached again through a link is skipped.
    std::set<std::pair<uint64_t, uint64_t>> KnownFolders;
    // The results by path, so that a file already there is found without going through all of them; on the
    // user-interface thread. Rebuilt when the caller's list has changed size under it.
    std::unordered_multimap<std::string, size_t> ResultsByPath;
    size_t IndexedResults = 0;
};
