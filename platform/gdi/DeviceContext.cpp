#include "platform/gdi/DeviceContext.h"

#include "platform/win/Rects.h"
#include "platform/win/Windows.h"

#include <strings.h>
#include <utility>

namespace {

template <class T, class F> T WithDC(HDC dc, T failure, F&& f)
{
    TDeviceContext* context = DCOf(dc);
    return context ? f(*context) : failure;
}

BOOL SetOrigin(HDC dc, POINT TDCState::*member, int x, int y, bool offset, POINT* previous)
{
    return WithDC(dc, FALSE, [&](TDeviceContext& c) {
        POINT& origin = c.State.*member;
        if (previous)
            *previous = origin;
        if (offset)
            origin = POINT { ClampCoord(int64_t(origin.x) + x), ClampCoord(int64_t(origin.y) + y) };
        else
            origin = POINT { ClampCoord(x), ClampCoord(y) };
        return TRUE;
    });
}

BOOL GetPoint(HDC dc, POINT TDCState::*member, POINT* out)
{
    if (!out)
        return FALSE;
    return WithDC(dc, FALSE, [&](TDeviceContext& c) {
        *out = c.State.*member;
        return TRUE;
    });
}

} // namespace

HDC CreateCompatibleDC(HDC dc)
{
    if (dc && !DCOf(dc))
        return nullptr;
    return AddDeviceContext(std::make_unique<TDeviceContext>(TDCKind::Memory, nullptr, false, nullptr));
}

HDC CreateDC(const char* driver, const char*, const char*, const void*)
{
    if (!driver || strcasecmp(driver, "DISPLAY") != 0)
        return nullptr;
    return AddDeviceContext(std::make_unique<TDeviceContext>(TDCKind::Screen, nullptr, false, nullptr));
}

BOOL DeleteDC(HDC dc)
{
    TDeviceContext* context = DCOf(dc);
    if (!context || context->FromWindowLayer)
        return FALSE;
    return DestroyDeviceContext(dc);
}

HWND WindowFromDC(HDC dc)
{
    return WithDC(dc, HWND(nullptr), [](TDeviceContext& c) { return c.Window(); });
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    TDeviceContext* context = DCOf(dc);
    TGdiObject* target = GdiLookupObject(object);
    if (!context || !target)
        return nullptr;
    TDCState& s = context->State;
    switch (target->ObjectType()) {
    case OBJ_PEN:
    case OBJ_EXTPEN: {
        HGDIOBJ old = s.Pen.Handle();
        s.Pen = TSelected<TPenObject>(static_cast<TPenObject*>(target), context);
        return old;
    }
    case OBJ_BRUSH: {
        HGDIOBJ old = s.Brush.Handle();
        s.Brush = TSelected<TBrushObject>(static_cast<TBrushObject*>(target), context);
        return old;
    }
    case OBJ_FONT: {
        HGDIOBJ old = s.Font.Handle();
        s.Font = TSelected<TFontObject>(static_cast<TFontObject*>(target), context);
        return old;
    }
    case OBJ_BITMAP: {
        if (context->Kind() != TDCKind::Memory)
            return nullptr;
        TSelected<TBitmapObject> selection(static_cast<TBitmapObject*>(target), context);
        // Another DC holds the bitmap.
        if (!selection)
            return nullptr;
        HGDIOBJ old = s.Bitmap.Handle();
        s.Bitmap = std::move(selection);
        return old;
    }
    case OBJ_REGION: {
        const int result = SelectClipRgn(dc, static_cast<HRGN>(object));
        return result == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(uintptr_t(result));
    }
    default:
        return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT objectType)
{
    return WithDC(dc, HGDIOBJ(nullptr), [&](TDeviceContext& c) -> HGDIOBJ {
        switch (objectType) {
        case OBJ_PEN:
        case OBJ_EXTPEN:
            return c.State.Pen.Handle();
        case OBJ_BRUSH:
            return c.State.Brush.Handle();
        case OBJ_FONT:
            return c.State.Font.Handle();
        case OBJ_BITMAP:
            return c.State.Bitmap.Handle();
        case OBJ_PAL:
            return c.State.Palette.Handle();
        default:
            return nullptr;
        }
    });
}

int SaveDC(HDC dc)
{
    return WithDC(dc, 0, [](TDeviceContext& c) {
        c.Saved.push_back(c.State);
        return int(c.Saved.size());
    });
}

BOOL RestoreDC(HDC dc, int savedLevel)
{
    return WithDC(dc, FALSE, [&](TDeviceContext& c) {
        const int64_t count = int64_t(c.Saved.size());
        const int64_t index = savedLevel < 0 ? count + savedLevel : int64_t(savedLevel) - 1;
        if (savedLevel == 0 || index < 0 || index >= count)
            return FALSE;
        c.State = std::move(c.Saved[size_t(index)]);
        c.Saved.resize(size_t(index));
        return TRUE;
    });
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    return WithDC(dc, CLR_INVALID, [&](TDeviceContext& c) { return std::exchange(c.State.TextColor, color); });
}

COLORREF GetTextColor(HDC dc)
{
    return WithDC(dc, CLR_INVALID, [](TDeviceContext& c) { return c.State.TextColor; });
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    return WithDC(dc, CLR_INVALID, [&](TDeviceContext& c) { return std::exchange(c.State.BkColor, color); });
}

COLORREF GetBkColor(HDC dc)
{
    return WithDC(dc, CLR_INVALID, [](TDeviceContext& c) { return c.State.BkColor; });
}

int SetBkMode(HDC dc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return WithDC(dc, 0, [&](TDeviceContext& c) { return std::exchange(c.State.BkMode, mode); });
}

int GetBkMode(HDC dc)
{
    return WithDC(dc, 0, [](TDeviceContext& c) { return c.State.BkMode; });
}

int SetROP2(HDC dc, int mode)
{
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return WithDC(dc, 0, [&](TDeviceContext& c) { return std::exchange(c.State.Rop2, mode); });
}

int GetROP2(HDC dc)
{
    return WithDC(dc, 0, [](TDeviceContext& c) { return c.State.Rop2; });
}

int SetPolyFillMode(HDC dc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return WithDC(dc, 0, [&](TDeviceContext& c) { return std::exchange(c.State.PolyFillMode, mode); });
}

int GetPolyFillMode(HDC dc)
{
    return WithDC(dc, 0, [](TDeviceContext& c) { return c.State.PolyFillMode; });
}

COLORREF SetDCBrushColor(HDC dc, COLORREF color)
{
    return WithDC(dc, CLR_INVALID, [&](TDeviceContext& c) { return std::exchange(c.State.DCBrushColor, color); });
}

COLORREF GetDCBrushColor(HDC dc)
{
    return WithDC(dc, CLR_INVALID, [](TDeviceContext& c) { return c.State.DCBrushColor; });
}

COLORREF SetDCPenColor(HDC dc, COLORREF color)
{
    return WithDC(dc, CLR_INVALID, [&](TDeviceContext& c) { return std::exchange(c.State.DCPenColor, color); });
}

COLORREF GetDCPenColor(HDC dc)
{
    return WithDC(dc, CLR_INVALID, [](TDeviceContext& c) { return c.State.DCPenColor; });
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous)
{
    return SetOrigin(dc, &TDCState::BrushOrg, x, y, false, previous);
}

BOOL GetBrushOrgEx(HDC dc, POINT* origin)
{
    return GetPoint(dc, &TDCState::BrushOrg, origin);
}

int SetMapMode(HDC dc, int mode)
{
    if (mode != MM_TEXT)
        return 0;
    return WithDC(dc, 0, [](TDeviceContext&) { return MM_TEXT; });
}

int GetMapMode(HDC dc)
{
    return WithDC(dc, 0, [](TDeviceContext&) { return MM_TEXT; });
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous)
{
    return SetOrigin(dc, &TDCState::WindowOrg, x, y, false, previous);
}

BOOL GetWindowOrgEx(HDC dc, POINT* origin)
{
    return GetPoint(dc, &TDCState::WindowOrg, origin);
}

BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous)
{
    return SetOrigin(dc, &TDCState::WindowOrg, dx, dy, true, previous);
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous)
{
    return SetOrigin(dc, &TDCState::ViewportOrg, x, y, false, previous);
}

