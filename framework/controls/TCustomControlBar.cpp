#include "framework/controls/TCustomControlBar.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Shapes.h"
#include "platform/win/Windows.h"

#include <algorithm>

TCustomControlBar::TCustomControlBar(TComponent* owner)
    : TCustomControl(owner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csOpaque);
    SetColor(clBtnFace);
    SetBounds(FLeft, FTop, 100, 50);
}

TRect TCustomControlBar::BandRect(const TControl* control)
{
    const TRect r = control->BoundsRect();
    return TRect { r.Left - BandGrabWidth, r.Top - BandMargin, r.Right + BandMargin, r.Bottom + BandMargin };
}

void TCustomControlBar::SetRowSnap(bool value)
{
    if (value == FRowSnap)
        return;
    FRowSnap = value;
    Realign();
}

void TCustomControlBar::SetRowSize(int value)
{
    value = std::max(value, 1);
    if (value == FRowSize)
        return;
    FRowSize = value;
    Realign();
}

void TCustomControlBar::SetBevelKind(TBevelKind value)
{
    if (value == FBevelKind)
        return;
    FBevelKind = value;
    if (HandleAllocated())
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Realign();
}

void TCustomControlBar::SetAutoSize(bool value)
{
    inherited::SetAutoSize(value);
    if (value)
        Realign();
}

int TCustomControlBar::BevelWidth() const
{
    switch (FBevelKind) {
    case bkNone:
        return 0;
    case bkFlat:
        return 1;
    default:
        return 2;
    }
}

void TCustomControlBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return;
    case WM_NCPAINT:
        WMNCPaint(message);
        return;
    }
    inherited::WndProc(message);
}

void TCustomControlBar::WMNCCalcSize(TMessage& message)
{
    inherited::WndProc(message);
    const int width = BevelWidth();
    if (width == 0 || !message.LParam)
        return;
    RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(message.LParam);
    r->left += width;
    r->top += width;
    r->right = std::max(r->left, r->right - width);
    r->bottom = std::max(r->top, r->bottom - width);
}

void TCustomControlBar::WMNCPaint(TMessage& message)
{
    inherited::WndProc(message);
    if (BevelWidth() == 0)
        return;
    const HDC dc = GetWindowDC(FHandle);
    RECT r { 0, 0, Width(), Height() };
    switch (FBevelKind) {
    case bkFlat:
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
        break;
    case bkSoft:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT | BF_SOFT);
        break;
    default:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        break;
    }
    ReleaseDC(FHandle, dc);
}

void TCustomControlBar::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (control->Visible())
            PaintControlFrame(canvas, control, BandRect(control));
    }
}

void TCustomControlBar::PaintControlFrame(TCanvas* canvas, TControl*, const TRect& rect)
{
    RECT edge = ToRECT(rect);
    DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
    // The grab bar: two raised lines down the grab area.
    for (int x : { rect.Left + 3, rect.Left + 6 }) {
        TRect line { x, rect.Top + 3, x + 3, rect.Bottom - 3 };
        Frame3D(canvas, line, clBtnHighlight, clBtnShadow, 1);
    }
}

void TCustomControlBar::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    if (FLayingOut)
        return;
    // Sizing the bar to its rows may realign its parent and so change the bar again, inside this
    // alignment, which then does not run again by itself: the bands are laid out until the size holds.
    TRect area = rect;
    for (int pass = 0; pass < 3; ++pass) {
        FLayingOut = true;
        const int rows = LayoutBands(control, area);
        FLayingOut = false;
        if (!AutoSize() || rows + Height() - ClientHeight() == Height())
            break;
        SetHeight(rows + Height() - ClientHeight());
        area = ClientRect();
        AdjustClientRect(area);
    }
}

int TCustomControlBar::LayoutBands(TControl* moved, const TRect& area)
{
    std::vector<TBand> bands;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Visible() && c->Align() == alNone)
            bands.push_back(TBand { c, BandRect(c) });
    }
    // The row a band asks for: the row of RowSize its top is nearest to.
    auto rowOf = [&](const TBand& band) { return std::max(0, (band.Wanted.Top - area.Top + FRowSize / 2) / FRowSize); };
    std::stable_sort(bands.begin(), bands.end(), [&](const TBand& a, const TBand& b) {
        const int ra = rowOf(a);
        const int rb = rowOf(b);
        if (ra != rb)
            return ra < rb;
        if (a.Wanted.Left != b.Wanted.Left)
            return a.Wanted.Left < b.Wanted.Left;
        return a.Control == moved && b.Control != moved;
    });

    int rowTop = area.Top;
    int rowHeight = 0;
    int x = area.Left;
    int row = -1;
    bool rowEmpty = true;
    auto newRow = [&] {
        rowTop += rowHeight;
        rowHeight = 0;
        x = area.Left;
        rowEmpty = true;
    };
    for (const TBand& band : bands) {
        const int width = band.Wanted.Right - band.Wanted.Left;
        const int height = band.Wanted.Bottom - band.Wanted.Top;
        if (rowOf(band) != row && !rowEmpty)
            newRow();
        row = rowOf(band);
        // As far right as the child asks, slid back left to fit, and wrapped when even that does not fit.
        int left = std::max(x, band.Wanted.Left);
        if (left + width > area.Right)
            left = std::max(x, area.Right - width);
        if (!rowEmpty && left + width > area.Right) {
            newRow();
            left = area.Left;
        }
        rowHeight = std::max(rowHeight, FRowSnap ? (height + FRowSize - 1) / FRowSize * FRowSize : height);
        TControl* c = band.Control;
        c->SetBounds(left + BandGrabWidth, rowTop + BandMargin, c->Width(), c->Height());
        x = left + width;
        rowEmpty = false;
    }
    Invalidate();
    return rowTop + rowHeight - area.Top;
}
