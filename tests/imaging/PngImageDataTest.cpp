#include "imaging/PngMessages.h"
#include "tests/imaging/PngTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace PngTest;

namespace {

struct Format {
    uint8_t ColorType;
    uint8_t BitDepth;
};

const Format kFormats[] = {
    { 0, 1 },
    { 0, 2 },
    { 0, 4 },
    { 0, 8 },
    { 0, 16 },
    { 2, 8 },
    { 2, 16 },
    { 3, 1 },
    { 3, 2 },
    { 3, 4 },
    { 3, 8 },
    { 4, 8 },
    { 4, 16 },
    { 6, 8 },
    { 6, 16 },
};

void ExpectSameSamples(const TPNGObject& png, const TImage& image)
{
    ASSERT_EQ(png.GetWidth(), int32_t(image.Width));
    ASSERT_EQ(png.GetHeight(), int32_t(image.Height));
    for (uint32_t y = 0; y < image.Height; ++y) {
        for (uint32_t x = 0; x < image.Width; ++x)
            ASSERT_EQ(StoreSamples(png, x, y), ImageSamples(image, x, y)) << "pixel " << x << "," << y;
    }
}

std::string Filters(const std::string& file)
{
    // The filter-type bytes of a non-interlaced file: the first byte of every row of the inflated data.
    std::string data;
    for (auto& [name, bytes] : ParseChunks(file)) {
        if (name == "IDAT")
            data += bytes;
    }
    return Inflate(data);
}

} // namespace

TEST(PngImageData, DecodesEveryColourTypeDepthAndInterlace)
{
    const std::pair<uint32_t, uint32_t> sizes[] = { { 13, 7 }, { 1, 1 }, { 9, 17 } };
    uint32_t seed = 1;
    for (const Format& f : kFormats) {
        for (uint8_t interlace : { 0, 1 }) {
            for (auto [w, h] : sizes) {
                SCOPED_TRACE(testing::Message() << "type " << int(f.ColorType) << " depth " << int(f.BitDepth)
                                                << " interlace " << int(interlace) << " " << w << "x" << h);
                TImage image = RandomImage(w, h, f.ColorType, f.BitDepth, interlace, seed++, 1u << f.BitDepth);
                TPNGObject png;
                Load(png, MakePng(image));
                EXPECT_EQ(png.InterlaceMethod(), interlace ? imAdam7 : imNone);
                ExpectSameSamples(png, image);
            }
        }
    }
}

TEST(PngImageData, SaveAndReloadKeepsEverySample)
{
    uint32_t seed = 100;
    for (const Format& f : kFormats) {
        for (uint8_t interlace : { 0, 1 }) {
            SCOPED_TRACE(testing::Message()
                << "type " << int(f.ColorType) << " depth " << int(f.BitDepth) << " interlace " << int(interlace));
            TImage image = RandomImage(11, 6, f.ColorType, f.BitDepth, interlace, seed++, 1u << f.BitDepth);
            TPNGObject png;
            Load(png, MakePng(image));
            png.SetFilters({ pfNone, pfSub, pfUp, pfAverage, pfPaeth });
            std::string saved = Save(png);
            TPNGObject again;
            Load(again, saved);
            // 2-bit images are written as 4-bit ones: palette indices keep their values, grey keeps its levels.
            uint8_t savedDepth = ParseChunks(saved)[0].second[8];
            EXPECT_EQ(savedDepth, f.BitDepth == 2 ? 4 : f.BitDepth);
            for (uint32_t y = 0; y < image.Height; ++y) {
                for (uint32_t x = 0; x < image.Width; ++x) {
                    std::vector<uint16_t> expected = ImageSamples(image, x, y);
                    if (f.BitDepth == 2 && f.ColorType == 0)
                        expected[0] *= 5;
                    ASSERT_EQ(StoreSamples(again, x, y), expected) << x << "," << y;
                }
            }
        }
    }
}

