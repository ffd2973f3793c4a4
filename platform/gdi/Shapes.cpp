#include "platform/gdi/Shapes.h"

#include "platform/gdi/Paint.h"
#include "platform/gdi/Scanlines.h"
#include "platform/win/Rects.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <vector>

namespace {

// Dash lengths in pixels, on first, for the one-pixel styles.
const std::vector<int>& DashPattern(UINT style)
{
    static const std::vector<int> kSolid;
    static const std::vector<int> kDash { 18, 6 };
    static const std::vector<int> kDot { 3, 3 };
    static const std::vector<int> kDashDot { 9, 6, 3, 6 };
    static const std::vector<int> kDashDotDot { 9, 3, 3, 3, 3, 3 };
    static const std::vector<int> kAlternate { 1, 1 };
    switch (style) {
    case PS_DASH:
        return kDash;
    case PS_DOT:
        return kDot;
    case PS_DASHDOT:
        return kDashDot;
    case PS_DASHDOTDOT:
        return kDashDotDot;
    case PS_ALTERNATE:
        return kAlternate;
    default:
        return kSolid;
    }
}

bool DashOn(const std::vector<int>& pattern, int64_t step)
{
    if (pattern.empty())
        return true;
    int total = 0;
    for (int n : pattern)
        total += n;
    int64_t pos = step % total;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i])
            return (i & 1) == 0;
        pos -= pattern[i];
    }
    return true;
}

struct TPen {
    bool Null = true;
    int Width = 1;
    UINT Style = PS_SOLID;
    COLORREF Color = 0;
};

TPen PenOfDC(const TDeviceContext& dc)
{
    TPen pen;
    const TPenObject* object = dc.State.Pen.Get();
    if (!object || object->LineStyle() == PS_NULL)
        return pen;
    pen.Null = false;
    pen.Width = std::max(1, object->Width);
    pen.Style = object->LineStyle();
    pen.Color = object->UsesDCColor ? dc.State.DCPenColor : object->Color;
    return pen;
}

uint8_t MixCode(const TDeviceContext& dc)
{
    return Rop2ToRop3(dc.State.Rop2);
}

// Adds pixel (x, y) to `rects`, growing the last rectangle when the pixel continues its row or column: a frame
// of straight lines then makes a few long rectangles rather than one per pixel.
void AddPixel(std::vector<RECT>& rects, int x, int y)
{
    if (!rects.empty()) {
        RECT& last = rects.back();
        if (last.bottom - last.top == 1 && y == last.top && (x == last.right || x == last.left - 1)) {
            last.left = std::min(last.left, x);
            last.right = std::max(last.right, x + 1);
            return;
        }
        if (last.right - last.left == 1 && x == last.left && (y == last.bottom || y == last.top - 1)) {
            last.top = std::min(last.top, y);
            last.bottom = std::max(last.bottom, y + 1);
            return;
        }
    }
    rects.push_back(RECT { x, y, x + 1, y + 1 });
}

