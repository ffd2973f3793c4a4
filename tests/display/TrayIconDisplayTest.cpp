// The tray icon on a real X display: the SDL backend docks it into a system tray over XEmbed. The tray is our
// own small embedder (tp_tray_host), started and stopped by the tests; the icon's window must end up inside
// the tray's window, show the icon's pixels at the tray's size, and turn xdotool's clicks into the component's
// events. A tray that starts (or restarts) after the icon was added still gets it.
#include "platform/backend/sdl/TXSystemTray.h"
#include "tests/display/TSdlStage.h"
#include "tests/display/TrayIconProgram.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <gtest/gtest.h>
// Last: Xlib's macros (None, Bool) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#ifndef TP_TRAY_HOST_PATH
#error "TP_TRAY_HOST_PATH must name the test tray"
#endif

namespace {

using namespace std::chrono_literals;
using TEvents = std::vector<std::string>;

// What tp_tray_host does: its window's place and colour, and the side it gives each icon (its first slot is 4
// pixels in, centred in its 48 pixels of height).
constexpr int kTrayX = 600;
constexpr int kTrayY = 0;
constexpr uint32_t kTrayColour = 0x336699;
constexpr int kTraySide = 32;

// The tray's visual: the screen's own, or a 32-bit one with alpha that it asks icons to use.
enum class TTrayVisual { Screen, Alpha };

std::unique_ptr<TChildProcess> StartTrayProcess(const TXSession& session, TTrayVisual visual = TTrayVisual::Screen)
{
    TChildOptions options = session.ToolOptions();
    options.CaptureOutput = true;
    options.CaptureErrors = true;
    std::vector<std::string> argv { TP_TRAY_HOST_PATH, std::to_string(kTraySide) };
    if (visual == TTrayVisual::Alpha)
        argv.push_back("alpha");
    return std::make_unique<TChildProcess>(argv, options);
}

struct TProbe {
    int X, Y;
    uint32_t Expected;
};

// Each icon pixel is 2 x 2 on the screen: the quadrants' middles and both sides of the borders between them.
// `clear` is what shows where the icon is transparent.
std::vector<TProbe> QuadrantProbes(uint32_t clear)
{
    const uint32_t red = TTrayIconProgram::kQuadrants[0] & 0xFFFFFF;
    const uint32_t green = TTrayIconProgram::kQuadrants[1] & 0xFFFFFF;
    const uint32_t blue = TTrayIconProgram::kQuadrants[2] & 0xFFFFFF;
    return { { 8, 8, red }, { 24, 8, green }, { 8, 24, blue }, { 24, 24, clear }, { 15, 0, red }, { 16, 0, green },
        { 0, 15, red }, { 0, 16, blue }, { 15, 16, blue }, { 16, 16, clear }, { 31, 31, clear } };
}

class TrayIconDisplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        Stage = std::make_unique<TSdlStage>(Session);
        Stage->Start();
        Program = std::make_unique<TTrayIconProgram>(*Stage);
    }

    void TearDown() override
    {
        StopTray();
        Program.reset();
        Stage->Stop();
    }

    void StartTray(TTrayVisual visual = TTrayVisual::Screen)
    {
        Tray = StartTrayProcess(Session, visual);
        // Our program keeps running its loop meanwhile: it hears the tray announce itself.
        ASSERT_TRUE(Stage->PumpUntil([this] { return TrayWindow() != 0 || Tray->Finished(); }, 10s));
        ASSERT_NE(TrayWindow(), 0u) << Tray->Errors();
    }

    void StopTray()
    {
        if (Tray)
            Tray->Stop();
        Tray.reset();
    }

    unsigned long TrayWindow() const { return Session.SelectionOwner("_NET_SYSTEM_TRAY_S0"); }

    std::vector<unsigned long> Children(unsigned long window) const
    {
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        std::vector<unsigned long> out;
        if (window && XQueryTree(Session.Connection(), window, &root, &parent, &children, &count)) {
            out.assign(children, children + count);
            if (children)
                XFree(children);
        }
        return out;
    }

    // The icon's window is a mapped child of the tray's window.
    bool Embedded() const
    {
        const unsigned long window = Program->IconWindow();
        if (!window)
            return false;
        const std::vector<unsigned long> inTray = Children(TrayWindow());
        XWindowAttributes attributes;
        return std::find(inTray.begin(), inTray.end(), window) != inTray.end()
            && XGetWindowAttributes(Session.Connection(), window, &attributes) && attributes.map_state == IsViewable;
    }

    // Waits until the icon's rectangle shows the probes; false with the probes that differ in `wrong`.
    bool Shows(const RECT& r, const std::vector<TProbe>& probes, std::string& wrong)
    {
        return Stage->PumpUntil(
            [&] {
                const TScreenImage grab = Session.Grab(r.left, r.top, kTraySide, kTraySide);
                wrong.clear();
                for (const TProbe& p : probes)
                    if (grab.At(r.left + p.X, r.top + p.Y) != p.Expected)
                        wrong += " " + std::to_string(p.X) + "," + std::to_string(p.Y);
                return wrong.empty();
            },
            5s);
    }

    // Runs the loop for `span` of real time (the component's click timer runs meanwhile).
    void PumpFor(std::chrono::milliseconds span)
    {
        const auto end = std::chrono::steady_clock::now() + span;
        Stage->PumpUntil([end] { return std::chrono::steady_clock::now() >= end; }, span + 5s);
    }

    TXSession& Session = SharedXSession();
    std::unique_ptr<TSdlStage> Stage;
    std::unique_ptr<TTrayIconProgram> Program;
    std::unique_ptr<TChildProcess> Tray;
};

