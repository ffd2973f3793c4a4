// The window layer's calls in Win32 spelling; include this one header for the whole layer with its constants.
#pragma once
#include "framework/core/Clock.h" // GetTickCount: the layer's time is the framework's tick source.
#include "platform/win/Caret.h"
#include "platform/win/Cursors.h"
#include "platform/win/MDI.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Rects.h"
#include "platform/win/Regions.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Timers.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WindowProps.h"

// Windows belong to the UI thread (the process's main thread). Only PostMessage, PostThreadMessage,
// PostQuitMessage, SendMessage, IsWindow, GetCursorPos, GetAsyncKeyState, GetLastError and SetLastError may be
// called from other threads; window calls there fail (return their failure value and set
// ERROR_WINDOW_OF_OTHER_THREAD).

DWORD GetLastError();
void SetLastError(DWORD error);

// --- Window classes and registered messages ---------------------------------------------------------------

// Class names compare case-insensitively. Registering a name twice fails with ERROR_CLASS_ALREADY_EXISTS.
ATOM RegisterClass(const WNDCLASS* windowClass);
ATOM RegisterClassEx(const WNDCLASSEX* windowClass);
// Fails while windows of the class exist.
BOOL UnregisterClass(const char* className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, const char* className, WNDCLASS* windowClass);
int GetClassName(HWND hwnd, char* buffer, int bufferSize);
LONG_PTR GetClassLongPtr(HWND hwnd, int index);
// Changes the class of `hwnd` (and so of every window of that class); returns the old value.
LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
inline DWORD GetClassLong(HWND hwnd, int index)
{
    return static_cast<DWORD>(GetClassLongPtr(hwnd, index));
}
inline DWORD SetClassLong(HWND hwnd, int index, LONG value)
{
    return static_cast<DWORD>(SetClassLongPtr(hwnd, index, value));
}
// The same number (0xC000..0xFFFF) for the same name, compared case-insensitively; 0 for an empty name.
UINT RegisterWindowMessage(const char* name);

// --- Creating and destroying windows ------------------------------------------------------------------------

// Sends WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and WM_MOVE, through the class's window procedure
// (or a procedure installed while they run); a child's ancestors get WM_PARENTNOTIFY(WM_CREATE), and
// WS_VISIBLE shows the window. `parent` is the parent of a WS_CHILD window, HWND_MESSAGE for a message-only
// window (sent and posted messages and timers, never input or painting), or else the owner.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
inline HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, void* param)
{
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Hides the window (moving the activation on), destroys its owned windows, sends WM_DESTROY (parents before
// children) and WM_NCDESTROY (children before parents). The handle is invalid once it returns; a window
// destroyed inside one of its own handlers keeps its record until that handler returns, so the code that
// called it unwinds safely, and later calls on the handle simply fail.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

// --- Window data ------------------------------------------------------------------------------------------

// GWL_STYLE/GWL_EXSTYLE (with WM_STYLECHANGING/WM_STYLECHANGED), GWLP_ID, GWLP_USERDATA, GWLP_HINSTANCE,
// GWLP_HWNDPARENT (the owner), GWLP_WNDPROC, and non-negative byte offsets into the class's cbWndExtra.
//
// GWLP_WNDPROC keeps a chain of procedures: setting a new one returns the previous procedure, which the new
// one calls with CallWindowProc before, after or instead of its own work. Setting a procedure that is
// already further down the chain removes the hook that saved it (its "restore"), wherever that hook sits,
// so hooks may come off in any order; a hook that was removed is skipped when a later hook chains to it.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index)
{
    return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}
inline LONG SetWindowLong(HWND hwnd, int index, LONG value)
{
    return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value));
}
int GetWindowText(HWND hwnd, char* buffer, int bufferSize);
int GetWindowTextLength(HWND hwnd);
// Sends WM_SETTEXT.
BOOL SetWindowText(HWND hwnd, const char* text);

// --- Relations --------------------------------------------------------------------------------------------

// The parent of a child window, the owner of a top-level window.
HWND GetParent(HWND hwnd);
// Re-parents a window with its children; null makes it a top-level window. Returns the old parent.
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT command);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND hwnd);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM param);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param);
HWND FindWindow(const char* className, const char* windowName);

// --- Geometry ---------------------------------------------------------------------------------------------

// Screen coordinates.
BOOL GetWindowRect(HWND hwnd, RECT* rect);
// Client coordinates: always (0, 0, width, height).
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
// Maps from the client coordinates of `from` to those of `to` (null: the screen); returns the offset packed
// as MAKELONG(dx, dy).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
// The frame that the default WM_NCCALCSIZE puts around a client rectangle of these styles.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
inline BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu)
{
    return AdjustWindowRectEx(rect, style, menu, 0);
}

// --- Position, size, z-order, visibility ------------------------------------------------------------------

// Sends WM_WINDOWPOSCHANGING, WM_NCCALCSIZE (on a move, a size change or SWP_FRAMECHANGED), then
// WM_WINDOWPOSCHANGED, whose default sends WM_MOVE and WM_SIZE; invalidates what a size or frame change
// spoils. Shows, hides, restacks and (unless SWP_NOACTIVATE) activates a top-level window.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
// Sends WM_SHOWWINDOW when the visibility changes; minimizes, maximizes (WM_GETMINMAXINFO) and restores.
// Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);

