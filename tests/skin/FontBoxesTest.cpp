// The font boxes over the installed fonts: the filter's options, the list from fontconfig, choosing a font by name
// in any letter case, and the sizes of a scalable font.
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/GdiTypes.h"
#include "skin/lists/TspSkinFontBoxes.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(FontFilter, OptionsTable)
{
    const TspFontFace trueTypeAnsi { "A", TRUETYPE_FONTTYPE, ANSI_CHARSET, 2 };
    const TspFontFace trueTypeSymbol { "B", TRUETYPE_FONTTYPE, SYMBOL_CHARSET, 2 };
    const TspFontFace raster { "C", RASTER_FONTTYPE, ANSI_CHARSET, FIXED_PITCH };
    const TspFontFace oem { "D", RASTER_FONTTYPE, OEM_CHARSET, FIXED_PITCH };
    struct Case {
        TspFontListOptions Options;
        bool Expected[4];
    } const cases[] = {
        { {}, { true, true, true, true } },
        { { foTrueTypeOnly }, { true, true, false, false } },
        { { foTrueTypeOnly, foAnsiOnly }, { true, false, false, false } },
        { { foAnsiOnly }, { true, false, true, false } },
        { { foScalableOnly }, { true, true, false, false } },
        { { foFixedPitchOnly }, { false, false, true, true } },
        { { foOEMFontsOnly }, { false, false, false, true } },
        { { foNoOEMFonts }, { true, true, true, false } },
        { { foNoSymbolFonts }, { true, false, true, true } },
    };
    const TspFontFace* faces[] = { &trueTypeAnsi, &trueTypeSymbol, &raster, &oem };
    for (size_t c = 0; c < std::size(cases); ++c)
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(FontPassesFilter(*faces[f], cases[c].Options), cases[c].Expected[f]) << c << " " << f;
}

TEST(FontSizes, BitmapFontStyles)
{
    // Heights 13 and 16 with a leading of 3 at 96 pixels per inch: 7.5 and 9.75 points, shown as 8 and 10.
    EXPECT_EQ(RasterFontSizes({ 13 - 3, 16 - 3 }, 96), (std::vector<int> { 8, 10 }));
    // Sorted, each size once, halves to even (4.5 points is 4), whatever order the styles come in.
    EXPECT_EQ(RasterFontSizes({ 16, 12, 6, 16, 9 }, 96), (std::vector<int> { 4, 7, 9, 12 }));
    EXPECT_EQ(RasterFontSizes({ 20 }, 120), (std::vector<int> { 12 }));
    EXPECT_TRUE(RasterFontSizes({}, 96).empty());
}

class FontBoxesTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }
};

TEST_F(FontBoxesTest, FontListComesFromTheInstalledFonts)
{
    auto* box = new TspSkinFontComboBox(Form);
    box->SetParent(Form);
    box->HandleNeeded();
    Pump();
    const int dejavu = box->Items()->IndexOf("DejaVu Sans");
    ASSERT_GE(dejavu, 0);
    EXPECT_TRUE(reinterpret_cast<uintptr_t>(box->Items()->Objects(dejavu)) & TRUETYPE_FONTTYPE);
    EXPECT_TRUE(reinterpret_cast<uintptr_t>(box->Items()->Objects(dejavu)) & 256);
    // Sorted, each family once.
    for (int i = 1; i < box->Items()->Count(); ++i)
        EXPECT_LT(CompareText(box->Items()->Strings(i - 1), box->Items()->Strings(i)), 0);

    int changes = 0;
    box->OnChange = [&](TObject*) { ++changes; };
    box->SetFontName("dejavu sans");
    EXPECT_EQ(box->ItemIndex(), dejavu);
    EXPECT_EQ(box->FontName(), "DejaVu Sans");
    EXPECT_GE(changes, 1);
    // A name not listed: no current item in the fixed style, and still a change.
    const int before = changes;
    box->SetFontName("No Such Family");
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Text(), "DejaVu Sans");
    EXPECT_GT(changes, before);

    // TrueType only keeps DejaVu and drops any bitmap face.
    box->SetTrueTypeOnly(true);
    for (int i = 0; i < box->Items()->Count(); ++i)
        EXPECT_TRUE(reinterpret_cast<uintptr_t>(box->Items()->Objects(i)) & TRUETYPE_FONTTYPE);
    EXPECT_GE(box->Items()->IndexOf("DejaVu Sans"), 0);
}

