// The skinned form's frame on the headless display: the default frame's caption, buttons and stripes for normal
// and tool windows, the skinned frame's inactive looks and which objects it shows; and the skin change as the
// form's controls, components and skinned frames see it.
#include "framework/controls/TFrame.h"
#include "framework/graphics/TBitmap.h"
#include "skin/controls/SkinControlBar.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinSplitters.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinFrame.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

// 0x00RRGGBB of a colour, as the back buffers hold it.
uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

using TCalls = std::vector<std::string>;

// A skinned control of a real class that notes the skin-change steps reaching it.
template <class Base> class TNoting : public Base {
public:
    TNoting(TComponent* owner, TCalls* calls, const char* name)
        : Base(owner)
        , FCalls(calls)
    {
        this->SetName(name);
    }
    void BeforeChangeSkinData() override
    {
        FCalls->push_back(this->Name() + ":before");
        Base::BeforeChangeSkinData();
    }
    void ChangeSkinData() override
    {
        FCalls->push_back(this->Name() + ":change");
        Base::ChangeSkinData();
    }
    void SetSkinData(TspSkinData* value) override
    {
        FCalls->push_back(this->Name() + ":set");
        Base::SetSkinData(value);
    }

private:
    TCalls* FCalls;
};

using TNotingControl = TNoting<TspSkinControl>;
using TNotingGraphic = TNoting<TspGraphicSkinControl>;
using TNotingLabel = TNoting<TspSkinStdLabel>;

// A control that takes its skin only from a skinned frame or its own setter, as the rich edit does.
class TNotingRichEdit : public TNotingControl {
public:
    using TNotingControl::TNotingControl;
    bool ReskinnedByForm() const override { return false; }
};

class TNotingSkinFrame : public TspSkinFrame {
public:
    TNotingSkinFrame(TComponent* owner, TCalls* calls)
        : TspSkinFrame(owner)
        , FCalls(calls)
    {
    }
    void ChangeSkinData() override
    {
        FCalls->push_back("skinframe:change");
        TspSkinFrame::ChangeSkinData();
    }

private:
    TCalls* FCalls;
};

class TspSkinFormFrameTest : public ControlsTest {
protected:
    // A 100 x 60 frame picture: a 20 px caption band, 5 px borders, a caption and a close button on the band.
    void FrameSkin(TFixtureSkin& fixture)
    {
        fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
        fixture.AddActivePicture("active.bmp", 100, 60, 5);
        fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
                { "rightbottompoint", "90,55" }, { "clientrect", "5,20,95,55" }, { "borderwidth", "3" },
                { "captionrect", "5,2,95,18" } });
        fixture.AddObject("title", "caption", { { "skinrect", "5,2,70,18" }, { "textrect", "0,0,65,16" } });
    }

    TspSkinData* Load(TFixtureSkin& fixture)
    {
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        EXPECT_FALSE(skin->Empty);
        return skin;
    }

    TForm* FramedForm(TspSkinData* skin, int width = 200, int height = 160, TFormBorderStyle border = bsSizeable)
    {
        Form = NewForm(100, 100, width, height, border);
        Skinner = new TspSkinForm(Form);
        Skinner->SetSkinData(skin);
        Form->Show();
        Pump();
        return Form;
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y) & 0xFFFFFF; }

    TForm* Form = nullptr;
    TspSkinForm* Skinner = nullptr;
    TCalls Calls;
};

// ---- The default frame ------------------------------------------------------------------------------------------

