#include "framework/graphics/TJPEGImage.h"

#include "framework/core/Streams.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Four flat 16x16 quadrants, so a good-quality JPEG keeps each quadrant's colour closely.
uint32_t Quadrants(int x, int y)
{
    static constexpr uint32_t kColors[] = { 0xE02010, 0x10C020, 0x2030D0, 0xF0F0F0 };
    return kColors[(x >= 16 ? 1 : 0) + (y >= 16 ? 2 : 0)];
}

// Busy colours, so most of a file is scan data rather than tables.
uint32_t Texture(int x, int y)
{
    const uint32_t v = uint32_t((x * 37 + y * 91) ^ (x * y));
    return (v & 0xFF) << 16 | ((v >> 3) & 0xFF) << 8 | ((v * 7) & 0xFF);
}

uint32_t GreyRamp(int x, int)
{
    return static_cast<uint32_t>(x * 8);
}

// Ink amounts 0xCCMMYYKK: cyan on the left, magenta on the right.
uint32_t Inks(int x, int)
{
    return x < 16 ? 0xFF000000 : 0x00FF0000;
}

void Load(TJPEGImage& jpeg, const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    jpeg.LoadFromStream(stream);
}

// 0x00BBGGRR from the decoded bitmap, checked within `tolerance` per channel against 0xRRGGBB.
void ExpectNear(TBitmap& bitmap, int x, int y, uint32_t rgb, int tolerance = 12)
{
    uint32_t p = PixelOf(bitmap, x, y);
    int channels[3][2] = { { int(p & 0xFF), int(rgb >> 16) }, { int((p >> 8) & 0xFF), int((rgb >> 8) & 0xFF) },
        { int(p >> 16), int(rgb & 0xFF) } };
    for (auto& c : channels)
        EXPECT_LE(std::abs(c[0] - c[1]), tolerance) << "at " << x << "," << y << " got " << std::hex << p;
}

} // namespace

