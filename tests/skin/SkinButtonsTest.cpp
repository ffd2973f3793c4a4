// The skinned push and speed buttons on the headless display, driven by raw input: the picture of each state,
// the hover morph and the repeat on the virtual clock, groups, the default and cancel keys, glyph cells, the
// skinless look, and the buttons on the program's own skin.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/StdCtrls.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <functional>

namespace {

constexpr uint32_t kSeed = 9;

// Records the morph factor of every paint.
template <class Base> class TPaintProbe : public Base {
public:
    using Base::Base;
    std::vector<double> Factors;

protected:
    void Paint() override
    {
        Factors.push_back(this->MorphFactor());
        Base::Paint();
    }
};

// The fixture skin's pictures lie side by side in one 200 x 60 picture: normal, hot, pressed, disabled, each
// 40 x 20, and a strip of four 40 x 20 animation frames below them.
const TRect kNormal { 0, 0, 40, 20 };
const TRect kHot { 40, 0, 80, 20 };
const TRect kPressed { 80, 0, 120, 20 };
const TRect kDisabled { 120, 0, 160, 20 };

// The pictures of a button record: normal, hot, pressed, disabled.
struct TStatePictures {
    TRect Normal, Hot, Pressed, Disabled;
};

class SkinButtonsTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Fixture.AddActivePicture("buttons.bmp", 200, 60, kSeed);
        const TFixtureSkin::TKeyValues states { { "pictureindex", "0" }, { "skinrect", "0,0,40,20" },
            { "clientrect", "2,2,38,18" }, { "activeskinrect", "40,0,80,20" }, { "downskinrect", "80,0,120,20" },
            { "disabledskinrect", "120,0,160,20" } };
        Fixture.AddControl("button", "button", states);
        Fixture.AddControl("toolbutton", "button", states);
        TFixtureSkin::TKeyValues morphing = states;
        morphing.emplace_back("morphing", "1");
        Fixture.AddControl("morphbutton", "button", morphing);
        TFixtureSkin::TKeyValues animated = states;
        animated.emplace_back("animateskinrect", "0,20,160,40");
        animated.emplace_back("framecount", "4");
        animated.emplace_back("animateinterval", "25");
        Fixture.AddControl("animbutton", "button", animated);
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(int x, int y, const char* skinName = nullptr)
    {
        auto* button = new T(Form);
        button->SetParent(Form);
        button->SetBounds(x, y, button->Width(), button->Height());
        if (skinName) {
            button->SetSkinDataName(skinName);
            button->SetSkinData(Skin);
        }
        button->OnClick = [this, button](TObject*) { Clicks.push_back(button); };
        Pump();
        return button;
    }

    // The pixel of picture rectangle `r` that a skinned button at (x, y) shows at its point (dx, dy).
    static uint32_t PictureAt(const TRect& r, int dx, int dy) { return TFixtureSkin::PixelOf(r.Left + dx, r.Top + dy, kSeed); }
    void Tick(int ms)
    {
        Backend.AdvanceClock(static_cast<uint64_t>(ms));
        Pump();
    }

    // Every state of a captioned button on the program's skin, painted straight and through its image.
    void ComparePaintStraightAndThroughImage(bool withGlyph);
    void CheckStatePictures(TspSkinData* skin, const char* pushName, const char* speedName,
        const TStatePictures& pictures, TPoint sample,
        const std::function<uint32_t(const TRect&, TPoint)>& pixel);

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    std::vector<TObject*> Clicks;
};

} // namespace

// ---- Pictures of the states ---------------------------------------------------------------------------------------

