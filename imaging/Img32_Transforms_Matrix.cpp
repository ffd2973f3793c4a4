// The 3x3 matrices, the affine and projective transformations, drawing through them, and transparent borders.
#include "framework/core/Numbers.h"
#include "imaging/Img32_blend.h"
#include "imaging/Img32_lowlevel.h"
#include "imaging/Img32.h"
#include "imaging/Img32_Transforms.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

using namespace Img32_blend;
using namespace Img32_Transforms;

namespace {

// Rounds a position to an int, halves to even; far-off positions stop at the ends of the range.
int32_t RoundClamped(double value)
{
    return int32_t(
        std::clamp<int64_t>(Round(value), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t ShiftClamped(int64_t value, int shift)
{
    return int32_t(
        std::clamp<int64_t>(value >> shift, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

namespace Img32_Transforms {

const TFloatMatrix IdentityMatrix = { { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } } };

// ---- Matrices --------------------------------------------------------------------------------------------------

void Adjoint(TFloatMatrix& m)
{
    const auto a = [&](int i, int j) { return double(m[size_t(i)][size_t(j)]); };
    TFloatMatrix r;
    // The transpose of the cofactor matrix: r[i][j] is the cofactor of m[j][i].
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3;
            const int c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            r[size_t(i)][size_t(j)] = float(a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0));
        }
    m = r;
}

float Determinant(const TFloatMatrix& m)
{
    const auto a = [&](int i, int j) { return double(m[size_t(i)][size_t(j)]); };
    return float(a(0, 0) * (a(1, 1) * a(2, 2) - a(2, 1) * a(1, 2)) - a(0, 1) * (a(1, 0) * a(2, 2) - a(2, 0) * a(1, 2))
        + a(0, 2) * (a(1, 0) * a(2, 1) - a(2, 0) * a(1, 1)));
}

void Scale(TFloatMatrix& m, float factor)
{
    for (auto& row : m)
        for (float& v : row)
            v = float(double(v) * double(factor));
}

void Invert(TFloatMatrix& m)
{
    const float det = Determinant(m);
    if (!(std::fabs(double(det)) >= 1e-5)) {
        m = IdentityMatrix;
        return;
    }
    Adjoint(m);
    Scale(m, float(1.0 / double(det)));
}

TFloatMatrix Mult(const TFloatMatrix& m1, const TFloatMatrix& m2)
{
    TFloatMatrix r;
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            r[i][j] = float(double(m1[0][j]) * m2[i][0] + double(m1[1][j]) * m2[i][1] + double(m1[2][j]) * m2[i][2]);
    return r;
}

} // namespace Img32_Transforms

// ---- Transformations ---------------------------------------------------------------------------------------------

void TTransformation::SetSrcRect(const TFloatRect& value)
{
    FSrcRect = value;
    TransformValid = false;
}

TAffineTransformation::TAffineTransformation()
{
    Clear();
}

void TAffineTransformation::Clear()
{
    Matrix = IdentityMatrix;
    TransformValid = false;
}

void TAffineTransformation::Translate(float dx, float dy)
{
    TFloatMatrix t = IdentityMatrix;
    t[2][0] = dx;
    t[2][1] = dy;
    Matrix = Mult(t, Matrix);
    TransformValid = false;
}

void TAffineTransformation::Scale(float sx, float sy)
{
    TFloatMatrix t = IdentityMatrix;
    t[0][0] = sx;
    t[1][1] = sy;
    Matrix = Mult(t, Matrix);
    TransformValid = false;
}

void TAffineTransformation::Skew(float fx, float fy)
{
    TFloatMatrix t = IdentityMatrix;
    t[1][0] = fx;
    t[0][1] = fy;
    Matrix = Mult(t, Matrix);
    TransformValid = false;
}

void TAffineTransformation::Rotate(float cx, float cy, float alpha)
{
    const bool centred = cx != 0 || cy != 0;
    if (centred)
        Translate(-cx, -cy);
    const double a = double(alpha) * std::numbers::pi / 180;
    const float s = float(std::sin(a));
    const float c = float(std::cos(a));
    TFloatMatrix t = IdentityMatrix;
    t[0][0] = c;
    t[1][0] = s;
    t[0][1] = -s;
    t[1][1] = c;
    Matrix = Mult(t, Matrix);
    TransformValid = false;
    if (centred)
        Translate(cx, cy);
}

void TAffineTransformation::PrepareTransform()
{
    TFloatMatrix m = Matrix;
    Invert(m);
    A = RoundClamped(double(m[0][0]) * 4096);
    B = RoundClamped(double(m[1][0]) * 4096);
    C = RoundClamped(double(m[2][0]) * 4096);
    D = RoundClamped(double(m[0][1]) * 4096);
    E = RoundClamped(double(m[1][1]) * 4096);
    F = RoundClamped(double(m[2][1]) * 4096);
    TransformValid = true;
}

// 64-bit products: a zoomed or far-off point would pass the 32-bit range; the shift stays arithmetic.
bool TAffineTransformation::Transform(int dstX, int dstY, int& srcX, int& srcY)
{
    srcX = ShiftClamped(int64_t(dstX) * A + int64_t(dstY) * B + C + 2047, 12);
    srcY = ShiftClamped(int64_t(dstX) * D + int64_t(dstY) * E + F + 2047, 12);
    return true;
}

bool TAffineTransformation::Transform256(int dstX, int dstY, int& srcX, int& srcY)
{
    srcX = ShiftClamped(int64_t(dstX) * A + int64_t(dstY) * B + C + 7, 4);
    srcY = ShiftClamped(int64_t(dstX) * D + int64_t(dstY) * E + F + 7, 4);
    return true;
}

TRect TAffineTransformation::GetTransformedBounds()
{
    const double xs[4] = { FSrcRect.Left, FSrcRect.Right, FSrcRect.Right, FSrcRect.Left };
    const double ys[4] = { FSrcRect.Top, FSrcRect.Top, FSrcRect.Bottom, FSrcRect.Bottom };
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const double x = double(float(xs[i] * Matrix[0][0] + ys[i] * Matrix[1][0] + Matrix[2][0]));
        const double y = double(float(xs[i] * Matrix[0][1] + ys[i] * Matrix[1][1] + Matrix[2][1]));
        minX = i == 0 ? x : std::min(minX, x);
        maxX = i == 0 ? x : std::max(maxX, x);
        minY = i == 0 ? y : std::min(minY, y);
        maxY = i == 0 ? y : std::max(maxY, y);
    }
    return TRect { RoundClamped(minX - 0.5), RoundClamped(minY - 0.5), RoundClamped(maxX + 0.5),
        RoundClamped(maxY + 0.5) };
}

void TProjectiveTransformation::PrepareTransform()
{
    const double x0 = FX[0], x1 = FX[1], x2 = FX[2], x3 = FX[3];
    const double y0 = FY[0], y1 = FY[1], y2 = FY[2], y3 = FY[3];
    const double px = x0 - x1 + x2 - x3;
    const double py = y0 - y1 + y2 - y3;
    TFloatMatrix m {};
    if (px == 0 && py == 0) {
        m[0][0] = float(x1 - x0);
        m[1][0] = float(x2 - x1);
        m[2][0] = float(x0);
        m[0][1] = float(y1 - y0);
        m[1][1] = float(y2 - y1);
        m[2][1] = float(y0);
        m[2][2] = 1;
    } else {
        const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
        const double det = dx1 * dy2 - dx2 * dy1;
        if (det != 0) {
            const double g = (px * dy2 - py * dx2) / det;
            const double h = (py * dx1 - px * dy1) / det;
            m[0][0] = float(x1 - x0 + g * x1);
            m[1][0] = float(x3 - x0 + h * x3);
            m[2][0] = float(x0);
            m[0][1] = float(y1 - y0 + g * y1);
            m[1][1] = float(y3 - y0 + h * y3);
            m[2][1] = float(y0);
            m[0][2] = float(g);
            m[1][2] = float(h);
            m[2][2] = 1;
        }
    }
    TFloatMatrix s = IdentityMatrix;
    s[0][0] = float(1.0 / (double(FSrcRect.Right) - FSrcRect.Left));
    s[1][1] = float(1.0 / (double(FSrcRect.Bottom) - FSrcRect.Top));
    m = Mult(m, s);
    TFloatMatrix t = IdentityMatrix;
    t[2][0] = -FSrcRect.Left;
    t[2][1] = -FSrcRect.Top;
    m = Mult(m, t);
    Invert(m);
    Matrix = m;
    TransformValid = true;
}

bool TProjectiveTransformation::Map(int dstX, int dstY, double factor, int& srcX, int& srcY)
{
    const double x = dstX, y = dstY;
    const double z = Matrix[0][2] * x + Matrix[1][2] * y + Matrix[2][2];
    // Where the denominator vanishes there is no source point; the pixel is skipped rather than given the
    // previous pixel's source.
    if (z == 0)
        return false;
    double sx = x * Matrix[0][0] + y * Matrix[1][0] + Matrix[2][0];
    double sy = x * Matrix[0][1] + y * Matrix[1][1] + Matrix[2][1];
    if (z != 1) {
        const double iz = 1 / z;
        sx *= iz;
        sy *= iz;
    }
    srcX = RoundClamped(sx * factor);
    srcY = RoundClamped(sy * factor);
    return true;
}

bool TProjectiveTransformation::Transform(int dstX, int dstY, int& srcX, int& srcY)
{
    return Map(dstX, dstY, 1, srcX, srcY);
}

bool TProjectiveTransformation::Transform256(int dstX, int dstY, int& srcX, int& srcY)
{
    return Map(dstX, dstY, 256, srcX, srcY);
}

TRect TProjectiveTransformation::GetTransformedBounds()
{
    const auto [minX, maxX] = std::minmax({ FX[0], FX[1], FX[2], FX[3] });
    const auto [minY, maxY] = std::minmax({ FY[0], FY[1], FY[2], FY[3] });
    return TRect { RoundClamped(double(minX) - 0.5), RoundClamped(double(minY) - 0.5), RoundClamped(double(maxX) + 0.5),
        RoundClamped(double(maxY) + 0.5) };
}

namespace Img32_Transforms {

// ---- Drawing through a transformation ----------------------------------------------------------------------------

void Transform(TBitmap32* dst, TBitmap32* src, TTransformation* transformation)
{
    // Nothing to read from or to write to is no error here: the transformation draws nothing.
    if (!dst || !src || !transformation || dst->Empty() || src->Empty())
        return;
    if (!transformation->TransformValid)
        transformation->PrepareTransform();
    TDrawMode op = src->DrawMode();
    const TPixelCombineEvent& callBack = src->OnPixelCombine;
    if (op == dmCustom && !callBack)
        op = dmOpaque;
    const uint32_t masterAlpha = src->MasterAlpha();
    const bool nearest = src->StretchFilter() == sfNearest;

    std::unique_ptr<TBitmap32> copy;
    if (src == dst) {
        copy = std::make_unique<TBitmap32>();
        copy->Assign(src);
        src = copy.get();
    }
    // SR and D are inclusive. A source rectangle that misses the bitmap leaves nothing to read.
    TRect sr;
    if (!Img32::IntersectRect(sr, Img32::MakeRect(transformation->SrcRect(), rrClosest),
            TRect { 0, 0, src->Width() - 1, src->Height() - 1 }))
        return;
    TRect d;
    if (!Img32::IntersectRect(
            d, transformation->GetTransformedBounds(), TRect { 0, 0, dst->Width() - 1, dst->Height() - 1 })
        || Img32::IsRectEmpty(d))
        return;

    auto combine = [&](TColor32 color, TColor32& pixel) {
        switch (op) {
        case dmOpaque:
            pixel = color;
            break;
        case dmBlend:
            BlendMemEx(color, pixel, masterAlpha);
            break;
        case dmCustom:
            callBack(color, pixel, masterAlpha);
            break;
        }
    };
    for (int y = d.Top; y <= d.Bottom; ++y) {
        for (int x = d.Left; x <= d.Right; ++x) {
            int sx = 0, sy = 0;
            if (nearest) {
                if (transformation->Transform(x, y, sx, sy) && sx >= sr.Left && sx <= sr.Right && sy >= sr.Top
                    && sy <= sr.Bottom)
                    combine(src->Pixel(sx, sy), *dst->PixelPtr(x, y));
                continue;
            }
            if (!transformation->Transform256(x, y, sx, sy))
                continue;
            const int ix = sx >> 8;
            const int iy = sy >> 8;
            const TColor32 wx = 255 - TColor32(sx & 255);
            const TColor32 wy = 255 - TColor32(sy & 255);
            TColor32 c1, c2, c3, c4;
            if (sr.Left < ix && ix < sr.Right - 1 && sr.Top < iy && iy < sr.Bottom - 1) {
                const TColor32* p = src->PixelPtr(ix, iy);
                c1 = p[0];
                c2 = p[1];
                c3 = p[src->Width()];
                c4 = p[src->Width() + 1];
            } else if (ix >= sr.Left - 1 && iy >= sr.Top - 1 && ix < sr.Right && iy < sr.Bottom) {
                c1 = src->PixelS(ix, iy);
                c2 = src->PixelS(ix + 1, iy);
                c3 = src->PixelS(ix, iy + 1);
                c4 = src->PixelS(ix + 1, iy + 1);
            } else {
                continue;
            }
            combine(CombineReg(CombineReg(c1, c2, wx), CombineReg(c3, c4, wx), wy), *dst->PixelPtr(x, y));
        }
    }
    EMMS();
    dst->Changed();
}

void SetBorderTransparent(TBitmap32* bitmap, const TRect& r)
{
    if (!bitmap || bitmap->Empty())
        return;
    int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
    if (!Img32_lowlevel::TestClip(l, rr, bitmap->Width()) || !Img32_lowlevel::TestClip(t, b, bitmap->Height()))
        return;
    for (int x = l; x <= rr; ++x) {
        *bitmap->PixelPtr(x, t) &= 0x00FFFFFF;
        *bitmap->PixelPtr(x, b) &= 0x00FFFFFF;
    }
    for (int y = t + 1; y <= b - 1; ++y) {
        *bitmap->PixelPtr(l, y) &= 0x00FFFFFF;
        *bitmap->PixelPtr(rr, y) &= 0x00FFFFFF;
    }
    bitmap->Changed();
}

} // namespace Img32_Transforms
