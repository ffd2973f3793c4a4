// Menus (HMENU): menu bars and popup menus as lists of items (text, command id, state, submenu), built and read
// with the Win32 menu calls, and TrackPopupMenu, the modal loop that shows a popup menu and returns the choice.
#pragma once
#include "platform/win/WinTypes.h"

// Item flags of AppendMenu, InsertMenu and GetMenuState.
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
// WM_MENUSELECT flags (high word of wParam).
constexpr UINT MF_MOUSESELECT = 0x8000;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_MENUBARBREAK = 0x0020;
constexpr UINT MFT_MENUBREAK = 0x0040;
constexpr UINT MFT_OWNERDRAW = 0x0100;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = 0x4000;

constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_UNCHECKED = 0x0000;
constexpr UINT MFS_UNHILITE = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = 0x0003;
constexpr UINT MFS_CHECKED = 0x0008;
constexpr UINT MFS_HILITE = 0x0080;
constexpr UINT MFS_DEFAULT = 0x1000;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RECURSE = 0x0001;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;
constexpr UINT TPM_VERTICAL = 0x0040;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;
constexpr UINT TPM_NOANIMATION = 0x4000;

constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;

struct MENUITEMINFO {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    uintptr_t dwItemData;
    char* dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
};

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};

// Menus belong to the UI thread. A menu that is the submenu of an item is destroyed with the menu holding it.
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// `item` is a command id (MF_BYCOMMAND, searched through the submenus too) or a position (MF_BYPOSITION). With
// MF_POPUP, `idOrSubmenu` is the submenu (HMENU), which the item then owns. Text: "&" marks the mnemonic, a tab
// separates the shortcut text.
BOOL AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubmenu, const char* text);
// Before the item at `position` (-1 or past the end: at the end).
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu, const char* text);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, uintptr_t idOrSubmenu, const char* text);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
// Takes the item out; RemoveMenu leaves its submenu alive, DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// -1 for an invalid menu.
int GetMenuItemCount(HMENU menu);
// The command id at a position; -1 (as UINT) for a submenu item or a bad position.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's MF_ flags (for a submenu item the high byte holds the submenu's item count); -1 when there is none.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, char* buffer, int bufferSize, UINT flags);
// Return the previous state, -1 when there is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);

// Shows the popup menu at (x, y) (screen; aligned by the TPM_ flags and kept on the monitor) in windows that never
// take the activation or the focus, and runs a modal loop until the user chooses an item or cancels:
//  - the owner gets WM_ENTERMENULOOP, WM_INITMENUPOPUP before each (sub)menu shows, WM_MENUSELECT as the
//    highlight moves (and MAKELONG(0, 0xFFFF) with a null menu when the loop ends), WM_UNINITMENUPOPUP as each
//    closes, WM_EXITMENULOOP, and (unless TPM_RETURNCMD or TPM_NONOTIFY) a posted WM_COMMAND with the chosen id;
//  - mouse: the item under the pointer is highlighted and a submenu opens under it, releasing (or pressing) a button
//    on an enabled command item chooses it, a press outside every menu cancels (the press is not passed on);
//  - keys: Up and Down move the highlight (over separators, round the ends), Right or Enter opens a submenu, Left
//    closes one, Enter chooses, Escape closes the innermost menu (the last one cancels), and a letter chooses
//    the item whose mnemonic it is (or moves to the next of several with the same mnemonic). Alt cancels;
//  - EndMenu, a lost capture or the owner going away cancels.
// With TPM_RETURNCMD it returns the chosen id (0 when cancelled), else TRUE when an item was chosen. FALSE
// (ERROR_POPUP_ALREADY_ACTIVE) while another menu loop runs, unless TPM_RECURSE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
// `params` gives a screen rectangle the menu must not cover (it is placed beside it).
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Ends the running menu loop as if cancelled.
BOOL EndMenu();
// The screen rectangle of the item at `position` of `menu` while that menu is open in the running loop.
BOOL GetMenuItemRect(HWND owner, HMENU menu, UINT position, RECT* rect);

// --- The drawing of popup menus, supplied by the GDI layer ----------------------------------------------------

// What a painter needs of one item.
struct TMenuItemView {
    const char* Text = "";
    bool Separator = false;
    bool Enabled = true;
    bool Checked = false;
    bool RadioCheck = false;
    bool Default = false;
    bool HasSubmenu = false;
    bool Hot = false;
};

class TMenuPainter {
public:
    virtual ~TMenuPainter();
    // The width of the item's text (with its shortcut text) and the item's height; the loop adds the columns for
    // check marks and submenu arrows and the frame.
    virtual SIZE MeasureMenuItem(const TMenuItemView& item) = 0;
    virtual void PaintMenuFrame(HDC dc, const RECT& client) = 0;
    virtual void PaintMenuItem(HDC dc, const RECT& rect, const TMenuItemView& item) = 0;
};
// One painter at a time (not owned); without one, menus are plain rectangles with a highlight.
void SetMenuPainter(TMenuPainter* painter);
