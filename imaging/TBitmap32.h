// TBitmap32, the 32-bit in-memory raster image, with its bases TThreadPersistent and TCustomMap.
#pragma once
#include "framework/core/TPersistent.h"
#include "framework/graphics/Forward.h"
#include "imaging/Img32Types.h"
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string_view>

class TStream;

// A persistent object with a reentrant lock, an update counter that silences change notifications, and a change
// event.
class TThreadPersistent : public TPersistent {
    using inherited = TPersistent;

public:
    TThreadPersistent() = default;

    // Reentrant for the thread that holds it. The program-wide counter lock guards LockCount.
    void Lock();
    void Unlock();
    int32_t LockCount() const;
    void BeginUpdate() { ++UpdateCount; }
    // Raises EAssertionFailed "Unpaired TThreadPersistent.EndUpdate" when no BeginUpdate is open. Never
    // replays the notifications that were silenced.
    void EndUpdate();
    // Calls OnChange unless an update is open.
    virtual void Changed();

    TNotifyEvent OnChange;
    // The nesting depth of BeginUpdate.
    int32_t UpdateCount = 0;

protected:
    // The lock that Lock enters; a bitmap hands it to its font as the font's owner lock.
    std::recursive_mutex& CriticalSection() { return FLock; }

private:
    std::recursive_mutex FLock;
    int32_t FLockCount = 0;
};

// A width and a height with virtual size handling and a resize event.
class TCustomMap : public TThreadPersistent {
    using inherited = TThreadPersistent;

public:
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    void SetWidth(int32_t newWidth) { SetSize(newWidth, FHeight); }
    void SetHeight(int32_t newHeight) { SetSize(FWidth, newHeight); }

    // Negative sides count as 0. False, and nothing happens, when the size stays; otherwise ChangeSize, then
    // Changed and Resized.
    virtual bool SetSize(int32_t newWidth, int32_t newHeight);
    virtual void Delete();
    virtual bool Empty() const;
    virtual void Resized();
    // The size of another map or of a framework graphic (nil gives 0 x 0); any other class raises Exception
    // "Can't set size from '...'".
    bool SetSizeFrom(TPersistent* source);

    TNotifyEvent OnResize;

protected:
    virtual void ChangeSize(int32_t& width, int32_t& height, int32_t newWidth, int32_t newHeight);

    int32_t FWidth = 0;
    int32_t FHeight = 0;
};

// The system's raster image: Width x Height TColor32 pixels, row after row from the top, each row exactly Width
// pixels. The pixels are the memory of a top-down 32-bit DIB section selected into the bitmap's own memory DC
// (Handle), so the canvas and the text routines draw straight into Bits. The drawing operations live in
// TBitmap32_Draw.cpp, the whole-image ones in TBitmap32_Transform.cpp, and the DC, canvas, font, text and BMP
// parts in TBitmap32_Canvas.cpp.
//
// FIXME: resources (LoadFromResourceID/Name) are missing: the platform layer offers no resource service.
class TBitmap32 : public TCustomMap {
    using inherited = TCustomMap;

public:
    TBitmap32();
    ~TBitmap32() override;

    // Storage.
    bool Empty() const override;
    void Delete() override;
    TRect BoundsRect() const { return TRect { 0, 0, FWidth, FHeight }; }
    TColor32* Bits() const { return FBits; }
    // The memory DC with the DIB section selected, and the DIB section; null while the bitmap is empty.
    HDC Handle() const { return FHandle; }
    HBITMAP DibSection() const { return FDibSection; }
    // The header the DIB section was made from (height negative: rows top-down).
    const BITMAPINFO& BitmapInfo() const { return FBitmapInfo; }
    // Fires OnHandleChanged; called at the end of every size change, also a failed one.
    virtual void HandleChanged();
    // Opaque black.
    void Clear();
    // Every pixel := fillColor, then Changed; an empty bitmap is left alone, without a notification.
    void Clear(TColor32 fillColor);
    // Alpha 255 in every pixel, colours kept; then Changed.
    void ResetAlpha();

    // Direct pixel access: no blending, no notification. The unchecked forms need in-range coordinates.
    TColor32* ScanLine(int y) const { return FBits + ptrdiff_t(y) * FWidth; }
    TColor32* PixelPtr(int x, int y) const { return ScanLine(y) + x; }
    TColor32 Pixel(int x, int y) const { return *PixelPtr(x, y); }
    void SetPixel(int x, int y, TColor32 value) { *PixelPtr(x, y) = value; }
    // OuterColor outside the bitmap; writes outside do nothing.
    TColor32 PixelS(int x, int y) const;
    void SetPixelS(int x, int y, TColor32 value);
    // The coordinates limited to the bitmap first.
    TColor32 PixelB(int x, int y) const;

