// The rich edit window class "RICHEDIT": the edit's text engine with character formats (font, size, colour,
// bold, italic, underline, strike-out) and paragraph alignment, driven by the rich edit's EM_* messages, with
// plain-text and RTF streaming in and out. It reports EN_CHANGE by WM_COMMAND and EN_SELCHANGE by WM_NOTIFY
// as its event mask asks.
#pragma once
#include "platform/controls/CommonControls.h"
#include "platform/controls/EditControl.h"
#include "platform/win/WinMessages.h"

constexpr const char* WC_RICHEDIT = "RICHEDIT";

// Registers the class (once; later calls return the same atom).
ATOM RegisterRichEditClass();

// Styles beyond the edit's.
constexpr DWORD ES_DISABLENOSCROLL = 0x2000; // keep idle scroll bars, disabled (in place of ES_NUMBER)
constexpr DWORD ES_SAVESEL = 0x8000;

// Messages beyond the edit's.
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_STREAMIN = WM_USER + 73;
constexpr UINT EM_STREAMOUT = WM_USER + 74;
constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;

struct CHARRANGE {
    LONG cpMin;
    LONG cpMax; // -1: to the end of the text
};

struct TEXTRANGE {
    CHARRANGE chrg;
    char* lpstrText; // receives the range, NUL-terminated; must hold it
};

// EM_SETCHARFORMAT's wParam.
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_WORD = 0x0002;
constexpr WPARAM SCF_ALL = 0x0004;

struct CHARFORMAT {
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight; // twips
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    char szFaceName[32];
};

constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
// The fields this rich edit keeps.
constexpr DWORD CFM_KEPT = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_FACE | CFM_COLOR | CFM_SIZE;

constexpr DWORD CFE_BOLD = 0x0001;
constexpr DWORD CFE_ITALIC = 0x0002;
constexpr DWORD CFE_UNDERLINE = 0x0004;
constexpr DWORD CFE_STRIKEOUT = 0x0008;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

struct PARAFORMAT {
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wReserved;
    LONG dxStartIndent;
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;
    short cTabCount;
    LONG rgxTabs[32];
};

constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;

// EM_STREAMIN and EM_STREAMOUT: wParam is the format (with SFF_SELECTION to replace or write only the
// selection), lParam an EDITSTREAM. The callback moves at most `cb` bytes and tells how many in `*pcb`; a
// non-zero return stops the transfer and is kept in dwError. Reading stops when a callback gives no bytes.
using EDITSTREAMCALLBACK = DWORD (*)(uintptr_t cookie, BYTE* buffer, LONG cb, LONG* pcb);
struct EDITSTREAM {
    uintptr_t dwCookie;
    DWORD dwError;
    EDITSTREAMCALLBACK pfnCallback;
};

constexpr WPARAM SF_TEXT = 0x0001;
constexpr WPARAM SF_RTF = 0x0002;
constexpr WPARAM SFF_SELECTION = 0x8000;

// dwError after EM_STREAMIN of RTF that could not be read: the bytes were taken in as plain text.
constexpr DWORD SE_BADRTF = 0xE0000001;
// dwError after EM_STREAMIN of more than the rich edit takes in (64 MiB): nothing was read.
constexpr DWORD SE_TOOLONG = 0xE0000002;

// EM_SETEVENTMASK bits.
constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_SELCHANGE = 0x00080000;

// EN_SELCHANGE goes to the parent by WM_NOTIFY with this record.
constexpr UINT EN_SELCHANGE = 0x0702;
constexpr WORD SEL_EMPTY = 0x0000;
constexpr WORD SEL_TEXT = 0x0001;
constexpr WORD SEL_MULTICHAR = 0x0004;
struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp;
};
