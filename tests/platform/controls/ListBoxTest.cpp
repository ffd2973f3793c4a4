// The list box driven as a user drives it: raw clicks and keys through the headless backend, checked by the
// selection, the parent's notification log and a few pixels.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class ListBoxTest : public testing::Test {
protected:
    static constexpr int kId = 9;
    static constexpr int kLeft = 10, kTop = 10;

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterListBoxClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &ListBoxTest::ParentProc;
        wc.lpszClassName = "ListBoxTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "ListBoxTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
            nullptr, nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
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

    HWND Make(DWORD style, int width = 200, int height = 160, const std::vector<std::string>& items = {})
    {
        HWND box = CreateWindowEx(0, WC_LISTBOX, "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | style,
            kLeft, kTop, width, height, Parent, reinterpret_cast<HMENU>(uintptr_t(kId)), nullptr, nullptr);
        SendMessage(box, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        for (const auto& item : items)
            SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        Pump();
        return box;
    }
    static std::vector<std::string> Numbered(int n)
    {
        std::vector<std::string> items;
        for (int i = 0; i < n; ++i)
            items.push_back("item " + std::to_string(i));
        return items;
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    // Clicks the middle of item index (of a single-column list) with the modifiers held.
    void ClickItem(HWND box, int index, std::vector<UINT> modifiers = {})
    {
        RECT r {};
        ASSERT_NE(SendMessage(box, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_ERR);
        for (UINT key : modifiers)
            Backend.KeyDown(key);
        Backend.Click(kLeft + (r.left + r.right) / 2, kTop + (r.top + r.bottom) / 2);
        for (UINT key : modifiers)
            Backend.KeyUp(key);
        Backend.AdvanceClock(1000); // so that the next click is not a double click
        Pump();
    }
    void Press(UINT key, UINT modifier = 0)
    {
        if (modifier)
            Backend.KeyDown(modifier);
        Backend.Key(key);
        if (modifier)
            Backend.KeyUp(modifier);
        Pump();
    }
    static std::vector<int> SelectedItems(HWND box)
    {
        std::vector<int> out(SendMessage(box, LB_GETCOUNT, 0, 0));
        out.resize(SendMessage(box, LB_GETSELITEMS, out.size(), reinterpret_cast<LPARAM>(out.data())));
        return out;
    }
    static std::string Text(HWND box, int index)
    {
        std::string text(SendMessage(box, LB_GETTEXTLEN, index, 0) + 1, '\0');
        text.resize(SendMessage(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())));
        return text;
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && message == WM_COMMAND && LOWORD(wParam) == kId)
            Current->Notifications.push_back(HIWORD(wParam));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline ListBoxTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    std::vector<WORD> Notifications;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ListBoxTest, SortedItemsFindAndKeepTheirData)
{
    HWND box = Make(LBS_SORT, 200, 160, {"banana", "Apple", "cherry", "apple pie", "Ábaco"});
    std::vector<std::string> order;
    for (int i = 0; i < SendMessage(box, LB_GETCOUNT, 0, 0); ++i)
        order.push_back(Text(box, i));
    EXPECT_EQ(order, (std::vector<std::string> {"Apple", "apple pie", "banana", "cherry", "Ábaco"}));

    struct Case {
        UINT message;
        int start;
        const char* text;
        LRESULT found;
    } cases[] = {
        {LB_FINDSTRING, -1, "AP", 0},
        {LB_FINDSTRING, 0, "ap", 1},
        {LB_FINDSTRING, 1, "ap", 0}, // wraps past the end
        {LB_FINDSTRING, 3, "á", 4},  // folds Latin-1 letters too
        {LB_FINDSTRING, -1, "x", LB_ERR},
        {LB_FINDSTRINGEXACT, -1, "APPLE", 0},
        {LB_FINDSTRINGEXACT, 0, "apple", 0}, // the only exact match, found by wrapping
        {LB_FINDSTRINGEXACT, -1, "app", LB_ERR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessage(box, c.message, c.start, reinterpret_cast<LPARAM>(c.text)), c.found)
            << c.text << " from " << c.start;

    // Data follows its item through inserts and deletes in front of it.
    SendMessage(box, LB_SETITEMDATA, 2, 42);
    SendMessage(box, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first"));
    EXPECT_EQ(SendMessage(box, LB_GETITEMDATA, 3, 0), 42);
    SendMessage(box, LB_DELETESTRING, 0, 0);
    SendMessage(box, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessage(box, LB_GETITEMDATA, 1, 0), 42);
    EXPECT_EQ(Text(box, 1), "banana");
    EXPECT_EQ(SendMessage(box, LB_DELETESTRING, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessage(box, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);
}

TEST_F(ListBoxTest, SingleSelectionFollowsClicksAndKeys)
{
    HWND box = Make(0, 200, 160, Numbered(50));
    ClickItem(box, 2);
    EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Notifications, (std::vector<WORD> {LBN_SETFOCUS, LBN_SELCHANGE}));
    Notifications.clear();
    ClickItem(box, 2); // the same item again: nothing changes
    EXPECT_TRUE(Notifications.empty());

    Press(VK_DOWN);
    EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), 3);
    Press(VK_END);
    EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), 49);
    int page = 160 / static_cast<int>(SendMessage(box, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), 50 - page) << "the last item is scrolled into view";
    Press(VK_HOME);
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(Notifications, (std::vector<WORD> {LBN_SELCHANGE, LBN_SELCHANGE, LBN_SELCHANGE}));

    // Setting the selection by message does not notify; a selection message on a single list is an error.
    Notifications.clear();
    EXPECT_EQ(SendMessage(box, LB_SETCURSEL, 7, 0), 7);
    EXPECT_EQ(SendMessage(box, LB_SETSEL, TRUE, 3), LB_ERR);
    EXPECT_EQ(SendMessage(box, LB_GETSEL, 7, 0), 1);
    EXPECT_TRUE(Notifications.empty());
    // Deleting the selected item leaves nothing selected.
    SendMessage(box, LB_DELETESTRING, 7, 0);
    EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListBoxTest, ScrollInformationFollowsTheItemsAndTheTopIndex)
{
    HWND box = Make(WS_VSCROLL, 200, 160, Numbered(5));
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetWindowLongPtr(box, GWL_STYLE) & WS_VSCROLL) << "nothing to scroll hides the bar";
    for (const std::string& item : Numbered(45))
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    int page = 160 / static_cast<int>(SendMessage(box, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_TRUE(GetScrollInfo(box, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 49);
    EXPECT_EQ(static_cast<int>(info.nPage), page);
    EXPECT_EQ(info.nPos, 0);

    SendMessage(box, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), page - 1) << "a page keeps one item in view";
    SendMessage(box, LB_SETTOPINDEX, 49, 0);
    EXPECT_EQ(GetScrollPos(box, SB_VERT), 50 - page) << "the last page stays full";
    SendMessage(box, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(GetScrollPos(box, SB_VERT), 0);
}

TEST_F(ListBoxTest, MultipleSelectionTogglesByClickAndSpace)
{
    HWND box = Make(LBS_MULTIPLESEL, 200, 160, Numbered(10));
    ClickItem(box, 1);
    ClickItem(box, 4, {VK_SHIFT}); // shift means nothing here: a click toggles
    ClickItem(box, 1);
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {4}));
    Press(VK_DOWN); // the caret moves, the selection stays
    EXPECT_EQ(SendMessage(box, LB_GETCARETINDEX, 0, 0), 2);
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {4}));
    Press(VK_SPACE);
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {2, 4}));
    EXPECT_EQ(SendMessage(box, LB_GETSELCOUNT, 0, 0), 2);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndControlClicks)
{
    HWND box = Make(LBS_EXTENDEDSEL, 200, 160, Numbered(10));
    struct Step {
        int item;
        std::vector<UINT> modifiers;
        std::vector<int> selected;
    } steps[] = {
        {1, {}, {1}},
        {4, {VK_SHIFT}, {1, 2, 3, 4}},                    // a range from the anchor
        {2, {VK_SHIFT}, {1, 2}},                          // the same anchor, a shorter range
        {6, {VK_CONTROL}, {1, 2, 6}},                     // control adds one and moves the anchor
        {8, {VK_CONTROL, VK_SHIFT}, {1, 2, 6, 7, 8}},     // both: the range is added
        {6, {VK_CONTROL}, {1, 2, 7, 8}},                  // control toggles off
        {3, {}, {3}},                                     // a plain click starts again
    };
    for (const Step& step : steps) {
        ClickItem(box, step.item, step.modifiers);
        EXPECT_EQ(SelectedItems(box), step.selected) << "after clicking " << step.item;
    }
    Press(VK_DOWN, VK_SHIFT);
    Press(VK_DOWN, VK_SHIFT);
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {3, 4, 5}));
    EXPECT_EQ(SendMessage(box, LB_GETANCHORINDEX, 0, 0), 3);
    Press(VK_DOWN, VK_CONTROL); // control moves only the caret
    EXPECT_EQ(SendMessage(box, LB_GETCARETINDEX, 0, 0), 6);
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {3, 4, 5}));
}

