#include "imaging/TArrowBar.h"

#include "framework/controls/TTimer.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/Img32Types.h"
#include "imaging/Img32_system.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Shapes.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"

#include <algorithm>

using namespace Img32_system;

namespace Img32_RangeBars {

namespace {
    int Channel(uint32_t c, int shift)
    {
        return int((c >> shift) & 0xFF);
    }
} // namespace

TColor Lighten(TColor c, int delta)
{
    const uint32_t rgb = uint32_t(ColorToRGB(c));
    auto channel = [&](int shift) { return uint32_t(std::clamp(Channel(rgb, shift) + delta, 0, 255)) << shift; };
    return TColor(channel(0) | channel(8) | channel(16));
}

TColor Blend(TColor a, TColor b, int w)
{
    if (w >= 256)
        throw EAssertionFailed("Assertion failure");
    const uint32_t ca = uint32_t(ColorToRGB(a));
    const uint32_t cb = uint32_t(ColorToRGB(b));
    auto channel = [&](int shift) {
        return uint32_t((Channel(ca, shift) * w + Channel(cb, shift) * (255 - w)) >> 8) << shift;
    };
    return TColor(channel(0) | channel(8) | channel(16));
}

} // namespace Img32_RangeBars

using namespace Img32_RangeBars;

namespace {

// Timer modes: idle, waiting out the first delay, repeating, hot tracking.
constexpr int tmIdle = 0;
constexpr int tmDragFirst = 1;
constexpr int tmDrag = 2;
constexpr int tmHot = 3;

constexpr uint32_t kFirstDelay = 600;
constexpr uint32_t kRepeatDelay = 100;
constexpr uint32_t kHotDelay = 150;

// Scroll-bar theme parts.
constexpr int SBP_ARROWBTN = 1;
constexpr int SBP_THUMBBTNHORZ = 2;
constexpr int SBP_THUMBBTNVERT = 3;
constexpr int SBP_LOWERTRACKHORZ = 4;
constexpr int SBP_UPPERTRACKHORZ = 5;
constexpr int SBP_LOWERTRACKVERT = 6;
constexpr int SBP_UPPERTRACKVERT = 7;
constexpr int SBP_GRIPPERHORZ = 8;
constexpr int SBP_GRIPPERVERT = 9;

bool IsEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

void ThemeBackground(HDC dc, int part, int state, const TRect& r)
{
    if (!DrawThemeBackground)
        return;
    const RECT rect = ToRECT(r);
    DrawThemeBackground(SCROLLBAR_THEME, dc, part, state, &rect, nullptr);
}

// C1 where x and y differ in parity, C2 where they agree; equal colours fill solid.
void PatternFill(TCanvas* canvas, const TRect& r, TColor c1, TColor c2)
{
    if (IsEmpty(r))
        return;
    const uint32_t rgb1 = uint32_t(ColorToRGB(c1));
    const uint32_t rgb2 = uint32_t(ColorToRGB(c2));
    if (rgb1 == rgb2) {
        canvas->Brush()->SetColor(c1);
        canvas->FillRect(r);
        return;
    }
    // The bitmap's pixels are 0x00RRGGBB; framework colours are 0x00BBGGRR.
    auto pixel = [](uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    uint32_t bits[64];
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            bits[y * 8 + x] = ((x ^ y) & 1) ? pixel(rgb1) : pixel(rgb2);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, bits);
    HBRUSH brush = CreatePatternBrush(bitmap);
    const RECT rect = ToRECT(r);
    ::FillRect(canvas->Handle(), &rect, brush);
    DeleteObject(brush);
    DeleteObject(bitmap);
}

void SolidFill(TCanvas* canvas, const TRect& r, TColor c)
{
    canvas->Brush()->SetColor(c);
    canvas->FillRect(r);
}

// A one-pixel 3D frame: top-left c1, bottom-right c2; with shrink, r shrinks by 1 on every side.
void Frame3DRect(TCanvas* canvas, TRect& r, TColor c1, TColor c2, bool shrink)
{
    canvas->Pen()->SetWidth(1);
    const int right = r.Right - 1;
    const int bottom = r.Bottom - 1;
    canvas->Pen()->SetColor(c1);
    const TPoint topLeft[] = { { r.Left, bottom }, { r.Left, r.Top }, { right, r.Top } };
    canvas->Polyline(topLeft);
    canvas->Pen()->SetColor(c2);
    const TPoint bottomRight[] = { { right, r.Top }, { right, bottom }, { r.Left - 1, bottom } };
    canvas->Polyline(bottomRight);
    if (shrink)
        r = TRect { r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1 };
}

// Lines along the given edges in the pen's colour, each moving that side of r inward by one pixel.
void DrawRectEdges(TCanvas* canvas, TRect& r, TRBDirections edges)
{
    if (edges.Contains(drUp)) {
        canvas->MoveTo(r.Left, r.Top);
        canvas->LineTo(r.Right, r.Top);
        ++r.Top;
    }
    if (edges.Contains(drDown)) {
        --r.Bottom;
        canvas->MoveTo(r.Left, r.Bottom);
        canvas->LineTo(r.Right, r.Bottom);
    }
    if (edges.Contains(drLeft)) {
        canvas->MoveTo(r.Left, r.Top);
        canvas->LineTo(r.Left, r.Bottom);
        ++r.Left;
    }
    if (edges.Contains(drRight)) {
        --r.Right;
        canvas->MoveTo(r.Right, r.Top);
        canvas->LineTo(r.Right, r.Bottom);
    }
}

// Every edge but the one facing away from the direction: a piece has no line on the side facing the handle.
TRBDirections EdgesOf(TRBDirection direction)
{
    TRBDirections all { drLeft, drUp, drRight, drDown };
    switch (direction) {
    case drLeft:
        return all.Exclude(drRight);
    case drUp:
        return all.Exclude(drDown);
    case drRight:
        return all.Exclude(drLeft);
    default:
        return all.Exclude(drUp);
    }
}

void DrawArrow(TCanvas* canvas, const TRect& r, TRBDirection direction, TColor color)
{
    int cx = (r.Left + r.Right - 1) / 2;
    int cy = (r.Top + r.Bottom - 1) / 2;
    int s = std::min(cx - r.Left, cy - r.Top) * 3 / 4 - 1;
    if (s == 0)
        s = 1;
    const int shift = (direction == drLeft || direction == drUp) ? (s + 1) / 3 : s / 3;
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
    switch (direction) {
    case drLeft: {
        cx += shift;
        const TPoint p[] = { { cx, cy + s }, { cx - s, cy }, { cx, cy - s } };
        canvas->Polygon(p);
        break;
    }
    case drUp: {
        cy += shift;
        const TPoint p[] = { { cx + s, cy }, { cx, cy - s }, { cx - s, cy } };
        canvas->Polygon(p);
        break;
    }
    case drRight: {
        cx -= shift;
        const TPoint p[] = { { cx, cy + s }, { cx + s, cy }, { cx, cy - s } };
        canvas->Polygon(p);
        break;
    }
    case drDown: {
        cy -= shift;
        const TPoint p[] = { { cx + s, cy }, { cx, cy + s }, { cx - s, cy } };
        canvas->Polygon(p);
        break;
    }
    }
}

} // namespace

