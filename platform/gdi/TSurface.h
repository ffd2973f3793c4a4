// TSurface, a view of pixel memory in one of the GDI formats (1, 4, 8, 16, 24 or 32 bits, either row order),
// with row conversion to and from 32-bit pixels.
#pragma once
#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The drawing code works on 32-bit pixels 0xAARRGGBB (B,G,R,A in memory). Formats without alpha read as
// alpha 0 and drop it on writing; paletted formats store the nearest table colour.
constexpr uint32_t PixelFromColor(COLORREF color)
{
    return (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}
constexpr COLORREF ColorFromPixel(uint32_t pixel)
{
    return RGB(BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel));
}

class TSurface final {
public:
    TSurface() = default;
    // A 32-bit top-down view (window back buffers); `stride` in bytes.
    static TSurface Bgra(void* pixels, int width, int height, int stride);

    // Describes memory of `width` x `height` pixels, `bitCount` bits each, rows padded to `rowAlign` bytes, bottom
    // row first unless `topDown`. False for a format or size this layer does not handle.
    bool Init(void* bits, int width, int height, int bitCount, bool topDown, int rowAlign);
    // Bytes per row for `width` pixels of `bitCount` bits padded to `rowAlign`; 0 when it does not fit an int.
    static size_t RowBytes(int width, int bitCount, int rowAlign);

    bool IsValid() const { return FTop != nullptr && FWidth > 0 && FHeight > 0; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitCount() const { return FBitCount; }
    // Distance in bytes from one row to the next one down (negative for bottom-up memory).
    ptrdiff_t Pitch() const { return FPitch; }
    // The memory as allocated (the first byte of the bottom row for bottom-up memory).
    uint8_t* Bits() const { return FPitch < 0 ? FTop + FPitch * (FHeight - 1) : FTop; }
    bool TopDown() const { return FPitch >= 0; }
    RECT Bounds() const { return RECT { 0, 0, FWidth, FHeight }; }

    // A device-dependent monochrome bitmap: 1 is white, 0 black, and blits to and from colour use the DC colours.
    bool Mono() const { return FMono; }
    void SetMono(bool mono) { FMono = mono; }
    // The colour table of 1, 4 and 8-bit formats as 0x00RRGGBB.
    const std::vector<uint32_t>& Colors() const { return FColors; }
    void SetColors(std::vector<uint32_t> colors);
    // Channel masks of 16 and 32-bit formats (BI_BITFIELDS); the defaults are 5-5-5 and 8-8-8.
    void SetMasks(uint32_t red, uint32_t green, uint32_t blue);
    void Masks(uint32_t masks[3]) const;

    // True for plain 32-bit B,G,R,A memory, which the fast paths address directly.
    bool IsBgra() const { return FBgra; }
    uint8_t* Row(int y) const { return FTop + FPitch * y; }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(Row(y)); }

    // Converts `count` pixels of row `y` from column `x`; the range must lie inside the surface.
    void ReadRow(int y, int x, int count, uint32_t* out) const;
    void WriteRow(int y, int x, int count, const uint32_t* in);
    uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t value);

    // The pixel this surface would store for `pixel` (the nearest table colour, the channel precision), so a
    // colour written and read back compares equal.
    uint32_t Representable(uint32_t pixel) const;
    // The nearest colour-table index.
    uint32_t NearestIndex(uint32_t pixel) const;

private:
    uint8_t* FTop = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    ptrdiff_t FPitch = 0;
    int FBitCount = 32;
    bool FMono = false;
    bool FBgra = false;
    std::vector<uint32_t> FColors;
    uint32_t FMask[3] = { 0xFF0000, 0xFF00, 0xFF };
    int FShift[3] = { 16, 8, 0 };
    int FBits[3] = { 8, 8, 8 };
};
