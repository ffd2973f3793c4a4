// The skinned bevel (the framework's bevel in a bevel record's two colours, with a divider mode) and the wave
// and shadow labels, which draw their caption over the image of what lies behind them.
#pragma once
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinDataLink.h"
#include "skin/core/SkinCtrls.h"

#include <memory>
#include <string>

class TspSkinBevel : public TBevel, public TspSkinDataClient {
    using inherited = TBevel;

public:
    explicit TspSkinBevel(TComponent* owner);

    TspSkinData* SkinData() const override { return FSkinLink.Skin(); }
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinLink.Name(); }
    void SetSkinDataName(std::string_view value) { FSkinLink.SetName(value); }
    // A two-pixel line through the middle instead of the shape.
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool value);
    TColor LightColor() const { return FLightColor; }
    TColor DarkColor() const { return FDarkColor; }

    void ChangeSkinData() override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

    int SkinIndex = -1;

private:
    TspSkinDataLink FSkinLink { this, "bevel" };
    bool FDividerMode = false;
    TColor FLightColor = clBtnHighlight;
    TColor FDarkColor = clBtnShadow;
};

// The text colour of the wave and shadow labels: the standard-label record's when told to and there is one.
TColor SkinLabelTextColor(const TspSkinData* skin, int skinIndex, bool useSkinColor, const TFont* font);

// The caption waved by a sine displacement over what lies behind the label.
class TspSkinWaveLabel : public TspGraphicSkinControl {
    using inherited = TspGraphicSkinControl;

public:
    explicit TspSkinWaveLabel(TComponent* owner);

    bool Antialiasing() const { return FAntialiasing; }
    void SetAntialiasing(bool value);
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    int XDiv() const { return FXDiv; }
    void SetXDiv(int value);
    int YDiv() const { return FYDiv; }
    void SetYDiv(int value);
    int RatioVal() const { return FRatioVal; }
    void SetRatioVal(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

private:
    bool FAntialiasing = true;
    bool FUseSkinColor = true;
    int FXDiv = 20;
    int FYDiv = 20;
    int FRatioVal = 5;
    TAlignment FAlignment = taCenter;
};

// The caption over a soft shadow on what lies behind the label.
class TspSkinShadowLabel : public TspGraphicSkinControl {
    using inherited = TspGraphicSkinControl;

public:
    explicit TspSkinShadowLabel(TComponent* owner);

    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    void SetAutoSize(bool value) override;

    virtual std::string GetLabelText() const { return Caption(); }
    void AdjustBounds();
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void DoDrawText(TCanvas* canvas, TRect& rect, uint32_t flags);
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The text rectangle for the layout, measured on `canvas`.
    TRect TextRect(TCanvas* canvas, uint32_t flags);
    uint32_t TextFlags() const;

    bool FUseSkinColor = true;
    TTextLayout FLayout = tlTop;
    TAlignment FAlignment = taLeftJustify;
    bool FShowAccelChar = true;
    bool FWordWrap = false;
    TWinControl* FFocusControl = nullptr;
};
