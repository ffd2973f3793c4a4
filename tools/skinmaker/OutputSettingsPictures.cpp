// The formats' pictures: the output settings window's 71 x 81 tile for each output format, with a film frame and
// the format's name, and its two 700 x 40 header bands; and the main window's 16 x 16 format icons.
#include "imaging/PngCodec.h"
#include "imaging/TBitmap32.h"
#include "imaging/TPNGObject.h"
#include "platform/gdi/Text.h"
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/SkinTheme.h"
#include "tools/skinmaker/TSkinPainter.h"

using namespace SkinTheme;

namespace {

struct TFormatTile {
    const char* File;
    const char* Label;
    uint32_t Top;
    uint32_t Bottom;
};

// One colour pair per format, so the row tells them apart at a glance.
const TFormatTile kTiles[] = {
    { "AVI", "AVI", 0x3D80DF, 0x1B4A9A },
    { "MPEG", "MPEG", 0x7A5BD6, 0x45308F },
    { "WMV", "WMV", 0x2FA37A, 0x16684B },
    { "RMVB", "RMVB", 0xD9673A, 0x97401E },
    { "MOV", "MOV", 0x8A96A8, 0x4E5868 },
    { "MP4", "MP4", 0x2E6BE6, 0x17408F },
    { "3GP", "3GP", 0xC9A227, 0x85690F },
    { "FLV", "FLV", 0xD64550, 0x8F222B },
};

constexpr int kTileWidth = 71;
constexpr int kTileHeight = 81;

void DrawTile(TBitmap32& tile, const TFormatTile& format)
{
    tile.SetSize(kTileWidth, kTileHeight);
    TSkinPainter p(tile);
    p.FillRoundRect(TFloatRect { 0, 0, kTileWidth, kTileHeight }, 0, Body);
    p.FillRoundRect(
        TFloatRect { 3, 3, kTileWidth - 3, kTileHeight - 3 }, 7, TFill(Rgb(format.Top), Rgb(format.Bottom)));
    p.StrokeRoundRect(TFloatRect { 3.5f, 3.5f, kTileWidth - 3.5f, kTileHeight - 3.5f }, 7, 1, WindowEdge);
    // A frame of film with its holes along the top and bottom.
    p.FillRoundRect(TFloatRect { 13, 12, kTileWidth - 13, 48 }, 2, Rgb(0xFFFFFF, 0.9f));
    p.FillRoundRect(TFloatRect { 19, 20, kTileWidth - 19, 40 }, 1, Rgb(format.Bottom));
    for (int i = 0; i < 5; ++i) {
        const float x = 16.0f + float(i) * 8.5f;
        p.FillRoundRect(TFloatRect { x, 14, x + 4, 17 }, 1, Rgb(format.Bottom));
        p.FillRoundRect(TFloatRect { x, 43, x + 4, 46 }, 1, Rgb(format.Bottom));
    }
    p.FillPolygon({ { 31, 25 }, { 41, 30 }, { 31, 35 } }, Rgb(0xFFFFFF));
    p.Text(TRect { 4, 52, kTileWidth - 4, kTileHeight - 6 }, format.Label, FontName, 14, true, CaptionText,
        DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// The format's icon: a square in its colours with a white play mark, opaque so that it reads on any row colour.
void DrawIcon(TBitmap32& icon, const TFormatTile& format)
{
    icon.SetSize(16, 16);
    TSkinPainter p(icon);
    p.FillRoundRect(TFloatRect { 0, 0, 16, 16 }, 0, Rgb(format.Bottom));
    p.FillRoundRect(TFloatRect { 1, 1, 15, 15 }, 0, TFill(Rgb(format.Top), Rgb(format.Bottom)));
    p.FillPolygon({ { 5.5f, 4 }, { 12, 8 }, { 5.5f, 12 } }, Rgb(0xFFFFFF));
}

void SaveAsPng(const TBitmap32& picture, const std::string& path)
{
    TPNGObject png(COLOR_RGB, 8, picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor32 c = picture.Pixel(x, y);
            png.SetPixels(x, y, TColor((c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16));
        }
    png.SaveToFile(path);
}

// A band in the title bar's colours with a strip of film holes; the second in the accent's.
void DrawHeader(TBitmap32& header, const TPaint& top, const TPaint& bottom)
{
    header.SetSize(700, 40);
    TSkinPainter p(header);
    p.FillRoundRect(TFloatRect { 0, 0, 700, 40 }, 0, TFill(top, bottom));
    for (int i = 0; i < 40; ++i) {
        const float x = 8.0f + float(i) * 17.5f;
        p.FillRoundRect(TFloatRect { x, 4, x + 7, 9 }, 1, Rgb(0xFFFFFF, 0.35f));
        p.FillRoundRect(TFloatRect { x, 31, x + 7, 36 }, 1, Rgb(0xFFFFFF, 0.35f));
    }
}

} // namespace

namespace SkinMaker {

void WriteOutputSettingsPictures(const std::string& folder)
{
    TBitmap32 picture;
    for (const TFormatTile& tile : kTiles) {
        DrawTile(picture, tile);
        SaveAs24BitBmp(picture, folder + "OutputSettings" + tile.File + ".bmp");
    }
    DrawHeader(picture, CaptionTop, CaptionBottom);
    SaveAs24BitBmp(picture, folder + "OutputSettingsHeader1.bmp");
    DrawHeader(picture, Accent, AccentDown);
    SaveAs24BitBmp(picture, folder + "OutputSettingsHeader2.bmp");
}

void WriteFormatIcons(const std::string& folder)
{
    TBitmap32 icon;
    for (const TFormatTile& tile : kTiles) {
        DrawIcon(icon, tile);
        SaveAsPng(icon, folder + "Format" + tile.File + ".png");
    }
}

} // namespace SkinMaker