// Each state of a push button at (10, 10) and a speed button at (10, 50) on `skin` shows its picture: the button's
// point `sample` has the colour `pixel` gives for the same point of the picture rectangle.
void SkinButtonsTest::CheckStatePictures(TspSkinData* skin, const char* pushName, const char* speedName,
    const TStatePictures& pictures, TPoint sample, const std::function<uint32_t(const TRect&, TPoint)>& pixel)
{
    Skin = skin;
    auto* push = Place<TspSkinButton>(10, 10, pushName);
    auto* speed = Place<TspSkinSpeedButton>(10, 50, speedName);
    struct TCase {
        const char* State;
        std::function<void()> Enter, Leave;
        TRect Push, Speed;
    };
    const std::vector<TCase> cases {
        { "idle", [] {}, [] {}, pictures.Normal, pictures.Normal },
        { "pointer over", [&] { MoveTo(15, 15); MoveTo(15, 55); }, [&] { MoveTo(300, 250); }, pictures.Normal,
            pictures.Hot },
        { "disabled", [&] { push->SetEnabled(false); speed->SetEnabled(false); },
            [&] { push->SetEnabled(true); speed->SetEnabled(true); }, pictures.Disabled, pictures.Disabled },
        { "focused", [&] { push->SetFocus(); }, [&] { Form->SetActiveControl(nullptr); }, pictures.Hot,
            pictures.Normal },
    };
    for (const TCase& c : cases) {
        c.Enter();
        EXPECT_EQ(At(10 + sample.X, 10 + sample.Y), pixel(c.Push, sample)) << "push, " << c.State;
        EXPECT_EQ(At(10 + sample.X, 50 + sample.Y), pixel(c.Speed, sample)) << "speed, " << c.State;
        c.Leave();
    }

    // Held down over the button: pressed; dragged out: released; back in: pressed again.
    for (TControl* button : std::vector<TControl*> { push, speed }) {
        const int top = button->Top();
        const uint32_t pressed = pixel(pictures.Pressed, sample);
        MoveTo(15, top + 5);
        Press();
        EXPECT_EQ(At(10 + sample.X, top + sample.Y), pressed);
        MoveTo(300, 250);
        EXPECT_NE(At(10 + sample.X, top + sample.Y), pressed) << "dragged out";
        MoveTo(15, top + 5);
        EXPECT_EQ(At(10 + sample.X, top + sample.Y), pressed) << "back in";
        MoveTo(300, 250);
        Release();
    }
    EXPECT_TRUE(Clicks.empty()) << "released outside: no click";
    EXPECT_FALSE(push->Down());
    EXPECT_FALSE(speed->Down());
    delete push;
    delete speed;
    Pump();
}

TEST_F(SkinButtonsTest, EachStateShowsItsPictureOnBothButtonsAndAFocusedPushButtonLooksHot)
{
    CheckStatePictures(Skin, "button", "toolbutton", { kNormal, kHot, kPressed, kDisabled }, TPoint { 1, 1 },
        [](const TRect& r, TPoint p) { return PictureAt(r, p.X, p.Y); });
}

#ifdef TP_SKIN_DIR
TEST_F(SkinButtonsTest, EachStateShowsItsPictureWithTheProgramsSkin)
{
    auto* programSkin = new TspSkinData(Application);
    programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(programSkin->Empty);
    auto* record = dynamic_cast<TspDataSkinButtonControl*>(
        programSkin->ControlRecords[size_t(programSkin->GetControlIndex("button"))].get());
    ASSERT_NE(record, nullptr);
    TBitmap* picture = programSkin->ActivePictures[size_t(record->PictureIndex)].get();
    const TStatePictures pictures { record->SkinRect, record->ActiveSkinRect, record->DownSkinRect,
        record->DisabledSkinRect };
    auto pixel = [picture](const TRect& r, TPoint p) { return Rgb(picture->Canvas()->Pixels(r.Left + p.X, r.Top + p.Y)); };
    // A point of the unstretched top-left corner where all four pictures differ.
    TPoint sample { -1, -1 };
    for (int y = 0; y < record->LeftTopPoint.Y && sample.X < 0; ++y)
        for (int x = 0; x < record->LeftTopPoint.X && sample.X < 0; ++x) {
            const TPoint p { x, y };
            const uint32_t n = pixel(pictures.Normal, p), h = pixel(pictures.Hot, p), d = pixel(pictures.Pressed, p),
                           u = pixel(pictures.Disabled, p);
            if (n != h && n != d && n != u && h != d && h != u && d != u)
                sample = p;
        }
    ASSERT_GE(sample.X, 0) << "the program's button pictures differ in their corner";
    CheckStatePictures(programSkin, "button", "resizebutton", pictures, sample, pixel);
}
#endif

