// The DIB and BMP file readers and the BMP writer behind TBitmap and TIcon.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/LittleEndian.h"
#include "framework/graphics/TBitmapImage.h"
#include "platform/gdi/GdiTypes.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

// One colour channel of a BI_BITFIELDS pixel.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    // False for a mask whose bits are not contiguous.
    bool Init(uint32_t mask)
    {
        Mask = mask;
        if (!mask)
            return true;
        Shift = std::countr_zero(mask);
        uint32_t v = mask >> Shift;
        if ((v & (v + 1)) != 0)
            return false;
        Bits = std::popcount(mask);
        return true;
    }
    uint32_t Get(uint32_t pixel) const
    {
        if (!Bits)
            return 0;
        uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8)
            return (v >> (Bits - 8)) & 0xFF;
        uint32_t max = (1u << Bits) - 1;
        return (v * 255 + max / 2) / max;
    }
};

// The run-length decoder of BI_RLE8 and BI_RLE4 (4 bits a pixel when `nibbles`). Rows count from the
// bottom, as the format has them; pixels outside the image are dropped. Returns the offset past the last
// code read.
size_t DecodeRle(const uint8_t* data, size_t pos, size_t limit, TBitmapImage& image, bool nibbles, const char* invalid)
{
    const int width = image.Width;
    const int height = image.Height;
    int x = 0;
    int y = 0;
    auto put = [&](int px, int value) {
        if (px >= width || y >= height)
            return;
        uint8_t* row = image.Row(height - 1 - y);
        if (!nibbles) {
            row[px] = static_cast<uint8_t>(value);
        } else if (px & 1) {
            row[px >> 1] = static_cast<uint8_t>((row[px >> 1] & 0xF0) | (value & 0x0F));
        } else {
            row[px >> 1] = static_cast<uint8_t>((row[px >> 1] & 0x0F) | ((value & 0x0F) << 4));
        }
    };
    while (y < height) {
        if (limit - pos < 2) {
            // The last row may end with the data instead of an end-of-bitmap code; anything shorter is
            // a truncated file.
            if (y == height - 1 && x >= width)
                break;
            throw EInvalidGraphic(invalid);
        }
        const int count = data[pos];
        const int value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x + i < width; ++i)
                put(x + i, nibbles ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            x = std::min(x + count, width);
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return pos;
        case 2: // delta
            if (limit - pos < 2)
                throw EInvalidGraphic(invalid);
            x = std::min(x + data[pos], width);
            y = std::min(y + data[pos + 1], height);
            pos += 2;
            break;
        default: { // an absolute run of `value` pixels, padded to a 16-bit boundary
            size_t bytes = nibbles ? (size_t(value) + 1) / 2 : size_t(value);
            size_t padded = (bytes + 1) & ~size_t(1);
            if (limit - pos < padded)
                throw EInvalidGraphic(invalid);
            for (int i = 0; i < value && x + i < width; ++i) {
                int pixel = nibbles ? ((i & 1) ? data[pos + i / 2] & 0x0F : data[pos + i / 2] >> 4) : data[pos + i];
                put(x + i, pixel);
            }
            x = std::min(x + value, width);
            pos += padded;
            break;
        }
        }
    }
    return pos;
}

} // namespace

