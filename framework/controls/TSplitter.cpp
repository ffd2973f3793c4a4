#include "framework/controls/TSplitter.h"

#include "framework/controls/TWinControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* owner)
    : TGraphicControl(owner)
{
    FControlStyle.Include(csCaptureMouse);
    SetAlign(alLeft);
    FWidth = 3;
    FHeight = 100;
    SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool value)
{
    FBeveled = value;
    Invalidate();
}

void TSplitter::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r {0, 0, Width(), Height()};
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    if (FBeveled) {
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->MoveTo(0, Height() - 1);
        canvas->LineTo(0, 0);
        canvas->LineTo(Width() - 1, 0);
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->LineTo(Width() - 1, Height() - 1);
        canvas->LineTo(0, Height() - 1);
    }
    if (OnPaint)
        OnPaint(this);
}

TControl* TSplitter::FindSizedControl() const
{
    TWinControl* parent = Parent();
    if (!parent)
        return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align())
            continue;
        bool touches = false;
        switch (Align()) {
        case alLeft: touches = c->Left() + c->Width() == Left(); break;
        case alRight: touches = c->Left() == Left() + Width(); break;
        case alTop: touches = c->Top() + c->Height() == Top(); break;
        case alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches)
            return c;
    }
    return nullptr;
}

int TSplitter::SizeOf(const TControl* control) const
{
    return Horizontal() ? control->Width() : control->Height();
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    FControl = FindSizedControl();
    if (!FControl)
        return;
    FDownPos = {Left() + x, Top() + y};
    FStartSize = SizeOf(FControl);
    // The room left: the parent's client less MinSize and less every other control aligned the same way.
    TWinControl* parent = Parent();
    FMaxSize = (Horizontal() ? parent->ClientWidth() : parent->ClientHeight()) - FMinSize;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible())
            continue;
        bool sameAxis = Horizontal() ? (c->Align() == alLeft || c->Align() == alRight)
                                     : (c->Align() == alTop || c->Align() == alBottom);
        if (sameAxis && c != FControl)
            FMaxSize -= SizeOf(c);
    }
    // A crowded parent leaves no room rather than a negative size.
    FMaxSize = std::max(0, FMaxSize);
}

bool TSplitter::CanResize(int& newSize)
{
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, newSize, accept);
    return accept;
}

void TSplitter::ApplySize(int size)
{
    if (!FControl || size == SizeOf(FControl))
        return;
    // Left and top splitters grow their control to the right or down; the others move its near edge.
    switch (Align()) {
    case alLeft: FControl->SetWidth(size); break;
    case alTop: FControl->SetHeight(size); break;
    case alRight: FControl->SetBounds(FControl->Left() + FControl->Width() - size, FControl->Top(), size, FControl->Height()); break;
    case alBottom: FControl->SetBounds(FControl->Left(), FControl->Top() + FControl->Height() - size, FControl->Width(), size); break;
    default: break;
    }
    if (Parent())
        Parent()->Realign();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (!FControl)
        return;
    // The pointer's travel from the press, in the parent (the bar itself moves as the control grows).
    int at = Horizontal() ? Left() + x : Top() + y;
    int delta = at - (Horizontal() ? FDownPos.X : FDownPos.Y);
    int current = SizeOf(FControl);
    int size = FStartSize + ((Align() == alLeft || Align() == alTop) ? delta : -delta);
    if (size < FMinSize)
        size = FAutoSnap ? 0 : FMinSize;
    size = std::clamp(size, 0, std::max(FMaxSize, 0));
    if (size != current && CanResize(size))
        ApplySize(std::max(0, size));
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (!FControl)
        return;
    FControl = nullptr;
    if (OnMoved)
        OnMoved(this);
}
