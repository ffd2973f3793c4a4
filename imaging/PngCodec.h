// The PNG codec's shared vocabulary: header record, settings enums, the exception classes, CRC and byte order.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TSet.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The codec's own version, which GetLibraryVersion reports.
constexpr const char* LibraryVersion = "1.564";

// The colour types of the header.
constexpr uint8_t COLOR_GRAYSCALE = 0;
constexpr uint8_t COLOR_RGB = 2;
constexpr uint8_t COLOR_PALETTE = 3;
constexpr uint8_t COLOR_GRAYSCALEALPHA = 4;
constexpr uint8_t COLOR_RGBALPHA = 6;

// A chunk type exactly as the file stores it.
using TChunkName = std::array<char, 4>;

// The 13 header bytes in file order; width and height are held in machine order here.
struct TIHDRData {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint8_t BitDepth = 0;
    uint8_t ColorType = 0;
    uint8_t CompressionMethod = 0;
    uint8_t FilterMethod = 0;
    uint8_t InterlaceMethod = 0;
};

// The row filters; a value is also the filter-type byte written in front of a row.
enum TFilter : uint8_t { pfNone, pfSub, pfUp, pfAverage, pfPaeth };
using TFilters = TSet<TFilter, pfPaeth>;

// The deflate level used on saving, 0 to 9.
using TCompressionLevel = uint8_t;

enum TInterlaceMethod : uint8_t { imNone, imAdam7 };

// How a picture is transparent: not at all, by one colour or palette entry, or per pixel or per entry.
enum TPNGTransparencyMode : uint8_t { ptmNone, ptmBit, ptmPartial };

// The unit of a pHYs chunk.
enum TUnitType : uint8_t { utUnknown, utMeter };

// The device-independent bitmap description of the store: a 40-byte header and a 256-entry colour table.
struct TPngBitmapInfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct TPngRGBQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
};

struct TMAXBITMAPINFO {
    TPngBitmapInfoHeader bmiHeader;
    TPngRGBQuad bmiColors[256];
};

// One entry of a logical palette.
struct TPngPaletteEntry {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
};
// A logical palette of up to 256 entries; the store owns the one it holds.
// FIXME: hold a platform/gdi palette (HPALETTE from CreatePalette) instead of the entries.
using TPngPalette = std::vector<TPngPaletteEntry>;

// The codec's failures. Every class derives directly from Exception and carries one of the texts of PngMessages.h.
class EPngError : public Exception {
public:
    using Exception::Exception;
};
class EPngUnexpectedEnd : public Exception {
public:
    using Exception::Exception;
};
class EPngInvalidCRC : public Exception {
public:
    using Exception::Exception;
};
class EPngInvalidIHDR : public Exception {
public:
    using Exception::Exception;
};
class EPNGMissingMultipleIDAT : public Exception {
public:
    using Exception::Exception;
};
class EPNGZLIBError : public Exception {
public:
    using Exception::Exception;
};
class EPNGInvalidPalette : public Exception {
public:
    using Exception::Exception;
};
class EPNGInvalidFileHeader : public Exception {
public:
    using Exception::Exception;
};
class EPNGIHDRNotFirst : public Exception {
public:
    using Exception::Exception;
};
class EPNGNotExists : public Exception {
public:
    using Exception::Exception;
};
class EPNGSizeExceeds : public Exception {
public:
    using Exception::Exception;
};
class EPNGMissingPalette : public Exception {
public:
    using Exception::Exception;
};
class EPNGUnknownCriticalChunk : public Exception {
public:
    using Exception::Exception;
};
class EPNGUnknownCompression : public Exception {
public:
    using Exception::Exception;
};
class EPNGUnknownInterlace : public Exception {
public:
    using Exception::Exception;
};
class EPNGNoImageData : public Exception {
public:
    using Exception::Exception;
};
class EPNGCouldNotLoadResource : public Exception {
public:
    using Exception::Exception;
};
class EPNGOutMemory : public Exception {
public:
    using Exception::Exception;
};
class EPNGCannotChangeTransparent : public Exception {
public:
    using Exception::Exception;
};
class EPNGHeaderNotPresent : public Exception {
public:
    using Exception::Exception;
};
class EPNGInvalidNewSize : public Exception {
public:
    using Exception::Exception;
};
class EPNGInvalidSpec : public Exception {
public:
    using Exception::Exception;
};

// Raises an exception of class E with the given text; every failure of the codec goes through here.
template <class E> [[noreturn]] void RaiseError(const std::string& text)
{
    throw E(text);
}

// Byte order: every integer inside a chunk is big-endian.
uint32_t ByteSwap(uint32_t value);
uint16_t ByteSwap16(uint16_t value);
uint32_t ReadBigEndian32(const uint8_t* bytes);
void WriteBigEndian32(uint8_t* bytes, uint32_t value);

// The PNG CRC-32. update_crc runs the register over the bytes without the initial and final complement; the CRC
// of a chunk is the complement of the register after 0xFFFFFFFF was run over its name and data.
uint32_t update_crc(uint32_t crc, const uint8_t* buffer, size_t length);
uint32_t ChunkCRC(const TChunkName& name, const uint8_t* data, size_t length);

// The text of EPNGZLIBError: the fixed sentence followed by the description of zlib's result code.
std::string ZLibErrorText(int result);
