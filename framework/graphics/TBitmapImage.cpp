#include "framework/graphics/TBitmapImage.h"

#include "framework/graphics/Graphics.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Palettes.h"
#include "platform/win/GdiObjects.h"

#include <algorithm>
#include <cstring>

namespace {

// A BITMAPINFO with room for a full colour table or the three masks.
struct TBitmapInfo256 {
    BITMAPINFOHEADER Header;
    uint32_t Colors[256];
};

} // namespace

TBitmapImage::~TBitmapImage()
{
    if (Handle)
        DeleteObject(Handle);
}

TSurface TBitmapImage::Surface() const
{
    TSurface surface;
    surface.Init(Bits, Width, Height, BitCount, TopDown, 4);
    if (BitCount <= 8)
        surface.SetColors(Colors);
    else if (Is565())
        surface.SetMasks(0xF800, 0x07E0, 0x001F);
    return surface;
}

std::unique_ptr<TBitmapImage> TBitmapImage::Create(
    int width, int height, int bitCount, std::vector<uint32_t> colors, bool rgb565)
{
    size_t stride = TSurface::RowBytes(width, bitCount, 4);
    if (width <= 0 || height <= 0 || stride == 0 || stride > kMaxBitmapBytes / static_cast<size_t>(height))
        throw EInvalidGraphic("Invalid image size");
    TBitmapInfo256 info {};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bitCount);
    info.Header.biCompression = BI_RGB;
    info.Header.biSizeImage = static_cast<DWORD>(stride * height);
    if (bitCount <= 8) {
        size_t count = size_t(1) << bitCount;
        if (colors.empty())
            colors = DefaultColorTable(bitCount);
        colors.resize(count, 0);
        for (uint32_t& c : colors)
            c &= 0xFFFFFF;
        std::copy(colors.begin(), colors.end(), info.Colors);
        info.Header.biClrUsed = static_cast<DWORD>(count);
    } else {
        colors.clear();
    }
    bool is565 = bitCount == 16 && rgb565;
    if (is565) {
        info.Header.biCompression = BI_BITFIELDS;
        info.Colors[0] = 0xF800;
        info.Colors[1] = 0x07E0;
        info.Colors[2] = 0x001F;
    }
    void* bits = nullptr;
    HBITMAP handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!handle || !bits) {
        if (handle)
            DeleteObject(handle);
        throw EOutOfResources("Out of system resources");
    }
    auto image = std::make_unique<TBitmapImage>();
    image->Handle = handle;
    image->Bits = static_cast<uint8_t*>(bits);
    image->Width = width;
    image->Height = height;
    image->BitCount = bitCount;
    image->Stride = stride;
    image->Colors = std::move(colors);
    if (is565) {
        image->Masks[0] = 0xF800;
        image->Masks[1] = 0x07E0;
        image->Masks[2] = 0x001F;
    }
    return image;
}