// Strokes the path through `points` (surface coordinates) with the DC's pen. One-pixel lines leave out the last
// point of an open path; wide lines have round ends and joins.
void Stroke(TDeviceContext& dc, TDrawTarget& target, const std::vector<POINT>& points, bool closed)
{
    const TPen pen = PenOfDC(dc);
    if (pen.Null || points.size() < 2 || target.Clip.IsEmpty())
        return;
    const RECT limit = target.Clip.Bounds();
    const size_t segments = closed ? points.size() : points.size() - 1;
    const uint8_t code = MixCode(dc);
    if (pen.Width > 1) {
        std::vector<RECT> rects;
        // Even widths sit on the pixel edge so they cover width pixels exactly.
        const double shift = (pen.Width % 2 == 0) ? 0.0 : 0.5;
        for (size_t i = 0; i < segments; ++i) {
            const POINT a = points[i];
            const POINT b = points[(i + 1) % points.size()];
            AddCapsule(rects, TPointF { a.x + shift, a.y + shift }, TPointF { b.x + shift, b.y + shift },
                pen.Width / 2.0, limit);
        }
        PaintRegion(target, TRegion::FromRects(rects), SolidFill(target, pen.Color), code);
        return;
    }
    const std::vector<int>& dashes = DashPattern(pen.Style);
    std::vector<RECT> on;
    std::vector<RECT> off;
    int64_t styleBase = 0;
    bool onlyRuns = true;
    for (size_t i = 0; i < segments; ++i) {
        const POINT a = points[i];
        const POINT b = points[(i + 1) % points.size()];
        if (dashes.empty() && (a.x == b.x || a.y == b.y)) {
            // A solid level or upright line (frames and bevels, nearly all lines) is one rectangle: its pixels from
            // a up to, not including, b.
            const RECT run = a.y == b.y
                ? (b.x > a.x ? RECT { a.x, a.y, b.x, a.y + 1 } : RECT { b.x + 1, a.y, a.x + 1, a.y + 1 })
                : (b.y > a.y ? RECT { a.x, a.y, a.x + 1, b.y } : RECT { a.x, b.y + 1, a.x + 1, a.y + 1 });
            const RECT inside = RectIntersection(run, limit);
            if (inside.left < inside.right && inside.top < inside.bottom)
                on.push_back(inside);
            continue;
        }
        onlyRuns = false;
        LinePixels(a, b, false, limit,
            [&](int x, int y, int64_t k) { AddPixel(DashOn(dashes, styleBase + k) ? on : off, x, y); });
        styleBase += std::max(std::abs(int64_t(b.x) - a.x), std::abs(int64_t(b.y) - a.y));
    }
    if (onlyRuns && code == 0xF0) {
        // Plain copies may paint a shared corner twice: each level or upright line is cut from the clip as a
        // rectangle, without building their union first.
        const TFill fill = SolidFill(target, pen.Color);
        for (const RECT& r : on)
            PaintRegion(target, TRegion(r), fill, code);
        return;
    }
    const TRegion onRegion = TRegion::FromRects(on);
    PaintRegion(target, onRegion, SolidFill(target, pen.Color), code);
    // The gaps of a styled pen take the background colour when the background is opaque.
    if (!off.empty() && dc.State.BkMode == OPAQUE && pen.Style != PS_ALTERNATE) {
        TRegion offRegion = TRegion::FromRects(off);
        offRegion.Subtract(onRegion);
        PaintRegion(target, offRegion, SolidFill(target, dc.State.BkColor), code);
    }
}

std::vector<POINT> SurfacePoints(const TDeviceContext& dc, const TDrawTarget& target, const POINT* points, size_t count)
{
    std::vector<POINT> out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i)
        out.push_back(ToSurface(dc, target, points[i].x, points[i].y));
    return out;
}

enum class TFigure : uint8_t { Rectangle, RoundRect, Ellipse };

TRegion FigureRegion(TFigure figure, const RECT& box, int ellipseWidth, int ellipseHeight, const RECT& limit)
{
    if (box.right <= box.left || box.bottom <= box.top)
        return TRegion();
    switch (figure) {
    case TFigure::Rectangle:
        return TRegion(RectIntersection(box, limit));
    case TFigure::RoundRect:
        return RoundRectRegion(box.left, box.top, box.right, box.bottom, ellipseWidth, ellipseHeight, limit);
    case TFigure::Ellipse:
        return EllipseRegion(box.left, box.top, box.right, box.bottom, limit);
    }
    return TRegion();
}

BOOL DrawFigure(HDC handle, TFigure figure, RECT logical, int ellipseWidth, int ellipseHeight)
{
    return WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        const RECT r = NormalizedRect(ToSurface(dc, target, logical));
        if (target.Clip.IsEmpty() || RectWidth(r) == 0 || RectHeight(r) == 0)
            return TRUE;
        const RECT limit = target.Clip.Bounds();
        const TPen pen = PenOfDC(dc);
        const TFill brush = BrushFill(dc, target, dc.State.Brush.Get());
        const uint8_t code = MixCode(dc);
        const int ew = std::abs(ellipseWidth);
        const int eh = std::abs(ellipseHeight);
        if (pen.Null) {
            const RECT box { r.left, r.top, r.right - 1, r.bottom - 1 };
            PaintRegion(target, FigureRegion(figure, box, ew, eh, limit), brush, code);
            return TRUE;
        }
        const int w = pen.Width;
        RECT outer = r;
        if (w > 1 && pen.Style != PS_INSIDEFRAME) {
            const int before = (w - 1) / 2;
            const int after = w - 1 - before;
            outer = RECT { r.left - before, r.top - before, r.right + after, r.bottom + after };
        }
        const RECT inner { outer.left + w, outer.top + w, outer.right - w, outer.bottom - w };
        const TRegion innerRegion
            = FigureRegion(figure, inner, std::max(0, ew - 2 * w), std::max(0, eh - 2 * w), limit);
        PaintRegion(target, innerRegion, brush, code);
        if (figure == TFigure::Rectangle && w == 1 && pen.Style != PS_SOLID && pen.Style != PS_INSIDEFRAME) {
            // Styled one-pixel frames follow the outline so the dashes run round it.
            Stroke(dc, target,
                { { r.left, r.top }, { r.right - 1, r.top }, { r.right - 1, r.bottom - 1 }, { r.left, r.bottom - 1 } },
                true);
            return TRUE;
        }
        TRegion band = FigureRegion(figure, outer, ew, eh, limit);
        band.Subtract(innerRegion);
        PaintRegion(target, band, SolidFill(target, pen.Color), code);
        return TRUE;
    });
}

