#include "platform/gdi/Palettes.h"

#include "platform/gdi/TDeviceContext.h"

#include <algorithm>

namespace {

constexpr PALETTEENTRY kStatic[20] = {
    { 0, 0, 0, 0 },
    { 128, 0, 0, 0 },
    { 0, 128, 0, 0 },
    { 128, 128, 0, 0 },
    { 0, 0, 128, 0 },
    { 128, 0, 128, 0 },
    { 0, 128, 128, 0 },
    { 192, 192, 192, 0 },
    { 192, 220, 192, 0 },
    { 166, 202, 240, 0 },
    { 255, 251, 240, 0 },
    { 160, 160, 164, 0 },
    { 128, 128, 128, 0 },
    { 255, 0, 0, 0 },
    { 0, 255, 0, 0 },
    { 255, 255, 0, 0 },
    { 0, 0, 255, 0 },
    { 255, 0, 255, 0 },
    { 0, 255, 255, 0 },
    { 255, 255, 255, 0 },
};

constexpr uint32_t kVga[16] = {
    0x000000,
    0x800000,
    0x008000,
    0x808000,
    0x000080,
    0x800080,
    0x008080,
    0xC0C0C0,
    0x808080,
    0xFF0000,
    0x00FF00,
    0xFFFF00,
    0x0000FF,
    0xFF00FF,
    0x00FFFF,
    0xFFFFFF,
};

uint32_t ToPixel(const PALETTEENTRY& e)
{
    return (uint32_t(e.peRed) << 16) | (uint32_t(e.peGreen) << 8) | e.peBlue;
}

TPaletteObject* PaletteOf(HPALETTE palette)
{
    return GdiLookup<TPaletteObject>(palette, OBJ_PAL);
}

} // namespace

const std::vector<PALETTEENTRY>& DefaultPaletteEntries()
{
    static const std::vector<PALETTEENTRY> entries(std::begin(kStatic), std::end(kStatic));
    return entries;
}

const std::vector<PALETTEENTRY>& HalftoneEntries()
{
    static const std::vector<PALETTEENTRY> entries = [] {
        std::vector<PALETTEENTRY> e(kStatic, kStatic + 10);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    e.push_back(PALETTEENTRY { BYTE(r * 51), BYTE(g * 51), BYTE(b * 51), 0 });
        // Greys between the cube's steps of 51.
        for (int i = 1; i <= 20; ++i) {
            const int v = i * 255 / 21;
            e.push_back(PALETTEENTRY { BYTE(v), BYTE(v), BYTE(v), 0 });
        }
        e.insert(e.end(), kStatic + 10, kStatic + 20);
        return e;
    }();
    return entries;
}

std::vector<uint32_t> DefaultColorTable(int bitCount)
{
    switch (bitCount) {
    case 1:
        return { 0x000000, 0xFFFFFF };
    case 4:
        return std::vector<uint32_t>(std::begin(kVga), std::end(kVga));
    case 8: {
        std::vector<uint32_t> table;
        for (const PALETTEENTRY& e : HalftoneEntries())
            table.push_back(ToPixel(e));
        return table;
    }
    default:
        return {};
    }
}

HPALETTE CreatePalette(const LOGPALETTE* palette)
{
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0)
        return nullptr;
    std::vector<PALETTEENTRY> entries(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(GdiAddDrawObject(std::make_unique<TPaletteObject>(std::move(entries))));
}

HPALETTE CreateHalftonePalette(HDC)
{
    return static_cast<HPALETTE>(GdiAddDrawObject(std::make_unique<TPaletteObject>(HalftoneEntries())));
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries)
{
    TPaletteObject* object = PaletteOf(palette);
    if (!object)
        return 0;
    const UINT size = UINT(object->Entries.size());
    if (!entries)
        return size;
    if (start >= size)
        return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(object->Entries.begin() + start, n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries)
{
    TPaletteObject* object = PaletteOf(palette);
    if (!object || !entries || object->Stock())
        return 0;
    const UINT size = UINT(object->Entries.size());
    if (start >= size)
        return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(entries, n, object->Entries.begin() + start);
    return n;
}

BOOL ResizePalette(HPALETTE palette, UINT count)
{
    TPaletteObject* object = PaletteOf(palette);
    if (!object || object->Stock() || count == 0 || count > 65535)
        return FALSE;
    object->Entries.resize(count, PALETTEENTRY { 0, 0, 0, 0 });
    return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color)
{
    TPaletteObject* object = PaletteOf(palette);
    if (!object || object->Entries.empty())
        return CLR_INVALID;
    UINT best = 0;
    int bestDistance = 1 << 30;
    for (UINT i = 0; i < object->Entries.size(); ++i) {
        const PALETTEENTRY& e = object->Entries[i];
        const int dr = int(e.peRed) - GetRValue(color);
        const int dg = int(e.peGreen) - GetGValue(color);
        const int db = int(e.peBlue) - GetBValue(color);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

COLORREF GetNearestColor(HDC dc, COLORREF color)
{
    if (!DCOf(dc))
        return CLR_INVALID;
    return color & 0xFFFFFF;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL)
{
    TDeviceContext* context = DCOf(dc);
    TPaletteObject* object = PaletteOf(palette);
    if (!context || !object)
        return nullptr;
    HPALETTE old = static_cast<HPALETTE>(context->State.Palette.Handle());
    context->State.Palette = TSelected<TPaletteObject>(object, context);
    return old;
}

UINT RealizePalette(HDC dc)
{
    return DCOf(dc) ? 0 : GDI_ERROR_UINT;
}
