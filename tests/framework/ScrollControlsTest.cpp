// The framework's scrolling controls driven by raw input: TScrollBar over the "SCROLLBAR" window, TUpDown
// over the up-down window, and TScrollBox.
#include "ControlsTestSupport.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TScrollBar.h"
#include "framework/controls/TScrollingWinControl.h"
#include "framework/controls/TUpDown.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinSystem.h"

namespace {

class ScrollControlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        // The form's client area starts at (100, 100) on the screen.
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
    }
    void Drag(POINT from, POINT to)
    {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(from.x, from.y);
        Backend.MouseDown();
        Backend.MouseMove(to.x, to.y);
        Backend.MouseUp();
        Pump();
    }

    TForm* Form = nullptr;
};

TEST_F(ScrollControlsTest, TheScrollBarMovesByItsChangesReportsEachMoveAndKeepsWithinItsRange)
{
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(10, 10, 200, 20);
    bar->SetLargeChange(25);
    bar->SetSmallChange(5);
    std::vector<std::string> log;
    bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        log.push_back(std::to_string(code) + ":" + std::to_string(pos));
    };
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    Pump();
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    Click(100 + 10 + 200 - arrow / 2, 100 + 20); // the right arrow
    Click(100 + 10 + 150, 100 + 20); // the page area right of the thumb
    EXPECT_EQ(bar->Position(), 30);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 30);
    EXPECT_EQ(log, (std::vector<std::string> { "1:5", "8:5", "3:30", "8:30" }));
    EXPECT_EQ(changes, 2);

    // The handler may change where the bar goes.
    bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
        if (code == scLineDown)
            pos = 77;
    };
    Backend.Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Position(), 77);

    // With a page the highest position leaves the page's last line on Max; the ends go to the ends.
    bar->SetPageSize(10);
    bar->SetFocus();
    Backend.Key(VK_END);
    Pump();
    EXPECT_EQ(bar->Position(), 91);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 91);
    bar->SetPosition(1000);
    EXPECT_EQ(bar->Position(), 91);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_THROW(bar->SetMax(5), EInvalidOperation); // below the page
    EXPECT_EQ(bar->Max(), 100);
}

TEST_F(ScrollControlsTest, ADraggedThumbTakesTheWholePositionBeyondSixteenBits)
{
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Form);
    bar->SetBounds(10, 10, 200, 20);
    bar->SetParams(0, 0, 1000000);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
    Pump();
    SCROLLBARINFO info {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(bar->Handle(), OBJID_CLIENT, &info));
    const int thumb = 100 + 10 + (info.xyThumbTop + info.xyThumbBottom) / 2;
    // Drag the thumb to the far end.
    Drag({ thumb, 120 }, { 100 + 10 + 200, 120 });
    EXPECT_EQ(bar->Position(), 1000000);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[codes.size() - 3], scTrack);
    EXPECT_EQ(codes[codes.size() - 2], scPosition);
    EXPECT_EQ(codes.back(), scEndScroll);
}

TEST_F(ScrollControlsTest, AVerticalScrollBarKeepsItsValuesAcrossANewWindow)
{
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Form);
    bar->SetParams(40, 0, 50);
    bar->SetPageSize(5);
    Pump();
    const int width = bar->Width();
    const int height = bar->Height();
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->Width(), height);
    EXPECT_EQ(bar->Height(), width);
    SCROLLINFO info { sizeof info, SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(bar->Handle(), SB_CTL, &info));
    EXPECT_EQ(info.nMax, 50);
    EXPECT_EQ(info.nPage, 5u);
    EXPECT_EQ(info.nPos, 40);
}

TEST_F(ScrollControlsTest, TheUpDownStepsItsAssociatesNumberAndAsksBeforeEachStep)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 10, 100, 24);
    auto* upDown = new TUpDown(Form);
    upDown->SetParent(Form);
    upDown->SetMax(100000);
    upDown->SetIncrement(1000);
    upDown->SetAssociate(edit);
    upDown->SetPosition(40000);
    EXPECT_EQ(edit->Text(), "40,000");
    // Beside the edit, at its right, as tall as it.
    EXPECT_EQ(upDown->Left(), edit->Left() + edit->Width());
    EXPECT_EQ(upDown->Height(), 24);
    std::vector<std::string> log;
    upDown->OnClick = [&](TObject*, TUDBtnType button) { log.push_back(button == btNext ? "next" : "prev"); };
    bool allow = true;
    upDown->OnChangingEx = [&](TObject*, bool& allowChange, int newValue, TUpDownDirection direction) {
        log.push_back("changing " + std::to_string(newValue) + (direction == updUp ? " up" : " down"));
        allowChange = allow;
    };
    Pump();
    const TPoint origin = upDown->ClientToScreen(TPoint { 0, 0 });
    Click(origin.X + 4, origin.Y + 3);
    EXPECT_EQ(upDown->Position(), 41000);
    EXPECT_EQ(edit->Text(), "41,000");
    Click(origin.X + 4, origin.Y + 20);
    EXPECT_EQ(upDown->Position(), 40000);
    allow = false;
    Click(origin.X + 4, origin.Y + 3);
    EXPECT_EQ(upDown->Position(), 40000);
    EXPECT_EQ(log,
        (std::vector<std::string> { "changing 41000 up", "next", "changing 40000 down", "prev", "changing 41000 up" }));
    // The arrow keys in the edit step too, and a number typed there is where the next step starts.
    allow = true;
    edit->SetText("7");
    edit->SetFocus();
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(upDown->Position(), 1007);
    EXPECT_EQ(edit->Text(), "1,007");
    // Freed, the associate is forgotten.
    delete edit;
    EXPECT_EQ(upDown->Associate(), nullptr);
    Click(origin.X + 4, origin.Y + 3);
    EXPECT_EQ(upDown->Position(), 2007);
}

