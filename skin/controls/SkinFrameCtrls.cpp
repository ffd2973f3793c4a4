#include "skin/controls/SkinFrameCtrls.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

using namespace SPUtils;

// ---- TspFrameSkinControl ----------------------------------------------------------------------------------------

TspFrameSkinControl::TspFrameSkinControl(TComponent* owner)
    : inherited(owner)
    , FDefaultImage(std::make_unique<TBitmap>())
    , FDefaultMask(std::make_unique<TBitmap>())
{
}

// The window deletes the region it was given.
TspFrameSkinControl::~TspFrameSkinControl() = default;

bool TspFrameSkinControl::StripExists() const
{
    return SkinIndex != -1 || !FDefaultImage->Empty();
}

void TspFrameSkinControl::GetSkinData()
{
    inherited::GetSkinData();
    if (SkinIndex == -1)
        return;
    auto* record = dynamic_cast<TspDataSkinFrameControl*>(SkinData()->ControlRecords[size_t(SkinIndex)].get());
    if (!record)
        return;
    FrameSkinRect = record->SkinRect;
    SkinCursorIndex = record->CursorIndex;
    FramePicture = SkinPictureAt(SkinData(), record->PictureIndex);
    FrameMask = SkinPictureAt(SkinData(), record->MaskPictureIndex);
    // A strip of one frame is cut as two.
    ActiveFramesCount = record->FramesCount < 2 ? 2 : record->FramesCount;
    ActiveFramesPlacement = record->FramesPlacement;
    if (ActiveFramesPlacement == fpHorizontal) {
        FrameWidth = RectWidth(FrameSkinRect) / ActiveFramesCount;
        FrameHeight = RectHeight(FrameSkinRect);
    } else {
        FrameWidth = RectWidth(FrameSkinRect);
        FrameHeight = RectHeight(FrameSkinRect) / ActiveFramesCount;
    }
}

void TspFrameSkinControl::CalcDefaultFrameSize()
{
    if (FDefaultImage->Empty())
        return;
    ActiveFramesCount = FDefaultFramesCount;
    ActiveFramesPlacement = FDefaultFramesPlacement;
    if (ActiveFramesPlacement == fpHorizontal) {
        FrameWidth = FDefaultImage->Width() / ActiveFramesCount;
        FrameHeight = FDefaultImage->Height();
    } else {
        FrameWidth = FDefaultImage->Width();
        FrameHeight = FDefaultImage->Height() / ActiveFramesCount;
    }
}

void TspFrameSkinControl::DefaultStripChanged()
{
    CalcDefaultFrameSize();
    if (!FDefaultImage->Empty())
        SetBounds(Left(), Top(), FrameWidth, FrameHeight);
    Repaint();
}

void TspFrameSkinControl::SetDefaultImage(TBitmap* value)
{
    FDefaultImage->Assign(value);
    CurrentFrame = 1;
    DefaultStripChanged();
}

void TspFrameSkinControl::SetDefaultFramesCount(int value)
{
    FDefaultFramesCount = value < 1 ? 1 : value;
    DefaultStripChanged();
}

void TspFrameSkinControl::SetDefaultFramesPlacement(TFramesPlacement value)
{
    FDefaultFramesPlacement = value;
    DefaultStripChanged();
}

void TspFrameSkinControl::SetDefaultMask(TBitmap* value)
{
    FDefaultMask->Assign(value);
    SetControlRegion();
    Repaint();
}

bool TspFrameSkinControl::StepFrame(bool towardsEnd)
{
    if (towardsEnd ? CurrentFrame >= ActiveFramesCount : CurrentFrame <= 1)
        return false;
    SetFrame(CurrentFrame + (towardsEnd ? 1 : -1));
    return true;
}

int TspFrameSkinControl::ValueStepOf(int minValue, int maxValue) const
{
    const int intervals = ActiveFramesCount - 1 < 1 ? 1 : ActiveFramesCount - 1;
    const int step = (maxValue - minValue) / intervals;
    return step == 0 ? 1 : step;
}

