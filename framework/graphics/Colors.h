// TColor, the framework's colour constants and the conversions between colours, RGB values and identifiers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// 0x00BBGGRR for a plain colour; a negative value (0x80000000 | index) names a system colour, resolved by
// ColorToRGB. The values 0x1FFFFFFF (clNone) and 0x20000000 (clDefault) are markers, never drawn.
using TColor = int32_t;

namespace ColorsDetail {
constexpr TColor SystemColor(int index)
{
    return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index));
}
} // namespace ColorsDetail

constexpr TColor clScrollBar = ColorsDetail::SystemColor(0);
constexpr TColor clBackground = ColorsDetail::SystemColor(1);
constexpr TColor clActiveCaption = ColorsDetail::SystemColor(2);
constexpr TColor clInactiveCaption = ColorsDetail::SystemColor(3);
constexpr TColor clMenu = ColorsDetail::SystemColor(4);
constexpr TColor clWindow = ColorsDetail::SystemColor(5);
constexpr TColor clWindowFrame = ColorsDetail::SystemColor(6);
constexpr TColor clMenuText = ColorsDetail::SystemColor(7);
constexpr TColor clWindowText = ColorsDetail::SystemColor(8);
constexpr TColor clCaptionText = ColorsDetail::SystemColor(9);
constexpr TColor clActiveBorder = ColorsDetail::SystemColor(10);
constexpr TColor clInactiveBorder = ColorsDetail::SystemColor(11);
constexpr TColor clAppWorkSpace = ColorsDetail::SystemColor(12);
constexpr TColor clHighlight = ColorsDetail::SystemColor(13);
constexpr TColor clHighlightText = ColorsDetail::SystemColor(14);
constexpr TColor clBtnFace = ColorsDetail::SystemColor(15);
constexpr TColor clBtnShadow = ColorsDetail::SystemColor(16);
constexpr TColor clGrayText = ColorsDetail::SystemColor(17);
constexpr TColor clBtnText = ColorsDetail::SystemColor(18);
constexpr TColor clInactiveCaptionText = ColorsDetail::SystemColor(19);
constexpr TColor clBtnHighlight = ColorsDetail::SystemColor(20);
constexpr TColor cl3DDkShadow = ColorsDetail::SystemColor(21);
constexpr TColor cl3DLight = ColorsDetail::SystemColor(22);
constexpr TColor clInfoText = ColorsDetail::SystemColor(23);
constexpr TColor clInfoBk = ColorsDetail::SystemColor(24);
constexpr TColor clHotLight = ColorsDetail::SystemColor(26);
constexpr TColor clGradientActiveCaption = ColorsDetail::SystemColor(27);
constexpr TColor clGradientInactiveCaption = ColorsDetail::SystemColor(28);
constexpr TColor clMenuHighlight = ColorsDetail::SystemColor(29);
constexpr TColor clMenuBar = ColorsDetail::SystemColor(30);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of `color`: system colours through the system colour table, anything else unchanged.
int32_t ColorToRGB(TColor color);

// "clRed" for a colour with an identifier, otherwise "$00BBGGRR" (eight hex digits).
std::string ColorToString(TColor color);
// The inverse of ColorToString: an identifier (compared case-insensitively) or a number ("$FF", "255",
// "-2147483633"). Raises EConvertError for anything else.
TColor StringToColor(std::string_view text);
bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(std::string_view ident, TColor& color);
// Calls `proc` with every colour identifier in the framework's table order: the 16 standard colours, the
// 4 extended ones, then the system colours with clDefault and clNone among them.
void GetColorValues(const std::function<void(const std::string& ident)>& proc);