HBRUSH ResolveBrushHandle(HBRUSH brush)
{
    // Small values name a system colour, plus one.
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value > 0 && value <= 0x100)
        return GetSysColorBrush(int(value) - 1);
    return brush;
}

BOOL PaintRect(HDC handle, const RECT* rect, const TBrushObject* brush, uint8_t code, bool frame)
{
    if (!rect)
        return FALSE;
    return WithTarget(handle, *rect, [&](TDeviceContext& dc, TDrawTarget& target) {
        const RECT r = ToSurface(dc, target, *rect);
        if (r.right <= r.left || r.bottom <= r.top)
            return TRUE;
        TRegion area(r);
        if (frame)
            area.Subtract(RECT { r.left + 1, r.top + 1, r.right - 1, r.bottom - 1 });
        const TFill fill = brush ? BrushFill(dc, target, brush) : SolidFill(target, 0);
        PaintRegion(target, area, fill, code);
        return TRUE;
    });
}

} // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color)
{
    COLORREF stored = CLR_INVALID;
    WithTarget(handle, RECT { x, y, ClampCoord(int64_t(x) + 1), ClampCoord(int64_t(y) + 1) }, [&](TDeviceContext& dc, TDrawTarget& target) {
        const POINT p = ToSurface(dc, target, x, y);
        if (!target.Clip.Contains(p.x, p.y))
            return FALSE;
        const uint32_t value = target.Surface->Representable(PixelFromColor(color));
        target.Surface->SetPixel(p.x, p.y, value);
        target.AddDirty(RECT { p.x, p.y, p.x + 1, p.y + 1 });
        stored = ColorFromPixel(value);
        return TRUE;
    });
    return stored;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color)
{
    return SetPixel(dc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC handle, int x, int y)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return CLR_INVALID;
    TDrawTarget target;
    const POINT device = dc->ToDevice(x, y);
    if (dc->Kind() == TDCKind::Screen) {
        if (!dc->BeginRead(target, RECT { device.x, device.y, device.x + 1, device.y + 1 }))
            return CLR_INVALID;
    } else if (const RECT pixel { device.x, device.y, device.x + 1, device.y + 1 }; !dc->BeginDraw(target, &pixel)) {
        return CLR_INVALID;
    }
    const int sx = device.x + target.Offset.x;
    const int sy = device.y + target.Offset.y;
    if (!target.Clip.Contains(sx, sy))
        return CLR_INVALID;
    return ColorFromPixel(target.Surface->Pixel(sx, sy));
}

BOOL MoveToEx(HDC handle, int x, int y, POINT* previous)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->State.CurrentPos;
    dc->State.CurrentPos = POINT { x, y };
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, POINT* position)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc || !position)
        return FALSE;
    *position = dc->State.CurrentPos;
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y)
{
    return WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        const POINT from = dc.State.CurrentPos;
        const POINT points[2] = { from, POINT { x, y } };
        Stroke(dc, target, SurfacePoints(dc, target, points, 2), false);
        dc.State.CurrentPos = POINT { x, y };
        return TRUE;
    });
}

BOOL Polyline(HDC handle, const POINT* points, int count)
{
    if (!points || count < 2)
        return FALSE;
    return WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        Stroke(dc, target, SurfacePoints(dc, target, points, size_t(count)), false);
        return TRUE;
    });
}

