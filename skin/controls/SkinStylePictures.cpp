#include "skin/controls/SkinStylePictures.h"

#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace {

// ---- Gradients ----------------------------------------------------------------------------------------------------

enum class TRamp { In, Out, InOut };

// A grey ramp inside a one-pixel grey frame. Horizontal "in-out" is light at the sides and dark in the middle;
// vertical "in-out" is dark at the top and bottom and light in the middle.
void DrawGradient(TCanvas* canvas, bool vertical, TRamp ramp)
{
    constexpr int kWidth = 40, kHeight = 16;
    canvas->Brush()->SetColor(clGray);
    canvas->FrameRect(Rect(0, 0, kWidth, kHeight));
    const int steps = vertical ? kHeight - 3 : kWidth - 3;
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x) {
            const double t = double(vertical ? y - 1 : x - 1) / steps;
            double light = t;
            if (ramp == TRamp::Out)
                light = 1 - t;
            else if (ramp == TRamp::InOut)
                light = vertical ? 1 - std::abs(2 * t - 1) : std::abs(2 * t - 1);
            const int grey = int(light * 255 + 0.5);
            canvas->SetPixels(x, y, TColor(grey | grey << 8 | grey << 16));
        }
}

// ---- Brushes, pens and pen widths ---------------------------------------------------------------------------------

// White inside a one-pixel silver border.
void DrawSwatch(TCanvas* canvas, int width, int height)
{
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, width, height));
    canvas->Brush()->SetColor(clSilver);
    canvas->FrameRect(Rect(0, 0, width, height));
}

enum class THatch { Clear, Solid, Cross, DiagCross, FDiagonal, BDiagonal, Horizontal, Vertical };

bool HatchCovers(THatch hatch, int i, int j)
{
    constexpr int kStep = 4;
    auto line = [](int v) { return ((v % kStep) + kStep) % kStep == 1; };
    switch (hatch) {
    case THatch::Clear:
        return false;
    case THatch::Solid:
        return true;
    case THatch::Cross:
        return line(i) || line(j);
    case THatch::DiagCross:
        return line(i - j) || line(i + j);
    case THatch::FDiagonal: // Falling to the right: "\".
        return line(i - j);
    case THatch::BDiagonal: // Rising to the right: "/".
        return line(i + j);
    case THatch::Horizontal:
        return line(j);
    case THatch::Vertical:
        return line(i);
    }
    return false;
}

void DrawBrush(TCanvas* canvas, THatch hatch)
{
    constexpr int kWidth = 44, kHeight = 16;
    DrawSwatch(canvas, kWidth, kHeight);
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x)
            if (HatchCovers(hatch, x - 1, y - 1))
                canvas->SetPixels(x, y, clBlack);
}

// On and off runs of a pen style, in pixels along the line; an empty pattern is solid.
using TDashes = std::array<int, 6>;

void DrawPenStyle(TCanvas* canvas, const TDashes& dashes)
{
    constexpr int kWidth = 44, kHeight = 15, kThickness = 3, kMargin = 4;
    DrawSwatch(canvas, kWidth, kHeight);
    int period = 0;
    for (int run : dashes)
        period += run;
    const int top = (kHeight - kThickness) / 2;
    for (int x = kMargin; x < kWidth - kMargin; ++x) {
        bool on = true;
        if (period > 0) {
            int at = (x - kMargin) % period;
            for (size_t k = 0; k < dashes.size(); ++k) {
                if (at < dashes[k]) {
                    on = k % 2 == 0;
                    break;
                }
                at -= dashes[k];
            }
        }
        if (on)
            for (int y = top; y < top + kThickness; ++y)
                canvas->SetPixels(x, y, clBlack);
    }
}

void DrawPenWidth(TCanvas* canvas, int thickness)
{
    constexpr int kWidth = 40, kHeight = 16, kMargin = 4;
    DrawSwatch(canvas, kWidth, kHeight);
    const int top = (kHeight - thickness) / 2;
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(Rect(kMargin, top, kWidth - kMargin, top + thickness));
}

// ---- Shadows ------------------------------------------------------------------------------------------------------

// A shadow outline in the square's own coordinates: the square spans (0, 0) to (10, 10).
struct TShadowShape {
    std::array<TPoint, 4> Points;
};

constexpr int kSquare = 10;

