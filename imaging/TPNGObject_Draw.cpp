// TPNGObject's three drawing paths, on a canvas through the GDI and straight into a TBitmap32: the plain stretched
// copy, the colour-keyed copy and the per-pixel blend.
#include "framework/core/Numbers.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/PngMessages.h"
#include "imaging/TBitmap32.h"
#include "imaging/TPNGObject.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/TDeviceContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A destination rectangle with its source mapping: buffer pixel i of the rectangle shows source column
// Trunc(i / factor), as the blend path maps it; the copies use the same mapping so the three paths agree.
struct TDrawMapping {
    int Left, Top, Width, Height;
    double FactorX, FactorY;
    uint32_t SourceWidth, SourceHeight;

    uint32_t SourceX(int i) const
    {
        auto x = uint32_t(Trunc(double(i) / FactorX));
        return std::min(x, SourceWidth - 1);
    }
    uint32_t SourceY(int j) const
    {
        auto y = uint32_t(Trunc(double(j) / FactorY));
        return std::min(y, SourceHeight - 1);
    }
};

// Normalises a rectangle given right to left or bottom to top; false when it has no area.
bool MakeMapping(const TRect& rect, uint32_t sourceWidth, uint32_t sourceHeight, TDrawMapping& m)
{
    if (rect.Right == rect.Left || rect.Bottom == rect.Top || sourceWidth == 0 || sourceHeight == 0)
        return false;
    m.Left = std::min(rect.Left, rect.Right);
    m.Top = std::min(rect.Top, rect.Bottom);
    m.Width = int(std::abs(int64_t(rect.Right) - rect.Left));
    m.Height = int(std::abs(int64_t(rect.Bottom) - rect.Top));
    m.SourceWidth = sourceWidth;
    m.SourceHeight = sourceHeight;
    bool stretching = uint32_t(m.Width) != sourceWidth || uint32_t(m.Height) != sourceHeight;
    m.FactorX = stretching ? double(m.Width) / sourceWidth : 1.0;
    m.FactorY = stretching ? double(m.Height) / sourceHeight : 1.0;
    return true;
}

// The part of the rectangle that lies inside the destination, in rectangle coordinates.
void VisibleSpan(const TDrawMapping& m, const TBitmap32& dest, int& i0, int& i1, int& j0, int& j1)
{
    i0 = std::max(0, -m.Left);
    j0 = std::max(0, -m.Top);
    i1 = int(std::min<int64_t>(m.Width, int64_t(dest.Width()) - m.Left));
    j1 = int(std::min<int64_t>(m.Height, int64_t(dest.Height()) - m.Top));
}

