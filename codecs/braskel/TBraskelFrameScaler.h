// TBraskelFrameScaler: the library's frame scaler over the shared picture scaler.
#pragma once
#include "codecs/avcore/TAvPictureScaler.h"
#include "codecs/braskel/Braskel.h"

#include <cstdint>
#include <vector>

class TBraskelFrameScaler final : public FrameScaler {
    using inherited = FrameScaler;

public:
    uint8_t Init(int32_t outputWidth, int32_t outputHeight, int32_t sourceWidth, int32_t sourceHeight,
        int32_t colorFormat, bool fixAspectRatio, int32_t cropLeft, int32_t cropRight, int32_t cropTop,
        int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) override;
    uint8_t Process(const void* frame) override;
    const uint8_t* GetOutput() override;

private:
    TAvPictureScaler FScaler;
    int FWidth = 0;
    int FHeight = 0;
    std::vector<uint8_t> FOutput;
    bool FHasOutput = false;
};
