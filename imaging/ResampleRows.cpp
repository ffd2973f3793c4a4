#include "imaging/ResampleRows.h"

#include "imaging/Img32_system.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ResampleRows {

void VerticalPassScalar(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    std::fill_n(sums, size_t(width) * 4, 0);
    for (int k = 0; k < count; ++k) {
        const TColor32* row = rows[k];
        const int32_t w = weights[k];
        for (int x = 0; x < width; ++x) {
            const TColor32 p = row[x];
            int32_t* s = sums + 4 * x;
            s[0] += int32_t(p & 0xFF) * w;
            s[1] += int32_t((p >> 8) & 0xFF) * w;
            s[2] += int32_t((p >> 16) & 0xFF) * w;
            s[3] += int32_t(p >> 24) * w;
        }
    }
}

namespace {

    // Packs one column's four sums (scaled by 65536) into a colour.
    inline TColor32 Pack(const int32_t* sum, bool clamp)
    {
        TColor32 color = 0;
        for (int c = 0; c < 4; ++c) {
            const int32_t v = clamp ? std::clamp<int32_t>(sum[c], 0, 0xFF0000) : sum[c];
            color |= ((uint32_t(v) >> 16) & 0xFF) << (8 * c);
        }
        return color;
    }

    bool Has16BitWeights(const int32_t* weights, int count)
    {
        for (int k = 0; k < count; ++k)
            if (weights[k] < -32768 || weights[k] > 32767)
                return false;
        return true;
    }

} // namespace

void HorizontalPassScalar(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors)
{
    for (int i = 0; i < taps.columns; ++i) {
        int32_t acc[4] = { 0, 0, 0, 0 };
        const int32_t* index = taps.Index + size_t(i) * size_t(taps.perColumn);
        const int32_t* weight = taps.Weight + size_t(i) * size_t(taps.perColumn);
        for (int k = 0; k < taps.perColumn; ++k) {
            const int32_t* s = sums + index[k];
            for (int c = 0; c < 4; ++c)
                acc[c] += s[c] * weight[k];
        }
        colors[i] = Pack(acc, clamp);
    }
}

#if defined(__x86_64__)

namespace {

    // The columns from `first` on that a vector loop leaves, one at a time.
    void VerticalPassTail(
        const TColor32* const* rows, const int32_t* weights, int count, int first, int width, int32_t* sums)
    {
        for (int x = first; x < width; ++x) {
            int32_t* s = sums + 4 * x;
            s[0] = s[1] = s[2] = s[3] = 0;
            for (int k = 0; k < count; ++k)
                for (int c = 0; c < 4; ++c)
                    s[c] += int32_t((rows[k][x] >> (8 * c)) & 0xFF) * weights[k];
        }
    }

    // Two rows at a time: the channel bytes of both rows interleaved into 16-bit pairs, multiplied by the weight
    // pair and added into 32-bit sums in one step, which is exact for 16-bit weights. A lone last row pairs with
    // weight 0.
    inline int32_t WeightPair(const int32_t* weights, int k, bool pair)
    {
        return int32_t(uint32_t(uint16_t(weights[k])) | (pair ? uint32_t(weights[k + 1]) << 16 : 0u));
    }

} // namespace

__attribute__((target("avx2"))) void VerticalPassAVX2(
    const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    const int wide = width & ~7;
    const __m256i zero = _mm256_setzero_si256();
    for (int x = 0; x < wide; x += 8) {
        __m256i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
        for (int k = 0; k < count; k += 2) {
            const bool pair = k + 1 < count;
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + x));
            const __m256i b = pair ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + x)) : zero;
            const __m256i w = _mm256_set1_epi32(WeightPair(weights, k, pair));
            const __m256i lo = _mm256_unpacklo_epi8(a, b);
            const __m256i hi = _mm256_unpackhi_epi8(a, b);
            s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
            s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
            s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
            s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
        }
        // Each 128-bit half holds pixels x..x+3 and x+4..x+7 in the order s0, s1, s2, s3.
        int32_t* out = sums + 4 * x;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(s0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm256_castsi256_si128(s1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm256_castsi256_si128(s2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_castsi256_si128(s3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(s0, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 20), _mm256_extracti128_si256(s1, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 24), _mm256_extracti128_si256(s2, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 28), _mm256_extracti128_si256(s3, 1));
    }
    VerticalPassTail(rows, weights, count, wide, width, sums);
}

void VerticalPassSSE2(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    const int wide = width & ~3;
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < wide; x += 4) {
        __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
        for (int k = 0; k < count; k += 2) {
            const bool pair = k + 1 < count;
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + x));
            const __m128i b = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + x)) : zero;
            const __m128i w = _mm_set1_epi32(WeightPair(weights, k, pair));
            const __m128i lo = _mm_unpacklo_epi8(a, b);
            const __m128i hi = _mm_unpackhi_epi8(a, b);
            s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
            s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
            s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
            s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4 * x), s0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4 * x + 4), s1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4 * x + 8), s2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4 * x + 12), s3);
    }
    VerticalPassTail(rows, weights, count, wide, width, sums);
}

__attribute__((target("sse4.1"))) void HorizontalPassSSE41(
    const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors)
{
    const __m128i low = _mm_setzero_si128();
    const __m128i high = _mm_set1_epi32(0xFF0000);
    for (int i = 0; i < taps.columns; ++i) {
        const int32_t* index = taps.Index + size_t(i) * size_t(taps.perColumn);
        const int32_t* weight = taps.Weight + size_t(i) * size_t(taps.perColumn);
        __m128i acc = _mm_setzero_si128();
        for (int k = 0; k < taps.perColumn; ++k) {
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + index[k]));
            acc = _mm_add_epi32(acc, _mm_mullo_epi32(s, _mm_set1_epi32(weight[k])));
        }
        if (clamp)
            acc = _mm_min_epi32(_mm_max_epi32(acc, low), high);
        // Byte 2 of every sum, in channel order: blue, green, red, alpha.
        const __m128i bytes
            = _mm_shuffle_epi8(acc, _mm_setr_epi8(2, 6, 10, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
        colors[i] = TColor32(_mm_cvtsi128_si32(bytes));
    }
}

void VerticalPass(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    if (!Has16BitWeights(weights, count))
        return VerticalPassScalar(rows, weights, count, width, sums);
    if (Img32_system::HasAVX2())
        VerticalPassAVX2(rows, weights, count, width, sums);
    else
        VerticalPassSSE2(rows, weights, count, width, sums);
}

void HorizontalPass(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors)
{
    if (Img32_system::HasSSE41())
        HorizontalPassSSE41(sums, taps, clamp, colors);
    else
        HorizontalPassScalar(sums, taps, clamp, colors);
}

#else

void VerticalPass(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    VerticalPassScalar(rows, weights, count, width, sums);
}

void VerticalPassSSE2(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    VerticalPassScalar(rows, weights, count, width, sums);
}

void VerticalPassAVX2(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums)
{
    VerticalPassScalar(rows, weights, count, width, sums);
}

void HorizontalPassSSE41(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors)
{
    HorizontalPassScalar(sums, taps, clamp, colors);
}

#endif

} // namespace ResampleRows
