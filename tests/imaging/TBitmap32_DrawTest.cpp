#include "imaging/Img32_blend.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <utility>
#include <vector>

using namespace Img32_blend;

namespace {

constexpr TColor32 kBack = 0xFF000000;
constexpr TColor32 kInk = 0xFFFFFFFF;

using TPixelSet = std::set<std::pair<int, int>>;

// The pixels that differ from the background.
TPixelSet Touched(const TBitmap32& b, TColor32 background = kBack)
{
    TPixelSet s;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != background)
                s.insert({ x, y });
    return s;
}

struct TCanvasFixture {
    TBitmap32 b;
    int changes = 0;
    TCanvasFixture(int w, int h)
    {
        b.SetSize(w, h);
        b.Clear(kBack);
        b.OnChange = [this](TObject*) { ++changes; };
    }
};

} // namespace

TEST(TBitmap32_Draw, IntegerLines)
{
    struct Case {
        const char* name;
        void (TBitmap32::*line)(int, int, int, int, TColor32, bool);
        int x1, y1, x2, y2;
        bool l;
        TPixelSet expected;
    };
    const Case kCases[] = {
        { "horizontal", &TBitmap32::Line, 0, 0, 3, 0, false, { { 0, 0 }, { 1, 0 }, { 2, 0 } } },
        { "horizontal with last", &TBitmap32::Line, 0, 0, 3, 0, true, { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 } } },
        { "horizontal leftwards", &TBitmap32::Line, 3, 1, 0, 1, false, { { 1, 1 }, { 2, 1 }, { 3, 1 } } },
        { "shallow", &TBitmap32::Line, 0, 0, 3, 1, false, { { 0, 0 }, { 1, 0 }, { 2, 0 } } },
        { "shallow with last", &TBitmap32::Line, 0, 0, 3, 1, true, { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 1 } } },
        { "vertical upwards", &TBitmap32::Line, 1, 3, 1, 0, true, { { 1, 1 }, { 1, 2 }, { 1, 3 }, { 1, 0 } } },
        { "steep", &TBitmap32::Line, 0, 0, 1, 3, true, { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 1, 3 } } },
        { "single point", &TBitmap32::Line, 2, 2, 2, 2, true, { { 2, 2 } } },
        { "clipped keeps the end open", &TBitmap32::LineS, -5, 2, 5, 2, false, { { 0, 2 }, { 1, 2 }, { 2, 2 } } },
        { "blended clip closes the end", &TBitmap32::LineTS, -5, 2, 5, 2, false,
            { { 0, 2 }, { 1, 2 }, { 2, 2 }, { 3, 2 } } },
        { "clipped away", &TBitmap32::LineS, -5, -1, 5, -3, true, {} },
        { "antialiased diagonal", &TBitmap32::LineA, 0, 0, 3, 3, true, { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 } } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TCanvasFixture f(4, 4);
        (f.b.*c.line)(c.x1, c.y1, c.x2, c.y2, kInk, c.l);
        EXPECT_EQ(Touched(f.b), c.expected);
        EXPECT_EQ(f.changes, c.expected.empty() ? 0 : 1);
    }
}

TEST(TBitmap32_Draw, AntialiasedIntegerLineWeighsTheTwoNearestPixels)
{
    TCanvasFixture f(5, 5);
    f.b.LineA(0, 0, 4, 4, kInk, true);
    // The first pixel is blended whole; the steps weigh by G[255] through the extended blend.
    TColor32 step = kBack;
    BlendMemEx(kInk, step, Img32::GAMMA_TABLE[255]);
    EXPECT_EQ(f.b.Pixel(0, 0), kInk);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(f.b.Pixel(i, i), step) << i;
    EXPECT_EQ(Touched(f.b).size(), 5u); // the neighbours get G[0] = 0

    // A steep line: each row shares the coverage between a pixel and its right neighbour, in gamma steps.
    TCanvasFixture g(4, 5);
    g.b.LineA(0, 0, 2, 4, 0xFF0000FF, true);
    const uint8_t* gamma = Img32::GAMMA_TABLE;
    // Dy = 4 > Dx = 2: S = 0x8000; row 1: E = 0x8000, pixel (0, 1) weight G[0x80 ^ 255], (1, 1) G[0x80].
    TColor32 expected0 = kBack, expected1 = kBack;
    BlendMemEx(0xFF0000FF, expected0, gamma[0x80 ^ 255]);
    BlendMemEx(0xFF0000FF, expected1, gamma[0x80]);
    EXPECT_EQ(g.b.Pixel(0, 1), expected0);
    EXPECT_EQ(g.b.Pixel(1, 1), expected1);
    TColor32 last = kBack;
    BlendMemEx(0xFF0000FF, last, gamma[255]);
    EXPECT_EQ(g.b.Pixel(2, 4), last);

    // Lines that end on the right or bottom edge never touch a neighbour outside the bitmap.
    TCanvasFixture h(2, 3);
    h.b.LineAS(0, 0, 1, 2, kInk, true);
    h.b.LineAS(1, 0, 0, 2, kInk, true);
    h.b.LineA(0, 0, 1, 2, kInk, true);
}

