#include "skin/dialogs/spShellCtrls.h"

#include "framework/controls/TScreen.h"
#include "framework/controls/TWinControl.h"
#include "framework/core/FileSystem.h"
#include "framework/core/StableSort.h"
#include "framework/core/SysUtils.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/win/Menus.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/dialogs/TspShellFolder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unistd.h>

namespace spShellCtrls {

namespace {

IMalloc* ShellMalloc()
{
    IMalloc* malloc = nullptr;
    if (FAILED(SHGetMalloc(&malloc)) || !malloc)
        throw EOleError("The shell allocator is not available");
    return malloc;
}

uint16_t ReadCount(const void* item)
{
    return item ? ItemIdSize(item) : 0;
}

} // namespace

LPITEMIDLIST AllocItemIdList(size_t size)
{
    void* block = ShellMalloc()->Alloc(size);
    if (!block)
        throw EOleError("Out of memory for an item list");
    std::memset(block, 0, size);
    return static_cast<LPITEMIDLIST>(block);
}

LPITEMIDLIST NextItemId(LPCITEMIDLIST item)
{
    return const_cast<LPITEMIDLIST>(reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const uint8_t*>(item) + ReadCount(item)));
}

int ItemIdCount(LPCITEMIDLIST list)
{
    int count = 0;
    for (LPCITEMIDLIST item = list; item && ReadCount(item) != 0; item = NextItemId(item))
        ++count;
    return count;
}

size_t ItemIdListSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    size_t size = 0;
    for (LPCITEMIDLIST item = list; ReadCount(item) != 0; item = NextItemId(item))
        size += ReadCount(item);
    return size + 2;
}

void StripLastItemId(LPITEMIDLIST list)
{
    if (!list || ReadCount(list) == 0)
        return;
    LPITEMIDLIST last = list;
    for (LPITEMIDLIST item = NextItemId(list); ReadCount(item) != 0; item = NextItemId(item))
        last = item;
    std::memset(last, 0, 2);
}

LPITEMIDLIST CopyItemIdList(LPCITEMIDLIST list)
{
    const size_t size = ItemIdListSize(list);
    if (size == 0)
        return nullptr;
    LPITEMIDLIST copy = AllocItemIdList(size);
    std::memcpy(copy, list, size);
    return copy;
}

LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    const size_t firstSize = first ? ItemIdListSize(first) - 2 : 0;
    const size_t secondSize = second ? ItemIdListSize(second) : 2;
    LPITEMIDLIST joined = AllocItemIdList(firstSize + secondSize);
    if (firstSize)
        std::memcpy(joined, first, firstSize);
    if (second)
        std::memcpy(reinterpret_cast<uint8_t*>(joined) + firstSize, second, secondSize);
    return joined;
}

void FreeItemIdList(LPITEMIDLIST list)
{
    if (list)
        ShellMalloc()->Free(list);
}

LPITEMIDLIST LastItemIdCopy(LPCITEMIDLIST list)
{
    if (!list || ReadCount(list) == 0)
        return CopyItemIdList(list);
    LPCITEMIDLIST last = list;
    for (LPCITEMIDLIST item = NextItemId(list); ReadCount(item) != 0; item = NextItemId(item))
        last = item;
    const uint16_t size = ReadCount(last);
    LPITEMIDLIST copy = AllocItemIdList(size + 2u);
    std::memcpy(copy, last, size);
    return copy;
}

std::vector<LPITEMIDLIST> ItemIdListPrefixes(LPCITEMIDLIST list)
{
    std::vector<LPITEMIDLIST> prefixes;
    size_t size = 0;
    for (LPCITEMIDLIST item = list; item && ReadCount(item) != 0; item = NextItemId(item)) {
        size += ReadCount(item);
        LPITEMIDLIST prefix = AllocItemIdList(size + 2);
        std::memcpy(prefix, list, size);
        prefixes.push_back(prefix);
    }
    return prefixes;
}

