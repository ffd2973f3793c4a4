// Link and button labels: a picture and a label that open a web address through the desktop, and a flat
// button made of a caption and a glyph, all in the standard-label record's fonts.
#pragma once
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinDataLink.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinCtrlsLayout.h"

// A picture that opens URL when clicked.
class TspSkinLinkImage : public TImage {
    using inherited = TImage;

public:
    explicit TspSkinLinkImage(TComponent* owner);

    const std::string& URL() const { return FURL; }
    void SetURL(std::string_view value) { FURL = value; }
    void Click() override;

private:
    std::string FURL;
};

// The font values of a standard-label record, with its active colour.
struct TspSkinLinkFontValues : TspSkinFontValues {
    TColor SkinActiveFontColor = clBlack;
};

// A transparent label that turns to its active colour under the mouse and opens URL when clicked.
class TspSkinLinkLabel : public TCustomLabel, public TspSkinDataClient {
    using inherited = TCustomLabel;

public:
    explicit TspSkinLinkLabel(TComponent* owner);

    bool UseUnderLine() const { return FUseUnderLine; }
    void SetUseUnderLine(bool value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor value) { FDefaultActiveFontColor = value; }
    const std::string& URL() const { return FURL; }
    void SetURL(std::string_view value) { FURL = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value) { FDefaultFont->Assign(value); }
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }

    void GetSkinData();
    void ChangeSkinData() override;
    void Click() override;
    void WndProc(TMessage& message) override;
    bool MouseInside() const { return FMouseInside; }

protected:
    void DoDrawText(TRect& rect, uint32_t flags) override;
    void Notification(TComponent* component, TOperation operation) override;

    int SkinIndex = -1;
    TspSkinLinkFontValues SkinFont;

private:
    bool FUseUnderLine = true;
    bool FUseSkinFont = true;
    TColor FDefaultActiveFontColor = TColor(0xFF0000);
    std::string FURL;
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinDataLink FSkinLink { this, "stdlabel" };
    bool FMouseInside = false;
};

// A flat button: a caption with an image-list image or a glyph (cells: normal, disabled, pressed, hot).
class TspSkinButtonLabel : public TGraphicControl, public TspSkinDataClient {
    using inherited = TGraphicControl;

public:
    explicit TspSkinButtonLabel(TComponent* owner);

    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool WebStyle() const { return FWebStyle; }
    void SetWebStyle(bool value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    int Margin() const { return FMargin; }
    // Values below -1 are ignored.
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TspButtonLayout Layout() const { return FLayout; }
    void SetLayout(TspButtonLayout value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor value) { FDefaultActiveFontColor = value; }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }

    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;
    // The glyph cell the label shows now (from 1).
    int GlyphCell() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;

    int SkinIndex = -1;
    bool MouseInside = false;
    bool Pressed = false;
    TspSkinLinkFontValues SkinFont;

private:
    TCustomImageList* FImageList = nullptr;
    int FImageIndex = -1;
    bool FWebStyle = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FMargin = -1;
    int FSpacing = 4;
    TspButtonLayout FLayout = blGlyphLeft;
    bool FUseSkinFont = true;
    TColor FDefaultActiveFontColor = TColor(0xFF0000);
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinDataLink FSkinLink { this, "stdlabel" };
};
