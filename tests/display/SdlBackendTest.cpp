// The window layer on real windows: each scenario plays on the headless backend and on the SDL backend under
// Xvfb (bare and under openbox), and the two must show the same pixels and deliver the same messages. Then
// what only a real display has: typed text, dropped files, the clipboard and the keyboard focus on the server.
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/controls/EditControl.h"
#include "platform/win/Clipboard.h"
#include "platform/win/VirtualKeys.h"
#include "tests/display/StageScenarios.h"
#include "tests/display/TSdlStage.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
// After the test framework: Xlib's macros (Bool, None ...) would break its templates.
#include <X11/Xlib.h>

namespace {

using namespace std::chrono_literals;

struct TDisplayKind {
    const char* Name;
    TWindowManager WindowManager;
};

// Where two screens differ: the count and the first few points, for a failure message.
std::string Differences(const TStagePixels& expected, const TStagePixels& actual)
{
    if (expected.Pixels.size() != actual.Pixels.size())
        return "the grabs differ in size";
    const int width = expected.Area.right - expected.Area.left;
    size_t count = 0;
    std::string first;
    for (size_t i = 0; i < expected.Pixels.size(); ++i) {
        if (expected.Pixels[i] == actual.Pixels[i])
            continue;
        if (++count <= 5) {
            char text[96];
            snprintf(text, sizeof text, " (%d,%d) %06x not %06x;", expected.Area.left + int(i % size_t(width)),
                expected.Area.top + int(i / size_t(width)), actual.Pixels[i], expected.Pixels[i]);
            first += text;
        }
    }
    return std::to_string(count) + " pixels differ:" + first;
}

std::string Utf8(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class SdlDisplay : public testing::TestWithParam<TDisplayKind> {
protected:
    TXSession& Session()
    {
        TXSessionOptions options;
        options.WindowManager = GetParam().WindowManager;
        return SharedXSession(options);
    }

    // Plays `scenario` on the headless backend and on the real display and compares what they gave.
    template <typename Scenario> void ExpectTheSameOnBoth(Scenario scenario)
    {
        TScenarioResult expected;
        {
            THeadlessStage headless;
            headless.Start();
            expected = scenario(headless);
        }
        TScenarioResult actual;
        {
            TSdlStage real(Session());
            real.Start();
            actual = scenario(real);
        }
        EXPECT_EQ(actual.Steps, expected.Steps);
        EXPECT_EQ(actual.Facts, expected.Facts);
        ASSERT_EQ(actual.Screens.size(), expected.Screens.size());
        for (size_t i = 0; i < expected.Screens.size(); ++i)
            EXPECT_TRUE(actual.Screens[i].Pixels == expected.Screens[i].Pixels)
                << Differences(expected.Screens[i], actual.Screens[i]);
    }
};

TEST_P(SdlDisplay, AFormWithAChildAndAPopupShowsTheHeadlessPixels)
{
    ExpectTheSameOnBoth([](TWindowStage& stage) { return FormChildAndPopupPixels(stage); });
}

TEST_P(SdlDisplay, AClickOnAChildGivesTheHeadlessMessages)
{
    ExpectTheSameOnBoth([](TWindowStage& stage) { return ClickOnAChild(stage); });
}

TEST_P(SdlDisplay, ADragThatLeavesTheWindowGivesTheHeadlessMessages)
{
    for (bool capture : { true, false }) {
        SCOPED_TRACE(capture ? "with capture" : "without capture");
        ExpectTheSameOnBoth([capture](TWindowStage& stage) { return DragLeavingTheWindow(stage, capture); });
    }
}

TEST_P(SdlDisplay, APopupKeepsTheOwnersKeyboardFocus)
{
    ExpectTheSameOnBoth([](TWindowStage& stage) { return PopupKeepsTheOwnersFocus(stage); });

    // On the server too: the popup never holds the X focus, so keys go on reaching the form.
    TSdlStage stage(Session());
    stage.Start();
    TScenarioResult result = PopupKeepsTheOwnersFocus(stage);
    TXSession& session = stage.Session();
    EXPECT_NE(session.FocusedTopLevel(), 0ul);
    EXPECT_EQ(session.FocusedTopLevel(), session.TopLevelAt(110, 110)) << "the form's window has the focus";
    EXPECT_NE(session.FocusedTopLevel(), session.TopLevelAt(200, 200)) << "the popup's window has the focus";
    stage.Log().Clear();
    stage.Type("k", 1);
    const auto chars = stage.Log().Only({ WM_CHAR });
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].Window, GetFocus());
    EXPECT_EQ(chars[0].WParam, WPARAM('k'));
}

