// PNG decoding and encoding speed of TPNGObject against libpng on the same files, with the same zlib settings, in
// the same run. Before timing, each case checks once that both sides produce the same pixels.
#include "bench/BenchTiming.h"
#include "framework/core/Streams.h"
#include "imaging/PngImageData.h"
#include "imaging/TPNGObject.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <png.h>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

constexpr uint32_t kSize = 1024;
constexpr int kLevel = 7;

struct TMemoryIO {
    std::string Data;
    size_t Position = 0;
};

void WriteData(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<TMemoryIO*>(png_get_io_ptr(png))->Data.append(reinterpret_cast<const char*>(data), length);
}

void FlushData(png_structp)
{
}

void ReadData(png_structp png, png_bytep data, png_size_t length)
{
    auto* io = static_cast<TMemoryIO*>(png_get_io_ptr(png));
    if (io->Position + length > io->Data.size())
        png_error(png, "read past the end");
    std::memcpy(data, io->Data.data() + io->Position, length);
    io->Position += length;
}

// A picture with smooth areas, edges and noise, so that every filter wins some rows.
std::vector<uint8_t> MakePixels(int channels)
{
    std::vector<uint8_t> pixels(size_t(kSize) * kSize * channels);
    std::mt19937 random(42);
    for (uint32_t y = 0; y < kSize; ++y) {
        for (uint32_t x = 0; x < kSize; ++x) {
            uint8_t* p = &pixels[(size_t(y) * kSize + x) * channels];
            double wave = std::sin(x * 0.02) * std::cos(y * 0.015);
            for (int c = 0; c < channels; ++c) {
                int value = int(128 + 100 * wave + c * 20 + (x / 64 + y / 64) % 3 * 10) + int(random() % 8);
                p[c] = uint8_t(std::clamp(value, 0, 255));
            }
            if (channels == 4)
                p[3] = uint8_t((x * 255) / kSize);
        }
    }
    return pixels;
}

std::string WriteLibpng(const std::vector<uint8_t>& pixels, int colorType, bool adam7)
{
    int channels = colorType == PNG_COLOR_TYPE_RGBA ? 4 : 1;
    TMemoryIO io;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(kSize);
    for (uint32_t y = 0; y < kSize; ++y)
        rows[y] = const_cast<png_bytep>(&pixels[size_t(y) * kSize * channels]);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &io, WriteData, FlushData);
    // Our encoder runs deflate with zlib's defaults at its level; libpng would choose Z_FILTERED for filtered
    // rows, a different search that makes other files at another speed.
    png_set_compression_level(png, kLevel);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_compression_mem_level(png, 8);
    // IDAT chunks as big as ours, so both write and checksum the same number of chunks.
    png_set_compression_buffer_size(png, 65535);
    png_set_filter(png, 0, PNG_FILTER_SUB);
    png_set_IHDR(png, info, kSize, kSize, 8, colorType, adam7 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
        PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = { png_byte(i), png_byte(255 - i), png_byte(i * 3) };
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette.data(), 256);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return io.Data;
}

// libpng decoding the file into rows of its own samples, the work our loader does into its store.
void ReadLibpng(const std::string& file, std::vector<uint8_t>& pixels)
{
    TMemoryIO io { file, 0 };
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &io, ReadData);
    png_read_info(png, info);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    pixels.resize(rowBytes * kSize);
    std::vector<png_bytep> rows(kSize);
    for (uint32_t y = 0; y < kSize; ++y)
        rows[y] = &pixels[rowBytes * y];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

void LoadOurs(TPNGObject& picture, const std::string& file)
{
    TMemoryStream stream;
    stream.Write(file.data(), int32_t(file.size()));
    stream.SetPosition(0);
    picture.LoadFromStream(stream);
}

std::string SaveOurs(TPNGObject& picture)
{
    TMemoryStream out;
    picture.SaveToStream(out);
    return std::string(static_cast<const char*>(out.Memory()), size_t(out.Size()));
}

