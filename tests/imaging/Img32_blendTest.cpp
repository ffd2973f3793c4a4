#include "imaging/Img32_blend.h"

#include "imaging/Img32_system.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace Img32_blend;

namespace {

// Straight per-channel statements of the two sets' formulas, independent of the packed lanes of the library.
uint32_t T(uint32_t c, uint32_t w)
{
    return (c * w + 128) >> 8;
}
uint32_t R(uint32_t f, uint32_t b, uint32_t w)
{
    return (f * w + b * (256 - w) + 128) >> 8;
}

uint32_t Ch(TColor32 c, int i)
{
    return (c >> (8 * i)) & 0xFF;
}

template <class F> TColor32 EachChannel(F f)
{
    TColor32 r = 0;
    for (int i = 0; i < 4; ++i)
        r |= TColor32(f(i) & 0xFF) << (8 * i);
    return r;
}

TColor32 PlainCombine(TColor32 x, TColor32 y, uint32_t w)
{
    return EachChannel([&](int i) { return T(Ch(x, i), w) + T(Ch(y, i), 255 - w); });
}

TColor32 MMXCombine(TColor32 x, TColor32 y, uint32_t w)
{
    return EachChannel([&](int i) { return R(Ch(x, i), Ch(y, i), w); });
}

// Four different channel values per call, so that each call checks four (f, b) pairs.
TColor32 Spread(uint32_t v)
{
    return (v & 0xFF) | (((v * 7 + 3) & 0xFF) << 8) | (((v * 13 + 5) & 0xFF) << 16) | (((255 - v) & 0xFF) << 24);
}

// The vector forms of the MMX set that this processor runs.
std::vector<const TBlendSet*> SIMDSets()
{
    std::vector<const TBlendSet*> sets = { &MMXBlendSetSSE2 };
    if (Img32_system::HasAVX2())
        sets.push_back(&MMXBlendSetAVX2);
    return sets;
}

} // namespace

TEST(Img32_blend, SpecifiedValuesOfBothSets)
{
    struct Case {
        const char* name;
        TColor32 plain;
        TColor32 mmx;
        TColor32 (*run)(const TBlendSet&);
    };
    const Case kCases[] = {
        { "CombineReg full weight", 0xFFFFFFFF, 0xFEFEFEFE,
            [](const TBlendSet& s) { return s.CombineReg(0xFFFFFFFF, 0x00000000, 255); } },
        { "CombineReg zero weight", 0x12345678, 0x12345678,
            [](const TBlendSet& s) { return s.CombineReg(0xFFFFFFFF, 0x12345678, 0); } },
        { "BlendMem half white over black", 0xBF808080, 0xC0808080,
            [](const TBlendSet& s) {
                TColor32 b = 0xFF000000;
                s.BlendMem(0x80FFFFFF, b);
                return b;
            } },
        { "CombineMem at 128", 0x00808080, 0xFF808080,
            [](const TBlendSet& s) {
                TColor32 b = 0xFF000000;
                s.CombineMem(0xFFFFFFFF, b, 128);
                return b;
            } },
        { "BlendMemEx with master alpha 0", 0x11223344, 0x11223344,
            [](const TBlendSet& s) {
                TColor32 b = 0x11223344;
                s.BlendMemEx(0xFFFFFFFF, b, 0);
                return b;
            } },
        { "BlendMem with alpha 0", 0x11223344, 0x11223344,
            [](const TBlendSet& s) {
                TColor32 b = 0x11223344;
                s.BlendMem(0x00FFFFFF, b);
                return b;
            } },
        { "BlendReg opaque", 0xFF102030, 0xFE102030,
            [](const TBlendSet& s) { return s.BlendReg(0xFF102030, 0x00000000); } },
        { "BlendRegEx partial keeps alpha only in MMX", 0x007F7F7F, 0xBF7F7F7F,
            [](const TBlendSet& s) { return s.BlendRegEx(0xFFFFFFFF, 0x80000000, 127); } },
        { "BlendLine of no pixels", 0x11223344, 0x11223344,
            [](const TBlendSet& s) {
                TColor32 src = 0xFFFFFFFF, dst = 0x11223344;
                s.BlendLine(&src, &dst, 0);
                s.BlendLineEx(&src, &dst, 0, 255);
                s.BlendLineEx(&src, &dst, -5, 255);
                return dst;
            } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.run(PlainBlendSet), c.plain) << std::hex << c.run(PlainBlendSet);
        EXPECT_EQ(c.run(MMXBlendSet), c.mmx) << std::hex << c.run(MMXBlendSet);
        for (const TBlendSet* set : SIMDSets())
            EXPECT_EQ(c.run(*set), c.mmx);
    }
}

