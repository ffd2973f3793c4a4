// The messages of the skinned menu chain and the test of the messages that close an open menu.
#pragma once
#include "platform/win/WinTypes.h"
#include "skin/core/SkinMessages.h" // WM_CLOSESKINMENU: the whole chain closed (to the opener, and to the form)
// Sent to the control that opened the menu after the command of the chosen item has run.
constexpr UINT WM_AFTERDISPATCH = 1229;

// True for the messages that close a form's open skinned menu before the form handles them: moving, sizing,
// activation and focus changes, cancelling, and button presses on the form or its frame.
bool CanMenuClose(UINT message);
