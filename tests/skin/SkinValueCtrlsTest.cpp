// The skinned check and radio box, gauge and track bar on the headless display: their state rules, groups,
// mouse, keys and wheel, the geometry of their default looks, and which piece of the skin sheet they show.
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinTrackBars.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <cmath>

namespace {

class SkinValueCtrlsTest : public SkinControlsTest {
protected:
    TspSkinCheckRadioBox* Box(int x, int y, TWinControl* parent = nullptr, bool skinned = false)
    {
        auto* box = Place<TspSkinCheckRadioBox>(x, y, 150, 25, skinned);
        if (parent)
            box->SetParent(parent);
        return box;
    }
    // Clicks and counts.
    static void Count(TControl* control, int& clicks) { control->OnClick = [&clicks](TObject*) { ++clicks; }; }
};

// ---- Check and radio box ---------------------------------------------------------------------------------------

TEST_F(SkinValueCtrlsTest, CheckingABoxOfAGroupUnchecksOnlyItsGroupOnItsParent)
{
    auto* other = Place<TspSkinCheckRadioBox>(200, 200, 150, 25, false);
    other->SetParent(nullptr);
    auto* panel = new TCustomControl(Form);
    panel->SetParent(Form);
    panel->SetBounds(200, 0, 150, 100);
    TspSkinCheckRadioBox* a = Box(0, 0);
    TspSkinCheckRadioBox* b = Box(0, 30);
    TspSkinCheckRadioBox* c = Box(0, 60);
    TspSkinCheckRadioBox* elsewhere = Box(0, 0, panel);
    TspSkinCheckRadioBox* ungrouped = Box(0, 90);
    for (TspSkinCheckRadioBox* box : { a, b, elsewhere })
        box->SetGroupIndex(1);
    c->SetGroupIndex(2);
    b->SetRadio(true);
    for (TspSkinCheckRadioBox* box : { b, c, elsewhere, ungrouped })
        box->SetChecked(true);
    int aClicks = 0, bClicks = 0;
    Count(a, aClicks);
    Count(b, bClicks);

    a->SetChecked(true);
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(b->State(), cbUnchecked);
    EXPECT_EQ(bClicks, 0) << "a radio box unchecked by its group fires nothing";
    EXPECT_TRUE(c->Checked()) << "another group";
    EXPECT_TRUE(elsewhere->Checked()) << "another parent";
    EXPECT_TRUE(ungrouped->Checked());
    EXPECT_EQ(aClicks, 1);

    b->SetRadio(false);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(aClicks, 2) << "a check box unchecked by its group fires its OnClick";
    a->SetState(cbChecked);
    EXPECT_TRUE(b->Checked()) << "SetState leaves the group alone";
    a->SetChecked(true);
    EXPECT_EQ(aClicks, 4) << "setting the same value fires again and unchecks the group";
    EXPECT_FALSE(b->Checked());
    delete other;
}

TEST_F(SkinValueCtrlsTest, ClicksCycleGrayedCheckBoxesAndNeverUncheckARadioBox)
{
    TspSkinCheckRadioBox* box = Box(10, 10);
    box->SetAllowGrayed(true);
    int clicks = 0;
    Count(box, clicks);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 4; ++i) {
        Click(20, 20);
        states.push_back(box->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState> { cbGrayed, cbChecked, cbUnchecked, cbGrayed }));
    EXPECT_EQ(clicks, 4);
    box->SetChecked(false);
    EXPECT_EQ(box->State(), cbGrayed) << "unchecking keeps a grayed state";
    EXPECT_FALSE(box->Checked());

    TspSkinCheckRadioBox* radio = Box(10, 50);
    radio->SetRadio(true);
    int radioClicks = 0;
    Count(radio, radioClicks);
    Click(20, 60);
    EXPECT_TRUE(radio->Checked());
    Click(20, 60);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(radioClicks, 1) << "a click on a checked radio box does nothing";

    // A right click changes nothing; neither does a left release after the pointer left the box.
    TspSkinCheckRadioBox* plain = Box(10, 90);
    Backend.AdvanceClock(1000);
    Backend.Click(20, 100, TRawButton::Right);
    Pump();
    EXPECT_FALSE(plain->Checked());
    Backend.AdvanceClock(1000);
    Backend.MouseMove(20, 100);
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(300, 250);
    Pump();
    plain->Perform(CM_MOUSELEAVE, 0, 0);
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(plain->Checked());
}

