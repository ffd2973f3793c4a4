// TControlCanvas, the canvas that draws on a control: on its window, or on its part of its parent's window.
#pragma once
#include "framework/controls/Forward.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/WinTypes.h"

// Outside painting, the canvas takes a DC of the control's window (a windowless control's parent window,
// moved to the control's origin and clipped to it) when it is first drawn on, and keeps it until
// FreeHandle; the application frees all of them when it goes idle, so none outlives its window for long.
class TControlCanvas : public TCanvas {
    using inherited = TCanvas;

public:
    TControlCanvas() = default;
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);
    // Lets go of the DC the canvas took itself (a DC handed in with SetHandle stays the caller's).
    void FreeHandle();
    // Frees the DCs of every control canvas.
    static void FreeDeviceContexts();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};