std::unique_ptr<TBitmapImage> ReadDib(
    const uint8_t* data, size_t size, size_t pixelOffset, bool icon, const char* invalid, size_t& end)
{
    if (size < 12)
        throw EInvalidGraphic(invalid);
    const uint32_t headerSize = U32(data);
    int64_t width = 0;
    int64_t height = 0;
    int bitCount = 0;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    size_t entrySize = 4;
    uint32_t masks[4] = { 0, 0, 0, 0 };
    bool masksInHeader = false;
    if (headerSize == 12) {
        // The OS/2 core header: 16-bit sizes and three-byte colour entries.
        width = U16(data + 4);
        height = U16(data + 6);
        bitCount = U16(data + 10);
        entrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 || headerSize == 108
        || headerSize == 124) {
        if (size < headerSize)
            throw EInvalidGraphic(invalid);
        width = static_cast<int32_t>(U32(data + 4));
        height = static_cast<int32_t>(U32(data + 8));
        bitCount = U16(data + 14);
        compression = U32(data + 16);
        colorsUsed = U32(data + 32);
        // The OS/2 2.x header (64 bytes) numbers its compressions differently past RLE4; those are refused below.
        if (headerSize >= 52 && headerSize != 64) {
            masks[0] = U32(data + 40);
            masks[1] = U32(data + 44);
            masks[2] = U32(data + 48);
            masksInHeader = true;
            if (headerSize >= 56)
                masks[3] = U32(data + 52);
        }
        if (headerSize == 64 && compression == BI_BITFIELDS)
            throw EInvalidGraphic(invalid);
    } else {
        throw EInvalidGraphic(invalid);
    }

    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (icon)
        height /= 2;
    if (width <= 0 || height <= 0)
        throw EInvalidGraphic(invalid);
    if (width > kMaxImageSide || height > kMaxImageSide)
        throw EInvalidGraphic("Invalid image size");

    bool valid = false;
    switch (compression) {
    case BI_RGB:
        valid = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
        break;
    case BI_RLE8:
        valid = bitCount == 8 && !topDown && !icon;
        break;
    case BI_RLE4:
        valid = bitCount == 4 && !topDown && !icon;
        break;
    case BI_BITFIELDS:
        valid = bitCount == 16 || bitCount == 32;
        break;
    default:
        break;
    }
    if (!valid)
        throw EInvalidGraphic(invalid);

    size_t pos = headerSize;
    if (compression == BI_BITFIELDS && !masksInHeader) {
        if (size - pos < 12)
            throw EInvalidGraphic(invalid);
        masks[0] = U32(data + pos);
        masks[1] = U32(data + pos + 4);
        masks[2] = U32(data + pos + 8);
        pos += 12;
    }

    // The colour table: what the header says is used (all 2^bits when 0). Depths above 8 bits may carry an
    // optional table for palette displays, which is skipped.
    std::vector<uint32_t> colors;
    if (colorsUsed > 0x10000)
        throw EInvalidGraphic(invalid);
    size_t entries = colorsUsed;
    if (bitCount <= 8 && entries == 0)
        entries = size_t(1) << bitCount;
    size_t tableBytes = entries * entrySize;
    if (size - pos < tableBytes)
        throw EInvalidGraphic(invalid);
    if (bitCount <= 8) {
        size_t usable = std::min(entries, size_t(1) << bitCount);
        colors.resize(usable);
        for (size_t i = 0; i < usable; ++i) {
            const uint8_t* e = data + pos + i * entrySize;
            colors[i] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
        }
    }
    pos += tableBytes;
    if (pixelOffset >= pos && pixelOffset <= size)
        pos = pixelOffset;

    // The depth the image is kept in: the file's, except for channel masks TBitmap has no format for.
    int targetBits = bitCount;
    bool rgb565 = false;
    bool rawCopy = compression == BI_RGB;
    TChannel channels[4];
    if (compression == BI_BITFIELDS) {
        for (int i = 0; i < 4; ++i) {
            if (!channels[i].Init(masks[i]))
                throw EInvalidGraphic(invalid);
        }
        if (bitCount == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
            rgb565 = true;
            rawCopy = true;
        } else if (bitCount == 16 && masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) {
            rawCopy = true;
        } else if (bitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF
            && (masks[3] == 0 || masks[3] == 0xFF000000)) {
            rawCopy = true;
        } else {
            targetBits = 32;
        }
    }

    const size_t sourceStride = TSurface::RowBytes(static_cast<int>(width), bitCount, 4);
    if (sourceStride == 0)
        throw EInvalidGraphic("Invalid image size");
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (rle) {
        if (width * height > kMaxRlePixels)
            throw EInvalidGraphic("Invalid image size");
    } else if ((size - pos) / sourceStride < static_cast<size_t>(height)) {
        // Checked before anything is allocated, so a short file never costs the memory its header asks for.
        throw EInvalidGraphic(invalid);
    }

    auto image = TBitmapImage::Create(static_cast<int>(width), static_cast<int>(height), targetBits, colors, rgb565);
    const int h = static_cast<int>(height);
    const int w = static_cast<int>(width);
    if (rle) {
        end = DecodeRle(data, pos, size, *image, compression == BI_RLE4, invalid);
        return image;
    }
    for (int r = 0; r < h; ++r) {
        const uint8_t* source = data + pos + sourceStride * static_cast<size_t>(r);
        uint8_t* dest = image->Row(topDown ? r : h - 1 - r);
        if (rawCopy) {
            std::memcpy(dest, source, sourceStride);
            continue;
        }
        uint32_t* out = reinterpret_cast<uint32_t*>(dest);
        for (int x = 0; x < w; ++x) {
            uint32_t pixel = bitCount == 16 ? U16(source + x * 2) : U32(source + x * 4);
            out[x] = (channels[3].Get(pixel) << 24) | (channels[0].Get(pixel) << 16) | (channels[1].Get(pixel) << 8)
                | channels[2].Get(pixel);
        }
    }
    end = pos + sourceStride * static_cast<size_t>(h);
    return image;
}