// A program idle in its wait for events must still hear the tray: its connection wakes the wait, once for
// each batch of news, whether or not anything else happens on the display.
TEST(TrayIconDisplayWake, TheTraysConnectionWakesTheWaitingLoopForEachBatchOfNews)
{
    TXSession& session = SharedXSession();
    std::mutex lock;
    std::condition_variable woken;
    int wakes = 0;
    TXSystemTray tray(session.DisplayName(), [&] {
        std::lock_guard guard(lock);
        ++wakes;
        woken.notify_all();
    });
    ASSERT_TRUE(tray.Connected());
    EXPECT_FALSE(tray.HasManager());
    // The watcher wakes once and then waits for a pump: each wake is followed by a pump here, until the news
    // looked for was heard (a tray's end, say, may come in more than one batch).
    std::vector<TXSystemTray::TEventKind> heard;
    int followed = 0;
    auto hear = [&](TXSystemTray::TEventKind kind) {
        while (std::find(heard.begin(), heard.end(), kind) == heard.end()) {
            std::unique_lock guard(lock);
            if (!woken.wait_for(guard, 10s, [&] { return wakes > followed; }))
                return false;
            followed = wakes;
            guard.unlock();
            tray.Pump([&](const TXSystemTray::TEvent& event) { heard.push_back(event.Kind); });
        }
        return true;
    };

    std::unique_ptr<TChildProcess> host = StartTrayProcess(session);
    ASSERT_TRUE(host->WaitForText("manager", 10s)) << host->Errors();
    ASSERT_TRUE(hear(TXSystemTray::TEventKind::ManagerAppeared)) << "the tray's announcement woke nobody";
    EXPECT_TRUE(tray.HasManager());

    // After a pump the watch goes on: the tray's end wakes the wait again.
    host->Stop();
    ASSERT_TRUE(hear(TXSystemTray::TEventKind::ManagerGone)) << "the tray's end woke nobody";
    EXPECT_FALSE(tray.HasManager());
}

TEST_F(TrayIconDisplay, AnIconAddedBeforeTheTrayStartsIsEmbeddedShowsItsPixelsAndTakesClicks)
{
    // No tray yet: the add fails cleanly and the icon stays visible for the tray to come.
    Program->SetIconVisible(true);
    Stage->Pump();
    EXPECT_FALSE(TTrayIconProgram::TrayAvailable());
    EXPECT_TRUE(Program->IconVisible());
    EXPECT_EQ(Program->IconWindow(), 0u);

    StartTray();
    ASSERT_TRUE(Stage->PumpUntil([this] { return Embedded(); }, 10s)) << "the icon was not embedded";
    // The tray placed it in its first slot at its own size; the tooltip is the window's name.
    const RECT r = Program->IconRect();
    EXPECT_EQ(r.left, kTrayX + 4);
    EXPECT_EQ(r.top, kTrayY + 8);
    EXPECT_EQ(r.right - r.left, kTraySide);
    EXPECT_EQ(r.bottom - r.top, kTraySide);
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(Session.Connection(), Program->IconWindow(), &name));
    EXPECT_STREQ(name, TTrayIconProgram::kHint);
    XFree(name);

    // The transparent quadrant shows the tray.
    std::string wrong;
    EXPECT_TRUE(Shows(r, QuadrantProbes(kTrayColour), wrong)) << "the icon's pixels differ at" << wrong;

    // A click: down and up at once, the click one double-click time later, at the pointer's place.
    const int x = r.left + 8, y = r.top + 8;
    Session.MoveTo(x, y);
    Session.Click();
    EXPECT_TRUE(Stage->PumpUntil([this] { return Program->Events.size() >= 3; }, 5s));
    EXPECT_EQ(Program->Events, (TEvents { "down0", "up0", "click" }));
    EXPECT_EQ(Program->Pressed.x, x);
    EXPECT_EQ(Program->Pressed.y, y);

    // A double click (one xdotool, so that the clicks are close): only the double click, and no click after it.
    PumpFor(600ms);
    Program->Events.clear();
    const TToolResult twice
        = RunTool({ "xdotool", "click", "--repeat", "2", "--delay", "80", "1" }, Session.ToolOptions());
    ASSERT_EQ(twice.ExitCode, 0) << twice.Errors;
    EXPECT_TRUE(Stage->PumpUntil([this] { return Program->Events.size() >= 4; }, 5s));
    PumpFor(700ms);
    EXPECT_EQ(Program->Events, (TEvents { "down0", "up0", "dblclick", "up0" }));

    // The right and middle buttons are told apart (X's buttons 3 and 2).
    Program->Events.clear();
    Session.Click(TMouseButton::Right);
    Session.Click(TMouseButton::Middle);
    EXPECT_TRUE(Stage->PumpUntil([this] { return Program->Events.size() >= 4; }, 5s));
    EXPECT_EQ(Program->Events, (TEvents { "down1", "up1", "down2", "up2" }));

    // The balloon opens below the icon, which is at the top of the screen.
    const RECT balloon = Program->BalloonRect();
    EXPECT_EQ(balloon.top, r.bottom);
    EXPECT_GT(balloon.bottom, balloon.top);
    Session.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y);
}

