#include "framework/graphics/TBitmap.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "tests/framework/GraphicsTestSupport.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

// RGB as the test writes it (0xRRGGBB) and as GDI reports it (0x00BBGGRR).
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kYellow = 0xFFFF00;

uint32_t ColorRef(uint32_t rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// A 3x2 picture, top row first.
using TGrid = std::vector<std::vector<uint32_t>>;
const TGrid kColors = { { kRed, kLime, kBlue }, { kWhite, kBlack, kYellow } };
const TGrid kMono = { { kWhite, kBlack, kWhite }, { kBlack, kWhite, kBlack } };
const std::vector<uint32_t> kPalette = { kBlack, kRed, kLime, kBlue, kWhite, kYellow };

enum class TEncoding { Indexed, Rgb555, Rgb565, Bgr24, Bgrx32, Rgba32 };

// The rows of `grid` as a BMP file stores them: bottom row first unless `topDown`, padded to 4 bytes.
std::vector<uint8_t> Rows(
    const TGrid& grid, int bitCount, TEncoding encoding, bool topDown, const std::vector<uint32_t>& palette = kPalette)
{
    std::vector<uint8_t> out;
    const int height = static_cast<int>(grid.size());
    for (int i = 0; i < height; ++i) {
        const std::vector<uint32_t>& row = grid[topDown ? i : height - 1 - i];
        std::vector<uint8_t> bytes;
        uint32_t bitBuffer = 0;
        int bits = 0;
        for (uint32_t c : row) {
            uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            switch (encoding) {
            case TEncoding::Indexed: {
                uint32_t index = static_cast<uint32_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
                bitBuffer = (bitBuffer << bitCount) | index;
                bits += bitCount;
                if (bits == 8) {
                    bytes.push_back(static_cast<uint8_t>(bitBuffer));
                    bitBuffer = 0;
                    bits = 0;
                }
                break;
            }
            case TEncoding::Rgb555:
                PutLE(bytes, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3), 2);
                break;
            case TEncoding::Rgb565:
                PutLE(bytes, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3), 2);
                break;
            case TEncoding::Bgr24:
                bytes.insert(bytes.end(), { uint8_t(b), uint8_t(g), uint8_t(r) });
                break;
            case TEncoding::Bgrx32:
                bytes.insert(bytes.end(), { uint8_t(b), uint8_t(g), uint8_t(r), 0 });
                break;
            case TEncoding::Rgba32:
                bytes.insert(bytes.end(), { uint8_t(r), uint8_t(g), uint8_t(b), 0xFF });
                break;
            }
        }
        if (bits)
            bytes.push_back(static_cast<uint8_t>(bitBuffer << (8 - bits)));
        while (bytes.size() % 4)
            bytes.push_back(0);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

TBmpSpec Spec(const TGrid& grid, uint16_t bitCount, TEncoding encoding, bool topDown)
{
    TBmpSpec spec;
    spec.Width = static_cast<int32_t>(grid[0].size());
    spec.Height = static_cast<int32_t>(grid.size()) * (topDown ? -1 : 1);
    spec.BitCount = bitCount;
    if (encoding == TEncoding::Indexed)
        spec.Palette = bitCount == 1 ? std::vector<uint32_t> { kBlack, kWhite } : kPalette;
    spec.Pixels = Rows(grid, bitCount, encoding, topDown, spec.Palette);
    return spec;
}

void LoadBytes(TBitmap& bitmap, const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

void ExpectGrid(TBitmap& bitmap, const TGrid& grid)
{
    ASSERT_EQ(bitmap.Height(), static_cast<int>(grid.size()));
    ASSERT_EQ(bitmap.Width(), static_cast<int>(grid[0].size()));
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            EXPECT_EQ(PixelOf(bitmap, x, y), ColorRef(grid[y][x])) << "pixel " << x << "," << y;
    }
}

// kColors run-length encoded with kPalette's indexes (black 0, red 1, lime 2, blue 3, white 4, yellow 5),
// bottom row first: single-pixel runs and an end of line, then an absolute run and the end of the bitmap.
TBmpSpec RleSpec(bool nibbles, bool delta)
{
    TBmpSpec spec;
    spec.Width = 3;
    spec.Height = 2;
    spec.BitCount = nibbles ? 4 : 8;
    spec.Compression = nibbles ? 2 : 1;
    spec.Palette = kPalette;
    if (nibbles)
        spec.Pixels = { 1, 0x40, 1, 0x00, 1, 0x50, 0, 0, 0, 3, 0x12, 0x30, 0, 1 };
    else if (delta)
        // A delta of one column over the black pixel, which a skipped pixel keeps.
        spec.Pixels = { 1, 4, 0, 2, 1, 0, 1, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1 };
    else
        spec.Pixels = { 1, 4, 1, 0, 1, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1 };
    return spec;
}

} // namespace