TEST_F(TspSkinFormFrameTest, TheDefaultFrameHasItsCaptionButtonsAndStripesForNormalAndToolWindows)
{
    struct TCase {
        TFormBorderStyle Border;
        int Caption, Button, Stripes;
    };
    for (const TCase& c : { TCase { bsSizeable, 19, 17, 14 }, TCase { bsSizeToolWin, 15, 13, 10 } }) {
        FramedForm(nullptr, 300, 160, c.Border);
        Form->SetCaption("");
        Pump();
        EXPECT_EQ(Skinner->GetDefCaptionHeight(), c.Caption);
        const TRect close = Skinner->ObjectAt(Skinner->GetIndex("closebutton"))->ObjectRect;
        EXPECT_EQ(close.Right, 300 - 3) << c.Border;
        EXPECT_EQ(close.Top, 4);
        EXPECT_EQ(close.Right - close.Left, c.Button);
        const TRect max = Skinner->ObjectAt(Skinner->GetIndex("maxbutton"))->ObjectRect;
        EXPECT_EQ(max.Right, close.Left) << "buttons stand without gaps";
        // The caption strip begins 3 px in; stripes run from its third row, highlight first.
        int stripes = 0;
        for (int y = 3; y < 3 + c.Caption; ++y) {
            const uint32_t pixel = At(60, y);
            if (pixel == Rgb(clBtnHighlight) || pixel == Rgb(clBtnShadow)) {
                EXPECT_EQ(pixel, Rgb((y - 5) % 2 == 0 ? clBtnHighlight : clBtnShadow)) << y;
                ++stripes;
            }
        }
        EXPECT_EQ(stripes, c.Stripes) << c.Border;
        // Three rings: the outer one light at the top, dark at the bottom.
        EXPECT_EQ(At(50, 0), Rgb(cl3DLight));
        EXPECT_EQ(At(50, 159), Rgb(cl3DDkShadow));
        EXPECT_EQ(At(50, 158), Rgb(clBtnShadow));
        delete Form;
    }
}

TEST_F(TspSkinFormFrameTest, TheCaptionTextClearsItsStripesUnlessTheApplicationPaintsTheCaption)
{
    FramedForm(nullptr, 300, 160);
    Form->SetCaption("Settings");
    Pump();
    // The text sits centred between the system-menu button and the caption buttons, on the plain face.
    const int middle = (Skinner->DefCaptionRect.Left + Skinner->DefCaptionRect.Right) / 2;
    bool cleared = true;
    for (int y = 5; y < 5 + 14; ++y)
        if (At(middle - 10, y) == Rgb(clBtnHighlight) || At(middle - 10, y) == Rgb(clBtnShadow))
            cleared = false;
    EXPECT_TRUE(cleared);
    TRect painted = SPUtils::NullRect();
    Skinner->OnCaptionPaint = [&](TCanvas*, const TRect& r, bool) { painted = r; };
    SendMessage(Form->Handle(), WM_NCPAINT, 1, 0);
    // Strip coordinates: from the system-menu button to 3 px before the caption buttons.
    EXPECT_EQ(painted.Left, Skinner->DefCaptionRect.Left - 3);
    EXPECT_EQ(painted.Right, Skinner->DefCaptionRect.Right - 3);
    EXPECT_EQ(painted.Bottom, 19);
    EXPECT_EQ(At(middle - 10, 5), Rgb(clBtnHighlight)) << "no text, no text background";
    delete Form;
}

TEST_F(TspSkinFormFrameTest, TheLogoIsCentredOnTheDefaultBackgroundOrStartsAtTheCornerWhenLarger)
{
    FramedForm(nullptr, 300, 160);
    for (const auto& [size, corner] : { std::pair { 20, TPoint { (294 - 20) / 2, (135 - 20) / 2 } },
             std::pair { 400, TPoint { 0, 0 } } }) {
        TBitmap logo;
        logo.SetSize(size, size);
        logo.Canvas()->Brush()->SetColor(clRed);
        logo.Canvas()->FillRect(Rect(0, 0, size, size));
        Skinner->SetLogoBitMap(&logo);
        Form->Invalidate();
        Pump();
        POINT p { corner.X, corner.Y };
        ClientToScreen(Form->Handle(), &p);
        EXPECT_EQ(At(p.x - 100, p.y - 100), Rgb(clRed)) << size;
        if (corner.X > 0) {
            EXPECT_EQ(At(p.x - 101, p.y - 100), Rgb(clBtnFace)) << size;
        }
    }
}

