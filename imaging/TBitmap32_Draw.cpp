// The drawing operations of TBitmap32: blended and antialiased pixels, stipple, lines, rectangles, bitmap onto bitmap.
#include "framework/core/Numbers.h"
#include "imaging/Img32_blend.h"
#include "imaging/Img32_drawingex.h"
#include "imaging/Img32_lowlevel.h"
#include "imaging/Img32.h"
#include "imaging/Img32_Transforms.h"
#include "imaging/TBitmap32.h"

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace Img32_blend;
using namespace Img32_lowlevel;

namespace {

// Float coordinates far outside the 32-bit range land on its ends rather than wrap back into a bitmap.
int32_t RoundSaturated(double value)
{
    const int64_t r = Round(value);
    return int32_t(std::clamp<int64_t>(r, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// 16.16 coordinates plus a small offset wrap as the processor's do.
inline int32_t AddWrap(int32_t a, int32_t b)
{
    return int32_t(uint32_t(a) + uint32_t(b));
}

// The clip window of the 16.16 lines: one pixel beyond every edge, limited to the 32-bit range.
inline int32_t FixedEdge(int32_t size)
{
    return int32_t(std::min<int64_t>(int64_t(size) * 65536, INT32_MAX));
}

float PixelDistance(int64_t dx, int64_t dy)
{
    return float(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)) / 65536.0);
}

} // namespace

// ---- Blended and antialiased pixels ----------------------------------------------------------------------------

void TBitmap32::SetPixelT(int x, int y, TColor32 value)
{
    BlendMem(value, *PixelPtr(x, y));
    EMMS();
}

void TBitmap32::SetPixelT(TColor32*& ptr, TColor32 value)
{
    BlendMem(value, *ptr);
    ++ptr;
    EMMS();
}

void TBitmap32::SetPixelTS(int x, int y, TColor32 value)
{
    if (x >= 0 && x < FWidth && y >= 0 && y < FHeight && FBits)
        SetPixelT(x, y, value);
}

void TBitmap32::SetPixelF(float x, float y, TColor32 value)
{
    SET_T256(RoundSaturated(double(x) * 256), RoundSaturated(double(y) * 256), value);
}

void TBitmap32::SetPixelX(TFixed x, TFixed y, TColor32 value)
{
    SET_T256(AddWrap(x, 127) >> 8, AddWrap(y, 127) >> 8, value);
}

void TBitmap32::SetPixelFS(float x, float y, TColor32 value)
{
    SET_TS256(RoundSaturated(double(x) * 256), RoundSaturated(double(y) * 256), value);
}

void TBitmap32::SetPixelXS(TFixed x, TFixed y, TColor32 value)
{
    SET_TS256(AddWrap(x, 127) >> 8, AddWrap(y, 127) >> 8, value);
}

void TBitmap32::SET_T256(int x, int y, TColor32 value)
{
    const uint8_t* g = Img32::GAMMA_TABLE;
    const uint32_t fx = uint32_t(x) & 255;
    const uint32_t fy = uint32_t(y) & 255;
    const uint32_t a = value >> 24;
    TColor32* p = PixelPtr(x >> 8, y >> 8);
    CombineMem(value, p[0], (g[255 - fx] * a * g[255 - fy]) >> 16);
    CombineMem(value, p[1], (g[fx] * a * g[255 - fy]) >> 16);
    CombineMem(value, p[FWidth + 1], (g[fx] * a * g[fy]) >> 16);
    CombineMem(value, p[FWidth], (g[255 - fx] * a * g[fy]) >> 16);
    EMMS();
}

void TBitmap32::SET_TS256(int x, int y, TColor32 value)
{
    const int px = x >> 8;
    const int py = y >> 8;
    if (x < -256 || y < -256 || px >= FWidth || py >= FHeight || !FBits)
        return;
    const uint8_t* g = Img32::GAMMA_TABLE;
    const uint32_t fx = uint32_t(x) & 255;
    const uint32_t fy = uint32_t(y) & 255;
    const uint32_t a = value >> 24;
    if (x >= 0 && y >= 0)
        CombineMem(value, *PixelPtr(px, py), (g[255 - fx] * a * g[255 - fy]) >> 16);
    if (px < FWidth - 1 && y >= 0)
        CombineMem(value, *PixelPtr(px + 1, py), (g[fx] * a * g[255 - fy]) >> 16);
    if (px < FWidth - 1 && py < FHeight - 1)
        CombineMem(value, *PixelPtr(px + 1, py + 1), (g[fx] * a * g[fy]) >> 16);
    if (x >= 0 && py < FHeight - 1)
        CombineMem(value, *PixelPtr(px, py + 1), (g[255 - fx] * a * g[fy]) >> 16);
    EMMS();
}

// ---- Stipple ---------------------------------------------------------------------------------------------------

void TBitmap32::SetStipple(const TArrayOfColor32& pattern)
{
    StipplePattern = pattern;
    StippleCounter = 0;
}

void TBitmap32::SetStipple(std::initializer_list<TColor32> pattern)
{
    StipplePattern.assign(pattern);
    StippleCounter = 0;
}

void TBitmap32::AdvanceStippleCounter(float lengthPixels)
{
    const size_t length = StipplePattern.size();
    const double delta = double(lengthPixels) * double(StippleStep);
    if (length == 0 || delta == 0)
        return;
    double counter = double(StippleCounter) + delta;
    counter -= double(length) * std::floor(counter / double(length));
    // Far-off counters lose the exactness of that formula; the remainder is then taken exactly.
    if (counter < 0 || counter >= double(length))
        counter = std::fmod(std::fmod(double(StippleCounter) + delta, double(length)) + double(length), double(length));
    // A counter that is no number any more would stall every later stipple; it starts over instead.
    StippleCounter = std::isfinite(counter) ? float(counter) : 0.0f;
}

TColor32 TBitmap32::GetStippleColor()
{
    const int length = int(StipplePattern.size());
    if (length == 0)
        return 0xFF000000;
    float counter = StippleCounter;
    if (!std::isfinite(counter))
        counter = 0;
    // The counter is brought into 0..length by steps of the pattern length; a counter so far out that a step
    // would not change it is reduced in one go, so the loops always end.
    if (counter >= 2.0f * float(length) || counter < -float(length))
        counter = float(std::fmod(std::fmod(double(counter), double(length)) + double(length), double(length)));
    while (counter >= float(length))
        counter -= float(length);
    while (counter < 0)
        counter += float(length);
    const int i = std::clamp(int(Round(double(counter) - 0.5)), 0, length - 1);
    const int j = i + 1 >= length ? 0 : i + 1;
    const int w = Clamp(255 - int(Round(255 * (double(counter) - i))));
    const TColor32 result = w == 255 ? StipplePattern[size_t(i)]
                                     : CombineReg(StipplePattern[size_t(i)], StipplePattern[size_t(j)], TColor32(w));
    EMMS();
    StippleCounter = counter + StippleStep;
    return result;
}

// ---- Horizontal and vertical lines -----------------------------------------------------------------------------

void TBitmap32::HorzLine(int x1, int y, int x2, TColor32 value)
{
    if (x2 < x1)
        return;
    FillLongword(PixelPtr(x1, y), x2 - x1 + 1, value);
}

void TBitmap32::HorzLineS(int x1, int y, int x2, TColor32 value)
{
    if (y >= 0 && y < FHeight && TestClip(x1, x2, FWidth))
        HorzLine(x1, y, x2, value);
}

void TBitmap32::HorzLineT(int x1, int y, int x2, TColor32 value)
{
    if (x2 < x1)
        return;
    TColor32* p = PixelPtr(x1, y);
    for (int x = x1; x <= x2; ++x, ++p)
        BlendMem(value, *p);
    EMMS();
}

void TBitmap32::HorzLineTS(int x1, int y, int x2, TColor32 value)
{
    if (y >= 0 && y < FHeight && TestClip(x1, x2, FWidth))
        HorzLineT(x1, y, x2, value);
}

void TBitmap32::HorzLineTSP(int x1, int y, int x2)
{
    if (Empty() || y < 0 || y >= FHeight)
        return;
    if ((x1 < 0 && x2 < 0) || (x1 >= FWidth && x2 >= FWidth)) {
        AdvanceStippleCounter(float(std::abs(int64_t(x2) - x1) + 1));
        return;
    }
    if (x1 < 0) {
        AdvanceStippleCounter(float(-int64_t(x1)));
        x1 = 0;
    } else if (x1 >= FWidth) {
        AdvanceStippleCounter(float(int64_t(x1) - FWidth + 1));
        x1 = FWidth - 1;
    }
    int64_t outside = 0;
    if (x2 < 0) {
        outside = -int64_t(x2);
        x2 = 0;
    } else if (x2 >= FWidth) {
        outside = int64_t(x2) - (FWidth - 1);
        x2 = FWidth - 1;
    }
    const int step = x2 < x1 ? -1 : 1;
    for (int x = x1;; x += step) {
        SetPixelT(x, y, GetStippleColor());
        if (x == x2)
            break;
    }
    if (outside >= 1)
        AdvanceStippleCounter(float(outside));
}

void TBitmap32::VertLine(int x, int y1, int y2, TColor32 value)
{
    if (y2 < y1)
        return;
    TColor32* p = PixelPtr(x, y1);
    int count = y2 - y1 + 1;
    // Four pixels a round: the column stride defeats the word fill that rows use.
    for (; count >= 4; count -= 4) {
        p[0] = value;
        p[FWidth] = value;
        p[2 * ptrdiff_t(FWidth)] = value;
        p[3 * ptrdiff_t(FWidth)] = value;
        p += 4 * ptrdiff_t(FWidth);
    }
    for (; count > 0; --count, p += FWidth)
        *p = value;
}

void TBitmap32::VertLineS(int x, int y1, int y2, TColor32 value)
{
    if (x >= 0 && x < FWidth && TestClip(y1, y2, FHeight))
        VertLine(x, y1, y2, value);
}

void TBitmap32::VertLineT(int x, int y1, int y2, TColor32 value)
{
    if (y2 < y1)
        return;
    TColor32* p = PixelPtr(x, y1);
    for (int y = y1; y <= y2; ++y, p += FWidth)
        BlendMem(value, *p);
    EMMS();
}

void TBitmap32::VertLineTS(int x, int y1, int y2, TColor32 value)
{
    if (x >= 0 && x < FWidth && TestClip(y1, y2, FHeight))
        VertLineT(x, y1, y2, value);
}

void TBitmap32::VertLineTSP(int x, int y1, int y2)
{
    if (Empty() || x < 0 || x >= FWidth)
        return;
    if ((y1 < 0 && y2 < 0) || (y1 >= FHeight && y2 >= FHeight)) {
        AdvanceStippleCounter(float(std::abs(int64_t(y2) - y1) + 1));
        return;
    }
    if (y1 < 0) {
        AdvanceStippleCounter(float(-int64_t(y1)));
        y1 = 0;
    } else if (y1 >= FHeight) {
        AdvanceStippleCounter(float(int64_t(y1) - FHeight + 1));
        y1 = FHeight - 1;
    }
    int64_t outside = 0;
    if (y2 < 0) {
        outside = -int64_t(y2);
        y2 = 0;
    } else if (y2 >= FHeight) {
        outside = int64_t(y2) - (FHeight - 1);
        y2 = FHeight - 1;
    }
    const int step = y2 < y1 ? -1 : 1;
    for (int y = y1;; y += step) {
        SetPixelT(x, y, GetStippleColor());
        if (y == y2)
            break;
    }
    if (outside >= 1)
        AdvanceStippleCounter(float(outside));
}

// ---- Integer lines -----------------------------------------------------------------------------------------------

namespace {

// Bresenham's walk shared by the opaque and the blended line; plot(x, y) draws one pixel, hline and vline runs.
template <class Plot, class HLine, class VLine>
void WalkLine(int x1, int y1, int x2, int y2, bool l, Plot plot, HLine hline, VLine vline)
{
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    if (dx == 0) {
        if (dy > 0)
            vline(x1, y1, y2 - 1);
        else if (dy < 0)
            vline(x1, y2 + 1, y1);
        if (l)
            plot(x2, y2);
        return;
    }
    if (dy == 0) {
        if (x1 < x2)
            hline(x1, y1, x2 - 1);
        else
            hline(x2 + 1, y1, x1);
        if (l)
            plot(x2, y2);
        return;
    }
    const int sx = dx > 0 ? 1 : -1;
    const int sy = dy > 0 ? 1 : -1;
    const int ax = std::abs(dx);
    const int ay = std::abs(dy);
    int x = x1;
    int y = y1;
    if (ax > ay) {
        int e = ax >> 1;
        for (int i = 0; i < ax; ++i) {
            plot(x, y);
            x += sx;
            e += ay;
            if (e > ax) {
                y += sy;
                e -= ax;
            }
        }
    } else {
        int e = ay >> 1;
        for (int i = 0; i < ay; ++i) {
            plot(x, y);
            y += sy;
            e += ax;
            if (e > ay) {
                x += sx;
                e -= ay;
            }
        }
    }
    if (l)
        plot(x, y);
}

} // namespace

void TBitmap32::Line(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    WalkLine(
        x1, y1, x2, y2, l, [&](int x, int y) { SetPixel(x, y, value); },
        [&](int a, int y, int b) { HorzLine(a, y, b, value); }, [&](int x, int a, int b) { VertLine(x, a, b, value); });
    Changed();
}

void TBitmap32::LineS(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    if (Empty() || !Img32_drawingex::ClipLine(x1, y1, x2, y2, 0, 0, FWidth - 1, FHeight - 1))
        return;
    Line(x1, y1, x2, y2, value, l);
}

void TBitmap32::LineT(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    WalkLine(
        x1, y1, x2, y2, l, [&](int x, int y) { BlendMem(value, *PixelPtr(x, y)); },
        [&](int a, int y, int b) { HorzLineT(a, y, b, value); },
        [&](int x, int a, int b) { VertLineT(x, a, b, value); });
    EMMS();
    Changed();
}

void TBitmap32::LineTS(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    const int endX = x2;
    const int endY = y2;
    if (Empty() || !Img32_drawingex::ClipLine(x1, y1, x2, y2, 0, 0, FWidth - 1, FHeight - 1))
        return;
    if (x2 != endX || y2 != endY)
        l = true;
    LineT(x1, y1, x2, y2, value, l);
}

void TBitmap32::LineA(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    if (x1 == x2 || y1 == y2) {
        LineT(x1, y1, x2, y2, value, l);
        return;
    }
    const uint8_t* g = Img32::GAMMA_TABLE;
    const int sx = x2 - x1 > 0 ? 1 : -1;
    const int sy = y2 - y1 > 0 ? 1 : -1;
    int dx = std::abs(x2 - x1);
    int dy = std::abs(y2 - y1);
    int x = x1;
    int y = y1;
    BlendMem(value, *PixelPtr(x, y));
    // The neighbour of the last steps can fall one pixel beyond the end point, outside a bitmap that the end
    // point touches; it is left out there (its weight is then small or zero anyway).
    auto blendAt = [&](int px, int py, uint32_t weight) {
        if (px >= 0 && px < FWidth && py >= 0 && py < FHeight)
            BlendMemEx(value, *PixelPtr(px, py), weight);
    };
    uint32_t e = 0;
    if (dy > dx) {
        const uint32_t s = (uint32_t(dx) << 16) / uint32_t(dy);
        if (!l)
            --dy;
        for (int i = 0; i < dy; ++i) {
            const uint32_t old = e;
            e = (e + s) & 0xFFFF;
            if (e <= old)
                x += sx;
            y += sy;
            blendAt(x, y, g[(e >> 8) ^ 255]);
            blendAt(x + sx, y, g[e >> 8]);
        }
    } else {
        const uint32_t s = (uint32_t(dy) << 16) / uint32_t(dx);
        if (!l)
            --dx;
        for (int i = 0; i < dx; ++i) {
            const uint32_t old = e;
            e = (e + s) & 0xFFFF;
            if (e <= old)
                y += sy;
            x += sx;
            blendAt(x, y, g[(e >> 8) ^ 255]);
            blendAt(x, y + sy, g[e >> 8]);
        }
    }
    EMMS();
    Changed();
}

void TBitmap32::LineAS(int x1, int y1, int x2, int y2, TColor32 value, bool l)
{
    if (Empty() || !Img32_drawingex::ClipLine(x1, y1, x2, y2, 0, 0, FWidth - 1, FHeight - 1))
        return;
    LineA(x1, y1, x2, y2, value, l);
}

// ---- 16.16 antialiased lines -----------------------------------------------------------------------------------

void TBitmap32::DrawLineX(
    TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l, bool clipped, bool stipple)
{
    // 64-bit positions: the sums and differences below may pass the 32-bit range for far-off coordinates.
    const int64_t dx = int64_t(x2) - x1;
    const int64_t dy = int64_t(y2) - y1;
    int64_t px = int64_t(x1) + 127;
    int64_t py = int64_t(y1) + 127;
    const int64_t ex = int64_t(x2) + 127;
    const int64_t ey = int64_t(y2) + 127;
    int64_t n = Round(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)));
    if (l)
        n += 65536;
    auto dot = [&](int64_t x, int64_t y, TColor32 color) {
        if (clipped)
            SET_TS256(int32_t(x), int32_t(y), color);
        else
            SET_T256(int32_t(x), int32_t(y), color);
    };
    if (n >= 256) {
        const int64_t c = n >> 16;
        int64_t stepX = dx;
        int64_t stepY = dy;
        if (c > 0) {
            stepX = Round(double(dx) * 65536 / double(n));
            stepY = Round(double(dy) * 65536 / double(n));
            for (int64_t i = 0; i < c; ++i) {
                dot(px >> 8, py >> 8, stipple ? GetStippleColor() : value);
                px += stepX;
                py += stepY;
            }
        }
        const TColor32 color = stipple ? GetStippleColor() : value;
        const uint32_t alpha = uint32_t(((color >> 24) * uint64_t(n - c * 65536)) >> 16);
        dot((px + ex - stepX) >> 9, (py + ey - stepY) >> 9, (color & 0x00FFFFFF) | (alpha << 24));
    }
    EMMS();
    Changed();
}

