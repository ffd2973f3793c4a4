#include "platform/win/Rects.h"

#include <algorithm>

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom)
{
    if (!rect)
        return FALSE;
    *rect = RECT { left, top, right, bottom };
    return TRUE;
}

BOOL SetRectEmpty(RECT* rect)
{
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(RECT* dest, const RECT* source)
{
    if (!dest || !source)
        return FALSE;
    *dest = *source;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top ? TRUE : FALSE;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
    return rect && RectContains(*rect, point.x, point.y) ? TRUE : FALSE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    *rect = RectOffset(*rect, dx, dy);
    return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

RECT RectIntersection(const RECT& a, const RECT& b)
{
    RECT r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
        std::min(a.bottom, b.bottom) };
    if (r.left >= r.right || r.top >= r.bottom)
        return RECT {};
    return r;
}

BOOL IntersectRect(RECT* dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    *dest = RectIntersection(*a, *b);
    return IsRectEmpty(dest) ? FALSE : TRUE;
}

BOOL UnionRect(RECT* dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    const bool emptyA = IsRectEmpty(a);
    const bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB)
        *dest = RECT {};
    else if (emptyA)
        *dest = *b;
    else if (emptyB)
        *dest = *a;
    else
        *dest = RECT { std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
            std::max(a->bottom, b->bottom) };
    return IsRectEmpty(dest) ? FALSE : TRUE;
}

BOOL SubtractRect(RECT* dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    RECT r = *a;
    const RECT cut = RectIntersection(*a, *b);
    if (!IsRectEmpty(&cut)) {
        const bool fullWidth = cut.left == r.left && cut.right == r.right;
        const bool fullHeight = cut.top == r.top && cut.bottom == r.bottom;
        if (fullWidth && cut.top == r.top)
            r.top = cut.bottom;
        else if (fullWidth && cut.bottom == r.bottom)
            r.bottom = cut.top;
        else if (fullHeight && cut.left == r.left)
            r.left = cut.right;
        else if (fullHeight && cut.right == r.right)
            r.right = cut.left;
    }
    *dest = r;
    return IsRectEmpty(dest) ? FALSE : TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    if (!a || !b)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom ? TRUE : FALSE;
}
