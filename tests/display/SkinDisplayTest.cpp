// Skinned controls and the program's own skins on real windows: a form holding one skinned control of each
// kind, and the renders of the program's dialog frame and main face, shown by the SDL backend on a private
// Xvfb. The screen must show at chosen pixels what the headless backend composes for the same form (and, for
// the program's skins, the skins' own pictures). The screenshots are kept under build/screenshots/.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/win/Platform.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WindowSurface.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/controls/SkinFrameCtrls.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinLinkLabels.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/controls/SkinNotebook.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/SkinColorGrids.h"
#include "skin/dialogs/TspSkinColorDialog.h"
#include "skin/dialogs/TspSkinMessage.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/app/ProgramSkinRenders.h"
#include "tests/display/SkinDisplaySession.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Where the forms stand on the screen; the pointer rests away from them, so nothing shows hot.
constexpr POINT kRestingPoint { 1000, 740 };

// What a form showed: the pixels of its screen rectangle (0x00RRGGBB, rows top-down).
struct TShown {
    RECT Area {};
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const
    {
        return Pixels[size_t(y) * size_t(Area.right - Area.left) + size_t(x)];
    }
};

std::vector<uint32_t> WithoutAlpha(std::vector<uint32_t> pixels)
{
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

using TBuildForm = std::function<void(TForm* form)>;

enum class TDisplay { Headless, Xvfb };

// The user at a shown form, on either display. Each step returns once `done` holds: at once on the headless
// backend, which takes the input synchronously; on the real display once the program has taken the events
// xdotool sent.
class TUser {
public:
    using TDone = std::function<bool()>;
    virtual ~TUser() = default;
    // A left click at a screen point.
    virtual void Click(int x, int y, const TDone& done) = 0;
    // A key: its xdotool name and its virtual key.
    virtual void Key(const std::string& name, UINT virtualKey, const TDone& done) = 0;
    // Moves the pointer to a screen point.
    virtual void MoveTo(int x, int y, const TDone& done) = 0;
};
using TPlay = std::function<void(TUser& user)>;

class THeadlessUser final : public TUser {
public:
    explicit THeadlessUser(THeadlessBackend& backend)
        : FBackend(backend)
    {
    }
    void Click(int x, int y, const TDone& done) override
    {
        // Apart in time, so that no two clicks make a double click.
        FBackend.AdvanceClock(1000);
        FBackend.Click(x, y);
        Application->ProcessMessages();
        EXPECT_TRUE(done()) << "after the click at " << x << "," << y;
    }
    void Key(const std::string& name, UINT virtualKey, const TDone& done) override
    {
        FBackend.Key(virtualKey);
        Application->ProcessMessages();
        EXPECT_TRUE(done()) << "after the key " << name;
    }
    void MoveTo(int x, int y, const TDone& done) override
    {
        FBackend.MouseMove(x, y);
        Application->ProcessMessages();
        EXPECT_TRUE(done()) << "after the move to " << x << "," << y;
    }

private:
    THeadlessBackend& FBackend;
};

// Runs the program's loop until `done` holds; false after the session's deadline.
bool PumpUntil(const TUser::TDone& done)
{
    return SkinDisplaySession::WaitUntil(
        [&] {
            Application->ProcessMessages();
            return done();
        },
        [&](std::chrono::milliseconds slice) {
            PlatformBackend()->WaitForEvents(GetTickCount64() + uint64_t(slice.count()));
        });
}

class TXvfbUser final : public TUser {
public:
    void Click(int x, int y, const TDone& done) override
    {
        SkinDisplaySession::Click(x, y);
        EXPECT_TRUE(PumpUntil(done)) << "after the click at " << x << "," << y;
    }
    void Key(const std::string& name, UINT, const TDone& done) override
    {
        SkinDisplaySession::Key(name);
        EXPECT_TRUE(PumpUntil(done)) << "after the key " << name;
    }
    void MoveTo(int x, int y, const TDone& done) override
    {
        SkinDisplaySession::MovePointer(x, y);
        EXPECT_TRUE(PumpUntil(done)) << "after the move to " << x << "," << y;
    }
};

// Builds a borderless form at `area` with `build`, shows it, lets `play` act on it, and returns what the
// screen shows there: the window layer's composed screen on the headless backend, the X server's own pixels on
// the SDL backend once they show what the layer composed.
TShown ShowForm(TDisplay display, const RECT& area, const TBuildForm& build, const TPlay& play = {})
{
    THeadlessBackend headless;
    TSdlBackend sdl;
    TShown shown { area, {} };
    const bool real = display == TDisplay::Xvfb;
    if (real) {
        std::string error;
        if (!sdl.Install(SkinDisplaySession::DisplayName().c_str(), &error)) {
            ADD_FAILURE() << error;
            return shown;
        }
        SkinDisplaySession::MovePointer(kRestingPoint.x, kRestingPoint.y);
    } else {
        headless.UseManualClock(1000);
        if (!headless.Install()) {
            ADD_FAILURE() << "the headless backend did not start";
            return shown;
        }
    }
    // The screen once it shows what the layer composed (at once on the headless backend).
    auto settle = [&] {
        if (!real) {
            shown.Pixels = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
            return;
        }
        std::vector<uint32_t> composed;
        const bool showing = PumpUntil([&] {
            composed = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
            shown.Pixels
                = SkinDisplaySession::Grab(area.left, area.top, area.right - area.left, area.bottom - area.top);
            return shown.Pixels == composed;
        });
        EXPECT_TRUE(showing) << "the X server does not show what the window layer composed";
    };
    InitializeForms();
    {
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
        form->SetColor(clWhite);
        build(form);
        form->Show();
        Application->ProcessMessages();
        settle();
        if (play) {
            THeadlessUser headlessUser(headless);
            TXvfbUser xvfbUser;
            play(real ? static_cast<TUser&>(xvfbUser) : static_cast<TUser&>(headlessUser));
            settle();
        }
    }
    FinalizeForms();
    if (real)
        sdl.Uninstall();
    else
        headless.Uninstall();
    return shown;
}

void KeepScreenshot(const TShown& shown, const std::string& name)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    const int width = shown.Area.right - shown.Area.left;
    const int height = shown.Area.bottom - shown.Area.top;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint32_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = shown.At(x, y) | 0xFF000000u;
    }
    ProgramSkinRenders::KeepScreenshot(bitmap, TP_SCREENSHOT_DIR, name);
}