void TBitmap32::LineX(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l)
{
    DrawLineX(x1, y1, x2, y2, value, l, false, false);
}

namespace {

bool StrictlyInside(int64_t v, int32_t size)
{
    return v > 0 && v < int64_t(size) * 65536 - 0x20000;
}

} // namespace

void TBitmap32::LineXS(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l)
{
    const TFixed endX = x2;
    const TFixed endY = y2;
    if (Empty() || !Img32_drawingex::ClipLine(x1, y1, x2, y2, -65536, -65536, FixedEdge(FWidth), FixedEdge(FHeight)))
        return;
    if (x2 != endX || y2 != endY)
        l = true;
    const bool inside = StrictlyInside(x1, FWidth) && StrictlyInside(x2, FWidth) && StrictlyInside(y1, FHeight)
        && StrictlyInside(y2, FHeight);
    DrawLineX(x1, y1, x2, y2, value, l, !inside, false);
}

void TBitmap32::LineF(float x1, float y1, float x2, float y2, TColor32 value, bool l)
{
    LineX(Img32::Fixed(x1), Img32::Fixed(y1), Img32::Fixed(x2), Img32::Fixed(y2), value, l);
}

void TBitmap32::LineFS(float x1, float y1, float x2, float y2, TColor32 value, bool l)
{
    LineXS(Img32::Fixed(x1), Img32::Fixed(y1), Img32::Fixed(x2), Img32::Fixed(y2), value, l);
}

