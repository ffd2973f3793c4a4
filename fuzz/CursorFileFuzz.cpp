// Reads arbitrary bytes as a cursor, icon or animated cursor file; what reads must be a consistent image that
// makes a cursor handle.
#include "platform/win/Cursors.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCursorImage image;
    std::string error;
    if (!ParseCursorFile(data, size, image, error)) {
        if (error.empty())
            std::abort(); // every failure says why
        return 0;
    }
    if (!image.IsValid() || image.HotSpot.x < 0 || image.HotSpot.x >= image.Width || image.HotSpot.y < 0
        || image.HotSpot.y >= image.Height)
        std::abort();
    HICON icon = CreateIconFromImage(image);
    if (!icon || !DestroyIcon(icon))
        std::abort();
    return 0;
}
