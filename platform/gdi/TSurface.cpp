#include "platform/gdi/TSurface.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

uint32_t Expand(uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return (value >> (bits - 8)) & 0xFF;
    const uint32_t max = (1u << bits) - 1;
    return (value * 255 + max / 2) / max;
}

uint32_t Reduce(uint32_t value, int bits)
{
    if (bits <= 0)
        return 0;
    if (bits >= 8)
        return value << (bits - 8);
    const uint32_t max = (1u << bits) - 1;
    return (value * max + 127) / 255;
}

uint32_t Distance(uint32_t a, uint32_t b)
{
    const int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
    const int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
    const int db = int(a & 0xFF) - int(b & 0xFF);
    return uint32_t(dr * dr + dg * dg + db * db);
}

#if defined(__x86_64__) && defined(__GNUC__)
// Four pixels at a time out of sixteen bytes read (twelve used), while the four read past them are still in the
// row: a byte shuffle spreads the triplets and zeroes alpha.
[[gnu::target("ssse3")]] int ReadRow24Shuffled(const uint8_t* p, int count, uint32_t* out)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    int i = 0;
    for (; i + 6 <= count; i += 4, p += 12) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_shuffle_epi8(bytes, spread));
    }
    return i;
}
#endif

// B,G,R triplets to 32-bit pixels with alpha 0. Skin pictures are mostly 24-bit and are read a row at a time on
// every paint, so four pixels are taken from three 32-bit words at once.
void ReadRow24(const uint8_t* p, int count, uint32_t* out)
{
    int i = 0;
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) {
        i = ReadRow24Shuffled(p, count, out);
        p += size_t(i) * 3;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= count; i += 4, p += 12) {
            uint32_t w[3];
            std::memcpy(w, p, sizeof w);
            out[i] = w[0] & 0xFFFFFF;
            out[i + 1] = (w[0] >> 24) | ((w[1] & 0xFFFF) << 8);
            out[i + 2] = (w[1] >> 16) | ((w[2] & 0xFF) << 16);
            out[i + 3] = w[2] >> 8;
        }
    }
    for (; i < count; ++i, p += 3)
        out[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

} // namespace

TSurface TSurface::Bgra(void* pixels, int width, int height, int stride)
{
    TSurface surface;
    if (!pixels || width <= 0 || height <= 0 || stride < width * 4)
        return surface;
    surface.FTop = static_cast<uint8_t*>(pixels);
    surface.FWidth = width;
    surface.FHeight = height;
    surface.FPitch = stride;
    surface.FBitCount = 32;
    surface.FBgra = true;
    return surface;
}

size_t TSurface::RowBytes(int width, int bitCount, int rowAlign)
{
    if (width <= 0 || bitCount <= 0 || rowAlign <= 0)
        return 0;
    const uint64_t bits = uint64_t(width) * uint64_t(bitCount);
    const uint64_t alignBits = uint64_t(rowAlign) * 8;
    const uint64_t bytes = (bits + alignBits - 1) / alignBits * uint64_t(rowAlign);
    return bytes > uint64_t(INT_MAX) ? 0 : size_t(bytes);
}

bool TSurface::Init(void* bits, int width, int height, int bitCount, bool topDown, int rowAlign)
{
    *this = TSurface();
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    const size_t rowBytes = RowBytes(width, bitCount, rowAlign);
    if (!bits || height <= 0 || rowBytes == 0)
        return false;
    FWidth = width;
    FHeight = height;
    FBitCount = bitCount;
    FPitch = topDown ? ptrdiff_t(rowBytes) : -ptrdiff_t(rowBytes);
    FTop = static_cast<uint8_t*>(bits) + (topDown ? 0 : ptrdiff_t(rowBytes) * (height - 1));
    FBgra = bitCount == 32;
    if (bitCount == 16)
        SetMasks(0x7C00, 0x03E0, 0x001F);
    if (bitCount <= 8) {
        // A neutral grey ramp until the owner sets the real table.
        const uint32_t n = 1u << bitCount;
        FColors.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t v = i * 255 / (n - 1);
            FColors[i] = (v << 16) | (v << 8) | v;
        }
    }
    return true;
}

void TSurface::SetColors(std::vector<uint32_t> colors)
{
    if (FBitCount > 8)
        return;
    // Indexes past the table read as black, as a short table leaves them undefined.
    colors.resize(size_t(1) << FBitCount, 0);
    for (uint32_t& c : colors)
        c &= 0xFFFFFF;
    FColors = std::move(colors);
}

void TSurface::SetMasks(uint32_t red, uint32_t green, uint32_t blue)
{
    const uint32_t masks[3] = { red, green, blue };
    for (int i = 0; i < 3; ++i) {
        FMask[i] = masks[i];
        FShift[i] = masks[i] ? std::countr_zero(masks[i]) : 0;
        FBits[i] = masks[i] ? std::popcount(masks[i]) : 0;
    }
    FBgra = FBitCount == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
}

void TSurface::Masks(uint32_t masks[3]) const
{
    for (int i = 0; i < 3; ++i)
        masks[i] = FMask[i];
}

