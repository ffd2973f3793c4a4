// TRegion, a set of pixels kept as y-x banded rectangles, with the set operations windows and DCs clip with.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstddef>
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

    bool IsEmpty() const { return FBands.empty(); }
    // True when the region is one rectangle (or empty).
    bool IsRectangle() const { return FBands.size() <= 1 && (FBands.empty() || FBands[0].Spans.size() == 2); }
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
    void Intersect(const RECT& rect) { Combine(TRegion(rect), cmAnd); }
    void Union(const TRegion& other) { Combine(other, cmOr); }
    void Union(const RECT& rect) { Combine(TRegion(rect), cmOr); }
    void Subtract(const TRegion& other) { Combine(other, cmDiff); }
    void Subtract(const RECT& rect) { Combine(TRegion(rect), cmDiff); }
    static TRegion Combined(const TRegion& a, const TRegion& b, TCombineMode mode);

    // The rectangles, band by band, left to right (the order GetRegionData reports).
    std::vector<RECT> Rects() const;
    size_t RectCount() const;
    // Calls f(const RECT&) for every rectangle in Rects() order without building the list.
    template <class F> void ForEachRect(F&& f) const
    {
        for (const TBand& band : FBands)
            for (size_t i = 0; i + 1 < band.Spans.size(); i += 2)
                f(RECT { band.Spans[i], band.Top, band.Spans[i + 1], band.Bottom });
    }

    bool operator==(const TRegion& other) const;
    bool operator!=(const TRegion& other) const { return !(*this == other); }

private:
    // Spans hold left0, right0, left1, right1, ... with left < right and right(i) < left(i+1).
    struct TBand {
        int Top;
        int Bottom;
        std::vector<int> Spans;
        bool operator==(const TBand&) const = default;
    };

    void AppendBand(int top, int bottom, std::vector<int>&& spans);
    void UpdateBounds();

    std::vector<TBand> FBands;
    RECT FBounds {};
};
