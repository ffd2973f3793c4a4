// The colour codes of decoded frames, their buffer sizes, and how a buffer of each code is laid out.
#pragma once
#include <cstdint>

// The colour codes the codec libraries exchange with the engine. Planar codes have no row padding, chroma
// planes of (w+1)/2 x (h+1)/2 and rows top-down; packed codes have rows bottom-up.
enum class TAvColorCode : int32_t {
    Rgb565 = 1, // 16-bit RGB565 little-endian, rows bottom-up.
    Bgra = 3, // 32 bits as the bytes B, G, R, A (alpha 255), rows bottom-up.
    Yvu420 = 4, // Planes Y, V, U.
    Yuv420 = 5, // Planes Y, U, V (I420).
};

// The largest side we accept; keeps every frame size well inside int32 arithmetic.
constexpr int kAvMaxFrameSide = 16384;

bool IsAvColorCode(int32_t value);
bool AvColorIsBottomUp(TAvColorCode code);

// Bytes of one width x height frame in the code; -1 when a side is not in 1..kAvMaxFrameSide.
int64_t AvColorFrameSize(TAvColorCode code, int width, int height);

// One frame buffer seen as planes that start at the picture's top row. A bottom-up buffer gets a pointer to
// its last row and a negative stride, so converters never need to know the orientation. PixelFormat holds
// FFmpeg's AVPixelFormat value (kept as int so this header stays free of libav).
// Four entries each, as swscale reads four planes even of three-plane formats.
struct TAvColorPlanes {
    uint8_t* Data[4] = {};
    int Stride[4] = {};
    int PixelFormat = -1;
};

// FFmpeg's AVPixelFormat value for the code (code 4 is I420 with its chroma planes swapped).
int AvColorPixelFormat(TAvColorCode code);

// The planes of a frame buffer of the code; the size must have passed AvColorFrameSize.
TAvColorPlanes AvColorPlanes(TAvColorCode code, int width, int height, uint8_t* buffer);
