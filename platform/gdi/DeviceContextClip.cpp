// The clip region of a DC: selecting, combining with rectangles, offsetting and querying it.
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Rects.h"

#include <utility>

namespace {

int Complexity(const TRegion& region)
{
    if (region.IsEmpty())
        return NULLREGION;
    return region.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

// The whole drawable area when the DC has no clip region.
TRegion CurrentClip(const TDeviceContext& c)
{
    if (c.State.Clip)
        return *c.State.Clip;
    return TRegion(c.DeviceArea());
}

// What the DC can draw on, in device coordinates: its clip region within the surface, and for a window DC also
// within the window's visible area and the paint region. A question about one place passes it as `limit`, so
// only that part is worked out.
TRegion DrawableArea(TDeviceContext& c, const RECT* limit = nullptr)
{
    TDrawTarget target;
    if (c.Kind() != TDCKind::Screen && c.BeginDraw(target, limit)) {
        TRegion area = std::move(target.Clip);
        area.Offset(-target.Offset.x, -target.Offset.y);
        return area;
    }
    TRegion area(c.DeviceArea());
    if (c.State.Clip)
        area.Intersect(*c.State.Clip);
    return area;
}

RECT Ordered(RECT r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

} // namespace

int SelectClipRgn(HDC dc, HRGN region)
{
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode)
{
    TDeviceContext* c = DCOf(dc);
    if (!c)
        return ERROR;
    if (!region) {
        // Only RGN_COPY may remove the clip region.
        if (mode != RGN_COPY)
            return ERROR;
        c->State.Clip.reset();
        return SIMPLEREGION;
    }
    const TRegion* value = RegionOf(region);
    if (!value)
        return ERROR;
    TRegion clip;
    switch (mode) {
    case RGN_COPY:
        clip = *value;
        break;
    case RGN_AND:
        clip = TRegion::Combined(CurrentClip(*c), *value, TRegion::cmAnd);
        break;
    case RGN_OR:
        clip = TRegion::Combined(CurrentClip(*c), *value, TRegion::cmOr);
        break;
    case RGN_XOR:
        clip = TRegion::Combined(CurrentClip(*c), *value, TRegion::cmXor);
        break;
    case RGN_DIFF:
        clip = TRegion::Combined(CurrentClip(*c), *value, TRegion::cmDiff);
        break;
    default:
        return ERROR;
    }
    c->State.Clip = std::move(clip);
    return Complexity(*c->State.Clip);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    TDeviceContext* c = DCOf(dc);
    if (!c)
        return ERROR;
    TRegion clip = CurrentClip(*c);
    clip.Subtract(Ordered(c->ToDevice(RECT { left, top, right, bottom })));
    c->State.Clip = std::move(clip);
    return Complexity(*c->State.Clip);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    TDeviceContext* c = DCOf(dc);
    if (!c)
        return ERROR;
    TRegion clip = CurrentClip(*c);
    clip.Intersect(Ordered(c->ToDevice(RECT { left, top, right, bottom })));
    c->State.Clip = std::move(clip);
    return Complexity(*c->State.Clip);
}

int OffsetClipRgn(HDC dc, int dx, int dy)
{
    TDeviceContext* c = DCOf(dc);
    if (!c)
        return ERROR;
    if (!c->State.Clip)
        return SIMPLEREGION;
    const RECT box = c->State.Clip->Bounds();
    // Keeps the region inside the coordinate range the drawing code handles.
    if (int64_t(box.left) + dx < -kCoordLimit || int64_t(box.right) + dx > kCoordLimit
        || int64_t(box.top) + dy < -kCoordLimit || int64_t(box.bottom) + dy > kCoordLimit)
        return ERROR;
    c->State.Clip->Offset(dx, dy);
    return Complexity(*c->State.Clip);
}

int GetClipBox(HDC dc, RECT* rect)
{
    TDeviceContext* c = DCOf(dc);
    if (!c || !rect)
        return ERROR;
    const TRegion visible = DrawableArea(*c);
    const RECT box = visible.Bounds();
    const POINT a = c->ToLogical(box.left, box.top);
    const POINT b = c->ToLogical(box.right, box.bottom);
    *rect = visible.IsEmpty() ? RECT {} : RECT { a.x, a.y, b.x, b.y };
    return Complexity(visible);
}

int GetClipRgn(HDC dc, HRGN region)
{
    TDeviceContext* c = DCOf(dc);
    TRegion* target = RegionOf(region);
    if (!c || !target)
        return -1;
    if (!c->State.Clip)
        return 0;
    *target = *c->State.Clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y)
{
    TDeviceContext* c = DCOf(dc);
    if (!c)
        return FALSE;
    const POINT p = c->ToDevice(x, y);
    const RECT pixel { p.x, p.y, p.x + 1, p.y + 1 };
    return DrawableArea(*c, &pixel).Contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC dc, const RECT* rect)
{
    TDeviceContext* c = DCOf(dc);
    if (!c || !rect)
        return FALSE;
    const RECT area = Ordered(c->ToDevice(*rect));
    return DrawableArea(*c, &area).Intersects(area) ? TRUE : FALSE;
}
