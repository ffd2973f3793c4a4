// The device context calls: memory DCs, selection, saved states, colours and modes, window and viewport
// origins, clip regions and device capabilities.
#pragma once
#include "platform/gdi/TDeviceContext.h"

// GetDeviceCaps indexes.
constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;
constexpr int NUMPENS = 18;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int NUMRESERVED = 106;
constexpr int COLORRES = 108;
constexpr int DESKTOPVERTRES = 117;
constexpr int DESKTOPHORZRES = 118;
constexpr int SHADEBLENDCAPS = 120;
constexpr int DT_RASDISPLAY = 1;
constexpr int RC_BITBLT = 1;
constexpr int RC_BITMAP64 = 8;
constexpr int RC_DI_BITMAP = 0x80;
constexpr int RC_PALETTE = 0x100;
constexpr int RC_DIBTODEV = 0x200;
constexpr int RC_STRETCHBLT = 0x800;
constexpr int RC_STRETCHDIB = 0x2000;
constexpr int SB_CONST_ALPHA = 0x01;
constexpr int SB_PIXEL_ALPHA = 0x02;

// GetCurrentObject kinds are the OBJ_ values of GdiObjects.h.

// ExtSelectClipRgn adds RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF and RGN_COPY of Regions.h.

// A memory DC holding the 1x1 monochrome default bitmap. `dc` may be null (the screen); a stale handle fails.
HDC CreateCompatibleDC(HDC dc);
// Only "DISPLAY" is known: a screen DC, freed with DeleteDC.
HDC CreateDC(const char* driver, const char* device, const char* output, const void* initData);
// Frees a memory or CreateDC DC and releases what it holds selected. Window DCs go through ReleaseDC.
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);

// Pens, brushes, fonts and bitmaps (memory DCs only, one DC per bitmap) return the previous object; a region
// becomes the clip region (a copy) and the complexity is returned. Null (HGDI_ERROR for regions) on failure.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT objectType);

// Returns the new save level (from 1), 0 on failure.
int SaveDC(HDC dc);
// A negative level counts back from the latest save (-1: the latest); a positive one restores that save and
// drops the later ones. FALSE for a level that does not exist.
BOOL RestoreDC(HDC dc, int savedLevel);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
// TRANSPARENT or OPAQUE; 0 on failure or for another value.
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
// R2_BLACK .. R2_WHITE; applies to pens and to the brushes of Rectangle, Ellipse, RoundRect and Polygon.
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF GetDCBrushColor(HDC dc);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
COLORREF GetDCPenColor(HDC dc);
// Pattern brushes are aligned to this device point.
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetBrushOrgEx(HDC dc, POINT* origin);

// Only MM_TEXT: one logical unit is one pixel, y grows downwards.
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetWindowOrgEx(HDC dc, POINT* origin);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);

// The clip region is kept in device coordinates. A null region removes it.
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
// Logical coordinates; the result complexity, ERROR on failure.
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The bounding box (logical coordinates) of what can be drawn: the surface within the clip region, and for a
// window DC within the window's visible area (the paint region between BeginPaint and EndPaint).
int GetClipBox(HDC dc, RECT* rect);
// Copies the clip region (device coordinates): 1, 0 when the DC has none, -1 on failure.
int GetClipRgn(HDC dc, HRGN region);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// The display: 32 bits, 96 dots per inch, the virtual screen's size.
int GetDeviceCaps(HDC dc, int index);
// Drawing is never batched.
BOOL GdiFlush();
