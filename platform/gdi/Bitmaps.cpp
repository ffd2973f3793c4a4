#include "platform/gdi/Bitmaps.h"

#include "platform/gdi/Palettes.h"
#include "platform/gdi/TDeviceContext.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

void TFreePixels::operator()(uint8_t* pixels) const
{
    std::free(pixels);
}

namespace {

std::unique_ptr<uint8_t[], TFreePixels> Allocate(size_t bytes)
{
    // Zeroed, and null instead of an exception when memory runs out; never null for an empty request.
    return std::unique_ptr<uint8_t[], TFreePixels>(static_cast<uint8_t*>(std::calloc(std::max<size_t>(bytes, 1), 1)));
}

uint32_t ToPixel(const RGBQUAD& q)
{
    return (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

RGBQUAD ToQuad(uint32_t pixel)
{
    return RGBQUAD { BYTE(pixel), BYTE(pixel >> 8), BYTE(pixel >> 16), 0 };
}

// Where the colour table (or the masks of a 40-byte BI_BITFIELDS header) starts.
const uint8_t* ColorTable(const BITMAPINFO* info)
{
    return reinterpret_cast<const uint8_t*>(info) + info->bmiHeader.biSize;
}

} // namespace

TBitmapObject::TBitmapObject()
    : TGdiDrawObject(OBJ_BITMAP)
{
    SetExclusive();
}

std::unique_ptr<TBitmapObject> TBitmapObject::CreateDDB(int width, int height, bool mono)
{
    const int bitCount = mono ? 1 : 32;
    const size_t rowBytes = TSurface::RowBytes(width, bitCount, 2);
    if (height <= 0 || rowBytes == 0 || uint64_t(rowBytes) * uint64_t(height) > kMaxBitmapBytes)
        return nullptr;
    auto bitmap = std::make_unique<TBitmapObject>();
    bitmap->MemorySize = rowBytes * size_t(height);
    bitmap->Memory = Allocate(bitmap->MemorySize);
    if (!bitmap->Memory || !bitmap->Surface.Init(bitmap->Memory.get(), width, height, bitCount, true, 2))
        return nullptr;
    if (mono)
        bitmap->Surface.SetMono(true);
    return bitmap;
}

TBitmapObject* BitmapOf(HGDIOBJ bitmap)
{
    return GdiLookup<TBitmapObject>(bitmap, OBJ_BITMAP);
}

bool ReadDIBFormat(const BITMAPINFO* info, UINT usage, HDC dc, TDIBFormat& format)
{
    format = TDIBFormat();
    if (!info)
        return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 1024 || h.biWidth <= 0 || h.biHeight == 0
        || h.biHeight == INT_MIN || h.biPlanes != 1)
        return false;
    switch (h.biBitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (h.biCompression != BI_RGB)
            return false;
        break;
    case 16:
    case 32:
        if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)
            return false;
        break;
    default:
        return false;
    }
    format.Width = h.biWidth;
    format.Height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    format.TopDown = h.biHeight < 0;
    format.BitCount = h.biBitCount;
    format.Compression = h.biCompression;
    format.RowBytes = TSurface::RowBytes(format.Width, format.BitCount, 4);
    if (format.RowBytes == 0 || uint64_t(format.RowBytes) * uint64_t(format.Height) > kMaxBitmapBytes)
        return false;
    format.ImageBytes = format.RowBytes * size_t(format.Height);
    if (format.BitCount <= 8) {
        const uint32_t maxColors = 1u << format.BitCount;
        const uint32_t count = h.biClrUsed == 0 ? maxColors : std::min<uint32_t>(h.biClrUsed, maxColors);
        if (usage == DIB_RGB_COLORS) {
            const uint8_t* table = ColorTable(info);
            for (uint32_t i = 0; i < count; ++i) {
                RGBQUAD q;
                std::memcpy(&q, table + i * sizeof(RGBQUAD), sizeof q);
                format.Colors.push_back(ToPixel(q));
            }
        } else if (usage == DIB_PAL_COLORS) {
            // The table holds WORD indexes into the DC's palette.
            TDeviceContext* context = DCOf(dc);
            const TPaletteObject* palette = context ? context->State.Palette.Get() : nullptr;
            if (!palette || palette->Entries.empty())
                return false;
            const uint8_t* table = ColorTable(info);
            for (uint32_t i = 0; i < count; ++i) {
                WORD index;
                std::memcpy(&index, table + i * sizeof(WORD), sizeof index);
                const PALETTEENTRY& e = palette->Entries[std::min<size_t>(index, palette->Entries.size() - 1)];
                format.Colors.push_back((uint32_t(e.peRed) << 16) | (uint32_t(e.peGreen) << 8) | e.peBlue);
            }
        } else {
            return false;
        }
    } else if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) {
        return false;
    }
    if (format.Compression == BI_BITFIELDS) {
        // The masks follow a 40-byte header and sit at the same place inside the larger headers.
        std::memcpy(format.Masks, reinterpret_cast<const uint8_t*>(info) + sizeof(BITMAPINFOHEADER), 12);
        if (!format.Masks[0] || !format.Masks[1] || !format.Masks[2])
            return false;
    } else if (format.BitCount == 16) {
        format.Masks[0] = 0x7C00;
        format.Masks[1] = 0x03E0;
        format.Masks[2] = 0x001F;
    } else if (format.BitCount == 32) {
        format.Masks[0] = 0xFF0000;
        format.Masks[1] = 0xFF00;
        format.Masks[2] = 0xFF;
    }
    return true;
}

