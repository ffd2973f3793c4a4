// Inside the namespace: where an item-ID list leads, and the one folder class that serves the desktop, the
// computer and every file-system folder. Only the namespace's own sources include this.
#pragma once
#include "platform/shell/ShellDrives.h"
#include "platform/shell/ShellNamespace.h"

// Where a list (or a list so far) leads.
struct TShellLocation {
    // 'R' the desktop itself, 'V' a virtual folder, 'M' a mount, 'D' a desktop entry, 'F' a folder entry.
    char Kind = 'R';
    // The virtual folder ("home", "computer", "trash"); the entry name (raw bytes) of a 'D' or 'F' item.
    std::string Id;
    // The item's file-system path ("" for the computer and the trash, which have none).
    std::string Path;
    // The folder whose entries are the item's children ("" for the computer, whose children are mounts).
    std::string FolderPath;
    // The mount of an 'M' item.
    TShellDrive Drive;
};

// The location of the desktop itself.
TShellLocation DesktopLocation();
// Moves `at` one item down; false when the item cannot be inside `at`.
bool StepInto(TShellLocation& at, char kind, const std::string& bytes);
// Follows a whole list from `start` (the desktop for an absolute list).
bool ResolveShellList(LPCITEMIDLIST list, TShellLocation& location, const TShellLocation& start = DesktopLocation());
// The SFGAO bits of a location, or 0 when its file is gone.
ULONG LocationAttributes(const TShellLocation& at);
std::vector<std::string> LocationIconNames(const TShellLocation& at, bool open);
// The name shown for a location (SHGDN_NORMAL).
std::string LocationDisplayName(const TShellLocation& at);
