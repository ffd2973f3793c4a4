// Reads arbitrary bytes as a persistent's stored properties, into a 32-bit bitmap (whose "Data" property
// is the one it knows). Bytes that read must store back to the same bytes; bytes that fail must fail with
// a read error and leave the bitmap as it was.
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "imaging/TBitmap32.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size)
        input.WriteBuffer(data, static_cast<int32_t>(size));
    input.SetPosition(0);
    TBitmap32 bitmap;
    bitmap.SetSize(2, 3);
    bitmap.Clear(0x12345678);
    TBitmap32 before;
    before.Assign(&bitmap);
    try {
        TReader(input).ReadProperties(bitmap);
    } catch (const EReadError&) {
        if (!bitmap.Equal(&before))
            std::abort();
        return 0;
    }
    // Stored again, pixels that were read (more than the closing byte was used) give back the same bytes.
    const size_t used = size_t(input.Position());
    if (used <= 1 || bitmap.Empty())
        return 0;
    TMemoryStream written;
    TWriter(written).WriteProperties(bitmap);
    if (size_t(written.Size()) != used || std::memcmp(written.Memory(), data, used) != 0)
        std::abort();
    written.SetPosition(0);
    TBitmap32 again;
    TReader(written).ReadProperties(again);
    if (!again.Equal(&bitmap))
        std::abort();
    return 0;
}
