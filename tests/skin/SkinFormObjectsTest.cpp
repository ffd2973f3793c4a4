// The run-time skin objects of a skinned form against a recording host: hover morphing, buttons and their
// groups, caption-button commands, animations, regulators, track bars, gauges and bit labels, on skins that the
// fixture builder writes.
#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/SkinValueObjects.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr uint32_t kMainSeed = 3;
constexpr uint32_t kActiveSeed = 5;

// A generated picture's pixel (0x00RRGGBB) as a colour value (0x00BBGGRR).
TColor PictureColor(int x, int y, uint32_t seed)
{
    const uint32_t c = TFixtureSkin::PixelOf(x, y, seed);
    return TColor(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

// A form as the objects see it: records what they ask for and draws them into a surface of its own.
class TFakeHost : public TspSkinObjectHost {
public:
    explicit TFakeHost(TspSkinData* skin)
        : Skin(skin)
    {
        Surface.SetPixelFormat(pf24bit);
        Surface.SetSize(400, 200);
    }

    template <class T> T* Add(std::string_view name)
    {
        TspDataSkinObject* record = nullptr;
        for (auto& r : Skin->ObjectRecords)
            if (r->IDName == name)
                record = r.get();
        EXPECT_NE(record, nullptr) << name;
        Objects.push_back(std::make_unique<T>(this, record));
        return static_cast<T*>(Objects.back().get());
    }

    // One tick of each timer, as the form runs them; true when something still moved.
    bool MorphTick()
    {
        bool stepped = false;
        for (auto& object : Objects)
            if (object->EnableMorphing() && object->CanMorphing()) {
                object->DoMorphing();
                stepped = true;
            }
        MorphTimer = stepped;
        return stepped;
    }
    bool AnimationTick()
    {
        bool stepped = false;
        for (auto& object : Objects)
            if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(object.get());
                animate && animate->WantsFrameStep()) {
                animate->ChangeFrame();
                stepped = true;
            }
        AnimationTimer = stepped;
        return stepped;
    }

    TspSkinData* SkinData() const override { return Skin; }
    bool GetFormActive() override { return Active; }
    bool FormActive() const override { return Active; }
    bool SupportNCArea() const override { return FrameMode; }
    TWindowState WindowState() const override { return State; }
    bool RolledUp() const override { return Rolled; }
    bool ShowIcon() const override { return false; }
    bool AlwaysMinimizeToTray() const override { return false; }
    bool CanScale() const override { return true; }
    std::string CaptionText() const override { return "Caption"; }
    TFont* DefCaptionFont() const override { return nullptr; }
    int ObjectCount() const override { return static_cast<int>(Objects.size()); }
    TspActiveSkinObject* ObjectAt(int index) const override { return Objects[size_t(index)].get(); }
    void DrawSkinObject(TspActiveSkinObject* object) override
    {
        Trace.push_back("draw:" + object->IDName);
        object->Draw(Surface.Canvas(), true);
    }
    void StartMorphTimer() override { MorphTimer = true; }
    void StartAnimationTimer() override { AnimationTimer = true; }
    void SetWindowState(TWindowState value) override
    {
        Trace.push_back("state:" + std::to_string(value));
        State = value;
    }
    void SetRollUpState(bool value) override { Trace.push_back(std::string("rollup:") + (value ? "1" : "0")); }
    void MinimizeToTray() override { Trace.push_back("tray"); }
    void CloseForm() override { Trace.push_back("close"); }
    void DrawFormIcon(TCanvas*, int, int) override { Trace.push_back("icon"); }
    TSize GetIconSize() const override { return TSize { 16, 16 }; }
    void StartDragg(int x, int y) override { Trace.push_back("drag:" + std::to_string(x) + "," + std::to_string(y)); }
    void EndDragg() override { Trace.push_back("enddrag"); }
    TMenuItem* GetSystemMenu() override { return nullptr; }
    void PopupObjectMenu(TspActiveSkinObject* object, TMenuItem*, bool upward, TspSkinData* skin) override
    {
        Trace.push_back("menu:" + object->IDName + (upward ? "^" : "") + (skin ? "+skin" : ""));
    }
    TRect MainMenuRect() const override { return MenuRect; }
    TRect SkinClientRect() const override { return ClientRect; }
    void MainMenuEntered() override { Trace.push_back("mainmenu"); }
    void MainMenuItemClicked() override { Trace.push_back("menuclosed"); }
    bool CaptionPaint(TCanvas*, const TRect&, bool) override { return false; }
    void MouseDownEvent(const std::string& id, int x, int y, const TRect&, TMouseButton) override
    {
        Trace.push_back("down:" + id + "@" + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUpEvent(const std::string& id, int x, int y, const TRect&, TMouseButton) override
    {
        Trace.push_back("up:" + id + "@" + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMoveEvent(const std::string&, int, int, const TRect&) override { }
    void MouseEnterEvent(const std::string& id) override { Trace.push_back("enter:" + id); }
    void MouseLeaveEvent(const std::string& id) override { Trace.push_back("leave:" + id); }
    void PaintEvent(const std::string& id, TCanvas*, const TRect&) override { Trace.push_back("paint:" + id); }
    void SwitchChangeStateEvent(const std::string& id, TSwitchState state) override
    {
        Trace.push_back("switch:" + id + "=" + (state == swsOn ? "on" : "off"));
    }
    void TrackBarChangeValueEvent(const std::string& id, int value) override
    {
        Trace.push_back("track:" + id + "=" + std::to_string(value));
    }
    void FrameRegulatorChangeValueEvent(const std::string& id, int value) override
    {
        Trace.push_back("regulator:" + id + "=" + std::to_string(value));
    }

    // The events of the trace (draws left out), and a fresh start.
    std::vector<std::string> Events()
    {
        std::vector<std::string> events;
        for (auto& line : Trace)
            if (line.rfind("draw:", 0) != 0)
                events.push_back(line);
        Trace.clear();
        return events;
    }

    TspSkinData* Skin;
    std::vector<std::unique_ptr<TspActiveSkinObject>> Objects;
    std::vector<std::string> Trace;
    TBitmap Surface;
    bool Active = true;
    bool FrameMode = false;
    TWindowState State = wsNormal;
    bool Rolled = false;
    bool MorphTimer = false;
    bool AnimationTimer = false;
    TRect MenuRect = Rect(10, 20, 400, 40);
    TRect ClientRect = Rect(0, 40, 400, 200);
};

using TEvents = std::vector<std::string>;

class SkinFormObjectsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.SetPicture("picture", "main.bmp", 200, 100, kMainSeed);
        Fixture.AddActivePicture("active.bmp", 400, 200, kActiveSeed);
        const TFixtureSkin::TKeyValues button
            = { { "activepictureindex", "0" }, { "skinrect", "0,0,20,10" }, { "activeskinrect", "0,0,20,10" },
                  { "downrect", "20,0,40,10" }, { "morphing", "1" }, { "morphkind", "mkdefault" } };
        Fixture.AddObject("btn", "button", button);
        for (const char* name : { "g1", "g2", "g3" }) {
            auto values = button;
            values.push_back({ "groupindex", "1" });
            Fixture.AddObject(name, "button", values);
        }
        Fixture.AddObject("odd", "stdbutton",
            { { "activepictureindex", "0" }, { "skinrect", "40,0,50,10" }, { "activeskinrect", "40,0,50,10" },
                { "command", "cmbogus" } });
        Fixture.AddObject("max", "stdbutton",
            { { "activepictureindex", "0" }, { "skinrect", "50,0,60,10" }, { "activeskinrect", "50,0,60,10" },
                { "command", "cmmaximize" } });
        const TFixtureSkin::TKeyValues animate
            = { { "activepictureindex", "0" }, { "skinrect", "0,20,10,30" }, { "activeskinrect", "0,100,100,110" },
                  { "countframes", "10" }, { "timerinterval", "100" }, { "buttonstyle", "1" } };
        Fixture.AddObject("anim", "animate", animate);
        auto cycling = animate;
        cycling.push_back({ "cycle", "1" });
        Fixture.AddObject("cycling", "animate", cycling);
        Fixture.AddObject("knob", "frameregulator",
            { { "activepictureindex", "0" }, { "skinrect", "100,0,200,100" }, { "activeskinrect", "0,0,210,10" },
                { "countframes", "21" }, { "minvalue", "0" }, { "maxvalue", "100" }, { "kind", "rkround" } });
        Fixture.AddObject("slider", "frameregulator",
            { { "activepictureindex", "0" }, { "skinrect", "0,60,100,70" }, { "activeskinrect", "0,0,210,10" },
                { "countframes", "21" }, { "minvalue", "0" }, { "maxvalue", "100" }, { "kind", "rkhorizontal" } });
        Fixture.AddObject("oneframe", "frameregulator",
            { { "activepictureindex", "0" }, { "skinrect", "0,60,100,70" }, { "activeskinrect", "0,0,10,10" },
                { "countframes", "1" }, { "minvalue", "0" }, { "maxvalue", "100" }, { "kind", "rkhorizontal" } });
        Fixture.AddObject("track", "trackbar",
            { { "activepictureindex", "0" }, { "skinrect", "0,30,120,40" }, { "activeskinrect", "0,30,120,40" },
                { "buttonrect", "0,50,6,60" }, { "beginpoint", "10,5" }, { "endpoint", "110,5" }, { "minvalue", "0" },
                { "maxvalue", "100" }, { "mousedownchangevalue", "1" } });
        Fixture.AddObject("flat", "trackbar",
            { { "activepictureindex", "0" }, { "skinrect", "0,30,120,40" }, { "buttonrect", "0,50,6,60" },
                { "beginpoint", "10,5" }, { "endpoint", "110,5" }, { "minvalue", "7" }, { "maxvalue", "7" },
                { "mousedownchangevalue", "1" } });
        Fixture.AddObject("fgauge", "framegauge",
            { { "activepictureindex", "0" }, { "skinrect", "0,70,10,80" }, { "activeskinrect", "0,0,40,10" },
                { "countframes", "4" }, { "minvalue", "0" }, { "maxvalue", "30" } });
        Fixture.AddObject("gauge", "gauge",
            { { "activepictureindex", "0" }, { "skinrect", "0,80,50,90" }, { "activeskinrect", "0,80,50,90" },
                { "minvalue", "5" }, { "maxvalue", "5" } });
        Fixture.AddObject("bits", "bitlabel",
            { { "activepictureindex", "0" }, { "skinrect", "100,40,136,50" }, { "activeskinrect", "0,150,80,170" },
                { "symbolwidth", "8" }, { "symbolheight", "10" }, { "symbolslinecount", "2" },
                { "symbolsline0", "0123456789" }, { "symbolsline1", ":." }, { "textvalue", "12:30" } });
        Fixture.AddObject("switch", "switch",
            { { "activepictureindex", "0" }, { "skinrect", "0,90,10,100" }, { "activeskinrect", "10,90,20,100" } });
        Fixture.AddObject("same", "label",
            { { "skinrect", "0,100,60,114" }, { "fontcolor", "255" }, { "activefontcolor", "255" },
                { "textvalue", "x" } });
        Fixture.AddObject("caption", "caption", { { "skinrect", "0,0,200,20" }, { "textrect", "4,2,196,18" } });
        Fixture.AddObject("MAINMENUITEM", "mainmenuitem",
            { { "activepictureindex", "0" }, { "skinrect", "0,120,40,140" }, { "activeskinrect", "40,120,80,140" },
                { "downrect", "80,120,120,140" }, { "textrect", "10,2,30,18" }, { "itemleftoffset", "4" },
                { "itemrightoffset", "4" }, { "fontstyle", "fsbold" }, { "fontcolor", "255" },
                { "activefontcolor", "65280" }, { "downfontcolor", "16711680" }, { "unenabledfontcolor", "8421504" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Host = std::make_unique<TFakeHost>(Skin);
    }

    void TearDown() override
    {
        Host.reset();
        ControlsTest::TearDown();
    }

    // A click of the left button at (x, y) as the form routes it to an object under the mouse.
    static void Press(TspActiveSkinObject* object, int x, int y)
    {
        object->MouseEnter();
        object->MouseDown(x, y, mbLeft);
    }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    std::unique_ptr<TFakeHost> Host;
};

// ---- Morphing ---------------------------------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, AHoverTransitionTakesSixTicksAndReversesInThree)
{
    auto* button = Host->Add<TspSkinButtonObject>("btn");
    button->MouseEnter();
    EXPECT_TRUE(Host->MorphTimer) << "entering starts the timer instead of drawing";
    std::vector<double> factors;
    while (Host->MorphTick())
        factors.push_back(button->MorphKf());
    ASSERT_EQ(factors.size(), 6u);
    EXPECT_DOUBLE_EQ(factors[0], 0.2);
    EXPECT_DOUBLE_EQ(factors[1], 0.4);
    EXPECT_DOUBLE_EQ(factors[2], 0.6);
    EXPECT_DOUBLE_EQ(factors[3], 0.8);
    // Each step is added in extended precision: five steps stop just short of 1.
    EXPECT_LT(factors[4], 1.0);
    EXPECT_GT(factors[4], 0.9999999999999998);
    EXPECT_EQ(factors[5], 1.0);

    auto* other = Host->Add<TspSkinButtonObject>("g1");
    other->MouseEnter();
    Host->MorphTick();
    Host->MorphTick();
    EXPECT_DOUBLE_EQ(other->MorphKf(), 0.4);
    other->MouseLeave();
    std::vector<double> back;
    while (Host->MorphTick())
        back.push_back(other->MorphKf());
    ASSERT_EQ(back.size(), 3u);
    EXPECT_GT(back[1], 0.0);
    EXPECT_LT(back[1], 1e-16);
    EXPECT_EQ(back[2], 0.0);
}

TEST_F(SkinFormObjectsTest, WithoutSkinEffectsLooksSwitchAtOnce)
{
    Skin->SetEnableSkinEffects(false);
    auto* button = Host->Add<TspSkinButtonObject>("btn");
    button->MouseEnter();
    EXPECT_FALSE(Host->MorphTimer);
    EXPECT_EQ(Host->Trace, (TEvents { "draw:btn", "enter:btn" }));
    // The hot look is the active picture's rectangle, stretched onto the object.
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(3, 4)), ColorToRGB(PictureColor(3, 4, kActiveSeed)));
}

TEST_F(SkinFormObjectsTest, AFullRepaintLeavesTheNormalLookToThePicture)
{
    Skin->SetEnableSkinEffects(false);
    auto* button = Host->Add<TspSkinButtonObject>("btn");
    Host->Surface.Canvas()->Brush()->SetColor(clLime);
    Host->Surface.Canvas()->FillRect(Rect(0, 0, 400, 200));
    button->Draw(Host->Surface.Canvas(), false);
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(5, 5)), ColorToRGB(clLime));
    button->Draw(Host->Surface.Canvas(), true);
    EXPECT_NE(ColorToRGB(Host->Surface.Canvas()->Pixels(5, 5)), ColorToRGB(clLime));
}

// ---- Buttons ----------------------------------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, AReleaseAwayFromAButtonIsNoClick)
{
    auto* button = Host->Add<TspSkinButtonObject>("btn");
    Press(button, 5, 5);
    EXPECT_TRUE(button->Down);
    button->MouseLeave();
    button->MouseUp(70, 70, mbLeft);
    EXPECT_FALSE(button->Down) << "the button still hears the release";
    EXPECT_EQ(Host->Events(), (TEvents { "enter:btn", "down:btn@5,5", "leave:btn" }));

    Press(button, 5, 5);
    button->MouseUp(6, 6, mbLeft);
    EXPECT_EQ(Host->Events(), (TEvents { "enter:btn", "down:btn@5,5", "up:btn@6,6" }));

    button->Enabled = false;
    button->MouseDown(5, 5, mbLeft);
    button->MouseUp(5, 5, mbLeft);
    EXPECT_FALSE(button->Down);
    EXPECT_TRUE(Host->Events().empty()) << "a disabled button takes no input";
}

TEST_F(SkinFormObjectsTest, GroupButtonsLatchLikeRadioButtons)
{
    auto* g1 = Host->Add<TspSkinButtonObject>("g1");
    auto* g2 = Host->Add<TspSkinButtonObject>("g2");
    auto* g3 = Host->Add<TspSkinButtonObject>("g3");
    struct TStep {
        TspSkinButtonObject* Clicked;
        bool Down1, Down2, Down3;
    };
    const TStep steps[] = {
        { g1, true, false, false },
        { g2, false, true, false },
        { g2, false, true, false }, // a latched button clicked again stays down
        { g3, false, false, true },
    };
    for (const TStep& step : steps) {
        Press(step.Clicked, 1, 1);
        step.Clicked->MouseUp(1, 1, mbLeft);
        step.Clicked->MouseLeave();
        EXPECT_EQ(g1->Down, step.Down1);
        EXPECT_EQ(g2->Down, step.Down2);
        EXPECT_EQ(g3->Down, step.Down3);
    }
    g3->SetDown(false);
    EXPECT_FALSE(g1->Down || g2->Down || g3->Down);
}

TEST_F(SkinFormObjectsTest, CaptionButtonsRunTheirCommandOnlyWhenReleasedOverThem)
{
    auto* odd = Host->Add<TspSkinStdButtonObject>("odd");
    EXPECT_EQ(odd->Command, cmMinimizeToTray) << "an unknown command word";
    Press(odd, 41, 1);
    odd->MouseUp(41, 1, mbLeft);
    EXPECT_EQ(Host->Events(), (TEvents { "enter:odd", "tray", "up:odd@41,1" }));

    auto* max = Host->Add<TspSkinStdButtonObject>("max");
    Press(max, 51, 1);
    max->MouseLeave();
    max->MouseUp(90, 90, mbLeft);
    EXPECT_EQ(Host->State, wsNormal);
    Press(max, 51, 1);
    max->MouseUp(51, 1, mbLeft);
    EXPECT_EQ(Host->State, wsMaximized);
    Press(max, 51, 1);
    max->MouseUp(51, 1, mbLeft);
    EXPECT_EQ(Host->State, wsNormal);
}

TEST_F(SkinFormObjectsTest, DefaultCaptionButtonsDrawTheirOwnLook)
{
    TspSkinStdButtonObject close(Host.get(), nullptr);
    close.Command = cmClose;
    close.ObjectRect = Rect(100, 100, 117, 116);
    close.Draw(Host->Surface.Canvas(), true);
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(101, 101)), ColorToRGB(clBtnFace));
    close.MouseOver = true;
    close.Down = true;
    close.Draw(Host->Surface.Canvas(), true);
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(100, 100)), ColorToRGB(clNavy));
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(101, 101)), ColorToRGB(RGB(133, 147, 181)));
}

