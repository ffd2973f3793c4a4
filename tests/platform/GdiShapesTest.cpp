#include "GdiTestSupport.h"

namespace {

using GdiShapes = GdiTest;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Selects a pen and a brush for one drawing and frees them afterwards.
class TTools {
public:
    TTools(HDC dc, HPEN pen, HBRUSH brush)
        : FDc(dc)
        , FPen(pen)
        , FBrush(brush)
    {
        FOldPen = SelectObject(dc, pen);
        FOldBrush = SelectObject(dc, brush);
    }
    ~TTools()
    {
        SelectObject(FDc, FOldPen);
        SelectObject(FDc, FOldBrush);
        DeleteObject(FPen);
        DeleteObject(FBrush);
    }

private:
    HDC FDc;
    HGDIOBJ FPen;
    HGDIOBJ FBrush;
    HGDIOBJ FOldPen;
    HGDIOBJ FOldBrush;
};

} // namespace

TEST_F(GdiShapes, LinesLeaveOutTheirEndPixel)
{
    struct Case {
        const char* Name;
        POINT From;
        POINT To;
        std::string Expected; // the 6x6 corner
    };
    const Case kCases[] = {
        { "horizontal", { 1, 1 }, { 5, 1 }, "......\n.####.\n......\n......\n......\n......\n" },
        { "vertical up", { 2, 5 }, { 2, 1 }, "......\n......\n..#...\n..#...\n..#...\n..#...\n" },
        { "horizontal backwards", { 4, 2 }, { 0, 2 }, "......\n......\n.####.\n......\n......\n......\n" },
        { "vertical down", { 4, 0 }, { 4, 3 }, "....#.\n....#.\n....#.\n......\n......\n......\n" },
        { "running off the canvas", { 3, 4 }, { 9, 4 }, "......\n......\n......\n......\n...###\n......\n" },
        { "coming in from outside", { 0, -4 }, { 0, 2 }, "#.....\n#.....\n......\n......\n......\n......\n" },
        { "upwards from below", { 5, 8 }, { 5, 3 }, "......\n......\n......\n......\n.....#\n.....#\n" },
        { "diagonal", { 0, 0 }, { 5, 5 }, "#.....\n.#....\n..#...\n...#..\n....#.\n......\n" },
        { "backwards diagonal", { 5, 0 }, { 0, 5 }, ".....#\n....#.\n...#..\n..#...\n.#....\n......\n" },
        { "single point", { 3, 3 }, { 3, 3 }, "......\n......\n......\n......\n......\n......\n" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(6, 6);
        MoveToEx(canvas.Dc, c.From.x, c.From.y, nullptr);
        EXPECT_TRUE(LineTo(canvas.Dc, c.To.x, c.To.y));
        EXPECT_EQ(canvas.Picture(RECT { 0, 0, 6, 6 }, kBlack), c.Expected);
        POINT position;
        GetCurrentPositionEx(canvas.Dc, &position);
        EXPECT_EQ(position.x, c.To.x);
        EXPECT_EQ(position.y, c.To.y);
    }
}

TEST_F(GdiShapes, MixModesCombinePenAndDestination)
{
    // Background 0x336699 (R=0x33), pen 0x0F0F0F; the result of each mode is bitwise on the colour bytes.
    const uint32_t d = 0x336699;
    const uint32_t p = 0x0F0F0F;
    struct Case {
        int Mode;
        uint32_t Expected;
    };
    const Case kCases[] = {
        { R2_BLACK, 0 },
        { R2_WHITE, 0xFFFFFF },
        { R2_COPYPEN, p },
        { R2_NOTCOPYPEN, ~p & 0xFFFFFF },
        { R2_NOT, ~d & 0xFFFFFF },
        { R2_XORPEN, p ^ d },
        { R2_NOTXORPEN, ~(p ^ d) & 0xFFFFFF },
        { R2_MASKPEN, p & d },
        { R2_MERGEPEN, p | d },
        { R2_NOP, d },
        { R2_MASKPENNOT, p & ~d & 0xFFFFFF },
        { R2_MERGENOTPEN, (~p | d) & 0xFFFFFF },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Mode);
        TTestCanvas canvas(8, 3, RGB(0x33, 0x66, 0x99));
        TTools tools(canvas.Dc, CreatePen(PS_SOLID, 1, RGB(0x0F, 0x0F, 0x0F)), CreateSolidBrush(0));
        SetROP2(canvas.Dc, c.Mode);
        MoveToEx(canvas.Dc, 0, 1, nullptr);
        LineTo(canvas.Dc, 8, 1);
        EXPECT_EQ(canvas.At(3, 1), c.Expected);
        EXPECT_EQ(canvas.At(3, 0), d);
    }
    // XOR twice restores the picture; NOT twice too.
    TTestCanvas canvas(8, 8, RGB(0x12, 0x34, 0x56));
    SetROP2(canvas.Dc, R2_NOT);
    for (int i = 0; i < 2; ++i) {
        MoveToEx(canvas.Dc, 0, 0, nullptr);
        LineTo(canvas.Dc, 8, 8);
    }
    EXPECT_EQ(canvas.Count(RGB(0x12, 0x34, 0x56)), 64);
}

