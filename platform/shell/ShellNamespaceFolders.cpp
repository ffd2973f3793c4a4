// The folders of the namespace: the desktop with its virtual folders and desktop entries, the computer with its
// mounts, and file-system folders; their attributes, names, order, renaming and context menus.
#include "platform/shell/ShellNamespaceFolders.h"

#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellTrash.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const VirtualIds[] = { "home", "computer", "trash" };
const char* const VirtualNames[] = { "Home", "Computer", "Trash" };

int VirtualIndex(const std::string& id)
{
    for (int i = 0; i < 3; ++i) {
        if (id == VirtualIds[i])
            return i;
    }
    return -1;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string TrashFilesFolder()
{
    return XdgDataHome() + "/Trash/files";
}

// A path without ".", "..", repeated or trailing '/' (links are not followed); "" when not absolute.
std::string NormalPath(const std::string& text)
{
    if (text.empty() || text[0] != '/')
        return {};
    std::vector<std::string> parts;
    size_t start = 1;
    while (start <= text.size()) {
        size_t end = text.find('/', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& part : parts)
        path += "/" + part;
    return path.empty() ? "/" : path;
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

bool IsFolderLocation(const TShellLocation& at)
{
    return at.Kind == 'R' || at.Kind == 'V' || at.Kind == 'M' || IsDirectory(at.Path);
}

// A relative list of one item, or the failure to make it.
HRESULT OneItem(char kind, const std::string& bytes, LPITEMIDLIST* out)
{
    *out = MakeShellItem(kind, bytes);
    return *out ? S_OK : E_OUTOFMEMORY;
}

char* ShellString(const std::string& text)
{
    IMalloc* malloc = nullptr;
    SHGetMalloc(&malloc);
    auto* copy = static_cast<char*>(malloc->Alloc(text.size() + 1));
    if (copy)
        std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// Case-insensitive collation, then the bytes, so that only identical names compare equal (ShellNameCollationKey
// gives the same order).
int CompareNames(const std::string& a, const std::string& b)
{
    std::string foldedA = a;
    std::string foldedB = b;
    for (char& c : foldedA)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (char& c : foldedB)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const int order = std::strcoll(foldedA.c_str(), foldedB.c_str()))
        return order;
    return a.compare(b);
}

HRESULT ShortResult(int order)
{
    const short sign = order < 0 ? -1 : order > 0 ? 1 : 0;
    return static_cast<HRESULT>(static_cast<uint16_t>(sign));
}

class TListEnumerator final : public IEnumIDList {
public:
    explicit TListEnumerator(std::vector<std::pair<char, std::string>> items)
        : FItems(std::move(items))
    {
    }

    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override
    {
        ULONG done = 0;
        while (done < count && FNext < FItems.size()) {
            items[done] = MakeShellItem(FItems[FNext].first, FItems[FNext].second);
            ++FNext;
            if (items[done])
                ++done;
        }
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }

    HRESULT Skip(ULONG count) override
    {
        FNext = std::min(FItems.size(), FNext + count);
        return FNext < FItems.size() ? S_OK : S_FALSE;
    }

    HRESULT Reset() override
    {
        FNext = 0;
        return S_OK;
    }

private:
    std::vector<std::pair<char, std::string>> FItems;
    size_t FNext = 0;
};

class TShellContextMenu final : public IContextMenu {
public:
    TShellContextMenu(TShellLocation at, ULONG attributes)
        : FAt(std::move(at))
        , FAttributes(attributes)
    {
    }

    HRESULT QueryContextMenu(HMENU, UINT, UINT firstCommand, UINT lastCommand, UINT flags) override
    {
        FVerbs.clear();
        if (!FAt.Path.empty())
            FVerbs.push_back("open");
        if (!(flags & CMF_DEFAULTONLY)) {
            if ((FAttributes & SFGAO_CANRENAME) && (flags & CMF_CANRENAME))
                FVerbs.push_back("rename");
            if (FAttributes & SFGAO_CANDELETE)
                FVerbs.push_back("delete");
        }
        if (lastCommand >= firstCommand && FVerbs.size() > lastCommand - firstCommand + 1)
            FVerbs.resize(lastCommand - firstCommand + 1);
        return static_cast<HRESULT>(FVerbs.size());
    }

    HRESULT GetCommandString(UINT_PTR command, UINT type, UINT*, char* name, UINT size) override
    {
        if (type != GCS_VERBA || command >= FVerbs.size() || !name || FVerbs[command].size() + 1 > size)
            return E_INVALIDARG;
        std::memcpy(name, FVerbs[command].c_str(), FVerbs[command].size() + 1);
        return S_OK;
    }

    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) override
    {
        // A verb below 0x10000 is a command offset (offset 0 is a null pointer).
        if (!info)
            return E_INVALIDARG;
        std::string verb;
        const auto offset = reinterpret_cast<uintptr_t>(info->lpVerb);
        if (offset < 0x10000) {
            if (offset >= FVerbs.size())
                return E_INVALIDARG;
            verb = FVerbs[offset];
        } else {
            verb = info->lpVerb;
        }
        if (verb == "open" && !FAt.Path.empty())
            return ShellOpen(FAt.Path) == 0 ? S_OK : E_FAIL;
        if (verb == "delete" && (FAttributes & SFGAO_CANDELETE)) {
            std::string error;
            return MoveToTrash(FAt.Path, error) ? S_OK : E_FAIL;
        }
        if (verb == "rename")
            return E_NOTIMPL;
        return E_INVALIDARG;
    }

    std::vector<std::string> Verbs() const override { return FVerbs; }

private:
    TShellLocation FAt;
    ULONG FAttributes;
    std::vector<std::string> FVerbs;
};

// One folder: the desktop ('R'), the computer ('V' "computer"), or a folder with a file-system path
// (the home, the trash, a mount or a folder entry).
class TNamespaceFolder final : public IShellFolder {
public:
    explicit TNamespaceFolder(TShellLocation here)
        : FHere(std::move(here))
    {
    }

    HRESULT ParseDisplayName(HWND, const char* displayName, ULONG* eaten, LPITEMIDLIST* item, ULONG* attributes) override;
    HRESULT EnumObjects(HWND, DWORD flags, std::unique_ptr<IEnumIDList>* items) override;
    HRESULT BindToObject(LPCITEMIDLIST item, std::shared_ptr<IShellFolder>* folder) override;
    HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) override;
    HRESULT CreateViewObject(HWND, std::shared_ptr<IShellFolder>*) override { return E_NOTIMPL; }
    HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* items, ULONG* attributes) override;
    HRESULT GetUIObjectOf(HWND, UINT count, const LPCITEMIDLIST* items, std::shared_ptr<IContextMenu>* menu) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, DWORD flags, STRRET* name) override;
    HRESULT SetNameOf(HWND, LPCITEMIDLIST item, const char* name, DWORD flags, LPITEMIDLIST* newItem) override;

