// What a standard scroll bar is, apart from where it lives: its values, the parts along it, where the thumb sits
// for a position and which position a dragged thumb stands for, and its look. Shared by the windows' own bars
// (in their non-client area) and the scroll bar control (a window of its own).
#pragma once
#include "platform/win/ScrollBars.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <functional>

// One bar's values. Made is set once the window had the bar's style or a scroll call set it; before that the
// scroll queries fail as for a window without bars.
struct TScrollBarState {
    bool Made = false;
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    // While the thumb is dragged: the position it is dragged to.
    bool Tracking = false;
    int TrackPos = 0;
    // ESB_DISABLE_* arrows.
    UINT Disabled = 0;
    // The part held down by the mouse (a TScrollPart), 0 for none, for the pressed look.
    int Pressed = 0;
};

// The parts of a bar from its top (left) end to its bottom (right) end.
enum TScrollPart : int { spNone = 0, spArrowStart, spPageStart, spThumb, spPageEnd, spArrowEnd };

// A bar's rectangle and the pixel layout along it. ThumbStart is relative to the bar's start; ThumbLength 0
// means no thumb (nothing to scroll into, too short, or disabled).
struct TBarLayout {
    RECT Bar {};
    bool Vertical = true;
    int Length = 0;
    int Arrow = 0;
    int ThumbStart = 0;
    int ThumbLength = 0;

    int TrackLength() const { return Length - 2 * Arrow; }
    int Along(POINT p) const { return Vertical ? p.y - Bar.top : p.x - Bar.left; }
    RECT Span(int from, int to) const
    {
        return Vertical ? RECT { Bar.left, Bar.top + from, Bar.right, Bar.top + to }
                        : RECT { Bar.left + from, Bar.top, Bar.left + to, Bar.bottom };
    }
};

// The highest position: the page's last line may reach Max but not pass it.
int64_t ScrollMaxPos(const TScrollBarState& s);
// Sets what `info.fMask` names (range, page, position), keeping the page within the range and the position
// within Min..ScrollMaxPos; an inverted range, or one wider than the positions can count, becomes 0..0. True
// when the range or the page changed.
bool SetScrollValues(TScrollBarState& s, const SCROLLINFO& info);
TBarLayout ScrollBarLayout(const TScrollBarState& s, const RECT& bar, bool vertical);
TScrollPart ScrollPartAt(const TBarLayout& l, POINT p);
// The position the thumb shows when its start is at `thumbStart` pixels from the bar's start.
int ScrollValueAtThumb(const TScrollBarState& s, const TBarLayout& l, int thumbStart);
// A dragged thumb follows the pointer while it stays near the bar, and jumps back to where the drag started
// when the pointer wanders off.
bool NearScrollBar(const TBarLayout& l, POINT p);
// The WM_HSCROLL/WM_VSCROLL request of a press on an arrow or a page area.
WORD ScrollRequestFor(TScrollPart part);
bool ScrollPartDisabled(const TScrollBarState& s, TScrollPart part);

// Paints the bar by filling rectangles with system colours (COLOR_* indexes): raised arrows with their
// triangles, the track, the raised thumb; the held part looks pressed.
using TScrollFill = std::function<void(const RECT& rect, int colorIndex)>;
void PaintScrollBarParts(const TScrollBarState& s, const TBarLayout& l, const TScrollFill& fill);

// A held arrow or page area repeats after this long, then at this pace.
constexpr UINT kScrollFirstRepeatDelay = 200;
constexpr UINT kScrollRepeatDelay = 50;