TEST_F(TspSkinFormFrameTest, TheSkinnedBackgroundsDrawTheLogoOverTheirPicture)
{
    // The client part of the main picture, and a background picture of its own.
    for (const char* index : { "-1", "0" }) {
        TFixtureSkin fixture;
        FrameSkin(fixture);
        fixture.Set("FORMINFO", "bgpictureindex", index);
        FramedForm(Load(fixture), 300, 160);
        TBitmap logo;
        logo.SetSize(20, 20);
        logo.Canvas()->Brush()->SetColor(clRed);
        logo.Canvas()->FillRect(Rect(0, 0, 20, 20));
        Skinner->SetLogoBitMap(&logo);
        Form->Invalidate();
        Pump();
        POINT p { Form->ClientWidth() / 2, Form->ClientHeight() / 2 };
        ClientToScreen(Form->Handle(), &p);
        EXPECT_EQ(At(p.x - 100, p.y - 100), Rgb(clRed)) << index;
        POINT corner { 0, 0 };
        ClientToScreen(Form->Handle(), &corner);
        EXPECT_NE(At(corner.x - 100, corner.y - 100), Rgb(clRed)) << index;
        delete Form;
    }
}

// ---- The skinned frame ------------------------------------------------------------------------------------------

TEST_F(TspSkinFormFrameTest, AnInactiveFrameShowsItsPictureOrTheSkinsEffect)
{
    struct TCase {
        bool InactivePicture, Render;
        TspInActiveEffect Effect;
        const char* What;
    };
    const TCase cases[] = {
        { false, false, ieInvert, "no inactive picture: the active one" },
        { true, false, ieInvert, "the inactive picture" },
        { false, true, ieInvert, "the effect on the active picture" },
        { true, true, ieInvert, "the effect on the inactive picture too" },
        { false, true, TspInActiveEffect(9), "an effect outside the table changes nothing" },
    };
    for (const TCase& c : cases) {
        TFixtureSkin fixture;
        FrameSkin(fixture);
        if (c.InactivePicture)
            fixture.SetPicture("inactivepicture", "inactive.bmp", 100, 60, 9);
        fixture.Set("FORMINFO", "autorenderinginactiveimage", c.Render ? "1" : "0");
        TspSkinData* skin = Load(fixture);
        skin->InActiveEffect = c.Effect;
        FramedForm(skin);
        const uint32_t active = At(2, 30);
        EXPECT_EQ(active, TFixtureSkin::PixelOf(2, 30, 3)) << c.What;
        // Another form takes the activation.
        TForm* other = NewForm(500, 400, 100, 100, bsSizeable);
        other->Show();
        Pump();
        uint32_t expected = TFixtureSkin::PixelOf(2, 30, c.InactivePicture ? 9 : 3);
        if (c.Render && c.Effect == ieInvert)
            expected ^= 0xFFFFFF;
        EXPECT_EQ(At(2, 30), expected) << c.What;
        delete other;
        delete Form;
        delete skin;
    }
}

TEST_F(TspSkinFormFrameTest, ObjectsInTheSideBordersAreNotShownAndTooSmallAFormGetsNoFrame)
{
    TFixtureSkin fixture;
    FrameSkin(fixture);
    // Buttons of the second active picture in the left border and in the bottom border.
    fixture.AddObject("side", "button",
        { { "activepictureindex", "0" }, { "skinrectinapicture", "1" }, { "skinrect", "0,30,5,40" } });
    fixture.AddObject("foot", "button",
        { { "activepictureindex", "0" }, { "skinrectinapicture", "1" }, { "skinrect", "2,56,8,59" } });
    TspSkinData* skin = Load(fixture);
    FramedForm(skin);
    EXPECT_EQ(At(2, 32), TFixtureSkin::PixelOf(2, 32, 3)) << "the side object is not drawn";
    // The bottom object moves down with the grown form and draws from its own picture there.
    const TRect foot = Skinner->ObjectAt(Skinner->GetIndex("foot"))->ObjectRect;
    EXPECT_EQ(foot.Top, 156);
    EXPECT_EQ(At(foot.Left + 2, foot.Top + 1), TFixtureSkin::PixelOf(4, 57, 5));
    // Below the skin's minimum the frame is left as it is.
    TBitmap target;
    target.SetSize(200, 160);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, 200, 160));
    Skinner->LayoutWidth = 60;
    Skinner->PaintNCSkin(target.Canvas()->Handle(), true);
    EXPECT_EQ(target.Canvas()->Pixels(2, 2), clLime);
    Skinner->LayoutWidth = 200;
    Skinner->PaintNCSkin(target.Canvas()->Handle(), true);
    EXPECT_NE(target.Canvas()->Pixels(2, 2), clLime);
}

