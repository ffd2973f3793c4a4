// The two passes of the kernel resampler, in portable code and with vector instructions; both give the same sums.
#pragma once
#include "imaging/Img32Types.h"

#include <cstdint>

namespace ResampleRows {

// sums[4x + c] = sum over k of channel c (blue, green, red, alpha) of rows[k][x] times weights[k], for x in
// 0..width-1. Weights fit 16 bits.
void VerticalPassScalar(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums);
// The same, with SSE2 (or AVX2 where the processor has it).
void VerticalPass(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums);

// The taps of every destination column, each column padded with zero weights to `perColumn` taps. An index is
// a column of the vertical sums, times 4.
struct TTapTable {
    int perColumn = 0;
    int columns = 0;
    const int32_t* Index = nullptr;
    const int32_t* Weight = nullptr;
};

// Colour i = the taps of column i applied to the vertical sums, each channel sum limited to 0..0xFF0000 when
// clamp is set, then masked to its byte.
void HorizontalPassScalar(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors);
// The same, with SSE4.1 where the processor has it.
void HorizontalPass(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors);

// The vector forms one by one, for their equality tests. The AVX2 and SSE4.1 forms need a processor that has
// those instructions (Img32_system::HasAVX2, HasSSE41); on other architectures they run the scalar passes.
void VerticalPassSSE2(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums);
void VerticalPassAVX2(const TColor32* const* rows, const int32_t* weights, int count, int width, int32_t* sums);
void HorizontalPassSSE41(const int32_t* sums, const TTapTable& taps, bool clamp, TColor32* colors);

} // namespace ResampleRows
