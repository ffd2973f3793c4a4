#include "skin/core/SkinCtrlsLayout.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <functional>
#include <gtest/gtest.h>

using namespace SkinCtrls;

namespace {

std::unique_ptr<TBitmap> Blank(int w, int h)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(w, h);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(Rect(0, 0, w, h));
    return bmp;
}

// A strip of two 4x4 cells, blue and green, each with a white bottom-left pixel (their transparent colour).
std::unique_ptr<TBitmap> TwoCells()
{
    auto strip = std::make_unique<TBitmap>();
    strip->SetSize(8, 4);
    strip->Canvas()->Brush()->SetColor(clBlue);
    strip->Canvas()->FillRect(Rect(0, 0, 4, 4));
    strip->Canvas()->Brush()->SetColor(clLime);
    strip->Canvas()->FillRect(Rect(4, 0, 8, 4));
    strip->Canvas()->SetPixels(0, 3, clWhite);
    strip->Canvas()->SetPixels(4, 3, clWhite);
    return strip;
}

} // namespace

TEST(SkinCtrlsLayout, PositionsByLayoutAndMargin)
{
    // Centre (50, 20); picture 16x16, caption 30x10, spacing 4.
    const TRect r = Rect(0, 0, 100, 40);
    struct Case {
        const char* name;
        TspButtonLayout layout;
        int margin, pw, ph;
        int px, py, cx, cy;
    };
    const Case kCases[] = {
        { "left", blGlyphLeft, 3, 16, 16, 3, 12, 23, 15 },
        { "left centred", blGlyphLeft, -1, 16, 16, 25, 12, 45, 15 },
        { "right", blGlyphRight, 3, 16, 16, 81, 12, 47, 15 },
        { "right centred", blGlyphRight, -1, 16, 16, 59, 12, 25, 15 },
        { "top", blGlyphTop, 2, 16, 16, 42, 2, 35, 22 },
        { "top centred", blGlyphTop, -1, 16, 16, 42, 5, 35, 25 },
        { "bottom", blGlyphBottom, 2, 16, 16, 42, 22, 35, 8 },
        { "bottom centred", blGlyphBottom, -1, 16, 16, 42, 19, 35, 5 },
        // Without a picture the caption stands half the spacing off the centre, away from the picture's side.
        { "no picture left", blGlyphLeft, -1, 0, 0, 33, 20, 37, 15 },
        { "no picture right", blGlyphRight, -1, 0, 0, 67, 20, 33, 15 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        int px = 0, py = 0, cx = 0, cy = 0;
        CalcImageAndTextLayout(c.layout, r, c.pw, py, px, cy, cx, c.margin, 4, 10, 30, c.ph);
        EXPECT_EQ(px, c.px);
        EXPECT_EQ(py, c.py);
        EXPECT_EQ(cx, c.cx);
        EXPECT_EQ(cy, c.cy);
    }
}

TEST(SkinCtrlsLayout, GlyphCellIsDrawnAndDownMovesItByOnePixel)
{
    auto strip = TwoCells();
    struct Case {
        bool down;
        int cell;
        TPoint blue, white;
    };
    // Margin 0 on the left of (0, 0, 20, 20): the cell stands at (0, 8), or (1, 9) when down.
    const Case kCases[] = {
        { false, 1, TPoint { 0, 8 }, TPoint { 0, 11 } },
        { true, 1, TPoint { 1, 9 }, TPoint { 1, 12 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.down);
        auto target = Blank(20, 20);
        DrawGlyphAndText(
            target->Canvas(), Rect(0, 0, 20, 20), 0, 2, blGlyphLeft, "", strip.get(), 2, c.cell, c.down, false, clRed);
        EXPECT_EQ(target->Canvas()->Pixels(c.blue.X, c.blue.Y), clBlue);
        EXPECT_EQ(target->Canvas()->Pixels(c.blue.X + 3, c.blue.Y), clBlue);
        EXPECT_EQ(target->Canvas()->Pixels(c.blue.X + 4, c.blue.Y), clWhite); // one cell only
        EXPECT_EQ(target->Canvas()->Pixels(c.white.X, c.white.Y), clWhite); // transparent corner
    }
}

TEST(SkinCtrlsLayout, MarkerUnderlinesThePictureOrFillsTheInsetRectangle)
{
    auto strip = TwoCells();
    auto target = Blank(20, 20);
    DrawGlyphAndText(
        target->Canvas(), Rect(0, 0, 20, 20), 0, 2, blGlyphLeft, "", strip.get(), 2, 2, false, true, clRed);
    // Rows py + 2 to py + 4 from px over the whole strip's width (8).
    for (int y = 10; y <= 12; ++y) {
        EXPECT_EQ(target->Canvas()->Pixels(7, y), clRed) << y;
        EXPECT_EQ(target->Canvas()->Pixels(8, y), clWhite) << y;
    }

    struct Case {
        const char* name;
        std::function<void(TCanvas*)> draw;
    };
    TCustomImageList images(nullptr);
    const Case kCases[] = {
        { "empty glyph",
            [](TCanvas* c) {
                TBitmap empty;
                DrawGlyphAndText(c, Rect(0, 0, 20, 20), -1, 2, blGlyphTop, "", &empty, 2, 1, false, true, clRed);
            } },
        // An index equal to the list's count is no picture.
        { "index past the list",
            [&](TCanvas* c) {
                DrawImageAndText(
                    c, Rect(0, 0, 20, 20), -1, 2, blGlyphTop, "", images.Count(), &images, false, true, true, clRed);
            } },
        { "no list",
            [](TCanvas* c) {
                DrawImageAndText(c, Rect(0, 0, 20, 20), -1, 2, blGlyphTop, "", 0, nullptr, false, true, true, clRed);
            } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto filled = Blank(20, 20);
        c.draw(filled->Canvas());
        EXPECT_EQ(filled->Canvas()->Pixels(1, 1), clWhite);
        EXPECT_EQ(filled->Canvas()->Pixels(2, 2), clRed);
        EXPECT_EQ(filled->Canvas()->Pixels(17, 17), clRed);
        EXPECT_EQ(filled->Canvas()->Pixels(18, 18), clWhite);
    }
}
