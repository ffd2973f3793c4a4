// The fixture of the framed controls' tests: the controls fixture with a white form at (0, 0) without a frame
// (window and client coordinates are the same), and pixels as the back buffers give them.
#pragma once
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cstdint>

// 0x00RRGGBB of a colour (system colours resolved).
inline uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class FramedTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
    }

    template <class T> T* Add(int x, int y, int w, int h, TWinControl* parent = nullptr)
    {
        auto* c = new T(Form);
        c->SetBounds(x, y, w, h);
        c->SetParent(parent ? parent : Form);
        return c;
    }

    void ShowAndPaint()
    {
        Form->Show();
        Form->Repaint();
        Pump();
    }

    uint32_t Pixel(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }

    TForm* Form = nullptr;
};

// A bitmap filled with a marker colour, to paint routines on.
class TMarkedBitmap {
public:
    static constexpr TColor Marker = 0x030201;

    TMarkedBitmap(int width, int height)
    {
        Bitmap.SetWidth(width);
        Bitmap.SetHeight(height);
        Canvas()->Brush()->SetColor(Marker);
        Canvas()->FillRect(Rect(0, 0, width, height));
    }
    TCanvas* Canvas() { return Bitmap.Canvas(); }
    uint32_t At(int x, int y) { return Rgb(Canvas()->Pixels(x, y)); }

    TBitmap Bitmap;
};
