// TspSkinTabControl: the framework's tab control drawn from the skin's "tab" record like the page control, painting
// its own page area and serving as the painted background of transparent skinned children.
#pragma once
#include "skin/core/TspParentBackground.h"
#include "skin/dialogs/SkinTabsCore.h"

class TspSkinTabControl : public TspSkinTabsCore<TTabControl>, public TspParentBackground {
    using inherited = TspSkinTabsCore<TTabControl>;

public:
    explicit TspSkinTabControl(TComponent* owner);

    // The page-area background over the whole control into `dc`.
    void PaintBG(HDC dc) override;
    void CheckControlsBackground();

    void WndProc(TMessage& message) override;

protected:
    int TabCount() const override;
    int PageTotal() const override { return TabCount(); }
    int TabPage(int tab) const override { return tab; }
    std::string TabCaption(int page) const override;
    bool TabImageOf(int page, int& imageIndex, bool& enabled) const override;
    TRect FrameMargins() const override;
    void PaintSkinWindow(TCanvas* canvas) override;
    TSize ScrollerSize() const override { return { 36, 18 }; }
    bool ScrollerFollowsMultiLine() const override { return false; }

private:
    bool FPainting = false;
};
