// The skinned labels on the headless display: the fonts they take with and without a record, their
// measurements and automatic sizes, the bitmap-font label and the status panel's picture.
#include "framework/graphics/TBitmap.h"
#include "platform/gdi/Text.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/TspSkinData.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

constexpr uint32_t kSeed = 7;

uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Records the font each draw and measure of the label used.
class TFontProbeLabel : public TspSkinStdLabel {
public:
    using TspSkinStdLabel::TspSkinStdLabel;
    std::string LastFontName;
    int LastFontHeight = 0;
    TColor LastFontColor = clNone;
    TRect Measure(uint32_t flags = 0)
    {
        TBitmap bitmap;
        bitmap.SetSize(1, 1);
        Canvas()->SetHandle(bitmap.Canvas()->Handle());
        TRect rect = Rect(0, 0, 300, 100);
        DoDrawText(rect, flags | DT_CALCRECT);
        Canvas()->SetHandle(nullptr);
        return rect;
    }

protected:
    void DoDrawText(TRect& rect, uint32_t flags) override
    {
        TspSkinStdLabel::DoDrawText(rect, flags);
        LastFontName = Canvas()->Font()->Name();
        LastFontHeight = Canvas()->Font()->Height();
        LastFontColor = Canvas()->Font()->Color();
    }
};

class SkinLabelsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Fixture.AddActivePicture("labels.bmp", 200, 100, kSeed);
        Fixture.AddControl("stdlabel", "stdlabel",
            { { "fontname", "DejaVu Serif" }, { "fontheight", "20" }, { "fontcolor", "255" } });
        // A fixed-size label skin and a horizontally stretching one with 4-pixel borders.
        Fixture.AddControl("fixedlabel", "label", { { "pictureindex", "0" }, { "skinrect", "0,0,60,20" },
                                                      { "clientrect", "4,2,56,18" }, { "fontname", "DejaVu Sans" } });
        Fixture.AddControl("label", "label",
            { { "pictureindex", "0" }, { "skinrect", "0,20,60,40" }, { "lefttoppoint", "4,0" },
                { "righttoppoint", "56,0" }, { "clientrect", "4,2,56,18" }, { "fontname", "DejaVu Sans" },
                { "fontheight", "14" } });
        // Ten-pixel characters "0".."9" on row 0 and "A".."C" on row 1 at (0, 60).
        Fixture.AddControl("bitlabel", "bitlabel",
            { { "pictureindex", "0" }, { "skinrect", "0,40,30,56" }, { "lefttoppoint", "4,0" },
                { "righttoppoint", "26,0" }, { "clientrect", "4,2,26,14" }, { "skintextrect", "0,60,100,84" },
                { "symbolwidth", "10" }, { "symbolheight", "12" }, { "symbolslinecount", "2" },
                { "symbolsline0", "0123456789" }, { "symbolsline1", "ABC" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }

    uint32_t At(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }
    static uint32_t Picture(int x, int y) { return TFixtureSkin::PixelOf(x, y, kSeed); }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TForm* Form = nullptr;
};

int TextWidthIn(const char* face, int height, const std::string& text)
{
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas()->Font()->SetName(face);
    bitmap.Canvas()->Font()->SetHeight(height);
    return bitmap.Canvas()->TextWidth(text);
}

} // namespace

TEST_F(SkinLabelsTest, AStdLabelTakesTheDefaultFontWithoutARecordAndTheSkinFontWithOne)
{
    auto* label = new TFontProbeLabel(Form);
    label->SetParent(Form);
    label->Font()->SetName("DejaVu Sans Mono");
    label->DefaultFont()->SetName("Liberation Sans");
    label->DefaultFont()->SetHeight(17);
    label->SetCaption("Output");
    label->Measure();
    EXPECT_EQ(label->LastFontName, "Liberation Sans") << "UseSkinFont without a skin means the default font";
    label->SetUseSkinFont(false);
    label->Measure();
    EXPECT_EQ(label->LastFontName, "DejaVu Sans Mono");

    label->SetUseSkinFont(true);
    label->SetSkinData(Skin);
    label->Measure();
    EXPECT_EQ(label->LastFontName, "DejaVu Serif");
    EXPECT_EQ(label->LastFontHeight, 20);
    EXPECT_EQ(label->LastFontColor, TColor(255));
    label->SetUseSkinColor(false);
    label->Font()->SetColor(clNavy);
    label->Measure();
    EXPECT_EQ(label->LastFontColor, clNavy);
    // Auto-sized to the skin font's text.
    EXPECT_EQ(label->Width(), TextWidthIn("DejaVu Serif", 20, "Output"));
}