// 0x00BBGGRR to the 0x00RRGGBB of a TColor32's colour bytes.
uint32_t ColorSwapKey(uint32_t color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The transparent colour of a grey or RGB picture, compared sample for sample as the store holds them. A colour
// alone cannot name it: 16-bit samples that differ only in their low byte show the same colour.
class TKeyTest {
public:
    TKeyTest(const TChunkIHDR& header, const TChunktRNS* trns, const uint8_t* gamma)
        : FHeader(header)
    {
        uint8_t colorType = header.IHDRData.ColorType;
        if (!trns || (colorType != COLOR_GRAYSCALE && colorType != COLOR_RGB))
            return;
        FActive = true;
        FDeep = header.IHDRData.BitDepth == 16;
        const uint8_t* v = trns->PaletteValues;
        if (colorType == COLOR_GRAYSCALE) {
            // The store holds grey levels as ramp indices: the sample itself, 5 x v for 2-bit samples, the high
            // byte of 16-bit ones with the low byte beside it. Bits above the depth are ignored.
            uint32_t sample = (uint32_t(v[0]) << 8) | v[1];
            uint8_t depth = header.IHDRData.BitDepth;
            if (FDeep) {
                FHigh[0] = v[0];
                FLow[0] = v[1];
            } else {
                FHigh[0] = uint8_t(depth == 2 ? (sample & 3) * 5 : sample & ((1u << depth) - 1));
            }
            return;
        }
        // RGB samples are stored through the gamma table, blue first; so are the low bytes of 16-bit ones.
        for (int c = 0; c < 3; ++c) {
            const uint8_t* s = v + 2 * (2 - c);
            FHigh[c] = gamma[FDeep ? s[0] : s[1]];
            FLow[c] = gamma[s[1]];
        }
    }

    bool Active() const { return FActive; }

    // True when the stored pixel (x, y) has exactly the transparent samples: as the file stored them where the
    // store keeps its key plane, else as the rows hold them.
    bool Matches(uint32_t x, uint32_t y) const
    {
        if (const uint8_t* key = FHeader.KeyScanLine(y))
            return key[x] != 0;
        const uint8_t* row = FHeader.ScanLine(y);
        const uint8_t* low = FDeep ? FHeader.ExtraScanLine(y) : nullptr;
        if (FHeader.IHDRData.ColorType == COLOR_GRAYSCALE) {
            int bits = FHeader.BitmapInfo.bmiHeader.biBitCount;
            uint32_t perByte = 8 / uint32_t(bits);
            uint32_t index = (row[x / perByte] >> (8 - bits - bits * (x % perByte))) & ((1u << bits) - 1);
            return index == FHigh[0] && (!low || low[x] == FLow[0]);
        }
        const uint8_t* p = row + 3 * x;
        if (p[0] != FHigh[0] || p[1] != FHigh[1] || p[2] != FHigh[2])
            return false;
        return !low || (low[3 * x] == FLow[0] && low[3 * x + 1] == FLow[1] && low[3 * x + 2] == FLow[2]);
    }

private:
    const TChunkIHDR& FHeader;
    bool FActive = false;
    bool FDeep = false;
    uint8_t FHigh[3] = {};
    uint8_t FLow[3] = {};
};

inline uint8_t Blend(uint32_t c, uint32_t a, uint32_t d)
{
    return uint8_t((c * a + 255 + d * (255 - a)) >> 8);
}

// The blend of the picture over 32-bit pixels (blue, green, red, unused): rectangle pixels i0..i1 of rows j0..j1,
// where rowOf(j) gives the address of rectangle pixel 0 of row j. Grey and RGB pictures with a transparent colour
// take this path where a colour mask cannot key them: their pixels are either kept (alpha 0) or copied (255).
template <class TRowOf>
void BlendRows(const TChunkIHDR& header, const TChunktRNS* trns, const TChunkPLTE* palette, const uint8_t* gamma,
    const TDrawMapping& m, int i0, int i1, int j0, int j1, TRowOf rowOf)
{
    int bits = header.BitmapInfo.bmiHeader.biBitCount;
    TKeyTest key(header, trns, gamma);
    for (int j = j0; j < j1; ++j) {
        uint32_t sy = m.SourceY(j);
        const uint8_t* row = header.ScanLine(sy);
        const uint8_t* alphaRow = header.AlphaScanLine(sy);
        uint8_t* line = rowOf(j);
        for (int i = i0; i < i1; ++i) {
            uint32_t sx = m.SourceX(i);
            uint8_t* d = line + 4 * i;
            uint32_t a, cb, cg, cr;
            if (bits == 24) {
                a = alphaRow ? alphaRow[sx] : key.Active() && key.Matches(sx, sy) ? 0 : 255;
                if (a == 0)
                    continue;
                const uint8_t* p = row + 3 * sx;
                if (a == 255) {
                    d[0] = p[0];
                    d[1] = p[1];
                    d[2] = p[2];
                    continue;
                }
                cb = p[0];
                cg = p[1];
                cr = p[2];
            } else if (header.IHDRData.ColorType == COLOR_GRAYSCALEALPHA) {
                // The grey is shown through the ramp, which carries the picture's gamma as plain grey's does.
                a = alphaRow[sx];
                cb = cg = cr = header.BitmapInfo.bmiColors[row[sx]].rgbRed;
            } else {
                uint32_t perByte = 8 / uint32_t(bits);
                uint32_t index = (row[sx / perByte] >> (8 - bits - bits * (sx % perByte))) & ((1u << bits) - 1);
                if (key.Active())
                    a = key.Matches(sx, sy) ? 0 : 255;
                else
                    a = trns ? trns->PaletteValues[index] : 255;
                // Grey and a palette picture without a PLTE chunk take their colours from the store's table.
                TPngRGBQuad e = palette && header.IHDRData.ColorType == COLOR_PALETTE
                    ? palette->GetPaletteItem(uint8_t(index))
                    : header.BitmapInfo.bmiColors[index];
                cb = e.rgbBlue;
                cg = e.rgbGreen;
                cr = e.rgbRed;
            }
            d[0] = Blend(cb, a, d[0]);
            d[1] = Blend(cg, a, d[1]);
            d[2] = Blend(cr, a, d[2]);
        }
    }
}

// The store's description as the GDI reads it: the same 40-byte header and colour table.
struct TStoreInfo {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[256];

    explicit TStoreInfo(const TChunkIHDR& header)
    {
        static_assert(sizeof bmiHeader == sizeof header.BitmapInfo.bmiHeader);
        static_assert(sizeof bmiColors == sizeof header.BitmapInfo.bmiColors);
        std::memcpy(&bmiHeader, &header.BitmapInfo.bmiHeader, sizeof bmiHeader);
        std::memcpy(bmiColors, header.BitmapInfo.bmiColors, sizeof bmiColors);
    }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// A memory DC with one bitmap selected, both freed together, so no path leaks them when it raises.
struct TScratchDC {
    HDC DC = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;

    TScratchDC(HDC compatibleWith, HBITMAP bitmap)
        : DC(CreateCompatibleDC(compatibleWith))
        , Bitmap(bitmap)
    {
        if (DC && Bitmap)
            Previous = SelectObject(DC, Bitmap);
    }
    TScratchDC(const TScratchDC&) = delete;
    TScratchDC& operator=(const TScratchDC&) = delete;
    ~TScratchDC()
    {
        if (DC && Previous)
            SelectObject(DC, Previous);
        if (Bitmap)
            DeleteObject(Bitmap);
        if (DC)
            DeleteDC(DC);
    }
    bool Valid() const { return DC && Bitmap && Previous; }
};

// The rectangle with left <= right and top <= bottom.
TRect Normalized(const TRect& rect)
{
    return TRect { std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom), std::max(rect.Left, rect.Right),
        std::max(rect.Top, rect.Bottom) };
}

} // namespace