private:
    bool IsDesktop() const { return FHere.Kind == 'R'; }
    bool IsComputer() const { return FHere.Kind == 'V' && FHere.Id == "computer"; }
    // The kind of this folder's file-system entries.
    char EntryKind() const { return IsDesktop() ? 'D' : 'F'; }
    HRESULT ParsePath(const std::string& path, LPITEMIDLIST* item);

    TShellLocation FHere;
};

HRESULT TNamespaceFolder::ParsePath(const std::string& path, LPITEMIDLIST* item)
{
    // Desktop and computer: through the longest mount listed under the computer, so the list is the same
    // as the one browsing gives.
    std::vector<std::pair<char, std::string>> items;
    std::string base;
    if (IsDesktop() || IsComputer()) {
        std::string mount = "/";
        for (const TShellDrive& drive : ShellDrives()) {
            const bool inside = drive.Path == "/" || path == drive.Path || path.rfind(drive.Path + "/", 0) == 0;
            if (inside && drive.Path.size() > mount.size())
                mount = drive.Path;
        }
        if (IsDesktop())
            items.emplace_back('V', "computer");
        items.emplace_back('M', mount);
        base = mount;
    } else {
        base = FHere.FolderPath;
        if (!(path == base || base == "/" || path.rfind(base + "/", 0) == 0))
            return E_INVALIDARG;
    }
    std::string rest = path.substr(base == "/" ? 1 : base.size());
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('/', start);
        if (end == std::string::npos)
            end = rest.size();
        if (end > start)
            items.emplace_back('F', rest.substr(start, end - start));
        start = end + 1;
    }
    LPITEMIDLIST list = ILCombine(nullptr, nullptr);
    for (const auto& [kind, bytes] : items) {
        LPITEMIDLIST one = MakeShellItem(kind, bytes);
        LPITEMIDLIST longer = one ? ILCombine(list, one) : nullptr;
        ILFree(one);
        ILFree(list);
        list = longer;
        if (!list)
            return E_OUTOFMEMORY;
    }
    *item = list;
    return S_OK;
}

