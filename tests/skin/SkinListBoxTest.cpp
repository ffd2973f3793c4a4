// The skinned list box and scroll box on the headless display: painting in the default and skinned looks, the
// skinned bars against the list's scroll state, tab stops, the caption buttons' auto-repeat on the virtual clock.
#include "framework/controls/ImgList.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/TspSkinListBox.h"
#include "tests/skin/SkinListsTestSupport.h"

namespace {

class SkinListBoxTest : public SkinListsTest {
protected:
    TspSkinListBox* List(int count, int x = 10, int y = 10, int width = 120, int height = 100)
    {
        auto* list = Place<TspSkinListBox>(x, y, width, height, false);
        for (int i = 0; i < count; ++i)
            list->Items()->Add("item " + std::to_string(i));
        Pump();
        return list;
    }
};

TEST_F(SkinListBoxTest, DefaultLookPaintsItemsAndFillsBelowTheLast)
{
    TspSkinListBox* list = List(3);
    list->SetItemIndex(1);
    Pump();
    // The frame: a clBtnShadow line; the list inside from (2, 2); items 20 high.
    EXPECT_EQ(At(10, 10), Rgb(clBtnShadow));
    EXPECT_EQ(At(14, 12 + 25), Rgb(clHighlight)); // item 1, left of its text
    EXPECT_EQ(At(14, 12 + 5), Rgb(clWindow));
    EXPECT_EQ(At(60, 12 + 80), Rgb(clWindow)); // below the last item
    EXPECT_EQ(list->ListBox()->ItemHeight(), 20);
}

TEST_F(SkinListBoxTest, BackgroundPaintMessageAnswersOnlyForAnEmptyList)
{
    TspSkinListBox* list = List(0);
    TBitmap bitmap;
    bitmap.SetSize(50, 50);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, 50, 50));
    const HDC dc = bitmap.Canvas()->Handle();
    EXPECT_EQ(list->ListBox()->Perform(CM_BGPAINT, reinterpret_cast<uintptr_t>(dc), CM_BGPAINTParam),
        CM_BGPAINTParam);
    EXPECT_EQ(Rgb(bitmap.Canvas()->Pixels(5, 5)), Rgb(clWindow));
    EXPECT_NE(list->ListBox()->Perform(CM_BGPAINT, 0, 1), CM_BGPAINTParam);
    list->Items()->Add("a");
    EXPECT_NE(list->ListBox()->Perform(CM_BGPAINT, 0, CM_BGPAINTParam), CM_BGPAINTParam);
}

TEST_F(SkinListBoxTest, TabWidthsTakeDigitsOnlyAndTheFirstTenLines)
{
    TStringList lines;
    for (const char* line : { "40", "abc", "", "12a", "7", "1", "2", "3", "4", "5", "99" })
        lines.Add(line);
    const std::vector<int> stops = TabStopsOf(&lines);
    EXPECT_EQ(stops, (std::vector<int> { 40, 0, 0, 0, 7, 1, 2, 3, 4, 5 }));
}

TEST_F(SkinListBoxTest, VerticalBarFollowsTheListsScrollState)
{
    // 100 high: 96 for the list, 4 rows of 20.
    TspSkinListBox* list = List(3);
    EXPECT_EQ(list->VScrollBar(), nullptr);
    for (int i = 3; i < 10; ++i)
        list->Items()->Add("item " + std::to_string(i));
    Pump();
    ASSERT_NE(list->VScrollBar(), nullptr);
    TspSkinScrollBar* bar = list->VScrollBar();
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 9);
    EXPECT_EQ(bar->PageSize(), 4);
    EXPECT_EQ(bar->Position(), 0);
    // The list narrows to make room for the bar.
    EXPECT_EQ(list->ListBox()->Width(), 120 - 20 - 2);
    // Moving the bar scrolls the list; scrolling the list moves the bar.
    bar->SetPosition(3);
    Pump();
    EXPECT_EQ(list->TopIndex(), 3);
    list->SetTopIndex(5);
    list->ListBox()->Invalidate();
    Pump();
    EXPECT_EQ(list->VScrollBar()->Position(), 5);
    // A row count equal to the item count keeps the bar away.
    list->SetRowCount(10);
    Pump();
    EXPECT_EQ(list->VScrollBar(), nullptr);
    EXPECT_EQ(list->Height(), 10 * 20 + 4);
}

TEST_F(SkinListBoxTest, HoldingTheDownCaptionButtonRepeatsAfterAPauseAndStopsAtTheLastItem)
{
    TspSkinListBox* list = List(5, 10, 10, 150, 150);
    list->SetCaptionMode(true);
    list->SetDefaultCaptionHeight(30);
    list->SetItemIndex(0);
    Pump();
    // Buttons 17 wide: up at (150 - 19, 2), down left of it.
    const int downX = 10 + 150 - 17 - 2 - 17 + 8;
    MoveTo(downX, 10 + 8);
    Press();
    EXPECT_EQ(list->ItemIndex(), 0);
    Backend.AdvanceClock(500);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 0); // the first tick only ends the pause
    Backend.AdvanceClock(100);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 1);
    for (int i = 0; i < 6; ++i) {
        Backend.AdvanceClock(100);
        Pump();
    }
    EXPECT_EQ(list->ItemIndex(), 4);
    // The release steps once more, here nowhere to go.
    MoveTo(300, 250);
    Release();
    EXPECT_EQ(list->ItemIndex(), 4);
}

