// What the skinned push button and the skinned speed button share: the picture per state from a "button"
// record, the hover morph, the frame animation, the auto-repeat, the groups, the glyph cells and the layout
// of picture and caption, and the flat default look without a record. Root is the windowed or the windowless
// resizable skinned control.
#pragma once
#include "framework/controls/TTimer.h"
#include "skin/controls/SkinButtonLinks.h"
#include "skin/core/SkinCtrlsLayout.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinData.h"

#include <memory>
#include <string>

class TspDataSkinButtonControl;

template <class Root> class TspSkinButtonCore : public Root {
    using inherited = Root;

public:
    explicit TspSkinButtonCore(TComponent* owner);
    ~TspSkinButtonCore() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool value) { FRepeatMode = value; }
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int value) { FRepeatInterval = value; }
    bool Down() const { return FDown; }
    // Repaints; going down in a group without AllowAllUp lifts the other members.
    virtual void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    // A strip of NumGlyphs cells: normal, disabled, pressed, hot. Owned; the setter copies.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    // Pixels from the picture's side; -1 centres picture and caption together. Values below -1 are ignored.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TspButtonLayout Layout() const { return FLayout; }
    void SetLayout(TspButtonLayout value);
    // Not owned; forgotten when it goes.
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int value);
    // Not owned; the menu's choice repaints the button. The link must be a component, so that its deletion is
    // heard.
    TspImagesMenuLink* SkinImagesMenu() const { return FImagesMenu; }
    virtual void SetSkinImagesMenu(TspImagesMenuLink* value);
    bool UseImagesMenuImage() const { return FUseImagesMenuImage; }
    void SetUseImagesMenuImage(bool value) { FUseImagesMenuImage = value; }
    bool UseImagesMenuCaption() const { return FUseImagesMenuCaption; }
    void SetUseImagesMenuCaption(bool value) { FUseImagesMenuCaption = value; }

    // ---- State -------------------------------------------------------------------------------------------------
    // The mouse is over the button (or, for a default push button, another control has the focus).
    bool Hot() const { return FHot; }
    double MorphFactor() const { return FMorphKf; }
    // 0 when no animation plays.
    int AnimationFrame() const { return FAnimateFrame; }
    bool MorphRunning() const { return FMorphTimer != nullptr; }
    bool AnimationRunning() const { return FAnimateTimer != nullptr; }
    bool RepeatRunning() const { return FRepeatTimer != nullptr; }

    // Clears hot and Down (without the group rule), drops the morph and the animation, repaints.
    void RefreshButton();
    // The record's "morphing" is on and the skin is loaded with effects enabled.
    virtual bool EnableMorphing() const;
    bool EnableAnimation() const;
    // Starts the hover morph when it applies, else repaints.
    void ReDrawControl();
    // Performs a click.
    virtual void ButtonClick() = 0;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    // Paints the whole button image of one state into `bitmap` from picture rectangle `r` of the skin.
    virtual void CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn);
    // The content (picture and caption) of one state; the canvas font is set.
    virtual void DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn);
    // The content with the pressed offset of `pressed` and glyph cell `glyphNum`, for looks whose pressed offset
    // and glyph cell follow different states.
    void DrawContentInCell(TCanvas* canvas, const TRect& r, bool pressed, int glyphNum);
    // The focus rectangle of a focused button whose record asks for one; nothing by default.
    virtual void DrawSkinFocus(TCanvas* canvas, const TRect& r) { (void)canvas, (void)r; }
    // Whether DrawSkinFocus draws a rectangle now.
    virtual bool SkinFocusShown() const { return false; }
    // The caption drawn: Caption, or nothing for a speed button whose caption is hidden.
    virtual std::string ShownCaption() const { return this->Caption(); }
    // The state that makes the morph run toward the hot picture.
    virtual bool MorphTarget() const { return FHot; }
    // The focused look of a push button (IsFocused); a speed button has none.
    virtual bool FocusedLook() const { return false; }
    // Whether the pointer leaving leaves the button hot all the same.
    virtual bool KeepsHotOnLeave() const { return false; }
    // Another button that belongs to this button's groups.
    virtual bool IsGroupPeer(TControl* control) const = 0;
    // A colour marker under the picture (speed buttons set it).
    bool ColorMarker = false;
    TColor ColorMarkerValue = 0;

    // The pressed look of the state tables: Down, and hot, or focused while the mouse is up, or grouped.
    bool PressedLook() const;
    // Picture, pressed and hot arguments for the current state (Paint's table).
    void ChooseStatePicture(TRect& r, bool& down, bool& mouseIn) const;
    bool MorphInProgress() const;
    // The state image, or the morph between the normal and the hot image.
    void CreateControlSkinImage(TBitmap* bitmap) override;
    // Outside a morph: the kept face copied to the canvas and the content drawn over it.
    bool PaintSkinStraight(TCanvas* canvas) override;
    // Whether the button's image is only the face and the content, so that it may be painted straight; a
    // button that draws more (markers, a track part, its own pictures) answers false.
    virtual bool PaintsFaceStraight() const { return false; }
    // Caption font, focus rectangle and content of one state over a face already drawn; `content` is where
    // picture and caption go.
    void DrawButtonContent(TCanvas* canvas, const TRect& content, bool down, bool mouseIn);
    // The content is the caption alone: no images-menu picture, image-list image or glyph, whose pixels may
    // change under the button.
    bool CaptionOnly() const;
    // The face of `r` with the caption of one state over it, from the skin's image cache.
    TBitmap* CaptionStateImage(TBitmap* face, const TRect& r, const TRect& content, bool down, bool mouseIn);
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CalcSize(int& width, int& height) override;
    // The image when UseSkinSize is off and the record is not nine-part; returns the content rectangle.
    TRect CreateStrechButtonImage(TBitmap* bitmap, const TRect& r);
    // Caption font and colour of the skinned image.
    void SetSkinFont(TCanvas* canvas, bool down, bool mouseIn) const;
    // A copy of DefaultFont (clBtnShadow when disabled, unless `keepColor`).
    void SetDefaultLookFont(TCanvas* canvas, bool keepColor = false) const;
    // The images menu's chosen picture and caption when the button shows them.
    bool ImagesMenuContent(int& imageIndex, std::string& caption) const;
    // Glyph cell by state: 3 pressed, 4 hot, 1 normal, 2 disabled.
    int GetGlyphNum(bool down, bool mouseIn) const;
    // The default look's frame and fill.
    static void FillDefaultFrame(TCanvas* canvas, const TRect& r, TColor frame, TColor fill);
    // Marker picture `source` of the skin centred in `r`, the record's transparent colour left out.
    void DrawMarkerPicture(TCanvas* canvas, const TRect& r, const TRect& source) const;
    // Picture rectangle `picture` drawn as a complete image of the size of `part` into `part` of `bitmap`:
    // stretched with its borders around the client rectangle kept, or nine-part with the record's points.
    void DrawSkinPart(TBitmap* bitmap, const TRect& part, const TRect& picture, bool stretched) const;

    void StartMorph();
    void StopMorph();
    void DoMorph();
    void StartAnimate(bool forward);
    void StopAnimate();
    void DoAnimate();
    TRect GetAnimationFrameRect(int n) const;
    void StartRepeat();
    void StopRepeat();
    void DoAllUp();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    // Whether hovering changes the look (the redraw rule of mouse entry and leave).
    virtual bool HoverRedraws() const;

    // Values of the record.
    std::string FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, AnimateSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool ShowFocus = false;
    TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
    TColor MenuMarkerTransparentColor = 0;

    bool FDown = false;
    bool FHot = false;
    bool FMousePressed = false;
    bool FGroupRelease = false;
    double FMorphKf = 0;

private:
    void ImagesMenuChanged() { this->Repaint(); }
    void CopyRecord(const TspDataSkinButtonControl* record);

    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    bool FRepeatMode = false;
    int FRepeatInterval = 100;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 1;
    TspButtonLayout FLayout = blGlyphLeft;
    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
    TspImagesMenuLink* FImagesMenu = nullptr;
    TComponent* FImagesMenuComponent = nullptr;
    bool FUseImagesMenuImage = false;
    bool FUseImagesMenuCaption = false;
    int FAnimateFrame = 0;
    bool FAnimateForward = false;
    std::unique_ptr<TTimer> FMorphTimer;
    std::unique_ptr<TTimer> FAnimateTimer;
    std::unique_ptr<TTimer> FRepeatTimer;
};

extern template class TspSkinButtonCore<TspSkinCustomControl>;
extern template class TspSkinButtonCore<TspGraphicSkinCustomControl>;

