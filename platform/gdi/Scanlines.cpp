#include "platform/gdi/Scanlines.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixels whose centres lie in [from, to], cut to the limit's columns.
void AddSpan(std::vector<RECT>& rects, int y, double from, double to, const RECT& limit)
{
    if (!(from <= to))
        return;
    const double lo = std::ceil(from - 0.5);
    const double hi = std::floor(to - 0.5) + 1;
    const int left = int(std::max<double>(lo, limit.left));
    const int right = int(std::min<double>(hi, limit.right));
    if (left < right)
        rects.push_back(RECT { left, y, right, y + 1 });
}

// Half-open [from, to) version for polygon spans.
void AddHalfOpenSpan(std::vector<RECT>& rects, int y, double from, double to, const RECT& limit)
{
    const double lo = std::ceil(from - 0.5);
    const double hi = std::ceil(to - 0.5);
    const int left = int(std::max<double>(lo, limit.left));
    const int right = int(std::min<double>(hi, limit.right));
    if (left < right)
        rects.push_back(RECT { left, y, right, y + 1 });
}

void RowRange(double top, double bottom, const RECT& limit, int& first, int& end)
{
    first = int(std::max<double>(std::floor(top), limit.top));
    end = int(std::min<double>(std::ceil(bottom) + 1, limit.bottom));
}

} // namespace

TRegion EllipseRegion(double left, double top, double right, double bottom, const RECT& limit)
{
    return RoundRectRegion(left, top, right, bottom, right - left, bottom - top, limit);
}

TRegion RoundRectRegion(
    double left, double top, double right, double bottom, double ellipseWidth, double ellipseHeight, const RECT& limit)
{
    std::vector<RECT> rects;
    if (!(right > left && bottom > top))
        return TRegion();
    const double rx = std::clamp(ellipseWidth, 0.0, right - left) / 2;
    const double ry = std::clamp(ellipseHeight, 0.0, bottom - top) / 2;
    int first = 0;
    int end = 0;
    RowRange(top, bottom, limit, first, end);
    for (int y = first; y < end; ++y) {
        const double yc = y + 0.5;
        if (yc < top || yc > bottom)
            continue;
        double inset = 0;
        // Rows in a corner band follow the quarter ellipse.
        const double upper = top + ry;
        const double lower = bottom - ry;
        if (ry > 0 && (yc < upper || yc > lower)) {
            const double dy = (yc < upper ? upper - yc : yc - lower) / ry;
            if (dy >= 1)
                continue;
            inset = rx - rx * std::sqrt(1 - dy * dy);
        }
        AddSpan(rects, y, left + inset, right - inset, limit);
    }
    return TRegion::FromRects(rects);
}

TRegion PolygonRegion(const std::vector<std::vector<TPointF>>& contours, bool winding, const RECT& limit)
{
    struct TEdge {
        double X0, Y0, X1, Y1;
        int Direction;
    };
    std::vector<TEdge> edges;
    double top = 0;
    double bottom = 0;
    bool any = false;
    for (const std::vector<TPointF>& contour : contours) {
        const size_t n = contour.size();
        for (size_t i = 0; i < n && n >= 2; ++i) {
            const TPointF a = contour[i];
            const TPointF b = contour[(i + 1) % n];
            if (a.y == b.y)
                continue;
            edges.push_back(a.y < b.y ? TEdge { a.x, a.y, b.x, b.y, 1 } : TEdge { b.x, b.y, a.x, a.y, -1 });
            top = any ? std::min(top, std::min(a.y, b.y)) : std::min(a.y, b.y);
            bottom = any ? std::max(bottom, std::max(a.y, b.y)) : std::max(a.y, b.y);
            any = true;
        }
    }
    if (!any)
        return TRegion();
    std::vector<RECT> rects;
    std::vector<std::pair<double, int>> crossings;
    int first = 0;
    int end = 0;
    RowRange(top, bottom, limit, first, end);
    for (int y = first; y < end; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (const TEdge& e : edges)
            if (e.Y0 <= yc && yc < e.Y1)
                crossings.emplace_back(e.X0 + (yc - e.Y0) * (e.X1 - e.X0) / (e.Y1 - e.Y0), e.Direction);
        std::sort(crossings.begin(), crossings.end());
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count = winding ? count + crossings[i].second : count + 1;
            const bool inside = winding ? count != 0 : (count & 1) != 0;
            if (inside)
                AddHalfOpenSpan(rects, y, crossings[i].first, crossings[i + 1].first, limit);
        }
    }
    return TRegion::FromRects(rects);
}

