// TRegion, a set of pixels kept as y-x banded rectangles, with the set operations windows and DCs clip with.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// A region value: horizontal bands (top to bottom, disjoint, no empty band), each a list of disjoint x spans
// (left to right, never touching). Vertically adjacent bands with equal spans are merged, so two regions
// covering the same pixels compare equal. Coordinates are ints; the region carries no origin of its own.
class TRegion final {
public:
    enum TCombineMode : uint8_t { cmAnd, cmOr, cmDiff, cmXor };

    TRegion() = default;
    explicit TRegion(const RECT& rect);
    // The union of `rects` (any order, overlapping or empty ones allowed), built in one sweep.
    static TRegion FromRects(const RECT* rects, size_t count);
    static TRegion FromRects(const std::vector<RECT>& rects) { return FromRects(rects.data(), rects.size()); }

    bool IsEmpty() const { return FBands.empty() && (FBounds.left >= FBounds.right || FBounds.top >= FBounds.bottom); }
    // True when the region is one rectangle (or empty).
    bool IsRectangle() const { return FBands.empty(); }
    // The bounding box; all zero when empty.
    RECT Bounds() const { return FBounds; }
    bool Contains(int x, int y) const;
    // True when any pixel of `rect` lies in the region.
    bool Intersects(const RECT& rect) const;

    void Clear();
    void SetRect(const RECT& rect);
    void Offset(int dx, int dy);
    // this = this <mode> other.
    void Combine(const TRegion& other, TCombineMode mode);
    void Intersect(const TRegion& other) { Combine(other, cmAnd); }
    void Intersect(const RECT& rect);
    void Union(const TRegion& other) { Combine(other, cmOr); }
    void Union(const RECT& rect) { Combine(TRegion(rect), cmOr); }
    void Subtract(const TRegion& other) { Combine(other, cmDiff); }
    void Subtract(const RECT& rect) { Combine(TRegion(rect), cmDiff); }
    static TRegion Combined(const TRegion& a, const TRegion& b, TCombineMode mode);
    // this = region ∩ rect, reusing this region's storage (`region` may be this one).
    void AssignIntersection(const TRegion& region, const RECT& rect);

    // The rectangles, band by band, left to right (the order GetRegionData reports).
    std::vector<RECT> Rects() const;
    size_t RectCount() const;
    // Calls f(const RECT&) for every rectangle in Rects() order without building the list.
    template <class F> void ForEachRect(F&& f) const
    {
        if (FBands.empty()) {
            if (!IsEmpty())
                f(FBounds);
            return;
        }
        for (const TBand& band : FBands)
            for (size_t i = band.First; i + 1 < size_t(band.First) + band.Count; i += 2)
                f(RECT { FSpans[i], band.Top, FSpans[i + 1], band.Bottom });
    }

    bool operator==(const TRegion& other) const;
    bool operator!=(const TRegion& other) const { return !(*this == other); }

private:
    // A band's spans are FSpans[First, First + Count): left0, right0, left1, right1, ... with left < right and
    // right(i) < left(i+1). All bands share one span list, so a region of any shape costs two allocations.
    struct TBand {
        int Top;
        int Bottom;
        uint32_t First;
        uint32_t Count;
        bool operator==(const TBand&) const = default;
    };
    // One band as the sweeps read it, whichever way the region is stored.
    struct TBandView {
        int Top;
        int Bottom;
        const int* Spans;
        size_t Count;
    };

    size_t BandCount() const;
    // Band `i`; a single rectangle's spans are written to `rectSpans`.
    TBandView BandAt(size_t i, int (&rectSpans)[2]) const;
    // Building: bands are appended top to bottom, then Finish puts the region in its canonical form.
    void ResetStorage();
    void AppendBand(int top, int bottom, const int* spans, size_t count);
    void Finish();

    // Empty for the empty region and for a single rectangle (then FBounds is the region), so rectangles, which
    // nearly every clip is, never touch the heap. Otherwise the region has at least two rectangles.
    std::vector<TBand> FBands;
    std::vector<int> FSpans;
    RECT FBounds {};
};