// ---- Animations and switches ------------------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, AHoveredAnimationStepsEveryFourTicksAndRunsBack)
{
    auto* anim = Host->Add<TspSkinAnimateObject>("anim");
    anim->MouseEnter();
    EXPECT_TRUE(Host->AnimationTimer);
    std::vector<int> frames;
    for (int tick = 0; tick < 12; ++tick) {
        Host->AnimationTick();
        frames.push_back(anim->FrameIndex);
    }
    EXPECT_EQ(frames, (std::vector<int> { 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4 }));
    anim->MouseLeave();
    int ticks = 0;
    while (Host->AnimationTick())
        ++ticks;
    EXPECT_EQ(anim->FrameIndex, 1);
    EXPECT_EQ(ticks, 3 * 4) << "three frames back";

    // Left hovered without "cycle" it stops at the last frame; with "cycle" it wraps.
    auto* cycling = Host->Add<TspSkinAnimateObject>("cycling");
    anim->MouseEnter();
    cycling->MouseEnter();
    for (int tick = 0; tick < 4 * 10; ++tick)
        Host->AnimationTick();
    EXPECT_EQ(anim->FrameIndex, 10);
    EXPECT_FALSE(anim->Active);
    EXPECT_EQ(cycling->FrameIndex, 1) << "frame 11 wraps to 1";
    EXPECT_TRUE(cycling->Active);
}

