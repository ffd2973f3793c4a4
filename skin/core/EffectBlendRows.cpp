#include "skin/core/EffectBlendRows.h"

#include <cmath>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TP_EFFECT_BLEND_AVX2 1
#endif

namespace EffectBlend {

namespace {

constexpr int kHalf = 1 << (kWeightBits - 1);

void Note(std::vector<uint32_t>& unsure, int index, uint8_t own)
{
    unsure.push_back(uint32_t(index) | (uint32_t(own) << 24));
}

// Bytes [from, n) one at a time.
void BlendTail(uint8_t* own, const uint8_t* other, int from, int n, const int16_t* weight, const int16_t* uncertain,
    std::vector<uint32_t>& unsure)
{
    for (int i = from; i < n; ++i) {
        const int rem = ((other[i] - own[i]) * weight[i]) & kMaxWeight;
        if (std::abs(rem - kHalf) < uncertain[i])
            Note(unsure, i, own[i]);
        own[i] = BlendByte(own[i], other[i], weight[i]);
    }
}

#ifdef TP_EFFECT_BLEND_AVX2

bool HasAVX2()
{
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return has;
}

// Sixteen bytes a step in 16-bit lanes: the product (other - own) * weight split into its high and low halves
// gives the quotient and remainder by 2^15 exactly, so each lane computes what BlendByte computes.
__attribute__((target("avx2"))) int BlendRowAVX2(uint8_t* own, const uint8_t* other, int n, const int16_t* weight,
    const int16_t* uncertain, std::vector<uint32_t>& unsure)
{
    const __m256i low15 = _mm256_set1_epi16(kMaxWeight);
    const __m256i half = _mm256_set1_epi16(kHalf);
    const __m256i one = _mm256_set1_epi16(1);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i ownBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(own + i));
        const __m256i a = _mm256_cvtepu8_epi16(ownBytes);
        const __m256i b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(other + i)));
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight + i));
        const __m256i d = _mm256_sub_epi16(b, a);
        const __m256i lo = _mm256_mullo_epi16(d, w);
        const __m256i hi = _mm256_mulhi_epi16(d, w);
        const __m256i q = _mm256_add_epi16(a, _mm256_or_si256(_mm256_slli_epi16(hi, 1), _mm256_srli_epi16(lo, 15)));
        const __m256i rem = _mm256_and_si256(lo, low15);
        const __m256i tie = _mm256_and_si256(_mm256_cmpeq_epi16(rem, half), _mm256_cmpeq_epi16(_mm256_and_si256(q, one), one));
        const __m256i up = _mm256_or_si256(_mm256_cmpgt_epi16(rem, half), tie);
        const __m256i r = _mm256_sub_epi16(q, up);
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(r, r), 0xD8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(own + i), _mm256_castsi256_si128(packed));
        const __m256i band = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(uncertain + i));
        const __m256i distance = _mm256_abs_epi16(_mm256_sub_epi16(rem, half));
        uint32_t mask = uint32_t(_mm256_movemask_epi8(_mm256_cmpgt_epi16(band, distance)));
        if (mask) {
            alignas(16) uint8_t before[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(before), ownBytes);
            // Each 16-bit lane sets two bits of the mask.
            for (; mask; mask &= ~(3u << __builtin_ctz(mask))) {
                const int lane = __builtin_ctz(mask) / 2;
                Note(unsure, i + lane, before[lane]);
            }
        }
    }
    return i;
}

#endif

} // namespace

void BlendRow(uint8_t* own, const uint8_t* other, int n, const int16_t* weight, const int16_t* uncertain,
    std::vector<uint32_t>& unsure)
{
    int done = 0;
#ifdef TP_EFFECT_BLEND_AVX2
    if (HasAVX2())
        done = BlendRowAVX2(own, other, n, weight, uncertain, unsure);
#endif
    BlendTail(own, other, done, n, weight, uncertain, unsure);
}

int UncertainBand(long double k, int weight)
{
    // Double precision and one unit more than the bound need: the band only has to be wide enough.
    const double error = std::fabs(weight - static_cast<double>(k) * (1 << kWeightBits));
    return static_cast<int>(255 * error) + 3;
}

} // namespace EffectBlend
