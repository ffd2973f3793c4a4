// The shell namespace: item-ID lists, the shell allocator, and the folders of the desktop, the computer (its
// mounts), the home, the trash and every file-system folder, behind the folder interface the shell controls
// enumerate, compare, rename and open items through.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// --- Results ------------------------------------------------------------------------------------------------

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }
// An errno or Win32 error as a failure result.
constexpr HRESULT HRESULT_FROM_WIN32(DWORD error)
{
    return error == 0 ? S_OK : static_cast<HRESULT>((error & 0xFFFF) | 0x80070000);
}

// --- Item-ID lists ------------------------------------------------------------------------------------------

// One item: a 16-bit byte count that includes the count itself, then the payload. A list is items one after
// the other, ended by a zero count. Our payloads are one kind byte and the item's bytes (a name is the raw
// bytes of the file name, never re-encoded):
//   'V' + "home" | "computer" | "trash"   a virtual folder of the desktop
//   'M' + absolute mount path              a mount of the computer
//   'D' + entry name                       an entry of the desktop folder (XDG desktop directory)
//   'F' + entry name                       an entry of a file-system folder
struct SHITEMID {
    uint16_t cb;
    uint8_t abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

// The shell allocator: every list and text the shell hands out is allocated with it, and its receiver frees
// it with it.
class IMalloc {
public:
    virtual ~IMalloc() = default;
    virtual void* Alloc(size_t size) = 0;
    virtual void* Realloc(void* block, size_t size) = 0;
    virtual void Free(void* block) = 0;
};
// The process's allocator (never freed). S_OK.
HRESULT SHGetMalloc(IMalloc** malloc);

// Items follow each other without padding, so a count may sit at an odd address: read it with these, never
// through `cb` directly.
uint16_t ItemIdSize(const void* item);
// The item after `item` (which must not be the terminator).
LPCITEMIDLIST NextItemIdOf(LPCITEMIDLIST item);

// Routines of the shell on whole lists (all allocate with the shell allocator).
size_t ILGetSize(LPCITEMIDLIST list);                          // bytes with the terminator; 0 for none
LPITEMIDLIST ILClone(LPCITEMIDLIST list);
LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second);
void ILFree(LPITEMIDLIST list);
// A one-item list of `kind` and `bytes`; null when it would not fit an item.
LPITEMIDLIST MakeShellItem(char kind, const std::string& bytes);
// The kind and bytes of a list's first item; false for an empty list or a foreign item.
bool ReadShellItem(LPCITEMIDLIST list, char& kind, std::string& bytes);
// The key by which a folder orders the names of its entries: two entries of one folder, both folders or both
// not, take the order of their keys, then of their names (as CompareIDs gives it), so a caller sorting many
// names computes each key once instead of collating per comparison.
std::string ShellNameCollationKey(const std::string& name);

// --- Folders ------------------------------------------------------------------------------------------------

// EnumObjects flags.
constexpr DWORD SHCONTF_FOLDERS = 0x0020;
constexpr DWORD SHCONTF_NONFOLDERS = 0x0040;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x0080;

// GetDisplayNameOf flags.
constexpr DWORD SHGDN_NORMAL = 0x0000;
constexpr DWORD SHGDN_INFOLDER = 0x0001;
constexpr DWORD SHGDN_FOREDITING = 0x1000;
constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

// GetAttributesOf bits.
constexpr ULONG SFGAO_CANCOPY = 0x00000001;
constexpr ULONG SFGAO_CANMOVE = 0x00000002;
constexpr ULONG SFGAO_CANLINK = 0x00000004;
constexpr ULONG SFGAO_CANRENAME = 0x00000010;
constexpr ULONG SFGAO_CANDELETE = 0x00000020;
constexpr ULONG SFGAO_HASPROPSHEET = 0x00000040;
constexpr ULONG SFGAO_DROPTARGET = 0x00000100;
constexpr ULONG SFGAO_LINK = 0x00010000;
constexpr ULONG SFGAO_SHARE = 0x00020000;
constexpr ULONG SFGAO_READONLY = 0x00040000;
constexpr ULONG SFGAO_GHOSTED = 0x00080000;
constexpr ULONG SFGAO_VALIDATE = 0x01000000;
constexpr ULONG SFGAO_REMOVABLE = 0x02000000;
constexpr ULONG SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

// A name handed back by GetDisplayNameOf. Ours are always STRRET_WSTR: pOleStr is UTF-8 (or, for parsing
// names, the raw bytes of the path) allocated with the shell allocator, which the receiver frees.
constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
    UINT uType = STRRET_WSTR;
    union {
        char* pOleStr;
        UINT uOffset;
        char cStr[MAX_PATH];
    };
};
// The text of a STRRET (freeing pOleStr), `item` being the list it was asked for (for STRRET_OFFSET).
std::string StrRetToString(STRRET& name, LPCITEMIDLIST item);

class IEnumIDList {
public:
    virtual ~IEnumIDList() = default;
    // Up to `count` next items as new relative lists; S_FALSE when fewer remained.
    virtual HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
};

class IContextMenu;

// One folder of the namespace. Relative lists name items inside it (multi-item lists reach deeper).
class IShellFolder {
public:
    virtual ~IShellFolder() = default;