TEST_F(SkinFormObjectsTest, ASwitchTogglesOnLeftClicks)
{
    auto* sw = Host->Add<TspSkinSwitchObject>("switch");
    EXPECT_EQ(sw->State, swsOff);
    sw->MouseDown(1, 91, mbRight);
    EXPECT_EQ(sw->State, swsOff);
    sw->MouseDown(1, 91, mbLeft);
    EXPECT_EQ(sw->State, swsOn);
    EXPECT_TRUE(sw->Active);
    EXPECT_EQ(Host->Events(), (TEvents { "down:switch@1,91", "switch:switch=on", "down:switch@1,91" }));
}

// ---- Regulators, track bars, gauges -----------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, TheKnobAngleGrowsClockwiseFromStraightDown)
{
    auto* knob = Host->Add<TspSkinFrameRegulatorObject>("knob");
    struct TCase {
        int X, Y, Angle;
    };
    const TCase cases[] = { { 50, 100, 0 }, { 0, 50, 90 }, { 50, 0, 180 }, { 100, 50, 270 }, { 50, 50, 0 },
        { 0, 100, 45 }, { -20, 500, 45 } /* clamped to the corner */ };
    for (const TCase& c : cases)
        EXPECT_EQ(knob->GetRoundValue(c.X, c.Y), c.Angle) << c.X << "," << c.Y;
}