int TspFrameSkinControl::FrameOfValue(int value, int minValue, int maxValue) const
{
    return std::abs(value - minValue) / ValueStepOf(minValue, maxValue) + 1;
}

TTimer* TspFrameSkinControl::NewFrameTimer(std::function<void()> tick)
{
    auto* timer = new TTimer(this);
    timer->SetEnabled(false);
    timer->SetInterval(50);
    timer->SetOnTimer([tick = std::move(tick)](TObject*) { tick(); });
    return timer;
}

void TspFrameSkinControl::SetFrame(int n)
{
    if (!StripExists())
        return;
    if (n <= 0)
        n = 1;
    if (n > ActiveFramesCount)
        n = ActiveFramesCount;
    if (n == CurrentFrame)
        return;
    CurrentFrame = n;
    Repaint();
}

void TspFrameSkinControl::SetBounds(int left, int top, int width, int height)
{
    GetSkinData();
    const bool sized = (width != Width() || height != Height()) && StripExists();
    if (sized) {
        width = FrameWidth;
        height = FrameHeight;
    }
    inherited::SetBounds(left, top, width, height);
    if (sized) {
        SetControlRegion();
        Repaint();
    }
}

void TspFrameSkinControl::ChangeSkinData()
{
    GetSkinData();
    if (SkinIndex == -1 && !FDefaultImage->Empty()) {
        CalcDefaultFrameSize();
        SetControlRegion();
        SetBounds(Left(), Top(), FrameWidth, FrameHeight);
        Repaint();
        return;
    }
    if (SkinIndex != -1 && CurrentFrame > ActiveFramesCount)
        CurrentFrame = ActiveFramesCount;
    if (UseSkinCursor()) {
        if (SkinCursorIndex == -1 || SkinIndex == -1)
            SetCursor(crDefault);
        else
            SetCursor(static_cast<TCursor>(SkinData()->StartCursorIndex + SkinCursorIndex));
    }
    bool sized = false;
    if (SkinIndex != -1) {
        const int width = Width();
        const int height = Height();
        SetBounds(Left(), Top(), FrameWidth, FrameHeight);
        sized = width != Width() || height != Height();
    }
    if (SkinIndex == -1 || !sized) {
        SetControlRegion();
        Repaint();
    }
}

TRect TspFrameSkinControl::FrameRect(TPoint origin, int n) const
{
    if (ActiveFramesPlacement == fpHorizontal)
        return Rect(origin.X + FrameWidth * (n - 1), origin.Y, origin.X + FrameWidth * n, origin.Y + FrameHeight);
    return Rect(origin.X, origin.Y + FrameHeight * (n - 1), origin.X + FrameWidth, origin.Y + FrameHeight * n);
}

void TspFrameSkinControl::CreateControlSkinImage(TBitmap* bitmap)
{
    bitmap->SetSize(FrameWidth, FrameHeight);
    if (!FramePicture)
        return;
    bitmap->Canvas()->CopyRect(Rect(0, 0, FrameWidth, FrameHeight), FramePicture->Canvas(),
        FrameRect(TPoint { FrameSkinRect.Left, FrameSkinRect.Top }, CurrentFrame));
}

bool TspFrameSkinControl::PaintSkinStraight(TCanvas* canvas)
{
    // The frame is one copy out of the strip: the off-screen image would only pass it on. A frame reaching past
    // the strip's picture keeps the image, which is white where the picture has nothing.
    if (!FramePicture || FrameWidth <= 0 || FrameHeight <= 0)
        return false;
    const TRect source = FrameRect(TPoint { FrameSkinRect.Left, FrameSkinRect.Top }, CurrentFrame);
    if (source.Left < 0 || source.Top < 0 || source.Right > FramePicture->Width()
        || source.Bottom > FramePicture->Height())
        return false;
    canvas->CopyRect(Rect(0, 0, FrameWidth, FrameHeight), FramePicture->Canvas(), source);
    return true;
}

