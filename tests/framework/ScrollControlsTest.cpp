// The framework's scrolling controls driven by raw input: TScrollBar over the "SCROLLBAR" window and TUpDown
// over the up-down window.
#include "ControlsTestSupport.h"

#include "framework/controls/StdCtrls.h"
#include "framework/controls/TScrollBar.h"
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
    Click(100 + 10 + 150, 100 + 20);             // the page area right of the thumb
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
    SCROLLINFO info {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
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
    EXPECT_EQ(log, (std::vector<std::string> { "changing 41000 up", "next", "changing 40000 down", "prev",
                       "changing 41000 up" }));
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

} // namespace
