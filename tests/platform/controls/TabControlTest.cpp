// The tab control driven by clicks and keys through the headless backend: the changing veto, the layout of one
// scrolled row and of several rows, hit tests and the display area.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

class TabControlTest : public testing::Test {
protected:
    static constexpr int kLeft = 10, kTop = 10;

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterTabControlClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &TabControlTest::ParentProc;
        wc.lpszClassName = "TabControlTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "TabControlTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr,
            nullptr, nullptr, nullptr);
        Font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        Current = this;
    }
    void TearDown() override
    {
        DestroyWindow(Parent);
        DeleteObject(Font);
        Current = nullptr;
        Backend.Uninstall();
    }
    HWND Make(DWORD style, int width, int tabs)
    {
        HWND tab = CreateWindowEx(0, WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE | style, kLeft, kTop, width, 150, Parent,
            nullptr, nullptr, nullptr);
        SendMessage(tab, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        for (int i = 0; i < tabs; ++i) {
            std::string text = "Page number " + std::to_string(i);
            TCITEM item {};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessage(tab, TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item));
        }
        return tab;
    }
    RECT TabRect(HWND tab, int index)
    {
        RECT r {};
        SendMessage(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void ClickTab(HWND tab, int index)
    {
        RECT r = TabRect(tab, index);
        Backend.Click(kLeft + (r.left + r.right) / 2, kTop + (r.top + r.bottom) / 2);
        Backend.AdvanceClock(1000);
        Pump();
    }
    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Current->Codes.push_back(header->code);
            if (header->code == TCN_SELCHANGING)
                return Current->Refuse;
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline TabControlTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    std::vector<UINT> Codes;
    LRESULT Refuse = FALSE;
};

TEST_F(TabControlTest, ChangesAskFirstAndMayBeRefused)
{
    HWND tab = Make(0, 450, 3);
    Pump();
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 0);
    ClickTab(tab, 2);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes, (std::vector<UINT> {TCN_SELCHANGING, TCN_SELCHANGE, NM_CLICK}));
    Codes.clear();
    Refuse = TRUE;
    ClickTab(tab, 1);
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes, (std::vector<UINT> {TCN_SELCHANGING, NM_CLICK}));
    Refuse = FALSE;
    Backend.Key(VK_LEFT);
    Pump();
    EXPECT_EQ(SendMessage(tab, TCM_GETCURSEL, 0, 0), 1);
    // The program's choice tells nobody.
    Codes.clear();
    SendMessage(tab, TCM_SETCURSEL, 0, 0);
    EXPECT_TRUE(Codes.empty());

    // Hit tests and the display area below the tabs.
    RECT r = TabRect(tab, 1);
    TCHITTESTINFO hit {{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 0};
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, TCHT_ONITEMLABEL);
    hit.pt = {440, 100};
    EXPECT_EQ(SendMessage(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    RECT display {0, 0, 450, 150};
    SendMessage(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GE(display.top, r.bottom);
    EXPECT_LT(display.bottom, 150);
    SendMessage(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(display.top, 0);
    EXPECT_EQ(display.bottom, 150);
}

TEST_F(TabControlTest, OneRowScrollsAndSeveralRowsKeepTheSelectedRowNextToThePage)
{
    HWND single = Make(0, 250, 6);
    Pump();
    RECT last = TabRect(single, 5);
    EXPECT_GT(last.right, 250);
    // The right arrow shows the next tab at the start of the row.
    RECT first = TabRect(single, 0);
    int height = first.bottom - first.top;
    Backend.Click(kLeft + 250 - height / 2, kTop + first.top + height / 2);
    Pump();
    EXPECT_EQ(TabRect(single, 1).left, first.left);
    // Moving the selection past the row's end scrolls it into view.
    SetFocus(single);
    for (int i = 0; i < 5; ++i) {
        Backend.Key(VK_RIGHT);
        Pump();
    }
    EXPECT_EQ(SendMessage(single, TCM_GETCURSEL, 0, 0), 5);
    EXPECT_LE(TabRect(single, 5).right, 250);
    DestroyWindow(single);

    HWND multi = Make(TCS_MULTILINE, 250, 6);
    Pump();
    int rows = static_cast<int>(SendMessage(multi, TCM_GETROWCOUNT, 0, 0));
    ASSERT_GT(rows, 1);
    // The selected tab's row is the one next to the display area (the lowest), and moves there when chosen.
    int bottomRow = 0;
    for (int i = 0; i < 6; ++i)
        bottomRow = std::max(bottomRow, static_cast<int>(TabRect(multi, i).top));
    EXPECT_EQ(TabRect(multi, 0).top, bottomRow);
    ClickTab(multi, 5);
    EXPECT_EQ(TabRect(multi, 5).top, bottomRow);
    RECT display {0, 0, 250, 150};
    SendMessage(multi, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GE(display.top, bottomRow + TabRect(multi, 5).bottom - TabRect(multi, 5).top);
}

} // namespace

namespace {

HWND FindUpDown(HWND tab)
{
    for (HWND child = GetWindow(tab, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] {};
        GetClassName(child, name, sizeof name);
        if (std::string(name) == UPDOWN_CLASS)
            return child;
    }
    return nullptr;
}

TEST_F(TabControlTest, RowScrollerIsAnUpDownChildThatMayBeTakenAway)
{
    HWND tab = Make(0, 250, 6);
    Pump();
    HWND arrows = FindUpDown(tab);
    ASSERT_NE(arrows, nullptr);
    // WM_HSCROLL from anyone shows the tab it names first.
    RECT first = TabRect(tab, 0);
    SendMessage(tab, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    EXPECT_EQ(TabRect(tab, 2).left, first.left);
    EXPECT_LT(TabRect(tab, 1).right, 0);
    EXPECT_EQ(SendMessage(arrows, UDM_GETPOS32, 0, 0), 2);

    // Destroyed by the program, the arrows stay away while the row overflows, and the row still scrolls.
    DestroyWindow(arrows);
    SetWindowPos(tab, nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(FindUpDown(tab), nullptr);
    SendMessage(tab, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    EXPECT_EQ(TabRect(tab, 0).left, first.left);
    // Once everything fits they are gone for good; overflowing again brings them back.
    SetWindowPos(tab, nullptr, 0, 0, 1200, 150, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(FindUpDown(tab), nullptr);
    SetWindowPos(tab, nullptr, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_NE(FindUpDown(tab), nullptr);
}

TEST_F(TabControlTest, VerticalTabsStandInAColumn)
{
    for (DWORD side : { DWORD(0), TCS_RIGHT }) {
        SCOPED_TRACE(side);
        HWND tab = Make(TCS_VERTICAL | TCS_FIXEDWIDTH | side, 300, 3);
        SendMessage(tab, TCM_SETITEMSIZE, 0, MAKELPARAM(40, 20));
        Pump();
        RECT a = TabRect(tab, 0), b = TabRect(tab, 1);
        // Tall and narrow, one under the other, along the left (or right) edge.
        EXPECT_EQ(a.right - a.left, 20);
        EXPECT_GT(a.bottom - a.top, a.right - a.left);
        EXPECT_EQ(b.left, a.left);
        EXPECT_EQ(b.top, a.bottom);
        RECT display {0, 0, 300, 150};
        SendMessage(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        if (side == 0) {
            EXPECT_LT(a.left, 10);
            EXPECT_GE(display.left, a.right);
        } else {
            EXPECT_GT(a.right, 290);
            EXPECT_LE(display.right, a.left);
        }
        EXPECT_EQ(FindUpDown(tab), nullptr);
        DestroyWindow(tab);
    }
}

} // namespace