void TspFrameSkinControl::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    if (FDefaultImage->Empty()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(ClientRect());
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(ClientRect());
        return;
    }
    CalcDefaultFrameSize();
    bitmap->SetSize(FrameWidth, FrameHeight);
    canvas->CopyRect(
        Rect(0, 0, FrameWidth, FrameHeight), FDefaultImage->Canvas(), FrameRect(TPoint { 0, 0 }, CurrentFrame));
}

void TspFrameSkinControl::GiveRegion(HRGN region)
{
    if (HandleAllocated())
        SetWindowRgn(Handle(), region, TRUE);
    else if (region)
        DeleteObject(region);
    FrameRegion = HandleAllocated() ? region : nullptr;
}

void TspFrameSkinControl::SetControlRegion()
{
    TBitmap* mask = SkinIndex != -1 ? FrameMask : (FDefaultMask->Empty() ? nullptr : FDefaultMask.get());
    if (!mask) {
        if (FrameRegion)
            GiveRegion(nullptr);
        return;
    }
    HRGN region = nullptr;
    CreateSkinSimplyRegion(region, mask);
    GiveRegion(region);
}

void TspFrameSkinControl::CreateWnd()
{
    inherited::CreateWnd();
    // A region made before the window existed could not be given to it.
    SetControlRegion();
}

void TspFrameSkinControl::Loaded()
{
    inherited::Loaded();
    CalcDefaultFrameSize();
    if (SkinIndex == -1 && !SkinData())
        SetControlRegion();
}

void TspFrameSkinControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        PaintOnErase(message);
        return;
    }
    inherited::WndProc(message);
}

// ---- TspSkinSwitch ----------------------------------------------------------------------------------------------

TspSkinSwitch::TspSkinSwitch(TComponent* owner)
    : inherited(owner)
    , FFrameTimer(NewFrameTimer([this] { DoAnimate(); }))
{
    SetBounds(Left(), Top(), 25, 50);
}

void TspSkinSwitch::SetState(TspSkinSwitchState value)
{
    FState = value;
    ChangeState();
    if (OnChange && !Designing())
        OnChange(this);
}

void TspSkinSwitch::ChangeState()
{
    if (!StripExists()) {
        Repaint();
        return;
    }
    if (ActiveFramesCount == 2)
        SetFrame(FState == swOn ? 2 : 1);
    else
        Start();
}

void TspSkinSwitch::DoAnimate()
{
    if (!StripExists())
        return;
    if (!StepFrame(FState == swOn))
        Stop();
}

void TspSkinSwitch::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (StripExists())
        SetFrame(FState == swOn ? ActiveFramesCount : 1);
}

void TspSkinSwitch::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FMouseInside)
        SetState(FState == swOn ? swOff : swOn);
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinSwitch::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (Designing())
        return;
    if (message.Msg == CM_MOUSEENTER)
        FMouseInside = true;
    else if (message.Msg == CM_MOUSELEAVE)
        FMouseInside = false;
}

// ---- TspSkinAnimate ---------------------------------------------------------------------------------------------

TspSkinAnimate::TspSkinAnimate(TComponent* owner)
    : inherited(owner)
    , FFrameTimer(NewFrameTimer([this] { DoAnimate(); }))
{
    SetBounds(Left(), Top(), 50, 50);
}

void TspSkinAnimate::SetActive(bool value)
{
    FActive = value;
    if (!StripExists())
        return;
    if (value)
        Start();
    else
        Stop();
}

void TspSkinAnimate::Start()
{
    if (!FCycleMode && !FButtonMode)
        CurrentFrame = 1;
    FFrameTimer->SetEnabled(true);
    if (OnStart)
        OnStart(this);
}

