#include "platform/win/Regions.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

int Complexity(const TRegion& region)
{
    if (region.IsEmpty())
        return NULLREGION;
    return region.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

TRegion* RegionOf(HRGN region)
{
    auto* object = GdiLookup<TRegionObject>(region, OBJ_REGION);
    return object ? &object->Region : nullptr;
}

HRGN CreateRegionObject(TRegion region)
{
    return static_cast<HRGN>(GdiAddObject(std::make_unique<TRegionObject>(std::move(region))));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    // Windows accepts the corners in either order.
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return CreateRegionObject(TRegion(RECT { left, top, right, bottom }));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    if (!rect)
        return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom)
{
    TRegion* value = RegionOf(region);
    if (!value)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    value->SetRect(RECT { left, top, right, bottom });
    return TRUE;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    TRegion* target = RegionOf(dest);
    const TRegion* a = RegionOf(src1);
    if (!target || !a)
        return ERROR;
    if (mode == RGN_COPY) {
        *target = *a;
        return Complexity(*target);
    }
    const TRegion* b = RegionOf(src2);
    if (!b)
        return ERROR;
    TRegion::TCombineMode combine;
    switch (mode) {
    case RGN_AND:
        combine = TRegion::cmAnd;
        break;
    case RGN_OR:
        combine = TRegion::cmOr;
        break;
    case RGN_XOR:
        combine = TRegion::cmXor;
        break;
    case RGN_DIFF:
        combine = TRegion::cmDiff;
        break;
    default:
        return ERROR;
    }
    *target = TRegion::Combined(*a, *b, combine);
    return Complexity(*target);
}

int OffsetRgn(HRGN region, int dx, int dy)
{
    TRegion* value = RegionOf(region);
    if (!value)
        return ERROR;
    value->Offset(dx, dy);
    return Complexity(*value);
}

BOOL PtInRegion(HRGN region, int x, int y)
{
    const TRegion* value = RegionOf(region);
    return value && value->Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect)
{
    const TRegion* value = RegionOf(region);
    if (!value || !rect)
        return FALSE;
    RECT r = *rect;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return value->Intersects(r) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, RECT* box)
{
    const TRegion* value = RegionOf(region);
    if (!value || !box)
        return ERROR;
    *box = value->Bounds();
    return Complexity(*value);
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    const TRegion* ra = RegionOf(a);
    const TRegion* rb = RegionOf(b);
    if (!ra || !rb)
        return ERROR;
    return *ra == *rb ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data)
{
    const TRegion* value = RegionOf(region);
    if (!value)
        return 0;
    const size_t count = value->RectCount();
    const size_t needed = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
    if (needed > 0xFFFFFFFFu)
        return 0;
    if (!data || size < needed)
        return static_cast<DWORD>(needed);
    RGNDATAHEADER header {};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(count);
    header.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    header.rcBound = value->Bounds();
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    std::memcpy(bytes, &header, sizeof header);
    size_t offset = sizeof header;
    value->ForEachRect([&](const RECT& r) {
        std::memcpy(bytes + offset, &r, sizeof r);
        offset += sizeof r;
    });
    return static_cast<DWORD>(needed);
}

HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data)
{
    if (transform || !data || size < sizeof(RGNDATAHEADER))
        return nullptr;
    // The block may come from anywhere (a skin file, a caller's buffer): read it by bytes and check every
    // count against the size before touching a rectangle.
    RGNDATAHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.dwSize < sizeof(RGNDATAHEADER) || header.dwSize > size || header.iType != RDH_RECTANGLES)
        return nullptr;
    const uint64_t available = (uint64_t(size) - header.dwSize) / sizeof(RECT);
    if (header.nCount > available)
        return nullptr;
    std::vector<RECT> rects(header.nCount);
    if (header.nCount > 0)
        std::memcpy(rects.data(), reinterpret_cast<const unsigned char*>(data) + header.dwSize,
            size_t(header.nCount) * sizeof(RECT));
    return CreateRegionObject(TRegion::FromRects(rects));
}