TEST(TBitmap, LoadsEveryDepthAndRowOrder)
{
    struct Case {
        const char* Name;
        TBmpSpec Spec;
        TPixelFormat Format;
        const TGrid* Grid;
    };
    TBmpSpec rgb565 = Spec(kColors, 16, TEncoding::Rgb565, false);
    rgb565.Compression = 3;
    rgb565.Masks = { 0xF800, 0x07E0, 0x001F };
    TBmpSpec rgba = Spec(kColors, 32, TEncoding::Rgba32, true);
    rgba.Compression = 3;
    rgba.Masks = { 0x000000FF, 0x0000FF00, 0x00FF0000 };
    TBmpSpec v5 = Spec(kColors, 32, TEncoding::Bgrx32, false);
    v5.HeaderSize = 124;
    v5.Compression = 3;
    v5.Masks = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 };
    TBmpSpec core24 = Spec(kColors, 24, TEncoding::Bgr24, false);
    core24.HeaderSize = 12;
    TBmpSpec core8 = Spec(kColors, 8, TEncoding::Indexed, false);
    core8.HeaderSize = 12;
    core8.Palette.resize(256, 0);
    TBmpSpec shortTable = Spec(kColors, 8, TEncoding::Indexed, true);
    shortTable.ColorsUsed = static_cast<uint32_t>(kPalette.size());
    const Case kCases[] = {
        { "1 bit", Spec(kMono, 1, TEncoding::Indexed, false), pf1bit, &kMono },
        { "4 bits", Spec(kColors, 4, TEncoding::Indexed, false), pf4bit, &kColors },
        { "8 bits bottom-up", Spec(kColors, 8, TEncoding::Indexed, false), pf8bit, &kColors },
        { "8 bits top-down", shortTable, pf8bit, &kColors },
        { "16 bits 5-5-5", Spec(kColors, 16, TEncoding::Rgb555, false), pf15bit, &kColors },
        { "16 bits 5-6-5 bitfields", rgb565, pf16bit, &kColors },
        { "24 bits bottom-up", Spec(kColors, 24, TEncoding::Bgr24, false), pf24bit, &kColors },
        { "24 bits top-down", Spec(kColors, 24, TEncoding::Bgr24, true), pf24bit, &kColors },
        { "32 bits bottom-up", Spec(kColors, 32, TEncoding::Bgrx32, false), pf32bit, &kColors },
        { "32 bits top-down", Spec(kColors, 32, TEncoding::Bgrx32, true), pf32bit, &kColors },
        { "32 bits R,G,B,A bitfields", rgba, pf32bit, &kColors },
        { "32 bits V5 header", v5, pf32bit, &kColors },
        { "OS/2 core header 24 bits", core24, pf24bit, &kColors },
        { "OS/2 core header 8 bits", core8, pf8bit, &kColors },
        { "RLE8", RleSpec(false, false), pf8bit, &kColors },
        { "RLE8 with a delta", RleSpec(false, true), pf8bit, &kColors },
        { "RLE4", RleSpec(true, false), pf4bit, &kColors },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TBitmap bitmap;
        LoadBytes(bitmap, BmpFile(c.Spec));
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        EXPECT_EQ(bitmap.HandleType(), bmDIB);
        ExpectGrid(bitmap, *c.Grid);
    }
}

