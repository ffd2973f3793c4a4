#include "GdiTestSupport.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

using GdiBitmaps = GdiTest;

// A BITMAPINFO with room for a full colour table or the three masks.
struct TInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];

    TInfo(int width, int height, int bitCount, DWORD compression = BI_RGB)
        : Header { sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bitCount), compression, 0, 0, 0, 0, 0 }
        , Colors {}
    {
    }
    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// Colours every format holds exactly: black, white and the primaries at full strength.
constexpr COLORREF kExact[]
    = { RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0) };

} // namespace

TEST_F(GdiBitmaps, EveryDIBFormatRoundTripsThroughGetAndSetDIBits)
{
    struct Case {
        int BitCount;
        bool TopDown;
        int Colors; // how many of kExact the format keeps (1 bit: black and white)
    };
    const Case kCases[] = {
        { 1, false, 2 },
        { 1, true, 2 },
        { 4, false, 6 },
        { 8, true, 6 },
        { 8, false, 6 },
        { 16, false, 6 },
        { 16, true, 6 },
        { 24, false, 6 },
        { 24, true, 6 },
        { 32, false, 6 },
        { 32, true, 6 },
    };
    const int width = 7;
    const int height = 5;
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.BitCount) + (c.TopDown ? " top-down" : " bottom-up"));
        // Paint a pattern on a 32-bit bitmap, copy it out in the format, into a second bitmap, and compare.
        TTestCanvas source(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                SetPixel(source.Dc, x, y, kExact[(x + 2 * y) % c.Colors]);
        TInfo info(width, c.TopDown ? -height : height, c.BitCount);
        std::vector<uint8_t> bits(size_t(((width * c.BitCount + 31) / 32) * 4 * height));
        ASSERT_EQ(GetDIBits(source.Dc, source.Bitmap, 0, height, bits.data(), info.Get(), DIB_RGB_COLORS), height);
        EXPECT_EQ(info.Header.biSizeImage, bits.size());
        TTestCanvas copy(width, height, RGB(1, 2, 3));
        ASSERT_EQ(SetDIBits(copy.Dc, copy.Bitmap, 0, height, bits.data(), info.Get(), DIB_RGB_COLORS), height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(copy.At(x, y), source.At(x, y)) << x << "," << y;
        // The row order in memory: the first row is the bottom one of a bottom-up DIB, the top one of a top-down DIB.
        TInfo one(width, 1, c.BitCount);
        std::memcpy(one.Colors, info.Colors, sizeof info.Colors);
        TTestCanvas firstRow(width, 1);
        ASSERT_EQ(SetDIBits(firstRow.Dc, firstRow.Bitmap, 0, 1, bits.data(), one.Get(), DIB_RGB_COLORS), 1);
        const int expectedRow = c.TopDown ? 0 : height - 1;
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(firstRow.At(x, 0), source.At(x, expectedRow)) << x;
    }
}