TEST(PngImageData, SixteenBitAlphaIsWrittenBackAsItsHighByteRepeated)
{
    TImage image { 2, 1, 16, 6, 0, { 1, 2, 3, 0xFFFF, 4, 5, 6, 0x0000 } };
    TPNGObject png;
    Load(png, MakePng(image));
    std::string data = Filters(Save(png));
    // One row: the filter byte, then R, G, B, A of two pixels, two bytes each, Sub-filtered by the default set.
    ASSERT_EQ(data.size(), 17u);
    std::string raw = data.substr(1);
    for (size_t i = 8; i < raw.size(); ++i)
        raw[i] = char(uint8_t(raw[i]) + uint8_t(raw[i - 8]));
    EXPECT_EQ(raw, std::string("\x00\x01\x00\x02\x00\x03\xFF\xFF\x00\x04\x00\x05\x00\x06\x00\x00", 16));
}

TEST(PngImageData, GammaCorrectedRgbIsStoredThroughTheTableAndSavedThroughTheInverse)
{
    TImage image { 3, 1, 8, 2, 0, { 0, 64, 255, 128, 10, 200, 1, 2, 3 } };
    std::string gama;
    PutBE32(gama, 100000);
    TPNGObject png;
    Load(png, MakePng(image, Chunk("gAMA", gama)));
    EXPECT_EQ(png.GammaTable[0], 0);
    EXPECT_EQ(png.GammaTable[255], 255);
    const uint8_t* row = png.GetScanline(0);
    EXPECT_EQ(row[2], png.GammaTable[0]);
    EXPECT_EQ(row[1], png.GammaTable[64]);
    EXPECT_EQ(row[5], png.GammaTable[128]);
    EXPECT_NE(png.GammaTable[128], 128);
    // The inverse table undoes the table wherever a level was reached.
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(png.GammaTable[png.InverseGamma[png.GammaTable[i]]], png.GammaTable[i]);
}

TEST(PngImageData, DataSplitOverSeveralIdatChunksDecodesLikeOneChunk)
{
    TImage image = RandomImage(40, 40, 6, 8, 0, 7);
    std::string whole = MakePng(image);
    std::string split = MakePng(image, "", 1000);
    ASSERT_GE(ParseChunks(split).size(), 5u);
    TPNGObject a, b;
    Load(a, whole);
    Load(b, split);
    ExpectSameSamples(b, image);

    // A flipped CRC byte of the middle data chunk is noticed.
    size_t second = split.find("IDAT", split.find("IDAT") + 4);
    size_t crcPos = second + 4 + 1000;
    split[crcPos] = char(split[crcPos] ^ 1);
    TPNGObject c;
    EXPECT_THROW(Load(c, split), EPngInvalidCRC);
}

TEST(PngImageData, ChunkBoundariesInsideTheZlibTrailerStillCheckTheCrc)
{
    // Data chunks larger than the 64 KiB input block, whose last bytes (the zlib trailer) arrive after the rows
    // are complete, must still verify against their own CRC.
    TImage image = RandomImage(300, 300, 6, 8, 0, 9);
    std::string file = MakePng(image, "", 70000);
    TPNGObject png;
    ASSERT_NO_THROW(Load(png, file));
    ExpectSameSamples(png, image);
}

