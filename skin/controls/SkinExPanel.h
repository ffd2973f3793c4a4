// TspSkinExPanel, a skinned container with a caption and two caption buttons (close and roll) that rolls up to a
// caption strip along its top, or to a narrow strip at its left with the caption reading upward.
#pragma once
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinCustomCtrls.h"

#include <memory>

class TCustomImageList;

enum TspExPanelRollKind : uint8_t { rkRollHorizontal, rkRollVertical };

class TspSkinExPanel : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinExPanel(TComponent* owner);
    ~TspSkinExPanel() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int value);
    bool ShowRollButton() const { return FShowRollButton; }
    void SetShowRollButton(bool value);
    bool ShowCloseButton() const { return FShowCloseButton; }
    void SetShowCloseButton(bool value);
    TspExPanelRollKind RollKind() const { return FRollKind; }
    // While rolled the panel keeps the kind it rolled by until it unrolls.
    void SetRollKind(TspExPanelRollKind value);
    bool RollState() const { return FRollState; }
    void SetRollState(bool value);
    int RealWidth() const { return FRealWidth; }
    void SetRealWidth(int value) { FRealWidth = value; }
    int RealHeight() const { return FRealHeight; }
    void SetRealHeight(int value) { FRealHeight = value; }
    TNotifyEvent OnChangeRollState;
    TNotifyEvent OnClose;

    // The width of a horizontally rolled panel and the height of a vertically rolled one.
    int GetRollWidth();
    int GetRollHeight();
    // Hides the panel; outside design time raises OnClose.
    void Close();
    void ShowControls();
    void HideControls();
    // The caption buttons as the last paint placed them: 0 close, 1 roll (empty when not shown).
    TRect ButtonRect(int index) const { return FButtons[index].R; }

    void SetBounds(int left, int top, int width, int height) override;
    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    struct TCaptionButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    enum { kClose = 0, kRoll = 1 };

    // The kind the panel rolls or rolled by.
    TspExPanelRollKind ActiveRollKind() const { return FRollState ? FRolledKind : FRollKind; }
    bool Shown(int index) const { return index == kClose ? FShowCloseButton : FShowRollButton; }
    void TestActive(int x, int y);
    void SetButtonMouseIn(int index, bool value);
    void ButtonUp(int index);
    // The caption image (image list or glyph cell) and its width, 0 without one.
    int CaptionImageWidth() const;
    int CaptionImageHeight() const;
    void DrawCaptionImage(TCanvas* canvas, int x, int y);
    // The caption across `area`, with the image before it.
    void DrawCaption(TCanvas* canvas, TRect area);
    // The caption reading upward in `area`; `imageGap` is what lies between the image and the text.
    void DrawRotatedCaption(TCanvas* canvas, const TRect& area, int imageGap);
    void SetCaptionFont(TCanvas* canvas);
    void DrawButton(TCanvas* canvas, int index);
    void DrawSkinButtons(TCanvas* canvas, TRect area, bool horizontalStrip);

    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
    int FDefaultCaptionHeight = 21;
    bool FShowRollButton = true;
    bool FShowCloseButton = true;
    TspExPanelRollKind FRollKind = rkRollVertical;
    TspExPanelRollKind FRolledKind = rkRollVertical;
    bool FRollState = false;
    int FRealWidth = 0;
    int FRealHeight = 0;
    bool FInRoll = false;
    // The size constraints while rolled: max width, min width, max height, min height.
    int SavedConstraints[4] = { 0, 0, 0, 0 };
    TCaptionButton FButtons[2];
    int ActiveButton = -1;
    int OldActiveButton = -1;
    int CaptureButton = -1;
    // Record values.
    TRect CaptionRect, RollHSkinRect, RollVSkinRect, RollVCaptionRect, RollHCaptionRect;
    int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    TRect ButtonRects[6][3]; // close, hroll, hrestore, vroll, vrestore: normal, active, down
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = clBlack;
    SkinControlSupport::TRecordFont CaptionFont;
};
