#include "GdiTestSupport.h"

namespace {

using GdiClip = GdiTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

void FillAll(HDC dc, int size)
{
    const RECT all { -100, -100, size + 100, size + 100 };
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

} // namespace

TEST_F(GdiClip, ClipRegionsLimitEveryDrawingCall)
{
    // A ring: a 10x10 square without its 4x4 middle.
    HRGN ring = CreateRectRgn(2, 2, 12, 12);
    HRGN hole = CreateRectRgn(5, 5, 9, 9);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    struct Case {
        const char* Name;
        void (*Draw)(HDC dc, HDC source);
    };
    const Case kCases[] = {
        { "FillRect", [](HDC dc, HDC) { FillAll(dc, 14); } },
        { "Rectangle",
            [](HDC dc, HDC) {
                SelectObject(dc, GetStockObject(BLACK_BRUSH));
                Rectangle(dc, 0, 0, 14, 14);
            } },
        { "PatBlt", [](HDC dc, HDC) { PatBlt(dc, 0, 0, 14, 14, BLACKNESS); } },
        { "BitBlt", [](HDC dc, HDC source) { BitBlt(dc, 0, 0, 14, 14, source, 0, 0, SRCCOPY); } },
        { "StretchBlt", [](HDC dc, HDC source) { StretchBlt(dc, 0, 0, 14, 14, source, 0, 0, 7, 7, SRCCOPY); } },
        { "SetPixel",
            [](HDC dc, HDC) {
                for (int y = 0; y < 14; ++y)
                    for (int x = 0; x < 14; ++x)
                        SetPixel(dc, x, y, 0);
            } },
        { "wide line",
            [](HDC dc, HDC) {
                HPEN pen = CreatePen(PS_SOLID, 30, 0);
                HGDIOBJ old = SelectObject(dc, pen);
                MoveToEx(dc, 0, 7, nullptr);
                LineTo(dc, 14, 7);
                SelectObject(dc, old);
                DeleteObject(pen);
            } },
    };
    TTestCanvas black(14, 14, kBlack);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(14, 14);
        EXPECT_EQ(SelectClipRgn(canvas.Dc, ring), COMPLEXREGION);
        c.Draw(canvas.Dc, black.Dc);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 14; ++x)
                ASSERT_EQ(canvas.Is(x, y, kBlack), PtInRegion(ring, x, y) != FALSE) << x << "," << y;
    }
    // The DC took a copy: changing or deleting the region afterwards changes nothing.
    TTestCanvas canvas(14, 14);
    SelectClipRgn(canvas.Dc, ring);
    DeleteObject(ring);
    DeleteObject(hole);
    FillAll(canvas.Dc, 14);
    EXPECT_EQ(canvas.Count(kBlack), 100 - 16);
    EXPECT_EQ(SelectClipRgn(canvas.Dc, nullptr), SIMPLEREGION);
    FillAll(canvas.Dc, 14);
    EXPECT_EQ(canvas.Count(kBlack), 14 * 14);
}

TEST_F(GdiClip, ExcludeAndIntersectWorkInLogicalCoordinates)
{
    TTestCanvas canvas(20, 20);
    HDC dc = canvas.Dc;
    SetWindowOrgEx(dc, 10, 0, nullptr); // logical x 10 is device x 0
    EXPECT_EQ(IntersectClipRect(dc, 12, 2, 22, 12), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(dc, 14, 4, 16, 6), COMPLEXREGION);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT { 12, 2, 22, 12 }));
    FillAll(dc, 40);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(canvas.Ink(kWhite), (RECT { 2, 2, 12, 12 }));
    EXPECT_TRUE(canvas.Is(4, 4, kWhite)) << "excluded";
    EXPECT_TRUE(canvas.Is(6, 6, kBlack));
    EXPECT_FALSE(PtVisible(dc, 4, 4));
    EXPECT_TRUE(PtVisible(dc, 6, 6));
    const RECT outside { 15, 15, 18, 18 };
    EXPECT_FALSE(RectVisible(dc, &outside));
    // The clip region is in device coordinates; offsetting it moves it.
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    RECT region;
    GetRgnBox(copy, &region);
    EXPECT_EQ(region, (RECT { 2, 2, 12, 12 }));
    EXPECT_EQ(OffsetClipRgn(dc, 5, 0), COMPLEXREGION);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT { 7, 2, 17, 12 }));
    EXPECT_EQ(OffsetClipRgn(dc, INT32_MAX, 0), ERROR) << "would leave the drawing range";
    DeleteObject(copy);
    // Without a clip region the clip box is the surface; excluding everything leaves nothing.
    SelectClipRgn(dc, nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT { 0, 0, 20, 20 }));
    EXPECT_EQ(ExcludeClipRect(dc, -5, -5, 50, 50), NULLREGION);
    EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
    const int white = canvas.Count(kWhite);
    PatBlt(dc, -50, -50, 200, 200, WHITENESS);
    EXPECT_EQ(canvas.Count(kWhite), white);
    EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR);
}

TEST_F(GdiClip, ExtSelectClipRgnCombinesWithTheCurrentClip)
{
    struct Case {
        int Mode;
        int Expected; // pixels left drawable of the 10x10 surface
    };
    // Current clip: left half (50 pixels); the region: the top half (50 pixels), overlapping in 25.
    const Case kCases[] = {
        { RGN_AND, 25 },
        { RGN_OR, 75 },
        { RGN_XOR, 50 },
        { RGN_DIFF, 25 },
        { RGN_COPY, 50 },
    };
    HRGN top = CreateRectRgn(0, 0, 10, 5);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Mode);
        TTestCanvas canvas(10, 10);
        IntersectClipRect(canvas.Dc, 0, 0, 5, 10);
        EXPECT_NE(ExtSelectClipRgn(canvas.Dc, top, c.Mode), ERROR);
        FillAll(canvas.Dc, 10);
        EXPECT_EQ(canvas.Count(kBlack), c.Expected);
    }
    TTestCanvas canvas(4, 4);
    EXPECT_EQ(ExtSelectClipRgn(canvas.Dc, top, 99), ERROR);
    DeleteObject(top);
}

TEST_F(GdiClip, OriginsMoveDrawingAndConvertPoints)
{
    TTestCanvas canvas(20, 20);
    HDC dc = canvas.Dc;
    POINT previous;
    EXPECT_TRUE(SetViewportOrgEx(dc, 5, 6, &previous));
    EXPECT_EQ(previous.x, 0);
    EXPECT_TRUE(SetWindowOrgEx(dc, 1, 1, nullptr));
    EXPECT_TRUE(OffsetViewportOrgEx(dc, 1, 0, &previous));
    EXPECT_EQ(previous.x, 5);
    // device = logical - window origin + viewport origin = (x + 5, y + 5)
    SetPixel(dc, 0, 0, kBlack);
    EXPECT_TRUE(canvas.Is(5, 5, kBlack));
    POINT points[2] = { { 0, 0 }, { 10, 3 } };
    EXPECT_TRUE(LPtoDP(dc, points, 2));
    EXPECT_EQ(points[1].x, 15);
    EXPECT_EQ(points[1].y, 8);
    EXPECT_TRUE(DPtoLP(dc, points, 2));
    EXPECT_EQ(points[1].x, 10);
    EXPECT_EQ(points[0].y, 0);
    // Brush patterns keep to device coordinates.
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT { -5, -5, 15, 15 }));
    EXPECT_FALSE(LPtoDP(dc, nullptr, 1));
    EXPECT_FALSE(DPtoLP(dc, points, -1));
}