TEST_F(SkinButtonsTest, TheHoverMorphRepaintsSevenTimesTwentyMillisecondsApartAndFadesBackToExactlyZero)
{
    auto* button = Place<TPaintProbe<TspSkinButton>>(10, 10, "morphbutton");
    ASSERT_TRUE(button->EnableMorphing());
    button->Factors.clear();
    MoveTo(15, 15);
    EXPECT_TRUE(button->MorphRunning());
    for (int tick = 0; tick < 8; ++tick)
        Tick(20);
    EXPECT_FALSE(button->MorphRunning());
    ASSERT_EQ(button->Factors.size(), 7u) << "six steps and the closing repaint";
    const std::vector<double> up { 0.2, 0.4, 0.6, 0.8, 1.0, 1.2, 1.0 };
    for (size_t i = 0; i < up.size(); ++i)
        EXPECT_NEAR(button->Factors[i], up[i], 1e-9) << i;
    EXPECT_LT(button->Factors[4], 1.0) << "five extended-precision steps stop just below 1";
    EXPECT_EQ(button->Factors[6], 1.0);
    EXPECT_EQ(At(11, 11), PictureAt(kHot, 1, 1));

    // Half way the image lies between the two pictures.
    button->Factors.clear();
    MoveTo(300, 250);
    Tick(20);
    Tick(20);
    Tick(20);
    const uint32_t mid = At(11, 11);
    EXPECT_NE(mid, PictureAt(kHot, 1, 1));
    EXPECT_NE(mid, PictureAt(kNormal, 1, 1));
    for (int tick = 0; tick < 6; ++tick)
        Tick(20);
    EXPECT_FALSE(button->MorphRunning());
    ASSERT_EQ(button->Factors.size(), 7u);
    EXPECT_EQ(button->Factors.back(), 0.0);
    EXPECT_EQ(At(11, 11), PictureAt(kNormal, 1, 1));

    // A flat speed button never morphs: the hot picture shows at once.
    auto* flat = Place<TspSkinSpeedButton>(10, 50, "morphbutton");
    flat->SetFlat(true);
    EXPECT_FALSE(flat->EnableMorphing());
    MoveTo(15, 55);
    EXPECT_FALSE(flat->MorphRunning());
    EXPECT_EQ(At(11, 51), PictureAt(kHot, 1, 1));
}

TEST_F(SkinButtonsTest, AnAnimationShowsItsFramesAsTheHotPictureThenTheHotPicture)
{
    auto* button = Place<TspSkinSpeedButton>(10, 10, "animbutton");
    MoveTo(15, 15);
    ASSERT_TRUE(button->AnimationRunning());
    std::vector<uint32_t> shown { At(11, 11) };
    for (int tick = 0; tick < 5; ++tick) {
        Tick(25);
        shown.push_back(At(11, 11));
    }
    EXPECT_FALSE(button->AnimationRunning());
    const std::vector<uint32_t> expected { PictureAt({ 0, 20, 40, 40 }, 1, 1), PictureAt({ 40, 20, 80, 40 }, 1, 1),
        PictureAt({ 80, 20, 120, 40 }, 1, 1), PictureAt({ 120, 20, 160, 40 }, 1, 1), PictureAt(kHot, 1, 1),
        PictureAt(kHot, 1, 1) };
    EXPECT_EQ(shown, expected);
}

// ---- Repeat and groups ----------------------------------------------------------------------------------------

