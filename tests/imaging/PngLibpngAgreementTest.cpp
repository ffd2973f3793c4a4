// Decoding agrees sample for sample with libpng over a corpus that libpng itself writes, with its own filter choice,
// zlib levels, interlacing and chunk sizes.
#include "tests/imaging/PngTestSupport.h"

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

} // namespace

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
