// The colour model of the colour dialog: the three forms of TPSPColor and the byte routines of its number edits.
#include "skin/dialogs/TPSPColor.h"

#include <gtest/gtest.h>

namespace {

struct RGBCase {
    TRGB Rgb;
    THSL Hsl;
    THSLPSP Psp;
    TIntHSV Hsv;
};

const RGBCase kRGBCases[] = {
    { { 255, 0, 0 }, { 0, 1, 0.5 }, { 0, 255, 128 }, { 0, 100, 100 } },
    { { 0, 255, 0 }, { 1.0 / 3, 1, 0.5 }, { 85, 255, 128 }, { 120, 100, 100 } },
    { { 0, 0, 255 }, { 2.0 / 3, 1, 0.5 }, { 170, 255, 128 }, { 239, 100, 100 } },
    // Greys have no hue: H 0 in every form (the integer form would otherwise be left unset).
    { { 255, 255, 255 }, { 0, 0, 1 }, { 0, 0, 255 }, { 0, 0, 100 } },
    { { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 }, { 0, 0, 0 } },
    { { 128, 128, 128 }, { 0, 0, 128 / 255.0 }, { 0, 0, 128 }, { 0, 0, 50 } },
    // Magenta: the hue below zero wraps to 5/6.
    { { 255, 0, 255 }, { 5.0 / 6, 1, 0.5 }, { 212, 255, 128 }, { 299, 100, 100 } },
};

TEST(TPSPColor, SetRGBFillsTheOtherForms)
{
    for (const RGBCase& c : kRGBCases) {
        SCOPED_TRACE(testing::Message() << int(c.Rgb.R) << "," << int(c.Rgb.G) << "," << int(c.Rgb.B));
        TPSPColor color;
        color.SetRGB(c.Rgb);
        EXPECT_NEAR(color.HSL().H, c.Hsl.H, 1e-9);
        EXPECT_NEAR(color.HSL().S, c.Hsl.S, 1e-9);
        EXPECT_NEAR(color.HSL().L, c.Hsl.L, 1e-9);
        EXPECT_EQ(color.HSLPSP().H, c.Psp.H);
        EXPECT_EQ(color.HSLPSP().S, c.Psp.S);
        EXPECT_EQ(color.HSLPSP().L, c.Psp.L);
        const TIntHSV hsv = RGBToIntHSV(c.Rgb.R, c.Rgb.G, c.Rgb.B);
        EXPECT_EQ(hsv.H, c.Hsv.H);
        EXPECT_EQ(hsv.S, c.Hsv.S);
        EXPECT_EQ(hsv.V, c.Hsv.V);
        // And back: the HSL form gives the same bytes.
        const TRGB back = HSLToRGB(color.HSL());
        EXPECT_EQ(back.R, c.Rgb.R);
        EXPECT_EQ(back.G, c.Rgb.G);
        EXPECT_EQ(back.B, c.Rgb.B);
    }
}

TEST(TPSPColor, HueEdgesAndGreys)
{
    // Without saturation the hue does not count; a full turn is no turn.
    const TRGB grey = HSLToRGB({ 0.7, 0, 0.5 });
    EXPECT_EQ(grey.R, 128);
    EXPECT_EQ(grey.G, 128);
    EXPECT_EQ(grey.B, 128);
    const TRGB zero = HSLToRGB({ 0, 0.8, 0.4 }), full = HSLToRGB({ 1.0, 0.8, 0.4 });
    EXPECT_EQ(zero.R, full.R);
    EXPECT_EQ(zero.G, full.G);
    EXPECT_EQ(zero.B, full.B);
}

TEST(TPSPColor, ByteFormRoundsThroughTheBytes)
{
    // 100/255 is not the fraction that rounded to 100: the RGB form follows the byte.
    TPSPColor color;
    color.SeTHSLPSP({ 0, 255, 100 });
    EXPECT_DOUBLE_EQ(color.HSL().L, 100 / 255.0);
    const TRGB expected = HSLToRGB({ 0, 1, 100 / 255.0 });
    EXPECT_EQ(color.RGB().R, expected.R);
    EXPECT_EQ(color.RGB().G, expected.G);
    EXPECT_EQ(color.RGB().B, expected.B);

    TPSPColor copy;
    copy.Assign(color);
    EXPECT_EQ(copy.HSLPSP().L, 100);
    EXPECT_EQ(copy.RGB().R, color.RGB().R);
}

TEST(TPSPColor, HalvesRoundToEven)
{
    // L of (255, 0, 0) is 0.5 exactly: 127.5 rounds to 128; the grey 0.5 rounds 127.5 to 128 too, and a value
    // of 2.5 goes down to 2.
    EXPECT_EQ(HSLToHSLPSP({ 0, 0, 0.5 }).L, 128);
    EXPECT_EQ(HSLToHSLPSP({ 2.5 / 255, 0, 0 }).H, 2);
    EXPECT_EQ(HSLToRGB({ 0, 0, 2.5 / 255 }).R, 2);
}

TEST(TPSPColor, ColourBytesAsStored)
{
    // A system colour is split as stored, its high byte dropped.
    const TRGB bytes = ColorToBytes(static_cast<TColor>(0x8000000F));
    EXPECT_EQ(bytes.R, 0x0F);
    EXPECT_EQ(bytes.G, 0);
    EXPECT_EQ(bytes.B, 0);
    EXPECT_EQ(BytesToColor(0x12, 0x34, 0x56), static_cast<TColor>(0x563412));
}

TEST(TPSPColor, IntegerHSVToRGB)
{
    struct Case {
        int H, S, V;
        TRGB Rgb;
    } const cases[] = {
        { 0, 100, 100, { 255, 0, 0 } },
        { 120, 100, 100, { 0, 255, 0 } },
        { 240, 100, 100, { 0, 0, 255 } },
        { 300, 100, 100, { 255, 0, 255 } },
        { 77, 0, 50, { 128, 128, 128 } },
        { 30, 50, 80, { 204, 153, 102 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.H << "," << c.S << "," << c.V);
        const TRGB rgb = IntHSVToRGB(c.H, c.S, c.V);
        EXPECT_EQ(rgb.R, c.Rgb.R);
        EXPECT_EQ(rgb.G, c.Rgb.G);
        EXPECT_EQ(rgb.B, c.Rgb.B);
    }
}

} // namespace
