#include "tests/display/ScreenshotPng.h"

#include <fstream>
#include <zlib.h>

namespace {

void PutBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

// A chunk: its length, type, data and the CRC of type and data.
void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBigEndian(out, uint32_t(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    PutBigEndian(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

} // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height))
        return false;
    // Each row starts with filter type 0 (none).
    std::string raw;
    raw.reserve(size_t(height) * (size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            raw += char((p >> 16) & 0xFF);
            raw += char((p >> 8) & 0xFF);
            raw += char(p & 0xFF);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
            uLong(raw.size()))
        != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no filter choice, no interlace
    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << file;
    return bool(out);
}
