// The shared vocabulary and painting routines of the framed controls: the frame styles and sides, a colour model
// of hue, saturation and lightness on a 0..240 scale with darker and lighter shades, one-pixel side lines, bevels,
// 3-D, button, groove, bump and flat borders in system colours or in shades of a face colour, the dotted focus
// rectangle, the whole frame of an edit or memo, the drop-down arrow, turned fonts and the parent's background
// behind a transparent control. The routines keep no state.
#pragma once
#include "framework/core/TSet.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TControl;
class TWinControl;

enum TFrameStyle : uint8_t {
    fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold
};
enum TSide : uint8_t { sdLeft, sdTop, sdRight, sdBottom };
// Bits: left 1, top 2, right 4, bottom 8.
using TSides = TSet<TSide, sdBottom>;
inline const TSides AllSides { sdLeft, sdTop, sdRight, sdBottom };
enum TTextStyle : uint8_t { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TAlignmentVertical : uint8_t { avTop, avCenter, avBottom };
enum TFramingPreference : uint8_t { fpCustomFraming, fpXPThemes };
enum TFrHotTrackColorType : uint8_t { htctComplement, htctActual };

// The bit value of a set of sides, and back.
int SidesToInt(TSides sides);
TSides IntToSides(int bits);

// --- Colours ---------------------------------------------------------------------------------------------------
// H, S and L of a colour, each 0..240 (halves rounded to even).
void SplitColorHsl(TColor color, uint8_t& h, uint8_t& s, uint8_t& l);
// The RGB colour of H, S, L; L above 240 saturates to white.
TColor JoinColorHsl(uint8_t h, uint8_t s, uint8_t l);
uint8_t HueOfColor(TColor color);
// Lightness down by `amount`, not below 0.
TColor DarkenColor(TColor color, uint8_t amount);
// Lightness up by `amount`, up to 255.
TColor LightenColor(TColor color, uint8_t amount);
TColor ShiftColorLightness(TColor color, int amount);
// Hues less than 20 apart and lightnesses less than 60 apart.
bool ColorsIndistinct(TColor a, TColor b);

// --- Borders ---------------------------------------------------------------------------------------------------
// Each paints inside `bounds` on `sides` and returns what is left inside.
TRect PaintFrameSides(TCanvas* canvas, TRect bounds, TColor ulColor, TColor lrColor, TSides sides);
TRect PaintBevelRings(TCanvas* canvas, TRect bounds, TColor ulColor, TColor lrColor, int width, TSides sides);
TRect Paint3DEdgeSides(TCanvas* canvas, TRect bounds, bool lowered, TSides sides);
TRect PaintButtonEdge(TCanvas* canvas, TRect bounds, bool pressed);
TRect PaintButtonEdgeSides(TCanvas* canvas, TRect bounds, bool pressed, TSides sides);
TRect PaintTintedButtonEdge(TCanvas* canvas, TRect bounds, TColor faceColor, bool pressed);
TRect PaintTintedButtonEdgeSides(TCanvas* canvas, TRect bounds, TColor faceColor, bool pressed, TSides sides);
TRect PaintStyledBorder(TCanvas* canvas, TRect bounds, TFrameStyle style);
TRect PaintStyledBorderSides(TCanvas* canvas, TRect bounds, TFrameStyle style, TSides sides);
TRect PaintTintedBorder(TCanvas* canvas, TRect bounds, TColor faceColor, TFrameStyle style);
TRect PaintTintedBorderSides(TCanvas* canvas, TRect bounds, TColor faceColor, TFrameStyle style, TSides sides);
// Black dots on every second pixel of the edges; returns the bounds shrunk by 1.
TRect PaintDottedFocus(TCanvas* canvas, TRect bounds);
// The whole frame of a control of the given size, over a two-pixel ring in the control's colour (unless
// `keepOuterRing`): flat styles in `frameColor`, others in system colours on clWindow, else in shades of `color`.
void PaintControlFrame(TCanvas* canvas, int width, int height, TFrameStyle frameStyle, TColor color, TColor frameColor,
    TSides frameSides, bool keepOuterRing);
// The arrow of a drop-down button.
void PaintDropArrow(TCanvas* canvas, TRect bounds, bool themed, bool enabled, bool pressed);

// --- Fonts -----------------------------------------------------------------------------------------------------
// A new font like `font` turned by `angle` degrees; the caller hands it to a TFont, which owns it then.
HFONT CreateAngledFont(TFont* font, int angle);
// Only scalable faces can be turned.
bool FontIsTrueType(TFont* font);

// --- Parents and the designer ----------------------------------------------------------------------------------
// Paints the parent's background and face under `control` into `dc` (the parent's WM_ERASEBKGND and WM_PAINT
// through the DC moved to the control's place); then, with `invalidateOtherParent`, invalidates a parent that
// does not paint through a canvas of its own.
void PaintParentBackground(TControl* control, HDC dc, bool invalidateOtherParent);
// Tells the form designer that the form changed; there is no designer in this program, so this does nothing.
void NotifyDesignerChanged(TControl* control);

// --- Stored properties -----------------------------------------------------------------------------------------
// One value a control stores with its form beyond its published properties, as text.
struct TFrStoredValue {
    std::string Name;
    std::string Value;
    friend bool operator==(const TFrStoredValue&, const TFrStoredValue&) = default;
};
// The frame style of an identifier ("fsLowered"); false for an unknown one.
bool FrameStyleFromIdent(std::string_view ident, TFrameStyle& style);
