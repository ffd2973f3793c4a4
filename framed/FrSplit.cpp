#include "framed/FrSplit.h"

#include "framed/FrCursors.h"
#include "framework/controls/TCustomForm.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Cursors.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <string>

TFrCustomSizePanel::TFrCustomSizePanel(TComponent* owner)
    : TFrCustomPanel(owner)
    , FPattern(std::make_unique<TBitmap>())
{
    TControl::SetAlign(alLeft);
    SetBorderOuter(fsNone);
    FCursorHorz = LoadFrCursor("RZSPLIT_HORZ");
    FCursorHorzHotSpot = LoadFrCursor("RZSPLIT_HORZHOTSPOT");
    FCursorVert = LoadFrCursor("RZSPLIT_VERT");
    FCursorVertHotSpot = LoadFrCursor("RZSPLIT_VERTHOTSPOT");
    // White, with black where the row plus the column is odd.
    FPattern->SetWidth(8);
    FPattern->SetHeight(8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            FPattern->Canvas()->SetPixels(x, y, (x + y) % 2 ? clBlack : clWhite);
}

TFrCustomSizePanel::~TFrCustomSizePanel()
{
    for (HCURSOR cursor : { FCursorHorz, FCursorHorzHotSpot, FCursorVert, FCursorVertHotSpot })
        if (cursor)
            DestroyCursor(cursor);
}

void TFrCustomSizePanel::SetAlign(TAlign value)
{
    if (value == Align())
        return;
    TControl::SetAlign(value);
    Realign();
    Invalidate();
}

void TFrCustomSizePanel::SetSizeBarWidth(int value)
{
    value = std::max(value, 1);
    if (value == FSizeBarWidth)
        return;
    FSizeBarWidth = value;
    Realign();
    Invalidate();
}

void TFrCustomSizePanel::SetSizeBarStyle(TSplitterStyle value)
{
    if (value == FSizeBarStyle)
        return;
    FSizeBarStyle = value;
    if (value != ssStandard && FSizeBarWidth < 6)
        SetSizeBarWidth(6);
    Invalidate();
}

void TFrCustomSizePanel::SetHotSpotVisible(bool value)
{
    if (value == FHotSpotVisible)
        return;
    FHotSpotVisible = value;
    if (value && FSizeBarWidth < 7)
        SetSizeBarWidth(7);
    if (!value)
        ClearHotSpotClosed();
    Invalidate();
}

void TFrCustomSizePanel::SetHotSpotHighlight(TColor value)
{
    if (value == FHotSpotHighlight)
        return;
    FHotSpotHighlight = value;
    Invalidate();
}

void TFrCustomSizePanel::SetHotSpotSizePercent(int value)
{
    if (value == FHotSpotSizePercent)
        return;
    FHotSpotSizePercent = value;
    Invalidate();
}

void TFrCustomSizePanel::SetMarginMax(int value)
{
    FMarginMax = std::max(value, 0);
    const int largest = LargestExtent();
    if (largest < FMarginMax + FMarginMin)
        FMarginMax = largest - FMarginMin;
}

void TFrCustomSizePanel::SetMarginMin(int value)
{
    FMarginMin = std::max(value, 0);
    const int largest = LargestExtent();
    if (largest < FMarginMax + FMarginMin)
        FMarginMin = largest - FMarginMax;
}

TRect TFrCustomSizePanel::SizeBarRect() const
{
    const int w = Width();
    const int h = Height();
    switch (Align()) {
    case alTop:
        return Rect(0, h - FSizeBarWidth, w, h);
    case alBottom:
        return Rect(0, 0, w, FSizeBarWidth);
    case alLeft:
        return Rect(w - FSizeBarWidth, 0, w, h);
    case alRight:
        return Rect(0, 0, FSizeBarWidth, h);
    default:
        return TRect {};
    }
}

TRect TFrCustomSizePanel::CalcHotSpotRect(const TRect& bar) const
{
    if (Horizontal()) {
        const int half = int(std::nearbyint(FHotSpotSizePercent / 100.0 * (bar.Right - bar.Left))) / 2;
        const int centre = (bar.Left + bar.Right) / 2;
        return Rect(centre - half, bar.Top, centre + half, bar.Bottom);
    }
    const int half = int(std::nearbyint(FHotSpotSizePercent / 100.0 * (bar.Bottom - bar.Top))) / 2;
    const int centre = (bar.Top + bar.Bottom) / 2;
    return Rect(bar.Left, centre - half, bar.Right, centre + half);
}

TRect TFrCustomSizePanel::ClientRect() const
{
    TRect r = inherited::ClientRect();
    switch (Align()) {
    case alTop:
        r.Bottom -= FSizeBarWidth + 1;
        break;
    case alBottom:
        r.Top += FSizeBarWidth + 1;
        break;
    case alLeft:
        r.Right -= FSizeBarWidth + 1;
        break;
    case alRight:
        r.Left += FSizeBarWidth + 1;
        break;
    default:
        break;
    }
    return r;
}

TRect TFrCustomSizePanel::BorderRect() const
{
    TRect r = Rect(0, 0, Width(), Height());
    const TRect bar = SizeBarRect();
    switch (Align()) {
    case alTop:
        r.Bottom = bar.Top;
        break;
    case alBottom:
        r.Top = bar.Bottom;
        break;
    case alLeft:
        r.Right = bar.Left;
        break;
    case alRight:
        r.Left = bar.Right;
        break;
    default:
        break;
    }
    return r;
}

TRect TFrCustomSizePanel::ParentArea() const
{
    TWinControl* parent = Parent();
    if (!parent)
        throw Exception("No parent specified");
    TRect area = parent->ClientRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        switch (c->Align()) {
        case alTop:
            area.Top += c->Height();
            break;
        case alBottom:
            area.Bottom -= c->Height();
            break;
        case alLeft:
            area.Left += c->Width();
            break;
        case alRight:
            area.Right -= c->Width();
            break;
        default:
            break;
        }
    }
    return area;
}

