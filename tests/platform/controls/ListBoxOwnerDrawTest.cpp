// The owner-drawn list box as its owner sees it: which questions it asks (measure, compare), what it asks to
// have drawn and in which state, what it reports deleted, and the colours and horizontal scrolling of a list.
#include "ListTestSupport.h"

#include "platform/win/ScrollBars.h"

namespace {

class ListBoxOwnerDrawTest : public ListTestBase {
protected:
    static constexpr int kLeft = 10, kTop = 10;

    HWND Make(DWORD style, int width = 200, int height = 100)
    {
        return MakeChild(WC_LISTBOX, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | style, kLeft, kTop, width, height);
    }
    static void Add(HWND box, LPARAM value) { SendMessage(box, LB_ADDSTRING, 0, value); }
    static void AddText(HWND box, const char* text) { SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
    void Click(HWND box, int index)
    {
        RECT r {};
        SendMessage(box, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        POINT p = ScreenCentre(box, r);
        ClickAt(p.x, p.y);
    }
    // The draw records as (item, action, state).
    std::vector<std::tuple<int, UINT, UINT>> Draws() const
    {
        std::vector<std::tuple<int, UINT, UINT>> out;
        for (const ParentEvent& e : Of(WM_DRAWITEM))
            out.emplace_back(e.Item, e.Action, e.State);
        return out;
    }
};

using Draw = std::tuple<int, UINT, UINT>;

TEST_F(ListBoxOwnerDrawTest, VariableListMeasuresEachItemAsItIsInserted)
{
    MeasureHeight = [](int item, UINT_PTR) { return 10 + 5 * item; };
    HWND box = Make(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS);
    EXPECT_TRUE(Of(WM_MEASUREITEM).empty()) << "a variable list asks per item, not at creation";
    for (const char* text : {"a", "b", "c"})
        AddText(box, text);
    SendMessage(box, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("between"));

    auto measures = Of(WM_MEASUREITEM);
    ASSERT_EQ(measures.size(), 4u);
    std::vector<int> asked;
    for (const ParentEvent& e : measures) {
        asked.push_back(e.Item);
        EXPECT_EQ(e.CtlType, ODT_LISTBOX);
        EXPECT_EQ(e.Id, static_cast<UINT>(kId));
    }
    EXPECT_EQ(asked, (std::vector<int> {0, 1, 2, 1}));
    // Each item keeps the height it was given when it came in: a(10) between(15) b(15) c(20).
    struct {
        int item, top, height;
    } cases[] = {{0, 0, 10}, {1, 10, 15}, {2, 25, 15}, {3, 40, 20}};
    for (const auto& c : cases) {
        RECT r {};
        SendMessage(box, LB_GETITEMRECT, c.item, reinterpret_cast<LPARAM>(&r));
        EXPECT_EQ(r.top, c.top) << c.item;
        EXPECT_EQ(SendMessage(box, LB_GETITEMHEIGHT, c.item, 0), c.height) << c.item;
    }
}

TEST_F(ListBoxOwnerDrawTest, FixedListAsksOnceAtCreationAndDrawsEachVisibleItem)
{
    MeasureHeight = [](int, UINT_PTR) { return 30; };
    HWND box = Make(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 200, 100);
    ASSERT_EQ(Of(WM_MEASUREITEM).size(), 1u);
    EXPECT_EQ(Of(WM_MEASUREITEM)[0].Item, 0);
    EXPECT_EQ(SendMessage(box, LB_GETITEMHEIGHT, 0, 0), 30);
    for (int i = 0; i < 6; ++i)
        AddText(box, "x");
    EXPECT_EQ(Of(WM_MEASUREITEM).size(), 1u);
    SendMessage(box, LB_SETCURSEL, 1, 0);

    Events.clear();
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    // Background first (the owner's colour), then items 0..3 (the fourth partly shown), in full.
    ASSERT_FALSE(Events.empty());
    EXPECT_EQ(Events[0].Message, static_cast<UINT>(WM_CTLCOLORLISTBOX));
    EXPECT_EQ(Draws(), (std::vector<Draw> {{0, ODA_DRAWENTIRE, 0}, {1, ODA_DRAWENTIRE, ODS_SELECTED},
                           {2, ODA_DRAWENTIRE, 0}, {3, ODA_DRAWENTIRE, 0}}));
    auto draws = Of(WM_DRAWITEM);
    EXPECT_EQ(draws[2].Rect.top, 60);
    EXPECT_EQ(draws[2].Rect.bottom, 90);
    EXPECT_EQ(draws[2].From, box);
}

TEST_F(ListBoxOwnerDrawTest, SelectionAndFocusChangesRedrawOnlyTheItemsConcerned)
{
    HWND box = Make(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    for (int i = 0; i < 5; ++i)
        AddText(box, "x");
    SendMessage(box, LB_SETCURSEL, 1, 0);
    UpdateWindow(box);

    // Selection first, then the focus rectangle off the old item and onto the new one.
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<Draw> draws;
    } steps[] = {
        {"focus", [&] { SetFocus(box); }, {{1, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}},
        {"click on item 3", [&] { Click(box, 3); },
            {{1, ODA_SELECT, 0}, {3, ODA_SELECT, ODS_SELECTED | ODS_FOCUS}, {1, ODA_FOCUS, 0},
                {3, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}},
        {"down key", [&] { Press(VK_DOWN); },
            {{3, ODA_SELECT, 0}, {4, ODA_SELECT, ODS_SELECTED | ODS_FOCUS}, {3, ODA_FOCUS, 0},
                {4, ODA_FOCUS, ODS_SELECTED | ODS_FOCUS}}},
        {"focus lost", [&] { SetFocus(Parent); }, {{4, ODA_FOCUS, ODS_SELECTED}}},
    };
    for (auto& step : steps) {
        Events.clear();
        step.act();
        UpdateWindow(box);
        EXPECT_EQ(Draws(), step.draws) << step.what;
    }
}

TEST_F(ListBoxOwnerDrawTest, EmptyFocusedListDrawsTheFocusWithoutAnItem)
{
    HWND box = Make(LBS_OWNERDRAWFIXED);
    UpdateWindow(box);
    Events.clear();
    SetFocus(box);
    UpdateWindow(box);
    ASSERT_EQ(Draws(), (std::vector<Draw> {{-1, ODA_FOCUS, ODS_FOCUS}}));
    EXPECT_EQ(Of(WM_DRAWITEM)[0].Rect.top, 0);
}

TEST_F(ListBoxOwnerDrawTest, SortedListWithoutStringsAsksTheOwnerToCompareAndKeepsData)
{
    HWND box = Make(LBS_OWNERDRAWFIXED | LBS_SORT);
    for (LPARAM value : {30, 10, 20, 40, 5})
        Add(box, value);
    std::vector<LPARAM> order;
    for (int i = 0; i < 5; ++i) {
        LPARAM data = 0;
        EXPECT_EQ(SendMessage(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&data)), static_cast<LRESULT>(sizeof data));
        EXPECT_EQ(SendMessage(box, LB_GETITEMDATA, i, 0), data);
        order.push_back(data);
    }
    EXPECT_EQ(order, (std::vector<LPARAM> {5, 10, 20, 30, 40}));
    EXPECT_FALSE(Of(WM_COMPAREITEM).empty());
    EXPECT_LE(Of(WM_COMPAREITEM).size(), 10u) << "a binary search, not a walk";
    // Find compares the data.
    EXPECT_EQ(SendMessage(box, LB_FINDSTRING, -1, 20), 2);
    EXPECT_EQ(SendMessage(box, LB_FINDSTRING, -1, 21), LB_ERR);
}

TEST_F(ListBoxOwnerDrawTest, DeletedItemsAreReportedWithTheirData)
{
    HWND box = Make(LBS_OWNERDRAWFIXED);
    for (LPARAM value : {100, 200, 300, 400})
        Add(box, value);
    SendMessage(box, LB_DELETESTRING, 1, 0);
    auto deletes = Of(WM_DELETEITEM);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].Item, 1);
    EXPECT_EQ(deletes[0].Data, 200u);
    EXPECT_EQ(deletes[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(deletes[0].From, box);

    Events.clear();
    SendMessage(box, LB_RESETCONTENT, 0, 0);
    std::vector<UINT_PTR> data;
    for (const ParentEvent& e : Of(WM_DELETEITEM))
        data.push_back(e.Data);
    EXPECT_EQ(data, (std::vector<UINT_PTR> {100, 300, 400}));

    Add(box, 7);
    Events.clear();
    DestroyWindow(box);
    ASSERT_EQ(Of(WM_DELETEITEM).size(), 1u) << "the items left are reported when the window goes";
    EXPECT_EQ(Of(WM_DELETEITEM)[0].Data, 7u);

    // A plain list reports only items that carry data.
    HWND plain = Make(0);
    AddText(plain, "a");
    AddText(plain, "b");
    SendMessage(plain, LB_SETITEMDATA, 1, 55);
    Events.clear();
    SendMessage(plain, LB_RESETCONTENT, 0, 0);
    ASSERT_EQ(Of(WM_DELETEITEM).size(), 1u);
    EXPECT_EQ(Of(WM_DELETEITEM)[0].Data, 55u);
}

TEST_F(ListBoxOwnerDrawTest, OwnerColoursThePlainListBackgroundAndText)
{
    ColorBrush = CreateSolidBrush(RGB(200, 0, 0));
    ColorText = RGB(0, 0, 255);
    HWND box = Make(0, 200, 100);
    AddText(box, "WWWWWWWW");
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
    ASSERT_FALSE(Of(WM_CTLCOLORLISTBOX).empty());
    EXPECT_EQ(Of(WM_CTLCOLORLISTBOX)[0].From, box);
    HDC dc = GetDC(box);
    EXPECT_EQ(GetPixel(dc, 100, 80), RGB(200, 0, 0)) << "below the items";
    // Somewhere in the text's first letters is the owner's text colour.
    bool blue = false;
    for (int x = 2; x < 40 && !blue; ++x)
        for (int y = 2; y < 14 && !blue; ++y)
            blue = GetPixel(dc, x, y) == RGB(0, 0, 255);
    EXPECT_TRUE(blue);
    ReleaseDC(box, dc);
    DeleteObject(ColorBrush);
    ColorBrush = nullptr;
}

TEST_F(ListBoxOwnerDrawTest, SingleColumnListScrollsItsHorizontalExtent)
{
    HWND box = Make(WS_HSCROLL | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 200, 100);
    AddText(box, "wide");
    RECT client;
    GetClientRect(box, &client);
    const int width = client.right;

    SendMessage(box, LB_SETHORIZONTALEXTENT, 600, 0);
    EXPECT_EQ(SendMessage(box, LB_GETHORIZONTALEXTENT, 0, 0), 600);
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(box, SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 599);
    GetClientRect(box, &client); // the bar took its height
    EXPECT_EQ(static_cast<int>(info.nPage), static_cast<int>(client.right));

    SendMessage(box, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), width);
    RECT r {};
    SendMessage(box, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, -width) << "items move left with the bar";
    EXPECT_EQ(r.right, 600 - width);
    Events.clear();
    UpdateWindow(box);
    ASSERT_EQ(Of(WM_DRAWITEM).size(), 1u);
    EXPECT_EQ(Of(WM_DRAWITEM)[0].Rect.left, -width);

    SendMessage(box, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), 600 - width) << "the end of the extent at the right edge";
    SendMessage(box, LB_SETHORIZONTALEXTENT, 50, 0);
    SendMessage(box, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 0) << "an extent that fits scrolls back";
}

} // namespace
