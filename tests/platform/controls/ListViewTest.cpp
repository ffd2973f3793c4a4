// The list view and its header driven as a user drives them: raw clicks and keys through the headless backend,
// checked by the items' states, the parent's notification log, the rows the parent was asked for and a few
// pixels.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/WindowDCs.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

class ListViewTest : public testing::Test {
protected:
    static constexpr int kId = 7;
    static constexpr int kLeft = 10, kTop = 10;

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterListViewClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &ListViewTest::ParentProc;
        wc.lpszClassName = "ListViewTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "ListViewTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr,
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

    HWND Make(DWORD style, int columns = 3, int width = 400, int height = 200)
    {
        HWND view = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | style, kLeft, kTop, width, height, Parent,
            reinterpret_cast<HMENU>(uintptr_t(kId)), nullptr, nullptr);
        SendMessage(view, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        for (int c = 0; c < columns; ++c) {
            std::string caption = "Column " + std::to_string(c);
            LVCOLUMN column {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 100;
            column.pszText = caption.data();
            SendMessage(view, LVM_INSERTCOLUMN, c, reinterpret_cast<LPARAM>(&column));
        }
        Pump();
        return view;
    }
    static void AddItems(HWND view, const std::vector<std::string>& texts, bool withParams = false)
    {
        for (size_t i = 0; i < texts.size(); ++i) {
            LVITEM item {};
            item.mask = LVIF_TEXT | (withParams ? LVIF_PARAM : 0);
            item.iItem = static_cast<int>(i);
            item.pszText = const_cast<char*>(texts[i].c_str());
            item.lParam = static_cast<LPARAM>(i);
            SendMessage(view, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    static std::vector<std::string> Numbered(int n)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < n; ++i)
            texts.push_back("item " + std::to_string(i));
        return texts;
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    void ClickItem(HWND view, int index, std::vector<UINT> modifiers = {})
    {
        RECT r {LVIR_LABEL, 0, 0, 0};
        ASSERT_TRUE(SendMessage(view, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
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
    static std::vector<int> Selected(HWND view)
    {
        std::vector<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessage(view, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
            out.push_back(i);
        return out;
    }
    static std::string Text(HWND view, int index, int subItem = 0)
    {
        char buffer[128] = {};
        LVITEM item {};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessage(view, LVM_GETITEMTEXT, index, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    std::vector<UINT> Codes() const
    {
        std::vector<UINT> codes;
        for (const auto& n : Notifications)
            codes.push_back(n.Code);
        return codes;
    }
    int CountOf(UINT code) const
    {
        std::vector<UINT> codes = Codes();
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }

    struct Note {
        UINT Code;
        int Item;
        int SubItem;
        std::string Text;
        bool HasText;
    };

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && message == WM_NOTIFY)
            return Current->OnNotify(reinterpret_cast<NMHDR*>(lParam));
        if (Current && message == WM_DRAWITEM) {
            const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Current->Drawn.push_back({static_cast<int>(draw->itemID), draw->itemState});
            return TRUE;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    LRESULT OnNotify(NMHDR* header)
    {
        if (header->code == LVN_GETDISPINFO) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
            Asked.insert(info->item.iItem);
            if (info->item.mask & LVIF_TEXT) {
                std::string text = "r" + std::to_string(info->item.iItem) + "c" + std::to_string(info->item.iSubItem);
                std::strncpy(info->item.pszText, text.c_str(), static_cast<size_t>(info->item.cchTextMax - 1));
            }
            return 0;
        }
        if (header->code == LVN_ODCACHEHINT) {
            auto* hint = reinterpret_cast<NMLVCACHEHINT*>(header);
            Hints.emplace_back(hint->iFrom, hint->iTo);
            return 0;
        }
        Note note {header->code, -1, 0, "", false};
        if (header->code == LVN_BEGINLABELEDIT || header->code == LVN_ENDLABELEDIT) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
            note.Item = info->item.iItem;
            note.HasText = info->item.pszText != nullptr;
            if (note.HasText)
                note.Text = info->item.pszText;
            Notifications.push_back(note);
            return header->code == LVN_BEGINLABELEDIT ? RefuseEdit : AcceptEdit;
        }
        if (header->code == LVN_ODSTATECHANGED) {
            auto* range = reinterpret_cast<NMLVODSTATECHANGE*>(header);
            note.Item = range->iFrom;
            note.SubItem = range->iTo;
        } else if (header->code == LVN_ITEMCHANGED || header->code == LVN_COLUMNCLICK || header->code == NM_CLICK
            || header->code == LVN_BEGINDRAG) {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
            note.Item = nm->iItem;
            note.SubItem = nm->iSubItem;
        }
        Notifications.push_back(note);
        return 0;
    }

    static inline ListViewTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    std::vector<Note> Notifications;
    std::set<int> Asked;
    std::vector<std::pair<int, int>> Hints;
    std::vector<std::pair<int, UINT>> Drawn;
    LRESULT RefuseEdit = FALSE;
    LRESULT AcceptEdit = TRUE;
};

TEST_F(ListViewTest, OwnerDataAsksOnlyForTheRowsItShows)
{
    HWND view = Make(LVS_REPORT | LVS_OWNERDATA, 8, 500, 200);
    SendMessage(view, LVM_SETITEMCOUNT, 100000, 0);
    Asked.clear();
    UpdateWindow(view);
    int perPage = static_cast<int>(SendMessage(view, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(perPage, 3);
    ASSERT_FALSE(Asked.empty());
    // The rows wholly shown and the one cut by the bottom edge, nothing else.
    EXPECT_EQ(*Asked.begin(), 0);
    EXPECT_LE(*Asked.rbegin(), perPage);
    EXPECT_EQ(Hints.back(), std::make_pair(0, *Asked.rbegin()));

    SCROLLINFO info {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 99999);
    EXPECT_EQ(static_cast<int>(info.nPage), perPage);

    // A far jump by the bar's whole position (past 16 bits) asks only around the new top.
    info.fMask = SIF_POS;
    info.nPos = 70000;
    SetScrollInfo(view, SB_VERT, &info, TRUE);
    SendMessage(view, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70000 & 0xFFFF), 0);
    Asked.clear();
    UpdateWindow(view);
    EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), 70000);
    ASSERT_FALSE(Asked.empty());
    EXPECT_EQ(*Asked.begin(), 70000);
    EXPECT_LE(*Asked.rbegin(), 70000 + perPage);

    // Shown text comes from the parent.
    EXPECT_EQ(Text(view, 12345, 3), "r12345c3");
}

TEST_F(ListViewTest, SelectionWithShiftAndControlInBothStores)
{
    for (bool ownerData : {false, true}) {
        SCOPED_TRACE(ownerData ? "owner data" : "stored items");
        HWND view = Make(LVS_REPORT | (ownerData ? LVS_OWNERDATA : 0), 2, 400, 300);
        if (ownerData)
            SendMessage(view, LVM_SETITEMCOUNT, 12, 0);
        else
            AddItems(view, Numbered(12));
        Pump();
        SetFocus(view);

        ClickItem(view, 2);
        EXPECT_EQ(Selected(view), (std::vector<int> {2}));
        ClickItem(view, 5, {VK_SHIFT});
        EXPECT_EQ(Selected(view), (std::vector<int> {2, 3, 4, 5}));
        ClickItem(view, 3, {VK_CONTROL});
        EXPECT_EQ(Selected(view), (std::vector<int> {2, 4, 5}));
        // Control and shift add the span from the new mark (3) without dropping the rest.
        ClickItem(view, 8, {VK_CONTROL, VK_SHIFT});
        EXPECT_EQ(Selected(view), (std::vector<int> {2, 3, 4, 5, 6, 7, 8}));
        EXPECT_EQ(SendMessage(view, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 8);
        // Keys: shift extends from the mark, control moves only the focus, space selects there.
        Press(VK_DOWN, VK_SHIFT);
        EXPECT_EQ(Selected(view), (std::vector<int> {3, 4, 5, 6, 7, 8, 9}));
        Press(VK_DOWN, VK_CONTROL);
        EXPECT_EQ(SendMessage(view, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 10);
        EXPECT_EQ(Selected(view), (std::vector<int> {3, 4, 5, 6, 7, 8, 9}));
        Press(VK_SPACE, VK_CONTROL);
        EXPECT_EQ(Selected(view).back(), 10);
        Press(VK_HOME);
        EXPECT_EQ(Selected(view), (std::vector<int> {0}));
        EXPECT_EQ(SendMessage(view, LVM_GETSELECTEDCOUNT, 0, 0), 1);
        // An owner-data view reports ranges as one change.
        if (ownerData) {
            EXPECT_GT(CountOf(LVN_ODSTATECHANGED), 0);
        }
        DestroyWindow(view);
        Notifications.clear();
    }
}

TEST_F(ListViewTest, SingleSelectionAndVetoedChanges)
{
    HWND view = Make(LVS_REPORT | LVS_SINGLESEL, 1);
    AddItems(view, Numbered(5));
    Pump();
    ClickItem(view, 1);
    ClickItem(view, 3, {VK_SHIFT});
    EXPECT_EQ(Selected(view), (std::vector<int> {3}));
    ClickItem(view, 4, {VK_CONTROL});
    EXPECT_EQ(Selected(view), (std::vector<int> {4}));
    LVITEM state {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessage(view, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(Selected(view), (std::vector<int> {0}));
    // A click on no item clears the selection and reports item -1.
    Notifications.clear();
    Backend.Click(kLeft + 50, kTop + 190);
    Pump();
    EXPECT_TRUE(Selected(view).empty());
    ASSERT_FALSE(Notifications.empty());
    EXPECT_EQ(Notifications.back().Code, NM_CLICK);
    EXPECT_EQ(Notifications.back().Item, -1);
}

TEST_F(ListViewTest, InPlaceEditingCommitsOnEnterAndCancelsOnEscape)
{
    HWND view = Make(LVS_REPORT | LVS_EDITLABELS, 1);
    AddItems(view, {"alpha", "beta", "gamma"});
    Pump();
    ClickItem(view, 1);

    // F2 edits the focused item; typed text replaces the selected label; Enter keeps it.
    Press(VK_F2);
    HWND edit = reinterpret_cast<HWND>(SendMessage(view, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit);
    for (char c : std::string("delta"))
        Backend.Char(static_cast<uint32_t>(c));
    Press(VK_RETURN);
    EXPECT_EQ(SendMessage(view, LVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetFocus(), view);
    EXPECT_EQ(Text(view, 1), "delta");
    ASSERT_GE(Notifications.size(), 2u);
    const Note& end = Notifications.back();
    EXPECT_EQ(end.Code, LVN_ENDLABELEDIT);
    EXPECT_TRUE(end.HasText);
    EXPECT_EQ(end.Text, "delta");

    // Escape cancels: the parent hears a null text and the label stays.
    SendMessage(view, LVM_EDITLABEL, 2, 0);
    Backend.Char('x');
    Press(VK_ESCAPE);
    EXPECT_EQ(Text(view, 2), "gamma");
    EXPECT_EQ(Notifications.back().Code, LVN_ENDLABELEDIT);
    EXPECT_FALSE(Notifications.back().HasText);

    // A parent refusing the new text keeps the old one.
    AcceptEdit = FALSE;
    SendMessage(view, LVM_EDITLABEL, 0, 0);
    Backend.Char('z');
    Press(VK_RETURN);
    EXPECT_EQ(Text(view, 0), "alpha");

    // A parent refusing to start gets no editor.
    RefuseEdit = TRUE;
    EXPECT_EQ(SendMessage(view, LVM_EDITLABEL, 0, 0), 0);
    RefuseEdit = FALSE;

    // A slow second click on the focused item edits it once the double-click time has passed.
    AcceptEdit = TRUE;
    ClickItem(view, 1);
    EXPECT_EQ(SendMessage(view, LVM_GETEDITCONTROL, 0, 0), 0);
    ClickItem(view, 1);
    Backend.AdvanceClock(GetDoubleClickTime() + 10);
    Pump();
    EXPECT_NE(SendMessage(view, LVM_GETEDITCONTROL, 0, 0), 0);
    // Clicking elsewhere commits it.
    ClickItem(view, 2);
    EXPECT_EQ(SendMessage(view, LVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(Text(view, 1), "delta");
}

TEST_F(ListViewTest, RectanglesAndHitTestsPerView)
{
    HWND view = Make(LVS_REPORT, 3, 400, 200);
    AddItems(view, Numbered(30));
    Pump();
    HWND header = reinterpret_cast<HWND>(SendMessage(view, LVM_GETHEADER, 0, 0));
    RECT headerRect;
    GetClientRect(header, &headerRect);
    ASSERT_GT(headerRect.bottom, 0);

    RECT row {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    int height = row.bottom - row.top;
    EXPECT_EQ(row.top, headerRect.bottom + 2 * height);
    EXPECT_EQ(row.right - row.left, 300);
    RECT cell {LVIR_BOUNDS, 2, 0, 0};
    SendMessage(view, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, 200);
    EXPECT_EQ(cell.right, 300);

    struct Case {
        POINT at;
        UINT flags;
        int item;
    } cases[] = {
        {{50, row.top + 1}, LVHT_ONITEMLABEL, 2},
        {{250, row.top + 1}, LVHT_NOWHERE, -1}, // beside the label, without whole-row selection
        {{50, 1}, LVHT_ABOVE, -1},             // on the header
        {{-3, row.top}, LVHT_TOLEFT, -1},
    };
    for (const Case& c : cases) {
        LVHITTESTINFO hit {c.at, 0, 0, 0};
        EXPECT_EQ(SendMessage(view, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), c.item);
        EXPECT_EQ(hit.flags, c.flags) << c.at.x << "," << c.at.y;
    }
    SendMessage(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVHITTESTINFO hit {{250, row.top + 1}, 0, 0, 0};
    EXPECT_EQ(SendMessage(view, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
    EXPECT_EQ(hit.iSubItem, 2);

    // Scrolling by three rows' pixels moves the top by three rows; the rectangles follow.
    SendMessage(view, LVM_SCROLL, 0, 3 * height);
    EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), 3);
    RECT moved {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&moved));
    EXPECT_EQ(moved.top, row.top);

    // List style: columns of items side by side, scrolled a column at a time.
    AddItems(view, Numbered(30));
    SetWindowLongPtr(view, GWL_STYLE, (GetWindowLongPtr(view, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_LIST);
    Pump();
    int width = static_cast<int>(SendMessage(view, LVM_GETCOLUMNWIDTH, 0, 0));
    RECT first {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    int rows = 0;
    for (RECT r {LVIR_BOUNDS, 0, 0, 0}; rows < 30; ++rows) {
        r.left = LVIR_BOUNDS;
        SendMessage(view, LVM_GETITEMRECT, rows, reinterpret_cast<LPARAM>(&r));
        if (r.left != first.left)
            break;
    }
    ASSERT_GT(rows, 0);
    RECT next {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, rows, reinterpret_cast<LPARAM>(&next));
    EXPECT_EQ(next.left, first.left + width);
    EXPECT_EQ(next.top, first.top);
    SendMessage(view, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), rows);
    SendMessage(view, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(SendMessage(view, LVM_GETTOPINDEX, 0, 0), 2 * rows);

    // Icon style: a grid, left to right.
    SetWindowLongPtr(view, GWL_STYLE, (GetWindowLongPtr(view, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_ICON);
    Pump();
    RECT a {LVIR_BOUNDS, 0, 0, 0}, b {LVIR_BOUNDS, 0, 0, 0};
    SendMessage(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&a));
    SendMessage(view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&b));
    EXPECT_EQ(b.left, a.right);
    EXPECT_EQ(b.top, a.top);
}

TEST_F(ListViewTest, HeaderClicksTracksAndReorders)
{
    HWND view = Make(LVS_REPORT, 3);
    AddItems(view, Numbered(3));
    Pump();
    HWND header = reinterpret_cast<HWND>(SendMessage(view, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    char name[32] = {};
    GetClassName(header, name, sizeof name);
    EXPECT_STREQ(name, "SysHeader32");
    EXPECT_EQ(SendMessage(header, HDM_GETITEMCOUNT, 0, 0), 3);

    // A click on the second section asks the parent to sort by column 1.
    Backend.Click(kLeft + 150, kTop + 5);
    Pump();
    ASSERT_EQ(CountOf(LVN_COLUMNCLICK), 1);
    auto click = std::find_if(Notifications.begin(), Notifications.end(), [](const Note& n) { return n.Code == LVN_COLUMNCLICK; });
    EXPECT_EQ(click->SubItem, 1);

    // The divider: hit tests say so, and dragging it sizes the column.
    HDHITTESTINFO hit {{101, 5}, 0, 0};
    SendMessage(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER);
    EXPECT_EQ(hit.iItem, 0);
    Backend.MouseMove(kLeft + 100, kTop + 5);
    Backend.MouseDown();
    Backend.MouseMove(kLeft + 130, kTop + 5);
    Backend.MouseMove(kLeft + 160, kTop + 5);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(SendMessage(view, LVM_GETCOLUMNWIDTH, 0, 0), 160);
    RECT cell {LVIR_BOUNDS, 1, 0, 0};
    SendMessage(view, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, 160);
    EXPECT_EQ(CountOf(LVN_COLUMNCLICK), 1); // a divider drag is no click

    // Reordering through the order array moves the cells with their sections.
    int order[3] = {2, 0, 1};
    EXPECT_TRUE(SendMessage(view, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order)));
    cell = {LVIR_BOUNDS, 1, 0, 0};
    SendMessage(view, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, 100 + 160);
    RECT section {};
    SendMessage(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&section));
    EXPECT_EQ(section.left, 0);
    int bad[3] = {0, 0, 1};
    EXPECT_FALSE(SendMessage(view, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(bad)));
}

// Counts the column header's paints; the header's own procedure does the painting.
WNDPROC HeaderPaintsOldProc = nullptr;
int HeaderPaints = 0;
LRESULT CountHeaderPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++HeaderPaints;
    return CallWindowProc(HeaderPaintsOldProc, hwnd, message, wParam, lParam);
}

TEST_F(ListViewTest, ScrollingRowsLeavesTheHeaderAloneAndMovingItRepaintsIt)
{
    InstallGdiDCProvider(); // so that windows paint into their top-level's pixels
    HWND view = Make(LVS_REPORT | LVS_OWNERDATA, 6, 300, 200);
    SendMessage(view, LVM_SETITEMCOUNT, 1000, 0);
    UpdateWindow(Parent);
    HWND header = reinterpret_cast<HWND>(SendMessage(view, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    HeaderPaintsOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountHeaderPaints)));
    RECT box {};
    GetWindowRect(header, &box);
    const int headerHeight = box.bottom - box.top;
    ASSERT_GT(headerHeight, 4);
    // The header's middle line and a point on the first row, in the parent's pixels.
    auto headerLine = [&] {
        std::vector<uint32_t> line;
        for (int x = 0; x < 300; ++x)
            line.push_back(Backend.WindowPixel(Parent, kLeft + x, kTop + headerHeight / 2));
        return line;
    };
    const std::vector<uint32_t> lineBefore = headerLine();
    ASSERT_NE(std::set<uint32_t>(lineBefore.begin(), lineBefore.end()).size(), 1u) << "no header is shown";

    // Rows paged down: the rows are painted again, the header is not and still shows.
    const size_t hintsBefore = Hints.size();
    HeaderPaints = 0;
    SendMessage(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    UpdateWindow(Parent);
    EXPECT_GT(SendMessage(view, LVM_GETTOPINDEX, 0, 0), 0);
    EXPECT_GT(Hints.size(), hintsBefore) << "the rows were not painted again";
    EXPECT_EQ(HeaderPaints, 0);
    EXPECT_EQ(headerLine(), lineBefore);

    // Sideways the header moves with the columns and paints itself at its new place.
    SendMessage(view, WM_HSCROLL, SB_LINERIGHT, 0);
    UpdateWindow(Parent);
    const int dx = GetScrollPos(view, SB_HORZ);
    ASSERT_GT(dx, 0);
    EXPECT_GT(HeaderPaints, 0);
    const std::vector<uint32_t> lineAfter = headerLine();
    RECT client {};
    GetClientRect(view, &client);
    EXPECT_EQ(std::vector<uint32_t>(lineAfter.begin(), lineAfter.begin() + client.right - dx),
        std::vector<uint32_t>(lineBefore.begin() + dx, lineBefore.begin() + client.right));

    // A new column changes the header's sections: it paints again.
    HeaderPaints = 0;
    LVCOLUMN column {};
    column.mask = LVCF_WIDTH;
    column.cx = 50;
    SendMessage(view, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&column));
    UpdateWindow(Parent);
    EXPECT_GT(HeaderPaints, 0);
    SetWindowLongPtr(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderPaintsOldProc));
}

int CALLBACK_Descending(LPARAM a, LPARAM b, LPARAM sign)
{
    return static_cast<int>(sign) * static_cast<int>(a - b);
}

TEST_F(ListViewTest, SortingByCallbackCarriesStatesAlong)
{
    HWND view = Make(LVS_REPORT, 1);
    AddItems(view, {"a", "b", "c", "d"}, true);
    Pump();
    ClickItem(view, 1);
    EXPECT_TRUE(SendMessage(view, LVM_SORTITEMS, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&CALLBACK_Descending)));
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i)
        texts.push_back(Text(view, i));
    EXPECT_EQ(texts, (std::vector<std::string> {"d", "c", "b", "a"}));
    EXPECT_EQ(Selected(view), (std::vector<int> {2}));
    EXPECT_EQ(SendMessage(view, LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 2);

    LVFINDINFO find {LVFI_PARAM, nullptr, 3, {}, 0};
    EXPECT_EQ(SendMessage(view, LVM_FINDITEM, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 0);
    find = {LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP, "A", 0, {}, 0};
    EXPECT_EQ(SendMessage(view, LVM_FINDITEM, 3, reinterpret_cast<LPARAM>(&find)), 3);
}

TEST_F(ListViewTest, OwnerDrawnRowsAndPaintedSelection)
{
    HWND view = Make(LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED, 2, 300, 120);
    SendMessage(view, LVM_SETITEMCOUNT, 1000, 0);
    SetFocus(view);
    LVITEM state {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(view, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    Asked.clear();
    Drawn.clear();
    UpdateWindow(view);
    ASSERT_FALSE(Drawn.empty());
    EXPECT_EQ(Drawn.front().first, 0);
    EXPECT_LE(static_cast<int>(Drawn.size()), SendMessage(view, LVM_GETCOUNTPERPAGE, 0, 0) + 1);
    auto one = std::find_if(Drawn.begin(), Drawn.end(), [](const auto& d) { return d.first == 1; });
    ASSERT_NE(one, Drawn.end());
    EXPECT_EQ(one->second, ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(Asked.empty()); // drawing is the parent's: it is asked for nothing

    // Drawn by the view: the selected label in the highlight colour, the rest in the window colour.
    DestroyWindow(view);
    HWND plain = Make(LVS_REPORT | LVS_SHOWSELALWAYS, 2, 300, 120);
    AddItems(plain, Numbered(5));
    SendMessage(plain, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    SetFocus(plain);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 300;
    info.bmiHeader.biHeight = -120;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessage(plain, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    RECT label {LVIR_LABEL, 0, 0, 0};
    SendMessage(plain, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&label));
    EXPECT_EQ(GetPixel(dc, label.right - 3, label.top + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(GetPixel(dc, label.right - 3, label.bottom + 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(dc, label.right + 3, label.top + 1), GetSysColor(COLOR_WINDOW)) << "the sub-item is not selected";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
