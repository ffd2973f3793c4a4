// The skinned labels: text in the skin's fonts and colours. TspSkinStdLabel and TspSkinTextLabel bind to a
// standard-label record by themselves; TspSkinLabel, TspSkinStatusPanel and TspSkinBitLabel are resizable
// skinned controls on a nine-part background.
#pragma once
#include "framework/controls/StdCtrls.h"
#include "framework/core/TStrings.h"
#include "skin/controls/SkinDataLink.h"
#include "skin/core/SkinCustomCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TCustomImageList;

enum TspEllipsType : uint8_t { spetNone, spetEndEllips, spetPathEllips };
enum TspEllipsType2 : uint8_t { spetNoneEllips, spetEllips };
// Scoped: the framework's panel bevel has values of the same names.
enum class TspSkinBorderStyle : uint8_t { bvFrame, bvRaised, bvLowered, bvNone };

// The font values a label copies from its record.
struct TspSkinFontValues {
    std::string SkinFontName;
    TFontStyles SkinFontStyle;
    int SkinFontHeight = 0;
    TColor SkinFontColor = clBlack;
};

namespace SkinLabels {
// The character set of the skin's string table when the skin has one, else the default font's.
void ApplyCharset(TFont* font, const TspSkinData* skin, const TFont* defaultFont);
// The skin's face, style and height.
void ApplySkinFont(TFont* font, const TspSkinFontValues& values);
// Disabled text: a highlight copy one pixel right and down, the shadow copy on top; the skin's colours when a
// record is in use.
void DrawDisabledText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags, const TspSkinData* skin,
    bool skinned, bool ellipsis);
// Draws (or with DT_CALCRECT measures) text with the canvas's font.
void DrawLabelText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags, bool ellipsis);
} // namespace SkinLabels

// The framework's transparent label in the font and colour of a standard-label record ("stdlabel").
class TspSkinStdLabel : public TCustomLabel, public TspSkinDataClient {
    using inherited = TCustomLabel;

public:
    explicit TspSkinStdLabel(TComponent* owner);

    TspEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TspEllipsType value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value) { FDefaultFont->Assign(value); }
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }

    void GetSkinData();
    void ChangeSkinData() override;
    int GetSkinIndex() const { return SkinIndex; }

protected:
    void DoDrawText(TRect& rect, uint32_t flags) override;
    void Notification(TComponent* component, TOperation operation) override;

    int SkinIndex = -1;
    TspSkinFontValues SkinFont;

private:
    TspEllipsType FEllipsType = spetNone;
    bool FUseSkinFont = true;
    bool FUseSkinColor = true;
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinDataLink FSkinLink { this, "stdlabel" };
};

// A windowless multi-line label whose text is a list of lines, with the standard-label record.
class TspSkinTextLabel : public TGraphicControl, public TspSkinDataClient {
    using inherited = TGraphicControl;

public:
    explicit TspSkinTextLabel(TComponent* owner);
    ~TspSkinTextLabel() override;

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value) { FDefaultFont->Assign(value); }
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    void SetAutoSize(bool value) override;

    void GetSkinData();
    void ChangeSkinData() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    int GetSkinIndex() const { return SkinIndex; }

protected:
    virtual std::string GetLabelText() const { return FLines->Text(); }
    void DoDrawText(TRect& rect, uint32_t flags);
    void Paint() override;
    virtual void AdjustBounds();
    void Notification(TComponent* component, TOperation operation) override;

    int SkinIndex = -1;
    TspSkinFontValues SkinFont;

private:
    void OnTextChange(TObject* sender);

    bool FUseSkinFont = true;
    bool FUseSkinColor = true;
    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinDataLink FSkinLink { this, "stdlabel" };
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};

// A windowed label on a nine-part skin background with its own label record ("label").
class TspSkinLabel : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinLabel(TComponent* owner);

    TspEllipsType2 EllipsType() const { return FEllipsType; }
    void SetEllipsType(TspEllipsType2 value);
    // Keep the skin's sizing rules; without it the label stretches horizontally at any size.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool value) { FUseSkinFontColor = value; }
    TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TspSkinBorderStyle value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The label's own AutoSize: the width follows the caption.
    bool AutoSize() const { return FAutoSizeX; }
    void SetAutoSize(bool value) override { SetAutoSizeX(value); }
    void SetAutoSizeX(bool value);

    void GetSkinData() override;
    void SetControlRegion() override;
    void WndProc(TMessage& message) override;
    // How much the width must change for the caption.
    virtual int CalcWidthOffset();
    virtual void AdjustBounds();

protected:
    void CalcSize(int& width, int& height) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DrawLabelText(TCanvas* canvas, TRect rect);
    // The look without a record: the face and a border by BorderStyle.
    void DrawDefaultFace(TBitmap* bitmap);
    // The canvas font for measuring the caption.
    void SetMeasureFont(TCanvas* canvas);
    TCanvas* MeasureCanvas();

    TspSkinFontValues SkinFont;

private:
    TspEllipsType2 FEllipsType = spetNoneEllips;
    bool FUseSkinSize = true;
    bool FUseSkinFontColor = true;
    TspSkinBorderStyle FBorderStyle = TspSkinBorderStyle::bvFrame;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSizeX = false;
    std::unique_ptr<TBitmap> FMeasure;
};

enum TspStatusPanelNumGlyphs : uint8_t { spsNumGlyphs1 = 1, spsNumGlyphs2 = 2 };

// A skinned label with a picture (image-list image or glyph) before the text ("statuspanel").
class TspSkinStatusPanel : public TspSkinLabel {
    using inherited = TspSkinLabel;

public:
    explicit TspSkinStatusPanel(TComponent* owner);

    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);

    int CalcWidthOffset() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool HasImage() const;
    // The picture's width, 0 without one.
    int PictureWidth() const;
    // Draws the picture vertically centred in `r` from its left and moves r's left past it.
    void DrawPicture(TCanvas* canvas, TRect& r, bool centredInBitmap, int bitmapHeight);

    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
};

// A label whose characters are cut from a bitmap font in the skin picture ("bitlabel").
class TspSkinBitLabel : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinBitLabel(TComponent* owner);

    bool AutoSize() const { return FAutoSizeX; }
    void SetAutoSize(bool value) override { SetAutoSizeX(value); }
    void SetAutoSizeX(bool value);
    // The number of character cells the label is sized for; 0 follows the caption.
    int FixLength() const { return FFixLength; }
    void SetFixLength(int value);

    void GetSkinData() override;
    int GetFixWidth() const;
    void AdjustBounds();
    void WndProc(TMessage& message) override;

protected:
    void CalcSize(int& width, int& height) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    int CaptionOffset() const;

    TRect SkinTextRect;
    int SymbolWidth = 0;
    int SymbolHeight = 0;
    // A copy of the record's lines, so no skin change can leave the label pointing at freed lines.
    std::vector<std::string> Symbols;

private:
    bool FAutoSizeX = false;
    int FFixLength = 0;
};
