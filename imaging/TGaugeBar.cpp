#include "imaging/TGaugeBar.h"

#include "framework/core/Numbers.h"

#include <algorithm>

TCustomGaugeBar::TCustomGaugeBar(TComponent* owner)
    : inherited(owner)
{
}

void TCustomGaugeBar::SetHandleSize(int value)
{
    value = std::max(value, 0);
    if (value == FHandleSize)
        return;
    FHandleSize = value;
    Invalidate();
}

void TCustomGaugeBar::SetLargeChange(int value)
{
    FLargeChange = std::max(value, 1);
}

void TCustomGaugeBar::SetSmallChange(int value)
{
    FSmallChange = std::max(value, 1);
}

void TCustomGaugeBar::SetMax(int value)
{
    if (!ComponentState().Contains(csLoading) && value <= FMin)
        value = FMin + 1;
    if (value == FMax)
        return;
    FMax = value;
    SetPosition(FPosition);
    Invalidate();
}

void TCustomGaugeBar::SetMin(int value)
{
    if (!ComponentState().Contains(csLoading) && value >= FMax)
        value = FMax - 1;
    if (value == FMin)
        return;
    FMin = value;
    SetPosition(FPosition);
    Invalidate();
}

void TCustomGaugeBar::SetPosition(int value)
{
    value = std::max(FMin, std::min(value, FMax));
    if (value == FPosition)
        return;
    FPosition = value;
    Invalidate();
    DoChange();
}

int TCustomGaugeBar::HandleLength(int trackLength)
{
    const TRect client = ClientRect();
    int size = FHandleSize != 0 ? FHandleSize : (Horz() ? client.Bottom : client.Right);
    if (size >= trackLength)
        size = trackLength - 1;
    return std::max(size, 0);
}

TRect TCustomGaugeBar::GetHandleRect()
{
    TRect r = GetTrackBoundary();
    const int length = Horz() ? r.Right - r.Left : r.Bottom - r.Top;
    const int size = HandleLength(length);
    // A range of Min = Max (only a form description can make one) keeps the handle at the start.
    const int span = FMax - FMin;
    const int offset = span == 0 ? 0 : int(Round(double(int32_t(uint32_t(length - size) * uint32_t(FPosition - FMin))) / span));
    if (Horz()) {
        r.Left += offset;
        r.Right = r.Left + size;
    } else {
        r.Top += offset;
        r.Bottom = r.Top + size;
    }
    return r;
}

bool TCustomGaugeBar::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (!inherited::DoMouseWheel(shift, wheelDelta, mousePos))
        SetPosition(FPosition + FSmallChange * wheelDelta / 120);
    return true;
}

void TCustomGaugeBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (FDragZone == zHandle) {
        StopDragTracking();
        FPosBeforeDrag = float(FPosition);
    }
}

void TCustomGaugeBar::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (FDragZone != zHandle)
        return;
    const TRect t = GetTrackBoundary();
    const int length = Horz() ? t.Right - t.Left : t.Bottom - t.Top;
    const int free = length - HandleLength(length);
    if (free <= 0)
        return;
    const double delta = double(FMax - FMin) * (Horz() ? x - FStackedAt.X : y - FStackedAt.Y) / free;
    FGenChange = true;
    SetPosition(int(Round(FPosBeforeDrag + delta)));
    FGenChange = false;
}

void TCustomGaugeBar::TimerHandler(TObject* sender)
{
    inherited::TimerHandler(sender);
    FGenChange = true;
    const int old = FPosition;
    switch (FDragZone) {
    case zBtnPrev:
        SetPosition(FPosition - FSmallChange);
        if (FPosition == old)
            StopDragTracking();
        break;
    case zBtnNext:
        SetPosition(FPosition + FSmallChange);
        if (FPosition == old)
            StopDragTracking();
        break;
    case zTrackPrev: {
        const TPoint p = ClampedCursor();
        const TRBZone zone = GetZone(p.X, p.Y);
        if (zone == zBtnPrev || zone == zTrackPrev)
            SetPosition(FPosition - FLargeChange);
        break;
    }
    case zTrackNext: {
        const TPoint p = ClampedCursor();
        const TRBZone zone = GetZone(p.X, p.Y);
        if (zone == zTrackNext || zone == zBtnNext)
            SetPosition(FPosition + FLargeChange);
        break;
    }
    default:
        break;
    }
    FGenChange = false;
}
