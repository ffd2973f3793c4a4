// The framework's geometry records TPoint, TRect and TSize, with the Rect and Bounds constructors.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstdint>

// Right and bottom lie outside the rectangle, as everywhere in the window layer.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom)
{
    return TRect { left, top, right, bottom };
}

inline TRect Bounds(int left, int top, int width, int height)
{
    return TRect { left, top, left + width, top + height };
}

// The window layer speaks RECT and POINT; these records have the same fields in the same order.
inline RECT ToRECT(const TRect& r)
{
    return RECT { r.Left, r.Top, r.Right, r.Bottom };
}
inline TRect FromRECT(const RECT& r)
{
    return TRect { r.left, r.top, r.right, r.bottom };
}
inline POINT ToPOINT(const TPoint& p)
{
    return POINT { p.X, p.Y };
}
