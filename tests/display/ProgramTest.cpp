// The program itself on a display and without one: it shows its splash and then its window on the display it is
// given and quits on its window's close button; it says in one line that it has none, and ends with a clear
// message, not a hang, when its X server goes away.
#include "tests/display/support/TXSession.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <gtest/gtest.h>
#include <poll.h>
#include <vector>
// After the test framework: Xlib's macros (Bool, None ...) would break its templates.
#include <X11/Xlib.h>

#ifndef TP_PROGRAM_PATH
#error "TP_PROGRAM_PATH must name the program"
#endif

namespace {

using namespace std::chrono_literals;

// What the X server told of the program's top-level windows: created (with its size), mapped, unmapped or
// destroyed, in order.
struct TWindowEvent {
    enum TKind { Created, Mapped, Unmapped, Destroyed } Kind;
    unsigned long Window;
    int Width = 0;
    int Height = 0;
};

class TWindowWatch {
public:
    // Hears of every top-level window from now on.
    explicit TWindowWatch(TXSession& session)
        : FDisplay(session.Connection())
    {
        XSelectInput(FDisplay, DefaultRootWindow(FDisplay), SubstructureNotifyMask);
        XSync(FDisplay, False);
    }
    ~TWindowWatch() { XSelectInput(FDisplay, DefaultRootWindow(FDisplay), NoEventMask); }

    // Reads the server's events until `done` holds, the program ends or the time is up; true when done.
    bool WaitUntil(TChildProcess& program, const std::function<bool(const std::vector<TWindowEvent>&)>& done,
        std::chrono::milliseconds timeout = 20s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done(Events)) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || program.Finished())
                return false;
            pollfd fds[2] = { { ConnectionNumber(FDisplay), POLLIN, 0 }, { program.ExitFd(), POLLIN, 0 } };
            if (XPending(FDisplay) == 0)
                poll(fds, 2, int(left.count()));
            while (XPending(FDisplay) > 0) {
                XEvent event;
                XNextEvent(FDisplay, &event);
                Add(event);
            }
        }
        return true;
    }

    std::vector<TWindowEvent> Events;

private:
    void Add(const XEvent& event)
    {
        switch (event.type) {
        case CreateNotify:
            Events.push_back({ TWindowEvent::Created, event.xcreatewindow.window, event.xcreatewindow.width,
                event.xcreatewindow.height });
            break;
        case MapNotify:
            Events.push_back({ TWindowEvent::Mapped, event.xmap.window });
            break;
        case UnmapNotify:
            Events.push_back({ TWindowEvent::Unmapped, event.xunmap.window });
            break;
        case DestroyNotify:
            Events.push_back({ TWindowEvent::Destroyed, event.xdestroywindow.window });
            break;
        }
    }

    Display* FDisplay;
};

// The installed program copied into a temporary folder, with a videos folder of its own: what the program
// remembers (LastSettings.ini beside it) and the output folder it makes stay out of the build and the user's home.
class TProgramCopy {
public:
    explicit TProgramCopy(TChildOptions& options)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tp-program-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        FFolder = pattern;
        const std::filesystem::path installed = std::filesystem::path(TP_PROGRAM_PATH).parent_path();
        for (const auto& entry : std::filesystem::directory_iterator(installed))
            if (entry.path().filename() != "LastSettings.ini")
                std::filesystem::copy(entry.path(), FFolder / entry.path().filename(),
                    std::filesystem::copy_options::recursive);
        // A user-dirs.dirs of the user's would name another videos folder.
        options.Environment.emplace_back("XDG_CONFIG_HOME", (FFolder / "config").string());
        options.Environment.emplace_back("XDG_VIDEOS_DIR", Videos().string());
    }
    ~TProgramCopy()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
    TProgramCopy(const TProgramCopy&) = delete;
    TProgramCopy& operator=(const TProgramCopy&) = delete;

    std::string Program() const { return (FFolder / std::filesystem::path(TP_PROGRAM_PATH).filename()).string(); }
    std::filesystem::path Videos() const { return FFolder / "Videos"; }

private:
    std::filesystem::path FFolder;
};

size_t LineCount(const std::string& text)
{
    return size_t(std::count(text.begin(), text.end(), '\n')) + (!text.empty() && text.back() != '\n');
}