// --- TArrowBar --------------------------------------------------------------------------------------------------

TArrowBar::TArrowBar(TComponent* owner)
    : inherited(owner)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls).Exclude(csDoubleClicks).Include(csOpaque);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 100, 16);
    SetParentColor(false);
    SetColor(clScrollBar);
    FTimer = new TTimer(this);
    // Idle until a press or a hover gives it work.
    FTimer->SetEnabled(false);
    FTimer->SetOnTimer([this](TObject* sender) { TimerHandler(sender); });
}

TArrowBar::~TArrowBar() = default;

void TArrowBar::SetBackgnd(TRBBackgnd value)
{
    if (value == FBackgnd)
        return;
    FBackgnd = value;
    Invalidate();
}

void TArrowBar::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TArrowBar::SetButtonSize(int value)
{
    if (value == FButtonSize)
        return;
    FButtonSize = value;
    Invalidate();
}

void TArrowBar::SetHandleColor(TColor value)
{
    if (value == FHandleColor)
        return;
    FHandleColor = value;
    Invalidate();
}

void TArrowBar::SetKind(TScrollBarKind value)
{
    if (value == FKind)
        return;
    FKind = value;
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TArrowBar::SetShowArrows(bool value)
{
    if (value == FShowArrows)
        return;
    FShowArrows = value;
    Invalidate();
}

void TArrowBar::SetShowHandleGrip(bool value)
{
    if (value == FShowHandleGrip)
        return;
    FShowHandleGrip = value;
    Invalidate();
}

void TArrowBar::SetStyle(TRBStyle value)
{
    FStyle = value;
    RecreateWnd();
}

int TArrowBar::GetBorderSize() const
{
    return FBorderStyle == bsSingle ? 1 : 0;
}

TRect TArrowBar::ClientRect() const
{
    const int b = GetBorderSize();
    return TRect { 0, 0, std::max(0, Width() - 2 * b), std::max(0, Height() - 2 * b) };
}

int TArrowBar::GetButtonSize()
{
    if (!FShowArrows)
        return 0;
    const TRect client = ClientRect();
    const int length = Horz() ? client.Right : client.Bottom;
    const int thickness = Horz() ? client.Bottom : client.Right;
    int s = FButtonSize != 0 ? FButtonSize : std::min(thickness, 32);
    if (2 * s >= length)
        s = length / 2;
    if (FStyle == rbsMac)
        --s;
    return s < 2 ? 0 : s;
}

TRect TArrowBar::GetTrackBoundary()
{
    TRect r = ClientRect();
    const int b = GetButtonSize();
    if (Horz()) {
        r.Left += b;
        r.Right -= b;
    } else {
        r.Top += b;
        r.Bottom -= b;
    }
    return r;
}

bool TArrowBar::DrawEnabled()
{
    return Enabled();
}

TRect TArrowBar::GetHandleRect()
{
    return TRect { 0, 0, 0, 0 };
}

TRBZone TArrowBar::GetZone(int x, int y)
{
    const TRect client = ClientRect();
    if (x < client.Left || x >= client.Right || y < client.Top || y >= client.Bottom)
        return zNone;
    const int b = GetButtonSize();
    const int along = Horz() ? x : y;
    const int length = Horz() ? client.Right : client.Bottom;
    if (along < b)
        return zBtnPrev;
    if (along >= length - b)
        return zBtnNext;
    const TRect h = GetHandleRect();
    if (!IsEmpty(h) && x >= h.Left && x < h.Right && y >= h.Top && y < h.Bottom)
        return zHandle;
    const int handleStart = Horz() ? h.Left : h.Top;
    const int handleEnd = Horz() ? h.Right : h.Bottom;
    if (0 < along && along < handleStart)
        return zTrackPrev;
    if (handleEnd <= along && along < length - 1)
        return zTrackNext;
    return zNone;
}

TRect TArrowBar::GetZoneRect(TRBZone zone)
{
    const TRect client = ClientRect();
    const int b = GetButtonSize();
    switch (zone) {
    case zBtnPrev:
        return Horz() ? TRect { 0, 0, b, client.Bottom } : TRect { 0, 0, client.Right, b };
    case zBtnNext:
        return Horz() ? TRect { client.Right - b, 0, client.Right, client.Bottom }
                      : TRect { 0, client.Bottom - b, client.Right, client.Bottom };
    case zTrackPrev:
    case zHandle:
    case zTrackNext: {
        const TRect t = GetTrackBoundary();
        TRect h = GetHandleRect();
        if (!DrawEnabled() || IsEmpty(h)) {
            const int cx = (t.Left + t.Right) / 2;
            const int cy = (t.Top + t.Bottom) / 2;
            h = TRect { cx, cy, cx, cy };
        }
        if (zone == zHandle)
            return h;
        TRect r = t;
        if (zone == zTrackPrev) {
            if (Horz())
                r.Right = h.Left;
            else
                r.Bottom = h.Top;
        } else {
            if (Horz())
                r.Left = h.Right;
            else
                r.Top = h.Bottom;
        }
        return r;
    }
    default:
        return TRect { 0, 0, 0, 0 };
    }
}

void TArrowBar::DoChange()
{
    if (OnChange)
        OnChange(this);
    if (FGenChange && OnUserChange)
        OnUserChange(this);
}

void TArrowBar::Paint()
{
    const bool enabled = DrawEnabled();
    const int b = GetButtonSize();
    const TRect client = ClientRect();
    const TRBDirection prev = Horz() ? drLeft : drUp;
    const TRBDirection next = Horz() ? drRight : drDown;
    if (FShowArrows) {
        const TRect first = Horz() ? TRect { 0, 0, b, client.Bottom } : TRect { 0, 0, client.Right, b };
        DoDrawButton(first, prev, FDragZone == zBtnPrev, enabled, FHotZone == zBtnPrev);
        const TRect last = Horz() ? TRect { client.Right - b, 0, client.Right, client.Bottom }
                                  : TRect { 0, client.Bottom - b, client.Right, client.Bottom };
        DoDrawButton(last, next, FDragZone == zBtnNext, enabled, FHotZone == zBtnNext);
    }
    const TRect h = enabled ? GetHandleRect() : TRect { 0, 0, 0, 0 };
    DoDrawTrack(GetZoneRect(zTrackPrev), prev, FDragZone == zTrackPrev, enabled, FHotZone == zTrackPrev);
    DoDrawTrack(GetZoneRect(zTrackNext), next, FDragZone == zTrackNext, enabled, FHotZone == zTrackNext);
    if (!IsEmpty(h))
        DoDrawHandle(h, Horz(), FDragZone == zHandle, FHotZone == zHandle);
}

void TArrowBar::DoDrawButton(TRect r, TRBDirection direction, bool pushed, bool enabled, bool hot)
{
    TCanvas* canvas = Canvas();
    if (FStyle == rbsDefault) {
        if (USE_THEMES) {
            static constexpr int kBase[] = { 9, 1, 13, 5 }; // drLeft, drUp, drRight, drDown
            const int state = kBase[direction] + (!enabled ? 3 : pushed ? 2 : hot ? 1 : 0);
            ThemeBackground(canvas->Handle(), SBP_ARROWBTN, state, r);
        } else {
            static constexpr UINT kArrow[] = { DFCS_SCROLLLEFT, DFCS_SCROLLUP, DFCS_SCROLLRIGHT, DFCS_SCROLLDOWN };
            UINT flags = kArrow[direction];
            if (!DrawEnabled())
                flags |= DFCS_INACTIVE;
            if (pushed)
                flags |= DFCS_PUSHED | DFCS_FLAT;
            RECT rect = ToRECT(r);
            DrawFrameControl(canvas->Handle(), &rect, DFC_SCROLL, flags);
        }
        return;
    }
    const TRBDirections edges = EdgesOf(direction);
    canvas->Pen()->SetWidth(1);
    if (!DrawEnabled()) {
        canvas->Pen()->SetColor(clBtnShadow);
        DrawRectEdges(canvas, r, edges);
        SolidFill(canvas, r, clBtnFace);
        r = TRect { r.Left + 2, r.Top + 2, r.Right, r.Bottom };
        DrawArrow(canvas, r, direction, clBtnHighlight);
        r = TRect { r.Left - 1, r.Top - 1, r.Right - 1, r.Bottom - 1 };
        DrawArrow(canvas, r, direction, clBtnShadow);
        return;
    }
    canvas->Pen()->SetColor(clWindowFrame);
    DrawRectEdges(canvas, r, edges);
    if (pushed) {
        SolidFill(canvas, r, clBtnFace);
        r = TRect { r.Left + 2, r.Top + 2, r.Right, r.Bottom };
    } else {
        Frame3DRect(canvas, r, clBtnHighlight, clBtnShadow, true);
        SolidFill(canvas, r, clBtnFace);
    }
    DrawArrow(canvas, r, direction, clBtnText);
}

void TArrowBar::DoDrawTrack(TRect r, TRBDirection direction, bool pushed, bool enabled, bool)
{
    TCanvas* canvas = Canvas();
    if (FStyle == rbsDefault) {
        if (USE_THEMES) {
            static constexpr int kPart[] = { SBP_LOWERTRACKHORZ, SBP_LOWERTRACKVERT, SBP_UPPERTRACKHORZ,
                SBP_UPPERTRACKVERT }; // drLeft, drUp, drRight, drDown
            ThemeBackground(canvas->Handle(), kPart[direction], pushed ? 3 : 1, r);
        } else if (!IsEmpty(r)) {
            if (pushed)
                SolidFill(canvas, r, clWindowFrame);
            else
                PatternFill(canvas, r, clBtnHighlight, Color());
        }
        return;
    }
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(enabled ? clWindowFrame : clBtnShadow);
    DrawRectEdges(canvas, r, EdgesOf(direction));
    if (pushed) {
        SolidFill(canvas, r, clWindowFrame);
        return;
    }
    if (IsEmpty(r))
        return;
    if (!enabled) {
        SolidFill(canvas, r, clBtnFace);
        return;
    }
    canvas->Pen()->SetColor(Blend(clWindowFrame, Blend(clBtnHighlight, Color(), 127), 32));
    switch (direction) {
    case drLeft:
    case drUp:
        DrawRectEdges(canvas, r, TRBDirections { drLeft, drUp });
        break;
    case drRight:
        DrawRectEdges(canvas, r, TRBDirections { drUp });
        break;
    case drDown:
        DrawRectEdges(canvas, r, TRBDirections { drLeft });
        break;
    }
    if (FBackgnd == bgPattern)
        PatternFill(canvas, r, clBtnHighlight, Color());
    else
        SolidFill(canvas, r, Color());
}

void TArrowBar::DoDrawHandle(TRect r, bool horz, bool pushed, bool hot)
{
    TCanvas* canvas = Canvas();
    if (IsEmpty(r))
        return;
    if (FStyle == rbsDefault) {
        if (USE_THEMES) {
            const int state = 1 + (!Enabled() ? 3 : pushed ? 2 : hot ? 1 : 0);
            ThemeBackground(canvas->Handle(), horz ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT, state, r);
            if (FShowHandleGrip)
                ThemeBackground(canvas->Handle(), horz ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT, 0, r);
        } else {
            RECT rect = ToRECT(r);
            DrawEdge(canvas->Handle(), &rect, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
        return;
    }
    const TColor c = TColor(ColorToRGB(FHandleColor));
    const TColor hi = Lighten(c, 24);
    const TColor lo = Lighten(c, -24);
    canvas->Brush()->SetColor(clWindowFrame);
    canvas->FrameRect(r);
    r = TRect { r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1 };
    if (pushed)
        Frame3DRect(canvas, r, lo, c, true);
    else
        Frame3DRect(canvas, r, hi, Blend(clWindowFrame, c, 96), true);
    SolidFill(canvas, r, c);
    if (!FShowHandleGrip)
        return;
    if (pushed)
        r = TRect { r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1 };
    if (horz) {
        const int m = (r.Left + r.Right) / 2;
        const bool wide = r.Right - r.Left > 10;
        for (int dx : { -5, -2, 1, 4 }) {
            if ((dx == -5 || dx == 4) && !wide)
                continue;
            TRect bar { m + dx, r.Top + 1, m + dx + 2, r.Bottom - 1 };
            Frame3DRect(canvas, bar, hi, lo, false);
        }
    } else {
        const int m = (r.Top + r.Bottom) / 2;
        const bool tall = r.Bottom - r.Top > 10;
        for (int dy : { -5, -2, 1, 4 }) {
            if ((dy == -5 || dy == 4) && !tall)
                continue;
            TRect bar { r.Left + 1, m + dy, r.Right - 1, m + dy + 2 };
            Frame3DRect(canvas, bar, hi, lo, false);
        }
    }
}

void TArrowBar::DrawNCArea(HDC dc, HRGN)
{
    if (FBorderStyle == bsNone || !HandleAllocated())
        return;
    HWND hwnd = Handle();
    const bool own = dc == nullptr;
    if (own)
        dc = GetWindowDC(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (own)
        ReleaseDC(hwnd, dc);
}

void TArrowBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    FDragZone = GetZone(x, y);
    Invalidate();
    FStackedAt = TPoint { x, y };
    StartDragTracking();
}

void TArrowBar::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (FDragZone != zNone || !DrawEnabled())
        return;
    const TRBZone zone = GetZone(x, y);
    if (zone == FHotZone)
        return;
    FHotZone = zone;
    if (FHotZone != zNone)
        StartHotTracking();
    Invalidate();
}

void TArrowBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    FDragZone = zNone;
    Invalidate();
    StopDragTracking();
}

void TArrowBar::MouseLeft()
{
    StopHotTracking();
}

void TArrowBar::StartDragTracking()
{
    FTimer->SetInterval(kFirstDelay);
    FTimerMode = tmDrag;
    // The first step happens on the press itself.
    TimerHandler(FTimer);
    FTimerMode = tmDragFirst;
    FTimer->SetEnabled(true);
}

void TArrowBar::StopDragTracking()
{
    StartHotTracking();
}

void TArrowBar::StartHotTracking()
{
    FTimer->SetInterval(kHotDelay);
    FTimerMode = tmHot;
    FTimer->SetEnabled(true);
}

void TArrowBar::StopHotTracking()
{
    FTimer->SetEnabled(false);
    FHotZone = zNone;
    Invalidate();
}

TPoint TArrowBar::ClampedCursor()
{
    POINT p {};
    GetCursorPos(&p);
    TPoint c = ScreenToClient(TPoint { p.x, p.y });
    const TRect client = ClientRect();
    c.X = std::clamp(c.X, client.Left, std::max(client.Left, client.Right - 1));
    c.Y = std::clamp(c.Y, client.Top, std::max(client.Top, client.Bottom - 1));
    return c;
}

void TArrowBar::TimerHandler(TObject*)
{
    switch (FTimerMode) {
    case tmDragFirst:
        FTimer->SetInterval(kRepeatDelay);
        FTimerMode = tmDrag;
        break;
    case tmHot: {
        POINT p {};
        GetCursorPos(&p);
        const TPoint c = ScreenToClient(TPoint { p.x, p.y });
        const TRect client = ClientRect();
        if (c.X < client.Left || c.X >= client.Right || c.Y < client.Top || c.Y >= client.Bottom) {
            StopHotTracking();
            Invalidate();
        }
        break;
    }
    default:
        break;
    }
}

void TArrowBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = -1;
        return;
    case WM_NCCALCSIZE: {
        // Both forms of the message start with the proposed client rectangle.
        auto* r = reinterpret_cast<RECT*>(message.LParam);
        const int b = GetBorderSize();
        r->left += b;
        r->top += b;
        r->right -= b;
        r->bottom -= b;
        message.Result = 0;
        return;
    }
    case WM_NCPAINT:
        DrawNCArea(nullptr, nullptr);
        message.Result = 0;
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        MouseLeft();
        return;
    default:
        inherited::WndProc(message);
    }
}

