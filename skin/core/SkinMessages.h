// The window messages of the skin engine: the skin-change protocol and the parent-background notice.
#pragma once
#include "platform/win/WinTypes.h"

// Sent synchronously by a skin container to its owner form and then to every other form; wParam is the
// container, lParam is always 1000. A receiver acts only for the skin it is bound to.
constexpr UINT WM_BEFORECHANGESKINDATA = 1225; // a load or clear starts: the old skin is still in place
constexpr UINT WM_CHANGESKINDATA = 1226; // the new skin is complete; the container still says SkinChanging
constexpr UINT WM_AFTERCHANGESKINDATA = 1227; // the change is over
constexpr UINT WM_CHANGERESSTRDATA = 1274; // the container's string table was set
constexpr UINT WM_CHANGEFORMSKINNABLE = 1294; // the container's SkinnableForm changed

// Sent by a skinned popup menu, when it closes, to the control that opened it (wParam and lParam 0).
constexpr UINT WM_CLOSESKINMENU = 1228;

// Sent by a skinned container whose background changed to each of its children (wParam and lParam 0).
constexpr UINT WM_CHECKPARENTBG = 1284;

// Between a skinned MDI main form and its skinned children (wParam and lParam 0).
constexpr UINT WM_MDICHILDREFIT = 1230; // main form to each child: a maximized child fits the work area again
constexpr UINT WM_MDICHILDMAXIMIZED = 1231; // a child to the main form: it was maximized
constexpr UINT WM_MDICHILDRESTORED = 1232; // a child to the main form: it was minimized, restored or destroyed

// The lParam of every skin-change message.
constexpr LPARAM SkinDataMessageParam = 1000;

// Paint the skinned non-client parts into the DC in wParam; lParam carries CM_BENCPAINTParam, which the
// receiver answers.
constexpr UINT CM_BENCPAINT = 0xBC4B;
constexpr LPARAM CM_BENCPAINTParam = 0x41A2;