TEST_F(FontBoxesTest, FontListBoxChoosesByNameAndReportsEveryAttempt)
{
    auto* box = new TspSkinFontListBox(Form);
    box->SetBounds(10, 10, 200, 150);
    box->SetParent(Form);
    box->HandleNeeded();
    // Without a skin the list fills as soon as its window is made.
    const int dejavu = box->Items()->IndexOf("DejaVu Sans");
    ASSERT_GE(dejavu, 0);
    EXPECT_EQ(box->FontName(), "");
    int clicks = 0;
    box->OnListBoxClick = [&](TObject*) { ++clicks; };
    box->SetFontName("DEJAVU SANS");
    EXPECT_EQ(box->ItemIndex(), dejavu);
    EXPECT_EQ(box->FontName(), "DejaVu Sans");
    EXPECT_EQ(clicks, 1);
    // The same name again: nothing at all. An unknown one: the line stays, the click still comes.
    box->SetFontName("DejaVu Sans");
    EXPECT_EQ(clicks, 1);
    box->SetFontName("No Such Family");
    EXPECT_EQ(box->ItemIndex(), dejavu);
    EXPECT_EQ(clicks, 2);
    // Refilling under another filter keeps the chosen family and reports nothing while it works.
    box->SetTrueTypeOnly(true);
    EXPECT_EQ(box->FontName(), "DejaVu Sans");
    EXPECT_EQ(clicks, 2);
    for (int i = 0; i < box->Items()->Count(); ++i)
        EXPECT_TRUE(reinterpret_cast<uintptr_t>(box->Items()->Objects(i)) & TRUETYPE_FONTTYPE);
    // Each line is drawn in its own typeface after the TrueType mark: the text starts 15 pixels in.
    box->SetItemIndex(-1);
    box->SetTopIndex(box->Items()->IndexOf("DejaVu Sans"));
    const TRect item = box->ItemRect(box->Items()->IndexOf("DejaVu Sans"));
    const TPoint origin = box->ListBox()->ClientToScreen({ item.Left, item.Top });
    const int mid = (item.Bottom - item.Top) / 2;
    int markInk = 0, textInk = 0;
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < item.Bottom - item.Top; ++y)
            markInk += At(origin.X + x, origin.Y + y) != At(origin.X + 13, origin.Y + mid) ? 1 : 0;
    for (int x = 15; x < 60; ++x)
        textInk += At(origin.X + x, origin.Y + mid) != At(origin.X + 13, origin.Y + mid) ? 1 : 0;
    EXPECT_GT(markInk, 8);
    EXPECT_GT(textInk, 0);
}

TEST_F(FontBoxesTest, SizesOfAScalableFont)
{
    auto* sizes = new TspSkinFontSizeComboBox(Form);
    sizes->SetParent(Form);
    int clicks = 0;
    sizes->OnClick = [&](TObject*) { ++clicks; };
    sizes->SetFontName("DejaVu Sans");
    ASSERT_EQ(sizes->Items()->Count(), 16);
    EXPECT_EQ(sizes->Items()->Strings(0), "8");
    EXPECT_EQ(sizes->Items()->Strings(15), "72");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sizes->GetSizeValue(), 0);
    sizes->SetItemIndex(4);
    EXPECT_EQ(sizes->GetSizeValue(), 12);
    sizes->SetFontName("");
    EXPECT_EQ(sizes->Items()->Count(), 0);
}

} // namespace
