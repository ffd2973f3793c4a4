#include "framed/FrCommon.h"

#include "framed/ThemeServices.h"
#include "framework/controls/TControl.h"
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct TColorPair {
    TColor UpperLeft;
    TColor LowerRight;
};

// Upper-left and lower-right colours of the styles that paint with one pair.
constexpr std::array<TColorPair, 11> FrameStyleColors { {
    { clWindow, clWindow }, // fsNone
    { cl3DDkShadow, cl3DDkShadow }, // fsFlat
    { clBtnShadow, clBtnHighlight }, // fsGroove
    { clBtnHighlight, clBtnShadow }, // fsBump
    { clBtnShadow, clBtnHighlight }, // fsLowered
    { clNone, clNone }, // fsButtonDown
    { cl3DDkShadow, clBtnFace }, // fsRaised
    { clNone, clNone }, // fsButtonUp
    { clBtnShadow, clBtnHighlight }, // fsStatus
    { clBtnHighlight, clBtnShadow }, // fsPopup
    { clBtnShadow, clBtnShadow }, // fsFlatBold
} };

// Two rings, outer then inner: [lowered][ring].
constexpr TColorPair Edge3D[2][2] = {
    { { cl3DLight, cl3DDkShadow }, { clBtnHighlight, clBtnShadow } },
    { { clBtnShadow, clBtnHighlight }, { cl3DDkShadow, cl3DLight } },
};
// [pressed][ring].
constexpr TColorPair ButtonEdge[2][2] = {
    { { clBtnHighlight, cl3DDkShadow }, { cl3DLight, clBtnShadow } },
    { { clBtnText, clBtnText }, { clBtnShadow, clBtnShadow } },
};

uint8_t ToByte(double value)
{
    return static_cast<uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

TColor RgbColor(uint8_t r, uint8_t g, uint8_t b)
{
    return TColor(uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16);
}

void Line(TCanvas* canvas, TColor color, int x1, int y1, int x2, int y2)
{
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void PreparePen(TCanvas* canvas)
{
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetMode(pmCopy);
}

// The groove and bump look: two offset rings of side lines, with the corners where they meet mended.
TRect PaintGrooveSides(TCanvas* canvas, TRect b, TColor u, TColor d, TSides sides)
{
    if (sides.Empty())
        return b;
    PreparePen(canvas);
    const bool left = sides.Contains(sdLeft);
    const bool top = sides.Contains(sdTop);
    const bool right = sides.Contains(sdRight);
    const bool bottom = sides.Contains(sdBottom);
    if (right)
        canvas->SetPixels(b.Right - 1, b.Top, d);
    else if (top)
        canvas->SetPixels(b.Right - 1, b.Top, u);
    if (bottom)
        canvas->SetPixels(b.Left, b.Bottom - 1, d);
    else if (left)
        canvas->SetPixels(b.Left, b.Bottom - 1, u);
    if (top && !left)
        canvas->SetPixels(b.Left, b.Top + 1, d);
    if (left && !top)
        canvas->SetPixels(b.Left + 1, b.Top, d);
    if (bottom && !right)
        canvas->SetPixels(b.Right - 1, b.Bottom - 2, u);
    if (right && !bottom)
        canvas->SetPixels(b.Right - 2, b.Bottom - 1, u);
    PaintFrameSides(canvas, Rect(b.Left + 1, b.Top + 1, b.Right, b.Bottom), d, d, sides);
    PaintFrameSides(canvas, Rect(b.Left, b.Top, b.Right - 1, b.Bottom - 1), u, u, sides);
    if (left)
        b.Left += 2;
    if (top)
        b.Top += 2;
    if (right)
        b.Right -= 2;
    if (bottom)
        b.Bottom -= 2;
    return b;
}

TRect PaintRings(TCanvas* canvas, TRect bounds, const TColorPair (&rings)[2], TSides sides)
{
    bounds = PaintFrameSides(canvas, bounds, rings[0].UpperLeft, rings[0].LowerRight, sides);
    return PaintFrameSides(canvas, bounds, rings[1].UpperLeft, rings[1].LowerRight, sides);
}

} // namespace

int SidesToInt(TSides sides)
{
    int bits = 0;
    for (TSide side : { sdLeft, sdTop, sdRight, sdBottom })
        if (sides.Contains(side))
            bits |= 1 << side;
    return bits;
}

TSides IntToSides(int bits)
{
    TSides sides;
    for (TSide side : { sdLeft, sdTop, sdRight, sdBottom })
        if (bits & (1 << side))
            sides.Include(side);
    return sides;
}

void SplitColorHsl(TColor color, uint8_t& h, uint8_t& s, uint8_t& l)
{
    const uint32_t rgb = uint32_t(ColorToRGB(color));
    const double r = (rgb & 0xFF) / 255.0;
    const double g = ((rgb >> 8) & 0xFF) / 255.0;
    const double b = ((rgb >> 16) & 0xFF) / 255.0;
    const double max = std::max({ r, g, b });
    const double min = std::min({ r, g, b });
    const double light = (max + min) / 2;
    double hue = 0;
    double sat = 0;
    if (max != min) {
        const double d = max - min;
        sat = light < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (r == max)
            hue = (g - b) / d;
        else if (g != max)
            hue = 4 + (r - g) / d;
        else
            hue = 2 + (b - r) / d;
        hue /= 6;
        if (hue < 0)
            hue += 1;
    }
    h = ToByte(hue * 240);
    s = ToByte(sat * 240);
    l = ToByte(light * 240);
}

TColor JoinColorHsl(uint8_t hByte, uint8_t sByte, uint8_t lByte)
{
    // The hue divides by 239, not 240: a hue of 239 or 240 lands in sextant 6, which paints as sextant 0.
    const double h = hByte / 239.0;
    const double s = sByte / 240.0;
    const double l = lByte / 240.0;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0)
        return clBlack;
    const double m1 = 2 * l - m2;
    const double sv = (m2 - m1) / m2;
    const double h6 = h * 6;
    const int sextant = int(h6);
    const double step = m2 * sv * (h6 - sextant);
    const double up = m1 + step;
    const double down = m2 - step;
    double r, g, b;
    switch (sextant) {
    case 1:
        r = down, g = m2, b = m1;
        break;
    case 2:
        r = m1, g = m2, b = up;
        break;
    case 3:
        r = m1, g = down, b = m2;
        break;
    case 4:
        r = up, g = m1, b = m2;
        break;
    case 5:
        r = m2, g = m1, b = down;
        break;
    default:
        r = m2, g = up, b = m1;
        break;
    }
    return RgbColor(ToByte(std::min(r, 1.0) * 255), ToByte(std::min(g, 1.0) * 255), ToByte(std::min(b, 1.0) * 255));
}