// A control of a test form and its box in the form.
struct TControlBox {
    const char* Name;
    RECT Box;
};

// Chosen points of every control: near its top-left corner, at its centre and near its bottom-right corner.
// Each control drew there (not all white), and the screen shows what the headless render shows.
template <size_t N> void ExpectControlsShowAlike(const TShown& expected, const TShown& actual, const TControlBox (&controls)[N])
{
    for (const TControlBox& control : controls) {
        SCOPED_TRACE(control.Name);
        const RECT& b = control.Box;
        bool drew = false;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                drew = drew || expected.At(x, y) != 0xFFFFFF;
        EXPECT_TRUE(drew) << "the control drew nothing";
        const POINT points[] = { { b.left + 2, b.top + 2 }, { (b.left + b.right) / 2, (b.top + b.bottom) / 2 },
            { b.right - 3, b.bottom - 3 } };
        for (const POINT& p : points)
            EXPECT_EQ(actual.At(p.x, p.y), expected.At(p.x, p.y)) << "at " << p.x << "," << p.y;
    }
}

// ---- Skinned controls ------------------------------------------------------------------------------------------

// A skin with a record for each control: a 200 x 120 sheet of generated colours holds the nine-part and
// label backgrounds, four-frame strips and the bitmap font.
void WriteControlsSkin(TFixtureSkin& fixture)
{
    fixture.AddActivePicture("controls.bmp", 200, 120, 11);
    fixture.AddControl("panel", "panel",
        { { "pictureindex", "0" }, { "skinrect", "0,0,60,30" }, { "lefttoppoint", "6,6" }, { "righttoppoint", "54,6" },
            { "leftbottompoint", "6,24" }, { "rightbottompoint", "54,24" }, { "clientrect", "6,6,54,24" } });
    fixture.AddControl("stdlabel", "stdlabel",
        { { "fontname", "DejaVu Sans" }, { "fontheight", "14" }, { "fontcolor", "8388736" } });
    fixture.AddControl("label", "label",
        { { "pictureindex", "0" }, { "skinrect", "0,30,60,50" }, { "lefttoppoint", "4,0" }, { "righttoppoint", "56,0" },
            { "clientrect", "4,2,56,18" }, { "fontname", "DejaVu Sans" }, { "fontheight", "14" },
            { "fontcolor", "16777215" } });
    fixture.AddControl("statuspanel", "label",
        { { "pictureindex", "0" }, { "skinrect", "60,30,120,50" }, { "lefttoppoint", "4,0" },
            { "righttoppoint", "56,0" }, { "clientrect", "4,2,56,18" }, { "fontname", "DejaVu Sans" },
            { "fontheight", "14" }, { "fontcolor", "65280" } });
    fixture.AddControl("bitlabel", "bitlabel",
        { { "pictureindex", "0" }, { "skinrect", "0,50,30,66" }, { "lefttoppoint", "4,0" }, { "righttoppoint", "26,0" },
            { "clientrect", "4,2,26,14" }, { "skintextrect", "0,70,100,94" }, { "symbolwidth", "10" },
            { "symbolheight", "12" }, { "symbolslinecount", "2" }, { "symbolsline0", "0123456789" },
            { "symbolsline1", "ABC" } });
    fixture.AddControl("bevel", "bevel", { { "lightcolor", "16776960" }, { "darkcolor", "255" } });
    for (const char* kind : { "switch", "animate", "framegauge", "frameregulator" })
        fixture.AddControl(kind, kind,
            { { "pictureindex", "0" }, { "skinrect", "120,0,200,24" }, { "framescount", "4" },
                { "framesplacement", "fphorizontal" } });
}

