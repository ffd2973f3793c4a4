#include "imaging/Img32.h"

#include "imaging/Img32_lowlevel.h"

#include <gtest/gtest.h>

using namespace Img32;
using namespace Img32_lowlevel;

TEST(Img32_lowlevel, MulDivRoundsHalvesAwayFromZeroAndFailsAsMinusOne)
{
    struct Case {
        int32_t a, b, c, expected;
    };
    const Case kCases[] = {
        { 7, 1, 2, 4 },
        { -7, 1, 2, -4 },
        { 7, -1, -2, 4 },
        { 1, 1, 0, -1 },
        { 5, 3, 7, 2 }, // 15/7 = 2.14
        { 11, 1, 2, 6 },
        { 65536, 65536, 65536, 65536 },
        { 0x40000000, 4, 1, -1 }, // the high word test
        { 65536, 40000, 1, -1 }, // 2621440000 does not fit either
        { INT32_MIN, 1, 1, INT32_MIN },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.a << " * " << c.b << " / " << c.c);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
    }
}

TEST(Img32, FixedPointRoundingAndConversions)
{
    EXPECT_EQ(FixedRound(0x8000), 0);
    EXPECT_EQ(FixedRound(0x18000), 1);
    EXPECT_EQ(FixedRound(0x18001), 2);
    EXPECT_EQ(FixedCeil(1), 1);
    EXPECT_EQ(FixedFloor(-1), -1);
    EXPECT_EQ(FixedCeil(INT32_MAX), int32_t(uint32_t(INT32_MAX) + 0xFFFFu) >> 16); // wraps, no overflow trap
    EXPECT_EQ(Fixed(1.5f), 0x18000);
    EXPECT_EQ(Fixed(-2), -0x20000);
    EXPECT_EQ(Fixed(0.5f / 65536), 0); // exactly half a unit rounds to even
    EXPECT_EQ(Fixed(1.5f / 65536), 2);
    EXPECT_EQ(FixedMul(0x18000, 0x20000), 0x30000);
    EXPECT_EQ(FixedDiv(0x30000, 0x20000), 0x18000);
    EXPECT_EQ(Point(FloatPoint(2.5f, 3.5f)), (TPoint { 2, 4 }));
    EXPECT_EQ(Point(TFixedPoint { 0x8000, 0x18000 }), (TPoint { 0, 1 }));
    EXPECT_FLOAT_EQ(FloatPoint(TFixedPoint { 0x18000, -0x8000 }).X, 1.5f);
}

TEST(Img32_lowlevel, TestClipOrdersAndLimitsTheSpan)
{
    struct Case {
        int a, b, size;
        int expectedA, expectedB;
        bool result;
    };
    const Case kCases[] = {
        { 5, -3, 10, 0, 5, true },
        { 12, 15, 10, 12, 9, false },
        { -5, -1, 10, 0, -1, false },
        { 3, 3, 10, 3, 3, true },
        { 0, 0, 0, 0, -1, false },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.a << ".." << c.b << " in " << c.size);
        int a = c.a, b = c.b;
        EXPECT_EQ(TestClip(a, b, c.size), c.result);
        EXPECT_EQ(a, c.expectedA);
        EXPECT_EQ(b, c.expectedB);
    }
}

TEST(Img32_lowlevel, SmallRoutines)
{
    EXPECT_EQ(Clamp(300), 255);
    EXPECT_EQ(Clamp(-1), 0);
    EXPECT_EQ(Constrain(5, 7, 9), 7);
    EXPECT_EQ(Constrain(10, 7, 9), 9);
    EXPECT_EQ(SAR_4(-17), -2);
    EXPECT_EQ(SAR_16(-1), -1);
    EXPECT_EQ(ColorSwap(0x12345678), 0xFF785634u);
    TColor32 words[6] = { 1, 2, 3, 4, 5, 6 };
    FillLongword(words, 0, 9);
    FillLongword(words, -3, 9);
    EXPECT_EQ(words[0], 1u);
    MoveLongword(words + 2, words, 4); // dest before source: a forward copy
    EXPECT_EQ((std::vector<TColor32>(words, words + 6)), (std::vector<TColor32> { 3, 4, 5, 6, 5, 6 }));
}