TEST_F(SkinButtonsTest, HeldInRepeatModeAButtonClicksEveryIntervalAndOnceMoreOnTheRelease)
{
    for (bool speed : { false, true }) {
        Clicks.clear();
        TspSkinButtonCore<TspSkinCustomControl>* push = nullptr;
        TspSkinSpeedButton* tool = nullptr;
        if (speed) {
            tool = Place<TspSkinSpeedButton>(100, 100, "toolbutton");
            tool->SetRepeatMode(true);
        } else {
            push = Place<TspSkinButton>(100, 100, "button");
            push->SetRepeatMode(true);
        }
        MoveTo(105, 105);
        Press();
        std::vector<size_t> counts;
        for (int t = 50; t <= 350; t += 50) {
            Tick(50);
            counts.push_back(Clicks.size());
        }
        EXPECT_EQ(counts, (std::vector<size_t> { 0, 1, 1, 2, 2, 3, 3 })) << (speed ? "speed" : "push");
        Release();
        EXPECT_EQ(Clicks.size(), 4u);
        Tick(500);
        EXPECT_EQ(Clicks.size(), 4u) << "the repeat stopped";

        // Leaving stops the repeat, re-entering starts it again.
        Press();
        MoveTo(300, 250);
        Tick(300);
        EXPECT_EQ(Clicks.size(), 4u);
        MoveTo(105, 105);
        Tick(100);
        EXPECT_EQ(Clicks.size(), 5u);
        MoveTo(300, 250);
        Release();
        EXPECT_EQ(Clicks.size(), 5u) << "released outside";
        delete push;
        delete tool;
        Pump();
    }
}

TEST_F(SkinButtonsTest, GroupedButtonsLatchLikeRadioButtonsOrToggleWithAllowAllUp)
{
    struct TCase {
        bool Speed;
        bool AllowAllUp;
    };
    for (const TCase& c : { TCase { false, false }, TCase { false, true }, TCase { true, false }, TCase { true, true } }) {
        Clicks.clear();
        std::vector<TControl*> made;
        auto make = [&](int x) -> TControl* {
            TControl* b = c.Speed ? static_cast<TControl*>(Place<TspSkinSpeedButton>(x, 100, "toolbutton"))
                                  : static_cast<TControl*>(Place<TspSkinButton>(x, 100, "button"));
            made.push_back(b);
            return b;
        };
        auto down = [&](TControl* b) {
            return c.Speed ? static_cast<TspSkinSpeedButton*>(b)->Down() : static_cast<TspSkinButton*>(b)->Down();
        };
        auto setGroup = [&](TControl* b) {
            if (c.Speed) {
                static_cast<TspSkinSpeedButton*>(b)->SetGroupIndex(1);
                static_cast<TspSkinSpeedButton*>(b)->SetAllowAllUp(c.AllowAllUp);
            } else {
                static_cast<TspSkinButton*>(b)->SetGroupIndex(1);
                static_cast<TspSkinButton*>(b)->SetAllowAllUp(c.AllowAllUp);
            }
        };
        TControl* first = make(100);
        TControl* second = make(150);
        setGroup(first);
        setGroup(second);
        // A push button and a speed button of the other kind in the same group index stay out of it.
        TControl* stranger = c.Speed ? static_cast<TControl*>(Place<TspSkinButton>(200, 100, "button"))
                                     : static_cast<TControl*>(Place<TspSkinSpeedButton>(200, 100, "toolbutton"));
        made.push_back(stranger);
        if (c.Speed) {
            static_cast<TspSkinButton*>(stranger)->SetGroupIndex(1);
            static_cast<TspSkinButton*>(stranger)->SetDown(true);
        } else {
            static_cast<TspSkinSpeedButton*>(stranger)->SetGroupIndex(1);
            static_cast<TspSkinSpeedButton*>(stranger)->SetDown(true);
        }
        const std::string label = std::string(c.Speed ? "speed" : "push") + (c.AllowAllUp ? ", all up" : "");

        Click(105, 105);
        Click(155, 105);
        EXPECT_EQ(Clicks, (std::vector<TObject*> { first, second })) << label << ": grouped buttons click on the press";
        EXPECT_EQ(down(first), c.AllowAllUp) << label;
        EXPECT_TRUE(down(second)) << label;
        Click(155, 105);
        if (c.AllowAllUp) {
            EXPECT_FALSE(down(second)) << label << ": a press on a down button lifts it";
            EXPECT_EQ(Clicks.size(), 3u) << label;
        } else {
            EXPECT_TRUE(down(second)) << label;
            EXPECT_EQ(Clicks.size(), 2u) << label << ": a press on the latched button changes nothing";
        }
        EXPECT_EQ(At(201, 101), PictureAt(kPressed, 1, 1)) << label << ": the other kind stays down";
        if (!c.Speed) {
            auto* push = static_cast<TspSkinButton*>(first);
            EXPECT_FALSE(push->CanFocused());
            EXPECT_FALSE(push->TabStop());
        }
        for (TControl* b : made)
            delete b;
        Pump();
    }
}

