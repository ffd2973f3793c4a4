#include "app/FolderSearch.h"

const std::array<TFileTypeItem, FileTypeCount> FileTypeItems { {
    { "All Supported Video Files",
        "*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mov;*.qt;*.vob;*.rmvb;*.rm;*.mp4;*.mkv;*.ogm;*.flv;*.3gp;*.3g2" },
    { "AVI Files(*.avi)", "*.avi" },
    { "Windows Media Files(*.wmv, *.asf)", "*.wmv;*.asf" },
    { "MPEG1/2 Files(*.mpg, *.mpeg)", "*.mpg;*.mpeg" },
    { "Quick Time Files(*.mov, *.qt)", "*.mov;*.qt" },
    { "DVD Files(*.vob)", "*.vob" },
    { "Real Video(*.rmvb, *.rm)", "*.rmvb;*.rm" },
    { "MPEG4 Files(*.mp4)", "*.mp4" },
    { "Matroska Files(*.mkv)", "*.mkv" },
    { "OGM Files(*.ogm)", "*.ogm" },
    { "Flash Video Files(*.flv)", "*.flv" },
    { "3GPP Video Files(*.3gp,*.3g2)", "*.3gp;*.3g2" },
} };

std::string_view FileTypeMasks(int index)
{
    return FileTypeItems[index >= 0 && index < FileTypeCount ? size_t(index) : 0].Masks;
}

SearchFile::SearchFile(std::string_view maskList, std::string_view folderList,
    const std::vector<SearchLimit*>* limits, bool recursive)
    : MaskList(maskList)
    , FolderList(folderList)
    , Limits(limits)
    , Recursive(recursive)
{
}

SearchFile::~SearchFile() = default;

SearchFile_Multithread::SearchFile_Multithread(SearchCallBackBase* callback, std::string_view maskList,
    std::string_view folderList, const std::vector<SearchLimit*>* limits, bool recursive)
    : SearchFile(maskList, folderList, limits, recursive)
{
    FRelay.Target = callback;
}

SearchFile_Multithread::~SearchFile_Multithread()
{
    Detach();
    EndThread();
}

void SearchFile_Multithread::Start()
{
    EndThread();
    FResults.clear();
    FThread.reset(TThread::Create<TSearchFileThread>(true, &FRelay, Recursive, FolderList, MaskList, &FResults, Limits));
    FThread->OnTerminate = [this](TObject*) {
        if (OnSearchEnd)
            OnSearchEnd();
    };
    FThread->Start();
}

void SearchFile_Multithread::Stop()
{
    if (FThread)
        FThread->Terminate();
}

void SearchFile_Multithread::Detach()
{
    FRelay.Target = nullptr;
    OnSearchEnd = nullptr;
}

void SearchFile_Multithread::EndThread()
{
    if (!FThread)
        return;
    FThread->Terminate();
    for (;;) {
        try {
            FThread->WaitFor();
            break;
        } catch (...) {
            // A hand-over served while waiting threw; the thread must still end before it is deleted.
        }
    }
    FThread.reset();
}

void SearchFile_Multithread::Relay::OnFileFound(const std::string& path)
{
    if (Target)
        Target->OnFileFound(path);
}

void SearchFile_Multithread::Relay::OnFolder(const std::string& folder)
{
    if (Target)
        Target->OnFolder(folder);
}
