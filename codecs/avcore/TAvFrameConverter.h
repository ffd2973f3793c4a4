// TAvFrameConverter: turns decoded video frames into one colour code at one fixed size.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>
#include <vector>

class TAvFrameConverter final {
public:
    TAvFrameConverter();
    ~TAvFrameConverter();

    // Fixes the output: every frame comes out width x height in the code, whatever size the stream switches to.
    TAvStatus Init(int width, int height, TAvColorCode code);

    // Converts the frame into the output buffer, which stays valid until the next Convert or Init.
    TAvStatus Convert(const AVFrame* frame);

    uint8_t* Data() { return FBuffer.data(); }
    int64_t Size() const { return int64_t(FBuffer.size()); }
    TAvColorCode Code() const { return FCode; }

private:
    int FWidth = 0;
    int FHeight = 0;
    TAvColorCode FCode = TAvColorCode::Yuv420;
    std::vector<uint8_t> FBuffer;
    TAvSwsContextPtr FScaler;
};
