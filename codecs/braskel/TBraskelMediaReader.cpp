#include "codecs/braskel/TBraskelMediaReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kSuccess = 0;
constexpr uint8_t kFailure = 1;

uint8_t Result(TAvStatus status)
{
    return status == TAvStatus::Ok ? kSuccess : kFailure;
}

void CopyName(char (&target)[32], const std::string& name)
{
    const size_t length = std::min(name.size(), sizeof(target) - 1);
    std::memcpy(target, name.data(), length);
    target[length] = 0;
}

} // namespace

TBraskelMediaReader::TBraskelMediaReader(std::string fileName)
    : FFileName(std::move(fileName))
{
}

TBraskelMediaReader::~TBraskelMediaReader()
{
    // The callbacks read this object's fields: end the decoding before any of them is destroyed.
    FEngine.Stop();
}

uint8_t TBraskelMediaReader::Open(MediaReaderOpenParams* params)
{
    FOpened = false;
    if (!params)
        return kFailure;
    FColorFormat = params->ColorFormat;
    FBegin = params->Begin;
    FVideo = params->Video;
    FAudio = params->Audio;
    FEnd = params->End;
    if (!IsAvColorCode(FColorFormat)) {
        FEngine.Stop();
        return kFailure;
    }
    FOpened = FEngine.Open(FFileName) == TAvStatus::Ok;
    return FOpened ? kSuccess : kFailure;
}

uint8_t TBraskelMediaReader::Prepare()
{
    return FOpened ? Result(FEngine.Prepare()) : kFailure;
}

uint8_t TBraskelMediaReader::Unused2()
{
    return kFailure;
}

uint8_t TBraskelMediaReader::SetRange(double startTime, double endTime)
{
    FEngine.SetRange(startTime, endTime);
    return kSuccess;
}

uint8_t TBraskelMediaReader::Unnamed4(int32_t, int32_t)
{
    return kSuccess;
}

void TBraskelMediaReader::FillInfo(MediaReaderInfo& info, int32_t colorFormat) const
{
    std::memset(&info, 0, sizeof(info));
    info.ColorFormat = uint8_t(colorFormat);
    info.Opened = FOpened ? 1 : 0;
    if (!FOpened)
        return;
    info.Duration = FEngine.Duration();
    for (const TAvStreamInfo& stream : FEngine.Streams()) {
        if (stream.Kind == TAvMediaKind::Video && info.VideoStreamCount < 16) {
            MediaReaderVideoStream& record = info.VideoStreams[info.VideoStreamCount++];
            CopyName(record.CodecName, stream.CodecName);
            record.Width = stream.Width;
            record.Height = stream.Height;
            record.AspectX = stream.AspectX;
            record.AspectY = stream.AspectY;
            record.FrameRate = stream.FrameRate;
        } else if (stream.Kind == TAvMediaKind::Audio && info.AudioStreamCount < 16) {
            MediaReaderAudioStream& record = info.AudioStreams[info.AudioStreamCount++];
            CopyName(record.CodecName, stream.CodecName);
            record.SampleRate = stream.SampleRate;
            record.Channels = stream.Channels;
        }
    }
    info.HasVideo = info.VideoStreamCount > 0 ? 1 : 0;
    info.HasAudio = info.AudioStreamCount > 0 ? 1 : 0;
}

uint8_t TBraskelMediaReader::GetInfo(MediaReaderInfo* info)
{
    if (!info)
        return kFailure;
    FillInfo(*info, FColorFormat);
    return kSuccess;
}

uint8_t TBraskelMediaReader::SetVideoStream(int32_t index)
{
    return FOpened ? Result(FEngine.SetVideoStream(index)) : kFailure;
}

uint8_t TBraskelMediaReader::SetAudioStream(int32_t index)
{
    return FOpened ? Result(FEngine.SetAudioStream(index)) : kFailure;
}

uint8_t TBraskelMediaReader::Run()
{
    if (!FOpened)
        return kFailure;
    return Result(FEngine.Run(*this, TAvColorCode(FColorFormat)));
}

uint8_t TBraskelMediaReader::Pause()
{
    return Result(FEngine.Pause());
}

uint8_t TBraskelMediaReader::Stop()
{
    return Result(FEngine.Stop());
}

uint8_t TBraskelMediaReader::Play(uintptr_t)
{
    // Frames go to the video callback; the window is the caller's business.
    if (!FOpened)
        return kFailure;
    return Result(FEngine.Play(*this, TAvColorCode::Rgb565));
}

uint8_t TBraskelMediaReader::Resume()
{
    return Result(FEngine.Resume());
}

uint8_t TBraskelMediaReader::GetPosition(double* position)
{
    if (!position || !FOpened)
        return kFailure;
    *position = FEngine.Position();
    return kSuccess;
}

uint8_t TBraskelMediaReader::Seek(double position)
{
    return FOpened ? Result(FEngine.Seek(position)) : kFailure;
}

int32_t TBraskelMediaReader::GetState()
{
    return int32_t(FEngine.State());
}

bool TBraskelMediaReader::Begin(TAvColorCode code) noexcept
{
    FillInfo(FBeginInfo, int32_t(code));
    if (!FBegin)
        return true;
    try {
        return FBegin(&FBeginInfo);
    } catch (...) {
        return false;
    }
}

bool TBraskelMediaReader::Video(double start, double end, uint8_t* frame) noexcept
{
    if (!FVideo)
        return true;
    try {
        return FVideo(start, end, frame);
    } catch (...) {
        return false;
    }
}

bool TBraskelMediaReader::Audio(double start, double end, uint8_t* samples, int32_t bytes) noexcept
{
    if (!FAudio)
        return true;
    try {
        return FAudio(start, end, samples, bytes);
    } catch (...) {
        return false;
    }
}

bool TBraskelMediaReader::End() noexcept
{
    if (!FEnd)
        return true;
    try {
        return FEnd();
    } catch (...) {
        return false;
    }
}
