#include "tests/display/TSdlStage.h"

#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/win/Platform.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WindowSurface.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <map>

namespace {

using namespace std::chrono_literals;

std::vector<uint32_t> WithoutAlpha(std::vector<uint32_t> pixels)
{
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// A compositor blends with its own rounding: a channel may differ by a step or two from the layer's blend.
bool Near(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : { 0, 8, 16 })
            if (std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)) > 2)
                return false;
    return true;
}

} // namespace

TSdlStage::TSdlStage(TXSession& session)
    : FSession(session)
{
}

TSdlStage::~TSdlStage()
{
    Stop();
}

std::string TSdlStage::Name() const
{
    const TXSessionOptions& options = FSession.Options();
    std::string name = options.WindowManager == TWindowManager::Openbox ? "SDL under openbox" : "SDL on bare Xvfb";
    return options.Compositor ? name + " with xcompmgr" : name;
}

bool TSdlStage::StartBackend()
{
    // Our display by name, never the one the test inherited.
    FBackend = std::make_unique<TSdlBackend>();
    std::string error;
    const bool started = FBackend->Install(FSession.DisplayName().c_str(), &error);
    EXPECT_TRUE(started) << error;
    return started;
}

void TSdlStage::StopBackend()
{
    FBackend->Uninstall();
    FBackend.reset();
}

void TSdlStage::MoveTo(int x, int y, std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FSession.MoveTo(x, y);
    AwaitMessages(awaited, before);
}

void TSdlStage::ButtonDown(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FSession.ButtonDown();
    AwaitMessages(awaited, before);
}

void TSdlStage::ButtonUp(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FSession.ButtonUp();
    AwaitMessages(awaited, before);
}

void TSdlStage::RightClick(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FSession.Click(TMouseButton::Right);
    AwaitMessages(awaited, before);
}

void TSdlStage::DragBy(int x, int y, int dx, int dy, std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FSession.MoveTo(x, y);
    FSession.ButtonDown();
    FSession.MoveTo(x + dx, y + dy);
    FSession.ButtonUp();
    AwaitMessages(awaited, before);
}

void TSdlStage::Wheel(int notches, std::initializer_list<UINT> awaited)
{
    for (int i = 0; i < std::abs(notches); ++i) {
        const size_t before = CountOf(awaited);
        FSession.Click(notches > 0 ? TMouseButton::WheelUp : TMouseButton::WheelDown);
        AwaitMessages(awaited, before);
    }
}

void TSdlStage::DropFiles(const std::vector<std::string>& paths, int x, int y)
{
    const size_t before = CountOf({ WM_DROPFILES });
    auto source = FSession.StartDrop(paths, x, y);
    const bool finished = PumpUntil([&] { return source->Finished(); }, 10s);
    EXPECT_TRUE(finished) << "the drop source did not finish";
    if (finished) {
        EXPECT_EQ(source->ExitCode(), 0) << source->Errors();
    }
    AwaitMessages({ WM_DROPFILES }, before);
}

void TSdlStage::Type(const std::string& utf8, size_t characters)
{
    const size_t before = CountOf({ WM_CHAR });
    auto typing = FSession.StartType(utf8);
    PumpUntil([&] { return typing->Finished() && CountOf({ WM_CHAR }) >= before + characters; });
    Pump();
}

void TSdlStage::Keys(std::initializer_list<UINT> chord)
{
    static const std::map<UINT, std::string> names = {
        { VK_CONTROL, "ctrl" }, { VK_SHIFT, "shift" }, { VK_MENU, "alt" }, { VK_RETURN, "Return" },
        { VK_HOME, "Home" }, { VK_END, "End" }, { VK_LEFT, "Left" }, { VK_RIGHT, "Right" }, { VK_UP, "Up" },
        { VK_DOWN, "Down" }, { VK_TAB, "Tab" }, { VK_BACK, "BackSpace" }, { VK_DELETE, "Delete" },
        { VK_ESCAPE, "Escape" }, { VK_SPACE, "space" },
        { VK_PRIOR, "Page_Up" }, { VK_NEXT, "Page_Down" },
    };
    std::string keys;
    for (UINT key : chord) {
        auto name = names.find(key);
        std::string part = name != names.end() ? name->second : std::string(1, char(std::tolower(int(key))));
        keys += (keys.empty() ? "" : "+") + part;
    }
    const size_t before = CountOf({ WM_KEYUP });
    FSession.Key(keys);
    PumpUntil([&] { return CountOf({ WM_KEYUP }) >= before + chord.size(); });
    Pump();
}

void TSdlStage::Pump(std::chrono::milliseconds slice)
{
    if (slice.count() > 0)
        PlatformBackend()->WaitForEvents(GetTickCount64() + uint64_t(slice.count()));
    HandleWaiting();
}

bool TSdlStage::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    return WaitUntil(
        done, [this](std::chrono::milliseconds slice) { Pump(slice); }, timeout);
}

TStagePixels TSdlStage::Grab(const RECT& area)
{
    TScreenImage image = FSession.Grab(area.left, area.top, area.right - area.left, area.bottom - area.top);
    return TStagePixels { area, std::move(image.Pixels) };
}

void TSdlStage::Settle(const RECT& area)
{
    Pump();
    std::vector<uint32_t> composed;
    std::vector<uint32_t> shown;
    const bool showing = PumpUntil([&] {
        composed = WithoutAlpha(ComposeScreen(area, kDesktop));
        shown = Grab(area).Pixels;
        return Near(shown, composed);
    });
    if (!showing) {
        size_t differing = 0;
        for (size_t i = 0; i < shown.size() && i < composed.size(); ++i)
            differing += shown[i] != composed[i];
        ADD_FAILURE() << Name() << ": the display does not show what the window layer composed (" << differing << " of "
                      << composed.size() << " pixels differ)";
    }
}
