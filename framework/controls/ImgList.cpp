#include "framework/controls/ImgList.h"
#include "framework/controls/TCustomControl.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>

namespace {

// A 32-bit copy of any bitmap, so its pixels can be read as B, G, R, A words.
std::unique_ptr<TBitmap> As32Bit(TBitmap* source)
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(source);
    copy->SetPixelFormat(pf32bit);
    return copy;
}

uint32_t PixelAt(TBitmap* bitmap, int x, int y)
{
    return static_cast<const uint32_t*>(bitmap->ScanLine(y))[x] & 0x00FFFFFF;
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* owner)
    : TComponent(owner)
{
}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner)
    , FWidth(std::max(width, 1))
    , FHeight(std::max(height, 1))
{
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int value)
{
    value = std::max(value, 1);
    if (value == FWidth)
        return;
    FWidth = value;
    Clear();
}

void TCustomImageList::SetHeight(int value)
{
    value = std::max(value, 1);
    if (value == FHeight)
        return;
    FHeight = value;
    Clear();
}

void TCustomImageList::SetBkColor(TColor value)
{
    if (value == FBkColor)
        return;
    FBkColor = value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value)
{
    if (value == FDrawingStyle)
        return;
    FDrawingStyle = value;
    Change();
}

void TCustomImageList::SetMasked(bool value)
{
    if (value == FMasked)
        return;
    FMasked = value;
    Change();
}

void TCustomImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidImageList(Format("Invalid image index %d", index));
}

const TBitmap* TCustomImageList::Image(int index) const
{
    CheckIndex(index);
    return FImages[size_t(index)].get();
}

std::vector<std::unique_ptr<TBitmap>> TCustomImageList::Split(
    TBitmap* image, TBitmap* mask, TColor maskColor, bool useColor) const
{
    std::vector<std::unique_ptr<TBitmap>> result;
    if (!image || image->Empty())
        return result;
    if (image->Height() < FHeight)
        throw EInvalidImageList("Invalid image size");
    std::unique_ptr<TBitmap> source = As32Bit(image);
    std::unique_ptr<TBitmap> maskBits = mask && !mask->Empty() ? As32Bit(mask) : nullptr;
    const uint32_t key = static_cast<uint32_t>(ColorToRGB(maskColor));
    // COLORREF is 0x00BBGGRR; the pixels are 0x00RRGGBB.
    const uint32_t keyPixel = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
    const int count = std::max(1, source->Width() / FWidth);
    for (int n = 0; n < count; ++n) {
        auto tile = std::make_unique<TBitmap>();
        tile->SetPixelFormat(pf32bit);
        tile->SetSize(FWidth, FHeight);
        for (int y = 0; y < FHeight; ++y) {
            auto* out = static_cast<uint32_t*>(tile->ScanLine(y));
            for (int x = 0; x < FWidth; ++x) {
                const int sx = n * FWidth + x;
                if (sx >= source->Width()) {
                    out[x] = 0;
                    continue;
                }
                const uint32_t pixel = PixelAt(source.get(), sx, y);
                bool transparent = false;
                if (FMasked) {
                    if (useColor)
                        transparent = pixel == keyPixel;
                    else if (maskBits && sx < maskBits->Width() && y < maskBits->Height())
                        transparent = PixelAt(maskBits.get(), sx, y) != 0;
                }
                // Premultiplied: a transparent pixel is all zero.
                out[x] = transparent ? 0 : (pixel | 0xFF000000u);
            }
        }
        result.push_back(std::move(tile));
    }
    return result;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    const int index = Count();
    Insert(index, image, mask);
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    const int index = Count();
    InsertMasked(index, image, maskColor);
    return index;
}