uint32_t TPNGObject::StoreIndex(const TChunkIHDR& header, uint32_t x, uint32_t y)
{
    const uint8_t* row = header.ScanLine(y);
    int bits = header.BitmapInfo.bmiHeader.biBitCount;
    uint32_t perByte = 8 / uint32_t(bits);
    return (row[x / perByte] >> (8 - bits - bits * (x % perByte))) & ((1u << bits) - 1);
}

uint32_t TPNGObject::StorePixelRGB(const TChunkIHDR& header, uint32_t x, uint32_t y) const
{
    const uint8_t* row = header.ScanLine(y);
    int bits = header.BitmapInfo.bmiHeader.biBitCount;
    if (bits == 24) {
        const uint8_t* p = row + 3 * x;
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    const TPngRGBQuad& e = header.BitmapInfo.bmiColors[StoreIndex(header, x, y)];
    return uint32_t(e.rgbBlue) | (uint32_t(e.rgbGreen) << 8) | (uint32_t(e.rgbRed) << 16);
}

void TPNGObject::Draw(TBitmap32& dest, const TRect& rect)
{
    if (GetEmpty())
        return;
    switch (GetTransparencyMode()) {
    case ptmBit:
        DrawBitTransparent(dest, rect);
        break;
    case ptmPartial:
        DrawPartialTrans(dest, rect);
        break;
    default:
        DrawOpaque(dest, rect);
        break;
    }
}

void TPNGObject::DrawOpaque(TBitmap32& dest, const TRect& rect)
{
    TChunkIHDR* header = Header();
    TDrawMapping m;
    if (!MakeMapping(rect, header->IHDRData.Width, header->IHDRData.Height, m))
        return;
    int i0, i1, j0, j1;
    VisibleSpan(m, dest, i0, i1, j0, j1);
    for (int j = j0; j < j1; ++j) {
        uint32_t sy = m.SourceY(j);
        TColor32* line = dest.ScanLine(m.Top + j) + m.Left;
        for (int i = i0; i < i1; ++i)
            line[i] = 0xFF000000u | StorePixelRGB(*header, m.SourceX(i), sy);
    }
    dest.Changed();
}

void TPNGObject::DrawBitTransparent(TBitmap32& dest, const TRect& rect)
{
    TChunkIHDR* header = Header();
    TDrawMapping m;
    if (!MakeMapping(rect, header->IHDRData.Width, header->IHDRData.Height, m))
        return;
    // Grey and RGB pixels are compared with the key sample for sample; a palette pixel is keyed by its index, so an
    // opaque entry of the transparent entry's colour (or one the gamma shows alike) stays visible.
    const TChunktRNS* trns = Chunks().Find<TChunktRNS>();
    TKeyTest keyTest(*header, trns, GammaTable);
    const bool byIndex = header->IHDRData.ColorType == COLOR_PALETTE && trns;
    uint32_t key = ColorSwapKey(uint32_t(GetTransparentColor()));
    int i0, i1, j0, j1;
    VisibleSpan(m, dest, i0, i1, j0, j1);
    for (int j = j0; j < j1; ++j) {
        uint32_t sy = m.SourceY(j);
        TColor32* line = dest.ScanLine(m.Top + j) + m.Left;
        for (int i = i0; i < i1; ++i) {
            uint32_t sx = m.SourceX(i);
            uint32_t color = StorePixelRGB(*header, sx, sy);
            const bool keyed = keyTest.Active() ? keyTest.Matches(sx, sy)
                : byIndex                       ? trns->PaletteValues[StoreIndex(*header, sx, sy)] == 0
                                                : color == key;
            if (!keyed)
                line[i] = 0xFF000000u | color;
        }
    }
    dest.Changed();
}

void TPNGObject::DrawPartialTrans(TBitmap32& dest, TRect rect)
{
    TChunkIHDR* header = Header();
    TDrawMapping m;
    if (!MakeMapping(rect, header->IHDRData.Width, header->IHDRData.Height, m))
        return;
    int i0, i1, j0, j1;
    VisibleSpan(m, dest, i0, i1, j0, j1);
    // The destination is blended in place: it is the buffer the pixels would be read into and copied back from,
    // so no memory beyond the picture's own is needed.
    BlendRows(*header, Chunks().Find<TChunktRNS>(), Chunks().Find<TChunkPLTE>(), GammaTable, m, i0, i1, j0, j1,
        [&](int j) { return reinterpret_cast<uint8_t*>(dest.ScanLine(m.Top + j) + m.Left); });
    dest.Changed();
}

TRect TPNGObject::PixelInformationRect(const TPoint& point, int screenDpiX, int screenDpiY)
{
    double screenX = screenDpiX / 0.0254, screenY = screenDpiY / 0.0254;
    int32_t width = GetWidth(), height = GetHeight();
    if (auto* phys = Chunks().Find<TChunkpHYs>()) {
        // A pHYs chunk without a density says nothing about the size; the picture is then drawn pixel for pixel.
        if (phys->PPUnitX > 0)
            width = int32_t(Trunc(width / (phys->PPUnitX / screenX)));
        if (phys->PPUnitY > 0)
            height = int32_t(Trunc(height / (phys->PPUnitY / screenY)));
    }
    return TRect { point.X, point.Y, point.X + width, point.Y + height };
}

void TPNGObject::DrawUsingPixelInformation(TBitmap32& dest, const TPoint& point, int screenDpiX, int screenDpiY)
{
    Draw(dest, PixelInformationRect(point, screenDpiX, screenDpiY));
}

void TPNGObject::DrawUsingPixelInformation(TCanvas* canvas, const TPoint& point)
{
    // A canvas's DC reports the dots per inch of the screen it stands for.
    HDC dc = canvas->Handle();
    canvas->StretchDraw(
        PixelInformationRect(point, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)), this);
}