TEST(TBitmap, SaveAndLoadKeepFormatAndPixels)
{
    struct Case {
        TPixelFormat Format;
        TPixelFormat Loaded;
        std::vector<TColor> Colors;
    };
    // Colours each format holds exactly: the two of 1 bit, VGA colours for 4 bits, halftone ones for 8.
    const std::vector<TColor> kPure = { clRed, clLime, clBlue, clWhite, clBlack, clYellow, clFuchsia };
    const Case kCases[] = {
        { pf1bit, pf1bit, { clBlack, clWhite } },
        { pf4bit, pf4bit, kPure },
        { pf8bit, pf8bit, kPure },
        { pf15bit, pf15bit, kPure },
        { pf16bit, pf16bit, kPure },
        { pf24bit, pf24bit, { clRed, clLime, clBlue, 0x123456, 0x0A0B0C, clWhite, clBlack } },
        { pf32bit, pf32bit, { clRed, clLime, clBlue, 0x123456, 0x0A0B0C, clWhite, clBlack } },
        // A device bitmap is 32 bits; its file is an ordinary 32-bit DIB.
        { pfDevice, pf32bit, { clRed, 0x123456, clBlack } },
    };
    TTempFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.Format));
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.Format);
        bitmap.SetSize(7, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 7; ++x)
                bitmap.Canvas()->SetPixels(x, y, c.Colors[(x + y) % c.Colors.size()]);
        }
        std::string path = folder.Path("round.bmp");
        bitmap.SaveToFile(path);
        TBitmap loaded;
        loaded.LoadFromFile(path);
        EXPECT_EQ(loaded.PixelFormat(), c.Loaded);
        ASSERT_EQ(loaded.Width(), 7);
        ASSERT_EQ(loaded.Height(), 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 7; ++x) {
                EXPECT_EQ(PixelOf(loaded, x, y), static_cast<uint32_t>(c.Colors[(x + y) % c.Colors.size()]))
                    << x << "," << y;
            }
        }
        // Saving what was loaded gives the same file.
        std::string again = folder.Path("again.bmp");
        loaded.SaveToFile(again);
        EXPECT_EQ(ReadFile(path), ReadFile(again));
    }
}

TEST(TBitmap, BadFilesRaiseAndKeepThePicture)
{
    const std::vector<uint8_t> good24 = BmpFile(Spec(kColors, 24, TEncoding::Bgr24, false));
    auto mutate = [&](size_t offset, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> file = good24;
        std::copy(bytes.begin(), bytes.end(), file.begin() + offset);
        return file;
    };
    auto le32 = [](uint32_t v) {
        return std::vector<uint8_t> { uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24) };
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good24.begin(), good24.begin() + size); };
    TBmpSpec huge = Spec(kColors, 24, TEncoding::Bgr24, false);
    huge.Width = 60000;
    huge.Height = 60000;
    TBmpSpec hugeRle = RleSpec(false, false);
    hugeRle.Width = 30000;
    hugeRle.Height = 30000;
    TBmpSpec rleOverrun = RleSpec(false, false);
    rleOverrun.Pixels = { 1, 4, 0, 200, 1, 2 };
    TBmpSpec rleShort = RleSpec(false, false);
    rleShort.Pixels = { 1, 4, 1, 0, 1, 5, 0, 0, 3 };
    TBmpSpec rleTopDown = RleSpec(false, false);
    rleTopDown.Height = -2;
    TBmpSpec rle24 = RleSpec(false, false);
    rle24.BitCount = 24;
    TBmpSpec gappyMask = Spec(kColors, 16, TEncoding::Rgb565, false);
    gappyMask.Compression = 3;
    gappyMask.Masks = { 0xF00F, 0x07E0, 0x001F };
    TBmpSpec bitfields24 = Spec(kColors, 24, TEncoding::Bgr24, false);
    bitfields24.Compression = 3;
    bitfields24.Masks = { 0xFF0000, 0xFF00, 0xFF };
    TBmpSpec manyColors = Spec(kColors, 8, TEncoding::Indexed, false);
    manyColors.ColorsUsed = 0xFFFFFFFF;

    constexpr const char* kInvalid = "Bitmap image is not valid";
    constexpr const char* kSize = "Invalid image size";
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
        const char* Message;
    };
    const Case kCases[] = {
        { "not BM", mutate(0, { 'B', 'X' }), kInvalid },
        { "only the file header", cut(14), kInvalid },
        { "cut in the info header", cut(30), kInvalid },
        { "cut in the pixels", cut(good24.size() - 1), kInvalid },
        { "unknown header size", mutate(14, le32(20)), kInvalid },
        { "zero width", mutate(18, le32(0)), kInvalid },
        { "negative width", mutate(18, le32(static_cast<uint32_t>(-3))), kInvalid },
        { "zero height", mutate(22, le32(0)), kInvalid },
        { "lowest height", mutate(22, le32(static_cast<uint32_t>(INT_MIN))), kSize },
        { "7 bits a pixel", mutate(28, { 7, 0 }), kInvalid },
        { "JPEG compression", mutate(30, le32(4)), kInvalid },
        { "unknown compression", mutate(30, le32(9)), kInvalid },
        { "huge sides", mutate(18, le32(100000)), kSize },
        { "large image with no pixels", BmpFile(huge), kInvalid },
        { "RLE expanding past the limit", BmpFile(hugeRle), kSize },
        { "RLE absolute run past the data", BmpFile(rleOverrun), kInvalid },
        { "RLE ending mid-image", BmpFile(rleShort), kInvalid },
        { "RLE top-down", BmpFile(rleTopDown), kInvalid },
        { "RLE with 24 bits", BmpFile(rle24), kInvalid },
        { "mask with a gap", BmpFile(gappyMask), kInvalid },
        { "bitfields with 24 bits", BmpFile(bitfields24), kInvalid },
        { "colour table beyond the file", BmpFile(manyColors), kInvalid },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TBitmap bitmap;
        LoadBytes(bitmap, good24);
        try {
            LoadBytes(bitmap, c.Bytes);
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
        EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
        ExpectGrid(bitmap, kColors);
    }
}