// A drop shadow: the square itself moved by (dx, dy).
constexpr TShadowShape Drop(int dx, int dy)
{
    return { { TPoint { dx, dy }, TPoint { kSquare + dx, dy }, TPoint { kSquare + dx, kSquare + dy },
        TPoint { dx, kSquare + dy } } };
}

// Eight drop shadows three pixels out, four six pixels out along the diagonals, then eight perspective
// shadows cast from one edge of the square: leaning back or falling forward to either side, straight down and
// widening, straight up and narrowing, and to the left and right, widening.
constexpr std::array<TShadowShape, 20> kShadows = { {
    Drop(-3, -3),
    Drop(0, -3),
    Drop(3, -3),
    Drop(-3, 0),
    Drop(3, 0),
    Drop(-3, 3),
    Drop(0, 3),
    Drop(3, 3),
    Drop(-5, -5),
    Drop(5, -5),
    Drop(-5, 5),
    Drop(5, 5),
    { { TPoint { 0, 10 }, TPoint { 10, 10 }, TPoint { 3, -2 }, TPoint { -7, -2 } } },
    { { TPoint { 0, 10 }, TPoint { 10, 10 }, TPoint { 17, -2 }, TPoint { 7, -2 } } },
    { { TPoint { 0, 10 }, TPoint { 10, 10 }, TPoint { 5, 16 }, TPoint { -5, 16 } } },
    { { TPoint { 0, 10 }, TPoint { 10, 10 }, TPoint { 15, 16 }, TPoint { 5, 16 } } },
    { { TPoint { 0, 10 }, TPoint { 10, 10 }, TPoint { 13, 17 }, TPoint { -3, 17 } } },
    { { TPoint { 0, 0 }, TPoint { 10, 0 }, TPoint { 8, -6 }, TPoint { 2, -6 } } },
    { { TPoint { 0, 0 }, TPoint { 0, 10 }, TPoint { -6, 13 }, TPoint { -6, -3 } } },
    { { TPoint { 10, 0 }, TPoint { 10, 10 }, TPoint { 16, 13 }, TPoint { 16, -3 } } },
} };

// Whether the pixel whose centre is (x + 0.5, y + 0.5) lies inside the outline (even-odd rule).
bool Inside(const std::array<TPoint, 4>& points, int x, int y)
{
    const double px = x + 0.5, py = y + 0.5;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const TPoint& a = points[i];
        const TPoint& b = points[j];
        if ((a.Y > py) != (b.Y > py) && px < double(b.X - a.X) * (py - a.Y) / double(b.Y - a.Y) + a.X)
            inside = !inside;
    }
    return inside;
}

// The square at `origin` with its shadow; the shadow is every other pixel in grey, the white between them
// being the picture's transparent colour.
void DrawSquareWithShadow(TCanvas* canvas, const TShadowShape& shadow, TPoint origin, int size)
{
    std::array<TPoint, 4> points = shadow.Points;
    for (TPoint& p : points)
        p = TPoint { origin.X + p.X * size / kSquare, origin.Y + p.Y * size / kSquare };
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if ((x + y) % 2 == 0 && Inside(points, x, y))
                canvas->SetPixels(x, y, clGray);
    const TRect square = Rect(origin.X, origin.Y, origin.X + size, origin.Y + size);
    canvas->Brush()->SetColor(clTeal);
    canvas->FillRect(square);
    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(square);
}

void DrawShadow(TCanvas* canvas, int number)
{
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 20, 20));
    if (number == 21) {
        // "More settings": a smaller shadowed square and a check mark.
        DrawSquareWithShadow(canvas, Drop(3, 3), TPoint { 2, 2 }, 8);
        for (int k = 0; k < 3; ++k) {
            canvas->SetPixels(11 + k, 13 + k, clBlack);
            canvas->SetPixels(11 + k, 14 + k, clBlack);
        }
        for (int k = 0; k < 6; ++k) {
            canvas->SetPixels(13 + k, 15 - k, clBlack);
            canvas->SetPixels(13 + k, 16 - k, clBlack);
        }
        return;
    }
    // The square and its shadow centred together in the picture.
    const TShadowShape& shadow = kShadows[size_t(number - 1)];
    int left = 0, top = 0, right = kSquare, bottom = kSquare;
    for (const TPoint& p : shadow.Points) {
        left = std::min(left, p.X);
        top = std::min(top, p.Y);
        right = std::max(right, p.X);
        bottom = std::max(bottom, p.Y);
    }
    const TPoint origin { (20 - (right - left)) / 2 - left, (20 - (bottom - top)) / 2 - top };
    DrawSquareWithShadow(canvas, shadow, origin, kSquare);
}