HRESULT TNamespaceFolder::ParseDisplayName(HWND, const char* displayName, ULONG* eaten, LPITEMIDLIST* item, ULONG* attributes)
{
    if (!displayName || !item)
        return E_INVALIDARG;
    *item = nullptr;
    const std::string text = displayName;
    HRESULT result = E_INVALIDARG;
    if (IsDesktop() && text.size() > 4 && text.compare(0, 3, "::{") == 0 && text.back() == '}') {
        const std::string id = text.substr(3, text.size() - 4);
        if (VirtualIndex(id) >= 0)
            result = OneItem('V', id, item);
    } else {
        std::string path = !text.empty() && text[0] == '/' ? text : (IsDesktop() || IsComputer() ? std::string() : Join(FHere.FolderPath, text));
        path = NormalPath(path);
        if (path.empty())
            return E_INVALIDARG;
        if (!Exists(path))
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        result = ParsePath(path, item);
    }
    if (SUCCEEDED(result)) {
        if (eaten)
            *eaten = static_cast<ULONG>(text.size());
        if (attributes) {
            TShellLocation at;
            *attributes = ResolveShellList(*item, at, FHere) ? LocationAttributes(at) : 0;
        }
    }
    return result;
}

HRESULT TNamespaceFolder::EnumObjects(HWND, DWORD flags, std::unique_ptr<IEnumIDList>* items)
{
    if (!items)
        return E_INVALIDARG;
    std::vector<std::pair<char, std::string>> found;
    const bool folders = flags & SHCONTF_FOLDERS;
    const bool others = flags & SHCONTF_NONFOLDERS;
    if (IsDesktop() && folders) {
        for (const char* id : VirtualIds)
            found.emplace_back('V', id);
    }
    if (IsComputer()) {
        if (folders) {
            for (const TShellDrive& drive : ShellDrives())
                found.emplace_back('M', drive.Path);
        }
        *items = std::make_unique<TListEnumerator>(std::move(found));
        return S_OK;
    }
    DIR* dir = opendir(FHere.FolderPath.c_str());
    if (!dir) {
        // The desktop still shows its virtual folders without a desktop directory.
        if (IsDesktop()) {
            *items = std::make_unique<TListEnumerator>(std::move(found));
            return S_OK;
        }
        return HRESULT_FROM_WIN32(errno ? errno : ERROR_ACCESS_DENIED);
    }
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (name[0] == '.' && !(flags & SHCONTF_INCLUDEHIDDEN))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // Links to folders are folders.
            struct stat info;
            isFolder = fstatat(dirfd(dir), name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder ? folders : others)
            found.emplace_back(EntryKind(), name);
    }
    closedir(dir);
    *items = std::make_unique<TListEnumerator>(std::move(found));
    return S_OK;
}

