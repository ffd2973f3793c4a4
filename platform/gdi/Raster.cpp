#include "platform/gdi/Raster.h"

#include "platform/gdi/Paint.h"
#include "platform/win/Rects.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

enum class TBlendKind : uint8_t { Rop, Alpha, Transparent };

struct TOperation {
    TBlendKind Kind = TBlendKind::Rop;
    uint8_t Code = 0xCC;
    BLENDFUNCTION Blend {};
    uint32_t Key = 0;
    int StretchMode = COLORONCOLOR;
};

// Where a blit reads from, in the source surface's coordinates, and how its pixels convert for the destination.
struct TSourceInfo {
    const TSurface* Surface = nullptr;
    RECT Valid {};
    bool MonoToColor = false;
    uint32_t Fore = 0;
    uint32_t Back = 0;
    bool ColorToMono = false;
    uint32_t Key = 0;
};

// The source pixels a blit needs, already converted: read in place from 32-bit memory that the blit does not
// write, else copied first (which also makes overlapping blits within one surface read the old pixels).
struct TSourcePixels {
    explicit TSourcePixels(std::vector<uint32_t>& storage)
        : Pixels(storage)
    {
    }
    RECT Area {};
    std::vector<uint32_t>& Pixels;
    const TSurface* Direct = nullptr;

    bool Contains(int64_t x, int64_t y) const
    {
        return x >= Area.left && x < Area.right && y >= Area.top && y < Area.bottom;
    }
    // The row's pixel at Area.left.
    const uint32_t* Row(int64_t y) const
    {
        if (Direct)
            return Direct->Row32(int(y)) + Area.left;
        return Pixels.data() + size_t(y - Area.top) * size_t(Area.right - Area.left);
    }
    uint32_t At(int64_t x, int64_t y) const { return Row(y)[x - Area.left]; }
};

void Materialize(const TSourceInfo& source, const RECT& wanted, const TSurface& dest, TSourcePixels& out)
{
    out.Area = RectIntersection(wanted, source.Valid);
    if (IsRectEmpty(&out.Area)) {
        out.Area = RECT {};
        return;
    }
    if (source.Surface->IsBgra() && !source.MonoToColor && !source.ColorToMono
        && source.Surface->Bits() != dest.Bits()) {
        out.Direct = source.Surface;
        return;
    }
    const int width = RectWidth(out.Area);
    out.Pixels.resize(size_t(width) * size_t(RectHeight(out.Area)));
    for (int y = out.Area.top; y < out.Area.bottom; ++y) {
        uint32_t* row = out.Pixels.data() + size_t(y - out.Area.top) * size_t(width);
        source.Surface->ReadRow(y, out.Area.left, width, row);
        if (source.MonoToColor)
            for (int i = 0; i < width; ++i)
                row[i] = (row[i] & 0xFFFFFF) ? source.Back : source.Fore;
        else if (source.ColorToMono)
            for (int i = 0; i < width; ++i)
                row[i] = (row[i] & 0xFFFFFF) == source.Key ? 0xFFFFFF : 0;
    }
}

// One axis of a transfer: destination indexes [0, DestSize) map onto source indexes [0, SourceSize), reversed
// when Flip.
struct TAxis {
    int64_t DestStart = 0;
    int64_t DestSize = 0;
    int64_t SourceStart = 0;
    int64_t SourceSize = 0;
    bool Flip = false;

    // The source pixels (absolute, [lo, hi)) that destination index i takes: the nearest one, or with `block`
    // all those a shrink folds into it.
    void Range(int64_t i, bool block, int64_t& lo, int64_t& hi) const
    {
        int64_t a;
        int64_t b;
        if (block && SourceSize > DestSize) {
            a = i * SourceSize / DestSize;
            b = std::max(a + 1, (i + 1) * SourceSize / DestSize);
        } else {
            a = (2 * i + 1) * SourceSize / (2 * DestSize);
            b = a + 1;
        }
        if (Flip) {
            const int64_t fa = SourceSize - b;
            b = SourceSize - a;
            a = fa;
        }
        lo = SourceStart + a;
        hi = SourceStart + b;
    }
};