uint8_t HueOfColor(TColor color)
{
    uint8_t h, s, l;
    SplitColorHsl(color, h, s, l);
    return h;
}

TColor DarkenColor(TColor color, uint8_t amount)
{
    uint8_t h, s, l;
    SplitColorHsl(color, h, s, l);
    return JoinColorHsl(h, s, uint8_t(std::max(0, l - amount)));
}

TColor LightenColor(TColor color, uint8_t amount)
{
    uint8_t h, s, l;
    SplitColorHsl(color, h, s, l);
    return JoinColorHsl(h, s, uint8_t(std::min(255, l + amount)));
}

TColor ShiftColorLightness(TColor color, int amount)
{
    if (amount < 0)
        return DarkenColor(color, uint8_t(std::min(255, -amount)));
    if (amount > 0)
        return LightenColor(color, uint8_t(std::min(255, amount)));
    return color;
}

bool ColorsIndistinct(TColor a, TColor b)
{
    uint8_t ha, sa, la, hb, sb, lb;
    SplitColorHsl(a, ha, sa, la);
    SplitColorHsl(b, hb, sb, lb);
    return std::abs(ha - hb) < 20 && std::abs(la - lb) < 60;
}

TRect PaintFrameSides(TCanvas* canvas, TRect b, TColor ulColor, TColor lrColor, TSides sides)
{
    PreparePen(canvas);
    if (sides.Contains(sdLeft))
        Line(canvas, ulColor, b.Left, b.Top, b.Left, b.Bottom);
    if (sides.Contains(sdTop))
        Line(canvas, ulColor, b.Left, b.Top, b.Right, b.Top);
    if (sides.Contains(sdRight))
        Line(canvas, lrColor, b.Right - 1, b.Top, b.Right - 1, b.Bottom);
    if (sides.Contains(sdBottom))
        Line(canvas, lrColor, b.Left, b.Bottom - 1, b.Right, b.Bottom - 1);
    if (sides.Contains(sdLeft))
        ++b.Left;
    if (sides.Contains(sdTop))
        ++b.Top;
    if (sides.Contains(sdRight))
        --b.Right;
    if (sides.Contains(sdBottom))
        --b.Bottom;
    return b;
}

TRect PaintBevelRings(TCanvas* canvas, TRect bounds, TColor ulColor, TColor lrColor, int width, TSides sides)
{
    for (int i = 0; i < width; ++i)
        bounds = PaintFrameSides(canvas, bounds, ulColor, lrColor, sides);
    return bounds;
}