TEST_F(ListBoxTest, DragStretchesAnExtendedSelection)
{
    HWND box = Make(LBS_EXTENDEDSEL, 200, 160, Numbered(10));
    RECT first {}, last {};
    SendMessage(box, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&first));
    SendMessage(box, LB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&last));
    Backend.MouseMove(kLeft + 20, kTop + first.top + 2);
    Backend.MouseDown();
    Backend.MouseMove(kLeft + 20, kTop + last.top + 2);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(SelectedItems(box), (std::vector<int> {2, 3, 4, 5}));
    EXPECT_FALSE(Backend.MouseCaptured());
}

TEST_F(ListBoxTest, MultiColumnLaysItemsOutInColumnsAndScrollsSideways)
{
    HWND box = Make(LBS_MULTICOLUMN, 200, 100, Numbered(40));
    SendMessage(box, LB_SETCOLUMNWIDTH, 50, 0);
    int height = static_cast<int>(SendMessage(box, LB_GETITEMHEIGHT, 0, 0));
    int rows = 100 / height;
    RECT r {};
    SendMessage(box, LB_GETITEMRECT, rows + 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_TRUE(SameRect(r, RECT {50, height, 100, 2 * height}));
    LRESULT hit = SendMessage(box, LB_ITEMFROMPOINT, 0, MAKELPARAM(120, height / 2));
    EXPECT_EQ(LOWORD(hit), 2 * rows);
    EXPECT_EQ(HIWORD(hit), 0);

    SendMessage(box, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), rows);
    SendMessage(box, LB_SETCURSEL, 0, 0);
    SetFocus(box);
    Press(VK_RIGHT);
    EXPECT_EQ(SendMessage(box, LB_GETCURSEL, 0, 0), rows) << "right moves one column";
    Press(VK_END);
    int columns = (40 + rows - 1) / rows;
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), (columns - 4) * rows) << "four columns show";
}

