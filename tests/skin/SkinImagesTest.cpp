#include "skin/core/SkinImages.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Regions.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace SPUtils;

namespace {

// A source picture whose pixel (x, y) has red x and green y, so every target pixel tells where it came from.
std::unique_ptr<TBitmap> Coordinates(int w, int h)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp->Canvas()->SetPixels(x, y, static_cast<TColor>(x | (y << 8)));
    return bmp;
}

// The source column (red) of each pixel of row y.
std::vector<int> Columns(TBitmap* bmp, int y, int from, int to)
{
    std::vector<int> result;
    for (int x = from; x < to; ++x)
        result.push_back(bmp->Canvas()->Pixels(x, y) & 0xFF);
    return result;
}

// A mask of w by h: black where `inside` says so, white elsewhere.
template <class Inside> std::unique_ptr<TBitmap> Mask(int w, int h, Inside inside)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp->Canvas()->SetPixels(x, y, inside(x, y) ? clBlack : clWhite);
    return bmp;
}

struct Header {
    RGNDATAHEADER header;
    std::vector<RECT> rects;
};

Header ReadRegionData(const std::vector<uint8_t>& data)
{
    Header result {};
    std::memcpy(&result.header, data.data(), sizeof(RGNDATAHEADER));
    result.rects.resize(result.header.nCount);
    if (!result.rects.empty())
        std::memcpy(result.rects.data(), data.data() + sizeof(RGNDATAHEADER), result.rects.size() * sizeof(RECT));
    return result;
}

} // namespace

