#include "framework/graphics/TIcon.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/LittleEndian.h"
#include "framework/graphics/TBitmapImage.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/Raster.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr const char* kInvalidIcon = "Icon image is not valid";
// No icon file needs more; the rest of a bigger stream is not read.
constexpr int64_t kMaxIconFileBytes = int64_t(64) << 20;

bool HasAlpha(const TBitmapImage& image)
{
    if (image.BitCount != 32)
        return false;
    for (int y = 0; y < image.Height; ++y) {
        const uint8_t* row = image.Row(y);
        for (int x = 0; x < image.Width; ++x) {
            if (row[x * 4 + 3])
                return true;
        }
    }
    return false;
}

} // namespace

// An icon's pixels: the colour image and the AND mask (1 where the background shows), both top row first.
struct TIconImage {
    std::unique_ptr<TBitmapImage> Color;
    std::unique_ptr<TBitmapImage> Mask;
};

namespace {

// The icon of one ICO directory entry, or null when the entry is stored as PNG.
std::unique_ptr<TIconImage> ReadIconEntry(const uint8_t* data, size_t size)
{
    static constexpr uint8_t kPngSignature[] = { 0x89, 'P', 'N', 'G' };
    if (size >= 4 && std::memcmp(data, kPngSignature, 4) == 0)
        return nullptr;
    size_t end = 0;
    auto icon = std::make_unique<TIconImage>();
    icon->Color = ReadDib(data, size, 0, true, kInvalidIcon, end);
    const int width = icon->Color->Width;
    const int height = icon->Color->Height;
    icon->Mask = TBitmapImage::Create(width, height, 1, { 0x000000, 0xFFFFFF });
    const size_t stride = icon->Mask->Stride;
    if ((size - end) / stride >= static_cast<size_t>(height)) {
        for (int r = 0; r < height; ++r)
            std::memcpy(icon->Mask->Row(height - 1 - r), data + end + stride * static_cast<size_t>(r), stride);
    } else if (icon->Color->BitCount != 32) {
        // Only icons with an alpha channel may leave the mask out.
        throw EInvalidGraphic(kInvalidIcon);
    }
    return icon;
}

} // namespace

TIcon::TIcon()
{
    FTransparent = true;
}

TIcon::~TIcon()
{
    FreeHandle();
}

void TIcon::FreeHandle()
{
    if (FHandle)
        DestroyIcon(FHandle);
    FHandle = nullptr;
}

HICON TIcon::Handle()
{
    if (!FHandle && FImage) {
        ICONINFO info { TRUE, 0, 0, FImage->Mask->Handle, FImage->Color->Handle };
        FHandle = CreateIconIndirect(&info);
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
    }
    return FHandle;
}

HICON TIcon::ReleaseHandle()
{
    Handle();
    return std::exchange(FHandle, nullptr);
}

void TIcon::SetHandle(HICON value)
{
    if (value == FHandle)
        return;
    std::unique_ptr<TIconImage> image;
    if (value) {
        ICONINFO info {};
        if (!GetIconInfo(value, &info))
            throw EInvalidGraphic(kInvalidIcon);
        image = std::make_unique<TIconImage>();
        std::unique_ptr<TBitmapImage> mask = TBitmapImage::Adopt(info.hbmMask);
        if (info.hbmColor) {
            image->Color = TBitmapImage::Adopt(info.hbmColor);
            image->Mask = std::move(mask);
        } else {
            // A monochrome cursor: the AND plane above the XOR plane in one bitmap.
            const int width = mask->Width;
            const int height = mask->Height / 2;
            image->Mask = TBitmapImage::Create(width, height, 1, { 0x000000, 0xFFFFFF });
            image->Color = TBitmapImage::Create(width, height, 1, { 0x000000, 0xFFFFFF });
            const TSurface planes = mask->Surface();
            TSurface andPlane = image->Mask->Surface();
            TSurface xorPlane = image->Color->Surface();
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    andPlane.SetPixel(x, y, planes.Pixel(x, y));
                    xorPlane.SetPixel(x, y, planes.Pixel(x, y + height));
                }
        }
    }
    FreeHandle();
    FImage = std::move(image);
    FHandle = value;
    Changed(this);
}

std::unique_ptr<TGraphic> TIcon::CreateNew() const
{
    return std::make_unique<TIcon>();
}

void TIcon::Assign(TPersistent* source)
{
    if (!source) {
        FreeHandle();
        FImage.reset();
        Changed(this);
        return;
    }
    auto* icon = dynamic_cast<TIcon*>(source);
    if (!icon) {
        inherited::Assign(source);
        return;
    }
    if (icon == this)
        return;
    std::unique_ptr<TIconImage> image;
    if (icon->FImage) {
        image = std::make_unique<TIconImage>();
        image->Color = icon->FImage->Color->Clone();
        image->Mask = icon->FImage->Mask->Clone();
    }
    FreeHandle();
    FImage = std::move(image);
    FRequestedWidth = icon->FRequestedWidth;
    FRequestedHeight = icon->FRequestedHeight;
    Changed(this);
}

void TIcon::SetWidth(int value)
{
    if (!Empty())
        throw EInvalidGraphicOperation("Cannot change the size of an icon");
    FRequestedWidth = value;
}

void TIcon::SetHeight(int value)
{
    if (!Empty())
        throw EInvalidGraphicOperation("Cannot change the size of an icon");
    FRequestedHeight = value;
}

bool TIcon::GetEmpty() const
{
    return !FImage;
}

int TIcon::GetWidth() const
{
    return FImage ? FImage->Color->Width : FRequestedWidth;
}

