// The scroll bar window class "SCROLLBAR": a bar that is a window of its own (SB_CTL), horizontal or vertical,
// driven by the SBM_* messages (which the scroll calls send it) and reporting to its parent by WM_HSCROLL or
// WM_VSCROLL with its own window in lParam. Like the windows' own bars, it moves its thumb only while it is
// dragged: the parent sets the position it wants.
#pragma once
#include "platform/win/WinTypes.h"

constexpr const char* WC_SCROLLBAR = "SCROLLBAR";

// Registers the class (once; later calls return the same atom).
ATOM RegisterScrollBarClass();

// Styles.
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