TEST(SkinImages, ThreePartStripsTileTheMiddleFromTheCapEdge)
{
    auto source = Coordinates(12, 4);
    struct Case {
        const char* name;
        void (*make)(int, int, TBitmap*, TBitmap*, TRect, int, int, bool);
        int leftWidth, rightWidth;
        TRect r;
        int nw;
        std::vector<int> columns;
    };
    const Case kCases[] = {
        // Caps 0-3 and 16-20; middle (columns 3..7) tiles at 3, 8 and 13, the last one 3 wide.
        { "left 3 right 4 into 20", &CreateHSkinImage, 3, 4, Rect(0, 0, 12, 4), 20,
            { 0, 1, 2, 3, 4, 5, 6, 7, 3, 4, 5, 6, 7, 3, 4, 5, 8, 9, 10, 11 } },
        { "no right cap", &CreateHSkinImage2, 3, 4, Rect(0, 0, 12, 4), 14,
            { 0, 1, 2, 3, 4, 5, 6, 7, 3, 4, 5, 6, 7, 3 } },
        // Only the middle: tiles at 0, 5 and 10, the last one 2 wide; no column left undrawn.
        { "middle 5 over 12", &CreateHSkinImage3, 0, 0, Rect(2, 0, 7, 4), 12, { 2, 3, 4, 5, 6, 2, 3, 4, 5, 6, 2, 3 } },
        // A third tile would start at the end and draws nothing.
        { "middle 5 over 10", &CreateHSkinImage3, 0, 0, Rect(2, 0, 7, 4), 10, { 2, 3, 4, 5, 6, 2, 3, 4, 5, 6 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TBitmap target;
        c.make(c.leftWidth, c.rightWidth, &target, source.get(), c.r, c.nw, 99, false);
        EXPECT_EQ(target.Width(), c.nw);
        EXPECT_EQ(target.Height(), 4);
        EXPECT_EQ(Columns(&target, 2, 0, c.nw), c.columns);
    }
}

TEST(SkinImages, MiddleWithoutExtentIsSkippedAndStretchFillsTheMiddle)
{
    auto source = Coordinates(8, 6);
    TBitmap target;
    CreateHSkinImage(4, 4, &target, source.get(), Rect(0, 0, 8, 6), 20, 0, false); // middle of width 0
    EXPECT_EQ(Columns(&target, 0, 0, 4), (std::vector<int> { 0, 1, 2, 3 }));
    EXPECT_EQ(Columns(&target, 0, 16, 20), (std::vector<int> { 4, 5, 6, 7 }));

    TBitmap tall;
    CreateVSkinImage(2, 2, &tall, source.get(), Rect(0, 0, 8, 6), 0, 10, false);
    EXPECT_EQ(tall.Width(), 8);
    std::vector<int> rows;
    for (int y = 0; y < 10; ++y)
        rows.push_back((tall.Canvas()->Pixels(1, y) >> 8) & 0xFF);
    EXPECT_EQ(rows, (std::vector<int> { 0, 1, 2, 3, 2, 3, 2, 3, 4, 5 }));

    TBitmap stretched;
    CreateHSkinImage3(0, 0, &stretched, source.get(), Rect(0, 0, 4, 6), 8, 0, true);
    EXPECT_EQ(Columns(&stretched, 0, 0, 8), (std::vector<int> { 0, 0, 1, 1, 2, 2, 3, 3 }));
}

namespace {

// A 30x30 skin rectangle with 10-pixel borders, resized to nw by 30 with the right border moved.
struct Frame {
    TPoint LT { 10, 10 }, RT { 20, 10 }, LB { 10, 20 }, RB { 20, 20 };
    TRect C = Rect(10, 10, 20, 20);
};

} // namespace

TEST(SkinImages, NinePartEdgesTileFromTheirStart)
{
    auto source = Coordinates(30, 30);
    const Frame f;
    struct Case {
        int nw;
        std::vector<int> top;
    };
    const Case kCases[] = {
        // A 10-pixel edge into 25: tiles at 10, 20 and 30, the last 5 wide; then the corner from 35.
        { 45,
            { 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 10, 11, 12, 13, 14, 20,
                21 } },
        // Into 20 the third tile would start at the corner and draws nothing.
        { 40, { 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.nw);
        const int right = c.nw - 10;
        TBitmap target;
        CreateSkinImage(f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { right, 10 }, TPoint { 10, 20 },
            TPoint { right, 20 }, Rect(10, 10, right, 20), &target, source.get(), Rect(0, 0, 30, 30), c.nw, 30, false,
            false, false, false, false, false, spstFull);
        EXPECT_EQ(Columns(&target, 3, 10, right + 2), c.top);
        EXPECT_EQ(target.Canvas()->Pixels(0, 0), source->Canvas()->Pixels(0, 0)); // corner 1
        EXPECT_EQ(target.Canvas()->Pixels(c.nw - 1, 29), source->Canvas()->Pixels(29, 29)); // corner 7
    }
}

TEST(SkinImages, HorizontalStripClientIsClippedToTheClientAndBothVariantsAgree)
{
    auto source = Coordinates(20, 20);
    // A 16-pixel client into a 40-pixel one: strips at 2, 18 and 34, the last cut at 42.
    const TRect c = Rect(2, 2, 18, 18);
    const TRect nC = Rect(2, 2, 42, 28);
    TBitmap a, b;
    const auto make = [&](auto function, TBitmap* target) {
        function(TPoint { 2, 2 }, TPoint { 18, 2 }, TPoint { 2, 18 }, TPoint { 18, 18 }, c, TPoint { 2, 2 },
            TPoint { 42, 2 }, TPoint { 2, 28 }, TPoint { 42, 28 }, nC, target, source.get(), Rect(0, 0, 20, 20), 44, 30,
            true, true, true, true, true, true, spstHorz);
    };
    make(&CreateSkinImage, &a);
    make(&CreateSkinImageBS, &b);
    std::vector<int> expected;
    for (int x = 2; x < 42; ++x)
        expected.push_back(2 + (x - 2) % 16);
    EXPECT_EQ(Columns(&a, 10, 2, 42), expected);
    EXPECT_EQ(a.Canvas()->Pixels(42, 10) & 0xFF, 18); // the right edge is not overdrawn
    for (int y = 0; y < 30; ++y)
        ASSERT_EQ(Columns(&a, y, 0, 44), Columns(&b, y, 0, 44)) << "row " << y;
}

TEST(SkinImages, NothingIsDrawnForCollapsedPointsOrAnEmptySource)
{
    auto source = Coordinates(30, 30);
    TBitmap empty;
    const Frame f;
    struct Case {
        const char* name;
        TPoint rb;
        TBitmap* source;
    };
    const Case kCases[] = {
        { "RB.x = LT.x", TPoint { 10, 20 }, source.get() },
        { "RB.y = LT.y", TPoint { 20, 10 }, source.get() },
        { "empty source", f.RB, &empty },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TBitmap target, fresh;
        fresh.SetSize(35, 40);
        CreateSkinImage(f.LT, f.RT, f.LB, c.rb, f.C, f.LT, f.RT, f.LB, f.RB, f.C, &target, c.source, Rect(0, 0, 30, 30),
            35, 40, true, false, false, false, false, false, spstFull);
        EXPECT_EQ(target.Width(), 35);
        EXPECT_EQ(target.Height(), 40);
        EXPECT_EQ(target.Canvas()->Pixels(0, 0), fresh.Canvas()->Pixels(0, 0));
        EXPECT_EQ(target.Canvas()->Pixels(15, 15), fresh.Canvas()->Pixels(15, 15));
    }
}

TEST(SkinImages, BackgroundTilesFromTheOrigin)
{
    auto source = Coordinates(10, 10);
    TBitmap target;
    CreateSkinBG(
        Rect(2, 2, 6, 6), Rect(3, 3, 13, 13), &target, source.get(), Rect(0, 0, 10, 10), 20, 20, false, spstFull);
    EXPECT_EQ(Columns(&target, 0, 0, 10), (std::vector<int> { 2, 3, 4, 5, 2, 3, 4, 5, 2, 3 }));
}

TEST(SkinImages, RegionDataHasOneRectanglePerRun)
{
    struct Case {
        const char* name;
        std::vector<bool> row;
        int patternRow;
        int x, y;
        std::vector<RECT> rects;
    };
    const Case kCases[] = {
        { "two runs", { 0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0 }, 1, 0, 0, { { 2, 1, 6, 2 }, { 8, 1, 10, 2 } } },
        { "shifted", { 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1 }, 1, 5, 7, { { 5, 8, 6, 9 }, { 16, 8, 17, 9 } } },
        { "top row", { 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0 }, 0, 0, 0, { { 1, 0, 4, 1 } } },
        { "no black", std::vector<bool>(12, false), 1, 0, 0, {} },
    };
    // A mask read from a file is scanned in place, others through a copy: every format gives the same runs.
    for (const TPixelFormat format : { pfDevice, pf24bit, pf32bit })
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.name) + " in format " + std::to_string(int(format)));
            // One row holds the pattern; the others are white.
            auto mask = Mask(12, 3, [&](int x, int y) { return y == c.patternRow && c.row[x]; });
            mask->SetPixelFormat(format);
            std::vector<uint8_t> data;
            const DWORD size = CreateRgnFromBmp(mask.get(), c.x, c.y, data);
            ASSERT_EQ(size, 32 + 16 * c.rects.size());
            ASSERT_EQ(data.size(), size);
            const Header h = ReadRegionData(data);
            EXPECT_EQ(h.header.dwSize, 32u);
            EXPECT_EQ(h.header.iType, 1u);
            EXPECT_EQ(h.header.nRgnSize, 0u);
            EXPECT_EQ(h.header.rcBound.left, c.x);
            EXPECT_EQ(h.header.rcBound.bottom, c.y + 3);
            ASSERT_EQ(h.rects.size(), c.rects.size());
            for (size_t i = 0; i < c.rects.size(); ++i) {
                EXPECT_EQ(h.rects[i].left, c.rects[i].left);
                EXPECT_EQ(h.rects[i].top, c.rects[i].top);
                EXPECT_EQ(h.rects[i].right, c.rects[i].right);
                EXPECT_EQ(h.rects[i].bottom, c.rects[i].bottom);
            }
        }
    TBitmap empty;
    std::vector<uint8_t> data(5);
    EXPECT_EQ(CreateRgnFromBmp(&empty, 0, 0, data), 0u);
    EXPECT_TRUE(data.empty());
}

