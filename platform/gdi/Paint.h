// The painting core that every drawing call ends in: raster operations on 32-bit pixels, brushes resolved
// against a DC, and painting a region of a target with a brush or colour.
#pragma once
#include "platform/gdi/TDeviceContext.h"

#include <vector>

// The ternary raster operation (pattern, source, destination) of a ROP code's third byte, bitwise on whole
// pixels: bit (P << 2 | S << 1 | D) of `code` gives the result bit.
uint32_t Rop3(uint8_t code, uint32_t pattern, uint32_t source, uint32_t dest);
// One row: dest[i] = Rop3(code, pattern[i], source[i], dest[i]) where mask (when given) is non-zero. `pattern`
// and `source` may be null when the code does not use them.
void Rop3Row(
    uint8_t code, const uint32_t* pattern, const uint32_t* source, uint32_t* dest, const uint8_t* mask, int count);
// The ternary code that does what binary mix mode `rop2` (R2_BLACK .. R2_WHITE) does with the pen as pattern.
uint8_t Rop2ToRop3(int rop2);
bool RopUsesSource(uint8_t code);
bool RopUsesPattern(uint8_t code);
bool RopUsesDest(uint8_t code);

// A brush ready to paint one target: a colour or a tile in the target's representable colours. A tile pixel
// with mask 0 is left alone (the background of a hatch in transparent mode).
struct TFill {
    bool Empty = true;
    bool Solid = true;
    uint32_t Color = 0;
    int TileWidth = 0;
    int TileHeight = 0;
    std::vector<uint32_t> Tile;
    std::vector<uint8_t> TileMask;
    POINT Origin {}; // surface position of tile pixel (0, 0)

    // Pattern pixels and mask for [x, x + count) of row y (surface coordinates).
    void Row(int y, int x, int count, uint32_t* pixels, uint8_t* mask) const;
    bool HasMask() const { return !TileMask.empty(); }
};

TFill SolidFill(const TDrawTarget& target, COLORREF color);
TFill BrushFill(const TDeviceContext& dc, const TDrawTarget& target, const TBrushObject* brush);

// Direct access to a row segment of any surface: 32-bit memory in place, other formats through a buffer that
// Commit writes back.
class TRowAccess final {
public:
    explicit TRowAccess(TSurface& surface)
        : FSurface(surface)
    {
    }
    uint32_t* Begin(int y, int x, int count);
    void Commit();

private:
    TSurface& FSurface;
    std::vector<uint32_t> FBuffer;
    int FY = 0;
    int FX = 0;
    int FCount = 0;
};

// Paints `area` (surface coordinates) within the target's clip with `fill` under ternary code `rop3` (pattern and
// destination only), and records the touched part.
void PaintRegion(TDrawTarget& target, const TRegion& area, const TFill& fill, uint8_t rop3);

// Logical coordinates to surface coordinates.
POINT ToSurface(const TDeviceContext& dc, const TDrawTarget& target, int x, int y);
RECT ToSurface(const TDeviceContext& dc, const TDrawTarget& target, const RECT& logical);
RECT NormalizedRect(RECT r);

// Runs f(dc, target) between BeginDraw and EndDraw. FALSE for a bad handle or a DC that lost its surface; the
// call's own result otherwise.
template <class F> BOOL WithTarget(HDC handle, F&& f)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return FALSE;
    TDrawTarget target;
    if (!dc->BeginDraw(target))
        return FALSE;
    const BOOL result = f(*dc, target);
    dc->EndDraw(target);
    return result;
}

// The same for a call that touches nothing outside `logicalLimit`: the clip is worked out for that part only.
template <class F> BOOL WithTarget(HDC handle, const RECT& logicalLimit, F&& f)
{
    TDeviceContext* dc = DCOf(handle);
    if (!dc)
        return FALSE;
    const RECT deviceLimit = NormalizedRect(dc->ToDevice(logicalLimit));
    TDrawTarget target;
    if (!dc->BeginDraw(target, &deviceLimit))
        return FALSE;
    const BOOL result = f(*dc, target);
    dc->EndDraw(target);
    return result;
}
