// The library's colour converter: known pixels through each pair of codes, orientation, sizes and refusals.
#include "CodecTestSupport.h"

#include <cstdlib>

namespace {

// A w x h frame in a planar code: the top half one colour, the bottom half another (Y, U, V each).
std::vector<uint8_t> PlanarFrame(int32_t code, int w, int h, const uint8_t top[3], const uint8_t bottom[3])
{
    const int cw = (w + 1) / 2;
    const int ch = (h + 1) / 2;
    std::vector<uint8_t> frame(size_t(w) * h + 2 * size_t(cw) * ch);
    for (int y = 0; y < h; ++y)
        std::fill_n(&frame[size_t(y) * w], w, y < h / 2 ? top[0] : bottom[0]);
    uint8_t* u = &frame[size_t(w) * h + (code == 4 ? size_t(cw) * ch : 0)];
    uint8_t* v = &frame[size_t(w) * h + (code == 4 ? 0 : size_t(cw) * ch)];
    for (int y = 0; y < ch; ++y) {
        std::fill_n(u + size_t(y) * cw, cw, y < ch / 2 ? top[1] : bottom[1]);
        std::fill_n(v + size_t(y) * cw, cw, y < ch / 2 ? top[2] : bottom[2]);
    }
    return frame;
}

std::vector<uint8_t> Convert(int w, int h, int32_t from, int32_t to, const std::vector<uint8_t>& source)
{
    ColorConverter* converter = Braskel_CreateColorConverter();
    EXPECT_TRUE(converter->Init(w, h, from, to));
    std::vector<uint8_t> target(size_t(converter->GetOutputSize()), 0xEE);
    EXPECT_TRUE(converter->Convert(source.data(), target.data()));
    Braskel_ReleaseColorConverter(converter);
    return target;
}

void ExpectBgra(const uint8_t* pixel, int b, int g, int r)
{
    EXPECT_NEAR(pixel[0], b, 3);
    EXPECT_NEAR(pixel[1], g, 3);
    EXPECT_NEAR(pixel[2], r, 3);
    EXPECT_EQ(pixel[3], 255);
}

const uint8_t kRed[3] = { 81, 90, 240 };
const uint8_t kWhite[3] = { 235, 128, 128 };
const uint8_t kBlack[3] = { 16, 128, 128 };
const uint8_t kBlue[3] = { 41, 240, 110 };

} // namespace

TEST(ColorConverter, PlanarToBgraIsBottomUpWithOpaqueAlpha)
{
    struct Case {
        int32_t Source;
        const uint8_t* Top;
        const uint8_t* Bottom;
        int TopB, TopG, TopR;
        int BottomB, BottomG, BottomR;
    };
    const Case kCases[] = {
        { 5, kRed, kWhite, 0, 0, 255, 255, 255, 255 },
        { 4, kRed, kBlack, 0, 0, 255, 0, 0, 0 },
        { 5, kBlue, kRed, 255, 0, 0, 0, 0, 255 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Source);
        const int w = 8;
        const int h = 8;
        const std::vector<uint8_t> out = Convert(w, h, c.Source, 3, PlanarFrame(c.Source, w, h, c.Top, c.Bottom));
        ASSERT_EQ(out.size(), size_t(w) * h * 4);
        // The picture's top row is the buffer's last row, and its bottom row the first.
        ExpectBgra(&out[(size_t(h - 1) * w + 3) * 4], c.TopB, c.TopG, c.TopR);
        ExpectBgra(&out[3 * 4], c.BottomB, c.BottomG, c.BottomR);
    }
}

TEST(ColorConverter, BgraToPlanarTurnsRowsUpright)
{
    const int w = 8;
    const int h = 8;
    std::vector<uint8_t> bgra(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* pixel = &bgra[(size_t(y) * w + x) * 4];
            const bool pictureTop = y >= h / 2; // Bottom-up: the last rows are the picture's top.
            pixel[0] = 0;
            pixel[1] = 0;
            pixel[2] = pictureTop ? 255 : 0;
            pixel[3] = 255;
        }
    }
    const std::vector<uint8_t> yuv = Convert(w, h, 3, 5, bgra);
    ASSERT_EQ(yuv.size(), size_t(w) * h * 3 / 2);
    EXPECT_NEAR(yuv[0], 81, 3);
    EXPECT_NEAR(yuv[size_t(h - 1) * w], 16, 3);
    EXPECT_NEAR(yuv[size_t(w) * h + 16 + 0], 240, 4); // V plane, first row.
}