// ---- By name ------------------------------------------------------------------------------------------------------

struct TStylePicture {
    std::string_view Name;
    int Width;
    int Height;
    void (*Draw)(TCanvas* canvas);
};

// clang-format off
constexpr TStylePicture kPictures[] = {
    { "SP_GRAD_HORZ_IN", 40, 16, [](TCanvas* c) { DrawGradient(c, false, TRamp::In); } },
    { "SP_GRAD_HORZ_OUT", 40, 16, [](TCanvas* c) { DrawGradient(c, false, TRamp::Out); } },
    { "SP_GRAD_HORZ_INOUT", 40, 16, [](TCanvas* c) { DrawGradient(c, false, TRamp::InOut); } },
    { "SP_GRAD_VERT_IN", 40, 16, [](TCanvas* c) { DrawGradient(c, true, TRamp::In); } },
    { "SP_GRAD_VERT_OUT", 40, 16, [](TCanvas* c) { DrawGradient(c, true, TRamp::Out); } },
    { "SP_GRAD_VERT_INOUT", 40, 16, [](TCanvas* c) { DrawGradient(c, true, TRamp::InOut); } },
    { "SP_BRUSH_CLEAR", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::Clear); } },
    { "SP_BRUSH_SOLID", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::Solid); } },
    { "SP_BRUSH_CROSS", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::Cross); } },
    { "SP_BRUSH_DCROSS", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::DiagCross); } },
    { "SP_BRUSH_FD", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::FDiagonal); } },
    { "SP_BRUSH_BD", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::BDiagonal); } },
    { "SP_BRUSH_H", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::Horizontal); } },
    { "SP_BRUSH_V", 44, 16, [](TCanvas* c) { DrawBrush(c, THatch::Vertical); } },
    { "SP_PEN_SOLID", 44, 15, [](TCanvas* c) { DrawPenStyle(c, { 0, 0, 0, 0, 0, 0 }); } },
    { "SP_PEN_DASH", 44, 15, [](TCanvas* c) { DrawPenStyle(c, { 9, 6, 0, 0, 0, 0 }); } },
    { "SP_PEN_DASHDOT", 44, 15, [](TCanvas* c) { DrawPenStyle(c, { 9, 3, 3, 3, 0, 0 }); } },
    { "SP_PEN_DOT", 44, 15, [](TCanvas* c) { DrawPenStyle(c, { 3, 3, 0, 0, 0, 0 }); } },
    { "SP_PEN_DASHDOTDOT", 44, 15, [](TCanvas* c) { DrawPenStyle(c, { 9, 3, 3, 3, 3, 3 }); } },
    { "SP_PEN1", 40, 16, [](TCanvas* c) { DrawPenWidth(c, 1); } },
    { "SP_PEN2", 40, 16, [](TCanvas* c) { DrawPenWidth(c, 2); } },
    { "SP_PEN3", 40, 16, [](TCanvas* c) { DrawPenWidth(c, 3); } },
    { "SP_PEN4", 40, 16, [](TCanvas* c) { DrawPenWidth(c, 4); } },
    { "SP_PEN6", 40, 16, [](TCanvas* c) { DrawPenWidth(c, 6); } },
};
// clang-format on

// "SP_SHADOW1" to "SP_SHADOW21": the number, else 0.
int ShadowNumber(std::string_view name)
{
    constexpr std::string_view kPrefix = "SP_SHADOW";
    if (name.substr(0, kPrefix.size()) != kPrefix)
        return 0;
    const std::string_view digits = name.substr(kPrefix.size());
    if (digits.empty() || digits.size() > 2 || digits[0] == '0')
        return 0;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + (c - '0');
    }
    return number <= 21 ? number : 0;
}

} // namespace

bool LoadStylePicture(TBitmap* bitmap, std::string_view name)
{
    if (const int number = ShadowNumber(name)) {
        bitmap->SetSize(20, 20);
        DrawShadow(bitmap->Canvas(), number);
        return true;
    }
    for (const TStylePicture& picture : kPictures)
        if (picture.Name == name) {
            bitmap->SetSize(picture.Width, picture.Height);
            picture.Draw(bitmap->Canvas());
            return true;
        }
    return false;
}
