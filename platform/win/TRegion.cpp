#include "platform/win/TRegion.h"

#include <algorithm>

namespace {

bool RectIsEmpty(const RECT& r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

bool Apply(TRegion::TCombineMode mode, bool a, bool b)
{
    switch (mode) {
    case TRegion::cmAnd:
        return a && b;
    case TRegion::cmOr:
        return a || b;
    case TRegion::cmDiff:
        return a && !b;
    case TRegion::cmXor:
        return a != b;
    }
    return false;
}

// Combines two span lists of one band into `out`. Walks the x boundaries of both lists in order and emits the
// runs where the mode says "in"; touching runs are joined so the result stays canonical.
void CombineSpans(
    const int* a, size_t na, const int* b, size_t nb, TRegion::TCombineMode mode, std::vector<int>& out)
{
    out.clear();
    size_t ia = 0;
    size_t ib = 0;
    bool inA = false;
    bool inB = false;
    bool inOut = false;
    while (ia < na || ib < nb) {
        int x;
        if (ib >= nb || (ia < na && a[ia] <= b[ib]))
            x = a[ia];
        else
            x = b[ib];
        // Every boundary at x toggles its list's state (a span end and the next start never coincide).
        while (ia < na && a[ia] == x) {
            inA = !inA;
            ++ia;
        }
        while (ib < nb && b[ib] == x) {
            inB = !inB;
            ++ib;
        }
        const bool now = Apply(mode, inA, inB);
        if (now != inOut) {
            if (now && !out.empty() && out.back() == x)
                out.pop_back(); // joins a run that ended exactly here
            else
                out.push_back(x);
            inOut = now;
        }
    }
}

bool RectContains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top
        && inner.bottom <= outer.bottom;
}

} // namespace

TRegion::TRegion(const RECT& rect)
{
    SetRect(rect);
}

void TRegion::Clear()
{
    ResetStorage();
    FBounds = RECT {};
}

void TRegion::SetRect(const RECT& rect)
{
    ResetStorage();
    FBounds = RectIsEmpty(rect) ? RECT {} : rect;
}

void TRegion::ResetStorage()
{
    FBands.clear();
    FSpans.clear();
}

size_t TRegion::BandCount() const
{
    if (!FBands.empty())
        return FBands.size();
    return IsEmpty() ? 0 : 1;
}

TRegion::TBandView TRegion::BandAt(size_t i, int (&rectSpans)[2]) const
{
    if (FBands.empty()) {
        rectSpans[0] = FBounds.left;
        rectSpans[1] = FBounds.right;
        return TBandView { FBounds.top, FBounds.bottom, rectSpans, 2 };
    }
    const TBand& band = FBands[i];
    return TBandView { band.Top, band.Bottom, FSpans.data() + band.First, band.Count };
}

void TRegion::AppendBand(int top, int bottom, const int* spans, size_t count)
{
    if (count == 0 || top >= bottom)
        return;
    if (!FBands.empty()) {
        TBand& last = FBands.back();
        if (last.Bottom == top && last.Count == count
            && std::equal(spans, spans + count, FSpans.begin() + ptrdiff_t(last.First))) {
            last.Bottom = bottom;
            return;
        }
    }
    FBands.push_back(TBand { top, bottom, uint32_t(FSpans.size()), uint32_t(count) });
    FSpans.insert(FSpans.end(), spans, spans + count);
}

void TRegion::Finish()
{
    if (FBands.empty()) {
        FBounds = RECT {};
        return;
    }
    if (FBands.size() == 1 && FBands[0].Count == 2) {
        // One rectangle is kept in the bounds alone.
        FBounds = RECT { FSpans[0], FBands[0].Top, FSpans[1], FBands[0].Bottom };
        ResetStorage();
        return;
    }
    RECT r { FSpans[FBands.front().First], FBands.front().Top, FSpans[FBands.front().First + FBands.front().Count - 1],
        FBands.back().Bottom };
    for (const TBand& band : FBands) {
        r.left = std::min(r.left, FSpans[band.First]);
        r.right = std::max(r.right, FSpans[band.First + band.Count - 1]);
    }
    FBounds = r;
}

