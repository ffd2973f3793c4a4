#include "GdiTestSupport.h"

#include <vector>

namespace {

using GdiRegions = GdiTest;

constexpr COLORREF kBlue = RGB(0, 0, 255);

// The pixels of a region as '#' and '.'.
std::string Picture(HRGN region, const RECT& area)
{
    std::string out;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            out += PtInRegion(region, x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

} // namespace

TEST_F(GdiRegions, ShapeRegionsCoverWhatTheFiguresFill)
{
    // The region of each shape holds exactly the pixels the figure paints with a one-pixel pen and a brush of
    // the same colour.
    struct Case {
        const char* Name;
        HRGN (*Make)();
        void (*Draw)(HDC dc);
    };
    const Case kCases[] = {
        { "ellipse", [] { return CreateEllipticRgn(3, 4, 30, 21); }, [](HDC dc) { Ellipse(dc, 3, 4, 30, 21); } },
        { "circle", [] { return CreateEllipticRgn(0, 0, 9, 9); }, [](HDC dc) { Ellipse(dc, 0, 0, 9, 9); } },
        { "round rect", [] { return CreateRoundRectRgn(2, 2, 28, 20, 9, 7); },
            [](HDC dc) { RoundRect(dc, 2, 2, 28, 20, 9, 7); } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(34, 26);
        HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
        HBRUSH brush = CreateSolidBrush(kBlue);
        HGDIOBJ oldPen = SelectObject(canvas.Dc, pen);
        HGDIOBJ oldBrush = SelectObject(canvas.Dc, brush);
        c.Draw(canvas.Dc);
        SelectObject(canvas.Dc, oldPen);
        SelectObject(canvas.Dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
        HRGN region = c.Make();
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(Picture(region, RECT { 0, 0, 34, 26 }), canvas.Picture(RECT { 0, 0, 34, 26 }, kBlue));
        DeleteObject(region);
    }
}

TEST_F(GdiRegions, EllipticRegionsHaveTheShapeOfAnEllipse)
{
    HRGN circle = CreateEllipticRgn(0, 0, 10, 10);
    EXPECT_EQ(Picture(circle, RECT { 0, 0, 10, 10 }),
        "...####...\n"
        ".########.\n"
        ".########.\n"
        "##########\n"
        "##########\n"
        "##########\n"
        "##########\n"
        ".########.\n"
        ".########.\n"
        "...####...\n");
    RECT box;
    EXPECT_EQ(GetRgnBox(circle, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT { 0, 0, 10, 10 }));
    // Corners given in the other order make the same region.
    HRGN swapped = CreateEllipticRgn(10, 10, 0, 0);
    EXPECT_TRUE(EqualRgn(circle, swapped));
    RECT r { 0, 0, 10, 10 };
    HRGN indirect = CreateEllipticRgnIndirect(&r);
    EXPECT_TRUE(EqualRgn(circle, indirect));
    // Round rectangles with no corner are rectangles.
    HRGN square = CreateRoundRectRgn(0, 0, 10, 10, 0, 0);
    EXPECT_EQ(GetRgnBox(square, &box), SIMPLEREGION);
    // Combining works on them like on any region.
    HRGN ring = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(ring, square, circle, RGN_DIFF), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(ring, 0, 0));
    EXPECT_FALSE(PtInRegion(ring, 5, 5));
    // The data block lists the rectangles band by band.
    const DWORD size = GetRegionData(circle, 0, nullptr);
    std::vector<uint8_t> data(size);
    ASSERT_EQ(GetRegionData(circle, size, reinterpret_cast<RGNDATA*>(data.data())), size);
    HRGN back = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(data.data()));
    EXPECT_TRUE(EqualRgn(back, circle));
    for (HRGN h : { circle, swapped, indirect, square, ring, back })
        DeleteObject(h);
    EXPECT_EQ(CreateEllipticRgnIndirect(nullptr), nullptr);
}

TEST_F(GdiRegions, PolygonRegionsFollowTheFillMode)
{
    const POINT star[] = { { 10, 0 }, { 16, 19 }, { 0, 7 }, { 20, 7 }, { 4, 19 } };
    HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
    HRGN winding = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alternate, 10, 10));
    EXPECT_TRUE(PtInRegion(winding, 10, 10));
    EXPECT_TRUE(PtInRegion(alternate, 10, 4));
    EXPECT_FALSE(EqualRgn(alternate, winding));
    // A rectangle as a polygon is that rectangle, right and bottom edges excluded.
    const POINT square[] = { { 2, 3 }, { 8, 3 }, { 8, 9 }, { 2, 9 } };
    HRGN polygon = CreatePolygonRgn(square, 4, ALTERNATE);
    HRGN rect = CreateRectRgn(2, 3, 8, 9);
    EXPECT_TRUE(EqualRgn(polygon, rect));
    // Two squares in one polygon list: a frame with ALTERNATE.
    const POINT frames[] = { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 }, { 3, 3 }, { 7, 3 }, { 7, 7 }, { 3, 7 } };
    const INT counts[] = { 4, 4 };
    HRGN frame = CreatePolyPolygonRgn(frames, counts, 2, ALTERNATE);
    EXPECT_TRUE(PtInRegion(frame, 1, 1));
    EXPECT_FALSE(PtInRegion(frame, 5, 5));
    for (HRGN h : { alternate, winding, polygon, rect, frame })
        DeleteObject(h);
    // Too few points make an empty region; bad arguments none at all.
    HRGN line = CreatePolygonRgn(square, 2, ALTERNATE);
    RECT box;
    EXPECT_EQ(GetRgnBox(line, &box), NULLREGION);
    DeleteObject(line);
    EXPECT_EQ(CreatePolygonRgn(nullptr, 4, ALTERNATE), nullptr);
    EXPECT_EQ(CreatePolygonRgn(square, 4, 7), nullptr);
    EXPECT_EQ(CreatePolygonRgn(square, -1, ALTERNATE), nullptr);
}

TEST_F(GdiRegions, HugeShapesAreRefusedInsteadOfExhaustingMemory)
{
    EXPECT_EQ(CreateEllipticRgn(0, 0, 100000000, 10), nullptr);
    EXPECT_EQ(CreateRoundRectRgn(INT32_MIN, 0, INT32_MAX, 10, 5, 5), nullptr);
    const POINT far[] = { { 0, 0 }, { INT32_MAX, 0 }, { 0, INT32_MAX } };
    EXPECT_EQ(CreatePolygonRgn(far, 3, ALTERNATE), nullptr);
    // The largest allowed size still works.
    HRGN big = CreateEllipticRgn(0, 0, kMaxShapeRegionSize, 100);
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(PtInRegion(big, kMaxShapeRegionSize / 2, 50));
    DeleteObject(big);
    // Empty shapes are empty regions.
    HRGN empty = CreateEllipticRgn(5, 5, 5, 20);
    RECT box;
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    DeleteObject(empty);
}
