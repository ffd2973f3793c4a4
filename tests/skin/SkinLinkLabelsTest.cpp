// The link and button labels, the skinned bevel and the wave and shadow labels on the headless display: the
// shell hears only of real addresses, the glyph cells follow the mouse, the bevel takes the skin's colours,
// and the program's own skin binds its label and bevel records.
#include "framework/graphics/TBitmap.h"
#include "platform/shell/ShellExecute.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/controls/SkinLinkLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

#include <set>

namespace {

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class TCellProbe : public TspSkinButtonLabel {
public:
    using TspSkinButtonLabel::TspSkinButtonLabel;
    using TspSkinButtonLabel::MouseDown;
    using TspSkinButtonLabel::MouseUp;
};

class SkinLinkLabelsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.AddControl("stdlabel", "stdlabel",
            { { "fontname", "DejaVu Sans" }, { "fontcolor", "255" }, { "activefontcolor", "65280" } });
        Fixture.AddControl("bevel", "bevel", { { "lightcolor", "255" }, { "darkcolor", "16711680" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

} // namespace

TEST_F(SkinLinkLabelsTest, LinksHandTheShellOnlyARealAddress)
{
    TShellCommandRecorder recorder;
    auto* label = new TspSkinLinkLabel(Form);
    label->SetParent(Form);
    label->SetCaption("Home page");
    label->SetBounds(10, 10, 100, 20);
    int clicks = 0;
    label->OnClick = [&](TObject*) { ++clicks; };
    Click(15, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(recorder.Commands().empty()) << "no address, nothing opened";
    label->SetURL("https://example.org/tarnwick");
    Click(15, 15);
    ASSERT_EQ(recorder.Commands().size(), 1u);
    EXPECT_EQ(recorder.Commands()[0].Argv.back(), "https://example.org/tarnwick");

    auto* image = new TspSkinLinkImage(Form);
    image->SetParent(Form);
    image->SetAutoSize(false);
    image->SetBounds(200, 10, 30, 30);
    Click(210, 20);
    EXPECT_EQ(recorder.Commands().size(), 1u) << "an empty address opens nothing";
    image->SetURL("https://example.org/");
    Click(210, 20);
    ASSERT_EQ(recorder.Commands().size(), 2u);
    EXPECT_EQ(recorder.Commands()[1].Argv.back(), "https://example.org/");
}

TEST_F(SkinLinkLabelsTest, ALinkLabelTurnsItsActiveColourUnderTheMouse)
{
    auto* label = new TspSkinLinkLabel(Form);
    label->SetParent(Form);
    label->SetCaption("WWWWWWWW");
    label->SetBounds(10, 10, 100, 20);
    Pump();
    auto colours = [&] {
        std::set<uint32_t> seen;
        for (int y = 10; y < 10 + label->Height(); ++y)
            for (int x = 10; x < 10 + label->Width(); ++x)
                seen.insert(At(x, y));
        return seen;
    };
    const uint32_t active = Rgb(TColor(0xFF0000));
    EXPECT_FALSE(colours().count(active));
    Backend.MouseMove(15, 15);
    Pump();
    EXPECT_TRUE(label->MouseInside());
    EXPECT_TRUE(colours().count(active)) << "DefaultActiveFontColor without a skin";
    Backend.MouseMove(300, 200);
    Pump();
    EXPECT_FALSE(colours().count(active));
    label->SetSkinData(Skin);
    Backend.MouseMove(15, 15);
    Pump();
    EXPECT_TRUE(colours().count(Rgb(TColor(65280)))) << "the record's active colour";
}

TEST_F(SkinLinkLabelsTest, AButtonLabelShowsThePressedCellOnlyPressedWithTheMouseOverIt)
{
    auto* button = new TCellProbe(Form);
    button->SetParent(Form);
    button->SetBounds(10, 10, 80, 30);
    TBitmap glyph;
    glyph.SetSize(30, 10);
    button->SetGlyph(&glyph);
    button->SetNumGlyphs(3);
    EXPECT_EQ(button->GlyphCell(), 1);
    button->MouseDown(mbLeft, {}, 5, 5);
    EXPECT_EQ(button->GlyphCell(), 1) << "pressed but the mouse is not over it";
    Backend.MouseMove(20, 20);
    Pump();
    EXPECT_EQ(button->GlyphCell(), 3);
    button->MouseUp(mbLeft, {}, 5, 5);
    EXPECT_EQ(button->GlyphCell(), 1) << "three cells: never the hot cell";
    button->SetNumGlyphs(4);
    EXPECT_EQ(button->GlyphCell(), 4);
    button->SetMargin(-2);
    EXPECT_EQ(button->Margin(), -1);
    button->SetMargin(3);
    EXPECT_EQ(button->Margin(), 3);
}

TEST_F(SkinLinkLabelsTest, TheBevelDrawsItsDividerInTheSkinColoursAndFallsBackToTheSystemOnes)
{
    auto* bevel = new TspSkinBevel(Form);
    bevel->SetParent(Form);
    bevel->SetBounds(10, 10, 100, 10);
    bevel->SetShape(bsTopLine);
    bevel->SetDividerMode(true);
    bevel->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(bevel->LightColor(), TColor(255));
    // Lowered: the upper row dark, the lower one light, from x 2 to 98.
    EXPECT_EQ(At(10 + 2, 10 + 4), Rgb(TColor(16711680)));
    EXPECT_EQ(At(10 + 50, 10 + 5), Rgb(TColor(255)));
    EXPECT_EQ(At(10 + 98, 10 + 5), Rgb(TColor(255)));
    EXPECT_EQ(At(10 + 1, 10 + 4), Rgb(clWhite));
    EXPECT_EQ(At(10 + 50, 10 + 3), Rgb(clWhite));
    EXPECT_EQ(At(10 + 50, 10 + 6), Rgb(clWhite));
    delete Skin;
    Skin = nullptr;
    bevel->SetSkinData(nullptr);
    EXPECT_EQ(bevel->LightColor(), clBtnHighlight);
    EXPECT_EQ(bevel->DarkColor(), clBtnShadow);
}

TEST_F(SkinLinkLabelsTest, TheShadowLabelLeavesRoomForItsShadowAndTheWaveLabelDrawsStraightWithoutWaves)
{
    auto* shadow = new TspSkinShadowLabel(Form);
    shadow->SetParent(Form);
    shadow->SetCaption("Tarnwick");
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(shadow->Font());
    EXPECT_EQ(shadow->Width(), measure.Canvas()->TextWidth("Tarnwick") + 3);
    EXPECT_EQ(shadow->Height(), measure.Canvas()->TextHeight("Tarnwick") + 3);

    auto* wave = new TspSkinWaveLabel(Form);
    wave->SetParent(Form);
    wave->SetBounds(10, 100, 200, 40);
    wave->SetCaption("I");
    wave->SetAntialiasing(false);
    wave->Font()->SetColor(clBlack);
    wave->SetXDiv(0);
    wave->SetYDiv(0);
    Pump();
    // Without waves the text is where the mask put it: black only inside the caption's box.
    const int textWidth = [&] {
        TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->Assign(wave->Font());
        return b.Canvas()->TextWidth("I");
    }();
    int black = 0;
    for (int y = 100; y < 140; ++y)
        for (int x = 10; x < 210; ++x)
            if (At(x, y) == 0) {
                ++black;
                EXPECT_GE(x - 10, 100 - textWidth / 2 - 1);
                EXPECT_LE(x - 10, 100 + textWidth);
            }
    EXPECT_GT(black, 0);
}

#ifdef TP_SKIN_DIR
TEST_F(SkinLinkLabelsTest, TheProgramsSkinBindsItsLabelAndBevelRecords)
{
    auto* programSkin = new TspSkinData(Application);
    programSkin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(programSkin->Empty);
    auto* label = new TspSkinStdLabel(Form);
    label->SetParent(Form);
    label->SetSkinData(programSkin);
    EXPECT_NE(label->GetSkinIndex(), -1);
    auto* bevel = new TspSkinBevel(Form);
    bevel->SetParent(Form);
    bevel->SetSkinData(programSkin);
    auto* record = dynamic_cast<TspDataSkinBevel*>(
        programSkin->ControlRecords[size_t(programSkin->GetControlIndex("bevel"))].get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(bevel->LightColor(), record->LightColor);
    EXPECT_EQ(bevel->DarkColor(), record->DarkColor);
}
#endif