TEST(Img32_blend, MMXLineAndMemoryWeightsDiffer)
{
    // Fa = 1, M = 128: the row routine weighs ((1 + 1) x 128) shr 8 = 1, the pixel routine ((128 + 1) x 1) shr 8 = 0.
    TColor32 viaMem = 0xFF000000;
    MMXBlendSet.BlendMemEx(0x01FFFFFF, viaMem, 128);
    EXPECT_EQ(viaMem, 0xFF000000u);
    const TColor32 src = 0x01FFFFFF;
    TColor32 viaLine = 0xFF000000;
    MMXBlendSet.BlendLineEx(&src, &viaLine, 1, 128);
    EXPECT_EQ(viaLine, MMXCombine(src, 0xFF000000, 1));
    EXPECT_NE(viaLine, 0xFF000000u);
}

TEST(Img32_blend, CombineRoutinesMatchTheFormulasForEveryChannelValueAndWeight)
{
    for (uint32_t w = 0; w < 256; ++w) {
        for (uint32_t f = 0; f < 256; ++f) {
            for (uint32_t b = 0; b < 256; b += 4) {
                // Four pairs per call: b, b + 1, b + 2, b + 3 in the four channels.
                const TColor32 x = f * 0x01010101u;
                const TColor32 y = b | ((b + 1) << 8) | ((b + 2) << 16) | ((b + 3) << 24);
                const TColor32 plain = w == 0 ? y : (w == 255 ? x : PlainCombine(x, y, w));
                ASSERT_EQ(PlainBlendSet.CombineReg(x, y, w), plain) << f << " " << b << " " << w;
                ASSERT_EQ(MMXBlendSet.CombineReg(x, y, w), MMXCombine(x, y, w)) << f << " " << b << " " << w;
                TColor32 plainMem = y, mmxMem = y;
                PlainBlendSet.CombineMem(x, plainMem, w);
                MMXBlendSet.CombineMem(x, mmxMem, w);
                ASSERT_EQ(plainMem, w == 0 ? y : (w == 255 ? x : plain & 0x00FFFFFF));
                ASSERT_EQ(mmxMem, w == 0 ? y : (w == 255 ? x : MMXCombine(x, y, w)));
            }
        }
    }
}

TEST(Img32_blend, BlendRoutinesMatchTheFormulasForEveryAlphaAndChannelPair)
{
    for (uint32_t fa = 0; fa < 256; ++fa) {
        for (uint32_t f = 0; f < 256; ++f) {
            for (uint32_t b = 0; b < 256; b += 3) {
                const TColor32 x = (fa << 24) | (f * 0x010101u);
                const TColor32 y = Spread(b);
                const TColor32 plain = fa == 255 ? x : (fa == 0 ? y : PlainCombine(x, y, fa));
                ASSERT_EQ(PlainBlendSet.BlendReg(x, y), plain);
                ASSERT_EQ(MMXBlendSet.BlendReg(x, y), MMXCombine(x, y, fa));
                TColor32 plainMem = y, mmxMem = y;
                PlainBlendSet.BlendMem(x, plainMem);
                MMXBlendSet.BlendMem(x, mmxMem);
                ASSERT_EQ(plainMem, plain);
                ASSERT_EQ(mmxMem, fa == 0 ? y : (fa == 255 ? x : MMXCombine(x, y, fa)));
                // The extended forms at a few master alphas, on every fifth destination value.
                if (b % 5 != 0)
                    continue;
                for (uint32_t m : { 0u, 1u, 128u, 254u, 255u }) {
                    const uint32_t w = ((m + 1) * fa) >> 8;
                    const TColor32 plainEx = w == 0 ? y : (PlainCombine(x, y, w) & 0x00FFFFFF);
                    const TColor32 mmxEx = w == 0 ? y : MMXCombine(x, y, w);
                    ASSERT_EQ(PlainBlendSet.BlendRegEx(x, y, m), plainEx);
                    ASSERT_EQ(MMXBlendSet.BlendRegEx(x, y, m), mmxEx);
                    TColor32 p = y, q = y;
                    PlainBlendSet.BlendMemEx(x, p, m);
                    MMXBlendSet.BlendMemEx(x, q, m);
                    ASSERT_EQ(p, plainEx);
                    ASSERT_EQ(q, mmxEx);
                }
            }
        }
    }
}