TEST_F(ListBoxTest, TypeAheadFindsByPrefixAndStartsAgainAfterAPause)
{
    HWND box = Make(LBS_SORT, 200, 160, {"alpha", "bravo", "beta", "charlie", "banjo"});
    SetFocus(box);
    Backend.Char('b');
    Pump();
    EXPECT_EQ(Text(box, SendMessage(box, LB_GETCURSEL, 0, 0)), "banjo");
    Backend.Char('r');
    Pump();
    EXPECT_EQ(Text(box, SendMessage(box, LB_GETCURSEL, 0, 0)), "bravo");
    Backend.AdvanceClock(2000);
    Backend.Char('b'); // a new search: the next item starting with b
    Pump();
    EXPECT_EQ(Text(box, SendMessage(box, LB_GETCURSEL, 0, 0)), "banjo") << "wraps to the first b";
    Backend.AdvanceClock(2000);
    Backend.Char('c');
    Pump();
    EXPECT_EQ(Text(box, SendMessage(box, LB_GETCURSEL, 0, 0)), "charlie");
}

TEST_F(ListBoxTest, PaintsTheSelectedItemHighlighted)
{
    HWND box = Make(0, 200, 160, Numbered(5));
    SendMessage(box, LB_SETCURSEL, 1, 0);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 200;
    info.bmiHeader.biHeight = -160;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessage(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    RECT r {};
    SendMessage(box, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(GetPixel(dc, 190, r.top + 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(dc, 190, r.bottom + 2), GetSysColor(COLOR_WINDOW));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST_F(ListBoxTest, AMillionItemsStayUsable)
{
    HWND box = Make(LBS_EXTENDEDSEL, 200, 160);
    SendMessage(box, LB_INITSTORAGE, 1000000, 0);
    char text[32];
    for (int i = 0; i < 1000000; ++i) {
        snprintf(text, sizeof text, "row %d", i);
        SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    ClickItem(box, 0);
    Press(VK_END, VK_SHIFT);
    EXPECT_EQ(SendMessage(box, LB_GETSELCOUNT, 0, 0), 1000000);
    EXPECT_EQ(SendMessage(box, LB_GETCARETINDEX, 0, 0), 999999);
    SendMessage(box, LB_SETTOPINDEX, 500000, 0);
    UpdateWindow(Parent);
    EXPECT_EQ(SendMessage(box, LB_GETTOPINDEX, 0, 0), 500000);
    EXPECT_EQ(SendMessage(box, LB_FINDSTRINGEXACT, 500000, reinterpret_cast<LPARAM>("row 999998")), 999998);
    RECT r {};
    SendMessage(box, LB_GETITEMRECT, 500001, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, SendMessage(box, LB_GETITEMHEIGHT, 0, 0));
}

TEST(ItemViewTest, VariableHeightsPlaceAndScrollItems)
{
    ItemView view;
    view.SetVariableHeights(true);
    view.SetClient(100, 50);
    for (int h : {10, 20, 30, 10, 10, 40}) {
        ViewItem item;
        item.Height = h;
        view.Insert(-1, item);
    }
    RECT r {};
    view.ItemRect(2, &r);
    EXPECT_TRUE(SameRect(r, RECT {0, 30, 100, 60}));
    bool outside = true;
    EXPECT_EQ(view.ItemFromPoint({5, 35}, &outside), 2);
    EXPECT_FALSE(outside);
    EXPECT_EQ(view.FullyVisibleCount(), 2);
    EXPECT_EQ(view.MaxTop(), 4) << "the last two items fill the 50 pixels";
    view.EnsureVisible(4);
    EXPECT_EQ(view.Top(), 2) << "30 + 10 + 10 fill the 50 pixels exactly";
}

} // namespace
