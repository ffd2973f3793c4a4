// Bitmaps (HBITMAP): device-dependent bitmaps (32-bit colour or 1-bit monochrome) and DIB sections of 1, 4, 8,
// 16, 24 and 32 bits in either row order, with the conversions between bitmaps and DIB memory.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TGdiDrawObject.h"
#include "platform/gdi/TSurface.h"

#include <memory>
#include <vector>

// The largest pixel memory one bitmap may take; larger requests fail cleanly.
constexpr size_t kMaxBitmapBytes = size_t(1) << 30;

// Pixel memory comes from calloc, which knows when a block is fresh from the system and so zero already: a new
// bitmap of megabytes is not cleared a second time.
struct TFreePixels {
    void operator()(uint8_t* pixels) const;
};

// A bitmap owns its pixel memory; Surface describes it. A bitmap is selected into at most one DC at a time.
class TBitmapObject final : public TGdiDrawObject {
    using inherited = TGdiDrawObject;

public:
    TBitmapObject();

    // Zeroed storage; null when the size is not positive or too large.
    static std::unique_ptr<TBitmapObject> CreateDDB(int width, int height, bool mono);

    TSurface Surface;
    bool DIBSection = false;
    BITMAPINFOHEADER Header {}; // DIB sections: the header they were made from (biHeight keeps its sign)
    DWORD Bitfields[3] {};
    std::unique_ptr<uint8_t[], TFreePixels> Memory;
    size_t MemorySize = 0;
};

TBitmapObject* BitmapOf(HGDIOBJ bitmap);

// A DIB layout read from a BITMAPINFO, checked against what this layer supports.
struct TDIBFormat {
    int Width = 0;
    int Height = 0; // positive
    bool TopDown = false;
    int BitCount = 0;
    DWORD Compression = BI_RGB;
    std::vector<uint32_t> Colors; // 1, 4 and 8 bits
    uint32_t Masks[3] = { 0, 0, 0 }; // 16 and 32 bits
    size_t RowBytes = 0;
    size_t ImageBytes = 0;
};

// False for a missing or malformed header, an unsupported depth or compression (RLE, JPEG, PNG), a zero or
// negative width, a zero height, a size past kMaxBitmapBytes, or DIB_PAL_COLORS without a DC. `dc` supplies
// the palette for DIB_PAL_COLORS.
bool ReadDIBFormat(const BITMAPINFO* info, UINT usage, HDC dc, TDIBFormat& format);
// A surface over caller memory in `format`.
bool DIBSurface(const TDIBFormat& format, const void* bits, TSurface& surface);

// planes must be 1. A 1-bit request makes a monochrome bitmap; any other depth a 32-bit one. `bits` (rows
// top-down, padded to 2 bytes) is copied when given, and must then be in 1 or 32 bits.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// A bitmap of the DC's format: monochrome for a memory DC that holds a monochrome bitmap, else 32-bit. A zero
// width or height gives a 1x1 monochrome bitmap, as on Windows.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Zeroed memory of the given layout, returned in *bits. `section` and `offset` (file mappings) are not
// supported: a non-null section fails.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
// A 32-bit device-dependent bitmap of header's size, filled from `bits` with CBM_INIT.
HBITMAP CreateDIBitmap(
    HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info, UINT usage);

// Copies scan lines [start, start + lines) (counted from the bottom for a bottom-up layout) of the bitmap into
// `bits` in the layout of `info`, whose colour table is filled for 1, 4 and 8 bits. With null bits and a
// biBitCount of 0 only the header is filled (the bitmap's own layout, biSizeImage included). Returns the lines
// copied, 0 on failure.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
// The reverse: scan lines from `bits` into the bitmap.
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
// The raw bytes of a bitmap in its own layout, rows top-down padded to 2 bytes (DIB sections: to 4).
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
// The colour table of the paletted DIB section selected into the DC.
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