void TspSkinAnimate::Stop()
{
    FFrameTimer->SetEnabled(false);
    if (OnStop)
        OnStop(this);
}

void TspSkinAnimate::DoAnimate()
{
    if (!StripExists())
        return;
    // A button-mode animation runs back to the first frame once the pointer has left.
    if (FButtonMode && !FMouseInside) {
        if (!StepFrame(false))
            Stop();
        return;
    }
    if (!StepFrame(true) && FCycleMode)
        SetFrame(1);
}

void TspSkinAnimate::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (Designing() || !StripExists())
        return;
    if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
        FMouseInside = message.Msg == CM_MOUSEENTER;
        if (FButtonMode)
            Start();
    }
}

// ---- TspSkinFrameGauge ------------------------------------------------------------------------------------------

TspSkinFrameGauge::TspSkinFrameGauge(TComponent* owner)
    : inherited(owner)
{
    SetBounds(Left(), Top(), 50, 50);
}

void TspSkinFrameGauge::SetValue(int value)
{
    if (value == FValue || value > FMaxValue || value < FMinValue)
        return;
    FValue = value;
    if (StripExists())
        CalcFrame();
}

void TspSkinFrameGauge::SetMinValue(int value)
{
    FMinValue = value;
    if (!StripExists())
        return;
    if (FValue < FMinValue)
        FValue = FMinValue;
    CalcFrame();
}

void TspSkinFrameGauge::SetMaxValue(int value)
{
    FMaxValue = value;
    if (!StripExists())
        return;
    if (FValue > FMaxValue)
        FValue = FMaxValue;
    CalcFrame();
}

void TspSkinFrameGauge::CalcFrame()
{
    SetFrame(FrameOfValue(FValue, FMinValue, FMaxValue));
}

void TspSkinFrameGauge::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (StripExists())
        CalcFrame();
}

// ---- TspSkinFrameRegulator --------------------------------------------------------------------------------------

TspSkinFrameRegulator::TspSkinFrameRegulator(TComponent* owner)
    : inherited(owner)
{
    SetBounds(Left(), Top(), 50, 50);
}

void TspSkinFrameRegulator::SetDefaultKind(TRegulatorKind value)
{
    FDefaultKind = value;
    ActiveKind = value;
}

void TspSkinFrameRegulator::CalcDefaultFrameSize()
{
    inherited::CalcDefaultFrameSize();
    ActiveKind = FDefaultKind;
}

void TspSkinFrameRegulator::GetSkinData()
{
    inherited::GetSkinData();
    if (SkinIndex == -1)
        return;
    if (auto* record = dynamic_cast<TspDataSkinFrameRegulator*>(SkinData()->ControlRecords[size_t(SkinIndex)].get()))
        ActiveKind = record->Kind;
}

void TspSkinFrameRegulator::SetValue(int value)
{
    if (value == FValue || value > FMaxValue || value < FMinValue)
        return;
    FValue = value;
    if (StripExists())
        CalcFrame();
    if (OnChange)
        OnChange(this);
}

void TspSkinFrameRegulator::SetMinValue(int value)
{
    FMinValue = value;
    if (!StripExists())
        return;
    if (FValue < FMinValue)
        FValue = FMinValue;
    CalcFrame();
}

void TspSkinFrameRegulator::SetMaxValue(int value)
{
    FMaxValue = value;
    if (!StripExists())
        return;
    if (FValue > FMaxValue)
        FValue = FMaxValue;
    CalcFrame();
}

void TspSkinFrameRegulator::CalcFrame()
{
    ValueStep = ValueStepOf(FMinValue, FMaxValue);
    SetFrame(FrameOfValue(FValue, FMinValue, FMaxValue));
}

void TspSkinFrameRegulator::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (StripExists())
        CalcFrame();
}

