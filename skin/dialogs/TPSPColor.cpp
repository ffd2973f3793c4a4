#include "skin/dialogs/TPSPColor.h"

#include "framework/core/Numbers.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::clamp<int64_t>(Round(value), 0, 255)); }

double Channel(double m1, double m2, double h)
{
    if (h < 0)
        h += 1;
    else if (h > 1)
        h -= 1;
    if (6 * h < 1)
        return m1 + (m2 - m1) * 6 * h;
    if (2 * h < 1)
        return m2;
    if (3 * h < 2)
        return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
    return m1;
}

} // namespace

THSL RGBToHSL(const TRGB& rgb)
{
    const double r = rgb.R / 255.0, g = rgb.G / 255.0, b = rgb.B / 255.0;
    const double max = std::max({ r, g, b }), min = std::min({ r, g, b });
    THSL hsl;
    hsl.L = (max + min) / 2;
    if (max == min)
        return hsl;
    const double d = max - min;
    hsl.S = hsl.L < 0.5 ? d / (max + min) : d / (2 - max - min);
    double h;
    if (max == r)
        h = (g - b) / d;
    else if (max == g)
        h = (b - r) / d + 2;
    else
        h = (r - g) / d + 4;
    h /= 6;
    if (h < 0)
        h += 1;
    hsl.H = h;
    return hsl;
}

TRGB HSLToRGB(const THSL& hsl)
{
    if (hsl.S == 0) {
        const uint8_t grey = ToByte(hsl.L * 255);
        return { grey, grey, grey };
    }
    const double m2 = hsl.L <= 0.5 ? hsl.L * (1 + hsl.S) : hsl.L + hsl.S - hsl.L * hsl.S;
    const double m1 = 2 * hsl.L - m2;
    return { ToByte(Channel(m1, m2, hsl.H + 1.0 / 3.0) * 255), ToByte(Channel(m1, m2, hsl.H) * 255),
        ToByte(Channel(m1, m2, hsl.H - 1.0 / 3.0) * 255) };
}

THSLPSP HSLToHSLPSP(const THSL& hsl) { return { ToByte(hsl.H * 255), ToByte(hsl.S * 255), ToByte(hsl.L * 255) }; }

THSL HSLPSPToHSL(const THSLPSP& hsl) { return { hsl.H / 255.0, hsl.S / 255.0, hsl.L / 255.0 }; }

void TPSPColor::SetRGB(const TRGB& value)
{
    FRGB = value;
    FHSL = RGBToHSL(FRGB);
    FHSLPSP = HSLToHSLPSP(FHSL);
}

void TPSPColor::SeTHSL(const THSL& value)
{
    FHSL = value;
    FRGB = HSLToRGB(FHSL);
    FHSLPSP = HSLToHSLPSP(FHSL);
}

void TPSPColor::SeTHSLPSP(const THSLPSP& value)
{
    FHSLPSP = value;
    // The fractions come back from the bytes, not from whatever produced the bytes.
    FHSL = HSLPSPToHSL(FHSLPSP);
    FRGB = HSLToRGB(FHSL);
}

TRGB ColorToBytes(TColor color)
{
    const auto c = static_cast<uint32_t>(color);
    return { static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
        static_cast<uint8_t>((c >> 16) & 0xFF) };
}

TColor BytesToColor(uint8_t r, uint8_t g, uint8_t b) { return static_cast<TColor>(r + 256 * g + 65536 * b); }

TIntHSV RGBToIntHSV(int r, int g, int b)
{
    const int bytes[3] = { r, g, b };
    int largest = r >= g ? 0 : 1;
    if (b > bytes[largest])
        largest = 2;
    int smallest = r <= g ? 0 : 1;
    if (b < bytes[smallest])
        smallest = 2;
    const double d = bytes[largest] - bytes[smallest];
    TIntHSV hsv;
    if (d == 0) {
        // A grey has no hue; 0 rather than whatever the edit last showed.
        hsv.V = static_cast<int>(Round(r * 100.0 / 255));
        return hsv;
    }
    hsv.S = static_cast<int>(Round(d / bytes[largest] * 100));
    hsv.V = static_cast<int>(Round(bytes[largest] / 255.0 * 100));
    double h = ((r - g) / d + 2.0 * largest) / 6;
    if (h < 0)
        h += 1;
    hsv.H = static_cast<int>(Round(h * 359));
    if (hsv.S != 0) {
        const TRGB rgb { static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b) };
        hsv.H = static_cast<int>(Round(RGBToHSL(rgb).H * 359));
    }
    return hsv;
}

TRGB IntHSVToRGB(int h, int s, int v)
{
    const double value = v * 255.0 / 100, sat = s / 100.0;
    if (sat == 0) {
        const uint8_t grey = ToByte(value);
        return { grey, grey, grey };
    }
    const double hh = h / 60.0;
    const int i = static_cast<int>(std::floor(hh));
    const double f = hh - i;
    const double p = value * (1 - sat), q = value * (1 - sat * f), t = value * (1 - sat * (1 - f));
    double rgb[3];
    switch (i) {
    case 0: rgb[0] = value, rgb[1] = t, rgb[2] = p; break;
    case 1: rgb[0] = q, rgb[1] = value, rgb[2] = p; break;
    case 2: rgb[0] = p, rgb[1] = value, rgb[2] = t; break;
    case 3: rgb[0] = p, rgb[1] = q, rgb[2] = value; break;
    case 4: rgb[0] = t, rgb[1] = p, rgb[2] = value; break;
    default: rgb[0] = value, rgb[1] = p, rgb[2] = q; break;
    }
    return { ToByte(rgb[0]), ToByte(rgb[1]), ToByte(rgb[2]) };
}
