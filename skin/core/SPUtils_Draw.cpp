// The default glyphs, glyph cells and the background capture of the rendering unit.
#include "framework/controls/TControl.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspParentBackground.h"

#include <array>

namespace SPUtils {

namespace {

    void Line(TCanvas* canvas, int x1, int y1, int x2, int y2)
    {
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    }

    // A horizontal line covering x1 to x2, both included.
    void Span(TCanvas* canvas, int x1, int x2, int y)
    {
        Line(canvas, x1, y, x2 + 1, y);
    }

    void Column(TCanvas* canvas, int x, int y1, int y2)
    {
        Line(canvas, x, y1, x, y2 + 1);
    }

    void Outline(TCanvas* canvas, int x1, int y1, int x2, int y2)
    {
        canvas->Rectangle(x1, y1, x2, y2);
    }

    int CentreX(const TRect& rect)
    {
        return rect.Left + RectWidth(rect) / 2;
    }

    int CentreY(const TRect& rect)
    {
        return rect.Top + RectHeight(rect) / 2;
    }

    void UsePen(TCanvas* canvas, TColor color)
    {
        canvas->Pen()->SetColor(color);
    }

    void UsePenAndBrush(TCanvas* canvas, TColor color)
    {
        canvas->Pen()->SetColor(color);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
    }

    void UsePenWithoutBrush(TCanvas* canvas, TColor color)
    {
        canvas->Pen()->SetColor(color);
        canvas->Brush()->SetStyle(bsClear);
    }

} // namespace

void DrawArrowImage(TCanvas* canvas, const TRect& rect, TColor color, int kind)
{
    UsePen(canvas, color);
    const int cx = CentreX(rect);
    const int cy = CentreY(rect);
    for (int i = 0; i <= 3; ++i) {
        switch (kind) {
        case 1:
            Column(canvas, cx - 2 + i, cy - i, cy + i);
            break;
        case 2:
            Column(canvas, cx + 2 - i, cy - i, cy + i);
            break;
        case 3:
            Span(canvas, cx - i, cx + i, cy - 2 + i);
            break;
        case 4:
            Span(canvas, cx - i, cx + i, cy + 2 - i);
            break;
        default:
            return;
        }
    }
}

void DrawTrackArrowImage(TCanvas* canvas, const TRect& rect, TColor color)
{
    UsePen(canvas, color);
    const int cx = CentreX(rect);
    const int cy = CentreY(rect);
    for (int n = 2; n >= 0; --n)
        Span(canvas, cx - n, cx + n, cy + 2 - n);
}

void DrawCheckImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePen(canvas, color);
    for (int i = 0; i <= 2; ++i) {
        canvas->MoveTo(x, y + 5 - i);
        canvas->LineTo(x + 2, y + 7 - i);
        canvas->LineTo(x + 7, y + 2 - i);
    }
}

void DrawRadioImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePenAndBrush(canvas, color);
    canvas->Rectangle(x, y, x + 6, y + 6);
}

void DrawCloseImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePen(canvas, color);
    Line(canvas, x + 1, y + 1, x + 9, y + 9);
    Line(canvas, x + 9, y + 1, x + 1, y + 9);
    Line(canvas, x + 2, y + 1, x + 10, y + 9);
    Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawRCloseImage(TCanvas* canvas, const TRect& rect, TColor color)
{
    DrawCloseImage(canvas, CentreX(rect) - 5, CentreY(rect) - 5, color);
}

void DrawSysMenuImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePenWithoutBrush(canvas, color);
    Outline(canvas, x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePen(canvas, color);
    Line(canvas, x + 1, y + 8, x + 9, y + 8);
    Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePenWithoutBrush(canvas, color);
    Outline(canvas, x, y, x + 11, y + 10);
    Outline(canvas, x, y, x + 11, y + 2);
}

void DrawRestoreImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePenWithoutBrush(canvas, color);
    Outline(canvas, x + 2, y, x + 10, y + 6);
    Outline(canvas, x + 2, y, x + 10, y + 2);
    Outline(canvas, x, y + 4, x + 7, y + 10);
    Outline(canvas, x, y + 4, x + 7, y + 6);
}

void DrawRollUpImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePen(canvas, color);
    for (int i = 0; i <= 4; ++i)
        Span(canvas, x + 5 - i, x + 5 + i, y + 2 + i);
}

void DrawRestoreRollUpImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePen(canvas, color);
    for (int i = 0; i <= 4; ++i)
        Span(canvas, x + 5 - i, x + 5 + i, y + 6 - i);
}

void DrawMTImage(TCanvas* canvas, int x, int y, TColor color)
{
    UsePenAndBrush(canvas, color);
    canvas->Rectangle(x + 2, y + 2, x + 7, y + 7);
}