TEST_P(SdlDisplay, AShapedWindowLetsClicksOutsideItsShapeReachTheWindowBelow)
{
    ExpectTheSameOnBoth([](TWindowStage& stage) { return ShapedWindowPassesClicksThrough(stage); });

    // On the server the hole belongs to the window below, so the server itself sends clicks there.
    TSdlStage stage(Session());
    stage.Start();
    stage.CreateTop(RECT { 100, 100, 300, 300 });
    HWND shaped = stage.CreateTop(RECT { 150, 150, 250, 250 });
    HRGN frame = CreateRectRgn(0, 0, 100, 100);
    HRGN hole = CreateRectRgn(10, 10, 90, 90);
    CombineRgn(frame, frame, hole, RGN_DIFF);
    DeleteObject(hole);
    SetWindowRgn(shaped, frame, TRUE);
    stage.Settle(RECT { 100, 100, 300, 300 });
    // A window manager shapes its frame around the window a moment later.
    TXSession& session = stage.Session();
    auto holeIsBelow = [&] { return session.TopLevelAt(200, 200) == session.TopLevelAt(120, 120); };
    EXPECT_TRUE(stage.PumpUntil(holeIsBelow, 15s)) << "the hole is the window below";
    EXPECT_NE(session.TopLevelAt(155, 155), session.TopLevelAt(120, 120)) << "the frame is the shaped window";
}

TEST_P(SdlDisplay, ADroppedFileArrivesWithItsPathIntact)
{
    // Real files, with spaces and characters beyond ASCII in their folder and names.
    const std::filesystem::path folder
        = std::filesystem::temp_directory_path() / ("tp display drops " + std::to_string(getpid())) / "Vidéos d'été";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> paths
        = { (folder / "holiday 2024 (1).mp4").string(), (folder / "ñandú – 映画 #2.avi").string() };
    for (const std::string& path : paths)
        std::ofstream(path) << "clip";
    ExpectTheSameOnBoth([&paths](TWindowStage& stage) {
        TScenarioResult result = DroppedFiles(stage, paths);
        for (const std::string& fact : result.Facts) {
            if (fact.front() == '/') {
                EXPECT_TRUE(std::filesystem::exists(fact)) << fact;
            }
        }
        return result;
    });
    std::filesystem::remove_all(folder.parent_path());
}

TEST_P(SdlDisplay, TextTypedWithXdotoolArrivesAsCharacters)
{
    TSdlStage stage(Session());
    stage.Start();
    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 });
    HWND edit = stage.CreateChild(form, RECT { 10, 10, 200, 40 });
    SetActiveWindow(form);
    SetFocus(edit);
    stage.Settle(RECT { 100, 100, 400, 300 });
    stage.Log().Clear();
    const std::u32string typed = U"Tarnwick Pro 2.0: éàü ñ ß €";
    stage.Type("Tarnwick Pro 2.0: éàü ñ ß €", typed.size());
    std::u32string received;
    for (const TLoggedMessage& entry : stage.Log().Only({ WM_CHAR })) {
        EXPECT_EQ(entry.Window, edit);
        received += char32_t(entry.WParam);
    }
    EXPECT_EQ(Utf8(received), Utf8(typed));
}

// The clipboard's text as the window layer reads it.
std::string ClipboardText(HWND owner)
{
    std::string text;
    if (!OpenClipboard(owner))
        return "(clipboard not open)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const char* bytes = static_cast<const char*>(GlobalLock(data));
        text = bytes ? bytes : "";
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(HWND owner, const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST_P(SdlDisplay, ClipboardTextRoundTripsWithOtherPrograms)
{
    TSdlStage stage(Session());
    stage.Start();
    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 });
    stage.Settle(RECT { 100, 100, 400, 300 });

    const std::string theirs = "from xclip: Größe – ✓\nsecond line";
    stage.Session().SetClipboardText(theirs);
    EXPECT_EQ(ClipboardText(form), theirs);

    const std::string ours = "from Tarnwick Pro: 映画 «clip» ½";
    SetClipboardText(form, ours);
    auto reader = stage.Session().StartReadClipboard();
    ASSERT_TRUE(stage.PumpUntil([&] { return reader->Finished(); }, 10s)) << "xclip -o did not finish";
    EXPECT_EQ(reader->ExitCode(), 0) << reader->Errors();
    EXPECT_EQ(reader->Output(), ours);
    // Ours is still what the program reads itself.
    EXPECT_EQ(ClipboardText(form), ours);
}

TEST_P(SdlDisplay, TypingCopyingAndPastingInEditsShowsTheHeadlessPixels)
{
    ExpectTheSameOnBoth([](TWindowStage& stage) { return TypingAndPastingIntoEdits(stage); });
}

// The copy in the edit went to the real clipboard, where other programs read it; what another program puts
// there is pasted into the memo.
TEST_P(SdlDisplay, AnEditCopiesToAndPastesFromOtherPrograms)
{
    TSdlStage stage(Session());
    stage.Start();
    TypingAndPastingIntoEdits(stage);
    // This program serves the clipboard while xclip reads it.
    auto reader = stage.Session().StartReadClipboard();
    ASSERT_TRUE(stage.PumpUntil([&] { return reader->Finished(); }, 10s)) << "xclip -o did not finish";
    EXPECT_EQ(reader->Output(), "Hello, wide world");

    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 });
    HWND memo = CreateWindowEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 280, 100, form, nullptr,
        nullptr, nullptr);
    stage.Settle(RECT { 100, 100, 400, 300 });
    stage.MoveTo(150, 150);
    stage.ButtonDown();
    stage.ButtonUp();
    stage.Session().SetClipboardText("from xclip: Größe ✓");
    stage.Keys({ VK_CONTROL, 'V' });
    std::string text(GetWindowTextLength(memo) + 1, '\0');
    text.resize(GetWindowText(memo, text.data(), int(text.size())));
    EXPECT_EQ(text, "from xclip: Größe ✓");
}