void TBitmap32::LineXP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l)
{
    DrawLineX(x1, y1, x2, y2, 0, l, false, true);
}

void TBitmap32::LineXSP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l)
{
    if (Empty())
        return;
    const TFixed startX = x1, startY = y1, endX = x2, endY = y2;
    if (!Img32_drawingex::ClipLine(x1, y1, x2, y2, -65536, -65536, FixedEdge(FWidth), FixedEdge(FHeight))) {
        // The stipple keeps in step with what clipping removed, as if the invisible line had been drawn.
        AdvanceStippleCounter(PixelDistance(int64_t(x2) - x1, int64_t(y2) - y1) - (l ? 1.0f : 0.0f));
        return;
    }
    if (x1 != startX || y1 != startY)
        AdvanceStippleCounter(PixelDistance(int64_t(x1) - startX, int64_t(y1) - startY));
    const bool endMoved = x2 != endX || y2 != endY;
    if (endMoved)
        l = true;
    const bool inside = StrictlyInside(x1, FWidth) && StrictlyInside(x2, FWidth) && StrictlyInside(y1, FHeight)
        && StrictlyInside(y2, FHeight);
    DrawLineX(x1, y1, x2, y2, 0, l, !inside, true);
    if (endMoved)
        AdvanceStippleCounter(PixelDistance(int64_t(endX) - x2, int64_t(endY) - y2) - 1.0f);
}

