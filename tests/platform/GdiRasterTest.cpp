#include "GdiTestSupport.h"

#include <algorithm>
#include <cstring>

namespace {

using GdiRaster = GdiTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Pixel (x, y) of the test source: every pixel different, alpha carrying a value of its own.
uint32_t SourceValue(int x, int y)
{
    return (uint32_t(0x10 + y) << 24) | (uint32_t(x * 16 + 3) << 16) | (uint32_t(y * 16 + 5) << 8)
        | uint32_t(x + y * 7);
}

void FillSource(TTestCanvas& canvas)
{
    for (int y = 0; y < canvas.Height; ++y)
        for (int x = 0; x < canvas.Width; ++x)
            static_cast<uint32_t*>(canvas.Bits)[y * canvas.Width + x] = SourceValue(x, y);
}

// The ternary raster operation by its truth table, as the reference for the table test.
uint32_t Reference(uint8_t code, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t out = 0;
    for (int bit = 0; bit < 32; ++bit) {
        const int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        out |= uint32_t((code >> index) & 1) << bit;
    }
    return out;
}

} // namespace

TEST_F(GdiRaster, EveryRasterOperationMatchesItsTruthTable)
{
    const DWORD kRops[] = { SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
        MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, 0x00B8074A, 0x00E20746 };
    TTestCanvas source(8, 8);
    FillSource(source);
    const COLORREF brushColor = RGB(0x5A, 0xC3, 0x0F);
    HBRUSH brush = CreateSolidBrush(brushColor);
    for (DWORD rop : kRops) {
        SCOPED_TRACE(rop);
        TTestCanvas dest(8, 8);
        for (int i = 0; i < 64; ++i)
            static_cast<uint32_t*>(dest.Bits)[i] = 0x80000000u | uint32_t(i * 0x030507);
        HGDIOBJ old = SelectObject(dest.Dc, brush);
        EXPECT_TRUE(BitBlt(dest.Dc, 0, 0, 8, 8, source.Dc, 0, 0, rop));
        SelectObject(dest.Dc, old);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint32_t d = 0x80000000u | uint32_t((y * 8 + x) * 0x030507);
                ASSERT_EQ(
                    dest.Raw(x, y), Reference(uint8_t(rop >> 16), PixelFromColor(brushColor), SourceValue(x, y), d))
                    << x << "," << y;
            }
    }
    DeleteObject(brush);
}