// Reading another program's clipboard leaves it that program's: it still owns it and still serves it. A text
// offered only in pieces (INCR) is not read, fails soon, and stays the other program's too.
TEST_P(SdlDisplay, ReadingAnotherProgramsClipboardNeverTakesItOver)
{
    TSdlStage stage(Session());
    stage.Start();
    HWND form = stage.CreateTop(RECT { 100, 100, 400, 300 });
    stage.Settle(RECT { 100, 100, 400, 300 });
    TXSession& session = stage.Session();

    const std::string theirs = "kept by xclip";
    session.SetClipboardText(theirs);
    const unsigned long owner = session.SelectionOwner("CLIPBOARD");
    EXPECT_EQ(ClipboardText(form), theirs);
    EXPECT_EQ(ClipboardText(form), theirs);
    EXPECT_EQ(session.SelectionOwner("CLIPBOARD"), owner);
    EXPECT_EQ(session.ClipboardText(), theirs);

    // Larger than one request can carry: xclip offers it in pieces.
    const std::filesystem::path file
        = std::filesystem::temp_directory_path() / ("tp display clipboard " + std::to_string(getpid()));
    std::ofstream(file) << std::string(3 * 1024 * 1024, 'x');
    session.SetClipboardFromFile(file.string());
    const unsigned long largeOwner = session.SelectionOwner("CLIPBOARD");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ClipboardText(form), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_EQ(session.SelectionOwner("CLIPBOARD"), largeOwner);
    std::filesystem::remove(file);
}

// Where a compositor runs, whole-window opacity shows as the layer blends it; where none runs, the backend says
// it cannot, and the window layer refuses the opacity rather than showing an opaque window as if blended.
TEST(SdlOpacity, BlendedUnderACompositorAndReportedUnavailableWithoutOne)
{
    {
        TSdlStage bare(SharedXSession());
        bare.Start();
        EXPECT_EQ(HalfTransparentWindow(bare).Facts, std::vector<std::string> { "no opacity" });
    }
    TScenarioResult expected;
    {
        THeadlessStage headless;
        headless.Start();
        expected = HalfTransparentWindow(headless);
    }
    TXSessionOptions options;
    options.Compositor = true;
    TSdlStage composited(SharedXSession(options));
    composited.Start();
    TScenarioResult actual = HalfTransparentWindow(composited);
    EXPECT_EQ(actual.Facts, expected.Facts);
    ASSERT_EQ(actual.Screens.size(), 1u);
    // The overlap shows both windows, within the compositor's rounding.
    const uint32_t blend = expected.Screens[0].At(250, 250);
    const uint32_t shown = actual.Screens[0].At(250, 250);
    for (int shift : { 0, 8, 16 })
        EXPECT_NEAR(int((shown >> shift) & 0xFF), int((blend >> shift) & 0xFF), 2)
            << std::hex << "shown " << shown << ", blended " << blend;
}

// X is asynchronous: a request about a window (a wake-up sent from another thread) can reach the server after the
// window was destroyed, and its error can arrive as late as the video's close, when SDL gives back the error
// handler it found at its start. That handler must be the program's, not Xlib's default, which ends the process.
// The child makes such an error right after the video closed and must go on to its own exit.
TEST(SdlErrors, AnXErrorArrivingAfterTheVideoClosedDoesNotEndTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string display = SharedXSession().DisplayName();
    EXPECT_EXIT(
        {
            {
                TSdlBackend backend;
                if (!backend.Install(display.c_str(), nullptr))
                    _exit(2);
                backend.Uninstall();
            }
            Display* connection = XOpenDisplay(display.c_str());
            if (!connection)
                _exit(3);
            const Window gone = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, 1, 1, 0, 0, 0);
            XDestroyWindow(connection, gone);
            XEvent wake {};
            wake.xclient.type = ClientMessage;
            wake.xclient.window = gone;
            wake.xclient.format = 32;
            XSendEvent(connection, gone, False, NoEventMask, &wake);
            XSync(connection, False);
            XCloseDisplay(connection);
            _exit(0);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Bare, SdlDisplay, testing::Values(TDisplayKind { "Bare", TWindowManager::Bare }),
    [](const auto& info) { return std::string(info.param.Name); });
INSTANTIATE_TEST_SUITE_P(Openbox, SdlDisplay, testing::Values(TDisplayKind { "Openbox", TWindowManager::Openbox }),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
