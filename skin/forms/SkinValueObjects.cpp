#include "skin/forms/SkinValueObjects.h"

#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinObjectRecords.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace SPUtils;

namespace {

void CopyPart(TCanvas* dest, const TRect& to, TBitmap* picture, const TRect& from)
{
    if (picture && !IsNullRect(to) && !IsNullRect(from))
        dest->CopyRect(to, picture->Canvas(), from);
}

int Clamp(int value, int low, int high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

// Where a value lies in a range, 0..1; an empty range puts every value at its start.
double Fraction(int value, int minValue, int maxValue)
{
    if (maxValue == minValue)
        return 0;
    return static_cast<double>(value - minValue) / static_cast<double>(maxValue - minValue);
}

} // namespace

// ---- TspSkinFrameObject -----------------------------------------------------------------------------------------

TspSkinFrameObject::TspSkinFrameObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
}

void TspSkinFrameObject::InitFrames(int countFrames, TFramesPlacement placement)
{
    CountFrames = countFrames;
    FramesPlacement = placement;
    if (CountFrames <= 0)
        return;
    if (FramesPlacement == fpHorizontal) {
        FrameWidth = RectWidth(ActiveSkinRect) / CountFrames;
        FrameHeight = RectHeight(ActiveSkinRect);
    } else {
        FrameWidth = RectWidth(ActiveSkinRect);
        FrameHeight = RectHeight(ActiveSkinRect) / CountFrames;
    }
}

void TspSkinFrameObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    if (CountFrames <= 0)
        return;
    // A value range that is not a multiple of the frame steps can ask for a frame past the strip: the last.
    const int n = Clamp(FrameIndex, 1, CountFrames);
    const int left = ActiveSkinRect.Left;
    const int top = ActiveSkinRect.Top;
    const TRect frame = FramesPlacement == fpHorizontal
        ? Rect(left + FrameWidth * (n - 1), top, left + FrameWidth * n, top + FrameHeight)
        : Rect(left, top + FrameHeight * (n - 1), left + FrameWidth, top + FrameHeight * n);
    DrawLook(canvas, ActivePicture, frame);
}

namespace {

int FrameOfValue(int value, int minValue, int maxValue, int countFrames)
{
    if (countFrames < 2)
        return 1;
    const int step = (maxValue - minValue) / (countFrames - 1);
    if (step == 0)
        return 1;
    return std::abs(value - minValue) / step + 1;
}

} // namespace

// ---- TspSkinFrameGaugeObject ------------------------------------------------------------------------------------

TspSkinFrameGaugeObject::TspSkinFrameGaugeObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    if (auto* record = dynamic_cast<TspDataSkinFrameGaugeObject*>(data)) {
        MinValue = record->MinValue;
        MaxValue = record->MaxValue;
        InitFrames(record->CountFrames, record->FramesPlacement);
    }
}

void TspSkinFrameGaugeObject::CalcFrame()
{
    FrameIndex = FrameOfValue(Value, MinValue, MaxValue, CountFrames);
}

void TspSkinFrameGaugeObject::Draw(TCanvas* canvas, bool standalone)
{
    CalcFrame();
    inherited::Draw(canvas, standalone);
}

void TspSkinFrameGaugeObject::SimplySetValue(int value)
{
    if (value != Value && value >= MinValue && value <= MaxValue)
        Value = value;
}

void TspSkinFrameGaugeObject::SetValue(int value)
{
    if (value == Value || value < MinValue || value > MaxValue)
        return;
    Value = value;
    FParent->DrawSkinObject(this);
}

void TspSkinFrameGaugeObject::MouseEnter()
{
    MouseOver = true;
    Active = true;
    FParent->MouseEnterEvent(IDName);
}

void TspSkinFrameGaugeObject::MouseLeave()
{
    MouseOver = false;
    Active = false;
    FParent->MouseLeaveEvent(IDName);
}

