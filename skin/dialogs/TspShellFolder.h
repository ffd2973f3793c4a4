// TspShellFolder: one item of the shell namespace (the desktop, the computer, a mount, a folder or a file) as
// every shell control holds it: its lists, names, attributes, icon, rename, and the detail texts of a list.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TSet.h"
#include "skin/dialogs/spShellCtrls.h"

#include <memory>
#include <string>
#include <vector>

// Raised when an item's details cannot be read from the file system.
class EInvalidPath : public Exception {
public:
    using Exception::Exception;
};

enum TspShellFolderCapability : uint8_t { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TspShellFolderCapabilities = TSet<TspShellFolderCapability, fcHasPropSheet>;
enum TspShellFolderProperty : uint8_t { fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable, fpValidate };
using TspShellFolderProperties = TSet<TspShellFolderProperty, fpValidate>;

class TspShellFolder {
public:
    // `id` is copied as the relative list; the absolute list is the parent's joined with it (the desktop's
    // without a parent, and then the desktop item is the parent). `shellFolder` is the item's own folder
    // interface (none for items that hold nothing).
    TspShellFolder(TspShellFolder* parent, LPCITEMIDLIST id, std::shared_ptr<IShellFolder> shellFolder);
    virtual ~TspShellFolder();
    TspShellFolder(const TspShellFolder&) = delete;
    TspShellFolder& operator=(const TspShellFolder&) = delete;

    TspShellFolder* Parent() const { return FParent; }
    LPCITEMIDLIST RelativeID() const { return FPIDL; }
    LPCITEMIDLIST AbsoluteID() const { return FFullPIDL; }
    const std::shared_ptr<IShellFolder>& ShellFolder() const { return FIShellFolder; }
    // Ancestors above the parent (0 for children of the desktop).
    int Level() const { return FLevel; }
    HWND ViewHandle() const { return FViewHandle; }

    // The folder holding the item (the desktop's for the desktop item).
    std::shared_ptr<IShellFolder> ParentShellFolder() const;
    // The name shown in the parent folder.
    std::string DisplayName() const;
    // The parsing name: the file-system path of file-system items, the normal name of virtual ones.
    std::string PathName() const;
    // The file-system path, "" for virtual items.
    std::string FullObjectName() const;

    TspShellFolderCapabilities Capabilities() const;
    TspShellFolderProperties Properties() const;
    bool SubFolders() const;
    // A folder to browse into (archives the shell could open as folders count as files).
    bool IsFolder() const;
    int ImageIndex(bool largeIcon) const;
    // Opens the item with the desktop's program.
    bool ExecuteDefault() const;
    // False without the rename capability; raises Exception "Rename to <name> failed" when refused (the name
    // taken, or unusable). On success the item's lists name the renamed item.
    bool Rename(const std::string& newName);

    // The detail texts of a list's columns 1..ColumnCount, loaded once: size in bytes (-1 for a folder),
    // extension with its dot, last write, attribute bits, read from the file system when `rootFolder` is a
    // file-system folder (nothing otherwise). EInvalidPath when the item cannot be read.
    void LoadColumnDetails(TspShellFolder* rootFolder, HWND handle, int columnCount);
    // Detail `index`, counted from 1 ("" past the loaded ones); Exception "<name>: Missing call to
    // LoadColumnDetails" when none are loaded.
    std::string GetDetails(int index) const;
    // Replaces detail `index`, or appends it when it is the next one.
    void SetDetails(int index, const std::string& value);
    int DetailCount() const { return static_cast<int>(FDetails.size()); }

private:
    std::vector<std::string> FileSystemDetails(int columnCount) const;

    LPITEMIDLIST FPIDL = nullptr;
    LPITEMIDLIST FFullPIDL = nullptr;
    TspShellFolder* FParent = nullptr;
    std::shared_ptr<IShellFolder> FIShellFolder;
    int FLevel = 0;
    HWND FViewHandle = nullptr;
    std::vector<std::string> FDetails;
};