// ---- Keyboard and focus -------------------------------------------------------------------------------------------

TEST_F(SkinButtonsTest, TheDefaultButtonLooksHotAndTakesEnterWhileNoSkinButtonHasTheFocus)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 200, 150, 24);
    auto* ok = Place<TspSkinButton>(10, 10, "button");
    auto* other = Place<TspSkinButton>(60, 10, "button");
    auto* cancel = Place<TspSkinButton>(110, 10, "button");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Hot());
    EXPECT_EQ(At(11, 11), PictureAt(kHot, 1, 1));
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Clicks, (std::vector<TObject*> { ok }));
    EXPECT_EQ(Form->ModalResult(), mrOk);

    // Escape clicks the cancel button, but not with a modifier held.
    for (UINT modifier : { UINT(VK_SHIFT), UINT(VK_CONTROL), UINT(VK_MENU) }) {
        Backend.KeyDown(modifier);
        Backend.Key(VK_ESCAPE);
        Backend.KeyUp(modifier);
        Pump();
    }
    EXPECT_EQ(Clicks.size(), 1u);
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Clicks.back(), cancel);
    EXPECT_EQ(Form->ModalResult(), mrCancel);

    // A focused skin button takes Enter itself and the default button looks normal.
    Clicks.clear();
    other->SetFocus();
    Pump();
    EXPECT_FALSE(ok->Hot());
    EXPECT_EQ(At(11, 11), PictureAt(kNormal, 1, 1));
    EXPECT_EQ(At(61, 11), PictureAt(kHot, 1, 1)) << "focused looks hot";
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Clicks, (std::vector<TObject*> { other }));
    EXPECT_EQ(Form->ModalResult(), mrNone) << "its ModalResult 0 is handed on too";

    // Space shows the pressed picture until the key comes up, then clicks once.
    Backend.KeyDown(VK_SPACE);
    Pump();
    EXPECT_EQ(At(61, 11), PictureAt(kPressed, 1, 1));
    EXPECT_EQ(Clicks.size(), 1u);
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Clicks.size(), 2u);
    EXPECT_EQ(At(61, 11), PictureAt(kHot, 1, 1));
}

TEST_F(SkinButtonsTest, AButtonThatCannotTakeTheFocusLeavesTheFormsModalResultAlone)
{
    auto* button = Place<TspSkinButton>(10, 10, "button");
    button->SetModalResult(mrOk);
    button->SetCanFocused(false);
    Click(15, 15);
    EXPECT_EQ(Clicks.size(), 1u);
    EXPECT_EQ(Form->ModalResult(), mrNone);
    button->SetCanFocused(true);
    Click(15, 15);
    EXPECT_EQ(Clicks.size(), 2u) << "the press that takes the focus clicks too";
    EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(SkinButtonsTest, APushButtonHidByItsClickRaisesNoMouseUpButASpeedButtonAlwaysDoes)
{
    auto* push = Place<TspSkinButton>(10, 10, "button");
    auto* speed = Place<TspSkinSpeedButton>(10, 60, "toolbutton");
    int pushUps = 0;
    int speedUps = 0;
    push->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++pushUps; };
    speed->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++speedUps; };
    Click(15, 15);
    Click(15, 65);
    EXPECT_EQ(pushUps, 1);
    EXPECT_EQ(speedUps, 1);
    push->OnClick = [push](TObject*) { push->Hide(); };
    speed->OnClick = [speed](TObject*) { speed->Hide(); };
    Click(15, 15);
    Click(15, 65);
    EXPECT_EQ(pushUps, 1) << "hidden by its click";
    EXPECT_EQ(speedUps, 2);
}

