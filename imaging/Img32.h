// The routines that build, split and convert colours, 16.16 numbers, points and rectangles, and the gamma table.
#pragma once
#include "imaging/Img32Types.h"

#include <cstdint>
#include <initializer_list>

namespace Img32 {

// Colours.
// From a framework colour; a negative value is first replaced by the system colour of index (value and 0xFF).
TColor32 Color32(TColor winColor);
TColor32 Color32(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 0xFF);
TColor32 Color32(uint8_t index, const TPalette32& palette);
TColor32 Gray32(uint8_t intensity, uint8_t alpha = 0xFF);
// The framework colour 0x00BBGGRR; alpha is dropped.
TColor WinColor(TColor32 color32);
TArrayOfColor32 ArrayOfColor32(std::initializer_list<TColor32> colors);
inline int RedComponent(TColor32 c)
{
    return (c >> 16) & 0xFF;
}
inline int GreenComponent(TColor32 c)
{
    return (c >> 8) & 0xFF;
}
inline int BlueComponent(TColor32 c)
{
    return c & 0xFF;
}
inline int AlphaComponent(TColor32 c)
{
    return c >> 24;
}
// (R x 61 + G x 174 + B x 21) shr 8.
int Intensity(TColor32 color32);
// The colour bytes kept, alpha = newAlpha limited to 0..255.
TColor32 SetAlpha(TColor32 color32, int newAlpha);
// Hue, saturation and lightness in 0..1.
TColor32 HSLtoRGB(float h, float s, float l);
void RGBtoHSL(TColor32 color32, float& h, float& s, float& l);

// 16.16 fixed point.
TFixed Fixed(float s);
TFixed Fixed(int i);
TFixed FixedFloor(TFixed a);
TFixed FixedCeil(TFixed a);
// Exact halves go down: FixedRound(0x8000) is 0.
TFixed FixedRound(TFixed a);
TFixed FixedMul(TFixed a, TFixed b);
TFixed FixedDiv(TFixed a, TFixed b);

// Points.
TPoint Point(int x, int y);
TPoint Point(const TFloatPoint& p);
TPoint Point(const TFixedPoint& p);
TFloatPoint FloatPoint(float x, float y);
TFloatPoint FloatPoint(const TPoint& p);
TFloatPoint FloatPoint(const TFixedPoint& p);
TFixedPoint FixedPoint(int x, int y);
TFixedPoint FixedPoint(float x, float y);
TFixedPoint FixedPoint(const TPoint& p);
TFixedPoint FixedPoint(const TFloatPoint& p);

// Rectangles (half-open).
TRect MakeRect(int l, int t, int r, int b);
TRect MakeRect(const TFloatRect& fr, TRectRounding rounding = rrClosest);
TRect MakeRect(const TFixedRect& fxr, TRectRounding rounding = rrClosest);
TFloatRect FloatRect(float l, float t, float r, float b);
TFloatRect FloatRect(const TRect& r);
// dst = r1 ∩ r2; a zero-width or zero-height result still counts. On false dst becomes (0, 0, 0, 0).
// dst may be r1 or r2.
bool IntersectRect(TRect& dst, const TRect& r1, const TRect& r2);
bool IntersectRectF(TFloatRect& dst, const TFloatRect& r1, const TFloatRect& r2);
bool EqualRect(const TRect& r1, const TRect& r2);
void InflateRect(TRect& r, int dx, int dy);
void InflateRectF(TFloatRect& r, float dx, float dy);
void OffsetRect(TRect& r, int dx, int dy);
void OffsetRectF(TFloatRect& r, float dx, float dy);
bool IsRectEmpty(const TRect& r);
bool IsRectEmptyF(const TFloatRect& r);
bool PtInRect(const TRect& r, const TPoint& p);

// The gamma table of antialiased drawing: entry i = 255 x (i / 255)^gamma rounded, halves to even.
// Filled with gamma 0.7 before first use; SetGamma refills it.
extern uint8_t GAMMA_TABLE[256];
void SetGamma(float gamma);

} // namespace Img32
