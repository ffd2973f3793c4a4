// TListBox over the platform list box: items with their objects before, during and after the window,
// owner drawing through the events, selection by clicks, and the positions of items.
#include "ControlsTestSupport.h"

#include "framework/controls/StdCtrls.h"
#include "framework/graphics/TCanvas.h"

namespace {

class ListBoxesTest : public ControlsTest {
protected:
    static constexpr int kFormX = 100, kFormY = 100;

    TListBox* MakeList(TForm* form, int x = 10, int y = 10, int width = 150, int height = 100)
    {
        auto* list = new TListBox(form);
        list->SetBounds(x, y, width, height);
        list->SetBorderStyle(bsNone);
        list->SetParent(form);
        return list;
    }
    // Objects are only carried, never touched: plain markers will do.
    static TObject* Marker(int n) { return reinterpret_cast<TObject*>(static_cast<uintptr_t>(0x1000 + n)); }

    void ClickItem(TListBox* list, int index)
    {
        TRect r = list->ItemRect(index);
        Click(kFormX + list->Left() + (r.Left + r.Right) / 2, kFormY + list->Top() + (r.Top + r.Bottom) / 2);
    }
};

TEST_F(ListBoxesTest, ItemsObjectsAndSelectionSurviveTheWindow)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* list = new TListBox(form);
    list->SetMultiSelect(true);
    // Before there is a window: the object keeps everything.
    for (int i = 0; i < 30; ++i)
        list->Items()->AddObject("item " + std::to_string(i), Marker(i));
    list->SetSelected(3, true);
    list->SetSelected(5, true);
    list->SetItemIndex(5);
    ASSERT_FALSE(list->HandleAllocated());
    list->SetBounds(10, 10, 150, 100);
    list->SetParent(form);
    form->Show();
    Pump();
    ASSERT_TRUE(list->HandleAllocated());

    auto check = [&](const char* when) {
        ASSERT_EQ(list->Count(), 30) << when;
        EXPECT_EQ(list->Items()->Strings(7), "item 7") << when;
        EXPECT_EQ(list->Items()->Objects(7), Marker(7)) << when;
        EXPECT_EQ(list->SelCount(), 2) << when;
        EXPECT_TRUE(list->Selected(3)) << when;
        EXPECT_TRUE(list->Selected(5)) << when;
        EXPECT_EQ(list->ItemIndex(), 5) << when;
    };
    check("after the window was made");
    list->SetTopIndex(12);
    // A change of style makes the window again.
    list->SetStyle(lbOwnerDrawFixed);
    check("after a re-creation");
    EXPECT_EQ(list->TopIndex(), 12);

    // Sorting re-sorts what the window is given; objects travel with their strings.
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Strings(0), "item 0");
    EXPECT_EQ(list->Items()->Strings(1), "item 1");
    EXPECT_EQ(list->Items()->Strings(2), "item 10");
    EXPECT_EQ(list->Items()->Objects(2), Marker(10));
    list->Items()->Add("item 100");
    EXPECT_EQ(list->Items()->IndexOf("ITEM 100"), 3);
    EXPECT_THROW(list->Items()->Strings(99), EStringListError);
}

TEST_F(ListBoxesTest, OwnerDrawingGoesThroughTheEvents)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* list = MakeList(form);
    list->SetStyle(lbOwnerDrawVariable);
    std::vector<int> measured;
    list->OnMeasureItem = [&](TWinControl*, int index, int& height) {
        measured.push_back(index);
        height = 20 + index * 2;
    };
    for (const char* text : {"zero", "one", "two", "three"})
        list->Items()->Add(text);
    form->Show();
    Pump();
    EXPECT_EQ(measured, (std::vector<int> {0, 1, 2, 3}));
    EXPECT_EQ(list->ItemRect(2).Top, 20 + 22);
    EXPECT_EQ(list->ItemRect(2).Bottom - list->ItemRect(2).Top, 24);

    struct Drawn {
        int index;
        bool selected, focused;
        TColor brush;
    };
    std::vector<Drawn> drawn;
    list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        TCanvas* canvas = static_cast<TListBox*>(control)->Canvas();
        drawn.push_back({index, state.Contains(odSelected), state.Contains(odFocused), canvas->Brush()->Color()});
        canvas->FillRect(rect);
    };
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    ClickItem(list, 1);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    list->Repaint();
    ASSERT_FALSE(drawn.empty());
    bool sawSelected = false;
    for (const Drawn& d : drawn) {
        if (d.index != 1)
            continue;
        sawSelected = true;
        EXPECT_TRUE(d.selected);
        EXPECT_TRUE(d.focused);
        EXPECT_EQ(d.brush, clHighlight) << "a selected item is drawn on the highlight";
    }
    EXPECT_TRUE(sawSelected);
    ClickItem(list, 1);
    EXPECT_EQ(clicks, 1) << "the same item again is no change";
}

TEST_F(ListBoxesTest, ItemAtPosAndItemRectFindTheItems)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* list = MakeList(form, 10, 10, 150, 100);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    for (int i = 0; i < 3; ++i)
        list->Items()->Add("row " + std::to_string(i));
    form->Show();
    Pump();
    struct {
        TPoint pos;
        bool existing;
        int index;
    } cases[] = {
        {{5, 5}, true, 0},
        {{5, 45}, true, 2},
        {{5, 70}, true, -1}, // past the items
        {{5, 70}, false, 3}, // where a new item would go
        {{200, 5}, false, -1}, // outside the list
    };
    for (const auto& c : cases)
        EXPECT_EQ(list->ItemAtPos(c.pos, c.existing), c.index) << c.pos.X << "," << c.pos.Y << " " << c.existing;
    EXPECT_EQ(list->ItemRect(3).Top, 60) << "the rectangle after the last item";

    // Two columns of 75 pixels; the horizontal bar leaves room for four rows of 20.
    list->SetColumns(2);
    for (int i = 3; i < 12; ++i)
        list->Items()->Add("row " + std::to_string(i));
    EXPECT_EQ(list->ItemRect(5).Left, 75);
    EXPECT_EQ(list->ItemRect(5).Top, 20);
    EXPECT_EQ(list->ItemAtPos({80, 25}, true), 5);
}

TEST_F(ListBoxesTest, IntegralHeightDropsAPartlyShownItem)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    struct {
        bool integral;
        int height, expected;
    } cases[] = {{true, 105, 100}, {true, 100, 100}, {false, 105, 105}};
    for (const auto& c : cases) {
        auto* list = new TListBox(form);
        list->SetStyle(lbOwnerDrawFixed);
        list->SetItemHeight(20);
        list->SetIntegralHeight(c.integral);
        list->SetBorderStyle(bsNone);
        list->SetBounds(10, 10, 100, c.height);
        list->SetParent(form);
        form->Show();
        Pump();
        EXPECT_EQ(list->Height(), c.expected) << c.integral << " " << c.height;
        delete list;
    }
}

} // namespace
