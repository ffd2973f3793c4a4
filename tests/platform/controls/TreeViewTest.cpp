// The tree view driven as a user drives it: raw clicks and keys through the headless backend, checked by the
// items' states, the parent's notification log and the children it was asked for.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

class TreeViewTest : public testing::Test {
protected:
    static constexpr int kLeft = 10, kTop = 10;

    void SetUp() override
    {
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterTreeViewClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &TreeViewTest::ParentProc;
        wc.lpszClassName = "TreeViewTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(0, "TreeViewTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
            nullptr, nullptr, nullptr);
        Font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        Current = this;
        Tree = CreateWindowEx(0, WC_TREEVIEW, "",
            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS, kLeft, kTop, 300,
            200, Parent, nullptr, nullptr, nullptr);
        SendMessage(Tree, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        DeleteObject(Font);
        Current = nullptr;
        Backend.Uninstall();
    }

    HTREEITEM Add(HTREEITEM parent, const char* text, int children = 0, LPARAM param = 0)
    {
        TVINSERTSTRUCT insert {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.cChildren = children;
        insert.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    HTREEITEM Next(HTREEITEM item, UINT code)
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    RECT Rect(HTREEITEM item, bool label)
    {
        // The item goes in where the rectangle comes out.
        RECT r {};
        std::memcpy(&r, &item, sizeof item);
        SendMessage(Tree, TVM_GETITEMRECT, label, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void ClickAt(int x, int y)
    {
        Backend.Click(kLeft + x, kTop + y);
        Backend.AdvanceClock(1000);
        Pump();
    }
    void Press(UINT key)
    {
        Backend.Key(key);
        Pump();
    }
    std::string Text(HTREEITEM item)
    {
        char buffer[64] = {};
        TVITEM tv {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = buffer;
        tv.cchTextMax = sizeof buffer;
        SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&tv));
        return buffer;
    }
    UINT State(HTREEITEM item)
    {
        TVITEM tv {};
        tv.mask = TVIF_STATE;
        tv.hItem = item;
        tv.stateMask = 0xFFFF;
        SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&tv));
        return tv.state;
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current && message == WM_NOTIFY)
            return Current->OnNotify(reinterpret_cast<NMHDR*>(lParam));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    LRESULT OnNotify(NMHDR* header)
    {
        Codes.push_back(header->code);
        auto* nm = reinterpret_cast<NMTREEVIEW*>(header);
        if (header->code == TVN_ITEMEXPANDING && nm->action == TVE_EXPAND) {
            ++Expandings;
            // Children on demand: the item's lParam says how many.
            HTREEITEM item = nm->itemNew.hItem;
            if (!SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)))
                for (LPARAM i = 0; i < nm->itemNew.lParam; ++i)
                    Add(item, ("child " + std::to_string(i)).c_str());
            return FALSE;
        }
        if (header->code == TVN_SELCHANGING)
            return RefuseSelection && nm->itemNew.hItem == RefuseSelection;
        if (header->code == TVN_SELCHANGED)
            Causes.push_back(nm->action);
        if (header->code == TVN_ENDLABELEDIT) {
            auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
            EndTexts.push_back(info->item.pszText ? info->item.pszText : "<cancelled>");
            return TRUE;
        }
        return 0;
    }

    static inline TreeViewTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HWND Tree = nullptr;
    HFONT Font = nullptr;
    std::vector<UINT> Codes;
    std::vector<UINT> Causes;
    std::vector<std::string> EndTexts;
    int Expandings = 0;
    HTREEITEM RefuseSelection = nullptr;
};

TEST_F(TreeViewTest, ChildrenOnDemandAreAskedForOnce)
{
    HTREEITEM folder = Add(TVI_ROOT, "folder", 1, 3);
    HTREEITEM empty = Add(TVI_ROOT, "empty", 1, 0);
    EXPECT_EQ(Next(folder, TVGN_CHILD), nullptr);
    EXPECT_TRUE(SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder)));
    EXPECT_EQ(Expandings, 1);
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 5);
    EXPECT_TRUE(State(folder) & TVIS_EXPANDED);
    EXPECT_EQ(Next(folder, TVGN_NEXTVISIBLE), Next(folder, TVGN_CHILD));
    // Collapsing and expanding again by message does not ask again.
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(folder));
    EXPECT_EQ(Next(folder, TVGN_NEXTVISIBLE), empty);
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    EXPECT_EQ(Expandings, 1);
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 5);
    // A reset collapse drops the children: the next expansion asks again.
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(folder));
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 2);
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
    EXPECT_EQ(Expandings, 2);
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 5);

    // An item that said it had children but gets none loses its button.
    RECT row = Rect(empty, false);
    RECT label = Rect(empty, true);
    TVHITTESTINFO hit {{label.left - 19 / 2 - 3, (row.top + row.bottom) / 2}, 0, nullptr};
    SendMessage(Tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, TVHT_ONITEMBUTTON);
    EXPECT_FALSE(SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(empty)));
    SendMessage(Tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, TVHT_ONITEMINDENT);
}