TEST_F(SkinValueCtrlsTest, SpaceTogglesTheFocusedBoxAndCanFocusedDecidesWhetherAClickTakesTheFocus)
{
    TspSkinCheckRadioBox* box = Box(10, 10);
    TspSkinCheckRadioBox* nofocus = Box(10, 50);
    nofocus->SetCanFocused(false);
    EXPECT_FALSE(box->TabStop()) << "the constructor leaves TabStop off";
    box->SetCanFocused(true);
    EXPECT_TRUE(box->TabStop());

    Click(20, 20);
    EXPECT_TRUE(box->Focused());
    EXPECT_TRUE(box->Checked());
    Backend.Key(VK_SPACE);
    Pump();
    EXPECT_FALSE(box->Checked());

    Click(20, 60);
    EXPECT_TRUE(nofocus->Checked()) << "the click still toggles";
    EXPECT_TRUE(box->Focused()) << "but the focus stays where it was";
    nofocus->SetFocus();
    Pump();
    Backend.Key(VK_SPACE);
    Pump();
    EXPECT_TRUE(nofocus->Checked()) << "without CanFocused the space key does nothing";
}

TEST_F(SkinValueCtrlsTest, TheCaptionsAcceleratorFocusesAndTogglesTheBox)
{
    TspSkinCheckRadioBox* box = Box(10, 10);
    box->SetCaption("&Apply");
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'A', 0), 1);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'B', 0), 0) << "another letter";
    box->SetCanFocused(false);
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'A', 0), 0) << "a box that takes no focus";
    EXPECT_TRUE(box->Checked());
}

TEST_F(SkinValueCtrlsTest, TheFlatDefaultLookDrawsItsMarkAtFixedPointsOverWhatLiesBehind)
{
    TspSkinCheckRadioBox* check = Box(10, 10);
    TspSkinCheckRadioBox* radio = Box(10, 50);
    radio->SetRadio(true);
    check->SetCaption("Check");
    check->SetChecked(true);
    radio->SetChecked(true);
    Pump();
    // The 14 x 14 mark frame from (3, 5) at height 25, the check mark from (7, 8), the radio square at (7, 9).
    EXPECT_EQ(At(10 + 3, 10 + 5), Rgb(clBtnShadow));
    EXPECT_EQ(At(10 + 16, 10 + 18), Rgb(clBtnShadow));
    EXPECT_EQ(At(10 + 7, 10 + 8 + 5), Rgb(clBlack));
    EXPECT_EQ(At(10 + 9, 50 + 9 + 2), Rgb(clBlack));
    EXPECT_EQ(At(10 + 12, 50 + 9 + 5), Rgb(clBlack));
    EXPECT_EQ(At(10 + 140, 10 + 3), Rgb(clWhite)) << "the form shows through";
    check->SetState(cbGrayed);
    Pump();
    EXPECT_EQ(At(10 + 7, 10 + 8 + 5), Rgb(clGrayText));
    Backend.MouseMove(20, 20);
    Pump();
    EXPECT_EQ(At(10 + 3, 10 + 5), Rgb(clNavy)) << "a hovered frame";
}

TEST_F(SkinValueCtrlsTest, ASkinnedBoxShowsTheMarkAndFaceOfItsStateAndHover)
{
    auto* flat = Place<TspSkinCheckRadioBox>(10, 10, 150, 25);
    ASSERT_NE(flat->GetSkinIndex(), -1);
    EXPECT_EQ(flat->Width(), 150) << "the skin never sizes a flat box";
    // The 13 x 13 mark at (3, 25 / 2 - 6).
    const int mx = 10 + 3 + 6;
    const int my = 10 + 6 + 6;
    EXPECT_EQ(At(mx, my), Sheet(113 + 6, 6));
    flat->SetChecked(true);
    Pump();
    EXPECT_EQ(At(mx, my), Sheet(100 + 6, 6));
    Backend.MouseMove(mx, my);
    Pump();
    EXPECT_EQ(At(mx, my), Sheet(126 + 6, 6)) << "hot checked";

    auto* face = Place<TspSkinCheckRadioBox>(10, 100, 150, 40);
    face->SetFlat(false);
    face->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(face->Width(), 80) << "a fixed face takes the skin's size";
    EXPECT_EQ(face->Height(), 25);
    EXPECT_EQ(At(10 + 1, 100 + 1), Sheet(1, 20 + 1));
    // The mark centred in (2, 2, 22, 23): at (6, 6).
    EXPECT_EQ(At(10 + 6 + 6, 100 + 6 + 6), Sheet(113 + 6, 6));
    Backend.MouseMove(10 + 40, 100 + 20);
    Pump();
    EXPECT_EQ(At(10 + 1, 100 + 1), Sheet(1, 45 + 1)) << "the hot face";
}

