#include "tests/display/support/TXSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

#ifndef TP_XDND_DROP_PATH
#error "TP_XDND_DROP_PATH must name the drop source program"
#endif

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto StartTimeout = 20s;

int MillisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Our connection must never end the test process when its server dies: a request then marks the connection
// broken and returns instead of calling exit. Other connections (a program under test in this process) keep
// the handler they had.
std::set<Display*> QuietConnections;
XIOErrorHandler PreviousIOErrorHandler = nullptr;

int QuietIOError(Display* display)
{
    if (QuietConnections.count(display) || !PreviousIOErrorHandler)
        return 0;
    return PreviousIOErrorHandler(display);
}

void QuietIOErrorExit(Display*, void*)
{
}

// The viewable top-level windows (children of the root that show), except `ignored`.
std::vector<Window> MappedTopLevels(Display* display, const std::vector<Window>& ignored = {})
{
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> mapped;
    if (XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable
                && std::find(ignored.begin(), ignored.end(), children[i]) == ignored.end())
                mapped.push_back(children[i]);
        }
        if (children)
            XFree(children);
    }
    return mapped;
}

std::string Describe(TChildProcess& process)
{
    std::string text = process.Name() + " ended with " + std::to_string(process.ExitCode());
    if (!process.Errors().empty())
        text += ": " + process.Errors();
    return text;
}

} // namespace

TXSession::TXSession(const TXSessionOptions& options)
    : FOptions(options)
{
    StartServer();
    if (FOptions.WindowManager == TWindowManager::Openbox)
        StartWindowManager();
    if (FOptions.Compositor) {
        KeepRootBlackWhenComposited();
        StartHelper(FCompositor, { "xcompmgr" }, "_NET_WM_CM_S0");
    }
    FOwnWindows = MappedTopLevels(FConnection);
}

TXSession::~TXSession()
{
    FClipboardServers.clear();
    FCompositor.reset();
    FWindowManager.reset();
    if (FConnection) {
        XCloseDisplay(FConnection);
        QuietConnections.erase(FConnection);
        FConnection = nullptr;
    }
    FServer.reset();
}

void TXSession::StartServer()
{
    // Xvfb picks a free display number itself and writes it to the pipe once it takes connections.
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe for Xvfb failed");
    TChildOptions options;
    options.InheritedFd = ready[1];
    options.CaptureErrors = true;
    const std::string screen = std::to_string(FOptions.Width) + "x" + std::to_string(FOptions.Height) + "x24";
    try {
        FServer = std::make_unique<TChildProcess>(
            std::vector<std::string> { "Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", screen,
                "-nolisten", "tcp", "-noreset", "-dpi", "96", "-br", "+extension", "Composite" },
            options);
    } catch (...) {
        close(ready[0]);
        close(ready[1]);
        throw;
    }
    close(ready[1]);

    std::string number;
    const auto deadline = Clock::now() + StartTimeout;
    while (number.empty() || number.back() != '\n') {
        pollfd fds[2] = { { ready[0], POLLIN, 0 }, { FServer->ExitFd(), POLLIN, 0 } };
        if (poll(fds, 2, MillisecondsLeft(deadline)) <= 0) {
            close(ready[0]);
            throw std::runtime_error("Xvfb did not become ready within " + std::to_string(StartTimeout.count()) + " s");
        }
        char chunk[32];
        ssize_t count = (fds[0].revents & (POLLIN | POLLHUP)) ? read(ready[0], chunk, sizeof chunk) : 0;
        if (count > 0) {
            number.append(chunk, size_t(count));
            continue;
        }
        if (FServer->Finished() || count == 0) {
            close(ready[0]);
            FServer->WaitFinished(2s);
            throw std::runtime_error("Xvfb could not start: " + Describe(*FServer));
        }
    }
    close(ready[0]);
    number.pop_back();
    FDisplayName = ":" + number;

    FConnection = XOpenDisplay(FDisplayName.c_str());
    if (!FConnection)
        throw std::runtime_error("cannot connect to our own Xvfb at " + FDisplayName);
    XSetIOErrorExitHandler(FConnection, QuietIOErrorExit, nullptr);
}

// openbox owns WM_S0 before it has taken over the existing windows and the root; its start-up command runs
// once it has, so that command's line is the sign that windows mapped from now on are managed.
void TXSession::StartWindowManager()
{
    const std::string ready = "TP-WINDOW-MANAGER-READY";
    TChildOptions options = ToolOptions();
    options.CaptureOutput = true;
    options.CaptureErrors = true;
    FWindowManager = std::make_unique<TChildProcess>(
        std::vector<std::string> { "openbox", "--sm-disable", "--startup", "echo " + ready }, options);
    if (!FWindowManager->WaitForText(ready, StartTimeout))
        throw std::runtime_error("openbox did not start: " + Describe(*FWindowManager));
    WaitForSelectionOwner("WM_S0", *FWindowManager);
}

