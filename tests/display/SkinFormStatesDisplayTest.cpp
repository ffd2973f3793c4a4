// A skinned main form's window states on a real display under a window manager: its caption buttons maximize,
// restore and minimize it through the window manager (which says so in the window's _NET_WM_STATE and
// WM_STATE), and the window manager gives the minimized form back; the same facts and pixels as headless.
#include <gtest/gtest.h>

#include "platform/backend/headless/THeadlessBackend.h"
#include "tests/display/SkinFormStatesScenario.h"
#include "tests/display/TSdlStage.h"

// Last: Xlib's macros (None, Status ...) would otherwise rename the names of the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// The atoms of a window's list property.
std::vector<Atom> AtomList(Display* display, Window window, const char* property, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 1024, False, type, &actualType,
            &format, &count, &after, &data)
            == Success
        && data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        atoms.assign(values, values + count);
    }
    if (data)
        XFree(data);
    return atoms;
}

// The window manager's client windows (the program has one top-level window here).
std::vector<Window> Clients(Display* display)
{
    std::vector<Window> clients;
    for (Atom a : AtomList(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW))
        clients.push_back(Window(a));
    return clients;
}

// "maximized", "minimized" or "normal", as the window manager has the client.
std::string ClientState(Display* display)
{
    XSync(display, False);
    const Atom hidden = XInternAtom(display, "_NET_WM_STATE_HIDDEN", False);
    const Atom vertical = XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom horizontal = XInternAtom(display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    for (Window client : Clients(display)) {
        const std::vector<Atom> state = AtomList(display, client, "_NET_WM_STATE", XA_ATOM);
        auto has = [&state](Atom atom) { return std::find(state.begin(), state.end(), atom) != state.end(); };
        if (has(hidden))
            return "minimized";
        if (has(vertical) && has(horizontal))
            return "maximized";
    }
    return "normal";
}

// What a task bar does when its entry of a minimized window is clicked.
void ActivateClients(Display* display)
{
    for (Window client : Clients(display)) {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = client;
        event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2; // a pager or task bar asks
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
            &event);
    }
    XFlush(display);
}

} // namespace

TEST(SkinFormStatesDisplay, CaptionButtonsMaximizeRestoreAndMinimizeThroughTheWindowManager)
{
    TSkinFormScreens expected;
    {
        THeadlessStage headless;
        headless.Start();
        TWindowManagerProbe probe;
        probe.State = [](HWND window) {
            return IsIconic(window) ? std::string("minimized") : IsZoomed(window) ? "maximized" : "normal";
        };
        probe.Restore = [&headless](HWND window) { headless.Backend().WindowManagerMinimize(window, false); };
        expected = PlaySkinnedFormStates(headless, probe);
        headless.Stop();
    }
    EXPECT_EQ(expected.Facts,
        (std::vector<std::string> { "maximize: maximized, zoomed; the window manager: maximized",
            "covers the work area", "restore: normal; the window manager: normal", "at 150,150 300x200",
            "minimize: normal, iconic; the window manager: minimized",
            "given back: normal; the window manager: normal", "at 150,150 300x200" }));
    TSkinFormScreens actual;
    {
        TXSessionOptions options;
        options.WindowManager = TWindowManager::Openbox;
        TXSession& session = SharedXSession(options);
        TSdlStage real(session);
        real.Start();
        TWindowManagerProbe probe;
        probe.State = [&session](HWND) { return ClientState(session.Connection()); };
        probe.Restore = [&session](HWND) { ActivateClients(session.Connection()); };
        actual = PlaySkinnedFormStates(real, probe);
        real.Stop();
    }
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
    for (size_t i = 0; i < expected.Screens.size(); ++i)
        EXPECT_EQ(DifferingPixels(expected.Screens[i], actual.Screens[i]), 0u) << "screen " << i;
}
