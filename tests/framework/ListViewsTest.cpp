// TListView and THeaderControl on a shown form: their events from real clicks and keys through the headless
// backend, their items, columns and sections handed to the windows, and the owner-data and owner-draw paths.
#include "ControlsTestSupport.h"

#include "framework/controls/TCustomListView.h"
#include "framework/controls/THeaderControl.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/HeaderControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/win/VirtualKeys.h"

#include <set>

namespace {

class ListViewsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 500, 340);
        Form->Show();
    }
    TListView* MakeView(int columns, int x = 10, int y = 10, int width = 400, int height = 200)
    {
        auto* view = new TListView(Form);
        view->SetParent(Form);
        view->SetBounds(x, y, width, height);
        view->SetViewStyle(vsReport);
        for (int c = 0; c < columns; ++c) {
            TListColumn* column = view->Columns()->Add();
            column->SetCaption("Field " + std::to_string(c));
            column->SetWidth(80);
        }
        Pump();
        return view;
    }
    // The screen point of the middle of an item's label.
    TPoint ItemPoint(TListView* view, TListItem* item)
    {
        TRect r = item->DisplayRect(drLabel);
        TPoint p = view->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        return p;
    }
    void Type(const std::string& ascii)
    {
        for (char c : ascii)
            Backend.Char(static_cast<unsigned char>(c));
        Pump();
    }

    TForm* Form = nullptr;
};

TEST_F(ListViewsTest, OwnerDataViewFillsOnlyTheShownRowsAndDrawsThemItself)
{
    TListView* view = MakeView(8);
    view->SetOwnerData(true);
    view->SetOwnerDraw(true);
    view->SetMultiSelect(true);
    std::set<int> filled;
    view->OnData = [&](TObject*, TListItem* item) {
        filled.insert(item->Index());
        item->SetCaption("Job " + std::to_string(item->Index()));
    };
    std::vector<std::pair<int, bool>> drawn;
    view->OnDrawItem = [&](TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state) {
        drawn.emplace_back(item->Index(), state.Contains(ldsSelected));
        sender->Canvas()->TextOut(rect.Left + 2, rect.Top, item->Caption());
    };
    std::vector<std::pair<TListItem*, bool>> selections;
    view->OnSelectItem = [&](TObject*, TListItem* item, bool selected) { selections.emplace_back(item, selected); };
    view->Items()->SetCount(100000);
    Pump();

    ASSERT_FALSE(drawn.empty());
    int perPage = view->VisibleRowCount();
    EXPECT_LE(static_cast<int>(filled.size()), perPage + 1);
    EXPECT_EQ(*filled.begin(), 0);
    EXPECT_LE(*filled.rbegin(), perPage);

    // A click selects and reports the row; the selected row is drawn selected.
    TListItem* third = view->Items()->Item(2);
    Click(ItemPoint(view, third).X, ItemPoint(view, third).Y);
    EXPECT_EQ(view->ItemIndex(), 2);
    EXPECT_EQ(view->SelCount(), 1);
    ASSERT_FALSE(selections.empty());
    EXPECT_TRUE(selections.back().second);
    EXPECT_EQ(view->Selected()->Caption(), "Job 2");
    drawn.clear();
    view->Refresh();
    Pump();
    auto row = std::find_if(drawn.begin(), drawn.end(), [](const auto& d) { return d.first == 2; });
    ASSERT_NE(row, drawn.end());
    EXPECT_TRUE(row->second);

    // Scrolling far asks only around the new top; select-all and clearing are reported as one change each.
    filled.clear();
    TRect bounds = third->DisplayRect(drBounds);
    view->Scroll(0, 50000 * (bounds.Bottom - bounds.Top));
    Pump();
    ASSERT_FALSE(filled.empty());
    EXPECT_GE(*filled.begin(), 49990);
    EXPECT_LE(*filled.rbegin(), *filled.begin() + perPage);
    selections.clear();
    view->SelectAll();
    EXPECT_EQ(view->SelCount(), 100000);
    view->ClearSelection();
    EXPECT_EQ(view->SelCount(), 0);
    EXPECT_LE(selections.size(), 3u);
}

