// Reading cursor (.cur), icon (.ico) and animated cursor (.ani) files from untrusted bytes.
#include "platform/win/Cursors.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

uint16_t Word(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t Dword(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool Fail(std::string& error, const char* text)
{
    error = text;
    return false;
}

constexpr int kCursorSize = 32;

// One pixel of a DIB row in the formats icons use, as 0xAARRGGBB (alpha only for 32 bits).
uint32_t DibPixel(const uint8_t* row, int x, int bits, const std::vector<uint32_t>& colors)
{
    switch (bits) {
    case 1:
    case 4:
    case 8: {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        const uint32_t index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
        return index < colors.size() ? colors[index] : 0;
    }
    case 16: {
        const uint16_t v = Word(row + x * 2);
        auto expand = [](uint32_t c) { return (c << 3) | (c >> 2); };
        return (expand((v >> 10) & 31) << 16) | (expand((v >> 5) & 31) << 8) | expand(v & 31);
    }
    case 24: {
        const uint8_t* p = row + x * 3;
        return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
    default:
        return Dword(row + x * 4);
    }
}

// One image of an icon directory: a DIB with the XOR image over the AND mask (height doubled).
bool ParseDibImage(const uint8_t* data, size_t size, TCursorImage& image, std::string& error)
{
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0)
        return Fail(error, "The cursor image is PNG-compressed, which is not read.");
    if (size < 40)
        return Fail(error, "The cursor image is shorter than its header.");
    const uint32_t headerSize = Dword(data);
    const int32_t width = int32_t(Dword(data + 4));
    const int32_t doubleHeight = int32_t(Dword(data + 8));
    const int bits = Word(data + 14);
    const uint32_t compression = Dword(data + 16);
    const uint32_t colorsUsed = Dword(data + 32);
    if (headerSize < 40 || headerSize > size)
        return Fail(error, "The cursor image header has a wrong size.");
    if (width <= 0 || width > kMaxCursorSide || doubleHeight <= 1 || doubleHeight > 2 * kMaxCursorSide)
        return Fail(error, "The cursor image has a size that is zero, negative or larger than 256 pixels.");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "The cursor image has a colour depth that is not 1, 4, 8, 16, 24 or 32 bits.");
    if (compression != 0 && !(compression == 3 && bits == 32))
        return Fail(error, "The cursor image is compressed, which is not read.");
    const int height = doubleHeight / 2;

    size_t offset = headerSize;
    std::vector<uint32_t> colors;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        if (colorsUsed > most)
            return Fail(error, "The cursor image has more colours than its depth allows.");
        const uint32_t count = colorsUsed ? colorsUsed : most;
        if (size - offset < size_t(count) * 4)
            return Fail(error, "The cursor image ends inside its colour table.");
        for (uint32_t i = 0; i < count; ++i)
            colors.push_back(Dword(data + offset + i * 4) & 0xFFFFFF);
        offset += size_t(count) * 4;
    }
    const size_t colorRow = (size_t(width) * bits + 31) / 32 * 4;
    const size_t maskRow = (size_t(width) + 31) / 32 * 4;
    if (size - offset < colorRow * size_t(height))
        return Fail(error, "The cursor image ends inside its pixels.");
    const uint8_t* colorBits = data + offset;
    offset += colorRow * size_t(height);
    // 32-bit images may leave the mask out: their alpha says it all.
    const bool hasMask = size - offset >= maskRow * size_t(height);
    if (!hasMask && bits != 32)
        return Fail(error, "The cursor image ends inside its mask.");
    const uint8_t* maskBits = data + offset;

    image = TCursorImage();
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(size_t(width) * size_t(height));
    image.Mask.resize(image.Pixels.size());
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up.
        const uint8_t* colorRowBits = colorBits + colorRow * size_t(height - 1 - y);
        const uint8_t* maskRowBits = maskBits + maskRow * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            image.Pixels[i] = DibPixel(colorRowBits, x, bits, colors);
            image.Mask[i] = hasMask ? (maskRowBits[x >> 3] >> (7 - (x & 7))) & 1 : 0;
            anyAlpha = anyAlpha || (image.Pixels[i] >> 24) != 0;
        }
    }
    image.HasAlpha = bits == 32 && anyAlpha;
    image.Monochrome = bits == 1 && colors.size() == 2 && colors[0] == 0 && colors[1] == 0xFFFFFF;
    if (bits == 32 && !anyAlpha && !hasMask)
        return Fail(error, "The cursor image has neither alpha nor a mask.");
    if (!image.HasAlpha)
        for (uint32_t& p : image.Pixels)
            p &= 0xFFFFFF;
    return true;
}

