// Decoding agrees sample for sample with libpng over a corpus that libpng itself writes, with its own filter choice,
// zlib levels, interlacing and chunk sizes.
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/TBitmap32.h"
#include "tests/imaging/PngTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <png.h>

using namespace PngTest;

namespace {

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

// The image in libpng's own words: the raw rows, 16-bit samples big-endian, sub-byte samples packed.
bool WriteWithLibpng(const TImage& image, int level, int filters, size_t bufferSize,
    const std::vector<png_color>& palette, const std::vector<png_byte>& trns, TMemoryIO& io)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::string> rows(image.Height);
    for (uint32_t y = 0; y < image.Height; ++y)
        rows[y] = PackRow(image, y, 0, 1);
    std::vector<png_bytep> pointers(image.Height);
    for (uint32_t y = 0; y < image.Height; ++y)
        pointers[y] = reinterpret_cast<png_bytep>(rows[y].data());
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &io, WriteData, FlushData);
    png_set_compression_level(png, level);
    png_set_filter(png, 0, filters);
    png_set_compression_buffer_size(png, bufferSize);
    png_set_IHDR(png, info, image.Width, image.Height, image.BitDepth, image.ColorType,
        image.Interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (image.ColorType == 3)
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!trns.empty())
        png_set_tRNS(png, info, trns.data(), int(trns.size()), nullptr);
    png_text text {};
    text.compression = PNG_TEXT_COMPRESSION_zTXt;
    text.key = const_cast<char*>("Comment");
    text.text = const_cast<char*>("made by libpng for the agreement test");
    png_set_text(png, info, &text, 1);
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// libpng's decoding: one sample per byte below 8 bits, 16-bit samples as they are.
bool ReadWithLibpng(TMemoryIO& io, TImage& image)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::vector<png_byte>> rows;
    std::vector<png_bytep> pointers;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &io, ReadData);
    png_read_info(png, info);
    image.Width = png_get_image_width(png, info);
    image.Height = png_get_image_height(png, info);
    image.BitDepth = png_get_bit_depth(png, info);
    image.ColorType = png_get_color_type(png, info);
    image.Interlace = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (image.BitDepth < 8)
        png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rows.resize(image.Height, std::vector<png_byte>(png_get_rowbytes(png, info)));
    pointers.resize(image.Height);
    for (uint32_t y = 0; y < image.Height; ++y)
        pointers[y] = rows[y].data();
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    int channels = Channels(image.ColorType);
    image.Samples.clear();
    for (uint32_t y = 0; y < image.Height; ++y) {
        for (uint32_t i = 0; i < image.Width * uint32_t(channels); ++i) {
            image.Samples.push_back(
                image.BitDepth == 16 ? uint16_t((rows[y][2 * i] << 8) | rows[y][2 * i + 1]) : rows[y][i]);
        }
    }
    return true;
}