void TBitmap32::LineFP(float x1, float y1, float x2, float y2, bool l)
{
    LineXP(Img32::Fixed(x1), Img32::Fixed(y1), Img32::Fixed(x2), Img32::Fixed(y2), l);
}

void TBitmap32::LineFSP(float x1, float y1, float x2, float y2, bool l)
{
    LineXSP(Img32::Fixed(x1), Img32::Fixed(y1), Img32::Fixed(x2), Img32::Fixed(y2), l);
}

// ---- Pen-position lines ----------------------------------------------------------------------------------------

void TBitmap32::MoveTo(int x, int y)
{
    PenPos = TPoint { x, y };
}

void TBitmap32::LineToS(int x, int y)
{
    LineS(PenPos.X, PenPos.Y, x, y, PenColor);
    PenPos = TPoint { x, y };
}

void TBitmap32::LineToTS(int x, int y)
{
    LineTS(PenPos.X, PenPos.Y, x, y, PenColor);
    PenPos = TPoint { x, y };
}

void TBitmap32::LineToAS(int x, int y)
{
    LineAS(PenPos.X, PenPos.Y, x, y, PenColor);
    PenPos = TPoint { x, y };
}

void TBitmap32::MoveToX(TFixed x, TFixed y)
{
    PenPosF = TFixedPoint { x, y };
}