// ---- TspSkinFrameRegulatorObject --------------------------------------------------------------------------------

TspSkinFrameRegulatorObject::TspSkinFrameRegulatorObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    if (auto* record = dynamic_cast<TspDataSkinFrameRegulatorObject*>(data)) {
        MinValue = record->MinValue;
        MaxValue = record->MaxValue;
        Kind = record->Kind;
        InitFrames(record->CountFrames, record->FramesPlacement);
    }
    if (Value < MinValue)
        Value = MinValue;
    if (Value > MaxValue)
        Value = MaxValue;
}

void TspSkinFrameRegulatorObject::CalcFrame()
{
    FrameIndex = FrameOfValue(Value, MinValue, MaxValue, CountFrames);
}

void TspSkinFrameRegulatorObject::Draw(TCanvas* canvas, bool standalone)
{
    CalcFrame();
    inherited::Draw(canvas, standalone);
}

void TspSkinFrameRegulatorObject::SetValue(int value)
{
    if (value == Value || value < MinValue || value > MaxValue)
        return;
    Value = value;
    FParent->DrawSkinObject(this);
    FParent->FrameRegulatorChangeValueEvent(IDName, Value);
}

void TspSkinFrameRegulatorObject::SimplySetValue(int value)
{
    if (value == Value || value < MinValue || value > MaxValue)
        return;
    Value = value;
    FParent->FrameRegulatorChangeValueEvent(IDName, Value);
}

int TspSkinFrameRegulatorObject::GetRoundValue(int x, int y) const
{
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    x = Clamp(x, 0, width);
    y = Clamp(y, 0, height);
    const int cx = width / 2;
    const int cy = height / 2;
    const double dx = cx - x;
    const double dy = cy - y;
    const double h = std::sqrt(dx * dx + dy * dy);
    if (h == 0)
        return 0;
    int base;
    if (x <= cx && y < cy)
        base = 90;
    else if (x < cx && y >= cy)
        base = 180;
    else if (x >= cx && y > cy)
        base = 270;
    else
        base = 0;
    const double l = (base == 0 || base == 180 ? std::abs(dy) : std::abs(dx)) / h;
    // The arcsine as the arctangent the knob has always used; at l = 1 the quarter turn itself.
    const double arcsin = l >= 1 ? std::numbers::pi / 2 : std::atan(l / std::sqrt(1 - l * l));
    const int angle = static_cast<int>(Trunc(base + arcsin * 180 / std::numbers::pi));
    const int result = 270 - angle;
    return result < 0 ? result + 360 : result;
}

int TspSkinFrameRegulatorObject::DragPosition(int x, int y) const
{
    const int localX = x - ObjectRect.Left;
    const int localY = y - ObjectRect.Top;
    switch (Kind) {
    case rkRound:
        return GetRoundValue(localX, localY);
    case rkHorizontal:
        return localX;
    case rkVertical:
        break;
    }
    // Moving up increases.
    return -localY;
}

int TspSkinFrameRegulatorObject::ValueStep() const
{
    if (CountFrames < 2)
        return 0;
    const int step = (MaxValue - MinValue) / (CountFrames - 1);
    return step < 1 ? 1 : step;
}

void TspSkinFrameRegulatorObject::TakeStep(bool increase)
{
    const int step = ValueStep();
    FWorkValue = Clamp(FWorkValue + (increase ? step : -step), MinValue, MaxValue);
    SetValue(FWorkValue);
}

void TspSkinFrameRegulatorObject::CalcValue(int current)
{
    // A strip of fewer than two frames has no step to drag by.
    if (CountFrames < 2)
        return;
    int pixelStep = (Kind == rkHorizontal ? FrameWidth : FrameHeight) / (CountFrames - 1);
    if (pixelStep < 1)
        pixelStep = 1;
    if (std::abs(current - FAnchor) < pixelStep)
        return;
    const bool increase = current >= FAnchor;
    FAnchor = current;
    TakeStep(increase);
}