TEST(ColorConverter, Rgb565ToBgraKeepsRowOrderAndPrimaries)
{
    struct Case {
        uint16_t Pixel;
        int B, G, R;
    };
    const Case kCases[] = {
        { 0xF800, 0, 0, 255 },
        { 0x07E0, 0, 255, 0 },
        { 0x001F, 255, 0, 0 },
        { 0xFFFF, 255, 255, 255 },
        { 0x0000, 0, 0, 0 },
    };
    const int w = 5; // One column per case, rows numbered by the second row's pixels.
    const int h = 2;
    std::vector<uint8_t> rgb(size_t(w) * h * 2);
    for (int x = 0; x < w; ++x) {
        rgb[size_t(x) * 2] = uint8_t(kCases[x].Pixel & 0xFF);
        rgb[size_t(x) * 2 + 1] = uint8_t(kCases[x].Pixel >> 8);
    }
    const std::vector<uint8_t> out = Convert(w, h, 1, 3, rgb);
    for (int x = 0; x < w; ++x) {
        SCOPED_TRACE(x);
        ExpectBgra(&out[size_t(x) * 4], kCases[x].B, kCases[x].G, kCases[x].R);
        ExpectBgra(&out[size_t(w + x) * 4], 0, 0, 0); // Row 1 stays row 1.
    }
}

TEST(ColorConverter, PlanarCodesConvertExactly)
{
    // Same code: a copy. Codes 4 and 5 differ only in the order of the chroma planes.
    const int w = 7;
    const int h = 5;
    std::vector<uint8_t> source(size_t(w) * h + 2 * 4 * 3);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i * 7 + 3);
    EXPECT_EQ(Convert(w, h, 5, 5, source), source);
    const std::vector<uint8_t> swapped = Convert(w, h, 5, 4, source);
    ASSERT_EQ(swapped.size(), source.size());
    const size_t luma = size_t(w) * h;
    const size_t chroma = 12;
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + long(luma), swapped.begin()));
    EXPECT_TRUE(std::equal(
        source.begin() + long(luma), source.begin() + long(luma + chroma), swapped.begin() + long(luma + chroma)));
    EXPECT_TRUE(std::equal(source.begin() + long(luma + chroma), source.end(), swapped.begin() + long(luma)));
    EXPECT_EQ(Convert(w, h, 4, 5, swapped), source);
}

TEST(ColorConverter, OutputSizeFollowsTheTargetCode)
{
    struct Case {
        int32_t Target;
        int32_t Size;
    };
    const Case kCases[] = { { 3, 175 * 143 * 4 }, { 1, 175 * 143 * 2 }, { 5, 175 * 143 + 2 * 88 * 72 },
        { 4, 175 * 143 + 2 * 88 * 72 } };
    ColorConverter* converter = Braskel_CreateColorConverter();
    EXPECT_EQ(converter->GetOutputSize(), 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Target);
        ASSERT_TRUE(converter->Init(175, 143, 5, c.Target));
        EXPECT_EQ(converter->GetOutputSize(), c.Size);
    }
    Braskel_ReleaseColorConverter(converter);
}

TEST(ColorConverter, RefusesBadSizesCodesAndBuffers)
{
    struct Case {
        const char* Name;
        int32_t Width, Height, Source, Target;
    };
    const Case kCases[] = {
        { "zero width", 0, 10, 5, 3 },
        { "negative height", 10, -1, 5, 3 },
        { "too wide", 16385, 2, 5, 3 },
        { "unknown source code", 10, 10, 2, 3 },
        { "unknown target code", 10, 10, 5, 0 },
    };
    ColorConverter* converter = Braskel_CreateColorConverter();
    std::vector<uint8_t> buffer(1000);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(converter->Init(4, 4, 5, 3));
        // A failed Init also forgets the earlier one, so no stale size is used.
        EXPECT_FALSE(converter->Init(c.Width, c.Height, c.Source, c.Target));
        EXPECT_EQ(converter->GetOutputSize(), 0);
        EXPECT_FALSE(converter->Convert(buffer.data(), buffer.data()));
    }
    ASSERT_TRUE(converter->Init(4, 4, 5, 3));
    EXPECT_FALSE(converter->Convert(nullptr, buffer.data()));
    EXPECT_FALSE(converter->Convert(buffer.data(), nullptr));
    Braskel_ReleaseColorConverter(converter);
    Braskel_ReleaseColorConverter(nullptr);
}
