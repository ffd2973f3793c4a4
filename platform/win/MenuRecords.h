// The records behind menu handles, shared by the menu calls and the menu loop. Included only by platform/win.
#pragma once
#include "platform/win/Menus.h"

#include <string>
#include <vector>

struct TMenuItemRecord {
    UINT Type = MFT_STRING;
    UINT State = 0;
    UINT Id = 0;
    HMENU Submenu = nullptr;
    uintptr_t Data = 0;
    std::string Text;
    HBITMAP Bitmap = nullptr;

    bool IsSeparator() const { return Type & MFT_SEPARATOR; }
    bool IsEnabled() const { return !(State & MFS_GRAYED); }
};

struct TMenuRecord {
    bool Popup = false;
    std::vector<TMenuItemRecord> Items;
};

namespace WinCore {

// The record of a live menu handle, else null. Valid until the menu is destroyed.
TMenuRecord* FindMenu(HMENU menu);
// The mnemonic of a text ("&x" gives 'x', "&&" is a plain '&'), upper-cased; 0 when it has none.
char MenuMnemonic(const std::string& text);

} // namespace WinCore
