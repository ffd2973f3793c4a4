#include "imaging/Img32_blend.h"

#include "imaging/Img32_system.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Img32_blend {

namespace {

    // Weights and master alphas outside 0..255 are the caller's fault; they are limited so that no lane overflows.
    inline TColor32 Weight(TColor32 w)
    {
        return w > 255 ? 255 : w;
    }

    // ---- The plain set ------------------------------------------------------------------------------------------
    // T(c, w) = (c x w + 128) shr 8 for two channels per multiply: red and blue in one pair of 16-bit lanes, alpha and
    // green in the other. Each lane stays below 65536, and T(x, w) + T(y, 255 - w) never passes 255, so the pairs
    // never carry into one another.
    inline TColor32 PlainTermRB(TColor32 c, TColor32 w)
    {
        return (((c & 0x00FF00FF) * w + 0x00800080) >> 8) & 0x00FF00FF;
    }
    inline TColor32 PlainTermAG(TColor32 c, TColor32 w)
    {
        return (((c >> 8) & 0x00FF00FF) * w + 0x00800080) & 0xFF00FF00;
    }

    inline TColor32 PlainMix(TColor32 x, TColor32 y, TColor32 w)
    {
        return PlainTermRB(x, w) + PlainTermAG(x, w) + PlainTermRB(y, 255 - w) + PlainTermAG(y, 255 - w);
    }

    TColor32 Plain_CombineReg(TColor32 x, TColor32 y, TColor32 w)
    {
        w = Weight(w);
        if (w == 0)
            return y;
        if (w == 255)
            return x;
        return PlainMix(x, y, w);
    }

    void Plain_CombineMem(TColor32 f, TColor32& b, TColor32 w)
    {
        w = Weight(w);
        if (w == 0)
            return;
        if (w == 255) {
            b = f;
            return;
        }
        b = PlainMix(f, b, w) & 0x00FFFFFF;
    }

    TColor32 Plain_BlendReg(TColor32 f, TColor32 b)
    {
        const TColor32 fa = f >> 24;
        if (fa == 255)
            return f;
        if (fa == 0)
            return b;
        return PlainMix(f, b, fa);
    }

    void Plain_BlendMem(TColor32 f, TColor32& b)
    {
        const TColor32 fa = f >> 24;
        if (fa == 0)
            return;
        if (fa == 255) {
            b = f;
            return;
        }
        b = PlainMix(f, b, fa);
    }

    TColor32 Plain_BlendRegEx(TColor32 f, TColor32 b, TColor32 m)
    {
        const TColor32 fa = f >> 24;
        if (fa == 0)
            return b;
        const TColor32 w = ((Weight(m) + 1) * fa) >> 8;
        if (w == 0)
            return b;
        return PlainMix(f, b, w) & 0x00FFFFFF;
    }

    void Plain_BlendMemEx(TColor32 f, TColor32& b, TColor32 m)
    {
        const TColor32 fa = f >> 24;
        if (fa == 0)
            return;
        const TColor32 w = ((Weight(m) + 1) * fa) >> 8;
        if (w == 0)
            return;
        b = PlainMix(f, b, w) & 0x00FFFFFF;
    }

