// Loads arbitrary bytes as a JPEG file and decodes them in every output form; errors must arrive as EJPEG.
#include "framework/core/Streams.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TJPEGImage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size)
        input.WriteBuffer(data, static_cast<int32_t>(size));
    input.SetPosition(0);
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromStream(input);
    } catch (const EJPEG&) {
        return 0;
    }
    // The last byte picks the decoding settings, so the fuzzer reaches scaling, greyscale and quantizing. (The
    // first byte of every loadable file is the 0xFF of its start marker; the last one is free to vary, as libjpeg
    // stops reading at the end marker.)
    const uint8_t choice = size ? data[size - 1] : 0;
    jpeg.SetScale(static_cast<TJPEGScale>(choice & 3));
    jpeg.SetGrayscale((choice & 4) != 0);
    jpeg.SetPixelFormat((choice & 8) ? jf8Bit : jf24Bit);
    jpeg.SetPerformance((choice & 16) ? jpBestSpeed : jpBestQuality);
    try {
        jpeg.DIBNeeded();
    } catch (const EJPEG&) {
        return 0;
    }
    TBitmap* bitmap = jpeg.Bitmap();
    if (jpeg.Empty() || bitmap->Width() != jpeg.Width() || bitmap->Height() != jpeg.Height())
        std::abort();
    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &jpeg);
    return 0;
}
