#include "framed/FrLabel.h"

#include "framed/FrCursors.h"

#include "FramedTestSupport.h"
#include "framework/controls/TTimer.h"
#include "platform/shell/ShellExecute.h"

namespace {

// A label that records the blink messages it receives.
class TBlinkRecorder : public TFrLabel {
public:
    using TFrLabel::TFrLabel;
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_FRBLINKSTATE)
            States.push_back(int(message.WParam));
        TFrLabel::WndProc(message);
    }
    std::vector<int> States;
};

class FrLabels : public FramedTest {
protected:
    // The clock moves in 100 ms steps; each step's current colour of `label` is recorded as 'B' (blink colour)
    // or '.' (font colour).
    std::string Phases(TFrLabel* label, int steps)
    {
        std::string phases;
        for (int i = 0; i < steps; ++i) {
            Backend.AdvanceClock(100);
            Pump();
            phases += label->CurrentColor() == label->BlinkColor() ? 'B' : '.';
        }
        return phases;
    }
};

} // namespace

TEST_F(FrLabels, BlinkingLabelsFlipInStepOnTheSharedTimerAndTheLastIntervalsWin)
{
    auto* first = Add<TBlinkRecorder>(10, 10, 80, 20);
    auto* second = Add<TBlinkRecorder>(10, 40, 80, 20);
    auto* still = Add<TBlinkRecorder>(10, 70, 80, 20);
    first->SetCaption("one");
    first->SetBlinkColor(clRed);
    first->SetBlinking(true);
    second->SetBlinking(true);
    first->SetBlinkIntervalOn(200);
    second->SetBlinkIntervalOn(300);
    second->SetBlinkIntervalOff(200);
    EXPECT_EQ(first->BlinkIntervalOn(), 300);
    ShowAndPaint();
    // The list starts "on" with the off interval of 500 ms: the first tick turns it off, then 300 ms on, 200 off.
    // The list's timer started with the first label; from the first "on" phase the intervals alternate.
    const std::string phases = Phases(first, 20);
    ASSERT_NE(phases.find('B'), std::string::npos);
    EXPECT_LE(phases.find('B'), 6u);
    EXPECT_EQ(phases.substr(phases.find('B'), 10), "BBB..BBB..");
    // The second label flips with the first, step for step.
    std::string firstSteps, secondSteps;
    for (int i = 0; i < 10; ++i) {
        Backend.AdvanceClock(100);
        Pump();
        firstSteps += first->CurrentColor() == first->BlinkColor() ? 'B' : '.';
        secondSteps += second->CurrentColor() == second->BlinkColor() ? 'B' : '.';
    }
    EXPECT_NE(firstSteps.find('B'), std::string::npos);
    EXPECT_NE(firstSteps.find('.'), std::string::npos);
    EXPECT_EQ(secondSteps, firstSteps);
    EXPECT_EQ(first->States, second->States);
    ASSERT_GE(first->States.size(), 4u);
    for (size_t i = 0; i < first->States.size(); ++i)
        EXPECT_EQ(first->States[i], int(i % 2)) << i;
    // A label that does not blink answers the query with 0 and never hears the state.
    EXPECT_EQ(still->Perform(CM_FRBLINKQUERY, 0, 0), 0);
    EXPECT_TRUE(still->States.empty());
    EXPECT_EQ(still->CurrentColor(), still->Font()->Color());

    // Switching blinking off shows the font colour at once.
    Backend.AdvanceClock(100);
    Pump();
    first->SetBlinking(false);
    EXPECT_EQ(first->CurrentColor(), first->Font()->Color());
}

TEST_F(FrLabels, TheBlinkColourShowsOnScreenAndNotWhileDisabled)
{
    auto* label = Add<TFrLabel>(10, 10, 100, 30);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 30);
    label->SetCaption("\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88"); // full blocks: solid text pixels
    label->Font()->SetColor(clBlack);
    label->Font()->SetSize(20);
    label->SetBlinkColor(clRed);
    label->SetBlinking(true);
    label->SetBlinkIntervalOff(100);
    label->SetBlinkIntervalOn(100);
    ShowAndPaint();
    auto textColour = [&] {
        for (int y = 10; y < 40; ++y)
            for (int x = 10; x < 110; ++x)
                if (Pixel(x, y) != Rgb(clWhite) && Pixel(x, y) != Rgb(label->Color()))
                    return Pixel(x, y);
        return 0xFFFFFFFFu;
    };
    EXPECT_EQ(textColour(), Rgb(clBlack));
    Backend.AdvanceClock(500); // off
    Pump();
    Backend.AdvanceClock(100); // on
    Pump();
    EXPECT_EQ(textColour(), Rgb(clRed));
    label->SetEnabled(false);
    label->Repaint();
    Pump();
    EXPECT_EQ(textColour(), Rgb(clBtnShadow));
    EXPECT_EQ(label->Perform(CM_FRBLINKQUERY, 0, 0), 1);
}