// What a viewer built on libpng shows: 8-bit red, green, blue and alpha per pixel, the transparent colour turned
// into alpha 0, the file's gamma corrected for a screen of gamma 2.2.
bool ReadShownWithLibpng(const std::string& file, uint32_t& width, uint32_t& height, std::vector<uint8_t>& rgba)
{
    TMemoryIO io { file, 0 };
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> pointers;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &io, ReadData);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma))
        png_set_gamma(png, 2.2, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rgba.assign(size_t(width) * height * 4, 0);
    pointers.resize(height);
    for (uint32_t y = 0; y < height; ++y)
        pointers[y] = &rgba[size_t(y) * width * 4];
    png_read_image(png, pointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// libpng's colour over the background (0x00RRGGBB) by the picture's blend rule.
uint32_t OverBackground(const uint8_t* rgba, uint32_t background)
{
    uint32_t a = rgba[3], out = 0;
    for (int c = 0; c < 3; ++c) {
        uint32_t d = (background >> (16 - 8 * c)) & 0xFF, v = rgba[c];
        uint32_t shown = a == 0 ? d : a == 255 ? v : (v * a + 255 + d * (255 - a)) >> 8;
        out |= shown << (16 - 8 * c);
    }
    return out;
}

// A colour as a canvas and GetPixels report it, 0x00BBGGRR.
TColor ColorOf(uint32_t r, uint32_t g, uint32_t b)
{
    return TColor(r | (g << 8) | (b << 16));
}

std::string Be16(uint16_t v)
{
    return std::string { char(v >> 8), char(v) };
}

std::string GammaChunk(uint32_t value)
{
    std::string data;
    PutBE32(data, value);
    return Chunk("gAMA", data);
}

// An image whose samples are drawn from `choices` (one vector of channel samples each).
TImage ImageOf(uint32_t width, uint32_t height, uint8_t colorType, uint8_t depth,
    const std::vector<std::vector<uint16_t>>& choices, uint32_t seed)
{
    TImage image { width, height, depth, colorType, 0, {} };
    std::mt19937 rng(seed);
    for (uint32_t i = 0; i < width * height; ++i) {
        const auto& pixel = choices[rng() % choices.size()];
        image.Samples.insert(image.Samples.end(), pixel.begin(), pixel.end());
    }
    return image;
}

// A palette picture with its own PLTE (red, green, blue per entry), tRNS and further chunks before the data.
std::string PaletteFile(
    const TImage& image, const std::vector<uint8_t>& palette, const std::string& trns, const std::string& before = "")
{
    return Signature + IHDR(image.Width, image.Height, image.BitDepth, 3) + before
        + Chunk("PLTE", std::string(palette.begin(), palette.end())) + Chunk("tRNS", trns)
        + Chunk("IDAT", Compress(FilteredData(image))) + Chunk("IEND", "");
}

// RGB pixels of the key, of levels next to it and of other colours, keyed at 250, 250, 250 under a gamma of 1.0.
std::string KeyedUnderGamma()
{
    TImage image = ImageOf(12, 10, 2, 8,
        { { 250, 250, 250 }, { 251, 250, 250 }, { 250, 250, 251 }, { 251, 251, 251 }, { 40, 90, 160 } }, 12);
    return MakePng(image, GammaChunk(100000) + Chunk("tRNS", Be16(250) + Be16(250) + Be16(250)));
}

} // namespace

TEST(PngLibpngAgreement, TransparencyAndGammaShowAsLibpngShowsThem)
{
    // Each file is loaded (and, where the row says so, saved and loaded again), then drawn over a background into
    // a TBitmap32 and on a canvas, and read with GetPixels; every pixel must show what libpng shows for the
    // original file. A saved file must also read in libpng as the original does.
    const uint32_t kBackground = 0x3C6E91;
    std::mt19937 rng(7);
    std::vector<std::vector<uint16_t>> random8;
    for (int i = 0; i < 40; ++i)
        random8.push_back({ uint16_t(rng() % 256), uint16_t(rng() % 256), uint16_t(rng() % 256) });
    struct Row {
        const char* Name;
        std::function<std::string()> File;
        bool SaveFirst;
    };
    const Row kRows[] = {
        { "2-bit grey with a transparent grey, saved once",
            [] {
                TImage image = ImageOf(16, 12, 0, 2, { { 0 }, { 1 }, { 2 }, { 3 } }, 1);
                return MakePng(image, Chunk("tRNS", Be16(2)));
            },
            true },
        { "16-bit RGB keyed, some pixels off the key in a low byte only",
            [] {
                const uint16_t k[3] = { 0x1234, 0xABCD, 0x00FF };
                TImage image = ImageOf(13, 11, 2, 16,
                    { { k[0], k[1], k[2] }, { k[0], uint16_t(k[1] ^ 1), k[2] }, { k[0], k[1], uint16_t(k[2] + 1) },
                        { uint16_t(k[0] + 0x100), k[1], k[2] }, { 0x8000, 0x4000, 0x2000 } },
                    2);
                return MakePng(image, Chunk("tRNS", Be16(k[0]) + Be16(k[1]) + Be16(k[2])));
            },
            false },
        { "16-bit grey keyed, some pixels off the key in the low byte only",
            [] {
                TImage image = ImageOf(9, 14, 0, 16, { { 0x7F10 }, { 0x7F11 }, { 0x7E10 }, { 0xFFFF } }, 3);
                return MakePng(image, Chunk("tRNS", Be16(0x7F10)));
            },
            false },
        { "8-bit grey keyed, with a gamma that shows neighbouring levels alike",
            [] {
                TImage image = ImageOf(11, 6, 0, 8, { { 250 }, { 251 }, { 100 } }, 4);
                return MakePng(image, GammaChunk(100000) + Chunk("tRNS", Be16(250)));
            },
            false },
        // A palette picture is keyed by index: an opaque entry of the transparent entry's colour stays visible.
        { "palette with duplicate colours, one of them keyed",
            [] {
                TImage image = ImageOf(14, 9, 3, 8, { { 0 }, { 1 }, { 2 }, { 3 } }, 9);
                return PaletteFile(image, { 10, 20, 30, 10, 20, 30, 200, 100, 50, 0, 0, 0 }, std::string(1, '\0'));
            },
            false },
        { "palette with two entries a gamma shows alike, one of them keyed",
            [] {
                TImage image = ImageOf(10, 10, 3, 8, { { 0 }, { 1 }, { 2 } }, 10);
                return PaletteFile(image, { 250, 250, 250, 251, 251, 251, 30, 60, 90 }, std::string(1, '\0'),
                    GammaChunk(100000));
            },
            false },
        // One entry of partial alpha is drawn with that alpha, not taken for a key (of black, which no entry is).
        { "palette with one entry of partial alpha",
            [] {
                TImage image = ImageOf(12, 8, 3, 8, { { 0 }, { 1 }, { 2 } }, 11);
                return PaletteFile(image, { 200, 40, 40, 40, 200, 40, 0, 0, 0 }, std::string("\xFF\x80", 2));
            },
            false },
        // An RGB key is compared with the samples the file stores, before a gamma that shows 250 and 251 alike;
        // saving keeps the key on exactly the pixels that had it.
        { "8-bit RGB keyed, with a gamma that shows neighbouring levels alike",
            [] { return KeyedUnderGamma(); },
            false },
        { "8-bit RGB keyed, with a gamma that shows neighbouring levels alike, saved once",
            [] { return KeyedUnderGamma(); },
            true },
        { "palette with a gamma",
            [&] {
                TImage image = RandomImage(12, 9, 3, 8, 0, 5, 256);
                return MakePng(image, GammaChunk(100000));
            },
            false },
        { "grey with alpha and a gamma",
            [&] {
                TImage image = RandomImage(15, 7, 4, 8, 0, 6);
                for (size_t i = 0; i < 8; ++i)
                    image.Samples[2 * i + 1] = uint16_t(i < 4 ? 255 : 0);
                return MakePng(image, GammaChunk(100000));
            },
            false },
        { "grey with alpha and a gamma, saved once",
            [&] {
                TImage image = RandomImage(8, 8, 4, 8, 1, 8);
                return MakePng(image, GammaChunk(100000));
            },
            true },
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.Name);
        const std::string original = row.File();
        uint32_t width = 0, height = 0;
        std::vector<uint8_t> shown;
        ASSERT_TRUE(ReadShownWithLibpng(original, width, height, shown));

        TPNGObject png;
        Load(png, original);
        if (row.SaveFirst) {
            std::string saved = Save(png);
            uint32_t savedWidth = 0, savedHeight = 0;
            std::vector<uint8_t> savedShown;
            ASSERT_TRUE(ReadShownWithLibpng(saved, savedWidth, savedHeight, savedShown));
            EXPECT_EQ(savedShown, shown) << "libpng reads the saved file differently";
            png.Assign(nullptr);
            Load(png, saved);
        }
        ASSERT_EQ(png.GetWidth(), int32_t(width));

        TBitmap32 pixels;
        pixels.SetSize(int(width), int(height));
        pixels.Clear(0xFF000000u | kBackground);
        png.Draw(pixels, TRect { 0, 0, int(width), int(height) });
        TBitmap canvas;
        canvas.SetPixelFormat(pf32bit);
        canvas.SetSize(int(width), int(height));
        canvas.Canvas()->Brush()->SetColor(ColorOf(0x3C, 0x6E, 0x91));
        canvas.Canvas()->FillRect(TRect { 0, 0, int(width), int(height) });
        canvas.Canvas()->Draw(0, 0, &png);

        // The first pixel that differs in each of the three read paths is reported, and the next row runs.
        int transparent = 0;
        bool drawn = true, onCanvas = true, read = true;
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* p = &shown[(size_t(y) * width + x) * 4];
                transparent += p[3] == 0;
                uint32_t expected = OverBackground(p, kBackground);
                TColor expectedColor = ColorOf(expected >> 16, (expected >> 8) & 0xFF, expected & 0xFF);
                if (drawn && (pixels.Pixel(int(x), int(y)) & 0xFFFFFF) != expected) {
                    drawn = false;
                    ADD_FAILURE() << "Draw at " << x << "," << y << ": " << std::hex
                                  << (pixels.Pixel(int(x), int(y)) & 0xFFFFFF) << " for " << expected;
                }
                if (onCanvas && canvas.Canvas()->Pixels(int(x), int(y)) != expectedColor) {
                    onCanvas = false;
                    ADD_FAILURE() << "canvas at " << x << "," << y;
                }
                if (read && png.GetPixels(int32_t(x), int32_t(y)) != ColorOf(p[0], p[1], p[2])) {
                    read = false;
                    ADD_FAILURE() << "GetPixels at " << x << "," << y << ": " << std::hex
                                  << png.GetPixels(int32_t(x), int32_t(y)) << " for " << int(p[0]) << ","
                                  << int(p[1]) << "," << int(p[2]);
                }
            }
        }
        // Every file keys or hides some pixels and shows others, or the comparison would prove little.
        if (png.GetTransparencyMode() == ptmBit) {
            EXPECT_GT(transparent, 0);
            EXPECT_LT(transparent, int(width * height));
        }
    }
}

