// Standard scroll bars in a window's non-client area (WS_HSCROLL, WS_VSCROLL), their calls and codes, and
// scrolling a window's pixels.
#pragma once
#include "platform/win/WinTypes.h"

// Which bar: the window's own horizontal or vertical bar, a scroll bar control (SB_CTL, handled by the control
// through the SBM_* messages), or both of the window's bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// WM_HSCROLL/WM_VSCROLL request codes (low word of wParam; the high word carries the position of
// SB_THUMBTRACK and SB_THUMBPOSITION).
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

// SCROLLINFO.fMask.
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// EnableScrollBar arrows.
constexpr UINT ESB_ENABLE_BOTH = 0;
constexpr UINT ESB_DISABLE_LTUP = 1;
constexpr UINT ESB_DISABLE_LEFT = 1;
constexpr UINT ESB_DISABLE_UP = 1;
constexpr UINT ESB_DISABLE_RTDN = 2;
constexpr UINT ESB_DISABLE_RIGHT = 2;
constexpr UINT ESB_DISABLE_DOWN = 2;
constexpr UINT ESB_DISABLE_BOTH = 3;

// Messages of scroll bar controls, through which the SB_CTL calls reach them.
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
constexpr UINT SBM_GETSCROLLBARINFO = 0x00EB;

// SCROLLBARINFO.rgstate bits besides STATE_SYSTEM_INVISIBLE.
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;

// ScrollWindowEx flags.
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
constexpr UINT SW_SMOOTHSCROLL = 0x0010;

// Failure code of the scroll queries for a window without the bar.
constexpr DWORD ERROR_NO_SCROLLBARS = 1447;

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};

// Sets what `info->fMask` names and returns the new position. The page is kept within the range
// (0..nMax-nMin+1) and the position within nMin..nMax-max(nPage-1, 0); a range with nMin > nMax becomes 0..0.
// A change of range or page that leaves nothing to scroll hides the bar (SIF_DISABLENOSCROLL disables it
// instead), and one that gives something to scroll shows and enables it again, changing the client area.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
// FALSE (ERROR_NO_SCROLLBARS) for a window that never had the bar. SIF_TRACKPOS is the dragged thumb's
// position while it is dragged, else the position.
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Returns the previous position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// Sets or clears WS_HSCROLL/WS_VSCROLL (SB_BOTH: both) and recalculates the frame; SB_CTL shows or hides the
// control itself.
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
// ESB_* arrows to disable; FALSE when they already were in that state.
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
// OBJID_HSCROLL/OBJID_VSCROLL of a window, OBJID_CLIENT of a scroll bar control. The bar's rectangle is in
// screen coordinates, the thumb's edges are relative to the bar's start; rgstate[0] says whether the bar shows
// (STATE_SYSTEM_INVISIBLE) or is disabled, rgstate[1..5] the arrows, page areas and thumb.
BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO* info);

// Moves the client pixels of `scroll` (null: the client area) by dx, dy, within `clip` (null: the client area).
// What the move uncovers, and what could not be copied because it was not visible, becomes the update area
// (returned in `update` and `updateRect`, client coordinates); SW_INVALIDATE adds it to the window's update
// region (SW_ERASE: with an erase). A pending update region inside the scrolled area moves along.
// SW_SCROLLCHILDREN moves the child windows that meet the scrolled area. Returns the update area's region
// type, ERROR on failure.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
    UINT flags);
// ScrollWindowEx with SW_INVALIDATE | SW_ERASE, and SW_SCROLLCHILDREN when `scroll` is null.
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);