// ---------------------------------------------------------------------------------------------------------------
// On a canvas

void TPNGObject::Draw(TCanvas* canvas, const TRect& rect)
{
    if (GetEmpty())
        return;
    TChunkIHDR* header = Header();
    TRect r = Normalized(rect);
    if (r.Right == r.Left || r.Bottom == r.Top)
        return;
    HDC dc = canvas->Handle();
    switch (GetTransparencyMode()) {
    case ptmBit:
        // A colour mask keys every sample that shows the key's colour; where that is more than the key itself,
        // the pixels are keyed one by one in the blend path instead.
        if (ColorKeyIsExact())
            DrawMasked(dc, r);
        else
            DrawPartialTrans(dc, r);
        break;
    case ptmPartial:
        DrawPartialTrans(dc, r);
        break;
    default: {
        TStoreInfo info(*header);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, 0, 0, int(header->IHDRData.Width),
            int(header->IHDRData.Height), header->ImageData, info.Info(), DIB_RGB_COLORS, SRCCOPY);
        break;
    }
    }
}

bool TPNGObject::ColorKeyIsExact() const
{
    TChunkIHDR* header = Header();
    uint8_t colorType = header->IHDRData.ColorType;
    if (colorType == COLOR_PALETTE)
        return PaletteKeyIsExact(*header);
    if (colorType != COLOR_GRAYSCALE && colorType != COLOR_RGB)
        return true;
    if (header->IHDRData.BitDepth == 16)
        return false;
    // The key plane names the keyed pixels; a gamma may show other pixels in the key's colour.
    if (colorType == COLOR_RGB)
        return !header->ImageKey;
    // Grey levels come through the ramp, where a gamma may give two levels one colour.
    uint32_t count = std::min<uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256);
    bool seen[256] = {};
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t level = header->BitmapInfo.bmiColors[i].rgbRed;
        if (seen[level])
            return false;
        seen[level] = true;
    }
    return true;
}