int TIcon::GetHeight() const
{
    return FImage ? FImage->Color->Height : FRequestedHeight;
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!canvas || !FImage)
        return;
    HDC dest = canvas->Handle();
    const TBitmapImage& color = *FImage->Color;
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    HDC sourceDC = CreateCompatibleDC(nullptr);
    if (!sourceDC)
        throw EOutOfResources("Out of system resources");
    if (HasAlpha(color)) {
        // Alpha icons blend; AlphaBlend wants the colours multiplied by alpha.
        std::unique_ptr<TBitmapImage> premultiplied = color.Clone();
        for (int y = 0; y < premultiplied->Height; ++y) {
            uint8_t* row = premultiplied->Row(y);
            for (int x = 0; x < premultiplied->Width; ++x) {
                uint8_t* p = row + x * 4;
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>((p[c] * p[3] + 127) / 255);
            }
        }
        HGDIOBJ old = SelectObject(sourceDC, premultiplied->Handle);
        BLENDFUNCTION blend { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
        AlphaBlend(dest, rect.Left, rect.Top, width, height, sourceDC, 0, 0, color.Width, color.Height, blend);
        SelectObject(sourceDC, old);
    } else {
        // The classic way: clear the opaque pixels with the mask, then put the colour in with XOR.
        HGDIOBJ old = SelectObject(sourceDC, FImage->Mask->Handle);
        StretchBlt(dest, rect.Left, rect.Top, width, height, sourceDC, 0, 0, color.Width, color.Height, SRCAND);
        SelectObject(sourceDC, color.Handle);
        StretchBlt(dest, rect.Left, rect.Top, width, height, sourceDC, 0, 0, color.Width, color.Height, SRCINVERT);
        SelectObject(sourceDC, old);
    }
    DeleteDC(sourceDC);
}

void TIcon::LoadFromStream(TStream& stream)
{
    int64_t start = stream.Position();
    int64_t remaining = stream.Size() - start;
    if (remaining < 6)
        throw EInvalidGraphic(kInvalidIcon);
    std::vector<uint8_t> data(static_cast<size_t>(std::min(remaining, kMaxIconFileBytes)));
    stream.ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    const size_t size = data.size();
    const uint16_t type = U16(data.data() + 2);
    const size_t count = U16(data.data() + 4);
    if (U16(data.data()) != 0 || (type != 1 && type != 2) || count == 0 || 6 + count * 16 > size) {
        stream.SetPosition(start);
        throw EInvalidGraphic(kInvalidIcon);
    }
    // The entry of the size asked for, else the first one that is not PNG.
    std::unique_ptr<TIconImage> chosen;
    size_t used = 6 + count * 16;
    for (int pass = 0; pass < 2 && !chosen; ++pass) {
        for (size_t i = 0; i < count && !chosen; ++i) {
            const uint8_t* entry = data.data() + 6 + i * 16;
            const int entryWidth = entry[0] ? entry[0] : 256;
            const int entryHeight = entry[1] ? entry[1] : 256;
            if (pass == 0
                && (FRequestedWidth <= 0 || FRequestedHeight <= 0 || entryWidth != FRequestedWidth
                    || entryHeight != FRequestedHeight))
                continue;
            const uint32_t bytes = U32(entry + 8);
            const uint32_t offset = U32(entry + 12);
            if (offset > size || bytes > size - offset) {
                stream.SetPosition(start);
                throw EInvalidGraphic(kInvalidIcon);
            }
            try {
                chosen = ReadIconEntry(data.data() + offset, bytes);
            } catch (...) {
                stream.SetPosition(start);
                throw;
            }
            used = std::max<size_t>(used, size_t(offset) + bytes);
        }
    }
    if (!chosen) {
        stream.SetPosition(start);
        throw EInvalidGraphic(kInvalidIcon);
    }
    stream.SetPosition(start + static_cast<int64_t>(used));
    FreeHandle();
    FImage = std::move(chosen);
    Changed(this);
}

void TIcon::SaveToStream(TStream& stream)
{
    if (!FImage)
        return;
    const TBitmapImage& color = *FImage->Color;
    const TBitmapImage& mask = *FImage->Mask;
    // The DIB header of an icon counts the colour and the mask rows together.
    std::vector<uint8_t> info = DibInfo(color);
    const uint32_t doubled = static_cast<uint32_t>(color.Height * 2);
    const uint32_t imageBytes = static_cast<uint32_t>(color.Stride * color.Height + mask.Stride * mask.Height);
    for (int i = 0; i < 4; ++i) {
        info[8 + i] = static_cast<uint8_t>(doubled >> (8 * i));
        info[20 + i] = static_cast<uint8_t>(imageBytes >> (8 * i));
    }
    std::vector<uint8_t> header;
    PutU16(header, 0);
    PutU16(header, 1);
    PutU16(header, 1);
    header.push_back(static_cast<uint8_t>(color.Width >= 256 ? 0 : color.Width));
    header.push_back(static_cast<uint8_t>(color.Height >= 256 ? 0 : color.Height));
    header.push_back(static_cast<uint8_t>(color.BitCount < 8 ? (1 << color.BitCount) : 0));
    header.push_back(0);
    PutU16(header, 1);
    PutU16(header, static_cast<uint32_t>(color.BitCount));
    PutU32(header, static_cast<uint32_t>(info.size()) + imageBytes);
    PutU32(header, 6 + 16);
    stream.WriteBuffer(header.data(), static_cast<int32_t>(header.size()));
    stream.WriteBuffer(info.data(), static_cast<int32_t>(info.size()));
    for (int y = color.Height - 1; y >= 0; --y)
        stream.WriteBuffer(color.Row(y), static_cast<int32_t>(color.Stride));
    for (int y = mask.Height - 1; y >= 0; --y)
        stream.WriteBuffer(mask.Row(y), static_cast<int32_t>(mask.Stride));
}
