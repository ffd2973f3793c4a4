// The combo box window class "COMBOBOX": an edit field (an "EDIT" child, or for a drop-down list the combo's
// own face) over a list (a "ComboLBox" list box: a child below the field for a simple combo, otherwise a popup
// that drops down, never takes the focus and captures the mouse while it is open). Driven by the CB_* messages;
// reports to its parent by WM_COMMAND with the CBN_* codes, and hands the colour and owner-draw questions of
// its parts to its parent.
#pragma once
#include "platform/win/WinTypes.h"

constexpr const char* WC_COMBOBOX = "COMBOBOX";

// Registers the class, with the list box classes it stands on (once; later calls return the same atom).
ATOM RegisterComboBoxClass();

// Styles.
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_OEMCONVERT = 0x0080;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
constexpr DWORD CBS_UPPERCASE = 0x2000;
constexpr DWORD CBS_LOWERCASE = 0x4000;

// Messages.
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_SETEXTENDEDUI = 0x0155;
constexpr UINT CB_GETEXTENDEDUI = 0x0156;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETTOPINDEX = 0x015B;
constexpr UINT CB_SETTOPINDEX = 0x015C;
constexpr UINT CB_GETHORIZONTALEXTENT = 0x015D;
constexpr UINT CB_SETHORIZONTALEXTENT = 0x015E;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;
constexpr UINT CB_INITSTORAGE = 0x0161;
constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;
// How many rows the dropped list shows at most (30 unless set).
constexpr UINT CB_SETMINVISIBLE = 0x1701;
constexpr UINT CB_GETMINVISIBLE = 0x1702;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

// Notification codes (high word of WM_COMMAND's wParam).
constexpr WORD CBN_ERRSPACE = 0xFFFF;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// The IDs of the parts, as their WM_COMMAND messages to the combo box carry them.
constexpr int kComboEditId = 1001;
constexpr int kComboListId = 1000;

// CB_GETCOMBOBOXINFO's record (cbSize set by the caller).
struct COMBOBOXINFO {
    DWORD cbSize;
    RECT rcItem;   // the field, in the combo box's client coordinates
    RECT rcButton; // the drop-down button (empty for a simple combo box)
    DWORD stateButton; // STATE_SYSTEM_PRESSED or STATE_SYSTEM_INVISIBLE
    HWND hwndCombo;
    HWND hwndItem; // the edit, or the combo box itself for a drop-down list
    HWND hwndList;
};