bool TPNGObject::PaletteKeyIsExact(const TChunkIHDR& header) const
{
    const TChunktRNS* trns = Chunks().Find<TChunktRNS>();
    if (!trns)
        return true;
    // The key is a palette index; its colour names it only when no other entry shows that colour.
    uint32_t count = std::min<uint32_t>(header.BitmapInfo.bmiHeader.biClrUsed, 256);
    int keyed = -1;
    for (uint32_t i = 0; i < count && keyed < 0; ++i) {
        if (trns->PaletteValues[i] == 0)
            keyed = int(i);
    }
    if (keyed < 0)
        return true;
    const TPngRGBQuad& key = header.BitmapInfo.bmiColors[keyed];
    for (uint32_t i = 0; i < count; ++i) {
        const TPngRGBQuad& e = header.BitmapInfo.bmiColors[i];
        if (int(i) != keyed && e.rgbRed == key.rgbRed && e.rgbGreen == key.rgbGreen && e.rgbBlue == key.rgbBlue)
            return false;
    }
    return true;
}

void TPNGObject::DrawMasked(HDC dc, const TRect& rect)
{
    TChunkIHDR* header = Header();
    TStoreInfo info(*header);
    int w = int(header->IHDRData.Width), h = int(header->IHDRData.Height);
    int W = rect.Right - rect.Left, H = rect.Bottom - rect.Top;
    // The classic two-mask copy: the mask keeps the background where the picture has the key colour, the inverse
    // mask clears those pixels in the picture, and the two are ORed together off screen before one copy back.
    TScratchDC source(
        dc, CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, header->ImageData, info.Info(), DIB_RGB_COLORS));
    TScratchDC mask(dc, CreateBitmap(W, H, 1, 1, nullptr));
    TScratchDC inverse(dc, CreateBitmap(W, H, 1, 1, nullptr));
    TScratchDC work(dc, CreateCompatibleBitmap(dc, W, H));
    if (!source.Valid() || !mask.Valid() || !inverse.Valid() || !work.Valid())
        RaiseError<EPNGOutMemory>(EPNGOutMemoryText);

    COLORREF previous = SetBkColor(source.DC, COLORREF(GetTransparentColor()));
    StretchBlt(mask.DC, 0, 0, W, H, source.DC, 0, 0, w, h, SRCCOPY);
    SetBkColor(source.DC, previous);
    BitBlt(inverse.DC, 0, 0, W, H, mask.DC, 0, 0, NOTSRCCOPY);
    BitBlt(work.DC, 0, 0, W, H, dc, rect.Left, rect.Top, SRCCOPY);
    BitBlt(work.DC, 0, 0, W, H, mask.DC, 0, 0, SRCAND);
    StretchBlt(source.DC, 0, 0, w, h, inverse.DC, 0, 0, W, H, SRCAND);
    StretchBlt(work.DC, 0, 0, W, H, source.DC, 0, 0, w, h, SRCPAINT);
    BitBlt(dc, rect.Left, rect.Top, W, H, work.DC, 0, 0, SRCCOPY);
}

void TPNGObject::DrawPartialTrans(HDC dc, TRect rect)
{
    TChunkIHDR* header = Header();
    TDrawMapping m;
    if (!MakeMapping(rect, header->IHDRData.Width, header->IHDRData.Height, m))
        return;
    // A top-down 32-bit buffer of the rectangle: the canvas's pixels are read into it, blended and copied back.
    BITMAPINFO bufferInfo {};
    bufferInfo.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bufferInfo.bmiHeader.biWidth = m.Width;
    bufferInfo.bmiHeader.biHeight = -m.Height;
    bufferInfo.bmiHeader.biPlanes = 1;
    bufferInfo.bmiHeader.biBitCount = 32;
    bufferInfo.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // A memory DC compatible with the screen, as the canvas's own may be a window's.
    TScratchDC buffer(nullptr, CreateDIBSection(nullptr, &bufferInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!buffer.Valid() || !bits)
        RaiseError<EPNGOutMemory>(EPNGOutMemoryText);

    BitBlt(buffer.DC, 0, 0, m.Width, m.Height, dc, m.Left, m.Top, SRCCOPY);
    auto* first = static_cast<uint8_t*>(bits);
    size_t stride = size_t(m.Width) * 4;
    BlendRows(*header, Chunks().Find<TChunktRNS>(), Chunks().Find<TChunkPLTE>(), GammaTable, m, 0, m.Width, 0,
        m.Height,
        [&](int j) { return first + stride * size_t(j); });
    BitBlt(dc, m.Left, m.Top, m.Width, m.Height, buffer.DC, 0, 0, SRCCOPY);
}