// An icon or cursor directory: the entry closest to the system cursor size.
bool ParseIconDirectory(const uint8_t* data, size_t size, TCursorImage& image, std::string& error)
{
    if (size < 6)
        return Fail(error, "The file is too short for a cursor or icon directory.");
    const uint16_t type = Word(data + 2);
    const uint16_t count = Word(data + 4);
    if (Word(data) != 0 || (type != 1 && type != 2))
        return Fail(error, "The file is not a cursor or icon file.");
    if (count == 0)
        return Fail(error, "The cursor file holds no image.");
    if ((size - 6) / 16 < count)
        return Fail(error, "The cursor file ends inside its directory.");
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + i * 16;
        const int side = entry[0] ? entry[0] : 256;
        const int distance = std::abs(side - kCursorSize);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    const uint8_t* entry = data + 6 + best * 16;
    const uint32_t bytes = Dword(entry + 8);
    const uint32_t offset = Dword(entry + 12);
    if (offset > size || bytes > size - offset)
        return Fail(error, "A cursor image lies outside the file.");
    if (!ParseDibImage(data + offset, bytes, image, error))
        return false;
    image.Icon = type == 1;
    // Cursor entries keep the hot spot where icons keep planes and depth.
    if (type == 2) {
        image.HotSpot = POINT { std::min<LONG>(Word(entry + 4), image.Width - 1),
            std::min<LONG>(Word(entry + 6), image.Height - 1) };
    }
    return true;
}

// A RIFF chunk inside [begin, end): its four-character code, data and size.
struct TChunk {
    const uint8_t* Id = nullptr;
    const uint8_t* Data = nullptr;
    uint32_t Size = 0;
};

// The chunks of a RIFF list, in order; false when one overruns the list.
bool ReadChunks(const uint8_t* begin, const uint8_t* end, std::vector<TChunk>& chunks)
{
    const uint8_t* p = begin;
    while (end - p >= 8) {
        TChunk chunk { p, p + 8, Dword(p + 4) };
        if (chunk.Size > size_t(end - chunk.Data))
            return false;
        chunks.push_back(chunk);
        const size_t padded = size_t(chunk.Size) + (chunk.Size & 1);
        p = chunk.Data + std::min(padded, size_t(end - chunk.Data));
    }
    return true;
}

bool Is(const uint8_t* id, const char* name)
{
    return std::memcmp(id, name, 4) == 0;
}

// The first frame an animated cursor shows: the frame its step sequence starts with, else frame 0.
bool ParseAnimatedCursor(const uint8_t* data, size_t size, TCursorImage& image, std::string& error)
{
    const uint32_t riffSize = Dword(data + 4);
    const uint8_t* end = data + 8 + std::min<size_t>(riffSize, size - 8);
    std::vector<TChunk> chunks;
    if (!ReadChunks(data + 12, end, chunks))
        return Fail(error, "A chunk of the animated cursor runs past the end of the file.");
    const TChunk* header = nullptr;
    const TChunk* frames = nullptr;
    const TChunk* sequence = nullptr;
    for (const TChunk& c : chunks) {
        if (Is(c.Id, "anih"))
            header = &c;
        else if (Is(c.Id, "LIST") && c.Size >= 4 && Is(c.Data, "fram"))
            frames = &c;
        else if (Is(c.Id, "seq "))
            sequence = &c;
    }
    if (!header || header->Size < 36)
        return Fail(error, "The animated cursor has no valid header.");
    if (!(Dword(header->Data + 32) & 1))
        return Fail(error, "The animated cursor stores raw bitmaps instead of cursor frames, which is not read.");
    if (!frames)
        return Fail(error, "The animated cursor has no frames.");
    std::vector<TChunk> icons;
    std::vector<TChunk> inner;
    if (!ReadChunks(frames->Data + 4, frames->Data + frames->Size, inner))
        return Fail(error, "A frame of the animated cursor runs past the end of its list.");
    for (const TChunk& c : inner)
        if (Is(c.Id, "icon"))
            icons.push_back(c);
    if (icons.empty())
        return Fail(error, "The animated cursor has no frames.");
    uint32_t first = 0;
    if (sequence && sequence->Size >= 4)
        first = Dword(sequence->Data);
    if (first >= icons.size())
        return Fail(error, "The animated cursor's step sequence names a frame it does not have.");
    return ParseIconDirectory(icons[first].Data, icons[first].Size, image, error);
}

} // namespace

bool ParseCursorFile(const uint8_t* data, size_t size, TCursorImage& image, std::string& error)
{
    error.clear();
    if (!data && size)
        return Fail(error, "No data.");
    if (size >= 12 && Is(data, "RIFF") && Is(data + 8, "ACON"))
        return ParseAnimatedCursor(data, size, image, error);
    return ParseIconDirectory(data, size, image, error);
}