void TspSkinFrameRegulatorObject::CalcRoundValue(int current)
{
    if (CountFrames < 2)
        return;
    int angleStep = 360 / (CountFrames - 1);
    if (angleStep < 1)
        angleStep = 1;
    // A jump of more than 300 degrees is the pointer crossing straight down.
    if (std::abs(current - FLast) > 300) {
        FAnchor = current;
        TakeStep(current < FLast);
        return;
    }
    const bool increase = current >= FAnchor;
    if (std::abs(current - FAnchor) >= angleStep) {
        TakeStep(increase);
        FAnchor = current;
    }
}

void TspSkinFrameRegulatorObject::MouseDown(int x, int y, TMouseButton button)
{
    FDragging = true;
    FWorkValue = Value;
    FAnchor = DragPosition(x, y);
    FLast = FAnchor;
    inherited::MouseDown(x, y, button);
}

void TspSkinFrameRegulatorObject::MouseMove(int x, int y)
{
    if (FDragging) {
        const int current = DragPosition(x, y);
        if (Kind == rkRound)
            CalcRoundValue(current);
        else
            CalcValue(current);
        FLast = current;
    }
    inherited::MouseMove(x, y);
}

void TspSkinFrameRegulatorObject::MouseUp(int x, int y, TMouseButton button)
{
    FDragging = false;
    inherited::MouseUp(x, y, button);
}

// ---- TspSkinTrackBarObject --------------------------------------------------------------------------------------

TspSkinTrackBarObject::TspSkinTrackBarObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    if (auto* record = dynamic_cast<TspDataSkinTrackBar*>(data)) {
        ButtonRect = record->ButtonRect;
        ActiveButtonRect = record->ActiveButtonRect;
        BeginPoint = record->BeginPoint;
        EndPoint = record->EndPoint;
        MinValue = record->MinValue;
        MaxValue = record->MaxValue;
        MouseDownChangeValue = record->MouseDownChangeValue;
        ButtonTransparent = record->ButtonTransparent;
        ButtonTransparentColor = record->ButtonTransparentColor;
    }
    Vertical = std::abs(EndPoint.Y - BeginPoint.Y) >= std::abs(EndPoint.X - BeginPoint.X);
    Value = MinValue;
    ButtonPos = CalcButtonPos();
    OldButtonPos = ButtonPos;
}

TPoint TspSkinTrackBarObject::CalcButtonPos() const
{
    const double f = Fraction(Value, MinValue, MaxValue);
    if (!Vertical)
        return TPoint { BeginPoint.X + static_cast<int>(Round(f * (EndPoint.X - BeginPoint.X))), BeginPoint.Y };
    return TPoint { BeginPoint.X, EndPoint.Y + static_cast<int>(Round((1 - f) * (BeginPoint.Y - EndPoint.Y))) };
}

int TspSkinTrackBarObject::CalcValue(TPoint position) const
{
    double f = 0;
    if (!Vertical) {
        const int span = EndPoint.X - BeginPoint.X;
        if (span != 0)
            f = static_cast<double>(position.X - BeginPoint.X) / span;
    } else {
        const int span = BeginPoint.Y - EndPoint.Y;
        if (span != 0)
            f = 1 - static_cast<double>(position.Y - EndPoint.Y) / span;
    }
    return MinValue + static_cast<int>(Round((MaxValue - MinValue) * f));
}

TRect TspSkinTrackBarObject::CalcButtonRect() const
{
    const int width = RectWidth(ButtonRect);
    const int height = RectHeight(ButtonRect);
    return Bounds(ButtonPos.X - width / 2, ButtonPos.Y - height / 2, width, height);
}

bool TspSkinTrackBarObject::InTrack(int coordinate) const
{
    const int a = Vertical ? EndPoint.Y : BeginPoint.X;
    const int b = Vertical ? BeginPoint.Y : EndPoint.X;
    return coordinate >= std::min(a, b) && coordinate <= std::max(a, b);
}

void TspSkinTrackBarObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    const int width = RectWidth(SkinRect);
    const int height = RectHeight(SkinRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    image.SetSize(width, height);
    TCanvas* c = image.Canvas();
    const TRect& s = SkinRect;
    const TRect& a = ActiveSkinRect;
    if (IsNullRect(a)) {
        CopyPart(c, Rect(0, 0, width, height), Picture, s);
    } else if (!Vertical) {
        const int x = Clamp(ButtonPos.X, 0, width);
        CopyPart(c, Rect(0, 0, x, height), ActivePicture, Rect(a.Left, a.Top, a.Left + x, a.Top + height));
        CopyPart(c, Rect(x, 0, width, height), Picture, Rect(s.Left + x, s.Top, s.Right, s.Bottom));
    } else {
        const int y = Clamp(ButtonPos.Y, 0, height);
        CopyPart(c, Rect(0, 0, width, y), Picture, Rect(s.Left, s.Top, s.Right, s.Top + y));
        CopyPart(c, Rect(0, y, width, height), ActivePicture, Rect(a.Left, a.Top + y, a.Left + width, a.Top + height));
    }
    const TRect& look = FDragging && !IsNullRect(ActiveButtonRect) ? ActiveButtonRect : ButtonRect;
    if (ActivePicture && !IsNullRect(look)) {
        const TRect place = CalcButtonRect();
        if (ButtonTransparent) {
            TBitmap button;
            button.SetSize(RectWidth(place), RectHeight(place));
            button.Canvas()->CopyRect(Rect(0, 0, RectWidth(place), RectHeight(place)), ActivePicture->Canvas(), look);
            button.SetTransparentMode(tmFixed);
            button.SetTransparentColor(ButtonTransparentColor);
            button.SetTransparent(true);
            c->Draw(place.Left, place.Top, &button);
        } else {
            c->CopyRect(place, ActivePicture->Canvas(), look);
        }
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinTrackBarObject::SetButtonPos(TPoint position)
{
    if (position.X == ButtonPos.X && position.Y == ButtonPos.Y)
        return;
    OldButtonPos = ButtonPos;
    ButtonPos = position;
    Value = CalcValue(ButtonPos);
    FParent->DrawSkinObject(this);
    FParent->TrackBarChangeValueEvent(IDName, Value);
}

void TspSkinTrackBarObject::SetValue(int value)
{
    if (value == Value)
        return;
    Value = Clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    OldButtonPos = ButtonPos;
    ButtonPos = CalcButtonPos();
    FParent->DrawSkinObject(this);
    FParent->TrackBarChangeValueEvent(IDName, Value);
}

void TspSkinTrackBarObject::SimplySetValue(int value)
{
    Value = Clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    OldButtonPos = ButtonPos;
    ButtonPos = CalcButtonPos();
    FParent->TrackBarChangeValueEvent(IDName, Value);
}

void TspSkinTrackBarObject::MouseDown(int x, int y, TMouseButton button)
{
    const TPoint p { x - ObjectRect.Left, y - ObjectRect.Top };
    const TRect buttonPlace = CalcButtonRect();
    if (button == mbLeft && RectInRect(Rect(p.X, p.Y, p.X, p.Y), buttonPlace)) {
        FDragging = true;
        FLastPoint = p;
        if (!IsNullRect(ActiveButtonRect))
            FParent->DrawSkinObject(this);
    } else if (button == mbLeft && MouseDownChangeValue) {
        if (!Vertical) {
            const int nx = Clamp(p.X, std::min(BeginPoint.X, EndPoint.X), std::max(BeginPoint.X, EndPoint.X));
            SetButtonPos(TPoint { nx, BeginPoint.Y });
        } else {
            const int ny = Clamp(p.Y, std::min(EndPoint.Y, BeginPoint.Y), std::max(EndPoint.Y, BeginPoint.Y));
            SetButtonPos(TPoint { BeginPoint.X, ny });
        }
    }
    inherited::MouseDown(x, y, button);
}

void TspSkinTrackBarObject::MouseMove(int x, int y)
{
    if (FDragging) {
        const TPoint p { x - ObjectRect.Left, y - ObjectRect.Top };
        if (!Vertical) {
            const int nx = p.X + ButtonPos.X - FLastPoint.X;
            if (InTrack(nx))
                SetButtonPos(TPoint { nx, BeginPoint.Y });
        } else {
            const int ny = p.Y + ButtonPos.Y - FLastPoint.Y;
            if (InTrack(ny))
                SetButtonPos(TPoint { BeginPoint.X, ny });
        }
        FLastPoint = p;
    }
    inherited::MouseMove(x, y);
}

void TspSkinTrackBarObject::MouseUp(int x, int y, TMouseButton button)
{
    if (button == mbLeft && FDragging) {
        FDragging = false;
        if (!IsNullRect(ActiveButtonRect))
            FParent->DrawSkinObject(this);
    }
    inherited::MouseUp(x, y, button);
}

// ---- TspSkinGaugeObject -----------------------------------------------------------------------------------------

TspSkinGaugeObject::TspSkinGaugeObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    if (auto* record = dynamic_cast<TspDataSkinGauge*>(data)) {
        MinValue = record->MinValue;
        MaxValue = record->MaxValue;
        Vertical = record->Kind != gkHorizontal;
    }
    Value = MinValue;
    ProgressPos = CalcProgressPos();
    OldProgressPos = ProgressPos;
}

TPoint TspSkinGaugeObject::CalcProgressPos() const
{
    const double f = Fraction(Value, MinValue, MaxValue);
    if (!Vertical)
        return TPoint { static_cast<int>(Round(f * RectWidth(SkinRect))), 0 };
    return TPoint { 0, static_cast<int>(Round(RectHeight(SkinRect) * (1 - f))) };
}

void TspSkinGaugeObject::SimplySetValue(int value)
{
    if (value == Value)
        return;
    Value = Clamp(value, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
    OldProgressPos = ProgressPos;
    ProgressPos = CalcProgressPos();
}

void TspSkinGaugeObject::SetValue(int value)
{
    SimplySetValue(value);
    FParent->DrawSkinObject(this);
}

void TspSkinGaugeObject::Draw(TCanvas* canvas, bool standalone)
{
    // A full repaint already shows the empty gauge in the main picture.
    if (!standalone && Value == MinValue)
        return;
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    image.SetSize(width, height);
    TCanvas* c = image.Canvas();
    const TRect& s = SkinRect;
    const TRect& a = ActiveSkinRect;
    if (!Vertical) {
        const int x = Clamp(ProgressPos.X, 0, width);
        CopyPart(c, Rect(x, 0, width, height), Picture, Rect(s.Left + x, s.Top, s.Left + width, s.Top + height));
        CopyPart(c, Rect(0, 0, x, height), ActivePicture, Rect(a.Left, a.Top, a.Left + x, a.Top + height));
    } else {
        const int y = Clamp(ProgressPos.Y, 0, height);
        CopyPart(c, Rect(0, 0, width, y), Picture, Rect(s.Left, s.Top, s.Left + width, s.Top + y));
        CopyPart(c, Rect(0, y, width, height), ActivePicture, Rect(a.Left, a.Top + y, a.Left + width, a.Top + height));
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinGaugeObject::MouseEnter()
{
    MouseOver = true;
    Active = true;
    FParent->MouseEnterEvent(IDName);
}

void TspSkinGaugeObject::MouseLeave()
{
    MouseOver = false;
    Active = false;
    FParent->MouseLeaveEvent(IDName);
}
