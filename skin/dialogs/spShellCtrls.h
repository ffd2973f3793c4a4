// The shell controls' unit: item-ID list routines, the program-wide desktop item, the building of a root item
// from a root name or path, and the shell context menu of one item with the verb protocol the shell tree and
// list take part in.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TSet.h"
#include "platform/shell/ShellNamespace.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TspShellFolder;
class TObject;
class TWinControl;

// Raised when the shell allocator or the desktop folder cannot be had.
class EOleError : public Exception {
public:
    using Exception::Exception;
};

// The roots a shell control can name instead of a path.
enum TspRootFolder : uint8_t {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};

// A control's root: a TspRootFolder name ("rfDesktop") or a path.
using TRoot = std::string;

// Links `self` to `value` through `field`, both ways: a tree, list or path box linked before lets go of `self`
// (when it still points back), the new one is watched, takes `self`'s root and links back. `linked` and `link`
// are the other control's getter and setter of its link to controls of `self`'s kind.
template <class Self, class Other, class Back>
void LinkShellControl(Self* self, Other*& field, Other* value, const TRoot& root, Back* (Other::*linked)() const,
    void (Other::*link)(Back*))
{
    if (value == field)
        return;
    Other* old = field;
    field = value;
    if (old && (old->*linked)() == self)
        (old->*link)(nullptr);
    if (value) {
        value->FreeNotification(self);
        value->SetRoot(root);
        (value->*link)(self);
    }
}

enum TShellObjectType : uint8_t { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType, otHidden>;

// Asked before a control adds an item; clearing `canAdd` leaves it out.
using TAddFolderEvent = std::function<void(TObject* sender, TspShellFolder* folder, bool& canAdd)>;

// Implemented by the controls that show a context menu: they may carry out a verb themselves (rename, delete
// with their own bookkeeping) and hear how every verb ended.
class IShellCommandVerb {
public:
    virtual ~IShellCommandVerb() = default;
    virtual void ExecuteCommand(const std::string& verb, bool& handled) = 0;
    virtual void CommandCompleted(const std::string& verb, bool succeeded) = 0;
};

namespace spShellCtrls {

// --- Item-ID lists (all allocated and freed with the shell allocator) ---------------------------------------

// Size zero-filled bytes; EOleError when the allocator fails.
LPITEMIDLIST AllocItemIdList(size_t size);
// The item after `item` (the item plus its byte count).
LPITEMIDLIST NextItemId(LPCITEMIDLIST item);
// Ends the list before its last item; nothing for none or an empty list.
void StripLastItemId(LPITEMIDLIST list);
int ItemIdCount(LPCITEMIDLIST list);
// Bytes of every item plus the 2-byte terminator; 0 for none.
size_t ItemIdListSize(LPCITEMIDLIST list);
LPITEMIDLIST CopyItemIdList(LPCITEMIDLIST list);
// `first` without its terminator, then all of `second`; `first` may be none.
LPITEMIDLIST JoinItemIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
void FreeItemIdList(LPITEMIDLIST list);
// The last item alone (the relative list of an absolute one).
LPITEMIDLIST LastItemIdCopy(LPCITEMIDLIST list);
// The first item, the first two, ..., the whole list, as new lists.
std::vector<LPITEMIDLIST> ItemIdListPrefixes(LPCITEMIDLIST list);
void FreeItemIdListPrefixes(std::vector<LPITEMIDLIST>& prefixes);

// A list owned by its holder (freed with the shell allocator).
struct TItemIdListDeleter {
    void operator()(ITEMIDLIST* list) const { FreeItemIdList(list); }
};
using TItemIdListPtr = std::unique_ptr<ITEMIDLIST, TItemIdListDeleter>;

// --- The namespace ------------------------------------------------------------------------------------------

// The desktop's folder interface; EOleError when there is none.
std::shared_ptr<IShellFolder> DesktopShellFolder();
// The desktop's own (empty) absolute list; the caller frees it.
LPITEMIDLIST DesktopLocation();
// The program's desktop item, parent of every item made without one.
TspShellFolder* DesktopFolder();
// Whether two absolute lists name the same item.
bool SamePIDL(LPCITEMIDLIST first, LPCITEMIDLIST second);
// The enumeration flags of a set of object types (otFolders 0x20, otNonFolders 0x40, otHidden 0x80).
DWORD ObjectFlags(TShellObjectTypes types);
// Whether `folder` enumerates at least one item with `flags`; false when it cannot be enumerated.
bool ObjectHasChildren(IShellFolder* folder, DWORD flags);
// The text of an item's name in `folder` with `flags`: "?1?2x" loses its question marks, and a parsing name
// of a virtual item ("::{...}") is asked again as the normal name. "parentfolder = nil" without a folder.
std::string GetDisplayName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags);
// The system image list index of an absolute list's icon.
int GetShellImage(LPCITEMIDLIST absoluteList, bool large, bool open);
// The item an absolute list names, as a child of the desktop item, with its own folder (none for a file or a
// folder that cannot be opened); the caller owns it.
std::unique_ptr<TspShellFolder> CreateShellFolderFromPIDL(LPCITEMIDLIST absoluteList);

// The absolute list of a path the desktop parses; EInvalidPath "Error setting path: "<value>"" otherwise.
TItemIdListPtr ParsePathOrRaise(const std::string& value);
// The items `folder` enumerates with `flags`, in its CompareIDs order; false when it cannot be enumerated.
bool SortedChildren(IShellFolder& folder, DWORD flags, std::vector<TItemIdListPtr>& children);

// The "open" verb of a control's context menu runs in the folder of the item it opens: Enter moves the current
// folder there, Leave puts it back (whatever became of the verb).
class TOpenVerbFolder {
public:
    void Enter(TspShellFolder* item);
    void Leave();

private:
    std::string FSaved;
};

// The hourglass cursor while the shell is read; the cursor before it comes back however the scope ends.
class THourglass {
public:
    THourglass();
    ~THourglass();
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    int16_t FSaved;
};

// The name of a root ("rfDesktop" -> rfDesktop); false for a path.
bool RootFolderFromName(const std::string& name, TspRootFolder& root);
// The special-folder number of a root.
int RootFolderCSIDL(TspRootFolder root);
// Replaces `rootFolder` by the item `newRoot` names. When that cannot be had, `newRoot` reverts to `oldRoot`,
// `rootFolder` stays and Exception "Error setting path: "<newRoot>"" is raised.
void CreateRootFolder(std::unique_ptr<TspShellFolder>& rootFolder, const TRoot& oldRoot, TRoot& newRoot);

// --- Context menu -------------------------------------------------------------------------------------------

// The context menu of an item while it is open (the owner's window procedure may hand it menu messages).
IContextMenu* OpenContextMenu();
// Shows the item's context menu at (x, y) of `owner`'s client area and carries out the chosen verb: the
// owner's ExecuteCommand first when it implements IShellCommandVerb, else the shell's; CommandCompleted then
// tells the owner how it went. Nothing for no item.
void InvokeContextMenu(TWinControl* owner, TspShellFolder* folder, int x, int y);
// Carries out `verb` on the item through its context menu, as the shell would (no window). False when the item
// has no such verb or it failed.
bool DoContextMenuVerb(TspShellFolder* folder, const char* verb);

} // namespace spShellCtrls
