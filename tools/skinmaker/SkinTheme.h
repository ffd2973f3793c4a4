// The colours, font and sizes that every picture of the program's skins is drawn with.
#pragma once
#include "tools/skinmaker/TSkinPainter.h"

#include <string_view>

// A light theme with one accent: light grey window bodies, white fields and lists, a dark slate title bar and
// a blue accent for focus, selection, progress and the main command.
namespace SkinTheme {

inline const TPaint Body = Rgb(0xF3F5F8);
inline const TPaint Surface = Rgb(0xFFFFFF);
inline const TPaint Band = Rgb(0xE8ECF1);
inline const TPaint Border = Rgb(0xD3D9E1);
inline const TPaint StrongBorder = Rgb(0xB4BDC9);
inline const TPaint Text = Rgb(0x1E2530);
inline const TPaint MutedText = Rgb(0x5A6473);
inline const TPaint DisabledText = Rgb(0xA5ADB8);
inline const TPaint Accent = Rgb(0x2E6BE6);
inline const TPaint AccentHot = Rgb(0x4A82EE);
inline const TPaint AccentDown = Rgb(0x2257C2);
inline const TPaint AccentSoft = Rgb(0xE2EBFC);
inline const TPaint AccentSoftDown = Rgb(0xCBDAF8);
inline const TPaint Progress = Rgb(0x6E9CF2);
inline const TPaint HoverFill = Rgb(0xE3E8EF);
inline const TPaint DownFill = Rgb(0xD3DBE6);
inline const TPaint CaptionTop = Rgb(0x232B37);
inline const TPaint CaptionBottom = Rgb(0x1A212B);
inline const TPaint InactiveCaptionTop = Rgb(0x3C4552);
inline const TPaint InactiveCaptionBottom = Rgb(0x353D49);
inline const TPaint CaptionText = Rgb(0xF1F4F8);
inline const TPaint InactiveCaptionText = Rgb(0xAAB3BF);
inline const TPaint WindowEdge = Rgb(0x59626F);
inline const TPaint CloseHot = Rgb(0xE0454B);
inline const TPaint CloseDown = Rgb(0xB8353A);
inline const TPaint Preview = Rgb(0x12161C);

// The type of every text the skins draw and name: DejaVu Sans, 12 pixels to the em at 96 dpi. Records name
// the cell height, 14 pixels, as skins do.
constexpr std::string_view FontName = "DejaVu Sans";
constexpr int FontPixels = 12;
constexpr int RecordFontHeight = 14;

} // namespace SkinTheme
