#include "framed/FrCommon.h"

#include "FramedTestSupport.h"

#include <tuple>

namespace {

uint32_t RgbOf(int r, int g, int b)
{
    return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}

class FrCommon : public ControlsTest { };

} // namespace

TEST_F(FrCommon, ColourModelSplitsJoinsAndShadesOnTheScaleOf240)
{
    uint8_t h, s, l;
    SplitColorHsl(clGray, h, s, l);
    EXPECT_EQ(std::make_tuple(h, s, l), std::make_tuple(0, 0, 120));
    EXPECT_EQ(Rgb(LightenColor(clGray, 100)), RgbOf(234, 234, 234));
    EXPECT_EQ(Rgb(DarkenColor(clGray, 50)), RgbOf(74, 74, 74));
    EXPECT_EQ(Rgb(DarkenColor(clWhite, 50)), RgbOf(202, 202, 202));

    SplitColorHsl(clRed, h, s, l);
    EXPECT_EQ(std::make_tuple(h, s, l), std::make_tuple(0, 240, 120));
    EXPECT_EQ(JoinColorHsl(0, 240, 120), clRed);
    // Halves go to the even neighbour: 212.5 gives 212.
    EXPECT_EQ(Rgb(LightenColor(clRed, 100)), RgbOf(255, 212, 212));
    EXPECT_EQ(Rgb(DarkenColor(clRed, 50)), RgbOf(149, 0, 0));

    // Joining divides the hue by 239, so green and blue come back a little off.
    SplitColorHsl(clLime, h, s, l);
    EXPECT_EQ(std::make_tuple(h, s, l), std::make_tuple(80, 240, 120));
    EXPECT_EQ(Rgb(JoinColorHsl(h, s, l)), RgbOf(0, 255, 2));
    SplitColorHsl(clBlue, h, s, l);
    EXPECT_EQ(std::make_tuple(h, s, l), std::make_tuple(160, 240, 120));
    EXPECT_EQ(Rgb(JoinColorHsl(h, s, l)), RgbOf(4, 0, 255));
    // Hues 239 and 240 land in sextant 6 and paint as sextant 0.
    EXPECT_EQ(Rgb(JoinColorHsl(239, 240, 120)), RgbOf(255, 0, 0));
    EXPECT_EQ(Rgb(JoinColorHsl(240, 240, 120)), RgbOf(255, 6, 0));

    for (TColor c : { clRed, clTeal, clWhite, TColor(0x123456), clBtnFace })
        EXPECT_EQ(DarkenColor(c, 255), clBlack);
    EXPECT_EQ(LightenColor(clWhite, 10), clWhite);
    EXPECT_EQ(ShiftColorLightness(clGray, 0), clGray);
    EXPECT_EQ(ShiftColorLightness(clGray, -50), DarkenColor(clGray, 50));
    EXPECT_TRUE(ColorsIndistinct(clTeal, clTeal));
    EXPECT_FALSE(ColorsIndistinct(clBlack, clWhite));
}

// Every style on all four sides of (1, 1, 11, 11): the outer and inner pixel of each side, and what is left.
TEST_F(FrCommon, EveryFrameStylePaintsItsRingsInSystemColours)
{
    constexpr TColor M = TMarkedBitmap::Marker;
    struct TCase {
        TFrameStyle Style;
        TColor LeftOuter, LeftInner, RightOuter, RightInner;
        int Shrink;
    };
    const TCase cases[] = {
        { fsNone, M, M, M, M, 0 },
        { fsFlat, cl3DDkShadow, M, cl3DDkShadow, M, 1 },
        { fsGroove, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow, 2 },
        { fsBump, clBtnHighlight, clBtnShadow, clBtnShadow, clBtnHighlight, 2 },
        { fsLowered, clBtnShadow, cl3DDkShadow, clBtnHighlight, cl3DLight, 2 },
        { fsButtonDown, clBtnText, clBtnShadow, clBtnText, clBtnShadow, 2 },
        { fsRaised, cl3DLight, clBtnHighlight, cl3DDkShadow, clBtnShadow, 2 },
        { fsButtonUp, clBtnHighlight, cl3DLight, cl3DDkShadow, clBtnShadow, 2 },
        { fsStatus, clBtnShadow, M, clBtnHighlight, M, 1 },
        { fsPopup, clBtnHighlight, M, clBtnShadow, M, 1 },
        { fsFlatBold, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow, 2 },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TMarkedBitmap b(12, 12);
        const TRect left = PaintStyledBorder(b.Canvas(), Rect(1, 1, 11, 11), c.Style);
        EXPECT_EQ(left, Rect(1 + c.Shrink, 1 + c.Shrink, 11 - c.Shrink, 11 - c.Shrink));
        // Left and top share the upper-left colours, right and bottom the lower-right ones.
        EXPECT_EQ(b.At(1, 5), Rgb(c.LeftOuter));
        EXPECT_EQ(b.At(5, 1), Rgb(c.LeftOuter));
        EXPECT_EQ(b.At(2, 6), Rgb(c.LeftInner));
        EXPECT_EQ(b.At(6, 2), Rgb(c.LeftInner));
        EXPECT_EQ(b.At(10, 5), Rgb(c.RightOuter));
        EXPECT_EQ(b.At(5, 10), Rgb(c.RightOuter));
        EXPECT_EQ(b.At(9, 6), Rgb(c.RightInner));
        EXPECT_EQ(b.At(6, 9), Rgb(c.RightInner));
        EXPECT_EQ(b.At(5, 5), Rgb(M));
        EXPECT_EQ(b.At(0, 0), Rgb(M));
    }
}