void TBitmap32::MoveToF(float x, float y)
{
    MoveToX(Img32::Fixed(x), Img32::Fixed(y));
}

void TBitmap32::LineToXS(TFixed x, TFixed y)
{
    LineXS(PenPosF.X, PenPosF.Y, x, y, PenColor);
    PenPosF = TFixedPoint { x, y };
}

void TBitmap32::LineToFS(float x, float y)
{
    LineToXS(Img32::Fixed(x), Img32::Fixed(y));
}

void TBitmap32::LineToXSP(TFixed x, TFixed y)
{
    LineXSP(PenPosF.X, PenPosF.Y, x, y);
    PenPosF = TFixedPoint { x, y };
}

void TBitmap32::LineToFSP(float x, float y)
{
    LineToXSP(Img32::Fixed(x), Img32::Fixed(y));
}

// ---- Rectangles --------------------------------------------------------------------------------------------------

namespace {

// The common emptiness test of the clipped rectangle routines.
bool Outside(int x1, int y1, int x2, int y2, int width, int height)
{
    return x1 >= x2 || y1 >= y2 || x1 >= width || y1 >= height || x2 <= 0 || y2 <= 0;
}

} // namespace

void TBitmap32::FillRect(int x1, int y1, int x2, int y2, TColor32 value)
{
    for (int y = y1; y < y2 && x1 < x2; ++y)
        FillLongword(PixelPtr(x1, y), x2 - x1, value);
    Changed();
}

