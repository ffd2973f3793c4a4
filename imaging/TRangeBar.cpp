#include "imaging/TRangeBar.h"

#include "framework/core/Numbers.h"

#include <algorithm>

namespace {

constexpr int kMinHandleSize = 17;

} // namespace

TCustomRangeBar::TCustomRangeBar(TComponent* owner)
    : inherited(owner)
{
    UpdateEffectiveWindow();
}

void TCustomRangeBar::UpdateEffectiveWindow()
{
    FWindowUsed = FWindow > 0 ? FWindow : (Horz() ? Width() : Height());
}

void TCustomRangeBar::AdjustPosition()
{
    if (FPosition > float(FRange - FWindowUsed))
        FPosition = float(FRange - FWindowUsed);
    if (FPosition < 0)
        FPosition = 0;
}

void TCustomRangeBar::SetPosition(float value)
{
    if (value == FPosition)
        return;
    const float old = FPosition;
    FPosition = value;
    AdjustPosition();
    if (FPosition != old) {
        Invalidate();
        DoChange();
    }
}

void TCustomRangeBar::SetParams(int newRange, int newWindow)
{
    newRange = std::max(newRange, 0);
    newWindow = std::max(newWindow, 0);
    if (newRange == FRange && newWindow == FWindow)
        return;
    const int oldWindow = FWindowUsed;
    const int oldRange = FRange;
    FRange = newRange;
    FWindow = newWindow;
    UpdateEffectiveWindow();
    if (FCentered && FRange > FWindowUsed) {
        double center = 0.5;
        if (oldRange > oldWindow && oldRange != 0)
            center = (oldWindow * 0.5 + FPosition) / oldRange;
        FPosition = float(FRange * center - FWindowUsed * 0.5);
    }
    AdjustPosition();
    Invalidate();
}

void TCustomRangeBar::Resize()
{
    const int oldWindow = FWindowUsed;
    UpdateEffectiveWindow();
    if (FCentered && FRange > FWindowUsed) {
        double center = 0.5;
        if (FRange > oldWindow)
            center = (oldWindow * 0.5 + FPosition) / FRange;
        FPosition = float(FRange * center - FWindowUsed * 0.5);
    }
    AdjustPosition();
    inherited::Resize();
}

bool TCustomRangeBar::DrawEnabled()
{
    return Enabled() && FWindowUsed < FRange;
}

int TCustomRangeBar::TrackLength()
{
    const TRect t = GetTrackBoundary();
    return Horz() ? t.Right - t.Left : t.Bottom - t.Top;
}

TRect TCustomRangeBar::GetHandleRect()
{
    TRect r = GetTrackBoundary();
    const int length = Horz() ? r.Right - r.Left : r.Bottom - r.Top;
    if (length < kMinHandleSize + 1)
        return TRect { 0, 0, 0, 0 };
    if (FRange <= FWindowUsed)
        return r;
    const int window = FWindowUsed;
    int size = int(Round(double(int32_t(uint32_t(length) * uint32_t(window))) / FRange));
    int offset;
    if (size < kMinHandleSize) {
        size = kMinHandleSize;
        offset = int(Round((length - kMinHandleSize) * double(FPosition) / (FRange - window)));
    } else {
        offset = int(Round(length * double(FPosition) / FRange));
    }
    if (Horz()) {
        r.Left += offset;
        r.Right = r.Left + size;
    } else {
        r.Top += offset;
        r.Bottom = r.Top + size;
    }
    return r;
}

bool TCustomRangeBar::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (!inherited::DoMouseWheel(shift, wheelDelta, mousePos))
        SetPosition(float(FPosition + double(int32_t(FIncrement) * wheelDelta) / 120));
    return true;
}

void TCustomRangeBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FRange <= FWindowUsed) {
        FDragZone = zNone;
        return;
    }
    inherited::MouseDown(button, shift, x, y);
    if (FDragZone == zHandle) {
        StopDragTracking();
        FPosBeforeDrag = FPosition;
    }
}

void TCustomRangeBar::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (FDragZone != zHandle || FRange <= FWindowUsed)
        return;
    const int window = FWindowUsed;
    double delta = Horz() ? x - FStackedAt.X : y - FStackedAt.Y;
    // The same track length as the handle's, so the handle follows the mouse (and a minimum-size handle on the
    // shortest track that shows one never divides by zero).
    const int length = TrackLength();
    if (length <= kMinHandleSize)
        return;
    if (Round(double(length) * window / FRange) < kMinHandleSize)
        delta = double(Round((FRange - window) * delta / (length - kMinHandleSize)));
    else
        delta = FRange * delta / length;
    FGenChange = true;
    SetPosition(float(FPosBeforeDrag + delta));
    FGenChange = false;
}

void TCustomRangeBar::TimerHandler(TObject* sender)
{
    inherited::TimerHandler(sender);
    FGenChange = true;
    const float old = FPosition;
    switch (FDragZone) {
    case zBtnPrev:
        SetPosition(FPosition - FIncrement);
        if (FPosition == old)
            StopDragTracking();
        break;
    case zBtnNext:
        SetPosition(FPosition + FIncrement);
        if (FPosition == old)
            StopDragTracking();
        break;
    case zTrackPrev: {
        const TPoint p = ClampedCursor();
        const TRBZone zone = GetZone(p.X, p.Y);
        if (zone == zBtnPrev || zone == zTrackPrev)
            SetPosition(FPosition - FWindowUsed);
        break;
    }
    case zTrackNext: {
        const TPoint p = ClampedCursor();
        const TRBZone zone = GetZone(p.X, p.Y);
        if (zone == zTrackNext || zone == zBtnNext)
            SetPosition(FPosition + FWindowUsed);
        break;
    }
    default:
        break;
    }
    FGenChange = false;
}