std::unique_ptr<TBitmapImage> TBitmapImage::Adopt(HBITMAP handle)
{
    if (!handle || GetObjectType(handle) != OBJ_BITMAP)
        return nullptr;
    DIBSECTION ds {};
    int got = GetObject(handle, sizeof(ds), &ds);
    if (got <= 0)
        return nullptr;
    int width = ds.dsBm.bmWidth;
    int height = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
    bool isSection = got == static_cast<int>(sizeof(DIBSECTION)) && ds.dsBm.bmBits;
    if (isSection) {
        int bitCount = ds.dsBmih.biBitCount;
        bool bitfields = ds.dsBmih.biCompression == BI_BITFIELDS;
        bool is565 = bitfields && bitCount == 16 && ds.dsBitfields[0] == 0xF800 && ds.dsBitfields[1] == 0x07E0
            && ds.dsBitfields[2] == 0x001F;
        bool is555 = bitfields && bitCount == 16 && ds.dsBitfields[0] == 0x7C00 && ds.dsBitfields[1] == 0x03E0
            && ds.dsBitfields[2] == 0x001F;
        bool is888 = bitfields && bitCount == 32 && ds.dsBitfields[0] == 0xFF0000 && ds.dsBitfields[1] == 0xFF00
            && ds.dsBitfields[2] == 0xFF;
        if (!bitfields || is565 || is555 || is888) {
            // A layout TBitmapImage describes: keep the section itself, so the handle stays the caller's.
            auto image = std::make_unique<TBitmapImage>();
            image->Handle = handle;
            image->Bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
            image->Width = width;
            image->Height = height;
            image->BitCount = bitCount;
            image->TopDown = ds.dsBmih.biHeight < 0;
            image->Stride = TSurface::RowBytes(width, bitCount, 4);
            if (is565) {
                image->Masks[0] = 0xF800;
                image->Masks[1] = 0x07E0;
                image->Masks[2] = 0x001F;
            }
            if (bitCount <= 8) {
                RGBQUAD table[256] {};
                HDC dc = CreateCompatibleDC(nullptr);
                HGDIOBJ old = SelectObject(dc, handle);
                UINT count = GetDIBColorTable(dc, 0, 1u << bitCount, table);
                SelectObject(dc, old);
                DeleteDC(dc);
                image->Colors.assign(size_t(1) << bitCount, 0);
                for (UINT i = 0; i < count && i < image->Colors.size(); ++i)
                    image->Colors[i]
                        = (uint32_t(table[i].rgbRed) << 16) | (uint32_t(table[i].rgbGreen) << 8) | table[i].rgbBlue;
            }
            return image;
        }
    }
    // A device-dependent bitmap, or a section in a layout of its own: copy it into a DIB of ours.
    bool mono = !isSection && ds.dsBm.bmBitsPixel == 1;
    std::unique_ptr<TBitmapImage> image
        = mono ? Create(width, height, 1, { 0x000000, 0xFFFFFF }) : Create(width, height, 32);
    TBitmapInfo256 info {};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(image->BitCount);
    info.Header.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(
        dc, handle, 0, static_cast<UINT>(height), image->Bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines != height)
        return nullptr;
    DeleteObject(handle);
    return image;
}

std::unique_ptr<TBitmapImage> TBitmapImage::Clone() const
{
    auto image = Create(Width, Height, BitCount, Colors, Is565());
    for (int y = 0; y < Height; ++y)
        std::memcpy(image->Row(y), Row(y), Stride);
    return image;
}

std::unique_ptr<TBitmapImage> TBitmapImage::Convert(int bitCount, bool rgb565, std::vector<uint32_t> colors) const
{
    auto image = Create(Width, Height, bitCount, std::move(colors), rgb565);
    TSurface source = Surface();
    TSurface dest = image->Surface();
    std::vector<uint32_t> row(static_cast<size_t>(Width));
    for (int y = 0; y < Height; ++y) {
        source.ReadRow(y, 0, Width, row.data());
        dest.WriteRow(y, 0, Width, row.data());
    }
    return image;
}

std::unique_ptr<TBitmapImage> TBitmapImage::Resized(int width, int height, uint32_t fill) const
{
    auto image = Create(width, height, BitCount, Colors, Is565());
    TSurface source = Surface();
    TSurface dest = image->Surface();
    std::vector<uint32_t> row(static_cast<size_t>(width), fill & 0xFFFFFF);
    std::vector<uint32_t> fillRow = row;
    int keepWidth = std::min(width, Width);
    for (int y = 0; y < height; ++y) {
        if (y < Height) {
            source.ReadRow(y, 0, keepWidth, row.data());
            std::fill(row.begin() + keepWidth, row.end(), fill & 0xFFFFFF);
            dest.WriteRow(y, 0, width, row.data());
        } else {
            dest.WriteRow(y, 0, width, fillRow.data());
        }
    }
    return image;
}
