// The display harness itself, on a bare X11 window of the test's own: the server and its helpers start and
// stop, xdotool's input arrives, pixels read back, our XDND source drops files, the clipboard round-trips.
#include "tests/display/support/TXSession.h"
#include "tests/display/support/XdndSource.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib defines macros (None, Bool) that its headers use as names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cerrno>
#include <csignal>
#include <poll.h>

namespace {

using namespace std::chrono_literals;

constexpr unsigned long Red = 0xCC2211;

// A plain top-level window on its own connection, with a queue of the events it received.
class TRawWindow {
public:
    TRawWindow(TXSession& session, int x, int y, int width, int height)
        : Display_(XOpenDisplay(session.DisplayName().c_str()))
    {
        if (!Display_)
            throw std::runtime_error("cannot open " + session.DisplayName());
        Window root = DefaultRootWindow(Display_);
        Handle = XCreateSimpleWindow(Display_, root, x, y, unsigned(width), unsigned(height), 0, 0, Red);
        XSelectInput(Display_, Handle,
            ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask
                | PropertyChangeMask);
        XSizeHints hints {};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(Display_, Handle, &hints);
        XMapWindow(Display_, Handle);
        ExpectEvent([](const XEvent& event) { return event.type == Expose; });
    }
    ~TRawWindow()
    {
        XDestroyWindow(Display_, Handle);
        XCloseDisplay(Display_);
    }

    ::Display* Display() const { return Display_; }

    // Where the window's top-left corner is on the screen (a window manager may have moved it).
    void Origin(int& x, int& y) const
    {
        Window child;
        XTranslateCoordinates(Display_, Handle, DefaultRootWindow(Display_), 0, 0, &x, &y, &child);
    }

    // Waits for a pending or coming event, up to the deadline.
    bool WaitForEvent(XEvent& event, std::chrono::milliseconds timeout = 15s)
    {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (XPending(Display_) == 0) {
            auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd fd { ConnectionNumber(Display_), POLLIN, 0 };
            poll(&fd, 1, int(left.count()));
        }
        XNextEvent(Display_, &event);
        return true;
    }

    // The first event that `match` accepts (the ones before it are dropped).
    template <typename Match> XEvent ExpectEvent(Match match, std::chrono::milliseconds timeout = 15s)
    {
        XEvent event {};
        std::string seen;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (!WaitForEvent(event, std::max(left, 0ms)))
                throw std::runtime_error("the expected event did not come; came: " + seen);
            seen += std::to_string(event.type) + " ";
            if (match(event))
                return event;
        }
    }

    // Runs the loop for a moment: handles what has come without waiting longer than `slice`.
    void Pump(std::chrono::milliseconds slice, const std::function<void(XEvent&)>& handle)
    {
        XEvent event;
        if (WaitForEvent(event, slice)) {
            handle(event);
            while (XPending(Display_) > 0) {
                XNextEvent(Display_, &event);
                handle(event);
            }
        }
    }

    Window Handle = None;

private:
    ::Display* Display_ = nullptr;
};

struct TSessionKind {
    const char* Name;
    TWindowManager WindowManager;
};

class XSessionTest : public testing::TestWithParam<TSessionKind> {
protected:
    TXSession& Session()
    {
        TXSessionOptions options;
        options.WindowManager = GetParam().WindowManager;
        return SharedXSession(options);
    }
};

TEST_P(XSessionTest, WindowPixelsAndAClickOnIt)
{
    TXSession& session = Session();
    TRawWindow window(session, 100, 120, 200, 150);
    int left = 0;
    int top = 0;
    window.Origin(left, top);
    TScreenImage image = session.Grab(left - 5, top - 5, 210, 160);
    EXPECT_EQ(image.At(left, top), Red);
    EXPECT_EQ(image.At(left + 199, top + 149), Red);
    EXPECT_NE(image.At(left + 200, top + 150), Red);

    session.MoveTo(left + 30, top + 40);
    session.Click();
    XEvent press = window.ExpectEvent([](const XEvent& event) { return event.type == ButtonPress; });
    EXPECT_EQ(press.xbutton.button, 1u);
    EXPECT_EQ(press.xbutton.x, 30);
    EXPECT_EQ(press.xbutton.y, 40);
    XEvent release = window.ExpectEvent([](const XEvent& event) { return event.type == ButtonRelease; });
    EXPECT_EQ(release.xbutton.x, 30);
    int x = 0;
    int y = 0;
    session.PointerPosition(x, y);
    EXPECT_EQ(x, left + 30);
    EXPECT_EQ(y, top + 40);
}

