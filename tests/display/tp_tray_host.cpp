// tp_tray_host, a small system tray for the display tests: it owns the screen's tray selection, announces
// itself ("MANAGER"), and embeds every icon window that asks to dock (XEmbed), giving it a fixed size in a
// row of its own window. It reports on standard output, a line each:
//     manager <window>          it owns the selection and its window shows
//     docked <icon> <x> <y>     an icon window was embedded at (x, y) in the tray's window
//     gone <icon>               an embedded icon window was destroyed or taken back
// Usage: tp_tray_host [icon side, default 32] [alpha]. With "alpha" the tray asks icons to use its 32-bit
// visual (_NET_SYSTEM_TRAY_VISUAL). The tray's window is at kTrayX, kTrayY with kTrayColour.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTrayX = 600;
constexpr int kTrayY = 0;
constexpr int kTrayWidth = 300;
constexpr int kTrayHeight = 48;
constexpr unsigned long kTrayColour = 0x336699;
constexpr int kGap = 4;
constexpr long SYSTEM_TRAY_REQUEST_DOCK = 0;
constexpr long XEMBED_EMBEDDED_NOTIFY = 0;
constexpr long XEMBED_MAPPED = 1;

struct TTray {
    Display* D = nullptr;
    Window Root = None;
    Window Own = None;
    Atom Opcode = None;
    Atom XEmbed = None;
    Atom XEmbedInfo = None;
    int Side = 32;
    std::vector<Window> Icons;
    int NextSlot = 0;
};

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Whether the client asks to be mapped once embedded (a window without _XEMBED_INFO is mapped too).
bool WantsMapping(TTray& tray, Window icon)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool mapped = true;
    if (XGetWindowProperty(tray.D, icon, tray.XEmbedInfo, 0, 2, False, AnyPropertyType, &type, &format, &count, &after,
            &data)
            == Success
        && data && format == 32 && count >= 2)
        mapped = (reinterpret_cast<long*>(data)[1] & XEMBED_MAPPED) != 0;
    if (data)
        XFree(data);
    return mapped;
}

void Embed(TTray& tray, Window icon)
{
    if (std::find(tray.Icons.begin(), tray.Icons.end(), icon) != tray.Icons.end())
        return;
    const int x = kGap + tray.NextSlot++ * (tray.Side + kGap);
    const int y = (kTrayHeight - tray.Side) / 2;
    XSelectInput(tray.D, icon, StructureNotifyMask);
    // As a desktop's tray does: should the tray die, the icon goes back to the root instead of with it.
    XAddToSaveSet(tray.D, icon);
    XReparentWindow(tray.D, icon, tray.Own, x, y);
    XResizeWindow(tray.D, icon, unsigned(tray.Side), unsigned(tray.Side));
    XEvent notify {};
    notify.xclient.type = ClientMessage;
    notify.xclient.window = icon;
    notify.xclient.message_type = tray.XEmbed;
    notify.xclient.format = 32;
    notify.xclient.data.l[0] = CurrentTime;
    notify.xclient.data.l[1] = XEMBED_EMBEDDED_NOTIFY;
    notify.xclient.data.l[3] = long(tray.Own);
    notify.xclient.data.l[4] = 0;
    XSendEvent(tray.D, icon, False, NoEventMask, &notify);
    if (WantsMapping(tray, icon))
        XMapWindow(tray.D, icon);
    XSync(tray.D, False);
    tray.Icons.push_back(icon);
    Say("docked " + std::to_string(icon) + " " + std::to_string(x) + " " + std::to_string(y));
}

void Forget(TTray& tray, Window icon)
{
    auto found = std::find(tray.Icons.begin(), tray.Icons.end(), icon);
    if (found == tray.Icons.end())
        return;
    tray.Icons.erase(found);
    Say("gone " + std::to_string(icon));
}

// A window that went away meanwhile is no reason to end.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TTray tray;
    if (argc > 1)
        tray.Side = std::clamp(std::atoi(argv[1]), 8, kTrayHeight);
    tray.D = XOpenDisplay(nullptr);
    if (!tray.D) {
        std::fprintf(stderr, "tp_tray_host: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const int screen = DefaultScreen(tray.D);
    tray.Root = RootWindow(tray.D, screen);
    tray.Opcode = XInternAtom(tray.D, "_NET_SYSTEM_TRAY_OPCODE", False);
    tray.XEmbed = XInternAtom(tray.D, "_XEMBED", False);
    tray.XEmbedInfo = XInternAtom(tray.D, "_XEMBED_INFO", False);
    const Atom selection = XInternAtom(tray.D, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen)).c_str(), False);

    XSetWindowAttributes attributes {};
    attributes.background_pixel = kTrayColour;
    attributes.override_redirect = True;
    attributes.event_mask = SubstructureNotifyMask;
    tray.Own = XCreateWindow(tray.D, tray.Root, kTrayX, kTrayY, kTrayWidth, kTrayHeight, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XMapWindow(tray.D, tray.Own);
    if (argc > 2 && std::string(argv[2]) == "alpha") {
        XVisualInfo info {};
        if (!XMatchVisualInfo(tray.D, screen, 32, TrueColor, &info)) {
            std::fprintf(stderr, "tp_tray_host: the display has no 32-bit visual\n");
            return 4;
        }
        const long id = long(info.visualid);
        XChangeProperty(tray.D, tray.Own, XInternAtom(tray.D, "_NET_SYSTEM_TRAY_VISUAL", False), XA_VISUALID, 32,
            PropModeReplace, reinterpret_cast<const unsigned char*>(&id), 1);
    }
    XSetSelectionOwner(tray.D, selection, tray.Own, CurrentTime);
    if (XGetSelectionOwner(tray.D, selection) != tray.Own) {
        std::fprintf(stderr, "tp_tray_host: another tray owns the selection\n");
        return 3;
    }
    XEvent manager {};
    manager.xclient.type = ClientMessage;
    manager.xclient.window = tray.Root;
    manager.xclient.message_type = XInternAtom(tray.D, "MANAGER", False);
    manager.xclient.format = 32;
    manager.xclient.data.l[0] = CurrentTime;
    manager.xclient.data.l[1] = long(selection);
    manager.xclient.data.l[2] = long(tray.Own);
    XSendEvent(tray.D, tray.Root, False, StructureNotifyMask, &manager);
    XSync(tray.D, False);
    Say("manager " + std::to_string(tray.Own));

    for (;;) {
        XEvent event;
        XNextEvent(tray.D, &event);
        switch (event.type) {
        case ClientMessage:
            if (event.xclient.message_type == tray.Opcode && event.xclient.data.l[1] == SYSTEM_TRAY_REQUEST_DOCK)
                Embed(tray, Window(event.xclient.data.l[2]));
            break;
        case DestroyNotify:
            Forget(tray, event.xdestroywindow.window);
            break;
        case ReparentNotify:
            if (event.xreparent.parent != tray.Own)
                Forget(tray, event.xreparent.window);
            break;
        case SelectionClear:
            return 0;
        default:
            break;
        }
    }
}