TEST(TJPEGImage, DecodesColourGreyAndCmyk)
{
    struct Case {
        const char* Name;
        int Components;
        bool Progressive;
        uint32_t (*Pixel)(int, int);
        TPixelFormat Format;
        std::vector<std::tuple<int, int, uint32_t>> Probes;
    };
    const Case kCases[] = {
        { "24-bit baseline", 3, false, Quadrants, pf24bit,
            { { 4, 4, 0xE02010 }, { 27, 4, 0x10C020 }, { 4, 27, 0x2030D0 }, { 27, 27, 0xF0F0F0 } } },
        { "24-bit progressive", 3, true, Quadrants, pf24bit, { { 4, 4, 0xE02010 }, { 27, 27, 0xF0F0F0 } } },
        { "8-bit grey", 1, false, GreyRamp, pf8bit, { { 2, 5, 0x101010 }, { 30, 5, 0xF0F0F0 } } },
        { "32-bit CMYK", 4, false, Inks, pf24bit, { { 4, 4, 0x00FFFF }, { 27, 4, 0xFF00FF } } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TJPEGImage jpeg;
        Load(jpeg, MakeJpeg(32, 32, c.Components, c.Progressive, 95, c.Pixel));
        EXPECT_EQ(jpeg.Width(), 32);
        EXPECT_EQ(jpeg.Height(), 32);
        EXPECT_EQ(jpeg.ProgressiveEncoding(), c.Progressive);
        TBitmap* bitmap = jpeg.Bitmap();
        EXPECT_EQ(bitmap->PixelFormat(), c.Format);
        for (auto [x, y, rgb] : c.Probes)
            ExpectNear(*bitmap, x, y, rgb, c.Components == 1 ? 4 : 12);
    }
}

TEST(TJPEGImage, DrawsOnACanvas)
{
    TJPEGImage jpeg;
    Load(jpeg, MakeJpeg(32, 32, 3, false, 95, Quadrants));
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(64, 64);
    target.Canvas()->StretchDraw(Rect(0, 0, 64, 64), &jpeg);
    ExpectNear(target, 10, 10, 0xE02010);
    ExpectNear(target, 54, 54, 0xF0F0F0);
    target.Canvas()->Draw(0, 0, &jpeg);
    ExpectNear(target, 40, 10, 0x10C020);
}

TEST(TJPEGImage, DecodingSettingsShapeTheBitmap)
{
    TJPEGImage jpeg;
    Load(jpeg, MakeJpeg(33, 17, 3, false, 90, Quadrants));
    jpeg.SetScale(jsHalf);
    EXPECT_EQ(jpeg.Width(), 17);
    EXPECT_EQ(jpeg.Height(), 9);
    EXPECT_EQ(jpeg.Bitmap()->Width(), 17);
    jpeg.SetScale(jsEighth);
    EXPECT_EQ(jpeg.Bitmap()->Width(), 5);
    EXPECT_EQ(jpeg.Bitmap()->Height(), 3);
    jpeg.SetScale(jsFullSize);
    jpeg.SetGrayscale(true);
    EXPECT_EQ(jpeg.Bitmap()->PixelFormat(), pf8bit);
    uint32_t grey = PixelOf(*jpeg.Bitmap(), 2, 2);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    jpeg.SetGrayscale(false);
    jpeg.SetPixelFormat(jf8Bit);
    jpeg.SetPerformance(jpBestSpeed);
    EXPECT_EQ(jpeg.Bitmap()->PixelFormat(), pf8bit);
    ExpectNear(*jpeg.Bitmap(), 3, 3, 0xE02010, 40);
    EXPECT_THROW(jpeg.SetWidth(10), EInvalidGraphicOperation);
}

TEST(TJPEGImage, SavesTheBytesItLoaded)
{
    const std::vector<uint8_t> bytes = MakeJpeg(16, 16, 3, false, 80, Quadrants);
    TTempFolder folder;
    WriteFile(folder.Path("in.jpg"), bytes);
    TJPEGImage jpeg;
    jpeg.LoadFromFile(folder.Path("in.jpg"));
    jpeg.DIBNeeded();
    jpeg.SaveToFile(folder.Path("out.jpg"));
    EXPECT_EQ(ReadFile(folder.Path("out.jpg")), bytes);

    TJPEGImage copy;
    copy.Assign(&jpeg);
    EXPECT_TRUE(copy.Equals(&jpeg));
    TBitmap bitmap;
    bitmap.Assign(&jpeg);
    EXPECT_EQ(bitmap.Width(), 16);
    ExpectNear(bitmap, 2, 2, 0xE02010);
}

TEST(TJPEGImage, BadFilesRaiseAndNeverCrash)
{
    const std::vector<uint8_t> good = MakeJpeg(32, 32, 3, false, 90, Quadrants);
    const std::vector<uint8_t> progressive = MakeJpeg(32, 32, 3, true, 90, Quadrants);
    const std::vector<uint8_t> busy = MakeJpeg(128, 128, 3, false, 90, Texture);
    auto cut = [](const std::vector<uint8_t>& bytes, size_t size) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + size);
    };
    // The frame header's height and width sit after FFC0 (or FFC2), length and precision.
    auto withSize = [](std::vector<uint8_t> bytes, int width, int height) {
        for (size_t i = 0; i + 9 < bytes.size(); ++i) {
            if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
                bytes[i + 5] = uint8_t(height >> 8);
                bytes[i + 6] = uint8_t(height);
                bytes[i + 7] = uint8_t(width >> 8);
                bytes[i + 8] = uint8_t(width);
                break;
            }
        }
        return bytes;
    };
    auto noComponents = [](std::vector<uint8_t> bytes) {
        for (size_t i = 0; i + 9 < bytes.size(); ++i) {
            if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
                bytes[i + 9] = 0;
                break;
            }
        }
        return bytes;
    };
    // Each error carries libjpeg's own message: the one libjpeg's decoder gives for the same bytes, or, where our
    // decoder is stricter than libjpeg's memory source (which invents an end marker for a file that stops early)
    // or sets a limit of its own, the text given here.
    const std::string kLibjpeg = "as libjpeg says";
    const std::string kEnded = "Premature end of input file";
    // libjpeg's warning for scan data that stops at a marker, which it fills with grey and reports as decoded.
    const std::string kStopsAtMarker = "as libjpeg warns";
    auto cutAndEnded = [&](const std::vector<uint8_t>& bytes, size_t size) {
        std::vector<uint8_t> result = cut(bytes, size);
        result.push_back(0xFF);
        result.push_back(0xD9);
        return result;
    };
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
        std::string Message;
    };
    const Case kCases[] = {
        { "not a JPEG", { 'B', 'M', 0, 0, 0, 0 }, kLibjpeg },
        { "the start marker only", cut(good, 2), kEnded },
        { "cut in the tables", cut(good, 100), kEnded },
        { "cut in the pixels", cut(good, good.size() / 2), kEnded },
        { "cut before the end marker", cut(good, good.size() - 2), kEnded },
        { "progressive cut in the scans", cut(progressive, progressive.size() * 2 / 3), kEnded },
        { "cut at 60 % with an end marker appended", cutAndEnded(busy, busy.size() * 6 / 10), kStopsAtMarker },
        { "65500 x 65500", withSize(good, 65500, 65500), "JPEG image is too big" },
        { "zero width", withSize(good, 0, 32), kLibjpeg },
        { "no components", noComponents(good), kLibjpeg },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        std::string expected = c.Message;
        if (expected == kLibjpeg || expected == kStopsAtMarker) {
            std::vector<uint8_t> samples;
            int width = 0, height = 0;
            bool adobe = false;
            std::string warning;
            expected = LibjpegDecode(c.Bytes, 0, samples, width, height, adobe, &warning);
            if (c.Message == kStopsAtMarker) {
                ASSERT_TRUE(expected.empty()) << expected;
                expected = warning;
            }
            ASSERT_FALSE(expected.empty()) << "libjpeg decodes it";
        }
        TJPEGImage jpeg;
        Load(jpeg, good);
        try {
            Load(jpeg, c.Bytes);
            jpeg.DIBNeeded();
            ADD_FAILURE() << "no exception";
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.Message(), expected);
        }
    }
}