TEST_F(SkinFormObjectsTest, TurningTheKnobStepsItsValue)
{
    auto* knob = Host->Add<TspSkinFrameRegulatorObject>("knob");
    // The centre is (150, 50) on the form; points on a circle of radius 40 at a given angle.
    auto at = [](double degrees) {
        const double r = degrees * std::numbers::pi / 180;
        return TPoint { 150 - static_cast<int>(std::lround(40 * std::sin(r))),
            50 + static_cast<int>(std::lround(40 * std::cos(r))) };
    };
    knob->SimplySetValue(50);
    Host->Trace.clear();
    TPoint p = at(100);
    knob->MouseDown(p.X, p.Y, mbLeft);
    p = at(110);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 50) << "less than the 18-degree step";
    p = at(121);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 55);
    p = at(300);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 60) << "one step per move, however far";
    knob->MouseUp(p.X, p.Y, mbLeft);

    // Across straight down, clockwise (350 to 5) raises the value once; back across lowers it.
    p = at(340);
    knob->MouseDown(p.X, p.Y, mbLeft);
    p = at(350);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 60);
    p = at(5);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 65);
    p = at(352);
    knob->MouseMove(p.X, p.Y);
    EXPECT_EQ(knob->Value, 60);
}

TEST_F(SkinFormObjectsTest, ASliderRegulatorStepsByItsFrameWidthAndAStripOfOneFrameNeverSteps)
{
    auto* slider = Host->Add<TspSkinFrameRegulatorObject>("slider");
    // Frames of 10 px over 20 steps: a pixel step of 1 (10 div 20 is 0, raised to 1), a value step of 5.
    slider->MouseDown(10, 65, mbLeft);
    slider->MouseMove(11, 65);
    slider->MouseMove(60, 65);
    EXPECT_EQ(slider->Value, 10);
    slider->MouseMove(59, 65);
    EXPECT_EQ(slider->Value, 5);
    slider->MouseUp(59, 65, mbLeft);

    auto* one = Host->Add<TspSkinFrameRegulatorObject>("oneframe");
    one->MouseDown(10, 65, mbLeft);
    one->MouseMove(90, 65);
    EXPECT_EQ(one->Value, 0);
    one->CalcFrame();
    EXPECT_EQ(one->FrameIndex, 1);
}

