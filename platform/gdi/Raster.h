// Raster operations between surfaces: PatBlt, BitBlt and StretchBlt with the ternary raster operations and the
// stretch modes (negative sizes mirror), AlphaBlend, TransparentBlt, StretchDIBits and SetDIBitsToDevice.
#pragma once
#include "platform/gdi/GdiTypes.h"

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD NOMIRRORBITMAP = 0x80000000;
constexpr DWORD CAPTUREBLT = 0x40000000;

// Every operation works bitwise on whole 32-bit pixels (0xAARRGGBB), with brush and DC colours carrying alpha 0,
// so SRCCOPY moves alpha unchanged. Rectangles run from (x, y) to (x + width, y + height), right and bottom
// excluded; a negative width or height mirrors that axis. Source pixels outside the source surface leave the
// destination unchanged. A monochrome source paints 0 in the destination DC's text colour and 1 in its background
// colour; a colour source blitted into a monochrome bitmap gives 1 where it matches the source DC's background
// colour.

// Pattern and destination only (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS ...).
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, DWORD rop);
// BLACKONWHITE (the default) ANDs and WHITEONBLACK ORs the pixels a shrink drops, COLORONCOLOR drops them and
// HALFTONE averages them. Enlarging repeats pixels in every mode.
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);

// Source over destination with a constant alpha and, with AC_SRC_ALPHA, the source's premultiplied alpha.
// FALSE for negative sizes or a source rectangle outside the source surface.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, BLENDFUNCTION blend);
// Copies the source pixels whose colour differs from `transparent`. FALSE for negative sizes.
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, UINT transparent);

// From DIB memory. For a bottom-up DIB the source y counts from the bottom row, as on Windows. Returns the scan
// lines copied, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
    int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// `bits` holds `lines` scan lines from scan line `startScan`.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
    UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