// ---- Content and the skinless look ----------------------------------------------------------------------------

TEST_F(SkinButtonsTest, TheSkinlessLookFramesAndFillsByStateAndMovesThePressedGlyph)
{
    auto* button = Place<TspSkinButton>(10, 10);
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(button->Height(), 25);
    // A 4-cell strip of 8 x 8 solid cells: red, green, blue, yellow.
    TBitmap glyph;
    glyph.SetSize(32, 8);
    const TColor cells[] = { clRed, clLime, clBlue, clYellow };
    for (int i = 0; i < 4; ++i) {
        glyph.Canvas()->Brush()->SetColor(cells[i]);
        glyph.Canvas()->FillRect(Rect(8 * i, 0, 8 * i + 8, 8));
    }
    // Bottom-left pixels are the transparent colour: give every cell a white corner.
    for (int i = 0; i < 4; ++i)
        glyph.Canvas()->SetPixels(8 * i, 7, clWhite);
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(4);
    const int cx = 10 + 75 / 2;
    const int cy = 10 + 25 / 2;
    struct TCase {
        const char* State;
        std::function<void()> Enter, Leave;
        TColor Frame, Fill, Cell;
        int Offset;
    };
    const std::vector<TCase> cases {
        { "idle", [] {}, [] {}, clBtnShadow, clBtnFace, clRed, 0 },
        { "hot", [&] { MoveTo(12, 12); }, [&] { MoveTo(300, 250); }, clNavy, TColor(0xD2BDB6), clYellow, 0 },
        { "pressed", [&] { MoveTo(12, 12); Press(); }, [&] { Release(); MoveTo(300, 250); }, clNavy,
            TColor(0xB59385), clBlue, 1 },
        { "disabled", [&] { button->SetEnabled(false); }, [&] { button->SetEnabled(true); }, clBtnShadow, clBtnFace,
            clLime, 0 },
    };
    for (const TCase& c : cases) {
        c.Enter();
        EXPECT_EQ(At(10, 10), Rgb(c.Frame)) << c.State;
        EXPECT_EQ(At(12, 12), Rgb(c.Fill)) << c.State;
        // The glyph is centred: 8 x 8 around the centre, moved by the pressed offset.
        EXPECT_EQ(At(cx - 4 + c.Offset, cy - 4 + c.Offset), Rgb(c.Cell)) << c.State;
        EXPECT_EQ(At(cx + 3 + c.Offset, cy - 4 + c.Offset), Rgb(c.Cell)) << c.State;
        c.Leave();
    }
    button->SetNumGlyphs(1);
    button->SetEnabled(false);
    // One cell: the whole strip, centred, also for the disabled state.
    EXPECT_EQ(At(cx - 15, cy - 4), Rgb(clRed));
}

TEST_F(SkinButtonsTest, ASpeedButtonShowsImageZeroOfItsListAndTakesItsWidthWithOrWithoutCaption)
{
    auto* images = new TImageList(Form);
    images->SetWidth(8);
    images->SetHeight(8);
    TBitmap picture;
    picture.SetSize(16, 8);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    picture.Canvas()->Brush()->SetColor(clBlue);
    picture.Canvas()->FillRect(Rect(8, 0, 16, 8));
    images->Add(&picture, nullptr);
    auto* button = Place<TspSkinSpeedButton>(10, 10);
    button->SetImageList(images);
    EXPECT_EQ(At(10 + 12, 10 + 12), Rgb(clRed)) << "image 0 of a new button";
    button->SetImageIndex(1);
    EXPECT_EQ(At(10 + 12, 10 + 12), Rgb(clBlue));
    button->SetImageIndex(7);
    EXPECT_EQ(At(10 + 12, 10 + 12), Rgb(clBtnFace)) << "no range check: no picture";

    button->SetCaption("Go");
    button->SetWidthWithCaption(60);
    button->SetWidthWithoutCaption(25);
    button->SetShowCaption(false);
    EXPECT_EQ(button->Width(), 25);
    button->SetShowCaption(true);
    EXPECT_EQ(button->Width(), 60);
}