    void Plain_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
            Plain_BlendMem(src[i], dst[i]);
    }

    void Plain_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
    {
        for (int32_t i = 0; i < count; ++i)
            Plain_BlendMemEx(src[i], dst[i], m);
    }

    // ---- The MMX set ----------------------------------------------------------------------------------------------
    // R(f, b, w) = (f x w + b x (256 - w) + 128) shr 8 for every channel, rounded once. A lane holds at most
    // 255 x 256 + 128, so again two channels share one 32-bit multiply without carrying.
    inline TColor32 MMXMix(TColor32 f, TColor32 b, TColor32 w)
    {
        const TColor32 v = 256 - w;
        const TColor32 rb = (((f & 0x00FF00FF) * w + (b & 0x00FF00FF) * v + 0x00800080) >> 8) & 0x00FF00FF;
        const TColor32 ag = (((f >> 8) & 0x00FF00FF) * w + ((b >> 8) & 0x00FF00FF) * v + 0x00800080) & 0xFF00FF00;
        return rb | ag;
    }

    TColor32 MMX_CombineReg(TColor32 x, TColor32 y, TColor32 w)
    {
        return MMXMix(x, y, Weight(w));
    }

    void MMX_CombineMem(TColor32 f, TColor32& b, TColor32 w)
    {
        w = Weight(w);
        if (w == 0)
            return;
        if (w == 255) {
            b = f;
            return;
        }
        b = MMXMix(f, b, w);
    }

    TColor32 MMX_BlendReg(TColor32 f, TColor32 b)
    {
        return MMXMix(f, b, f >> 24);
    }

    void MMX_BlendMem(TColor32 f, TColor32& b)
    {
        const TColor32 fa = f >> 24;
        if (fa == 0)
            return;
        if (fa == 255) {
            b = f;
            return;
        }
        b = MMXMix(f, b, fa);
    }

    TColor32 MMX_BlendRegEx(TColor32 f, TColor32 b, TColor32 m)
    {
        const TColor32 w = ((Weight(m) + 1) * (f >> 24)) >> 8;
        if (w == 0)
            return b;
        return MMXMix(f, b, w);
    }

    void MMX_BlendMemEx(TColor32 f, TColor32& b, TColor32 m)
    {
        const TColor32 fa = f >> 24;
        if (fa == 0)
            return;
        const TColor32 w = ((Weight(m) + 1) * fa) >> 8;
        if (w == 0)
            return;
        b = MMXMix(f, b, w);
    }

    void MMX_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i) {
            const TColor32 f = src[i];
            const TColor32 fa = f >> 24;
            if (fa == 0)
                continue;
            dst[i] = fa == 255 ? f : MMXMix(f, dst[i], fa);
        }
    }

    // NOTE: the row routine weighs by ((Fa + 1) x M) shr 8, the single-pixel one by ((M + 1) x Fa) shr 8; the two
    // differ by one for some inputs, and both are kept as they are.
    void MMX_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
    {
        m = Weight(m);
        for (int32_t i = 0; i < count; ++i) {
            const TColor32 f = src[i];
            const TColor32 fa = f >> 24;
            if (fa == 0)
                continue;
            const TColor32 w = ((fa + 1) * m) >> 8;
            if (w == 0)
                continue;
            dst[i] = MMXMix(f, dst[i], w);
        }
    }

