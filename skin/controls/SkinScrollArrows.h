// TspScrollArrows: the two 12-pixel arrow buttons that a container whose children reach past its client area
// shows in its non-client area at both ends of the scroll direction, and the scroll state they drive (where the
// children stand, how far they reach, the repeat timer). The scroll panel and the tool bar own one each.
#pragma once
#include "framework/graphics/Types.h"
#include "platform/win/Windows.h"

class TCanvas;
class TWinControl;
class TspSkinData;
struct TMessage;

class TspScrollArrows {
public:
    static constexpr int ButtonSize = 12;
    // The non-client hit codes of the back (left or top) and the forward button.
    static constexpr LRESULT HitBack = 119;
    static constexpr LRESULT HitForward = 120;
    static constexpr UINT_PTR TimerId = 1;

    // What the container does for its arrows.
    class THost {
    public:
        virtual ~THost() = default;
        // Moves the children by `delta` pixels along the scroll direction.
        virtual void ScrollChildren(int delta) = 0;
    };

    TspScrollArrows(TWinControl* control, THost* host);

    // ---- Settings the container publishes ----------------------------------------------------------------------
    bool Vertical = false;
    bool HotScroll = false;
    // The step in pixels; 0 steps by the client width.
    int ScrollOffset = 0;
    int TimerInterval = 50;
    // Negative steps are ignored.
    void SetScrollOffset(int value)
    {
        if (value >= 0)
            ScrollOffset = value;
    }
    // Intervals below 1 are ignored.
    void SetTimerInterval(int value)
    {
        if (value > 0)
            TimerInterval = value;
    }
    // The skin and the index of its "resizebutton" record that paints the buttons (-1: the default look).
    TspSkinData* Skin = nullptr;
    int ButtonSkinIndex = -1;

    // ---- Scroll state ------------------------------------------------------------------------------------------
    int Position = 0;
    int Range = 0;
    int Page = 0;
    // Where the children stand now, as a position.
    int OldPosition = 0;
    // How much the container grew along the scroll direction since the range was last computed.
    int Growth = 0;
    bool Shown() const { return FShown; }
    // 0 none, 1 back, 2 forward.
    int TimerMode() const { return FTimerMode; }
    bool MouseIn(int button) const { return FButtons[button].MouseIn; }
    bool Down(int button) const { return FButtons[button].Down; }
    const TRect& ButtonRect(int button) const { return FButtons[button].Rect; }

    // Shows or hides both buttons; on a change the window's non-client area is calculated again (the window is
    // kept, not made anew, so its children, focus and timers stay, and a window just being made is not pulled
    // down under its own creation).
    void SetShown(bool value);
    // Everything back to 0 and the buttons hidden (the children are not moved).
    void Reset();
    // Where the children reach, compared with the client area: shows or hides the buttons, and pulls children
    // back that a larger or emptier container no longer needs scrolled away.
    void UpdateRange();
    // Records the growth of a container resized from (oldWidth, oldHeight).
    void RecordGrowth(int oldWidth, int oldHeight);
    // One step back (0) or forward (1); stops the timer when the children cannot move further.
    void ButtonClick(int button);
    void StartTimer(int mode);
    void StopTimer();

    // ---- Messages ----------------------------------------------------------------------------------------------
    // The non-client messages that make the buttons a frame: WM_NCCALCSIZE (while they are shown the client area
    // loses them at both ends), WM_NCHITTEST (their hit codes, outside design time) and WM_SETCURSOR (their hit
    // codes set the cursor as the client area does). True when the message needs nothing more.
    bool FrameMessage(TMessage& message, bool designing);
    void CalcSize(TMessage& message);
    // WM_SIZE: the button rectangles for the new size.
    void UpdateButtonRects();
    // The hit code of a screen point: HitBack, HitForward, or 0 when the point is not on a shown button.
    LRESULT HitTest(int screenX, int screenY) const;
    // The arrow buttons' share of the mouse messages (non-client moves, presses and releases on the hit codes,
    // client moves, mouse leave) and WM_TIMER; true when the message was the buttons'.
    bool MouseMessage(TMessage& message);
    // Both buttons into `dc` (window coordinates), when shown.
    void PaintButtons(HDC dc);
    // Both buttons into the window's own DC.
    void RepaintButtons();

private:
    struct TButton {
        TRect Rect;
        bool MouseIn = false;
        bool Down = false;
    };
    void DrawButton(TCanvas* canvas, int button);
    int ClientExtent() const;
    int ChildrenExtent() const;

    TWinControl* FControl;
    THost* FHost;
    bool FShown = false;
    int FTimerMode = 0;
    TButton FButtons[2];
};
