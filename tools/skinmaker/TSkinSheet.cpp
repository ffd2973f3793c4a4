#include "tools/skinmaker/TSkinSheet.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

TColor32 Opaque(const TPaint& paint)
{
    const TColor rgb = WinColor(paint);
    return 0xFF000000u | (uint32_t(rgb & 0xFF) << 16) | (uint32_t(rgb) & 0xFF00u) | ((uint32_t(rgb) >> 16) & 0xFFu);
}

} // namespace

TSkinSheet::TSkinSheet(int width, const TPaint& background)
    : FPainter(FBitmap)
    , FBackground(background)
{
    FBitmap.SetSize(width, 64);
    FBitmap.Clear(Opaque(background));
    FPainter.ResetClip();
}

void TSkinSheet::Grow(int height)
{
    if (height <= FBitmap.Height())
        return;
    TBitmap32 old;
    old.SetSize(FBitmap.Width(), FBitmap.Height());
    std::memcpy(old.Bits(), FBitmap.Bits(), size_t(old.Width()) * size_t(old.Height()) * 4);
    FBitmap.SetSize(FBitmap.Width(), std::max(height, FBitmap.Height() * 2));
    FBitmap.Clear(Opaque(FBackground));
    std::memcpy(FBitmap.Bits(), old.Bits(), size_t(old.Width()) * size_t(old.Height()) * 4);
    FPainter.ResetClip();
}

TRect TSkinSheet::Take(int width, int height)
{
    if (width + 2 * kGap > FBitmap.Width())
        throw std::logic_error("a skin image is wider than its sheet");
    if (FX + width + kGap > FBitmap.Width())
        NewRow();
    const TRect rect { FX, FY, FX + width, FY + height };
    FX += width + kGap;
    FRowHeight = std::max(FRowHeight, height);
    Grow(FY + FRowHeight + kGap);
    return rect;
}

void TSkinSheet::NewRow()
{
    FY += FRowHeight + kGap;
    FX = kGap;
    FRowHeight = 0;
}

const TBitmap32& TSkinSheet::Finish()
{
    const int used = FY + FRowHeight + kGap;
    if (used < FBitmap.Height()) {
        TBitmap32 cut;
        cut.SetSize(FBitmap.Width(), used);
        std::memcpy(cut.Bits(), FBitmap.Bits(), size_t(cut.Width()) * size_t(used) * 4);
        FBitmap.SetSize(cut.Width(), used);
        std::memcpy(FBitmap.Bits(), cut.Bits(), size_t(cut.Width()) * size_t(used) * 4);
    }
    FPainter.ResetClip();
    return FBitmap;
}
