// The skin objects that carry text: the caption (the form's caption written into the skin, with a frame image,
// light and shadow copies, transitions and an activation animation), the text label and the bit label (text
// composed of glyph cells cut from a picture).
#pragma once
#include "framework/graphics/Graphics.h"
#include "skin/forms/SkinObjects.h"

class TBitmap;

class TspSkinCaptionObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinCaptionObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseUp(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The skin is loaded with its effects on and the record has an animation strip.
    bool EnableAnimation() const;
    // The activation animation restarts: from frame 1 when activated, else from the last frame (with
    // InActiveAnimation) or at the plain inactive look.
    void StartAnimation(bool active);
    // One 25 ms tick of the form's animation timer; false when the animation has nothing more to do.
    bool AnimationStep();
    void SetTextValue(std::string_view text);
    void SimpleSetTextValue(std::string_view text) { TextValue = text; }

    std::string FontName;
    int FontHeight = 14;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;
    TRect TextRect;
    bool DefaultCaption = false;
    bool Light = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool Shadow = false;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    TRect FrameRect;
    TRect ActiveFrameRect;
    TRect FrameTextRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    bool FullFrame = false;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool InActiveAnimation = false;
    std::string TextValue;
    int FrameIndex = 0;
    int Elapsed = 25;

private:
    // Writes the caption into `canvas` offset by (dx, dy), in `color`, with the looks of the active flag.
    void WriteText(TCanvas* canvas, int dx, int dy, bool active, TColor color);
    // The look image of ObjectRect's size from `source` of `picture`, resized by the caption's stretch kind.
    void MakeLook(TBitmap& image, TBitmap* picture, const TRect& source) const;
    // The skin's inactive effect, when the form is inactive and the skin renders inactive images itself.
    void ApplyInActiveEffect(TBitmap& image) const;
};

class TspSkinLabelObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinLabelObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void SetTextValue(std::string_view text, bool update);

    std::string FontName;
    int FontHeight = 14;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;
    std::string TextValue;

private:
    void WriteText(TBitmap& image, bool active) const;
    void CutImage(TBitmap& image, TBitmap* picture, const TRect& source) const;
};

class TspSkinBitLabelObject : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinBitLabelObject(TspSkinObjectHost* form, TspDataSkinObject* data);

    void Draw(TCanvas* canvas, bool standalone) override;
    void SetTextValue(std::string_view text, bool update);
    // The glyph cell (column, row) of a character; (-1, -1) when "symbols" has none.
    TPoint GlyphOf(char symbol) const;

    std::string TextValue;
    int SymbolWidth = 0;
    int SymbolHeight = 0;
    std::vector<std::string> Symbols;
    bool Transparent = false;
    TColor TransparentColor = clFuchsia;
};
