// TCustomGaugeBar and TGaugeBar: an integer position between Min and Max on an arrow bar.
#pragma once
#include "imaging/TArrowBar.h"

class TCustomGaugeBar : public TArrowBar {
    using inherited = TArrowBar;

public:
    explicit TCustomGaugeBar(TComponent* owner);

    // 0: a square handle.
    int HandleSize() const { return FHandleSize; }
    void SetHandleSize(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);
    int Max() const { return FMax; }
    // Unless loading, a value not above Min becomes Min + 1; the position follows through SetPosition.
    void SetMax(int value);
    int Min() const { return FMin; }
    // Unless loading, a value not below Max becomes Max - 1.
    void SetMin(int value);
    int Position() const { return FPosition; }
    // Clamped to Min .. Max; fires OnChange when it changes.
    void SetPosition(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);

    TRect GetHandleRect() override;

protected:
    void TimerHandler(TObject* sender) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    // The handle's length along the track of length `trackLength`.
    int HandleLength(int trackLength);

    int FHandleSize = 0;
    int FLargeChange = 1;
    int FMax = 100;
    int FMin = 0;
    int FPosition = 0;
    int FSmallChange = 1;
};

class TGaugeBar : public TCustomGaugeBar {
public:
    using TCustomGaugeBar::TCustomGaugeBar;
};
