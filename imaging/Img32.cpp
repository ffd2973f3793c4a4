#include "imaging/Img32.h"

#include "framework/core/Numbers.h"
#include "imaging/Img32_lowlevel.h"
#include "platform/win/Windows.h"

#include <cmath>

namespace Img32 {

namespace {

    // Rounds to the nearest integer, halves to even, as every float-to-integer step of the imaging code does.
    int32_t RoundInt(double value)
    {
        return static_cast<int32_t>(Round(value));
    }

} // namespace

uint8_t GAMMA_TABLE[256];

// NOTE: drawing code reads the table directly, so it is filled when the library starts, before main, rather than
// on first use; nothing in the imaging code draws from a static initialiser.
static const bool kGammaFilled = (SetGamma(0.7f), true);

TColor32 Color32(TColor winColor)
{
    if (winColor < 0)
        winColor = TColor(GetSysColor(winColor & 0xFF));
    return Img32_lowlevel::ColorSwap(winColor);
}

TColor32 Color32(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    return (TColor32(a) << 24) | (TColor32(r) << 16) | (TColor32(g) << 8) | b;
}

TColor32 Color32(uint8_t index, const TPalette32& palette)
{
    return palette[index];
}

TColor32 Gray32(uint8_t intensity, uint8_t alpha)
{
    return (TColor32(alpha) << 24) + TColor32(intensity) * 0x010101u;
}

TColor WinColor(TColor32 color32)
{
    return TColor(((color32 & 0xFF0000) >> 16) | (color32 & 0xFF00) | ((color32 & 0xFF) << 16));
}

TArrayOfColor32 ArrayOfColor32(std::initializer_list<TColor32> colors)
{
    return TArrayOfColor32(colors);
}

int Intensity(TColor32 color32)
{
    return (RedComponent(color32) * 61 + GreenComponent(color32) * 174 + BlueComponent(color32) * 21) >> 8;
}

TColor32 SetAlpha(TColor32 color32, int newAlpha)
{
    return (color32 & 0x00FFFFFF) | (TColor32(Img32_lowlevel::Clamp(newAlpha)) << 24);
}

TColor32 HSLtoRGB(float h, float s, float l)
{
    const double H = h, S = s, L = l;
    if (S == 0) {
        const int v = RoundInt(L * 255);
        return Color32(uint8_t(v), uint8_t(v), uint8_t(v), 255);
    }
    const double m2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
    const double m1 = 2 * L - m2;
    auto channel = [&](double hue) {
        hue = hue - std::floor(hue);
        double v;
        if (6 * hue < 1)
            v = m1 + (m2 - m1) * hue * 6;
        else if (2 * hue < 1)
            v = m2;
        else if (3 * hue < 2)
            v = m1 + (m2 - m1) * (2.0 / 3 - hue) * 6;
        else
            v = m1;
        return uint8_t(Img32_lowlevel::Clamp(RoundInt(v * 255)));
    };
    return Color32(channel(H + 1.0 / 3), channel(H), channel(H - 1.0 / 3), 255);
}

void RGBtoHSL(TColor32 color32, float& h, float& s, float& l)
{
    const double r = RedComponent(color32) / 255.0;
    const double g = GreenComponent(color32) / 255.0;
    const double b = BlueComponent(color32) / 255.0;
    const double mx = std::max(r, std::max(g, b));
    const double mn = std::min(r, std::min(g, b));
    const double L = (mx + mn) / 2;
    l = float(L);
    if (mx == mn) {
        h = 0;
        s = 0;
        return;
    }
    const double d = mx - mn;
    s = float(L < 0.5 ? d / (mx + mn) : d / (2 - mx - mn));
    double H;
    if (r == mx)
        H = (g - b) / d;
    else if (g == mx)
        H = 2 + (b - r) / d;
    else
        H = 4 + (r - g) / d;
    H = H / 6;
    if (H < 0)
        H += 1;
    h = float(H);
}

TFixed Fixed(float s)
{
    return RoundInt(double(s) * 65536);
}

TFixed Fixed(int i)
{
    return TFixed(uint32_t(i) << 16);
}

TFixed FixedFloor(TFixed a)
{
    return a >> 16;
}

// The additions wrap like the processor's, rather than overflow, for values near the ends of the range.
TFixed FixedCeil(TFixed a)
{
    return int32_t(uint32_t(a) + 0xFFFFu) >> 16;
}

TFixed FixedRound(TFixed a)
{
    return int32_t(uint32_t(a) + 0x7FFFu) >> 16;
}

TFixed FixedMul(TFixed a, TFixed b)
{
    return Img32_lowlevel::MulDiv(a, b, 65536);
}

TFixed FixedDiv(TFixed a, TFixed b)
{
    return Img32_lowlevel::MulDiv(a, 65536, b);
}

TPoint Point(int x, int y)
{
    return TPoint { x, y };
}

TPoint Point(const TFloatPoint& p)
{
    return TPoint { RoundInt(p.X), RoundInt(p.Y) };
}

TPoint Point(const TFixedPoint& p)
{
    return TPoint { FixedRound(p.X), FixedRound(p.Y) };
}

TFloatPoint FloatPoint(float x, float y)
{
    return TFloatPoint { x, y };
}

TFloatPoint FloatPoint(const TPoint& p)
{
    return TFloatPoint { float(p.X), float(p.Y) };
}

TFloatPoint FloatPoint(const TFixedPoint& p)
{
    return TFloatPoint { float(p.X / 65536.0), float(p.Y / 65536.0) };
}

TFixedPoint FixedPoint(int x, int y)
{
    return TFixedPoint { Fixed(x), Fixed(y) };
}

TFixedPoint FixedPoint(float x, float y)
{
    return TFixedPoint { Fixed(x), Fixed(y) };
}

TFixedPoint FixedPoint(const TPoint& p)
{
    return FixedPoint(p.X, p.Y);
}

TFixedPoint FixedPoint(const TFloatPoint& p)
{
    return FixedPoint(p.X, p.Y);
}

TRect MakeRect(int l, int t, int r, int b)
{
    return TRect { l, t, r, b };
}

TRect MakeRect(const TFloatRect& fr, TRectRounding rounding)
{
    TRect r;
    switch (rounding) {
    case rrClosest:
        r = { RoundInt(fr.Left), RoundInt(fr.Top), RoundInt(fr.Right), RoundInt(fr.Bottom) };
        break;
    case rrOutside:
        r = { int32_t(Floor(fr.Left)), int32_t(Floor(fr.Top)), int32_t(Ceil(fr.Right)), int32_t(Ceil(fr.Bottom)) };
        break;
    case rrInside:
        r = { int32_t(Ceil(fr.Left)), int32_t(Ceil(fr.Top)), int32_t(Floor(fr.Right)), int32_t(Floor(fr.Bottom)) };
        if (r.Right < r.Left)
            r.Right = r.Left;
        if (r.Bottom < r.Top)
            r.Bottom = r.Top;
        break;
    }
    return r;
}

TRect MakeRect(const TFixedRect& fxr, TRectRounding rounding)
{
    TRect r;
    switch (rounding) {
    case rrClosest:
        r = { FixedRound(fxr.Left), FixedRound(fxr.Top), FixedRound(fxr.Right), FixedRound(fxr.Bottom) };
        break;
    case rrOutside:
        r = { FixedFloor(fxr.Left), FixedFloor(fxr.Top), FixedCeil(fxr.Right), FixedCeil(fxr.Bottom) };
        break;
    case rrInside:
        r = { FixedCeil(fxr.Left), FixedCeil(fxr.Top), FixedFloor(fxr.Right), FixedFloor(fxr.Bottom) };
        if (r.Right < r.Left)
            r.Right = r.Left;
        if (r.Bottom < r.Top)
            r.Bottom = r.Top;
        break;
    }
    return r;
}

TFloatRect FloatRect(float l, float t, float r, float b)
{
    return TFloatRect { l, t, r, b };
}

TFloatRect FloatRect(const TRect& r)
{
    return TFloatRect { float(r.Left), float(r.Top), float(r.Right), float(r.Bottom) };
}

bool IntersectRect(TRect& dst, const TRect& r1, const TRect& r2)
{
    const TRect r { std::max(r1.Left, r2.Left), std::max(r1.Top, r2.Top), std::min(r1.Right, r2.Right),
        std::min(r1.Bottom, r2.Bottom) };
    const bool result = r.Right >= r.Left && r.Bottom >= r.Top;
    dst = result ? r : TRect {};
    return result;
}

bool IntersectRectF(TFloatRect& dst, const TFloatRect& r1, const TFloatRect& r2)
{
    const TFloatRect r { std::max(r1.Left, r2.Left), std::max(r1.Top, r2.Top), std::min(r1.Right, r2.Right),
        std::min(r1.Bottom, r2.Bottom) };
    const bool result = r.Right >= r.Left && r.Bottom >= r.Top;
    dst = result ? r : TFloatRect {};
    return result;
}

bool EqualRect(const TRect& r1, const TRect& r2)
{
    return r1 == r2;
}

void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void InflateRectF(TFloatRect& r, float dx, float dy)
{
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void OffsetRectF(TFloatRect& r, float dx, float dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

bool IsRectEmpty(const TRect& r)
{
    return !(r.Left < r.Right && r.Top < r.Bottom);
}

bool IsRectEmptyF(const TFloatRect& r)
{
    return !(r.Left < r.Right && r.Top < r.Bottom);
}

bool PtInRect(const TRect& r, const TPoint& p)
{
    return r.Left <= p.X && p.X < r.Right && r.Top <= p.Y && p.Y < r.Bottom;
}

void SetGamma(float gamma)
{
    for (int i = 0; i < 256; ++i)
        GAMMA_TABLE[i] = uint8_t(Img32_lowlevel::Clamp(RoundInt(255 * std::pow(i / 255.0, double(gamma)))));
}

} // namespace Img32