TEST_F(GdiShapes, StyledPensDashAndFillGapsOnlyWhenOpaque)
{
    TTestCanvas canvas(30, 3);
    TTools tools(canvas.Dc, CreatePen(PS_DOT, 1, kRed), CreateSolidBrush(0));
    SetBkColor(canvas.Dc, kBlue);
    MoveToEx(canvas.Dc, 0, 0, nullptr);
    LineTo(canvas.Dc, 12, 0);
    SetBkMode(canvas.Dc, TRANSPARENT);
    MoveToEx(canvas.Dc, 0, 2, nullptr);
    LineTo(canvas.Dc, 12, 2);
    std::string opaque;
    std::string transparent;
    for (int x = 0; x < 12; ++x) {
        opaque += canvas.Is(x, 0, kRed) ? 'r' : canvas.Is(x, 0, kBlue) ? 'b' : '.';
        transparent += canvas.Is(x, 2, kRed) ? 'r' : canvas.Is(x, 2, kBlue) ? 'b' : '.';
    }
    EXPECT_EQ(opaque, "rrrbbbrrrbbb");
    EXPECT_EQ(transparent, "rrr...rrr...");
}

TEST_F(GdiShapes, WidePensCoverTheirWidthAcrossTheLine)
{
    for (int width : { 2, 3, 4, 5 }) {
        SCOPED_TRACE(width);
        TTestCanvas canvas(40, 20);
        TTools tools(canvas.Dc, CreatePen(PS_SOLID, width, kRed), CreateSolidBrush(0));
        MoveToEx(canvas.Dc, 10, 10, nullptr);
        LineTo(canvas.Dc, 30, 10);
        int rows = 0;
        for (int y = 0; y < 20; ++y)
            rows += canvas.Is(20, y, kRed) ? 1 : 0;
        EXPECT_EQ(rows, width) << canvas.Picture(RECT { 5, 0, 35, 20 }, kRed);
        // Round ends reach past both end points.
        EXPECT_TRUE(canvas.Is(30, 10, kRed));
        EXPECT_TRUE(canvas.Is(10, 10, kRed));
        EXPECT_FALSE(canvas.Is(10 - width, 10, kRed));
    }
}

