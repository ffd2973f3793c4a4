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

// Combines two span lists of one band. Walks the x boundaries of both lists in order and emits the runs
// where the mode says "in"; touching runs are joined so the result stays canonical.
std::vector<int> CombineSpans(const std::vector<int>& a, const std::vector<int>& b, TRegion::TCombineMode mode)
{
    std::vector<int> out;
    size_t ia = 0;
    size_t ib = 0;
    bool inA = false;
    bool inB = false;
    bool inOut = false;
    while (ia < a.size() || ib < b.size()) {
        int x;
        if (ib >= b.size() || (ia < a.size() && a[ia] <= b[ib]))
            x = a[ia];
        else
            x = b[ib];
        // Every boundary at x toggles its list's state (a span end and the next start never coincide).
        while (ia < a.size() && a[ia] == x) {
            inA = !inA;
            ++ia;
        }
        while (ib < b.size() && b[ib] == x) {
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
    return out;
}

const std::vector<int> kNoSpans;

} // namespace

TRegion::TRegion(const RECT& rect)
{
    SetRect(rect);
}

void TRegion::Clear()
{
    FBands.clear();
    FBounds = RECT {};
}

void TRegion::SetRect(const RECT& rect)
{
    FBands.clear();
    if (!RectIsEmpty(rect))
        FBands.push_back(TBand { rect.top, rect.bottom, { rect.left, rect.right } });
    UpdateBounds();
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
        std::vector<int> spans;
        for (const auto& [left, right] : xs) {
            if (!spans.empty() && left <= spans.back())
                spans.back() = std::max(spans.back(), right);
            else {
                spans.push_back(left);
                spans.push_back(right);
            }
        }
        region.AppendBand(top, bottom, std::move(spans));
    }
    region.UpdateBounds();
    return region;
}

void TRegion::AppendBand(int top, int bottom, std::vector<int>&& spans)
{
    if (spans.empty() || top >= bottom)
        return;
    if (!FBands.empty() && FBands.back().Bottom == top && FBands.back().Spans == spans) {
        FBands.back().Bottom = bottom;
        return;
    }
    FBands.push_back(TBand { top, bottom, std::move(spans) });
}

void TRegion::UpdateBounds()
{
    if (FBands.empty()) {
        FBounds = RECT {};
        return;
    }
    RECT r { FBands.front().Spans.front(), FBands.front().Top, FBands.front().Spans.back(), FBands.back().Bottom };
    for (const TBand& band : FBands) {
        r.left = std::min(r.left, band.Spans.front());
        r.right = std::max(r.right, band.Spans.back());
    }
    FBounds = r;
}

bool TRegion::Contains(int x, int y) const
{
    if (FBands.empty() || x < FBounds.left || x >= FBounds.right || y < FBounds.top || y >= FBounds.bottom)
        return false;
    auto band = std::upper_bound(FBands.begin(), FBands.end(), y, [](int v, const TBand& b) { return v < b.Bottom; });
    if (band == FBands.end() || y < band->Top)
        return false;
    // Inside when x falls after an odd number of span boundaries.
    const auto it = std::upper_bound(band->Spans.begin(), band->Spans.end(), x);
    return ((it - band->Spans.begin()) & 1) != 0;
}

bool TRegion::Intersects(const RECT& rect) const
{
    if (FBands.empty() || RectIsEmpty(rect))
        return false;
    if (rect.right <= FBounds.left || rect.left >= FBounds.right || rect.bottom <= FBounds.top
        || rect.top >= FBounds.bottom)
        return false;
    for (const TBand& band : FBands) {
        if (band.Bottom <= rect.top)
            continue;
        if (band.Top >= rect.bottom)
            break;
        for (size_t i = 0; i + 1 < band.Spans.size(); i += 2)
            if (band.Spans[i] < rect.right && band.Spans[i + 1] > rect.left)
                return true;
    }
    return false;
}

void TRegion::Offset(int dx, int dy)
{
    for (TBand& band : FBands) {
        band.Top += dy;
        band.Bottom += dy;
        for (int& x : band.Spans)
            x += dx;
    }
    UpdateBounds();
}

TRegion TRegion::Combined(const TRegion& a, const TRegion& b, TCombineMode mode)
{
    TRegion out;
    // Every y boundary of either region starts a strip in which both span lists are constant.
    std::vector<int> ys;
    ys.reserve((a.FBands.size() + b.FBands.size()) * 2);
    for (const TBand& band : a.FBands) {
        ys.push_back(band.Top);
        ys.push_back(band.Bottom);
    }
    for (const TBand& band : b.FBands) {
        ys.push_back(band.Top);
        ys.push_back(band.Bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    size_t ia = 0;
    size_t ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const int top = ys[k];
        const int bottom = ys[k + 1];
        while (ia < a.FBands.size() && a.FBands[ia].Bottom <= top)
            ++ia;
        while (ib < b.FBands.size() && b.FBands[ib].Bottom <= top)
            ++ib;
        const std::vector<int>& sa = (ia < a.FBands.size() && a.FBands[ia].Top <= top) ? a.FBands[ia].Spans : kNoSpans;
        const std::vector<int>& sb = (ib < b.FBands.size() && b.FBands[ib].Top <= top) ? b.FBands[ib].Spans : kNoSpans;
        if (sa.empty() && sb.empty())
            continue;
        out.AppendBand(top, bottom, CombineSpans(sa, sb, mode));
    }
    out.UpdateBounds();
    return out;
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
        if (IsRectangle() && other.IsRectangle()) {
            SetRect(RECT { std::max(FBounds.left, other.FBounds.left), std::max(FBounds.top, other.FBounds.top),
                std::min(FBounds.right, other.FBounds.right), std::min(FBounds.bottom, other.FBounds.bottom) });
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
    size_t count = 0;
    for (const TBand& band : FBands)
        count += band.Spans.size() / 2;
    return count;
}

bool TRegion::operator==(const TRegion& other) const
{
    return FBands == other.FBands;
}
