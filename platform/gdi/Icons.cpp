#include "platform/gdi/Icons.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"
#include "platform/win/Windows.h"

#include <cstring>

namespace {

// The pixels of a bitmap as 0xAARRGGBB, rows top-down; false for an invalid handle.
bool ReadBitmap(HBITMAP bitmap, int& width, int& height, std::vector<uint32_t>& pixels)
{
    TBitmapObject* object = BitmapOf(bitmap);
    if (!object || !object->Surface.IsValid())
        return false;
    const TSurface& surface = object->Surface;
    width = surface.Width();
    height = surface.Height();
    pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        surface.ReadRow(y, 0, width, pixels.data() + size_t(y) * size_t(width));
    return true;
}

// A monochrome bitmap from per-pixel bits (1 where `bit` says so), rows padded to 2 bytes.
HBITMAP MonoBitmap(int width, int height, const std::vector<uint8_t>& bits)
{
    const size_t stride = size_t((width + 15) / 16) * 2;
    std::vector<uint8_t> rows(stride * size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bits[size_t(y) * size_t(width) + size_t(x)])
                rows[size_t(y) * stride + size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
    return CreateBitmap(width, height, 1, 1, rows.data());
}

// A memory DC over a top-down 32-bit DIB section filled with `pixels`.
struct TPixelDC {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;

    TPixelDC(int width, int height, const uint32_t* pixels)
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Dc = CreateCompatibleDC(nullptr);
        Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!Dc || !Bitmap || !bits)
            return;
        if (pixels)
            std::memcpy(bits, pixels, size_t(width) * size_t(height) * 4);
        Old = SelectObject(Dc, Bitmap);
    }
    ~TPixelDC()
    {
        if (Old)
            SelectObject(Dc, Old);
        if (Bitmap)
            DeleteObject(Bitmap);
        if (Dc)
            DeleteDC(Dc);
    }
    TPixelDC(const TPixelDC&) = delete;
    TPixelDC& operator=(const TPixelDC&) = delete;
    bool Ok() const { return Old != nullptr; }
};