TRegion TRegion::FromRects(const RECT* rects, size_t count)
{
    std::vector<RECT> list;
    list.reserve(count);
    std::vector<int> ys;
    ys.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        if (RectIsEmpty(rects[i]))
            continue;
        list.push_back(rects[i]);
        ys.push_back(rects[i].top);
        ys.push_back(rects[i].bottom);
    }
    TRegion region;
    if (list.empty())
        return region;
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::sort(list.begin(), list.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });

    // Sweep down the y boundaries keeping the rectangles that cover the current strip.
    std::vector<RECT> active;
    std::vector<std::pair<int, int>> xs;
    std::vector<int> spans;
    size_t next = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const int top = ys[k];
        const int bottom = ys[k + 1];
        std::erase_if(active, [&](const RECT& r) { return r.bottom <= top; });
        while (next < list.size() && list[next].top <= top)
            active.push_back(list[next++]);
        if (active.empty())
            continue;
        xs.clear();
        for (const RECT& r : active)
            xs.emplace_back(r.left, r.right);
        std::sort(xs.begin(), xs.end());
        spans.clear();
        for (const auto& [left, right] : xs) {
            if (!spans.empty() && left <= spans.back())
                spans.back() = std::max(spans.back(), right);
            else {
                spans.push_back(left);
                spans.push_back(right);
            }
        }
        region.AppendBand(top, bottom, spans.data(), spans.size());
    }
    region.Finish();
    return region;
}

bool TRegion::Contains(int x, int y) const
{
    if (IsEmpty() || x < FBounds.left || x >= FBounds.right || y < FBounds.top || y >= FBounds.bottom)
        return false;
    if (FBands.empty())
        return true;
    auto band = std::upper_bound(FBands.begin(), FBands.end(), y, [](int v, const TBand& b) { return v < b.Bottom; });
    if (band == FBands.end() || y < band->Top)
        return false;
    // Inside when x falls after an odd number of span boundaries.
    const auto first = FSpans.begin() + ptrdiff_t(band->First);
    const auto it = std::upper_bound(first, first + ptrdiff_t(band->Count), x);
    return ((it - first) & 1) != 0;
}

bool TRegion::Intersects(const RECT& rect) const
{
    if (IsEmpty() || RectIsEmpty(rect))
        return false;
    if (rect.right <= FBounds.left || rect.left >= FBounds.right || rect.bottom <= FBounds.top
        || rect.top >= FBounds.bottom)
        return false;
    for (const TBand& band : FBands) {
        if (band.Bottom <= rect.top)
            continue;
        if (band.Top >= rect.bottom)
            break;
        for (size_t i = band.First; i + 1 < size_t(band.First) + band.Count; i += 2)
            if (FSpans[i] < rect.right && FSpans[i + 1] > rect.left)
                return true;
    }
    // A single rectangle overlaps whatever overlaps its bounds.
    return FBands.empty();
}

void TRegion::Offset(int dx, int dy)
{
    if (IsEmpty())
        return;
    for (TBand& band : FBands) {
        band.Top += dy;
        band.Bottom += dy;
    }
    for (int& x : FSpans)
        x += dx;
    FBounds = RECT { FBounds.left + dx, FBounds.top + dy, FBounds.right + dx, FBounds.bottom + dy };
}