BOOL PolylineTo(HDC handle, const POINT* points, DWORD count)
{
    if (!points || count < 1)
        return FALSE;
    return WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        std::vector<POINT> path { dc.State.CurrentPos };
        path.insert(path.end(), points, points + count);
        Stroke(dc, target, SurfacePoints(dc, target, path.data(), path.size()), false);
        dc.State.CurrentPos = points[count - 1];
        return TRUE;
    });
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    return DrawFigure(dc, TFigure::Rectangle, RECT { left, top, right, bottom }, 0, 0);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    return DrawFigure(dc, TFigure::RoundRect, RECT { left, top, right, bottom }, ellipseWidth, ellipseHeight);
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    return DrawFigure(dc, TFigure::Ellipse, RECT { left, top, right, bottom }, 0, 0);
}

BOOL PolyPolygon(HDC handle, const POINT* points, const INT* counts, int polygons)
{
    if (!points || !counts || polygons <= 0)
        return FALSE;
    for (int i = 0; i < polygons; ++i)
        if (counts[i] < 2)
            return FALSE;
    return WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        if (target.Clip.IsEmpty())
            return TRUE;
        std::vector<std::vector<POINT>> paths;
        std::vector<std::vector<TPointF>> contours;
        const POINT* p = points;
        for (int i = 0; i < polygons; ++i) {
            paths.push_back(SurfacePoints(dc, target, p, size_t(counts[i])));
            std::vector<TPointF>& contour = contours.emplace_back();
            for (const POINT& q : paths.back())
                contour.push_back(TPointF { double(q.x), double(q.y) });
            p += counts[i];
        }
        const TRegion fill = PolygonRegion(contours, dc.State.PolyFillMode == WINDING, target.Clip.Bounds());
        PaintRegion(target, fill, BrushFill(dc, target, dc.State.Brush.Get()), MixCode(dc));
        for (const std::vector<POINT>& path : paths)
            Stroke(dc, target, path, true);
        return TRUE;
    });
}

BOOL Polygon(HDC dc, const POINT* points, int count)
{
    return PolyPolygon(dc, points, &count, 1);
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const TBrushObject* object = BrushOf(ResolveBrushHandle(brush));
    if (!object)
        return FALSE;
    return PaintRect(dc, rect, object, 0xF0, false);
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    const TBrushObject* object = BrushOf(ResolveBrushHandle(brush));
    if (!object)
        return FALSE;
    return PaintRect(dc, rect, object, 0xF0, true);
}

BOOL InvertRect(HDC dc, const RECT* rect)
{
    return PaintRect(dc, rect, nullptr, 0x55, false);
}

BOOL DrawFocusRect(HDC handle, const RECT* rect)
{
    if (!rect)
        return FALSE;
    return WithTarget(handle, *rect, [&](TDeviceContext& dc, TDrawTarget& target) {
        const RECT r = ToSurface(dc, target, *rect);
        if (r.right <= r.left || r.bottom <= r.top || target.Clip.IsEmpty())
            return TRUE;
        // Every other pixel of the border, counted from the top-left corner.
        std::vector<RECT> dots;
        const RECT limit = target.Clip.Bounds();
        auto dot = [&](int x, int y) {
            if (((x - r.left) + (y - r.top)) % 2 == 0 && RectContains(limit, x, y))
                dots.push_back(RECT { x, y, x + 1, y + 1 });
        };
        const int64_t width = int64_t(r.right) - r.left;
        const int64_t height = int64_t(r.bottom) - r.top;
        // Far-off rectangles only walk the part that can show.
        for (int x = std::max(r.left, limit.left); x < std::min(r.right, limit.right); ++x) {
            dot(x, r.top);
            if (height > 1)
                dot(x, r.bottom - 1);
        }
        for (int y = std::max(r.top + 1, limit.top); y < std::min(r.bottom - 1, limit.bottom); ++y) {
            dot(r.left, y);
            if (width > 1)
                dot(r.right - 1, y);
        }
        TFill white = SolidFill(target, RGB(255, 255, 255));
        white.Color = 0xFFFFFF;
        PaintRegion(target, TRegion::FromRects(dots), white, 0x5A);
        return TRUE;
    });
}
