// TGraphicControl, the windowless control that paints itself on its parent's window.
#pragma once
#include "framework/controls/TControl.h"

#include <memory>

class TControlCanvas;

// Its parent paints it (WM_PAINT with the parent's DC moved to the control's origin and clipped to it)
// after the parent's own background, and hands it the mouse messages over its area. Without csOpaque
// whatever the parent painted shows through.
class TGraphicControl : public TControl {
    using inherited = TControl;

public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas* Canvas() const;

    void WndProc(TMessage& message) override;

protected:
    // Draws the control on Canvas; the base draws nothing.
    virtual void Paint();
    void WMPaint(TMessage& message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};
