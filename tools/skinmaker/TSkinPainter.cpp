#include "tools/skinmaker/TSkinPainter.h"

#include "framework/graphics/Graphics.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <cmath>

namespace {

float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

// The share of a pixel inside an edge at signed distance d (negative inside), for a one-pixel ramp.
float Coverage(float d)
{
    return Clamp01(0.5f - d);
}

// Distance from (px, py) to a rounded rectangle of half size (hx, hy) centred at the origin, negative inside.
float RoundRectDistance(float px, float py, float hx, float hy, float radius)
{
    const float qx = std::fabs(px) - hx + radius;
    const float qy = std::fabs(py) - hy + radius;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(float px, float py, float x1, float y1, float x2, float y2)
{
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? Clamp01(((px - x1) * dx + (py - y1) * dy) / length2) : 0.0f;
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

bool InsidePolygon(const std::vector<TFloatPoint>& points, float x, float y)
{
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const TFloatPoint& a = points[i];
        const TFloatPoint& b = points[j];
        if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X)
            inside = !inside;
    }
    return inside;
}

} // namespace

TPaint Rgb(uint32_t rgb, float alpha)
{
    return TPaint { float((rgb >> 16) & 0xFF), float((rgb >> 8) & 0xFF), float(rgb & 0xFF), alpha };
}

TPaint Mix(const TPaint& a, const TPaint& b, float t)
{
    return TPaint { a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t };
}

TColor WinColor(const TPaint& paint)
{
    const auto byte = [](float v) { return TColor(std::lround(std::clamp(v, 0.0f, 255.0f))); };
    return byte(paint.R) | (byte(paint.G) << 8) | (byte(paint.B) << 16);
}

TSkinPainter::TSkinPainter(TBitmap32& target)
    : FTarget(target)
{
    ResetClip();
}

void TSkinPainter::SetClip(const TRect& clip)
{
    FClip = TRect { std::max(clip.Left, 0), std::max(clip.Top, 0), std::min(clip.Right, FTarget.Width()),
        std::min(clip.Bottom, FTarget.Height()) };
}

void TSkinPainter::ResetClip()
{
    FClip = FTarget.BoundsRect();
}

bool TSkinPainter::Span(const TFloatRect& box, int& x1, int& y1, int& x2, int& y2) const
{
    x1 = std::max(int(std::floor(box.Left)) - 1, FClip.Left);
    y1 = std::max(int(std::floor(box.Top)) - 1, FClip.Top);
    x2 = std::min(int(std::ceil(box.Right)) + 1, FClip.Right);
    y2 = std::min(int(std::ceil(box.Bottom)) + 1, FClip.Bottom);
    return x1 < x2 && y1 < y2;
}

void TSkinPainter::Blend(int x, int y, const TPaint& colour, float coverage)
{
    const float a = Clamp01(colour.A * coverage);
    if (a <= 0)
        return;
    TColor32& pixel = *FTarget.PixelPtr(x, y);
    const auto mix = [a](uint32_t old, float value) {
        return uint32_t(std::lround(std::clamp(float(old) + (value - float(old)) * a, 0.0f, 255.0f)));
    };
    const uint32_t r = mix((pixel >> 16) & 0xFF, colour.R);
    const uint32_t g = mix((pixel >> 8) & 0xFF, colour.G);
    const uint32_t b = mix(pixel & 0xFF, colour.B);
    pixel = 0xFF000000u | (r << 16) | (g << 8) | b;
}

TPaint TSkinPainter::FillAt(const TFill& fill, const TFloatRect& box, float x, float y) const
{
    const float extent = fill.Vertical ? box.Bottom - box.Top : box.Right - box.Left;
    const float offset = fill.Vertical ? y - box.Top : x - box.Left;
    return Mix(fill.From, fill.To, extent > 1 ? Clamp01(offset / (extent - 1)) : 0.0f);
}

void TSkinPainter::FillRoundRect(const TFloatRect& box, float radius, const TFill& fill)
{
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    const float cx = (box.Left + box.Right) / 2;
    const float cy = (box.Top + box.Bottom) / 2;
    const float hx = (box.Right - box.Left) / 2;
    const float hy = (box.Bottom - box.Top) / 2;
    radius = std::min({ radius, hx, hy });
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            const float d = RoundRectDistance(x + 0.5f - cx, y + 0.5f - cy, hx, hy, radius);
            Blend(x, y, FillAt(fill, box, x + 0.5f, y + 0.5f), Coverage(d));
        }
}

void TSkinPainter::StrokeRoundRect(const TFloatRect& box, float radius, float width, const TPaint& colour)
{
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    const float cx = (box.Left + box.Right) / 2;
    const float cy = (box.Top + box.Bottom) / 2;
    const float hx = (box.Right - box.Left) / 2;
    const float hy = (box.Bottom - box.Top) / 2;
    radius = std::min({ radius, hx, hy });
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            const float d = RoundRectDistance(x + 0.5f - cx, y + 0.5f - cy, hx, hy, radius);
            Blend(x, y, colour, Coverage(d) - Coverage(d + width));
        }
}