TEST_F(SkinFormObjectsTest, TrackBarJumpsAndDragsWithinItsPoints)
{
    auto* track = Host->Add<TspSkinTrackBarObject>("track");
    EXPECT_FALSE(track->Vertical);
    EXPECT_EQ(track->ButtonPos.X, 10);
    track->MouseDown(60, 35, mbLeft);
    EXPECT_EQ(track->Value, 50);
    EXPECT_EQ(track->ButtonPos.X, 60);
    track->MouseUp(60, 35, mbLeft);
    // Grab the button (centre 60, 6 px wide) and drag it right past the end point.
    track->MouseDown(61, 35, mbLeft);
    track->MouseMove(101, 35);
    EXPECT_EQ(track->Value, 90);
    track->MouseMove(131, 35);
    EXPECT_EQ(track->ButtonPos.X, 100) << "a move past the end leaves the button where it was";
    EXPECT_EQ(track->Value, 90);
    track->MouseUp(131, 35, mbLeft);
    EXPECT_EQ(Host->Events().front(), "track:track=50");

    // An empty range has one value and one position.
    auto* flat = Host->Add<TspSkinTrackBarObject>("flat");
    flat->MouseDown(90, 35, mbLeft);
    EXPECT_EQ(flat->Value, 7);
    flat->SetValue(3);
    EXPECT_EQ(flat->Value, 7);
    EXPECT_EQ(flat->ButtonPos.X, 10);
}

