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

    // Fixes the output: every frame comes out width x height in the code, whatever size the stream switches to,
    // turned `rotation` degrees clockwise (0, 90, 180 or 270; the size is the turned one).
    TAvStatus Init(int width, int height, TAvColorCode code, int rotation = 0);

    // Converts the frame into the output buffer, which stays valid until the next Convert or Init.
    TAvStatus Convert(const AVFrame* frame);

    uint8_t* Data() { return FBuffer.data(); }
    int64_t Size() const { return int64_t(FBuffer.size()); }
    TAvColorCode Code() const { return FCode; }

private:
    // Turns the frame into FTurned (planar 4:4:4 at the output size), which then goes through the usual path.
    TAvStatus Turn(const AVFrame* frame);

    int FWidth = 0;
    int FHeight = 0;
    TAvColorCode FCode = TAvColorCode::Yuv420;
    int FRotation = 0;
    std::vector<uint8_t> FBuffer;
    TAvSwsContextPtr FScaler;
    // Only for turned frames: the frame as stored, converted to 4:4:4 so that no plane is subsampled on one axis
    // only, and the same turned upright.
    TAvSwsContextPtr FStoredScaler;
    TAvFramePtr FStored;
    TAvFramePtr FTurned;
};