TEST_F(SkinValueCtrlsTest, AFocusedBoxShowsTheActiveFaceButItsMarkFollowsTheHoverAlone)
{
    auto* face = Place<TspSkinCheckRadioBox>(10, 100, 150, 40);
    face->SetFlat(false);
    face->SetSkinData(Skin);
    face->SetTabStop(true);
    Backend.MouseMove(300, 300);
    Pump();
    face->SetFocus();
    Pump();
    ASSERT_TRUE(face->Focused());
    EXPECT_EQ(At(10 + 1, 100 + 1), Sheet(1, 45 + 1)) << "the focused face";
    EXPECT_EQ(At(10 + 6 + 6, 100 + 6 + 6), Sheet(113 + 6, 6)) << "the plain unchecked mark";
    face->SetChecked(true);
    Pump();
    EXPECT_EQ(At(10 + 6 + 6, 100 + 6 + 6), Sheet(100 + 6, 6)) << "the plain checked mark";
    Backend.MouseMove(10 + 40, 100 + 20);
    Pump();
    EXPECT_EQ(At(10 + 6 + 6, 100 + 6 + 6), Sheet(126 + 6, 6)) << "hovered: the hot checked mark";
}

TEST_F(SkinValueCtrlsTest, AMorphingFaceStepsInExtendedPrecisionAndStopsItsTimer)
{
    auto* box = Place<TspSkinCheckRadioBox>(10, 10, 80, 25, false);
    box->SetFlat(false);
    box->SetSkinDataName("morphbox");
    box->SetSkinData(Skin);
    Pump();
    Backend.MouseMove(20, 20);
    Pump();
    std::vector<double> factors;
    int ticks = 0;
    while (box->MorphTimerRunning() && ticks < 20) {
        Backend.AdvanceClock(20);
        Pump();
        factors.push_back(box->MorphKf());
        ++ticks;
    }
    // Five steps stop just below 1, the sixth is limited to 1, the seventh closes.
    ASSERT_EQ(factors.size(), 7u);
    EXPECT_DOUBLE_EQ(factors[0], 0.2);
    EXPECT_LT(factors[4], 1.0);
    EXPECT_EQ(factors[5], 1.0);
    EXPECT_EQ(factors[6], 1.0);
    Backend.MouseMove(300, 250);
    Pump();
    ticks = 0;
    while (box->MorphTimerRunning() && ticks < 20) {
        Backend.AdvanceClock(20);
        Pump();
        ++ticks;
    }
    EXPECT_EQ(box->MorphKf(), 0.0);
}

// ---- Gauge -------------------------------------------------------------------------------------------------------

TEST_F(SkinValueCtrlsTest, TheGaugeCaptionTruncatesItsPercentage)
{
    auto* gauge = Place<TspSkinGauge>(10, 10, 100, 20, false);
    gauge->SetProgressText("Done ");
    gauge->SetShowProgressText(true);
    gauge->SetShowPercent(true);
    EXPECT_EQ(gauge->CaptionText(), "Done 50%") << "the text, then the number and the sign";
    gauge->SetShowProgressText(false);
    const struct {
        int Min, Max, Value;
        const char* Caption;
        int FillRight;
    } kCases[] = { { 0, 3, 1, "33%", 1 + 32 }, { 0, 3, 2, "66%", 1 + 65 }, { 5, 5, 5, "0%", 1 },
        { 0, 100, 100, "100%", 99 }, { -50, 50, 0, "50%", 1 + 49 } };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.Caption);
        gauge->SetMinValue(-1000);
        gauge->SetMaxValue(c.Max);
        gauge->SetMinValue(c.Min);
        gauge->SetValue(c.Value);
        EXPECT_EQ(gauge->CaptionText(), c.Caption);
        EXPECT_EQ(gauge->CalcProgressRect(Rect(1, 1, 99, 19)).Right, c.FillRight);
    }
    gauge->SetMinValue(0);
    gauge->SetMaxValue(100);
    gauge->SetValue(150);
    EXPECT_EQ(gauge->Value(), 100) << "clamped";
    gauge->SetMaxValue(40);
    EXPECT_EQ(gauge->Value(), 40);
}

