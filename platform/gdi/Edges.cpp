// DrawEdge and DrawFrameControl: the classic three-dimensional borders and the frame controls built on them.
#include "platform/gdi/Edges.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/win/Rects.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <vector>

namespace {

// Edge colours by the edge's four bits: row = inner bits (none, raised, sunken, both), column = outer bits.
// -1 draws nothing. An inner edge without an outer one is drawn where the outer one would be, in the outer
// table's first column.
using TEdgeTable = int[4][4];
constexpr int X = -1;
constexpr TEdgeTable kOuterTopLeft = {
    { X, COLOR_3DLIGHT, COLOR_BTNSHADOW, X },
    { COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, X },
    { COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, X },
    { X, COLOR_3DLIGHT, COLOR_BTNSHADOW, X },
};
constexpr TEdgeTable kInnerTopLeft = {
    { X, X, X, X },
    { X, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, X },
    { X, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, X },
    { X, X, X, X },
};
constexpr TEdgeTable kOuterBottomRight = {
    { X, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, X },
    { COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, X },
    { COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, X },
    { X, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, X },
};
constexpr TEdgeTable kInnerBottomRight = {
    { X, X, X, X },
    { X, COLOR_BTNSHADOW, COLOR_BTNSHADOW, X },
    { X, COLOR_3DLIGHT, COLOR_3DLIGHT, X },
    { X, X, X, X },
};
// Soft edges swap the light colours of the top-left sides; their bottom-right sides are the normal ones.
constexpr TEdgeTable kSoftOuterTopLeft = {
    { X, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, X },
    { COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, X },
    { COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, X },
    { X, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, X },
};
constexpr TEdgeTable kSoftInnerTopLeft = {
    { X, X, X, X },
    { X, COLOR_3DLIGHT, COLOR_3DLIGHT, X },
    { X, COLOR_BTNSHADOW, COLOR_BTNSHADOW, X },
    { X, X, X, X },
};

// The four colours (system colour indexes or -1) of one edge, and how many lines BF_ADJUST takes off.
struct TEdgeColors {
    int OuterTopLeft = X;
    int OuterBottomRight = X;
    int InnerTopLeft = X;
    int InnerBottomRight = X;
    int Lines = 0;
};

TEdgeColors EdgeColors(UINT edge, UINT flags)
{
    const int row = int(edge >> 2) & 3;
    const int column = int(edge) & 3;
    TEdgeColors c;
    // Flat and mono edges are one colour all round; any bits draw an outer line, inner bits with outer bits an
    // inner one. These counts are also what BF_ADJUST takes off in every mode.
    const bool outer = row != 0 || column != 0;
    const bool inner = row != 0 && column != 0;
    c.Lines = int(outer) + int(inner);
    if (flags & BF_MONO) {
        c.OuterTopLeft = c.OuterBottomRight = outer ? (column == 0 ? COLOR_WINDOW : COLOR_WINDOWFRAME) : X;
        c.InnerTopLeft = c.InnerBottomRight = inner ? COLOR_WINDOW : X;
    } else if (flags & BF_FLAT) {
        c.OuterTopLeft = c.OuterBottomRight = outer ? (column == 0 ? COLOR_BTNFACE : COLOR_BTNSHADOW) : X;
        c.InnerTopLeft = c.InnerBottomRight = inner ? COLOR_BTNFACE : X;
    } else {
        const bool soft = (flags & BF_SOFT) != 0;
        c.OuterTopLeft = (soft ? kSoftOuterTopLeft : kOuterTopLeft)[row][column];
        c.InnerTopLeft = (soft ? kSoftInnerTopLeft : kInnerTopLeft)[row][column];
        c.OuterBottomRight = kOuterBottomRight[row][column];
        c.InnerBottomRight = kInnerBottomRight[row][column];
    }
    return c;
}

RECT Shrunk(RECT r, UINT flags, int by)
{
    if (flags & BF_LEFT)
        r.left += by;
    if (flags & BF_TOP)
        r.top += by;
    if (flags & BF_RIGHT)
        r.right -= by;
    if (flags & BF_BOTTOM)
        r.bottom -= by;
    return r;
}

struct TLine {
    RECT Area;
    COLORREF Color;
};

// The lines of one edge around `r`: top and left first, so the bottom and right lines own the corners they share.
void EdgeLines(const RECT& r, UINT flags, int topLeft, int bottomRight, std::vector<TLine>& lines)
{
    if (topLeft != X) {
        if (flags & BF_TOP)
            lines.push_back({ RECT { r.left, r.top, r.right - 1, r.top + 1 }, GetSysColor(topLeft) });
        if (flags & BF_LEFT)
            lines.push_back({ RECT { r.left, r.top, r.left + 1, r.bottom - 1 }, GetSysColor(topLeft) });
    }
    if (bottomRight != X) {
        if (flags & BF_BOTTOM)
            lines.push_back({ RECT { r.left, r.bottom - 1, r.right, r.bottom }, GetSysColor(bottomRight) });
        if (flags & BF_RIGHT)
            lines.push_back({ RECT { r.right - 1, r.top, r.right, r.bottom }, GetSysColor(bottomRight) });
    }
}

// --- Frame controls -----------------------------------------------------------------------------------------

RECT CenteredSquare(const RECT& r)
{
    const int side = std::min(RectWidth(r), RectHeight(r));
    const int left = r.left + (RectWidth(r) - side) / 2;
    const int top = r.top + (RectHeight(r) - side) / 2;
    return RECT { left, top, left + side, top + side };
}

void Fill(HDC dc, const RECT& r, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// One glyph of the symbol font, centred in `r` at the height of `r`.
void Glyph(HDC dc, const RECT& r, char glyph, COLORREF color)
{
    const int height = RectHeight(r);
    if (height <= 0 || RectWidth(r) <= 0)
        return;
    // Crisp glyphs: they are symbols drawn to the pixel, not text.
    HFONT font = CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Marlett");
    const int saved = SaveDC(dc);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT box = r;
    DrawText(dc, &glyph, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    RestoreDC(dc, saved);
    DeleteObject(font);
}

// A push button: raised, or sunken when pushed, checked or flat.
void PushButton(HDC dc, RECT* rect, UINT state)
{
    const UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED | DFCS_FLAT)) ? EDGE_SUNKEN : EDGE_RAISED;
    RECT r = *rect;
    if (state & DFCS_MONO) {
        DrawEdge(dc, &r, edge, BF_MONO | BF_RECT | BF_ADJUST);
        if (!(state & DFCS_TRANSPARENT))
            Fill(dc, r, GetSysColor(COLOR_BTNFACE));
    } else {
        const UINT middle = (state & DFCS_TRANSPARENT) ? 0 : BF_MIDDLE;
        DrawEdge(dc, &r, edge, (state & DFCS_FLAT ? BF_FLAT : 0) | BF_RECT | BF_SOFT | middle);
    }
    if (state & DFCS_CHECKED && !(state & DFCS_TRANSPARENT)) {
        // A checked (latched) button shows a lighter face.
        r = Shrunk(*rect, BF_RECT, 2);
        Fill(dc, r, GetSysColor(COLOR_3DLIGHT));
    }
    if (state & DFCS_ADJUSTRECT)
        *rect = Shrunk(*rect, BF_RECT, 2);
}

void CheckBox(HDC dc, const RECT& rect, UINT state)
{
    RECT r = CenteredSquare(rect);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & (DFCS_FLAT | DFCS_MONO)) ? BF_MONO : 0));
    const bool grey = (state & (DFCS_INACTIVE | DFCS_PUSHED)) != 0;
    Fill(dc, r, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    if (state & DFCS_CHECKED) {
        const bool dim = (state & DFCS_INACTIVE) || (state & 0xFF) == DFCS_BUTTON3STATE;
        Glyph(dc, r, 'a', GetSysColor(dim ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
    }
}

void RadioButton(HDC dc, const RECT& rect, UINT state)
{
    const RECT r = CenteredSquare(rect);
    if ((state & 0xFF) == DFCS_BUTTONRADIOMASK) {
        Fill(dc, r, RGB(255, 255, 255));
        Glyph(dc, r, 'n', RGB(0, 0, 0));
        return;
    }
    const bool grey = (state & (DFCS_INACTIVE | DFCS_PUSHED)) != 0;
    Glyph(dc, r, 'n', GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    if (state & (DFCS_FLAT | DFCS_MONO)) {
        Glyph(dc, r, 'j', GetSysColor(COLOR_WINDOWFRAME));
        Glyph(dc, r, 'k', GetSysColor(COLOR_WINDOWFRAME));
    } else {
        Glyph(dc, r, 'j', GetSysColor(COLOR_BTNSHADOW));
        Glyph(dc, r, 'k', GetSysColor(COLOR_BTNHIGHLIGHT));
        Glyph(dc, r, 'l', GetSysColor(COLOR_3DDKSHADOW));
        Glyph(dc, r, 'm', GetSysColor(COLOR_3DLIGHT));
    }
    if (state & DFCS_CHECKED)
        Glyph(dc, r, 'i', GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
}

// A button with a symbol: scroll arrows, combo box buttons and caption buttons.
void SymbolButton(HDC dc, RECT* rect, UINT state, char symbol, bool plainEdge)
{
    if (plainEdge && !(state & 0xFF00 & ~DFCS_ADJUSTRECT)) {
        // A scroll arrow at rest has the plain raised edge, not the soft one of push buttons.
        RECT r = *rect;
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    } else {
        RECT r = *rect;
        PushButton(dc, &r, state & 0xFF00 & ~DFCS_ADJUSTRECT);
    }
    RECT glyph = CenteredSquare(Shrunk(*rect, BF_RECT, 2));
    if (state & DFCS_PUSHED)
        OffsetRect(&glyph, 1, 1);
    if (state & DFCS_INACTIVE) {
        // Etched: a light copy one pixel down and right under the grey symbol.
        RECT light = glyph;
        OffsetRect(&light, 1, 1);
        Glyph(dc, light, symbol, GetSysColor(COLOR_BTNHIGHLIGHT));
        Glyph(dc, glyph, symbol, GetSysColor(COLOR_BTNSHADOW));
    } else {
        Glyph(dc, glyph, symbol, GetSysColor(COLOR_BTNTEXT));
    }
    if (state & DFCS_ADJUSTRECT)
        *rect = Shrunk(*rect, BF_RECT, 2);
}

BOOL FrameButton(HDC dc, RECT* rect, UINT state)
{
    switch (state & 0xFF) {
    case DFCS_BUTTONPUSH:
        PushButton(dc, rect, state);
        return TRUE;
    case DFCS_BUTTONCHECK:
    case DFCS_BUTTON3STATE:
        CheckBox(dc, *rect, state);
        return TRUE;
    case DFCS_BUTTONRADIO:
    case DFCS_BUTTONRADIOIMAGE:
    case DFCS_BUTTONRADIOMASK:
        RadioButton(dc, *rect, state);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL FrameScroll(HDC dc, RECT* rect, UINT state)
{
    switch (state & 0xFF) {
    case DFCS_SCROLLUP:
        SymbolButton(dc, rect, state, '5', true);
        return TRUE;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX:
        SymbolButton(dc, rect, state, '6', true);
        return TRUE;
    case DFCS_SCROLLLEFT:
        SymbolButton(dc, rect, state, '3', true);
        return TRUE;
    case DFCS_SCROLLRIGHT:
        SymbolButton(dc, rect, state, '4', true);
        return TRUE;
    case DFCS_SCROLLSIZEGRIP:
    case DFCS_SCROLLSIZEGRIPRIGHT: {
        // Diagonal ridges in the corner: light then shadow glyphs over the face.
        const bool right = (state & 0xFF) == DFCS_SCROLLSIZEGRIP;
        if (!(state & DFCS_TRANSPARENT))
            Fill(dc, *rect, GetSysColor(COLOR_BTNFACE));
        const RECT r = CenteredSquare(*rect);
        Glyph(dc, r, right ? 'o' : 'x', GetSysColor(COLOR_BTNHIGHLIGHT));
        Glyph(dc, r, right ? 'p' : 'y', GetSysColor(COLOR_BTNSHADOW));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL FrameCaption(HDC dc, RECT* rect, UINT state)
{
    static constexpr char kSymbols[] = { 'r', '0', '1', '2', 's' };
    const UINT kind = state & 0xFF;
    if (kind > DFCS_CAPTIONHELP)
        return FALSE;
    SymbolButton(dc, rect, state, kSymbols[kind], false);
    return TRUE;
}

BOOL FrameMenu(HDC dc, const RECT& rect, UINT state, bool popup)
{
    char symbol;
    switch (state & 0xFF) {
    case DFCS_MENUARROW:
        symbol = '8';
        break;
    case DFCS_MENUCHECK:
        symbol = 'a';
        break;
    case DFCS_MENUBULLET:
        symbol = 'h';
        break;
    case DFCS_MENUARROWRIGHT:
        symbol = '7';
        break;
    default:
        return FALSE;
    }
    if (popup) {
        Glyph(dc, CenteredSquare(rect), symbol, GetTextColor(dc));
        return TRUE;
    }
    // Black on white: callers use it as a mask.
    Fill(dc, rect, RGB(255, 255, 255));
    Glyph(dc, CenteredSquare(rect), symbol, RGB(0, 0, 0));
    return TRUE;
}

} // namespace

BOOL DrawEdge(HDC handle, RECT* rect, UINT edge, UINT flags)
{
    if (!rect || (flags & BF_DIAGONAL) || !DCOf(handle))
        return FALSE;
    const RECT r = NormalizedRect(
        RECT { ClampCoord(rect->left), ClampCoord(rect->top), ClampCoord(rect->right), ClampCoord(rect->bottom) });
    const TEdgeColors colors = EdgeColors(edge, flags);
    std::vector<TLine> lines;
    EdgeLines(r, flags, colors.OuterTopLeft, colors.OuterBottomRight, lines);
    EdgeLines(Shrunk(r, flags, 1), flags, colors.InnerTopLeft, colors.InnerBottomRight, lines);
    const RECT inside = Shrunk(r, flags, colors.Lines);
    const BOOL drawn = WithTarget(handle, [&](TDeviceContext& dc, TDrawTarget& target) {
        for (const TLine& line : lines)
            if (line.Area.right > line.Area.left && line.Area.bottom > line.Area.top)
                PaintRegion(target, TRegion(ToSurface(dc, target, line.Area)), SolidFill(target, line.Color), 0xF0);
        if ((flags & BF_MIDDLE) && inside.right > inside.left && inside.bottom > inside.top) {
            const COLORREF middle = GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
            PaintRegion(target, TRegion(ToSurface(dc, target, inside)), SolidFill(target, middle), 0xF0);
        }
        return TRUE;
    });
    if (drawn && (flags & BF_ADJUST))
        *rect = inside;
    return drawn;
}

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state)
{
    if (!rect || !DCOf(dc))
        return FALSE;
    switch (type) {
    case DFC_BUTTON:
        return FrameButton(dc, rect, state);
    case DFC_SCROLL:
        return FrameScroll(dc, rect, state);
    case DFC_CAPTION:
        return FrameCaption(dc, rect, state);
    case DFC_MENU:
        return FrameMenu(dc, *rect, state, false);
    case DFC_POPUPMENU:
        return FrameMenu(dc, *rect, state, true);
    default:
        return FALSE;
    }
}