TEST_F(SkinFormObjectsTest, FrameGaugeFramesFollowValueRanges)
{
    auto* gauge = Host->Add<TspSkinFrameGaugeObject>("fgauge");
    struct TCase {
        int Value, Frame;
    };
    for (const TCase& c : { TCase { 0, 1 }, TCase { 9, 1 }, TCase { 10, 2 }, TCase { 19, 2 }, TCase { 20, 3 },
             TCase { 29, 3 }, TCase { 30, 4 } }) {
        gauge->SimplySetValue(c.Value);
        gauge->CalcFrame();
        EXPECT_EQ(gauge->FrameIndex, c.Frame) << c.Value;
    }
    gauge->SetValue(31);
    EXPECT_EQ(gauge->Value, 30) << "values outside the range are ignored";

    auto* flat = Host->Add<TspSkinGaugeObject>("gauge");
    flat->SetValue(9);
    EXPECT_EQ(flat->Value, 5);
    EXPECT_EQ(flat->ProgressPos.X, 0);
}

// ---- Labels and the caption ------------------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, ALabelWithOneColourAndNoHotLookIgnoresHover)
{
    auto* label = Host->Add<TspSkinLabelObject>("same");
    label->MouseEnter();
    label->MouseLeave();
    EXPECT_EQ(Host->Trace, (TEvents { "enter:same", "leave:same" }));
    EXPECT_FALSE(Host->MorphTimer);
    label->SetTextValue("stored", false);
    EXPECT_EQ(label->TextValue, "stored");
    EXPECT_TRUE(Host->Events().size() == 2);
}

TEST_F(SkinFormObjectsTest, ThePictureCaptionDragsTheFormAndReportsEveryRelease)
{
    auto* caption = Host->Add<TspSkinCaptionObject>("caption");
    caption->MouseDown(10, 5, mbLeft);
    caption->MouseUp(300, 150, mbLeft);
    EXPECT_EQ(Host->Events(), (TEvents { "drag:10,5", "down:caption@10,5", "enddrag", "up:caption@300,150" }));
    Host->State = wsMaximized;
    caption->MouseDown(10, 5, mbLeft);
    EXPECT_EQ(Host->Events(), (TEvents { "down:caption@10,5" })) << "a maximized form does not move";
}

// ---- Bit labels -------------------------------------------------------------------------------------------------