TEST_F(FrCommon, TintedStylesPaintInShadesOfTheFaceColour)
{
    constexpr TColor M = TMarkedBitmap::Marker;
    const TColor face = 0x4080C0;
    auto dark = [&](uint8_t n) { return DarkenColor(face, n); };
    auto light = [&](uint8_t n) { return LightenColor(face, n); };
    struct TCase {
        TFrameStyle Style;
        TColor LeftOuter, LeftInner, RightOuter, RightInner;
    };
    const TCase cases[] = {
        { fsNone, M, M, M, M },
        { fsFlat, dark(50), M, dark(50), M },
        { fsGroove, dark(50), light(100), light(100), dark(50) },
        { fsBump, light(100), dark(50), dark(50), light(100) },
        { fsLowered, dark(50), dark(100), light(100), light(50) },
        { fsRaised, light(50), light(100), dark(100), dark(50) },
        { fsButtonDown, dark(100), dark(50), dark(100), dark(50) },
        { fsButtonUp, light(100), light(40), dark(100), dark(50) },
        { fsStatus, dark(50), M, light(100), M },
        { fsPopup, light(100), M, dark(50), M },
        { fsFlatBold, dark(50), dark(50), dark(50), dark(50) },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TMarkedBitmap b(12, 12);
        PaintTintedBorder(b.Canvas(), Rect(1, 1, 11, 11), face, c.Style);
        EXPECT_EQ(b.At(1, 5), Rgb(c.LeftOuter));
        EXPECT_EQ(b.At(2, 6), Rgb(c.LeftInner));
        EXPECT_EQ(b.At(10, 5), Rgb(c.RightOuter));
        EXPECT_EQ(b.At(9, 6), Rgb(c.RightInner));
        EXPECT_EQ(b.At(5, 10), Rgb(c.RightOuter));
    }
}

TEST_F(FrCommon, OnlyTheChosenSidesArePaintedAndShrunk)
{
    TMarkedBitmap groove(10, 8);
    EXPECT_EQ(PaintStyledBorderSides(groove.Canvas(), Rect(0, 0, 10, 8), fsGroove, { sdBottom }), Rect(0, 0, 10, 6));
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(groove.At(x, 6), Rgb(clBtnShadow)) << x;
        EXPECT_EQ(groove.At(x, 7), Rgb(clBtnHighlight)) << x;
        EXPECT_EQ(groove.At(x, 5), Rgb(TMarkedBitmap::Marker)) << x;
    }
    TMarkedBitmap none(10, 8);
    for (TFrameStyle style : { fsFlat, fsGroove, fsLowered, fsFlatBold }) {
        EXPECT_EQ(PaintStyledBorderSides(none.Canvas(), Rect(1, 1, 9, 7), style, {}), Rect(1, 1, 9, 7));
        EXPECT_EQ(PaintTintedBorderSides(none.Canvas(), Rect(1, 1, 9, 7), clRed, style, {}), Rect(1, 1, 9, 7));
    }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(none.At(x, y), Rgb(TMarkedBitmap::Marker)) << x << "," << y;
}

