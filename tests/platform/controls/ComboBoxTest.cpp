// The combo box driven as a user drives it (raw clicks, drags and keys through the headless backend), checked by
// the parent's notifications in order, the selection, the edit's text and where the list appears.
#include "ListTestSupport.h"

namespace {

class ComboBoxTest : public ListTestBase {
protected:
    static constexpr int kLeft = 20, kTop = 20, kWidth = 150, kHeight = 24;

    void SetUp() override
    {
        ListTestBase::SetUp();
        ASSERT_NE(RegisterComboBoxClass(), 0);
    }

    HWND Make(DWORD style, std::vector<std::string> items = {"apple", "banana", "cherry", "date", "elder"})
    {
        HWND combo = MakeChild(WC_COMBOBOX, style | WS_VSCROLL, kLeft, kTop, kWidth, style & CBS_SIMPLE && !(style & 2) ? 150 : kHeight);
        for (const auto& item : items)
            SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        Pump();
        Events.clear();
        return combo;
    }
    static HWND List(HWND combo)
    {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        SendMessage(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info.hwndList;
    }
    static HWND Edit(HWND combo)
    {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        SendMessage(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info.hwndItem == combo ? nullptr : info.hwndItem;
    }
    static bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    static int CurSel(HWND combo) { return static_cast<int>(SendMessage(combo, CB_GETCURSEL, 0, 0)); }
    static std::string Text(HWND w)
    {
        std::string text(static_cast<size_t>(GetWindowTextLength(w)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowText(w, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    // The screen point in the middle of the list's item.
    static POINT ItemPoint(HWND combo, int index)
    {
        RECT r {};
        SendMessage(List(combo), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return ScreenCentre(List(combo), r);
    }
    static POINT FacePoint() { return {kLeft + 40, kTop + kHeight / 2}; }
    static POINT ButtonPoint() { return {kLeft + kWidth - 6, kTop + kHeight / 2}; }
};

using CodeList = std::vector<UINT>;

TEST_F(ComboBoxTest, DropDownListOpensOnAClickAndTakesAClickedItem)
{
    HWND combo = Make(CBS_DROPDOWNLIST);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    EXPECT_TRUE(Events.empty()) << "the program's selection is not reported";

    ClickAt(FacePoint().x, FacePoint().y);
    ASSERT_TRUE(Dropped(combo));
    EXPECT_EQ(Codes(), (CodeList {CBN_SETFOCUS, CBN_DROPDOWN}));
    EXPECT_EQ(GetFocus(), combo);
    HWND list = List(combo);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT listRect, comboRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(combo, &comboRect);
    EXPECT_EQ(listRect.top, comboRect.bottom) << "below the combo box";
    EXPECT_EQ(listRect.left, comboRect.left);
    EXPECT_EQ(listRect.right - listRect.left, kWidth);
    const LRESULT itemHeight = SendMessage(combo, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_EQ(listRect.bottom - listRect.top, 5 * itemHeight + 2) << "five rows and the border";

    // The list never takes the focus; a click on an item takes it and closes.
    Events.clear();
    POINT p = ItemPoint(combo, 3);
    ClickAt(p.x, p.y);
    EXPECT_EQ(Codes(), (CodeList {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_FALSE(Dropped(combo));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(CurSel(combo), 3);
    EXPECT_EQ(Text(combo), "date");
    EXPECT_EQ(GetFocus(), combo);

    // Open again and click outside: nothing is taken, and what the pointer showed goes back.
    ClickAt(ButtonPoint().x, ButtonPoint().y);
    ASSERT_TRUE(Dropped(combo));
    Events.clear();
    p = ItemPoint(combo, 0);
    Backend.MouseMove(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 0) << "the item under the pointer is shown";
    EXPECT_TRUE(Codes().empty()) << "but not reported";
    ClickAt(300, 250);
    EXPECT_EQ(Codes(), (CodeList {CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(CurSel(combo), 3);
    EXPECT_FALSE(Dropped(combo));
}

TEST_F(ComboBoxTest, PressDragIntoTheListAndReleaseTakesTheItem)
{
    HWND combo = Make(CBS_DROPDOWNLIST);
    Backend.MouseMove(FacePoint().x, FacePoint().y);
    Backend.MouseDown();
    Pump();
    ASSERT_TRUE(Dropped(combo));
    POINT p = ItemPoint(combo, 2);
    Backend.MouseMove(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessage(List(combo), LB_GETCURSEL, 0, 0), 2);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Codes(), (CodeList {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(CurSel(combo), 2);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, KeysMoveTheSelectionAndOpenAndCloseTheList)
{
    HWND combo = Make(CBS_DROPDOWNLIST);
    SetFocus(combo);
    Pump();
    Events.clear();
    struct Step {
        const char* what;
        UINT key, modifier;
        CodeList codes;
        int selected;
        bool dropped;
    } steps[] = {
        {"down from no item", VK_DOWN, 0, {CBN_SELENDOK, CBN_SELCHANGE}, 0, false},
        {"down", VK_DOWN, 0, {CBN_SELENDOK, CBN_SELCHANGE}, 1, false},
        {"F4 opens", VK_F4, 0, {CBN_DROPDOWN}, 1, true},
        {"down in the open list", VK_DOWN, 0, {CBN_SELCHANGE}, 2, true},
        {"end", VK_END, 0, {CBN_SELCHANGE}, 4, true},
        {"escape reverts", VK_ESCAPE, 0, {CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_SELCHANGE}, 1, false},
        {"alt+down opens", VK_DOWN, VK_MENU, {CBN_DROPDOWN}, 1, true},
        {"up", VK_UP, 0, {CBN_SELCHANGE}, 0, true},
        {"enter takes it", VK_RETURN, 0, {CBN_SELENDOK, CBN_CLOSEUP}, 0, false},
        {"up at the first item", VK_UP, 0, {}, 0, false},
    };
    for (const Step& step : steps) {
        Events.clear();
        Press(step.key, step.modifier);
        EXPECT_EQ(Codes(), step.codes) << step.what;
        EXPECT_EQ(CurSel(combo), step.selected) << step.what;
        EXPECT_EQ(Dropped(combo), step.dropped) << step.what;
    }
    // Letters find items by their start.
    Events.clear();
    Backend.Char('c');
    Pump();
    EXPECT_EQ(CurSel(combo), 2);
    EXPECT_EQ(Text(combo), "cherry");
    EXPECT_EQ(Codes(), (CodeList {CBN_SELENDOK, CBN_SELCHANGE}));
    // Losing the focus closes an open list without taking its item.
    Press(VK_F4);
    Events.clear();
    SetFocus(Parent);
    Pump();
    EXPECT_EQ(Codes(), (CodeList {CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
    EXPECT_FALSE(Dropped(combo));
}

TEST_F(ComboBoxTest, EditFollowsTheSelectionAndTypingLeavesNoCurrentItem)
{
    HWND combo = Make(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    HWND edit = Edit(combo);
    ASSERT_NE(edit, nullptr);
    SendMessage(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(Text(edit), "cherry");
    EXPECT_EQ(Text(combo), "cherry");
    EXPECT_TRUE(Codes().empty()) << "the program's text is no edit change";

    SetFocus(combo);
    Pump();
    EXPECT_EQ(GetFocus(), edit) << "the focus goes on to the edit";
    EXPECT_EQ(Codes(), (CodeList {CBN_SETFOCUS}));
    Events.clear();
    Press(VK_DOWN);
    EXPECT_EQ(Text(edit), "date");
    EXPECT_EQ(Codes(), (CodeList {CBN_SELENDOK, CBN_SELCHANGE}));
    DWORD start = 0, end = 0;
    SendMessage(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u) << "the whole item is selected";

    // Typing replaces the selection; the closed list keeps no current item.
    Events.clear();
    Backend.Char('b');
    Pump();
    EXPECT_EQ(Text(combo), "b");
    EXPECT_EQ(Codes(), (CodeList {CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(CurSel(combo), -1);
    // Opened, the list shows the item the text starts; clicking the button again takes it.
    Events.clear();
    ClickAt(ButtonPoint().x, ButtonPoint().y);
    ASSERT_TRUE(Dropped(combo));
    EXPECT_EQ(SendMessage(List(combo), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(GetFocus(), edit);
    Press(VK_RETURN);
    EXPECT_EQ(Codes(), (CodeList {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(Text(edit), "banana");

    SendMessage(combo, CB_LIMITTEXT, 3, 0);
    SendMessage(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Backend.Char('x');
    Backend.Char('y');
    Backend.Char('z');
    Backend.Char('w');
    Pump();
    EXPECT_EQ(Text(combo), "xyz") << "the limit holds for typing";
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListUnderTheEdit)
{
    HWND combo = Make(CBS_SIMPLE);
    HWND list = List(combo);
    ASSERT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetParent(list), combo);
    RECT r {};
    SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    POINT p = ScreenCentre(list, r);
    ClickAt(p.x, p.y);
    EXPECT_EQ(GetFocus(), Edit(combo)) << "a click in the list focuses the edit";
    EXPECT_EQ(Codes(), (CodeList {CBN_SETFOCUS, CBN_SELCHANGE}));
    EXPECT_EQ(Text(combo), "banana");
    Events.clear();
    Backend.Click(p.x, p.y);
    Backend.Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Codes(), (CodeList {CBN_DBLCLK}));
    EXPECT_EQ(SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    EXPECT_FALSE(Dropped(combo)) << "a simple combo box has nothing to drop";
}

TEST_F(ComboBoxTest, OwnerDrawnComboAsksForTheFieldAndTheItems)
{
    MeasureHeight = [](int item, UINT_PTR) { return item == -1 ? 22 : 18; };
    HWND combo = MakeChild(WC_COMBOBOX, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, kLeft, kTop, kWidth, kHeight);
    std::vector<int> asked;
    for (const ParentEvent& e : Of(WM_MEASUREITEM)) {
        asked.push_back(e.Item);
        EXPECT_EQ(e.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(e.Id, static_cast<UINT>(kId));
    }
    EXPECT_EQ(asked, (std::vector<int> {0, -1}));
    EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 22);
    EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0), 18);
    for (const char* item : {"one", "two", "three"})
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SetFocus(combo);
    Events.clear();
    InvalidateRect(combo, nullptr, TRUE);
    UpdateWindow(combo);
    auto draws = Of(WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Item, 1);
    EXPECT_EQ(draws[0].State, ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(draws[0].From, combo);

    Events.clear();
    Press(VK_F4);
    UpdateWindow(List(combo));
    draws.clear();
    for (const ParentEvent& e : Of(WM_DRAWITEM))
        if (!(e.State & ODS_COMBOBOXEDIT))
            draws.push_back(e);
    ASSERT_EQ(draws.size(), 3u) << "the open list draws its items through the combo box's parent";
    for (const ParentEvent& e : draws) {
        EXPECT_EQ(e.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(e.From, combo);
        EXPECT_EQ(e.Rect.bottom - e.Rect.top, 18);
    }
    EXPECT_EQ(draws[1].State & ODS_SELECTED, ODS_SELECTED);

    Events.clear();
    SendMessage(combo, CB_DELETESTRING, 0, 0);
    ASSERT_EQ(Of(WM_DELETEITEM).size(), 1u);
    EXPECT_EQ(Of(WM_DELETEITEM)[0].CtlType, ODT_COMBOBOX);
}

TEST_F(ComboBoxTest, MessagesAnswerAsTheyShould)
{
    HWND combo = Make(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    struct {
        const char* what;
        UINT message;
        WPARAM wParam;
        const char* text;
        LRESULT result;
    } cases[] = {
        {"find a prefix", CB_FINDSTRING, static_cast<WPARAM>(-1), "CH", 2},
        {"find wraps", CB_FINDSTRING, 3, "b", 1},
        {"find exact", CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), "date", 3},
        {"select a string", CB_SELECTSTRING, static_cast<WPARAM>(-1), "el", 4},
        {"no such item", CB_SELECTSTRING, static_cast<WPARAM>(-1), "zz", CB_ERR},
        {"insert", CB_INSERTSTRING, 0, "first", 0},
        {"count", CB_GETCOUNT, 0, nullptr, 6},
        {"bad index", CB_GETLBTEXTLEN, 9, nullptr, CB_ERR},
        {"no selection", CB_SETCURSEL, static_cast<WPARAM>(-1), nullptr, CB_ERR},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendMessage(combo, c.message, c.wParam, reinterpret_cast<LPARAM>(c.text)), c.result) << c.what;
    EXPECT_EQ(Text(combo), "") << "no selection empties the edit";
    EXPECT_EQ(SendMessage(combo, CB_SETITEMDATA, 2, 77), CB_OKAY);
    EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 2, 0), 77);

    // The dropped width and rectangle; a list that would leave the work area opens above the combo box.
    EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 40, 0), kWidth) << "never narrower than the combo box";
    EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 220, 0), 220);
    SendMessage(combo, CB_SETMINVISIBLE, 3, 0);
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT dropped {};
    SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    RECT listRect;
    GetWindowRect(List(combo), &listRect);
    EXPECT_EQ(listRect.right - listRect.left, 220);
    EXPECT_EQ(listRect.bottom - listRect.top, 3 * SendMessage(combo, CB_GETITEMHEIGHT, 0, 0) + 2) << "three rows";
    EXPECT_EQ(dropped.bottom, listRect.bottom);
    EXPECT_EQ(dropped.right - dropped.left, 220);
    SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);

    RECT work {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(Parent, nullptr, 0, work.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    GetWindowRect(List(combo), &listRect);
    RECT comboRect;
    GetWindowRect(combo, &comboRect);
    EXPECT_EQ(listRect.bottom, comboRect.top) << "above, near the bottom of the work area";
}

TEST_F(ComboBoxTest, PartsAskTheParentForTheirColours)
{
    ColorBrush = CreateSolidBrush(RGB(0, 128, 0));
    HWND combo = Make(CBS_DROPDOWN);
    HWND edit = Edit(combo);
    HWND list = List(combo);
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    UpdateWindow(list);
    bool editAsked = false, listAsked = false;
    for (const ParentEvent& e : Events) {
        editAsked |= e.Message == WM_CTLCOLOREDIT && e.From == edit;
        listAsked |= e.Message == WM_CTLCOLORLISTBOX && e.From == list;
    }
    EXPECT_TRUE(editAsked) << "the edit's question reaches the combo box's parent";
    EXPECT_TRUE(listAsked) << "and so does the list's";
    RECT r {};
    SendMessage(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(list);
    EXPECT_EQ(GetPixel(dc, r.right - 3, (r.top + r.bottom) / 2), RGB(0, 128, 0)) << "the list wears the parent's brush";
    ReleaseDC(list, dc);
    SendMessage(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DeleteObject(ColorBrush);
    ColorBrush = nullptr;
}

} // namespace