void TBitmap32::FillRectS(int x1, int y1, int x2, int y2, TColor32 value)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    FillRect(std::max(x1, 0), std::max(y1, 0), std::min(x2, FWidth), std::min(y2, FHeight), value);
}

void TBitmap32::FillRectS(const TRect& r, TColor32 value)
{
    FillRectS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TBitmap32::FillRectT(int x1, int y1, int x2, int y2, TColor32 value)
{
    const uint32_t a = value >> 24;
    if (a == 255) {
        FillRect(x1, y1, x2, y2, value);
        return;
    }
    for (int y = y1; y < y2; ++y) {
        TColor32* p = PixelPtr(x1, y);
        for (int x = x1; x < x2; ++x, ++p)
            CombineMem(value, *p, a);
    }
    EMMS();
    Changed();
}

void TBitmap32::FillRectTS(int x1, int y1, int x2, int y2, TColor32 value)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    FillRectT(std::max(x1, 0), std::max(y1, 0), std::min(x2, FWidth), std::min(y2, FHeight), value);
}

void TBitmap32::FillRectTS(const TRect& r, TColor32 value)
{
    FillRectTS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TBitmap32::FrameRectS(int x1, int y1, int x2, int y2, TColor32 value)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    HorzLineS(x1, y1, x2 - 1, value);
    if (y1 < y2 - 1)
        HorzLineS(x1, y2 - 1, x2 - 1, value);
    if (y1 + 1 < y2 - 1) {
        VertLineS(x1, y1 + 1, y2 - 2, value);
        if (x1 < x2 - 1)
            VertLineS(x2 - 1, y1 + 1, y2 - 2, value);
    }
    Changed();
}