TEST_F(SkinButtonsTest, AnIdleFlatSpeedButtonShowsOnlyItsContentOverTheParent)
{
    Form->SetColor(clTeal);
    auto* button = Place<TspSkinSpeedButton>(10, 10, "toolbutton");
    button->SetFlat(true);
    EXPECT_EQ(At(11, 11), Rgb(clTeal));
    MoveTo(15, 15);
    EXPECT_EQ(At(11, 11), PictureAt(kHot, 1, 1));
    MoveTo(300, 250);
    EXPECT_EQ(At(11, 11), Rgb(clTeal));
    // Latched in a group it keeps its pressed picture.
    button->SetGroupIndex(2);
    button->SetDown(true);
    EXPECT_EQ(At(11, 11), PictureAt(kPressed, 1, 1));
}

// ---- The program's own skin -------------------------------------------------------------------------------------

#ifdef TP_SKIN_DIR
TEST_F(SkinButtonsTest, TheProgramsSkinDrawsItsButtonRecordsByState)
{
    auto* programSkin = new TspSkinData(Application);
    programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(programSkin->Empty);
    for (const char* name : { "button", "resizebutton" }) {
        auto* button = new TspSkinButton(Form);
        button->SetParent(Form);
        button->SetBounds(10, 10, 90, 26);
        button->SetSkinDataName(name);
        button->SetSkinData(programSkin);
        Pump();
        ASSERT_NE(button->GetSkinIndex(), -1) << name;
        const uint32_t idle = At(10 + button->Width() / 2, 10 + 3);
        MoveTo(10 + button->Width() / 2, 12);
        for (int tick = 0; tick < 10; ++tick)
            Tick(20);
        const uint32_t hot = At(10 + button->Width() / 2, 10 + 3);
        Press();
        const uint32_t pressed = At(10 + button->Width() / 2, 10 + 3);
        Release();
        MoveTo(300, 250);
        EXPECT_NE(idle, hot) << name;
        EXPECT_NE(hot, pressed) << name;
        delete button;
        Pump();
    }
}

// A push button paints its kept face and its content (or the kept image of a caption alone) straight onto its
// window; through its off-screen image (a blend at full weight leaves the image as it is) it looks the same in
// every state, caption, glyph and focus rectangle included.
TEST_F(SkinButtonsTest, APaintStraightOntoTheWindowLooksAsOneThroughTheImage)
{
    for (bool withGlyph : { true, false }) {
        SCOPED_TRACE(withGlyph ? "with a glyph" : "a caption alone");
        ComparePaintStraightAndThroughImage(withGlyph);
    }
}

void SkinButtonsTest::ComparePaintStraightAndThroughImage(bool withGlyph)
{
    auto* programSkin = new TspSkinData(Application);
    programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(programSkin->Empty);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect(Rect(2, 2, 14, 14));
    auto make = [&](int y, bool throughImage) {
        auto* button = new TspSkinButton(Form);
        button->SetParent(Form);
        button->SetBounds(10, y, 110, 32);
        button->SetCaption("Convert &all");
        if (withGlyph)
            button->SetGlyph(&glyph);
        if (throughImage) {
            button->SetAlphaBlend(true);
            button->SetAlphaBlendValue(255);
        }
        button->SetSkinData(programSkin);
        return button;
    };
    TspSkinButton* straight = make(10, false);
    TspSkinButton* imaged = make(60, true);
    auto pixels = [&](TspSkinButton* button) {
        Pump();
        std::vector<uint32_t> out;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x)
                out.push_back(Backend.WindowPixel(Form->Handle(), button->Left() + x, button->Top() + y));
        return out;
    };
    const struct {
        const char* Name;
        std::function<void(TspSkinButton*)> Apply;
    } states[] = {
        { "normal", [](TspSkinButton*) {} },
        { "hot", [](TspSkinButton* b) { b->Perform(CM_MOUSEENTER, 0, 0); } },
        { "pressed", [](TspSkinButton* b) { b->SetDown(true); } },
        { "released and left", [](TspSkinButton* b) { b->SetDown(false), b->Perform(CM_MOUSELEAVE, 0, 0); } },
        { "focused", [](TspSkinButton* b) { b->SetFocus(); } },
        { "disabled", [](TspSkinButton* b) { b->SetEnabled(false); } },
    };
    for (const auto& state : states) {
        // One at a time, since only one of them can have the focus.
        state.Apply(straight);
        const std::vector<uint32_t> expected = pixels(straight);
        state.Apply(imaged);
        EXPECT_EQ(pixels(imaged), expected) << state.Name;
    }
    delete straight;
    delete imaged;
    delete programSkin;
    Pump();
}
#endif

