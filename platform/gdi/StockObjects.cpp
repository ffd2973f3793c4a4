// The stock objects and system colour brushes, made once per process, and GetObject for every drawing object.
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <array>
#include <cstring>
#include <mutex>

namespace {

constexpr int kStockCount = DEFAULT_BITMAP + 1;
constexpr int kSysColorCount = COLOR_MENUBAR + 1;

template <class T> HGDIOBJ Stock(std::unique_ptr<T> object)
{
    object->MakeStock();
    return GdiAddDrawObject(std::move(object));
}

HGDIOBJ StockFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily)
{
    LOGFONT log {};
    log.lfHeight = height;
    log.lfWeight = weight;
    log.lfCharSet = ANSI_CHARSET;
    log.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(log.lfFaceName, face, LF_FACESIZE - 1);
    return Stock(std::make_unique<TFontObject>(log));
}

HGDIOBJ StockBrush(COLORREF color)
{
    return Stock(std::make_unique<TBrushObject>(BS_SOLID, color, 0));
}

HGDIOBJ StockPen(UINT style, COLORREF color)
{
    return Stock(std::make_unique<TPenObject>(style, 1, color, false));
}

const std::array<HGDIOBJ, kStockCount>& StockObjects()
{
    // Made on first use, from any thread; they stay in the table for the life of the process.
    static const std::array<HGDIOBJ, kStockCount> objects = [] {
        std::array<HGDIOBJ, kStockCount> o {};
        o[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        o[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        o[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        o[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        o[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        o[NULL_BRUSH] = Stock(std::make_unique<TBrushObject>(BS_NULL, 0, 0));
        o[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        o[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
        o[NULL_PEN] = StockPen(PS_NULL, RGB(0, 0, 0));
        o[OEM_FIXED_FONT] = StockFont("Courier New", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        o[ANSI_FIXED_FONT] = StockFont("Courier New", 13, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        o[ANSI_VAR_FONT] = StockFont("MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        o[SYSTEM_FONT] = StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
        o[DEVICE_DEFAULT_FONT] = StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
        o[DEFAULT_PALETTE] = Stock(std::make_unique<TPaletteObject>(DefaultPaletteEntries()));
        o[SYSTEM_FIXED_FONT] = StockFont("Courier New", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        o[DEFAULT_GUI_FONT] = StockFont("MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        auto dcBrush = std::make_unique<TBrushObject>(BS_SOLID, RGB(255, 255, 255), 0);
        dcBrush->UsesDCColor = true;
        o[DC_BRUSH] = Stock(std::move(dcBrush));
        auto dcPen = std::make_unique<TPenObject>(PS_SOLID, 1, RGB(0, 0, 0), false);
        dcPen->UsesDCColor = true;
        o[DC_PEN] = Stock(std::move(dcPen));
        o[DEFAULT_BITMAP] = Stock(TBitmapObject::CreateDDB(1, 1, true));
        return o;
    }();
    return objects;
}

} // namespace

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= kStockCount)
        return nullptr;
    return StockObjects()[size_t(index)];
}

HBRUSH GetSysColorBrush(int index)
{
    static const std::array<HGDIOBJ, kSysColorCount> brushes = [] {
        std::array<HGDIOBJ, kSysColorCount> b {};
        for (int i = 0; i < kSysColorCount; ++i)
            b[size_t(i)] = StockBrush(GetSysColor(i));
        return b;
    }();
    if (index < 0 || index >= kSysColorCount)
        return nullptr;
    return static_cast<HBRUSH>(brushes[size_t(index)]);
}

namespace {

template <class T> int CopyRecord(const T& record, int size, void* buffer)
{
    if (!buffer)
        return int(sizeof(T));
    if (size < int(sizeof(T)))
        return 0;
    std::memcpy(buffer, &record, sizeof(T));
    return int(sizeof(T));
}

int BitmapRecord(const TBitmapObject& bitmap, int size, void* buffer)
{
    const TSurface& s = bitmap.Surface;
    BITMAP bm {};
    bm.bmWidth = s.Width();
    bm.bmHeight = s.Height();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(s.BitCount());
    bm.bmWidthBytes = bitmap.DIBSection ? LONG(TSurface::RowBytes(s.Width(), s.BitCount(), 4))
                                        : LONG(TSurface::RowBytes(s.Width(), s.BitCount(), 2));
    bm.bmBits = bitmap.DIBSection ? s.Bits() : nullptr;
    if (bitmap.DIBSection && buffer && size >= int(sizeof(DIBSECTION))) {
        DIBSECTION ds {};
        ds.dsBm = bm;
        ds.dsBmih = bitmap.Header;
        ds.dsBmih.biSizeImage = DWORD(bitmap.MemorySize);
        for (int i = 0; i < 3; ++i)
            ds.dsBitfields[i] = bitmap.Bitfields[i];
        return CopyRecord(ds, size, buffer);
    }
    return CopyRecord(bm, size, buffer);
}

} // namespace

int GetObject(HGDIOBJ object, int size, void* buffer)
{
    TGdiObject* target = GdiLookupObject(object);
    if (!target || size < 0)
        return 0;
    switch (target->ObjectType()) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
        const auto* pen = static_cast<const TPenObject*>(target);
        const LOGPEN log { pen->Style, POINT { pen->Width, 0 }, pen->Color };
        return CopyRecord(log, size, buffer);
    }
    case OBJ_BRUSH: {
        const auto* brush = static_cast<const TBrushObject*>(target);
        LOGBRUSH log { brush->Style, brush->Color, uintptr_t(brush->Hatch) };
        if (brush->Style == BS_PATTERN)
            log.lbHatch = reinterpret_cast<uintptr_t>(brush->SourceBitmap);
        return CopyRecord(log, size, buffer);
    }
    case OBJ_FONT:
        return CopyRecord(static_cast<const TFontObject*>(target)->Log, size, buffer);
    case OBJ_BITMAP:
        return BitmapRecord(*static_cast<const TBitmapObject*>(target), size, buffer);
    case OBJ_PAL: {
        const WORD count = WORD(static_cast<const TPaletteObject*>(target)->Entries.size());
        return CopyRecord(count, size, buffer);
    }
    default:
        return 0;
    }
}
