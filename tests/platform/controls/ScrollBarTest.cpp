// The "SCROLLBAR" window class: the scroll calls through SB_CTL, the requests its parent hears from presses,
// held arrows on the virtual clock, a dragged thumb and the keys.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class ScrollBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterScrollBarClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &ScrollBarTest::ParentProc;
        wc.lpszClassName = "ScrollBarTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "ScrollBarTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
            nullptr, nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
        Current = this;
        // A vertical bar 20 wide and 200 high at (10, 10): arrows of the system's size at both ends.
        Bar = CreateWindowEx(0, WC_SCROLLBAR, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_VERT, 10, 10, 20, 200,
            Parent, nullptr, nullptr, nullptr);
        ASSERT_NE(Bar, nullptr);
        Arrow = GetSystemMetrics(SM_CYVSCROLL);
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        Current = nullptr;
        Backend.Uninstall();
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    void Wait(uint64_t ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }
    SCROLLBARINFO Info()
    {
        SCROLLBARINFO info {};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetScrollBarInfo(Bar, OBJID_CLIENT, &info));
        return info;
    }

    // The parent logs every request ("code" or "code:pos" for the thumb's) and, as a parent does, moves the
    // bar as asked: lines by 1, pages by the page, the thumb to where it is dragged.
    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && (message == WM_VSCROLL || message == WM_HSCROLL)) {
            EXPECT_EQ(reinterpret_cast<HWND>(lParam), Current->Bar);
            EXPECT_EQ(message, UINT(WM_VSCROLL));
            WORD code = LOWORD(wParam);
            std::string entry = std::to_string(code);
            if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
                entry += ":" + std::to_string(HIWORD(wParam));
            Current->Log.push_back(entry);
            SCROLLINFO info { sizeof info, SIF_ALL, 0, 0, 0, 0, 0 };
            GetScrollInfo(Current->Bar, SB_CTL, &info);
            int pos = info.nPos;
            switch (code) {
            case SB_LINEUP:
                --pos;
                break;
            case SB_LINEDOWN:
                ++pos;
                break;
            case SB_PAGEUP:
                pos -= static_cast<int>(info.nPage);
                break;
            case SB_PAGEDOWN:
                pos += static_cast<int>(info.nPage);
                break;
            case SB_THUMBTRACK:
                pos = info.nTrackPos;
                break;
            case SB_TOP:
                pos = info.nMin;
                break;
            case SB_BOTTOM:
                pos = info.nMax;
                break;
            }
            if (Current->Follow)
                SetScrollPos(Current->Bar, SB_CTL, pos, TRUE);
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline ScrollBarTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HWND Bar = nullptr;
    int Arrow = 0;
    bool Follow = true;
    std::vector<std::string> Log;
};

