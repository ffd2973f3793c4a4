// The frame-strip controls: a strip of equal pictures (from a frame record of the skin, or a default strip
// given to the control) of which the control shows one frame. A switch that animates between off and on, a
// frame animation, a gauge that shows its value as a frame and a knob or slider the user drags.
#pragma once
#include "framework/controls/TTimer.h"
#include "skin/core/SkinCtrls.h"
#include "skin/core/SkinData.h"

#include <functional>
#include <memory>

class TspFrameSkinControl : public TspSkinControl {
    using inherited = TspSkinControl;

public:
    explicit TspFrameSkinControl(TComponent* owner);
    ~TspFrameSkinControl() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // The strip and its mask used without a record; owned.
    TBitmap* DefaultImage() const { return FDefaultImage.get(); }
    void SetDefaultImage(TBitmap* value);
    TBitmap* DefaultMask() const { return FDefaultMask.get(); }
    void SetDefaultMask(TBitmap* value);
    // At least 1.
    int DefaultFramesCount() const { return FDefaultFramesCount; }
    void SetDefaultFramesCount(int value);
    TFramesPlacement DefaultFramesPlacement() const { return FDefaultFramesPlacement; }
    void SetDefaultFramesPlacement(TFramesPlacement value);

    void GetSkinData() override;
    void ChangeSkinData() override;
    // With a strip the control always has the size of one frame.
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

    // Frame n (from 1), clamped to the strip; nothing without a strip.
    void SetFrame(int n);
    int GetCurrentFrame() const { return CurrentFrame; }
    int GetActiveFramesCount() const { return ActiveFramesCount; }
    // A record in use or a default strip.
    bool StripExists() const;

protected:
    // One frame towards the end of the strip (or towards frame 1); false when already there.
    bool StepFrame(bool towardsEnd);
    // The value one frame interval of the strip stands for in min..max (at least 1).
    int ValueStepOf(int minValue, int maxValue) const;
    // The frame (from 1) that shows `value` of min..max.
    int FrameOfValue(int value, int minValue, int maxValue) const;
    // A timer of this control, off, that calls `tick` every 50 ms once enabled.
    TTimer* NewFrameTimer(std::function<void()> tick);

    virtual void CalcDefaultFrameSize();
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    bool PaintSkinStraight(TCanvas* canvas) override;
    void SetControlRegion();

    int CurrentFrame = 1;
    int FrameWidth = 0;
    int FrameHeight = 0;
    int ActiveFramesCount = 0;
    TFramesPlacement ActiveFramesPlacement = fpHorizontal;
    TBitmap* FramePicture = nullptr;
    TBitmap* FrameMask = nullptr;
    TRect FrameSkinRect;
    // The window region cut from the mask; the window deletes it when it is replaced or the window goes.
    HRGN FrameRegion = nullptr;

    void CreateWnd() override;

private:
    void DefaultStripChanged();
    void GiveRegion(HRGN region);
    // Frame n of a strip whose frames start at `origin`.
    TRect FrameRect(TPoint origin, int n) const;

    std::unique_ptr<TBitmap> FDefaultImage;
    std::unique_ptr<TBitmap> FDefaultMask;
    int FDefaultFramesCount = 1;
    TFramesPlacement FDefaultFramesPlacement = fpHorizontal;
};

enum TspSkinSwitchState : uint8_t { swOff, swOn };

// Two frames change at once; a longer strip steps one frame a tick towards the state's end.
class TspSkinSwitch : public TspFrameSkinControl {
    using inherited = TspFrameSkinControl;

public:
    explicit TspSkinSwitch(TComponent* owner);

    TspSkinSwitchState State() const { return FState; }
    void SetState(TspSkinSwitchState value);
    uint32_t TimerInterval() const { return FFrameTimer->Interval(); }
    void SetTimerInterval(uint32_t value) { FFrameTimer->SetInterval(value); }
    TNotifyEvent OnChange;

    void ChangeSkinData() override;
    void Start() { FFrameTimer->SetEnabled(true); }
    void Stop() { FFrameTimer->SetEnabled(false); }
    bool Animating() const { return FFrameTimer->Enabled(); }
    void WndProc(TMessage& message) override;

protected:
    void ChangeState();
    void DoAnimate();
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TspSkinSwitchState FState = swOff;
    TTimer* FFrameTimer;
    bool FMouseInside = false;
};

// Plays its strip forward; in cycle mode from the start again, in button mode forward while the mouse is over
// it and backward when it leaves.
class TspSkinAnimate : public TspFrameSkinControl {
    using inherited = TspFrameSkinControl;

public:
    explicit TspSkinAnimate(TComponent* owner);

    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool CycleMode() const { return FCycleMode; }
    void SetCycleMode(bool value) { FCycleMode = value; }
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool value) { FButtonMode = value; }
    uint32_t TimerInterval() const { return FFrameTimer->Interval(); }
    void SetTimerInterval(uint32_t value) { FFrameTimer->SetInterval(value); }
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

    void Start();
    void Stop();
    bool Animating() const { return FFrameTimer->Enabled(); }
    void WndProc(TMessage& message) override;

protected:
    void DoAnimate();

private:
    bool FActive = false;
    bool FCycleMode = false;
    bool FButtonMode = false;
    TTimer* FFrameTimer;
    bool FMouseInside = false;
};

// Shows Value within MinValue..MaxValue as a frame of the strip.
class TspSkinFrameGauge : public TspFrameSkinControl {
    using inherited = TspFrameSkinControl;

public:
    explicit TspSkinFrameGauge(TComponent* owner);

    int Value() const { return FValue; }
    // A value outside the range or equal to the present one is ignored.
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);

    void ChangeSkinData() override;

protected:
    void CalcFrame();

private:
    int FValue = 50;
    int FMinValue = 0;
    int FMaxValue = 100;
};

// A knob (round) or slider (horizontal, vertical) whose value the user drags one step at a time.
class TspSkinFrameRegulator : public TspFrameSkinControl {
    using inherited = TspFrameSkinControl;

public:
    explicit TspSkinFrameRegulator(TComponent* owner);

    TRegulatorKind DefaultKind() const { return FDefaultKind; }
    void SetDefaultKind(TRegulatorKind value);
    TRegulatorKind GetActiveKind() const { return ActiveKind; }
    int Value() const { return FValue; }
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    TNotifyEvent OnChange;

    void GetSkinData() override;
    void ChangeSkinData() override;
    // The pointer's direction seen from the centre in whole degrees: 0 straight below, growing clockwise.
    // At the exact centre there is no direction: -1.
    int GetRoundValue(int x, int y) const;

protected:
    void CalcDefaultFrameSize() override;
    void CalcFrame();
    void CalcValue();
    void CalcRoundValue();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    TRegulatorKind ActiveKind = rkRound;
    bool Dragging = false;
    int DragValue = 0;
    int LastStepPos = 0;
    int CurrentPos = 0;
    int PreviousPos = 0;
    int PosStep = 0;
    int ValueStep = 0;

private:
    // The value and step computations shared by both kinds of drag.
    void PrepareSteps(int extent);
    void StepValue(bool up);

    TRegulatorKind FDefaultKind = rkRound;
    int FValue = 50;
    int FMinValue = 0;
    int FMaxValue = 100;
};
