// Shape rasterization into regions: ellipses, rounded rectangles, polygons (alternate and winding), wide line
// segments with round ends, and the pixels of one-pixel lines. A pixel belongs to a shape when its centre does.
#pragma once
#include "platform/win/TRegion.h"

#include <cstdint>
#include <functional>
#include <vector>

struct TPointF {
    double x;
    double y;
};

// Only rows and columns inside `limit` are produced, so shapes of any size cost no more than the area they may
// touch.
TRegion EllipseRegion(double left, double top, double right, double bottom, const RECT& limit);
// Corners are quarter ellipses `ellipseWidth` x `ellipseHeight` (cut to the rectangle's size).
TRegion RoundRectRegion(
    double left, double top, double right, double bottom, double ellipseWidth, double ellipseHeight, const RECT& limit);
TRegion PolygonRegion(const std::vector<std::vector<TPointF>>& contours, bool winding, const RECT& limit);
// Adds the one-row rectangles of a segment drawn `2 * radius` wide with round ends.
void AddCapsule(std::vector<RECT>& rects, TPointF a, TPointF b, double radius, const RECT& limit);
// The pixels of a one-pixel line from a to b (b itself only when `last`), with their step number from a, for the
// steps that fall inside `limit`.
void LinePixels(POINT a, POINT b, bool last, const RECT& limit, const std::function<void(int, int, int64_t)>& pixel);
