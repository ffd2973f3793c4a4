#include "framework/controls/TControlCanvas.h"

#include "framework/controls/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Windows.h"

#include <set>

namespace {

std::set<TControlCanvas*>& CanvasesWithDC()
{
    static std::set<TControlCanvas*> canvases;
    return canvases;
}

} // namespace

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* value)
{
    if (value == FControl)
        return;
    FreeHandle();
    FControl = value;
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext)
        return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
    CanvasesWithDC().erase(this);
}

void TControlCanvas::FreeDeviceContexts()
{
    for (TControlCanvas* canvas : std::set<TControlCanvas*>(CanvasesWithDC()))
        canvas->FreeHandle();
}

void TControlCanvas::CreateHandle()
{
    if (!FControl || FDeviceContext)
        return;
    TWinControl* window = dynamic_cast<TWinControl*>(FControl);
    const bool windowless = window == nullptr;
    if (windowless)
        window = FControl->Parent();
    if (!window)
        return;
    FWindowHandle = window->Handle();
    FDeviceContext = GetDC(FWindowHandle);
    if (!FDeviceContext)
        return;
    if (windowless) {
        SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
        IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
    CanvasesWithDC().insert(this);
    SetHandle(FDeviceContext);
}