bool DIBSurface(const TDIBFormat& format, const void* bits, TSurface& surface)
{
    // Reading goes through this view too; nothing writes through it unless the caller owns the memory.
    if (!surface.Init(const_cast<void*>(bits), format.Width, format.Height, format.BitCount, format.TopDown, 4))
        return false;
    if (format.BitCount <= 8)
        surface.SetColors(format.Colors);
    else
        surface.SetMasks(format.Masks[0], format.Masks[1], format.Masks[2]);
    return true;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits)
{
    if (planes != 1 || bitCount == 0 || bitCount > 32)
        return nullptr;
    const bool mono = bitCount == 1;
    if (bits && !mono && bitCount != 32)
        return nullptr;
    std::unique_ptr<TBitmapObject> bitmap = TBitmapObject::CreateDDB(width, height, mono);
    if (!bitmap)
        return nullptr;
    if (bits)
        std::memcpy(bitmap->Memory.get(), bits, bitmap->MemorySize);
    return static_cast<HBITMAP>(GdiAddDrawObject(std::move(bitmap)));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bitmap)
{
    if (!bitmap)
        return nullptr;
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    TDeviceContext* context = DCOf(dc);
    if (!context || width < 0 || height < 0)
        return nullptr;
    if (width == 0 || height == 0)
        return CreateBitmap(1, 1, 1, 1, nullptr);
    const TBitmapObject* current = context->State.Bitmap.Get();
    const bool mono = context->Kind() == TDCKind::Memory && current && current->Surface.Mono();
    return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
    if (bits)
        *bits = nullptr;
    TDIBFormat format;
    if (section || !ReadDIBFormat(info, usage, dc, format))
        return nullptr;
    auto bitmap = std::make_unique<TBitmapObject>();
    bitmap->MemorySize = format.ImageBytes;
    bitmap->Memory = Allocate(format.ImageBytes);
    if (!bitmap->Memory || !DIBSurface(format, bitmap->Memory.get(), bitmap->Surface))
        return nullptr;
    bitmap->DIBSection = true;
    bitmap->Header = info->bmiHeader;
    bitmap->Header.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->Header.biSizeImage = DWORD(format.ImageBytes);
    if (format.BitCount <= 8)
        bitmap->Header.biClrUsed = DWORD(format.Colors.size());
    if (format.Compression == BI_BITFIELDS)
        std::copy_n(format.Masks, 3, bitmap->Bitfields);
    if (bits)
        *bits = bitmap->Memory.get();
    return static_cast<HBITMAP>(GdiAddDrawObject(std::move(bitmap)));
}

HBITMAP CreateDIBitmap(
    HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info, UINT usage)
{
    if (!header || header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT_MIN)
        return nullptr;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP bitmap = CreateBitmap(header->biWidth, height, 1, 32, nullptr);
    if (!bitmap)
        return nullptr;
    if ((init & CBM_INIT) && bits) {
        TDIBFormat format;
        if (!ReadDIBFormat(info, usage, dc, format)) {
            DeleteObject(bitmap);
            return nullptr;
        }
        SetDIBits(dc, bitmap, 0, UINT(format.Height), bits, info, usage);
    }
    return bitmap;
}