TEST(SkinImages, DetailedMaskIsNotLimitedToTenThousandRuns)
{
    // A checkerboard of 200 by 120 has 12,000 single-pixel runs.
    auto mask = Mask(200, 120, [](int x, int y) { return (x + y) % 2 == 0; });
    std::vector<uint8_t> data;
    EXPECT_EQ(CreateRgnFromBmp(mask.get(), 0, 0, data), 32u + 16u * 12000u);
    HRGN region = nullptr;
    CreateSkinSimplyRegion(region, mask.get());
    ASSERT_NE(region, nullptr);
    EXPECT_TRUE(PtInRegion(region, 199, 119));
    EXPECT_FALSE(PtInRegion(region, 198, 119));
    DeleteObject(region);
}

TEST(SkinImages, FrameRegionKeepsTheMaskedBorders)
{
    // A 20x20 frame without a top border; the mask's bottom-left pixel is cut away.
    auto mask = Mask(20, 20, [](int x, int y) { return !(x == 0 && y == 19); });
    const TPoint LT { 2, 0 }, RT { 18, 0 }, LB { 2, 16 }, RB { 18, 16 };
    const TRect C = Rect(2, 0, 18, 16);
    // Resized to 30 by 25.
    const TRect nC = Rect(2, 0, 28, 21);
    HRGN region = nullptr;
    CreateSkinRegion(region, LT, RT, LB, RB, C, TPoint { 2, 0 }, TPoint { 28, 0 }, TPoint { 2, 21 }, TPoint { 28, 21 },
        nC, mask.get(), 30, 25);
    ASSERT_NE(region, nullptr);
    struct Case {
        int x, y;
        bool inside;
    };
    const Case kCases[] = {
        { 15, 10, true }, // client
        { 15, 23, true }, // bottom border
        { 1, 22, true }, // bottom-left corner
        { 29, 24, true }, // bottom-right corner
        { 0, 24, false }, // the cut-away pixel
        { 29, 5, true }, // right border
        { 30, 5, false },
    };
    for (const Case& c : kCases)
        EXPECT_EQ(PtInRegion(region, c.x, c.y) != 0, c.inside) << c.x << "," << c.y;
    DeleteObject(region);

    HRGN crossed = reinterpret_cast<HRGN>(1);
    CreateSkinRegion(crossed, LT, RT, LB, RB, C, TPoint { 20, 0 }, TPoint { 10, 0 }, TPoint { 2, 21 },
        TPoint { 28, 21 }, nC, mask.get(), 30, 25);
    EXPECT_EQ(crossed, nullptr);
}

