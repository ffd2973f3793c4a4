// The multiple-document interface: the MDI client window class "MDICLIENT", which holds a frame window's
// document windows (MDI children), its messages, and the default window procedures of frames and children.
#pragma once
#include "platform/win/WinTypes.h"

// Messages to the MDI client window.
constexpr UINT WM_MDICREATE = 0x0220;
constexpr UINT WM_MDIDESTROY = 0x0221;
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_MDIRESTORE = 0x0223;
constexpr UINT WM_MDINEXT = 0x0224;
constexpr UINT WM_MDIMAXIMIZE = 0x0225;
constexpr UINT WM_MDITILE = 0x0226;
constexpr UINT WM_MDICASCADE = 0x0227;
constexpr UINT WM_MDIICONARRANGE = 0x0228;
constexpr UINT WM_MDIGETACTIVE = 0x0229;
constexpr UINT WM_MDISETMENU = 0x0230;
constexpr UINT WM_MDIREFRESHMENU = 0x0234;

// WM_MDITILE and WM_MDICASCADE flags.
constexpr WPARAM MDITILE_VERTICAL = 0x0000;
constexpr WPARAM MDITILE_HORIZONTAL = 0x0001;
constexpr WPARAM MDITILE_SKIPDISABLED = 0x0002;

// Client window style: children get exactly the styles asked for, without the standard frame and boxes.
constexpr DWORD MDIS_ALLCHILDSTYLES = 0x0001;

// lpCreateParams of the client window: the menu that lists the children ("&1 Caption", ...; may be null) and
// the command ID of its first child item.
struct CLIENTCREATESTRUCT {
    HMENU hWindowMenu;
    UINT idFirstChild;
};

// lParam of WM_MDICREATE; the child's CREATESTRUCT carries a pointer to it as lpCreateParams.
struct MDICREATESTRUCT {
    const char* szClass;
    const char* szTitle;
    HINSTANCE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam;
};

// What the client does with its messages, in short:
// - WM_MDICREATE makes a child (WS_EX_MDICHILD, with caption, system menu, sizing frame and both boxes unless
//   the client has MDIS_ALLCHILDSTYLES; CW_USEDEFAULT places it on the cascade), shows and activates it when
//   it asks for WS_VISIBLE, and returns its handle. WM_MDIDESTROY destroys one, activating the next first.
// - One child is active: activating another sends the old one WM_NCACTIVATE(FALSE) and
//   WM_MDIACTIVATE(old, new), raises the new one, then sends it WM_NCACTIVATE(TRUE), WM_CHILDACTIVATE and
//   WM_MDIACTIVATE(old, new), and gives it the focus while the frame is active. A click on a child activates
//   it. WM_MDINEXT moves on to the next child in the stacking order (sending the current one to the back) or,
//   with a non-zero lParam, back to the last one.
// - At most one child is maximized, and it is the active one: activating another child while one is
//   maximized restores that one and maximizes the new one; a child created then comes maximized too.
//   Maximized, a child's frame lies outside the client, so its client area covers the client window's.
// - Minimized children line up along the bottom of the client (WM_MDIICONARRANGE lines them up again);
//   minimizing the active child activates the next one that is not minimized.
// - WM_MDITILE and WM_MDICASCADE restore a maximized child first and arrange the visible children that are
//   not minimized, the top one of the stacking order first (tile: top-left; cascade: in front).
// - The window menu lists the visible children in the order they were made, with the active one checked,
//   after a separator when the menu has items of its own, and follows caption changes. WM_MDISETMENU
//   changes the frame and window menus (null keeps one) and returns the old frame menu.
//   WM_MDIREFRESHMENU rebuilds the list.
//
// The frame window's procedure calls DefFrameProc instead of DefWindowProc: it gives the focus to the client,
// fits the client to the frame on WM_SIZE, and turns a window-menu command into activating that child
// (restoring it when minimized).
LRESULT DefFrameProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
// A child window's procedure calls DefMDIChildProc instead of DefWindowProc: it keeps the client told of the
// child's caption, visibility, state, focus and end, turns WM_CLOSE into WM_MDIDESTROY, and makes a maximized
// child cover the client area.
LRESULT DefMDIChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// WM_MDICREATE with these values.
HWND CreateMDIWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND client, HINSTANCE instance, LPARAM lParam);
// The MDI keys of a message from the loop: Ctrl+F6 and Ctrl+Tab (with Shift: backwards) go to the next
// child, Ctrl+F4 closes the active one. TRUE when the message was used.
BOOL TranslateMDISysAccel(HWND client, MSG* msg);

namespace WinCore {
// Registers "MDICLIENT" when the layer starts.
void RegisterMDIClientClass();
} // namespace WinCore