TEST_F(SkinListBoxTest, CaptionButtonSizeFollowsTheCaptionHeight)
{
    struct Case {
        int captionHeight;
        int expectedSize;
    };
    for (const Case& c : { Case { 30, 17 }, Case { 15, 12 } }) {
        SCOPED_TRACE(c.captionHeight);
        TspSkinListBox* list = List(2, 10, 10, 150, 100);
        list->SetCaptionMode(true);
        list->SetDefaultCaptionHeight(c.captionHeight);
        list->SetItemIndex(0);
        Pump();
        // A click in the up button's leftmost column moves nothing (no item above); one column further left,
        // in the down button, moves one down.
        const int upLeft = 10 + 150 - c.expectedSize - 2;
        Click(upLeft - 1, 10 + 4);
        EXPECT_EQ(list->ItemIndex(), 1);
        Click(upLeft, 10 + 4);
        EXPECT_EQ(list->ItemIndex(), 0);
        delete list;
    }
}

TEST_F(SkinListBoxTest, SkinLookDrawsItemsFromTheSheet)
{
    TspSkinListBox* list = Place<TspSkinListBox>(10, 10, 100, 100, true);
    for (const char* s : { "a", "b", "c" })
        list->Items()->Add(s);
    list->SetItemIndex(1);
    Pump();
    // The list sits in the client part (4, 4) .. (96, 96): item 0 normal, item 1 active (not focused), each 18
    // high; a pixel at the item's right end, away from the text.
    EXPECT_EQ(list->ListBox()->ItemHeight(), 18);
    EXPECT_EQ(At(10 + 4 + 91, 10 + 4 + 2), Sheet(91, 170 + 2));
    EXPECT_EQ(At(10 + 4 + 91, 10 + 4 + 18 + 2), Sheet(91, 188 + 2));
}

} // namespace

// ---- The scroll box --------------------------------------------------------------------------------------------

#include "skin/lists/TspSkinScrollBox.h"

namespace {

class SkinScrollBoxTest : public SkinListsTest {
protected:
    // A 152 x 152 box (150 x 150 inside its one-pixel frame) with a bar beside it and a child reaching y 400.
    void Make(TAlign align = alNone)
    {
        Box = Place<TspSkinScrollBox>(10, 10, 152, 152, false);
        if (align != alNone)
            Box->SetAlign(align);
        Child = new TCustomControl(Form);
        Child->SetParent(Box);
        Child->SetBounds(0, 300, 50, 100);
        Bar = Place<TspSkinScrollBar>(170, 10, 20, 150, false);
        Bar->SetKind(sbVertical);
        Box->SetVScrollBar(Bar);
        Pump();
    }
    TspSkinScrollBox* Box = nullptr;
    TCustomControl* Child = nullptr;
    TspSkinScrollBar* Bar = nullptr;
};

TEST_F(SkinScrollBoxTest, ChildrenPastTheClientGiveTheRangeAndVScrollStopsAtTheLastPage)
{
    Make();
    ASSERT_EQ(Box->ClientRect().Bottom, 150);
    EXPECT_TRUE(Bar->Visible());
    EXPECT_EQ(Bar->Min(), 0);
    EXPECT_EQ(Bar->Max(), 399);
    EXPECT_EQ(Bar->PageSize(), 150);
    Box->VScroll(1000);
    EXPECT_EQ(Bar->Position(), 249);
    EXPECT_EQ(Child->Top(), 300 - 249);
}

TEST_F(SkinScrollBoxTest, RemovingTheChildThatScrolledBringsTheRestBackAndHidesTheBar)
{
    Make();
    auto* other = new TCustomControl(Form);
    other->SetParent(Box);
    other->SetBounds(0, 20, 30, 30);
    Box->VScroll(100);
    EXPECT_EQ(other->Top(), 20 - 100);
    delete Child;
    Box->UpdateScrollRange();
    EXPECT_EQ(other->Top(), 20);
    EXPECT_EQ(Bar->Max(), 0);
    EXPECT_EQ(Bar->PageSize(), 0);
    EXPECT_EQ(Bar->Position(), 0);
    EXPECT_FALSE(Bar->Visible());
}

TEST_F(SkinScrollBoxTest, AnAlignedBoxGrowingWhileScrolledMovesItsChildrenDown)
{
    Make(alTop);
    Box->VScroll(250);
    ASSERT_EQ(Bar->Position(), 249);
    Box->SetHeight(252);
    Pump();
    EXPECT_EQ(Bar->Position(), 149);
    EXPECT_EQ(Child->Top(), 300 - 149);
}

TEST_F(SkinScrollBoxTest, HidingTheVerticalBarTurnsTheHorizontalBarsCornerOff)
{
    Make();
    auto* horizontal = Place<TspSkinScrollBar>(10, 170, 150, 20, false);
    Box->SetHScrollBar(horizontal);
    Box->UpdateScrollRange();
    EXPECT_TRUE(horizontal->Both());
    delete Child;
    Box->UpdateScrollRange();
    EXPECT_FALSE(horizontal->Both());
}

} // namespace
