// TspSkinPanel, the skinned container: a nine-part frame and client piece from a "panel" record with an
// optional caption strip (check image, glyph, roll-up arrow, caption frame), or a 3-D default look. It can roll
// up to its caption, act as a check box that enables its children, and draw itself over its parent's
// background. TspSkinGroupBox is the panel with its caption on.
#pragma once
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinCustomCtrls.h"

#include <memory>

class TCustomImageList;

using TspSkinPanelNumGlyphs = int;

class TspSkinPanel : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinPanel(TComponent* owner);
    ~TspSkinPanel() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool value);
    // Owned; SetGlyph assigns a copy.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TspSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TspSkinPanelNumGlyphs value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(int value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment value);
    TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TspSkinBorderStyle value);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool value);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool value);
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool value);
    bool Checked() const { return FChecked; }
    // Stores, enables or disables the children (with CheckedMode and AutoEnabledControls), fires OnChecked.
    void SetChecked(bool value);
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool value) { FAutoEnabledControls = value; }
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int value);
    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // The height before rolling up; -1 while not rolled up.
    int RealHeight() const { return FRealHeight; }
    // Where content goes: (0, 0, Width, Height) through AdjustClientRect.
    TRect GetSkinClientRect();
    // The client rectangle of the transparent looks (spelled as callers know it).
    TRect GetTranparentClientRect();
    // The caption's clickable rectangle as the last paint left it (skinned look).
    const TRect& CurrentCaptionRect() const { return NewCaptionRect; }
    void DoRollUp(bool value);
    void ShowControls();
    void HideControls();
    void SkinDrawCheckImage(int x, int y, TCanvas* canvas, const TRect& source, TCanvas* sourceCanvas);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;
    void CheckParentBackground() override;
    void WndProc(TMessage& message) override;

protected:
    // Receives the canvas of the finished transparent image.
    virtual void PaintTransparent(TCanvas* canvas) { (void)canvas; }
    void Notification(TComponent* component, TOperation operation) override;
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Copies of the record; the grip values are the status bar's.
    int BGPictureIndex = -1;
    TRect CaptionRect;
    TAlignment Alignment = taLeftJustify;
    SkinControlSupport::TRecordFont CaptionFont;
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = clBlack;
    // The caption rectangle at the current size, or the text strip of the last transparent paint.
    TRect NewCaptionRect;

private:
    bool ClientPieceFillsAll() const;
    // Fills the control with `piece` of `picture`: tiled, or stretched by the record's stretch type.
    void FillWithPiece(TCanvas* canvas, TBitmap* picture, const TRect& piece);
    void PaintTransparentLook();
    void PaintTransparentGroup(TCanvas* canvas);
    TColor TransparentFrameColor();
    void DrawSkinCaption(TCanvas* canvas);
    void DrawDefaultCaption(TCanvas* canvas);
    // The caption image (image list or glyph cell) width, 0 for none; draws it at (x, y) when `canvas`.
    SkinControlSupport::TCaptionImage CaptionImage() const;
    int CaptionImageWidth() const;
    int CaptionImageHeight() const;
    void DrawCaptionImage(TCanvas* canvas, int x, int y);

    bool FTransparentMode = false;
    std::unique_ptr<TBitmap> FGlyph;
    TspSkinPanelNumGlyphs FNumGlyphs = 1;
    int FSpacing = 2;
    int FDefaultCaptionHeight = 22;
    TAlignment FDefaultAlignment = taLeftJustify;
    TspSkinBorderStyle FBorderStyle = TspSkinBorderStyle::bvFrame;
    bool FCaptionMode = false;
    bool FRollUpMode = false;
    bool FRollUpState = false;
    bool FCheckedMode = false;
    bool FChecked = false;
    bool FAutoEnabledControls = true;
    int FRealHeight = -1;
    TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
    // The size constraints saved while rolled up: max width, min width, max height, min height.
    int SavedConstraints[4] = { 0, 0, 0, 0 };
};

// The panel with its caption on, on the "groupbox" record.
class TspSkinGroupBox : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinGroupBox(TComponent* owner);
};