#if defined(__SSE2__)
    // Pixels in 16-bit lanes. (f - b) x w wraps in 16 bits, but the whole sum (f - b) x w + b x 256 + 128 lies in
    // 0..65408, so the wrapped lane arithmetic gives it exactly. bBiased holds b x 256 + 128 per lane.
    inline __m128i MixLanes(__m128i f, __m128i b, __m128i bBiased, __m128i w)
    {
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(f, b), w), bBiased), 8);
    }

    // The alpha lane of each pixel in all four of its lanes.
    inline __m128i SpreadAlpha(__m128i lanes)
    {
        return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, 0xFF), 0xFF);
    }

    // BlendLine's mix of four pixels: weight Fa, except that Fa = 255 must store F exactly, which weight 256 does.
    inline __m128i BlendFour(__m128i f, __m128i b)
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i bias = _mm_set1_epi8(char(0x80));
        const __m128i c255 = _mm_set1_epi16(255);
        const __m128i fLo = _mm_unpacklo_epi8(f, zero);
        const __m128i fHi = _mm_unpackhi_epi8(f, zero);
        __m128i wLo = SpreadAlpha(fLo);
        __m128i wHi = SpreadAlpha(fHi);
        wLo = _mm_sub_epi16(wLo, _mm_cmpeq_epi16(wLo, c255));
        wHi = _mm_sub_epi16(wHi, _mm_cmpeq_epi16(wHi, c255));
        const __m128i lo = MixLanes(fLo, _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(bias, b), wLo);
        const __m128i hi = MixLanes(fHi, _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(bias, b), wHi);
        return _mm_packus_epi16(lo, hi);
    }

    // The alpha bytes of eight pixels that equal `value`, as a bit set of the four-pixel halves' movemasks.
    inline int AlphaMatches(__m128i f0, __m128i f1, __m128i value)
    {
        return _mm_movemask_epi8(_mm_cmpeq_epi8(f0, value)) & _mm_movemask_epi8(_mm_cmpeq_epi8(f1, value)) & 0x8888;
    }

    void SIMD_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i ones = _mm_set1_epi8(char(0xFF));
        int32_t i = 0;
        // Eight pixels a round; runs of transparent or opaque pixels skip the arithmetic.
        for (; i + 8 <= count; i += 8) {
            const __m128i f0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            const __m128i f1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4));
            if (AlphaMatches(f0, f1, zero) == 0x8888)
                continue;
            __m128i* d = reinterpret_cast<__m128i*>(dst + i);
            if (AlphaMatches(f0, f1, ones) == 0x8888) {
                _mm_storeu_si128(d, f0);
                _mm_storeu_si128(d + 1, f1);
                continue;
            }
            _mm_storeu_si128(d, BlendFour(f0, _mm_loadu_si128(d)));
            _mm_storeu_si128(d + 1, BlendFour(f1, _mm_loadu_si128(d + 1)));
        }
        MMX_BlendLine(src + i, dst + i, count - i);
    }

    void SIMD_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
    {
        m = Weight(m);
        const __m128i zero = _mm_setzero_si128();
        const __m128i bias = _mm_set1_epi8(char(0x80));
        const __m128i master = _mm_set1_epi16(short(m));
        const __m128i one = _mm_set1_epi16(1);
        int32_t i = 0;
        for (; i + 4 <= count; i += 4) {
            const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            if ((_mm_movemask_epi8(_mm_cmpeq_epi8(f, zero)) & 0x8888) == 0x8888)
                continue;
            // W = ((Fa + 1) x M) shr 8; (Fa + 1) x M stays below 65536. Weight 0 reproduces B exactly, so the
            // pixels that the scalar routine skips need no mask.
            const __m128i fLo = _mm_unpacklo_epi8(f, zero);
            const __m128i fHi = _mm_unpackhi_epi8(f, zero);
            const __m128i wLo = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(SpreadAlpha(fLo), one), master), 8);
            const __m128i wHi = _mm_srli_epi16(_mm_mullo_epi16(_mm_add_epi16(SpreadAlpha(fHi), one), master), 8);
            __m128i* d = reinterpret_cast<__m128i*>(dst + i);
            const __m128i b = _mm_loadu_si128(d);
            const __m128i lo = MixLanes(fLo, _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(bias, b), wLo);
            const __m128i hi = MixLanes(fHi, _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(bias, b), wHi);
            _mm_storeu_si128(d, _mm_packus_epi16(lo, hi));
        }
        MMX_BlendLineEx(src + i, dst + i, count - i, m);
    }
#else
    void SIMD_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
    {
        MMX_BlendLine(src, dst, count);
    }

    void SIMD_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
    {
        MMX_BlendLineEx(src, dst, count, m);
    }
#endif

    inline uint32_t Channel(TColor32 c, int shift)
    {
        return (c >> shift) & 0xFF;
    }

    template <class Op> TColor32 PerChannel(TColor32 c1, TColor32 c2, Op op)
    {
        TColor32 result = 0;
        for (int shift = 0; shift < 32; shift += 8)
            result |= TColor32(op(int(Channel(c1, shift)), int(Channel(c2, shift)))) << shift;
        return result;
    }

    bool InstallBlendSet();

} // namespace

// Img32_blend_AVX2.cpp.
void AVX2_BlendLine(const TColor32* src, TColor32* dst, int32_t count);
void AVX2_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m);

