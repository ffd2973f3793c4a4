// Reads arbitrary bytes as a slider's stored properties: its user-pictures byte and the pictures themselves. Bytes
// that fail must fail with one of the framework's exceptions; whatever was read, the slider, once loaded, keeps
// four pictures it can lay out with, and its byte names no picture beyond the four.
#include "framework/controls/Forms.h"
#include "framework/core/Exception.h"
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "skin/controls/SkinSlider.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The headless display and the application objects for one input, gone again before the next.
class TDisplay {
public:
    TDisplay()
    {
        FBackend.UseManualClock();
        if (!FBackend.Install())
            std::abort();
        InitializeForms();
    }
    ~TDisplay()
    {
        FinalizeForms();
        FBackend.Uninstall();
    }

private:
    THeadlessBackend FBackend;
};

void ReadSlider(const uint8_t* data, size_t size)
{
    TMemoryStream input;
    if (size)
        input.WriteBuffer(data, static_cast<int32_t>(size));
    input.SetPosition(0);
    TspSkinSlider slider(nullptr);
    slider.SetComponentStateItem(csLoading, true);
    try {
        TReader(input).ReadProperties(slider);
    } catch (const Exception&) {
    }
    slider.Loaded();
    if (slider.UserImages() > 0x0F)
        std::abort();
    // Laid out again at a size of its own, and between values, with whatever pictures it has.
    slider.SetBounds(0, 0, 90, 30);
    slider.SetValue(37);
    slider.SetOrientation(soVertical);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TDisplay display;
    ReadSlider(data, size);
    return 0;
}
