// TspSkinCustomSlider and TspSkinSlider: a slider drawn from a thumb and a ruler picture (the control's own, or the
// skin's "slider" record), with tick points, dragging, ruler presses that step with auto-repeat, and keys.
#pragma once
#include "framework/core/TSet.h"
#include "skin/core/SkinCtrls.h"

#include <memory>

enum TspSliderOrientation : uint8_t { soHorizontal, soVertical };
enum TspSliderOption : uint8_t { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TspSliderOptions = TSet<TspSliderOption>;
enum TspSliderImage : uint8_t { siHThumb, siHRuler, siVThumb, siVRuler };
enum TspJumpMode : uint8_t { jmNone, jmHome, jmEnd, jmNext, jmPrior };

class TspSkinCustomSlider : public TspSkinControl {
    using inherited = TspSkinControl;

public:
    explicit TspSkinCustomSlider(TComponent* owner);
    ~TspSkinCustomSlider() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Value() const { return FValue; }
    // Clamped to the range; the thumb follows; OnChange when it changed.
    void SetValue(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    TspSliderOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TspSliderOrientation value);
    TspSliderOptions Options() const { return FOptions; }
    void SetOptions(TspSliderOptions value);
    int NumThumbStates() const { return FNumThumbStates; }
    void SetNumThumbStates(int value);
    int EdgeSize() const { return FEdgeSize; }
    void SetEdgeSize(int value);
    TBitmap* Image(TspSliderImage index) const { return FImages[index].get(); }
    // A copy of `bitmap`; null brings the default picture back and drops the matching opaque option.
    void SetImage(TspSliderImage index, TBitmap* bitmap);
    // Bit i is set while picture i is one the user assigned; only those pictures are stored with the form.
    uint8_t UserImages() const { return FUserImages; }
    // Paint the parent's picture as the background.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool UseSkinThumb() const { return FUseSkinThumb; }
    void SetUseSkinThumb(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    TNotifyEvent OnChange;
    TNotifyEvent OnChanged;
    TNotifyEvent OnDrawPoints;

    // Ignored when min >= max; an increment wider than the range shrinks to it.
    void SetRange(int min, int max);
    void ThumbJump(TspJumpMode kind);
    // The jump a press at (x, y) asks for: toward the point from the thumb.
    TspJumpMode JumpTo(int x, int y) const;
    const TRect& ThumbRect() const { return FThumbRect; }
    const TRect& RulerRect() const { return FRulerRect; }
    int GetOffsetByValue(int value) const;
    int GetValueByOffset(int offset) const;

    virtual bool CanModify() { return true; }
    virtual TRect GetSliderRect() const { return Rect(0, 0, Width(), Height()); }
    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;
    // Assigns the stored user pictures again, now that loading is over.
    void Loaded() override;

protected:
    // "UserImages" (one byte, stored when it differs from the ancestor's) and each user picture
    // ("ImageHThumb", "ImageHRuler", "ImageVThumb", "ImageVRuler", stored as a bitmap while its bit is set).
    void DefineProperties(TFiler* filer) override;
    // Lays the ruler, thumb and points out again for the current size, pictures and skin.
    virtual void Sized();
    virtual void RangeChanged() { }
    virtual void Change();
    virtual void Changed();
    virtual void DefaultDrawPoints(int step, int length, int extremeLength);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void ThumbMouseDown(int x, int y);
    void ThumbMouseMove(int x, int y);
    void ThumbMouseUp();

private:
    bool Horizontal() const { return FOrientation == soHorizontal; }
    bool SkinThumb() const;
    // A thumb state's size and the thumb picture's source for the state.
    TSize ThumbSize() const;
    int RulerLength() const;
    int Base() const;
    void BuildRuler();
    TPoint GetThumbPosition(int offset) const;
    void SetThumbOffset(int offset);
    void TrackStep();
    void StopRulerTracking();

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 0;
    int FIncrement = 10;
    TspSliderOrientation FOrientation = soHorizontal;
    TspSliderOptions FOptions { soShowFocus, soShowPoints, soSmooth };
    int FNumThumbStates = 2;
    int FEdgeSize = 2;
    bool FUseSkinThumb = true;
    bool FReadOnly = false;
    bool FTransparent = false;
    uint8_t FUserImages = 0;
    std::unique_ptr<TBitmap> FImages[4];
    std::unique_ptr<TBitmap> FRuler;
    TPoint FRulerPos;
    TRect FRulerRect;
    TRect FThumbRect;
    TRect FPointsRect;
    bool FThumbTracking = false;
    bool FThumbPressed = false;
    int FGrab = 0;
    bool FRulerTracking = false;
    bool FTimerRunning = false;
    TPoint FLastPos;
    TspJumpMode FPressJump = jmNone;
    bool FCreating = true;
    // The record's values.
    TColor BGColor = clBtnFace;
    TColor PointsColor = clWindowText;
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int SkinEdgeSize = 0;
};

class TspSkinSlider : public TspSkinCustomSlider {
public:
    using TspSkinCustomSlider::TspSkinCustomSlider;
};

// The slider's default pictures (horizontal thumb 18 x 17 in two states, horizontal ruler 10 x 8, vertical thumb
// 38 x 9 in two states, vertical ruler 8 x 10), drawn by code.
void LoadSliderPicture(TBitmap* bitmap, TspSliderImage index);
