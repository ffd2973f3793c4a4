// Moving pixels between bitmaps: block and scaled transfers, weight tables, 3x3 matrices and transformations.
#pragma once
#include "framework/core/TObject.h"
#include "imaging/Img32Types.h"

#include <array>
#include <cstdint>
#include <vector>

class TBitmap32;

// Raised for a missing or empty bitmap and for a source rectangle outside the source.
class ETransformError : public Exception {
public:
    using Exception::Exception;
};

struct TClusterEntry {
    int32_t SrcIndex;
    // In 1/256.
    int32_t Weight;
    friend bool operator==(const TClusterEntry&, const TClusterEntry&) = default;
};
// The source samples of one destination column (or row); its weights sum to 256.
using TCluster = std::vector<TClusterEntry>;
// One cluster per destination column (or row) of the clipped range.
using TMappingTable = std::vector<TCluster>;

// 3x3 matrices: a point (x, y) maps to (x M[0][0] + y M[1][0] + M[2][0], x M[0][1] + y M[1][1] + M[2][1]).
using TFloatMatrix = std::array<std::array<float, 3>, 3>;

// A mapping from destination pixels back to source positions, prepared once after every change.
class TTransformation : public TObject {
    using inherited = TObject;

public:
    const TFloatRect& SrcRect() const { return FSrcRect; }
    void SetSrcRect(const TFloatRect& value);

    // The source pixel of a destination pixel, and the source position in 24.8. False (outputs untouched) where
    // the transformation has no source point.
    virtual bool Transform(int dstX, int dstY, int& srcX, int& srcY) = 0;
    virtual bool Transform256(int dstX, int dstY, int& srcX, int& srcY) = 0;
    virtual void PrepareTransform() = 0;
    // The destination area covered.
    virtual TRect GetTransformedBounds() = 0;

    bool TransformValid = false;

protected:
    TFloatRect FSrcRect;
};

class TAffineTransformation : public TTransformation {
    using inherited = TTransformation;

public:
    TAffineTransformation();

    // Matrix := identity.
    void Clear();
    // Each composes a new step after the existing ones. Alpha is in degrees.
    void Translate(float dx, float dy);
    void Scale(float sx, float sy);
    void Skew(float fx, float fy);
    void Rotate(float cx, float cy, float alpha);

    bool Transform(int dstX, int dstY, int& srcX, int& srcY) override;
    bool Transform256(int dstX, int dstY, int& srcX, int& srcY) override;
    void PrepareTransform() override;
    TRect GetTransformedBounds() override;

    // The destination-to-source coefficients in 4.12 fixed point, set by PrepareTransform.
    int32_t A = 0, B = 0, C = 0, D = 0, E = 0, F = 0;
    TFloatMatrix Matrix;
};

// Maps the source rectangle onto the quadrilateral (X0, Y0) .. (X3, Y3).
class TProjectiveTransformation : public TTransformation {
    using inherited = TTransformation;

public:
    float X0() const { return FX[0]; }
    float X1() const { return FX[1]; }
    float X2() const { return FX[2]; }
    float X3() const { return FX[3]; }
    float Y0() const { return FY[0]; }
    float Y1() const { return FY[1]; }
    float Y2() const { return FY[2]; }
    float Y3() const { return FY[3]; }
    void SetX0(float value) { SetCorner(FX[0], value); }
    void SetX1(float value) { SetCorner(FX[1], value); }
    void SetX2(float value) { SetCorner(FX[2], value); }
    void SetX3(float value) { SetCorner(FX[3], value); }
    void SetY0(float value) { SetCorner(FY[0], value); }
    void SetY1(float value) { SetCorner(FY[1], value); }
    void SetY2(float value) { SetCorner(FY[2], value); }
    void SetY3(float value) { SetCorner(FY[3], value); }

    bool Transform(int dstX, int dstY, int& srcX, int& srcY) override;
    bool Transform256(int dstX, int dstY, int& srcX, int& srcY) override;
    void PrepareTransform() override;
    TRect GetTransformedBounds() override;

    TFloatMatrix Matrix {};

private:
    void SetCorner(float& corner, float value)
    {
        corner = value;
        TransformValid = false;
    }
    bool Map(int dstX, int dstY, double factor, int& srcX, int& srcY);

    float FX[4] = {};
    float FY[4] = {};
};

namespace Img32_Transforms {

// True: destination pixel centres map onto source pixel centres over the full edge. False: the first and last
// destination pixels map onto the first and last source pixels. Read at every scaled transfer.
extern bool FullEdge;

// Unscaled: srcRect of src at (dstX, dstY) of dst, only inside dstClip. Both rectangles are clipped silently.
// Raises ETransformError for a nil or empty dst, and for a nil src; an empty src draws nothing.
void BlockTransfer(TBitmap32* dst, int dstX, int dstY, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TDrawMode combineOp, const TPixelCombineEvent& combineCallBack);
// Scaled: srcRect of src into dstRect of dst, only inside dstClip, by stretchFilter. Raises as BlockTransfer, and
// "Source rectangle is invalid" when srcRect reaches outside src.
void StretchTransfer(TBitmap32* dst, const TRect& dstRect, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TStretchFilter stretchFilter, TDrawMode combineOp, const TPixelCombineEvent& combineCallBack);

// The kernel resampler behind StretchTransfer (every filter but sfNearest, and sfLinear unless it enlarges both
// ways). dstClip is already clipped to dst and dstRect, and the combination checks are done.
void ResampleByKernel(TBitmap32* dst, const TRect& dstRect, const TRect& dstClip, TBitmap32* src, const TRect& srcRect,
    TStretchFilter filter, TDrawMode combineOp, const TPixelCombineEvent& combineCallBack);

// The weights of the kernel resampler along one axis: destination dstLo..dstHi (clipped to clipLo..clipHi) from
// source srcLo..srcHi, all half-open.
TMappingTable BuildWeightTable(
    int dstLo, int dstHi, int clipLo, int clipHi, int srcLo, int srcHi, TStretchFilter filter);
// The kernel of a filter and its radius (sfNearest has none: radius 0).
float FilterKernel(TStretchFilter filter, float x);
float FilterRadius(TStretchFilter filter);

extern const TFloatMatrix IdentityMatrix;

void Adjoint(TFloatMatrix& m);
float Determinant(const TFloatMatrix& m);
void Scale(TFloatMatrix& m, float factor);
// A nearly singular matrix (|determinant| < 1e-5) becomes the identity.
void Invert(TFloatMatrix& m);
// The product that maps a point first by m2, then by m1.
TFloatMatrix Mult(const TFloatMatrix& m1, const TFloatMatrix& m2);

// Draws src into dst through the transformation with src's DrawMode, MasterAlpha, OnPixelCombine and
// StretchFilter (nearest for sfNearest, bilinear otherwise); then dst.Changed.
void Transform(TBitmap32* dst, TBitmap32* src, TTransformation* transformation);

// Alpha 0 on the outline of r, an inclusive rectangle (Right and Bottom are pixel indices); then Changed.
void SetBorderTransparent(TBitmap32* bitmap, const TRect& r);

} // namespace Img32_Transforms
