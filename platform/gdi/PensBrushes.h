// Pens (HPEN) and brushes (HBRUSH): cosmetic and wide pens with their styles; solid, hatched, pattern and null
// brushes; the stock objects and the system colour brushes; GetObject for every drawing object.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TGdiDrawObject.h"
#include "platform/win/WinSystem.h"

#include <vector>

class TPenObject final : public TGdiDrawObject {
    using inherited = TGdiDrawObject;

public:
    TPenObject(UINT style, int width, COLORREF color, bool extended)
        : TGdiDrawObject(extended ? OBJ_EXTPEN : OBJ_PEN)
        , Style(style)
        , Width(width)
        , Color(color)
    {
    }

    UINT LineStyle() const { return Style & PS_STYLE_MASK; }

    UINT Style;
    int Width;
    COLORREF Color;
    // DC_PEN: the colour comes from the DC (SetDCPenColor).
    bool UsesDCColor = false;
};

class TBrushObject final : public TGdiDrawObject {
    using inherited = TGdiDrawObject;

public:
    TBrushObject(UINT style, COLORREF color, int hatch)
        : TGdiDrawObject(OBJ_BRUSH)
        , Style(style)
        , Color(color)
        , Hatch(hatch)
    {
    }

    bool SolidColor(COLORREF& color) const override;

    UINT Style;
    COLORREF Color;
    int Hatch;
    // BS_PATTERN and BS_DIBPATTERN: a copy of the bitmap, 0x00RRGGBB, rows top-down. A monochrome pattern holds
    // 0 and 1 and paints 0 in the text colour and 1 in the background colour of the DC it draws on.
    std::vector<uint32_t> Pattern;
    int PatternWidth = 0;
    int PatternHeight = 0;
    bool PatternMono = false;
    // DC_BRUSH: the colour comes from the DC (SetDCBrushColor).
    bool UsesDCColor = false;
    // The bitmap a pattern brush was made from, reported by GetObject.
    HBITMAP SourceBitmap = nullptr;
};

TPenObject* PenOf(HGDIOBJ pen);
TBrushObject* BrushOf(HGDIOBJ brush);

// A width of 0 or 1 gives a one-pixel cosmetic pen; wider pens draw only solid (PS_INSIDEFRAME keeps the
// figure inside its rectangle). Null for an unknown style or a negative width.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
// Cosmetic or geometric pens with a solid brush; PS_ALTERNATE sets every other pixel. User styles and pattern
// brushes are not supported (null).
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);

HBRUSH CreateSolidBrush(COLORREF color);
// Null for an unknown hatch style.
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// Copies the bitmap (any size); the bitmap may be deleted afterwards.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
// `packedDib` is a BITMAPINFO followed by its bits.
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

// The stock objects, shared and never freed; null for an unknown index.
HGDIOBJ GetStockObject(int index);
// One shared solid brush per system colour index; null for an unknown index.
HBRUSH GetSysColorBrush(int index);

// Writes the object's record (LOGPEN, LOGBRUSH, LOGFONT, BITMAP or DIBSECTION, the WORD entry count of a
// palette) and returns the bytes written; with null `buffer` the bytes needed. 0 for a bad handle or a buffer
// too small for the record.
int GetObject(HGDIOBJ object, int size, void* buffer);