void AddCapsule(std::vector<RECT>& rects, TPointF a, TPointF b, double radius, const RECT& limit)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    int first = 0;
    int end = 0;
    RowRange(std::min(a.y, b.y) - radius, std::max(a.y, b.y) + radius, limit, first, end);
    const double r2 = radius * radius;
    for (int y = first; y < end; ++y) {
        const double yc = y + 0.5;
        double from = 1e300;
        double to = -1e300;
        auto join = [&](double lo, double hi) {
            if (lo <= hi) {
                from = std::min(from, lo);
                to = std::max(to, hi);
            }
        };
        for (const TPointF& p : { a, b }) {
            const double h = r2 - (yc - p.y) * (yc - p.y);
            if (h >= 0)
                join(p.x - std::sqrt(h), p.x + std::sqrt(h));
        }
        if (length > 0) {
            // The band: |cross| <= radius * length and 0 <= dot <= length^2, each linear in x along the row.
            const double ux = dx / length;
            const double uy = dy / length;
            double lo = -1e300;
            double hi = 1e300;
            auto slab = [&](double cx, double c0, double min, double max) {
                // min <= c0 + cx * x <= max
                if (std::fabs(cx) < 1e-12) {
                    if (c0 < min || c0 > max)
                        hi = -1e300;
                    return;
                }
                double x0 = (min - c0) / cx;
                double x1 = (max - c0) / cx;
                if (x0 > x1)
                    std::swap(x0, x1);
                lo = std::max(lo, x0);
                hi = std::min(hi, x1);
            };
            // Perpendicular distance: (x - a.x) * uy - (yc - a.y) * ux.
            slab(uy, -a.x * uy - (yc - a.y) * ux, -radius, radius);
            // Position along the segment: (x - a.x) * ux + (yc - a.y) * uy.
            slab(ux, -a.x * ux + (yc - a.y) * uy, 0, length);
            join(lo, hi);
        }
        AddSpan(rects, y, from, to, limit);
    }
}

void LinePixels(POINT a, POINT b, bool last, const RECT& limit, const std::function<void(int, int, int64_t)>& pixel)
{
    const int64_t dx = int64_t(b.x) - a.x;
    const int64_t dy = int64_t(b.y) - a.y;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const int64_t major = xMajor ? adx : ady;
    const int64_t minor = xMajor ? ady : adx;
    const int64_t steps = major + (last ? 1 : 0);
    if (steps == 0)
        return;
    const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t m0 = xMajor ? a.x : a.y;
    const int64_t n0 = xMajor ? a.y : a.x;
    const int64_t lo = xMajor ? limit.left : limit.top;
    const int64_t hi = xMajor ? limit.right : limit.bottom;
    // The steps whose major coordinate lies in [lo, hi).
    int64_t kFirst = sMajor > 0 ? lo - m0 : m0 - (hi - 1);
    int64_t kEnd = sMajor > 0 ? hi - m0 : m0 - lo + 1;
    kFirst = std::max<int64_t>(kFirst, 0);
    kEnd = std::min<int64_t>(kEnd, steps);
    for (int64_t k = kFirst; k < kEnd; ++k) {
        // The minor coordinate rounded from the exact line, halves away from the start.
        const int64_t offset = major == 0 ? 0 : (2 * k * minor + major) / (2 * major);
        const int64_t m = m0 + sMajor * k;
        const int64_t n = n0 + sMinor * offset;
        const int64_t x = xMajor ? m : n;
        const int64_t y = xMajor ? n : m;
        if (x >= limit.left && x < limit.right && y >= limit.top && y < limit.bottom)
            pixel(int(x), int(y), k);
    }
}
