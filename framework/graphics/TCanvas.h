// TCanvas, the drawing surface over a device context, with the copy modes of CopyRect and Draw.
#pragma once
#include "framework/core/TPersistent.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/GraphicsEvents.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

// The raster operation of CopyRect and of drawing bitmaps (the BitBlt codes).
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Which of the canvas's objects are selected into its device context.
enum TCanvasStates : uint8_t { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates, csBrushValid>;

// Draws with its Pen, Brush and Font on a device context. The canvas owns its tools but not the DC: a
// descendant makes one in CreateHandle (a bitmap's memory DC, a control's window DC), or the user hands one
// in with SetHandle. Every drawing call fires OnChanging before and OnChange after it.
class TCanvas : public TPersistent {
    using inherited = TPersistent;

public:
    TCanvas();
    ~TCanvas() override;

    // The DC with the tools selected. Makes it through CreateHandle when there is none and raises
    // EInvalidOperation "Canvas does not allow drawing" when that gives none either.
    HDC Handle();
    // Uses `value` from now on (null lets go): the tools are selected into it on the next drawing call and
    // the previous DC gets the stock objects back. The canvas never deletes a DC handed in this way.
    void SetHandle(HDC value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    // The tools. Set* copies the values of the given tool (Assign); the canvas keeps its own objects.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value);
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value);
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode value) { FCopyMode = value; }

    // The current position of the DC, where LineTo starts.
    TPoint PenPos();
    void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
    // The bounding box of what the DC may paint, in its logical coordinates.
    TRect ClipRect();
    // The colour at (x, y), or -1 (CLR_INVALID) outside the surface or the clip.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor value);

    // Shapes. Rectangles and ellipses are outlined with the pen and filled with the brush; their right and
    // bottom edges are outside, as LineTo's end point is.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    // With the brush only.
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    // The dotted focus frame, drawn by XOR so a second call takes it away.
    void DrawFocusRect(const TRect& rect);

    // Text in the font's colour; the background is filled with the brush unless the brush is bsClear.
    // TextOut leaves the pen position at the end of the text.
    void TextOut(int x, int y, std::string_view text);
    // TextOut clipped to `rect` (and, unless the brush is bsClear, with `rect` filled first).
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Pictures. Draw puts the graphic at its own size, StretchDraw scales it to `rect`; CopyRect copies
    // (and scales, mirroring for a negative width or height) part of another canvas with CopyMode.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies `source` of `bitmap` to `dest`, with the pixels of `color` painted in the brush instead.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    // Serialises drawing from several threads: Lock waits for other threads' locks; the same thread may
    // nest. LockCount counts the present owner's nesting.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    // Lets go of the DC's selected tools so a later call selects them anew.
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    // Makes the DC when Handle is needed and none is set; the base makes none.
    virtual void CreateHandle();
    // Selects what `required` names into the DC; raises when no DC can be had.
    void RequiredState(TCanvasState required);
    TCanvasState State() const { return FState; }

private:
    void DeselectHandles();
    void CreateFont();
    void CreatePen();
    void CreateBrush();
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);

    HDC FHandle = nullptr;
    TCanvasState FState;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    // Where the pen stands while there is no DC, so it survives a change of DC.
    TPoint FPenPos;
    std::recursive_mutex FLock;
    std::atomic<int> FLockCount { 0 };
};
