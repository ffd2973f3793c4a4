// AllocateHWnd and DeallocateHWnd: hidden message-only windows whose messages go to a callable.
#pragma once
#include "framework/controls/Messages.h"
#include "platform/win/WinTypes.h"

#include <functional>

using TWndMethod = std::function<void(TMessage& message)>;

// A message-only window (sent and posted messages and timers, never input or painting) that hands every
// message to `method`. The method sees the message before anyone else; what it leaves unanswered it passes
// to DefWindowProc itself. Returns null when the window layer is not running.
HWND AllocateHWnd(TWndMethod method);
// Destroys a window made by AllocateHWnd. Safe from inside that window's own method: the method object
// stays alive until it returns.
void DeallocateHWnd(HWND hwnd);