// One skinned control of each kind on a white form, at places of their own.
void BuildControlsForm(TForm* form, TspSkinData* skin)
{
    auto place = [&](auto* control, int x, int y, int width, int height) {
        control->SetParent(form);
        control->SetBounds(x, y, width, height);
        control->SetSkinData(skin);
        return control;
    };
    // The resizable roots, windowed and windowless, and a windowed one blended over the form.
    place(new TspSkinCustomControl(form), 10, 10, 120, 40)->SetSkinDataName("panel");
    place(new TspGraphicSkinCustomControl(form), 140, 10, 120, 40)->SetSkinDataName("panel");
    auto* blended = new TspSkinCustomControl(form);
    blended->SetSkinDataName("panel");
    blended->SetAlphaBlend(true);
    blended->SetAlphaBlendValue(128);
    place(blended, 270, 10, 120, 40);
    // The frame strips.
    int x = 10;
    for (TspFrameSkinControl* strip : std::initializer_list<TspFrameSkinControl*> { new TspSkinSwitch(form),
             new TspSkinAnimate(form), new TspSkinFrameGauge(form), new TspSkinFrameRegulator(form) }) {
        place(strip, x, 60, 20, 24);
        x += 40;
    }
    static const char* const kStrips[] = { "switch", "animate", "framegauge", "frameregulator" };
    for (int i = 0; i < 4; ++i)
        dynamic_cast<TspFrameSkinControl*>(form->Controls(form->ControlCount() - 4 + i))->SetSkinDataName(kStrips[i]);
    // The labels.
    place(new TspSkinStdLabel(form), 10, 100, 120, 20)->SetCaption("Standard label");
    // Sized after its lines, which it would otherwise shrink to while it has none.
    auto* text = new TspSkinTextLabel(form);
    text->SetAutoSize(false);
    text->Lines()->Add("Text label");
    text->Lines()->Add("second line");
    place(text, 140, 100, 120, 40);
    place(new TspSkinLabel(form), 270, 100, 120, 20)->SetCaption("Skin label");
    place(new TspSkinStatusPanel(form), 400, 100, 100, 20)->SetCaption("Status");
    auto* bits = place(new TspSkinBitLabel(form), 10, 150, 60, 16);
    bits->SetCaption("A12");
    auto* link = place(new TspSkinLinkLabel(form), 140, 150, 120, 20);
    link->SetCaption("Project site");
    link->SetURL("https://example.org/");
    place(new TspSkinButtonLabel(form), 270, 150, 120, 24)->SetCaption("Button label");
    auto* bevel = place(new TspSkinBevel(form), 10, 190, 120, 40);
    bevel->SetShape(bsBox);
    place(new TspSkinWaveLabel(form), 140, 190, 120, 30)->SetCaption("Wave");
    place(new TspSkinShadowLabel(form), 270, 190, 120, 30)->SetCaption("Shadow");
    // The link image needs no skin: a picture of its own.
    auto* image = new TspSkinLinkImage(form);
    image->SetParent(form);
    image->SetBounds(400, 190, 40, 30);
    TBitmap picture;
    picture.SetSize(40, 30);
    picture.Canvas()->Brush()->SetColor(static_cast<TColor>(0x00336699));
    picture.Canvas()->FillRect(TRect { 0, 0, 40, 30 });
    image->Picture()->Assign(&picture);
}

TEST(SkinDisplay, AFormWithOneSkinnedControlOfEachKindShowsTheHeadlessPixels)
{
    TFixtureSkin fixture;
    WriteControlsSkin(fixture);
    const std::string path = fixture.Write();
    const RECT area { 100, 100, 620, 360 };
    auto build = [&](TForm* form) {
        auto* skin = new TspSkinData(form);
        skin->LoadFromFile(path);
        ASSERT_FALSE(skin->Empty);
        BuildControlsForm(form, skin);
    };
    const TShown expected = ShowForm(TDisplay::Headless, area, build);
    const TShown actual = ShowForm(TDisplay::Xvfb, area, build);
    ASSERT_EQ(expected.Pixels.size(), actual.Pixels.size());
    KeepScreenshot(actual, "display-skinned-controls.png");
    const TControlBox kControls[] = { { "windowed custom control", { 10, 10, 130, 50 } },
        { "windowless custom control", { 140, 10, 260, 50 } }, { "blended custom control", { 270, 10, 390, 50 } },
        { "switch", { 10, 60, 30, 84 } }, { "animation", { 50, 60, 70, 84 } }, { "frame gauge", { 90, 60, 110, 84 } },
        { "frame regulator", { 130, 60, 150, 84 } }, { "standard label", { 10, 100, 130, 120 } },
        { "text label", { 140, 100, 260, 140 } }, { "skin label", { 270, 100, 390, 120 } },
        { "status panel", { 400, 100, 500, 120 } }, { "bit label", { 10, 150, 70, 166 } },
        { "link label", { 140, 150, 260, 170 } }, { "button label", { 270, 150, 390, 174 } },
        { "bevel", { 10, 190, 130, 230 } }, { "wave label", { 140, 190, 260, 220 } },
        { "shadow label", { 270, 190, 390, 220 } }, { "link image", { 400, 190, 440, 220 } } };
    ExpectControlsShowAlike(expected, actual, kControls);
}

// ---- The value controls, buttons and panels --------------------------------------------------------------------

