// TCustomControl, the windowed control that paints itself with a canvas.
#pragma once
#include "framework/controls/TWinControl.h"

#include <memory>

class TControlCanvas;

class TCustomControl : public TWinControl {
    using inherited = TWinControl;

public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* Canvas() const;

protected:
    // Draws the control on Canvas during WM_PAINT; the base draws nothing.
    virtual void Paint();
    // Hands the paint DC to Canvas and calls Paint.
    void PaintWindow(HDC dc) override;
    void DestroyWnd() override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};