TEST_F(ListViewsTest, ShiftAndControlClicksSelectRangesOfAnOwnerDataView)
{
    TListView* view = MakeView(1);
    view->SetOwnerData(true);
    view->SetMultiSelect(true);
    int highest = -1;
    view->OnData = [&](TObject*, TListItem* item) {
        highest = std::max(highest, item->Index());
        item->SetCaption("Job " + std::to_string(item->Index()));
    };
    view->Items()->SetCount(100000);
    Pump();
    auto click = [&](int index, std::initializer_list<UINT> keys) {
        for (UINT key : keys)
            Backend.KeyDown(key);
        TPoint p = ItemPoint(view, view->Items()->Item(index));
        Click(p.X, p.Y);
        for (UINT key : keys)
            Backend.KeyUp(key);
        Pump();
    };
    auto selected = [&] {
        std::vector<int> rows;
        for (int i = 0; i < 10; ++i)
            if (view->Items()->Item(i)->Selected())
                rows.push_back(i);
        return rows;
    };
    click(2, {});
    click(5, { VK_SHIFT });
    EXPECT_EQ(selected(), (std::vector<int> { 2, 3, 4, 5 }));
    EXPECT_EQ(view->SelCount(), 4);
    click(3, { VK_CONTROL });
    EXPECT_EQ(selected(), (std::vector<int> { 2, 4, 5 }));
    EXPECT_EQ(view->SelCount(), 3);
    // Shift extends from the last click (3), dropping the rest; a plain click selects one row again.
    click(1, { VK_SHIFT });
    EXPECT_EQ(selected(), (std::vector<int> { 1, 2, 3 }));
    click(4, {});
    EXPECT_EQ(selected(), (std::vector<int> { 4 }));
    EXPECT_EQ(view->ItemIndex(), 4);
    // All along only the shown rows were asked for.
    EXPECT_LE(highest, view->VisibleRowCount());
}

TEST_F(ListViewsTest, StoredItemsShowTheirTextsAndEditInPlace)
{
    TListView* view = MakeView(2);
    for (const char* name : {"beta", "alpha", "gamma"}) {
        TListItem* item = view->Items()->Add();
        item->SetCaption(name);
        item->SubItems()->Add(std::string(name) + " detail");
    }
    Pump();
    char buffer[64] = {};
    LVITEM text {};
    text.iSubItem = 1;
    text.pszText = buffer;
    text.cchTextMax = sizeof buffer;
    SendMessage(view->Handle(), LVM_GETITEMTEXT, 1, reinterpret_cast<LPARAM>(&text));
    EXPECT_STREQ(buffer, "alpha detail");

    // The caption is edited in place: Enter keeps it and OnEdited may change it.
    std::string edited;
    view->OnEdited = [&](TObject*, TListItem*, std::string& s) {
        edited = s;
        s += "!";
    };
    TListItem* first = view->Items()->Item(0);
    first->SetSelected(true);
    first->SetFocused(true);
    ASSERT_TRUE(first->EditCaption());
    EXPECT_TRUE(view->IsEditing());
    Type("delta");
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_FALSE(view->IsEditing());
    EXPECT_EQ(edited, "delta");
    EXPECT_EQ(first->Caption(), "delta!");
    // Escape keeps the caption; OnEditing can refuse; a read-only view never edits.
    ASSERT_TRUE(first->EditCaption());
    Type("zzz");
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(first->Caption(), "delta!");
    view->OnEditing = [](TObject*, TListItem* item, bool& allow) { allow = item->Index() != 1; };
    EXPECT_FALSE(view->Items()->Item(1)->EditCaption());
    view->SetReadOnly(true);
    EXPECT_FALSE(first->EditCaption());

    // Sorting keeps the items' objects and their selection.
    TListItem* selected = view->Selected();
    ASSERT_TRUE(view->AlphaSort());
    std::vector<std::string> order;
    for (int i = 0; i < view->Items()->Count(); ++i)
        order.push_back(view->Items()->Item(i)->Caption());
    EXPECT_EQ(order, (std::vector<std::string> {"alpha", "delta!", "gamma"}));
    EXPECT_EQ(view->Selected(), selected);
    EXPECT_EQ(selected->Index(), 1);

    // Another view style keeps items and selection.
    view->SetViewStyle(vsList);
    Pump();
    EXPECT_EQ(view->Items()->Count(), 3);
    EXPECT_EQ(view->ItemIndex(), 1);
}