int TFrCustomSizePanel::LargestExtent() const
{
    const TRect a = ParentArea();
    switch (Align()) {
    case alTop:
        return a.Bottom - Top();
    case alBottom:
        return a.Bottom + Height() - a.Top;
    case alLeft:
        return a.Right - Left();
    case alRight:
        return a.Right + Width() - a.Left;
    default:
        return 0;
    }
}

int TFrCustomSizePanel::ClampPosition(int p) const
{
    const TRect a = ParentArea();
    // The upper bound comes last and wins when the two conflict.
    switch (Align()) {
    case alTop:
        p = std::max(p, FMarginMin + FSizeBarWidth + 1);
        return std::min(p, a.Bottom - FMarginMax - Top());
    case alBottom:
        p = std::max(p, a.Top + FMarginMax - Top());
        return std::min(p, Height() - FMarginMin - FSizeBarWidth - 1);
    case alLeft:
        p = std::max(p, FMarginMin + FSizeBarWidth + 1);
        return std::min(p, a.Right - FMarginMax - Left());
    case alRight:
        p = std::max(p, a.Left + FMarginMax - Left());
        return std::min(p, Width() - FMarginMin - FSizeBarWidth - 1);
    default:
        return p;
    }
}

void TFrCustomSizePanel::DrawDragLine(int position)
{
    if (FRealTimeDrag)
        return;
    if (!HandleAllocated())
        return;
    const TRect bar = SizeBarRect();
    TPoint at { bar.Left, bar.Top };
    switch (Align()) {
    case alTop:
        at.Y = position - FSizeBarWidth;
        break;
    case alBottom:
        at.Y = position + 1;
        break;
    case alLeft:
        at.X = position - FSizeBarWidth;
        break;
    case alRight:
        at.X = position + 1;
        break;
    default:
        return;
    }
    // Inverted on the screen, over every window: drawing it twice at one place restores what was there.
    const TPoint screen = ClientToScreen(at);
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    HBRUSH brush = CreatePatternBrush(FPattern->Handle());
    HGDIOBJ previous = SelectObject(dc, brush);
    PatBlt(dc, screen.X, screen.Y, bar.Right - bar.Left, bar.Bottom - bar.Top, PATINVERT);
    SelectObject(dc, previous);
    DeleteObject(brush);
    ReleaseDC(nullptr, dc);
}

bool TFrCustomSizePanel::PointerOnHotSpot(const TPoint& p) const
{
    const TRect hot = HotSpotRect();
    return FHotSpotVisible && p.X >= hot.Left && p.X < hot.Right && p.Y >= hot.Top && p.Y < hot.Bottom;
}

void TFrCustomSizePanel::SetExtent(int extent)
{
    if (Horizontal())
        SetHeight(extent);
    else
        SetWidth(extent);
    NotifyDesignerChanged(this);
}

void TFrCustomSizePanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    const TRect bar = SizeBarRect();
    if (button != mbLeft || !(x >= bar.Left && x < bar.Right && y >= bar.Top && y < bar.Bottom))
        return;
    const bool onHotSpot = PointerOnHotSpot(TPoint { x, y });
    if (!onHotSpot && FLockBar)
        return;
    SetMouseCapture(true);
    FDragging = true;
    FHotSpotClickPending = onHotSpot;
    FStart = Align() == alTop ? Height() : Align() == alLeft ? Width() : 0;
    FPressCoordinate = Horizontal() ? y : x;
    FPressWidth = Width();
    FPressHeight = Height();
    DrawDragLine(FStart);
    FLastPosition = FStart;
}