TEST(TBitmap32_Draw, FixedPointLineCoversWholePixelsAlongItsLength)
{
    // Along a pixel row the dots sit exactly on pixels: weight G[255] x 255 x G[255] shr 16 = 253 each.
    TColor32 expected = kBack;
    CombineMem(kInk, expected, 253);
    for (bool l : { false, true }) {
        SCOPED_TRACE(l);
        TCanvasFixture f(8, 4);
        f.b.LineXS(Img32::Fixed(1), Img32::Fixed(1), Img32::Fixed(5), Img32::Fixed(1), kInk, l);
        TPixelSet row = { { 1, 1 }, { 2, 1 }, { 3, 1 }, { 4, 1 } };
        if (l)
            row.insert({ 5, 1 });
        EXPECT_EQ(Touched(f.b), row);
        // With the last point the length is five pixels in five steps of 4/5: the dots then fall between pixels.
        if (!l) {
            EXPECT_EQ(f.b.Pixel(2, 1), expected);
        }
        EXPECT_EQ(f.changes, 1);
    }
    // The unclipped and the float form draw the same; a clipped line running off the bitmap stays inside it.
    TCanvasFixture a(8, 4), b(8, 4);
    a.b.LineX(Img32::Fixed(1), Img32::Fixed(1), Img32::Fixed(5), Img32::Fixed(2), kInk);
    b.b.LineFS(1, 1, 5, 2, kInk);
    EXPECT_EQ(Touched(a.b), Touched(b.b));
    TCanvasFixture c(8, 4);
    c.b.LineFS(-20, -7, 30, 9.5f, kInk, true);
    c.b.LineFS(3, 3, 3.001f, 3, kInk); // shorter than 1/256 of a pixel: nothing
    EXPECT_FALSE(Touched(c.b).empty());
    TCanvasFixture tiny(8, 4);
    tiny.b.LineFS(3, 3, 3.001f, 3, kInk);
    EXPECT_TRUE(Touched(tiny.b).empty());
}

TEST(TBitmap32_Draw, AntialiasedDotSplitsOverFourPixels)
{
    TCanvasFixture f(4, 4);
    // Half way between (1, 1) and (2, 2) in 24.8.
    f.b.SET_T256(0x180, 0x180, kInk);
    const uint8_t* g = Img32::GAMMA_TABLE;
    TColor32 corner = kBack, far = kBack;
    CombineMem(kInk, corner, (g[127] * 255 * g[127]) >> 16);
    CombineMem(kInk, far, (g[128] * 255 * g[128]) >> 16);
    EXPECT_EQ(f.b.Pixel(1, 1), corner);
    EXPECT_EQ(f.b.Pixel(2, 2), far);
    EXPECT_EQ(Touched(f.b).size(), 4u);
    EXPECT_EQ(f.changes, 0); // single pixels never notify
    // Clipped: dots at or over the edges touch only what exists.
    TCanvasFixture c(4, 4);
    c.b.SET_TS256(-0x80, -0x80, kInk);
    c.b.SET_TS256(0x380, 0x380, kInk);
    c.b.SET_TS256(-0x200, 0, kInk);
    c.b.SetPixelXS(Img32::Fixed(3), Img32::Fixed(-1), kInk);
    c.b.SetPixelFS(1000.0f, 1e20f, kInk);
    EXPECT_EQ(Touched(c.b), (TPixelSet { { 0, 0 }, { 3, 3 } }));
}

TEST(TBitmap32_Draw, StippleSequence)
{
    TBitmap32 b;
    EXPECT_EQ(b.GetStippleColor(), 0xFF000000u);
    EXPECT_EQ(b.StippleCounter, 0.0f);

    constexpr TColor32 red = 0xFFFF0000, blue = 0xFF0000FF;
    b.SetStipple({ red, blue });
    b.StippleStep = 0.5f;
    const TColor32 expected[] = { red, CombineReg(red, blue, 127), blue, CombineReg(blue, red, 127), red };
    for (TColor32 e : expected)
        EXPECT_EQ(b.GetStippleColor(), e);
    EXPECT_FLOAT_EQ(b.StippleCounter, 0.5f);

    b.SetStipple({ red, blue, red });
    b.StippleStep = 1;
    b.AdvanceStippleCounter(7);
    EXPECT_FLOAT_EQ(b.StippleCounter, 1.0f);
    b.StippleCounter = 1e30f; // far out: reduced, never looping for ever
    b.GetStippleColor();
    b.StippleStep = std::numeric_limits<float>::quiet_NaN();
    b.AdvanceStippleCounter(3);
    EXPECT_EQ(b.StippleCounter, 0.0f);
}