TEST_F(GdiShapes, RectangleFramesWithThePenAndFillsWithTheBrush)
{
    TTestCanvas canvas(12, 12);
    {
        TTools tools(canvas.Dc, CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
        EXPECT_TRUE(Rectangle(canvas.Dc, 2, 2, 8, 7));
    }
    EXPECT_EQ(canvas.Picture(RECT { 0, 0, 10, 9 }, kRed),
        "..........\n"
        "..........\n"
        "..######..\n"
        "..#....#..\n"
        "..#....#..\n"
        "..#....#..\n"
        "..######..\n"
        "..........\n"
        "..........\n");
    EXPECT_EQ(canvas.Count(kBlue), 4 * 3);
    // Without a pen the fill is one pixel smaller to the right and bottom; reversed corners draw the same.
    canvas.Fill(kWhite);
    SelectObject(canvas.Dc, GetStockObject(NULL_PEN));
    HBRUSH blue = CreateSolidBrush(kBlue);
    HGDIOBJ old = SelectObject(canvas.Dc, blue);
    EXPECT_TRUE(Rectangle(canvas.Dc, 8, 7, 2, 2));
    EXPECT_EQ(canvas.Ink(kWhite), (RECT { 2, 2, 7, 6 }));
    // The null brush leaves the inside alone.
    canvas.Fill(kWhite);
    SelectObject(canvas.Dc, GetStockObject(BLACK_PEN));
    SelectObject(canvas.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(canvas.Dc, 0, 0, 5, 5);
    EXPECT_EQ(canvas.Count(kBlack), 16);
    SelectObject(canvas.Dc, old);
    DeleteObject(blue);
}

TEST_F(GdiShapes, EllipsesAndRoundRectsStayInsideTheirBoxAndAreSymmetric)
{
    struct Case {
        const char* Name;
        int Width;
        int Height;
        int CornerWidth; // 0: an ellipse
        int CornerHeight;
    };
    const Case kCases[] = {
        { "circle", 21, 21, 0, 0 },
        { "wide ellipse", 31, 11, 0, 0 },
        { "even sizes", 20, 14, 0, 0 },
        { "round rect", 30, 20, 10, 8 },
        { "round rect, corners larger than the box", 12, 10, 40, 40 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TTestCanvas canvas(50, 40);
        TTools tools(canvas.Dc, CreatePen(PS_SOLID, 1, kRed), CreateSolidBrush(kBlue));
        const RECT box { 5, 5, 5 + c.Width, 5 + c.Height };
        if (c.CornerWidth)
            RoundRect(canvas.Dc, box.left, box.top, box.right, box.bottom, c.CornerWidth, c.CornerHeight);
        else
            Ellipse(canvas.Dc, box.left, box.top, box.right, box.bottom);
        EXPECT_EQ(canvas.Ink(kWhite), box);
        // Mirror symmetry about both centre lines.
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                const int mx = box.left + box.right - 1 - x;
                const int my = box.top + box.bottom - 1 - y;
                ASSERT_EQ(canvas.At(x, y), canvas.At(mx, y)) << x << "," << y;
                ASSERT_EQ(canvas.At(x, y), canvas.At(x, my)) << x << "," << y;
            }
        // Outlined all round: the middle of each side is pen, inside it brush.
        const int cx = (box.left + box.right) / 2;
        const int cy = (box.top + box.bottom) / 2;
        EXPECT_TRUE(canvas.Is(cx, box.top, kRed));
        EXPECT_TRUE(canvas.Is(box.left, cy, kRed));
        EXPECT_TRUE(canvas.Is(cx, cy, kBlue));
        if (c.CornerWidth == 0) {
            EXPECT_TRUE(canvas.Is(box.left, box.top, kWhite));
        }
    }
}

TEST_F(GdiShapes, PolygonFillModesDifferOnlyWhereTheOutlineCrossesItself)
{
    // A five-pointed star: ALTERNATE leaves the middle pentagon empty, WINDING fills it.
    const POINT star[] = { { 20, 2 }, { 32, 38 }, { 2, 14 }, { 38, 14 }, { 8, 38 } };
    for (int mode : { ALTERNATE, WINDING }) {
        SCOPED_TRACE(mode);
        TTestCanvas canvas(40, 40);
        TTools tools(canvas.Dc, CreatePen(PS_NULL, 1, 0), CreateSolidBrush(kBlue));
        SetPolyFillMode(canvas.Dc, mode);
        EXPECT_TRUE(Polygon(canvas.Dc, star, 5));
        EXPECT_EQ(canvas.Is(20, 20, kBlue), mode == WINDING);
        EXPECT_TRUE(canvas.Is(20, 8, kBlue)) << "a point of the star";
        EXPECT_FALSE(canvas.Is(2, 30, kBlue));
    }
    // A square polygon fills exactly its interior; the pen adds the far edges.
    TTestCanvas canvas(12, 12);
    const POINT square[] = { { 1, 1 }, { 9, 1 }, { 9, 9 }, { 1, 9 } };
    {
        TTools tools(canvas.Dc, CreatePen(PS_NULL, 1, 0), CreateSolidBrush(kBlue));
        Polygon(canvas.Dc, square, 4);
    }
    EXPECT_EQ(canvas.Ink(kWhite), (RECT { 1, 1, 9, 9 }));
    Polygon(canvas.Dc, square, 4);
    EXPECT_EQ(canvas.Ink(kWhite), (RECT { 1, 1, 10, 10 }));
    EXPECT_FALSE(Polygon(canvas.Dc, square, 1));
    EXPECT_FALSE(Polygon(canvas.Dc, nullptr, 4));
}

TEST_F(GdiShapes, BrushesPaintTheirPatternsFromTheBrushOrigin)
{
    TTestCanvas canvas(16, 16);
    HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, kRed);
    const RECT all { 0, 0, 16, 16 };
    SetBkColor(canvas.Dc, kBlue);
    FillRect(canvas.Dc, &all, hatch);
    // One red column in eight, the rest in the background colour.
    EXPECT_EQ(canvas.Count(kRed), 2 * 16);
    EXPECT_EQ(canvas.Count(kBlue), 14 * 16);
    int firstRed = -1;
    for (int x = 0; x < 16 && firstRed < 0; ++x)
        if (canvas.Is(x, 0, kRed))
            firstRed = x;
    // The brush origin moves the pattern.
    SetBrushOrgEx(canvas.Dc, 3, 0, nullptr);
    FillRect(canvas.Dc, &all, hatch);
    EXPECT_TRUE(canvas.Is((firstRed + 3) % 8, 5, kRed));
    // A transparent background leaves the gaps of a hatch alone.
    canvas.Fill(kWhite);
    SetBkMode(canvas.Dc, TRANSPARENT);
    FillRect(canvas.Dc, &all, hatch);
    EXPECT_EQ(canvas.Count(kWhite), 14 * 16);
    DeleteObject(hatch);

    // A monochrome pattern paints 0 in the text colour and 1 in the background colour.
    // Rows of one WORD each, the first byte (the low one) holding the 8 pixels.
    const WORD bits[8] = { 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055, 0x00AA, 0x0055 };
    HBITMAP checker = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH pattern = CreatePatternBrush(checker);
    DeleteObject(checker);
    SetBrushOrgEx(canvas.Dc, 0, 0, nullptr);
    SetTextColor(canvas.Dc, kBlack);
    SetBkColor(canvas.Dc, kRed);
    FillRect(canvas.Dc, &all, pattern);
    EXPECT_TRUE(canvas.Is(0, 0, kRed)) << "bit 1";
    EXPECT_TRUE(canvas.Is(1, 0, kBlack));
    EXPECT_TRUE(canvas.Is(0, 1, kBlack));
    EXPECT_EQ(canvas.Count(kRed), 128);
    DeleteObject(pattern);
    // A system colour index plus one stands for its brush.
    FillRect(canvas.Dc, &all, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_BTNFACE + 1)));
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNFACE)), 256);
}