TEST_F(SkinValueCtrlsTest, TheGaugeFillsFromTheSkinsBarWithFixedEnds)
{
    auto* gauge = Place<TspSkinGauge>(10, 10, 300, 50);
    EXPECT_EQ(gauge->Width(), 100) << "a fixed skin sizes the gauge";
    EXPECT_EQ(gauge->Height(), 20);
    // Value 50: the area (2, 2, 98, 18) fills to x 50: 48 columns, 5 from the bar's start, the middle tiled
    // from the bar's columns 5..34, 5 from its end.
    const int y = 10 + 2 + 3;
    EXPECT_EQ(At(10 + 2 + 1, y), Sheet(1, 90 + 3));
    EXPECT_EQ(At(10 + 2 + 10, y), Sheet(10, 90 + 3));
    EXPECT_EQ(At(10 + 2 + 36, y), Sheet(6, 90 + 3)) << "the second tile";
    EXPECT_EQ(At(10 + 2 + 46, y), Sheet(35 + 3, 90 + 3));
    EXPECT_EQ(At(10 + 60, y), Sheet(60, 70 + 5)) << "the face past the fill";
    EXPECT_EQ(At(10 + 1, 10 + 1), Sheet(1, 71));

    // A vertical gauge fills from the bottom; at 100 % the whole area.
    auto* vertical = Place<TspSkinGauge>(200, 10, 20, 60, false);
    vertical->SetSkinDataName("vgauge");
    vertical->SetSkinData(Skin);
    vertical->SetValue(100);
    Pump();
    EXPECT_TRUE(vertical->Vertical()) << "from the record";
    EXPECT_EQ(vertical->CalcProgressRect(vertical->NewProgressArea()).Top, 2);
    EXPECT_EQ(At(200 + 5, 10 + 2 + 1), Sheet(220 + 3, 1)) << "the bar's first rows at the top";
    EXPECT_EQ(At(200 + 5, 10 + 57), Sheet(220 + 3, 29)) << "its last rows at the bottom";
    vertical->SetMinValue(0);
    vertical->SetValue(0);
    Pump();
    EXPECT_EQ(At(200 + 5, 10 + 57), Sheet(200 + 5, 57)) << "empty: the face";
}

// ---- Track bar ---------------------------------------------------------------------------------------------------

TEST_F(SkinValueCtrlsTest, TheDefaultThumbStandsWhereTheRoundingToEvenPutsIt)
{
    auto* bar = Place<TspSkinTrackBar>(10, 10, 100, 20, false);
    const struct {
        int Width, Height, Min, Max, Value;
        bool Vertical;
        TRect Thumb;
    } kCases[] = {
        { 100, 20, 0, 100, 50, false, { 46, 2, 54, 18 } }, // first 6, last 94
        { 101, 20, 0, 100, 50, false, { 46, 2, 54, 18 } }, // 89 x 0.5 = 44.5 rounds to 44
        { 99, 20, 0, 100, 50, false, { 46, 2, 54, 18 } }, // 87 x 0.5 = 43.5 rounds to 44
        { 100, 20, 5, 5, 5, false, { 2, 2, 10, 18 } }, // an empty range: the minimum end
        { 100, 20, 0, 100, 100, false, { 90, 2, 98, 18 } },
        { 20, 100, 0, 100, 0, true, { 2, 90, 18, 98 } }, // vertical: the minimum at the bottom
        { 20, 100, 0, 100, 100, true, { 2, 2, 18, 10 } },
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) + " value " + std::to_string(c.Value));
        bar->SetBounds(10, 10, c.Width, c.Height);
        bar->SetVertical(c.Vertical);
        bar->SetMinValue(-1000);
        bar->SetMaxValue(c.Max);
        bar->SetMinValue(c.Min);
        bar->SetValue(c.Value);
        const TRect thumb = bar->CalcButtonRect(bar->TrackRect());
        EXPECT_EQ(thumb.Left, c.Thumb.Left);
        EXPECT_EQ(thumb.Top, c.Thumb.Top);
        EXPECT_EQ(thumb.Right, c.Thumb.Right);
        EXPECT_EQ(thumb.Bottom, c.Thumb.Bottom);
    }
    // Values from offsets: round((Max - Min) x offset / (last - first)), halves to even.
    bar->SetBounds(10, 10, 100, 20);
    bar->SetVertical(false);
    bar->SetMaxValue(5);
    bar->SetMinValue(0);
    bar->CalcButtonRect(bar->TrackRect());
    EXPECT_EQ(bar->CalcValue(44), 2) << "2.5 rounds to 2";
    EXPECT_EQ(bar->CalcValue(79), 4) << "4.49";
    EXPECT_EQ(bar->CalcValue(-7), 0);
    EXPECT_EQ(bar->CalcValue(500), 5);
}

