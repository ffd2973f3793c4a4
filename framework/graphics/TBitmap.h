// TBitmap, the framework's device-independent bitmap: pixel formats, scan lines, a canvas, transparency, and
// the BMP file format.
#pragma once
#include "framework/graphics/Colors.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TGraphic.h"

#include <cstdint>
#include <memory>

enum TBitmapHandleType : uint8_t { bmDIB, bmDDB };
// pfDevice is the display's format: 32 bits per pixel here. pf15bit is 5-5-5, pf16bit 5-6-5.
enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// tmAuto takes the bottom-left pixel as the transparent colour; tmFixed uses TransparentColor.
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

struct TBitmapImage;

// The pixels live in a DIB section, bottom-up as BMP files store them (ScanLine(0) is the top row wherever
// it lies in memory). Rows are padded to 4 bytes. Formats of 8 bits and less have a colour table; a new
// one is the black-and-white pair (1 bit), the 16 standard colours (4 bits) or the halftone palette's
// 256 colours (8 bits). Changing the pixel format converts the pixels.
class TBitmap : public TGraphic {
    using inherited = TGraphic;

public:
    TBitmap();
    ~TBitmap() override;

    // From a TBitmap: a copy of its pixels, format, colour table and transparency settings; null empties
    // this bitmap. Anything else asks the source (AssignTo).
    void Assign(TPersistent* source) override;
    std::unique_ptr<TGraphic> CreateNew() const override;

    // A canvas over the pixels, made on first use; drawing on it marks the bitmap changed.
    TCanvas* Canvas();
    bool HandleAllocated() const;
    // The DIB section, null while the bitmap is empty; the bitmap owns it. The canvas lets go of it first, so
    // the caller may select it into a DC of its own.
    HBITMAP Handle();
    // Takes over `value`: a DIB section in one of the pixel formats is kept as it is; any other bitmap is
    // copied into a DIB of the nearest format and freed. Null empties the bitmap. Raises EInvalidGraphic
    // "Bitmap image is not valid" for a handle that is no bitmap.
    void SetHandle(HBITMAP value);
    // Gives the DIB section to the caller, who must DeleteObject it; the bitmap keeps a copy of the pixels.
    HBITMAP ReleaseHandle();

    TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
    void SetHandleType(TBitmapHandleType value);
    TPixelFormat PixelFormat() const;
    // Raises EInvalidGraphic "Invalid pixel format" for pfCustom.
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const;
    // On: converts to 1 bit per pixel (black and white). Off: to the device format.
    void SetMonochrome(bool value);
    // Row `row` counted from the top. Raises EInvalidGraphicOperation "Scan line index out of range" outside
    // 0..Height-1. The pointer is valid until the size, format or handle changes.
    void* ScanLine(int row);

    TColor TransparentColor() const;
    // clDefault returns to tmAuto; any other colour selects tmFixed.
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);

    void SetSize(int width, int height);
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // BMP: reads 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and top-down, RLE4, RLE8 and
    // BI_BITFIELDS, OS/2 and V4/V5 headers. Raises EInvalidGraphic "Bitmap image is not valid" for bytes
    // that are not such a file (truncated ones included) and "Invalid image size" for sizes beyond what the
    // bitmap may hold; the bitmap keeps its previous contents then.
    void LoadFromStream(TStream& stream) override;
    // Writes a BMP file (BITMAPINFOHEADER) of the present pixel format, bottom-up.
    void SaveToStream(TStream& stream) override;

protected:
    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool GetEmpty() const override;
    int GetWidth() const override { return FWidth; }
    int GetHeight() const override { return FHeight; }
    // The "Data" form: a 32-bit length, then the BMP file.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    friend class TBitmapCanvas;
    // It decodes its pictures straight into a bitmap's pixels.
    friend class TJPEGImage;
    // Installs `image` (null: empty) and tells the canvas to let go of the old one first.
    void SetImage(std::unique_ptr<TBitmapImage> image);
    void FreeCanvasHandle();
    uint32_t PixelAt(int x, int y) const;

    std::unique_ptr<TBitmapImage> FImage;
    std::unique_ptr<TCanvas> FCanvas;
    int FWidth = 0;
    int FHeight = 0;
    // The format of the pixels, or of the pixels to come while the bitmap is empty. pfDevice is bmDDB.
    TPixelFormat FPixelFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};
