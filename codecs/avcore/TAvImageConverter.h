// TAvImageConverter: converts whole frame buffers from one colour code to another at the same size.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>

// Rows keep the picture's orientation: a top-down planar source gives a bottom-up packed output whose last row
// is the picture's top row, and two bottom-up codes keep their row order.
class TAvImageConverter final {
public:
    TAvImageConverter();
    ~TAvImageConverter();

    TAvStatus Init(int width, int height, TAvColorCode source, TAvColorCode target);
    bool IsReady() const { return FOutputSize > 0; }
    int64_t InputSize() const { return FInputSize; }
    int64_t OutputSize() const { return FOutputSize; }

    // Reads InputSize() bytes at `source` and writes OutputSize() bytes at `target`.
    TAvStatus Convert(const void* source, void* target);

private:
    int FWidth = 0;
    int FHeight = 0;
    TAvColorCode FSource = TAvColorCode::Yuv420;
    TAvColorCode FTarget = TAvColorCode::Yuv420;
    int64_t FInputSize = 0;
    int64_t FOutputSize = 0;
    TAvSwsContextPtr FScaler;
};