// --- Enabling, activation, focus, capture ------------------------------------------------------------------

// Sends WM_ENABLE; a disabled window loses the focus and the capture. Returns whether it was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
// Activation moves between top-level windows: the old one gets WM_NCACTIVATE(FALSE) and
// WM_ACTIVATE(WA_INACTIVE), its focus WM_KILLFOCUS; then the new one WM_NCACTIVATE(TRUE) and WM_ACTIVATE,
// whose default gives it the focus (WM_SETFOCUS). WM_ACTIVATEAPP goes to every top-level window when the
// application as a whole gains or loses the activation.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Every mouse message goes to the capture window as a client message (no WM_NCHITTEST, no WM_SETCURSOR),
// wherever the pointer is. There is no implicit capture while a button is held.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// --- Messages ---------------------------------------------------------------------------------------------

// Calls the window's procedure at once and returns its result; re-entrant. From another thread the call is
// handed to the UI thread and waits until the UI thread pumps (GetMessage, PeekMessage, modal loops, waits).
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues the message (any thread) and wakes the message loop. FALSE for an invalid window.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Posts a message with no window to the UI thread's queue; FALSE for any other thread id.
BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Retrieval order: synchronised calls from other threads are run first, then posted messages, then input
// (turned into messages as it is taken, so a handler's SetCapture affects the next event), then WM_QUIT,
// then WM_PAINT (only when nothing else is queued), then one WM_TIMER per due timer. `hwnd` filters to a
// window and its children ((HWND)-1: thread messages only); `first`..`last` filter by number (0, 0: all).
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags);
// Waits (serving synchronised calls) until a message is retrieved; FALSE for WM_QUIT.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT first, UINT last);
// Waits until a message or input is queued or a timer falls due.
BOOL WaitMessage();
// Posts WM_CHAR/WM_SYSCHAR for a key-down message (US layout); the caller may skip it for keys it consumed.
BOOL TranslateMessage(const MSG* msg);
// Calls the message's window procedure (or the TIMERPROC of a WM_TIMER that carries one).
LRESULT DispatchMessage(const MSG* msg);
// Calls `proc` for `hwnd`; a hook that chained to a procedure that has since been removed from the chain
// reaches the procedure that hook had saved instead.
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The system's default for every message (non-client area, activation, cursor, move and size loops, system
// commands and keys).
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Time and screen position of the message last retrieved.
DWORD GetMessagePos();
LONG GetMessageTime();
// True while a SendMessage from another thread is being served.
BOOL InSendMessage();

// --- Input state ------------------------------------------------------------------------------------------

BOOL GetCursorPos(POINT* point);
// Moves the virtual pointer, as if the user had moved the mouse there.
BOOL SetCursorPos(int x, int y);
// The top-most visible window at the point whose region holds it (a disabled child gives its parent).
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
// Key state as of the message last retrieved (high bit: down; low bit: toggled).
short GetKeyState(int virtualKey);
// Key state now.
short GetAsyncKeyState(int virtualKey);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT milliseconds);

HCURSOR LoadCursor(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// --- Regions and layered windows -----------------------------------------------------------------------------

// The region is window-relative (origin at the window's top-left, not the client's). The window takes the
// region and deletes it when it is replaced or the window goes; null removes it. It clips drawing and hit
// testing, shapes the native window where the display can, and with `redraw` repaints frame and client.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window region into `region`; ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);
// Constant opacity (LWA_ALPHA) or a transparent colour (LWA_COLORKEY) of a WS_EX_LAYERED top-level window,
// applied at once. Clearing WS_EX_LAYERED makes the window opaque again. FALSE without the capability.
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags);

// --- Painting ---------------------------------------------------------------------------------------------

// Adds to the update region (client coordinates, null: all). A window without WS_CLIPCHILDREN passes the
// invalidation on to its children. WM_PAINT comes when the queue is otherwise empty.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
// Sends WM_NCPAINT and WM_PAINT now if the window needs them.
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Sends WM_NCPAINT if the frame is invalid, validates the update region, and sends WM_ERASEBKGND when an
// erase is pending. The HDC comes from the installed DC provider (null until one is installed).
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// Null (or the desktop window) gives the screen DC: drawing on it lies over every window (WindowSurface.h).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
// GetDC or, with DCX_WINDOW, GetWindowDC, further clipped to `clip` (DCX_INTERSECTRGN) or outside it
// (DCX_EXCLUDERGN); the region is in the DC's coordinates and stays the caller's. Children are clipped as the
// window's style says, whatever DCX_CLIPCHILDREN says; the cache and lock flags change nothing here.
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);

// --- System -----------------------------------------------------------------------------------------------

int GetSystemMetrics(int index);
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);
DWORD GetSysColor(int index);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
// The system version packed as Windows packs it: major version in the low byte, minor in the next, the build in
// the high word (0: the layer has none) and bit 31 clear for the NT family, which this layer always is. 6.1
// unless the backend reports another version.
DWORD GetVersion();
// Sounds the system's alert of kind `type` (0, or an MB_ICON* value, or 0xFFFFFFFF for the simple beep).
// Every call is counted first, so a test can check that a refused key beeps without hearing it.
BOOL MessageBeep(UINT type);
// How many times MessageBeep was called since the program started.
unsigned long long MessageBeepCount();