// A compositor paints the root with the desktop's background picture, grey when there is none; a black one
// keeps the desktop as black as on a bare server. The pixmap lives as long as our connection.
void TXSession::KeepRootBlackWhenComposited()
{
    Display* display = FConnection;
    Window root = DefaultRootWindow(display);
    Pixmap black = XCreatePixmap(display, root, 1, 1, unsigned(DefaultDepth(display, DefaultScreen(display))));
    GC gc = XCreateGC(display, black, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, DefaultScreen(display)));
    XFillRectangle(display, black, gc, 0, 0, 1, 1);
    XFreeGC(display, gc);
    XChangeProperty(display, root, XInternAtom(display, "_XROOTPMAP_ID", False), XA_PIXMAP, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&black), 1);
    XSync(display, False);
}

void TXSession::StartHelper(
    std::unique_ptr<TChildProcess>& process, const std::vector<std::string>& argv, const std::string& selection)
{
    TChildOptions options = ToolOptions();
    options.CaptureErrors = true;
    process = std::make_unique<TChildProcess>(argv, options);
    WaitForSelectionOwner(selection, *process);
}

// Window managers and compositors announce themselves by owning a selection; XFixes tells when that happens.
void TXSession::WaitForSelectionOwner(const std::string& selection, TChildProcess& owner, unsigned long previous)
{
    Display* display = FConnection;
    Window root = DefaultRootWindow(display);
    Atom atom = XInternAtom(display, selection.c_str(), False);
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase))
        throw std::runtime_error("the X server lacks XFIXES");
    XFixesSelectSelectionInput(display, root, atom, XFixesSetSelectionOwnerNotifyMask);
    XSync(display, False);
    const auto deadline = Clock::now() + StartTimeout;
    for (;;) {
        const Window current = XGetSelectionOwner(display, atom);
        if (current != None && current != previous)
            break;
        if (owner.Finished())
            throw std::runtime_error(owner.Name() + " could not start: " + Describe(owner));
        if (MillisecondsLeft(deadline) == 0)
            throw std::runtime_error(owner.Name() + " did not take " + selection + " in time");
        pollfd fds[2] = { { ConnectionNumber(display), POLLIN, 0 }, { owner.ExitFd(), POLLIN, 0 } };
        if (XPending(display) == 0)
            poll(fds, 2, MillisecondsLeft(deadline));
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    XFixesSelectSelectionInput(display, root, atom, 0);
}

void TXSession::Export() const
{
    setenv("DISPLAY", FDisplayName.c_str(), 1);
}

TChildOptions TXSession::ToolOptions() const
{
    TChildOptions options;
    options.Environment = { { "DISPLAY", FDisplayName } };
    return options;
}

void TXSession::XdoTool(const std::vector<std::string>& arguments)
{
    // The trailing pointer query is a round trip on xdotool's own connection: when it returns, the server
    // has carried out the input before it, so the next command cannot overtake it.
    std::vector<std::string> argv = { "xdotool" };
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    argv.push_back("getmouselocation");
    TToolResult result = RunTool(argv, ToolOptions());
    if (result.ExitCode != 0)
        throw std::runtime_error("xdotool failed: " + result.Errors);
}

void TXSession::MoveTo(int x, int y)
{
    XdoTool({ "mousemove", std::to_string(x), std::to_string(y) });
}

void TXSession::Click(TMouseButton button)
{
    XdoTool({ "click", std::to_string(int(button)) });
}

void TXSession::ButtonDown(TMouseButton button)
{
    XdoTool({ "mousedown", std::to_string(int(button)) });
}

void TXSession::ButtonUp(TMouseButton button)
{
    XdoTool({ "mouseup", std::to_string(int(button)) });
}

void TXSession::Drag(int fromX, int fromY, int toX, int toY, TMouseButton button)
{
    const std::string number = std::to_string(int(button));
    XdoTool({ "mousemove", std::to_string(fromX), std::to_string(fromY), "mousedown", number, "mousemove",
        std::to_string((fromX + toX) / 2), std::to_string((fromY + toY) / 2), "mousemove", std::to_string(toX),
        std::to_string(toY), "mouseup", number });
}

namespace {

std::u32string DecodeUtf8(const std::string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + size_t(k) < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + size_t(k)]) & 0x3F);
        out += c;
        i += size_t(extra) + 1;
    }
    return out;
}

} // namespace

