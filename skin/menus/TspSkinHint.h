// TspSkinHintWindow, the application's skinned hint window, and TspSkinHint, the component that installs it and
// carries the settings every hint window reads.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/THintWindow.h"
#include "framework/core/TComponent.h"
#include "skin/core/Forward.h"

#include <memory>
#include <string>

class TBitmap;
class TTimer;
class TspSkinHint;

// A hint window drawn from the skin's HINTWINDOW picture (cut to its mask) or in the default look: a
// one-pixel clBtnShadow frame on clInfoBk. It shows nothing while no active TspSkinHint is on the main form.
class TspSkinHintWindow : public THintWindow {
    using inherited = THintWindow;

public:
    explicit TspSkinHintWindow(TComponent* owner);
    ~TspSkinHintWindow() override;

    void ActivateHint(const TRect& rect, const std::string& hint) override;
    // The size the text needs in the current look.
    void CalcHintSize(TCanvas* canvas, const std::string& text, int& height, int& width);
    // The first active TspSkinHint of the application's main form, or null.
    static TspSkinHint* FindHintComponent();
    void SetHintWindowRegion();

    TspSkinHint* HintComponent = nullptr;
    // The skin of the hint shown now; null in the default look.
    TspSkinData* HintSkin = nullptr;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    void SetupFont(TCanvas* canvas) const;

    std::unique_ptr<TBitmap> FSnapshot;
    bool FRegionSet = false;
    bool FAlphaApplied = false;
    uint8_t FAlphaValueApplied = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
};

// Makes TspSkinHintWindow the application's hint window class, and shows hints of its own (those of skin objects
// and images-menu items) in a window it owns, at once or after the application's hint pause.
class TspSkinHint : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinHint(TComponent* owner);
    // The application's hint window class stays as it is.
    ~TspSkinHint() override;

    bool Active() const { return FActive; }
    // True deactivates every other active TspSkinHint of the main form.
    void SetActive(bool value);
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendSupport() const { return FAlphaBlendSupport; }
    // Without layered windows the value stays false and translucency mixes with a snapshot of the screen.
    void SetAlphaBlendSupport(bool value);
    TShowHintEvent OnShowHint;

    // Shows `text` at once at the screen point `p`.
    void ActivateHint(TPoint p, const std::string& text);
    // Shows `text` below the cursor after the application's hint pause, and hides it after its hide pause.
    void ActivateHint2(const std::string& text);
    void HideHint();
    bool IsVisible() const;
    // The rows from the cursor's hot spot to the bottom of its visible image.
    int GetCursorHeightMargin() const;
    TspSkinHintWindow* HintWindow() const { return FHintWindow; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void InstallForwarder();
    void StopTimer();
    void TimerShow();

    bool FActive = true;
    TspSkinData* FSkinData = nullptr;
    std::unique_ptr<TFont> FDefaultFont;
    bool FAlphaBlendSupport = true;
    TspSkinHintWindow* FHintWindow = nullptr;
    TTimer* FHintTimer = nullptr;
    bool FHintShown = false;
    std::string FHintText;
};