// The samples our store holds, in libpng's order: R, G, B, A for RGBA, the index for palette pictures.
std::vector<uint8_t> StoreSamples(const TPNGObject& picture, int channels)
{
    std::vector<uint8_t> samples;
    samples.reserve(size_t(kSize) * kSize * channels);
    TChunkIHDR* header = picture.Header();
    for (uint32_t y = 0; y < kSize; ++y) {
        const uint8_t* row = header->ScanLine(y);
        const uint8_t* alpha = header->AlphaScanLine(y);
        for (uint32_t x = 0; x < kSize; ++x) {
            if (channels == 1) {
                samples.push_back(row[x]);
                continue;
            }
            samples.insert(samples.end(), { row[3 * x + 2], row[3 * x + 1], row[3 * x], alpha[x] });
        }
    }
    return samples;
}

bool gFailed = false;

// One line saying whether both sides made the same samples, and where the first difference lies.
void Check(const std::string& name, const std::vector<uint8_t>& ours, const std::vector<uint8_t>& peer,
    int channels, const std::string& note = "")
{
    if (ours == peer) {
        std::printf("check %s: same pixels%s\n", name.c_str(), note.c_str());
        return;
    }
    size_t i = 0;
    while (i < ours.size() && i < peer.size() && ours[i] == peer[i])
        ++i;
    size_t pixel = i / size_t(channels);
    std::printf("check %s: DIFFERENT pixels from x=%zu y=%zu on\n", name.c_str(), pixel % kSize, pixel / kSize);
    gFailed = true;
}

} // namespace

int main()
{
    struct Case {
        const char* Name;
        int ColorType;
        bool Adam7;
    };
    const Case kCases[] = {
        { "png_rgba_1024", PNG_COLOR_TYPE_RGBA, false },
        { "png_rgba_1024_adam7", PNG_COLOR_TYPE_RGBA, true },
        { "png_palette_1024", PNG_COLOR_TYPE_PALETTE, false },
        { "png_palette_1024_adam7", PNG_COLOR_TYPE_PALETTE, true },
    };
    for (const Case& c : kCases) {
        const int channels = c.ColorType == PNG_COLOR_TYPE_RGBA ? 4 : 1;
        std::vector<uint8_t> pixels = MakePixels(channels);
        std::string file = WriteLibpng(pixels, c.ColorType, c.Adam7);
        const std::string decodeName = std::string("decode_") + c.Name;
        const std::string encodeName = std::string("encode_") + c.Name;

        // Both decoders read libpng's file into their own rows: the same samples.
        std::vector<uint8_t> decoded;
        ReadLibpng(file, decoded);
        TPNGObject picture;
        LoadOurs(picture, file);
        Check(decodeName, StoreSamples(picture, channels), decoded, channels);
        double peerDecode = BestOf([&] { ReadLibpng(file, decoded); });
        double oursDecode = BestOf([&] { LoadOurs(picture, file); });
        Report(decodeName.c_str(), oursDecode, peerDecode);

        // Both encoders write Sub rows with the same zlib settings from the same pixels; each file must read
        // back (through libpng) as those pixels, and the sizes show how alike the two deflate streams are.
        picture.SetCompressionLevel(kLevel);
        picture.SetFilters({ pfSub });
        std::string oursFile = SaveOurs(picture);
        std::vector<uint8_t> oursBack, peerBack;
        ReadLibpng(oursFile, oursBack);
        ReadLibpng(file, peerBack);
        char sizes[96];
        std::snprintf(sizes, sizeof sizes, " (files ours=%zu peer=%zu bytes, %+.2f%%)", oursFile.size(), file.size(),
            100.0 * (double(oursFile.size()) - double(file.size())) / double(file.size()));
        Check(encodeName, oursBack, pixels, channels, sizes);
        Check(encodeName + "_peer", peerBack, pixels, channels);
        double peerEncode = BestOf([&] { WriteLibpng(pixels, c.ColorType, c.Adam7); });
        double oursEncode = BestOf([&] { SaveOurs(picture); });
        Report(encodeName.c_str(), oursEncode, peerEncode);
    }
    return gFailed ? 1 : 0;
}
