// Test helpers for the PNG codec: a small independent PNG writer for fixtures, and sample read-back from a picture.
#pragma once
#include "framework/core/Streams.h"
#include "imaging/TPNGObject.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace PngTest {

inline void PutBE32(std::string& s, uint32_t v)
{
    s.push_back(char(v >> 24));
    s.push_back(char(v >> 16));
    s.push_back(char(v >> 8));
    s.push_back(char(v));
}

inline const std::string Signature = std::string("\x89PNG\r\n\x1a\n", 8);

// One framed chunk; the CRC comes from zlib, not from the codec under test.
inline std::string Chunk(const std::string& name, const std::string& data)
{
    std::string out;
    PutBE32(out, uint32_t(data.size()));
    out += name;
    out += data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(name.data()), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
    PutBE32(out, uint32_t(crc));
    return out;
}

inline std::string IHDR(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0)
{
    std::string d;
    PutBE32(d, width);
    PutBE32(d, height);
    d.push_back(char(depth));
    d.push_back(char(colorType));
    d.push_back(0);
    d.push_back(0);
    d.push_back(char(interlace));
    return Chunk("IHDR", d);
}

inline std::string Compress(const std::string& raw, int level = 6)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
        uLong(raw.size()), level);
    out.resize(size);
    return out;
}

inline std::string Inflate(const std::string& data)
{
    z_stream zs {};
    inflateInit(&zs);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = uInt(data.size());
    std::string out;
    char buffer[4096];
    int status = Z_OK;
    while (status == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer);
        zs.avail_out = sizeof buffer;
        status = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - zs.avail_out);
    }
    inflateEnd(&zs);
    return out;
}

