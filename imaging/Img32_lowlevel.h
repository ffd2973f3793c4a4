// The small integer and memory routines of the imaging code: clamping, word fills, clipping of spans, shifts, MulDiv.
#pragma once
#include "imaging/Img32Types.h"

#include <cstdint>

namespace Img32_lowlevel {

// Value limited to 0..255.
inline int Clamp(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}
// lo when value < lo, else hi when value > hi, else value.
inline int Constrain(int value, int lo, int hi)
{
    return value < lo ? lo : (value > hi ? hi : value);
}

// Writes `value` into `count` consecutive words; count <= 0 writes nothing.
void FillLongword(TColor32* dest, int count, TColor32 value);
// Copies `count` words forward, first word first; nothing when source and dest are the same address.
// NOTE: dest may lie before source in an overlapping range, never after it.
void MoveLongword(const TColor32* source, TColor32* dest, int count);

void Swap(int& a, int& b);
// Exchanges a and b when a > b, so that afterwards a <= b.
void TestSwap(int& a, int& b);
// Orders a and b, then limits them to 0..size-1; true when something of the span is left (b >= a).
bool TestClip(int& a, int& b, int size);

// Arithmetic shifts right (the sign is kept).
constexpr int32_t SAR_4(int32_t value)
{
    return value >> 4;
}
constexpr int32_t SAR_8(int32_t value)
{
    return value >> 8;
}
constexpr int32_t SAR_9(int32_t value)
{
    return value >> 9;
}
constexpr int32_t SAR_12(int32_t value)
{
    return value >> 12;
}
constexpr int32_t SAR_13(int32_t value)
{
    return value >> 13;
}
constexpr int32_t SAR_14(int32_t value)
{
    return value >> 14;
}
constexpr int32_t SAR_16(int32_t value)
{
    return value >> 16;
}

// 0xFFRRGGBB from a framework colour 0x??BBGGRR: the top byte becomes 255, red and blue change places.
TColor32 ColorSwap(TColor winColor);

// a*b/c through a 64-bit product, rounded half away from zero; -1 when c is 0 or the quotient does not fit.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

} // namespace Img32_lowlevel