// --- TArrowBarAccess --------------------------------------------------------------------------------------------

TColor TArrowBarAccess::Color() const
{
    return Master->Color();
}

void TArrowBarAccess::SetColor(TColor value)
{
    Both([&](TArrowBar* bar) { bar->SetColor(value); });
}

TRBBackgnd TArrowBarAccess::Backgnd() const
{
    return Master->Backgnd();
}

void TArrowBarAccess::SetBackgnd(TRBBackgnd value)
{
    Both([&](TArrowBar* bar) { bar->SetBackgnd(value); });
}

int TArrowBarAccess::ButtonSize() const
{
    return Master->ButtonSize();
}

void TArrowBarAccess::SetButtonSize(int value)
{
    Both([&](TArrowBar* bar) { bar->SetButtonSize(value); });
}

TColor TArrowBarAccess::HandleColor() const
{
    return Master->HandleColor();
}

void TArrowBarAccess::SetHandleColor(TColor value)
{
    Both([&](TArrowBar* bar) { bar->SetHandleColor(value); });
}

bool TArrowBarAccess::ShowArrows() const
{
    return Master->ShowArrows();
}

void TArrowBarAccess::SetShowArrows(bool value)
{
    Both([&](TArrowBar* bar) { bar->SetShowArrows(value); });
}

bool TArrowBarAccess::ShowHandleGrip() const
{
    return Master->ShowHandleGrip();
}

void TArrowBarAccess::SetShowHandleGrip(bool value)
{
    Both([&](TArrowBar* bar) { bar->SetShowHandleGrip(value); });
}

TRBStyle TArrowBarAccess::Style() const
{
    return Master->Style();
}

void TArrowBarAccess::SetStyle(TRBStyle value)
{
    Both([&](TArrowBar* bar) { bar->SetStyle(value); });
}
