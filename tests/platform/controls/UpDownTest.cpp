// The up-down window class: its range and position, what the parent hears around a step (and how it can refuse
// or change one), a held button repeating with the accelerators on the virtual clock, wrapping, and the buddy
// edit that shows the number and passes its arrow keys on.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class UpDownTest : public testing::Test {
protected:
    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterUpDownClass(), 0);
        ASSERT_NE(RegisterEditClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &UpDownTest::ParentProc;
        wc.lpszClassName = "UpDownTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(
            0, "UpDownTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
        Current = this;
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        Current = nullptr;
        Backend.Uninstall();
    }

    // An edit at (10, 10) 100x24 and an up-down made right after it at (200, 10) 16x24.
    void Make(DWORD style)
    {
        Buddy
            = CreateWindowEx(0, WC_EDIT, "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 24, Parent, nullptr, nullptr, nullptr);
        Spin = CreateWindowEx(
            0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | style, 200, 10, 16, 24, Parent, nullptr, nullptr, nullptr);
        ASSERT_NE(Spin, nullptr);
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
    int Pos() const { return static_cast<int>(SendMessage(Spin, UDM_GETPOS32, 0, 0)); }
    std::string BuddyText() const
    {
        std::string text(GetWindowTextLength(Buddy) + 1, '\0');
        text.resize(GetWindowText(Buddy, text.data(), static_cast<int>(text.size())));
        return text;
    }
    // A point on the up-down's upper (increment) or lower half.
    POINT Upper() const
    {
        RECT r;
        GetWindowRect(Spin, &r);
        return { (r.left + r.right) / 2, r.top + 3 };
    }
    POINT Lower() const
    {
        RECT r;
        GetWindowRect(Spin, &r);
        return { (r.left + r.right) / 2, r.bottom - 3 };
    }
    void Press(POINT p)
    {
        Backend.MouseMove(p.x, p.y);
        Backend.MouseDown();
        Pump();
    }
    void Release()
    {
        Backend.MouseUp();
        Pump();
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && message == WM_NOTIFY) {
            auto* notify = reinterpret_cast<NMUPDOWN*>(lParam);
            if (notify->hdr.code == UDN_DELTAPOS && notify->hdr.hwndFrom == Current->Spin) {
                Current->Log.push_back("delta " + std::to_string(notify->iPos) + " " + std::to_string(notify->iDelta));
                if (Current->NewDelta)
                    notify->iDelta = Current->NewDelta;
                return Current->Refuse ? 1 : 0;
            }
        }
        if (Current && message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == Current->Spin)
            Current->Log.push_back("scroll " + std::to_string(LOWORD(wParam)) + " "
                + std::to_string(static_cast<int16_t>(HIWORD(wParam))));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline UpDownTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HWND Buddy = nullptr;
    HWND Spin = nullptr;
    std::vector<std::string> Log;
    bool Refuse = false;
    int NewDelta = 0;
};

TEST_F(UpDownTest, RangeAndPositionMessages)
{
    Make(0);
    // A new up-down runs from 100 down to 0.
    EXPECT_EQ(SendMessage(Spin, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    SendMessage(Spin, UDM_SETRANGE32, -5, 70000);
    int min = 0, max = 0;
    SendMessage(Spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min), reinterpret_cast<LPARAM>(&max));
    EXPECT_EQ(std::make_pair(min, max), std::make_pair(-5, 70000));
    EXPECT_EQ(SendMessage(Spin, UDM_SETPOS32, 0, 90000), 0);
    EXPECT_EQ(Pos(), 70000);
    SendMessage(Spin, UDM_SETPOS32, 0, -9);
    EXPECT_EQ(Pos(), -5);
    SendMessage(Spin, UDM_SETRANGE, 0, MAKELONG(10, 20)); // max 10, min 20
    EXPECT_EQ(SendMessage(Spin, UDM_GETRANGE, 0, 0), MAKELONG(10, 20));
    SendMessage(Spin, UDM_SETPOS, 0, 15);
    EXPECT_EQ(LOWORD(SendMessage(Spin, UDM_GETPOS, 0, 0)), 15);
    EXPECT_EQ(SendMessage(Spin, UDM_SETBASE, 8, 0), 0) << "only 10 and 16";
    EXPECT_EQ(SendMessage(Spin, UDM_GETBASE, 0, 0), 10);
}

TEST_F(UpDownTest, AClickAsksTheParentStepsAndReportsAndTheParentCanRefuseOrChangeTheStep)
{
    Make(UDS_SETBUDDYINT | UDS_AUTOBUDDY);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(Spin, UDM_GETBUDDY, 0, 0)), Buddy);
    SendMessage(Spin, UDM_SETRANGE32, 0, 10);
    Press(Upper());
    Release();
    EXPECT_EQ(Log, (std::vector<std::string> { "delta 0 1", "scroll 4 1", "scroll 8 1" }));
    EXPECT_EQ(BuddyText(), "1");
    EXPECT_EQ(GetFocus(), Buddy) << "a press hands the focus to the buddy";
    Log.clear();
    Refuse = true;
    Press(Upper());
    Release();
    EXPECT_EQ(Pos(), 1);
    EXPECT_EQ(Log, (std::vector<std::string> { "delta 1 1", "scroll 4 1", "scroll 8 1" }));
    Refuse = false;
    NewDelta = 4;
    Press(Lower()); // asks for -1, gets +4
    Release();
    EXPECT_EQ(Pos(), 5);
    EXPECT_EQ(BuddyText(), "5");
}

