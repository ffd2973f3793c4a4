// The button window class "BUTTON": push buttons, check boxes, radio buttons and group boxes (the kind is the
// BS_ type in the style's low four bits), driven by the BM_* messages and reporting to its parent by WM_COMMAND
// with the BN_* codes. The window draws itself with DrawFrameControl on the colour its parent gives it, or asks
// its parent to draw it (BS_OWNERDRAW, through WM_DRAWITEM).
#pragma once
#include "platform/win/WinTypes.h"

constexpr const char* WC_BUTTON = "BUTTON";

// Registers the class (once; later calls return the same atom).
ATOM RegisterButtonClass();

// Kinds (style & BS_TYPEMASK).
constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_CHECKBOX = 0x0002;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_RADIOBUTTON = 0x0004;
constexpr DWORD BS_3STATE = 0x0005;
constexpr DWORD BS_AUTO3STATE = 0x0006;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_USERBUTTON = 0x0008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
constexpr DWORD BS_PUSHBOX = 0x000A;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;
// Further styles.
constexpr DWORD BS_LEFTTEXT = 0x0020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_LEFT = 0x0100;
constexpr DWORD BS_RIGHT = 0x0200;
constexpr DWORD BS_CENTER = 0x0300;
constexpr DWORD BS_TOP = 0x0400;
constexpr DWORD BS_BOTTOM = 0x0800;
constexpr DWORD BS_VCENTER = 0x0C00;
constexpr DWORD BS_PUSHLIKE = 0x1000;
constexpr DWORD BS_MULTILINE = 0x2000;
constexpr DWORD BS_NOTIFY = 0x4000;
constexpr DWORD BS_FLAT = 0x8000;

// Messages.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

// Check states (BM_GETCHECK, BM_SETCHECK) and the further state bits of BM_GETSTATE.
constexpr LRESULT BST_UNCHECKED = 0x0000;
constexpr LRESULT BST_CHECKED = 0x0001;
constexpr LRESULT BST_INDETERMINATE = 0x0002;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

// Notification codes (high word of WM_COMMAND's wParam). BN_CLICKED always; the others with BS_NOTIFY only,
// except BN_DOUBLECLICKED, which radio and owner-drawn buttons always send.
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_PAINT = 1;
constexpr WORD BN_HILITE = 2;
constexpr WORD BN_PUSHED = BN_HILITE;
constexpr WORD BN_UNHILITE = 3;
constexpr WORD BN_UNPUSHED = BN_UNHILITE;
constexpr WORD BN_DISABLE = 4;
constexpr WORD BN_DOUBLECLICKED = 5;
constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;

// The side of the square box of check boxes and radio buttons, and the gap between box and text.
constexpr int kButtonCheckSize = 13;
constexpr int kButtonCheckGap = 4;