TEST_F(SkinLabelsTest, ALoneAccelMarkMeasuresAsOneSpace)
{
    auto* label = new TFontProbeLabel(Form);
    label->SetParent(Form);
    label->DefaultFont()->SetName("DejaVu Sans");
    label->SetCaption("&");
    const TRect amp = label->Measure();
    label->SetCaption(" ");
    const TRect space = label->Measure();
    EXPECT_EQ(amp, space);
    EXPECT_GT(space.Right, 0);
    label->SetCaption("&");
    label->SetShowAccelChar(false);
    EXPECT_NE(label->Measure(), space) << "without accelerators the mark is a character of its own";
}

TEST_F(SkinLabelsTest, ASkinLabelAutoSizesToItsCaptionWithAndWithoutASkin)
{
    auto* label = new TspSkinLabel(Form);
    label->SetParent(Form);
    label->SetBounds(10, 10, 75, 21);
    label->SetCaption("Converting files");
    label->SetSkinDataName("none");
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), TextWidthIn("Arial", 14, "Converting files") + 4);

    label->SetSkinDataName("label");
    label->SetSkinData(Skin);
    const int text = TextWidthIn("DejaVu Sans", 14, "Converting files");
    EXPECT_EQ(label->GetRealClientWidth(), text) << "the caption fills the skin's client part";
    EXPECT_EQ(label->Width(), text + 8);

    auto* fixed = new TspSkinLabel(Form);
    fixed->SetParent(Form);
    fixed->SetAutoSize(true);
    fixed->SetSkinDataName("fixedlabel");
    fixed->SetSkinData(Skin);
    EXPECT_FALSE(fixed->AutoSize()) << "a fixed-size skin turns AutoSize off";
    EXPECT_EQ(fixed->Width(), 60);
}

TEST_F(SkinLabelsTest, ASkinLabelDrawsItsDefaultBorderAndItsSkinBackground)
{
    auto* label = new TspSkinLabel(Form);
    label->SetParent(Form);
    label->SetSkinDataName("none");
    label->SetBounds(10, 10, 80, 21);
    label->SetBorderStyle(TspSkinBorderStyle::bvRaised);
    Pump();
    EXPECT_EQ(At(10, 10), Rgb(clBtnHighlight));
    EXPECT_EQ(At(89, 30), Rgb(clBtnShadow));
    EXPECT_EQ(At(50, 12), Rgb(clBtnFace));
    label->SetSkinDataName("label");
    label->SetSkinData(Skin);
    Pump();
    EXPECT_EQ(At(10, 10), Picture(0, 20));
    EXPECT_EQ(At(89, 10), Picture(59, 20)) << "the right cap at the right edge";
}

TEST_F(SkinLabelsTest, ABitLabelIsSizedForItsCellsAndCutsItsCharactersFromTheFont)
{
    auto* label = new TspSkinBitLabel(Form);
    label->SetParent(Form);
    label->SetSkinData(Skin);
    label->SetFixLength(3);
    EXPECT_EQ(label->Width(), 38) << "4 + 3 cells of 10 + 4";
    label->SetCaption("1B?");
    label->SetLeft(10);
    label->SetTop(10);
    Pump();
    // Cell 0 is "1" (column 1 of row 0), cell 1 "B" (column 1 of row 1); "?" is not in the font.
    EXPECT_EQ(At(10 + 4, 10 + 2), Picture(10, 60));
    EXPECT_EQ(At(10 + 14, 10 + 2), Picture(10, 72));
    EXPECT_EQ(At(10 + 24, 10 + 2), Picture(24, 42)) << "a missing character leaves the tiled background";
    // A fourth character finds no room: the right border stays intact.
    label->SetCaption("1234");
    Pump();
    EXPECT_EQ(At(10 + 35, 10 + 2), Picture(27, 42));
}

TEST_F(SkinLabelsTest, AStatusPanelShowsTheDisabledGlyphCellWhileDisabled)
{
    auto* panel = new TspSkinStatusPanel(Form);
    panel->SetParent(Form);
    panel->SetSkinDataName("none");
    panel->SetBounds(10, 10, 120, 24);
    TBitmap glyph;
    glyph.SetSize(20, 10);
    glyph.Canvas()->Brush()->SetColor(clLime);
    glyph.Canvas()->FillRect(Rect(0, 0, 10, 10));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(Rect(10, 0, 20, 10));
    // A corner pixel of another colour in each cell, the transparent colour of the strip.
    glyph.Canvas()->SetPixels(0, 9, clWhite);
    glyph.Canvas()->SetPixels(10, 9, clWhite);
    panel->SetGlyph(&glyph);
    panel->SetNumGlyphs(2);
    Pump();
    EXPECT_EQ(At(10 + 3 + 5, 10 + 12), Rgb(clLime));
    panel->SetEnabled(false);
    Pump();
    EXPECT_EQ(At(10 + 3 + 5, 10 + 12), Rgb(clBlue));
}