// Records for them on a second sheet (picture 1, 200 x 120), beside the first sheet's "panel".
void WriteValueControlsSkin(TFixtureSkin& fixture)
{
    WriteControlsSkin(fixture);
    fixture.AddActivePicture("values.bmp", 200, 120, 12);
    // Marks 13 x 13 along y 0; the face 80 x 25 at y 20, hot at y 45.
    fixture.AddControl("checkbox", "checkradio",
        { { "pictureindex", "1" }, { "checkimagerect", "100,0,113,13" }, { "uncheckimagerect", "113,0,126,13" },
            { "activecheckimagerect", "126,0,139,13" }, { "activeuncheckimagerect", "139,0,152,13" },
            { "skinrect", "0,20,80,45" }, { "activeskinrect", "0,45,80,70" }, { "checkimagearea", "2,2,22,23" },
            { "textarea", "24,0,78,25" }, { "fontname", "DejaVu Sans" }, { "fontheight", "13" },
            { "framefontcolor", "128" }, { "fontcolor", "128" }, { "activefontcolor", "32768" } });
    fixture.AddControl("gauge", "gauge",
        { { "pictureindex", "1" }, { "skinrect", "0,70,100,90" }, { "progressarea", "2,2,98,18" },
            { "progressrect", "100,70,140,86" }, { "beginoffset", "5" }, { "endoffset", "5" } });
    fixture.AddControl("htrackbar", "trackbar",
        { { "pictureindex", "1" }, { "skinrect", "0,90,100,110" }, { "trackarea", "2,2,98,18" },
            { "buttonrect", "100,90,110,106" }, { "activebuttonrect", "110,90,120,106" } });
    fixture.AddControl("groupbox", "panel",
        { { "pictureindex", "1" }, { "skinrect", "140,20,200,60" }, { "lefttoppoint", "6,20" },
            { "righttoppoint", "54,20" }, { "leftbottompoint", "6,34" }, { "rightbottompoint", "54,34" },
            { "clientrect", "6,20,54,34" }, { "captionrect", "6,2,54,18" }, { "checkimagerect", "160,0,172,12" },
            { "uncheckimagerect", "172,0,184,12" }, { "fontname", "DejaVu Sans" }, { "fontheight", "13" } });
    fixture.AddControl("statusbar", "panel",
        { { "pictureindex", "1" }, { "skinrect", "140,60,200,90" }, { "lefttoppoint", "4,4" },
            { "righttoppoint", "56,4" }, { "leftbottompoint", "4,26" }, { "rightbottompoint", "56,26" },
            { "clientrect", "4,4,56,26" }, { "gripperrect", "184,100,196,112" } });
    fixture.AddControl("toolbutton", "button",
        { { "pictureindex", "1" }, { "skinrect", "120,90,160,110" }, { "lefttoppoint", "4,4" },
            { "righttoppoint", "36,4" }, { "leftbottompoint", "4,16" }, { "rightbottompoint", "36,16" },
            { "clientrect", "4,4,36,16" }, { "fontname", "DejaVu Sans" }, { "fontheight", "12" } });
}

// The controls the user acts on, and what came of it.
struct TValueForm {
    TspSkinCheckRadioBox* Check = nullptr;
    TspSkinCheckRadioBox* Radio = nullptr;
    TspSkinTrackBar* Track = nullptr;
    TspSkinGroupBox* Group = nullptr;
    TspSkinNotebook* Notebook = nullptr;
    TspSkinButton* Push = nullptr;
    int PushClicks = 0;
    bool PushHovered = false;

    std::vector<std::string> Facts() const
    {
        return { std::string("check: ") + (Check->Checked() ? "checked" : "unchecked"),
            std::string("radio: ") + (Radio->Checked() ? "checked" : "unchecked"),
            "track: " + std::to_string(Track->Value()), std::string("group: ") + (Group->Checked() ? "on" : "off"),
            "page: " + Notebook->ActivePage(), "push clicks: " + std::to_string(PushClicks) };
    }
};