TEST(TBitmap, EmptyStreamIsAnEmptyBitmap)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 3);
    LoadBytes(bitmap, {});
    EXPECT_TRUE(bitmap.Empty());
    TMemoryStream saved;
    bitmap.SaveToStream(saved);
    EXPECT_EQ(saved.Size(), 0);
}

TEST(TBitmap, ReadingStopsAtTheEndOfTheFile)
{
    std::vector<uint8_t> bytes = BmpFile(Spec(kColors, 24, TEncoding::Bgr24, false));
    const size_t fileSize = bytes.size();
    bytes.insert(bytes.end(), { 'n', 'e', 'x', 't' });
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(fileSize));
}

TEST(TBitmap, ScanLinesAreRowsFromTheTop)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(4, 3);
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(2));
    row[3] = 0x30; // pixel 1: blue, green, red
    row[4] = 0x20;
    row[5] = 0x10;
    EXPECT_EQ(PixelOf(bitmap, 1, 2), 0x302010u);
    for (int bad : { -1, 3 }) {
        try {
            bitmap.ScanLine(bad);
            ADD_FAILURE() << bad;
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_EQ(e.Message(), "Scan line index out of range");
        }
    }
}

TEST(TBitmap, ResizingKeepsTheDrawingAndPaintsNewPixelsWhite)
{
    TBitmap bitmap;
    EXPECT_EQ(bitmap.HandleType(), bmDDB);
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), static_cast<uint32_t>(clWhite));
    bitmap.Canvas()->SetPixels(1, 1, clRed);
    bitmap.SetSize(4, 3);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), static_cast<uint32_t>(clRed));
    EXPECT_EQ(PixelOf(bitmap, 3, 2), static_cast<uint32_t>(clWhite));
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Height(), 3);
    // Sizes no bitmap can hold fail without touching the bitmap.
    bitmap.SetSize(2, 2);
    EXPECT_THROW(bitmap.SetSize(1 << 20, 1 << 20), EOutOfResources);
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(TBitmap, PixelFormatChangesConvertThePixels)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 1);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    bitmap.Canvas()->SetPixels(1, 0, 0x202020);
    bitmap.Canvas()->SetPixels(2, 0, 0xF0F0F0);
    bitmap.SetPixelFormat(pf8bit);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), static_cast<uint32_t>(clRed));
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
    EXPECT_EQ(PixelOf(bitmap, 1, 0), static_cast<uint32_t>(clBlack));
    EXPECT_EQ(PixelOf(bitmap, 2, 0), static_cast<uint32_t>(clWhite));
    bitmap.SetHandleType(bmDDB);
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    bitmap.SetHandleType(bmDIB);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelOf(bitmap, 2, 0), static_cast<uint32_t>(clWhite));
    EXPECT_THROW(bitmap.SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(TBitmap, TransparentDrawingLeavesTheKeyColourOut)
{
    TBitmap sprite;
    sprite.SetPixelFormat(pf24bit);
    sprite.SetSize(2, 2);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(Rect(0, 0, 2, 2));
    sprite.Canvas()->SetPixels(1, 0, clBlue);
    // Automatic: the bottom-left pixel, marked as the framework marks it.
    EXPECT_EQ(sprite.TransparentMode(), tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia | 0x02000000);
    sprite.SetTransparent(true);

    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(2, 2);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, 2, 2));
    target.Canvas()->Draw(0, 0, &sprite);
    EXPECT_EQ(PixelOf(target, 0, 0), static_cast<uint32_t>(clLime));
    EXPECT_EQ(PixelOf(target, 1, 0), static_cast<uint32_t>(clBlue));

    // Fixed: any colour; setting clDefault returns to automatic.
    sprite.SetTransparentColor(clBlue);
    EXPECT_EQ(sprite.TransparentMode(), tmFixed);
    target.Canvas()->FillRect(Rect(0, 0, 2, 2));
    target.Canvas()->Draw(0, 0, &sprite);
    EXPECT_EQ(PixelOf(target, 0, 0), static_cast<uint32_t>(clFuchsia));
    EXPECT_EQ(PixelOf(target, 1, 0), static_cast<uint32_t>(clLime));
    sprite.SetTransparentMode(tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia | 0x02000000);
}

