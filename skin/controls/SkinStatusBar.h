// Two small descendants of the skinned panel: TspSkinPaintPanel, whose owner paints the client area through an
// event, and TspSkinStatusBar, a bottom-aligned bar on the "statusbar" record with an optional size grip.
#pragma once
#include "skin/controls/SkinPanels.h"

#include <functional>

// Paints over the finished panel image in the panel's client rectangle.
using TspPaintPanelEvent = std::function<void(TCanvas* Cnvs, TRect R)>;

class TspSkinPaintPanel : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinPaintPanel(TComponent* owner);

    TspPaintPanelEvent OnPanelPaint;

    void WndProc(TMessage& message) override;

protected:
    void PaintTransparent(TCanvas* canvas) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;

private:
    void PanelPaint(TCanvas* canvas);
};

class TspSkinStatusBar : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspSkinStatusBar(TComponent* owner);

    // Published.
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool value);
    // Public, not stored: the form turns it off while it is maximized.
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool value);

    // Every skinned child follows the bar's skin.
    void SetSkinData(TspSkinData* value) override;
    TRect GetGripRect();
    void WndProc(TMessage& message) override;

protected:
    void AdjustClientRect(TRect& rect) override;
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DrawDefaultGripper(TCanvas* canvas, const TRect& rect, TColor highlight, TColor shadow);

private:
    bool GripActive() const { return FSizeGrip && FShowGrip; }
    bool SkinGripper() const { return SkinIndex != -1 && !SPUtils::IsNullRect(GripperRect); }

    bool FSizeGrip = false;
    bool FShowGrip = true;
};
