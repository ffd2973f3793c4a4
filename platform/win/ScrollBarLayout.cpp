#include "platform/win/ScrollBarLayout.h"

#include "platform/win/Rects.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

// The thumb never gets shorter than this, however large the range is against the page.
constexpr int kMinThumb = 8;

int64_t Span(const TScrollBarState& s)
{
    return int64_t(s.Max) - s.Min;
}

int64_t Scaled(int64_t value, int64_t numerator, int64_t denominator)
{
    return denominator > 0 ? (value * numerator + denominator / 2) / denominator : 0;
}

int ThumbLengthFor(const TScrollBarState& s, int track, int thickness)
{
    if (!s.Page)
        return thickness;
    return std::max<int>(static_cast<int>(Scaled(track, s.Page, Span(s) + 1)), kMinThumb);
}

void PaintRaised(const TScrollFill& fill, const RECT& r, bool pressed)
{
    fill(r, COLOR_BTNFACE);
    if (RectWidth(r) < 2 || RectHeight(r) < 2)
        return;
    const int light = pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    const int dark = pressed ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW;
    fill(RECT { r.left, r.top, r.right, r.top + 1 }, light);
    fill(RECT { r.left, r.top, r.left + 1, r.bottom }, light);
    fill(RECT { r.left, r.bottom - 1, r.right, r.bottom }, dark);
    fill(RECT { r.right - 1, r.top, r.right, r.bottom }, dark);
}

// A filled triangle pointing away from the bar's middle: up or left for the start arrow.
void PaintGlyph(const TScrollFill& fill, const RECT& r, bool vertical, bool start, bool pressed, bool disabled)
{
    const int size = std::max(2, std::min(RectWidth(r), RectHeight(r)) / 4);
    const int shift = pressed ? 1 : 0;
    const int cx = (r.left + r.right) / 2 + shift;
    const int cy = (r.top + r.bottom) / 2 + shift;
    const int color = disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
    for (int i = 0; i < size; ++i) {
        // Row i of the triangle counts from its tip.
        const int offset = start ? i - size / 2 : size / 2 - i;
        if (vertical)
            fill(RECT { cx - i, cy + offset, cx + i + 1, cy + offset + 1 }, color);
        else
            fill(RECT { cx + offset, cy - i, cx + offset + 1, cy + i + 1 }, color);
    }
}

} // namespace

int64_t ScrollMaxPos(const TScrollBarState& s)
{
    return int64_t(s.Max) - std::max<int64_t>(int64_t(s.Page) - 1, 0);
}

bool SetScrollValues(TScrollBarState& s, const SCROLLINFO& info)
{
    bool changed = false;
    if ((info.fMask & SIF_PAGE) && s.Page != info.nPage) {
        s.Page = info.nPage;
        changed = true;
    }
    if (info.fMask & SIF_RANGE) {
        const bool valid = info.nMin <= info.nMax && int64_t(info.nMax) - info.nMin < 0x80000000LL;
        const int min = valid ? info.nMin : 0;
        const int max = valid ? info.nMax : 0;
        if (s.Min != min || s.Max != max) {
            s.Min = min;
            s.Max = max;
            changed = true;
        }
    }
    s.Page = static_cast<UINT>(std::min<int64_t>(s.Page, Span(s) + 1));
    if (info.fMask & SIF_POS)
        s.Pos = info.nPos;
    s.Pos = static_cast<int>(std::clamp<int64_t>(s.Pos, s.Min, std::max<int64_t>(ScrollMaxPos(s), s.Min)));
    return changed;
}

