// TCustomControlBar and TControlBar: a container that shows each child control as a band (a frame with a
// grab area on its left) and lays the bands out in rows, wrapping those that do not fit.
#pragma once
#include "framework/controls/TCustomControl.h"

// The bevel drawn in the non-client area around the bar.
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };

// A band is its child's bounds grown by BandGrabWidth to the left and BandMargin up, right and down; bands
// stand in rows from the top, in the order of their children's positions (top, then left), each at least
// as far right as its child asks and never over the band before it. A band that does not fit in what is
// left of its row starts a new row below. With RowSnap each row is a whole number of RowSize high, else as
// high as its highest band. With AutoSize the bar takes the height of its rows.
class TCustomControlBar : public TCustomControl {
    using inherited = TCustomControl;

public:
    static constexpr int BandGrabWidth = 11;
    static constexpr int BandMargin = 2;

    explicit TCustomControlBar(TComponent* owner);

    // A child dragged out of the bar floats (kept for the descendants; the bar does no docking).
    bool AutoDrag() const { return FAutoDrag; }
    void SetAutoDrag(bool value) { FAutoDrag = value; }
    bool RowSnap() const { return FRowSnap; }
    void SetRowSnap(bool value);
    int RowSize() const { return FRowSize; }
    void SetRowSize(int value);
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    void SetAutoSize(bool value) override;
    // The band of a child: its bounds grown by the grab area and the margins.
    static TRect BandRect(const TControl* control);

    void WndProc(TMessage& message) override;

protected:
    // Fills the background, then frames every visible child's band with PaintControlFrame.
    void Paint() override;
    // Draws the frame of one band (an etched edge and a grab bar in the grab area); the inside is not
    // painted.
    virtual void PaintControlFrame(TCanvas* canvas, TControl* control, const TRect& rect);
    void AlignControls(TControl* control, TRect& rect) override;
    // The width of the bevel in the non-client area.
    int BevelWidth() const;
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);

private:
    struct TBand {
        TControl* Control;
        TRect Wanted; // where its child asks the band to be
    };
    // Places the bands and returns the height of their rows.
    int LayoutBands(TControl* moved, const TRect& area);

    bool FAutoDrag = true;
    bool FRowSnap = true;
    int FRowSize = 26;
    TBevelKind FBevelKind = bkTile;
    bool FLayingOut = false;
};

class TControlBar : public TCustomControlBar {
    using inherited = TCustomControlBar;

public:
    using TCustomControlBar::TCustomControlBar;
};
