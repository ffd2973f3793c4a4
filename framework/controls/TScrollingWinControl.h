// Scrolling containers: TScrollingWinControl, whose window scroll bars (TControlScrollBar, HorzScrollBar and
// VertScrollBar) move its children when the children reach past its client area, and TScrollBox.
#pragma once
#include "framework/controls/TScrollBar.h"
#include "framework/controls/TWinControl.h"

class TScrollingWinControl;

// One of a scrolling control's window scroll bars. Range is how far the content reaches (computed from the
// children while the control's AutoScroll is on); Position is how far it is scrolled, 0..Range less the
// client's size.
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);

    TScrollBarKind Kind() const { return FKind; }
    // The step of the bar's arrows.
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    // Room kept beyond the farthest child.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // Setting a range by hand turns the control's AutoScroll off.
    int Range() const { return FRange; }
    void SetRange(int value);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Whether the bar shows now.
    bool IsScrollBarVisible() const;
    // How far the bar can scroll: Range less the client's size, or 0.
    int ScrollRange() const { return FCalcRange; }

private:
    friend class TScrollingWinControl;
    // The client's extent along the bar: with ControlSB the size as the bars stand; otherwise as if this bar's
    // crossing bar showed (AssumeSB) or did not.
    int ControlSize(bool controlSB, bool assumeSB) const;
    bool NeedsScrollBarVisible() const { return FRange > ControlSize(false, false); }
    void CalcAutoRange();
    void DoSetRange(int value);
    void ScrollMessage(uint16_t code);
    void Update(bool controlSB, bool assumeSB);
    int Bar() const;

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    int FIncrement = 8;
    int FMargin = 0;
    int FPosition = 0;
    int FRange = 0;
    int FCalcRange = 0;
    bool FTracking = false;
    bool FVisible = true;
};

class TScrollingWinControl : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;

    // The ranges follow the children; off, they are set by hand.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    // Scrolls as little as makes the control (a descendant), its frame included, wholly visible with the
    // bars' margins around it.
    void ScrollInView(TControl* control);
    // While disabled, the children's moves do not recompute the ranges.
    void DisableAutoRange();
    void EnableAutoRange();

    void WndProc(TMessage& message) override;

protected:
    friend class TControlScrollBar;
    void AdjustClientRect(TRect& rect) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void CreateWnd() override;
    void AutoScrollInView(TControl* control);
    void CalcAutoRange();
    void UpdateScrollBars();

private:
    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    int FAutoRangeCount = 0;
    bool FUpdatingScrollBars = false;
};

// A scrolling container with a sunken border.
class TScrollBox : public TScrollingWinControl {
    using inherited = TScrollingWinControl;

public:
    explicit TScrollBox(TComponent* owner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle FBorderStyle = bsSingle;
};
