#include "codecs/avcore/TAvImageConverter.h"

#include <cstring>

extern "C" {
#include <libswscale/swscale.h>
}

TAvImageConverter::TAvImageConverter() = default;
TAvImageConverter::~TAvImageConverter() = default;

TAvStatus TAvImageConverter::Init(int width, int height, TAvColorCode source, TAvColorCode target)
{
    FScaler.reset();
    FInputSize = FOutputSize = 0;
    const int64_t inputSize = AvColorFrameSize(source, width, height);
    const int64_t outputSize = AvColorFrameSize(target, width, height);
    if (inputSize < 0 || outputSize < 0)
        return TAvStatus::InvalidArgument;
    if (source != target) {
        // Full chroma interpolation and accurate rounding: these frames are looked at, not encoded.
        FScaler.reset(sws_getContext(width, height, AVPixelFormat(AvColorPixelFormat(source)), width, height,
            AVPixelFormat(AvColorPixelFormat(target)), SWS_BILINEAR | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
            nullptr, nullptr));
        if (!FScaler)
            return TAvStatus::Unsupported;
    }
    FWidth = width;
    FHeight = height;
    FSource = source;
    FTarget = target;
    FInputSize = inputSize;
    FOutputSize = outputSize;
    return TAvStatus::Ok;
}

TAvStatus TAvImageConverter::Convert(const void* source, void* target)
{
    if (!IsReady())
        return TAvStatus::InvalidState;
    if (!source || !target)
        return TAvStatus::InvalidArgument;
    if (FSource == FTarget) {
        std::memcpy(target, source, size_t(FOutputSize));
        return TAvStatus::Ok;
    }
    // swscale only reads the source planes; the pointer type is its own.
    const TAvColorPlanes in = AvColorPlanes(FSource, FWidth, FHeight, static_cast<uint8_t*>(const_cast<void*>(source)));
    const TAvColorPlanes out = AvColorPlanes(FTarget, FWidth, FHeight, static_cast<uint8_t*>(target));
    const int rows = sws_scale(FScaler.get(), in.Data, in.Stride, 0, FHeight, out.Data, out.Stride);
    return rows == FHeight ? TAvStatus::Ok : TAvStatus::Unsupported;
}