inline int Channels(uint8_t colorType)
{
    switch (colorType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

// An image as file samples: Width x Height pixels of Channels(colorType) samples, each within the bit depth.
struct TImage {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint8_t BitDepth = 8;
    uint8_t ColorType = 2;
    uint8_t Interlace = 0;
    std::vector<uint16_t> Samples;

    uint16_t At(uint32_t x, uint32_t y, int c) const
    {
        return Samples[(size_t(y) * Width + x) * Channels(ColorType) + c];
    }
};

// Random samples; palette images use indices below paletteCount.
inline TImage RandomImage(uint32_t width, uint32_t height, uint8_t colorType, uint8_t depth, uint8_t interlace,
    uint32_t seed, uint32_t paletteCount = 0)
{
    TImage image { width, height, depth, colorType, interlace, {} };
    std::mt19937 rng(seed);
    uint32_t limit = colorType == 3 ? paletteCount : (1u << depth);
    image.Samples.resize(size_t(width) * height * Channels(colorType));
    // Runs of repeated pixels make the rows compress and give every filter something to do.
    for (size_t i = 0; i < image.Samples.size(); ++i)
        image.Samples[i] = (i > 8 && rng() % 3 == 0) ? image.Samples[i - Channels(colorType)] : uint16_t(rng() % limit);
    return image;
}

// The raw bytes of the pixels at columns start, start + step, ... of row y.
inline std::string PackRow(const TImage& image, uint32_t y, uint32_t start, uint32_t step)
{
    std::string row;
    int channels = Channels(image.ColorType);
    uint32_t bits = 0, acc = 0;
    for (uint32_t x = start; x < image.Width; x += step) {
        for (int c = 0; c < channels; ++c) {
            uint16_t v = image.At(x, y, c);
            if (image.BitDepth == 16) {
                row.push_back(char(v >> 8));
                row.push_back(char(v));
            } else if (image.BitDepth == 8) {
                row.push_back(char(v));
            } else {
                acc = (acc << image.BitDepth) | v;
                bits += image.BitDepth;
                if (bits == 8) {
                    row.push_back(char(acc));
                    acc = bits = 0;
                }
            }
        }
    }
    if (bits > 0)
        row.push_back(char(acc << (8 - bits)));
    return row;
}

inline uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Filters a raw row with type f against the previous raw row (empty for the first row of a pass).
inline std::string FilterRow(int f, const std::string& raw, const std::string& prev, int bpp)
{
    std::string out(raw.size(), '\0');
    for (size_t i = 0; i < raw.size(); ++i) {
        int a = i >= size_t(bpp) ? uint8_t(raw[i - bpp]) : 0;
        int b = prev.empty() ? 0 : uint8_t(prev[i]);
        int c = (i >= size_t(bpp) && !prev.empty()) ? uint8_t(prev[i - bpp]) : 0;
        int predictor = f == 1 ? a : f == 2 ? b : f == 3 ? (a + b) / 2 : f == 4 ? Paeth(a, b, c) : 0;
        out[i] = char(uint8_t(raw[i]) - predictor);
    }
    return out;
}

// The uncompressed image data: every row with a filter byte, the filter cycling through all five types.
inline std::string FilteredData(const TImage& image, int filterSeed = 0)
{
    int bpp = std::max(1, Channels(image.ColorType) * image.BitDepth / 8);
    std::string data;
    int counter = filterSeed;
    auto emitPass = [&](uint32_t rowStart, uint32_t rowStep, uint32_t colStart, uint32_t colStep) {
        if (colStart >= image.Width)
            return;
        std::string prev;
        for (uint32_t y = rowStart; y < image.Height; y += rowStep) {
            std::string raw = PackRow(image, y, colStart, colStep);
            int f = counter++ % 5;
            data.push_back(char(f));
            data += FilterRow(f, raw, prev, bpp);
            prev = raw;
        }
    };
    if (image.Interlace) {
        static const uint32_t passes[7][4] = { { 0, 8, 0, 8 }, { 0, 8, 4, 8 }, { 4, 8, 0, 4 }, { 0, 4, 2, 4 },
            { 2, 4, 0, 2 }, { 0, 2, 1, 2 }, { 1, 2, 0, 1 } };
        for (const auto& p : passes)
            emitPass(p[0], p[1], p[2], p[3]);
    } else {
        emitPass(0, 1, 0, 1);
    }
    return data;
}

// A palette of count entries with distinct colours.
inline std::string PaletteData(uint32_t count)
{
    std::string d;
    for (uint32_t i = 0; i < count; ++i) {
        d.push_back(char(i * 7));
        d.push_back(char(255 - i));
        d.push_back(char(i * 13 + 5));
    }
    return d;
}

// A complete file for the image; `between` goes after IHDR (and PLTE), `idatSplit` cuts the compressed data into
// IDAT chunks of that many bytes (0: one chunk).
inline std::string MakePng(const TImage& image, const std::string& between = "", size_t idatSplit = 0)
{
    std::string file = Signature + IHDR(image.Width, image.Height, image.BitDepth, image.ColorType, image.Interlace);
    if (image.ColorType == 3)
        file += Chunk("PLTE", PaletteData(1u << image.BitDepth));
    file += between;
    std::string compressed = Compress(FilteredData(image));
    if (idatSplit == 0)
        idatSplit = compressed.size();
    for (size_t pos = 0; pos < compressed.size(); pos += idatSplit)
        file += Chunk("IDAT", compressed.substr(pos, idatSplit));
    file += Chunk("IEND", "");
    return file;
}

inline void Load(TPNGObject& png, const std::string& file)
{
    TMemoryStream stream;
    stream.Write(file.data(), int32_t(file.size()));
    stream.SetPosition(0);
    png.LoadFromStream(stream);
}

inline std::string Save(TPNGObject& png)
{
    TMemoryStream stream;
    png.SaveToStream(stream);
    return std::string(static_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

// The file samples of pixel (x, y) read back from a loaded picture's store (gamma being the identity). A 16-bit
// alpha sample keeps only its high byte in the store, so it is compared as that byte.
inline std::vector<uint16_t> StoreSamples(const TPNGObject& png, uint32_t x, uint32_t y)
{
    TChunkIHDR* h = png.Header();
    const TIHDRData& ihdr = h->IHDRData;
    const uint8_t* row = h->ScanLine(y);
    const uint8_t* low = h->ExtraImageData ? h->ExtraScanLine(y) : nullptr;
    const uint8_t* alpha = h->AlphaScanLine(y);
    bool deep = ihdr.BitDepth == 16;
    auto wide = [&](size_t i) -> uint16_t { return deep ? uint16_t((row[i] << 8) | low[i]) : row[i]; };
    switch (ihdr.ColorType) {
    case 0:
    case 3: {
        if (deep)
            return { wide(x) };
        int bits = h->StoreBitsPerPixel();
        uint32_t perByte = 8 / bits;
        uint16_t v = (row[x / perByte] >> (8 - bits - bits * (x % perByte))) & ((1 << bits) - 1);
        if (ihdr.BitDepth == 2 && ihdr.ColorType == 0)
            v /= 5;
        return { v };
    }
    case 2:
        return { wide(3 * x + 2), wide(3 * x + 1), wide(3 * x) };
    case 4:
        return { wide(x), uint16_t(alpha[x]) };
    default:
        return { wide(3 * x + 2), wide(3 * x + 1), wide(3 * x), uint16_t(alpha[x]) };
    }
}

inline std::vector<uint16_t> ImageSamples(const TImage& image, uint32_t x, uint32_t y)
{
    std::vector<uint16_t> s;
    int channels = Channels(image.ColorType);
    for (int c = 0; c < channels; ++c) {
        uint16_t v = image.At(x, y, c);
        bool isAlpha = (image.ColorType == 4 && c == 1) || (image.ColorType == 6 && c == 3);
        s.push_back(isAlpha && image.BitDepth == 16 ? uint16_t(v >> 8) : v);
    }
    return s;
}

// The chunks of a file as (name, data) pairs.
inline std::vector<std::pair<std::string, std::string>> ParseChunks(const std::string& file)
{
    std::vector<std::pair<std::string, std::string>> chunks;
    size_t pos = 8;
    while (pos + 12 <= file.size()) {
        uint32_t length = (uint32_t(uint8_t(file[pos])) << 24) | (uint32_t(uint8_t(file[pos + 1])) << 16)
            | (uint32_t(uint8_t(file[pos + 2])) << 8) | uint8_t(file[pos + 3]);
        chunks.emplace_back(file.substr(pos + 4, 4), file.substr(pos + 8, length));
        pos += 12 + length;
    }
    return chunks;
}

} // namespace PngTest
