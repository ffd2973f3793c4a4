// The fixture of the window-layer tests: the headless backend with a still virtual clock, test window
// classes whose procedure a test can script, and pumping helpers.
#pragma once
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

// Answers a message for the test windows; nullopt passes it to DefWindowProc.
using TTestHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

class PlatformTest : public testing::Test {
protected:
    static constexpr const char* kPlain = "TestWindow";
    static constexpr const char* kDoubleClicks = "TestDblClkWindow";

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        for (const char* name : { kPlain, kDoubleClicks }) {
            WNDCLASS wc {};
            wc.style = name == kDoubleClicks ? CS_DBLCLKS : 0;
            wc.lpfnWndProc = &PlatformTest::TestProc;
            wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
            wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
            wc.lpszClassName = name;
            ASSERT_NE(RegisterClass(&wc), 0);
        }
    }

    void TearDown() override
    {
        // Handlers capture the test's locals, which are gone by now.
        Handler = nullptr;
        Backend.Uninstall();
    }

    static LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Handler)
            if (std::optional<LRESULT> answer = Handler(hwnd, message, wParam, lParam))
                return *answer;
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    HWND CreateTop(const RECT& r, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0, HWND owner = nullptr,
        const char* className = kPlain)
    {
        return CreateWindowEx(exStyle, className, "top", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
            owner, nullptr, nullptr, nullptr);
    }

    HWND CreateChild(
        HWND parent, const RECT& r, DWORD style = WS_CHILD | WS_VISIBLE, const char* className = kPlain, int id = 0)
    {
        return CreateWindowEx(0, className, "child", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
            reinterpret_cast<HMENU>(uintptr_t(id)), nullptr, nullptr);
    }

    // Retrieves, translates and dispatches until the queue is empty (WM_PAINT and due timers included).
    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 10000; ++guard) {
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                return;
            if (msg.message == WM_QUIT)
                return;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        ADD_FAILURE() << "the queue never ran empty";
    }

    // Entries of the log from now on.
    void StartLog() { Backend.Log().Clear(); }
    std::vector<UINT> Sequence(std::initializer_list<UINT> messages, HWND hwnd = nullptr)
    {
        return Backend.Log().Sequence(messages, hwnd);
    }
    std::vector<TLoggedMessage> Only(std::initializer_list<UINT> messages, HWND hwnd = nullptr)
    {
        return Backend.Log().Only(messages, hwnd);
    }
    // The logged messages of the kinds given, as (window, message) steps in order.
    using TStep = std::pair<HWND, UINT>;
    std::vector<TStep> Steps(std::initializer_list<UINT> messages)
    {
        std::vector<TStep> out;
        for (const TLoggedMessage& e : Only(messages))
            out.emplace_back(e.Window, e.Message);
        return out;
    }

    static inline TTestHandler Handler;
    THeadlessBackend Backend;
};

// "WM_..." names for failure messages.
inline std::vector<UINT> Messages(std::initializer_list<UINT> list)
{
    return std::vector<UINT>(list);
}
