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

class TspSkinControlBar : public TCustomControlBar, public TspSkinDataClient {
    using inherited = TCustomControlBar;

public:
    explicit TspSkinControlBar(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Stores the skin and takes it at once.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool SkinBevel() const { return FSkinBevel; }
    void SetSkinBevel(bool value);

    // The record again; the window made anew when the frame is the skin's (its size changes); repaint.
    void ChangeSkinData() override;
    int GetSkinIndex() const { return SkinIndex; }
    // Tells every child that the background behind it changed.
    void CheckControlsBackground();
    // The skinned frame into `dc`, or into the window's own DC when `useDC` is false.
    void PaintNCSkin(HDC dc, bool useDC);

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void PaintControlFrame(TCanvas* canvas, TControl* control, const TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The record in use (re-read each time), null without one.
    TspDataSkinControlBar* GetSkinData();
    TBitmap* Picture() const;
    void PaintBackground(TCanvas* canvas, TspDataSkinControlBar& record);

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "controlbar";
    bool FSkinBevel = false;
    int SkinIndex = -1;
};

class TspSkinCoolBar : public TCoolBar, public TspSkinDataClient {
    using inherited = TCoolBar;

public:
    explicit TspSkinCoolBar(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    TspSkinData* SkinData() const override { return FSkinData; }
    // Stores the skin and takes it at once.
    void SetSkinData(TspSkinData* value) override;
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(std::string_view value) { FSkinDataName = value; }
    bool SkinBevel() const { return FSkinBevel; }
    void SetSkinBevel(bool value);

    // The record again and the window made anew (its frame and bands follow the record).
    void ChangeSkinData() override;
    // The bar takes its skin through SkinData alone: a form's skin change does not reach it.
    bool ReskinnedByForm() const override { return false; }
    int GetSkinIndex() const { return SkinIndex; }
    void CheckControlsBackground();
    void PaintNCSkin(HDC dc, bool useDC);
    // The height of a caption line in the bar's font; 0 without a window.
    int GetCaptionFontHeight() { return CaptionFontHeight(); }
    // Grip, picture and text before a band's control, with their gaps.
    int GetCaptionSize(TCoolBand* band) { return BandCaptionSize(band); }

    void WndProc(TMessage& message) override;

protected:
    void DrawGrip(TCanvas* canvas, const TRect& rect) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspDataSkinControlBar* GetSkinData();
    TBitmap* Picture() const;
    void PaintBands(HDC dc);
    void PaintSkinBand(TCanvas* canvas, TCoolBand* band);

    TspSkinData* FSkinData = nullptr;
    std::string FSkinDataName = "controlbar";
    bool FSkinBevel = true;
    int SkinIndex = -1;
};
