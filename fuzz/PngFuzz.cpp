// Loads arbitrary bytes as a PNG picture; a picture that loads is read pixel by pixel, drawn, saved, and must load
// back with the same pixels.
#include "framework/core/Streams.h"
#include "imaging/TBitmap32.h"
#include "imaging/TPNGObject.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Inputs whose header asks for more than this many pixels are skipped: their store is a legitimate allocation of
// gigabytes, which says nothing about the parser and exceeds a fuzzer's memory limit.
constexpr uint64_t MaxPixels = uint64_t(1) << 22;

bool TooLarge(const uint8_t* data, size_t size)
{
    if (size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    auto be32 = [](const uint8_t* p) {
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    };
    return uint64_t(be32(data + 16)) * be32(data + 20) > MaxPixels;
}

bool Load(TPNGObject& png, const void* data, size_t size)
{
    TMemoryStream stream;
    stream.Write(data, int32_t(size));
    stream.SetPosition(0);
    try {
        png.LoadFromStream(stream);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// Everything the store holds for a pixel row: the pixel bytes, the low bytes and the alpha values.
std::vector<uint8_t> Snapshot(const TPNGObject& png)
{
    std::vector<uint8_t> bytes;
    TChunkIHDR* header = png.Header();
    for (uint32_t y = 0; y < header->IHDRData.Height; ++y) {
        const uint8_t* row = header->ScanLine(y);
        bytes.insert(bytes.end(), row, row + header->BytesPerRow);
        if (header->ExtraImageData) {
            const uint8_t* low = header->ExtraScanLine(y);
            bytes.insert(bytes.end(), low, low + header->BytesPerRow);
        }
        if (const uint8_t* alpha = header->AlphaScanLine(y))
            bytes.insert(bytes.end(), alpha, alpha + header->IHDRData.Width);
    }
    return bytes;
}

// Wherever the picture is opaque, GetPixels reads the colour Draw shows: one gamma rule for every read path.
void CheckShownColours(TPNGObject& png)
{
    int32_t width = png.GetWidth(), height = png.GetHeight();
    TPNGTransparencyMode mode = png.GetTransparencyMode();
    TChunkIHDR* header = png.Header();
    if (mode == ptmBit || (mode == ptmPartial && !header->ImageAlpha))
        return;
    TBitmap32 shown;
    shown.SetSize(width, height);
    shown.Clear(0xFF000000u);
    png.Draw(shown, TRect { 0, 0, width, height });
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* alpha = header->AlphaScanLine(uint32_t(y));
        for (int32_t x = 0; x < width; ++x) {
            if (alpha && alpha[x] != 255)
                continue;
            uint32_t read;
            try {
                read = uint32_t(png.GetPixels(x, y));
            } catch (const Exception&) {
                continue; // a palette index past the PLTE entries
            }
            uint32_t drawn = shown.Pixel(x, y);
            uint32_t asColor = ((drawn >> 16) & 0xFF) | (drawn & 0xFF00) | ((drawn & 0xFF) << 16);
            if (read != asColor)
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20) || TooLarge(data, size))
        return 0;
    TPNGObject png;
    if (!Load(png, data, size))
        return 0;
    int32_t width = png.GetWidth(), height = png.GetHeight();
    for (int32_t y = -1; y <= height; y += 1 + height / 8) {
        for (int32_t x = -1; x <= width; x += 1 + width / 8) {
            try {
                png.SetPixels(x, y, png.GetPixels(x, y));
            } catch (const Exception&) {
                // A palette index past the PLTE entries is refused with the codec's error.
            }
        }
    }
    if (int64_t(width) * height <= 4096)
        CheckShownColours(png);
    TBitmap32 canvas;
    canvas.SetSize(17, 13);
    try {
        png.Draw(canvas, TRect { -3, -2, 20, 9 });
        png.Draw(canvas, TRect { 10, 10, 2, 1 });
    } catch (const Exception&) {
    }

    // Without a gAMA chunk the store survives a save and reload unchanged.
    std::vector<uint8_t> before = Snapshot(png);
    TMemoryStream saved;
    png.SaveToStream(saved);
    TPNGObject again;
    if (!Load(again, saved.Memory(), size_t(saved.Size())))
        std::abort();
    if (!png.Chunks().Find<TChunkgAMA>() && Snapshot(again) != before)
        std::abort();
    return 0;
}
