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
        // The last one to three pixels go through a padded copy (no coverage in the padding).
        alignas(16) uint32_t rest[4] = {};
        uint32_t four = 0;
        switch (count - i) {
        case 3:
            std::memcpy(rest, pixels + i, 12);
            std::memcpy(&four, coverage + i, 3);
            break;
        case 2:
            std::memcpy(rest, pixels + i, 8);
            std::memcpy(&four, coverage + i, 2);
            break;
        default:
            std::memcpy(rest, pixels + i, 4);
            std::memcpy(&four, coverage + i, 1);
            break;
        }
        if (four != 0) {
            const __m128i p = _mm_load_si128(reinterpret_cast<const __m128i*>(rest));
            _mm_store_si128(reinterpret_cast<__m128i*>(rest), BlendFour(p, SpreadCoverage(four), ink));
            switch (count - i) {
            case 3:
                std::memcpy(pixels + i, rest, 12);
                break;
            case 2:
                std::memcpy(pixels + i, rest, 8);
                break;
            default:
                std::memcpy(pixels + i, rest, 4);
                break;
            }
        }
        i = count;
    }
#endif
    for (; i < count; ++i)
        pixels[i] = BlendCoverage(pixels[i], color, coverage[i]);
}