void BuildValueControlsForm(TForm* form, TspSkinData* skin, TValueForm& made)
{
    auto place = [&](auto* control, int x, int y, int width, int height) {
        control->SetParent(form);
        control->SetBounds(x, y, width, height);
        control->SetSkinData(skin);
        return control;
    };
    made.Check = place(new TspSkinCheckRadioBox(form), 10, 10, 150, 25);
    made.Check->SetCaption("Check");
    made.Radio = new TspSkinCheckRadioBox(form);
    made.Radio->SetFlat(false);
    made.Radio->SetRadio(true);
    made.Radio->SetCaption("Radio");
    place(made.Radio, 170, 10, 80, 25);
    place(new TspSkinGauge(form), 260, 10, 100, 20)->SetValue(40);
    made.Track = place(new TspSkinTrackBar(form), 370, 10, 100, 20);
    made.Track->SetCanFocused(true);
    // The buttons of the same issue, in their default looks (the skin has no records for them).
    made.Push = place(new TspSkinButton(form), 10, 50, 90, 25);
    made.Push->SetCaption("Push");
    made.Push->OnClick = [&made](TObject*) { ++made.PushClicks; };
    made.Push->OnMouseEnter = [&made](TObject*) { made.PushHovered = true; };
    made.Push->OnMouseLeave = [&made](TObject*) { made.PushHovered = false; };
    place(new TspSkinSpeedButton(form), 110, 50, 90, 25)->SetCaption("Speed");
    place(new TspSkinMenuButton(form), 210, 50, 90, 25)->SetCaption("Menu");
    place(new TspSkinMenuSpeedButton(form), 310, 50, 90, 25)->SetCaption("Menu speed");
    // The panel family.
    place(new TspSkinPanel(form), 10, 90, 120, 70);
    made.Group = new TspSkinGroupBox(form);
    made.Group->SetCheckedMode(true);
    made.Group->SetCaption("Group");
    place(made.Group, 140, 90, 140, 70);
    auto* paint = place(new TspSkinPaintPanel(form), 290, 90, 80, 70);
    paint->OnPanelPaint = [](TCanvas* canvas, TRect r) {
        canvas->Brush()->SetColor(static_cast<TColor>(0x00805020));
        canvas->FillRect(TRect { r.Left + 10, r.Top + 10, r.Right - 10, r.Bottom - 10 });
    };
    made.Notebook = place(new TspSkinNotebook(form), 380, 90, 130, 150);
    made.Notebook->Pages()->SetStrings(0, "One");
    made.Notebook->Pages()->Add("Two");
    made.Notebook->Pages()->Add("Three");
    made.Notebook->SetPageIndex(0);
    made.Notebook->SetButtonsMode(true);
    auto* status = place(new TspSkinStatusBar(form), 0, 0, 100, 21);
    status->SetSizeGrip(true);
}