TEST(SkinImages, BorderImagesAreMadeOnlyWithAPositiveSpan)
{
    auto source = Coordinates(30, 30);
    const Frame f;
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { 40, 10 }, TPoint { 10, 30 },
        TPoint { 40, 30 }, Rect(10, 10, 40, 30), &left, &top, &right, &bottom, source.get(), Rect(0, 0, 30, 30), 50, 40,
        false, false, false, false);
    EXPECT_EQ(top.Width(), 50);
    EXPECT_EQ(top.Height(), 10);
    EXPECT_EQ(bottom.Height(), 10);
    EXPECT_EQ(left.Width(), 10);
    EXPECT_EQ(left.Height(), 20);
    EXPECT_EQ(right.Width(), 10);
    EXPECT_EQ(Columns(&top, 0, 38, 50), (std::vector<int> { 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29 }));

    TBitmap keptLeft, keptTop, keptRight, keptBottom;
    keptTop.SetSize(3, 3);
    CreateSkinBorderImages(f.LT, TPoint { 10, 10 }, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { 40, 10 },
        TPoint { 10, 30 }, TPoint { 40, 30 }, Rect(10, 10, 40, 30), &keptLeft, &keptTop, &keptRight, &keptBottom,
        source.get(), Rect(0, 0, 30, 30), 50, 40, false, false, false, false);
    EXPECT_EQ(keptTop.Width(), 3); // RT.x = LT.x: no top span
}

