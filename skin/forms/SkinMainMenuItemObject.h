// The main-menu item object: one top-level item of the form's main menu drawn inside the skinned frame from the
// skin's main-menu item object, laid out after the item before it, hidden while it does not fit, and opening
// its submenu through the form's menu chain.
#pragma once
#include "framework/graphics/Graphics.h"
#include "skin/forms/SkinObjects.h"

class TBitmap;
class TMenuItem;

class TspSkinMainMenuItem : public TspActiveSkinObject {
    using inherited = TspActiveSkinObject;

public:
    TspSkinMainMenuItem(TspSkinObjectHost* form, TspDataSkinObject* data, TMenuItem* menuItem = nullptr);

    void Draw(TCanvas* canvas, bool standalone) override;
    void MouseDown(int x, int y, TMouseButton button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Down opens the item's submenu and enters the form's main menu; up releases the item.
    void SetDown(bool value);
    // Another main-menu item of the form that is active (or down), null when there is none.
    TspSkinMainMenuItem* SearchActive() const;
    TspSkinMainMenuItem* SearchDown() const;
    // Opens the menu item's children under the item.
    void TrackMenu();

    TMenuItem* MenuItem = nullptr;
    std::string FontName;
    int FontHeight = 14;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor UnEnabledFontColor = 0;
    TRect TextRect;
    TRect DownRect;
    int ItemLeftOffset = 0;
    int ItemRightOffset = 0;
    bool Down = false;
    // False while the item does not fit the main-menu rectangle; its Enabled is kept meanwhile.
    bool Shown = true;
    bool SavedEnabled = true;
    // The true rectangle of an item drawn shifted into the frame strip below the client area; empty otherwise.
    TRect LayoutRect;

private:
    std::string Caption() const;
    void SetItemFont(TCanvas* canvas, TColor color) const;
    // The caption's colour: down, the hot look, or by the menu item's Enabled.
    TColor TextColor(bool activeLook) const;
    // Places the item after the one before it; false when it is hidden or has nothing to draw.
    bool Layout(bool standalone);
    // The item image of ObjectRect's size from `source` with the caption in `color`.
    void MakeImage(TBitmap& image, const TRect& source, TColor color) const;
};