TEST(PngLibpngAgreement, DecodingMatchesLibpngOverAGeneratedCorpus)
{
    struct Format {
        uint8_t ColorType;
        uint8_t BitDepth;
    };
    const Format kFormats[] = { { 0, 1 }, { 0, 2 }, { 0, 4 }, { 0, 8 }, { 0, 16 }, { 2, 8 }, { 2, 16 }, { 3, 1 },
        { 3, 2 }, { 3, 4 }, { 3, 8 }, { 4, 8 }, { 4, 16 }, { 6, 8 }, { 6, 16 } };
    const int kFilters[]
        = { PNG_ALL_FILTERS, PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH };
    std::mt19937 rng(2024);
    int files = 0;
    for (const Format& f : kFormats) {
        for (int variant = 0; variant < 24; ++variant) {
            uint32_t width = 1 + rng() % 37, height = 1 + rng() % 29;
            uint8_t interlace = variant % 2;
            uint32_t paletteCount = f.ColorType == 3 ? 1 + rng() % (1u << f.BitDepth) : 0;
            TImage image = RandomImage(width, height, f.ColorType, f.BitDepth, interlace, rng(), paletteCount);
            std::vector<png_color> palette(paletteCount);
            for (auto& entry : palette)
                entry = { png_byte(rng()), png_byte(rng()), png_byte(rng()) };
            std::vector<png_byte> trns;
            if (f.ColorType == 3 && variant % 3 == 0)
                trns.resize(1 + rng() % paletteCount, png_byte(rng()));
            // Small zlib buffers make libpng split the data over many IDAT chunks.
            size_t bufferSize = variant % 4 == 0 ? 64 : 8192;
            TMemoryIO io;
            ASSERT_TRUE(WriteWithLibpng(image, int(rng() % 10), kFilters[variant % 6], bufferSize, palette, trns, io));

            TImage reference;
            ASSERT_TRUE(ReadWithLibpng(io, reference));
            TPNGObject ours;
            Load(ours, io.Data);
            SCOPED_TRACE(testing::Message() << "type " << int(f.ColorType) << " depth " << int(f.BitDepth)
                                            << " interlace " << int(interlace) << " " << width << "x" << height);
            ASSERT_EQ(ours.GetWidth(), int32_t(reference.Width));
            ASSERT_EQ(ours.GetHeight(), int32_t(reference.Height));
            for (uint32_t y = 0; y < height; ++y) {
                for (uint32_t x = 0; x < width; ++x)
                    ASSERT_EQ(StoreSamples(ours, x, y), ImageSamples(reference, x, y)) << x << "," << y;
            }
            if (f.ColorType == 3) {
                auto* plte = ours.Chunks().Find<TChunkPLTE>();
                ASSERT_EQ(plte->Count(), int32_t(paletteCount));
                for (uint32_t i = 0; i < paletteCount; ++i) {
                    TPngRGBQuad entry = plte->GetPaletteItem(uint8_t(i));
                    ASSERT_EQ(entry.rgbRed, palette[i].red);
                    ASSERT_EQ(entry.rgbGreen, palette[i].green);
                    ASSERT_EQ(entry.rgbBlue, palette[i].blue);
                }
            }
            EXPECT_EQ(static_cast<TChunkzTXt*>(ours.Chunks().Find<TChunkzTXt>())->Text,
                "made by libpng for the agreement test");
            ++files;
        }
    }
    EXPECT_EQ(files, 360);
}

