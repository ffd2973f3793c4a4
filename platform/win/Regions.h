// Region objects (HRGN) and the region calls: creation from rectangles and rectangle lists, combining,
// offsetting, point and rectangle tests, the bounding box, equality and the region data block.
#pragma once
#include "platform/win/GdiObjects.h"
#include "platform/win/TRegion.h"

// Region complexity, returned by CombineRgn, OffsetRgn, GetRgnBox and friends.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = ERROR;

// CombineRgn modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// RGNDATAHEADER.iType.
constexpr DWORD RDH_RECTANGLES = 1;

// The GDI object behind an HRGN.
class TRegionObject final : public TGdiObject {
    using inherited = TGdiObject;

public:
    TRegionObject()
        : TGdiObject(OBJ_REGION)
    {
    }
    explicit TRegionObject(TRegion region)
        : TGdiObject(OBJ_REGION)
        , Region(std::move(region))
    {
    }

    TRegion Region;
};

// The region value of a live HRGN, or null. For the window layer and the DCs, which clip with it.
TRegion* RegionOf(HRGN region);
// A new HRGN holding `region`.
HRGN CreateRegionObject(TRegion region);

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// Makes `region` the rectangle; FALSE for an invalid handle.
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// dest = src1 <mode> src2 (src2 unused for RGN_COPY); dest may be either source. ERROR for a bad handle or mode,
// leaving dest unchanged.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
// TRUE when any part of `rect` lies in the region.
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, RECT* box);
BOOL EqualRgn(HRGN a, HRGN b);
// Writes the header and rectangles to `data` when `size` bytes suffice and returns the bytes written;
// with a null `data` or a smaller `size` returns the bytes needed (0 for an invalid handle).
DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data);
// A region from a region data block of `size` bytes: the union of its rectangles, empty ones ignored.
// Null when `transform` is not null (transforms are not supported) or the block is malformed: a header size
// under 32, a type other than RDH_RECTANGLES, or more rectangles than `size` holds.
HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data);