int TspSkinFrameRegulator::GetRoundValue(int x, int y) const
{
    const int cx = Width() / 2;
    const int cy = Height() / 2;
    const double dx = cx - x;
    const double dy = cy - y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    // The centre has no direction; the drag keeps the position it had.
    if (distance == 0)
        return -1;
    int base;
    if (x <= cx && y < cy)
        base = 90;
    else if (x < cx && y >= cy)
        base = 180;
    else if (x >= cx && y > cy)
        base = 270;
    else
        base = 0;
    double s = (base == 0 || base == 180) ? std::fabs(dy) / distance : std::fabs(dx) / distance;
    if (s > 1)
        s = 1;
    const double angle = s >= 1 ? 90.0 : std::atan(s / std::sqrt(1 - s * s)) * 180.0 / std::numbers::pi;
    int result = 270 - static_cast<int>(std::trunc(base + angle));
    if (result < 0)
        result += 360;
    return result;
}

void TspSkinFrameRegulator::PrepareSteps(int extent)
{
    if (SkinIndex == -1 && !DefaultImage()->Empty())
        CalcDefaultFrameSize();
    const int n = ActiveFramesCount - 1 < 1 ? 1 : ActiveFramesCount - 1;
    PosStep = (extent < 0 ? FrameWidth : extent) / n;
    if (PosStep == 0)
        PosStep = 1;
    ValueStep = ValueStepOf(FMinValue, FMaxValue);
}

void TspSkinFrameRegulator::StepValue(bool up)
{
    DragValue += up ? ValueStep : -ValueStep;
    if (DragValue < FMinValue)
        DragValue = FMinValue;
    if (DragValue > FMaxValue)
        DragValue = FMaxValue;
    SetValue(DragValue);
}

void TspSkinFrameRegulator::CalcValue()
{
    if (SkinIndex == -1 && !DefaultImage()->Empty())
        CalcDefaultFrameSize();
    const int extent = ActiveKind == rkHorizontal ? FrameWidth
        : ActiveKind == rkVertical                ? FrameHeight
                                                  : std::min(FrameWidth, FrameHeight);
    PrepareSteps(extent);
    if (std::abs(CurrentPos - LastStepPos) < PosStep)
        return;
    const bool up = CurrentPos >= LastStepPos;
    LastStepPos = CurrentPos;
    StepValue(up);
}

void TspSkinFrameRegulator::CalcRoundValue()
{
    PrepareSteps(360);
    int distance;
    bool up;
    if (std::abs(CurrentPos - PreviousPos) <= 300) {
        distance = std::abs(CurrentPos - LastStepPos);
        up = CurrentPos >= LastStepPos;
    } else {
        // The pointer crossed the bottom of the knob, where the angle wraps between 359 and 0.
        LastStepPos = CurrentPos;
        distance = PosStep;
        up = CurrentPos < PreviousPos;
    }
    if (distance < PosStep)
        return;
    LastStepPos = CurrentPos;
    StepValue(up);
}

void TspSkinFrameRegulator::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Dragging = true;
    DragValue = FValue;
    switch (ActiveKind) {
    case rkRound:
        if (const int angle = GetRoundValue(x, y); angle >= 0) {
            LastStepPos = angle;
            PreviousPos = angle;
        }
        break;
    case rkHorizontal:
        LastStepPos = x;
        break;
    case rkVertical:
        LastStepPos = -y;
        break;
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinFrameRegulator::MouseMove(TShiftState shift, int x, int y)
{
    if (Dragging && StripExists()) {
        if (ActiveKind == rkRound) {
            if (const int angle = GetRoundValue(x, y); angle >= 0) {
                CurrentPos = angle;
                CalcRoundValue();
                PreviousPos = CurrentPos;
            }
        } else {
            CurrentPos = ActiveKind == rkHorizontal ? x : -y;
            CalcValue();
            PreviousPos = CurrentPos;
        }
    }
    inherited::MouseMove(shift, x, y);
}

void TspSkinFrameRegulator::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Dragging = false;
    inherited::MouseUp(button, shift, x, y);
}
