// Reads arbitrary bytes as a 32-bit bitmap's stored "Data" (width, height, then the pixels). Data that reads must
// write back to the same bytes; data that fails must fail with a read error and leave the bitmap as it was.
#include "framework/core/Streams.h"
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
        bitmap.ReadData(input);
    } catch (const EReadError&) {
        if (!bitmap.Equal(&before))
            std::abort();
        return 0;
    }
    TMemoryStream written;
    bitmap.WriteData(written);
    // Negative sizes read as empty, so only data with non-negative sizes comes back byte for byte.
    int32_t sizes[2] {};
    std::memcpy(sizes, data, sizeof(sizes));
    const size_t used = size_t(input.Position());
    if (sizes[0] > 0 && sizes[1] > 0
        && (size_t(written.Size()) != used || std::memcmp(written.Memory(), data, used) != 0))
        std::abort();
    written.SetPosition(0);
    TBitmap32 again;
    again.ReadData(written);
    if (!again.Equal(&bitmap))
        std::abort();
    return 0;
}
