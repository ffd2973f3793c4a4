// Pixels, lines and filled shapes: SetPixel/GetPixel, MoveToEx/LineTo/Polyline, Rectangle, RoundRect, Ellipse,
// Polygon, FillRect, FrameRect, InvertRect, DrawFocusRect and DrawEdge (drawn in Edges.cpp).
#pragma once
#include "platform/gdi/GdiTypes.h"

// DrawEdge borders and flags.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BDR_OUTER = 0x0003;
constexpr UINT BDR_INNER = 0x000C;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_DIAGONAL = 0x0010;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_SOFT = 0x1000;
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;

// The colour actually stored (the nearest the surface holds), or CLR_INVALID outside the clip.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the surface or the clip.
COLORREF GetPixel(HDC dc, int x, int y);

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);
// Draws from the current position to (x, y) without the end pixel (one-pixel pens) and moves there.
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);

// The figures fill with the brush and outline with the pen, both under the DC's mix mode (SetROP2). A one-pixel
// pen covers left .. right - 1 and top .. bottom - 1; without a pen the fill covers one pixel less on the right
// and bottom, as on Windows. Wider pens are centred on that outline (PS_INSIDEFRAME keeps them inside).
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Filled by the DC's fill mode (ALTERNATE or WINDING); at least 2 points.
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);

// Paints the rectangle (right and bottom excluded) with the brush, whatever the mix mode. `brush` may also be a
// system colour index + 1.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// A one-pixel border with the brush.
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
// Inverts every other pixel of a one-pixel border; drawing it again removes it.
BOOL DrawFocusRect(HDC dc, const RECT* rect);
// Classic three-dimensional borders in the system colours: the outer edge, then the inner one inside it, each
// with a top-left and a bottom-right colour. BF_SOFT softens the colours, BF_FLAT draws the outer edge in the
// shadow colour and the inner one in the face colour, BF_MONO draws them in the frame and window colours.
// BF_MIDDLE fills the inside (window colour with BF_MONO, else face colour); BF_ADJUST returns the inside in
// `rect`. BF_DIAGONAL is not supported and fails.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
