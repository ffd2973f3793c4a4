// Glyph coverage blending, whole rows at a time.
#include "platform/gdi/TextPaint.h"

#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

uint32_t BlendCoverage(uint32_t pixel, uint32_t color, uint32_t coverage)
{
    if (coverage == 0)
        return pixel;
    if (coverage == 255)
        return color;
    // Each channel moves the rounded share coverage / 255 of the way to the text colour (rounding away from the
    // pixel's own value at halves); alpha keeps the uncovered share, so full coverage leaves alpha 0 as the solid
    // drawing calls do.
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t dc = (pixel >> shift) & 0xFF;
        const uint32_t sc = (color >> shift) & 0xFF;
        const uint32_t share = ((sc >= dc ? sc - dc : dc - sc) * coverage + 127) / 255;
        out |= (sc >= dc ? dc + share : dc - share) << shift;
    }
    return out | ((((pixel >> 24) * (255 - coverage) + 127) / 255) << 24);
}

namespace {

#if defined(__SSE2__)
// BlendCoverage on four pixels; `coverage` holds each pixel's coverage in all four of its bytes, `target` the colour
// with alpha 0. Moving the rounded share of the distance towards the colour, either way, is the same as the rounded
// weighted mean (d * (255 - c) + s * c + 127) / 255, and alpha fits it with a target of 0. For x up to 65535, x / 255
// is (x * 0x8081) >> 23.
// (d * (255 - c) + s * c + 127) / 255 on eight channels.
[[gnu::always_inline]] inline __m128i Mean(__m128i d, __m128i s, __m128i c, __m128i u)
{
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(d, u), _mm_mullo_epi16(s, c));
    x = _mm_add_epi16(x, _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7);
}

[[gnu::always_inline]] inline __m128i BlendFour(__m128i pixels, __m128i coverage, __m128i target, __m128i targetAlpha)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i uncovered = _mm_xor_si128(coverage, _mm_set1_epi32(-1));
    const __m128i s = _mm_unpacklo_epi8(target, zero);
    const __m128i out = _mm_packus_epi16(
        Mean(_mm_unpacklo_epi8(pixels, zero), s, _mm_unpacklo_epi8(coverage, zero), _mm_unpacklo_epi8(uncovered, zero)),
        Mean(
            _mm_unpackhi_epi8(pixels, zero), s, _mm_unpackhi_epi8(coverage, zero), _mm_unpackhi_epi8(uncovered, zero)));
    // Full coverage sets the colour itself, alpha and all.
    return _mm_or_si128(out, _mm_and_si128(_mm_cmpeq_epi32(coverage, _mm_set1_epi32(-1)), targetAlpha));
}

// Four coverage bytes, each spread over its pixel's four bytes.
[[gnu::always_inline]] inline __m128i SpreadCoverage(uint32_t four)
{
    __m128i v = _mm_cvtsi32_si128(int(four));
    v = _mm_unpacklo_epi8(v, v);
    return _mm_unpacklo_epi16(v, v);
}
#endif

#if defined(__SSE2__)
// A row four pixels at a time, the last one to three together.
void BlendRowSse2(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color)
{
    int i = 0;
    // The alpha byte's target is 0; full coverage still sets the colour itself, alpha and all.
    const __m128i ink = _mm_set1_epi32(int(color & 0x00FFFFFFu));
    const __m128i inkAlpha = _mm_set1_epi32(int(color & 0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        uint32_t four;
        std::memcpy(&four, coverage + i, 4);
        if (four == 0)
            continue;
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), BlendFour(p, SpreadCoverage(four), ink, inkAlpha));
    }
    if (i < count) {
        // The last one to three pixels go through the same blend, read and written one by one: a vector load of
        // pixels just stored one by one would wait for the stores to drain.
        const int n = count - i;
        uint32_t four = coverage[i];
        if (n > 1)
            four |= uint32_t(coverage[i + 1]) << 8;
        if (n > 2)
            four |= uint32_t(coverage[i + 2]) << 16;
        if (four != 0) {
            const __m128i p = _mm_setr_epi32(
                int(pixels[i]), n > 1 ? int(pixels[i + 1]) : 0, n > 2 ? int(pixels[i + 2]) : 0, 0);
            const __m128i out = BlendFour(p, SpreadCoverage(four), ink, inkAlpha);
            pixels[i] = uint32_t(_mm_cvtsi128_si32(out));
            if (n > 1)
                pixels[i + 1] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 4)));
            if (n > 2)
                pixels[i + 2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 8)));
        }
    }
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
#define TP_BLEND_AVX2 1
// The same blend eight pixels at a time on processors that have AVX2 (the weighted mean per 128-bit half, as
// above).