TEST_F(SkinFormObjectsTest, ABitLabelComposesGlyphsAndEndsAtItsEdge)
{
    auto* bits = Host->Add<TspSkinBitLabelObject>("bits");
    struct TCell {
        char Symbol;
        int Column, Row;
    };
    const TCell cells[] = { { '1', 1, 0 }, { '2', 2, 0 }, { ':', 0, 1 }, { '3', 3, 0 }, { '0', 0, 0 } };
    for (const TCell& cell : cells) {
        const TPoint glyph = bits->GlyphOf(cell.Symbol);
        EXPECT_EQ(glyph.X, cell.Column) << cell.Symbol;
        EXPECT_EQ(glyph.Y, cell.Row) << cell.Symbol;
    }
    TCanvas* canvas = Host->Surface.Canvas();
    canvas->Brush()->SetColor(clLime);
    canvas->FillRect(Rect(0, 0, 400, 200));
    bits->Draw(canvas, false);
    auto active = [](int x, int y) { return ColorToRGB(PictureColor(x, y, kActiveSeed)); };
    // Cell i of the label (at x 100 + 8 (i - 1)) shows its glyph from (8 column, 150 + 10 row).
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(
            ColorToRGB(canvas->Pixels(100 + 8 * i + 1, 42)), active(8 * cells[i].Column + 1, 152 + 10 * cells[i].Row))
            << i;
    // The fifth glyph is cut to 4 pixels; nothing is drawn past the label.
    EXPECT_EQ(ColorToRGB(canvas->Pixels(135, 42)), active(3, 152));
    EXPECT_EQ(ColorToRGB(canvas->Pixels(136, 42)), ColorToRGB(clLime));
}

} // namespace

// ---- Main-menu items --------------------------------------------------------------------------------------------

class SkinMainMenuItemTest : public SkinFormObjectsTest {
protected:
    void SetUp() override
    {
        SkinFormObjectsTest::SetUp();
        Menu = new TspSkinMainMenu(Application);
        File = AddItem("File", true);
        View = AddItem("View", true);
        Edit = AddItem("Edit", false);
        Help = AddItem("Help", false);
        Edit->SetEnabled(false);
    }
    void TearDown() override
    {
        Host.reset();
        delete Menu;
        SkinFormObjectsTest::TearDown();
    }

    TMenuItem* AddItem(const std::string& name, bool withChild)
    {
        auto* item = new TMenuItem(Menu);
        item->SetName(name);
        item->SetCaption(name);
        item->OnClick = [this, name](TObject*) { Host->Trace.push_back("click:" + name); };
        Menu->Items()->Add(item);
        if (withChild) {
            auto* child = new TMenuItem(Menu);
            child->SetCaption("Child of " + name);
            item->Add(child);
        }
        return item;
    }

    TspSkinMainMenuItem* AddObject(TMenuItem* item)
    {
        TspDataSkinObject* record = nullptr;
        for (auto& r : Skin->ObjectRecords)
            if (r->IDName == "MAINMENUITEM")
                record = r.get();
        Host->Objects.push_back(std::make_unique<TspSkinMainMenuItem>(Host.get(), record, item));
        return static_cast<TspSkinMainMenuItem*>(Host->Objects.back().get());
    }

    // Whether a pixel of the text area of the item shows exactly `color`.
    bool TextShows(const TspSkinMainMenuItem* object, TColor color)
    {
        TCanvas* canvas = Host->Surface.Canvas();
        for (int y = object->ObjectRect.Top + 2; y < object->ObjectRect.Top + 18; ++y)
            for (int x = object->ObjectRect.Left + 10; x < object->ObjectRect.Right - 10; ++x)
                if (ColorToRGB(canvas->Pixels(x, y)) == ColorToRGB(color))
                    return true;
        return false;
    }

    TspSkinMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* View = nullptr;
    TMenuItem* Edit = nullptr;
    TMenuItem* Help = nullptr;
};

