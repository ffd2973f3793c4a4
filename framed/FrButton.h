// The framed button: a windowed push button that paints itself: a caption with 3-D text styles and vertical
// alignment, press tracking with the mouse and the Space key, a transparent mode, pointer enter and leave events;
// TFrButton adds the dialog button (default, cancel, modal result), speed-button groups (GroupIndex, Down,
// AllowAllUp, a checkered "down" face), a focus rectangle, and three looks: the visual style's push button, a flat
// hot-tracking look in shades of colour, and the classic 3-D frame.
#pragma once
#include "framed/FrCommon.h"
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/TCustomControl.h"
#include "framework/graphics/TBitmap.h"

#include <memory>

// wParam: the group index, lParam: the button that went down (or changed its group).
constexpr UINT CM_FRBUTTONGROUP = 9249;

class TFrCustomButton : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TFrCustomButton(TComponent* owner);

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical value);
    bool HotTrack() const { return FHotTrack; }
    virtual void SetHotTrack(bool value);
    TColor HotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor value);
    TFrHotTrackColorType HotTrackColorType() const { return FHotTrackColorType; }
    void SetHotTrackColorType(TFrHotTrackColorType value);
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor value);
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool value);
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle value);
    TColor TextHighlightColor() const { return FTextHighlightColor; }
    virtual void SetTextHighlightColor(TColor value);
    TColor TextShadowColor() const { return FTextShadowColor; }
    virtual void SetTextShadowColor(TColor value);
    int TextShadowDepth() const { return FTextShadowDepth; }
    virtual void SetTextShadowDepth(int value);
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    // The button shows pressed: held with the mouse inside it, or with Space.
    bool PressedLook() const { return FPressedLook; }
    bool PointerOver() const { return FPointerOver; }

    void WndProc(TMessage& message) override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void RefreshFace() { }
    virtual void RepaintAfterFocusChange() { Repaint(); }
    virtual TRect HotTrackRect() { return ClientRect(); }
    // Draws the caption in `rect` with the DrawText `flags`, in the text style, placed by AlignmentVertical.
    virtual void DrawCaption(TCanvas* canvas, TRect rect, uint32_t flags);
    virtual void Press() = 0;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    bool StylesOn() const;

    bool FPressing = false;
    bool FPressedLook = false;
    bool FPointerOver = false;
    bool FSpaceHeld = false;

private:
    TAlignmentVertical FAlignmentVertical = avCenter;
    bool FHotTrack = false;
    TColor FHotTrackColor = clHighlight;
    TFrHotTrackColorType FHotTrackColorType = htctComplement;
    TColor FHighlightColor = clHighlight;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = tsNormal;
    TColor FTextHighlightColor = clBtnHighlight;
    TColor FTextShadowColor = clBtnShadow;
    int FTextShadowDepth = 2;
    bool FTransparent = false;
};

class TFrButton : public TFrCustomButton {
    using inherited = TFrCustomButton;

public:
    explicit TFrButton(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment value);
    bool Default() const { return FDefault; }
    virtual void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool value);
    bool AllowAllUp() const { return FAllowAllUp; }
    virtual void SetAllowAllUp(bool value);
    bool ShowDownPattern() const { return FShowDownPattern; }
    virtual void SetShowDownPattern(bool value);
    bool ShowFocusRect() const { return FShowFocusRect; }
    virtual void SetShowFocusRect(bool value);
    // Enter clicks this button now (it is the default and no other button has the focus, or it has it).
    bool ActiveDefault() const { return FActiveDefault; }
    // The older stored "FrameFlat" sets HotTrack.
    bool ReadStoredProperty(std::string_view name, std::string_view value);

    // The parent form takes ModalResult, then OnClick.
    void Click() override;
    void SetHotTrack(bool value) override;
    void WndProc(TMessage& message) override;

protected:
    virtual TRect CaptionRect();
    void DrawCaption(TCanvas* canvas, TRect rect, uint32_t flags) override;
    virtual void FillDownPattern(TBitmap* bitmap);
    void RefreshFace() override { Invalidate(); }
    void Press() override;
    void CreateWnd() override;
    void Paint() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;

private:
    enum TGroupState : uint8_t { gsUp, gsExclusiveDown };
    bool ShowsPressed() const { return FGroupState == gsExclusiveDown || FPressedLook; }
    void ClickAsPressed();
    void BroadcastGroup();
    void PaintStyled(TCanvas* canvas, const TRect& client);
    void PaintFlat(TCanvas* canvas, const TRect& client);
    void PaintClassic(TCanvas* canvas, TRect client);

    TAlignment FAlignment = taCenter;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = 0;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FShowDownPattern = true;
    bool FShowFocusRect = true;
    bool FActiveDefault = false;
    bool FClicking = false;
    TGroupState FGroupState = gsUp;
};
