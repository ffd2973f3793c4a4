// The menu table and the calls that build, change and read menus.
#include "platform/win/MenuRecords.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace {

// Handle value: generation in the high 32 bits, slot index above four tag bits 0xB (cursors use 0x3 and 0x7,
// windows and GDI objects other low bits).
constexpr uintptr_t kMenuTag = 0xB;

struct TMenuSlot {
    uint32_t Generation = 1;
    std::unique_ptr<TMenuRecord> Record;
};

std::vector<TMenuSlot>& Slots()
{
    static std::vector<TMenuSlot> slots;
    return slots;
}

HMENU NewMenu(bool popup)
{
    std::vector<TMenuSlot>& slots = Slots();
    size_t index = 0;
    while (index < slots.size() && slots[index].Record)
        ++index;
    if (index == slots.size())
        slots.emplace_back();
    slots[index].Record = std::make_unique<TMenuRecord>();
    slots[index].Record->Popup = popup;
    return reinterpret_cast<HMENU>((uintptr_t(slots[index].Generation) << 32) | (uintptr_t(index) << 4) | kMenuTag);
}

TMenuRecord* Need(HMENU menu)
{
    TMenuRecord* record = WinCore::FindMenu(menu);
    if (!record)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return record;
}

// The menu and index of an item by command id (depth first through the submenus) or by position.
struct TItemRef {
    TMenuRecord* Menu = nullptr;
    size_t Index = 0;
    TMenuItemRecord* Item() const { return Menu ? &Menu->Items[Index] : nullptr; }
};

TItemRef FindItem(TMenuRecord* menu, UINT item, bool byPosition, int depth = 0)
{
    if (!menu || depth > 32)
        return {};
    if (byPosition)
        return item < menu->Items.size() ? TItemRef { menu, item } : TItemRef {};
    for (size_t i = 0; i < menu->Items.size(); ++i) {
        const TMenuItemRecord& it = menu->Items[i];
        if (!it.Submenu && it.Id == item)
            return TItemRef { menu, i };
        if (it.Submenu)
            if (TItemRef inner = FindItem(WinCore::FindMenu(it.Submenu), item, false, depth + 1); inner.Menu)
                return inner;
    }
    return {};
}

// An item from the MF_ flags of AppendMenu, InsertMenu and ModifyMenu; false when a submenu handle is not a menu.
bool ItemFromFlags(UINT flags, uintptr_t idOrSubmenu, const char* text, TMenuItemRecord& item)
{
    item = TMenuItemRecord();
    item.Type = flags & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_RIGHTJUSTIFY);
    item.State = flags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (flags & MF_POPUP) {
        item.Submenu = reinterpret_cast<HMENU>(idOrSubmenu);
        if (!WinCore::FindMenu(item.Submenu))
            return false;
    } else {
        item.Id = UINT(idOrSubmenu);
    }
    if (flags & MF_BITMAP)
        item.Bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(text));
    else if (!(flags & (MF_SEPARATOR | MF_OWNERDRAW)) && text)
        item.Text = text;
    if (flags & MF_OWNERDRAW)
        item.Data = reinterpret_cast<uintptr_t>(text);
    return true;
}

void Destroy(HMENU menu, int depth)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(menu);
    std::vector<TMenuSlot>& slots = Slots();
    const size_t index = (value & 0xFFFFFFFFu) >> 4;
    std::unique_ptr<TMenuRecord> record = std::move(slots[index].Record);
    ++slots[index].Generation;
    if (depth > 32)
        return;
    for (const TMenuItemRecord& item : record->Items)
        if (item.Submenu && WinCore::FindMenu(item.Submenu))
            Destroy(item.Submenu, depth + 1);
}

UINT StateFlags(const TMenuItemRecord& item)
{
    UINT flags = item.Type | item.State;
    if (item.Submenu) {
        flags |= MF_POPUP;
        if (TMenuRecord* sub = WinCore::FindMenu(item.Submenu))
            flags |= UINT(sub->Items.size() & 0xFF) << 8;
    }
    return flags;
}

} // namespace

namespace WinCore {

TMenuRecord* FindMenu(HMENU menu)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(menu);
    if ((value & 0xF) != kMenuTag)
        return nullptr;
    const size_t index = (value & 0xFFFFFFFFu) >> 4;
    const uint32_t generation = uint32_t(value >> 32);
    std::vector<TMenuSlot>& slots = Slots();
    if (index >= slots.size() || slots[index].Generation != generation)
        return nullptr;
    return slots[index].Record.get();
}

char MenuMnemonic(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

} // namespace WinCore

HMENU CreateMenu()
{
    return NewMenu(false);
}

HMENU CreatePopupMenu()
{
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU menu)
{
    if (!Need(menu))
        return FALSE;
    Destroy(menu, 0);
    return TRUE;
}