// (d * (255 - c) + s * c + 127) / 255 on sixteen channels.
[[gnu::target("avx2")]] inline __m256i MeanAvx2(__m256i d, __m256i s, __m256i c, __m256i u)
{
    __m256i x = _mm256_add_epi16(_mm256_mullo_epi16(d, u), _mm256_mullo_epi16(s, c));
    x = _mm256_add_epi16(x, _mm256_set1_epi16(127));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(short(0x8081))), 7);
}

// Eight pixels blended by their eight coverage bytes (the first pixel's in the low byte).
[[gnu::target("avx2")]] inline __m256i BlendEight(__m256i p, uint64_t eight, __m256i target, __m256i targetAlpha)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i spread = _mm256_setr_epi8(
        0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7);
    const __m256i c
        = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(_mm_cvtsi64_si128(static_cast<long long>(eight))), spread);
    const __m256i u = _mm256_xor_si256(c, _mm256_set1_epi32(-1));
    const __m256i out = _mm256_packus_epi16(
        MeanAvx2(_mm256_unpacklo_epi8(p, zero), target, _mm256_unpacklo_epi8(c, zero), _mm256_unpacklo_epi8(u, zero)),
        MeanAvx2(_mm256_unpackhi_epi8(p, zero), target, _mm256_unpackhi_epi8(c, zero), _mm256_unpackhi_epi8(u, zero)));
    return _mm256_or_si256(out, _mm256_and_si256(_mm256_cmpeq_epi32(c, _mm256_set1_epi32(-1)), targetAlpha));
}

// A row eight pixels at a time, the last one to seven through masked loads and stores.
[[gnu::target("avx2")]] void BlendRowAvx2(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ink = _mm256_set1_epi32(int(color & 0x00FFFFFFu));
    const __m256i inkAlpha = _mm256_set1_epi32(int(color & 0xFF000000u));
    const __m256i target = _mm256_unpacklo_epi8(ink, zero);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, coverage + i, 8);
        if (eight == 0)
            continue;
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels + i), BlendEight(p, eight, target, inkAlpha));
    }
    if (i < count) {
        // Masked loads and stores touch nothing past the row.
        const int n = count - i;
        uint64_t eight = 0;
        for (int k = n - 1; k >= 0; --k)
            eight = (eight << 8) | coverage[i + k];
        if (eight != 0) {
            const __m256i mask = _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
            int* at = reinterpret_cast<int*>(pixels + i);
            _mm256_maskstore_epi32(at, mask, BlendEight(_mm256_maskload_epi32(at, mask), eight, target, inkAlpha));
        }
    }
}
#endif

} // namespace

void BlendCoverageRow(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color)
{
#if defined(TP_BLEND_AVX2)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        BlendRowAvx2(pixels, coverage, count, color);
        return;
    }
#endif
    BlendCoverageRowPortable(pixels, coverage, count, color);
}

void BlendCoverageRowPortable(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color)
{
#if defined(__SSE2__)
    BlendRowSse2(pixels, coverage, count, color);
#else
    for (int i = 0; i < count; ++i)
        pixels[i] = BlendCoverage(pixels[i], color, coverage[i]);
#endif
}