TEST(Img32, RectangleRoutines)
{
    TRect dst;
    EXPECT_TRUE(IntersectRect(dst, TRect { 0, 0, 10, 10 }, TRect { 10, 0, 20, 10 }));
    EXPECT_EQ(dst, (TRect { 10, 0, 10, 10 }));
    EXPECT_FALSE(IntersectRect(dst, TRect { 0, 0, 10, 10 }, TRect { 11, 0, 20, 10 }));
    EXPECT_EQ(dst, (TRect { 0, 0, 0, 0 }));
    TRect same { 0, 0, 10, 10 };
    EXPECT_TRUE(IntersectRect(same, same, TRect { 5, -5, 15, 5 }));
    EXPECT_EQ(same, (TRect { 5, 0, 10, 5 }));

    struct Case {
        TFloatRect r;
        TRectRounding rounding;
        TRect expected;
    };
    const Case kCases[] = {
        { { 0.2f, 0.2f, 0.8f, 0.8f }, rrInside, { 1, 1, 1, 1 } },
        { { 0.2f, 0.2f, 0.8f, 0.8f }, rrOutside, { 0, 0, 1, 1 } },
        { { 0.5f, 1.5f, 2.5f, 3.49f }, rrClosest, { 0, 2, 2, 3 } },
        { { -1.5f, -0.2f, 1.2f, 2.0f }, rrOutside, { -2, -1, 2, 2 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "rounding " << int(c.rounding));
        EXPECT_EQ(MakeRect(c.r, c.rounding), c.expected);
    }
    EXPECT_EQ(MakeRect(TFixedRect { 0x8000, 0x18000, 0x10001, 0x2FFFF }, rrOutside), (TRect { 0, 1, 2, 3 }));
    EXPECT_EQ(MakeRect(TFixedRect { 0x8000, 0x8000, 0x9000, 0x9000 }, rrInside), (TRect { 1, 1, 1, 1 }));

    EXPECT_TRUE(IsRectEmpty(TRect { 3, 0, 3, 5 }));
    EXPECT_FALSE(IsRectEmpty(TRect { 0, 0, 1, 1 }));
    EXPECT_TRUE(PtInRect(TRect { 0, 0, 2, 2 }, TPoint { 1, 1 }));
    EXPECT_FALSE(PtInRect(TRect { 0, 0, 2, 2 }, TPoint { 2, 1 }));
    TRect r { 1, 2, 3, 4 };
    InflateRect(r, 1, 2);
    OffsetRect(r, 10, 20);
    EXPECT_EQ(r, (TRect { 10, 20, 14, 26 }));
}

TEST(Img32, ColourConstructionAndConversion)
{
    EXPECT_EQ(Color32(TColor(0x000000FF)), 0xFFFF0000u);
    EXPECT_EQ(Color32(TColor(0x80000000 | 5)), 0xFFFFFFFFu); // the window colour of the classic scheme
    EXPECT_EQ(Color32(0x12, 0x34, 0x56, 0x78), 0x78123456u);
    EXPECT_EQ(Gray32(0x40, 0x80), 0x80404040u);
    EXPECT_EQ(WinColor(0x80112233), 0x00332211);
    EXPECT_EQ(Intensity(0xFFFFFFFF), 255);
    EXPECT_EQ(Intensity(0xFF0000FF), 20);
    EXPECT_EQ(SetAlpha(0x12345678, 300), 0xFF345678u);
    EXPECT_EQ(SetAlpha(0x12345678, -5), 0x00345678u);
    EXPECT_EQ(RedComponent(0x12345678), 0x34);
    EXPECT_EQ(AlphaComponent(0x12345678), 0x12);
    TPalette32 palette {};
    palette[7] = 0xDEADBEEF;
    EXPECT_EQ(Color32(7, palette), 0xDEADBEEFu);
}

TEST(Img32, HSLRoundTrips)
{
    EXPECT_EQ(HSLtoRGB(0, 1, 0.5f), 0xFFFF0000u);
    EXPECT_EQ(HSLtoRGB(1.0f / 3, 1, 0.5f), 0xFF00FF00u);
    EXPECT_EQ(HSLtoRGB(0.5f, 0, 0.5f), 0xFF808080u); // grey: 127.5 rounds to even 128
    float h, s, l;
    RGBtoHSL(0xFF00FF00, h, s, l);
    EXPECT_FLOAT_EQ(h, 1.0f / 3);
    EXPECT_FLOAT_EQ(s, 1);
    EXPECT_FLOAT_EQ(l, 0.5f);
    RGBtoHSL(0xFF0000FF, h, s, l);
    EXPECT_FLOAT_EQ(h, 2.0f / 3);
    for (TColor32 c : { 0xFF123456u, 0xFFFEDCBAu, 0xFF808080u, 0xFF00A0FFu }) {
        SCOPED_TRACE(testing::Message() << std::hex << c);
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(HSLtoRGB(h, s, l), c);
    }
}

TEST(Img32, GammaTableHoldsGammaPointSevenAndRefills)
{
    struct Case {
        int index, value;
    };
    const Case kCases[] = { { 0, 0 }, { 1, 5 }, { 2, 9 }, { 16, 37 }, { 64, 97 }, { 128, 157 }, { 192, 209 },
        { 254, 254 }, { 255, 255 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(GAMMA_TABLE[c.index], c.value);
    }
    SetGamma(1.0f);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(GAMMA_TABLE[i], i);
    SetGamma(0.7f);
    EXPECT_EQ(GAMMA_TABLE[16], 37);
}