BOOL IsMenu(HMENU menu)
{
    return WinCore::FindMenu(menu) ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const char* text)
{
    return InsertMenu(menu, UINT(-1), flags | MF_BYPOSITION, idOrSubmenu, text);
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu, const char* text)
{
    TMenuRecord* record = Need(menu);
    if (!record)
        return FALSE;
    TMenuItemRecord item;
    if (!ItemFromFlags(flags, idOrSubmenu, text, item) || item.Submenu == menu) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    TMenuRecord* target = record;
    size_t index = record->Items.size();
    if (position != UINT(-1)) {
        if (flags & MF_BYPOSITION) {
            index = std::min<size_t>(position, record->Items.size());
        } else {
            const TItemRef ref = FindItem(record, position, false);
            if (ref.Menu) {
                target = ref.Menu;
                index = ref.Index;
            }
        }
    }
    target->Items.insert(target->Items.begin() + long(index), std::move(item));
    return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu, const char* text)
{
    const TItemRef ref = FindItem(Need(menu), position, flags & MF_BYPOSITION);
    TMenuItemRecord item;
    if (!ref.Menu || !ItemFromFlags(flags, idOrSubmenu, text, item))
        return FALSE;
    *ref.Item() = std::move(item);
    return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info)
{
    TMenuRecord* record = Need(menu);
    if (!record || !info)
        return FALSE;
    TMenuRecord* target = record;
    size_t index = record->Items.size();
    if (byPosition) {
        index = std::min<size_t>(item, record->Items.size());
    } else if (const TItemRef ref = FindItem(record, item, false); ref.Menu) {
        target = ref.Menu;
        index = ref.Index;
    }
    target->Items.insert(target->Items.begin() + long(index), TMenuItemRecord());
    if (!SetMenuItemInfo(menu, UINT(index), TRUE, info) && target == record) {
        target->Items.erase(target->Items.begin() + long(index));
        return FALSE;
    }
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info)
{
    const TItemRef ref = FindItem(Need(menu), item, byPosition);
    if (!ref.Menu || !info)
        return FALSE;
    const TMenuItemRecord& it = *ref.Item();
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = it.Type;
    if (info->fMask & MIIM_STATE)
        info->fState = it.State;
    if (info->fMask & MIIM_ID)
        info->wID = it.Id;
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = it.Submenu;
    if (info->fMask & MIIM_DATA)
        info->dwItemData = it.Data;
    if (info->fMask & MIIM_BITMAP)
        info->hbmpItem = it.Bitmap;
    if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
        if (info->dwTypeData && info->cch > 0) {
            const size_t n = std::min<size_t>(it.Text.size(), info->cch - 1);
            std::memcpy(info->dwTypeData, it.Text.data(), n);
            info->dwTypeData[n] = '\0';
        }
        info->cch = UINT(it.Text.size());
    }
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info)
{
    const TItemRef ref = FindItem(Need(menu), item, byPosition);
    if (!ref.Menu || !info)
        return FALSE;
    TMenuItemRecord& it = *ref.Item();
    if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && (!WinCore::FindMenu(info->hSubMenu) || info->hSubMenu == menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE))
        it.Type = info->fType;
    if (info->fMask & MIIM_STATE)
        it.State = info->fState;
    if (info->fMask & MIIM_ID)
        it.Id = info->wID;
    if (info->fMask & MIIM_SUBMENU)
        it.Submenu = info->hSubMenu;
    if (info->fMask & MIIM_DATA)
        it.Data = info->dwItemData;
    if (info->fMask & MIIM_BITMAP)
        it.Bitmap = info->hbmpItem;
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) && !(it.Type & (MFT_SEPARATOR | MFT_OWNERDRAW)))
        it.Text = info->dwTypeData ? info->dwTypeData : "";
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    const TItemRef ref = FindItem(Need(menu), position, flags & MF_BYPOSITION);
    if (!ref.Menu)
        return FALSE;
    ref.Menu->Items.erase(ref.Menu->Items.begin() + long(ref.Index));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    const TItemRef ref = FindItem(Need(menu), position, flags & MF_BYPOSITION);
    if (!ref.Menu)
        return FALSE;
    const HMENU submenu = ref.Item()->Submenu;
    ref.Menu->Items.erase(ref.Menu->Items.begin() + long(ref.Index));
    if (submenu && WinCore::FindMenu(submenu))
        DestroyMenu(submenu);
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    TMenuRecord* record = Need(menu);
    return record ? int(record->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    TMenuRecord* record = WinCore::FindMenu(menu);
    if (!record || position < 0 || size_t(position) >= record->Items.size() || record->Items[size_t(position)].Submenu)
        return UINT(-1);
    return record->Items[size_t(position)].Id;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    TMenuRecord* record = WinCore::FindMenu(menu);
    if (!record || position < 0 || size_t(position) >= record->Items.size())
        return nullptr;
    return record->Items[size_t(position)].Submenu;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    const TItemRef ref = FindItem(Need(menu), item, flags & MF_BYPOSITION);
    return ref.Menu ? StateFlags(*ref.Item()) : UINT(-1);
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int bufferSize, UINT flags)
{
    const TItemRef ref = FindItem(Need(menu), item, flags & MF_BYPOSITION);
    if (!ref.Menu)
        return 0;
    const std::string& text = ref.Item()->Text;
    if (!buffer || bufferSize <= 0)
        return int(text.size());
    const size_t n = std::min<size_t>(text.size(), size_t(bufferSize) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return int(n);
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable)
{
    const TItemRef ref = FindItem(Need(menu), item, enable & MF_BYPOSITION);
    if (!ref.Menu)
        return UINT(-1);
    TMenuItemRecord& it = *ref.Item();
    const UINT old = it.State & MFS_GRAYED;
    it.State = (it.State & ~MFS_GRAYED) | (enable & MFS_GRAYED);
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    const TItemRef ref = FindItem(Need(menu), item, check & MF_BYPOSITION);
    if (!ref.Menu)
        return DWORD(-1);
    TMenuItemRecord& it = *ref.Item();
    const DWORD old = it.State & MFS_CHECKED;
    it.State = (it.State & ~MFS_CHECKED) | (check & MFS_CHECKED);
    return old;
}