TEST(TBitmap32_Draw, StippledLinesKeepTheCounterInStepWithClipping)
{
    TBitmap32 b;
    b.SetSize(4, 4);
    b.Clear(kBack);
    b.SetStipple({ 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFF404040, 0xFF202020 });
    b.HorzLineTSP(-10, 1, -3);
    EXPECT_FLOAT_EQ(b.StippleCounter, 1.0f); // 8 pixels, modulo 7
    EXPECT_TRUE(Touched(b).empty());
    b.HorzLineTSP(-1, 1, 5); // 1 before, 4 drawn, 2 after
    EXPECT_FLOAT_EQ(b.StippleCounter, 1.0f);
    EXPECT_EQ(b.Pixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(b.Pixel(3, 1), 0xFF404040u);
    b.VertLineTSP(2, 3, 0); // upwards: (2, 3) first
    EXPECT_EQ(b.Pixel(2, 3), 0xFF00FF00u);
    EXPECT_EQ(b.Pixel(2, 0), 0xFF808080u);
    b.HorzLineTSP(0, 9, 3); // outside the rows: the counter stays
    EXPECT_FLOAT_EQ(b.StippleCounter, 5.0f);

    TBitmap32 c;
    c.SetSize(8, 8);
    c.SetStipple({ 0xFFFF0000, 0xFF0000FF });
    c.StippleStep = 0.25f;
    c.LineFSP(-100, 3, -50, 3); // invisible: the counter moves by the length
    EXPECT_FLOAT_EQ(c.StippleCounter, 0.5f);
    c.LineFP(1, 1, 5, 1);
    c.LineFSP(-3, 2, 12, 2);
    c.FrameRectTSP(1, 1, 6, 6);
    c.FrameRectTSP(2, 2, 3, 3);
}

TEST(TBitmap32_Draw, Rectangles)
{
    {
        TCanvasFixture f(4, 4);
        f.b.FrameRectS(0, 0, 1, 1, kInk);
        EXPECT_EQ(Touched(f.b), (TPixelSet { { 0, 0 } }));
    }
    {
        TCanvasFixture f(4, 4);
        f.b.FrameRectS(0, 0, 2, 2, kInk);
        EXPECT_EQ(Touched(f.b), (TPixelSet { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } }));
    }
    {
        TCanvasFixture f(4, 4);
        f.b.FrameRectS(TRect { -1, 1, 9, 4 }, kInk);
        EXPECT_EQ(Touched(f.b),
            (TPixelSet { { 0, 1 }, { 1, 1 }, { 2, 1 }, { 3, 1 }, { 0, 3 }, { 1, 3 }, { 2, 3 }, { 3, 3 } }));
        EXPECT_EQ(f.changes, 1);
    }
    {
        TCanvasFixture f(4, 4);
        f.b.FillRectS(TRect { -5, 2, 2, 99 }, kInk);
        EXPECT_EQ(Touched(f.b), (TPixelSet { { 0, 2 }, { 1, 2 }, { 0, 3 }, { 1, 3 } }));
        f.b.FillRectS(3, 3, 3, 4, kInk);
        f.b.FillRectS(4, 0, 9, 9, kInk);
        f.b.FillRectTS(0, -9, 9, 0, kInk);
        f.b.FrameRectS(-9, -9, 0, 9, kInk);
        EXPECT_EQ(f.changes, 1); // empty and outside rectangles send nothing
    }
    {
        TCanvasFixture f(4, 4);
        f.b.FillRectT(0, 0, 4, 4, 0x00FFFFFF);
        EXPECT_TRUE(Touched(f.b).empty());
        EXPECT_EQ(f.changes, 1);
        f.b.FillRectTS(TRect { 1, 1, 3, 3 }, 0x80FFFFFF);
        TColor32 half = kBack;
        CombineMem(0x80FFFFFF, half, 0x80);
        EXPECT_EQ(f.b.Pixel(1, 1), half);
        EXPECT_EQ(f.b.Pixel(0, 0), kBack);
    }
}

