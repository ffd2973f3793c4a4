// The graphic button, a menu speed button that owns an images menu and shows the chosen picture on its face,
// and the five style buttons that fill it with fixed pictures: gradient kinds, brush patterns, pen styles, pen
// widths and shadow kinds.
#pragma once
#include "skin/controls/SkinMenuButtons.h"

#include <initializer_list>
#include <string>

class TCustomImageList;
class TFont;
class TspImagesMenuItem;
class TspImagesMenuItems;
class TspSkinHint;
class TspSkinImagesMenu;

// Clicking opens the owned images menu at the button; the chosen item's picture (with the button's own caption)
// shows on the face. The menu and its image list are owned by the button.
class TspSkinGraphicButton : public TspSkinMenuSpeedButton {
    using inherited = TspSkinMenuSpeedButton;

public:
    explicit TspSkinGraphicButton(TComponent* owner);
    ~TspSkinGraphicButton() override;

    // ---- Published properties, those of the owned menu ---------------------------------------------------------
    int ItemIndex() const;
    // Repaints.
    void SetItemIndex(int value);
    TspSkinHint* MenuSkinHint() const;
    void SetMenuSkinHint(TspSkinHint* value);
    bool MenuShowHints() const;
    void SetMenuShowHints(bool value);
    TspImagesMenuItems* GraphicItems() const;
    bool MenuUseSkinFont() const;
    void SetMenuUseSkinFont(bool value);
    TFont* MenuDefaultFont() const;
    // Copies the font.
    void SetMenuDefaultFont(TFont* value);
    bool MenuAlphaBlend() const;
    void SetMenuAlphaBlend(bool value);
    int MenuAlphaBlendValue() const;
    // Values outside 0..255 are taken to the nearest end.
    void SetMenuAlphaBlendValue(int value);
    bool MenuAlphaBlendAnimation() const;
    void SetMenuAlphaBlendAnimation(bool value);

    // The menu's chosen item, or null.
    TspImagesMenuItem* GetSelectedItem() const;
    TspSkinImagesMenu* GraphicMenu() const { return FMenu; }
    TCustomImageList* GraphicImages() const { return FImages; }

    // Attaches the menu again and gives it the button's skin.
    void Loaded() override;

protected:
    // Fills the owned image list; nothing here.
    virtual void InitImages() { }
    // Fills the menu's items; nothing here.
    virtual void InitItems() { }

    // Loads the named style pictures into the image list, whose image size becomes the first picture's unless
    // `maskWhite` (the size is then already set and white is transparent).
    void AddPictures(std::initializer_list<const char*> names, bool maskWhite = false);
    TspImagesMenuItem* AddItem(
        int imageIndex, const std::string& caption = {}, const std::string& hint = {}, bool button = false);

private:
    TCustomImageList* FImages;
    TspSkinImagesMenu* FMenu;
};

// Descendants cannot reach their own InitImages and InitItems from the base constructor, so each style button
// fills its menu in its own constructor; they are final so that nothing fills them twice.

// Six gradient kinds in two columns: horizontal and vertical, dark to light, light to dark, and both ways.
class TspSkinGradientStyleButton final : public TspSkinGraphicButton {
    using inherited = TspSkinGraphicButton;

public:
    explicit TspSkinGradientStyleButton(TComponent* owner);

protected:
    void InitImages() override;
    void InitItems() override;
};

// Eight brush patterns in two columns: empty, solid, grid, diagonal grid, falling and rising diagonals,
// horizontal and vertical lines.
class TspSkinBrushStyleButton final : public TspSkinGraphicButton {
    using inherited = TspSkinGraphicButton;

public:
    explicit TspSkinBrushStyleButton(TComponent* owner);

protected:
    void InitImages() override;
    void InitItems() override;
};

// Five pen styles in one column: solid, dash, dash-dot, dot, dash-dot-dot.
class TspSkinPenStyleButton final : public TspSkinGraphicButton {
    using inherited = TspSkinGraphicButton;

public:
    explicit TspSkinPenStyleButton(TComponent* owner);

protected:
    void InitImages() override;
    void InitItems() override;
};

// Twelve captioned pen widths from "1/4 pt" to "6 pt" in two columns.
class TspSkinPenWidthButton final : public TspSkinGraphicButton {
    using inherited = TspSkinGraphicButton;

public:
    explicit TspSkinPenWidthButton(TComponent* owner);

protected:
    void InitImages() override;
    void InitItems() override;
};

// "No shadow", twenty shadow kinds in four columns, and "More settings".
class TspSkinShadowStyleButton final : public TspSkinGraphicButton {
    using inherited = TspSkinGraphicButton;

public:
    explicit TspSkinShadowStyleButton(TComponent* owner);

protected:
    void InitImages() override;
    void InitItems() override;
};
