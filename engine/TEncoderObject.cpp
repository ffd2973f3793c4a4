#include "engine/TEncoderObject.h"

#include <utility>

TEncoderObject::TEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat,
    double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio, bool disableAudio,
    int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2,
    int32_t extra3, int32_t extra4)
    : OutputPath(std::move(outputPath))
    , SourceWidth(sourceWidth)
    , SourceHeight(sourceHeight)
    , ColorFormat(colorFormat)
    , SourceFrameRate(sourceFrameRate)
    , SampleRate(sampleRate)
    , Channels(channels)
    , FixAspectRatio(fixAspectRatio)
    , DisableAudio(disableAudio)
    , Crop { cropLeft, cropTop, cropRight, cropBottom }
    // The second and third change places here, and the library receives them in the stored order.
    , Extra1(extra1)
    , Extra2(extra3)
    , Extra3(extra2)
    , Extra4(extra4)
{
}

TEncoderObject::~TEncoderObject() = default;