void Frm3D(TCanvas* canvas, TRect rect, TColor topLeftColor, TColor bottomRightColor)
{
    canvas->Pen()->SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    canvas->Pen()->SetColor(topLeftColor);
    const std::array<TPoint, 3> upper
        = { TPoint { rect.Left, rect.Bottom }, TPoint { rect.Left, rect.Top }, TPoint { rect.Right, rect.Top } };
    canvas->Polyline(upper);
    canvas->Pen()->SetColor(bottomRightColor);
    const std::array<TPoint, 3> lower = { TPoint { rect.Right, rect.Top }, TPoint { rect.Right, rect.Bottom },
        TPoint { rect.Left - 1, rect.Bottom } };
    canvas->Polyline(lower);
}

void DrawGlyph(TCanvas* canvas, int x, int y, TBitmap* glyphs, int count, int index)
{
    if (!glyphs || glyphs->Empty() || count <= 0)
        return;
    const int cellWidth = glyphs->Width() / count;
    // An index outside the strip would read past its right edge or before its left one.
    if (cellWidth <= 0 || index < 1 || index > count)
        return;
    TBitmap cell;
    cell.SetSize(cellWidth, glyphs->Height());
    const int left = (index - 1) * cellWidth;
    cell.Canvas()->CopyRect(
        Rect(0, 0, cellWidth, glyphs->Height()), glyphs->Canvas(), Rect(left, 0, left + cellWidth, glyphs->Height()));
    cell.SetTransparent(true);
    canvas->Draw(x, y, &cell);
}

namespace {

    // Reaches the parent's own painting (its background and face, without its windowless children, which are
    // painted one by one below so that only those before the control show).
    struct TPaintAccess : TWinControl {
        using TWinControl::PaintWindow;
    };

    // Sets csPaintCopy for its lifetime, also when painting raises.
    class TPaintCopyScope {
    public:
        explicit TPaintCopyScope(TControl* control)
            : FControl(control)
        {
            FControl->SetControlState(FControl->ControlState() + TControlState { csPaintCopy });
        }
        ~TPaintCopyScope() { FControl->SetControlState(FControl->ControlState() - TControlState { csPaintCopy }); }
        TPaintCopyScope(const TPaintCopyScope&) = delete;
        TPaintCopyScope& operator=(const TPaintCopyScope&) = delete;

    private:
        TControl* FControl;
    };

    // Saves the DC state and restores it on leaving, also when painting raises.
    class TSavedDC {
    public:
        explicit TSavedDC(HDC dc)
            : FDC(dc)
            , FLevel(SaveDC(dc))
        {
        }
        ~TSavedDC() { RestoreDC(FDC, FLevel); }
        TSavedDC(const TSavedDC&) = delete;
        TSavedDC& operator=(const TSavedDC&) = delete;

    private:
        HDC FDC;
        int FLevel;
    };

    bool Overlap(const TRect& a, const TRect& b)
    {
        return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
    }

    // An MDI parent's client area is covered by its client window, which draws the background there; a parent
    // that paints its own background offers it; any other parent erases, and, unless it is a form, paints
    // its face.
    void PaintParentBackground(TWinControl* parent, HDC dc)
    {
        auto* form = dynamic_cast<TCustomForm*>(parent);
        if (form && form->FormStyle() == fsMDIForm) {
            if (form->ClientHandle())
                SendMessage(form->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), 0);
            return;
        }
        if (auto* painter = dynamic_cast<TspParentBackground*>(parent)) {
            painter->PaintBG(dc);
            return;
        }
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), 0);
        if (!form)
            (parent->*(&TPaintAccess::PaintWindow))(dc);
    }

    // `origin` is the point of the parent's client area that lands on the canvas's (0, 0).
    void CaptureParent(TControl* control, TPoint origin, TCanvas* canvas)
    {
        if (!control || !canvas)
            return;
        TWinControl* parent = control->Parent();
        if (!parent)
            return;
        const HDC dc = canvas->Handle();
        TPaintCopyScope parentCopy(parent);
        {
            TSavedDC saved(dc);
            OffsetWindowOrgEx(dc, origin.X, origin.Y, nullptr);
            IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
            PaintParentBackground(parent, dc);
        }
        const TRect bounds = control->BoundsRect();
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* child = parent->Controls(i);
            if (child == control)
                break;
            // The cheap tests first: most siblings lie elsewhere on the parent.
            if (!Overlap(child->BoundsRect(), bounds) || !child->Visible() || dynamic_cast<TWinControl*>(child))
                continue;
            TPaintCopyScope childCopy(child);
            TSavedDC saved(dc);
            OffsetWindowOrgEx(dc, origin.X - child->Left(), origin.Y - child->Top(), nullptr);
            IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
            child->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
        }
    }

} // namespace

void GetParentImage(TControl* control, TCanvas* canvas)
{
    if (control)
        CaptureParent(control, TPoint { control->Left(), control->Top() }, canvas);
}

void GetParentImageRect(TControl* control, const TRect& rect, TCanvas* canvas)
{
    if (control)
        CaptureParent(control, TPoint { control->Left() + rect.Left, control->Top() + rect.Top }, canvas);
}

} // namespace SPUtils
