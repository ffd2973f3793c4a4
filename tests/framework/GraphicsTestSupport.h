// Helpers of the graphics tests: a temporary folder, a BMP file builder for well-formed and hostile files, a
// JPEG maker over libjpeg's compressor, and pixel access through a bitmap's canvas.
#pragma once
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Text.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Windows.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class TTempFolder {
public:
    TTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "GraphicsTest.XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        EXPECT_NE(made, nullptr) << "mkdtemp failed: " << errno;
        FPath = pattern;
    }
    ~TTempFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(FPath, error);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    std::string Path(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void PutLE(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// What a BMP file says about itself. Rows are given in file order (bottom row first unless Height < 0),
// already padded; Palette entries are 0x00RRGGBB.
struct TBmpSpec {
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t BitCount = 24;
    uint32_t Compression = 0;
    uint32_t HeaderSize = 40;
    std::vector<uint32_t> Palette;
    // BI_BITFIELDS masks (after a 40-byte header, or inside a larger one); empty for none.
    std::vector<uint32_t> Masks;
    std::vector<uint8_t> Pixels;
    // 0: computed.
    uint32_t ColorsUsed = 0;
    int64_t OffBits = -1;
};

inline std::vector<uint8_t> BmpFile(const TBmpSpec& spec)
{
    std::vector<uint8_t> info;
    if (spec.HeaderSize == 12) {
        PutLE(info, 12, 4);
        PutLE(info, static_cast<uint32_t>(spec.Width), 2);
        PutLE(info, static_cast<uint32_t>(spec.Height), 2);
        PutLE(info, 1, 2);
        PutLE(info, spec.BitCount, 2);
        for (uint32_t c : spec.Palette)
            PutLE(info, c, 3);
    } else {
        PutLE(info, spec.HeaderSize, 4);
        PutLE(info, static_cast<uint32_t>(spec.Width), 4);
        PutLE(info, static_cast<uint32_t>(spec.Height), 4);
        PutLE(info, 1, 2);
        PutLE(info, spec.BitCount, 2);
        PutLE(info, spec.Compression, 4);
        PutLE(info, static_cast<uint32_t>(spec.Pixels.size()), 4);
        PutLE(info, 2835, 4);
        PutLE(info, 2835, 4);
        PutLE(info, spec.ColorsUsed ? spec.ColorsUsed : static_cast<uint32_t>(spec.Palette.size()), 4);
        PutLE(info, 0, 4);
        size_t extra = spec.HeaderSize - 40;
        if (extra >= 12 && !spec.Masks.empty()) {
            for (size_t i = 0; i < spec.Masks.size() && i < 4; ++i)
                PutLE(info, spec.Masks[i], 4);
            extra -= 4 * std::min<size_t>(spec.Masks.size(), 4);
        }
        info.resize(info.size() + extra, 0);
        if (spec.HeaderSize == 40) {
            for (uint32_t m : spec.Masks)
                PutLE(info, m, 4);
        }
        for (uint32_t c : spec.Palette)
            PutLE(info, c, 4);
    }
    std::vector<uint8_t> file { 'B', 'M' };
    uint32_t offBits
        = spec.OffBits >= 0 ? static_cast<uint32_t>(spec.OffBits) : static_cast<uint32_t>(14 + info.size());
    PutLE(file, static_cast<uint32_t>(14 + info.size() + spec.Pixels.size()), 4);
    PutLE(file, 0, 4);
    PutLE(file, offBits, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), spec.Pixels.begin(), spec.Pixels.end());
    return file;
}

// The colour of a pixel as 0x00BBGGRR, through the canvas as drawing code sees it.
inline uint32_t PixelOf(TBitmap& bitmap, int x, int y)
{
    return static_cast<uint32_t>(bitmap.Canvas()->Pixels(x, y));
}

// A JPEG file of `width` x `height` made by libjpeg's compressor. `components` is 1 (grey), 3 (RGB) or 4
// (CMYK, Adobe-inverted as Photoshop writes it); `pixel(x, y)` gives the sample values, one byte per
// component, as 0x00RRGGBB (grey: the low byte; CMYK: 0xCCMMYYKK).
std::vector<uint8_t> MakeJpeg(
    int width, int height, int components, bool progressive, int quality, uint32_t (*pixel)(int x, int y));
// libjpeg's own decoding of a file with its memory source: the samples of colorSpace (a J_COLOR_SPACE; JCS_UNKNOWN
// for the file's default), the size and whether an Adobe marker was seen. Returns libjpeg's error message, empty
// when the file decoded. With `warning`, the text of the first corrupt-data warning libjpeg recovered from (empty
// when none) goes there.
std::string LibjpegDecode(const std::vector<uint8_t>& bytes, int colorSpace, std::vector<uint8_t>& samples,
    int& width, int& height, bool& adobe, std::string* warning = nullptr);