std::unique_ptr<TBitmapImage> ReadBmpFile(const uint8_t* data, size_t size, size_t& used)
{
    if (size < 14 || data[0] != 'B' || data[1] != 'M')
        throw EInvalidGraphic(kInvalidBitmap);
    uint32_t offBits = U32(data + 10);
    size_t end = 0;
    auto image = ReadDib(data + 14, size - 14, offBits >= 14 ? offBits - 14 : 0, false, kInvalidBitmap, end);
    used = 14 + end;
    return image;
}

std::unique_ptr<TBitmapImage> ReadPlainBmp(TStream& stream, int64_t size)
{
    constexpr size_t kHeaderBytes = 14 + 40;
    if (size < int64_t(kHeaderBytes))
        return nullptr;
    const int64_t start = stream.Position();
    uint8_t header[kHeaderBytes];
    stream.ReadBuffer(header, int32_t(kHeaderBytes));
    const uint8_t* info = header + 14;
    const int64_t width = int32_t(U32(info + 4));
    const int64_t height = int32_t(U32(info + 8));
    const int bitCount = U16(info + 14);
    const int64_t rows = height < 0 ? -height : height;
    const bool plain = header[0] == 'B' && header[1] == 'M' && U32(header + 10) == kHeaderBytes && U32(info) == 40
        && (bitCount == 24 || bitCount == 32) && U32(info + 16) == BI_RGB && U32(info + 32) == 0 && width > 0
        && rows > 0 && width <= kMaxImageSide && rows <= kMaxImageSide
        && int64_t(TSurface::RowBytes(int(width), bitCount, 4)) * rows <= size - int64_t(kHeaderBytes);
    if (!plain) {
        stream.SetPosition(start);
        return nullptr;
    }
    try {
        auto image = TBitmapImage::Create(int(width), int(rows), bitCount, {}, false);
        if (height > 0 && !image->TopDown) {
            // Bottom-up rows in the file and in memory: one block.
            stream.ReadBuffer(image->Bits, int32_t(image->Stride * size_t(rows)));
        } else {
            for (int row = 0; row < int(rows); ++row)
                stream.ReadBuffer(image->Row(height > 0 ? int(rows) - 1 - row : row), int32_t(image->Stride));
        }
        return image;
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
}

std::vector<uint8_t> DibInfo(const TBitmapImage& image)
{
    std::vector<uint8_t> out;
    const bool is565 = image.Is565();
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(image.Width));
    PutU32(out, static_cast<uint32_t>(image.Height));
    PutU16(out, 1);
    PutU16(out, static_cast<uint32_t>(image.BitCount));
    PutU32(out, is565 ? BI_BITFIELDS : BI_RGB);
    PutU32(out, static_cast<uint32_t>(image.Stride * static_cast<size_t>(image.Height)));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, image.BitCount <= 8 ? static_cast<uint32_t>(image.Colors.size()) : 0);
    PutU32(out, 0);
    if (image.BitCount <= 8) {
        for (uint32_t c : image.Colors)
            PutU32(out, c & 0xFFFFFF);
    } else if (is565) {
        PutU32(out, 0xF800);
        PutU32(out, 0x07E0);
        PutU32(out, 0x001F);
    }
    return out;
}

void WriteBmpFile(const TBitmapImage& image, TStream& stream)
{
    std::vector<uint8_t> info = DibInfo(image);
    const size_t imageBytes = image.Stride * static_cast<size_t>(image.Height);
    const size_t offBits = 14 + info.size();
    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    PutU32(header, static_cast<uint32_t>(offBits + imageBytes));
    PutU32(header, 0);
    PutU32(header, static_cast<uint32_t>(offBits));
    stream.WriteBuffer(header.data(), static_cast<int32_t>(header.size()));
    stream.WriteBuffer(info.data(), static_cast<int32_t>(info.size()));
    // Bottom row first, as BMP files keep them.
    for (int y = image.Height - 1; y >= 0; --y)
        stream.WriteBuffer(image.Row(y), static_cast<int32_t>(image.Stride));
}
