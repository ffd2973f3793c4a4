// Loads arbitrary bytes as an icon file; what loads must save, load back the same and draw. A failed load must leave
// the icon empty and the stream where it was.
#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size)
        input.WriteBuffer(data, static_cast<int32_t>(size));
    input.SetPosition(0);
    TIcon icon;
    // The last byte asks for an entry of that size (0: none), so the fuzzer reaches the search by size as well as
    // the first-entry fallback.
    if (size && data[size - 1]) {
        icon.SetWidth(data[size - 1]);
        icon.SetHeight(data[size - 1]);
    }
    try {
        icon.LoadFromStream(input);
    } catch (const EInvalidGraphic&) {
        if (!icon.Empty() || input.Position() != 0)
            std::abort();
        return 0;
    }
    if (input.Position() > input.Size())
        std::abort();
    TMemoryStream saved;
    icon.SaveToStream(saved);
    saved.SetPosition(0);
    TIcon again;
    again.LoadFromStream(saved);
    if (!again.Equals(&icon))
        std::abort();
    if (int64_t(icon.Width()) * icon.Height() > 1 << 16)
        return 0;
    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &icon);
    return 0;
}
