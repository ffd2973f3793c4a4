#include "tests/display/TWindowStage.h"

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/WindowDCs.h"
#include "platform/win/Platform.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <map>

namespace {

using namespace std::chrono_literals;

TWindowStage* CurrentStage = nullptr;

// Names of the messages the display tests compare, for readable failures.
std::string MessageName(UINT message)
{
    static const std::map<UINT, const char*> names = {
        { WM_NCHITTEST, "WM_NCHITTEST" },
        { WM_SETCURSOR, "WM_SETCURSOR" },
        { WM_MOUSEMOVE, "WM_MOUSEMOVE" },
        { WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE" },
        { WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE" },
        { WM_NCACTIVATE, "WM_NCACTIVATE" },
        { WM_ACTIVATE, "WM_ACTIVATE" },
        { WM_ACTIVATEAPP, "WM_ACTIVATEAPP" },
        { WM_SETFOCUS, "WM_SETFOCUS" },
        { WM_KILLFOCUS, "WM_KILLFOCUS" },
        { WM_PARENTNOTIFY, "WM_PARENTNOTIFY" },
        { WM_LBUTTONDOWN, "WM_LBUTTONDOWN" },
        { WM_LBUTTONUP, "WM_LBUTTONUP" },
        { WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK" },
        { WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN" },
        { WM_NCLBUTTONUP, "WM_NCLBUTTONUP" },
        { WM_RBUTTONDOWN, "WM_RBUTTONDOWN" },
        { WM_RBUTTONUP, "WM_RBUTTONUP" },
        { WM_NCRBUTTONUP, "WM_NCRBUTTONUP" },
        { WM_CONTEXTMENU, "WM_CONTEXTMENU" },
        { WM_CAPTURECHANGED, "WM_CAPTURECHANGED" },
        { WM_KEYDOWN, "WM_KEYDOWN" },
        { WM_KEYUP, "WM_KEYUP" },
        { WM_CHAR, "WM_CHAR" },
        { WM_DROPFILES, "WM_DROPFILES" },
    };
    auto found = names.find(message);
    return found != names.end() ? found->second : "message " + std::to_string(message);
}

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_NCHITTEST
        || (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

} // namespace

TWindowStage::~TWindowStage() = default;

void TWindowStage::Start()
{
    InstallGdiDCProvider();
    ASSERT_TRUE(StartBackend()) << Name() << ": the window layer did not start";
    FStarted = true;
    CurrentStage = this;
    SetMessageObserver(&FLog);
    WNDCLASS wc {};
    wc.lpfnWndProc = &TWindowStage::StageProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    ASSERT_NE(RegisterClass(&wc), 0);
    MoveTo(kRestingPoint.x, kRestingPoint.y, {});
    FLog.Clear();
}

void TWindowStage::Stop()
{
    if (!FStarted)
        return;
    Handler = nullptr;
    MessageLoop = nullptr;
    SetMessageObserver(nullptr);
    StopBackend();
    CurrentStage = nullptr;
    FStarted = false;
}

LRESULT TWindowStage::StageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CurrentStage && CurrentStage->Handler)
        if (std::optional<LRESULT> answer = CurrentStage->Handler(hwnd, message, wParam, lParam))
            return *answer;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND TWindowStage::CreateTop(const RECT& r, DWORD style, DWORD exStyle, HWND owner)
{
    return CreateWindowEx(exStyle, kClass, "top", style, r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
        nullptr, nullptr, nullptr);
}

HWND TWindowStage::CreateChild(HWND parent, const RECT& r, DWORD style)
{
    return CreateWindowEx(0, kClass, "child", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent, nullptr,
        nullptr, nullptr);
}

size_t TWindowStage::CountOf(std::initializer_list<UINT> messages) const
{
    return FLog.Only(messages).size();
}

bool TWindowStage::AwaitMessages(std::initializer_list<UINT> awaited, size_t before)
{
    if (awaited.size() == 0) {
        Pump();
        return true;
    }
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    for (;;) {
        Pump(20ms);
        if (CountOf(awaited) > before)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            std::string names;
            for (UINT message : awaited)
                names += MessageName(message) + " ";
            ADD_FAILURE() << Name() << ": none of " << names << "came";
            return false;
        }
    }
    // What the same event caused afterwards (the paint of a click, say) is queued by now.
    Pump();
    return true;
}

void TWindowStage::HandleWaiting()
{
    if (MessageLoop) {
        MessageLoop();
        return;
    }
    MSG msg;
    for (int guard = 0; guard < 10000; ++guard) {
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE) || msg.message == WM_QUIT)
            return;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    ADD_FAILURE() << "the queue never ran empty";
}

TStagePixels TWindowStage::GrabWhenShowing(const TStagePixels& expected)
{
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    for (;;) {
        Pump(20ms);
        TStagePixels shown = Grab(expected.Area);
        if (shown.Pixels == expected.Pixels || std::chrono::steady_clock::now() >= deadline)
            return shown;
    }
}

std::vector<std::string> NamedSteps(const TMessageLog& log, std::initializer_list<UINT> messages,
    const std::vector<std::pair<HWND, std::string>>& names)
{
    std::vector<std::string> steps;
    for (const TLoggedMessage& entry : log.Only(messages)) {
        std::string window = "?";
        for (const auto& [hwnd, name] : names)
            if (hwnd == entry.Window)
                window = name;
        std::string step = window + " " + MessageName(entry.Message);
        if (IsMouseMessage(entry.Message) && entry.Message != WM_NCHITTEST)
            step += " " + std::to_string(GET_X_LPARAM(entry.LParam)) + "," + std::to_string(GET_Y_LPARAM(entry.LParam));
        steps.push_back(step);
    }
    return steps;
}

// --- THeadlessStage -----------------------------------------------------------------------------------------------

THeadlessStage::THeadlessStage()
    : FBackend(std::make_unique<THeadlessBackend>())
{
}

THeadlessStage::~THeadlessStage()
{
    Stop();
}

bool THeadlessStage::StartBackend()
{
    FBackend->UseManualClock(1000);
    FBackend->SetDesktopColor(kDesktop);
    // The backend's own log would replace the stage's observer; the stage installs its own after this.
    return FBackend->Install();
}

void THeadlessStage::StopBackend()
{
    FBackend->Uninstall();
}

void THeadlessStage::MoveTo(int x, int y, std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FBackend->MouseMove(x, y);
    AwaitMessages(awaited, before);
}

void THeadlessStage::ButtonDown(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FBackend->MouseDown();
    AwaitMessages(awaited, before);
}

void THeadlessStage::ButtonUp(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FBackend->MouseUp();
    AwaitMessages(awaited, before);
}

void THeadlessStage::RightClick(std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FBackend->MouseDown(TRawButton::Right);
    FBackend->MouseUp(TRawButton::Right);
    AwaitMessages(awaited, before);
}

void THeadlessStage::DragBy(int x, int y, int dx, int dy, std::initializer_list<UINT> awaited)
{
    const size_t before = CountOf(awaited);
    FBackend->MouseMove(x, y);
    FBackend->MouseDown();
    FBackend->MouseMove(x + dx, y + dy);
    FBackend->MouseUp();
    AwaitMessages(awaited, before);
}

void THeadlessStage::DropFiles(const std::vector<std::string>& paths, int x, int y)
{
    const size_t before = CountOf({ WM_DROPFILES });
    TRawInput drop;
    drop.Kind = TRawInputKind::Drop;
    drop.Point = POINT { x, y };
    drop.Paths = paths;
    QueueRawInput(drop);
    AwaitMessages({ WM_DROPFILES }, before);
}

void THeadlessStage::Type(const std::string& utf8, size_t characters)
{
    const size_t before = CountOf({ WM_CHAR });
    for (size_t at = 0; at < utf8.size();) {
        // One UTF-8 sequence: its length from the lead byte.
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int i = 1; i < length && at + size_t(i) < utf8.size(); ++i)
            c = (c << 6) | (static_cast<unsigned char>(utf8[at + size_t(i)]) & 0x3F);
        FBackend->Char(c);
        at += size_t(length);
    }
    Pump();
    EXPECT_GE(CountOf({ WM_CHAR }), before + characters) << "headless: not every character arrived";
}

void THeadlessStage::Wheel(int notches, std::initializer_list<UINT> awaited)
{
    for (int i = 0; i < std::abs(notches); ++i) {
        const size_t before = CountOf(awaited);
        FBackend->Wheel(notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA);
        AwaitMessages(awaited, before);
    }
}

void THeadlessStage::Keys(std::initializer_list<UINT> chord)
{
    for (UINT key : chord)
        FBackend->KeyDown(key);
    for (auto key = std::rbegin(chord); key != std::rend(chord); ++key)
        FBackend->KeyUp(*key);
    Pump();
}

void THeadlessStage::Pump(std::chrono::milliseconds)
{
    HandleWaiting();
}

bool THeadlessStage::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    Pump();
    for (auto passed = 0ms; !done(); passed += 10ms) {
        if (passed >= timeout)
            return false;
        FBackend->AdvanceClock(10);
        Pump();
    }
    return true;
}

TStagePixels THeadlessStage::Grab(const RECT& area)
{
    TStagePixels result { area, {} };
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            result.Pixels.push_back(FBackend->ScreenPixel(x, y));
    return result;
}

size_t DifferingPixels(const TStagePixels& a, const TStagePixels& b)
{
    if (a.Pixels.size() != b.Pixels.size())
        return SIZE_MAX;
    size_t count = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i)
        count += a.Pixels[i] != b.Pixels[i];
    return count;
}