class ScrollBoxTest : public ScrollControlsTest {
protected:
    void SetUp() override
    {
        ScrollControlsTest::SetUp();
        Box = new TScrollBox(Form);
        Box->SetParent(Form);
        Box->SetBorderStyle(bsNone);
        Box->SetBounds(10, 10, 200, 150);
        Near = Add("Near", 10, 10);
        Far = Add("Far", 10, 360); // reaches y = 400
        Pump();
    }
    TEdit* Add(const char* name, int x, int y)
    {
        auto* edit = new TEdit(Form);
        edit->SetName(name);
        edit->SetParent(Box);
        edit->SetBounds(x, y, 100, 40);
        return edit;
    }
    bool BarShows(DWORD bit) const { return (GetWindowLongPtr(Box->Handle(), GWL_STYLE) & bit) != 0; }

    TScrollBox* Box = nullptr;
    TEdit* Near = nullptr;
    TEdit* Far = nullptr;
};

TEST_F(ScrollBoxTest, TheRangeFollowsTheChildrenAndScrollingMovesThem)
{
    TControlScrollBar* vert = Box->VertScrollBar();
    EXPECT_EQ(vert->Range(), 400);
    EXPECT_EQ(vert->ScrollRange(), 250);
    EXPECT_TRUE(BarShows(WS_VSCROLL));
    EXPECT_FALSE(BarShows(WS_HSCROLL));
    SCROLLINFO info { sizeof info, SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(Box->Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax, 400);
    EXPECT_EQ(info.nPage, 151u);

    vert->SetPosition(100);
    EXPECT_EQ(Far->Top(), 260);
    EXPECT_EQ(Near->Top(), -90);
    EXPECT_EQ(GetScrollPos(Box->Handle(), SB_VERT), 100);
    vert->SetPosition(1000); // no further than the content reaches
    EXPECT_EQ(vert->Position(), 250);
    EXPECT_EQ(Far->Top(), 110);

    // The window's bar: an arrow steps by Increment, a page by the client's height.
    const TPoint origin = Box->ClientToScreen(TPoint { 0, 0 });
    const int barX = origin.X + Box->ClientWidth() + 3;
    Click(barX, origin.Y + 3); // the up arrow
    EXPECT_EQ(vert->Position(), 242);
    Click(barX, origin.Y + 40); // the page area above the thumb
    EXPECT_EQ(vert->Position(), 92);

    // A child added further down widens the range; the one that made scrolling needed gone, the children
    // move back and the bar goes.
    Add("Wide", 150, 20);
    EXPECT_EQ(Box->HorzScrollBar()->Range(), 250);
    EXPECT_TRUE(BarShows(WS_HSCROLL));
    delete Box->FindChildControl("Wide");
    delete Far;
    EXPECT_EQ(vert->Range(), 50);
    EXPECT_EQ(vert->Position(), 0);
    EXPECT_EQ(Near->Top(), 10);
    EXPECT_FALSE(BarShows(WS_VSCROLL));
    EXPECT_FALSE(BarShows(WS_HSCROLL));
}

TEST_F(ScrollBoxTest, TheFocusedChildIsScrolledIntoViewAndWithoutAutoScrollTheRangeIsSetByHand)
{
    Near->SetFocus();
    Pump();
    Backend.Key(VK_TAB);
    Pump();
    ASSERT_TRUE(Far->Focused());
    // Just far enough that its bottom edge shows.
    EXPECT_EQ(Box->VertScrollBar()->Position(), 400 - 150);
    Backend.Key(VK_TAB);
    Pump();
    EXPECT_EQ(Box->VertScrollBar()->Position(), 10);
    EXPECT_EQ(Near->Top(), 0);

    Box->VertScrollBar()->SetMargin(5);
    Box->VertScrollBar()->SetPosition(100);
    Box->ScrollInView(Near);
    EXPECT_EQ(Near->Top(), 5);

    // Turning AutoScroll off takes the bars away; a range set by hand brings them back.
    Box->SetAutoScroll(false);
    EXPECT_FALSE(BarShows(WS_VSCROLL));
    EXPECT_EQ(Near->Top(), 10);
    Box->VertScrollBar()->SetRange(1000);
    EXPECT_TRUE(BarShows(WS_VSCROLL));
    EXPECT_FALSE(Box->AutoScroll());
}

} // namespace