TEST_F(GdiShapes, FrameInvertAndFocusRectangles)
{
    TTestCanvas canvas(10, 10, RGB(0x10, 0x20, 0x30));
    const RECT r { 1, 1, 9, 8 };
    FrameRect(canvas.Dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Count(kBlack), 2 * 8 + 2 * 5);
    EXPECT_TRUE(canvas.Is(4, 4, RGB(0x10, 0x20, 0x30)));
    InvertRect(canvas.Dc, &r);
    EXPECT_TRUE(canvas.Is(1, 1, kWhite));
    EXPECT_TRUE(canvas.Is(4, 4, RGB(0xEF, 0xDF, 0xCF)));
    InvertRect(canvas.Dc, &r);
    // The focus rectangle inverts every other pixel of the border; drawn twice it is gone.
    canvas.Fill(kWhite);
    const RECT focus { 2, 2, 8, 8 };
    DrawFocusRect(canvas.Dc, &focus);
    EXPECT_TRUE(canvas.Is(2, 2, kBlack));
    EXPECT_TRUE(canvas.Is(3, 2, kWhite));
    EXPECT_TRUE(canvas.Is(4, 2, kBlack));
    EXPECT_TRUE(canvas.Is(5, 5, kWhite));
    EXPECT_EQ(canvas.Count(kBlack), 10);
    DrawFocusRect(canvas.Dc, &focus);
    EXPECT_EQ(canvas.Count(kWhite), 100);
    // Empty and inverted rectangles draw nothing.
    const RECT empty { 5, 5, 5, 9 };
    const RECT inverted { 8, 8, 2, 2 };
    FillRect(canvas.Dc, &empty, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(canvas.Dc, &inverted, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Count(kWhite), 100);
}

TEST_F(GdiShapes, DrawEdgePaintsTheClassicBorders)
{
    struct Case {
        UINT Edge;
        COLORREF OuterTopLeft;
        COLORREF OuterBottomRight;
        COLORREF InnerTopLeft;
        COLORREF InnerBottomRight;
    };
    const Case kCases[] = {
        { EDGE_RAISED, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT),
            GetSysColor(COLOR_BTNSHADOW) },
        { EDGE_SUNKEN, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW),
            GetSysColor(COLOR_3DLIGHT) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Edge);
        TTestCanvas canvas(10, 10, RGB(1, 2, 3));
        RECT r { 0, 0, 10, 10 };
        EXPECT_TRUE(DrawEdge(canvas.Dc, &r, c.Edge, BF_RECT | BF_MIDDLE | BF_ADJUST));
        EXPECT_EQ(r, (RECT { 2, 2, 8, 8 }));
        EXPECT_TRUE(canvas.Is(4, 0, c.OuterTopLeft));
        EXPECT_TRUE(canvas.Is(0, 4, c.OuterTopLeft));
        EXPECT_TRUE(canvas.Is(4, 9, c.OuterBottomRight));
        EXPECT_TRUE(canvas.Is(9, 4, c.OuterBottomRight));
        EXPECT_TRUE(canvas.Is(4, 1, c.InnerTopLeft));
        EXPECT_TRUE(canvas.Is(8, 4, c.InnerBottomRight));
        EXPECT_TRUE(canvas.Is(5, 5, GetSysColor(COLOR_BTNFACE)));
    }
    // Only the sides asked for; one edge alone is one pixel.
    TTestCanvas canvas(10, 10, RGB(1, 2, 3));
    RECT r { 0, 0, 10, 10 };
    DrawEdge(canvas.Dc, &r, BDR_SUNKENOUTER, BF_TOP | BF_ADJUST);
    EXPECT_EQ(r, (RECT { 0, 1, 10, 10 }));
    EXPECT_EQ(canvas.Ink(RGB(1, 2, 3)), (RECT { 0, 0, 9, 1 }));
    EXPECT_FALSE(DrawEdge(canvas.Dc, nullptr, EDGE_RAISED, BF_RECT));
}

