// TGraphicControl and TCustomControl: the two controls that paint themselves through a canvas.
#include "framework/controls/TControlCanvas.h"
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"

namespace {

// Lends a DC to a control's canvas, locked, for one paint, and takes it back also when painting raises.
class TCanvasPaintScope {
public:
    TCanvasPaintScope(TControlCanvas& canvas, HDC dc)
        : FCanvas(canvas)
    {
        FCanvas.Lock();
        FCanvas.FreeHandle();
        FCanvas.SetHandle(dc);
    }
    ~TCanvasPaintScope()
    {
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
    }
    TCanvasPaintScope(const TCanvasPaintScope&) = delete;
    TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
    TControlCanvas& FCanvas;
};

} // namespace

// --- TGraphicControl -----------------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl()
{
    FCanvas->SetControl(nullptr);
}

TCanvas* TGraphicControl::Canvas() const
{
    return FCanvas.get();
}

void TGraphicControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        WMPaint(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

void TGraphicControl::Paint()
{
}

void TGraphicControl::WMPaint(TMessage& message)
{
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc)
        return;
    TCanvasPaintScope scope(*FCanvas, dc);
    Paint();
}

// --- TCustomControl ------------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner)
    , FCanvas(std::make_unique<TControlCanvas>())
{
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl()
{
    FCanvas->SetControl(nullptr);
}

TCanvas* TCustomControl::Canvas() const
{
    return FCanvas.get();
}

void TCustomControl::Paint()
{
}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvasPaintScope scope(*FCanvas, dc);
    Paint();
}

void TCustomControl::DestroyWnd()
{
    FCanvas->FreeHandle();
    inherited::DestroyWnd();
}
