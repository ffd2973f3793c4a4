// The pictures of the program's small windows, drawn in the skins' theme: the splash with its edition caption and
// edition strips, the stop prompt's sign and the shutdown countdown's power mark. Each is written as a 24-bit BMP
// beside the skins.
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinDescription.h"
#include "tools/skinmaker/TSkinPainter.h"

#include "imaging/TBitmap32.h"
#include "platform/gdi/Text.h"

#include <cmath>
#include <numbers>

namespace {

using namespace SkinTheme;

const TPaint SplashTop = Rgb(0x1D3F7A);
const TPaint SplashBottom = Rgb(0x0B1830);

// The splash: a night-blue field with a strip of film, the program's name, and a pale band at the top right where
// the version line is written in black. The status line (white) sits on the dark field at the bottom right.
void DrawSplash(TBitmap32& picture)
{
    picture.SetSize(553, 260);
    TSkinPainter painter(picture);
    painter.FillRoundRect(TFloatRect { 0, 0, 553, 260 }, 0, TFill(SplashTop, SplashBottom));
    painter.FillRoundRect(TFloatRect { 350, 8, 553, 34 }, 0, TFill(Rgb(0xDDE6F5), Rgb(0xC9D6EE), false));
    // The film strip across the middle, with its holes.
    painter.FillRoundRect(TFloatRect { 0, 64, 553, 112 }, 0, Rgb(0x000000, 0.35f));
    for (int i = 0; i < 28; ++i) {
        const float x = 6 + float(i) * 20;
        painter.FillRoundRect(TFloatRect { x, 68, x + 9, 74 }, 1.5f, Rgb(0xFFFFFF, 0.45f));
        painter.FillRoundRect(TFloatRect { x, 102, x + 9, 108 }, 1.5f, Rgb(0xFFFFFF, 0.45f));
    }
    painter.FillCircle(60, 88, 13, TFill(AccentHot, Accent));
    painter.FillPolygon({ { 55, 80 }, { 68, 88 }, { 55, 96 } }, Rgb(0xFFFFFF));
    painter.Text(TRect { 84, 70, 360, 106 }, "Tarnwick Pro", FontName, 30, true, Rgb(0xFFFFFF),
        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    painter.Text(TRect { 24, 128, 340, 148 }, "Batch video converter", FontName, 14, false, Rgb(0xC7D4EA),
        DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

// The edition caption shown on the splash: a rounded badge.
void DrawEditionCaption(TBitmap32& picture)
{
    picture.SetSize(200, 34);
    TSkinPainter painter(picture);
    painter.FillRoundRect(TFloatRect { 0, 0, 200, 34 }, 0, Mix(SplashTop, SplashBottom, 0.46f));
    painter.FillRoundRect(TFloatRect { 2, 2, 198, 32 }, 8, TFill(Rgb(0xF2B33D), Rgb(0xD98E1C)));
    painter.Text(TRect { 2, 2, 198, 32 }, "PROFESSIONAL EDITION", FontName, 13, true, Rgb(0x2A1A05),
        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// An edition strip: the output formats the edition writes, as small tags on a dark bar.
void DrawEditionStrip(TBitmap32& picture, bool professional)
{
    picture.SetSize(331, 39);
    TSkinPainter painter(picture);
    painter.FillRoundRect(TFloatRect { 0, 0, 331, 39 }, 0, Mix(SplashTop, SplashBottom, 0.72f));
    const char* formats[] = { "AVI", "MPEG", "WMV", "RM", "MOV", "MP4", "3GP", "FLV" };
    const int count = professional ? 8 : 4;
    for (int i = 0; i < count; ++i) {
        const float x = 4 + float(i) * 41;
        painter.FillRoundRect(TFloatRect { x, 8, x + 37, 31 }, 5, TFill(AccentHot, AccentDown));
        painter.Text(TRect { int(x), 8, int(x) + 37, 31 }, formats[i], FontName, 11, true, Rgb(0xFFFFFF),
            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// The stop prompt's picture: a red octagon with a white bar, on the dialogs' body colour.
void DrawStopSign(TBitmap32& picture)
{
    picture.SetSize(64, 64);
    TSkinPainter painter(picture);
    painter.FillRoundRect(TFloatRect { 0, 0, 64, 64 }, 0, Body);
    std::vector<TFloatPoint> octagon;
    for (int i = 0; i < 8; ++i) {
        const double angle = std::numbers::pi / 8 + double(i) * std::numbers::pi / 4;
        octagon.push_back({ float(32 + 29 * std::cos(angle)), float(32 + 29 * std::sin(angle)) });
    }
    painter.FillPolygon(octagon, CloseDown);
    for (TFloatPoint& point : octagon)
        point = { 32 + (point.X - 32) * 0.86f, 32 + (point.Y - 32) * 0.86f };
    painter.FillPolygon(octagon, CloseHot);
    painter.FillRoundRect(TFloatRect { 15, 28, 49, 36 }, 2, Rgb(0xFFFFFF));
}

// The shutdown countdown's picture: a power mark in a blue ring, on the dialogs' body colour.
void DrawPowerMark(TBitmap32& picture)
{
    picture.SetSize(68, 69);
    TSkinPainter painter(picture);
    painter.FillRoundRect(TFloatRect { 0, 0, 68, 69 }, 0, Body);
    painter.FillCircle(34, 34.5f, 30, TFill(AccentHot, AccentDown));
    const float pi = std::numbers::pi_v<float>;
    painter.Arc(34, 36, 15, -pi / 2 + 0.6f, 3 * pi / 2 - 0.6f, 5, Rgb(0xFFFFFF));
    painter.Line(34, 15, 34, 33, 5, Rgb(0xFFFFFF));
}

} // namespace

namespace SkinMaker {

void WriteAppPictures(const std::string& folder)
{
    TBitmap32 picture;
    DrawSplash(picture);
    SaveAs24BitBmp(picture, folder + "Splash.bmp");
    DrawEditionCaption(picture);
    SaveAs24BitBmp(picture, folder + "SplashProText.bmp");
    DrawEditionStrip(picture, true);
    SaveAs24BitBmp(picture, folder + "SplashEditionPro.bmp");
    DrawEditionStrip(picture, false);
    SaveAs24BitBmp(picture, folder + "SplashEditionStd.bmp");
    DrawStopSign(picture);
    SaveAs24BitBmp(picture, folder + "StopPrompt.bmp");
    DrawPowerMark(picture);
    SaveAs24BitBmp(picture, folder + "Shutdown.bmp");
}

} // namespace SkinMaker