TEST_F(GdiShapes, PixelsRoundTripAndFailOutsideTheSurface)
{
    TTestCanvas canvas(4, 4);
    EXPECT_EQ(SetPixel(canvas.Dc, 1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(canvas.Dc, 1, 2), RGB(10, 20, 30));
    // Solid drawing leaves alpha 0 in 32-bit memory, as GDI does.
    EXPECT_EQ(canvas.Raw(1, 2), 0x000A141Eu);
    for (const POINT p : { POINT { -1, 0 }, POINT { 4, 0 }, POINT { 0, 4 }, POINT { INT32_MIN, INT32_MAX } }) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(SetPixel(canvas.Dc, p.x, p.y, 0), CLR_INVALID);
        EXPECT_EQ(GetPixel(canvas.Dc, p.x, p.y), CLR_INVALID);
    }
    // A 4-bit surface stores the nearest table colour and says so.
    TTestCanvas paletted(4, 4, kWhite, 4, false);
    EXPECT_EQ(SetPixel(paletted.Dc, 0, 0, RGB(250, 5, 5)), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(paletted.Dc, 0, 0), RGB(255, 0, 0));
}

TEST_F(GdiShapes, HugeAndNegativeCoordinatesDrawOnlyWhatShowsAndReturnQuickly)
{
    TTestCanvas canvas(20, 20);
    TTools tools(canvas.Dc, CreatePen(PS_SOLID, 3, kRed), CreateSolidBrush(kBlue));
    const int big = 2000000000;
    EXPECT_TRUE(Ellipse(canvas.Dc, -big, -big, big, big));
    EXPECT_EQ(canvas.Count(kBlue), 400) << "the visible middle of a huge ellipse";
    EXPECT_TRUE(Rectangle(canvas.Dc, -big, 5, big, 10));
    EXPECT_TRUE(RoundRect(canvas.Dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX));
    MoveToEx(canvas.Dc, -big, -big, nullptr);
    EXPECT_TRUE(LineTo(canvas.Dc, big, big));
    const POINT far[] = { { -big, 0 }, { big, 3 }, { 0, big } };
    EXPECT_TRUE(Polygon(canvas.Dc, far, 3));
    const RECT r { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX };
    EXPECT_TRUE(FillRect(canvas.Dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(canvas.Count(kBlack), 400);
    EXPECT_TRUE(DrawFocusRect(canvas.Dc, &r));
    RECT edge = r;
    EXPECT_TRUE(DrawEdge(canvas.Dc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    SetViewportOrgEx(canvas.Dc, INT32_MAX, INT32_MIN, nullptr);
    EXPECT_TRUE(Rectangle(canvas.Dc, 0, 0, 10, 10));
}
