// The frame-strip controls on the headless display: strips from the skin and default strips, the switch and
// the animation stepping on the virtual clock, the gauge's frame for a value and the regulator's drags.
#include "skin/controls/SkinFrameCtrls.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cmath>

namespace {

constexpr uint32_t kSeed = 5;

// Exposes the regulator's drag for tests that steer the pointer by angle.
class TTestRegulator : public TspSkinFrameRegulator {
public:
    using TspSkinFrameRegulator::TspSkinFrameRegulator;
    using TspSkinFrameRegulator::MouseDown;
    using TspSkinFrameRegulator::MouseMove;
    using TspSkinFrameRegulator::MouseUp;
};

// The point at `angle` degrees (0 below the centre, clockwise) on a circle around the control's centre.
TPoint AtAngle(const TControl* control, double angle, double radius = 20)
{
    const double rad = angle * 3.14159265358979323846 / 180.0;
    const int cx = control->Width() / 2;
    const int cy = control->Height() / 2;
    return TPoint { cx - static_cast<int>(std::lround(radius * std::sin(rad))),
        cy + static_cast<int>(std::lround(radius * std::cos(rad))) };
}

// A gauge that paints through its off-screen image, as every frame control once did.
class TImageGauge : public TspSkinFrameGauge {
public:
    using TspSkinFrameGauge::TspSkinFrameGauge;

protected:
    bool PaintSkinStraight(TCanvas*) override { return false; }
};

class SkinFrameCtrlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.AddActivePicture("strips.bmp", 240, 120, kSeed);
        // Horizontal strips of 20 x 30 frames.
        Fixture.AddControl("one", "switch", { { "pictureindex", "0" }, { "skinrect", "0,0,40,30" }, { "framescount", "1" } });
        Fixture.AddControl("switch2", "switch", { { "pictureindex", "0" }, { "skinrect", "0,0,40,30" }, { "framescount", "2" } });
        Fixture.AddControl("switch4", "switch", { { "pictureindex", "0" }, { "skinrect", "0,30,80,60" }, { "framescount", "4" } });
        Fixture.AddControl("gauge11", "framegauge", { { "pictureindex", "0" }, { "skinrect", "0,60,220,90" }, { "framescount", "11" } });
        // A vertical knob strip: 37 frames of 40 x 2.
        Fixture.AddControl("knob", "frameregulator",
            { { "pictureindex", "0" }, { "skinrect", "200,0,240,74" }, { "framescount", "37" },
                { "framesplacement", "fpvertical" }, { "kind", "rkround" } });
        Fixture.AddControl("slider", "frameregulator",
            { { "pictureindex", "0" }, { "skinrect", "0,90,220,120" }, { "framescount", "11" },
                { "kind", "rkhorizontal" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(const char* skinName)
    {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(10, 10, 100, 100);
        control->SetSkinDataName(skinName);
        control->SetSkinData(Skin);
        Pump();
        return control;
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(SkinFrameCtrlsTest, AStripSizesTheControlToOneFrameAndAOneFrameStripCountsAsTwo)
{
    auto* control = Place<TspSkinSwitch>("one");
    EXPECT_EQ(control->GetActiveFramesCount(), 2);
    EXPECT_EQ(control->Width(), 20);
    EXPECT_EQ(control->Height(), 30);
    control->SetBounds(10, 10, 77, 66);
    EXPECT_EQ(control->Width(), 20);
    EXPECT_EQ(At(10, 10), TFixtureSkin::PixelOf(0, 0, kSeed));

    auto* bare = new TspSkinFrameGauge(Form);
    bare->SetParent(Form);
    bare->SetBounds(0, 0, 77, 66);
    EXPECT_EQ(bare->Width(), 77) << "without a strip the requested size stays";
}

TEST_F(SkinFrameCtrlsTest, ASwitchOfTwoFramesChangesAtOnceALongerOneStepsEachTick)
{
    auto* two = Place<TspSkinSwitch>("switch2");
    two->SetState(swOn);
    EXPECT_EQ(two->GetCurrentFrame(), 2);
    EXPECT_FALSE(two->Animating());
    Pump();
    EXPECT_EQ(At(10, 10), TFixtureSkin::PixelOf(20, 0, kSeed));

    auto* four = Place<TspSkinSwitch>("switch4");
    int changes = 0;
    four->OnChange = [&](TObject*) { ++changes; };
    four->SetState(swOn);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(four->GetCurrentFrame(), 1);
    std::vector<int> frames;
    for (int tick = 0; tick < 5; ++tick) {
        Backend.AdvanceClock(50);
        Pump();
        frames.push_back(four->GetCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int> { 2, 3, 4, 4, 4 }));
    EXPECT_FALSE(four->Animating()) << "it stops at the last frame";
    four->SetState(swOff);
    frames.clear();
    for (int tick = 0; tick < 4; ++tick) {
        Backend.AdvanceClock(50);
        Pump();
        frames.push_back(four->GetCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int> { 3, 2, 1, 1 }));
    EXPECT_FALSE(four->Animating());
}

TEST_F(SkinFrameCtrlsTest, AnAnimationPlaysOnceOrCyclesOnTheVirtualClock)
{
    auto* animation = Place<TspSkinAnimate>("switch4");
    animation->SetActive(true);
    std::vector<int> frames;
    for (int tick = 0; tick < 5; ++tick) {
        Backend.AdvanceClock(50);
        Pump();
        frames.push_back(animation->GetCurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int> { 2, 3, 4, 4, 4 }));
    EXPECT_TRUE(animation->Animating()) << "without cycle mode it runs on until stopped";
    animation->SetCycleMode(true);
    Backend.AdvanceClock(50);
    Pump();
    EXPECT_EQ(animation->GetCurrentFrame(), 1);
    int stops = 0;
    animation->OnStop = [&](TObject*) { ++stops; };
    animation->SetActive(false);
    EXPECT_EQ(stops, 1);
    Backend.AdvanceClock(200);
    Pump();
    EXPECT_EQ(animation->GetCurrentFrame(), 1);
}

TEST_F(SkinFrameCtrlsTest, TheGaugeShowsTheFrameOfItsValueAndIgnoresValuesOutsideItsRange)
{
    auto* gauge = Place<TspSkinFrameGauge>("gauge11");
    EXPECT_EQ(gauge->Value(), 50);
    EXPECT_EQ(gauge->GetCurrentFrame(), 6);
    struct Case {
        int value;
        int frame;
        int stored;
    };
    const Case kCases[] = { { 0, 1, 0 }, { 9, 1, 9 }, { 10, 2, 10 }, { 100, 11, 100 }, { 101, 11, 100 }, { -1, 11, 100 } };
    for (const Case& c : kCases) {
        gauge->SetValue(c.value);
        EXPECT_EQ(gauge->Value(), c.stored) << c.value;
        EXPECT_EQ(gauge->GetCurrentFrame(), c.frame) << c.value;
    }
    // A range smaller than the frame count still finds a frame.
    gauge->SetMaxValue(3);
    EXPECT_EQ(gauge->Value(), 3);
    EXPECT_EQ(gauge->GetCurrentFrame(), 4);
}

TEST_F(SkinFrameCtrlsTest, KnobAnglesRunClockwiseFromBelowAndTheCentreHasNone)
{
    auto* knob = Place<TTestRegulator>("knob");
    ASSERT_EQ(knob->Width(), 40);
    ASSERT_EQ(knob->GetActiveKind(), rkRound);
    knob->SetBounds(10, 10, 40, 2);
    struct Case {
        int x, y, angle;
    };
    // The control is one frame, 40 x 2: the centre is (20, 1).
    const Case kCases[] = { { 20, 30, 0 }, { 0, 1, 90 }, { 20, -30, 180 }, { 40, 1, 270 }, { 0, 21, 45 } };
    for (const Case& c : kCases)
        EXPECT_EQ(knob->GetRoundValue(c.x, c.y), c.angle) << c.x << "," << c.y;
    EXPECT_EQ(knob->GetRoundValue(20, 1), -1);
}

TEST_F(SkinFrameCtrlsTest, DraggingAKnobAcrossTheBottomStepsTheValueOnce)
{
    auto* knob = Place<TTestRegulator>("knob"); // 37 frames: a step is 10 degrees and (100 / 36 =) 2 values
    int changes = 0;
    knob->OnChange = [&](TObject*) { ++changes; };
    const TPoint start = AtAngle(knob, 355);
    knob->MouseDown(mbLeft, {}, start.X, start.Y);
    const TPoint across = AtAngle(knob, 5);
    knob->MouseMove({ ssLeft }, across.X, across.Y);
    EXPECT_EQ(knob->Value(), 52) << "from 355 to 5 degrees: one step up";
    EXPECT_EQ(changes, 1);
    // Back across the bottom: one step down; at the exact centre nothing moves.
    const TPoint back = AtAngle(knob, 350);
    knob->MouseMove({ ssLeft }, back.X, back.Y);
    EXPECT_EQ(knob->Value(), 50);
    knob->MouseMove({ ssLeft }, knob->Width() / 2, knob->Height() / 2);
    EXPECT_EQ(knob->Value(), 50);
    knob->MouseUp(mbLeft, {}, back.X, back.Y);
}

TEST_F(SkinFrameCtrlsTest, ASliderMovesAtMostOneStepPerMouseMove)
{
    auto* slider = Place<TTestRegulator>("slider"); // 11 frames 20 wide: a step is 2 pixels and 10 values
    slider->MouseDown(mbLeft, {}, 10, 5);
    slider->MouseMove({ ssLeft }, 11, 5);
    EXPECT_EQ(slider->Value(), 50) << "less than a step";
    slider->MouseMove({ ssLeft }, 19, 5);
    EXPECT_EQ(slider->Value(), 60) << "one step however far";
    slider->MouseMove({ ssLeft }, 2, 5);
    EXPECT_EQ(slider->Value(), 50);
    slider->MouseUp(mbLeft, {}, 2, 5);
    slider->MouseMove({}, 19, 5);
    EXPECT_EQ(slider->Value(), 50) << "no drag after the release";
}

// A frame control copies its frame straight from the strip onto its window; every frame of the strip must show
// the same pixels as through the off-screen image, after each change of frame.
TEST_F(SkinFrameCtrlsTest, AFramePaintedStraightFromTheStripMatchesTheImagePathAtEveryFrame)
{
    auto* straight = Place<TspSkinFrameGauge>("gauge11");
    auto* image = Place<TImageGauge>("gauge11");
    image->SetBounds(10, 150, 100, 100);
    ASSERT_EQ(straight->Width(), 20);
    ASSERT_EQ(straight->Height(), 30);
    for (int value = 0; value <= 100; value += 10) {
        straight->SetValue(value);
        image->SetValue(value);
        Pump();
        int differing = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x)
                differing += At(10 + x, 10 + y) != At(10 + x, 150 + y);
        EXPECT_EQ(differing, 0) << "value " << value;
        const int frame = straight->GetCurrentFrame();
        EXPECT_EQ(At(10, 10), TFixtureSkin::PixelOf((frame - 1) * 20, 60, kSeed)) << "value " << value;
    }
}
