#include "framed/FrEdit.h"

#include "FramedTestSupport.h"
#include "platform/controls/EditControl.h"
#include "platform/win/VirtualKeys.h"

namespace {

class FrEdits : public FramedTest {
protected:
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        Pump();
    }
};

} // namespace

TEST_F(FrEdits, TheBackgroundFollowsTheStateAndTheFocusColourFollowsTheColour)
{
    auto* edit = Add<TFrEdit>(10, 10, 120, 24);
    auto* other = Add<TFrEdit>(10, 50, 120, 24);
    edit->SetColor(clRed);
    EXPECT_EQ(edit->FocusColor(), clRed);
    edit->SetFocusColor(clYellow);
    edit->SetColor(clAqua);
    EXPECT_EQ(edit->FocusColor(), clYellow);
    edit->SetDisabledColor(clGray);
    ShowAndPaint();
    Focus(other);
    EXPECT_EQ(edit->TControl::Color(), clAqua);
    Focus(edit);
    EXPECT_EQ(edit->TControl::Color(), clYellow);
    Focus(other);
    EXPECT_EQ(edit->TControl::Color(), clAqua);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->TControl::Color(), clGray);
    EXPECT_EQ(edit->Color(), clAqua);
    // Stored: the colours, without a frame controller; the normal colour only while enabled.
    EXPECT_EQ(edit->StoredColors(), (std::vector<TFrStoredValue> { { "FocusColor", "clYellow" }, { "DisabledColor", "clGray" } }));
}

TEST_F(FrEdits, TheNonClientFrameIsPaintedInShadesOfTheColourOrInSystemColours)
{
    auto* memo = Add<TFrMemo>(10, 10, 150, 60);
    memo->SetFrameVisible(true);
    memo->SetFrameStyle(fsLowered);
    memo->SetColor(0xEAEAEA);
    auto* plain = Add<TFrMemo>(200, 10, 150, 60);
    plain->SetFrameVisible(true);
    plain->SetFrameStyle(fsLowered);
    ShowAndPaint();
    const TColor grey = 0xEAEAEA;
    EXPECT_EQ(Pixel(10, 40), Rgb(DarkenColor(grey, 50)));
    EXPECT_EQ(Pixel(80, 10), Rgb(DarkenColor(grey, 50)));
    EXPECT_EQ(Pixel(159, 40), Rgb(LightenColor(grey, 100)));
    EXPECT_EQ(Pixel(80, 69), Rgb(LightenColor(grey, 100)));
    EXPECT_EQ(Pixel(11, 40), Rgb(DarkenColor(grey, 100)));
    EXPECT_EQ(Pixel(158, 40), Rgb(LightenColor(grey, 50)));
    EXPECT_EQ(Pixel(200, 40), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(201, 40), Rgb(cl3DDkShadow));
    EXPECT_EQ(Pixel(349, 40), Rgb(clBtnHighlight));

    // Hot tracking with a hot style of none: while focused, only the ring in the background colour.
    auto* edit = Add<TFrEdit>(10, 100, 150, 24);
    edit->SetFrameStyle(fsFlat);
    edit->SetFrameColor(clRed);
    edit->SetFrameHotTrack(true);
    edit->SetFrameHotStyle(fsNone);
    EXPECT_TRUE(edit->FrameVisible());
    ShowAndPaint();
    EXPECT_EQ(Pixel(10, 110), Rgb(clRed));
    EXPECT_EQ(Pixel(11, 110), Rgb(clWindow));
    Focus(edit);
    Pump();
    EXPECT_TRUE(edit->HotNow());
    EXPECT_EQ(Pixel(10, 110), Rgb(clWindow));
    EXPECT_EQ(Pixel(11, 110), Rgb(clWindow));
}

TEST_F(FrEdits, ALinkedControllerShowsTheFrameAtOnce)
{
    TFrFrameController controller(nullptr);
    controller.SetFrameVisible(true);
    controller.SetFrameStyle(fsFlatBold);
    controller.SetFrameColor(clBlue);
    controller.SetColor(clYellow);
    auto* edit = Add<TFrEdit>(10, 10, 150, 24);
    ShowAndPaint();
    edit->SetFrameController(&controller);
    EXPECT_TRUE(edit->FrameVisible());
    EXPECT_EQ(edit->FrameStyle(), fsFlatBold);
    EXPECT_EQ(edit->Color(), clYellow);
    EXPECT_TRUE(edit->StoredColors().empty());
    Pump();
    EXPECT_EQ(Pixel(10, 20), Rgb(clBlue));
    EXPECT_EQ(Pixel(11, 20), Rgb(clBlue));
    // The controller's colour change reaches the edit, and its focus colour follows by the edit's own rule.
    controller.SetColor(clLime);
    EXPECT_EQ(edit->Color(), clLime);
}

