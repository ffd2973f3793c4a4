// Regions of other shapes than rectangles: ellipses, rounded rectangles and polygons (the rectangle and
// rectangle-list regions and the region operations are the window layer's, in platform/win/Regions.h).
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/win/Regions.h"

// The shapes cover the same pixels as the filled figures drawn with a one-pixel pen: right and bottom excluded.
// Null for a shape over kMaxShapeRegionSize pixels high or wide, or coordinates past the drawing range.
constexpr int kMaxShapeRegionSize = 1 << 16;

HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
// ALTERNATE or WINDING; at least 3 points (fewer give an empty region).
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
