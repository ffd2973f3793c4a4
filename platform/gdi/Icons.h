// Icons and cursors as GDI sees them: made from and reported as mask and colour bitmaps, and drawn into DCs.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/win/Cursors.h"

// The colour bitmap (any depth; a 32-bit one with any non-zero alpha is drawn by its alpha) over the mask bitmap
// (1 keeps the destination). Without hbmColor, hbmMask holds the AND plane above the XOR plane. The bitmaps stay
// the caller's. Null (ERROR_INVALID_PARAMETER) for missing or mismatched bitmaps.
HICON CreateIconIndirect(const ICONINFO* info);
// New bitmaps the caller deletes: a monochrome mask and a 32-bit colour bitmap (none for monochrome cursors, whose
// mask then holds both planes). Icons report their centre as the hot spot. Standard cursors are not reported.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
// At the icon's own size.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// At `width` x `height` (0: the icon's size, or the system icon size with DI_DEFAULTSIZE). DI_MASK and DI_IMAGE
// draw one part alone (copied); both together (DI_NORMAL) combine them. With `flickerFreeBrush` the icon is drawn
// over that brush off screen first and the result copied. `step` (frames of animated cursors) must be 0.
BOOL DrawIconEx(
    HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFreeBrush, UINT flags);