TEST_F(FrLabels, TheListLivesWhileALabelDoesAndStartsAgainAt500)
{
    EXPECT_EQ(BlinkingControlsList(), nullptr);
    auto* label = new TFrLabel(nullptr);
    ASSERT_NE(BlinkingControlsList(), nullptr);
    label->SetBlinkIntervalOff(100);
    label->SetBlinkIntervalOn(150);
    auto* other = new TFrLabel(nullptr);
    EXPECT_EQ(BlinkingControlsList()->Count(), 2);
    delete label;
    EXPECT_EQ(other->BlinkIntervalOn(), 150);
    delete other;
    EXPECT_EQ(BlinkingControlsList(), nullptr);
    TFrLabel again(nullptr);
    EXPECT_EQ(again.BlinkIntervalOff(), 500);
    EXPECT_EQ(again.BlinkIntervalOn(), 500);
    EXPECT_EQ(BlinkingControlsList()->Timer()->Interval(), 500u);
}

TEST_F(FrLabels, AnglesComeTo0To359AndTurnTheCaption)
{
    auto* label = Add<TFrLabel>(10, 10, 80, 20);
    const std::pair<int, int> cases[] = { { -30, 330 }, { 725, 5 }, { -400, 320 }, { 360, 0 }, { 90, 90 } };
    for (auto [given, kept] : cases) {
        label->SetAngle(given);
        EXPECT_EQ(label->Angle(), kept) << given;
    }
    label->SetRotation(roNone);
    EXPECT_EQ(label->Angle(), 0);
    label->SetAngle(45);
    EXPECT_EQ(label->Rotation(), roFlat);
    label->SetRotation(roCurve);
    label->SetCenterPoint(cpLowerCenter);
    label->SetRotation(roFlat);
    EXPECT_EQ(label->Angle(), 0);
    EXPECT_EQ(label->CenterPoint(), cpCenter);
}

TEST_F(FrLabels, ABoldFlatRingIsPaintedTwoPixelsWideButTakesNoRoomFromTheText)
{
    auto* plain = Add<TFrLabel>(10, 10, 10, 10);
    plain->SetCaption("Text");
    auto* bold = Add<TFrLabel>(10, 60, 10, 10);
    bold->SetCaption("Text");
    bold->SetBorderOuter(fsFlatBold);
    EXPECT_EQ(bold->BoundsRect(), Bounds(10, 60, plain->Width(), plain->Height()));
    EXPECT_EQ(bold->TextArea(), bold->ClientRect());
    auto* lowered = Add<TFrLabel>(10, 110, 10, 10);
    lowered->SetCaption("Text");
    lowered->SetBorderOuter(fsLowered);
    lowered->SetBorderWidth(3);
    EXPECT_EQ(lowered->Width(), plain->Width() + 2 * (2 + 3));
    EXPECT_EQ(lowered->TextArea(), Rect(5, 5, lowered->Width() - 5, lowered->Height() - 5));
    ShowAndPaint();
    EXPECT_EQ(Pixel(10, 65), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(11, 65), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(10, 115), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(11, 115), Rgb(cl3DDkShadow));
    EXPECT_EQ(Pixel(12, 115), Rgb(clBtnFace)); // the band
}

TEST_F(FrLabels, RecessedLightTextPaintsTheLightCopyThenTheCaption)
{
    auto* label = Add<TFrLabel>(10, 10, 100, 40);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 40);
    label->SetTransparent(true);
    label->SetCaption("\xE2\x96\x88");
    label->Font()->SetSize(16);
    label->Font()->SetColor(clBlack);
    label->SetTextStyle(tsRecessed);
    label->SetLightTextStyle(true);
    label->SetHighlightColor(clLime);
    label->SetLayout(tlCenter);
    ShowAndPaint();
    // The block's right and bottom edge show the light copy one pixel out; nothing is left of the dark copy.
    int right = -1, bottom = -1;
    for (int x = 10; x < 110; ++x)
        for (int y = 10; y < 50; ++y)
            if (Pixel(x, y) == Rgb(clBlack)) {
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    // Edges are smoothed: the light copy shows as green without red or blue beside and below the caption.
    auto greenish = [](uint32_t p) { return (p & 0xFF00FF) == 0 && (p & 0xFF00) != 0; };
    EXPECT_TRUE(greenish(Pixel(right + 1, bottom)) || greenish(Pixel(right + 2, bottom))) << std::hex << Pixel(right + 1, bottom);
    EXPECT_TRUE(greenish(Pixel(right, bottom + 1)) || greenish(Pixel(right, bottom + 2))) << std::hex << Pixel(right, bottom + 1);
    for (int x = 10; x < 110; ++x)
        for (int y = 10; y < 50; ++y)
            ASSERT_NE(Pixel(x, y), Rgb(clBtnShadow));
    // Centred vertically: as much room above the light copy as below it, within a pixel.
    int top = -1;
    for (int y = 10; y < 50 && top < 0; ++y)
        for (int x = 10; x < 110; ++x)
            if (Pixel(x, y) == Rgb(clBlack)) {
                top = y;
                break;
            }
    EXPECT_LE(std::abs((top - 10) - (49 - (bottom + 1))), 2);
}