void TBitmap32::FrameRectS(const TRect& r, TColor32 value)
{
    FrameRectS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TBitmap32::FrameRectTS(int x1, int y1, int x2, int y2, TColor32 value)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    HorzLineTS(x1, y1, x2 - 1, value);
    if (y1 < y2 - 1)
        HorzLineTS(x1, y2 - 1, x2 - 1, value);
    if (y1 + 1 < y2 - 1) {
        VertLineTS(x1, y1 + 1, y2 - 2, value);
        if (x1 < x2 - 1)
            VertLineTS(x2 - 1, y1 + 1, y2 - 2, value);
    }
    Changed();
}

void TBitmap32::FrameRectTS(const TRect& r, TColor32 value)
{
    FrameRectTS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TBitmap32::FrameRectTSP(int x1, int y1, int x2, int y2)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    const int r = x2 - 1;
    const int b = y2 - 1;
    if (x1 == r && y1 == b) {
        SetPixelTS(x1, y1, GetStippleColor());
    } else if (x1 == r) {
        VertLineTSP(x1, y1, b);
    } else if (y1 == b) {
        HorzLineTSP(x1, y1, r);
    } else {
        HorzLineTSP(x1, y1, r - 1);
        VertLineTSP(r, y1, b - 1);
        HorzLineTSP(r, b, x1 + 1);
        VertLineTSP(x1, b, y1 + 1);
    }
    Changed();
}

void TBitmap32::RaiseRectTS(int x1, int y1, int x2, int y2, int contrast)
{
    if (Outside(x1, y1, x2, y2, FWidth, FHeight))
        return;
    if (contrast != 0) {
        auto alpha
            = [](int64_t c, int64_t scale) { return TColor32(std::clamp<int64_t>(c * scale / 100, 0, 255)) << 24; };
        TColor32 c1, c2;
        if (contrast > 0) {
            c1 = 0x00FFFFFF | alpha(contrast, 512);
            c2 = 0x00000000 | alpha(contrast, 255);
        } else {
            const int64_t c = -int64_t(contrast);
            c1 = 0x00000000 | alpha(c, 255);
            c2 = 0x00FFFFFF | alpha(c, 512);
        }
        HorzLineTS(x1, y1, x2 - 1, c1);
        HorzLineTS(x1, y2 - 1, x2 - 1, c2);
        VertLineTS(x1, y1 + 1, y2 - 2, c1);
        VertLineTS(x2 - 1, y1 + 1, y2 - 2, c2);
    }
    Changed();
}

void TBitmap32::RaiseRectTS(const TRect& r, int contrast)
{
    RaiseRectTS(r.Left, r.Top, r.Right, r.Bottom, contrast);
}

// ---- Bitmap onto bitmap ----------------------------------------------------------------------------------------

void TBitmap32::Draw(int dstX, int dstY, TBitmap32* src)
{
    if (src)
        src->DrawTo(this, dstX, dstY);
}

void TBitmap32::Draw(const TRect& dstRect, const TRect& srcRect, TBitmap32* src)
{
    if (src)
        src->DrawTo(this, dstRect, srcRect);
}

void TBitmap32::DrawTo(TBitmap32* dst)
{
    DrawTo(dst, 0, 0);
}

void TBitmap32::DrawTo(TBitmap32* dst, int dstX, int dstY)
{
    if (!dst || Empty() || dst->Empty())
        return;
    Img32_Transforms::BlockTransfer(dst, dstX, dstY, dst->BoundsRect(), this, BoundsRect(), FDrawMode, OnPixelCombine);
    dst->Changed();
}

void TBitmap32::DrawTo(TBitmap32* dst, const TRect& dstRect)
{
    DrawTo(dst, dstRect, BoundsRect());
}

void TBitmap32::DrawTo(TBitmap32* dst, const TRect& dstRect, const TRect& srcRect)
{
    if (!dst || Empty() || dst->Empty())
        return;
    Img32_Transforms::StretchTransfer(
        dst, dstRect, dst->BoundsRect(), this, srcRect, FStretchFilter, FDrawMode, OnPixelCombine);
    dst->Changed();
}
