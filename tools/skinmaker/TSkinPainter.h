// TSkinPainter, antialiased shapes, gradients and text drawn onto a 32-bit bitmap for the skin maker.
#pragma once
#include "imaging/Img32Types.h"

#include <cstdint>
#include <string_view>
#include <vector>

class TBitmap32;

// A colour for painting: red, green, blue 0..255 and an opacity 0..1.
struct TPaint {
    float R = 0;
    float G = 0;
    float B = 0;
    float A = 1;
};

// 0xRRGGBB with an opacity.
TPaint Rgb(uint32_t rgb, float alpha = 1);
// a + (b - a) * t, opacity included.
TPaint Mix(const TPaint& a, const TPaint& b, float t);
// The framework colour (0x00BBGGRR) of an opaque paint, for skin descriptions and fonts.
TColor WinColor(const TPaint& paint);

// How a fill varies: one colour, or a linear gradient from From to To along y (Vertical) or x.
struct TFill {
    TPaint From;
    TPaint To;
    bool Vertical = true;

    TFill(const TPaint& colour)
        : From(colour)
        , To(colour)
    {
    }
    TFill(const TPaint& from, const TPaint& to, bool vertical = true)
        : From(from)
        , To(to)
        , Vertical(vertical)
    {
    }
};

// Draws with antialiasing from signed distances: every shape knows how far a pixel centre lies outside its
// edge, and a pixel is covered by the part of it inside. Coordinates are pixels with (0, 0) the top-left corner
// of the top-left pixel, so a shape from 0 to 10 covers exactly pixels 0 to 9. Everything is clipped to the
// clip rectangle (the whole bitmap unless set).
class TSkinPainter {
public:
    explicit TSkinPainter(TBitmap32& target);

    TBitmap32& Target() { return FTarget; }
    void SetClip(const TRect& clip);
    void ResetClip();

    // Rectangles with rounded corners of `radius` (0 gives sharp corners). The fill's gradient runs across the
    // shape's own box.
    void FillRoundRect(const TFloatRect& box, float radius, const TFill& fill);
    // A line of `width` along the inside of the rounded rectangle's edge.
    void StrokeRoundRect(const TFloatRect& box, float radius, float width, const TPaint& colour);
    // A raised or sunken look: a light line along the inside of the top edge and a darker one along the bottom.
    void BevelRoundRect(const TFloatRect& box, float radius, const TPaint& light, const TPaint& dark);
    void FillCircle(float cx, float cy, float radius, const TFill& fill);
    void StrokeCircle(float cx, float cy, float radius, float width, const TPaint& colour);
    // A stroke of `width` from (x1, y1) to (x2, y2) with round ends.
    void Line(float x1, float y1, float x2, float y2, float width, const TPaint& colour);
    // Strokes joined at their ends with round joins.
    void Polyline(const std::vector<TFloatPoint>& points, float width, const TPaint& colour);
    // A filled polygon (any winding); edges antialiased by sampling each pixel 4 x 4 times.
    void FillPolygon(const std::vector<TFloatPoint>& points, const TPaint& colour);
    // An arc of a circle from angle a1 to a2 (radians, clockwise from the positive x axis) stroked with `width`.
    void Arc(float cx, float cy, float radius, float a1, float a2, float width, const TPaint& colour);

    // Text in the family and pixel height given, placed by DT_ flags inside `box`.
    void Text(const TRect& box, std::string_view text, std::string_view fontName, int height, bool bold,
        const TPaint& colour, uint32_t flags);
    // The width of the text in that font.
    int TextWidth(std::string_view text, std::string_view fontName, int height, bool bold);

private:
    // Blends `colour` into pixel (x, y) with the share `coverage` (0..1).
    void Blend(int x, int y, const TPaint& colour, float coverage);
    // The pixels a box touches, limited to the clip.
    bool Span(const TFloatRect& box, int& x1, int& y1, int& x2, int& y2) const;
    TPaint FillAt(const TFill& fill, const TFloatRect& box, float x, float y) const;

    TBitmap32& FTarget;
    TRect FClip;
};