TEST_P(XSessionTest, DragThatLeavesTheWindowStaysWithIt)
{
    TXSession& session = Session();
    TRawWindow window(session, 100, 120, 200, 150);
    int left = 0;
    int top = 0;
    window.Origin(left, top);
    session.Drag(left + 10, top + 10, left + 400, top + 300);
    window.ExpectEvent([](const XEvent& event) { return event.type == ButtonPress; });
    // The press grabs the pointer: motion and release outside still come to the window, in its coordinates.
    XEvent motion
        = window.ExpectEvent([](const XEvent& event) { return event.type == MotionNotify && event.xmotion.x > 200; });
    EXPECT_EQ(motion.xmotion.x_root - motion.xmotion.x, left);
    XEvent release = window.ExpectEvent([](const XEvent& event) { return event.type == ButtonRelease; });
    EXPECT_EQ(release.xbutton.x, 400);
    EXPECT_EQ(release.xbutton.y, 300);
}

// The character of a keysym as UTF-8 (Latin-1 and Unicode keysyms, Return).
std::string KeysymText(KeySym keysym)
{
    if (keysym == XK_Return)
        return "\r";
    uint32_t c = keysym >= 0x01000000 ? uint32_t(keysym & 0xFFFFFF) : uint32_t(keysym);
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

TEST_P(XSessionTest, TypedTextAndKeys)
{
    TXSession& session = Session();
    TRawWindow window(session, 100, 120, 200, 150);
    int left = 0;
    int top = 0;
    window.Origin(left, top);
    session.MoveTo(left + 20, top + 20);
    XSetInputFocus(window.Display(), window.Handle, RevertToParent, CurrentTime);
    XSync(window.Display(), False);
    // Read only after xdotool has finished: characters beyond ASCII must still be on the keymap by then.
    session.Type("aZ 7é€");
    session.Key("Return");
    std::string typed;
    for (KeySym keysym = NoSymbol; keysym != XK_Return;) {
        XEvent event {};
        try {
            event = window.ExpectEvent(
                [](const XEvent& event) { return event.type == KeyPress || event.type == MappingNotify; });
        } catch (const std::runtime_error& error) {
            FAIL() << error.what() << " after \"" << typed << "\"";
        }
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            continue;
        }
        char text[8] = {};
        XLookupString(&event.xkey, text, sizeof text, &keysym, nullptr);
        if (!IsModifierKey(keysym))
            typed += KeysymText(keysym);
    }
    EXPECT_EQ(typed, "aZ 7é€\r");
}

// The target side of a drop, as any XDND client does it: accept, ask for the uri list, read it, finish.
std::string ReceiveDrop(TRawWindow& window, TChildProcess& source)
{
    Display* display = window.Display();
    auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
    Atom property = atom("TP_DROP");
    std::string uris;
    Window sourceWindow = None;
    auto reply = [&](Atom type, long accepted) {
        XEvent message {};
        message.xclient.type = ClientMessage;
        message.xclient.window = sourceWindow;
        message.xclient.message_type = type;
        message.xclient.format = 32;
        message.xclient.data.l[0] = long(window.Handle);
        message.xclient.data.l[1] = accepted;
        message.xclient.data.l[4] = long(atom("XdndActionCopy"));
        if (type == atom("XdndFinished"))
            message.xclient.data.l[2] = long(atom("XdndActionCopy"));
        XSendEvent(display, sourceWindow, False, NoEventMask, &message);
        XFlush(display);
    };
    auto handle = [&](XEvent& event) {
        if (event.type == ClientMessage && event.xclient.message_type == atom("XdndEnter")) {
            sourceWindow = Window(event.xclient.data.l[0]);
        } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndPosition")) {
            reply(atom("XdndStatus"), 1);
        } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndDrop")) {
            XConvertSelection(display, atom("XdndSelection"), atom("text/uri-list"), property, window.Handle,
                Time(event.xclient.data.l[2]));
        } else if (event.type == SelectionNotify && event.xselection.property == property) {
            Atom type;
            int format;
            unsigned long count;
            unsigned long after;
            unsigned char* data = nullptr;
            XGetWindowProperty(display, window.Handle, property, 0, 65536, True, AnyPropertyType, &type, &format,
                &count, &after, &data);
            uris.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
            reply(atom("XdndFinished"), 1);
        }
    };
    EXPECT_TRUE(WaitUntil([&] { return source.Finished(); }, [&](auto slice) { window.Pump(slice, handle); }, 10s))
        << "the drop source did not finish";
    return uris;
}

TEST_P(XSessionTest, DroppedFilesKeepSpacesAndNonAscii)
{
    TXSession& session = Session();
    TRawWindow window(session, 100, 120, 200, 150);
    Atom version = 5;
    XChangeProperty(window.Display(), window.Handle, XInternAtom(window.Display(), "XdndAware", False), XA_ATOM, 32,
        PropModeReplace, reinterpret_cast<unsigned char*>(&version), 1);
    XSync(window.Display(), False);
    int left = 0;
    int top = 0;
    window.Origin(left, top);
    const std::vector<std::string> paths = { "/tmp/clips/holiday 2024 (1).mp4", "/tmp/Bücher/ñandú – 映画.avi" };
    auto source = session.StartDrop(paths, left + 50, top + 60);
    std::string uris = ReceiveDrop(window, *source);
    EXPECT_EQ(source->ExitCode(), 0) << source->Errors();
    EXPECT_EQ(uris, FileUriList(paths));
    EXPECT_EQ(uris.substr(0, uris.find("\r\n")), "file:///tmp/clips/holiday%202024%20%281%29.mp4");
    int x = 0;
    int y = 0;
    session.PointerPosition(x, y);
    EXPECT_EQ(x, left + 50);
    EXPECT_EQ(y, top + 60);
}

