// The skinned font boxes: TspSkinFontComboBox lists the installed font families (filtered by options) with a mark
// for TrueType faces and each name in its own typeface, TspSkinFontListBox does the same in a list box, and
// TspSkinFontSizeComboBox lists the sizes of one font.
#pragma once
#include "framework/core/TSet.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/lists/TspSkinListBox.h"

#include <string>
#include <vector>

enum TspFontDevice : uint8_t { fdScreen, fdPrinter, fdBoth };
enum TspFontListOption : uint8_t {
    foAnsiOnly,
    foTrueTypeOnly,
    foFixedPitchOnly,
    foNoOEMFonts,
    foOEMFontsOnly,
    foScalableOnly,
    foNoSymbolFonts
};
using TspFontListOptions = TSet<TspFontListOption, foNoSymbolFonts>;

// One enumerated family: its font-type bits (raster 1, device 2, TrueType 4), character set and pitch and family.
struct TspFontFace {
    std::string Name;
    uint32_t FontType = 0;
    uint8_t CharSet = 0;
    uint8_t PitchAndFamily = 0;
};

// Whether a face enters a font list under `options`.
bool FontPassesFilter(const TspFontFace& face, TspFontListOptions options);
// The families of `device` that pass, one per name (letter case aside), each with its line object: the font-type
// bits plus 256 for a face that is not a symbol font. A device with no fonts (no printer) gives none.
std::vector<std::pair<std::string, uintptr_t>> EnumerateFonts(TspFontDevice device, TspFontListOptions options);
// The point sizes of a bitmap font's styles, smallest first, each once: each style's cell height less its internal
// leading, at `pixelsPerInch`, rounded halves to even.
std::vector<int> RasterFontSizes(const std::vector<int>& heights, int pixelsPerInch);
// The TrueType mark (two small "T"s) at the left of an item, vertically centred on `centre`.
void DrawTrueTypeMark(TCanvas* canvas, int left, int centre);

class TspSkinFontComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    explicit TspSkinFontComboBox(TComponent* owner);

    TspFontDevice Device() const { return FDevice; }
    void SetDevice(TspFontDevice value);
    TspFontListOptions Options() const { return FOptions; }
    void SetOptions(TspFontListOptions value);
    bool TrueTypeOnly() const { return FOptions.Contains(foTrueTypeOnly); }
    void SetTrueTypeOnly(bool value);
    bool UseFonts() const { return FUseFonts; }
    void SetUseFonts(bool value);
    std::string FontName() const { return Text(); }
    void SetFontName(const std::string& value);

    void Reset();
    void PopulateList();
    void WndProc(TMessage& message) override;

protected:
    void CreateWnd() override;

private:
    void DrawListItem(TCanvas* cnvs, int index, int itemWidth, int itemHeight, TRect& txtRect);
    bool Reading() const;

    TspFontDevice FDevice = fdScreen;
    TspFontListOptions FOptions;
    bool FUseFonts = false;
    bool FResetting = false;
};

class TspSkinFontSizeComboBox : public TspSkinCustomComboBox {
    using inherited = TspSkinCustomComboBox;

public:
    using TspSkinCustomComboBox::TspSkinCustomComboBox;

    const std::string& FontName() const { return FFontName; }
    // Stores the name and lists its sizes.
    void SetFontName(const std::string& value);
    // The chosen size, 0 when there is none.
    int GetSizeValue() const;
    void Build();

private:
    std::string FFontName;
    int FPixelsPerInch = 96;
};

// The font list in a skinned list box: the same filter and families; choosing a name reports through
// OnListBoxClick.
class TspSkinFontListBox : public TspSkinListBox {
    using inherited = TspSkinListBox;

public:
    explicit TspSkinFontListBox(TComponent* owner);

    TspFontDevice Device() const { return FDevice; }
    void SetDevice(TspFontDevice value);
    TspFontListOptions Options() const { return FOptions; }
    void SetOptions(TspFontListOptions value);
    bool TrueTypeOnly() const { return FOptions.Contains(foTrueTypeOnly); }
    void SetTrueTypeOnly(bool value);
    bool UseFonts() const { return FUseFonts; }
    void SetUseFonts(bool value);
    // The current line, "" without one.
    std::string FontName() const;
    void SetFontName(const std::string& value);

    void Reset();
    void PopulateList();
    void Loaded() override;
    void ListBoxCreateWnd() override;

private:
    void DrawListItem(TCanvas* cnvs, int index, int itemHeight, TRect& txtRect);
    bool Reading() const;
    void ListClick();

    TspFontDevice FDevice = fdScreen;
    TspFontListOptions FOptions;
    bool FUseFonts = false;
    bool FResetting = false;
};