void TCustomImageList::AddImages(TCustomImageList* value)
{
    if (!value || value == this)
        return;
    for (const auto& image : value->FImages) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(image.get());
        FImages.push_back(std::move(copy));
    }
    Change();
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask)
{
    if (index < 0 || index > Count())
        throw EInvalidImageList(Format("Invalid image index %d", index));
    auto tiles = Split(image, mask, clNone, false);
    FImages.insert(
        FImages.begin() + index, std::make_move_iterator(tiles.begin()), std::make_move_iterator(tiles.end()));
    Change();
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColor)
{
    if (index < 0 || index > Count())
        throw EInvalidImageList(Format("Invalid image index %d", index));
    auto tiles = Split(image, nullptr, maskColor, true);
    FImages.insert(
        FImages.begin() + index, std::make_move_iterator(tiles.begin()), std::make_move_iterator(tiles.end()));
    Change();
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    CheckIndex(index);
    auto tiles = Split(image, mask, clNone, false);
    if (!tiles.empty())
        FImages[size_t(index)] = std::move(tiles.front());
    Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor)
{
    CheckIndex(index);
    auto tiles = Split(image, nullptr, maskColor, true);
    if (!tiles.empty())
        FImages[size_t(index)] = std::move(tiles.front());
    Change();
}

void TCustomImageList::Delete(int index)
{
    CheckIndex(index);
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Change();
}

void TCustomImageList::Move(int curIndex, int newIndex)
{
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex)
        return;
    auto image = std::move(FImages[size_t(curIndex)]);
    FImages.erase(FImages.begin() + curIndex);
    FImages.insert(FImages.begin() + newIndex, std::move(image));
    Change();
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) const
{
    CheckIndex(index);
    if (!image)
        return;
    const TBitmap* source = FImages[size_t(index)].get();
    image->SetPixelFormat(pf32bit);
    image->SetSize(FWidth, FHeight);
    const uint32_t back = FBkColor == clNone ? 0 : static_cast<uint32_t>(ColorToRGB(FBkColor));
    const uint32_t backPixel = ((back & 0xFF) << 16) | (back & 0xFF00) | ((back >> 16) & 0xFF);
    auto* src = const_cast<TBitmap*>(source);
    for (int y = 0; y < FHeight; ++y) {
        const auto* in = static_cast<const uint32_t*>(src->ScanLine(y));
        auto* out = static_cast<uint32_t*>(image->ScanLine(y));
        for (int x = 0; x < FWidth; ++x)
            out[x] = (in[x] >> 24) ? (in[x] & 0x00FFFFFF) : backPixel;
    }
    image->SetModified(true);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    Draw(canvas, x, y, index, FDrawingStyle, FImageType, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType, bool enabled)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    DoDraw(index, canvas, x, y, style, enabled);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle, bool enabled)
{
    TBitmap* image = FImages[size_t(index)].get();
    std::unique_ptr<TBitmap> grey;
    if (!enabled) {
        // Greyed: the brightness of each pixel, lifted towards the light grey of disabled things.
        grey = std::make_unique<TBitmap>();
        grey->Assign(image);
        for (int row = 0; row < FHeight; ++row) {
            auto* p = static_cast<uint32_t*>(grey->ScanLine(row));
            for (int col = 0; col < FWidth; ++col) {
                if ((p[col] >> 24) == 0)
                    continue;
                const uint32_t r = (p[col] >> 16) & 0xFF;
                const uint32_t g = (p[col] >> 8) & 0xFF;
                const uint32_t b = p[col] & 0xFF;
                const uint32_t lum = (r * 77 + g * 151 + b * 28) >> 8;
                const uint32_t v = 128 + lum / 2;
                p[col] = 0xFF000000u | (v << 16) | (v << 8) | v;
            }
        }
        image = grey.get();
    }
    const BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    AlphaBlend(canvas->Handle(), x, y, FWidth, FHeight, image->Canvas()->Handle(), 0, 0, FWidth, FHeight, blend);
}

void TCustomImageList::Change()
{
    if (OnChange)
        OnChange(this);
}
