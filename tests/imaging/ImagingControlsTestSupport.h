// The fixture of the imaging controls' tests: a shown form on the headless display, controls placed on it, and the
// window's pixels read back.
#pragma once
#include "imaging/TBitmap32.h"
#include "tests/framework/ControlsTestSupport.h"

class ImagingControlsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clRed);
        Form->Show();
        Pump();
    }

    template <class T> T* Place(int left, int top, int width, int height)
    {
        auto* control = new T(Form);
        control->SetBounds(left, top, width, height);
        control->SetParent(Form);
        Pump();
        return control;
    }

    // A pixel of the form's window as 0xFFRRGGBB, comparable with TColor32 values.
    TColor32 At(int x, int y) { return 0xFF000000u | Backend.WindowPixel(Form->Handle(), x, y); }

    // Presses, moves and releases at form coordinates, each followed by the message loop.
    void Press(int x, int y, TRawButton button = TRawButton::Left)
    {
        Backend.MouseMove(x, y);
        Backend.MouseDown(button);
        Pump();
    }
    void MoveTo(int x, int y)
    {
        Backend.MouseMove(x, y);
        Pump();
    }
    void Release(TRawButton button = TRawButton::Left)
    {
        Backend.MouseUp(button);
        Pump();
    }

    TForm* Form = nullptr;
};