TRect Paint3DEdgeSides(TCanvas* canvas, TRect bounds, bool lowered, TSides sides)
{
    return PaintRings(canvas, bounds, Edge3D[lowered], sides);
}

TRect PaintButtonEdge(TCanvas* canvas, TRect bounds, bool pressed)
{
    return PaintButtonEdgeSides(canvas, bounds, pressed, AllSides);
}

TRect PaintButtonEdgeSides(TCanvas* canvas, TRect bounds, bool pressed, TSides sides)
{
    return PaintRings(canvas, bounds, ButtonEdge[pressed], sides);
}

TRect PaintTintedButtonEdge(TCanvas* canvas, TRect bounds, TColor faceColor, bool pressed)
{
    return PaintTintedButtonEdgeSides(canvas, bounds, faceColor, pressed, AllSides);
}

TRect PaintTintedButtonEdgeSides(TCanvas* canvas, TRect bounds, TColor faceColor, bool pressed, TSides sides)
{
    if (pressed) {
        const TColor outer = DarkenColor(faceColor, 100);
        const TColor inner = DarkenColor(faceColor, 50);
        bounds = PaintFrameSides(canvas, bounds, outer, outer, sides);
        return PaintFrameSides(canvas, bounds, inner, inner, sides);
    }
    bounds = PaintFrameSides(canvas, bounds, LightenColor(faceColor, 100), DarkenColor(faceColor, 100), sides);
    return PaintFrameSides(canvas, bounds, LightenColor(faceColor, 40), DarkenColor(faceColor, 50), sides);
}

TRect PaintStyledBorder(TCanvas* canvas, TRect bounds, TFrameStyle style)
{
    return PaintStyledBorderSides(canvas, bounds, style, AllSides);
}