// The program as the run command starts it: the splash (a window of its own, 553 x 260) shows and goes before
// the main window shows, and the main window's close button ends the program normally.
TEST(Program, ShowsItsSplashThenItsWindowAndQuitsOnItsCloseButton)
{
    TXSession& session = SharedXSession();
    TWindowWatch watch(session);
    TChildOptions options = session.ToolOptions();
    options.CaptureErrors = true;
    TProgramCopy copy(options);
    TChildProcess program({ copy.Program() }, options);

    unsigned long splash = 0;
    unsigned long window = 0;
    auto sizeOf = [](const std::vector<TWindowEvent>& events, unsigned long w) {
        for (const TWindowEvent& e : events) {
            if (e.Kind == TWindowEvent::Created && e.Window == w)
                return std::make_pair(e.Width, e.Height);
        }
        return std::make_pair(0, 0);
    };
    // The first window mapped is the splash; the next one mapped after the splash went is the program's window.
    const bool shown = watch.WaitUntil(program, [&](const std::vector<TWindowEvent>& events) {
        bool splashGone = false;
        for (const TWindowEvent& e : events) {
            if (e.Kind == TWindowEvent::Mapped && !splash)
                splash = e.Window;
            else if (splash && e.Window == splash && e.Kind != TWindowEvent::Mapped)
                splashGone = true;
            else if (splashGone && e.Kind == TWindowEvent::Mapped && e.Window != splash)
                window = e.Window;
        }
        return window != 0;
    });
    ASSERT_TRUE(shown) << "no splash, then window: " << program.Errors();
    EXPECT_EQ(sizeOf(watch.Events, splash), std::make_pair(553, 260));

    // The main window is its skin's 785 x 521 face, borderless; its close button sits at the face's top right.
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(session.Connection(), window, &attributes));
    EXPECT_EQ(attributes.width, 785);
    EXPECT_EQ(attributes.height, 521);
    session.MoveTo(attributes.x + 758, attributes.y + 20);
    session.Click();
    ASSERT_TRUE(program.WaitFinished(10s)) << "the program did not quit on its Close button: " << program.Errors();
    EXPECT_EQ(program.ExitCode(), 0) << program.Errors();
    EXPECT_TRUE(std::filesystem::is_directory(copy.Videos())) << "the output folder was not made";
}

// The switch the start-up benchmark times the program by: "presented" once, when the main window's first frame is
// on the display, and a normal end right after.
TEST(Program, WithTheFirstPresentSwitchItSaysPresentedOnceAndQuits)
{
    TXSession& session = SharedXSession();
    TChildOptions options = session.ToolOptions();
    options.Environment.emplace_back("TP_QUIT_AFTER_FIRST_PRESENT", "1");
    options.CaptureOutput = true;
    options.CaptureErrors = true;
    // A normal end saves the settings beside the program: a copy keeps the build's own settings as they were.
    TProgramCopy copy(options);
    TChildProcess program({ copy.Program() }, options);
    ASSERT_TRUE(program.WaitFinished(20s)) << "the program did not quit after its first present: " << program.Errors();
    EXPECT_EQ(program.ExitCode(), 0) << program.Errors();
    EXPECT_EQ(program.Output(), "presented\n");
    EXPECT_TRUE(std::filesystem::exists(copy.Videos().parent_path() / "LastSettings.ini")) << "it ended normally";
}

TEST(Program, WithoutADisplayItSaysSoInOneLineAndExitsWith1)
{
    TChildOptions options;
    options.Unset = { "DISPLAY", "WAYLAND_DISPLAY" };
    TToolResult result = RunTool({ TP_PROGRAM_PATH }, options, 60s);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(LineCount(result.Errors), 1u) << result.Errors;
    EXPECT_NE(result.Errors.find("display"), std::string::npos) << result.Errors;
}

// Ctrl+C in the terminal it was started from, and a plain `kill`, end it as they end other programs.
TEST(Program, InterruptAndTerminateSignalsEndIt)
{
    TXSession& session = SharedXSession();
    for (int signal : { SIGINT, SIGTERM }) {
        SCOPED_TRACE(signal);
        TChildOptions options = session.ToolOptions();
        options.CaptureErrors = true;
        TProgramCopy copy(options);
        TChildProcess program({ copy.Program() }, options);
        ASSERT_TRUE(session.WaitForMappedWindow(program)) << "the program showed no window: " << program.Errors();
        kill(program.Pid(), signal);
        ASSERT_TRUE(program.WaitFinished(10s)) << "the program went on after the signal";
        EXPECT_EQ(program.ExitCode(), 128 + signal);
    }
}

TEST(Program, LosingItsXServerEndsItWithAClearMessage)
{
    for (TWindowManager manager : { TWindowManager::Bare, TWindowManager::Openbox }) {
        SCOPED_TRACE(manager == TWindowManager::Bare ? "bare" : "openbox");
        // A server of its own: this test kills it.
        TXSessionOptions sessionOptions;
        sessionOptions.WindowManager = manager;
        TXSession session(sessionOptions);
        TChildOptions options = session.ToolOptions();
        options.CaptureErrors = true;
        TProgramCopy copy(options);
        TChildProcess program({ copy.Program() }, options);
        ASSERT_TRUE(session.WaitForMappedWindow(program)) << "the program showed no window: " << program.Errors();
        session.KillServer();
        ASSERT_TRUE(program.WaitFinished(10s)) << "the program hangs without its display: " << program.Errors();
        EXPECT_NE(program.ExitCode(), 0);
        EXPECT_LT(program.ExitCode(), 128) << "it ended by a signal, not by itself";
        EXPECT_NE(program.Errors().find("display"), std::string::npos) << program.Errors();
        EXPECT_LE(LineCount(program.Errors()), 2u) << program.Errors();
    }
}

} // namespace