// Clicks the check box and toggles it back with the space key, clicks the radio face, focuses the track bar
// on its thumb and steps it twice with the right arrow, checks the group box on its caption, opens the third
// page by its button and clicks the push button; the pointer then rests over an empty part of the form.
void PlayValueControlsForm(TUser& user, const RECT& area, TValueForm& made)
{
    auto click = [&](const TControl* control, int x, int y, const TUser::TDone& done) {
        const TPoint p = control->ClientToScreen(TPoint { x, y });
        user.Click(p.X, p.Y, done);
    };
    click(made.Check, 10, 12, [&] { return made.Check->Checked(); });
    user.Key("space", VK_SPACE, [&] { return !made.Check->Checked(); });
    click(made.Radio, 40, 12, [&] { return made.Radio->Checked(); });
    const TRect thumb = made.Track->CalcButtonRect(made.Track->TrackRect());
    click(made.Track, (thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2,
        [&] { return made.Track->Focused() && !made.Track->Dragging(); });
    user.Key("Right", VK_RIGHT, [&] { return made.Track->Value() == 51; });
    user.Key("Right", VK_RIGHT, [&] { return made.Track->Value() == 52; });
    click(made.Group, 30, 10, [&] { return made.Group->Checked(); });
    const TRect third = made.Notebook->PageButtons()[2]->BoundsRect();
    click(made.Notebook, (third.Left + third.Right) / 2, (third.Top + third.Bottom) / 2,
        [&] { return made.Notebook->PageIndex() == 2; });
    click(made.Push, 45, 12, [&] { return made.PushClicks == 1; });
    user.MoveTo(area.left + 300, area.top + 200, [&] { return !made.PushHovered; });
}

TEST(SkinDisplay, SkinnedValueControlsButtonsAndPanelsTakeClicksAndKeysAsHeadless)
{
    TFixtureSkin fixture;
    WriteValueControlsSkin(fixture);
    const std::string path = fixture.Write();
    const RECT area { 100, 100, 620, 400 };
    std::vector<std::string> facts;
    auto show = [&](TDisplay display) {
        TValueForm made;
        const TShown shown = ShowForm(
            display, area,
            [&](TForm* form) {
                auto* skin = new TspSkinData(form);
                skin->LoadFromFile(path);
                ASSERT_FALSE(skin->Empty);
                BuildValueControlsForm(form, skin, made);
            },
            [&](TUser& user) {
                PlayValueControlsForm(user, area, made);
                facts = made.Facts();
            });
        return shown;
    };
    const TShown expected = show(TDisplay::Headless);
    EXPECT_EQ(facts,
        (std::vector<std::string> { "check: unchecked", "radio: checked", "track: 52", "group: on", "page: Three",
            "push clicks: 1" }));
    const std::vector<std::string> headlessFacts = facts;
    const TShown actual = show(TDisplay::Xvfb);
    EXPECT_EQ(facts, headlessFacts);
    ASSERT_EQ(expected.Pixels.size(), actual.Pixels.size());
    KeepScreenshot(actual, "display-skinned-value-controls.png");
    const TControlBox kControls[] = { { "check box", { 10, 10, 160, 35 } }, { "radio face", { 170, 10, 250, 35 } },
        { "gauge", { 260, 10, 360, 30 } }, { "track bar", { 370, 10, 470, 30 } },
        { "push button", { 10, 50, 100, 75 } }, { "speed button", { 110, 50, 200, 75 } },
        { "menu button", { 210, 50, 300, 75 } }, { "menu speed button", { 310, 50, 400, 75 } },
        { "panel", { 10, 90, 130, 160 } }, { "group box", { 140, 90, 280, 160 } },
        { "paint panel", { 290, 90, 370, 160 } }, { "notebook", { 380, 90, 510, 240 } },
        { "status bar", { 0, 279, 520, 300 } } };
    ExpectControlsShowAlike(expected, actual, kControls);
}

// ---- The program's own skins -----------------------------------------------------------------------------------

const std::string kSkinFolder = TP_SKIN_DIR "/";

// A form showing `render` in an image that fills it.
TBuildForm ShowingPicture(TBitmap& render)
{
    return [&render](TForm* form) {
        auto* image = new TImage(form);
        image->SetParent(form);
        image->SetBounds(0, 0, render.Width(), render.Height());
        image->Picture()->Assign(&render);
    };
}

TEST(SkinDisplay, TheDialogFrameOfTheFormSkinShowsOnARealWindow)
{
    TspSkinData skin(nullptr);
    skin.LoadFromFile(kSkinFolder + "Skin.ini");
    ASSERT_FALSE(skin.Empty);
    const int width = 480;
    const int height = 340;
    TBitmap frame;
    ProgramSkinRenders::TDialogFrame parts;
    ASSERT_TRUE(ProgramSkinRenders::RenderDialogFrame(skin, width, height, frame, parts));
    const RECT area { 60, 60, 60 + width, 60 + height };
    const TShown shown = ShowForm(TDisplay::Xvfb, area, ShowingPicture(frame));
    ASSERT_EQ(shown.Pixels.size(), size_t(width * height));
    KeepScreenshot(shown, "display-dialog-frame.png");

    // The frame's corners and edges are the frame picture's, the close button the button picture's.
    TBitmap& picture = *skin.Picture;
    const int w = picture.Width();
    const int h = picture.Height();
    using ProgramSkinRenders::PixelAt;
    const std::pair<POINT, POINT> fromPicture[] = { { { 0, 0 }, { 0, 0 } }, { { width - 1, 0 }, { w - 1, 0 } },
        { { 0, height - 1 }, { 0, h - 1 } }, { { width - 1, height - 1 }, { w - 1, h - 1 } },
        { { 3, 20 }, { 3, 20 } }, { { width / 2, 10 }, { w / 2, 10 } }, { { width / 2, height / 2 }, { w / 2, h / 2 } } };
    for (const auto& [at, from] : fromPicture)
        EXPECT_EQ(shown.At(at.x, at.y), PixelAt(picture, from.x, from.y)) << at.x << "," << at.y;
    const TRect close = parts.Close->SkinRect;
    const int bw = close.Right - close.Left;
    const int bh = close.Bottom - close.Top;
    for (const POINT& p : { POINT { bw / 2, bh / 2 }, POINT { 2, 2 }, POINT { bw / 2 + 3, bh / 2 + 3 } })
        EXPECT_EQ(shown.At(parts.CloseLeft + p.x, skin.CaptionRect.Top + p.y),
            PixelAt(*parts.Buttons, close.Left + p.x, close.Top + p.y));
}

TEST(SkinDisplay, TheMainFaceShowsItsButtonsNormalAndHotOnARealWindow)
{
    TspSkinData skin(nullptr);
    skin.LoadFromFile(kSkinFolder + "MainSkin.ini");
    ASSERT_FALSE(skin.Empty);
    TBitmap window;
    const TspDataSkinButton* go = ProgramSkinRenders::RenderMainFaceHot(skin, "Go", window);
    ASSERT_NE(go, nullptr);
    ASSERT_EQ(window.Width(), 785);
    ASSERT_EQ(window.Height(), 521);
    const RECT area { 20, 20, 20 + 785, 20 + 521 };
    const TShown shown = ShowForm(TDisplay::Xvfb, area, ShowingPicture(window));
    ASSERT_EQ(shown.Pixels.size(), size_t(785 * 521));
    KeepScreenshot(shown, "display-main-face-go-hot.png");

    // "Go" shows its hot look from the states picture; another button, and the face around "Go", the face's.
    using ProgramSkinRenders::PixelAt;
    TBitmap& face = *skin.Picture;
    TBitmap& states = *skin.ActivePictures[size_t(go->ActivePictureIndex)];
    const TPoint fill { go->SkinRect.Left + 6, go->SkinRect.Top + 26 };
    EXPECT_EQ(shown.At(fill.X, fill.Y), PixelAt(states, go->ActiveSkinRect.Left + 6, go->ActiveSkinRect.Top + 26));
    EXPECT_NE(shown.At(fill.X, fill.Y), PixelAt(face, fill.X, fill.Y)) << "hot differs from normal";
    EXPECT_EQ(shown.At(go->SkinRect.Left - 3, fill.Y), PixelAt(face, go->SkinRect.Left - 3, fill.Y));
    const int stop = skin.GetIndex("Stop");
    ASSERT_GE(stop, 0);
    const TRect normal = skin.ObjectRecords[size_t(stop)]->SkinRect;
    for (const POINT& p : { POINT { normal.Left + 6, normal.Top + 6 },
             POINT { (normal.Left + normal.Right) / 2, (normal.Top + normal.Bottom) / 2 } })
        EXPECT_EQ(shown.At(p.x, p.y), PixelAt(face, p.x, p.y)) << "Stop at " << p.x << "," << p.y;
    for (const POINT& p : { POINT { 0, 0 }, POINT { 392, 2 }, POINT { 784, 520 }, POINT { 400, 300 } })
        EXPECT_EQ(shown.At(p.x, p.y), PixelAt(face, p.x, p.y)) << p.x << "," << p.y;
}

} // namespace

