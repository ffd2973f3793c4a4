// The few Xlib calls SDL2 does not offer, on the X window behind an SDL window. Kept apart so that the
// Xlib headers (whose macros clash with the window layer's names) are included in one source only.
#pragma once
#include <cstdint>
#include <vector>

struct SDL_Window;

namespace X11Calls {

struct TRect {
    int X, Y, Width, Height;
};

// The Xlib Display and X window of an SDL window (null and 0 when it is not on X11).
void* DisplayOf(SDL_Window* window);
unsigned long XWindowOf(SDL_Window* window);
// The pointer's position on the screen, exact at once (SDL's global state lags without a capture).
bool QueryPointer(void* display, int& x, int& y);
// Keeps `window` above `owner` (0: none) and tells the window manager they belong together.
void SetTransientFor(void* display, unsigned long window, unsigned long owner);
// The window's bounding (and so input) shape from rectangles; `whole` removes the shape.
void SetShape(void* display, unsigned long window, const std::vector<TRect>& rects, bool whole);
bool HasShapeExtension(void* display);
// True when a compositing manager runs (it owns the _NET_WM_CM_S0 selection).
bool CompositorRunning(void* display);
void Raise(void* display, unsigned long window);
void Flush(void* display);
// A lost connection to the X server ends the program with one clear line instead of Xlib's report; a
// failed request (on a window destroyed meanwhile) is ignored instead of ending it.
void InstallErrorHandlers();

} // namespace X11Calls