// xdotool types a character the keymap lacks by binding it to a spare key, pressing it and unbinding it at
// once; a program that reads the keymap only after that gets nothing. Bound here for good beforehand, the
// characters are on the keymap when xdotool looks, and a busy program still reads them right.
void TXSession::BindCharacters(const std::string& utf8)
{
    Display* display = FConnection;
    int minimum = 0;
    int maximum = 0;
    XDisplayKeycodes(display, &minimum, &maximum);
    int perKeycode = 0;
    KeySym* map = XGetKeyboardMapping(display, KeyCode(minimum), maximum - minimum + 1, &perKeycode);
    auto present = [&](KeySym keysym) {
        for (int i = 0; i < (maximum - minimum + 1) * perKeycode; ++i)
            if (map[i] == keysym)
                return true;
        return false;
    };
    auto spare = [&](int keycode) {
        for (int level = 0; level < perKeycode; ++level)
            if (map[(keycode - minimum) * perKeycode + level] != NoSymbol)
                return false;
        return true;
    };
    int keycode = maximum;
    for (char32_t c : DecodeUtf8(utf8)) {
        if (c < 0x80)
            continue;
        const KeySym keysym = c <= 0xFF ? KeySym(c) : KeySym(0x01000000 | c);
        if (present(keysym))
            continue;
        while (keycode >= minimum && !spare(keycode))
            --keycode;
        if (keycode < minimum)
            break; // no spare key left: xdotool binds one itself
        KeySym row[2] = { keysym, keysym };
        XChangeKeyboardMapping(display, keycode, 2, row, 1);
        for (int level = 0; level < perKeycode; ++level)
            map[(keycode - minimum) * perKeycode + level] = level < 2 ? keysym : NoSymbol;
    }
    XFree(map);
    XSync(display, False);
}

void TXSession::Type(const std::string& utf8)
{
    BindCharacters(utf8);
    TToolResult result = RunTool({ "xdotool", "type", "--delay", "20", "--", utf8 }, ToolOptions());
    if (result.ExitCode != 0)
        throw std::runtime_error("xdotool type failed: " + result.Errors);
    XdoTool({});
}

void TXSession::Key(const std::string& keys)
{
    XdoTool({ "key", "--", keys });
}

void TXSession::PointerPosition(int& x, int& y) const
{
    Window rootReturn;
    Window child;
    int windowX;
    int windowY;
    unsigned int mask;
    XQueryPointer(FConnection, DefaultRootWindow(FConnection), &rootReturn, &child, &x, &y, &windowX, &windowY, &mask);
}

std::unique_ptr<TChildProcess> TXSession::StartType(const std::string& utf8)
{
    BindCharacters(utf8);
    return std::make_unique<TChildProcess>(
        std::vector<std::string> { "xdotool", "type", "--delay", "20", "--", utf8 }, ToolOptions());
}

std::unique_ptr<TChildProcess> TXSession::StartDrop(const std::vector<std::string>& paths, int x, int y) const
{
    std::vector<std::string> argv = { TP_XDND_DROP_PATH, std::to_string(x), std::to_string(y) };
    argv.insert(argv.end(), paths.begin(), paths.end());
    TChildOptions options = ToolOptions();
    options.CaptureErrors = true;
    return std::make_unique<TChildProcess>(argv, options);
}

void TXSession::SetClipboardText(const std::string& utf8)
{
    ServeClipboard({}, utf8);
}

void TXSession::SetClipboardFromFile(const std::string& path)
{
    ServeClipboard(path, std::nullopt);
}

void TXSession::ServeClipboard(const std::string& path, const std::optional<std::string>& input)
{
    // In verbose mode xclip stays in the foreground; it says it waits for requests a moment before it owns the
    // clipboard, so the owner's change is what tells that it does.
    const Window previous = XGetSelectionOwner(FConnection, XInternAtom(FConnection, "CLIPBOARD", False));
    TChildOptions options = ToolOptions();
    options.Input = input;
    options.CaptureOutput = true;
    options.CaptureErrors = true;
    std::vector<std::string> argv { "xclip", "-verbose", "-selection", "clipboard", "-i" };
    if (!path.empty())
        argv.push_back(path);
    auto process = std::make_unique<TChildProcess>(argv, options);
    if (!process->WaitForText("Waiting for selection requests", 10s))
        throw std::runtime_error("xclip could not take the clipboard: " + Describe(*process));
    WaitForSelectionOwner("CLIPBOARD", *process, previous);
    FClipboardServers.push_back(std::move(process));
}

std::unique_ptr<TChildProcess> TXSession::StartReadClipboard() const
{
    TChildOptions options = ToolOptions();
    options.CaptureOutput = true;
    options.CaptureErrors = true;
    return std::make_unique<TChildProcess>(
        std::vector<std::string> { "xclip", "-selection", "clipboard", "-t", "UTF8_STRING", "-o" }, options);
}

