#include "platform/gdi/Paint.h"

#include "platform/win/WindowSurface.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>

namespace {

// Hatch tiles, one byte per row, the top bit leftmost.
constexpr uint8_t kHatches[6][8] = {
    { 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF }, // HS_HORIZONTAL
    { 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01 }, // HS_VERTICAL
    { 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01 }, // HS_FDIAGONAL
    { 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80 }, // HS_BDIAGONAL
    { 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF }, // HS_CROSS
    { 0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81 }, // HS_DIAGCROSS
};

int Mod(int64_t value, int n)
{
    const int64_t r = value % n;
    return int(r < 0 ? r + n : r);
}

} // namespace

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d)
{
    switch (code) {
    case 0x00:
        return 0;
    case 0xFF:
        return 0xFFFFFFFF;
    case 0xCC:
        return s;
    case 0xF0:
        return p;
    case 0xAA:
        return d;
    case 0x55:
        return ~d;
    case 0x33:
        return ~s;
    case 0x0F:
        return ~p;
    case 0x5A:
        return p ^ d;
    case 0x66:
        return s ^ d;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    case 0xC0:
        return p & s;
    case 0xBB:
        return ~s | d;
    case 0x44:
        return s & ~d;
    case 0x11:
        return ~(s | d);
    case 0xA0:
        return p & d;
    case 0xFA:
        return p | d;
    case 0xFB:
        return p | ~s | d;
    default: {
        uint32_t result = 0;
        for (int m = 0; m < 8; ++m)
            if (code & (1 << m))
                result |= ((m & 4) ? p : ~p) & ((m & 2) ? s : ~s) & ((m & 1) ? d : ~d);
        return result;
    }
    }
}

void Rop3Row(
    uint8_t code, const uint32_t* pattern, const uint32_t* source, uint32_t* dest, const uint8_t* mask, int count)
{
    if (!mask) {
        // The common copies get plain loops.
        if (code == 0xCC && source) {
            std::copy(source, source + count, dest);
            return;
        }
        if (code == 0xF0 && pattern) {
            std::copy(pattern, pattern + count, dest);
            return;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (mask && !mask[i])
            continue;
        dest[i] = Rop3(code, pattern ? pattern[i] : 0, source ? source[i] : 0, dest[i]);
    }
}

uint8_t Rop2ToRop3(int rop2)
{
    const int table = std::clamp(rop2, 1, 16) - 1;
    uint8_t code = 0;
    for (int m = 0; m < 8; ++m) {
        const int p = (m >> 2) & 1;
        const int d = m & 1;
        if ((table >> ((p << 1) | d)) & 1)
            code = uint8_t(code | (1 << m));
    }
    return code;
}

bool RopUsesSource(uint8_t code)
{
    return ((code >> 2) & 0x33) != (code & 0x33);
}

bool RopUsesPattern(uint8_t code)
{
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

bool RopUsesDest(uint8_t code)
{
    return ((code >> 1) & 0x55) != (code & 0x55);
}

void TFill::Row(int y, int x, int count, uint32_t* pixels, uint8_t* mask) const
{
    if (Solid) {
        std::fill_n(pixels, count, Color);
        if (mask)
            std::fill_n(mask, count, 1);
        return;
    }
    const int ty = Mod(int64_t(y) - Origin.y, TileHeight);
    const uint32_t* tileRow = Tile.data() + size_t(ty) * size_t(TileWidth);
    const uint8_t* maskRow = HasMask() ? TileMask.data() + size_t(ty) * size_t(TileWidth) : nullptr;
    int tx = Mod(int64_t(x) - Origin.x, TileWidth);
    for (int i = 0; i < count; ++i) {
        pixels[i] = tileRow[tx];
        if (mask)
            mask[i] = maskRow ? maskRow[tx] : 1;
        if (++tx == TileWidth)
            tx = 0;
    }
}

TFill SolidFill(const TDrawTarget& target, COLORREF color)
{
    TFill fill;
    fill.Empty = false;
    fill.Solid = true;
    fill.Color = target.Surface && target.Surface->IsValid() ? target.Surface->Representable(PixelFromColor(color))
                                                             : PixelFromColor(color);
    return fill;
}

TFill BrushFill(const TDeviceContext& dc, const TDrawTarget& target, const TBrushObject* brush)
{
    TFill fill;
    if (!brush || brush->Style == BS_NULL)
        return fill;
    if (brush->Style == BS_SOLID)
        return SolidFill(target, brush->UsesDCColor ? dc.State.DCBrushColor : brush->Color);
    const TSurface* surface = target.Surface && target.Surface->IsValid() ? target.Surface : nullptr;
    auto map = [&](COLORREF c) {
        const uint32_t p = PixelFromColor(c);
        return surface ? surface->Representable(p) : p;
    };
    fill.Empty = false;
    fill.Solid = false;
    fill.Origin = POINT { dc.State.BrushOrg.x + target.Offset.x, dc.State.BrushOrg.y + target.Offset.y };
    if (brush->Style == BS_HATCHED) {
        fill.TileWidth = 8;
        fill.TileHeight = 8;
        fill.Tile.resize(64);
        const uint32_t fore = map(brush->Color);
        const uint32_t back = map(dc.State.BkColor);
        const bool transparent = dc.State.BkMode == TRANSPARENT;
        if (transparent)
            fill.TileMask.resize(64);
        const uint8_t* bits = kHatches[std::clamp(brush->Hatch, 0, 5)];
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool on = (bits[y] >> (7 - x)) & 1;
                fill.Tile[size_t(y * 8 + x)] = on ? fore : back;
                if (transparent)
                    fill.TileMask[size_t(y * 8 + x)] = on ? 1 : 0;
            }
        return fill;
    }
    fill.TileWidth = brush->PatternWidth;
    fill.TileHeight = brush->PatternHeight;
    if (fill.TileWidth <= 0 || fill.TileHeight <= 0)
        return TFill();
    fill.Tile = brush->Pattern;
    if (brush->PatternMono) {
        const uint32_t fore = map(dc.State.TextColor);
        const uint32_t back = map(dc.State.BkColor);
        for (uint32_t& p : fill.Tile)
            p = p ? back : fore;
    } else if (surface) {
        for (uint32_t& p : fill.Tile)
            p = surface->Representable(p);
    }
    return fill;
}

uint32_t* TRowAccess::Begin(int y, int x, int count)
{
    FY = y;
    FX = x;
    FCount = count;
    if (FSurface.IsBgra())
        return FSurface.Row32(y) + x;
    FBuffer.resize(size_t(count));
    FSurface.ReadRow(y, x, count, FBuffer.data());
    return FBuffer.data();
}

void TRowAccess::Commit()
{
    if (!FSurface.IsBgra())
        FSurface.WriteRow(FY, FX, FCount, FBuffer.data());
}

namespace {

// n copies of `color`: short rows four pixels to a store in line, long ones through the window layer's fill.
void FillRow(uint32_t* d, int n, uint32_t color)
{
    if (n >= 64) {
        FillPixels(d, size_t(n), color);
        return;
    }
    int i = 0;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(int(color));
    for (; i + 16 <= n; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 8), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 12), four);
    }
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), four);
#endif
    for (; i < n; ++i)
        d[i] = color;
}

} // namespace