TEST_F(TrayIconDisplay, AHiddenIconLeavesTheTrayAndAVisibleOneComesBackWhenTheTrayRestarts)
{
    StartTray();
    Program->SetIconVisible(true);
    ASSERT_TRUE(Stage->PumpUntil([this] { return Embedded(); }, 10s)) << "the icon was not embedded";

    // Hidden: its window is destroyed, and the tray holds nothing.
    const unsigned long first = Program->IconWindow();
    Program->SetIconVisible(false);
    EXPECT_EQ(Program->IconWindow(), 0u);
    EXPECT_TRUE(Stage->PumpUntil([&] { return Children(TrayWindow()).empty(); }, 5s));
    Program->SetIconVisible(true);
    ASSERT_TRUE(Stage->PumpUntil([this] { return Embedded(); }, 10s));
    EXPECT_NE(Program->IconWindow(), first);

    // The tray ends: the icon's window, which the dying tray hands back to the root, goes, and nothing is left
    // on the desktop.
    const unsigned long second = Program->IconWindow();
    StopTray();
    ASSERT_TRUE(Stage->PumpUntil([] { return !TTrayIconProgram::TrayAvailable(); }, 10s));
    EXPECT_EQ(Program->IconWindow(), 0u);
    EXPECT_TRUE(Stage->PumpUntil(
        [&] {
            const std::vector<unsigned long> top = Children(DefaultRootWindow(Session.Connection()));
            return std::find(top.begin(), top.end(), second) == top.end();
        },
        5s));
    EXPECT_TRUE(Program->IconVisible());

    // A new tray gets the icon without any call.
    StartTray();
    EXPECT_TRUE(Stage->PumpUntil([this] { return Embedded(); }, 10s)) << "the icon did not come back";
}

TEST_F(TrayIconDisplay, ATrayWithAnAlphaVisualGetsTheIconInThatVisualWithItsAlpha)
{
    StartTray(TTrayVisual::Alpha);
    Program->SetIconVisible(true);
    ASSERT_TRUE(Stage->PumpUntil([this] { return Embedded(); }, 10s)) << "the icon was not embedded";
    XWindowAttributes attributes {};
    ASSERT_TRUE(XGetWindowAttributes(Session.Connection(), Program->IconWindow(), &attributes));
    EXPECT_EQ(attributes.depth, 32);
    // Without a compositor the screen shows the window's own pixels: premultiplied, so transparent is zero.
    std::string wrong;
    EXPECT_TRUE(Shows(Program->IconRect(), QuadrantProbes(0x000000), wrong)) << "the icon's pixels differ at" << wrong;
    // The window's own pixels carry the alpha for a compositor.
    XImage* own = XGetImage(Session.Connection(), Program->IconWindow(), 0, 0, kTraySide, kTraySide, AllPlanes, ZPixmap);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(uint32_t(XGetPixel(own, 8, 8)), TTrayIconProgram::kQuadrants[0]);
    EXPECT_EQ(uint32_t(XGetPixel(own, 24, 24)), 0u);
    XDestroyImage(own);
}

} // namespace