TEST_F(SkinMainMenuItemTest, LooksTakeTheirPictureAndCaptionColourFromTheState)
{
    struct TCase {
        const char* Name;
        bool Disabled;
        bool Active;
        bool Down;
        int SourceLeft;
        TColor Text;
    };
    const TCase cases[] = {
        { "normal", false, false, false, 0, TColor(255) },
        { "active", false, true, false, 40, TColor(65280) },
        { "down", false, true, true, 80, TColor(16711680) },
        { "disabled", true, false, false, 0, TColor(8421504) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Host->Objects.clear();
        auto* object = AddObject(c.Disabled ? Edit : File);
        object->Active = c.Active;
        object->Down = c.Down;
        object->Draw(Host->Surface.Canvas(), true);
        // Placed at the main-menu rectangle's top-left, widened to the caption, caps kept at their ends.
        const TRect r = object->ObjectRect;
        EXPECT_EQ(r.Left, 10);
        EXPECT_EQ(r.Top, 20);
        EXPECT_EQ(r.Bottom - r.Top, 20);
        TCanvas* canvas = Host->Surface.Canvas();
        EXPECT_EQ(ColorToRGB(canvas->Pixels(r.Left + 1, r.Top + 1)),
            ColorToRGB(PictureColor(c.SourceLeft + 1, 121, kActiveSeed)));
        EXPECT_EQ(ColorToRGB(canvas->Pixels(r.Right - 2, r.Top + 1)),
            ColorToRGB(PictureColor(c.SourceLeft + 38, 121, kActiveSeed)));
        EXPECT_TRUE(TextShows(object, c.Text));
    }
}

TEST_F(SkinMainMenuItemTest, ItemsFollowEachOtherAndHideWhileTheyDoNotFit)
{
    auto* file = AddObject(File);
    auto* view = AddObject(View);
    EXPECT_EQ(file->IDName, "File");
    EXPECT_FALSE(AddObject(Edit)->Enabled);
    file->Draw(Host->Surface.Canvas(), true);
    view->Draw(Host->Surface.Canvas(), true);
    EXPECT_EQ(view->ObjectRect.Left, file->ObjectRect.Right);
    EXPECT_GT(file->ObjectRect.Right - file->ObjectRect.Left, 20);

    // Too narrow a menu rectangle: the second item is hidden and disabled, and gets its state back when it fits.
    Host->MenuRect.Right = view->ObjectRect.Right - 1;
    view->Draw(Host->Surface.Canvas(), true);
    EXPECT_FALSE(view->Shown);
    EXPECT_FALSE(view->Enabled);
    Host->MenuRect.Right = 400;
    view->Draw(Host->Surface.Canvas(), true);
    EXPECT_TRUE(view->Shown);
    EXPECT_TRUE(view->Enabled);

    // A full frame repaint of a menu below the client area draws into the bottom strip's image.
    Host->FrameMode = true;
    Host->MenuRect = Rect(10, 210, 400, 230);
    Host->ClientRect = Rect(0, 40, 400, 200);
    file->Draw(Host->Surface.Canvas(), false);
    EXPECT_EQ(file->ObjectRect.Top, 210);
    EXPECT_EQ(file->LayoutRect.Top, 210);
    EXPECT_EQ(ColorToRGB(Host->Surface.Canvas()->Pixels(11, 11)), ColorToRGB(PictureColor(1, 121, kActiveSeed)));
}

TEST_F(SkinMainMenuItemTest, PressingOpensTheSubmenuAndTheOpenMenuFollowsTheMouse)
{
    auto* file = AddObject(File);
    auto* view = AddObject(View);
    auto* edit = AddObject(Edit);
    auto* help = AddObject(Help);
    for (auto* object : { file, view, edit, help })
        object->Draw(Host->Surface.Canvas(), true);

    Press(file, 12, 22);
    EXPECT_TRUE(file->Down);
    EXPECT_EQ(Host->Events(), (TEvents { "menu:File", "mainmenu", "down:File@12,22" }));

    // Moving on to the next item moves the open submenu there.
    view->MouseEnter();
    EXPECT_FALSE(file->Down);
    EXPECT_FALSE(file->Active);
    EXPECT_TRUE(view->Down);
    EXPECT_EQ(Host->Events(), (TEvents { "menu:View", "mainmenu" }));

    // A menu with a skin of its own opens its submenus in that skin, upward by that skin's setting.
    view->SetDown(false);
    auto* own = new TspSkinData(Application);
    own->LoadFromFile(Fixture.Write());
    own->MainMenuPopupUp = true;
    Menu->SetSkinData(own);
    view->SetDown(true);
    EXPECT_EQ(Host->Events(), (TEvents { "menu:View^+skin", "mainmenu" }));
    Menu->SetSkinData(nullptr);
    delete own;

    // A disabled item takes no press; a leaf runs its click after the form leaves its menu state.
    view->SetDown(false);
    Host->Events();
    edit->MouseDown(1, 1, mbLeft);
    EXPECT_TRUE(Host->Events().empty());
    help->MouseEnter();
    help->MouseDown(5, 6, mbLeft);
    EXPECT_FALSE(help->Down);
    EXPECT_EQ(Host->Events(), (TEvents { "menuclosed", "click:Help", "down:Help@5,6" }));
}

TEST_F(SkinMainMenuItemTest, ALeafWhoseCommandRebuildsTheMenuStillReportsItsPress)
{
    AddObject(File);
    auto* help = AddObject(Help);
    // The application rebuilds the main menu from the click, freeing the item objects.
    Help->OnClick = [this](TObject*) { Host->Objects.clear(); };
    help->MouseDown(3, 4, mbLeft);
    EXPECT_TRUE(Host->Objects.empty());
    EXPECT_EQ(Host->Events(), (TEvents { "menuclosed", "down:Help@3,4" }));
}