void TFrCustomSizePanel::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if ((FHotSpotClickPending && FLockBar) || !FDragging)
        return;
    const int p = ClampPosition(FStart + ((Horizontal() ? y : x) - FPressCoordinate));
    if (p == FLastPosition)
        return;
    const bool outwards = (Align() == alTop || Align() == alLeft) ? p > FLastPosition : p < FLastPosition;
    if (outwards)
        ClearHotSpotClosed();
    FHotSpotClickPending = false;
    DrawDragLine(FLastPosition);
    DrawDragLine(p);
    if (FRealTimeDrag) {
        switch (Align()) {
        case alTop:
            SetHeight(p + K);
            break;
        case alBottom:
            SetHeight(FStart + Height() - p - K);
            break;
        case alLeft:
            SetWidth(p + K);
            break;
        case alRight:
            SetWidth(FStart + Width() - p - K);
            break;
        default:
            break;
        }
        NotifyDesignerChanged(this);
    }
    FLastPosition = p;
}

void TFrCustomSizePanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (!((FDragging && button == mbLeft) || FHotSpotClickPending))
        return;
    FDragging = false;
    SetMouseCapture(false);
    if (!FRealTimeDrag) {
        DrawDragLine(FLastPosition);
        switch (Align()) {
        case alTop:
            SetHeight(FLastPosition + K - 1);
            break;
        case alBottom:
            SetHeight(FStart + Height() - FLastPosition);
            break;
        case alLeft:
            SetWidth(FLastPosition + K - 1);
            break;
        case alRight:
            SetWidth(FStart + Width() - FLastPosition);
            break;
        default:
            break;
        }
        NotifyDesignerChanged(this);
    }
    if (!FHotSpotClickPending)
        return;
    FHotSpotClickPending = false;
    if (!PointerOnHotSpot(TPoint { x, y }))
        return;
    if (!FHotSpotClosed) {
        FHotSpotPosition = Horizontal() ? Height() : Width();
        FHotSpotClosed = true;
        SetExtent(FSizeBarWidth + K + (FHotSpotIgnoreMargins ? 0 : FMarginMin));
    } else {
        int restore = FHotSpotPosition;
        if (Align() == alTop || Align() == alLeft)
            restore = ClampPosition(restore);
        FHotSpotClosed = false;
        SetExtent(restore);
    }
    if (OnHotSpotClick)
        OnHotSpotClick(this);
}

void TFrCustomSizePanel::Paint()
{
    inherited::Paint();
    PaintSizeBar();
}

void TFrCustomSizePanel::PaintSizeBar()
{
    TCanvas* canvas = Canvas();
    const TRect bar = SizeBarRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(bar);
    if (FSizeBarStyle != ssStandard) {
        const TFrameStyle style = FSizeBarStyle == ssGroove ? fsStatus : fsPopup;
        if (Horizontal()) {
            const int centre = (bar.Top + bar.Bottom) / 2;
            PaintStyledBorder(canvas, Rect(bar.Left, centre - 3, bar.Right, centre), style);
            PaintStyledBorder(canvas, Rect(bar.Left, centre, bar.Right, centre + 3), style);
        } else {
            const int centre = (bar.Left + bar.Right) / 2;
            PaintStyledBorder(canvas, Rect(centre - 3, bar.Top, centre, bar.Bottom), style);
            PaintStyledBorder(canvas, Rect(centre, bar.Top, centre + 3, bar.Bottom), style);
        }
    }
    if (FHotSpotVisible)
        PaintHotSpot(false);
}

