// Loads arbitrary bytes as a BMP file and as an icon; what loads must save, load back the same, convert and draw.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Fill(TMemoryStream& stream, const uint8_t* data, size_t size)
{
    if (size)
        stream.WriteBuffer(data, static_cast<int32_t>(size));
    stream.SetPosition(0);
}

void CheckBitmap(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    Fill(input, data, size);
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(input);
    } catch (const EInvalidGraphic&) {
        if (!bitmap.Empty())
            std::abort(); // a failed load must leave the (empty) bitmap alone
        return;
    }
    if (input.Position() > input.Size())
        std::abort();
    TMemoryStream saved;
    bitmap.SaveToStream(saved);
    saved.SetPosition(0);
    TBitmap again;
    again.LoadFromStream(saved);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()
        || again.PixelFormat() != bitmap.PixelFormat() || !again.Equals(&bitmap))
        std::abort();
    if (bitmap.Empty() || int64_t(bitmap.Width()) * bitmap.Height() > 1 << 16)
        return;
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(16, 16);
    target.Canvas()->StretchDraw(Rect(0, 0, 16, 16), &bitmap);
    bitmap.SetTransparent(true);
    target.Canvas()->Draw(1, 1, &bitmap);
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetPixelFormat(pf32bit);
}

void CheckIcon(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    Fill(input, data, size);
    TIcon icon;
    try {
        icon.LoadFromStream(input);
    } catch (const EInvalidGraphic&) {
        return;
    }
    TMemoryStream saved;
    icon.SaveToStream(saved);
    saved.SetPosition(0);
    TIcon again;
    again.LoadFromStream(saved);
    if (!again.Equals(&icon))
        std::abort();
    if (int64_t(icon.Width()) * icon.Height() > 1 << 16)
        return;
    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &icon);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckBitmap(data, size);
    CheckIcon(data, size);
    return 0;
}
