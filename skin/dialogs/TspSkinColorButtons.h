// The colour buttons: skinned menu speed buttons that show their colour and open an owned images menu of colour
// swatches, optionally headed by "Automatic" and ended by "More colors...", which opens the colour dialog.
// TspSkinColorButton and TspSkinBrushColorButton offer 40 colours, TspSkinTextColorButton 16.
#pragma once
#include "skin/controls/SkinMenuButtons.h"

#include <span>
#include <vector>

class TCustomImageList;
class TFont;
class TspSkinColorDialog;
class TspSkinImagesMenu;

// What the three buttons share: the owned menu and image list, the colour and the menu's colours.
class TspColorMenuButton : public TspSkinMenuSpeedButton {
    using inherited = TspSkinMenuSpeedButton;

public:
    ~TspColorMenuButton() override;

    TColor ColorValue() const { return FColorValue; }
    // Stores and repaints; outside design time and loading OnChangeColor follows, also for the same colour.
    void SetColorValue(TColor value);
    TColor AutoColor = clBlack;
    bool ShowAutoColor() const { return FShowAutoColor; }
    void SetShowAutoColor(bool value);
    bool ShowMoreColor() const { return FShowMoreColor; }
    void SetShowMoreColor(bool value);
    TspSkinColorDialog* ColorDialog() const { return FColorDialog; }
    void SetColorDialog(TspSkinColorDialog* value);
    bool MenuUseSkinFont() const;
    void SetMenuUseSkinFont(bool value);
    TFont* MenuDefaultFont() const;
    void SetMenuDefaultFont(TFont* value);
    bool MenuAlphaBlend() const;
    void SetMenuAlphaBlend(bool value);
    int MenuAlphaBlendValue() const;
    void SetMenuAlphaBlendValue(int value);
    bool MenuAlphaBlendAnimation() const;
    void SetMenuAlphaBlendAnimation(bool value);
    TNotifyEvent OnChangeColor;

    TspSkinImagesMenu* ColorMenu() const { return FMenu; }
    TCustomImageList* ColorImages() const { return FImages; }
    // The colour of menu item `index` ("Automatic" gives AutoColor).
    TColor ItemColor(int index) const;

    // Fills the menu: "Automatic", the colours, "More colors...".
    void InitColors();
    void OnImagesMenuPopup(TObject* sender);
    void OnImagesMenuClick(TObject* sender);
    void Loaded() override;

protected:
    TspColorMenuButton(TComponent* owner, std::span<const TColor> colors, bool rebuildOnChange);
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool Quiet() const;

    std::span<const TColor> FColors;
    // The colour button rebuilds its menu when Automatic or More colors is switched; the text button only then
    // when it is loaded.
    bool FRebuildOnChange;
    TCustomImageList* FImages;
    TspSkinImagesMenu* FMenu;
    std::vector<TColor> FItemColors;
    // What the menu was filled with: the text button's switches may change without a refill.
    bool FMenuHasAuto = false;
    bool FMenuHasMore = false;
    TColor FColorValue = clBlack;
    bool FShowAutoColor = true;
    bool FShowMoreColor = true;
    TspSkinColorDialog* FColorDialog = nullptr;
};

class TspSkinColorButton : public TspColorMenuButton {
    using inherited = TspColorMenuButton;

public:
    explicit TspSkinColorButton(TComponent* owner);
};

class TspSkinBrushColorButton : public TspSkinColorButton {
    using inherited = TspSkinColorButton;

public:
    using TspSkinColorButton::TspSkinColorButton;
};

class TspSkinTextColorButton : public TspColorMenuButton {
    using inherited = TspColorMenuButton;

public:
    explicit TspSkinTextColorButton(TComponent* owner);
};