std::string TXSession::ClipboardText() const
{
    auto process = StartReadClipboard();
    if (!process->WaitFinished(10s))
        throw std::runtime_error("xclip -o did not finish");
    if (process->ExitCode() != 0)
        throw std::runtime_error("xclip -o failed: " + Describe(*process));
    return process->Output();
}

TScreenImage TXSession::Grab(int left, int top, int width, int height) const
{
    XImage* image = XGetImage(
        FConnection, DefaultRootWindow(FConnection), left, top, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        throw std::runtime_error("XGetImage failed");
    TScreenImage result { left, top, width, height, std::vector<uint32_t>(size_t(width) * size_t(height)) };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.Pixels[size_t(y) * size_t(width) + size_t(x)] = uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF;
    XDestroyImage(image);
    return result;
}

unsigned long TXSession::TopLevelAt(int x, int y) const
{
    Window root = DefaultRootWindow(FConnection);
    int localX = 0;
    int localY = 0;
    Window child = None;
    XTranslateCoordinates(FConnection, root, root, x, y, &localX, &localY, &child);
    return child;
}

unsigned long TXSession::FocusedTopLevel() const
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(FConnection, &focus, &revert);
    Window root = DefaultRootWindow(FConnection);
    if (focus == None || focus == PointerRoot || focus == root)
        return 0;
    // Up the tree to the child of the root.
    for (;;) {
        Window rootReturn = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(FConnection, focus, &rootReturn, &parent, &children, &count))
            return 0;
        if (children)
            XFree(children);
        if (parent == root)
            return focus;
        focus = parent;
    }
}

bool TXSession::WaitForMappedWindow(TChildProcess& program, std::chrono::milliseconds timeout)
{
    // Hear of every map of a top-level window from now on, then look at what is mapped already; the session's
    // own windows (openbox keeps one mapped out of sight) do not count.
    Display* display = FConnection;
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const auto deadline = Clock::now() + timeout;
    bool mapped = !MappedTopLevels(display, FOwnWindows).empty();
    while (!mapped && !program.Finished() && MillisecondsLeft(deadline) > 0) {
        pollfd fds[2] = { { ConnectionNumber(display), POLLIN, 0 }, { program.ExitFd(), POLLIN, 0 } };
        if (XPending(display) == 0)
            poll(fds, 2, MillisecondsLeft(deadline));
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            mapped = mapped
                || (event.type == MapNotify
                    && std::find(FOwnWindows.begin(), FOwnWindows.end(), event.xmap.window) == FOwnWindows.end());
        }
    }
    XSelectInput(display, root, NoEventMask);
    return mapped;
}

unsigned long TXSession::SelectionOwner(const std::string& selection) const
{
    return XGetSelectionOwner(FConnection, XInternAtom(FConnection, selection.c_str(), False));
}

bool TXSession::SelectionOwned(const std::string& selection) const
{
    return XGetSelectionOwner(FConnection, XInternAtom(FConnection, selection.c_str(), False)) != None;
}

std::vector<pid_t> TXSession::Processes() const
{
    std::vector<pid_t> pids;
    for (const auto* process : { &FServer, &FWindowManager, &FCompositor })
        if (*process)
            pids.push_back((*process)->Pid());
    for (const auto& process : FClipboardServers)
        pids.push_back(process->Pid());
    return pids;
}

void TXSession::KillServer()
{
    if (QuietConnections.empty()) {
        XIOErrorHandler previous = XSetIOErrorHandler(QuietIOError);
        if (previous != QuietIOError)
            PreviousIOErrorHandler = previous;
    }
    QuietConnections.insert(FConnection);
    FServer->SignalGroup(SIGKILL);
    FServer->WaitFinished(5s);
}

namespace {

using TSessionKey = std::tuple<int, int, int, bool>;

TSessionKey KeyOf(const TXSessionOptions& options)
{
    return { options.Width, options.Height, int(options.WindowManager), options.Compositor };
}

std::map<TSessionKey, std::unique_ptr<TXSession>>& SharedSessions()
{
    static std::map<TSessionKey, std::unique_ptr<TXSession>> sessions;
    return sessions;
}

} // namespace

TXSession& SharedXSession(const TXSessionOptions& options)
{
    auto& slot = SharedSessions()[KeyOf(options)];
    if (!slot)
        slot = std::make_unique<TXSession>(options);
    return *slot;
}

void ResetSharedXSession(const TXSessionOptions& options)
{
    SharedSessions().erase(KeyOf(options));
}

bool WaitUntil(const std::function<bool()>& done, const std::function<void(std::chrono::milliseconds slice)>& step,
    std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        int left = MillisecondsLeft(deadline);
        if (left == 0)
            return false;
        step(std::chrono::milliseconds(std::min(left, 50)));
    }
}