namespace {

// The caller's buffer holds `lines` scan lines from scan line `start` (scan line 0 is the bottom row of a
// bottom-up layout, the top row of a top-down one). Sets up a surface over that band and the bitmap row of its
// top row; false when the band is empty or the memory layout is unusable.
bool Band(const TDIBFormat& format, const void* bits, int bitmapHeight, UINT start, UINT lines, TSurface& band,
    int& bitmapTop)
{
    const int height = std::min(format.Height, bitmapHeight);
    if (start >= UINT(height) || lines == 0)
        return false;
    TDIBFormat bandFormat = format;
    bandFormat.Height = int(std::min<UINT>(lines, UINT(height) - start));
    if (!DIBSurface(bandFormat, bits, band))
        return false;
    bitmapTop = format.TopDown ? int(start) : bitmapHeight - int(start) - bandFormat.Height;
    return true;
}

} // namespace

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage)
{
    TBitmapObject* object = BitmapOf(bitmap);
    if (!object || !info || !DCOf(dc) || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    const TSurface& source = object->Surface;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits && h.biBitCount == 0) {
        // Reports the bitmap's own layout.
        h.biWidth = source.Width();
        h.biHeight = object->DIBSection ? object->Header.biHeight : source.Height();
        h.biPlanes = 1;
        h.biBitCount = WORD(source.BitCount());
        h.biCompression = object->DIBSection ? object->Header.biCompression : BI_RGB;
        h.biSizeImage = DWORD(TSurface::RowBytes(source.Width(), source.BitCount(), 4) * size_t(source.Height()));
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        return 1;
    }
    if (h.biBitCount <= 8 && h.biBitCount != 0 && usage == DIB_RGB_COLORS) {
        // The caller's table: the bitmap's own for the same depth, else the default table.
        std::vector<uint32_t> table
            = source.BitCount() == h.biBitCount && !source.Mono() ? source.Colors() : DefaultColorTable(h.biBitCount);
        const uint32_t count = 1u << h.biBitCount;
        table.resize(count, 0);
        auto* quads = reinterpret_cast<uint8_t*>(info) + h.biSize;
        for (uint32_t i = 0; i < count; ++i) {
            const RGBQUAD q = ToQuad(table[i]);
            std::memcpy(quads + i * sizeof(RGBQUAD), &q, sizeof q);
        }
        h.biClrUsed = 0;
    }
    TDIBFormat format;
    if (!ReadDIBFormat(info, usage, dc, format))
        return 0;
    h.biSizeImage = DWORD(format.ImageBytes);
    if (!bits)
        return int(std::min<UINT>(lines, UINT(format.Height)));
    TSurface band;
    int bitmapTop = 0;
    if (!Band(format, bits, source.Height(), start, lines, band, bitmapTop))
        return 0;
    const int width = std::min(format.Width, source.Width());
    std::vector<uint32_t> row(static_cast<size_t>(width));
    for (int j = 0; j < band.Height(); ++j) {
        source.ReadRow(bitmapTop + j, 0, width, row.data());
        band.WriteRow(j, 0, width, row.data());
    }
    return band.Height();
}

int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage)
{
    TBitmapObject* object = BitmapOf(bitmap);
    TDIBFormat format;
    if (!object || !bits || !ReadDIBFormat(info, usage, dc, format))
        return 0;
    TSurface& dest = object->Surface;
    TSurface band;
    int bitmapTop = 0;
    if (!Band(format, bits, dest.Height(), start, lines, band, bitmapTop))
        return 0;
    const int width = std::min(format.Width, dest.Width());
    std::vector<uint32_t> row(static_cast<size_t>(width));
    for (int j = 0; j < band.Height(); ++j) {
        band.ReadRow(j, 0, width, row.data());
        dest.WriteRow(bitmapTop + j, 0, width, row.data());
    }
    return band.Height();
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits)
{
    TBitmapObject* object = BitmapOf(bitmap);
    if (!object || size < 0)
        return 0;
    const TSurface& s = object->Surface;
    const size_t rowBytes = TSurface::RowBytes(s.Width(), s.BitCount(), object->DIBSection ? 4 : 2);
    const size_t total = rowBytes * size_t(s.Height());
    if (!bits)
        return LONG(std::min<size_t>(total, LONG_MAX));
    const size_t n = std::min(total, size_t(size));
    auto* out = static_cast<uint8_t*>(bits);
    for (size_t offset = 0, y = 0; offset < n; offset += rowBytes, ++y)
        std::memcpy(out + offset, s.Row(int(y)), std::min(rowBytes, n - offset));
    return LONG(n);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits)
{
    TBitmapObject* object = BitmapOf(bitmap);
    if (!object || !bits)
        return 0;
    TSurface& s = object->Surface;
    const size_t rowBytes = TSurface::RowBytes(s.Width(), s.BitCount(), object->DIBSection ? 4 : 2);
    const size_t total = rowBytes * size_t(s.Height());
    const size_t n = std::min(total, size_t(size));
    const auto* in = static_cast<const uint8_t*>(bits);
    for (size_t offset = 0, y = 0; offset < n; offset += rowBytes, ++y)
        std::memcpy(s.Row(int(y)), in + offset, std::min(rowBytes, n - offset));
    return LONG(n);
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors)
{
    TDeviceContext* context = DCOf(dc);
    const TBitmapObject* bitmap = context ? context->State.Bitmap.Get() : nullptr;
    if (!bitmap || !bitmap->DIBSection || bitmap->Surface.BitCount() > 8 || !colors)
        return 0;
    const std::vector<uint32_t>& table = bitmap->Surface.Colors();
    if (start >= table.size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(table.size()) - start);
    for (UINT i = 0; i < n; ++i)
        colors[i] = ToQuad(table[start + i]);
    return n;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors)
{
    TDeviceContext* context = DCOf(dc);
    TBitmapObject* bitmap = context ? context->State.Bitmap.Get() : nullptr;
    if (!bitmap || !bitmap->DIBSection || bitmap->Surface.BitCount() > 8 || !colors)
        return 0;
    std::vector<uint32_t> table = bitmap->Surface.Colors();
    if (start >= table.size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(table.size()) - start);
    for (UINT i = 0; i < n; ++i)
        table[start + i] = ToPixel(colors[i]);
    bitmap->Surface.SetColors(std::move(table));
    return n;
}