void FreeItemIdListPrefixes(std::vector<LPITEMIDLIST>& prefixes)
{
    for (LPITEMIDLIST prefix : prefixes)
        FreeItemIdList(prefix);
    prefixes.clear();
}

// --- The namespace ------------------------------------------------------------------------------------------

std::shared_ptr<IShellFolder> DesktopShellFolder()
{
    std::shared_ptr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop)
        throw EOleError("The desktop folder is not available");
    return desktop;
}

LPITEMIDLIST DesktopLocation()
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list)))
        return nullptr;
    return list;
}

namespace {
// The program's desktop item: made on first use and kept for the life of the program, like the desktop.
TspShellFolder* GDesktopFolder = nullptr;
} // namespace

TspShellFolder* DesktopFolderIfMade()
{
    return GDesktopFolder;
}

TspShellFolder* DesktopFolder()
{
    if (!GDesktopFolder) {
        TItemIdListPtr location(DesktopLocation());
        if (location)
            GDesktopFolder = new TspShellFolder(nullptr, location.get(), DesktopShellFolder());
    }
    return GDesktopFolder;
}

bool SamePIDL(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    return static_cast<int16_t>(DesktopShellFolder()->CompareIDs(0, first, second) & 0xFFFF) == 0;
}

DWORD ObjectFlags(TShellObjectTypes types)
{
    return (types.Contains(otFolders) ? SHCONTF_FOLDERS : 0) | (types.Contains(otNonFolders) ? SHCONTF_NONFOLDERS : 0)
        | (types.Contains(otHidden) ? SHCONTF_INCLUDEHIDDEN : 0);
}

bool ObjectHasChildren(IShellFolder* folder, DWORD flags)
{
    std::unique_ptr<IEnumIDList> items;
    if (!folder || FAILED(folder->EnumObjects(nullptr, flags, &items)) || !items)
        return false;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    const bool any = items->Next(1, &item, &fetched) == S_OK && fetched == 1;
    FreeItemIdList(item);
    return any;
}

std::string GetDisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags)
{
    if (!folder)
        return "parentfolder = nil";
    STRRET name;
    name.uType = STRRET_CSTR;
    name.cStr[0] = 0;
    if (FAILED(folder->GetDisplayNameOf(item, flags, &name)))
        return {};
    std::string text = StrRetToString(name, item);
    if (text.size() > 1 && text[0] == '?' && text[1] >= '0' && text[1] <= '9')
        text.erase(std::remove(text.begin(), text.end(), '?'), text.end());
    if (text.compare(0, 3, "::{") == 0)
        return GetDisplayName(folder, item, SHGDN_NORMAL);
    return text;
}

int GetShellImage(LPCITEMIDLIST absoluteList, bool large, bool open)
{
    SHFILEINFO info;
    const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON) | (open ? SHGFI_OPENICON : 0);
    if (!SHGetFileInfo(reinterpret_cast<const char*>(absoluteList), 0, &info, sizeof(info), flags))
        return -1;
    return info.iIcon;
}

std::unique_ptr<TspShellFolder> CreateShellFolderFromPIDL(LPCITEMIDLIST absoluteList)
{
    std::shared_ptr<IShellFolder> desktop = DesktopShellFolder();
    std::shared_ptr<IShellFolder> folder;
    // Only the desktop itself is the desktop's folder: an item whose folder cannot be had (a file, a folder
    // deleted meanwhile) holds none, and lists nothing.
    if (ItemIdCount(absoluteList) == 0)
        folder = desktop;
    else if (FAILED(desktop->BindToObject(absoluteList, &folder)))
        folder = nullptr;
    return std::make_unique<TspShellFolder>(DesktopFolder(), absoluteList, folder);
}

TItemIdListPtr ParsePathOrRaise(const std::string& value)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(DesktopShellFolder()->ParseDisplayName(nullptr, value.c_str(), nullptr, &list, nullptr)) || !list) {
        FreeItemIdList(list);
        throw EInvalidPath(Format("Error setting path: \"%s\"", value));
    }
    return TItemIdListPtr(list);
}

