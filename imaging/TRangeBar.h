// TCustomRangeBar and TRangeBar: a floating-point position over an integer range seen through a window, the scroll
// bar of a scrollable view.
#pragma once
#include "imaging/TArrowBar.h"

class TCustomRangeBar : public TArrowBar {
    using inherited = TArrowBar;

public:
    explicit TCustomRangeBar(TComponent* owner);

    // Size and range changes keep the middle of the window in place.
    bool Centered() const { return FCentered; }
    void SetCentered(bool value) { FCentered = value; }
    TRBIncrement Increment() const { return FIncrement; }
    void SetIncrement(TRBIncrement value) { FIncrement = value; }
    // Kept in 0 .. Range - effective window (0 when that is negative).
    float Position() const { return FPosition; }
    // Fires OnChange (and OnUserChange for the user's changes) when the stored position changes.
    void SetPosition(float value);
    int Range() const { return FRange; }
    void SetRange(int value) { SetParams(value, FWindow); }
    int Window() const { return FWindow; }
    void SetWindow(int value) { SetParams(FRange, value); }
    // Negative values become 0; the position is clamped, without a change event.
    void SetParams(int newRange, int newWindow);
    // Window when above 0, else the control's length.
    int EffectiveWindow() const { return FWindowUsed; }

    bool DrawEnabled() override;
    TRect GetHandleRect() override;

protected:
    void TimerHandler(TObject* sender) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Resize() override;

private:
    void AdjustPosition();
    void UpdateEffectiveWindow();
    // The track between the buttons and its length.
    int TrackLength();

    bool FCentered = false;
    int FWindowUsed = 0;
    TRBIncrement FIncrement = 8;
    float FPosition = 0;
    int FRange = 0;
    int FWindow = 0;
};

class TRangeBar : public TCustomRangeBar {
public:
    using TCustomRangeBar::TCustomRangeBar;
};
