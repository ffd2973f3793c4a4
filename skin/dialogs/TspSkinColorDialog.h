// TspSkinColorDialog: a component whose Execute builds a skinned modal window to pick a colour: the 48 basic
// colours, 12 custom colours kept between calls, a palette (a hue ring around a saturation/lightness square),
// number edits for red, green and blue and for hue, saturation and value, a preview, OK, Cancel and
// "Add to Custom Colors". The palette's geometry routines are free functions so that they can be checked alone.
#pragma once
#include "framework/controls/Forms.h"
#include "skin/dialogs/TPSPColor.h"

#include <array>
#include <memory>
#include <string>

class TFont;
class TImage;
class TspColorViewer;
class TspEmptyControl;
class TspSkinButton;
class TspSkinColorGrid;
class TspSkinCustomColorGrid;
class TspSkinData;
class TspSkinForm;
class TspSkinStdLabel;
class TspSkinTrackEdit;

// The number edits: integers whose button drops down a track bar.
using TspColorDialogEdit = TspSkinTrackEdit;

// ---- Palette geometry (degrees; y grows downwards; angles clockwise from +x) ----------------------------------
constexpr double CalcEpsilon = 1e-8;
constexpr double CalcRadian = 0.01745329252;
// The hue ring's bounding box and the saturation/lightness square inside the palette image.
constexpr TRect PalettePSPCoord { 0, 0, 195, 195 };
constexpr TRect RectPSP { 44, 44, 150, 150 };

void CalcAngle360(double& a);
double CalcDistancePoints(double x1, double y1, double x2, double y2);
double CalcArcSinRadians(double x);
double CalcArcCosRadians(double x);
double CalcArcTan(double x);
// The direction of P seen from C: right 0, below 90, left 180, above 270.
double CalcAnglePoints(double cx, double cy, double px, double py);
// The clockwise angle about C from the direction of P1 to that of P2, in [0, 360).
double CalcAngle3Points(double x1, double y1, double cx, double cy, double x2, double y2);
void CalcPointSurEllipse(double cx, double cy, double rx, double ry, double angle, double& x, double& y);
// P turned about C by `angle` degrees (positive: clockwise on the screen).
void CalcRotationPoint(double cx, double cy, double angle, double px, double py, double& x, double& y);

// Whether pixel (x, y) lies in the hue ring: inside the ellipse of `outer` and outside that of `inner`.
bool InPaletteRing(int x, int y, const TRect& outer, const TRect& inner);

enum TClickZonePSP : uint8_t { czpspPnone, czpspPCircle, czpspPCar };

// The window Execute shows; its controls are reachable for the keyboard, the mouse and tests.
class TspColorDialogForm : public TForm {
    using inherited = TForm;

public:
    explicit TspColorDialogForm(TComponent* owner);

    TspSkinForm* SkinForm = nullptr;
    TspSkinColorGrid* ColorGrid = nullptr;
    TspSkinCustomColorGrid* CustomColorGrid = nullptr;
    TspEmptyControl* PaletteHost = nullptr;
    TImage* Palette = nullptr;
    std::array<TspSkinStdLabel*, 6> Labels {};
    TspColorDialogEdit *REdit = nullptr, *GEdit = nullptr, *BEdit = nullptr;
    TspColorDialogEdit *HEdit = nullptr, *SEdit = nullptr, *LEdit = nullptr;
    TspColorViewer* Viewer = nullptr;
    TspSkinButton *OKButton = nullptr, *CancelButton = nullptr, *AddCustomColorButton = nullptr;
};

class TspSkinColorDialog : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinColorDialog(TComponent* owner);
    ~TspSkinColorDialog() override;

    TColor Color = 0;
    std::string Caption = "Set color";
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    TspSkinData* CtrlSkinData() const { return FCtrlSkinData; }
    void SetCtrlSkinData(TspSkinData* value);
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    bool GroupBoxTransparentMode = false;
    std::string ButtonSkinDataName = "button";
    // Kept for the labels and edits; they wear their own records ("stdlabel", and the edits' own) and fonts.
    std::string LabelSkinDataName = "stdlabel";
    std::string EditSkinDataName = "edit";
    TFont* DefaultLabelFont() const { return FDefaultLabelFont.get(); }
    void SetDefaultLabelFont(TFont* value);
    TFont* DefaultButtonFont() const { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* value);
    TFont* DefaultEditFont() const { return FDefaultEditFont.get(); }
    void SetDefaultEditFont(TFont* value);
    bool UseSkinFont = true;

    // The custom colours and the custom grid's insertion counter, kept from one accepted window to the next.
    std::array<TColor, 12> CustomColors;
    int CustomColorsCounter = 0;

    // Builds the window, shows it modally and frees it; true when it closed with OK.
    bool Execute();

    // While Execute runs: the window, the palette's colour and its click zone.
    TspColorDialogForm* Form() const { return FForm; }
    const TPSPColor& PaletteColor() const { return *FPaletteColor; }
    TClickZonePSP ClickZone() const { return FClickZone; }

    // The window's handlers.
    void RGBEditChange(TObject* sender);
    void HSLEditChange(TObject* sender);
    void ColorGridChange(TObject* sender);
    void CustomColorGridChange(TObject* sender);
    void AddCustomColorButtonClick(TObject* sender);
    void PalettePSPMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PalettePSPMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void PalettePSPMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ChangeEdits();
    void InitPSPPalette();
    void DrawPSPPalette();
    void DrawCursor();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TspColorDialogForm> CreateForm();
    std::string Text(const char* key, const char* english) const;
    void GridChange(TColor value);
    void ZoneAction(int x, int y);
    void PaletteChanged();

    TspSkinData* FSkinData = nullptr;
    TspSkinData* FCtrlSkinData = nullptr;
    std::unique_ptr<TFont> FDefaultLabelFont;
    std::unique_ptr<TFont> FDefaultButtonFont;
    std::unique_ptr<TFont> FDefaultEditFont;
    std::unique_ptr<TPSPColor> FPaletteColor;
    std::array<TColor, 360> FHues {};
    TspColorDialogForm* FForm = nullptr;
    TClickZonePSP FClickZone = czpspPnone;
    bool FRGBLock = false;
    bool FHSLLock = false;
    bool FFromPalette = false;
};
