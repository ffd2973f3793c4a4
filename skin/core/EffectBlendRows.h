// Rows of the effect bitmap's blends in fixed point, sixteen bytes at a time where the processor allows.
#pragma once
#include <cstdint>
#include <vector>

namespace EffectBlend {

// The fixed-point weight of the second image: W / 2^15 stands for the blend factor.
constexpr int kWeightBits = 15;
constexpr int kMaxWeight = (1 << kWeightBits) - 1;

// For each of n bytes: own[i] := own[i] + (other[i] - own[i]) * weight[i] / 2^15, rounded half to even.
// Where the fixed-point product may stand on the other side of a half from the exact blend - its remainder
// lies less than uncertain[i] away from the half (0: never) - the byte is left to the caller: its index and
// the own value it had are appended to `unsure` (index in the low 24 bits, own value above).
void BlendRow(uint8_t* own, const uint8_t* other, int n, const int16_t* weight, const int16_t* uncertain,
    std::vector<uint32_t>& unsure);

// One byte of the same rule, for tests of a weight against a whole table of results.
inline uint8_t BlendByte(int own, int other, int weight)
{
    const int t = (own << kWeightBits) + (other - own) * weight;
    const int q = t >> kWeightBits;
    const int rem = t & kMaxWeight;
    const int half = 1 << (kWeightBits - 1);
    return static_cast<uint8_t>(q + ((rem > half || (rem == half && (q & 1))) ? 1 : 0));
}

// How far (in remainder units) the fixed-point blend with `weight` may stray from the exact one with factor
// k, for byte differences up to 255, with room for the rounding of the exact formula itself (and to spare).
int UncertainBand(long double k, int weight);

} // namespace EffectBlend
