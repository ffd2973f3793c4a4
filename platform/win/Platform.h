// Starting and stopping the window layer over a backend, handing it raw input, and watching the messages it
// delivers.
#pragma once
#include "platform/win/TBackend.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WindowSurface.h"

#include <cstddef>
#include <string>

// Starts the layer on the calling thread, which must be the UI (main) thread, over `backend` (not owned;
// it must outlive PlatformStop). Installs the framework's WakeMainThread hook so that Synchronize and Queue
// calls from worker threads wake the message loop. False when already started or off the main thread.
bool PlatformStart(TBackend* backend);
// Destroys every remaining window (with their messages), unregisters all classes, drops queued messages,
// timers and input, and restores the previous WakeMainThread hook. Worker threads must have stopped posting.
// False (and nothing stopped) when called from inside a window procedure or off the UI thread, where the
// state it frees is still in use further up the stack.
bool PlatformStop();
bool PlatformStarted();
TBackend* PlatformBackend();

// How other programs on the display name the top-level window of `hwnd` (its root), for dialogs they show on
// its behalf: "x11:<hex id>" on X11, empty without a display or a window.
std::string NativeWindowExportHandle(HWND hwnd);

// Queues one raw event from the display (any thread); it becomes messages when the loop retrieves input.
// Key and button state and the cursor position (GetAsyncKeyState, GetCursorPos) change at once.
void QueueRawInput(const TRawInput& input);

// Sees every message a window procedure gets (sent or dispatched), before and after, in order. For the
// headless message log. Token passes an observer's own bookkeeping from the start to the end of a message.
class TMessageObserver {
public:
    virtual ~TMessageObserver();
    virtual size_t MessageStarted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, int depth) = 0;
    virtual void MessageFinished(size_t token, LRESULT result) = 0;
};
// One observer at a time; null removes it. UI thread.
void SetMessageObserver(TMessageObserver* observer);
