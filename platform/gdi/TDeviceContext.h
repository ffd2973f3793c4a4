// TDeviceContext, the object behind an HDC: its kind (memory, window, screen), the drawing state that SaveDC
// keeps, and TDrawTarget, the surface and clip that one drawing call works on.
#pragma once
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/TSurface.h"
#include "platform/win/Regions.h"

#include <optional>
#include <vector>

// Background modes, mix modes, fill modes, stretch modes and mapping mode.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

constexpr int MM_TEXT = 1;

enum class TDCKind : uint8_t { Memory, Window, Screen };

// What SaveDC saves and RestoreDC brings back. Coordinates: device = logical - WindowOrg + ViewportOrg.
struct TDCState {
    TSelected<TPenObject> Pen;
    TSelected<TBrushObject> Brush;
    TSelected<TFontObject> Font;
    TSelected<TBitmapObject> Bitmap;
    TSelected<TPaletteObject> Palette;
    COLORREF TextColor = RGB(0, 0, 0);
    COLORREF BkColor = RGB(255, 255, 255);
    COLORREF DCPenColor = RGB(0, 0, 0);
    COLORREF DCBrushColor = RGB(255, 255, 255);
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int StretchMode = BLACKONWHITE;
    int PolyFillMode = ALTERNATE;
    UINT TextAlign = 0;
    int CharExtra = 0;
    POINT BrushOrg {};
    POINT CurrentPos {};
    POINT WindowOrg {};
    POINT ViewportOrg {};
    // Device coordinates; none means the whole surface.
    std::optional<TRegion> Clip;
};

// The pixels one call may touch: the surface, where device coordinates land on it, and the clip (the DC's clip
// region, the window's visible area and the surface bounds together) in surface coordinates.
struct TDrawTarget {
    TSurface* Surface = nullptr;
    TSurface Local;
    POINT Offset {}; // surface = device + Offset
    TRegion Clip;
    HWND Window = nullptr;
    RECT Dirty {};
    std::vector<uint32_t> Storage; // pixels of a composed screen area
    // Drawing on the screen: the composed screen before the call, to find what the call changed.
    bool Screen = false;
    std::vector<uint32_t> Original;

    void AddDirty(const RECT& surfaceRect);
};

class TDeviceContext final : public TGdiObject {
    using inherited = TGdiObject;

public:
    // Window DCs draw on `window` (its client area when `client`); `paintClip` (client coordinates) is the paint
    // region while painting.
    TDeviceContext(TDCKind kind, HWND window, bool client, const TRegion* paintClip);
    ~TDeviceContext() override;

    bool HoldsReferences() const override { return true; }

    // Only DeleteDC and ReleaseDC free a DC, never DeleteObject.
    bool CanDelete() const override { return Deleting; }

    HDC Handle() const { return FHandle; }
    TDCKind Kind() const { return FKind; }
    HWND Window() const { return FWindow; }

    // The drawing surface with the clip; false when the DC has nothing to draw on any more (its window is gone).
    // A call that touches nothing outside `deviceLimit` (device coordinates) passes it, so the clip is cut to it
    // and stays a plain rectangle in the common case.
    bool BeginDraw(TDrawTarget& target, const RECT* deviceLimit = nullptr);
    // Reports the touched part of a window's back buffer to the window layer.
    void EndDraw(TDrawTarget& target);
    // The surface as a blit source: no clip, source pixels only. The screen DC composes the windows in
    // `deviceArea` into target.Local.
    bool BeginRead(TDrawTarget& target, const RECT& deviceArea);

    POINT ToDevice(int x, int y) const;
    RECT ToDevice(const RECT& logical) const;
    POINT ToLogical(int x, int y) const;
    // The size of the surface in device coordinates (bitmap, client or window area, or the screen).
    RECT DeviceArea() const;

    TDCState State;
    std::vector<TDCState> Saved;
    bool Deleting = false;
    // Handed out by GetDC, GetWindowDC or BeginPaint: ReleaseDC frees it, DeleteDC refuses it.
    bool FromWindowLayer = false;

private:
    friend HDC AddDeviceContext(std::unique_ptr<TDeviceContext> dc);

    TDCKind FKind;
    HWND FWindow = nullptr;
    bool FClient = true;
    std::optional<TRegion> FPaintClip;
    HDC FHandle = nullptr;
};

TDeviceContext* DCOf(HDC dc);
HDC AddDeviceContext(std::unique_ptr<TDeviceContext> dc);
// Deletes a DC object whatever its kind.
BOOL DestroyDeviceContext(HDC dc);

// Coordinates far outside any surface are pinned here, so arithmetic on them cannot overflow.
constexpr int kCoordLimit = 1 << 28;
int ClampCoord(int64_t value);
