// TspSkinToolBar, a skinned panel holding a row of tool buttons and other controls: it keeps them vertically
// centred, hands them its skin, flatness and image lists, shows or hides their captions together (resizing
// itself between two widths), keeps their record names in step with its own, and can scroll them horizontally
// with two 12-pixel arrow buttons in its non-client area.
#pragma once
#include "skin/controls/SkinButtonLinks.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollArrows.h"

class TspSkinToolBar : public TspSkinPanel,
                       public TspSkinToolBarLayout,
                       public TspToolBarImages,
                       private TspScrollArrows::THost {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinToolBar(TComponent* owner);
    ~TspSkinToolBar() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    // Centre the children vertically.
    bool AdjustControls() const override { return FAdjustControls; }
    void SetAdjustControls(bool value) { FAdjustControls = value; }
    // Horizontal scrolling with arrow buttons.
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool value);
    bool HotScroll() const { return FArrows.HotScroll; }
    void SetHotScroll(bool value) { FArrows.HotScroll = value; }
    int ScrollOffset() const { return FArrows.ScrollOffset; }
    // Negative values are ignored.
    void SetScrollOffset(int value) { FArrows.SetScrollOffset(value); }
    int ScrollTimerInterval() const { return FArrows.TimerInterval; }
    // Values below 1 are ignored.
    void SetScrollTimerInterval(int value) { FArrows.SetTimerInterval(value); }
    bool ShowCaptions() const { return FShowCaptions; }
    // With AutoShowHideCaptions every speed button follows; with both widths set the bar takes the matching one.
    void SetShowCaptions(bool value);
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool value) { FAutoShowHideCaptions = value; }
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int value) { FWidthWithCaptions = value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int value) { FWidthWithoutCaptions = value; }
    bool Flat() const { return FFlat; }
    // Every speed button follows.
    void SetFlat(bool value);
    // Not owned; speed buttons without a glyph draw their ImageIndex from these.
    TCustomImageList* Images() const override { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* HotImages() const override { return FHotImages; }
    void SetHotImages(TCustomImageList* value);
    TCustomImageList* DisabledImages() const override { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value);

    // ---- Scroll state ------------------------------------------------------------------------------------------
    int Position() const { return FArrows.Position; }
    int Range() const { return FArrows.Range; }
    int Page() const { return FArrows.Page; }
    const TspScrollArrows& Arrows() const { return FArrows; }
    void ButtonClick(int button) { FArrows.ButtonClick(button); }

    // The panel's client rectangle, in which the children are centred.
    TRect GetSkinClientRect() const override;
    void SetSkinData(TspSkinData* value) override;
    // At design time the speed buttons' record names follow the bar's.
    void SetSkinDataName(std::string_view value) override;
    void GetSkinData() override;
    // The arrow buttons in the non-client area follow the skin as well.
    void ChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void AdjustClientRect(TRect& rect) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;

private:
    void ScrollChildren(int delta) override;
    void UpdateRange();
    // Unskinned children without alignment are centred by the bar itself.
    void CentreUnskinnedChildren();
    void WatchImages(TCustomImageList*& field, TCustomImageList* value);

    TspScrollArrows FArrows;
    bool FAdjustControls = true;
    bool FCanScroll = false;
    bool FShowCaptions = false;
    bool FAutoShowHideCaptions = false;
    int FWidthWithCaptions = 0;
    int FWidthWithoutCaptions = 0;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    bool FInRange = false;
};