// (start, size, flip) of a signed extent.
void Normalize(int64_t start, int64_t extent, int64_t& outStart, int64_t& outSize, bool& flip)
{
    flip = extent < 0;
    outStart = flip ? start + extent : start;
    outSize = flip ? -extent : extent;
}

uint32_t Div255(uint32_t v)
{
    return (v + 127) / 255;
}

uint32_t AlphaOver(uint32_t s, uint32_t d, const BLENDFUNCTION& blend)
{
    const uint32_t constant = blend.SourceConstantAlpha;
    if (blend.AlphaFormat & AC_SRC_ALPHA) {
        // Premultiplied source: d = s * ca + d * (1 - sa * ca).
        const uint32_t alpha = Div255((s >> 24) * constant);
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const uint32_t sc = (s >> shift) & 0xFF;
            const uint32_t dc = (d >> shift) & 0xFF;
            const uint32_t v = std::min<uint32_t>(255, Div255(sc * constant) + Div255(dc * (255 - alpha)));
            out |= v << shift;
        }
        return out;
    }
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF;
        const uint32_t dc = (d >> shift) & 0xFF;
        out |= Div255(sc * constant + dc * (255 - constant)) << shift;
    }
    return out;
}

// One row of AlphaBlend. With a premultiplied source at full constant alpha, an opaque pixel comes out as itself and
// an all-zero one leaves the destination as it was, exactly as the blend's sums give them; icons and masked pictures
// are almost wholly made of these two, so only the rest pay for the per-channel sums.
void AlphaOverRow(const uint32_t* source, uint32_t* dest, const uint8_t* mask, int n, const BLENDFUNCTION& blend)
{
    const bool premultipliedOnly = (blend.AlphaFormat & AC_SRC_ALPHA) && blend.SourceConstantAlpha == 255;
    if (premultipliedOnly && !mask) {
        // A wholly opaque row, the usual one, is a copy.
        uint32_t alphas = 0xFF000000u;
        for (int i = 0; i < n; ++i)
            alphas &= source[i];
        if (alphas == 0xFF000000u) {
            std::memcpy(dest, source, size_t(n) * sizeof(uint32_t));
            return;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (mask && !mask[i])
            continue;
        const uint32_t s = source[i];
        if (premultipliedOnly && s >= 0xFF000000u)
            dest[i] = s;
        else if (!(premultipliedOnly && s == 0))
            dest[i] = AlphaOver(s, dest[i], blend);
    }
}

// Combines the block of source pixels a shrink folds into one destination pixel.
bool Sample(const TSourcePixels& source, int64_t x0, int64_t x1, int64_t y0, int64_t y1, int mode, uint32_t& value)
{
    if (x1 - x0 == 1 && y1 - y0 == 1) {
        if (!source.Contains(x0, y0))
            return false;
        value = source.At(x0, y0);
        return true;
    }
    uint32_t acc = mode == BLACKONWHITE ? 0xFFFFFFFF : 0;
    uint64_t sums[4] = { 0, 0, 0, 0 };
    uint64_t count = 0;
    for (int64_t y = std::max<int64_t>(y0, source.Area.top); y < std::min<int64_t>(y1, source.Area.bottom); ++y)
        for (int64_t x = std::max<int64_t>(x0, source.Area.left); x < std::min<int64_t>(x1, source.Area.right); ++x) {
            const uint32_t p = source.At(x, y);
            ++count;
            if (mode == BLACKONWHITE)
                acc &= p;
            else if (mode == WHITEONBLACK)
                acc |= p;
            else
                for (int c = 0; c < 4; ++c)
                    sums[c] += (p >> (c * 8)) & 0xFF;
        }
    if (count == 0)
        return false;
    if (mode == HALFTONE) {
        acc = 0;
        for (int c = 0; c < 4; ++c)
            acc |= uint32_t((sums[c] + count / 2) / count) << (c * 8);
    }
    value = acc;
    return true;
}

// The working memory of a transfer, kept from one call to the next on the thread: a skin paints its pictures in
// many small pieces, and allocating these for each piece would cost more than moving the pixels.
struct TTransferScratch {
    std::vector<uint32_t> SourcePixels;
    std::vector<int64_t> Columns;
    std::vector<int64_t> ColLo;
    std::vector<int64_t> ColHi;
    std::vector<int64_t> RowLo;
    std::vector<int64_t> RowHi;
    std::vector<uint32_t> SourceRow;
    std::vector<uint8_t> Mask;
    std::vector<uint32_t> PatternRow;
    std::vector<uint8_t> PatternMask;
};

TTransferScratch& Scratch()
{
    thread_local TTransferScratch scratch;
    return scratch;
}

// The transfer itself: `dest` in surface coordinates with signed extents; the source rectangle likewise in the
// source surface's coordinates (ignored when `source` is null).
BOOL Transfer(TDrawTarget& target, const TFill* pattern, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
    const TSourceInfo* source, int64_t sx, int64_t sy, int64_t sw, int64_t sh, const TOperation& op)
{
    if (dw == 0 || dh == 0 || (source && (sw == 0 || sh == 0)) || target.Clip.IsEmpty())
        return TRUE;
    TAxis ax;
    TAxis ay;
    bool flipX = false;
    bool flipY = false;
    Normalize(dx, dw, ax.DestStart, ax.DestSize, flipX);
    Normalize(dy, dh, ay.DestStart, ay.DestSize, flipY);
    const RECT destRect { ClampCoord(ax.DestStart), ClampCoord(ay.DestStart), ClampCoord(ax.DestStart + ax.DestSize),
        ClampCoord(ay.DestStart + ay.DestSize) };
    TRegion visible;
    visible.AssignIntersection(target.Clip, destRect);
    if (visible.IsEmpty())
        return TRUE;
    const RECT bounds = visible.Bounds();
    const bool shrinkBlocks = op.StretchMode != COLORONCOLOR;

    TTransferScratch& scratch = Scratch();
    TSourcePixels pixels(scratch.SourcePixels);
    bool singles = false;
    bool allColumns = true;
    // Each destination pixel takes the source pixel beside the last one's: no stretch and no mirror.
    bool sideBySide = false;
    std::vector<int64_t>& columns = scratch.Columns;
    std::vector<int64_t>& colLo = scratch.ColLo;
    std::vector<int64_t>& colHi = scratch.ColHi;
    std::vector<int64_t>& rowLo = scratch.RowLo;
    std::vector<int64_t>& rowHi = scratch.RowHi;
    if (source) {
        bool sFlipX = false;
        bool sFlipY = false;
        Normalize(sx, sw, ax.SourceStart, ax.SourceSize, sFlipX);
        Normalize(sy, sh, ay.SourceStart, ay.SourceSize, sFlipY);
        ax.Flip = flipX != sFlipX;
        ay.Flip = flipY != sFlipY;
        const int width = RectWidth(bounds);
        const int height = RectHeight(bounds);
        colLo.resize(size_t(width));
        colHi.resize(size_t(width));
        rowLo.resize(size_t(height));
        rowHi.resize(size_t(height));
        int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
        for (int i = 0; i < width; ++i) {
            ax.Range(bounds.left + i - ax.DestStart, shrinkBlocks, colLo[size_t(i)], colHi[size_t(i)]);
            minX = std::min(minX, colLo[size_t(i)]);
            maxX = std::max(maxX, colHi[size_t(i)]);
        }
        for (int i = 0; i < height; ++i) {
            ay.Range(bounds.top + i - ay.DestStart, shrinkBlocks, rowLo[size_t(i)], rowHi[size_t(i)]);
            minY = std::min(minY, rowLo[size_t(i)]);
            maxY = std::max(maxY, rowHi[size_t(i)]);
        }
        const RECT wanted { ClampCoord(minX), ClampCoord(minY), ClampCoord(maxX), ClampCoord(maxY) };
        Materialize(*source, wanted, *target.Surface, pixels);
        if (IsRectEmpty(&pixels.Area))
            return TRUE;
        // Without folded blocks every destination pixel takes one source pixel: look its column up once.
        singles = true;
        for (int i = 0; i < width && singles; ++i)
            singles = colHi[size_t(i)] - colLo[size_t(i)] == 1;
        for (int i = 0; i < height && singles; ++i)
            singles = rowHi[size_t(i)] - rowLo[size_t(i)] == 1;
        if (singles) {
            columns.resize(size_t(width));
            for (int i = 0; i < width; ++i) {
                const int64_t x = colLo[size_t(i)];
                columns[size_t(i)] = x >= pixels.Area.left && x < pixels.Area.right ? x - pixels.Area.left : -1;
                allColumns = allColumns && columns[size_t(i)] >= 0;
            }
            sideBySide = allColumns;
            for (int i = 1; i < width && sideBySide; ++i)
                sideBySide = columns[size_t(i)] == columns[size_t(i - 1)] + 1;
        }
    }
    const bool usesPattern = op.Kind == TBlendKind::Rop && RopUsesPattern(op.Code);
    if (usesPattern && (!pattern || pattern->Empty))
        return TRUE;

    TRowAccess access(*target.Surface);
    std::vector<uint32_t>& sourceRow = scratch.SourceRow;
    std::vector<uint8_t>& mask = scratch.Mask;
    std::vector<uint32_t>& patternRow = scratch.PatternRow;
    std::vector<uint8_t>& patternMask = scratch.PatternMask;
    visible.ForEachRect([&](const RECT& r) {
        const int n = r.right - r.left;
        sourceRow.resize(size_t(n));
        mask.resize(size_t(n));
        patternRow.resize(size_t(n));
        patternMask.resize(size_t(n));
        for (int y = r.top; y < r.bottom; ++y) {
            bool anyMasked = false;
            if (source && singles) {
                const int64_t sy = rowLo[size_t(y - bounds.top)];
                // A row with no source leaves the destination row alone.
                if (sy < pixels.Area.top || sy >= pixels.Area.bottom)
                    continue;
                const uint32_t* row = pixels.Row(sy);
                const int64_t* column = columns.data() + (r.left - bounds.left);
                if (allColumns && op.Kind == TBlendKind::Rop && op.Code == 0xCC) {
                    // The plain stretched copy gathers straight into the destination.
                    uint32_t* d = access.Begin(y, r.left, n);
                    for (int i = 0; i < n; ++i)
                        d[i] = row[column[i]];
                    access.Commit();
                    continue;
                }
                if (sideBySide && op.Kind == TBlendKind::Alpha) {
                    // An unstretched blend reads the source row where it lies.
                    AlphaOverRow(row + column[0], access.Begin(y, r.left, n), nullptr, n, op.Blend);
                    access.Commit();
                    continue;
                }
                for (int i = 0; i < n; ++i) {
                    const int64_t c = column[i];
                    sourceRow[size_t(i)] = c >= 0 ? row[c] : 0;
                    mask[size_t(i)] = c >= 0 ? 1 : 0;
                    anyMasked = anyMasked || c < 0;
                }
            } else if (source) {
                const size_t ry = size_t(y - bounds.top);
                for (int i = 0; i < n; ++i) {
                    const size_t cx = size_t(r.left + i - bounds.left);
                    uint32_t value = 0;
                    const bool ok = Sample(pixels, colLo[cx], colHi[cx], rowLo[ry], rowHi[ry], op.StretchMode, value);
                    sourceRow[size_t(i)] = value;
                    mask[size_t(i)] = ok ? 1 : 0;
                    anyMasked = anyMasked || !ok;
                }
            }
            if (usesPattern) {
                pattern->Row(y, r.left, n, patternRow.data(), patternMask.data());
                if (pattern->HasMask())
                    for (int i = 0; i < n; ++i) {
                        mask[size_t(i)]
                            = uint8_t(source ? mask[size_t(i)] && patternMask[size_t(i)] : patternMask[size_t(i)]);
                        anyMasked = anyMasked || !mask[size_t(i)];
                    }
            }
            uint32_t* d = access.Begin(y, r.left, n);
            switch (op.Kind) {
            case TBlendKind::Rop:
                Rop3Row(op.Code, usesPattern ? patternRow.data() : nullptr, source ? sourceRow.data() : nullptr, d,
                    anyMasked ? mask.data() : nullptr, n);
                break;
            case TBlendKind::Alpha:
                AlphaOverRow(sourceRow.data(), d, anyMasked ? mask.data() : nullptr, n, op.Blend);
                break;
            case TBlendKind::Transparent:
                for (int i = 0; i < n; ++i)
                    if (mask[size_t(i)] && (sourceRow[size_t(i)] & 0xFFFFFF) != op.Key)
                        d[i] = sourceRow[size_t(i)];
                break;
            }
            access.Commit();
        }
    });
    target.AddDirty(bounds);
    return TRUE;
}

// A straight copy into 32-bit memory from different memory: the common BitBlt, row by row. A source in another
// colour format converts each row straight into the destination row, with no copy of the source in between.
bool FastCopy(TDrawTarget& target, const TSourceInfo& source, const RECT& destRect, int sourceX, int sourceY)
{
    const TSurface& s = *source.Surface;
    TSurface& d = *target.Surface;
    if (!d.IsBgra() || source.MonoToColor || source.ColorToMono || s.Bits() == d.Bits())
        return false;
    const int64_t offsetX = int64_t(sourceX) - destRect.left;
    const int64_t offsetY = int64_t(sourceY) - destRect.top;
    // Only where the source exists.
    const RECT valid = RectOffset(source.Valid, int(-offsetX), int(-offsetY));
    TRegion visible(RectIntersection(destRect, valid));
    visible.Intersect(target.Clip);
    const bool direct = s.IsBgra();
    visible.ForEachRect([&](const RECT& r) {
        const int n = r.right - r.left;
        for (int y = r.top; y < r.bottom; ++y) {
            if (direct)
                std::memcpy(d.Row32(y) + r.left, s.Row32(int(y + offsetY)) + (r.left + offsetX), size_t(n) * 4);
            else
                s.ReadRow(int(y + offsetY), int(r.left + offsetX), n, d.Row32(y) + r.left);
        }
    });
    target.AddDirty(visible.Bounds());
    return true;
}

// Sets up the source side of a DC-to-DC operation. `sourceArea` is in the source DC's logical coordinates with
// signed extents; it comes back in source-surface coordinates.
bool OpenSource(TDeviceContext& sourceDC, TDrawTarget& sourceTarget, const TDeviceContext& destDC,
    const TDrawTarget& destTarget, int sx, int sy, int sw, int sh, TSourceInfo& info, int64_t out[4])
{
    const POINT a = sourceDC.ToDevice(sx, sy);
    const POINT b = sourceDC.ToDevice(ClampCoord(int64_t(sx) + sw), ClampCoord(int64_t(sy) + sh));
    const RECT device = NormalizedRect(RECT { a.x, a.y, b.x, b.y });
    if (!sourceDC.BeginRead(sourceTarget, device))
        return false;
    info.Surface = sourceTarget.Surface;
    info.Valid = sourceTarget.Surface && sourceTarget.Surface->IsValid() ? sourceTarget.Clip.Bounds() : RECT {};
    const bool sourceMono = info.Surface && info.Surface->Mono();
    const bool destMono = destTarget.Surface && destTarget.Surface->Mono();
    if (sourceMono && !destMono) {
        info.MonoToColor = true;
        info.Fore = PixelFromColor(destDC.State.TextColor);
        info.Back = PixelFromColor(destDC.State.BkColor);
    } else if (!sourceMono && destMono) {
        info.ColorToMono = true;
        info.Key = PixelFromColor(sourceDC.State.BkColor);
    }
    out[0] = int64_t(a.x) + sourceTarget.Offset.x;
    out[1] = int64_t(a.y) + sourceTarget.Offset.y;
    out[2] = int64_t(b.x) - a.x;
    out[3] = int64_t(b.y) - a.y;
    return true;
}

BOOL DCTransfer(HDC destHandle, int x, int y, int width, int height, HDC sourceHandle, int sx, int sy, int sw, int sh,
    TOperation op)
{
    TDeviceContext* destDC = DCOf(destHandle);
    if (!destDC)
        return FALSE;
    const bool needsSource = op.Kind != TBlendKind::Rop || RopUsesSource(op.Code);
    TDeviceContext* sourceDC = needsSource ? DCOf(sourceHandle) : nullptr;
    if (needsSource && !sourceDC)
        return FALSE;
    // Nothing outside the destination rectangle is touched, so the clip is worked out for that part only.
    const POINT da = destDC->ToDevice(x, y);
    const POINT db = destDC->ToDevice(ClampCoord(int64_t(x) + width), ClampCoord(int64_t(y) + height));
    const RECT deviceDest = NormalizedRect(RECT { da.x, da.y, db.x, db.y });
    TDrawTarget target;
    if (!destDC->BeginDraw(target, &deviceDest))
        return FALSE;
    if (op.Kind == TBlendKind::Rop)
        op.StretchMode = destDC->State.StretchMode;
    const POINT a = ToSurface(*destDC, target, x, y);
    const POINT b = ToSurface(*destDC, target, ClampCoord(int64_t(x) + width), ClampCoord(int64_t(y) + height));
    const TFill pattern = BrushFill(*destDC, target, destDC->State.Brush.Get());
    BOOL result = TRUE;
    if (!target.Surface->IsValid()) {
        result = TRUE;
    } else if (!needsSource) {
        result = Transfer(target, &pattern, a.x, a.y, int64_t(b.x) - a.x, int64_t(b.y) - a.y, nullptr, 0, 0, 0, 0, op);
    } else {
        TDrawTarget sourceTarget;
        TSourceInfo info;
        int64_t s[4];
        if (!OpenSource(*sourceDC, sourceTarget, *destDC, target, sx, sy, sw, sh, info, s)) {
            result = FALSE;
        } else if (!info.Surface || !info.Surface->IsValid()) {
            result = TRUE;
        } else if (op.Kind == TBlendKind::Alpha) {
            // The whole source rectangle must lie on the source surface.
            const RECT wanted = NormalizedRect(
                RECT { ClampCoord(s[0]), ClampCoord(s[1]), ClampCoord(s[0] + s[2]), ClampCoord(s[1] + s[3]) });
            RECT inside;
            IntersectRect(&inside, &wanted, &info.Valid);
            if (!EqualRect(&inside, &wanted))
                result = FALSE;
            else
                result = Transfer(target, &pattern, a.x, a.y, int64_t(b.x) - a.x, int64_t(b.y) - a.y, &info, s[0], s[1],
                    s[2], s[3], op);
        } else {
            const int64_t dw = int64_t(b.x) - a.x;
            const int64_t dh = int64_t(b.y) - a.y;
            const bool plainCopy
                = op.Kind == TBlendKind::Rop && op.Code == 0xCC && dw == s[2] && dh == s[3] && dw > 0 && dh > 0;
            if (!(plainCopy && FastCopy(target, info, RECT { a.x, a.y, b.x, b.y }, int(s[0]), int(s[1]))))
                result = Transfer(target, &pattern, a.x, a.y, dw, dh, &info, s[0], s[1], s[2], s[3], op);
        }
    }
    destDC->EndDraw(target);
    return result;
}

} // namespace

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    TOperation op;
    op.Code = uint8_t(rop >> 16);
    // A raster operation that needs a source is not a pattern operation.
    if (RopUsesSource(op.Code))
        return FALSE;
    return DCTransfer(dc, x, y, width, height, nullptr, 0, 0, 0, 0, op);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    TOperation op;
    op.Code = uint8_t(rop >> 16);
    return DCTransfer(dest, x, y, width, height, source, sourceX, sourceY, width, height, op);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, DWORD rop)
{
    TOperation op;
    op.Code = uint8_t(rop >> 16);
    return DCTransfer(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
}

int SetStretchBltMode(HDC dc, int mode)
{
    TDeviceContext* context = DCOf(dc);
    if (!context || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return std::exchange(context->State.StretchMode, mode);
}

int GetStretchBltMode(HDC dc)
{
    TDeviceContext* context = DCOf(dc);
    return context ? context->State.StretchMode : 0;
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, BLENDFUNCTION blend)
{
    if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0 || blend.BlendOp != AC_SRC_OVER
        || blend.BlendFlags != 0)
        return FALSE;
    TOperation op;
    op.Kind = TBlendKind::Alpha;
    op.Blend = blend;
    op.StretchMode = COLORONCOLOR;
    return DCTransfer(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, UINT transparent)
{
    if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0)
        return FALSE;
    TOperation op;
    op.Kind = TBlendKind::Transparent;
    op.Key = PixelFromColor(transparent);
    op.StretchMode = COLORONCOLOR;
    return DCTransfer(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, op);
}

namespace {

// Draws DIB memory (a surface over it, `sx`..`sh` already in its top-down coordinates).
BOOL DIBTransfer(HDC dc, int x, int y, int64_t width, int64_t height, const TSurface& surface, int64_t sx, int64_t sy,
    int64_t sw, int64_t sh, uint8_t code, bool stretch)
{
    TDeviceContext* context = DCOf(dc);
    if (!context)
        return FALSE;
    TDrawTarget target;
    if (!context->BeginDraw(target))
        return FALSE;
    BOOL result = TRUE;
    if (target.Surface->IsValid()) {
        TOperation op;
        op.Code = code;
        op.StretchMode = stretch ? context->State.StretchMode : COLORONCOLOR;
        const POINT a = ToSurface(*context, target, x, y);
        const POINT b = ToSurface(*context, target, ClampCoord(x + width), ClampCoord(y + height));
        TSourceInfo info;
        info.Surface = &surface;
        info.Valid = surface.Bounds();
        const TFill pattern = BrushFill(*context, target, context->State.Brush.Get());
        result
            = Transfer(target, &pattern, a.x, a.y, int64_t(b.x) - a.x, int64_t(b.y) - a.y, &info, sx, sy, sw, sh, op);
    }
    context->EndDraw(target);
    return result;
}

} // namespace

int StretchDIBits(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop)
{
    TDIBFormat format;
    TSurface surface;
    if (!bits || !ReadDIBFormat(info, usage, dc, format) || !DIBSurface(format, bits, surface))
        return 0;
    // A bottom-up DIB counts its source rows from the bottom.
    const int64_t sy = format.TopDown ? int64_t(sourceY) : int64_t(format.Height) - sourceY - sourceHeight;
    if (!DIBTransfer(
            dc, x, y, width, height, surface, sourceX, sy, sourceWidth, sourceHeight, uint8_t(rop >> 16), true))
        return 0;
    return std::min(format.Height, std::abs(sourceHeight));
}

int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
    UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    TDIBFormat format;
    if (!bits || lines == 0 || !ReadDIBFormat(info, usage, dc, format) || startScan >= UINT(format.Height)
        || width > UINT(kCoordLimit) || height > UINT(kCoordLimit))
        return 0;
    // The memory holds only the band of `lines` scan lines from `startScan`.
    TDIBFormat band = format;
    band.Height = int(std::min<UINT>(lines, UINT(format.Height) - startScan));
    TSurface surface;
    if (!DIBSurface(band, bits, surface))
        return 0;
    const int64_t relative = int64_t(sourceY) - startScan;
    const int64_t sy = format.TopDown ? relative : int64_t(band.Height) - relative - int64_t(height);
    if (!DIBTransfer(dc, x, y, width, height, surface, sourceX, sy, width, height, 0xCC, false))
        return 0;
    return band.Height;
}
