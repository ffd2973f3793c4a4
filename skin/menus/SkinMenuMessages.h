// The messages of the skinned menu chain and the test of the messages that close an open menu.
#pragma once
#include "platform/win/WinTypes.h"

// Sent when the whole menu chain closed: to the control that opened the menu and, when a command was chosen or
// the form closed the menu, to the form (wParam and lParam 0).
constexpr UINT WM_CLOSESKINMENU = 1228;
// Sent to the control that opened the menu after the command of the chosen item has run.
constexpr UINT WM_AFTERDISPATCH = 1229;

// True for the messages that close a form's open skinned menu before the form handles them: moving, sizing,
// activation and focus changes, cancelling, and button presses on the form or its frame.
bool CanMenuClose(UINT message);
