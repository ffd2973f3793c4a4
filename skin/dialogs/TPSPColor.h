// The colour model of the colour dialog and its grids: TPSPColor holds one colour as RGB bytes, as HSL fractions
// and as HSL bytes at once, and the byte routines of the dialog's number edits (a TColor split into bytes and back,
// RGB bytes to integer hue, saturation and value and back). Pure arithmetic; every rounding is halves to even.
#pragma once
#include "framework/graphics/Colors.h"

#include <cstdint>

struct TRGB {
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
};

// Fractions 0 .. 1; H is a fraction of a full turn (0 red, 1/3 green, 2/3 blue).
struct THSL {
    double H = 0;
    double S = 0;
    double L = 0;
};

// The fractions times 255, rounded.
struct THSLPSP {
    uint8_t H = 0;
    uint8_t S = 0;
    uint8_t L = 0;
};

THSL RGBToHSL(const TRGB& rgb);
TRGB HSLToRGB(const THSL& hsl);
THSLPSP HSLToHSLPSP(const THSL& hsl);
THSL HSLPSPToHSL(const THSLPSP& hsl);

// One colour in three forms; setting one form recomputes the other two.
class TPSPColor final {
public:
    const TRGB& RGB() const { return FRGB; }
    const THSL& HSL() const { return FHSL; }
    const THSLPSP& HSLPSP() const { return FHSLPSP; }
    void SetRGB(const TRGB& value);
    void SetRGB(uint8_t r, uint8_t g, uint8_t b) { SetRGB(TRGB { r, g, b }); }
    void SeTHSL(const THSL& value);
    void SeTHSLPSP(const THSLPSP& value);
    // Copies all three forms as they are.
    void Assign(const TPSPColor& source) { *this = source; }

private:
    TRGB FRGB;
    THSL FHSL;
    THSLPSP FHSLPSP;
};

// Integer hue 0 .. 359, saturation and value 0 .. 100, as the dialog's H, S and L edits show them.
struct TIntHSV {
    int H = 0;
    int S = 0;
    int V = 0;
};

// The bytes of a colour as stored (a system colour is not resolved): red is the lowest byte.
TRGB ColorToBytes(TColor color);
TColor BytesToColor(uint8_t r, uint8_t g, uint8_t b);
// A grey has no hue of its own: its H is 0.
TIntHSV RGBToIntHSV(int r, int g, int b);
TRGB IntHSVToRGB(int h, int s, int v);