HRESULT TNamespaceFolder::BindToObject(LPCITEMIDLIST item, std::shared_ptr<IShellFolder>* folder)
{
    if (!folder)
        return E_INVALIDARG;
    TShellLocation at;
    if (!ResolveShellList(item, at, FHere) || !IsFolderLocation(at))
        return E_INVALIDARG;
    *folder = std::make_shared<TNamespaceFolder>(std::move(at));
    return S_OK;
}

HRESULT TNamespaceFolder::CompareIDs(LPARAM, LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    char kindA = 0;
    char kindB = 0;
    std::string a;
    std::string b;
    const bool hasA = ReadShellItem(first, kindA, a);
    const bool hasB = ReadShellItem(second, kindB, b);
    if (!hasA || !hasB)
        return ShortResult(int(hasA) - int(hasB));
    auto rank = [](char kind) { return kind == 'V' ? 0 : kind == 'M' ? 1 : 2; };
    if (rank(kindA) != rank(kindB))
        return ShortResult(rank(kindA) - rank(kindB));
    int order = 0;
    if (kindA == 'V') {
        order = VirtualIndex(a) - VirtualIndex(b);
    } else if (kindA == 'M') {
        order = a.compare(b);
    } else {
        const bool folderA = IsDirectory(Join(FHere.FolderPath, a));
        const bool folderB = IsDirectory(Join(FHere.FolderPath, b));
        order = folderA != folderB ? (folderA ? -1 : 1) : CompareNames(a, b);
    }
    if (order != 0 || kindA != kindB)
        return ShortResult(order != 0 ? order : kindA - kindB);
    // The same first item: the rest decides, inside that item's folder.
    auto rest = [](LPCITEMIDLIST list) { return NextItemIdOf(list); };
    const bool moreA = ItemIdSize(rest(first)) != 0;
    const bool moreB = ItemIdSize(rest(second)) != 0;
    if (!moreA || !moreB)
        return ShortResult(int(moreA) - int(moreB));
    std::shared_ptr<IShellFolder> inner;
    LPITEMIDLIST head = MakeShellItem(kindA, a);
    const HRESULT bound = BindToObject(head, &inner);
    ILFree(head);
    if (FAILED(bound))
        return bound;
    return inner->CompareIDs(0, rest(first), rest(second));
}

HRESULT TNamespaceFolder::GetAttributesOf(UINT count, const LPCITEMIDLIST* items, ULONG* attributes)
{
    if (!attributes || (count && !items))
        return E_INVALIDARG;
    const ULONG asked = *attributes;
    ULONG shared = 0xFFFFFFFF;
    if (count == 0)
        shared = LocationAttributes(FHere);
    for (UINT i = 0; i < count; ++i) {
        TShellLocation at;
        if (!ResolveShellList(items[i], at, FHere))
            return E_INVALIDARG;
        const ULONG bits = LocationAttributes(at);
        if (bits == 0 && (asked & SFGAO_VALIDATE))
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        shared &= bits;
    }
    // Every bit the items have, not only those asked: callers ask with no bits to learn the rest.
    *attributes = shared;
    return S_OK;
}

HRESULT TNamespaceFolder::GetUIObjectOf(HWND, UINT count, const LPCITEMIDLIST* items, std::shared_ptr<IContextMenu>* menu)
{
    TShellLocation at;
    if (count != 1 || !items || !menu || !ResolveShellList(items[0], at, FHere))
        return E_INVALIDARG;
    const ULONG attributes = LocationAttributes(at);
    *menu = std::make_shared<TShellContextMenu>(std::move(at), attributes);
    return S_OK;
}

HRESULT TNamespaceFolder::GetDisplayNameOf(LPCITEMIDLIST item, DWORD flags, STRRET* name)
{
    TShellLocation at;
    if (!name || !ResolveShellList(item, at, FHere))
        return E_INVALIDARG;
    std::string text;
    if (flags & SHGDN_FORPARSING) {
        if (at.Kind == 'V' && (at.Path.empty() || (flags & SHGDN_INFOLDER)))
            text = "::{" + at.Id + "}";
        else if ((flags & SHGDN_INFOLDER) && (at.Kind == 'F' || at.Kind == 'D'))
            text = at.Id;
        else
            text = at.Path;
    } else {
        text = LocationDisplayName(at);
    }
    name->uType = STRRET_WSTR;
    name->pOleStr = ShellString(text);
    return name->pOleStr ? S_OK : E_OUTOFMEMORY;
}

