#include "engine/TSearchFileThread.h"

#include "engine/SplitString.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

// The identity of the folder a path leads to, links followed; false when it cannot be read.
bool FolderIdentity(const std::string& path, std::pair<uint64_t, uint64_t>& identity)
{
    struct stat info { };
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    identity = { uint64_t(info.st_dev), uint64_t(info.st_ino) };
    return true;
}

bool SameItem(const SearchResultItem& a, const SearchResultItem& b)
{
    // The packed times are equal exactly when the date-times they stand for are.
    return a.Path == b.Path && a.Name == b.Name && a.Size == b.Size && a.Time == b.Time && a.Attr == b.Attr;
}

} // namespace

SearchCallBackBase::~SearchCallBackBase() = default;

void SearchCallBackBase::OnFileFound(const std::string&)
{
}

void SearchCallBackBase::OnFolder(const std::string&)
{
}

SearchLimit::~SearchLimit() = default;

TSearchFileThread::TSearchFileThread(bool createSuspended, SearchCallBackBase* callback, bool recursive,
    std::string_view folderList, std::string_view maskList, ResultVector* results,
    const std::vector<SearchLimit*>* limits)
    : inherited(createSuspended)
    , Results(results)
    , Callback(callback)
    , Limits(limits)
    , Recursive(recursive)
{
    SplitString(maskList, ';', Masks);
    TStringList folders;
    SplitString(folderList, ';', folders);
    for (int i = 0; i < folders.Count(); ++i) {
        const std::string folder = IncludeTrailingPathDelimiter(folders.Strings(i));
        if (std::find(Folders.begin(), Folders.end(), folder) == Folders.end())
            Folders.push_back(folder);
    }
}

TSearchFileThread::~TSearchFileThread()
{
    if (Suspended() || Finished())
        return;
    Terminate();
    for (;;) {
        try {
            WaitFor();
            return;
        } catch (const EThread&) {
            return; // A thread that frees itself is deleted only once it has finished.
        } catch (...) {
            // A synchronised call served meanwhile threw; a destructor cannot pass it on, so wait on.
        }
    }
}

void TSearchFileThread::Execute()
{
    for (const std::string& folder : Folders) {
        std::pair<uint64_t, uint64_t> identity;
        if (FolderIdentity(folder, identity))
            KnownFolders.insert(identity);
    }
    int top = int(Folders.size()) - 1;
    while (top >= 0 && !Terminated()) {
        CurrentFolder = Folders[size_t(top)];
        FolderHandedOver = false;
        Folders[size_t(top)].clear();
        --top;
        const TFolderEntries entries(CurrentFolder);
        if (Recursive) {
            for (const std::string& name : entries.SubFolders())
                PushFolder(CurrentFolder + name + PathDelim, top);
        }
        for (int i = 0; i < Masks.Count(); ++i)
            SearchMask(entries, Masks.Strings(i));
        HandOver();
    }
}

void TSearchFileThread::PushFolder(const std::string& path, int& top)
{
    if (std::find(Folders.begin(), Folders.end(), path) != Folders.end())
        return;
    std::pair<uint64_t, uint64_t> identity;
    if (!FolderIdentity(path, identity) || !KnownFolders.insert(identity).second)
        return;
    ++top;
    if (size_t(top) == Folders.size())
        Folders.resize(std::max<size_t>(1, Folders.size() * 2));
    Folders[size_t(top)] = path;
}

void TSearchFileThread::SearchMask(const TFolderEntries& entries, const std::string& mask)
{
    // A large folder is handed over in parts, so the user-interface thread shows its progress meanwhile.
    constexpr size_t kBatch = 256;
    // The mask picks the names; the extension test then keeps only names whose extension is the mask's, so
    // "*.avi" finds clip.AVI but not clip.avix, and "*.*" finds nothing.
    const std::string maskExtension = LowerCase(ExtractFileExt(mask));
    entries.Find(mask, faAnyFile, [&](const TSearchRec& entry) {
        if ((entry.Attr & faDirectory) || LowerCase(ExtractFileExt(entry.Name)) != maskExtension)
            return;
        SearchResultItem item { CurrentFolder + entry.Name, entry.Name, entry.Size, entry.Time, entry.Attr };
        const bool accepted = !Limits || std::all_of(Limits->begin(), Limits->end(), [&item](SearchLimit* limit) {
            return !limit || limit->Accepts(item);
        });
        if (!accepted)
            return;
        Found.push_back(std::move(item));
        if (Found.size() == kBatch)
            HandOver();
    });
}

void TSearchFileThread::HandOver()
{
    if (FolderHandedOver && Found.empty())
        return;
    Synchronize([this] { HandOverFolderAndFiles(); });
    FolderHandedOver = true;
    Found.clear();
}

void TSearchFileThread::HandOverFolderAndFiles()
{
    if (!FolderHandedOver && Callback)
        Callback->OnFolder(std::string(CurrentFolder));
    for (const SearchResultItem& item : Found)
        AddResult(item);
}

void TSearchFileThread::AddResult(const SearchResultItem& item)
{
    if (!Results)
        return;
    if (IndexedResults != Results->size()) {
        ResultsByPath.clear();
        for (size_t i = 0; i < Results->size(); ++i)
            ResultsByPath.emplace((*Results)[i].Path, i);
        IndexedResults = Results->size();
    }
    const auto [first, last] = ResultsByPath.equal_range(item.Path);
    for (auto it = first; it != last; ++it) {
        if (it->second < Results->size() && SameItem((*Results)[it->second], item))
            return;
    }
    Results->push_back(item);
    ResultsByPath.emplace(item.Path, Results->size() - 1);
    IndexedResults = Results->size();
    if (Callback)
        Callback->OnFileFound(item.Path);
}