void PaintRegion(TDrawTarget& target, const TRegion& area, const TFill& fill, uint8_t rop3)
{
    if (fill.Empty || !target.Surface || !target.Surface->IsValid())
        return;
    TRegion clipped;
    if (area.IsRectangle())
        clipped.AssignIntersection(target.Clip, area.Bounds());
    else
        clipped = TRegion::Combined(area, target.Clip, TRegion::cmAnd);
    if (clipped.IsEmpty())
        return;
    if (fill.Solid && rop3 == 0xF0 && target.Surface->IsBgra()) {
        // A plain fill of a 32-bit surface, nearly every fill there is, writes its rows in place.
        TSurface& surface = *target.Surface;
        clipped.ForEachRect([&](const RECT& r) {
            if (r.right - r.left == 1) {
                // A column (an upright line): one store a row.
                for (int y = r.top; y < r.bottom; ++y)
                    surface.Row32(y)[r.left] = fill.Color;
                return;
            }
            for (int y = r.top; y < r.bottom; ++y)
                FillRow(surface.Row32(y) + r.left, r.right - r.left, fill.Color);
        });
        target.AddDirty(clipped.Bounds());
        return;
    }
    TRowAccess access(*target.Surface);
    std::vector<uint32_t> pattern;
    std::vector<uint8_t> mask;
    const bool usesPattern = RopUsesPattern(rop3);
    clipped.ForEachRect([&](const RECT& r) {
        const int n = r.right - r.left;
        if (pattern.size() < size_t(n)) {
            pattern.resize(size_t(n));
            mask.resize(size_t(n));
        }
        if (fill.Solid)
            std::fill_n(pattern.data(), n, fill.Color);
        for (int y = r.top; y < r.bottom; ++y) {
            if (!fill.Solid)
                fill.Row(y, r.left, n, pattern.data(), mask.data());
            uint32_t* d = access.Begin(y, r.left, n);
            if (fill.Solid && rop3 == 0xF0)
                FillRow(d, n, fill.Color);
            else
                Rop3Row(rop3, usesPattern ? pattern.data() : nullptr, nullptr, d,
                    fill.HasMask() && usesPattern ? mask.data() : nullptr, n);
            access.Commit();
        }
    });
    target.AddDirty(clipped.Bounds());
}

POINT ToSurface(const TDeviceContext& dc, const TDrawTarget& target, int x, int y)
{
    const POINT p = dc.ToDevice(x, y);
    return POINT { ClampCoord(int64_t(p.x) + target.Offset.x), ClampCoord(int64_t(p.y) + target.Offset.y) };
}

RECT ToSurface(const TDeviceContext& dc, const TDrawTarget& target, const RECT& logical)
{
    const POINT a = ToSurface(dc, target, logical.left, logical.top);
    const POINT b = ToSurface(dc, target, logical.right, logical.bottom);
    return RECT { a.x, a.y, b.x, b.y };
}

RECT NormalizedRect(RECT r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}
