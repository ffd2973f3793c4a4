// TspSkinGauge, the skinned progress gauge: a progress picture cut from the skin grows along a progress area
// with the value, horizontally from the left or vertically from the bottom, under an optional caption of a
// free text and a percentage.
#pragma once
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinCustomCtrls.h"

#include <cstdint>
#include <string>
#include <string_view>

class TspSkinGauge : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinGauge(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value);
    int Value() const { return FValue; }
    // Clamped to the range; a change invalidates (the gauge repaints with the next paint cycle).
    void SetValue(int value);
    // A record overrides it each time the record is read.
    bool Vertical() const { return FVertical; }
    void SetVertical(bool value);
    // Off: any size, the skin image stretched to it.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value);
    const std::string& ProgressText() const { return FProgressText; }
    void SetProgressText(std::string_view value);
    bool ShowProgressText() const { return FShowProgressText; }
    void SetShowProgressText(bool value);
    bool ShowPercent() const { return FShowPercent; }
    void SetShowPercent(bool value);
    bool TextAlphaBlend() const { return FTextAlphaBlend; }
    void SetTextAlphaBlend(bool value);
    uint8_t TextAlphaBlendValue() const { return FTextAlphaBlendValue; }
    void SetTextAlphaBlendValue(uint8_t value);

    // The plain face ("skinrect") at the control's size.
    void CreateImage(TBitmap* bitmap);
    // The filled part of `area` for the current value.
    TRect CalcProgressRect(const TRect& area) const;
    // trunc(100 x the fraction of the range), 0 for an empty range.
    int Percent() const;
    // What the caption shows: the free text when shown, then the percentage and "%" when shown.
    std::string CaptionText() const;
    // The progress area mapped onto the control's size (skinned look).
    const TRect& NewProgressArea() const { return FNewProgressArea; }

    void GetSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void CalcSize(int& width, int& height) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void DrawProgressText(TCanvas* canvas);

private:
    // The record's face, fill and (with UseSkinSize) caption; `caption` off leaves the caption to the caller.
    void BuildSkinImage(TBitmap* bitmap, bool caption);
    // The progress fill, from the skin's image cache.
    void DrawFill(TCanvas* canvas, const TRect& progress);
    // Draws the fill `pw` by `ph` from its ends and its middle piece into `fill`.
    void ComposeFill(TBitmap* fill, int pw, int ph);
    bool CaptionShown() const { return FShowProgressText || FShowPercent; }
    double Fraction() const;

    int FMinValue = 0;
    int FMaxValue = 100;
    int FValue = 50;
    bool FVertical = false;
    bool FUseSkinSize = true;
    std::string FProgressText;
    bool FShowProgressText = false;
    bool FShowPercent = false;
    bool FTextAlphaBlend = false;
    uint8_t FTextAlphaBlendValue = 200;

    // Copies of the record.
    TRect ProgressArea, ProgressRect;
    int BeginOffset = 0, EndOffset = 0;
    bool ProgressStretch = false, ProgressTransparent = false;
    TColor ProgressTransparentColor = clBlack;
    SkinControlSupport::TRecordFont CaptionFont;
    TRect FNewProgressArea;
};