TRect PaintStyledBorderSides(TCanvas* canvas, TRect bounds, TFrameStyle style, TSides sides)
{
    const TColorPair colors = FrameStyleColors[style];
    switch (style) {
    case fsNone:
        return bounds;
    case fsFlat:
    case fsStatus:
    case fsPopup:
        return PaintFrameSides(canvas, bounds, colors.UpperLeft, colors.LowerRight, sides);
    case fsFlatBold:
        return PaintBevelRings(canvas, bounds, colors.UpperLeft, colors.LowerRight, 2, sides);
    case fsLowered:
    case fsRaised:
        return Paint3DEdgeSides(canvas, bounds, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp:
        return PaintButtonEdgeSides(canvas, bounds, style == fsButtonDown, sides);
    case fsGroove:
    case fsBump:
        return PaintGrooveSides(canvas, bounds, colors.UpperLeft, colors.LowerRight, sides);
    }
    return bounds;
}

TRect PaintTintedBorder(TCanvas* canvas, TRect bounds, TColor faceColor, TFrameStyle style)
{
    return PaintTintedBorderSides(canvas, bounds, faceColor, style, AllSides);
}

TRect PaintTintedBorderSides(TCanvas* canvas, TRect bounds, TColor faceColor, TFrameStyle style, TSides sides)
{
    auto dark = [faceColor](uint8_t n) { return DarkenColor(faceColor, n); };
    auto light = [faceColor](uint8_t n) { return LightenColor(faceColor, n); };
    switch (style) {
    case fsNone:
        return bounds;
    case fsFlat:
        return PaintFrameSides(canvas, bounds, dark(50), dark(50), sides);
    case fsGroove:
        return PaintGrooveSides(canvas, bounds, dark(50), light(100), sides);
    case fsBump:
        return PaintGrooveSides(canvas, bounds, light(100), dark(50), sides);
    case fsLowered:
        bounds = PaintFrameSides(canvas, bounds, dark(50), light(100), sides);
        return PaintFrameSides(canvas, bounds, dark(100), light(50), sides);
    case fsRaised:
        bounds = PaintFrameSides(canvas, bounds, light(50), dark(100), sides);
        return PaintFrameSides(canvas, bounds, light(100), dark(50), sides);
    case fsButtonDown:
    case fsButtonUp:
        return PaintTintedButtonEdgeSides(canvas, bounds, faceColor, style == fsButtonDown, sides);
    case fsStatus:
        return PaintFrameSides(canvas, bounds, dark(50), light(100), sides);
    case fsPopup:
        return PaintFrameSides(canvas, bounds, light(100), dark(50), sides);
    case fsFlatBold:
        return PaintBevelRings(canvas, bounds, dark(50), dark(50), 2, sides);
    }
    return bounds;
}

TRect PaintDottedFocus(TCanvas* canvas, TRect b)
{
    for (int y = b.Top + 1; y < b.Bottom; y += 2) {
        canvas->SetPixels(b.Left, y, clBlack);
        canvas->SetPixels(b.Right - 1, y, clBlack);
    }
    for (int x = b.Left + 1; x < b.Right; x += 2) {
        canvas->SetPixels(x, b.Top, clBlack);
        canvas->SetPixels(x, b.Bottom - 1, clBlack);
    }
    return Rect(b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1);
}

void PaintControlFrame(TCanvas* canvas, int width, int height, TFrameStyle frameStyle, TColor color, TColor frameColor,
    TSides frameSides, bool keepOuterRing)
{
    // Every step paints on the same outer rectangle, so the frame lies over the ring on the sides it covers.
    const TRect bounds = Rect(0, 0, width, height);
    if (!keepOuterRing)
        PaintBevelRings(canvas, bounds, color, color, 2, AllSides);
    if (frameStyle == fsFlat)
        PaintFrameSides(canvas, bounds, frameColor, frameColor, frameSides);
    else if (frameStyle == fsFlatBold)
        PaintBevelRings(canvas, bounds, frameColor, frameColor, 2, frameSides);
    else if (color == clWindow)
        PaintStyledBorderSides(canvas, bounds, frameStyle, frameSides);
    else
        PaintTintedBorderSides(canvas, bounds, color, frameStyle, frameSides);
}

void PaintDropArrow(TCanvas* canvas, TRect b, bool themed, bool enabled, bool pressed)
{
    const TColor savedBrush = canvas->Brush()->Color();
    TColor arrow = clBlack;
    if (!enabled) {
        arrow = clBtnShadow;
    } else if (themed) {
        // The style's own arrow colour: the drop-down button drawn aside, read at its middle.
        TBitmap sample;
        sample.SetWidth(17);
        sample.SetHeight(21);
        const RECT r { 0, 0, 16, 20 };
        ThemeServices()->PaintElement(sample.Canvas()->Handle(),
            TThemeServices::ComboPartState(tcDropDownButtonNormal), r);
        arrow = sample.Canvas()->Pixels(8, 10);
        if (ColorsIndistinct(arrow, clWindow))
            arrow = cl3DDkShadow;
    }
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(arrow);
    int cx = b.Left + (b.Right - b.Left) / 2;
    int cy = b.Top + (b.Bottom - b.Top) / 2;
    if ((b.Bottom - b.Top) % 2 == 0)
        --cy;
    cy += themed ? 4 : 2;
    if (pressed) {
        ++cx;
        ++cy;
    }
    if (themed) {
        const TPoint points[] = { { cx, cy }, { cx - 4, cy - 5 }, { cx - 3, cy - 7 }, { cx, cy - 3 }, { cx + 3, cy - 7 },
            { cx + 5, cy - 5 } };
        canvas->Polygon(points);
    } else {
        const TPoint points[] = { { cx, cy }, { cx - 3, cy - 4 }, { cx + 4, cy - 4 } };
        canvas->Polygon(points);
    }
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetColor(savedBrush);
}

HFONT CreateAngledFont(TFont* font, int angle)
{
    LOGFONT log {};
    log.lfHeight = font->Height();
    log.lfWidth = 0;
    log.lfEscapement = angle * 10;
    log.lfOrientation = 0;
    log.lfWeight = font->Style().Contains(fsBold) ? 700 : 400;
    log.lfItalic = font->Style().Contains(fsItalic);
    log.lfUnderline = font->Style().Contains(fsUnderline);
    log.lfStrikeOut = font->Style().Contains(fsStrikeOut);
    log.lfCharSet = 1;
    log.lfPitchAndFamily = font->Pitch() == fpVariable ? 2 : font->Pitch() == fpFixed ? 1 : 0;
    std::strncpy(log.lfFaceName, font->Name().c_str(), LF_FACESIZE - 1);
    return CreateFontIndirect(&log);
}

bool FontIsTrueType(TFont* font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font->Handle());
    TEXTMETRIC metrics {};
    GetTextMetrics(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

void PaintParentBackground(TControl* control, HDC dc, bool invalidateOtherParent)
{
    TWinControl* parent = control->Parent();
    if (!parent)
        return;
    const int saved = SaveDC(dc);
    POINT origin {};
    OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), &origin);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
    RestoreDC(dc, saved);
    if (invalidateOtherParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
        parent->Invalidate();
}

void NotifyDesignerChanged(TControl*)
{
}

bool FrameStyleFromIdent(std::string_view ident, TFrameStyle& style)
{
    static const char* const names[] = { "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
        "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold" };
    for (size_t i = 0; i < std::size(names); ++i) {
        if (ident.size() == std::strlen(names[i])
            && std::equal(ident.begin(), ident.end(), names[i],
                [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); })) {
            style = TFrameStyle(i);
            return true;
        }
    }
    return false;
}
