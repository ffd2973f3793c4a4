// Logical palettes (HPALETTE): creation, the halftone and default palettes, entries, nearest index, selection
// and realization on a true-colour display; and the default colour tables of 1, 4 and 8-bit DIBs.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TGdiDrawObject.h"

#include <vector>

class TPaletteObject final : public TGdiDrawObject {
    using inherited = TGdiDrawObject;

public:
    explicit TPaletteObject(std::vector<PALETTEENTRY> entries)
        : TGdiDrawObject(OBJ_PAL)
        , Entries(std::move(entries))
    {
    }

    std::vector<PALETTEENTRY> Entries;
};

// The colour table a new DIB of `bitCount` bits gets when none is given: black and white; the 16 VGA colours;
// the 256 halftone colours. As 0x00RRGGBB.
std::vector<uint32_t> DefaultColorTable(int bitCount);
// The fixed halftone palette: the 20 static colours (10 first, 10 last), a 6x6x6 colour cube and 20 greys.
const std::vector<PALETTEENTRY>& HalftoneEntries();
// The 20 static colours of DEFAULT_PALETTE.
const std::vector<PALETTEENTRY>& DefaultPaletteEntries();

// Null for a version other than 0x300, no entries, or more than 65535.
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE CreateHalftonePalette(HDC dc);
// Entries copied; 0 for a bad handle or a start past the end.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
BOOL ResizePalette(HPALETTE palette, UINT count);
// CLR_INVALID for a bad handle or an empty palette.
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
// The display is true colour: every colour is its own nearest.
COLORREF GetNearestColor(HDC dc, COLORREF color);
// Returns the previous palette of the DC. The palette does not change how a true-colour surface draws.
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
// Nothing to map on a true-colour display: 0 entries.
UINT RealizePalette(HDC dc);