TEST_F(ListViewsTest, ColumnClicksAndWidthsFromTheHeader)
{
    TListView* view = MakeView(3);
    view->Items()->Add()->SetCaption("one");
    TListColumn* clicked = nullptr;
    view->OnColumnClick = [&](TObject*, TListColumn* column) { clicked = column; };
    TPoint header = view->ClientToScreen({120, 5});
    Click(header.X, header.Y);
    EXPECT_EQ(clicked, view->Columns()->Items(1));
    // Dragging the first divider widens the column as the window tells it.
    TPoint divider = view->ClientToScreen({80, 5});
    Backend.MouseMove(divider.X, divider.Y);
    Backend.MouseDown();
    Backend.MouseMove(divider.X + 40, divider.Y);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(view->Columns()->Items(0)->Width(), 120);
    // A column changed by the program reaches the window.
    view->Columns()->Items(2)->SetWidth(33);
    EXPECT_EQ(SendMessage(view->Handle(), LVM_GETCOLUMNWIDTH, 2, 0), 33);
    view->Columns()->Delete(0);
    EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(SendMessage(view->Handle(), LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(ListViewsTest, HeaderControlSectionsClicksAndBoundedTracking)
{
    auto* header = new THeaderControl(Form);
    header->SetParent(Form);
    for (int width : {100, 60, 80}) {
        THeaderSection* section = header->Sections()->Add();
        section->SetText("S" + std::to_string(width));
        section->SetWidth(width);
    }
    header->Sections()->Items(0)->SetMaxWidth(130);
    header->Sections()->Items(2)->SetStyle(hsOwnerDraw);
    std::vector<std::string> trace;
    header->OnSectionClick = [&](TCustomHeaderControl*, THeaderSection* s) { trace.push_back("click " + s->Text()); };
    header->OnSectionResize = [&](TCustomHeaderControl*, THeaderSection* s) {
        trace.push_back("resize " + std::to_string(s->Width()));
    };
    header->OnSectionTrack = [&](TCustomHeaderControl*, THeaderSection*, int, TSectionTrackState state) {
        if (state != tsTrackMove)
            trace.push_back(state == tsTrackBegin ? "begin" : "end");
    };
    int ownerDrawn = 0;
    header->OnDrawSection = [&](TCustomHeaderControl*, THeaderSection* s, TRect, bool) {
        ownerDrawn += s->Index() == 2;
    };
    Pump();
    EXPECT_GT(ownerDrawn, 0);
    EXPECT_EQ(header->Sections()->Items(2)->Left(), 160);

    TPoint p = header->ClientToScreen({130, 5});
    Click(p.X, p.Y);
    TPoint divider = header->ClientToScreen({100, 5});
    Backend.MouseMove(divider.X, divider.Y);
    Backend.MouseDown();
    Backend.MouseMove(divider.X + 60, divider.Y);
    Backend.MouseUp();
    Pump();
    // The drag asked for 160; the section's maximum holds it at 130.
    EXPECT_EQ(header->Sections()->Items(0)->Width(), 130);
    EXPECT_EQ(header->Sections()->Items(1)->Left(), 130);
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace.front(), "click S60");
    EXPECT_EQ(trace[1], "begin");
    EXPECT_EQ(trace.back(), "end");
    EXPECT_NE(std::find(trace.begin(), trace.end(), "resize 130"), trace.end());
}

} // namespace
