// TspEffectBmp, a 24-bit top-down bitmap section on which the skin blends, morphs and filters pixel by pixel.
#pragma once
#include "framework/core/TObject.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Types.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"
#include "skin/core/SkinData.h"

#include <cstdint>

// Rows are 3 bytes a pixel (blue, green, red) padded to 4 bytes; row 0 is the top. A bitmap made with a width or
// height below 1 is empty: PixelBits is null and every operation on it does nothing.
class TspEffectBmp : public TObject {
    using inherited = TObject;

public:
    TspEffectBmp(int width, int height);
    // A copy of the pixels of a bitmap handle (any format becomes 24-bit).
    explicit TspEffectBmp(HBITMAP bitmap);
    explicit TspEffectBmp(const TspEffectBmp* source);
    ~TspEffectBmp() override;
    TspEffectBmp(const TspEffectBmp&) = delete;
    TspEffectBmp& operator=(const TspEffectBmp&) = delete;

    // Pixel access. The value is blue in the low byte, then green, then red. Coordinates must lie inside.
    int GetPixel(int x, int y) const;
    void SetPixel(int x, int y, int value);
    uint8_t* GetLine(int y) const;
    void GetScanLine(int y, void* buffer) const;
    void SetLine(int y, const void* buffer);

    // Output to a device context.
    void Draw(HDC dc, int x, int y) const;
    void Stretch(HDC dc, int x, int y, int w, int h) const;
    void DrawRect(HDC dc, int x, int y, int sx, int sy, int w, int h) const;
    // Writes this bitmap enlarged into `dest`, leaving out what would fall past dest's edges.
    void Resize(TspEffectBmp* dest) const;

    // Transitions from this image to `other` as kf runs from 0 to 1; nothing when the sizes differ.
    void Morph(const TspEffectBmp* other, double kf);
    void MorphGrad(const TspEffectBmp* other, double kf);
    void MorphHGrad(const TspEffectBmp* other, double kf);
    void MorphVGrad(const TspEffectBmp* other, double kf);
    void MorphLeftGrad(const TspEffectBmp* other, double kf);
    void MorphRightGrad(const TspEffectBmp* other, double kf);
    void MorphLeftSlide(const TspEffectBmp* other, double kf);
    void MorphRightSlide(const TspEffectBmp* other, double kf);
    void MorphPush(const TspEffectBmp* other, double kf);
    // Blends `r` of this bitmap with the same-sized area of `other` at (sx, sy), clipped to both bitmaps.
    void MorphRect(const TspEffectBmp* other, double kf, const TRect& r, int sx, int sy);
    // Copies into r (right and bottom edges included) from `other` at (sx, sy), clipped to both bitmaps.
    void CopyRect(const TspEffectBmp* other, TRect r, int sx, int sy);

    // Filters, in place.
    void ChangeBrightness(double kf);
    void ChangeDarkness(double kf);
    void Invert();
    void GrayScale();
    void SplitBlur(int amount);
    void Mosaic(int size);
    void AddMonoNoise(int amount);
    void AddColorNoise(int amount);
    void Wave(int xDiv, int yDiv, int ratio);
    // White mask pixels (255, 255, 255) are outside the shape. Nothing when the widths differ or the mask is
    // lower than this bitmap.
    void MaskFillColor(const TspEffectBmp* mask, TColor color, double kf);
    void MaskAntialiasing(const TspEffectBmp* mask, int amount);
    void MaskBlur(const TspEffectBmp* mask, int amount);
    // Into `dest`, which must have the turned size (nothing otherwise).
    void Rotate90_1(TspEffectBmp* dest) const;
    void Rotate90_2(TspEffectBmp* dest) const;
    void FlipVert(TspEffectBmp* dest) const;

    bool Empty() const { return PixelBits == nullptr; }
    int Stride() const { return 3 * PixelWidth + PixelWidth % 4; }

    HBITMAP DibHandle = nullptr;
    int PixelWidth = 0;
    int PixelHeight = 0;
    int BitsSize = 0;
    uint8_t* PixelBits = nullptr;
    BITMAPINFOHEADER DibHeader {};
    BITMAPINFO DibInfo {};

private:
    void Initialize(int width, int height);
    bool SameSize(const TspEffectBmp* other) const;
    uint8_t* Pixel(int x, int y) const { return PixelBits + y * Stride() + 3 * x; }
    void BlurPass(const TspEffectBmp* mask, int amount, bool antialias);
};

// Blends `source` into `target` (both of one size) by the transition `kind` with factor kf; `source` receives
// the result.
void MorphByKind(TspEffectBmp& source, const TspEffectBmp& target, TMorphKind kind, double kf);

// One tick of a hover morph: the factor 0.2 further up or down. The step is added in extended precision and
// stored as a double, so five steps from 0 stop just below 1 and a whole fade takes six ticks (the sixth
// overshoots, and every transition limits it).
inline double NextMorphFactor(double kf, bool up)
{
    return static_cast<double>(static_cast<long double>(kf) + (up ? 0.2L : -0.2L));
}
