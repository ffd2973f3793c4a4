// Loads arbitrary bytes as a BMP file; what loads must save, load back the same, convert and draw.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/LittleEndian.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Fill(TMemoryStream& stream, const uint8_t* data, size_t size)
{
    if (size)
        stream.WriteBuffer(data, static_cast<int32_t>(size));
    stream.SetPosition(0);
}

// Files whose header asks for more pixels than this are skipped. A few bytes of run-length codes may declare an
// image of 60 million pixels, a legitimate allocation that the save-and-reload check then copies several times:
// a second a run, spent on memory rather than on the parser.
constexpr int64_t MaxPixels = int64_t(1) << 20;

bool TooLarge(const uint8_t* data, size_t size)
{
    if (size < 26 || data[0] != 'B' || data[1] != 'M')
        return false;
    int64_t width, height;
    if (U32(data + 14) == 12) {
        width = U16(data + 18);
        height = U16(data + 20);
    } else {
        width = std::abs(int64_t(int32_t(U32(data + 18))));
        height = std::abs(int64_t(int32_t(U32(data + 22))));
    }
    return width * height > MaxPixels;
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!TooLarge(data, size))
        CheckBitmap(data, size);
    return 0;
}
