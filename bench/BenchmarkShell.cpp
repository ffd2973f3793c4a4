// Listing a folder of 20,000 files with their shown names, content types and icon indexes, against `ls -l` of
// the same folder. Both sides run as whole processes (start-up paid by both) and write their listing to
// /dev/null: ours is this program started again with "--list <folder>".
// Then the shell file list showing the same folder (listing, sorting, icons, first full paint of the window on
// the headless display) against the shell services enumerating it with the same details: each item's shown
// name, its folder attribute and its icon index.
#include "bench/BenchProcess.h"
#include "bench/BenchDisplay.h"
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TApplication.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/win/Windows.h"
#include "skin/dialogs/TspShellListView.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kFiles = 20000;

// What the shell list does for a folder: enumerate it through the namespace, then name, type and icon index
// for every item.
int ListFolder(const char* folderPath)
{
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST folderList = nullptr;
    std::shared_ptr<IShellFolder> folder;
    if (FAILED(desktop->ParseDisplayName(nullptr, folderPath, nullptr, &folderList, nullptr)) || FAILED(desktop->BindToObject(folderList, &folder)))
        return 1;
    ILFree(folderList);
    std::unique_ptr<IEnumIDList> items;
    if (FAILED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &items)))
        return 1;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    size_t lines = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        STRRET name;
        folder->GetDisplayNameOf(item, SHGDN_FORPARSING, &name);
        const std::string path = StrRetToString(name, item);
        TShellFileInfo info;
        if (GetShellFileInfo(path, 0, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME, info)) {
            std::printf("%s\t%s\t%d\n", info.DisplayName.c_str(), info.TypeName.c_str(), info.IconIndex);
            ++lines;
        }
        ILFree(item);
    }
    return lines > 0 ? 0 : 1;
}

// The shell services alone: every item of the folder with its shown name, folder attribute and small icon.
size_t EnumerateWithDetails(const std::string& folderPath)
{
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    LPITEMIDLIST folderList = nullptr;
    std::shared_ptr<IShellFolder> folder;
    if (FAILED(desktop->ParseDisplayName(nullptr, folderPath.c_str(), nullptr, &folderList, nullptr))
        || FAILED(desktop->BindToObject(folderList, &folder)))
        std::exit(1);
    std::unique_ptr<IEnumIDList> items;
    folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items);
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    size_t count = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        STRRET name;
        folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name);
        count += StrRetToString(name, item).size() > 0;
        ULONG attributes = SFGAO_FOLDER;
        LPCITEMIDLIST constItem = item;
        folder->GetAttributesOf(1, &constItem, &attributes);
        LPITEMIDLIST full = ILCombine(folderList, item);
        SHFILEINFO info;
        SHGetFileInfo(reinterpret_cast<const char*>(full), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        ILFree(full);
        ILFree(item);
    }
    ILFree(folderList);
    return count;
}

// The shell file list on a shown form, from setting its folder to the end of its first paint.
double FileListFirstPaint(const std::string& folder)
{
    auto* form = TCustomForm::Create<TForm>(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 800, 600);
    auto* list = new TspSkinFileListView(form);
    list->SetParent(form);
    list->SetViewStyle(vsList);
    list->SetBounds(0, 0, 800, 600);
    form->Show();
    Application->ProcessMessages();
    const double ms = BestOf([&] {
        list->SetRoot("rfDesktop");
        list->SetRoot(folder);
        UpdateWindow(form->Handle());
    }, 5);
    if (list->Items()->Count() != kFiles) {
        std::fprintf(stderr, "the list shows %d items\n", list->Items()->Count());
        std::exit(1);
    }
    delete form;
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--list")
        return ListFolder(argv[2]);

    std::string folder = std::filesystem::temp_directory_path().string() + "/bench-shell-XXXXXX";
    if (!mkdtemp(folder.data()))
        return 1;
    const char* const extensions[] = { ".mp4", ".avi", ".mkv", ".txt", ".png", ".zzq", "" };
    for (int i = 0; i < kFiles; ++i)
        std::ofstream(folder + "/file " + std::to_string(i) + extensions[i % 7]);

    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    // One round of each first, so both find the folder and the programs in the page cache.
    RunWithOutput({ self, "--list", folder });
    RunWithOutput({ "ls", "-l", folder });
    const double ours = BestOf([&] { RunWithOutput({ self, "--list", folder }); }, 5);
    const double peer = BestOf([&] { RunWithOutput({ "ls", "-l", folder }); }, 5);
    Report("bench_shell", ours, peer);

    THeadlessBackend backend;
    if (!InstallBenchDisplay(backend))
        return 1;
    EnumerateWithDetails(folder);
    const double listOurs = FileListFirstPaint(folder);
    const double listPeer = BestOf([&] { EnumerateWithDetails(folder); }, 5);
    Report("shell_file_list_20000_files_first_paint", listOurs, listPeer);
    FinalizeForms();
    backend.Uninstall();

    std::filesystem::remove_all(folder);
    return 0;
}