// Draws the image scaled to `width` x `height` at (x, y) of `dc`.
bool DrawImage(HDC dc, int x, int y, int width, int height, const TCursorImage& image, UINT flags)
{
    const int w = image.Width;
    const int h = image.Height;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    bool ok = true;
    if ((flags & DI_NORMAL) == DI_NORMAL && image.HasAlpha) {
        // Alpha blending wants premultiplied pixels.
        std::vector<uint32_t> premultiplied(image.Pixels.size());
        for (size_t i = 0; i < premultiplied.size(); ++i) {
            const uint32_t p = image.Pixels[i];
            const uint32_t a = p >> 24;
            auto channel = [&](int shift) { return ((((p >> shift) & 0xFF) * a + 127) / 255) << shift; };
            premultiplied[i] = (a << 24) | channel(16) | channel(8) | channel(0);
        }
        TPixelDC source(w, h, premultiplied.data());
        ok = source.Ok()
            && AlphaBlend(dc, x, y, width, height, source.Dc, 0, 0, w, h, BLENDFUNCTION { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA });
    } else {
        if (flags & DI_MASK) {
            // Ones keep the destination (alpha included), zeros clear it for the colour.
            std::vector<uint32_t> mask(image.Mask.size());
            for (size_t i = 0; i < mask.size(); ++i)
                mask[i] = image.Mask[i] ? 0xFFFFFFFFu : 0;
            TPixelDC source(w, h, mask.data());
            ok = source.Ok()
                && StretchBlt(dc, x, y, width, height, source.Dc, 0, 0, w, h, (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
        }
        if (ok && (flags & DI_IMAGE)) {
            std::vector<uint32_t> color(image.Pixels.size());
            for (size_t i = 0; i < color.size(); ++i)
                color[i] = image.Pixels[i] & 0xFFFFFF;
            TPixelDC source(w, h, color.data());
            ok = source.Ok()
                && StretchBlt(dc, x, y, width, height, source.Dc, 0, 0, w, h, (flags & DI_MASK) ? SRCINVERT : SRCCOPY);
        }
    }
    SetStretchBltMode(dc, oldMode);
    return ok;
}

} // namespace

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info || !info->hbmMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int maskWidth = 0;
    int maskHeight = 0;
    std::vector<uint32_t> mask;
    if (!ReadBitmap(info->hbmMask, maskWidth, maskHeight, mask)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    TCursorImage image;
    image.Icon = info->fIcon != FALSE;
    image.Width = maskWidth;
    if (info->hbmColor) {
        int colorHeight = 0;
        if (!ReadBitmap(info->hbmColor, image.Width, colorHeight, image.Pixels) || image.Width != maskWidth
            || colorHeight > maskHeight) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        image.Height = colorHeight;
        for (uint32_t p : image.Pixels)
            image.HasAlpha = image.HasAlpha || (p >> 24) != 0;
        if (!image.HasAlpha)
            for (uint32_t& p : image.Pixels)
                p &= 0xFFFFFF;
    } else {
        // The AND plane above the XOR plane.
        if (maskHeight < 2) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        image.Height = maskHeight / 2;
        image.Monochrome = true;
        image.Pixels.resize(size_t(image.Width) * size_t(image.Height));
        for (size_t i = 0; i < image.Pixels.size(); ++i)
            image.Pixels[i] = (mask[i + image.Pixels.size()] & 0xFFFFFF) ? 0xFFFFFFu : 0;
    }
    image.Mask.resize(size_t(image.Width) * size_t(image.Height));
    for (size_t i = 0; i < image.Mask.size(); ++i)
        image.Mask[i] = (mask[i] & 0xFFFFFF) != 0;
    image.HotSpot = image.Icon ? POINT { image.Width / 2, image.Height / 2 }
                               : POINT { LONG(info->xHotspot), LONG(info->yHotspot) };
    return CreateIconFromImage(std::move(image));
}

BOOL GetIconInfo(HICON icon, ICONINFO* info)
{
    TCursorImage image;
    if (!info || !GetCursorImage(icon, image)) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    *info = ICONINFO {};
    info->fIcon = image.Icon ? TRUE : FALSE;
    info->xHotspot = DWORD(image.HotSpot.x);
    info->yHotspot = DWORD(image.HotSpot.y);
    if (image.Monochrome) {
        std::vector<uint8_t> planes = image.Mask;
        for (uint32_t p : image.Pixels)
            planes.push_back((p & 0xFFFFFF) != 0);
        info->hbmMask = MonoBitmap(image.Width, image.Height * 2, planes);
        return info->hbmMask ? TRUE : FALSE;
    }
    std::vector<uint8_t> mask = image.Mask;
    if (image.HasAlpha)
        for (size_t i = 0; i < mask.size(); ++i)
            mask[i] = (image.Pixels[i] >> 24) == 0;
    info->hbmMask = MonoBitmap(image.Width, image.Height, mask);
    info->hbmColor = CreateBitmap(image.Width, image.Height, 1, 32, image.Pixels.data());
    if (!info->hbmMask || !info->hbmColor) {
        DeleteObject(info->hbmMask);
        DeleteObject(info->hbmColor);
        *info = ICONINFO {};
        return FALSE;
    }
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon)
{
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFreeBrush, UINT flags)
{
    TCursorImage image;
    if (!DCOf(dc) || !GetCursorImage(icon, image) || step != 0 || width < 0 || height < 0
        || !(flags & DI_NORMAL)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (width == 0)
        width = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(image.Icon ? SM_CXICON : SM_CXCURSOR) : image.Width;
    if (height == 0)
        height = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(image.Icon ? SM_CYICON : SM_CYCURSOR) : image.Height;
    if (!flickerFreeBrush)
        return DrawImage(dc, x, y, width, height, image, flags) ? TRUE : FALSE;
    // Off screen over the brush first, so the destination only ever sees the finished picture.
    TPixelDC buffer(width, height, nullptr);
    if (!buffer.Ok())
        return FALSE;
    const RECT all { 0, 0, width, height };
    FillRect(buffer.Dc, &all, flickerFreeBrush);
    if (!DrawImage(buffer.Dc, 0, 0, width, height, image, flags))
        return FALSE;
    return BitBlt(dc, x, y, width, height, buffer.Dc, 0, 0, SRCCOPY);
}
