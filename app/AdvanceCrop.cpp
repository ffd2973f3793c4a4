#include "app/AdvanceCrop.h"

#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kMaxCropEdit = 10000;

int32_t EditValue(int32_t value) { return std::clamp(value, 0, kMaxCropEdit); }

bool IsContent(TColor32 pixel, TColor32 reference)
{
    using namespace Img32;
    return std::abs(RedComponent(pixel) - RedComponent(reference)) > 20
        || std::abs(GreenComponent(pixel) - GreenComponent(reference)) > 20
        || std::abs(BlueComponent(pixel) - BlueComponent(reference)) > 20;
}

} // namespace

TCropEdges AutoCropEdges(const TBitmap32& frame)
{
    const int32_t width = frame.Width();
    const int32_t height = frame.Height();
    if (width <= 0 || height <= 0)
        return {};
    const TColor32 reference = frame.Pixel(0, 0);

    // One pass over the rows: the first and last content rows, and the leftmost first and rightmost last content
    // columns over all rows.
    int32_t firstRow = -1;
    int32_t lastRow = -1;
    int32_t leftmost = width;
    int32_t rightmost = 0;
    for (int32_t y = 0; y < height; ++y) {
        const TColor32* row = frame.ScanLine(y);
        int32_t first = 0;
        while (first < width && !IsContent(row[first], reference))
            ++first;
        if (first == width)
            continue;
        int32_t last = width - 1;
        while (!IsContent(row[last], reference))
            --last;
        if (firstRow < 0)
            firstRow = y;
        lastRow = y;
        leftmost = std::min(leftmost, first);
        rightmost = std::max(rightmost, last);
    }
    if (firstRow < 0)
        return {};

    TCropEdges crop;
    crop.Top = firstRow;
    crop.Bottom = lastRow > firstRow ? height - lastRow : height - (firstRow + 2);
    crop.Left = leftmost;
    crop.Right = rightmost > leftmost ? width - rightmost : width - (leftmost + 2);
    return { EditValue(crop.Left), EditValue(crop.Right), EditValue(crop.Top), EditValue(crop.Bottom) };
}

TCentredPicture TCentredPicture::In(int32_t imageWidth, int32_t imageHeight, int32_t width, int32_t height)
{
    return { (imageWidth - width) / 2, (imageHeight - height) / 2, width, height };
}

TCropEdges TCentredPicture::CropAtPress(int32_t x, int32_t y, const TCropEdges& crop) const
{
    TCropEdges result = crop;
    if (x < X + Width - crop.Right)
        result.Left = EditValue(x - X);
    else
        result.Right = EditValue(X + Width - x);
    if (y < Y + Height - crop.Bottom)
        result.Top = EditValue(y - Y);
    else
        result.Bottom = EditValue(Y + Height - y);
    return result;
}

TCropEdges TCentredPicture::CropOfDrag(int32_t startX, int32_t startY, int32_t x, int32_t y) const
{
    return { EditValue(std::min(x, startX) - X), EditValue(X + Width - std::max(x, startX)),
        EditValue(std::min(y, startY) - Y), EditValue(Y + Height - std::max(y, startY)) };
}

TCropEdges TCentredPicture::CropAtRelease(const TCropEdges& crop) const
{
    const int32_t left = X + crop.Left;
    const int32_t right = X + Width - crop.Right;
    const int32_t top = Y + crop.Top;
    const int32_t bottom = Y + Height - crop.Bottom;
    return std::abs(left - right) > 1 && std::abs(top - bottom) > 1 ? crop : TCropEdges {};
}

TLetterbox LetterboxOf(int32_t outWidth, int32_t outHeight, int32_t cropWidth, int32_t cropHeight, bool fixAspect)
{
    const TLetterbox whole { 0, 0, outWidth, outHeight };
    if (!fixAspect || outWidth <= 0 || outHeight <= 0 || cropWidth <= 0 || cropHeight <= 0)
        return whole;
    const double outShape = double(outWidth) / outHeight;
    const double cropShape = double(cropWidth) / cropHeight;
    // The left or top bar is the half of the padding brought down to an even number; the other takes the rest.
    if (outShape >= cropShape) {
        const int32_t pad = int32_t(outWidth - outHeight * cropShape);
        const int32_t left = pad / 2 / 2 * 2;
        return { left, 0, outWidth - (pad - left), outHeight };
    }
    const int32_t pad = int32_t(outHeight - outWidth / cropShape);
    const int32_t top = pad / 2 / 2 * 2;
    return { 0, top, outWidth, outHeight - (pad - top) };
}