TEST(PngImageData, HostileHeadersAndDataFailCleanly)
{
    TImage small = RandomImage(4, 4, 2, 8, 0, 3);
    std::string idat = Chunk("IDAT", Compress(FilteredData(small)));
    std::string iend = Chunk("IEND", "");
    std::string truncatedStream = Compress(FilteredData(small)).substr(0, 10);
    // A zlib stream that ends before the rows do, with bytes still following it in the chunk.
    std::string shortStream = Compress(std::string(5, '\0')) + std::string(40, 'x');

    struct Case {
        const char* Name;
        std::string File;
        const char* Expected;
    };
    const Case kCases[] = {
        { "width above 65535", Signature + IHDR(65536, 1, 8, 2) + idat + iend, EPNGSizeExceedsText },
        { "zero width", Signature + IHDR(0, 4, 8, 2) + idat + iend, EPNGInvalidIHDRText },
        { "grey with alpha at depth 2", Signature + IHDR(4, 4, 2, 4) + idat + iend, EPNGInvalidIHDRText },
        { "RGB at depth 4", Signature + IHDR(4, 4, 4, 2) + idat + iend, EPNGInvalidIHDRText },
        { "colour type 5", Signature + IHDR(4, 4, 8, 5) + idat + iend, EPNGInvalidIHDRText },
        { "short header", Signature + Chunk("IHDR", std::string(12, '\1')) + idat + iend, EPNGInvalidIHDRText },
        { "compression 1", Signature + Chunk("IHDR", std::string("\0\0\0\4\0\0\0\4\x08\x02\x01\0\0", 13)) + idat + iend,
            EPNGUnknownCompressionText },
        { "interlace 2", Signature + IHDR(4, 4, 8, 2, 2) + idat + iend, EPNGUnknownInterlaceText },
        { "data followed by IEND with rows missing",
            Signature + IHDR(4, 4, 8, 2) + Chunk("IDAT", truncatedStream) + iend, EPNGMissingMultipleIDATText },
        { "zlib stream ends early", Signature + IHDR(4, 4, 8, 2) + Chunk("IDAT", shortStream) + iend,
            "Could not decompress the image because it contains invalid compressed data.\r\n Description: stream end "
            "(1)" },
        { "zlib stream asking for a preset dictionary",
            Signature + IHDR(4, 4, 8, 2) + Chunk("IDAT", std::string("\x78\xBB\0\0\0\1", 6) + std::string(20, 'x'))
                + iend,
            "Could not decompress the image because it contains invalid compressed data.\r\n Description: need "
            "dictionary (2)" },
        { "corrupt zlib data", Signature + IHDR(4, 4, 8, 2) + Chunk("IDAT", std::string(30, '\x55')) + iend, nullptr },
        { "palette image without a palette", Signature + IHDR(4, 4, 8, 3) + idat + iend, EPNGMissingPaletteText },
        { "chunk length 0xFFFFFFFF", Signature + IHDR(4, 4, 8, 2) + std::string("\xFF\xFF\xFF\xFFtEXt", 8) + iend,
            EPNGUnexpectedEndText },
        { "chunk longer than the file", Signature + IHDR(4, 4, 8, 2) + std::string("\x00\x10\x00\x00tEXtab", 10),
            EPNGUnexpectedEndText },
        { "idat length 0xFFFFFFFF", Signature + IHDR(4, 4, 8, 2) + std::string("\xFF\xFF\xFF\xF0IDAT", 8),
            EPNGUnexpectedEndText },
        { "file ends inside the data", (Signature + IHDR(4, 4, 8, 2) + idat).substr(0, 50), EPNGUnexpectedEndText },
        // About 150 bytes that declare 8000 x 8000 RGBA: no deflate stream that short fills 256 MB of rows, so the
        // picture is refused before its store is allocated and cleared.
        { "a size its data could never fill", Signature + IHDR(8000, 8000, 8, 6) + idat + iend,
            EPNGUnexpectedEndText },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TPNGObject png;
        try {
            Load(png, c.File);
            ADD_FAILURE() << "loaded";
        } catch (const Exception& e) {
            if (c.Expected)
                EXPECT_EQ(e.Message(), c.Expected);
            else
                EXPECT_EQ(e.Message().rfind("Could not decompress", 0), 0u) << e.Message();
        }
    }
}

TEST(PngImageData, SavedChunksAreCutAtTheMaximumIdatSize)
{
    // Noise does not compress, so the data is a little over twice 65535 bytes.
    TImage image = RandomImage(200, 220, 2, 8, 0, 11);
    for (auto& s : image.Samples)
        s = uint16_t(std::rand() % 256);
    TPNGObject png;
    Load(png, MakePng(image));
    png.SetFilters({ pfNone });
    std::vector<size_t> sizes;
    for (auto& [name, data] : ParseChunks(Save(png))) {
        if (name == "IDAT")
            sizes.push_back(data.size());
    }
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], 65535u);
    EXPECT_EQ(sizes[1], 65535u);
    EXPECT_GT(sizes[2], 0u);
    EXPECT_LT(sizes[2], 65535u);

    png.SetMaxIdatSize(1000);
    EXPECT_EQ(png.MaxIdatSize(), 65535);
    png.SetMaxIdatSize(100000);
    EXPECT_EQ(png.MaxIdatSize(), 100000);
}