TEST_F(GdiRaster, PatBltRefusesOperationsThatNeedASource)
{
    TTestCanvas canvas(4, 4, RGB(1, 2, 3));
    EXPECT_FALSE(PatBlt(canvas.Dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(PatBlt(canvas.Dc, 3, 3, -2, -2, DSTINVERT)) << "negative sizes extend the other way";
    EXPECT_EQ(canvas.Ink(RGB(1, 2, 3)), (RECT { 1, 1, 3, 3 }));
    // A null brush paints nothing with a pattern operation.
    SelectObject(canvas.Dc, GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(canvas.Dc, 0, 0, 4, 4, PATCOPY));
    EXPECT_TRUE(canvas.Is(0, 0, RGB(1, 2, 3)));
}

TEST_F(GdiRaster, StretchBltMirrorsWithNegativeSizesAndScales)
{
    TTestCanvas source(4, 2);
    FillSource(source);
    struct Case {
        const char* Name;
        int X, Y, W, H; // destination
        int SX, SY, SW, SH;
        // Destination (x, y) -> the source pixel it shows.
        POINT (*Map)(int x, int y);
    };
    const Case kCases[] = {
        { "copy", 0, 0, 4, 2, 0, 0, 4, 2,
            [](int x, int y) {
                return POINT { x, y };
            } },
        { "mirror by destination width", 4, 0, -4, 2, 0, 0, 4, 2,
            [](int x, int y) {
                return POINT { 3 - x, y };
            } },
        { "mirror by source width", 0, 0, 4, 2, 4, 0, -4, 2,
            [](int x, int y) {
                return POINT { 3 - x, y };
            } },
        { "both negative is upright", 4, 0, -4, 2, 4, 0, -4, 2,
            [](int x, int y) {
                return POINT { x, y };
            } },
        { "flip vertically", 0, 2, 4, -2, 0, 0, 4, 2,
            [](int x, int y) {
                return POINT { x, 1 - y };
            } },
        { "double", 0, 0, 8, 4, 0, 0, 4, 2,
            [](int x, int y) {
                return POINT { x / 2, y / 2 };
            } },
        { "double and mirror", 8, 4, -8, -4, 0, 0, 4, 2,
            [](int x, int y) {
                return POINT { 3 - x / 2, 1 - y / 2 };
            } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas dest(8, 4, kWhite);
        SetStretchBltMode(dest.Dc, COLORONCOLOR);
        EXPECT_TRUE(StretchBlt(dest.Dc, c.X, c.Y, c.W, c.H, source.Dc, c.SX, c.SY, c.SW, c.SH, SRCCOPY));
        const RECT area { std::min(c.X, c.X + c.W), std::min(c.Y, c.Y + c.H), std::max(c.X, c.X + c.W),
            std::max(c.Y, c.Y + c.H) };
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const POINT s = c.Map(x - area.left, y - area.top);
                ASSERT_EQ(dest.Raw(x, y), SourceValue(s.x, s.y)) << x << "," << y;
            }
    }
}

TEST_F(GdiRaster, ShrinkingStretchModesFoldPixelsTheirOwnWay)
{
    // Four pixels fold into one: AND, OR, average, or one of them.
    TTestCanvas source(4, 1);
    const uint32_t values[4] = { 0x00F0F0F0, 0x00CCCCCC, 0x00AAAAAA, 0x00FF0000 };
    std::memcpy(source.Bits, values, sizeof values);
    struct Case {
        int Mode;
        uint32_t Expected;
    };
    const Case kCases[] = {
        { BLACKONWHITE, 0x00F0F0F0 & 0x00CCCCCC & 0x00AAAAAA & 0x00FF0000 },
        { WHITEONBLACK, 0x00F0F0F0 | 0x00CCCCCC | 0x00AAAAAA | 0x00FF0000 },
        { HALFTONE, 0x00D99A9A }, // (F0+CC+AA+FF)/4 = D9.4, (F0+CC+AA+00)/4 = 99.8
        { COLORONCOLOR, 0x00AAAAAA }, // the pixel under the centre
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Mode);
        TTestCanvas dest(1, 1);
        SetStretchBltMode(dest.Dc, c.Mode);
        EXPECT_TRUE(StretchBlt(dest.Dc, 0, 0, 1, 1, source.Dc, 0, 0, 4, 1, SRCCOPY));
        EXPECT_EQ(dest.Raw(0, 0), c.Expected);
    }
}

TEST_F(GdiRaster, OverlappingBlitsWithinOneSurfaceReadTheOldPixels)
{
    for (int dy : { -1, 1 }) {
        SCOPED_TRACE(dy);
        TTestCanvas canvas(4, 6);
        FillSource(canvas);
        // Scrolls rows 1..4 by one row.
        EXPECT_TRUE(BitBlt(canvas.Dc, 0, 1 + dy, 4, 4, canvas.Dc, 0, 1, SRCCOPY));
        for (int y = 1; y < 5; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(canvas.Raw(x, y + dy), SourceValue(x, y)) << x << "," << y;
    }
}

TEST_F(GdiRaster, MonochromeBlitsUseTheDCColours)
{
    // Colour to monochrome: the source DC's background colour becomes 1 (white), everything else 0.
    TTestCanvas colour(4, 1, RGB(9, 9, 9));
    SetPixel(colour.Dc, 1, 0, RGB(255, 0, 255));
    SetPixel(colour.Dc, 3, 0, RGB(255, 0, 255));
    SetBkColor(colour.Dc, RGB(255, 0, 255));
    HBITMAP mask = CreateBitmap(4, 1, 1, 1, nullptr);
    HDC maskDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(maskDc, mask);
    EXPECT_TRUE(BitBlt(maskDc, 0, 0, 4, 1, colour.Dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(maskDc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(maskDc, 1, 0), kWhite);
    EXPECT_EQ(GetPixel(maskDc, 3, 0), kWhite);
    // Monochrome to colour: 0 takes the destination's text colour, 1 its background colour.
    TTestCanvas dest(4, 1);
    SetTextColor(dest.Dc, RGB(10, 20, 30));
    SetBkColor(dest.Dc, RGB(200, 100, 50));
    EXPECT_TRUE(BitBlt(dest.Dc, 0, 0, 4, 1, maskDc, 0, 0, SRCCOPY));
    EXPECT_TRUE(dest.Is(0, 0, RGB(10, 20, 30)));
    EXPECT_TRUE(dest.Is(1, 0, RGB(200, 100, 50)));
    // The classic masked draw: AND with the mask (black text, white background), then OR in the image.
    TTestCanvas target(4, 1, RGB(0, 128, 0));
    SetTextColor(target.Dc, kBlack);
    SetBkColor(target.Dc, kWhite);
    BitBlt(target.Dc, 0, 0, 4, 1, maskDc, 0, 0, SRCAND);
    EXPECT_TRUE(target.Is(0, 0, kBlack));
    EXPECT_TRUE(target.Is(1, 0, RGB(0, 128, 0)));
    // CreateCompatibleBitmap on a fresh memory DC is monochrome, as on Windows.
    HBITMAP compatible = CreateCompatibleBitmap(maskDc, 2, 2);
    BITMAP bm {};
    GetObject(compatible, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HDC fresh = CreateCompatibleDC(nullptr);
    HBITMAP fromScreen = CreateCompatibleBitmap(dest.Dc, 2, 2);
    GetObject(fromScreen, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    SelectObject(maskDc, old);
    for (HGDIOBJ o : { HGDIOBJ(mask), HGDIOBJ(compatible), HGDIOBJ(fromScreen) })
        DeleteObject(o);
    DeleteDC(maskDc);
    DeleteDC(fresh);
}

TEST_F(GdiRaster, AlphaBlendFollowsThePremultipliedFormula)
{
    struct Case {
        const char* Name;
        uint32_t Source;
        uint32_t Dest;
        BYTE Constant;
        BYTE Format;
        uint32_t Expected;
    };
    const Case kCases[] = {
        { "opaque source", 0xFF112233, 0xFF808080, 255, AC_SRC_ALPHA, 0xFF112233 },
        { "transparent source", 0x00000000, 0xFF808080, 255, AC_SRC_ALPHA, 0xFF808080 },
        // Not premultiplied: colour under zero alpha is added, not dropped as a clear pixel would be.
        { "colour under zero alpha", 0x00404040, 0xFF808080, 255, AC_SRC_ALPHA, 0xFFC0C0C0 },
        // 50% premultiplied white over black: 0x80 + 0 * (1 - 0x80/255).
        { "half alpha", 0x80808080, 0xFF000000, 255, AC_SRC_ALPHA, 0xFF808080 },
        // Constant alpha only: d = s * 0x40/255 + d * (255 - 0x40)/255.
        { "constant alpha", 0x00FF0000, 0x000000FF, 0x40, 0, 0x004000BF },
        { "constant and pixel alpha", 0x80800000, 0xFF0000FF, 0x80, AC_SRC_ALPHA, 0xFF4000BF },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas source(2, 2);
        TTestCanvas dest(2, 2);
        for (int i = 0; i < 4; ++i) {
            static_cast<uint32_t*>(source.Bits)[i] = c.Source;
            static_cast<uint32_t*>(dest.Bits)[i] = c.Dest;
        }
        const BLENDFUNCTION blend { AC_SRC_OVER, 0, c.Constant, c.Format };
        EXPECT_TRUE(AlphaBlend(dest.Dc, 0, 0, 2, 2, source.Dc, 0, 0, 2, 2, blend));
        EXPECT_EQ(dest.Raw(1, 1), c.Expected);
    }
    TTestCanvas source(2, 2);
    TTestCanvas dest(2, 2);
    const BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    EXPECT_FALSE(AlphaBlend(dest.Dc, 0, 0, -2, 2, source.Dc, 0, 0, 2, 2, blend));
    EXPECT_FALSE(AlphaBlend(dest.Dc, 0, 0, 2, 2, source.Dc, 1, 1, 2, 2, blend)) << "source outside its surface";
    const BLENDFUNCTION badOp { 1, 0, 255, 0 };
    EXPECT_FALSE(AlphaBlend(dest.Dc, 0, 0, 2, 2, source.Dc, 0, 0, 2, 2, badOp));
}

TEST_F(GdiRaster, TransparentBltSkipsTheKeyColour)
{
    TTestCanvas source(4, 1, RGB(255, 0, 255));
    SetPixel(source.Dc, 2, 0, RGB(1, 2, 3));
    TTestCanvas dest(8, 2, kWhite);
    EXPECT_TRUE(TransparentBlt(dest.Dc, 0, 0, 8, 2, source.Dc, 0, 0, 4, 1, RGB(255, 0, 255)));
    EXPECT_EQ(dest.Count(RGB(1, 2, 3)), 4) << "one source pixel, stretched 2x2";
    EXPECT_TRUE(dest.Is(4, 1, RGB(1, 2, 3)));
    EXPECT_EQ(dest.Count(kWhite), 12);
    EXPECT_FALSE(TransparentBlt(dest.Dc, 0, 0, 8, -2, source.Dc, 0, 0, 4, 1, 0));
}

TEST_F(GdiRaster, StretchDIBitsCountsBottomUpRowsFromTheBottom)
{
    // A 2x3 24-bit bottom-up DIB: memory row 0 is the bottom row.
    struct {
        BITMAPINFOHEADER Header;
    } info {};
    info.Header = BITMAPINFOHEADER { sizeof(BITMAPINFOHEADER), 2, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0 };
    // Rows padded to 8 bytes; pixel (x, memory row r) has blue = 10 * r + x.
    uint8_t bits[3 * 8] = {};
    for (int r = 0; r < 3; ++r)
        for (int x = 0; x < 2; ++x)
            bits[r * 8 + x * 3] = uint8_t(10 * r + x);
    TTestCanvas dest(2, 3);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(&info);
    EXPECT_EQ(StretchDIBits(dest.Dc, 0, 0, 2, 3, 0, 0, 2, 3, bits, bmi, DIB_RGB_COLORS, SRCCOPY), 3);
    // Upright: the top destination row shows the last memory row.
    EXPECT_EQ(dest.At(0, 0), 20u);
    EXPECT_EQ(dest.At(1, 2), 1u);
    // Source y 1, height 1: the middle row (one up from the bottom).
    dest.Fill(kWhite);
    StretchDIBits(dest.Dc, 0, 0, 2, 1, 0, 1, 2, 1, bits, bmi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dest.At(0, 0), 10u);
    // The same picture top-down counts from the top.
    info.Header.biHeight = -3;
    dest.Fill(kWhite);
    StretchDIBits(dest.Dc, 0, 0, 2, 1, 0, 0, 2, 1, bits, bmi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dest.At(0, 0), 0u);
    // SetDIBitsToDevice with a band of scan lines.
    info.Header.biHeight = 3;
    dest.Fill(kWhite);
    EXPECT_EQ(SetDIBitsToDevice(dest.Dc, 0, 0, 2, 3, 0, 0, 0, 3, bits, bmi, DIB_RGB_COLORS), 3);
    EXPECT_EQ(dest.At(0, 0), 20u);
    EXPECT_EQ(dest.At(0, 2), 0u);
    // Bad input.
    EXPECT_EQ(StretchDIBits(dest.Dc, 0, 0, 2, 3, 0, 0, 2, 3, nullptr, bmi, DIB_RGB_COLORS, SRCCOPY), 0);
    info.Header.biCompression = BI_RLE8;
    EXPECT_EQ(StretchDIBits(dest.Dc, 0, 0, 2, 3, 0, 0, 2, 3, bits, bmi, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST_F(GdiRaster, BlitsClipToSurfacesAndSurviveHugeArguments)
{
    TTestCanvas source(4, 4, RGB(1, 1, 1));
    TTestCanvas dest(4, 4, kWhite);
    // The part of the source rectangle outside the source leaves the destination alone.
    EXPECT_TRUE(BitBlt(dest.Dc, 0, 0, 4, 4, source.Dc, 2, 2, SRCCOPY));
    EXPECT_EQ(dest.Ink(kWhite), (RECT { 0, 0, 2, 2 }));
    const int big = INT32_MAX;
    EXPECT_TRUE(BitBlt(dest.Dc, -big, -big, big, big, source.Dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dest.Dc, 0, 0, big, big, source.Dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dest.Dc, 0, 0, 4, 4, source.Dc, 0, 0, big, big, SRCCOPY));
    EXPECT_TRUE(
        StretchBlt(dest.Dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, source.Dc, INT32_MIN, 0, -big, 1, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.Dc, 0, 0, 0, 0, source.Dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dest.Dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY)) << "no source DC";
    EXPECT_TRUE(BitBlt(dest.Dc, 0, 0, 4, 4, nullptr, 0, 0, BLACKNESS)) << "no source needed";
    EXPECT_EQ(dest.Count(kBlack), 16);
}