bool SortedChildren(IShellFolder& folder, DWORD flags, std::vector<TItemIdListPtr>& children)
{
    children.clear();
    std::unique_ptr<IEnumIDList> items;
    if (FAILED(folder.EnumObjects(nullptr, flags, &items)) || !items)
        return false;
    std::vector<TItemIdListPtr> found;
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    while (items->Next(1, &item, &fetched) == S_OK && fetched == 1)
        found.emplace_back(item);
    const std::vector<int> order = StableSortOrder(static_cast<int>(found.size()), [&](int a, int b) {
        return static_cast<int16_t>(folder.CompareIDs(0, found[size_t(a)].get(), found[size_t(b)].get()) & 0xFFFF) < 0;
    });
    for (int index : order)
        children.push_back(std::move(found[size_t(index)]));
    return true;
}

THourglass::THourglass()
    : FSaved(Screen->Cursor())
{
    Screen->SetCursor(crHourGlass);
}

THourglass::~THourglass()
{
    Screen->SetCursor(FSaved);
}

void TOpenVerbFolder::Enter(TspShellFolder* item)
{
    FSaved = GetCurrentDir();
    const std::string dir = item ? ExtractFileDir(item->PathName()) : std::string();
    if (!dir.empty() && chdir(dir.c_str()) != 0)
        FSaved.clear();
}

void TOpenVerbFolder::Leave()
{
    if (!FSaved.empty()) {
        [[maybe_unused]] const int ignored = chdir(FSaved.c_str());
        FSaved.clear();
    }
}

namespace {

struct TRootName {
    const char* Name;
    TspRootFolder Root;
    int CSIDL;
};

constexpr TRootName kRoots[] = {
    { "rfDesktop", rfDesktop, 0 },
    { "rfMyComputer", rfMyComputer, 17 },
    { "rfNetwork", rfNetwork, 18 },
    { "rfRecycleBin", rfRecycleBin, 10 },
    { "rfAppData", rfAppData, 26 },
    { "rfCommonDesktopDirectory", rfCommonDesktopDirectory, 25 },
    { "rfCommonPrograms", rfCommonPrograms, 23 },
    { "rfCommonStartMenu", rfCommonStartMenu, 22 },
    { "rfCommonStartup", rfCommonStartup, 24 },
    { "rfControlPanel", rfControlPanel, 3 },
    { "rfDesktopDirectory", rfDesktopDirectory, 16 },
    { "rfFavorites", rfFavorites, 6 },
    { "rfFonts", rfFonts, 20 },
    { "rfInternet", rfInternet, 1 },
    { "rfPersonal", rfPersonal, 5 },
    { "rfPrinters", rfPrinters, 4 },
    { "rfPrintHood", rfPrintHood, 27 },
    { "rfPrograms", rfPrograms, 2 },
    { "rfRecent", rfRecent, 8 },
    { "rfSendTo", rfSendTo, 9 },
    { "rfStartMenu", rfStartMenu, 11 },
    { "rfStartup", rfStartup, 7 },
    { "rfTemplates", rfTemplates, 21 },
};

} // namespace

bool RootFolderFromName(const std::string& name, TspRootFolder& root)
{
    for (const TRootName& entry : kRoots) {
        if (SameText(name, entry.Name)) {
            root = entry.Root;
            return true;
        }
    }
    return false;
}

int RootFolderCSIDL(TspRootFolder root)
{
    for (const TRootName& entry : kRoots)
        if (entry.Root == root)
            return entry.CSIDL;
    return -1;
}

void CreateRootFolder(std::unique_ptr<TspShellFolder>& rootFolder, const TRoot& oldRoot, TRoot& newRoot)
{
    LPITEMIDLIST list = nullptr;
    HRESULT result = E_FAIL;
    TspRootFolder root;
    if (!RootFolderFromName(newRoot, root)) {
        // Only existing absolute paths parse (a drive letter's missing backslash has no counterpart here).
        if (!newRoot.empty())
            result = DesktopShellFolder()->ParseDisplayName(nullptr, newRoot.c_str(), nullptr, &list, nullptr);
    } else {
        result = SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(root), &list);
    }
    if (FAILED(result) || !list) {
        FreeItemIdList(list);
        const std::string message = Format("Error setting path: \"%s\"", newRoot);
        newRoot = oldRoot;
        throw Exception(message);
    }
    TItemIdListPtr owned(list);
    rootFolder = CreateShellFolderFromPIDL(list);
}

