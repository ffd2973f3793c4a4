// The few Xlib calls SDL2 does not offer, on the X window behind an SDL window. Kept apart so that the
// Xlib headers (whose macros clash with the window layer's names) are included in one source only.
#pragma once
#include <cstdint>
#include <string>
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
// WM_CLASS of the window: its instance and class names.
void SetClassHint(void* display, unsigned long window, const std::string& instanceName, const std::string& className);
// The window's title: _NET_WM_NAME in UTF-8 and WM_NAME in Latin-1 ('?' for what Latin-1 lacks). SDL hands the
// title to Xlib's locale conversion, which in the C locale the program keeps refuses any letter beyond ASCII
// (the title then never reached the desktop, and the converted text was leaked).
void SetTitle(void* display, unsigned long window, const std::string& utf8);
// Removes the window's icon (_NET_WM_ICON).
void RemoveIcon(void* display, unsigned long window);
// Rings the display's bell at its own volume.
void Bell(void* display);
void Flush(void* display);
// The X window that owns the CLIPBOARD selection now (0: none).
unsigned long ClipboardOwner(void* display);
enum class TClipboardRead { Text, Empty, Failed };
// Reads the CLIPBOARD selection's text (UTF8_STRING) from its owner, on a connection of its own to the same
// server, so that an owner in this process is never asked (SDL answers only while its events are pumped), and
// the selection never changes hands: Empty when nobody owns it; Failed, with `error` saying why, when the
// owner refuses the text, does not answer within `timeoutMs`, or offers it in pieces (INCR), which is not read
// (the pieces are taken and dropped, so that the owner finishes the transfer and keeps the clipboard).
TClipboardRead ReadClipboardText(void* display, std::string& text, std::string& error, int timeoutMs);
// A lost connection to the X server ends the program with one clear line instead of Xlib's report; a
// failed request (on a window destroyed meanwhile) is ignored instead of ending it.
void InstallErrorHandlers();

} // namespace X11Calls