void TSurface::ReadRow(int y, int x, int count, uint32_t* out) const
{
    const uint8_t* row = Row(y);
    switch (FBitCount) {
    case 1:
        for (int i = 0; i < count; ++i) {
            const int px = x + i;
            const uint32_t bit = (row[px >> 3] >> (7 - (px & 7))) & 1;
            out[i] = FMono ? (bit ? 0xFFFFFF : 0) : FColors[bit];
        }
        break;
    case 4:
        for (int i = 0; i < count; ++i) {
            const int px = x + i;
            const uint32_t index = (px & 1) ? (row[px >> 1] & 0x0F) : (row[px >> 1] >> 4);
            out[i] = FColors[index];
        }
        break;
    case 8:
        for (int i = 0; i < count; ++i)
            out[i] = FColors[row[x + i]];
        break;
    case 16:
        for (int i = 0; i < count; ++i) {
            const uint32_t v = uint32_t(row[(x + i) * 2]) | (uint32_t(row[(x + i) * 2 + 1]) << 8);
            out[i] = (Expand((v & FMask[0]) >> FShift[0], FBits[0]) << 16)
                | (Expand((v & FMask[1]) >> FShift[1], FBits[1]) << 8) | Expand((v & FMask[2]) >> FShift[2], FBits[2]);
        }
        break;
    case 24:
        ReadRow24(row + size_t(x) * 3, count, out);
        break;
    case 32:
        if (FBgra) {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(row) + x;
            std::copy(p, p + count, out);
        } else {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(row) + x;
            for (int i = 0; i < count; ++i) {
                const uint32_t v = p[i];
                out[i] = (Expand((v & FMask[0]) >> FShift[0], FBits[0]) << 16)
                    | (Expand((v & FMask[1]) >> FShift[1], FBits[1]) << 8)
                    | Expand((v & FMask[2]) >> FShift[2], FBits[2]);
            }
        }
        break;
    }
}

void TSurface::WriteRow(int y, int x, int count, const uint32_t* in)
{
    uint8_t* row = Row(y);
    // Runs of one colour are common (fills, text), so the last table look-up is kept.
    uint32_t lastColor = 0xFFFFFFFF;
    uint32_t lastIndex = 0;
    auto index = [&](uint32_t pixel) {
        pixel &= 0xFFFFFF;
        if (pixel != lastColor) {
            lastColor = pixel;
            lastIndex = NearestIndex(pixel);
        }
        return lastIndex;
    };
    switch (FBitCount) {
    case 1:
        for (int i = 0; i < count; ++i) {
            const int px = x + i;
            const uint32_t bit = index(in[i]);
            uint8_t& b = row[px >> 3];
            const uint8_t m = uint8_t(0x80 >> (px & 7));
            b = bit ? uint8_t(b | m) : uint8_t(b & ~m);
        }
        break;
    case 4:
        for (int i = 0; i < count; ++i) {
            const int px = x + i;
            const uint32_t v = index(in[i]);
            uint8_t& b = row[px >> 1];
            b = (px & 1) ? uint8_t((b & 0xF0) | v) : uint8_t((b & 0x0F) | (v << 4));
        }
        break;
    case 8:
        for (int i = 0; i < count; ++i)
            row[x + i] = uint8_t(index(in[i]));
        break;
    case 16:
        for (int i = 0; i < count; ++i) {
            const uint32_t p = in[i];
            const uint32_t v = ((Reduce((p >> 16) & 0xFF, FBits[0]) << FShift[0]) & FMask[0])
                | ((Reduce((p >> 8) & 0xFF, FBits[1]) << FShift[1]) & FMask[1])
                | ((Reduce(p & 0xFF, FBits[2]) << FShift[2]) & FMask[2]);
            row[(x + i) * 2] = uint8_t(v);
            row[(x + i) * 2 + 1] = uint8_t(v >> 8);
        }
        break;
    case 24:
        for (int i = 0; i < count; ++i) {
            uint8_t* p = row + (x + i) * 3;
            p[0] = uint8_t(in[i]);
            p[1] = uint8_t(in[i] >> 8);
            p[2] = uint8_t(in[i] >> 16);
        }
        break;
    case 32: {
        uint32_t* p = reinterpret_cast<uint32_t*>(row) + x;
        if (FBgra) {
            std::copy(in, in + count, p);
        } else {
            for (int i = 0; i < count; ++i) {
                const uint32_t v = in[i];
                p[i] = ((Reduce((v >> 16) & 0xFF, FBits[0]) << FShift[0]) & FMask[0])
                    | ((Reduce((v >> 8) & 0xFF, FBits[1]) << FShift[1]) & FMask[1])
                    | ((Reduce(v & 0xFF, FBits[2]) << FShift[2]) & FMask[2]);
            }
        }
        break;
    }
    }
}

uint32_t TSurface::Pixel(int x, int y) const
{
    uint32_t value = 0;
    ReadRow(y, x, 1, &value);
    return value;
}

void TSurface::SetPixel(int x, int y, uint32_t value)
{
    WriteRow(y, x, 1, &value);
}

uint32_t TSurface::NearestIndex(uint32_t pixel) const
{
    if (FMono)
        return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) >= 383 ? 1 : 0;
    uint32_t best = 0;
    uint32_t bestDistance = 0xFFFFFFFF;
    for (uint32_t i = 0; i < FColors.size(); ++i) {
        const uint32_t d = Distance(FColors[i], pixel);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

uint32_t TSurface::Representable(uint32_t pixel) const
{
    if (FBgra)
        return pixel;
    if (FBitCount == 24)
        return pixel & 0xFFFFFF;
    if (FMono)
        return NearestIndex(pixel) ? 0xFFFFFF : 0;
    if (FBitCount <= 8)
        return FColors[NearestIndex(pixel)];
    uint32_t out = 0;
    // Round-trips through the channel widths.
    const uint32_t channels[3] = { (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF };
    for (int i = 0; i < 3; ++i)
        out = (out << 8) | Expand(Reduce(channels[i], FBits[i]), FBits[i]);
    return out;
}
