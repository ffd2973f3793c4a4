// TGraphicControl and TCustomControl: the two controls that paint themselves through a canvas.
#include "framework/controls/TControlCanvas.h"
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"

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
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
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
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
    try {
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
}

void TCustomControl::DestroyWnd()
{
    FCanvas->FreeHandle();
    inherited::DestroyWnd();
}
