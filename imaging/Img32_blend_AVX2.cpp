// The MMX set's row routines in AVX2, eight pixels a step, for processors that have it.
#include "imaging/Img32_blend.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace Img32_blend {

#if defined(__x86_64__)

namespace {

    // As in the SSE2 routines: (f - b) x w + b x 256 + 128 lies in 0..65408, so 16-bit lanes that wrap give it exactly.
    __attribute__((target("avx2"))) inline __m256i MixLanes(__m256i f, __m256i b, __m256i bBiased, __m256i w)
    {
        return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(f, b), w), bBiased), 8);
    }

    __attribute__((target("avx2"))) inline __m256i SpreadAlpha(__m256i lanes)
    {
        return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(lanes, 0xFF), 0xFF);
    }

    __attribute__((target("avx2"))) inline __m256i MixPixels(__m256i f, __m256i b, __m256i wLo, __m256i wHi)
    {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i bias = _mm256_set1_epi8(char(0x80));
        const __m256i lo = MixLanes(
            _mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(b, zero), _mm256_unpacklo_epi8(bias, b), wLo);
        const __m256i hi = MixLanes(
            _mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(b, zero), _mm256_unpackhi_epi8(bias, b), wHi);
        return _mm256_packus_epi16(lo, hi);
    }

} // namespace

__attribute__((target("avx2"))) void AVX2_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi8(char(0xFF));
    const __m256i c255 = _mm256_set1_epi16(255);
    constexpr uint32_t kAlphaBits = 0x88888888u;
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        if ((uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(f, zero))) & kAlphaBits) == kAlphaBits)
            continue;
        __m256i* d = reinterpret_cast<__m256i*>(dst + i);
        if ((uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(f, ones))) & kAlphaBits) == kAlphaBits) {
            _mm256_storeu_si256(d, f);
            continue;
        }
        // Weight Fa, but 256 for Fa = 255, which stores F exactly.
        __m256i wLo = SpreadAlpha(_mm256_unpacklo_epi8(f, zero));
        __m256i wHi = SpreadAlpha(_mm256_unpackhi_epi8(f, zero));
        wLo = _mm256_sub_epi16(wLo, _mm256_cmpeq_epi16(wLo, c255));
        wHi = _mm256_sub_epi16(wHi, _mm256_cmpeq_epi16(wHi, c255));
        _mm256_storeu_si256(d, MixPixels(f, _mm256_loadu_si256(d), wLo, wHi));
    }
    MMXBlendSet.BlendLine(src + i, dst + i, count - i);
}

__attribute__((target("avx2"))) void AVX2_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
{
    m = m > 255 ? 255 : m;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i master = _mm256_set1_epi16(short(m));
    const __m256i one = _mm256_set1_epi16(1);
    constexpr uint32_t kAlphaBits = 0x88888888u;
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        if ((uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(f, zero))) & kAlphaBits) == kAlphaBits)
            continue;
        // W = ((Fa + 1) x M) shr 8; weight 0 reproduces B exactly.
        const __m256i wLo = _mm256_srli_epi16(
            _mm256_mullo_epi16(_mm256_add_epi16(SpreadAlpha(_mm256_unpacklo_epi8(f, zero)), one), master), 8);
        const __m256i wHi = _mm256_srli_epi16(
            _mm256_mullo_epi16(_mm256_add_epi16(SpreadAlpha(_mm256_unpackhi_epi8(f, zero)), one), master), 8);
        __m256i* d = reinterpret_cast<__m256i*>(dst + i);
        _mm256_storeu_si256(d, MixPixels(f, _mm256_loadu_si256(d), wLo, wHi));
    }
    MMXBlendSet.BlendLineEx(src + i, dst + i, count - i, m);
}

#else

void AVX2_BlendLine(const TColor32* src, TColor32* dst, int32_t count)
{
    MMXBlendSet.BlendLine(src, dst, count);
}

void AVX2_BlendLineEx(const TColor32* src, TColor32* dst, int32_t count, TColor32 m)
{
    MMXBlendSet.BlendLineEx(src, dst, count, m);
}

#endif

} // namespace Img32_blend
