#include "platform/backend/sdl/X11Calls.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
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

void SetClassHint(void* display, unsigned long window, const std::string& instanceName, const std::string& className)
{
    auto* d = static_cast<Display*>(display);
    if (!d || !window)
        return;
    XClassHint hint;
    hint.res_name = const_cast<char*>(instanceName.c_str());
    hint.res_class = const_cast<char*>(className.c_str());
    XSetClassHint(d, window, &hint);
}

namespace {

// The Latin-1 bytes of a UTF-8 text; a character beyond Latin-1 or a broken sequence becomes '?'.
std::string Latin1Of(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += char(c);
            ++i;
            continue;
        }
        size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        const bool twoByteLatin1 = length == 2 && i + 1 < utf8.size() && c <= 0xC3
            && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        out += twoByteLatin1 ? char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)) : '?';
        i += 1;
        while (i < utf8.size() && length > 1 && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) {
            ++i;
            --length;
        }
    }
    return out;
}

} // namespace

void SetTitle(void* display, unsigned long window, const std::string& utf8)
{
    auto* d = static_cast<Display*>(display);
    if (!d || !window)
        return;
    XChangeProperty(d, window, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
        PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
    const std::string latin1 = Latin1Of(utf8);
    XChangeProperty(d, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(latin1.data()), int(latin1.size()));
    XFlush(d);
}

void RemoveIcon(void* display, unsigned long window)
{
    auto* d = static_cast<Display*>(display);
    if (!d || !window)
        return;
    XDeleteProperty(d, window, XInternAtom(d, "_NET_WM_ICON", False));
    XFlush(d);
}

void Bell(void* display)
{
    auto* d = static_cast<Display*>(display);
    if (!d)
        return;
    XBell(d, 0);
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

unsigned long ClipboardOwner(void* display)
{
    auto* d = static_cast<Display*>(display);
    if (!d)
        return 0;
    return XGetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False));
}

namespace {

// Waits until `wanted` holds for an event of the connection, or `deadline` passes (false).
template <typename Wanted>
bool AwaitEvent(Display* d, XEvent& event, std::chrono::steady_clock::time_point deadline, Wanted wanted)
{
    for (;;) {
        while (XPending(d)) {
            XNextEvent(d, &event);
            if (wanted(event))
                return true;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fd { ConnectionNumber(d), POLLIN, 0 };
        poll(&fd, 1, static_cast<int>(left));
    }
}

// Takes the pieces of an INCR transfer and drops them: the owner ends the transfer as it should, and goes on
// owning and serving the clipboard. Each deleted piece asks for the next; an empty one ends it.
void DrainIncrementalTransfer(Display* d, Window window, Atom property, std::chrono::steady_clock::time_point deadline)
{
    XEvent event;
    auto newPiece = [&](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == window && e.xproperty.atom == property
            && e.xproperty.state == PropertyNewValue;
    };
    while (AwaitEvent(d, event, deadline, newPiece)) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format, &count,
                &after, &data)
            != Success)
            return;
        if (data)
            XFree(data);
        if (count == 0)
            return;
    }
}

} // namespace

TClipboardRead ReadClipboardText(void* display, std::string& text, std::string& error, int timeoutMs)
{
    text.clear();
    auto* shared = static_cast<Display*>(display);
    if (!shared)
        return TClipboardRead::Empty;
    Display* d = XOpenDisplay(DisplayString(shared));
    if (!d) {
        error = "cannot open a second connection to the display";
        return TClipboardRead::Failed;
    }
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    if (XGetSelectionOwner(d, clipboard) == None) {
        XCloseDisplay(d);
        return TClipboardRead::Empty;
    }
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom incr = XInternAtom(d, "INCR", False);
    const Atom property = XInternAtom(d, "TP_CLIPBOARD", False);
    // The requestor: an unmapped window of this connection, where the owner puts the text. The pieces of an
    // INCR transfer are announced by property changes.
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d, window, PropertyChangeMask);
    XConvertSelection(d, clipboard, utf8, property, window, CurrentTime);
    XFlush(d);
    TClipboardRead result = TClipboardRead::Failed;
    XEvent event;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto notified = [window](const XEvent& e) { return e.type == SelectionNotify && e.xselection.requestor == window; };
    if (!AwaitEvent(d, event, deadline, notified)) {
        error = "the clipboard's owner did not answer";
    } else if (event.xselection.property == None) {
        error = "the clipboard's owner offers no text";
    } else {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format, &count,
                &after, &data)
            != Success) {
            error = "the clipboard's text could not be read";
        } else if (type == incr) {
            error = "the clipboard's owner sends its text in pieces (INCR), which is not read";
            DrainIncrementalTransfer(d, window, property, deadline);
        } else if (format == 8) {
            text.assign(reinterpret_cast<const char*>(data), count);
            result = TClipboardRead::Text;
        } else {
            error = "the clipboard's text came in an unknown form";
        }
        if (data)
            XFree(data);
    }
    XDestroyWindow(d, window);
    XCloseDisplay(d);
    return result;
}

void InstallErrorHandlers()
{
    XSetIOErrorHandler(&ConnectionLost);
    XSetErrorHandler(&IgnoreProtocolError);
}

} // namespace X11Calls