TEST(TJPEGImage, GrayscaleMakesGreyOfCmykAsLibjpegMakesGreyOfColour)
{
    // libjpeg turns colour into grey with its own weights but has no conversion from CMYK; our grey of a CMYK file
    // must be libjpeg's weights applied to the colour its inks give.
    auto inks = [](int x, int y) -> uint32_t { return uint32_t(x * 8) << 24 | uint32_t(y * 8) << 16 | 0x4000 | (x ^ y); };
    const std::vector<uint8_t> bytes = MakeJpeg(32, 32, 4, false, 90, inks);
    std::vector<uint8_t> cmyk;
    int width = 0, height = 0;
    bool adobe = false;
    ASSERT_EQ(LibjpegDecode(bytes, 4 /* JCS_CMYK */, cmyk, width, height, adobe), "");
    ASSERT_TRUE(adobe);

    TJPEGImage jpeg;
    Load(jpeg, bytes);
    jpeg.SetGrayscale(true);
    TBitmap* bitmap = jpeg.Bitmap();
    ASSERT_EQ(bitmap->PixelFormat(), pf8bit);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &cmyk[(size_t(y) * width + x) * 4];
            // Adobe stores the inks inverted: the sample is the share of paper left.
            unsigned r = (p[0] * p[3] + 127) / 255, g = (p[1] * p[3] + 127) / 255, b = (p[2] * p[3] + 127) / 255;
            unsigned grey = (19595 * r + 38470 * g + 7471 * b + 32768) >> 16;
            ASSERT_EQ(PixelOf(*bitmap, x, y), grey * 0x010101u) << x << "," << y;
        }
    }
}

TEST(TJPEGImage, HeaderErrorsLeaveTheImageAsItWas)
{
    TJPEGImage jpeg;
    Load(jpeg, MakeJpeg(8, 4, 3, false, 90, Quadrants));
    EXPECT_THROW(Load(jpeg, { 0xFF, 0xD8, 0xFF }), EJPEG);
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_EQ(jpeg.Height(), 4);
    EXPECT_EQ(jpeg.Bitmap()->Width(), 8);
}