TEST_F(TreeViewTest, MouseAndKeysExpandAndSelect)
{
    HTREEITEM a = Add(TVI_ROOT, "alpha", 1, 2);
    HTREEITEM b = Add(TVI_ROOT, "beta");
    Pump();
    // The button expands; the label selects.
    RECT row = Rect(a, false), label = Rect(a, true);
    int cy = (row.top + row.bottom) / 2;
    ClickAt(label.left - 19 / 2 - 3, cy);
    EXPECT_TRUE(State(a) & TVIS_EXPANDED);
    HTREEITEM child = Next(a, TVGN_CHILD);
    ASSERT_NE(child, nullptr);
    ClickAt(label.left + 3, cy);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
    EXPECT_TRUE(State(a) & TVIS_SELECTED);
    // A parent may refuse a selection.
    RefuseSelection = b;
    RECT bLabel = Rect(b, true);
    ClickAt(bLabel.left + 3, (bLabel.top + bLabel.bottom) / 2);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
    RefuseSelection = nullptr;

    // Keys: right goes into the expanded item, left back to the parent, left again collapses it.
    Press(VK_RIGHT);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), child);
    Press(VK_DOWN);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), Next(child, TVGN_NEXT));
    Press(VK_LEFT);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
    Press(VK_LEFT);
    EXPECT_FALSE(State(a) & TVIS_EXPANDED);
    Press(VK_END);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), b);
    ASSERT_GE(Causes.size(), 3u);
    EXPECT_EQ(Causes.front(), TVC_BYMOUSE);
    EXPECT_EQ(Causes.back(), TVC_BYKEYBOARD);

    // Collapsing a branch that holds the selection moves it to the branch.
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(Next(nullptr, TVGN_CARET), a);
    // Selecting a hidden item opens its branch.
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    EXPECT_TRUE(State(a) & TVIS_EXPANDED);
}

TEST_F(TreeViewTest, LabelsEditInPlace)
{
    HTREEITEM a = Add(TVI_ROOT, "alpha");
    Pump();
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    SetFocus(Tree);
    Press(VK_F2);
    ASSERT_NE(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
    for (char c : std::string("omega"))
        Backend.Char(static_cast<uint32_t>(c));
    Press(VK_RETURN);
    EXPECT_EQ(Text(a), "omega");
    SendMessage(Tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(a));
    Backend.Char('x');
    Press(VK_ESCAPE);
    EXPECT_EQ(Text(a), "omega");
    EXPECT_EQ(EndTexts, (std::vector<std::string> {"omega", "<cancelled>"}));
    EXPECT_EQ(GetFocus(), Tree);
}

TEST_F(TreeViewTest, LongTreesScrollByTheBarsWholePosition)
{
    SendMessage(Tree, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < 70000; ++i)
        Add(TVI_ROOT, "node");
    SendMessage(Tree, WM_SETREDRAW, TRUE, 0);
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(Tree, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 69999);
    EXPECT_EQ(static_cast<int>(info.nPage), SendMessage(Tree, TVM_GETVISIBLECOUNT, 0, 0));
    info.fMask = SIF_POS;
    info.nPos = 66000;
    SetScrollInfo(Tree, SB_VERT, &info, TRUE);
    SendMessage(Tree, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 66000 & 0xFFFF), 0);
    HTREEITEM first = Next(nullptr, TVGN_FIRSTVISIBLE);
    HTREEITEM walk = Next(nullptr, TVGN_ROOT);
    for (int i = 0; i < 66000 && walk; ++i)
        walk = Next(walk, TVGN_NEXT);
    EXPECT_EQ(first, walk);
}

} // namespace
