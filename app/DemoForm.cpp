#include "app/DemoForm.h"

#include "framework/controls/StdCtrls.h"
#include "framework/controls/TGraphicControl.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TCanvas.h"

namespace {

// A sunken or raised edge one pixel wide.
void DrawEdge3D(TCanvas* canvas, const TRect& r, bool sunken)
{
    const TColor light = sunken ? clBtnShadow : clBtnHighlight;
    const TColor dark = sunken ? clBtnHighlight : clBtnShadow;
    canvas->Pen()->SetColor(light);
    canvas->MoveTo(r.Left, r.Bottom - 1);
    canvas->LineTo(r.Left, r.Top);
    canvas->LineTo(r.Right - 1, r.Top);
    canvas->Pen()->SetColor(dark);
    canvas->LineTo(r.Right - 1, r.Bottom - 1);
    canvas->LineTo(r.Left - 1, r.Bottom - 1);
}

} // namespace

TDemoButton::TDemoButton(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBounds(0, 0, 90, 26);
}

void TDemoButton::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect r = ClientRect();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    DrawEdge3D(canvas, r, FDown);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(clWindowText);
    const int shift = FDown ? 1 : 0;
    const std::string& text = Caption();
    canvas->TextOut((r.Right - canvas->TextWidth(text)) / 2 + shift,
        (r.Bottom - canvas->TextHeight(text)) / 2 + shift, text);
}

void TDemoButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FDown = true;
        Invalidate();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TDemoButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FDown) {
        FDown = false;
        Invalidate();
    }
    inherited::MouseUp(button, shift, x, y);
}

TDemoCheckBox::TDemoCheckBox(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBounds(0, 0, 200, 20);
}

void TDemoCheckBox::SetChecked(bool value)
{
    if (FChecked == value)
        return;
    FChecked = value;
    Invalidate();
}

void TDemoCheckBox::Click()
{
    SetChecked(!FChecked);
    inherited::Click();
}

void TDemoCheckBox::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect r = ClientRect();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(r);
    const int top = (r.Bottom - 13) / 2;
    const TRect box { 0, top, 13, top + 13 };
    canvas->Brush()->SetColor(clWindow);
    canvas->FillRect(box);
    DrawEdge3D(canvas, box, true);
    if (FChecked) {
        canvas->Pen()->SetColor(clWindowText);
        for (int i = 0; i < 2; ++i) {
            canvas->MoveTo(3, top + 6 + i);
            canvas->LineTo(5, top + 8 + i);
            canvas->LineTo(10, top + 3 + i);
        }
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(clWindowText);
    canvas->TextOut(19, (r.Bottom - canvas->TextHeight(Caption())) / 2, Caption());
}

TDemoForm::TDemoForm(TComponent* owner)
    : TForm(owner)
{
    SetCaption("Tarnwick Pro");
    SetBorderStyle(bsSingle);
    SetClientWidth(360);
    SetClientHeight(150);
    SetPosition(poScreenCenter);

    FLabel = new TLabel(this);
    FLabel->SetParent(this);
    FLabel->SetCaption("The converter's own windows come in a later step.");
    FLabel->SetBounds(16, 16, 330, 20);

    FCheckBox = new TDemoCheckBox(this);
    FCheckBox->SetParent(this);
    FCheckBox->SetCaption("A check box");
    FCheckBox->SetBounds(16, 50, 200, 20);

    FCloseButton = new TDemoButton(this);
    FCloseButton->SetParent(this);
    FCloseButton->SetCaption("Close");
    FCloseButton->SetBounds(254, 108, 90, 26);
    FCloseButton->OnClick = [this](TObject*) { Close(); };
}