BOOL GetViewportOrgEx(HDC dc, POINT* origin)
{
    return GetPoint(dc, &TDCState::ViewportOrg, origin);
}

BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous)
{
    return SetOrigin(dc, &TDCState::ViewportOrg, dx, dy, true, previous);
}

BOOL LPtoDP(HDC dc, POINT* points, int count)
{
    if (!points || count < 0)
        return FALSE;
    return WithDC(dc, FALSE, [&](TDeviceContext& c) {
        for (int i = 0; i < count; ++i)
            points[i] = c.ToDevice(points[i].x, points[i].y);
        return TRUE;
    });
}

BOOL DPtoLP(HDC dc, POINT* points, int count)
{
    if (!points || count < 0)
        return FALSE;
    return WithDC(dc, FALSE, [&](TDeviceContext& c) {
        for (int i = 0; i < count; ++i)
            points[i] = c.ToLogical(points[i].x, points[i].y);
        return TRUE;
    });
}

int GetDeviceCaps(HDC dc, int index)
{
    return WithDC(dc, 0, [&](TDeviceContext& c) {
        const TBitmapObject* bitmap = c.State.Bitmap.Get();
        const bool mono = c.Kind() == TDCKind::Memory && bitmap && bitmap->Surface.Mono();
        switch (index) {
        case DRIVERVERSION:
            return 0x4000;
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZRES:
        case DESKTOPHORZRES:
            return GetSystemMetrics(SM_CXSCREEN);
        case VERTRES:
        case DESKTOPVERTRES:
            return GetSystemMetrics(SM_CYSCREEN);
        case HORZSIZE:
            return GetSystemMetrics(SM_CXSCREEN) * 254 / 960;
        case VERTSIZE:
            return GetSystemMetrics(SM_CYSCREEN) * 254 / 960;
        case BITSPIXEL:
            return mono ? 1 : 32;
        case PLANES:
            return 1;
        case NUMBRUSHES:
        case NUMPENS:
        case NUMCOLORS:
            return -1;
        case NUMFONTS:
            return 0;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case SIZEPALETTE:
        case NUMRESERVED:
            return 0;
        case COLORRES:
            return 24;
        case SHADEBLENDCAPS:
            return SB_CONST_ALPHA | SB_PIXEL_ALPHA;
        default:
            return 0;
        }
    });
}

BOOL GdiFlush()
{
    return TRUE;
}