TEST_P(XSessionTest, DropOnAWindowThatTakesNoneFails)
{
    TXSession& session = Session();
    TRawWindow window(session, 100, 120, 200, 150);
    int left = 0;
    int top = 0;
    window.Origin(left, top);
    auto source = session.StartDrop({ "/tmp/a.mp4" }, left + 50, top + 60);
    ASSERT_TRUE(source->WaitFinished(10s));
    EXPECT_EQ(source->ExitCode(), 2);
    EXPECT_NE(source->Errors().find("no window that takes drops"), std::string::npos) << source->Errors();
}

TEST_P(XSessionTest, ClipboardRoundTrip)
{
    TXSession& session = Session();
    const std::string text = "Tarnwick – clip ✓ ünïcode\nsecond line";
    session.SetClipboardText(text);
    EXPECT_EQ(session.ClipboardText(), text);

    // A window of ours takes the clipboard over; xclip reads it while the window serves the request.
    TRawWindow window(session, 100, 120, 200, 150);
    Display* display = window.Display();
    Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const std::string ours = "from the raw window: Größe";
    XSetSelectionOwner(display, clipboard, window.Handle, CurrentTime);
    XSync(display, False);
    ASSERT_EQ(XGetSelectionOwner(display, clipboard), window.Handle);
    auto reader = session.StartReadClipboard();
    auto serve = [&](XEvent& event) {
        if (event.type != SelectionRequest)
            return;
        XSelectionRequestEvent& request = event.xselectionrequest;
        XEvent reply {};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        if (request.target == utf8) {
            XChangeProperty(display, request.requestor, request.property, utf8, 8, PropModeReplace,
                reinterpret_cast<const unsigned char*>(ours.data()), int(ours.size()));
            reply.xselection.property = request.property;
        }
        XSendEvent(display, request.requestor, False, NoEventMask, &reply);
        XFlush(display);
    };
    ASSERT_TRUE(WaitUntil([&] { return reader->Finished(); }, [&](auto slice) { window.Pump(slice, serve); }));
    EXPECT_EQ(reader->ExitCode(), 0) << reader->Errors();
    EXPECT_EQ(reader->Output(), ours);
}

INSTANTIATE_TEST_SUITE_P(Bare, XSessionTest, testing::Values(TSessionKind { "Bare", TWindowManager::Bare }),
    [](const auto& info) { return std::string(info.param.Name); });
INSTANTIATE_TEST_SUITE_P(Openbox, XSessionTest, testing::Values(TSessionKind { "Openbox", TWindowManager::Openbox }),
    [](const auto& info) { return std::string(info.param.Name); });

bool Alive(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

TEST(XSessionLifetime, EverythingStartedIsStoppedAlsoWhenATestThrows)
{
    std::vector<pid_t> started;
    try {
        TXSessionOptions options;
        options.WindowManager = TWindowManager::Openbox;
        options.Compositor = true;
        TXSession session(options);
        EXPECT_TRUE(session.SelectionOwned("WM_S0"));
        EXPECT_TRUE(session.SelectionOwned("_NET_WM_CM_S0"));
        session.SetClipboardText("kept by an xclip of the session");
        started = session.Processes();
        EXPECT_EQ(started.size(), 4u); // Xvfb, openbox, xcompmgr, xclip
        for (pid_t pid : started)
            EXPECT_TRUE(Alive(pid));
        throw std::runtime_error("a failing test");
    } catch (const std::runtime_error&) {
    }
    ASSERT_FALSE(started.empty());
    for (pid_t pid : started)
        EXPECT_FALSE(Alive(pid));
}

TEST(XSessionLifetime, KilledServerLeavesTheTestRunning)
{
    TXSession session;
    session.KillServer();
    EXPECT_TRUE(session.Server().Finished());
    // The session's own connection notices the loss without ending the process; its destructor copes.
    EXPECT_FALSE(session.SelectionOwned("WM_S0"));
}

TEST(XSessionLifetime, NeverTheInheritedDisplay)
{
    const char* inherited = getenv("DISPLAY");
    TXSession session;
    EXPECT_NE(session.DisplayName(), inherited ? std::string(inherited) : std::string());
    TToolResult result = RunTool({ "sh", "-c", "echo $DISPLAY" }, session.ToolOptions());
    EXPECT_EQ(result.Output, session.DisplayName() + "\n");
}

} // namespace