void TSkinPainter::BevelRoundRect(const TFloatRect& box, float radius, const TPaint& light, const TPaint& dark)
{
    const float height = box.Bottom - box.Top;
    // The light line fades out towards the middle of the sides, the dark one in from there.
    TRect top { int(std::floor(box.Left)), int(std::floor(box.Top)), int(std::ceil(box.Right)),
        int(std::ceil(box.Top + height / 2)) };
    const TRect saved = FClip;
    SetClip(TRect { std::max(top.Left, saved.Left), std::max(top.Top, saved.Top), std::min(top.Right, saved.Right),
        std::min(top.Bottom, saved.Bottom) });
    StrokeRoundRect(box, radius, 1, light);
    FClip = saved;
    SetClip(TRect { std::max(top.Left, saved.Left), std::max(top.Bottom, saved.Top), std::min(top.Right, saved.Right),
        std::min(int(std::ceil(box.Bottom)), saved.Bottom) });
    StrokeRoundRect(box, radius, 1, dark);
    FClip = saved;
}

void TSkinPainter::FillCircle(float cx, float cy, float radius, const TFill& fill)
{
    const TFloatRect box { cx - radius, cy - radius, cx + radius, cy + radius };
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            Blend(x, y, FillAt(fill, box, x + 0.5f, y + 0.5f), Coverage(d));
        }
}

void TSkinPainter::StrokeCircle(float cx, float cy, float radius, float width, const TPaint& colour)
{
    const TFloatRect box { cx - radius, cy - radius, cx + radius, cy + radius };
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            Blend(x, y, colour, Coverage(d) - Coverage(d + width));
        }
}

void TSkinPainter::Line(float x1f, float y1f, float x2f, float y2f, float width, const TPaint& colour)
{
    const float half = width / 2;
    const TFloatRect box { std::min(x1f, x2f) - half, std::min(y1f, y2f) - half, std::max(x1f, x2f) + half,
        std::max(y1f, y2f) + half };
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x)
            Blend(x, y, colour, Coverage(SegmentDistance(x + 0.5f, y + 0.5f, x1f, y1f, x2f, y2f) - half));
}

void TSkinPainter::Polyline(const std::vector<TFloatPoint>& points, float width, const TPaint& colour)
{
    if (points.size() < 2)
        return;
    // One pass over the union of the segments, so joins are not blended twice.
    const float half = width / 2;
    TFloatRect box { points[0].X, points[0].Y, points[0].X, points[0].Y };
    for (const TFloatPoint& p : points) {
        box.Left = std::min(box.Left, p.X);
        box.Top = std::min(box.Top, p.Y);
        box.Right = std::max(box.Right, p.X);
        box.Bottom = std::max(box.Bottom, p.Y);
    }
    box = TFloatRect { box.Left - half, box.Top - half, box.Right + half, box.Bottom + half };
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            float d = 1e9f;
            for (size_t i = 1; i < points.size(); ++i)
                d = std::min(d,
                    SegmentDistance(
                        x + 0.5f, y + 0.5f, points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y));
            Blend(x, y, colour, Coverage(d - half));
        }
}

void TSkinPainter::FillPolygon(const std::vector<TFloatPoint>& points, const TPaint& colour)
{
    if (points.size() < 3)
        return;
    TFloatRect box { points[0].X, points[0].Y, points[0].X, points[0].Y };
    for (const TFloatPoint& p : points) {
        box.Left = std::min(box.Left, p.X);
        box.Top = std::min(box.Top, p.Y);
        box.Right = std::max(box.Right, p.X);
        box.Bottom = std::max(box.Bottom, p.Y);
    }
    int x1, y1, x2, y2;
    if (!Span(box, x1, y1, x2, y2))
        return;
    constexpr int kSamples = 4;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += InsidePolygon(points, x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples);
            Blend(x, y, colour, float(hits) / (kSamples * kSamples));
        }
}

void TSkinPainter::Arc(float cx, float cy, float radius, float a1, float a2, float width, const TPaint& colour)
{
    const int steps = std::max(8, int(std::fabs(a2 - a1) * radius / 2));
    std::vector<TFloatPoint> points;
    for (int i = 0; i <= steps; ++i) {
        const float a = a1 + (a2 - a1) * float(i) / float(steps);
        points.push_back(TFloatPoint { cx + radius * std::cos(a), cy + radius * std::sin(a) });
    }
    Polyline(points, width, colour);
}

void TSkinPainter::Text(const TRect& box, std::string_view text, std::string_view fontName, int height, bool bold,
    const TPaint& colour, uint32_t flags)
{
    TFont* font = FTarget.Font();
    font->SetName(fontName);
    font->SetHeight(-height);
    font->SetStyle(bold ? TFontStyles { fsBold } : TFontStyles {});
    font->SetColor(WinColor(colour));
    FTarget.Textout(box, flags, text);
}

int TSkinPainter::TextWidth(std::string_view text, std::string_view fontName, int height, bool bold)
{
    TFont* font = FTarget.Font();
    font->SetName(fontName);
    font->SetHeight(-height);
    font->SetStyle(bold ? TFontStyles { fsBold } : TFontStyles {});
    return FTarget.TextWidth(text);
}
