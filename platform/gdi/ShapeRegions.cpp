#include "platform/gdi/ShapeRegions.h"

#include "platform/gdi/Scanlines.h"
#include "platform/gdi/TDeviceContext.h"

#include <algorithm>
#include <vector>

namespace {

bool InRange(int64_t v)
{
    return v >= -kCoordLimit && v <= kCoordLimit;
}

bool Fits(RECT& r)
{
    if (!InRange(r.left) || !InRange(r.right) || !InRange(r.top) || !InRange(r.bottom))
        return false;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return int64_t(r.right) - r.left <= kMaxShapeRegionSize && int64_t(r.bottom) - r.top <= kMaxShapeRegionSize;
}

} // namespace

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return CreateRoundRectRgn(left, top, right, bottom, right - left, bottom - top);
}

HRGN CreateEllipticRgnIndirect(const RECT* rect)
{
    if (!rect)
        return nullptr;
    return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    RECT r { left, top, right, bottom };
    if (!Fits(r))
        return nullptr;
    const double ew = std::abs(double(ellipseWidth));
    const double eh = std::abs(double(ellipseHeight));
    return CreateRegionObject(RoundRectRegion(r.left, r.top, r.right, r.bottom, ew, eh, r));
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode)
{
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING))
        return nullptr;
    std::vector<std::vector<TPointF>> contours;
    RECT box { kCoordLimit, kCoordLimit, -kCoordLimit, -kCoordLimit };
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return nullptr;
        std::vector<TPointF>& contour = contours.emplace_back();
        for (int k = 0; k < counts[i]; ++k, ++p) {
            if (!InRange(p->x) || !InRange(p->y))
                return nullptr;
            contour.push_back(TPointF { double(p->x), double(p->y) });
            box = RECT { std::min<LONG>(box.left, p->x), std::min<LONG>(box.top, p->y), std::max<LONG>(box.right, p->x),
                std::max<LONG>(box.bottom, p->y) };
        }
        if (contour.size() < 3)
            contour.clear();
    }
    if (box.left > box.right)
        return CreateRegionObject(TRegion());
    if (!Fits(box))
        return nullptr;
    return CreateRegionObject(PolygonRegion(contours, fillMode == WINDING, box));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}