TEST_F(GdiBitmaps, DIBSectionsExposeTheirMemoryInTheRequestedOrder)
{
    for (bool topDown : { true, false }) {
        SCOPED_TRACE(topDown);
        TInfo info(3, topDown ? -2 : 2, 24);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        ASSERT_NE(bits, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));
        // The top-left pixel sits at the start of memory (top-down) or of the last row (bottom-up, rows of 12 bytes).
        const uint8_t* p = static_cast<uint8_t*>(bits) + (topDown ? 0 : 12);
        EXPECT_EQ(p[0], 0x33);
        EXPECT_EQ(p[1], 0x22);
        EXPECT_EQ(p[2], 0x11);
        DIBSECTION ds {};
        ASSERT_EQ(GetObject(bitmap, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
        EXPECT_EQ(ds.dsBmih.biHeight, topDown ? -2 : 2);
        EXPECT_EQ(ds.dsBmih.biSizeImage, 24u);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST_F(GdiBitmaps, ANewBitmapIsBlackEvenWhereAnEarlierOneLeftItsPixels)
{
    // Each large enough to come from the system or from a block just given back; a small one reuses the heap.
    for (const int side : { 1024, 1024, 16 }) {
        SCOPED_TRACE(side);
        TInfo info(side, side, 32);
        void* bits = nullptr;
        HBITMAP used = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bits, nullptr);
        std::memset(bits, 0xFF, size_t(side) * size_t(side) * 4);
        DeleteObject(used);
        HBITMAP fresh = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bits, nullptr);
        const auto* bytes = static_cast<const uint8_t*>(bits);
        EXPECT_TRUE(std::all_of(bytes, bytes + size_t(side) * size_t(side) * 4, [](uint8_t b) { return b == 0; }));
        HBITMAP ddb = CreateBitmap(side, side, 1, 32, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, ddb);
        EXPECT_EQ(GetPixel(dc, side - 1, side - 1), RGB(0, 0, 0));
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(ddb);
        DeleteObject(fresh);
    }
}

// Copies out of a 24-bit bitmap read its rows several pixels at a time: every start and length along a row,
// up to its last byte, must give each pixel's own colour (a single row, so nothing follows it in memory).
TEST_F(GdiBitmaps, TwentyFourBitRowsCopyAtEveryStartAndLength)
{
    const int width = 29;
    TInfo info(width, -1, 24);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    auto* bytes = static_cast<uint8_t*>(bits);
    for (int i = 0; i < width * 3; ++i)
        bytes[i] = uint8_t(i * 37 + 11);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    TTestCanvas copy(width, 1);
    for (int x = 0; x < width; ++x)
        for (int n = 1; x + n <= width; ++n) {
            copy.Fill(RGB(1, 2, 3));
            ASSERT_TRUE(BitBlt(copy.Dc, 0, 0, n, 1, source, x, 0, SRCCOPY));
            for (int i = 0; i < n; ++i) {
                const uint8_t* p = bytes + (x + i) * 3;
                ASSERT_EQ(copy.At(i, 0), PixelFromColor(RGB(p[2], p[1], p[0]))) << x << "+" << n << " at " << i;
            }
            if (n < width)
                ASSERT_TRUE(copy.Is(n, 0, RGB(1, 2, 3))) << "nothing past the copied pixels";
        }
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(bitmap);
}

TEST_F(GdiBitmaps, PalettedDIBSectionsDrawInTheirTableColours)
{
    TInfo info(4, 4, 8);
    info.Header.biClrUsed = 3;
    info.Colors[0] = RGBQUAD { 0, 0, 0, 0 };
    info.Colors[1] = RGBQUAD { 0, 0, 200, 0 }; // red 200
    info.Colors[2] = RGBQUAD { 0, 200, 0, 0 };
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT r { 0, 0, 4, 2 };
    FillRect(dc, &r, red);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(200, 0, 0)) << "the nearest table colour";
    EXPECT_EQ(static_cast<uint8_t*>(bits)[3 * 4], 1) << "index 1 in the top row (the last in memory)";
    RGBQUAD table[3];
    EXPECT_EQ(GetDIBColorTable(dc, 0, 3, table), 3u);
    EXPECT_EQ(table[1].rgbRed, 200);
    table[1] = RGBQUAD { 255, 0, 0, 0 };
    EXPECT_EQ(SetDIBColorTable(dc, 1, 1, &table[1]), 1u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255)) << "the same index shows the new colour";
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(GdiBitmaps, BadSizesAndFormatsFailCleanly)
{
    struct Case {
        const char* Name;
        LONG Width;
        LONG Height;
        WORD BitCount;
        DWORD Compression;
    };
    const Case kCases[] = {
        { "zero width", 0, 4, 32, BI_RGB },
        { "zero height", 4, 0, 32, BI_RGB },
        { "negative width", -4, 4, 32, BI_RGB },
        { "most negative height", 4, INT_MIN, 32, BI_RGB },
        { "huge", 100000, 100000, 32, BI_RGB },
        { "huge width", INT_MAX, 1, 32, BI_RGB },
        { "unknown depth", 4, 4, 12, BI_RGB },
        { "run-length", 4, 4, 8, BI_RLE8 },
        { "bitfields on 24 bits", 4, 4, 24, BI_BITFIELDS },
        { "bitfields without masks", 4, 4, 16, BI_BITFIELDS },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TInfo info(c.Width, c.Height, c.BitCount, c.Compression);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
    TInfo small(4, 4, 32);
    small.Header.biSize = 12;
    EXPECT_EQ(CreateDIBSection(nullptr, small.Get(), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    TInfo good(4, 4, 32);
    EXPECT_EQ(CreateDIBSection(nullptr, good.Get(), DIB_RGB_COLORS, nullptr, reinterpret_cast<HANDLE>(1), 0), nullptr)
        << "file mappings are not supported";
    EXPECT_EQ(CreateDIBSection(nullptr, good.Get(), 7, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateBitmap(0, 5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(5, -5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(70000, 70000, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(5, 5, 2, 32, nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 5, 5), nullptr);
    // A zero size gives the 1x1 monochrome bitmap, as on Windows.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP tiny = CreateCompatibleBitmap(dc, 0, 10);
    BITMAP bm {};
    GetObject(tiny, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 10), nullptr);
    // GetDIBits needs a DC and a bitmap; scan lines past the bitmap copy nothing.
    TInfo info(1, 1, 32);
    uint32_t pixel = 0;
    EXPECT_EQ(GetDIBits(nullptr, tiny, 0, 1, &pixel, info.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(dc, nullptr, 0, 1, &pixel, info.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(dc, tiny, 5, 1, &pixel, info.Get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBits(dc, tiny, 0, 1, nullptr, info.Get(), DIB_RGB_COLORS), 0);
    DeleteObject(tiny);
    DeleteDC(dc);
}

TEST_F(GdiBitmaps, GetDIBitsDescribesABitmapWhenAskedForItsHeader)
{
    HBITMAP bitmap = CreateBitmap(10, 6, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    TInfo info(0, 0, 0);
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, 0, nullptr, info.Get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(info.Header.biWidth, 10);
    EXPECT_EQ(info.Header.biHeight, 6);
    EXPECT_EQ(info.Header.biBitCount, 32);
    EXPECT_EQ(info.Header.biSizeImage, 240u);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(GdiBitmaps, CreateDIBitmapAndBitmapBitsCopyPixels)
{
    // A 2x2 4-bit bottom-up DIB with a two-colour table.
    TInfo info(2, 2, 4);
    info.Header.biClrUsed = 2;
    info.Colors[0] = RGBQUAD { 0, 0, 255, 0 };
    info.Colors[1] = RGBQUAD { 255, 0, 0, 0 };
    const uint8_t bits[8] = { 0x01, 0, 0, 0, 0x10, 0, 0, 0 }; // bottom row: 0 1; top row: 1 0
    HDC screen = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info.Header, CBM_INIT, bits, info.Get(), DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(screen, bitmap);
    EXPECT_EQ(GetPixel(screen, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(screen, 1, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(screen, 0, 1), RGB(255, 0, 0));
    SelectObject(screen, old);
    uint32_t raw[4] = {};
    EXPECT_EQ(GetBitmapBits(bitmap, sizeof raw, raw), LONG(sizeof raw));
    EXPECT_EQ(raw[0] & 0xFFFFFF, 0x0000FFu);
    raw[3] = 0x00123456;
    EXPECT_EQ(SetBitmapBits(bitmap, sizeof raw, raw), LONG(sizeof raw));
    SelectObject(screen, bitmap);
    EXPECT_EQ(GetPixel(screen, 1, 1), RGB(0x12, 0x34, 0x56));
    SelectObject(screen, old);
    DeleteObject(bitmap);
    DeleteDC(screen);
}

TEST_F(GdiBitmaps, PalettesKeepTheirEntriesAndFindTheNearest)
{
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
    log->palVersion = 0x300;
    log->palNumEntries = 3;
    log->palPalEntry[0] = PALETTEENTRY { 0, 0, 0, 0 };
    reinterpret_cast<PALETTEENTRY*>(&log->palPalEntry[0])[1] = PALETTEENTRY { 250, 0, 0, 0 };
    reinterpret_cast<PALETTEENTRY*>(&log->palPalEntry[0])[2] = PALETTEENTRY { 0, 0, 250, 0 };
    HPALETTE palette = CreatePalette(log);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(200, 10, 10)), 1u);
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(10, 10, 255)), 2u);
    PALETTEENTRY entries[4] = {};
    EXPECT_EQ(GetPaletteEntries(palette, 1, 4, entries), 2u);
    EXPECT_EQ(entries[0].peRed, 250);
    EXPECT_TRUE(ResizePalette(palette, 5));
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 5u);
    const PALETTEENTRY green { 0, 255, 0, 0 };
    EXPECT_EQ(SetPaletteEntries(palette, 4, 1, &green), 1u);
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(0, 200, 0)), 4u);
    EXPECT_EQ(SetPaletteEntries(palette, 9, 1, &green), 0u);
    HPALETTE halftone = CreateHalftonePalette(nullptr);
    EXPECT_EQ(GetPaletteEntries(halftone, 0, 0, nullptr), 256u);
    EXPECT_EQ(GetPaletteEntries(halftone, 255, 1, entries), 1u);
    EXPECT_EQ(entries[0].peRed, 255) << "white closes the table";
    // A true-colour display realizes nothing, and the DC keeps the palette it was given.
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(dc), 0u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette);
    SelectPalette(dc, previous, FALSE);
    DeleteDC(dc);
    DeleteObject(palette);
    DeleteObject(halftone);
    EXPECT_EQ(GetNearestPaletteIndex(palette, 0), CLR_INVALID);
}
