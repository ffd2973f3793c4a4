// TspSkinSpeedButton, the windowless twin of the skinned push button: the same pictures, morph, animation,
// repeat and groups, never the focus, plus a flat mode that shows a background only under the pointer, a
// caption that can be hidden (with a width for each case), and the image lists of a skinned tool bar it
// stands on.
#pragma once
#include "skin/controls/SkinButtonCore.h"

class TspSkinSpeedButton : public TspSkinButtonCore<TspGraphicSkinCustomControl> {
    using inherited = TspSkinButtonCore<TspGraphicSkinCustomControl>;

public:
    explicit TspSkinSpeedButton(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    bool Flat() const { return FFlat; }
    // A flat button is not opaque: its parent shows through it.
    void SetFlat(bool value);
    bool ShowCaption() const { return FShowCaption; }
    // With both widths above 0 the button takes the width that matches.
    void SetShowCaption(bool value);
    int WidthWithCaption() const { return FWidthWithCaption; }
    void SetWidthWithCaption(int value) { FWidthWithCaption = value; }
    int WidthWithoutCaption() const { return FWidthWithoutCaption; }
    void SetWidthWithoutCaption(int value) { FWidthWithoutCaption = value; }
    // Repaints only on a tool bar or with an image list.
    void SetImageIndex(int value) override;
    // OnClick (the framework's event) is the click; assigning an action makes it the action's OnExecute.

    // Flat buttons never morph.
    bool EnableMorphing() const override;
    // OnClick when assigned; nothing else.
    void ButtonClick() override;
    void GetSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn) override;
    std::string ShownCaption() const override { return FShowCaption ? Caption() : std::string(); }
    bool IsGroupPeer(TControl* control) const override;
    bool HoverRedraws() const override;
    // The content: the images menu's picture, the tool bar's lists, the image list, or the glyph cell.
    // `imageOffset` moves list pictures, `glyphOffset` the glyph; `hotImages` picks the tool bar's hot list.
    void DrawContent(TCanvas* canvas, const TRect& r, bool imageOffset, bool glyphOffset, bool hotImages,
        int glyphNumber);
    // The tool bar this button stands on, when it is one.
    TspToolBarImages* ToolBar() const;
    // Whether the tool bar's disabled pictures are drawn greyed (the menu speed button's looks do).
    virtual bool GreyDisabledImages() const { return false; }
    // The marker picture for the state, centred in `r`, with the record's transparent colour left out.
    void DrawMenuMarker(TCanvas* canvas, const TRect& r, bool active, bool down, bool flat);
    // Picture and caption straight onto the canvas without a background (an idle flat button).
    void PaintFlatContent();

private:
    bool FFlat = false;
    bool FShowCaption = true;
    int FWidthWithCaption = 0;
    int FWidthWithoutCaption = 0;
};
