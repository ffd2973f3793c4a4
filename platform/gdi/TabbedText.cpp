// TabbedTextOut and GetTabbedTextExtent: text whose tabs jump to tab stops.
#include "platform/gdi/TabbedText.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Draws (when `draw`) or measures text with tabs from (x, y); returns MAKELONG(width, height).
LONG Tabbed(HDC dc, int x, int y, const char* text, int count, int tabCount, const int* tabStops, int tabOrigin,
    bool draw)
{
    if (!DCOf(dc) || !text || count < 0 || tabCount < 0 || (tabCount > 0 && !tabStops))
        return 0;
    // One stop means a tab every that many pixels; none means every eight average character widths.
    int every = 0;
    if (tabCount == 1) {
        every = std::abs(tabStops[0]);
        tabCount = 0;
    }
    if (every <= 0) {
        TEXTMETRIC tm {};
        GetTextMetrics(dc, &tm);
        every = 8 * std::max<LONG>(1, tm.tmAveCharWidth);
    }
    const int start = x;
    int height = 0;
    int stop = 0;
    while (true) {
        int run = 0;
        while (run < count && text[run] != '\t')
            ++run;
        SIZE extent {};
        GetTextExtentPoint32(dc, text, run, &extent);
        height = std::max<int>(height, extent.cy);
        if (run == count) {
            if (draw)
                ExtTextOut(dc, x, y, 0, nullptr, text, UINT(run), nullptr);
            x += extent.cx;
            break;
        }
        const int end = x + extent.cx;
        // The first stop past the text; past the last given stop, the regular ones.
        while (stop < tabCount && tabOrigin + std::abs(tabStops[stop]) <= end)
            ++stop;
        const int next
            = stop < tabCount ? tabOrigin + std::abs(tabStops[stop]) : tabOrigin + ((end - tabOrigin) / every + 1) * every;
        if (draw) {
            // An opaque background covers the gap up to the stop as well.
            const RECT cell { x, y, next, y + extent.cy };
            ExtTextOut(dc, x, y, GetBkMode(dc) == OPAQUE ? ETO_OPAQUE : 0, &cell, text, UINT(run), nullptr);
        }
        x = next;
        text += run + 1;
        count -= run + 1;
    }
    if (height == 0) {
        TEXTMETRIC tm {};
        GetTextMetrics(dc, &tm);
        height = tm.tmHeight;
    }
    return LONG(MAKELONG(WORD(x - start), WORD(height)));
}

} // namespace

LONG TabbedTextOut(
    HDC dc, int x, int y, const char* text, int count, int tabCount, const int* tabStops, int tabOrigin)
{
    return Tabbed(dc, x, y, text, count, tabCount, tabStops, tabOrigin, true);
}

DWORD GetTabbedTextExtent(HDC dc, const char* text, int count, int tabCount, const int* tabStops)
{
    return DWORD(Tabbed(dc, 0, 0, text, count, tabCount, tabStops, 0, false));
}
