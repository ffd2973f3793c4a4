// What device contexts need from the window layer: a window's place in its top-level's back buffer and the
// area it may draw on, a hook through which the DC layer supplies HDCs, and composing the screen.
#pragma once
#include "platform/win/TRegion.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <vector>

// A window's drawing surface: the back buffer of its top-level window (B,G,R,A, top-down), the DC origin
// (client or window top-left) in buffer coordinates, and the visible area in buffer coordinates: the window
// (or client) rectangle clipped by the parents' client areas, the window regions, hidden windows and, as
// the styles ask, overlapping siblings (WS_CLIPSIBLINGS) and children (WS_CLIPCHILDREN, client only).
// While a window is between BeginPaint and EndPaint its client surface is clipped to the paint region too.
// Pixels stays valid until the top-level window changes size or is destroyed.
struct TWindowSurface {
    uint32_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    POINT Origin {};
    TRegion Visible;
};

// False for an invalid window, a message-only window or one without a top-level buffer. With `limit` (client or
// window coordinates, as `client` says) the visible area is cut to it, reusing the storage `surface.Visible` already has: drawing calls
// clip to a rectangle most of the time, and then neither the window's kept region nor the clip is copied.
bool GetWindowSurface(HWND hwnd, bool client, TWindowSurface& surface, const RECT* limit = nullptr);
// Records that `bufferRect` (null: everything) of the top-level buffer of `hwnd` changed, so it is presented
// when the loop next goes idle.
void MarkSurfaceDirty(HWND hwnd, const RECT* bufferRect);
// Fills `rect` (client or window coordinates) with `color`, clipped to the visible area. For the default
// frame and background, and for tests until the DC layer exists.
void FillWindowRect(HWND hwnd, bool client, const RECT& rect, COLORREF color);
// Stores `value` in `count` pixels from `pixels` on, with the widest stores the processor has.
void FillPixels(uint32_t* pixels, size_t count, uint32_t value);
// Copies `pixels` (0xAARRGGBB as the buffers hold them, the top row first, rows `stride` bytes apart, which may be
// negative for a bottom-up image) to `rect` (client or window coordinates), clipped as the window's own DCs clip:
// to the visible area and, while the window paints, to the paint region. The copy is opaque and made here, so a
// new window's buffer owes the unpainted colour only where the copy does not reach: a first paint that copies
// the whole window through here spares filling the buffer first. False when the window shows nothing to draw on
// (it is gone or hidden, or has no buffer).
bool CopyToWindow(HWND hwnd, bool client, const RECT& rect, const uint32_t* pixels, ptrdiff_t stride);

// Supplies HDCs for GetDC, GetWindowDC and BeginPaint. `clip` (client coordinates) is the paint region
// during BeginPaint, else null. Without a provider those calls return null and painting goes through
// surfaces only.
class TDCProvider {
public:
    virtual ~TDCProvider();
    virtual HDC AcquireDC(HWND hwnd, bool client, const TRegion* clip) = 0;
    virtual int ReleaseDC(HWND hwnd, HDC dc) = 0;
    // Draws the caption text of the default frame; `rect` is in window coordinates. Nothing by default.
    virtual void DrawCaptionText(HWND hwnd, const RECT& rect, bool active);
    // Fills `rect` (logical coordinates of `dc`) with `color` through the DC's clipping and origin; false when
    // the DC is not one of this provider's. The default erase paints through it into the DC it is given.
    virtual bool FillDCRect(HDC dc, const RECT& rect, COLORREF color);
    // Inverts the caret at `rect` (client coordinates): all of it for a solid caret, XOR grey for a grey one, XOR
    // the bitmap's pixels (at the rectangle's corner, the bitmap's size) for a bitmap caret. False when the
    // provider cannot; the window layer then inverts solid and grey carets itself.
    virtual bool InvertCaret(HWND hwnd, const RECT& rect, HBITMAP bitmap);
};
// One provider at a time (not owned); null removes it. The provider stays installed when the layer stops and
// serves it again when it starts.
void SetDCProvider(TDCProvider* provider);
TDCProvider* InstalledDCProvider();

// Drawing on the screen DC (GetDC(0)): what is drawn there lies over every window, kept as the XOR of the drawn
// pixels with the windows' picture beneath, so drawing the same inversion again (a splitter's drag line) takes
// it away exactly. `xorPixels` holds `area` (screen coordinates) row by row; only the colour bits count. The
// overlay goes when the layer stops.
void XorScreenOverlay(const RECT& area, const uint32_t* xorPixels);

// The screen as the user would see it in `area` (screen coordinates): the desktop colour, then every visible
// top-level window bottom to top, cut by its region where shaping is available, blended by its constant
// opacity and colour key where layered windows are available, and the screen DC's drawing over them (except in
// snapshots that leave a window out). `exclude` is left out (for snapshots taken
// behind a window). Pixels are 0xAARRGGBB with alpha 255, rows top-down, `area` width per row.
std::vector<uint32_t> ComposeScreen(const RECT& area, COLORREF desktop, HWND exclude = nullptr);
