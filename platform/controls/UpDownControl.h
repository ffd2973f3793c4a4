// The up-down window class "msctls_updown32": a pair of arrow buttons that step an integer position within a
// range, driven by the UDM_* messages. Before each step the parent may refuse or change it (WM_NOTIFY with
// UDN_DELTAPOS); after it the parent hears WM_VSCROLL (WM_HSCROLL for UDS_HORZ) with SB_THUMBPOSITION. A held
// button repeats, taking larger steps the longer it is held (the accelerators). With UDS_SETBUDDYINT the
// position is shown in, and read back from, the buddy window's text.
#pragma once
#include "platform/controls/CommonControls.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinTypes.h"

constexpr const char* UPDOWN_CLASS = "msctls_updown32";

// Registers the class (once; later calls return the same atom).
ATOM RegisterUpDownClass();

// Styles.
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;

// Messages.
constexpr UINT UDM_SETRANGE = WM_USER + 101; // lParam MAKELONG(max, min), 16 bits each
constexpr UINT UDM_GETRANGE = WM_USER + 102; // MAKELONG(max, min)
constexpr UINT UDM_SETPOS = WM_USER + 103; // lParam: the position (low 16 bits); returns the previous one
constexpr UINT UDM_GETPOS = WM_USER + 104; // the position in the low word, the high word set on error
constexpr UINT UDM_SETBUDDY = WM_USER + 105; // wParam: the buddy; returns the previous one
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETACCEL = WM_USER + 107; // wParam: count, lParam: UDACCEL array
constexpr UINT UDM_GETACCEL = WM_USER + 108; // wParam: room, lParam: UDACCEL array; returns the count
constexpr UINT UDM_SETBASE = WM_USER + 109; // wParam: 10 or 16; returns the previous base, 0 for others
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111; // wParam: min, lParam: max
constexpr UINT UDM_GETRANGE32 = WM_USER + 112; // wParam, lParam: int* min, int* max
constexpr UINT UDM_SETPOS32 = WM_USER + 113; // lParam: the position; returns the previous one
constexpr UINT UDM_GETPOS32 = WM_USER + 114; // lParam: BOOL* set on error (may be null)

// The range's limits.
constexpr int UD_MAXVAL = 0x7FFF;
constexpr int UD_MINVAL = -UD_MAXVAL;

// An accelerator: from nSec seconds of holding on, each step is nInc.
struct UDACCEL {
    UINT nSec;
    UINT nInc;
};

// WM_NOTIFY code before a step; a non-zero answer refuses it, and the parent may change iDelta.
constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};

// A held button steps after this long, then at this pace.
constexpr UINT kUpDownFirstRepeatDelay = 500;
constexpr UINT kUpDownRepeatDelay = 50;
