// The whole-image operations of TBitmap32: roll, flips and quarter turns.
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

void TBitmap32::Roll(int dx, int dy, bool fillBack, TColor32 fillColor)
{
    if (Empty() || (dx == 0 && dy == 0))
        return;
    if (std::abs(int64_t(dx)) >= FWidth || std::abs(int64_t(dy)) >= FHeight) {
        if (fillBack)
            Clear(fillColor);
        return;
    }
    // One block move along the pixel array, so rows wrap into their neighbours at the left and right edges.
    const int64_t shift = int64_t(dx) + int64_t(dy) * FWidth;
    const int64_t total = int64_t(FWidth) * FHeight;
    const int64_t moved = total - std::abs(shift);
    TColor32* bits = FBits;
    if (shift > 0)
        std::memmove(bits + shift, bits, size_t(moved) * sizeof(TColor32));
    else
        std::memmove(bits, bits - shift, size_t(moved) * sizeof(TColor32));

    if (fillBack) {
        TRect r = BoundsRect();
        Img32::OffsetRect(r, dx, dy);
        Img32::IntersectRect(r, r, BoundsRect());
        if (r.Top > 0)
            FillRect(0, 0, FWidth, r.Top, fillColor);
        else
            FillRect(0, r.Bottom, FWidth, FHeight, fillColor);
        if (r.Left > 0)
            FillRect(0, r.Top, r.Left, r.Bottom, fillColor);
        else
            FillRect(r.Right, r.Top, FWidth, r.Bottom, fillColor);
    }
    Changed();
}

void TBitmap32::FlipHorz(TBitmap32* dst)
{
    if (!dst || dst == this) {
        for (int y = 0; y < FHeight && FBits; ++y)
            std::reverse(ScanLine(y), ScanLine(y) + FWidth);
        Changed();
        return;
    }
    dst->BeginUpdate();
    try {
        dst->SetSize(FWidth, FHeight);
        for (int y = 0; y < FHeight && !Empty(); ++y)
            std::reverse_copy(ScanLine(y), ScanLine(y) + FWidth, dst->ScanLine(y));
    } catch (...) {
        dst->EndUpdate();
        throw;
    }
    dst->EndUpdate();
    dst->Changed();
}

void TBitmap32::FlipVert(TBitmap32* dst)
{
    if (!dst || dst == this) {
        if (!Empty()) {
            std::vector<TColor32> row(static_cast<size_t>(FWidth));
            for (int y = 0; y < FHeight / 2; ++y) {
                TColor32* a = ScanLine(y);
                TColor32* b = ScanLine(FHeight - 1 - y);
                std::copy_n(a, FWidth, row.data());
                std::copy_n(b, FWidth, a);
                std::copy_n(row.data(), FWidth, b);
            }
        }
        Changed();
        return;
    }
    dst->SetSize(FWidth, FHeight);
    for (int y = 0; y < FHeight && !Empty(); ++y)
        std::copy_n(ScanLine(y), FWidth, dst->ScanLine(FHeight - 1 - y));
    dst->Changed();
}

void TBitmap32::Rotate180(TBitmap32* dst)
{
    const size_t n = size_t(FWidth) * size_t(FHeight);
    if (!dst || dst == this) {
        if (!Empty())
            std::reverse(FBits, FBits + n);
        Changed();
        return;
    }
    dst->SetSize(FWidth, FHeight);
    if (!Empty())
        std::reverse_copy(FBits, FBits + n, dst->Bits());
    dst->Changed();
}

namespace {

// Quarter turns into another bitmap: the target has the swapped size; `clockwise` picks the direction.
void RotateInto(TBitmap32& src, TBitmap32& dst, bool clockwise)
{
    const int w = src.Width();
    const int h = src.Height();
    dst.BeginUpdate();
    try {
        dst.SetSize(h, w);
        if (!src.Empty()) {
            for (int y = 0; y < h; ++y) {
                const TColor32* row = src.ScanLine(y);
                for (int x = 0; x < w; ++x) {
                    if (clockwise)
                        dst.SetPixel(h - 1 - y, x, row[x]);
                    else
                        dst.SetPixel(y, w - 1 - x, row[x]);
                }
            }
        }
    } catch (...) {
        dst.EndUpdate();
        throw;
    }
    dst.EndUpdate();
}

} // namespace

// NOTE: a quarter turn cannot work on its own pixels, so this bitmap given as the target is taken to mean
// "in place", which goes through a temporary bitmap.
void TBitmap32::Rotate90(TBitmap32* dst)
{
    if (!dst || dst == this) {
        TBitmap32 temp;
        RotateInto(*this, temp, true);
        CopyPropertiesTo(temp);
        Assign(&temp);
        return;
    }
    RotateInto(*this, *dst, true);
    dst->Changed();
}

void TBitmap32::Rotate270(TBitmap32* dst)
{
    if (!dst || dst == this) {
        TBitmap32 temp;
        RotateInto(*this, temp, false);
        CopyPropertiesTo(temp);
        Assign(&temp);
        return;
    }
    RotateInto(*this, *dst, false);
    dst->Changed();
}
