// The fixture of the framed controls' tests: the controls fixture with a white form at (0, 0) without a frame
// (window and client coordinates are the same), and pixels as the back buffers give them.
#pragma once
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framed/ThemeServices.h"
#include "platform/gdi/Gdi.h"
#include "tests/framework/ControlsTestSupport.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// A styles library whose answers the test sets, recording what it is asked to do.
class TFakeStyleLibrary : public IStyleLibrary {
public:
    struct TState {
        bool Themed = true;
        bool Active = true;
        DWORD AppProperties = STAP_ALLOW_CONTROLS;
        DWORD Version = 0x00060000;
        int Opened = 0;
        int Closed = 0;
        int Alive = 0;
        std::vector<std::string> Classes;
        std::vector<std::pair<int, int>> Drawn;
    };
    explicit TFakeStyleLibrary(TState* state)
        : S(state)
    {
        ++S->Alive;
    }
    ~TFakeStyleLibrary() override { --S->Alive; }
    bool IsAppThemed() override { return S->Themed; }
    bool IsThemeActive() override { return S->Active; }
    DWORD GetThemeAppProperties() override { return S->AppProperties; }
    DWORD CommonControlsVersion() override { return S->Version; }
    HTHEME OpenThemeData(HWND, const char* classList) override
    {
        S->Classes.push_back(classList);
        return reinterpret_cast<HTHEME>(uintptr_t(++S->Opened));
    }
    void CloseThemeData(HTHEME) override { ++S->Closed; }
    void DrawThemeBackground(HTHEME, HDC dc, int part, int state, const RECT& rect) override
    {
        S->Drawn.push_back({ part, state });
        // The styled face: a plain fill, so a test sees that the style painted.
        HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    bool IsThemeBackgroundPartiallyTransparent(HTHEME, int, int) override { return false; }
    void DrawThemeParentBackground(HWND, HDC, const RECT*) override { }
    TState* S;
};