const TBlendSet PlainBlendSet = { &Plain_CombineReg, &Plain_CombineMem, &Plain_BlendReg, &Plain_BlendMem,
    &Plain_BlendRegEx, &Plain_BlendMemEx, &Plain_BlendLine, &Plain_BlendLineEx };
const TBlendSet MMXBlendSet = { &MMX_CombineReg, &MMX_CombineMem, &MMX_BlendReg, &MMX_BlendMem, &MMX_BlendRegEx,
    &MMX_BlendMemEx, &MMX_BlendLine, &MMX_BlendLineEx };
const TBlendSet MMXBlendSetSSE2 = { &MMX_CombineReg, &MMX_CombineMem, &MMX_BlendReg, &MMX_BlendMem, &MMX_BlendRegEx,
    &MMX_BlendMemEx, &SIMD_BlendLine, &SIMD_BlendLineEx };
const TBlendSet MMXBlendSetAVX2 = { &MMX_CombineReg, &MMX_CombineMem, &MMX_BlendReg, &MMX_BlendMem, &MMX_BlendRegEx,
    &MMX_BlendMemEx, &AVX2_BlendLine, &AVX2_BlendLineEx };

// Constant-initialised to the set the processor test picks on every machine we build for, so a blend call can
// never meet an empty variable; the test below then confirms or replaces it before main.
TCombineReg CombineReg = &MMX_CombineReg;
TCombineMem CombineMem = &MMX_CombineMem;
TBlendReg BlendReg = &MMX_BlendReg;
TBlendMem BlendMem = &MMX_BlendMem;
TBlendRegEx BlendRegEx = &MMX_BlendRegEx;
TBlendMemEx BlendMemEx = &MMX_BlendMemEx;
TBlendLine BlendLine = &SIMD_BlendLine;
TBlendLineEx BlendLineEx = &SIMD_BlendLineEx;
bool MMX_ACTIVE = true;

namespace {

    bool InstallBlendSet()
    {
#if defined(__i386__) || defined(__x86_64__)
        MMX_ACTIVE = Img32_system::HasMMX();
#else
        // Without the processor test the MMX formulas are used too, so every machine shows the same pixels.
        MMX_ACTIVE = true;
#endif
        const TBlendSet& set
            = !MMX_ACTIVE ? PlainBlendSet : (Img32_system::HasAVX2() ? MMXBlendSetAVX2 : MMXBlendSetSSE2);
        CombineReg = set.CombineReg;
        CombineMem = set.CombineMem;
        BlendReg = set.BlendReg;
        BlendMem = set.BlendMem;
        BlendRegEx = set.BlendRegEx;
        BlendMemEx = set.BlendMemEx;
        BlendLine = set.BlendLine;
        BlendLineEx = set.BlendLineEx;
        return true;
    }

    const bool kBlendSetInstalled = InstallBlendSet();

} // namespace

TColor32 ColorAdd(TColor32 c1, TColor32 c2)
{
    return PerChannel(c1, c2, [](int a, int b) { return std::min(a + b, 255); });
}

TColor32 ColorSub(TColor32 c1, TColor32 c2)
{
    return PerChannel(c1, c2, [](int a, int b) { return std::max(a - b, 0); });
}

TColor32 ColorModulate(TColor32 c1, TColor32 c2)
{
    return PerChannel(c1, c2, [](int a, int b) { return (a * b) >> 8; });
}

TColor32 ColorMax(TColor32 c1, TColor32 c2)
{
    return PerChannel(c1, c2, [](int a, int b) { return std::max(a, b); });
}

TColor32 ColorMin(TColor32 c1, TColor32 c2)
{
    return PerChannel(c1, c2, [](int a, int b) { return std::min(a, b); });
}

TColor32 Lighten(TColor32 c, int32_t amount)
{
    auto channel = [&](int shift) {
        const int64_t v = int64_t(Channel(c, shift)) + amount;
        return TColor32(v < 0 ? 0 : (v > 255 ? 255 : v)) << shift;
    };
    return (c & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

} // namespace Img32_blend