TRegion TRegion::Combined(const TRegion& a, const TRegion& b, TCombineMode mode)
{
    TRegion out;
    const size_t na = a.BandCount();
    const size_t nb = b.BandCount();
    int rectA[2];
    int rectB[2];
    // Every y boundary of either region starts a strip in which both span lists are constant.
    std::vector<int> ys;
    ys.reserve((na + nb) * 2);
    for (size_t i = 0; i < na; ++i) {
        const TBandView band = a.BandAt(i, rectA);
        ys.push_back(band.Top);
        ys.push_back(band.Bottom);
    }
    for (size_t i = 0; i < nb; ++i) {
        const TBandView band = b.BandAt(i, rectB);
        ys.push_back(band.Top);
        ys.push_back(band.Bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    std::vector<int> spans;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const int top = ys[k];
        const int bottom = ys[k + 1];
        while (ia < na && a.BandAt(ia, rectA).Bottom <= top)
            ++ia;
        while (ib < nb && b.BandAt(ib, rectB).Bottom <= top)
            ++ib;
        TBandView sa { top, bottom, nullptr, 0 };
        TBandView sb { top, bottom, nullptr, 0 };
        if (ia < na && a.BandAt(ia, rectA).Top <= top)
            sa = a.BandAt(ia, rectA);
        if (ib < nb && b.BandAt(ib, rectB).Top <= top)
            sb = b.BandAt(ib, rectB);
        if (sa.Count == 0 && sb.Count == 0)
            continue;
        CombineSpans(sa.Spans, sa.Count, sb.Spans, sb.Count, mode, spans);
        out.AppendBand(top, bottom, spans.data(), spans.size());
    }
    out.Finish();
    return out;
}

void TRegion::AssignIntersection(const TRegion& region, const RECT& rect)
{
    if (&region == this) {
        Intersect(rect);
        return;
    }
    const RECT& bounds = region.FBounds;
    if (region.IsEmpty() || RectIsEmpty(rect) || rect.right <= bounds.left || rect.left >= bounds.right
        || rect.bottom <= bounds.top || rect.top >= bounds.bottom) {
        Clear();
        return;
    }
    if (region.FBands.empty()) {
        SetRect(RECT { std::max(bounds.left, rect.left), std::max(bounds.top, rect.top),
            std::min(bounds.right, rect.right), std::min(bounds.bottom, rect.bottom) });
        return;
    }
    if (RectContains(rect, bounds)) {
        *this = region;
        return;
    }
    // Each band cut to the rectangle's rows and each span to its columns: cut spans stay apart, and bands that
    // become alike are merged by AppendBand. While the cut is one rectangle so far it is kept aside, so the
    // common result, a rectangle of a complex region, needs no band storage.
    ResetStorage();
    int cut[64];
    std::vector<int> wide;
    RECT single {};
    bool banded = false;
    for (const TBand& band : region.FBands) {
        if (band.Bottom <= rect.top)
            continue;
        if (band.Top >= rect.bottom)
            break;
        int* spans = cut;
        if (band.Count > std::size(cut)) {
            wide.resize(band.Count);
            spans = wide.data();
        }
        size_t count = 0;
        for (size_t i = band.First; i + 1 < size_t(band.First) + band.Count; i += 2) {
            const int left = std::max(region.FSpans[i], rect.left);
            const int right = std::min(region.FSpans[i + 1], rect.right);
            if (left < right) {
                spans[count++] = left;
                spans[count++] = right;
            }
        }
        const int top = std::max(band.Top, rect.top);
        const int bottom = std::min(band.Bottom, rect.bottom);
        if (count == 0 || top >= bottom)
            continue;
        if (!banded) {
            if (RectIsEmpty(single) && count == 2) {
                single = RECT { spans[0], top, spans[1], bottom };
                continue;
            }
            if (count == 2 && single.bottom == top && single.left == spans[0] && single.right == spans[1]) {
                single.bottom = bottom;
                continue;
            }
            banded = true;
            if (!RectIsEmpty(single)) {
                const int kept[2] = { single.left, single.right };
                AppendBand(single.top, single.bottom, kept, 2);
            }
        }
        AppendBand(top, bottom, spans, count);
    }
    if (banded)
        Finish();
    else
        FBounds = single;
}

void TRegion::Intersect(const RECT& rect)
{
    if (IsEmpty() || RectContains(rect, FBounds))
        return;
    if (FBands.empty()) {
        SetRect(RECT { std::max(FBounds.left, rect.left), std::max(FBounds.top, rect.top),
            std::min(FBounds.right, rect.right), std::min(FBounds.bottom, rect.bottom) });
        return;
    }
    const TRegion whole = std::move(*this);
    AssignIntersection(whole, rect);
}

void TRegion::Combine(const TRegion& other, TCombineMode mode)
{
    // Windows and DCs clip with rectangles and with regions far away from each other most of the time; those
    // cases need no sweep (and no allocation), and give the same bands the sweep would.
    const bool apart = IsEmpty() || other.IsEmpty() || other.FBounds.right <= FBounds.left
        || other.FBounds.left >= FBounds.right || other.FBounds.bottom <= FBounds.top
        || other.FBounds.top >= FBounds.bottom;
    switch (mode) {
    case cmAnd:
        if (apart) {
            Clear();
            return;
        }
        if (other.IsRectangle()) {
            Intersect(other.FBounds);
            return;
        }
        if (IsRectangle()) {
            const RECT rect = FBounds;
            AssignIntersection(other, rect);
            return;
        }
        break;
    case cmDiff:
        if (apart)
            return;
        break;
    case cmOr:
    case cmXor:
        if (other.IsEmpty())
            return;
        if (IsEmpty()) {
            *this = other;
            return;
        }
        break;
    }
    *this = Combined(*this, other, mode);
}

std::vector<RECT> TRegion::Rects() const
{
    std::vector<RECT> rects;
    rects.reserve(RectCount());
    ForEachRect([&](const RECT& r) { rects.push_back(r); });
    return rects;
}

size_t TRegion::RectCount() const
{
    if (FBands.empty())
        return IsEmpty() ? 0 : 1;
    return FSpans.size() / 2;
}

bool TRegion::operator==(const TRegion& other) const
{
    // Both forms are canonical: a single rectangle lives in the bounds, and bands lie in order in one span list.
    return FBounds.left == other.FBounds.left && FBounds.top == other.FBounds.top
        && FBounds.right == other.FBounds.right && FBounds.bottom == other.FBounds.bottom && FBands == other.FBands
        && FSpans == other.FSpans;
}