TEST(TBitmap32_Draw, RaisedAndSunkenBevels)
{
    struct Case {
        int contrast;
        TColor32 topLeft, bottomRight;
    };
    const Case kCases[] = {
        { 100, 0xFFFFFFFF, 0xFF000000 },
        { 50, 0xFFFFFFFF, 0x7F000000 },
        { 10, 0x33FFFFFF, 0x19000000 },
        { -50, 0x7F000000, 0xFFFFFFFF },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.contrast);
        TBitmap32 b;
        b.SetSize(4, 4);
        b.Clear(0xFF808080);
        b.RaiseRectTS(0, 0, 4, 4, c.contrast);
        TColor32 tl = 0xFF808080, br = 0xFF808080;
        BlendMem(c.topLeft, tl);
        BlendMem(c.bottomRight, br);
        EXPECT_EQ(b.Pixel(0, 0), tl);
        EXPECT_EQ(b.Pixel(3, 0), tl);
        EXPECT_EQ(b.Pixel(0, 2), tl);
        EXPECT_EQ(b.Pixel(0, 3), br);
        EXPECT_EQ(b.Pixel(3, 2), br);
        EXPECT_EQ(b.Pixel(1, 1), 0xFF808080u);
    }
    TCanvasFixture f(4, 4);
    f.b.RaiseRectTS(TRect { 0, 0, 4, 4 }, 0);
    EXPECT_EQ(f.changes, 1); // contrast 0 still notifies
    f.b.RaiseRectTS(5, 5, 9, 9, 50);
    EXPECT_EQ(f.changes, 1);
}

TEST(TBitmap32_Draw, TheSourcesSettingsDecideADraw)
{
    TBitmap32 src;
    src.SetSize(2, 2);
    src.Clear(0x80FF0000);
    TBitmap32 dst;
    dst.SetSize(4, 4);
    dst.Clear(kBack);
    dst.SetDrawMode(dmBlend); // the destination's mode plays no part
    int changes = 0;
    dst.OnChange = [&](TObject*) { ++changes; };

    dst.Draw(1, 1, &src);
    EXPECT_EQ(dst.Pixel(1, 1), 0x80FF0000u);
    EXPECT_EQ(changes, 1);

    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(0);
    dst.Clear(kBack);
    dst.Draw(0, 0, &src);
    dst.Draw(TRect { 0, 0, 4, 4 }, src.BoundsRect(), &src);
    EXPECT_TRUE(Touched(dst).empty());

    src.SetMasterAlpha(255);
    dst.Draw(0, 0, &src);
    TColor32 blended = kBack;
    BlendMem(0x80FF0000, blended);
    EXPECT_EQ(dst.Pixel(0, 0), blended);

    // dmCustom without a handler copies; with one, the handler sees the source colour and master alpha.
    src.SetDrawMode(dmCustom);
    dst.Clear(kBack);
    dst.Draw(2, 2, &src);
    EXPECT_EQ(dst.Pixel(3, 3), 0x80FF0000u);
    int calls = 0;
    src.SetMasterAlpha(99);
    src.OnPixelCombine = [&](TColor32 f, TColor32& b, TColor32 m) {
        ++calls;
        b = f ^ m;
    };
    dst.Draw(TRect { 0, 0, 4, 4 }, src.BoundsRect(), &src);
    EXPECT_EQ(calls, 16);
    EXPECT_EQ(dst.Pixel(0, 0), 0x80FF0000u ^ 99u);

    const int before = changes;
    dst.Draw(0, 0, nullptr);
    TBitmap32 empty;
    dst.Draw(0, 0, &empty);
    src.DrawTo(nullptr);
    EXPECT_EQ(changes, before);
}

TEST(TBitmap32_Draw, PenPositionLines)
{
    TBitmap32 b;
    b.SetSize(4, 4);
    b.Clear(kBack);
    b.PenColor = kInk;
    b.MoveTo(0, 0);
    b.LineToS(3, 0);
    b.LineToTS(3, 3);
    EXPECT_EQ(b.PenPos, (TPoint { 3, 3 }));
    EXPECT_EQ(Touched(b), (TPixelSet { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 3, 2 } }));
    b.MoveToF(0, 3);
    b.LineToFS(2, 3);
    EXPECT_EQ(b.PenPosF.X, Img32::Fixed(2));
    b.LineToAS(0, 3);
    b.LineToFSP(1, 1);
    b.LineToXSP(0, 0);
}

TEST(TBitmap32_Draw, EmptyBitmapsIgnoreClippedDrawing)
{
    TBitmap32 b;
    b.SetSize(0, 5);
    b.LineS(-1, 0, 3, 2, kInk, true);
    b.LineTS(-1, 0, 3, 2, kInk, true);
    b.LineAS(-1, 0, 3, 2, kInk, true);
    b.LineXS(-65536, 0, 3 * 65536, 2 * 65536, kInk, true);
    b.LineFSP(-1, 0, 3, 2);
    b.HorzLineS(-1, 0, 3, kInk);
    b.VertLineTS(0, 0, 3, kInk);
    b.FillRectS(-1, -1, 3, 3, kInk);
    b.FrameRectTS(-1, -1, 3, 3, kInk);
    b.RaiseRectTS(-1, -1, 3, 3, 50);
    b.SetPixelTS(0, 0, kInk);
    b.SET_TS256(0, 0, kInk);
    EXPECT_TRUE(b.Empty());
}
