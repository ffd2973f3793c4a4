// The Win32-spelled scalar types, handles, records and packing macros that the window layer speaks.
#pragma once
#include <cstdint>

// Scalars with their Windows widths (LONG is 32-bit, as on Windows, so RECT matches the 16-byte RGNDATA layout).
using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ATOM = uint16_t;
using COLORREF = uint32_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Handles are opaque: their values come from tables (index plus generation), so a stale handle is recognised
// and never dereferenced. HANDLE and HGDIOBJ take any handle, as on Windows.
using HANDLE = void*;
using HGDIOBJ = void*;
struct HWND__;
using HWND = HWND__*;
struct HRGN__;
using HRGN = HRGN__*;
struct HDC__;
using HDC = HDC__*;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HPEN__;
using HPEN = HPEN__*;
struct HFONT__;
using HFONT = HFONT__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HPALETTE__;
using HPALETTE = HPALETTE__*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HMENU__;
using HMENU = HMENU__*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HMONITOR__;
using HMONITOR = HMONITOR__*;

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

// Left and top are inside, right and bottom outside.
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
    // The window layer's own tag (the text a key message carries); 0 for none.
    DWORD lPrivate = 0;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct WNDCLASSEX {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCT {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    const char* lpszName;
    const char* lpszClass;
    DWORD dwExStyle;
};

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

// WM_NCCALCSIZE with wParam TRUE: rgrc[0] is the proposed window rectangle (parent coordinates) and becomes
// the client rectangle; rgrc[1] and rgrc[2] are the old window and client rectangles.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};

// The region data block of GetRegionData/ExtCreateRegion: a 32-byte header and nCount RECTs after it.
struct RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};

struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};

static_assert(sizeof(RECT) == 16 && sizeof(RGNDATAHEADER) == 32, "the region data layout is fixed");

// What GetScrollBarInfo reports of a window's scroll bar: rgstate[0] is the bar's own state (STATE_SYSTEM_*),
// the rest those of its arrows, page areas and thumb.
struct SCROLLBARINFO {
    DWORD cbSize;
    RECT rcScrollBar;
    int dxyLineButton;
    int xyThumbTop;
    int xyThumbBottom;
    int reserved;
    DWORD rgstate[6];
};

constexpr WORD LOWORD(uintptr_t value)
{
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(uintptr_t value)
{
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(uintptr_t value)
{
    return static_cast<BYTE>(value & 0xFF);
}
constexpr BYTE HIBYTE(uintptr_t value)
{
    return static_cast<BYTE>((value >> 8) & 0xFF);
}
// A 32-bit value from two words, low word first; as LPARAM it is not sign-extended (as on 64-bit Windows).
constexpr DWORD MAKELONG(uintptr_t low, uintptr_t high)
{
    return static_cast<DWORD>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
constexpr LPARAM MAKELPARAM(uintptr_t low, uintptr_t high)
{
    return static_cast<LPARAM>(MAKELONG(low, high));
}
constexpr WPARAM MAKEWPARAM(uintptr_t low, uintptr_t high)
{
    return static_cast<WPARAM>(MAKELONG(low, high));
}
constexpr LRESULT MAKELRESULT(uintptr_t low, uintptr_t high)
{
    return static_cast<LRESULT>(MAKELONG(low, high));
}
// Mouse coordinates are signed 16-bit values: client points under capture may be negative.
constexpr int GET_X_LPARAM(LPARAM value)
{
    return static_cast<int16_t>(value & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM value)
{
    return static_cast<int16_t>((value >> 16) & 0xFFFF);
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM value)
{
    return static_cast<int16_t>(HIWORD(value));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM value)
{
    return LOWORD(value);
}
constexpr POINT MAKEPOINT(LPARAM value)
{
    return POINT { GET_X_LPARAM(value), GET_Y_LPARAM(value) };
}

// Colours are 0x00BBGGRR.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c)
{
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// Resource ids passed where a name is expected (class atoms, standard cursors).
inline const char* MAKEINTRESOURCE(uintptr_t id)
{
    return reinterpret_cast<const char*>(id);
}
inline const char* MAKEINTATOM(ATOM atom)
{
    return reinterpret_cast<const char*>(uintptr_t(atom));
}
inline bool IS_INTRESOURCE(const char* name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}