// ---- Re-skinning controls ---------------------------------------------------------------------------------------

TEST_F(TspSkinFormFrameTest, ASkinChangeReskinsExactlyTheControlsThatUseIt)
{
    TFixtureSkin fixtureA;
    FrameSkin(fixtureA);
    TFixtureSkin fixtureB;
    FrameSkin(fixtureB);
    TspSkinData* a = Load(fixtureA);
    TspSkinData* b = Load(fixtureB);
    FramedForm(a);
    auto* panel = new TBox(Form);
    panel->SetParent(Form);
    auto* nested = new TNotingControl(Form, &Calls, "nested");
    nested->SetParent(panel);
    auto* spot = new TNotingGraphic(Form, &Calls, "spot");
    spot->SetParent(Form);
    auto* label = new TNotingLabel(Form, &Calls, "label");
    label->SetParent(Form);
    auto* rich = new TNotingRichEdit(Form, &Calls, "rich");
    rich->SetParent(Form);
    nested->SetSkinData(a);
    spot->SetSkinData(b);
    label->SetSkinData(a);
    rich->SetSkinData(a);
    Pump();
    struct TCase {
        TspSkinData* Skin;
        TCalls Expected;
    };
    const TCase cases[] = {
        { a, { "nested:before", "rich:before", "nested:change", "label:change" } },
        // Only the form wearing the skin tells its controls beforehand.
        { b, { "spot:change" } },
    };
    for (const TCase& c : cases) {
        Calls.clear();
        c.Skin->LoadFromFile(c.Skin == a ? fixtureA.Write() : fixtureB.Write());
        TCalls sorted = Calls;
        TCalls expected = c.Expected;
        std::sort(sorted.begin(), sorted.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);
    }
    // The form's own skin stops being drawn on the frame: every skinned control re-reads its skin.
    Calls.clear();
    a->SetSkinnableForm(false);
    TCalls sorted = Calls;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (TCalls { "label:change", "nested:change", "spot:change" }));
}

TEST_F(TspSkinFormFrameTest, TheSkinChangeReachesTheSkinnedSplitterAndControlBar)
{
    TFixtureSkin fixture;
    FrameSkin(fixture);
    TspSkinData* skin = Load(fixture);
    FramedForm(skin);
    auto* splitter = new TNoting<TspSkinSplitter>(Form, &Calls, "splitter");
    splitter->SetParent(Form);
    splitter->SetAlign(alLeft);
    auto* bar = new TNoting<TspSkinControlBar>(Form, &Calls, "bar");
    bar->SetParent(Form);
    splitter->SetSkinData(skin);
    bar->SetSkinData(skin);
    Pump();
    Calls.clear();
    skin->LoadFromFile(fixture.Write());
    TCalls sorted = Calls;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (TCalls { "bar:change", "splitter:change" }));
}

