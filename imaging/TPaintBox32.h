// TCustomPaintBox32 and TPaintBox32: a windowed control that paints through a back buffer, rendered only when
// stale and put on the screen with one block copy.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/core/TSet.h"

#include <memory>

class TBitmap32;

enum TPaintBoxOption : uint8_t { pboWantArrowKeys, pboAutoFocus };
using TPaintBoxOptions = TSet<TPaintBoxOption, pboAutoFocus>;

// The buffer is at least as large as the viewport. It grows with BufferOversize pixels to spare and survives a
// shrink of the viewport by up to BufferOversize pixels, so small size changes keep the same buffer.
class TCustomPaintBox32 : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TCustomPaintBox32(TComponent* owner);
    ~TCustomPaintBox32() override;

    // The back buffer; descendants and OnPaintBuffer handlers draw into it. Its change notifications stay off.
    TBitmap32* Buffer() const { return FBuffer.get(); }
    int BufferOversize() const { return FBufferOversize; }
    // A negative value is stored as 0.
    void SetBufferOversize(int value);
    TPaintBoxOptions Options() const { return FOptions; }
    void SetOptions(TPaintBoxOptions value) { FOptions = value; }
    // True while the buffer holds the current picture.
    bool BufferValid() const { return FBufferValid; }

    // The part of the client area that shows the buffer.
    virtual TRect GetViewportRect();
    // Copies the viewport-sized top-left part of the buffer to the window at once, outside the paint cycle.
    void Flush();
    // Copies srcRect of the buffer to srcRect moved by the viewport's top-left corner.
    void Flush(const TRect& srcRect);
    // Marks the buffer stale and asks for a repaint.
    void Invalidate() override;
    // Brings the buffer's size in line with the viewport.
    void ResizeBuffer();
    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

    void WndProc(TMessage& message) override;

    TNotifyEvent OnGDIOverlay;

protected:
    // Renders the buffer; the base only marks it current.
    virtual void DoPaintBuffer();
    // Fires OnGDIOverlay, after every copy to the screen.
    virtual void DoPaintGDIOverlay();
    // A stale buffer whose picture a descendant can put on the window straight from its own pixels, in the one
    // transfer: true when it did (the buffer stays stale). The base never can.
    virtual bool PaintDirect(HDC dc);
    // Brings a buffer that direct paints left stale up to date before Flush copies it; the base has none.
    virtual void PrepareFlush();
    // Resizes the buffer, renders it when stale, copies it to the window in one transfer, then the overlay.
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;

    bool FBufferValid = false;

private:
    // One BitBlt of the viewport-sized top-left part of the buffer (or srcRect of it) to the window's DC.
    void CopyBuffer(HDC dc, const TRect& srcRect);

    std::unique_ptr<TBitmap32> FBuffer;
    int FBufferOversize = 40;
    TPaintBoxOptions FOptions;
};

// A paint box whose OnPaintBuffer draws the picture; it fires on every paint, as the buffer is never kept.
class TPaintBox32 : public TCustomPaintBox32 {
    using inherited = TCustomPaintBox32;

public:
    using TCustomPaintBox32::TCustomPaintBox32;

    TNotifyEvent OnPaintBuffer;

protected:
    void DoPaintBuffer() override;
};
