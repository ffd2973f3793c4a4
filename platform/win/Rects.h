// The rectangle and point helpers of the window layer (SetRect, OffsetRect, IntersectRect, PtInRect ...).
#pragma once
#include "platform/win/WinTypes.h"

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL CopyRect(RECT* dest, const RECT* source);
// TRUE when the rectangle has no area (right <= left or bottom <= top).
BOOL IsRectEmpty(const RECT* rect);
// Left and top edges are inside, right and bottom outside.
BOOL PtInRect(const RECT* rect, POINT point);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);
// dest = a ∩ b; FALSE (and an empty dest) when they do not overlap.
BOOL IntersectRect(RECT* dest, const RECT* a, const RECT* b);
// dest = the smallest rectangle holding both; empty inputs are ignored.
BOOL UnionRect(RECT* dest, const RECT* a, const RECT* b);
// dest = a minus b when b removes a whole side of a; otherwise a. FALSE when the result is empty.
BOOL SubtractRect(RECT* dest, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);

// The same helpers on values, for C++ callers.
inline int RectWidth(const RECT& r)
{
    return r.right - r.left;
}
inline int RectHeight(const RECT& r)
{
    return r.bottom - r.top;
}
inline bool RectContains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
inline RECT RectOffset(RECT r, int dx, int dy)
{
    return RECT { r.left + dx, r.top + dy, r.right + dx, r.bottom + dy };
}
RECT RectIntersection(const RECT& a, const RECT& b);