    // Settings; each setter notifies only when the value changes.
    TDrawMode DrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode value);
    uint32_t MasterAlpha() const { return FMasterAlpha; }
    void SetMasterAlpha(uint32_t value);
    TStretchFilter StretchFilter() const { return FStretchFilter; }
    void SetStretchFilter(TStretchFilter value);

    // Copying. Sources: nil, TBitmap32, a framework bitmap (alpha 255 unless it has 32 bits per pixel), any
    // other framework graphic, a framework picture (an empty one empties the bitmap), the clipboard's picture
    // (alpha 255).
    void Assign(TPersistent* source) override;
    // Equal when both are empty, or when both have the same class, size and pixels. other must not be nil.
    bool Equal(TBitmap32* other);

    // The "Data" stream property: int32 width, int32 height, then the pixels (blue, green, red, alpha) from the
    // top, little-endian.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);
    // Whether a filer with this ancestor (nil: none) stores "Data".
    bool DataStored(TPersistent* ancestor);

    // BMP persistence through the framework bitmap (saved with 32 bits per pixel, alpha included). The loads
    // call Changed also when they fail; a failed load leaves the bitmap as it was.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    // Every format the picture registry knows; raises EInvalidGraphic for unknown extensions.
    void LoadFromFile(std::string_view fileName);
    void SaveToFile(std::string_view fileName);

    // The font of the text routines; the bitmap owns it and SetFont copies `value`.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    // A framework canvas on Handle, made on first use; its drawing marks the bitmap changed. On an empty bitmap
    // its drawing calls raise EInvalidOperation.
    TCanvas* Canvas();
    bool CanvasAllocated() const { return FCanvas != nullptr; }
    void DeleteCanvas();

    // Text in the font's colour on a transparent background, then Changed. Text is UTF-8.
    void Textout(int x, int y, std::string_view text);
    void Textout(int x, int y, const TRect& clipRect, std::string_view text);
    // Through the platform's DrawText with its DT_ flags.
    void Textout(const TRect& dstRect, uint32_t flags, std::string_view text);
    // Measured with the font; an empty bitmap measures on a shared 8 x 8 bitmap.
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    // Antialiased text blended at (x, y): color's alpha is the master alpha, aaLevel (limited to 0..4) draws at
    // 2^aaLevel times the size and averages the blocks.
    void RenderText(int x, int y, std::string_view text, int aaLevel, TColor32 color);

    // Whole-image operations.
    void Roll(int dx, int dy, bool fillBack, TColor32 fillColor);
    // Into dst, or in place when dst is nil (or this bitmap).
    void FlipHorz(TBitmap32* dst = nullptr);
    void FlipVert(TBitmap32* dst = nullptr);
    void Rotate90(TBitmap32* dst = nullptr);
    void Rotate180(TBitmap32* dst = nullptr);
    void Rotate270(TBitmap32* dst = nullptr);

    // Blended and antialiased pixels (X, Y in 24.8 for the 256 forms).
    void SetPixelT(int x, int y, TColor32 value);
    void SetPixelT(TColor32*& ptr, TColor32 value);
    void SetPixelTS(int x, int y, TColor32 value);
    void SetPixelF(float x, float y, TColor32 value);
    void SetPixelX(TFixed x, TFixed y, TColor32 value);
    void SetPixelFS(float x, float y, TColor32 value);
    void SetPixelXS(TFixed x, TFixed y, TColor32 value);
    void SET_T256(int x, int y, TColor32 value);
    void SET_TS256(int x, int y, TColor32 value);

    // Stipple.
    void SetStipple(const TArrayOfColor32& pattern);
    void SetStipple(std::initializer_list<TColor32> pattern);
    void AdvanceStippleCounter(float lengthPixels);
    // The colour at the counter; then the counter moves on by StippleStep.
    TColor32 GetStippleColor();

    // Horizontal and vertical lines, both ends included.
    void HorzLine(int x1, int y, int x2, TColor32 value);
    void HorzLineS(int x1, int y, int x2, TColor32 value);
    void HorzLineT(int x1, int y, int x2, TColor32 value);
    void HorzLineTS(int x1, int y, int x2, TColor32 value);
    void HorzLineTSP(int x1, int y, int x2);
    void VertLine(int x, int y1, int y2, TColor32 value);
    void VertLineS(int x, int y1, int y2, TColor32 value);
    void VertLineT(int x, int y1, int y2, TColor32 value);
    void VertLineTS(int x, int y1, int y2, TColor32 value);
    void VertLineTSP(int x, int y1, int y2);

    // General lines; l says whether the last point is drawn.
    void Line(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineS(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineT(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineTS(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineA(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineAS(int x1, int y1, int x2, int y2, TColor32 value, bool l = false);
    void LineX(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l = false);
    void LineXS(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l = false);
    void LineF(float x1, float y1, float x2, float y2, TColor32 value, bool l = false);
    void LineFS(float x1, float y1, float x2, float y2, TColor32 value, bool l = false);
    void LineXP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l = false);
    void LineXSP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l = false);
    void LineFP(float x1, float y1, float x2, float y2, bool l = false);
    void LineFSP(float x1, float y1, float x2, float y2, bool l = false);

    // Pen-position lines in PenColor.
    void MoveTo(int x, int y);
    void LineToS(int x, int y);
    void LineToTS(int x, int y);
    void LineToAS(int x, int y);
    void MoveToX(TFixed x, TFixed y);
    void MoveToF(float x, float y);
    void LineToXS(TFixed x, TFixed y);
    void LineToFS(float x, float y);
    void LineToXSP(TFixed x, TFixed y);
    void LineToFSP(float x, float y);

    // Rectangles, half-open.
    void FillRect(int x1, int y1, int x2, int y2, TColor32 value);
    void FillRectS(int x1, int y1, int x2, int y2, TColor32 value);
    void FillRectS(const TRect& r, TColor32 value);
    void FillRectT(int x1, int y1, int x2, int y2, TColor32 value);
    void FillRectTS(int x1, int y1, int x2, int y2, TColor32 value);
    void FillRectTS(const TRect& r, TColor32 value);
    void FrameRectS(int x1, int y1, int x2, int y2, TColor32 value);
    void FrameRectS(const TRect& r, TColor32 value);
    void FrameRectTS(int x1, int y1, int x2, int y2, TColor32 value);
    void FrameRectTS(const TRect& r, TColor32 value);
    void FrameRectTSP(int x1, int y1, int x2, int y2);
    void RaiseRectTS(int x1, int y1, int x2, int y2, int contrast);
    void RaiseRectTS(const TRect& r, int contrast);

    // Bitmap onto bitmap. The SOURCE's DrawMode, MasterAlpha, StretchFilter and OnPixelCombine decide.
    void Draw(int dstX, int dstY, TBitmap32* src);
    void Draw(const TRect& dstRect, const TRect& srcRect, TBitmap32* src);
    void DrawTo(TBitmap32* dst);
    void DrawTo(TBitmap32* dst, int dstX, int dstY);
    void DrawTo(TBitmap32* dst, const TRect& dstRect);
    void DrawTo(TBitmap32* dst, const TRect& dstRect, const TRect& srcRect);

    // Device contexts. Copies, whatever the DrawMode: alpha bytes travel unchanged.
    // srcRect of hSrc stretched into dstRect of this bitmap (StretchBlt), then Changed.
    void Draw(const TRect& dstRect, const TRect& srcRect, HDC hSrc);
    // The whole bitmap at (dstX, dstY) of hDst, unscaled.
    void DrawTo(HDC hDst, int dstX, int dstY);
    void DrawTo(HDC hDst, const TRect& dstRect, const TRect& srcRect);
    // srcRect stretched into dstRect of hDst by this bitmap's StretchFilter, DrawMode and OnPixelCombine, in
    // tiles of at most 1024 x 1024 pixels.
    void TileTo(HDC hDst, const TRect& dstRect, const TRect& srcRect);

    // Plain fields.
    TColor32 OuterColor = 0;
    TColor32 PenColor = 0xFFFFFFFF;
    float StippleCounter = 0;
    TArrayOfColor32 StipplePattern;
    float StippleStep = 1.0f;
    TPoint PenPos;
    TFixedPoint PenPosF;

    TNotifyEvent OnHandleChanged;
    TPixelCombineEvent OnPixelCombine;

protected:
    void ChangeSize(int32_t& width, int32_t& height, int32_t newWidth, int32_t newHeight) override;
    // A framework picture receives the copy in its bitmap, a framework bitmap directly (32 bits, alpha kept).
    void AssignTo(TPersistent* dest) override;
    // Stores the pixels as the binary property "Data" (ReadData, WriteData) where DataStored says so.
    void DefineProperties(TFiler* filer) override;
    // Lets go of the selected font handle before the font frees it or the DC goes.
    void FontChanged(TObject* sender);
    // Selects the font into Handle with its colour and a transparent background.
    void UpdateFont();

private:
    // ReadData for a stored "Data" property, which must hold exactly the pixels its size promises.
    void ReadStoredData(TStream& stream);
    void CanvasChanged(TObject* sender);
    // Framework bitmap, picture or other graphic into this bitmap (inside Assign's update bracket).
    void AssignFromBitmap(TBitmap* source);
    void AssignFromGraphic(TGraphic* graphic, int width, int height);
    void CopyToBitmap(TBitmap* dest);
    void ReleaseStorage();

    void CopyPropertiesTo(TBitmap32& dst) const;
    // The 16.16 antialiased line; clipped selects the clipped dot, stipple the stipple colours.
    void DrawLineX(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l, bool clipped, bool stipple);

    BITMAPINFO FBitmapInfo {};
    TColor32* FBits = nullptr;
    HBITMAP FDibSection = nullptr;
    HDC FHandle = nullptr;
    HFONT FSelectedFont = nullptr;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TCanvas> FCanvas;
    TDrawMode FDrawMode = dmOpaque;
    uint32_t FMasterAlpha = 255;
    TStretchFilter FStretchFilter = sfNearest;
};
