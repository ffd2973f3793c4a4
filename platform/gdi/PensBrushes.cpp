#include "platform/gdi/PensBrushes.h"

#include "platform/gdi/Bitmaps.h"

bool TBrushObject::SolidColor(COLORREF& color) const
{
    if (Style != BS_SOLID || UsesDCColor)
        return false;
    color = Color;
    return true;
}

TPenObject* PenOf(HGDIOBJ pen)
{
    TGdiObject* object = GdiLookupObject(pen);
    if (!object || (object->ObjectType() != OBJ_PEN && object->ObjectType() != OBJ_EXTPEN))
        return nullptr;
    return static_cast<TPenObject*>(object);
}

TBrushObject* BrushOf(HGDIOBJ brush)
{
    return GdiLookup<TBrushObject>(brush, OBJ_BRUSH);
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < int(PS_SOLID) || style > int(PS_INSIDEFRAME) || width < 0)
        return nullptr;
    // Only one-pixel pens keep their dashes, as with the old-style pens on Windows.
    if (width > 1 && style != int(PS_NULL) && style != int(PS_INSIDEFRAME))
        style = PS_SOLID;
    return static_cast<HPEN>(
        GdiAddDrawObject(std::make_unique<TPenObject>(UINT(style), width == 0 ? 1 : width, color & 0xFFFFFF, false)));
}

HPEN CreatePenIndirect(const LOGPEN* pen)
{
    if (!pen)
        return nullptr;
    return CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles)
{
    const UINT lineStyle = style & PS_STYLE_MASK;
    const UINT type = style & PS_TYPE_MASK;
    if (!brush || styleCount != 0 || styles || lineStyle == PS_USERSTYLE || lineStyle > PS_ALTERNATE)
        return nullptr;
    if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)
        return nullptr;
    if (type == PS_COSMETIC && width != 1)
        return nullptr;
    if (lineStyle == PS_ALTERNATE && type != PS_COSMETIC)
        return nullptr;
    if (width > 0x10000)
        return nullptr;
    UINT effective = brush->lbStyle == BS_NULL ? PS_NULL : lineStyle;
    if (width > 1 && effective != PS_NULL && effective != PS_INSIDEFRAME)
        effective = PS_SOLID;
    return static_cast<HPEN>(GdiAddDrawObject(std::make_unique<TPenObject>(
        (style & ~PS_STYLE_MASK) | effective, width == 0 ? 1 : int(width), brush->lbColor & 0xFFFFFF, true)));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(GdiAddDrawObject(std::make_unique<TBrushObject>(BS_SOLID, color & 0xFFFFFF, 0)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    return static_cast<HBRUSH>(GdiAddDrawObject(std::make_unique<TBrushObject>(BS_HATCHED, color & 0xFFFFFF, hatch)));
}

namespace {

HBRUSH PatternBrush(const TSurface& surface, bool mono, HBITMAP source, UINT style)
{
    if (!surface.IsValid())
        return nullptr;
    auto brush = std::make_unique<TBrushObject>(style, 0, 0);
    brush->PatternWidth = surface.Width();
    brush->PatternHeight = surface.Height();
    brush->PatternMono = mono;
    brush->SourceBitmap = source;
    brush->Pattern.resize(size_t(surface.Width()) * size_t(surface.Height()));
    for (int y = 0; y < surface.Height(); ++y) {
        uint32_t* row = brush->Pattern.data() + size_t(y) * size_t(surface.Width());
        surface.ReadRow(y, 0, surface.Width(), row);
        if (mono)
            for (int x = 0; x < surface.Width(); ++x)
                row[x] = (row[x] & 0xFFFFFF) ? 1 : 0;
        else
            for (int x = 0; x < surface.Width(); ++x)
                row[x] &= 0xFFFFFF;
    }
    return static_cast<HBRUSH>(GdiAddDrawObject(std::move(brush)));
}

} // namespace

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    TBitmapObject* object = BitmapOf(bitmap);
    if (!object)
        return nullptr;
    return PatternBrush(object->Surface, object->Surface.Mono(), bitmap, BS_PATTERN);
}

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage)
{
    if (!packedDib || usage != DIB_RGB_COLORS)
        return nullptr;
    const auto* info = static_cast<const BITMAPINFO*>(packedDib);
    TDIBFormat format;
    if (!ReadDIBFormat(info, usage, nullptr, format))
        return nullptr;
    size_t tableBytes = format.Colors.size() * sizeof(RGBQUAD);
    if (format.Compression == BI_BITFIELDS && info->bmiHeader.biSize == sizeof(BITMAPINFOHEADER))
        tableBytes = 3 * sizeof(DWORD);
    const auto* bits = static_cast<const uint8_t*>(packedDib) + info->bmiHeader.biSize + tableBytes;
    TSurface surface;
    if (!DIBSurface(format, bits, surface))
        return nullptr;
    return PatternBrush(surface, false, nullptr, BS_DIBPATTERNPT);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush)
{
    if (!brush)
        return nullptr;
    switch (brush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
        return static_cast<HBRUSH>(GdiAddDrawObject(std::make_unique<TBrushObject>(BS_NULL, 0, 0)));
    case BS_HATCHED:
        return CreateHatchBrush(int(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    case BS_DIBPATTERNPT:
        return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(brush->lbHatch), DIB_RGB_COLORS);
    default:
        return nullptr;
    }
}
