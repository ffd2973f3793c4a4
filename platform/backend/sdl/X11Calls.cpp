#include "platform/backend/sdl/X11Calls.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace X11Calls {

namespace {

bool WmInfo(SDL_Window* window, SDL_SysWMinfo& info)
{
    if (!window)
        return false;
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11;
}

int ConnectionLost(Display*)
{
    static const char kMessage[] = "Tarnwick Pro: the connection to the X display was lost; the program ends.\n";
    // Nothing more can be drawn or asked of the display: leave at once, without the exit handlers that
    // would talk to it again.
    (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(1);
}

// A request on a window that went away meanwhile (X is asynchronous: a window can be destroyed while a
// request about it is on its way) is no reason to end the program, which Xlib's default handler does.
int IgnoreProtocolError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

void* DisplayOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    return WmInfo(window, info) ? info.info.x11.display : nullptr;
}

unsigned long XWindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    return WmInfo(window, info) ? info.info.x11.window : 0;
}

bool QueryPointer(void* display, int& x, int& y)
{
    auto* d = static_cast<Display*>(display);
    if (!d)
        return false;
    Window root = 0, child = 0;
    int wx = 0, wy = 0;
    unsigned int mask = 0;
    return XQueryPointer(d, DefaultRootWindow(d), &root, &child, &x, &y, &wx, &wy, &mask) == True;
}

void SetTransientFor(void* display, unsigned long window, unsigned long owner)
{
    auto* d = static_cast<Display*>(display);
    if (!d || !window)
        return;
    if (owner)
        XSetTransientForHint(d, window, owner);
    else
        XDeleteProperty(d, window, XInternAtom(d, "WM_TRANSIENT_FOR", False));
    XFlush(d);
}

void SetShape(void* display, unsigned long window, const std::vector<TRect>& rects, bool whole)
{
    auto* d = static_cast<Display*>(display);
    if (!d || !window)
        return;
    if (whole) {
        XShapeCombineMask(d, window, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> xr;
        xr.reserve(rects.size());
        for (const TRect& r : rects)
            xr.push_back(XRectangle { short(r.X), short(r.Y), (unsigned short)r.Width, (unsigned short)r.Height });
        XShapeCombineRectangles(d, window, ShapeBounding, 0, 0, xr.data(), int(xr.size()), ShapeSet, Unsorted);
    }
    XFlush(d);
}

bool HasShapeExtension(void* display)
{
    int event = 0, error = 0;
    return display && XShapeQueryExtension(static_cast<Display*>(display), &event, &error);
}

bool CompositorRunning(void* display)
{
    auto* d = static_cast<Display*>(display);
    if (!d)
        return false;
    char name[32];
    std::snprintf(name, sizeof name, "_NET_WM_CM_S%d", DefaultScreen(d));
    return XGetSelectionOwner(d, XInternAtom(d, name, False)) != None;
}

void Raise(void* display, unsigned long window)
{
    if (display && window)
        XRaiseWindow(static_cast<Display*>(display), window);
}

void Flush(void* display)
{
    if (display)
        XFlush(static_cast<Display*>(display));
}

void InstallErrorHandlers()
{
    XSetIOErrorHandler(&ConnectionLost);
    XSetErrorHandler(&IgnoreProtocolError);
}

} // namespace X11Calls