TEST(Img32_blend, SIMDRowsEqualTheScalarRowsOnEveryInput)
{
    for (const TBlendSet* set : SIMDSets()) {
        SCOPED_TRACE(set == &MMXBlendSetSSE2 ? "SSE2" : "AVX2");
        // Every (Fa, f) pair as a source row, against every destination value, at odd lengths and offsets so the
        // vector body and the scalar tail both run.
        std::vector<TColor32> src(65536 + 3);
        for (uint32_t i = 0; i < 65536; ++i)
            src[i + 3] = ((i >> 8) << 24) | ((i & 0xFF) * 0x010101u);
        std::vector<TColor32> a(src.size()), b(src.size());
        for (uint32_t d = 0; d < 256; d += 5) {
            const TColor32 fill = Spread(d);
            std::fill(a.begin(), a.end(), fill);
            std::fill(b.begin(), b.end(), fill);
            MMXBlendSet.BlendLine(src.data() + 1, a.data() + 1, int32_t(src.size()) - 1);
            set->BlendLine(src.data() + 1, b.data() + 1, int32_t(src.size()) - 1);
            ASSERT_EQ(a, b) << d;
        }
        for (uint32_t m = 0; m < 256; ++m) {
            const TColor32 fill = Spread(m * 31);
            std::fill(a.begin(), a.end(), fill);
            std::fill(b.begin(), b.end(), fill);
            MMXBlendSet.BlendLineEx(src.data(), a.data(), int32_t(src.size()), m);
            set->BlendLineEx(src.data(), b.data(), int32_t(src.size()), m);
            ASSERT_EQ(a, b) << m;
        }
        // Random rows with the special alphas mixed in.
        std::mt19937 random(7);
        const TColor32 specials[] = { 0x00000000, 0xFF000000, 0x01000000, 0xFE000000, 0x80000000 };
        for (int round = 0; round < 200; ++round) {
            const int n = int(random() % 67);
            std::vector<TColor32> s(size_t(n) + 1), x(size_t(n) + 1), y(size_t(n) + 1);
            for (int i = 0; i < n; ++i) {
                s[size_t(i)] = random();
                if (random() % 2)
                    s[size_t(i)] = (s[size_t(i)] & 0x00FFFFFF) | specials[random() % 5];
                x[size_t(i)] = y[size_t(i)] = random();
            }
            const TColor32 m = random() % 256;
            if (round % 2) {
                MMXBlendSet.BlendLine(s.data(), x.data(), n);
                set->BlendLine(s.data(), y.data(), n);
            } else {
                MMXBlendSet.BlendLineEx(s.data(), x.data(), n, m);
                set->BlendLineEx(s.data(), y.data(), n, m);
            }
            ASSERT_EQ(x, y) << round;
        }
    }
}

TEST(Img32_blend, LineRoutinesApplyThePixelRoutinesOfTheirSet)
{
    std::mt19937 random(11);
    std::vector<TColor32> src(300), dst(300);
    for (size_t i = 0; i < src.size(); ++i) {
        src[i] = random();
        dst[i] = random();
    }
    for (const TBlendSet* set : { &PlainBlendSet, &MMXBlendSet }) {
        std::vector<TColor32> line = dst;
        set->BlendLine(src.data(), line.data(), int32_t(src.size()));
        for (size_t i = 0; i < src.size(); ++i) {
            TColor32 b = dst[i];
            set->BlendMem(src[i], b);
            ASSERT_EQ(line[i], b) << i;
        }
    }
    // The plain row routine is its pixel routine; the MMX one weighs by ((Fa + 1) x M) shr 8.
    std::vector<TColor32> line = dst;
    PlainBlendSet.BlendLineEx(src.data(), line.data(), int32_t(src.size()), 77);
    for (size_t i = 0; i < src.size(); ++i) {
        TColor32 b = dst[i];
        PlainBlendSet.BlendMemEx(src[i], b, 77);
        ASSERT_EQ(line[i], b) << i;
    }
    line = dst;
    MMXBlendSet.BlendLineEx(src.data(), line.data(), int32_t(src.size()), 77);
    for (size_t i = 0; i < src.size(); ++i) {
        const uint32_t w = (((src[i] >> 24) + 1) * 77) >> 8;
        ASSERT_EQ(line[i], w == 0 ? dst[i] : MMXCombine(src[i], dst[i], w)) << i;
    }
}

TEST(Img32_blend, ColourArithmetic)
{
    EXPECT_EQ(ColorAdd(0x80FF0000, 0x80020000), 0xFFFF0000u);
    EXPECT_EQ(ColorSub(0x10000000, 0x20000000), 0u);
    EXPECT_EQ(ColorSub(0x30405060, 0x10101010), 0x20304050u);
    EXPECT_EQ(ColorModulate(0xFF80FF10, 0x80FF8010), 0x7F7F7F01u);
    EXPECT_EQ(ColorMax(0x10F020A0, 0x2010F030), 0x20F0F0A0u);
    EXPECT_EQ(ColorMin(0x10F020A0, 0x2010F030), 0x10102030u);
    EXPECT_EQ(Lighten(0x80102030, -0x20), 0x80000010u);
    EXPECT_EQ(Lighten(0x80F0F0F0, 0x20), 0x80FFFFFFu);
    EXPECT_EQ(Lighten(0x80102030, INT32_MIN), 0x80000000u);
}

TEST(Img32_blend, MMXSetIsInstalled)
{
    EXPECT_TRUE(MMX_ACTIVE);
    const TBlendSet& vector = Img32_system::HasAVX2() ? MMXBlendSetAVX2 : MMXBlendSetSSE2;
    EXPECT_EQ(BlendMem, vector.BlendMem);
    EXPECT_EQ(BlendLine, vector.BlendLine);
    EXPECT_EQ(BlendLineEx, vector.BlendLineEx);
    EXPECT_EQ(CombineReg(0xFFFFFFFF, 0, 255), 0xFEFEFEFEu);
}
