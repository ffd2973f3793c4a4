// Reads arbitrary bytes as a PNG image list's stored properties. Bytes that fail must fail with one of the
// framework's exceptions (a read error, or the PNG codec's own) and leave the list's pictures as they were; bytes
// that read must keep one placeholder per picture.
#include "framework/core/Exception.h"
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "imaging/TPNGObject.h"
#include "skin/dialogs/TspPNGImageList.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size)
        input.WriteBuffer(data, static_cast<int32_t>(size));
    input.SetPosition(0);
    TspPNGImageList list(nullptr);
    list.PngImages()->Add();
    list.SetComponentStateItem(csLoading, true);
    try {
        TReader(input).ReadProperties(list);
    } catch (const Exception&) {
        if (list.PngImages()->Count() != list.Count())
            std::abort();
        return 0;
    }
    if (list.PngImages()->Count() != list.Count())
        std::abort();
    return 0;
}