TEST(SkinImages, StretchImageKeepsBordersAndLeftAnchoredImageRunsToTheRightEdge)
{
    auto source = Coordinates(30, 30);
    TBitmap stretched;
    stretched.SetSize(50, 30);
    CreateStretchImage(&stretched, source.get(), Rect(0, 0, 30, 30), Rect(10, 10, 20, 20), true);
    EXPECT_EQ(stretched.Canvas()->Pixels(49, 0), source->Canvas()->Pixels(29, 0));
    EXPECT_EQ(stretched.Canvas()->Pixels(49, 29), source->Canvas()->Pixels(29, 29));
    EXPECT_EQ(stretched.Canvas()->Pixels(45, 15), source->Canvas()->Pixels(25, 15));
    EXPECT_EQ(stretched.Canvas()->Pixels(10, 0) & 0xFF, 10);
    EXPECT_EQ(stretched.Canvas()->Pixels(39, 0) & 0xFF, 19);

    // No right edge or corners: the top edge and the client tile on to NW.
    const Frame f;
    TBitmap anchored;
    CreateSkinImage2(f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { 35, 10 }, TPoint { 10, 20 },
        TPoint { 35, 20 }, Rect(10, 10, 35, 20), &anchored, source.get(), Rect(0, 0, 30, 30), 45, 30, true, false,
        false, false, false, false, spstFull);
    EXPECT_EQ(Columns(&anchored, 0, 40, 45), (std::vector<int> { 10, 11, 12, 13, 14 }));
    EXPECT_EQ(Columns(&anchored, 15, 40, 45), (std::vector<int> { 10, 11, 12, 13, 14 }));
    EXPECT_EQ(anchored.Canvas()->Pixels(0, 0), source->Canvas()->Pixels(0, 0));
}

TEST(SkinImages, TargetsSmallerThanTheirBordersStayInsideTheBitmaps)
{
    // A control smaller than its skin gets crossing points: the pieces overlap or turn negative, which the
    // copies must take without touching memory outside the bitmaps.
    auto source = Coordinates(30, 30);
    const Frame f;
    for (int nw : { 0, 1, 5, 15 }) {
        SCOPED_TRACE(nw);
        const int right = nw - 10;
        TBitmap target;
        CreateSkinImage(f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { right, 10 }, TPoint { 10, 20 },
            TPoint { right, 20 }, Rect(10, 10, right, 20), &target, source.get(), Rect(0, 0, 30, 30), nw, 8, true,
            false, false, false, false, false, spstHorz);
        EXPECT_EQ(target.Width(), nw);
        TBitmap strip;
        CreateHSkinImage(10, 10, &strip, source.get(), Rect(0, 0, 30, 30), nw, 0, false);
        TBitmap left, top, rightImage, bottom;
        CreateSkinBorderImages(f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { right, 10 }, TPoint { 10, 20 },
            TPoint { right, 20 }, Rect(10, 10, right, 20), &left, &top, &rightImage, &bottom, source.get(),
            Rect(0, 0, 30, 30), nw, 8, false, false, false, false);
        HRGN region = reinterpret_cast<HRGN>(1);
        CreateSkinRegion(region, f.LT, f.RT, f.LB, f.RB, f.C, TPoint { 10, 10 }, TPoint { right, 10 },
            TPoint { 10, 20 }, TPoint { right, 20 }, Rect(10, 10, right, 20), source.get(), nw, 8);
        if (right < 10) {
            EXPECT_EQ(region, nullptr);
        }
        if (region)
            DeleteObject(region);
    }
}
