#include "tests/display/support/XdndSource.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long OurVersion = 5;
constexpr auto DropTimeout = std::chrono::seconds(10);

struct TXdndAtoms {
    Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished, XdndSelection,
        XdndActionCopy;
    Atom UriList, Targets;

    explicit TXdndAtoms(Display* display)
    {
        auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
        XdndAware = atom("XdndAware");
        XdndEnter = atom("XdndEnter");
        XdndPosition = atom("XdndPosition");
        XdndStatus = atom("XdndStatus");
        XdndLeave = atom("XdndLeave");
        XdndDrop = atom("XdndDrop");
        XdndFinished = atom("XdndFinished");
        XdndSelection = atom("XdndSelection");
        XdndActionCopy = atom("XdndActionCopy");
        UriList = atom("text/uri-list");
        Targets = atom("TARGETS");
    }
};

// The protocol version a window takes drops with, or 0 when it takes none.
long AwareVersion(Display* display, Window window, const TXdndAtoms& atoms)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long version = 0;
    if (XGetWindowProperty(
            display, window, atoms.XdndAware, 0, 1, False, XA_ATOM, &type, &format, &count, &after, &data)
            == Success
        && type == XA_ATOM && format == 32 && count == 1)
        version = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return version;
}

// The innermost-first search a drag source does: from the root down through the windows under the point
// until one says it takes drops (under a window manager that is the client inside the frame).
Window FindTarget(Display* display, int x, int y, const TXdndAtoms& atoms, long& version)
{
    Window root = DefaultRootWindow(display);
    Window window = root;
    for (;;) {
        int localX = 0;
        int localY = 0;
        Window child = None;
        if (!XTranslateCoordinates(display, root, window, x, y, &localX, &localY, &child) || child == None)
            return None;
        window = child;
        version = AwareVersion(display, window, atoms);
        if (version > 0)
            return window;
    }
}

void SendClientMessage(Display* display, Window target, Atom type, const long (&data)[5])
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(std::begin(data), std::end(data), event.xclient.data.l);
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// Hands the uri list to the target that asked for it (or the list of what we offer).
void AnswerSelectionRequest(const XSelectionRequestEvent& request, const std::string& uris, const TXdndAtoms& atoms)
{
    Display* display = request.display;
    XEvent reply {};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    Atom property = request.property != None ? request.property : request.target;
    reply.xselection.property = property;
    if (request.target == atoms.UriList) {
        XChangeProperty(display, request.requestor, property, atoms.UriList, 8, PropModeReplace,
            reinterpret_cast<const unsigned char*>(uris.data()), int(uris.size()));
    } else if (request.target == atoms.Targets) {
        Atom offered[] = { atoms.Targets, atoms.UriList };
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(offered), 2);
    } else {
        reply.xselection.property = None;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

bool NextEvent(Display* display, XEvent& event, Clock::time_point deadline)
{
    while (XPending(display) == 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fd { ConnectionNumber(display), POLLIN, 0 };
        poll(&fd, 1, int(left));
    }
    XNextEvent(display, &event);
    return true;
}

} // namespace

std::string FileUriList(const std::vector<std::string>& paths)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string list;
    for (const std::string& path : paths) {
        list += "file://";
        for (unsigned char c : path) {
            bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
                || c == '.' || c == '_' || c == '~' || c == '/';
            if (plain) {
                list += char(c);
            } else {
                list += '%';
                list += hex[c >> 4];
                list += hex[c & 15];
            }
        }
        list += "\r\n";
    }
    return list;
}

int DropFiles(Display* display, const std::vector<std::string>& paths, int x, int y, std::string& error)
{
    const TXdndAtoms atoms(display);
    const std::string uris = FileUriList(paths);
    Window root = DefaultRootWindow(display);
    Window source = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atoms.XdndSelection, source, CurrentTime);
    XWarpPointer(display, None, root, 0, 0, 0, 0, x, y);
    XSync(display, False);

    long theirVersion = 0;
    Window target = FindTarget(display, x, y, atoms, theirVersion);
    if (target == None) {
        error = "no window that takes drops at " + std::to_string(x) + "," + std::to_string(y);
        return 2;
    }
    const long version = std::min(theirVersion, OurVersion);
    const long sourceId = long(source);
    SendClientMessage(display, target, atoms.XdndEnter, { sourceId, version << 24, long(atoms.UriList), 0, 0 });
    SendClientMessage(display, target, atoms.XdndPosition,
        { sourceId, 0, (long(x) << 16) | long(y), CurrentTime, long(atoms.XdndActionCopy) });

    const auto deadline = Clock::now() + DropTimeout;
    bool dropped = false;
    XEvent event;
    while (NextEvent(display, event, deadline)) {
        if (event.type == SelectionRequest && event.xselectionrequest.selection == atoms.XdndSelection) {
            AnswerSelectionRequest(event.xselectionrequest, uris, atoms);
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.XdndStatus && !dropped) {
            if (!(event.xclient.data.l[1] & 1)) {
                SendClientMessage(display, target, atoms.XdndLeave, { sourceId, 0, 0, 0, 0 });
                error = "the target refused the drop";
                return 3;
            }
            SendClientMessage(display, target, atoms.XdndDrop, { sourceId, 0, CurrentTime, 0, 0 });
            dropped = true;
        } else if (event.type == ClientMessage && event.xclient.message_type == atoms.XdndFinished) {
            if (version >= 5 && !(event.xclient.data.l[1] & 1)) {
                error = "the target finished without taking the drop";
                return 5;
            }
            return 0;
        }
    }
    error = dropped ? "the target did not finish the drop in time" : "the target did not answer the drag in time";
    return 4;
}
