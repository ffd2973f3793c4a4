// TBitmapImage, the pixels behind TBitmap and TIcon (a DIB section and its layout), and the DIB and BMP
// readers and writer that fill and save it. Internal to the graphics classes.
#pragma once
#include "platform/gdi/TSurface.h"
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TStream;

// One DIB section. Rows are padded to 4 bytes; Row(y) counts from the top whatever the memory order.
struct TBitmapImage {
    TBitmapImage() = default;
    TBitmapImage(const TBitmapImage&) = delete;
    TBitmapImage& operator=(const TBitmapImage&) = delete;
    ~TBitmapImage();

    HBITMAP Handle = nullptr;
    uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    int BitCount = 0;
    bool TopDown = false;
    size_t Stride = 0;
    // 1, 4 and 8 bits: the colour table as 0x00RRGGBB, always 2^BitCount entries.
    std::vector<uint32_t> Colors;
    // 16 bits: 5-6-5 when Masks[1] is 0x07E0, else 5-5-5. Other depths: unused.
    uint32_t Masks[3] = { 0, 0, 0 };

    uint8_t* Row(int y) const { return Bits + Stride * static_cast<size_t>(TopDown ? y : Height - 1 - y); }
    // A view for reading and writing pixels as 0xAARRGGBB.
    TSurface Surface() const;
    bool Is565() const { return BitCount == 16 && Masks[1] == 0x07E0; }

    // A new zeroed DIB section, bottom-up. `colors` (0x00RRGGBB) is padded or cut to 2^bitCount entries for
    // paletted depths; empty means the default table of that depth. Raises EInvalidGraphic "Invalid image
    // size" for sizes past what a bitmap may hold and EOutOfResources when the system refuses.
    static std::unique_ptr<TBitmapImage> Create(
        int width, int height, int bitCount, std::vector<uint32_t> colors = {}, bool rgb565 = false);
    // Takes over a DIB section, or copies a device-dependent bitmap into a new one and frees it. Null for a
    // handle that is no bitmap.
    static std::unique_ptr<TBitmapImage> Adopt(HBITMAP handle);
    std::unique_ptr<TBitmapImage> Clone() const;
    // A copy in another depth; colours go to the nearest entry of the new table (`colors`, or the default
    // table of that depth when empty).
    std::unique_ptr<TBitmapImage> Convert(int bitCount, bool rgb565, std::vector<uint32_t> colors = {}) const;
    // A copy of another size in the same depth: the pixels that still fit stay where they were, the rest is
    // `fill` (0x00RRGGBB, or its nearest table colour).
    std::unique_ptr<TBitmapImage> Resized(int width, int height, uint32_t fill) const;
};

// The largest width or height a bitmap read from a file may have, and the most pixels an RLE-compressed one
// may expand to (its size is not bounded by the bytes in the file).
constexpr int kMaxImageSide = 0x10000;
constexpr int64_t kMaxRlePixels = int64_t(1) << 26;

// A DIB as stored in a BMP file or an icon: the info header, the colour table or masks, the pixel rows.
// `pixelOffset` (from `data`) is where the rows start when it lies past the colour table and inside the data;
// otherwise they follow the table. An `icon` header gives twice the height (the colour rows and then the
// mask's); only the colour rows are read. On return `end` is the offset just past them. Raises
// EInvalidGraphic `invalidText` for anything malformed or truncated and "Invalid image size" for sizes past
// the limits above.
std::unique_ptr<TBitmapImage> ReadDib(
    const uint8_t* data, size_t size, size_t pixelOffset, bool icon, const char* invalidText, size_t& end);
// The whole BMP file at `data`; `used` is the number of bytes it took.
std::unique_ptr<TBitmapImage> ReadBmpFile(const uint8_t* data, size_t size, size_t& used);
// A plain BMP file (the 40-byte header, 24 or 32 bits uncompressed, no colour table, its rows right after the
// header and all of them within the `size` bytes left in `stream`) read with its rows going straight into the
// image's memory; past them on return. Anything else: null, with `stream` where it was.
std::unique_ptr<TBitmapImage> ReadPlainBmp(TStream& stream, int64_t size);
// The DIB info block (BITMAPINFOHEADER, masks or colour table) and the rows, bottom-up, as a BMP file stores
// them after its file header.
std::vector<uint8_t> DibInfo(const TBitmapImage& image);
void WriteBmpFile(const TBitmapImage& image, TStream& stream);
