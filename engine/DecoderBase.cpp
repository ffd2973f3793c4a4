#include "engine/DecoderBase.h"

#include <utility>

DecoderBase::DecoderBase(std::string fileName)
    : FileName(std::move(fileName))
{
}

DecoderBase::~DecoderBase() = default;

void DecoderBase::SetCallbacks(
    DecoderBeginCallback onBegin, DecoderVideoCallback onVideo, DecoderAudioCallback onAudio, DecoderEndCallback onEnd)
{
    BeginCallback = onBegin;
    VideoCallback = onVideo;
    AudioCallback = onAudio;
    EndCallback = onEnd;
}

void DecoderBase::SetRange(double startTime, double endTime)
{
    StartTime = startTime;
    EndTime = endTime;
}