// --- Context menu -------------------------------------------------------------------------------------------

namespace {

IContextMenu* GOpenContextMenu = nullptr;

std::shared_ptr<IContextMenu> ItemContextMenu(TspShellFolder* folder, HWND owner)
{
    std::shared_ptr<IContextMenu> menu;
    LPCITEMIDLIST item = folder->RelativeID();
    std::shared_ptr<IShellFolder> parent = folder->ParentShellFolder();
    if (!parent || FAILED(parent->GetUIObjectOf(owner, 1, &item, &menu)))
        return nullptr;
    return menu;
}

// What a verb is called in the menu.
std::string VerbCaption(const std::string& verb)
{
    if (verb == "open")
        return "&Open";
    if (verb == "rename")
        return "Rena&me";
    if (verb == "delete")
        return "&Delete";
    std::string caption = verb;
    if (!caption.empty())
        caption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(caption[0])));
    return caption;
}

const char* CommandOffset(UINT offset)
{
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(offset));
}

} // namespace

IContextMenu* OpenContextMenu()
{
    return GOpenContextMenu;
}

void InvokeContextMenu(TWinControl* owner, TspShellFolder* folder, int x, int y)
{
    if (!folder || !owner)
        return;
    const HWND window = owner->Handle();
    std::shared_ptr<IContextMenu> contextMenu = ItemContextMenu(folder, window);
    if (!contextMenu)
        return;
    POINT at { x, y };
    ClientToScreen(window, &at);
    const HMENU menu = CreatePopupMenu();
    // The popup is destroyed however the verb ends.
    struct TMenuGuard {
        HMENU Menu;
        ~TMenuGuard()
        {
            GOpenContextMenu = nullptr;
            DestroyMenu(Menu);
        }
    } guard { menu };
    const HRESULT count = contextMenu->QueryContextMenu(menu, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
    if (FAILED(count))
        return;
    // Our shell numbers the verbs and leaves the menu to us.
    const std::vector<std::string> verbs = contextMenu->Verbs();
    for (size_t i = 0; i < verbs.size(); ++i)
        AppendMenu(menu, MF_STRING, i + 1, VerbCaption(verbs[i]).c_str());
    GOpenContextMenu = contextMenu.get();
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    GOpenContextMenu = nullptr;
    if (command == 0)
        return;
    char verb[256] = {};
    contextMenu->GetCommandString(command - 1, GCS_VERBA, nullptr, verb, sizeof(verb));
    auto* verbOwner = dynamic_cast<IShellCommandVerb*>(owner);
    bool handled = false;
    if (verbOwner)
        verbOwner->ExecuteCommand(verb, handled);
    HRESULT result = S_OK;
    if (!handled) {
        CMINVOKECOMMANDINFO info;
        info.hwnd = window;
        info.lpVerb = CommandOffset(command - 1);
        info.nShow = SW_SHOWNORMAL;
        result = contextMenu->InvokeCommand(&info);
    }
    if (verbOwner)
        verbOwner->CommandCompleted(verb, handled || result == S_OK);
}

bool DoContextMenuVerb(TspShellFolder* folder, const char* verb)
{
    if (!folder || !verb)
        return false;
    std::shared_ptr<IContextMenu> contextMenu = ItemContextMenu(folder, nullptr);
    if (!contextMenu)
        return false;
    contextMenu->QueryContextMenu(nullptr, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
    CMINVOKECOMMANDINFO info;
    info.fMask = CMIC_MASK_ASYNCOK;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return contextMenu->InvokeCommand(&info) == S_OK;
}

} // namespace spShellCtrls
