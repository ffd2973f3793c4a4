#include "imaging/TPaintBox32.h"

#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/TBitmap32.h"
#include "platform/gdi/Raster.h"
#include "platform/win/WinMessages.h"

#include <algorithm>

TCustomPaintBox32::TCustomPaintBox32(TComponent* owner)
    : inherited(owner)
    , FBuffer(std::make_unique<TBitmap32>())
{
    // Nobody listens to the buffer: its notifications stay off for its whole life.
    FBuffer->BeginUpdate();
    SetHeight(192);
    SetWidth(192);
}

TCustomPaintBox32::~TCustomPaintBox32() = default;

void TCustomPaintBox32::SetBufferOversize(int value)
{
    FBufferOversize = std::max(value, 0);
}

TRect TCustomPaintBox32::GetViewportRect()
{
    return TRect { 0, 0, Width(), Height() };
}

void TCustomPaintBox32::ResizeBuffer()
{
    const TRect viewport = GetViewportRect();
    const int newWidth = std::max(viewport.Right - viewport.Left, 0);
    const int newHeight = std::max(viewport.Bottom - viewport.Top, 0);
    auto target = [this](int current, int wanted) {
        int size = current;
        if (wanted > current)
            size = wanted + FBufferOversize;
        else if (wanted < current - FBufferOversize)
            size = wanted;
        return std::max(size, 1);
    };
    const int w = target(FBuffer->Width(), newWidth);
    const int h = target(FBuffer->Height(), newHeight);
    if (w != FBuffer->Width() || h != FBuffer->Height()) {
        FBuffer->Lock();
        try {
            FBuffer->SetSize(w, h);
        } catch (...) {
            FBuffer->Unlock();
            throw;
        }
        FBuffer->Unlock();
        FBufferValid = false;
    }
}

void TCustomPaintBox32::CopyBuffer(HDC dc, const TRect& srcRect)
{
    const TRect viewport = GetViewportRect();
    FBuffer->Lock();
    try {
        BitBlt(dc, viewport.Left + srcRect.Left, viewport.Top + srcRect.Top, srcRect.Right - srcRect.Left,
            srcRect.Bottom - srcRect.Top, FBuffer->Handle(), srcRect.Left, srcRect.Top, SRCCOPY);
    } catch (...) {
        FBuffer->Unlock();
        throw;
    }
    FBuffer->Unlock();
}

void TCustomPaintBox32::Paint()
{
    ResizeBuffer();
    bool copied = false;
    if (!FBufferValid) {
        copied = PaintDirect(Canvas()->Handle());
        if (!copied)
            DoPaintBuffer();
    }
    if (!copied) {
        const TRect viewport = GetViewportRect();
        CopyBuffer(Canvas()->Handle(), TRect { 0, 0, viewport.Right - viewport.Left, viewport.Bottom - viewport.Top });
    }
    DoPaintGDIOverlay();
}

bool TCustomPaintBox32::PaintDirect(HDC)
{
    return false;
}

void TCustomPaintBox32::PrepareFlush()
{
}

void TCustomPaintBox32::Flush()
{
    const TRect viewport = GetViewportRect();
    Flush(TRect { 0, 0, viewport.Right - viewport.Left, viewport.Bottom - viewport.Top });
}

void TCustomPaintBox32::Flush(const TRect& srcRect)
{
    TCanvas* canvas = Canvas();
    if (!canvas->Handle() || !FBuffer->Handle())
        return;
    PrepareFlush();
    canvas->Lock();
    try {
        CopyBuffer(canvas->Handle(), srcRect);
    } catch (...) {
        canvas->Unlock();
        throw;
    }
    canvas->Unlock();
}

void TCustomPaintBox32::DoPaintBuffer()
{
    FBufferValid = true;
}

void TCustomPaintBox32::DoPaintGDIOverlay()
{
    if (OnGDIOverlay)
        OnGDIOverlay(this);
}

void TCustomPaintBox32::Invalidate()
{
    FBufferValid = false;
    inherited::Invalidate();
}

void TCustomPaintBox32::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    FBufferValid = false;
}

void TCustomPaintBox32::Loaded()
{
    FBufferValid = false;
    inherited::Loaded();
}

void TCustomPaintBox32::Resize()
{
    ResizeBuffer();
    FBufferValid = false;
    inherited::Resize();
}

void TCustomPaintBox32::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FOptions.Contains(pboAutoFocus) && CanFocus())
        SetFocus();
    inherited::MouseDown(button, shift, x, y);
}

void TCustomPaintBox32::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // The buffer covers the viewport: erasing would only flicker.
        message.Result = 1;
        return;
    case WM_GETDLGCODE:
        message.Result = FOptions.Contains(pboWantArrowKeys) ? DLGC_WANTARROWS : 0;
        return;
    default:
        inherited::WndProc(message);
    }
}

void TPaintBox32::DoPaintBuffer()
{
    if (OnPaintBuffer)
        OnPaintBuffer(this);
}