TEST(TBitmap, AssignCopiesPixelsAndSettings)
{
    TBitmap source;
    source.SetPixelFormat(pf8bit);
    source.SetSize(2, 2);
    source.Canvas()->SetPixels(0, 0, clRed);
    source.SetTransparent(true);
    source.SetTransparentColor(clRed);
    TBitmap copy;
    copy.Assign(&source);
    source.Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentMode(), tmFixed);
    EXPECT_EQ(PixelOf(copy, 0, 0), static_cast<uint32_t>(clRed));
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(TBitmap, DrawingOnTheCanvasReportsAChange)
{
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &bitmap);
        ++changes;
    };
    bitmap.SetModified(false);
    bitmap.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(bitmap.Modified());
}

TEST(TBitmap, HandlesCanBeTakenOverAndHandedOut)
{
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info {};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = 2;
    info.Header.biHeight = -2;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 8;
    info.Colors[1] = RGBQUAD { 0x00, 0x00, 0xFF, 0 };
    void* bits = nullptr;
    HBITMAP section
        = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    static_cast<uint8_t*>(bits)[1] = 1; // top row, second pixel: red

    {
        // The stock objects a canvas hands back are made on first use; make them before counting.
        TBitmap warmUp;
        warmUp.SetSize(1, 1);
        warmUp.Canvas()->FillRect(Rect(0, 0, 1, 1));
    }
    const size_t objects = GdiObjectCount();
    {
        TBitmap bitmap;
        bitmap.SetHandle(section);
        EXPECT_EQ(bitmap.Handle(), section);
        EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
        EXPECT_EQ(PixelOf(bitmap, 1, 0), static_cast<uint32_t>(clRed));

        HBITMAP released = bitmap.ReleaseHandle();
        EXPECT_EQ(released, section);
        EXPECT_NE(bitmap.Handle(), section);
        EXPECT_EQ(PixelOf(bitmap, 1, 0), static_cast<uint32_t>(clRed));
        EXPECT_TRUE(DeleteObject(released));
    }
    // The section was counted; everything else the bitmap made (its copy, DC and tools) is gone with it.
    EXPECT_EQ(GdiObjectCount(), objects - 1);
}