TBarLayout ScrollBarLayout(const TScrollBarState& s, const RECT& bar, bool vertical)
{
    TBarLayout l;
    l.Bar = bar;
    l.Vertical = vertical;
    l.Length = vertical ? RectHeight(bar) : RectWidth(bar);
    const int thickness = vertical ? RectWidth(bar) : RectHeight(bar);
    l.Arrow = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), l.Length / 2);
    const int track = l.TrackLength();
    const int thumb = ThumbLengthFor(s, track, thickness);
    if (track < thumb || s.Disabled == ESB_DISABLE_BOTH)
        return l;
    const int room = track - thumb;
    const int64_t span = ScrollMaxPos(s) - s.Min;
    const int pos = s.Tracking ? s.TrackPos : s.Pos;
    l.ThumbLength = thumb;
    l.ThumbStart = l.Arrow + (span > 0 ? static_cast<int>(Scaled(room, int64_t(pos) - s.Min, span)) : 0);
    return l;
}

TScrollPart ScrollPartAt(const TBarLayout& l, POINT p)
{
    if (!RectContains(l.Bar, p.x, p.y))
        return spNone;
    const int along = l.Along(p);
    if (along < l.Arrow)
        return spArrowStart;
    if (along >= l.Length - l.Arrow)
        return spArrowEnd;
    if (!l.ThumbLength)
        return spNone;
    if (along < l.ThumbStart)
        return spPageStart;
    if (along < l.ThumbStart + l.ThumbLength)
        return spThumb;
    return spPageEnd;
}

int ScrollValueAtThumb(const TScrollBarState& s, const TBarLayout& l, int thumbStart)
{
    const int room = l.TrackLength() - l.ThumbLength;
    if (room <= 0)
        return s.Min;
    const int offset = std::clamp(thumbStart - l.Arrow, 0, room);
    return static_cast<int>(s.Min + Scaled(offset, ScrollMaxPos(s) - s.Min, room));
}

bool NearScrollBar(const TBarLayout& l, POINT p)
{
    const int thickness = l.Vertical ? RectWidth(l.Bar) : RectHeight(l.Bar);
    RECT near = l.Bar;
    InflateRect(&near, l.Vertical ? 8 * thickness : 2 * thickness, l.Vertical ? 2 * thickness : 8 * thickness);
    return RectContains(near, p.x, p.y);
}

WORD ScrollRequestFor(TScrollPart part)
{
    switch (part) {
    case spArrowStart:
        return SB_LINEUP;
    case spArrowEnd:
        return SB_LINEDOWN;
    case spPageStart:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

bool ScrollPartDisabled(const TScrollBarState& s, TScrollPart part)
{
    if (part == spArrowStart)
        return (s.Disabled & ESB_DISABLE_LTUP) != 0;
    if (part == spArrowEnd)
        return (s.Disabled & ESB_DISABLE_RTDN) != 0;
    return s.Disabled == ESB_DISABLE_BOTH;
}

void PaintScrollBarParts(const TScrollBarState& s, const TBarLayout& l, const TScrollFill& fill)
{
    const bool vertical = l.Vertical;
    const RECT arrowStart = l.Span(0, l.Arrow);
    const RECT arrowEnd = l.Span(l.Length - l.Arrow, l.Length);
    PaintRaised(fill, arrowStart, s.Pressed == spArrowStart);
    PaintGlyph(fill, arrowStart, vertical, true, s.Pressed == spArrowStart, (s.Disabled & ESB_DISABLE_LTUP) != 0);
    PaintRaised(fill, arrowEnd, s.Pressed == spArrowEnd);
    PaintGlyph(fill, arrowEnd, vertical, false, s.Pressed == spArrowEnd, (s.Disabled & ESB_DISABLE_RTDN) != 0);
    const int trackEnd = l.Length - l.Arrow;
    if (!l.ThumbLength) {
        fill(l.Span(l.Arrow, trackEnd), COLOR_SCROLLBAR);
        return;
    }
    const int thumbEnd = l.ThumbStart + l.ThumbLength;
    fill(l.Span(l.Arrow, l.ThumbStart), s.Pressed == spPageStart ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
    fill(l.Span(thumbEnd, trackEnd), s.Pressed == spPageEnd ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR);
    PaintRaised(fill, l.Span(l.ThumbStart, thumbEnd), false);
}
