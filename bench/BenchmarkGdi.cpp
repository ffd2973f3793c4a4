// Speed of the GDI stand-in's blits against pixman and of DrawText against FreeType's own rendering loop, on the
// same pixels and text, in the same run.
#include "bench/BenchTiming.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ft2build.h>
#include <functional>
#include <pixman.h>
#include <string>
#include FT_FREETYPE_H

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr char kLine[] = "The quick brown fox jumps over lazy dogs";
static_assert(sizeof kLine - 1 == 40, "a 40-character line");
constexpr int kTextRepeats = 200;

// A memory DC over a 32-bit top-down DIB section.
struct TSurfaceDC {
    TSurfaceDC(int width, int height)
        : Width(width)
        , Height(height)
    {
        BITMAPINFO info {};
        info.bmiHeader = BITMAPINFOHEADER { sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &Bits, nullptr, 0);
        Dc = CreateCompatibleDC(nullptr);
        Old = SelectObject(Dc, Bitmap);
        auto* p = static_cast<uint32_t*>(Bits);
        for (int i = 0; i < width * height; ++i)
            p[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    }
    ~TSurfaceDC()
    {
        SelectObject(Dc, Old);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    pixman_image_t* Image() const
    {
        return pixman_image_create_bits(PIXMAN_a8r8g8b8, Width, Height, static_cast<uint32_t*>(Bits), Width * 4);
    }

    int Width;
    int Height;
    void* Bits = nullptr;
    HBITMAP Bitmap = nullptr;
    HDC Dc = nullptr;
    HGDIOBJ Old = nullptr;
};

void BenchBitBlt()
{
    TSurfaceDC source(kWidth, kHeight);
    TSurfaceDC dest(kWidth, kHeight);
    const double ours = BestOf([&] { BitBlt(dest.Dc, 0, 0, kWidth, kHeight, source.Dc, 0, 0, SRCCOPY); });
    pixman_image_t* s = source.Image();
    pixman_image_t* d = dest.Image();
    const double peer
        = BestOf([&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight); });
    pixman_image_unref(s);
    pixman_image_unref(d);
    Report("bitblt_800x600_srccopy", ours, peer);
}

void BenchStretchBlt(const char* name, int destWidth, int destHeight)
{
    TSurfaceDC source(kWidth, kHeight);
    TSurfaceDC dest(destWidth, destHeight);
    SetStretchBltMode(dest.Dc, COLORONCOLOR);
    const double ours
        = BestOf([&] { StretchBlt(dest.Dc, 0, 0, destWidth, destHeight, source.Dc, 0, 0, kWidth, kHeight, SRCCOPY); });
    pixman_image_t* s = source.Image();
    pixman_image_t* d = dest.Image();
    pixman_transform_t transform;
    pixman_transform_init_scale(&transform, pixman_double_to_fixed(double(kWidth) / destWidth),
        pixman_double_to_fixed(double(kHeight) / destHeight));
    pixman_image_set_transform(s, &transform);
    pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
    const double peer = BestOf(
        [&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, destWidth, destHeight); });
    pixman_image_unref(s);
    pixman_image_unref(d);
    Report(name, ours, peer);
}

// FreeType's own loop: load and render every character, then blend its coverage into the row, as a plain
// text renderer without a glyph cache does.
void FreeTypeLine(FT_Face face, uint32_t* pixels, int width, int height, int baseline)
{
    int pen = 0;
    for (const char* c = kLine; *c; ++c) {
        if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(*c)), FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = baseline - slot->bitmap_top + int(row);
            if (y < 0 || y >= height)
                continue;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = pen + slot->bitmap_left + int(col);
                if (x < 0 || x >= width)
                    continue;
                const uint32_t cov = bitmap.buffer[row * unsigned(bitmap.pitch) + col];
                uint32_t& d = pixels[y * width + x];
                uint32_t out = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t dc = (d >> shift) & 0xFF;
                    out |= ((dc * (255 - cov) + 127) / 255) << shift;
                }
                d = out;
            }
        }
        pen += int((slot->advance.x + 32) >> 6);
    }
}

void BenchDrawText()
{
    TSurfaceDC surface(kWidth, 40);
    HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(surface.Dc, font);
    SetBkMode(surface.Dc, TRANSPARENT);
    RECT r { 0, 0, kWidth, 40 };
    DrawText(surface.Dc, kLine, -1, &r, DT_SINGLELINE);
    const double ours = BestOf([&] {
        for (int i = 0; i < kTextRepeats; ++i) {
            RECT line { 0, 0, kWidth, 40 };
            DrawText(surface.Dc, kLine, -1, &line, DT_SINGLELINE | DT_VCENTER);
        }
    });
    const std::string file = FontFaceFile(font);
    SelectObject(surface.Dc, old);
    DeleteObject(font);

    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        std::printf("drawtext_40_chars skipped: no face\n");
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, 13);
    const double peer = BestOf([&] {
        for (int i = 0; i < kTextRepeats; ++i)
            FreeTypeLine(face, static_cast<uint32_t*>(surface.Bits), kWidth, 40, 25);
    });
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    Report("drawtext_40_chars_x200", ours, peer);
}

} // namespace

int main()
{
    BenchBitBlt();
    BenchStretchBlt("stretchblt_800x600_to_1024x768", 1024, 768);
    BenchStretchBlt("stretchblt_800x600_to_400x300", 400, 300);
    BenchDrawText();
    return 0;
}