void TFrCustomSizePanel::PaintHotSpot(bool highlighted)
{
    TCanvas* canvas = Canvas();
    const TRect r = HotSpotRect();
    TRect inside = PaintFrameSides(canvas, r, clBtnShadow, clBtnShadow, AllSides);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(highlighted ? FHotSpotHighlight : clBtnFace);
    canvas->FillRect(inside);
    PaintFrameSides(canvas, inside, clBtnHighlight, clBtnHighlight, { sdLeft, sdTop });
    canvas->Pen()->SetColor(clHighlight);
    canvas->Brush()->SetColor(clHighlight);
    if (!Horizontal()) {
        const int x = (r.Left + r.Right) / 2;
        const bool pointLeft = (Align() == alLeft && !FHotSpotClosed) || (Align() == alRight && FHotSpotClosed);
        const int b = pointLeft ? x - 1 : x + 1;
        const int c = pointLeft ? x + 1 : x - 1;
        const TPoint upper[] = { { c, r.Top + 6 }, { b, r.Top + 8 }, { c, r.Top + 10 } };
        const TPoint lower[] = { { c, r.Bottom - 6 }, { b, r.Bottom - 8 }, { c, r.Bottom - 10 } };
        canvas->Polygon(upper);
        canvas->Polygon(lower);
        const int steps = (r.Bottom - r.Top - 32) / 3 + 1;
        for (int e = 0; (r.Bottom - r.Top - 32) >= 0 && e < steps; ++e) {
            canvas->SetPixels(x, r.Top + 15 + 3 * e, clHighlightText);
            canvas->SetPixels(x + 1, r.Top + 16 + 3 * e, clHighlight);
        }
    } else {
        const int y = (r.Top + r.Bottom) / 2;
        const bool pointUp = (Align() == alTop && !FHotSpotClosed) || (Align() == alBottom && FHotSpotClosed);
        const int b = pointUp ? y - 1 : y + 1;
        const int c = pointUp ? y + 1 : y - 1;
        const TPoint left[] = { { r.Left + 6, c }, { r.Left + 8, b }, { r.Left + 10, c } };
        const TPoint right[] = { { r.Right - 6, c }, { r.Right - 8, b }, { r.Right - 10, c } };
        canvas->Polygon(left);
        canvas->Polygon(right);
        const int steps = (r.Right - r.Left - 32) / 3 + 1;
        for (int e = 0; (r.Right - r.Left - 32) >= 0 && e < steps; ++e) {
            canvas->SetPixels(r.Left + 15 + 3 * e, y, clHighlightText);
            canvas->SetPixels(r.Left + 16 + 3 * e, y + 1, clHighlight);
        }
    }
}

bool TFrCustomSizePanel::SetCursorShape()
{
    const TPoint p = CursorPosition();
    const bool onHotSpot = PointerOnHotSpot(p);
    if (FHotSpotVisible && onHotSpot == FNotOverHotSpot) {
        FNotOverHotSpot = !onHotSpot;
        PaintHotSpot(onHotSpot);
    }
    const TRect bar = SizeBarRect();
    if (FLockBar || !(p.X >= bar.Left && p.X < bar.Right && p.Y >= bar.Top && p.Y < bar.Bottom))
        return false;
    if (onHotSpot)
        ::SetCursor(Horizontal() ? FCursorVertHotSpot : FCursorHorzHotSpot);
    else
        ::SetCursor(Horizontal() ? FCursorVert : FCursorHorz);
    return true;
}

void TFrCustomSizePanel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETCURSOR:
        if (SetCursorShape()) {
            message.Result = 1;
            return;
        }
        break;
    case CM_DESIGNHITTEST: {
        const TRect bar = SizeBarRect();
        const int x = int16_t(message.LParam & 0xFFFF);
        const int y = int16_t((message.LParam >> 16) & 0xFFFF);
        message.Result = FDragging || (x >= bar.Left && x < bar.Right && y >= bar.Top && y < bar.Bottom);
        return;
    }
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (!(FHotSpotClickPending && FLockBar) && FHotSpotVisible && HandleAllocated()) {
            FNotOverHotSpot = !PointerOnHotSpot(CursorPosition());
            PaintHotSpot(!FNotOverHotSpot);
        }
        return;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
        if (pos && !(pos->flags & SWP_NOSIZE) && HandleAllocated() && !FullRepaint() && Caption().empty()
            && BorderWidth() != 0) {
            if (pos->cx != Width()) {
                const RECT strip { Width() - BorderWidth() - 1, 0, Width(), Height() };
                InvalidateRect(Handle(), &strip, TRUE);
            }
            if (pos->cy != Height()) {
                const RECT strip { 0, Height() - BorderWidth() - 1, Width(), Height() };
                InvalidateRect(Handle(), &strip, TRUE);
            }
        }
        break;
    }
    }
    inherited::WndProc(message);
}

std::vector<TFrStoredValue> TFrCustomSizePanel::StoredProperties() const
{
    if (!FHotSpotClosed)
        return {};
    return { { "HotSpotClosed", "True" }, { "HotSpotPosition", std::to_string(FHotSpotPosition) } };
}

bool TFrCustomSizePanel::ReadStoredProperty(std::string_view name, std::string_view value)
{
    if (name == "HotSpotClosed") {
        FHotSpotClosed = value == "True";
        return true;
    }
    if (name == "HotSpotPosition") {
        try {
            FHotSpotPosition = std::stoi(std::string(value));
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    return inherited::ReadStoredProperty(name, value);
}