TEST_F(UpDownTest, AHeldButtonRepeatsOnTheClockWithLargerStepsTheLongerItIsHeld)
{
    Make(0);
    SendMessage(Spin, UDM_SETRANGE32, 0, 1000);
    Press(Upper());
    EXPECT_EQ(Pos(), 1);
    Wait(499);
    EXPECT_EQ(Pos(), 1);
    Wait(1);
    EXPECT_EQ(Pos(), 2);
    // Held for 2 s the steps are 5; for 5 s, 20.
    uint64_t held = 500;
    int last = Pos();
    int step = 0;
    while (held < 2100) {
        Wait(50);
        held += 50;
        step = Pos() - last;
        last = Pos();
    }
    EXPECT_EQ(step, 5);
    while (held < 5100) {
        Wait(50);
        held += 50;
        step = Pos() - last;
        last = Pos();
    }
    EXPECT_EQ(step, 20);
    // Off the button nothing moves; the release ends it.
    Backend.MouseMove(300, 200);
    Wait(50);
    EXPECT_EQ(Pos(), last);
    Release();
    Wait(500);
    EXPECT_EQ(Pos(), last);

    // An accelerator table of its own.
    UDACCEL table[] = { { 0, 3 }, { 1, 7 } };
    SendMessage(Spin, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(table));
    UDACCEL read[4] {};
    EXPECT_EQ(SendMessage(Spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(read)), 2);
    EXPECT_EQ(read[1].nInc, 7u);
    SendMessage(Spin, UDM_SETPOS32, 0, 0);
    Press(Upper());
    EXPECT_EQ(Pos(), 3);
    Wait(500);
    EXPECT_EQ(Pos(), 6);
    for (int i = 0; i < 11; ++i)
        Wait(50);
    EXPECT_EQ(Pos(), 6 + 9 * 3 + 2 * 7); // 7 from one second of holding on
    Release();
}

TEST_F(UpDownTest, AtAnEndItStopsOrWithUdsWrapComesRoundAtTheOther)
{
    struct Case {
        DWORD style;
        int start;
        bool up;
        int step;
        int expected;
    };
    const Case cases[] = {
        { 0, 10, true, 1, 10 }, { 0, 9, true, 5, 10 }, { UDS_WRAP, 10, true, 1, 0 }, { UDS_WRAP, 0, false, 1, 10 },
        { UDS_WRAP, 9, true, 5, 3 }, // the overshoot carries round
    };
    for (const Case& c : cases) {
        Make(c.style);
        SendMessage(Spin, UDM_SETRANGE32, 0, 10);
        UDACCEL table[] = { { 0, static_cast<UINT>(c.step) } };
        SendMessage(Spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(table));
        SendMessage(Spin, UDM_SETPOS32, 0, c.start);
        Press(c.up ? Upper() : Lower());
        Release();
        EXPECT_EQ(Pos(), c.expected) << "style " << c.style << " from " << c.start;
        DestroyWindow(Spin);
        DestroyWindow(Buddy);
    }
}

TEST_F(UpDownTest, TheBuddyShowsThousandsAndHexReadsBackWhatWasTypedAndPassesItsArrowKeys)
{
    Make(UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_ALIGNRIGHT);
    SendMessage(Spin, UDM_SETRANGE32, -100000, 100000);
    SendMessage(Spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    // Aligned right: the buddy gives up the up-down's width and the up-down sits at its right edge.
    RECT buddy, spin;
    GetWindowRect(Buddy, &buddy);
    GetWindowRect(Spin, &spin);
    EXPECT_EQ(buddy.right - buddy.left, 100 - 16);
    EXPECT_EQ(spin.left, buddy.right);
    EXPECT_EQ(spin.bottom - spin.top, 24);

    SendMessage(Spin, UDM_SETPOS32, 0, -12345);
    EXPECT_EQ(BuddyText(), "-12,345");
    SendMessage(Spin, UDM_SETBASE, 16, 0);
    SendMessage(Spin, UDM_SETPOS32, 0, 255);
    EXPECT_EQ(BuddyText(), "0x00FF");
    SendMessage(Spin, UDM_SETBASE, 10, 0);

    // Typed text counts once it is a number in range.
    SetWindowText(Buddy, "1,234");
    BOOL error = TRUE;
    EXPECT_EQ(SendMessage(Spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 1234);
    EXPECT_FALSE(error);
    SetWindowText(Buddy, "12x");
    EXPECT_EQ(SendMessage(Spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 1234);
    EXPECT_TRUE(error);
    EXPECT_NE(HIWORD(SendMessage(Spin, UDM_GETPOS, 0, 0)), 0);

    // Up in the buddy steps; other keys still edit.
    SetWindowText(Buddy, "7");
    SetFocus(Buddy);
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(BuddyText(), "8");
    Backend.Key(VK_END);
    Backend.Char(U'1');
    Pump();
    EXPECT_EQ(BuddyText(), "81");
    // Gone, the up-down leaves the buddy's keys alone: Up is the edit's own again, one character left.
    DestroyWindow(Spin);
    Spin = nullptr;
    Backend.Key(VK_UP);
    Backend.Char(U'2');
    Pump();
    EXPECT_EQ(BuddyText(), "821");
}

} // namespace
