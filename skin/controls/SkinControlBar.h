// TspSkinControlBar and TspSkinCoolBar, the framework's control bar and cool bar dressed by a "controlbar" record:
// a skinned non-client frame (SkinBevel), a stretched or tiled background, and skinned band frames (control bar)
// or skinned grips before each band's picture and text (cool bar). Without a record they are the framework's.
#pragma once
#include "framework/controls/TCoolBar.h"
#include "framework/controls/TCustomControlBar.h"
#include "skin/core/SkinCtrls.h"

#include <string>
#include <string_view>

class TspDataSkinControlBar;

// What both bars share over their framework bases (TCustomControlBar, TCoolBar): the skin and its record, the
// skinned non-client frame and the background refresh of the children.
template <class Base> class TspSkinBandBar : public Base, public TspSkinDataClient {
    using inherited = Base;

public:
    explicit TspSkinBandBar(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Stores the skin and takes it at once.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool SkinBevel() const { return FSkinBevel; }
    // With a record in use the window is made anew, so that its frame is calculated again.
    void SetSkinBevel(bool value);

    int GetSkinIndex() const { return SkinIndex; }
    // Tells every child that the background behind it changed.
    void CheckControlsBackground();
    // The skinned frame into `dc`, or into the window's own DC when `useDC` is false.
    void PaintNCSkin(HDC dc, bool useDC);
    // The frame's messages (WM_NCCALCSIZE, WM_NCPAINT, CM_BENCPAINT, WM_SIZE); the rest go to the framework.
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The record in use (re-read each time), null without one.
    TspDataSkinControlBar* GetSkinData();
    TBitmap* Picture() const;

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "controlbar";
    bool FSkinBevel = false;
    int SkinIndex = -1;
};

extern template class TspSkinBandBar<TCustomControlBar>;
extern template class TspSkinBandBar<TCoolBar>;

class TspSkinControlBar : public TspSkinBandBar<TCustomControlBar> {
    using inherited = TspSkinBandBar<TCustomControlBar>;

public:
    explicit TspSkinControlBar(TComponent* owner);

    // The record again; the window made anew when the frame is the skin's (its size changes); repaint.
    void ChangeSkinData() override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void PaintControlFrame(TCanvas* canvas, TControl* control, const TRect& rect) override;

private:
    void PaintBackground(TCanvas* canvas, TspDataSkinControlBar& record);
};

class TspSkinCoolBar : public TspSkinBandBar<TCoolBar> {
    using inherited = TspSkinBandBar<TCoolBar>;

public:
    explicit TspSkinCoolBar(TComponent* owner);

    // The record again and the window made anew (its frame and bands follow the record).
    void ChangeSkinData() override;
    // The bar takes its skin through SkinData alone: a form's skin change does not reach it.
    bool ReskinnedByForm() const override { return false; }
    // The height of a caption line in the bar's font; 0 without a window.
    int GetCaptionFontHeight() { return CaptionFontHeight(); }
    // Grip, picture and text before a band's control, with their gaps.
    int GetCaptionSize(TCoolBand* band) { return BandCaptionSize(band); }

    void WndProc(TMessage& message) override;

protected:
    void DrawGrip(TCanvas* canvas, const TRect& rect) override;
    void AlignControls(TControl* control, TRect& rect) override;

private:
    void PaintBands(HDC dc);
    void PaintSkinBand(TCanvas* canvas, TCoolBand* band);
};