TEST_F(FrLabels, FlyByChangesTheFontColourWhileThePointerIsOver)
{
    auto* label = Add<TFrLabel>(10, 10, 80, 20);
    label->SetCaption("Over me");
    label->Font()->SetColor(clBlack);
    label->SetFlyByEnabled(true);
    label->SetFlyByColor(clRed);
    int enters = 0, leaves = 0;
    label->OnMouseEnter = [&](TObject*) { ++enters; };
    label->OnMouseLeave = [&](TObject*) { ++leaves; };
    ShowAndPaint();
    Backend.MouseMove(14, 14);
    Pump();
    EXPECT_EQ(label->Font()->Color(), clRed);
    Backend.MouseMove(200, 200);
    Pump();
    EXPECT_EQ(label->Font()->Color(), clBlack);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(FrLabels, ALinkOpensItsUrlOrCaptionAndMarksItselfVisited)
{
    TShellCommandRecorder shell(true);
    std::vector<std::string> openWith;
    TOpenWithProc previous = SetOpenWithProc([&](const std::string& line) { openWith.push_back(line); });
    auto* link = Add<TFrURLLabel>(10, 10, 150, 20);
    EXPECT_EQ(link->Cursor(), crFrHandCursor);
    EXPECT_EQ(link->Font()->Color(), clHighlight);
    EXPECT_TRUE(link->Font()->Style().Contains(fsUnderline));
    link->SetCaption("https://example.org/caption");
    int clicks = 0;
    link->OnClick = [&](TObject*) { ++clicks; };
    link->Click();
    EXPECT_EQ(clicks, 1);
    ASSERT_FALSE(shell.Commands().empty());
    EXPECT_EQ(shell.Commands()[0].Argv.back(), "https://example.org/caption");
    EXPECT_TRUE(link->Visited());
    EXPECT_EQ(link->Font()->Color(), clPurple);

    // A blank target opens nothing.
    auto* blank = Add<TFrURLLabel>(10, 40, 150, 20);
    blank->SetCaption("  ");
    blank->SetURL(" ");
    const size_t before = shell.Commands().size();
    blank->Click();
    EXPECT_EQ(shell.Commands().size(), before);
    EXPECT_FALSE(blank->Visited());

    // A failed open of an .htm page (any case) offers the choice of a program; .html does not.
    shell.SetResult(false);
    for (const char* url : { "https://example.org/page.HtM", "https://example.org/page.html" }) {
        blank->SetURL(url);
        blank->Click();
    }
    EXPECT_FALSE(blank->Visited());
    EXPECT_EQ(openWith, (std::vector<std::string> { "RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm" }));
    SetOpenWithProc(previous);
}

TEST_F(FrLabels, TurnedAndCurvedCaptionsPaintInsideTheirLabel)
{
    auto* turned = Add<TFrLabel>(200, 10, 10, 10);
    turned->SetCaption("Turned text");
    turned->Font()->SetColor(clBlack);
    turned->SetAngle(90);
    // Only scalable faces turn: a bitmap face gives way to "Verdana".
    EXPECT_TRUE(FontIsTrueType(turned->Font()));
    auto* upright = Add<TFrLabel>(10, 10, 10, 10);
    upright->Font()->SetName(turned->Font()->Name());
    upright->SetCaption("Turned text");
    // Auto size turns the measured box: as wide as the text is high, as high as it is wide.
    EXPECT_EQ(turned->Rotation(), roFlat);
    EXPECT_EQ(turned->Width(), upright->Height());
    EXPECT_EQ(turned->Height(), upright->Width());
    auto* curved = Add<TFrLabel>(10, 150, 10, 10);
    curved->SetAutoSize(false);
    curved->SetBounds(10, 150, 120, 120);
    curved->SetCaption("Around and around");
    curved->Font()->SetColor(clBlack);
    curved->SetRotation(roCurve);
    curved->SetTextStyle(tsShadow);
    ShowAndPaint();
    auto inkBox = [&](const TRect& area) {
        TRect box { 10000, 10000, -1, -1 };
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (Pixel(x, y) == 0) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    };
    const TRect turnedInk = inkBox(Rect(150, 0, 400, 150));
    ASSERT_GE(turnedInk.Right, 0);
    EXPECT_GT(turnedInk.Bottom - turnedInk.Top, 2 * (turnedInk.Right - turnedInk.Left));
    EXPECT_GE(turnedInk.Left, turned->Left());
    EXPECT_LE(turnedInk.Right, turned->Left() + turned->Width());
    const TRect curvedInk = inkBox(Rect(0, 140, 150, 290));
    ASSERT_GE(curvedInk.Right, 0);
    EXPECT_GE(curvedInk.Left, 10);
    EXPECT_LE(curvedInk.Bottom, 270);
}
