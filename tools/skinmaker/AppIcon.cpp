// The program's icon: a blue rounded square with a strip of film holes and a white play mark, written as an ICO
// file with one 48x48 image of 32 bits (with alpha).
#include "tools/skinmaker/SkinMaker.h"
#include "tools/skinmaker/TSkinPainter.h"

#include "imaging/TBitmap32.h"

#include <fstream>
#include <stdexcept>

namespace {

constexpr int kSide = 48;

void DrawIcon(TBitmap32& icon)
{
    icon.SetSize(kSide, kSide);
    icon.Clear(0x00000000);
    TSkinPainter painter(icon);
    painter.FillRoundRect(TFloatRect { 2, 2, 46, 46 }, 8, TFill(Rgb(0x3D80DF), Rgb(0x1B4A9A)));
    painter.StrokeRoundRect(TFloatRect { 2.5f, 2.5f, 45.5f, 45.5f }, 8, 1, Rgb(0x0E2C60));
    // The film's holes along the top and bottom edges.
    for (int i = 0; i < 5; ++i) {
        const float x = 8.5f + float(i) * 7.0f;
        painter.FillRoundRect(TFloatRect { x, 6, x + 4, 10 }, 1, Rgb(0xFFFFFF, 0.85f));
        painter.FillRoundRect(TFloatRect { x, 38, x + 4, 42 }, 1, Rgb(0xFFFFFF, 0.85f));
    }
    painter.FillPolygon({ { 18, 15 }, { 34, 24 }, { 18, 33 } }, Rgb(0xFFFFFF));
}

void Put16(std::ofstream& out, uint16_t v)
{
    out.put(char(v & 0xFF)).put(char(v >> 8));
}

void Put32(std::ofstream& out, uint32_t v)
{
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

} // namespace

namespace SkinMaker {

void WriteAppIcon(const std::string& path)
{
    TBitmap32 icon;
    DrawIcon(icon);
    std::ofstream out(path, std::ios::binary);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    const uint32_t maskStride = ((kSide + 31) / 32) * 4;
    const uint32_t imageSize = 40 + kSide * kSide * 4 + maskStride * kSide;
    // The ICO header and its one directory entry.
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.put(char(kSide)).put(char(kSide)).put(0).put(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, imageSize);
    Put32(out, 6 + 16);
    // The image: a bottom-up DIB of twice the height (colour, then the AND mask, all zero: alpha decides).
    Put32(out, 40);
    Put32(out, kSide);
    Put32(out, kSide * 2);
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x)
            Put32(out, icon.Pixel(x, y));
    for (uint32_t i = 0; i < maskStride * kSide; ++i)
        out.put(0);
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace SkinMaker