HRESULT TNamespaceFolder::SetNameOf(HWND, LPCITEMIDLIST item, const char* name, DWORD, LPITEMIDLIST* newItem)
{
    char kind = 0;
    std::string oldName;
    if (newItem)
        *newItem = nullptr;
    if (!name || !ReadShellItem(item, kind, oldName) || (kind != 'F' && kind != 'D') || kind != EntryKind())
        return E_INVALIDARG;
    const std::string newName = name;
    if (newName.empty() || newName == "." || newName == ".." || newName.find('/') != std::string::npos)
        return E_INVALIDARG;
    const std::string folder = FHere.FolderPath;
    if (newName != oldName) {
        // Never over an existing name: the kernel refuses atomically instead of replacing it.
        if (renameat2(AT_FDCWD, Join(folder, oldName).c_str(), AT_FDCWD, Join(folder, newName).c_str(), RENAME_NOREPLACE) != 0)
            return HRESULT_FROM_WIN32(errno == EEXIST ? ERROR_ALREADY_EXISTS : errno);
    }
    return newItem ? OneItem(kind, newName, newItem) : S_OK;
}

} // namespace

std::string ShellNameCollationKey(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // What strcmp of the transformed names says is what strcoll of the names says.
    std::string key(folded.size() * 2 + 16, '\0');
    size_t size = std::strxfrm(key.data(), folded.c_str(), key.size());
    if (size >= key.size()) {
        key.assign(size + 1, '\0');
        size = std::strxfrm(key.data(), folded.c_str(), key.size());
    }
    key.resize(size);
    return key;
}

TShellLocation DesktopLocation()
{
    TShellLocation desktop;
    desktop.Kind = 'R';
    desktop.Path = XdgUserDir("DESKTOP");
    desktop.FolderPath = desktop.Path;
    return desktop;
}

bool StepInto(TShellLocation& at, char kind, const std::string& bytes)
{
    const bool isEntry = kind == 'F' || kind == 'D';
    if (isEntry && (bytes.empty() || bytes.find('/') != std::string::npos || bytes == "." || bytes == ".."))
        return false;
    switch (kind) {
    case 'V':
        if (at.Kind != 'R' || VirtualIndex(bytes) < 0)
            return false;
        at = TShellLocation {};
        at.Kind = 'V';
        at.Id = bytes;
        if (bytes == "home")
            at.Path = at.FolderPath = HomeFolder();
        else if (bytes == "trash")
            at.FolderPath = TrashFilesFolder();
        return true;
    case 'M':
        if (at.Kind != 'V' || at.Id != "computer" || bytes.empty() || bytes[0] != '/')
            return false;
        at = TShellLocation {};
        at.Kind = 'M';
        at.Id = bytes;
        at.Path = at.FolderPath = bytes;
        if (!ShellDriveOf(bytes, at.Drive))
            at.Drive.Path = bytes;
        return true;
    case 'D':
    case 'F':
        if ((kind == 'D') != (at.Kind == 'R') || at.FolderPath.empty())
            return false;
        at.Path = Join(at.FolderPath, bytes);
        at.FolderPath = at.Path;
        at.Kind = kind;
        at.Id = bytes;
        return true;
    default:
        return false;
    }
}

bool ResolveShellList(LPCITEMIDLIST list, TShellLocation& location, const TShellLocation& start)
{
    location = start;
    if (!list)
        return false;
    for (LPCITEMIDLIST item = list; ItemIdSize(item); item = NextItemIdOf(item)) {
        char kind = 0;
        std::string bytes;
        if (!ReadShellItem(item, kind, bytes) || !StepInto(location, kind, bytes))
            return false;
    }
    return true;
}