TEST_F(FrCommon, TheDottedFocusSetsEverySecondEdgePixel)
{
    TMarkedBitmap b(9, 7);
    EXPECT_EQ(PaintDottedFocus(b.Canvas(), Rect(0, 0, 9, 7)), Rect(1, 1, 8, 6));
    const uint32_t M = Rgb(TMarkedBitmap::Marker);
    for (int y = 0; y < 7; ++y) {
        EXPECT_EQ(b.At(0, y), y % 2 == 1 ? 0u : M) << y;
        EXPECT_EQ(b.At(8, y), y % 2 == 1 ? 0u : M) << y;
    }
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(b.At(x, 0), x % 2 == 1 ? 0u : M) << x;
        EXPECT_EQ(b.At(x, 6), x % 2 == 1 ? 0u : M) << x;
    }
    EXPECT_EQ(b.At(4, 3), M);
}

TEST_F(FrCommon, TheControlFrameLiesOverARingInTheControlsColour)
{
    // A coloured control: its frame in shades of its colour, over the two-pixel ring.
    const TColor grey = 0xEAEAEA;
    TMarkedBitmap tinted(20, 10);
    PaintControlFrame(tinted.Canvas(), 20, 10, fsLowered, grey, clBtnShadow, AllSides, false);
    EXPECT_EQ(tinted.At(0, 5), Rgb(DarkenColor(grey, 50)));
    EXPECT_EQ(tinted.At(5, 0), Rgb(DarkenColor(grey, 50)));
    EXPECT_EQ(tinted.At(19, 5), Rgb(LightenColor(grey, 100)));
    EXPECT_EQ(tinted.At(5, 9), Rgb(LightenColor(grey, 100)));
    EXPECT_EQ(tinted.At(1, 5), Rgb(DarkenColor(grey, 100)));
    EXPECT_EQ(tinted.At(18, 5), Rgb(LightenColor(grey, 50)));
    EXPECT_EQ(tinted.At(5, 5), Rgb(TMarkedBitmap::Marker));

    // On clWindow, the system colours.
    TMarkedBitmap window(20, 10);
    PaintControlFrame(window.Canvas(), 20, 10, fsLowered, clWindow, clBtnShadow, AllSides, false);
    EXPECT_EQ(window.At(0, 5), Rgb(clBtnShadow));
    EXPECT_EQ(window.At(1, 5), Rgb(cl3DDkShadow));

    // No frame: only the ring; a flat frame on one side lies over it there.
    TMarkedBitmap ring(20, 10);
    PaintControlFrame(ring.Canvas(), 20, 10, fsNone, clWindow, clBtnShadow, AllSides, false);
    for (auto [x, y] : { std::pair { 0, 5 }, { 1, 5 }, { 18, 5 }, { 19, 5 }, { 5, 0 }, { 5, 1 }, { 5, 9 } })
        EXPECT_EQ(ring.At(x, y), Rgb(clWindow)) << x << "," << y;
    EXPECT_EQ(ring.At(2, 2), Rgb(TMarkedBitmap::Marker));
    TMarkedBitmap flat(20, 10);
    PaintControlFrame(flat.Canvas(), 20, 10, fsFlat, clWindow, clRed, { sdLeft }, false);
    EXPECT_EQ(flat.At(0, 5), Rgb(clRed));
    EXPECT_EQ(flat.At(1, 5), Rgb(clWindow));
    EXPECT_EQ(flat.At(19, 5), Rgb(clWindow));
    // Keeping the outer ring leaves what was there.
    TMarkedBitmap kept(20, 10);
    PaintControlFrame(kept.Canvas(), 20, 10, fsFlat, clWindow, clRed, { sdLeft }, true);
    EXPECT_EQ(kept.At(19, 5), Rgb(TMarkedBitmap::Marker));
}

TEST_F(FrCommon, TheClassicDropArrowPointsDownFromTheMiddle)
{
    TMarkedBitmap b(17, 20);
    b.Canvas()->Brush()->SetColor(clLime);
    PaintDropArrow(b.Canvas(), Rect(0, 0, 17, 20), false, true, false);
    // Centre (8, 9 + 2): the tip at (8, 11), the base row four pixels up from (5) to (12).
    EXPECT_EQ(b.At(8, 9), 0u);
    EXPECT_EQ(b.At(6, 7), 0u);
    EXPECT_EQ(b.At(8, 13), Rgb(TMarkedBitmap::Marker));
    EXPECT_EQ(b.Canvas()->Brush()->Color(), clLime);
    TMarkedBitmap disabled(17, 20);
    PaintDropArrow(disabled.Canvas(), Rect(0, 0, 17, 20), false, false, false);
    EXPECT_EQ(disabled.At(8, 9), Rgb(clBtnShadow));
}