// ---- Skinned page control and message dialog -------------------------------------------------------------------

namespace {

// A page control of three sheets drawn from a fixture "tab" record: 60 x 20 tabs with 5-pixel caps, a
// nine-part frame with 4-pixel borders.
void WriteTabsSkin(TFixtureSkin& fixture)
{
    fixture.AddActivePicture("tabs.bmp", 240, 200, 21);
    fixture.AddControl("tab", "tab",
        { { "pictureindex", "0" }, { "skinrect", "0,100,60,140" }, { "lefttoppoint", "4,4" },
            { "righttoppoint", "56,4" }, { "leftbottompoint", "4,36" }, { "rightbottompoint", "56,36" },
            { "clientrect", "4,4,56,36" }, { "tabrect", "0,0,60,20" }, { "activetabrect", "0,20,60,40" },
            { "focustabrect", "0,40,60,60" }, { "mouseintabrect", "0,60,60,80" }, { "tabsbgrect", "120,0,130,10" },
            { "tableftoffset", "5" }, { "tabrightoffset", "5" }, { "fontname", "DejaVu Sans" },
            { "fontheight", "12" } });
}

} // namespace

TEST(SkinDisplay, APageControlSwitchedByClickingItsTabsShowsTheHeadlessPixels)
{
    TFixtureSkin fixture;
    WriteTabsSkin(fixture);
    const std::string path = fixture.Write();
    const RECT area { 100, 100, 500, 350 };
    std::vector<int> pages;
    auto show = [&](TDisplay display) {
        TspSkinPageControl* control = nullptr;
        pages.clear();
        return ShowForm(
            display, area,
            [&](TForm* form) {
                auto* skin = new TspSkinData(form);
                skin->LoadFromFile(path);
                ASSERT_FALSE(skin->Empty);
                control = new TspSkinPageControl(form);
                control->SetBounds(10, 10, 380, 230);
                control->SetParent(form);
                control->SetSkinData(skin);
                for (const char* caption : { "One", "Two", "Three" }) {
                    auto* sheet = new TspSkinTabSheet(form);
                    sheet->SetCaption(caption);
                    sheet->SetPageControl(control);
                }
            },
            [&](TUser& user) {
                for (int tab : { 2, 1 }) {
                    const TRect r = control->GetItemRect(tab);
                    const TPoint p = control->ClientToScreen(TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
                    user.Click(p.X, p.Y, [&] { return control->ActivePageIndex() == tab; });
                    pages.push_back(control->ActivePageIndex());
                }
                user.MoveTo(area.left + 300, area.top + 240, [&] { return control->HotTab() == -1; });
            });
    };
    const TShown expected = show(TDisplay::Headless);
    EXPECT_EQ(pages, (std::vector<int> { 2, 1 }));
    const TShown actual = show(TDisplay::Xvfb);
    EXPECT_EQ(pages, (std::vector<int> { 2, 1 }));
    ASSERT_EQ(expected.Pixels.size(), actual.Pixels.size());
    KeepScreenshot(actual, "display-skinned-page-control.png");
    const TControlBox kControls[] = { { "tab strip", { 10, 10, 200, 30 } }, { "page frame", { 10, 30, 390, 240 } } };
    ExpectControlsShowAlike(expected, actual, kControls);
}

TEST(SkinDisplay, ASkinnedMessageDialogIsAnsweredWithTheKeyboardAsHeadless)
{
    // The dialog opens over a shown form; once it is up its screen area is grabbed and Escape answers it.
    auto show = [&](TDisplay display, int& answer) {
        TShown dialog;
        ShowForm(display, { 0, 0, 10, 10 }, [](TForm*) {},
            [&](TUser& user) {
                TspSkinMessage message(Application);
                bool answered = false;
                Application->OnIdle = [&](TObject*, bool& idle) {
                    TspMessageForm* form = nullptr;
                    for (int i = 0; i < Screen->FormCount() && !form; ++i)
                        form = dynamic_cast<TspMessageForm*>(Screen->Forms(i));
                    if (!form || answered || !form->Visible())
                        return;
                    answered = true;
                    idle = false;
                    const RECT area { form->Left(), form->Top(), form->Left() + form->Width(),
                        form->Top() + form->Height() };
                    dialog.Area = area;
                    if (display == TDisplay::Xvfb) {
                        std::vector<uint32_t> composed;
                        PumpUntil([&] {
                            composed = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
                            dialog.Pixels = SkinDisplaySession::Grab(area.left, area.top, area.right - area.left,
                                area.bottom - area.top);
                            return dialog.Pixels == composed;
                        });
                    } else {
                        dialog.Pixels = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
                    }
                    user.Key("Escape", VK_ESCAPE, [&] { return form->ModalResult() != mrNone; });
                };
                answer = message.MessageDlg("Overwrite the file?", mtConfirmation, { mbYes, mbNo, mbCancel }, 0);
                Application->OnIdle = nullptr;
            });
        return dialog;
    };
    int headlessAnswer = 0, realAnswer = 0;
    const TShown expected = show(TDisplay::Headless, headlessAnswer);
    const TShown actual = show(TDisplay::Xvfb, realAnswer);
    EXPECT_EQ(headlessAnswer, mrCancel);
    EXPECT_EQ(realAnswer, mrCancel);
    ASSERT_EQ(expected.Pixels.size(), actual.Pixels.size());
    ASSERT_FALSE(expected.Pixels.empty());
    KeepScreenshot(actual, "display-skinned-message-dialog.png");
    const int w = expected.Area.right - expected.Area.left, h = expected.Area.bottom - expected.Area.top;
    const TControlBox kControls[] = { { "dialog", { 0, 0, w, h } } };
    ExpectControlsShowAlike(expected, actual, kControls);
}

// ---- Colour dialog -----------------------------------------------------------------------------------------------

TEST(SkinDisplay, AColourPickedInTheColourDialogByMouseAndKeyboardShowsTheHeadlessPixels)
{
    // Over a shown form the dialog opens; a click takes a basic colour, a click on the ring turns its hue, the
    // screen is grabbed, and Return accepts.
    auto show = [&](TDisplay display, TColor& picked, bool& accepted) {
        TShown dialog;
        ShowForm(display, { 0, 0, 10, 10 }, [](TForm*) {},
            [&](TUser& user) {
                TspSkinColorDialog colours(Application);
                colours.Color = clWhite;
                bool answered = false;
                Application->OnIdle = [&](TObject*, bool& idle) {
                    TspColorDialogForm* form = colours.Form();
                    if (!form || answered || !form->Visible())
                        return;
                    answered = true;
                    idle = false;
                    const TRect cell = form->ColorGrid->CellRect(8);
                    const TPoint onCell = form->ColorGrid->ClientToScreen(
                        TPoint { (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2 });
                    user.Click(onCell.X, onCell.Y, [&] { return form->ColorGrid->ColorValue() == BasicColorValues[7]; });
                    const TPoint onRing = form->Palette->ClientToScreen(TPoint { 8, 97 });
                    const uint8_t hue = colours.PaletteColor().HSLPSP().H;
                    user.Click(onRing.X, onRing.Y, [&] { return colours.PaletteColor().HSLPSP().H != hue; });
                    // The keyboard steps the blue edit up by one.
                    const int blue = form->BEdit->Value();
                    const TPoint onBlue = form->BEdit->ClientToScreen(TPoint { 10, form->BEdit->Height() / 2 });
                    user.Click(onBlue.X, onBlue.Y, [&] { return form->BEdit->Focused(); });
                    user.Key("Up", VK_UP, [&] { return form->BEdit->Value() == blue + 1; });
                    const RECT area { form->Left(), form->Top(), form->Left() + form->Width(),
                        form->Top() + form->Height() };
                    dialog.Area = area;
                    if (display == TDisplay::Xvfb) {
                        std::vector<uint32_t> composed;
                        PumpUntil([&] {
                            composed = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
                            dialog.Pixels = SkinDisplaySession::Grab(area.left, area.top, area.right - area.left,
                                area.bottom - area.top);
                            return dialog.Pixels == composed;
                        });
                    } else {
                        dialog.Pixels = WithoutAlpha(ComposeScreen(area, RGB(0, 0, 0)));
                    }
                    user.Key("Return", VK_RETURN, [&] { return form->ModalResult() != mrNone; });
                };
                accepted = colours.Execute();
                picked = colours.Color;
                Application->OnIdle = nullptr;
            });
        return dialog;
    };
    TColor headlessColour = 0, realColour = 0;
    bool headlessAccepted = false, realAccepted = false;
    const TShown expected = show(TDisplay::Headless, headlessColour, headlessAccepted);
    const TShown actual = show(TDisplay::Xvfb, realColour, realAccepted);
    EXPECT_TRUE(headlessAccepted);
    EXPECT_TRUE(realAccepted);
    EXPECT_EQ(realColour, headlessColour);
    EXPECT_NE(headlessColour, BasicColorValues[7]); // the ring click turned the grid's colour
    EXPECT_EQ(ColorToBytes(headlessColour).B, 1); // and the Up key gave it a little blue
    ASSERT_EQ(expected.Pixels.size(), actual.Pixels.size());
    ASSERT_FALSE(expected.Pixels.empty());
    KeepScreenshot(actual, "display-skinned-colour-dialog.png");
    const int w = expected.Area.right - expected.Area.left, h = expected.Area.bottom - expected.Area.top;
    const TControlBox kControls[] = { { "dialog", { 0, 0, w, h } } };
    ExpectControlsShowAlike(expected, actual, kControls);
    // The palette, the grid and the preview at chosen points.
    for (const POINT p : { POINT { 185, 40 }, POINT { 30, 60 }, POINT { w - 20, h - 60 } })
        EXPECT_EQ(actual.At(p.x, p.y), expected.At(p.x, p.y)) << "at " << p.x << "," << p.y;
}
