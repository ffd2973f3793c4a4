#include "framework/core/Numbers.h"

#include <cfenv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(Numbers, RoundTruncCeilFloor)
{
    struct Case {
        double value;
        int64_t round;
        int64_t trunc;
        int64_t ceil;
        int64_t floor;
    };
    const Case kCases[] = {
        { 0.5, 0, 0, 1, 0 },
        { 1.5, 2, 1, 2, 1 },
        { 2.5, 2, 2, 3, 2 },
        { 3.5, 4, 3, 4, 3 },
        { -0.5, 0, 0, 0, -1 },
        { -1.5, -2, -1, -1, -2 },
        { -2.5, -2, -2, -2, -3 },
        { 2.4999999999999996, 2, 2, 3, 2 },
        { 0.49999999999999994, 0, 0, 1, 0 },
        { -2.6, -3, -2, -2, -3 },
        { 4503599627370497.0, 4503599627370497, 4503599627370497, 4503599627370497, 4503599627370497 },
        // Out of range and NaN saturate instead of being undefined.
        { 1e19, kMax64, kMax64, kMax64, kMax64 },
        { -1e19, kMin64, kMin64, kMin64, kMin64 },
        { 9223372036854775808.0, kMax64, kMax64, kMax64, kMax64 },
        { -9223372036854775808.0, kMin64, kMin64, kMin64, kMin64 },
        { kInf, kMax64, kMax64, kMax64, kMax64 },
        { -kInf, kMin64, kMin64, kMin64, kMin64 },
        { kNaN, 0, 0, 0, 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Round(c.value), c.round);
        EXPECT_EQ(Trunc(c.value), c.trunc);
        EXPECT_EQ(Ceil(c.value), c.ceil);
        EXPECT_EQ(Floor(c.value), c.floor);
    }
}

TEST(Numbers, RoundIgnoresTheRoundingMode)
{
    std::fesetround(FE_UPWARD);
    int64_t half = Round(2.5);
    int64_t negativeHalf = Round(-0.5);
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(half, 2);
    EXPECT_EQ(negativeHalf, 0);
}

TEST(Numbers, Frac)
{
    EXPECT_EQ(Frac(1.25), 0.25);
    EXPECT_EQ(Frac(-1.25), -0.25);
    EXPECT_EQ(Frac(3.0), 0.0);
}

TEST(Numbers, MulDiv)
{
    struct Case {
        int a, b, c, expected;
    };
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const Case kCases[] = {
        { 10, 3, 4, 8 }, // 7.5 -> 8
        { 10, 3, -4, -8 }, // -7.5 -> -8
        { -10, 3, 4, -8 },
        { -10, -3, 4, 8 },
        { 1, 1, 2, 1 }, // 0.5 -> 1
        { -1, 1, 2, -1 }, // -0.5 -> -1
        { 1, 1, 3, 0 }, // 0.33 -> 0
        { 2, 1, 3, 1 }, // 0.67 -> 1
        { 7, 5, 0, -1 }, // division by zero
        { kMax, kMax, kMax, kMax }, // the 64-bit product does not overflow
        { kMax, 2, 1, -1 }, // result does not fit
        { kMin, 1, -1, -1 },
        { kMin, 1, 1, kMin },
        { kMin, kMin, kMin, kMin },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.a << "*" << c.b << "/" << c.c);
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected);
    }
}

TEST(Numbers, DivTruncatesAndRefusesWhatCppLeavesUndefined)
{
    EXPECT_EQ(Div(7, 2), 3);
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Div(7, -2), -3);
    EXPECT_EQ(Div(int64_t(-9), 4), -2);
    EXPECT_EQ(Div(7u, 2), 3u);
    static_assert(Div(-9, 2) == -4);
    EXPECT_THROW(Div(1, 0), EDivByZero);
    EXPECT_THROW(Div(std::numeric_limits<int>::min(), -1), EIntOverflow);
    EXPECT_THROW(Div(kMin64, -1), EIntOverflow);
}

TEST(Numbers, Shifts)
{
    EXPECT_EQ(Shr(-8, 1), -4);
    EXPECT_EQ(Shr(-1, 31), -1);
    EXPECT_EQ(Shr(-7, 1), -4); // Rounds toward minus infinity, unlike division.
    EXPECT_EQ(Shr(int64_t(-1) << 40, 40), -1);
    EXPECT_EQ(Shr(0x40000000, 30), 1);
    EXPECT_EQ(Shr(256, 33), 128); // Only the low 5 bits of the count matter.
    EXPECT_EQ(ShrU(-8, 1), 0x7FFFFFFC);
    EXPECT_EQ(ShrU(int64_t(-1), 60), 15);
    EXPECT_EQ(ShrU(uint32_t(0x80000000), 31), 1u);
    EXPECT_EQ(ShrU(uint64_t(1) << 63, 63), 1u);
    EXPECT_EQ(ShrU(uint8_t(0x80), 7), 1);
    static_assert(Shr(-16, 2) == -4 && ShrU(-16, 28) == 15);
}

TEST(Numbers, EnsureRange)
{
    EXPECT_EQ(EnsureRange(5, 0, 10), 5);
    EXPECT_EQ(EnsureRange(-5, 0, 10), 0);
    EXPECT_EQ(EnsureRange(50, 0, 10), 10);
    EXPECT_EQ(EnsureRange(int64_t(1) << 40, 0, 100), 100);
    EXPECT_EQ(EnsureRange(1.5, 0, 1), 1.0);
    EXPECT_EQ(EnsureRange(5, 10, 0), 10); // Crossed bounds: the minimum wins.
}
