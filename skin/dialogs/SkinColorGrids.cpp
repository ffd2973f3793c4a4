#include "skin/dialogs/SkinColorGrids.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/WinMessages.h"

#include <algorithm>

using namespace SPUtils;

const std::array<TColor, 48> BasicColorValues = {
    0x000000, 0x000040, 0x000080, 0x404080, 0x0000FF, 0x8080FF, //
    0x008080, 0x004080, 0x0080FF, 0x4080FF, 0x00FFFF, 0x80FFFF, //
    0x408080, 0x004000, 0x008000, 0x00FF00, 0x00FF80, 0x80FF80, //
    0x808080, 0x404000, 0x408000, 0x808000, 0x40FF00, 0x80FF00, //
    0x808040, 0x800000, 0xFF0000, 0x804000, 0xFFFF00, 0xFFFF80, //
    0xC0C0C0, 0x400000, 0xA00000, 0xFF8080, 0xC08000, 0xFF8000, //
    0x400040, 0x4F4280, 0x800080, 0x400080, 0xC08080, 0xC080FF, //
    0xFFFFFF, 0x800040, 0xFF0080, 0x8000FF, 0xFF00FF, 0xFF80FF, //
};

// --- TspColorGridBase ---------------------------------------------------------------------------------------------

TspColorGridBase::TspColorGridBase(TComponent* owner)
    : TspSkinPanel(owner)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    SetControlStyle(style);
    PaintBorderStrips = false;
    SetCaptionMode(true);
    SetBorderStyle(TspSkinBorderStyle::bvFrame);
    SetBounds(Left(), Top(), 280, 115);
}

void TspColorGridBase::SetColCount(int value)
{
    if (value <= 0)
        return;
    FColCount = value;
    Invalidate();
}

void TspColorGridBase::SetRowCount(int value)
{
    if (value <= 0)
        return;
    FRowCount = value;
    Invalidate();
}

void TspColorGridBase::Geometry(int& left, int& top, int& w, int& h)
{
    TRect r { 0, 0, Width(), Height() };
    AdjustClientRect(r);
    w = (RectWidth(r) - 2 * FColCount) / FColCount;
    h = (RectHeight(r) - 2 * FRowCount) / FRowCount;
    left = r.Left + RectWidth(r) / 2 - (w + 2) * FColCount / 2;
    top = r.Top + RectHeight(r) / 2 - (h + 2) * FRowCount / 2;
}

TRect TspColorGridBase::CellRect(int n)
{
    int left, top, w, h;
    Geometry(left, top, w, h);
    const int i = (n - 1) % FColCount, j = (n - 1) / FColCount;
    const int x = left + 1 + i * (w + 2), y = top + 1 + j * (h + 2);
    return { x, y, x + w, y + h };
}

int TspColorGridBase::CellAt(int x, int y)
{
    // Cells past the colours of the grid show nothing and take no clicks.
    const int cells = std::min(FColCount * FRowCount, ColorCount());
    for (int n = 1; n <= cells; ++n) {
        const TRect r = CellRect(n);
        if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return n;
    }
    return 0;
}

void TspColorGridBase::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    PaintGrid(bitmap->Canvas());
}

void TspColorGridBase::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    PaintGrid(bitmap->Canvas());
}

void TspColorGridBase::PaintTransparent(TCanvas* canvas) { PaintGrid(canvas); }

void TspColorGridBase::PaintGrid(TCanvas* canvas)
{
    const int cells = std::min(FColCount * FRowCount, ColorCount());
    canvas->Brush()->SetStyle(bsSolid);
    for (int n = 1; n <= cells; ++n) {
        const TRect r = CellRect(n);
        canvas->Brush()->SetColor(CellColor(n));
        canvas->FillRect({ r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1 });
    }
    const int cursor = CursorCell();
    if (cursor >= 1 && cursor <= cells)
        DrawCursor(canvas, CellRect(cursor), CellColor(cursor) != static_cast<TColor>(0x808080));
}

void TspColorGridBase::DrawCursor(TCanvas* canvas, const TRect& cell, bool invert)
{
    const int w = RectWidth(cell), h = RectHeight(cell);
    const int x = cell.Left + w / 2, y = cell.Top + h / 2;
    const int f = std::min(w, h) / 2 - 2;
    const TPenMode mode = canvas->Pen()->Mode();
    // On the middle grey an inverted cross would hardly show: it is drawn black instead.
    if (invert)
        canvas->Pen()->SetMode(pmNot);
    else
        canvas->Pen()->SetColor(clBlack);
    canvas->MoveTo(x - f, y);
    canvas->LineTo(x - 2, y);
    canvas->MoveTo(x + 3, y);
    canvas->LineTo(x + f + 1, y);
    canvas->MoveTo(x, y - f);
    canvas->LineTo(x, y - 2);
    canvas->MoveTo(x, y + 3);
    canvas->LineTo(x, y + f);
    canvas->Pen()->SetMode(mode);
}

// --- TspSkinColorGrid ---------------------------------------------------------------------------------------------

TspSkinColorGrid::TspSkinColorGrid(TComponent* owner)
    : TspColorGridBase(owner)
{
    SetCaption("Basic colors");
}

bool TspSkinColorGrid::CheckColor(TColor value)
{
    return std::find(BasicColorValues.begin(), BasicColorValues.end(), value) != BasicColorValues.end();
}

void TspSkinColorGrid::SetColorValue(TColor value)
{
    FColorValue = value;
    if (!CheckColor(value))
        return;
    if (OnChange)
        OnChange(this);
    Invalidate();
}

int TspSkinColorGrid::CursorCell() const
{
    const auto at = std::find(BasicColorValues.begin(), BasicColorValues.end(), FColorValue);
    return at == BasicColorValues.end() ? 0 : static_cast<int>(at - BasicColorValues.begin()) + 1;
}

void TspSkinColorGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (const int n = CellAt(x, y))
        SetColorValue(CellColor(n));
}

// --- TspSkinCustomColorGrid ---------------------------------------------------------------------------------------

TspSkinCustomColorGrid::TspSkinCustomColorGrid(TComponent* owner)
    : TspColorGridBase(owner)
{
    CustomColorValues.fill(0xFFFFFF);
    SetCaption("Custom colors");
    SetColCount(6);
    SetRowCount(2);
}

void TspSkinCustomColorGrid::AddColor(TColor value)
{
    if (Counter == 12)
        Counter = 0;
    ++Counter;
    CustomColorValues[static_cast<size_t>(Counter - 1)] = value;
    Invalidate();
}

void TspSkinCustomColorGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    const int n = CellAt(x, y);
    if (!n)
        return;
    FColorValue = CellColor(n);
    FSelected = n;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

// --- TspColorViewer -----------------------------------------------------------------------------------------------

TspColorViewer::TspColorViewer(TComponent* owner)
    : TGraphicControl(owner)
{
    TControlStyle style = ControlStyle();
    style.Include(csOpaque);
    SetControlStyle(style);
}

void TspColorViewer::SetColorValue(TColor value)
{
    if (value == FColorValue)
        return;
    FColorValue = value;
    Invalidate();
}

void TspColorViewer::Paint()
{
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    bitmap.Canvas()->Pen()->SetColor(clBlack);
    bitmap.Canvas()->Brush()->SetColor(FColorValue);
    bitmap.Canvas()->Rectangle({ 0, 0, Width(), Height() });
    Canvas()->Draw(0, 0, &bitmap);
}

// --- TspEmptyControl ----------------------------------------------------------------------------------------------

void TspEmptyControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}