TEST_F(ScrollBarTest, TheScrollCallsReachTheControlAndKeepItsPositionWithinTheRangeAndPage)
{
    int min = -1, max = -1;
    ASSERT_TRUE(GetScrollRange(Bar, SB_CTL, &min, &max));
    EXPECT_EQ(std::make_pair(min, max), std::make_pair(0, 100)); // a new bar's range
    SCROLLINFO info { sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0 };
    EXPECT_EQ(SetScrollInfo(Bar, SB_CTL, &info, TRUE), 90); // the page's last line may reach 99
    EXPECT_EQ(SetScrollPos(Bar, SB_CTL, -5, TRUE), 90);
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 0);
    EXPECT_TRUE(SetScrollRange(Bar, SB_CTL, 10, 20, TRUE));
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 10);
    SCROLLINFO out { sizeof out, SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(Bar, SB_CTL, &out));
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(out.nMax, 20);
    // An inverted range is none.
    SetScrollRange(Bar, SB_CTL, 5, 1, TRUE);
    ASSERT_TRUE(GetScrollRange(Bar, SB_CTL, &min, &max));
    EXPECT_EQ(std::make_pair(min, max), std::make_pair(0, 0));
    // Disabled arrows say so, and a second call with the same arrows changes nothing.
    SetScrollRange(Bar, SB_CTL, 0, 100, TRUE);
    EXPECT_TRUE(EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_UP));
    EXPECT_TRUE(Info().rgstate[1] & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(Info().rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsOnTheClockWhileThePointerStaysOnIt)
{
    SCROLLINFO info { sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 50, 0 };
    SetScrollInfo(Bar, SB_CTL, &info, TRUE);
    Backend.MouseMove(20, 10 + 200 - Arrow / 2);
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string> { "1" }));
    EXPECT_TRUE(Info().rgstate[5] & STATE_SYSTEM_PRESSED);
    Wait(199);
    EXPECT_EQ(Log.size(), 1u);
    Wait(1);
    EXPECT_EQ(Log.size(), 2u);
    for (int i = 0; i < 3; ++i)
        Wait(50);
    EXPECT_EQ(Log.size(), 5u);
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 55);
    // Off the arrow it stops and looks raised; back on it, it goes on.
    Backend.MouseMove(20, 100);
    Wait(200);
    EXPECT_EQ(Log.size(), 5u);
    EXPECT_FALSE(Info().rgstate[5] & STATE_SYSTEM_PRESSED);
    Backend.MouseMove(20, 10 + 200 - Arrow / 2);
    Wait(50);
    EXPECT_EQ(Log.size(), 6u);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Log.back(), "8"); // SB_ENDSCROLL
    Wait(500);
    EXPECT_EQ(Log.size(), 7u);
}

TEST_F(ScrollBarTest, ADraggedThumbReportsTrackThenPositionAndGoesBackWhenThePointerWandersOff)
{
    SCROLLINFO info { sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0 };
    SetScrollInfo(Bar, SB_CTL, &info, TRUE);
    SCROLLBARINFO before = Info();
    const int thumbTop = 10 + before.xyThumbTop;
    const int room = 200 - 2 * Arrow - (before.xyThumbBottom - before.xyThumbTop);
    Backend.MouseMove(20, thumbTop + 2);
    Backend.MouseDown();
    Pump();
    EXPECT_TRUE(Info().rgstate[3] & STATE_SYSTEM_PRESSED);
    // Half the room down is half of the 90 positions.
    Backend.MouseMove(20, thumbTop + 2 + room / 2);
    Pump();
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0], "5:45");
    SCROLLINFO track { sizeof track, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0 };
    GetScrollInfo(Bar, SB_CTL, &track);
    EXPECT_EQ(track.nTrackPos, 45);
    // Far to the side the thumb returns to where the drag began.
    Backend.MouseMove(300, thumbTop + 2 + room / 2);
    Pump();
    EXPECT_EQ(Log.back(), "5:0");
    Backend.MouseMove(20, thumbTop + 2 + room);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string> { "5:45", "5:0", "5:90", "4:90", "8" }));
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 90);
    EXPECT_FALSE(Info().rgstate[3] & STATE_SYSTEM_PRESSED);
}

TEST_F(ScrollBarTest, KeysAskForLinesPagesAndEndsAndAPressFocusesATabStop)
{
    Backend.Click(20, 100); // the page area below the thumb
    Pump();
    EXPECT_EQ(GetFocus(), Bar);
    EXPECT_EQ(SendMessage(Bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    Log.clear();
    for (UINT key : { VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_END, VK_HOME }) {
        Backend.Key(key);
        Pump();
    }
    EXPECT_EQ(Log, (std::vector<std::string> { "1", "8", "0", "8", "3", "8", "2", "8", "7", "8", "6", "8" }));
    // A disabled bar asks for nothing.
    Log.clear();
    EnableWindow(Bar, FALSE);
    SendMessage(Bar, WM_KEYDOWN, VK_DOWN, 0);
    Backend.Click(20, 100);
    Pump();
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Info().rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

} // namespace
