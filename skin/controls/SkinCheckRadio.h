// TspSkinCheckRadioBox, the skinned check box and radio button: three states, the radio rule, boxes of one
// group on one parent checked one at a time, and three looks: flat over the picture behind the box (the
// default), a skinned face with a hover morph, or the library's default look.
#pragma once
#include "framework/controls/StdButtons.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinCustomCtrls.h"

#include <memory>

class TCustomImageList;
class TTimer;

class TspSkinCheckRadioBox : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinCheckRadioBox(TComponent* owner);
    ~TspSkinCheckRadioBox() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool Checked() const { return FChecked; }
    // Repaints, unchecks the group when now checked, and fires OnClick (not for a radio box just unchecked),
    // also when the value did not change.
    void SetChecked(bool value);
    TCheckBoxState State() const { return FState; }
    // Repaints and fires OnClick; the group is left alone.
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    bool Radio() const { return FRadio; }
    void SetRadio(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    // The click action: a check box toggles, an unchecked radio box becomes checked.
    void SetCheckState();
    // Unchecks the checked boxes of the same parent with the same non-zero GroupIndex.
    void UnCheckAll();
    bool IsFocused() { return Focused() && FCanFocused; }
    bool MouseIn() const { return FMouseIn; }
    // The morph's progress from the normal face (0) to the active one (1).
    double MorphKf() const { return FMorphKf; }
    bool MorphTimerRunning() const;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CheckParentBackground() override;
    void CalcSize(int& width, int& height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    // Starts the morph when the face morphs, else invalidates.
    void ReDrawControl();

private:
    bool EnableMorphing() const;
    void StartMorph();
    void StopMorph();
    void MorphTick(TObject* sender);
    bool ImageShown() const;
    bool Active() { return FMouseIn || IsFocused(); }
    // The looks.
    void PaintFlat(TCanvas* canvas, bool skinned);
    void DrawFace(TBitmap* bitmap, bool active);
    void DrawDefaultMark(TCanvas* canvas, int height);
    void DrawSkinMark(TCanvas* canvas, int x, int y, bool active);
    // The caption (and image) of the flat looks at `left`, with the focus rectangle; colours already set.
    void DrawFlatCaption(TCanvas* canvas, int left, int imageGap, TColor focusBrush);
    void CMDialogChar(TMessage& message);

    bool FChecked = false;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    bool FRadio = false;
    int FGroupIndex = 0;
    bool FFlat = true;
    bool FWordWrap = false;
    bool FCanFocused = true;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = 0;

    bool FMouseIn = false;
    bool FocusingByClick = false;
    double FMorphKf = 0;
    std::unique_ptr<TTimer> FMorphTimer;

    // Copies of the record.
    SkinControlSupport::TRecordFont CaptionFont;
    TColor ActiveFontColor = clBlack, UnEnabledFontColor = clBlack, FrameFontColor = clBlack;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ActiveSkinRect, CheckImageArea, TextArea;
    TRect CheckImageRect, UnCheckImageRect, ActiveCheckImageRect, ActiveUnCheckImageRect;
    TRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
    // The skinned face's rectangles for the current size.
    TRect TextRect, CIRect;
};
