// Clipping of a line segment to a rectangle, for the clipped line routines.
#pragma once
#include <cstdint>

namespace Img32_drawingex {

// Clips the segment to the closed rectangle [minX, maxX] x [minY, maxY] (pixel or 16.16 coordinates); moves the
// ends that lay outside onto the border. False when nothing of the segment is left.
bool ClipLine(
    int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, int32_t minX, int32_t minY, int32_t maxX, int32_t maxY);

} // namespace Img32_drawingex
