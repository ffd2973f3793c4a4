// The skinned colour boxes: TspSkinColorComboBox and TspSkinColorListBox list the framework's named colours with a
// swatch (standard, extended and system colours as chosen), optionally headed by a custom colour that the colour
// dialog picks.
#pragma once
#include "framework/core/TSet.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/lists/TspSkinListBox.h"

#include <string>

enum TspColorBoxStyleItem : uint8_t {
    spcbStandardColors,
    spcbExtendedColors,
    spcbSystemColors,
    spcbIncludeNone,
    spcbIncludeDefault,
    spcbCustomColor,
    spcbPrettyNames
};
using TspColorBoxStyle = TSet<TspColorBoxStyleItem, spcbPrettyNames>;

// What no current line reads as.
constexpr TColor kNoColorSelected = static_cast<TColor>(0xFF000000);

// "clMoneyGreen" as "Money Green".
std::string PrettyColorName(const std::string& ident);
// Fills `items` with the colours `style` asks for, each line's object its colour; with spcbCustomColor a first
// line `customText` carrying `custom`.
void FillColorList(TStrings* items, TspColorBoxStyle style, TColor custom, const std::string& customText);
TColor LineColor(TStrings* items, int index);
// The skin's text of the custom line, "Custom..." when it has none.
std::string CustomColorText(TspSkinData* skin);

class TspSkinColorComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    explicit TspSkinColorComboBox(TComponent* owner);

    bool ShowNames() const { return FShowNames; }
    void SetShowNames(bool value);
    TspColorBoxStyle ExStyle() const { return FExStyle; }
    void SetExStyle(TspColorBoxStyle value);
    TColor Selected() const;
    void SetSelected(TColor value);
    TColor DefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(TColor value);
    TColor NoneColorColor() const { return FNoneColorColor; }
    void SetNoneColorColor(TColor value);
    TColor GetColor(int index) const { return LineColor(Items(), index); }
    std::string GetColorName(int index) const;

    // Opens the colour dialog on the custom line's colour; accepted, the line takes the new colour.
    virtual void PickCustomColor();
    void PopulateList();
    void Loaded() override;

protected:
    void CreateWnd() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    void DrawItem(TCanvas* cnvs, int index, int itemHeight, const TRect& rect);

    bool FShowNames = true;
    TspColorBoxStyle FExStyle { spcbStandardColors, spcbExtendedColors, spcbSystemColors };
    TColor FSelected = clBlack;
    TColor FDefaultColorColor = clBlack;
    TColor FNoneColorColor = clBlack;
};

class TspSkinColorListBox : public TspSkinListBox {
    using inherited = TspSkinListBox;

public:
    explicit TspSkinColorListBox(TComponent* owner);

    bool ShowNames() const { return FShowNames; }
    void SetShowNames(bool value);
    TspColorBoxStyle ExStyle() const { return FExStyle; }
    void SetExStyle(TspColorBoxStyle value);
    TColor Selected() const;
    void SetSelected(TColor value);
    TColor DefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(TColor value);
    TColor NoneColorColor() const { return FNoneColorColor; }
    void SetNoneColorColor(TColor value);
    TColor GetColor(int index) const { return LineColor(Items(), index); }
    std::string GetColorName(int index) const;

    virtual void PickCustomColor();
    void PopulateList();
    void Loaded() override;
    void ListBoxDblClick() override;
    void ListBoxKeyDown(uint16_t& key, TShiftState shift) override;

protected:
    void CreateWnd() override;

private:
    void DrawItem(TCanvas* cnvs, int index, int itemHeight, const TRect& rect);

    bool FShowNames = true;
    TspColorBoxStyle FExStyle { spcbStandardColors, spcbExtendedColors, spcbSystemColors };
    TColor FSelected = clBlack;
    TColor FDefaultColorColor = clBlack;
    TColor FNoneColorColor = clBlack;
};