TEST(PngImageData, FilterChoicePerRow)
{
    TImage image = RandomImage(16, 8, 2, 8, 0, 5);
    TPNGObject png;
    Load(png, MakePng(image));
    // The default set {pfSub} writes every row with Sub.
    std::string data = Filters(Save(png));
    for (uint32_t y = 0; y < 8; ++y)
        EXPECT_EQ(data[y * 49], char(pfSub));

    // FilterToEncode on chosen rows: runs decide between candidates, ties keep the lower filter, no runs give None.
    struct Case {
        const char* Name;
        TFilters Filters;
        std::vector<uint8_t> Previous;
        std::vector<uint8_t> Raw;
        TFilter Expected;
    };
    const Case kCases[] = {
        { "Up has more runs", { pfUp, pfPaeth }, { 9, 8, 7, 6, 5, 4 }, { 10, 9, 8, 7, 6, 5 }, pfUp },
        { "equal runs keep Up", { pfUp, pfPaeth }, { 0, 0, 0, 0, 0, 0 }, { 5, 5, 5, 5, 5, 5 }, pfUp },
        { "no runs give None", { pfUp, pfPaeth }, { 0, 0, 0 }, { 1, 4, 9 }, pfNone },
        { "short rows give None", { pfUp, pfSub }, { 0, 0 }, { 7, 7 }, pfNone },
        { "Paeth has more runs", { pfUp, pfPaeth }, { 0, 1, 2, 3, 4, 5 }, { 9, 9, 9, 9, 9, 9 }, pfPaeth },
        { "only None", { pfNone }, { 1, 2, 3, 4 }, { 9, 9, 9, 9 }, pfNone },
        { "exactly one filter", { pfAverage }, { 1, 2, 3, 4 }, { 4, 3, 2, 1 }, pfAverage },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        std::vector<uint8_t> raw = c.Raw, previous = c.Previous;
        std::vector<uint8_t> out[5];
        uint8_t* outputs[5];
        for (int i = 0; i < 5; ++i) {
            out[i].assign(raw.size(), 0);
            outputs[i] = out[i].data();
        }
        TFilter chosen
            = TChunkIDAT::FilterToEncode(c.Filters, raw.data(), previous.data(), outputs, uint32_t(raw.size()), 1);
        EXPECT_EQ(chosen, c.Expected);
        EXPECT_EQ(previous, c.Raw);
    }
}

TEST(PngImageData, TwoBitPaletteIsSavedAsFourBitWithTheSameIndices)
{
    TImage image = RandomImage(7, 3, 3, 2, 0, 21, 4);
    TPNGObject png;
    Load(png, MakePng(image));
    EXPECT_EQ(png.Header()->StoreBitsPerPixel(), 4);
    std::string saved = Save(png);
    EXPECT_EQ(ParseChunks(saved)[0].second[8], 4);
    EXPECT_EQ(png.Header()->IHDRData.BitDepth, 4);
    TPNGObject again;
    Load(again, saved);
    for (uint32_t x = 0; x < 7; ++x)
        EXPECT_EQ(StoreSamples(again, x, 1)[0], image.At(x, 1, 0));
}

// The frames of an animation hold samples of the file's depth. Saving a 2-bit picture widens it to 4 bits, so its
// animation chunks could no longer be read and are dropped; an 8-bit picture keeps them, and other chunks stay.
TEST(PngImageData, WideningTheDepthDropsTheAnimationChunks)
{
    const std::string animation = Chunk("acTL", std::string("\0\0\0\2\0\0\0\0", 8))
        + Chunk("fcTL", std::string(26, '\0')) + Chunk("fdAT", std::string(8, '\0'))
        + Chunk("tEXt", std::string("Title\0x", 7));
    for (const uint8_t depth : { 2, 8 }) {
        SCOPED_TRACE(int(depth));
        TPNGObject png;
        Load(png, MakePng(RandomImage(7, 3, 3, depth, 0, 21, 4), animation));
        std::vector<std::string> names;
        for (const auto& [name, data] : ParseChunks(Save(png)))
            names.push_back(name);
        const bool widened = depth == 2;
        for (const char* name : { "acTL", "fcTL", "fdAT" })
            EXPECT_EQ(std::count(names.begin(), names.end(), name), widened ? 0 : 1) << name;
        EXPECT_EQ(std::count(names.begin(), names.end(), "tEXt"), 1);
    }
}
