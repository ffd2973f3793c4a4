#include "codecs/braskel/TBraskelFrameScaler.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

uint8_t TBraskelFrameScaler::Init(int32_t outputWidth, int32_t outputHeight, int32_t sourceWidth, int32_t sourceHeight,
    int32_t colorFormat, bool fixAspectRatio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t /*extra1*/, int32_t /*extra2*/, int32_t /*extra3*/, int32_t /*extra4*/)
{
    FHasOutput = false;
    FOutput.clear();
    FWidth = FHeight = 0;
    TAvPictureLayout layout;
    layout.SourceWidth = sourceWidth;
    layout.SourceHeight = sourceHeight;
    // An unknown code is handed on as Yuv420 would be, and fails the source-size check below instead.
    layout.SourceCode = IsAvColorCode(colorFormat) ? TAvColorCode(colorFormat) : TAvColorCode::Yuv420;
    layout.Crop = TAvCrop { cropLeft, cropRight, cropTop, cropBottom };
    layout.OutputWidth = outputWidth;
    layout.OutputHeight = outputHeight;
    layout.OutputPixelFormat = AV_PIX_FMT_YUV420P;
    layout.Fit = fixAspectRatio;
    const int64_t outputSize = AvColorFrameSize(TAvColorCode::Yuv420, outputWidth, outputHeight);
    if (!IsAvColorCode(colorFormat) || outputSize < 0 || FScaler.Init(layout) != TAvStatus::Ok) {
        FScaler.Init(TAvPictureLayout {}); // Forget an earlier Init: Process fails from now on.
        return 1;
    }
    FWidth = outputWidth;
    FHeight = outputHeight;
    FOutput.assign(size_t(outputSize), 0);
    return 0;
}

uint8_t TBraskelFrameScaler::Process(const void* frame)
{
    if (!FScaler.IsReady() || !frame)
        return 0;
    const TAvColorPlanes planes = AvColorPlanes(TAvColorCode::Yuv420, FWidth, FHeight, FOutput.data());
    if (FScaler.Scale(frame, planes.Data, planes.Stride) != TAvStatus::Ok)
        return 0;
    FHasOutput = true;
    return 1;
}

const uint8_t* TBraskelFrameScaler::GetOutput()
{
    return FHasOutput ? FOutput.data() : nullptr;
}