TEST_F(SkinButtonsTest, AnAcceleratorClicksAPushButtonAndAShownSpeedButtonOnly)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 200, 150, 24);
    auto* push = Place<TspSkinButton>(10, 10, "button");
    push->SetCaption("&Go");
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetBounds(200, 10, 100, 60);
    auto* speed = new TspSkinSpeedButton(Form);
    speed->SetParent(panel);
    speed->SetCaption("&Run");
    speed->OnClick = [this, speed](TObject*) { Clicks.push_back(speed); };
    edit->SetFocus();
    Pump();
    auto accelerator = [&](char letter) {
        Backend.KeyDown(VK_MENU);
        Backend.Key(static_cast<UINT>(std::toupper(letter)), std::u32string(1, static_cast<char32_t>(letter)));
        Backend.KeyUp(VK_MENU);
        Pump();
    };
    accelerator('g');
    EXPECT_EQ(Clicks, (std::vector<TObject*> { push }));
    EXPECT_TRUE(push->Focused()) << "the push button takes the focus";
    accelerator('r');
    EXPECT_EQ(Clicks.size(), 2u);
    EXPECT_EQ(Clicks.back(), speed);
    panel->SetVisible(false);
    accelerator('r');
    EXPECT_EQ(Clicks.size(), 2u) << "on a hidden panel";
    panel->SetVisible(true);
    speed->SetVisible(false);
    accelerator('r');
    EXPECT_EQ(Clicks.size(), 2u) << "hidden itself";
}

TEST_F(SkinButtonsTest, AnImagesMenuChoiceShowsItsPictureAndADeletedMenuIsForgotten)
{
    // The images menu stands behind its link; this one holds a chosen picture.
    class TImagesMenuStandIn : public TComponent, public TspImagesMenuLink {
    public:
        using TComponent::TComponent;
        bool GetSelectedItem(int& imageIndex, std::string& caption) const override
        {
            imageIndex = 0;
            caption = "";
            return true;
        }
        TCustomImageList* Images() const override { return List; }
        void SetChangeReceiver(std::function<void()> receiver) override { Changed = std::move(receiver); }
        void SetCloseReceiver(std::function<void()>) override { }
        void PopupFromRect(const TRect&) override { }
        TCustomImageList* List = nullptr;
        std::function<void()> Changed;
    };
    auto* images = new TImageList(Form);
    images->SetWidth(8);
    images->SetHeight(8);
    TBitmap picture;
    picture.SetSize(8, 8);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
    images->Add(&picture, nullptr);
    auto* menu = new TImagesMenuStandIn(Form);
    menu->List = images;
    auto* button = Place<TspSkinButton>(10, 10);
    button->SetSkinImagesMenu(menu);
    EXPECT_NE(At(10 + 37, 10 + 12), Rgb(clFuchsia)) << "UseImagesMenuImage is off";
    button->SetUseImagesMenuImage(true);
    menu->Changed();
    EXPECT_EQ(At(10 + 37, 10 + 12), Rgb(clFuchsia)) << "the menu's change notice repaints";
    ASSERT_TRUE(menu->Changed);
    delete menu;
    EXPECT_EQ(button->SkinImagesMenu(), nullptr);
    button->Repaint();
    EXPECT_NE(At(10 + 37, 10 + 12), Rgb(clFuchsia));
}
