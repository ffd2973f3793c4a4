// The list box window class "LISTBOX": a scrollable list of items driven by the LB_* messages, reporting to its
// parent by WM_COMMAND with the LBN_* codes. The items live in an ItemView; selection, keys, the mouse,
// type-ahead and painting are the window's.
#pragma once
#include "platform/win/WinTypes.h"

constexpr const char* WC_LISTBOX = "LISTBOX";

// Registers the class (once; later calls return the same atom).
ATOM RegisterListBoxClass();

// The list of a combo box: a list box that reports to the combo box named by its creation parameter, never
// takes the focus, and while dropped down follows the pointer and closes its combo box on a click outside.
constexpr const char* WC_COMBOLBOX = "ComboLBox";
ATOM RegisterComboListBoxClass();
// From the combo box to its list: follow the pointer (wParam TRUE: capturing the mouse), and stop.
constexpr UINT LBCB_STARTTRACK = 0x01AE;
constexpr UINT LBCB_ENDTRACK = 0x01AF;

// Styles.
constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOREDRAW = 0x0004;
constexpr DWORD LBS_MULTIPLESEL = 0x0008;
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_USETABSTOPS = 0x0080;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_MULTICOLUMN = 0x0200;
constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;
constexpr DWORD LBS_NOSEL = 0x4000;

// Messages.
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_SELITEMRANGEEX = 0x0183;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;
constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SELITEMRANGE = 0x019B;
constexpr UINT LB_SETANCHORINDEX = 0x019C;
constexpr UINT LB_GETANCHORINDEX = 0x019D;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_INITSTORAGE = 0x01A8;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;
constexpr LRESULT LB_ERRSPACE = -2;

// Notification codes (high word of WM_COMMAND's wParam), sent only with LBS_NOTIFY except LBN_ERRSPACE.
constexpr WORD LBN_ERRSPACE = 0xFFFE;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD LBN_SELCANCEL = 3;
constexpr WORD LBN_SETFOCUS = 4;
constexpr WORD LBN_KILLFOCUS = 5;
