// Glyph coverage blending, whole rows at a time.
#include "platform/gdi/TextPaint.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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
// BlendCoverage on four pixels; `coverage` holds each pixel's coverage in all four of its bytes. The division by
// 255 of x = d * c + 127 (at most 65152) is (x + 1 + (x >> 8)) >> 8, exact over that range.
[[gnu::always_inline]] inline __m128i BlendFour(__m128i pixels, __m128i coverage, __m128i color)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    // The alpha byte works as a channel whose target is 0 and whose share is the uncovered one.
    const __m128i target = _mm_andnot_si128(alpha, color);
    const __m128i weight = _mm_xor_si128(coverage, alpha);
    const __m128i distance = _mm_or_si128(_mm_subs_epu8(target, pixels), _mm_subs_epu8(pixels, target));
    const __m128i upwards = _mm_cmpeq_epi8(_mm_max_epu8(target, pixels), target);
    auto share = [&](__m128i d, __m128i w) {
        __m128i x = _mm_add_epi16(_mm_mullo_epi16(d, w), _mm_set1_epi16(127));
        x = _mm_add_epi16(x, _mm_add_epi16(_mm_set1_epi16(1), _mm_srli_epi16(x, 8)));
        return _mm_srli_epi16(x, 8);
    };
    const __m128i shares = _mm_packus_epi16(share(_mm_unpacklo_epi8(distance, zero), _mm_unpacklo_epi8(weight, zero)),
        share(_mm_unpackhi_epi8(distance, zero), _mm_unpackhi_epi8(weight, zero)));
    __m128i out = _mm_or_si128(_mm_and_si128(upwards, _mm_add_epi8(pixels, shares)),
        _mm_andnot_si128(upwards, _mm_sub_epi8(pixels, shares)));
    out = _mm_or_si128(_mm_andnot_si128(alpha, out), _mm_and_si128(alpha, shares));
    // Full coverage sets the colour itself; no coverage leaves the pixel as the arithmetic already does.
    const __m128i full = _mm_cmpeq_epi32(coverage, _mm_set1_epi32(-1));
    return _mm_or_si128(_mm_and_si128(full, color), _mm_andnot_si128(full, out));
}

// Four coverage bytes, each spread over its pixel's four bytes.
[[gnu::always_inline]] inline __m128i SpreadCoverage(uint32_t four)
{
    __m128i v = _mm_cvtsi32_si128(int(four));
    v = _mm_unpacklo_epi8(v, v);
    return _mm_unpacklo_epi16(v, v);
}
#endif

} // namespace

void BlendCoverageRow(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t color)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i ink = _mm_set1_epi32(int(color));
    for (; i + 4 <= count; i += 4) {
        uint32_t four;
        std::memcpy(&four, coverage + i, 4);
        if (four == 0)
            continue;
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), BlendFour(p, SpreadCoverage(four), ink));
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
            const __m128i out = BlendFour(p, SpreadCoverage(four), ink);
            pixels[i] = uint32_t(_mm_cvtsi128_si32(out));
            if (n > 1)
                pixels[i + 1] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 4)));
            if (n > 2)
                pixels[i + 2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 8)));
        }
        i = count;
    }
#endif
    for (; i < count; ++i)
        pixels[i] = BlendCoverage(pixels[i], color, coverage[i]);
}