    // An absolute (desktop) or folder-relative path to a new relative list. Only existing paths parse; the
    // desktop also takes the virtual items' parsing names ("::{computer}"). `attributes` (may be null)
    // is asked and answered as in GetAttributesOf.
    virtual HRESULT ParseDisplayName(HWND owner, const char* displayName, ULONG* eaten, LPITEMIDLIST* item, ULONG* attributes) = 0;
    // The items, folders and/or other entries (and hidden ones) as flagged. Fails for an unreadable folder.
    virtual HRESULT EnumObjects(HWND owner, DWORD flags, std::unique_ptr<IEnumIDList>* items) = 0;
    // The folder of a (possibly multi-item) relative list. E_INVALIDARG for an item that is no folder.
    virtual HRESULT BindToObject(LPCITEMIDLIST item, std::shared_ptr<IShellFolder>* folder) = 0;
    // Negative, 0 or positive in the low 16 bits: virtual items first, folders before files, then names
    // case-insensitively in the user's collation with a byte-wise tie-break. 0 only for the same item.
    virtual HRESULT CompareIDs(LPARAM column, LPCITEMIDLIST first, LPCITEMIDLIST second) = 0;
    // Not offered: E_NOTIMPL.
    virtual HRESULT CreateViewObject(HWND owner, std::shared_ptr<IShellFolder>* view) = 0;
    // The SFGAO bits all the items share, of those asked for in `attributes`.
    virtual HRESULT GetAttributesOf(UINT count, const LPCITEMIDLIST* items, ULONG* attributes) = 0;
    // The item's context menu (its verbs); `count` must be 1.
    virtual HRESULT GetUIObjectOf(HWND owner, UINT count, const LPCITEMIDLIST* items, std::shared_ptr<IContextMenu>* menu) = 0;
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST item, DWORD flags, STRRET* name) = 0;
    // Renames a file-system item inside this folder, never over an existing name; the new relative list in
    // `newItem` (may be null). E_INVALIDARG for a name with '/' or NUL, "." or "..";
    // HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) when the name is taken.
    virtual HRESULT SetNameOf(HWND owner, LPCITEMIDLIST item, const char* name, DWORD flags, LPITEMIDLIST* newItem) = 0;
};

// The desktop folder, root of the namespace (its absolute list is the empty list).
HRESULT SHGetDesktopFolder(std::shared_ptr<IShellFolder>* folder);

// The absolute list of a special folder: CSIDL_DESKTOP the empty list, CSIDL_DRIVES the computer,
// CSIDL_BITBUCKET the trash, CSIDL_PROFILE the home; the others through their path (SpecialFolderPath),
// so the list equals the one that browsing gives. E_FAIL for those without a place; a failure from
// ParseDisplayName when the folder is missing (CSIDL_FLAG_CREATE creates it first).
HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, LPITEMIDLIST* list);

// The file-system path of an absolute list (with a trailing '/' only for "/"); false for virtual items.
bool SHGetPathFromIDList(LPCITEMIDLIST list, std::string& path);
// The Win32 form: the path in `path` (MAX_PATH bytes); FALSE with `path` emptied for virtual items or
// paths that do not fit.
BOOL SHGetPathFromIDList(LPCITEMIDLIST list, char* path);

// The SFGAO bits of the item an absolute list names (SHGetFileInfo's SHGFI_ATTRIBUTES); 0 when it is gone.
ULONG ShellItemAttributes(LPCITEMIDLIST list);
// The icon names of the item an absolute list names (for the system image list).
std::vector<std::string> ShellItemIconNames(LPCITEMIDLIST list, bool open);

// --- Context menus ------------------------------------------------------------------------------------------

// The verbs of one item, in menu order: "open", "rename", "delete" (each present when the item allows it).
// "open" opens the item with the desktop's program (ShellOpen); "delete" moves it to the trash;
// "rename" is the caller's to carry out (InvokeCommand answers E_NOTIMPL), as the shell controls edit the
// name in place.
constexpr UINT CMF_NORMAL = 0x0000;
constexpr UINT CMF_DEFAULTONLY = 0x0001;
constexpr UINT CMF_EXPLORE = 0x0004;
constexpr UINT CMF_CANRENAME = 0x0010;
constexpr UINT GCS_VERBA = 0x0000;
constexpr DWORD CMIC_MASK_ASYNCOK = 0x00100000;

struct CMINVOKECOMMANDINFO {
    DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    // A verb text, or a command offset in its low 16 bits (a value below 0x10000).
    const char* lpVerb = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
};

class IContextMenu {
public:
    virtual ~IContextMenu() = default;
    // Numbers the verbs from `firstCommand` (up to `lastCommand`) and returns how many there are; a menu
    // handle is not filled (the caller builds its own menu from Verbs()). CMF_DEFAULTONLY keeps "open".
    virtual HRESULT QueryContextMenu(HMENU menu, UINT indexMenu, UINT firstCommand, UINT lastCommand, UINT flags) = 0;
    // The verb text of command offset `command` (GCS_VERBA), copied into `name` (`size` bytes).
    virtual HRESULT GetCommandString(UINT_PTR command, UINT type, UINT* reserved, char* name, UINT size) = 0;
    virtual HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) = 0;
    // The verbs QueryContextMenu numbered, in order.
    virtual std::vector<std::string> Verbs() const = 0;
};
