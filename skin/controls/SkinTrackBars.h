// TspSkinTrackBar, the skinned track bar: a thumb moved along a track between MinValue and MaxValue, dragged
// with the mouse, optionally jumped to a click, stepped by the arrow keys and the wheel. The track from the
// minimum to the thumb may show a second ("active") face of the skin.
#pragma once
#include "skin/core/SkinCustomCtrls.h"

#include <cstdint>

class TspSkinTrackBar : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinTrackBar(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Value() const { return FValue; }
    // Clamped to the range; a change repaints and then fires OnChange.
    void SetValue(int value);
    // A record overrides it each time the record is read.
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);
    bool MouseSupport() const { return FMouseSupport; }
    void SetMouseSupport(bool value) { FMouseSupport = value; }
    bool JumpWhenClick() const { return FJumpWhenClick; }
    void SetJumpWhenClick(bool value) { FJumpWhenClick = value; }
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool value);
    TNotifyEvent OnChange;
    // A drag ended, or a key or wheel step was made.
    TNotifyEvent OnLastChange;
    TNotifyEvent OnStartDragButton;

    // The normal face ("skinrect") at the control's size.
    void CreateImage(TBitmap* bitmap);
    // The track for the current size: the record's track area, or (2, 2, width - 2, height - 2).
    TRect TrackRect();
    // The thumb on `track` for the current value; also sets the thumb's first and last centre and its offset.
    TRect CalcButtonRect(const TRect& track);
    // The value at a thumb offset from the first centre.
    int CalcValue(int offset) const;
    bool Dragging() const { return FDragging; }

    void GetSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    TSize ThumbSize() const;
    // The thumb cut from `source` of the picture, from the skin's image cache (or made in `scratch`).
    TBitmap* ThumbImage(const TRect& source, TSize size, TBitmap& scratch);
    bool IsFocused() { return Focused() && FCanFocused; }
    void Step(int delta);
    void LastChange();
    void WMMouseWheel(TMessage& message);

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 50;
    bool FVertical = false;
    bool FMouseSupport = true;
    bool FJumpWhenClick = false;
    bool FCanFocused = false;

    // Copies of the record.
    TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = clBlack;

    // The thumb's first and last centre coordinate along the track and its offset from the first.
    int FirstCenter = 0;
    int LastCenter = 0;
    int ButtonOffset = 0;
    bool FDragging = false;
    int StartPos = 0;
    int StartOffset = 0;
    bool FocusingByClick = false;
};