TEST_F(FrEdits, TheMemoCountsLinesAndColumnsFromOne)
{
    auto* memo = Add<TFrMemo>(10, 10, 200, 60);
    memo->SetScrollBars(ssVertical);
    memo->SetWordWrap(false);
    std::string text;
    for (int i = 1; i <= 20; ++i)
        text += "line " + std::to_string(i) + (i < 20 ? "\r\n" : "");
    memo->SetText(text);
    std::vector<std::pair<int, int>> seen;
    memo->OnLineColChange = [&](TObject*, int line, int column) { seen.emplace_back(line, column); };
    ShowAndPaint();
    memo->SetSelStart(0);
    EXPECT_EQ(memo->Line(), 1);
    EXPECT_EQ(memo->Column(), 1);
    memo->SetLine(12);
    EXPECT_EQ(memo->Line(), 12);
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 11);
    memo->SetColumn(4);
    EXPECT_EQ(memo->Column(), 4);
    memo->SetColumn(9); // "line 12" has 7 characters: 8 is the last column
    EXPECT_EQ(memo->Column(), 4);
    memo->SetColumn(8);
    EXPECT_EQ(memo->Column(), 8);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.back(), std::make_pair(12, 8));
}

TEST_F(FrEdits, EnterMovesOnLikeTabAndNeverBreaksALine)
{
    auto* memo = Add<TFrMemo>(10, 10, 200, 60);
    memo->SetTabOnEnter(true);
    auto* next = Add<TFrEdit>(10, 100, 100, 24);
    ShowAndPaint();
    Focus(memo);
    Backend.Key('A');
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(memo->Text(), "a");
    EXPECT_TRUE(next->Focused());
}

TEST_F(FrEdits, PointerEnterAndLeaveAndTheHotFrame)
{
    auto* edit = Add<TFrEdit>(10, 10, 150, 24);
    edit->SetFrameHotTrack(true);
    edit->SetFrameHotColor(clRed);
    edit->SetFrameColor(clBlue);
    edit->SetFrameStyle(fsFlat);
    int enters = 0, leaves = 0;
    edit->OnMouseEnter = [&](TObject*) { ++enters; };
    edit->OnMouseLeave = [&](TObject*) { ++leaves; };
    auto* other = Add<TFrEdit>(10, 60, 150, 24);
    ShowAndPaint();
    Focus(other);
    EXPECT_EQ(Pixel(10, 20), Rgb(clBlue));
    Backend.MouseMove(50, 20);
    Pump();
    EXPECT_EQ(Pixel(10, 20), Rgb(clRed));
    EXPECT_EQ(Pixel(11, 20), Rgb(clRed));
    Backend.MouseMove(300, 200);
    Pump();
    EXPECT_EQ(Pixel(10, 20), Rgb(clBlue));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(FrEdits, AFailedMaskCheckRaisesOnlyTheHandlersMessage)
{
    auto* edit = Add<TFrEdit>(10, 10, 150, 24);
    edit->SetEditMask("000;1;_");
    ShowAndPaint();
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    std::string answer;
    edit->OnValidationFailed = [&](TObject*, std::string& message) { message = answer; };
    EXPECT_NO_THROW(edit->ValidateEdit());
    answer = "Three digits, please";
    try {
        edit->ValidateEdit();
        ADD_FAILURE() << "no exception";
    } catch (const EDBEditError& e) {
        EXPECT_EQ(e.Message(), "Three digits, please");
    }
}

TEST_F(FrEdits, TheMemoScrollsALineANotchAndReportsTheClipboardAfterAClick)
{
    auto* memo = Add<TFrMemo>(10, 10, 200, 60);
    memo->SetWordWrap(false);
    std::string text;
    for (int i = 1; i <= 30; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    memo->SetText(text);
    std::vector<std::pair<bool, bool>> reports;
    memo->OnClipboardChange = [&](TObject*, bool selection, bool hasText) { reports.emplace_back(selection, hasText); };
    ShowAndPaint();
    Backend.MouseMove(50, 30);
    Pump();
    Backend.Wheel(-120);
    Pump();
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    Backend.Wheel(-120);
    Pump();
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 2);
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(memo->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    reports.clear();
    Click(50, 30);
    ASSERT_FALSE(reports.empty());
    EXPECT_FALSE(reports.back().first);
}