TEST(PngLibpngAgreement, LibpngReadsWhatWeSave)
{
    std::mt19937 rng(99);
    const std::pair<uint8_t, uint8_t> kFormats[] = { { 0, 1 }, { 0, 4 }, { 0, 8 }, { 0, 16 }, { 2, 8 }, { 2, 16 },
        { 3, 4 }, { 3, 8 }, { 4, 8 }, { 4, 16 }, { 6, 8 }, { 6, 16 } };
    for (auto [colorType, depth] : kFormats) {
        for (uint8_t interlace : { 0, 1 }) {
            SCOPED_TRACE(testing::Message()
                << "type " << int(colorType) << " depth " << int(depth) << " interlace " << int(interlace));
            TImage image = RandomImage(1 + rng() % 30, 1 + rng() % 30, colorType, depth, interlace, rng(), 1u << depth);
            TPNGObject ours;
            Load(ours, MakePng(image));
            ours.SetFilters({ pfNone, pfSub, pfUp, pfAverage, pfPaeth });
            TMemoryIO io;
            io.Data = Save(ours);
            TImage reference;
            ASSERT_TRUE(ReadWithLibpng(io, reference));
            ASSERT_EQ(reference.Width, image.Width);
            for (uint32_t y = 0; y < image.Height; ++y) {
                for (uint32_t x = 0; x < image.Width; ++x)
                    ASSERT_EQ(ImageSamples(reference, x, y), ImageSamples(image, x, y)) << x << "," << y;
            }
        }
    }
}