TEST_F(SkinValueCtrlsTest, DragsJumpsKeysAndTheWheelFireTheirEvents)
{
    auto* bar = Place<TspSkinTrackBar>(10, 10, 100, 20, false);
    int changes = 0, lastChanges = 0, starts = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnLastChange = [&](TObject*) { ++lastChanges; };
    bar->OnStartDragButton = [&](TObject*) { ++starts; };

    // A press on the thumb that ends without moving.
    Click(10 + 50, 10 + 10);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(lastChanges, 1);
    EXPECT_EQ(bar->Value(), 50) << "a click on the thumb never jumps";

    // A drag by 22 pixels of 88: a quarter of the range.
    Backend.AdvanceClock(1000);
    Backend.MouseMove(10 + 50, 20);
    Backend.MouseDown();
    Backend.MouseMove(10 + 72, 20);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(bar->Value(), 75);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(lastChanges, 2);

    // A jump: OnChange without OnLastChange.
    bar->SetJumpWhenClick(true);
    // The thumb's half width and the default track's 2 from the left edge: offset 0.
    Click(10 + 4 + 2, 20);
    EXPECT_EQ(bar->Value(), 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(lastChanges, 2);

    // Keys and the wheel need CanFocused and the focus; the end of the range fires OnLastChange alone.
    Backend.Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Value(), 0) << "not focusable";
    bar->SetCanFocused(true);
    bar->SetFocus();
    Pump();
    Backend.Key(VK_LEFT);
    Pump();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(lastChanges, 3);
    Backend.Key(VK_UP);
    Backend.Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Value(), 2);
    Backend.MouseMove(10 + 50, 20);
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(bar->Value(), 1) << "wheel forward lowers a horizontal bar";
    bar->SetVertical(true);
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(bar->Value(), 2) << "and raises a vertical one";
    EXPECT_EQ(lastChanges, 7);

    // Without mouse support neither drags nor jumps; keys still work.
    bar->SetVertical(false);
    bar->SetMouseSupport(false);
    Click(10 + 90, 20);
    EXPECT_EQ(bar->Value(), 2);
    Backend.Key(VK_RIGHT);
    Pump();
    EXPECT_EQ(bar->Value(), 3);
}

TEST_F(SkinValueCtrlsTest, AVerticalJumpLandsOnThePointerWhenTheTrackMarginsAreEqual)
{
    auto* bar = Place<TspSkinTrackBar>(10, 10, 20, 100, false);
    bar->SetVertical(true);
    bar->SetJumpWhenClick(true);
    bar->SetValue(0);
    for (int y : { 50, 28, 94 }) {
        SCOPED_TRACE(y);
        Click(10 + 10, 10 + y);
        const TRect thumb = bar->CalcButtonRect(bar->TrackRect());
        EXPECT_EQ((thumb.Top + thumb.Bottom) / 2, y);
    }
    EXPECT_EQ(bar->Value(), 0) << "the bottom end is the minimum";
}

TEST_F(SkinValueCtrlsTest, TheSkinnedBarShowsTheActiveFaceUpToTheThumbAndTheDraggedThumb)
{
    auto* bar = Place<TspSkinTrackBar>(10, 10, 300, 60);
    EXPECT_EQ(bar->Width(), 100);
    // Thumb 10 wide: first 7, last 93, offset 43, left 45.
    const TRect thumb = bar->CalcButtonRect(bar->TrackRect());
    EXPECT_EQ(thumb.Left, 45);
    EXPECT_EQ(At(10 + 47, 10 + 2 + 3), Sheet(102, 113));
    EXPECT_EQ(At(10 + 10, 10 + 1), Sheet(10, 131)) << "the active face up to the thumb's centre";
    EXPECT_EQ(At(10 + 80, 10 + 1), Sheet(80, 111)) << "the normal face beyond";
    Backend.MouseMove(10 + 47, 10 + 5);
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(At(10 + 47, 10 + 2 + 3), Sheet(112, 113)) << "the dragged thumb";
    Backend.MouseUp();
    Pump();
}

} // namespace
