#include "imaging/Img32_drawingex.h"

#include "imaging/Img32_lowlevel.h"

namespace Img32_drawingex {

namespace {

    // Differences of 16.16 coordinates can pass the 32-bit range; they wrap as the processor's do.
    inline int32_t Sub(int32_t a, int32_t b)
    {
        return int32_t(uint32_t(a) - uint32_t(b));
    }
    inline int32_t Add(int32_t a, int32_t b)
    {
        return int32_t(uint32_t(a) + uint32_t(b));
    }

} // namespace

bool ClipLine(
    int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, int32_t minX, int32_t minY, int32_t maxX, int32_t maxY)
{
    using Img32_lowlevel::MulDiv;
    auto horzCode = [&](int32_t x) { return x < minX ? 1 : (x > maxX ? 2 : 0); };
    auto vertCode = [&](int32_t y) { return y < minY ? 4 : (y > maxY ? 8 : 0); };
    int c1 = horzCode(x1) | vertCode(y1);
    int c2 = horzCode(x2) | vertCode(y2);
    if (c1 & c2)
        return false;
    if ((c1 | c2) == 0)
        return true;

    if (c1 & 12) {
        const int32_t y = y1 > maxY ? maxY : minY;
        x1 = Add(x1, MulDiv(Sub(y, y1), Sub(x2, x1), Sub(y2, y1)));
        y1 = y;
        c1 = horzCode(x1);
    }
    if (c2 & 12) {
        const int32_t y = (c2 & 4) ? minY : maxY;
        x2 = Add(x2, MulDiv(Sub(y, y2), Sub(x2, x1), Sub(y2, y1)));
        y2 = y;
        c2 = horzCode(x2);
    }
    if (c1 & c2)
        return false;
    if ((c1 | c2) == 0)
        return true;

    if (c1 != 0) {
        const int32_t x = c1 == 1 ? minX : maxX;
        y1 = Add(y1, MulDiv(Sub(x, x1), Sub(y2, y1), Sub(x2, x1)));
        x1 = x;
    }
    if (c2 != 0) {
        const int32_t x = c2 == 1 ? minX : maxX;
        y2 = Add(y2, MulDiv(Sub(x, x2), Sub(y2, y1), Sub(x2, x1)));
        x2 = x;
    }
    return true;
}

} // namespace Img32_drawingex