TEST_F(TspSkinFormFrameTest, ASkinnedFrameHandsItsControlsOneSkinAndPaintsItsBackground)
{
    TFixtureSkin fixture;
    FrameSkin(fixture);
    TspSkinData* skin = Load(fixture);
    TspSkinData* controls = Load(fixture);
    FramedForm(nullptr, 300, 200);
    auto* frame = new TFrame(Form);
    frame->SetParent(Form);
    frame->SetBounds(10, 10, 120, 80);
    auto* skinFrame = new TNotingSkinFrame(frame, &Calls);
    EXPECT_FALSE(frame->AutoScroll());
    auto* inside = new TNotingControl(frame, &Calls, "inside");
    inside->SetParent(frame);
    inside->SetBounds(100, 60, 10, 10);
    auto* rich = new TNotingRichEdit(frame, &Calls, "rich");
    rich->SetParent(frame);
    rich->SetBounds(100, 70, 10, 10);
    auto sets = [this] {
        TCalls out;
        std::copy_if(Calls.begin(), Calls.end(), std::back_inserter(out),
            [](const std::string& call) { return call.ends_with(":set"); });
        return out;
    };
    skinFrame->SetCtrlsSkinData(controls);
    EXPECT_EQ(sets(), (TCalls { "inside:set", "rich:set" })) << "the rich edit takes the frame's skin";
    EXPECT_EQ(inside->SkinData(), controls);
    Calls.clear();
    skinFrame->SetCtrlsSkinData(controls);
    EXPECT_TRUE(Calls.empty()) << "the same skin again does nothing";
    // The background: the skin's client piece tiled from the frame's corner, or the plain face.
    skinFrame->SetSkinData(skin);
    frame->Invalidate();
    Pump();
    POINT origin { 0, 0 };
    ClientToScreen(frame->Handle(), &origin);
    auto at = [&](int x, int y) { return Backend.ScreenPixel(origin.x + x, origin.y + y) & 0xFFFFFF; };
    EXPECT_EQ(at(1, 1), TFixtureSkin::PixelOf(6, 21, 3));
    EXPECT_EQ(at(90 + 1, 1), TFixtureSkin::PixelOf(6, 21, 3)) << "the 90 px tile repeats";
    skin->BGPictureIndex = 7;
    frame->Invalidate();
    Pump();
    EXPECT_EQ(at(1, 1), Rgb(clBtnFace)) << "a background picture that is not there";
    skinFrame->DrawBackground = false;
    EXPECT_NE(SendMessage(frame->Handle(), WM_ERASEBKGND, 0, 0), 0) << "still answered";
    // A skin change on the form reaches the skinned frame through the form's pass; a deleted skin is let go.
    Calls.clear();
    skin->LoadFromFile(fixture.Write());
    EXPECT_NE(std::find(Calls.begin(), Calls.end(), "skinframe:change"), Calls.end());
    delete controls;
    EXPECT_EQ(skinFrame->CtrlsSkinData(), nullptr);
}

// A skinned edit's stand-in: it notes the cancel-mode message that closes what it has open.
class TCancellingControl : public TspSkinControl {
public:
    TCancellingControl(TComponent* owner, int* count)
        : TspSkinControl(owner)
        , FCount(count)
    {
    }
    bool CancelsModeWithMenus() const override { return true; }
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_CANCELMODE)
            ++*FCount;
        TspSkinControl::WndProc(message);
    }

private:
    int* FCount;
};

TEST_F(TspSkinFormFrameTest, AnMDIParentsPressTellsItsSkinnedEditsToCloseWhatTheyHaveOpen)
{
    for (const TFormStyle style : { fsMDIForm, fsNormal }) {
        Form = NewForm(100, 100, 300, 200, bsSizeable);
        Form->SetFormStyle(style);
        Skinner = new TspSkinForm(Form);
        int cancels = 0;
        auto* edit = new TCancellingControl(Form, &cancels);
        edit->SetParent(Form);
        edit->SetBounds(10, 10, 50, 20);
        auto* hidden = new TCancellingControl(Form, &cancels);
        hidden->SetParent(Form);
        hidden->SetVisible(false);
        Form->Show();
        Pump();
        cancels = 0;
        SendMessage(Form->Handle(), WM_NCLBUTTONDOWN, HTOBJECT, 0);
        EXPECT_EQ(cancels, style == fsMDIForm ? 1 : 0) << "only the visible one, only on an MDI parent";
        delete Form;
    }
}

} // namespace