ULONG LocationAttributes(const TShellLocation& at)
{
    constexpr ULONG folderBits = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    if (at.Kind == 'R' || (at.Kind == 'V' && at.Id == "computer"))
        return folderBits;
    if (at.Kind == 'V' && at.Id == "trash")
        return folderBits | SFGAO_DROPTARGET;
    struct stat link;
    struct stat target;
    if (lstat(at.Path.c_str(), &link) != 0)
        return 0;
    if (stat(at.Path.c_str(), &target) != 0)
        target = link;
    ULONG bits = SFGAO_FILESYSTEM | SFGAO_CANCOPY;
    const bool writable = access(at.Path.c_str(), W_OK) == 0;
    if (S_ISDIR(target.st_mode)) {
        bits |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        // Optimistic: the tree corrects the mark once it has looked inside.
        if (access(at.Path.c_str(), R_OK | X_OK) == 0)
            bits |= SFGAO_HASSUBFOLDER;
        if (writable)
            bits |= SFGAO_DROPTARGET;
    }
    if (S_ISLNK(link.st_mode))
        bits |= SFGAO_LINK;
    if (!writable)
        bits |= SFGAO_READONLY;
    if (at.Kind == 'M' && (at.Drive.Kind == DRIVE_REMOVABLE || at.Drive.Kind == DRIVE_CDROM))
        bits |= SFGAO_REMOVABLE;
    if (at.Kind == 'F' || at.Kind == 'D') {
        bits |= SFGAO_HASPROPSHEET;
        const std::string parent = at.Path.substr(0, at.Path.rfind('/'));
        if (access(parent.empty() ? "/" : parent.c_str(), W_OK | X_OK) == 0)
            bits |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANLINK;
    }
    return bits;
}

std::vector<std::string> LocationIconNames(const TShellLocation& at, bool open)
{
    switch (at.Kind) {
    case 'R':
        return { "user-desktop", "folder" };
    case 'V':
        return at.Id == "home" ? std::vector<std::string> { "user-home", "folder" }
            : at.Id == "trash" ? std::vector<std::string> { "user-trash", "folder" }
                               : std::vector<std::string> { "computer", "folder" };
    case 'M':
        switch (at.Drive.Kind) {
        case DRIVE_REMOVABLE:
            return { "drive-removable-media", "drive-harddisk", "folder" };
        case DRIVE_CDROM:
            return { "media-optical", "drive-removable-media", "folder" };
        case DRIVE_REMOTE:
            return { "folder-remote", "folder" };
        default:
            return { "drive-harddisk", "folder" };
        }
    default:
        break;
    }
    TShellFindData data;
    if (GetShellFindData(at.Path, data) && (data.Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ShellFolderIconNames(at.Path, open);
    if (data.IsExecutable && ShellContentType(at.Path, false) == "application/octet-stream")
        return { "application-x-executable", "application-x-generic" };
    return ShellTypeIconNames(ShellContentType(at.Path, false));
}

std::string LocationDisplayName(const TShellLocation& at)
{
    switch (at.Kind) {
    case 'R':
        return "Desktop";
    case 'V':
        return VirtualNames[std::max(0, VirtualIndex(at.Id))];
    case 'M':
        return (at.Drive.Label.empty() ? std::string("File System") : at.Drive.Label) + " (" + at.Path + ")";
    default:
        return ShellDisplayName(at.Path);
    }
}

HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* folder)
{
    if (!folder)
        return E_INVALIDARG;
    *folder = std::make_shared<TNamespaceFolder>(DesktopLocation());
    return S_OK;
}

ULONG ShellItemAttributes(LPCITEMIDLIST list)
{
    TShellLocation at;
    return ResolveShellList(list, at) ? LocationAttributes(at) : 0;
}

std::vector<std::string> ShellItemIconNames(LPCITEMIDLIST list, bool open)
{
    TShellLocation at;
    return ResolveShellList(list, at) ? LocationIconNames(at, open) : std::vector<std::string> {};
}
