#include "codecs/quentim/TQuentimGraph.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The graph whose callback the current thread is running, if any.
thread_local const TQuentimGraph* tCallingBack = nullptr;

// Marks the current thread as inside a callback of `graph` for the scope's lifetime.
struct TCallbackScope {
    explicit TCallbackScope(const TQuentimGraph* graph) { tCallingBack = graph; }
    ~TCallbackScope() { tCallingBack = nullptr; }
};

// The FFmpeg index of the stream that the engine's choice `number` among the streams of `kind` names.
int StreamIndexOf(const std::vector<TAvStreamInfo>& streams, TAvMediaKind kind, int number)
{
    for (const TAvStreamInfo& stream : streams) {
        if (stream.Kind != kind)
            continue;
        if (number-- == 0)
            return stream.Index;
    }
    return -1;
}

const TAvStreamInfo* StreamAt(const std::vector<TAvStreamInfo>& streams, int index)
{
    for (const TAvStreamInfo& stream : streams) {
        if (stream.Index == index)
            return &stream;
    }
    return nullptr;
}

} // namespace

TQuentimGraph::~TQuentimGraph()
{
    // The callbacks read this object's fields: end the decoding before any of them is destroyed.
    FEngine.Stop();
}

void TQuentimGraph::SetRange(double startTime, double endTime)
{
    FRangeStart = startTime;
    FRangeEnd = endTime;
    if (FOpened)
        FEngine.SetRange(startTime, endTime);
}

bool TQuentimGraph::Open(const QuentimOpenParams& params)
{
    // Opening again ends whatever ran; the engine's Open stops it before the callbacks change.
    FEngine.Stop();
    FOpened = false;
    FVideoStream = FAudioStream = -1;
    if (!IsAvColorCode(params.ColorFormat))
        return false;
    FColorFormat = params.ColorFormat;
    FRealTime = params.RealTime != 0;
    FWithAudio = params.WithAudio != 0 && !FRealTime;
    const bool withCallbacks = params.WithCallbacks != 0;
    FBegin = withCallbacks ? params.Begin : nullptr;
    FVideo = withCallbacks ? params.Video : nullptr;
    FAudio = withCallbacks ? params.Audio : nullptr;
    FEnd = withCallbacks ? params.End : nullptr;
    if (FEngine.Open(params.FileName ? params.FileName : "") != TAvStatus::Ok)
        return false;
    // A player picks the file's default streams and offers no choice.
    if (FEngine.VideoStreamCount() > 0) {
        const int number = FEngine.DefaultStreamNumber(TAvMediaKind::Video);
        FEngine.SetVideoStream(number);
        FVideoStream = StreamIndexOf(FEngine.Streams(), TAvMediaKind::Video, number);
    }
    if (FEngine.AudioStreamCount() > 0) {
        const int number = FEngine.DefaultStreamNumber(TAvMediaKind::Audio);
        FEngine.SetAudioStream(number);
        FAudioStream = StreamIndexOf(FEngine.Streams(), TAvMediaKind::Audio, number);
    }
    FEngine.SetRange(FRangeStart, FRangeEnd);
    FOpened = true;
    return true;
}

void TQuentimGraph::FillInfo(QuentimInfo& info, bool forBegin) const
{
    std::memset(&info, 0, sizeof(info));
    if (!FOpened)
        return;
    info.Opened = 1;
    info.Duration = FEngine.Duration();
    info.ColorFormat = uint8_t(FColorFormat);
    info.BitsPerSample = 16;
    const std::vector<TAvStreamInfo>& streams = FEngine.Streams();
    if (const TAvStreamInfo* video = StreamAt(streams, FVideoStream)) {
        info.HasVideo = 1;
        info.Width = video->Width;
        info.Height = video->Height;
        info.FrameRate = video->FrameRate;
    }
    if (const TAvStreamInfo* audio = StreamAt(streams, FAudioStream)) {
        info.HasAudio = 1;
        info.SampleRate = audio->SampleRate;
        info.Channels = forBegin ? std::min(audio->Channels, 2) : audio->Channels;
    }
}

void TQuentimGraph::GetInfo(QuentimInfo& info) const
{
    FillInfo(info, false);
}

bool TQuentimGraph::Run()
{
    if (!FOpened)
        return false;
    const TAvColorCode code = TAvColorCode(FColorFormat);
    const TAvStatus status = FRealTime ? FEngine.Play(*this, code) : FEngine.RunOnThread(*this, code);
    return status == TAvStatus::Ok;
}

bool TQuentimGraph::Pause()
{
    return FOpened && FEngine.Pause() == TAvStatus::Ok;
}

void TQuentimGraph::Stop()
{
    FEngine.Stop();
}

bool TQuentimGraph::GetPosition(double* position) const
{
    if (!FOpened || !position)
        return false;
    *position = FEngine.Position();
    return true;
}

bool TQuentimGraph::Seek(double position)
{
    return FOpened && FEngine.Seek(position) == TAvStatus::Ok;
}

bool TQuentimGraph::InsideCallback() const
{
    return tCallingBack == this;
}

int32_t TQuentimGraph::GetState() const
{
    switch (FEngine.State()) {
    case TAvEngineState::Running:
    case TAvEngineState::Playing:
        return kQuentimRunning;
    case TAvEngineState::Paused:
        return kQuentimPaused;
    case TAvEngineState::Stopped:
        break;
    }
    return kQuentimStopped;
}

bool TQuentimGraph::Begin(TAvColorCode) noexcept
{
    FillInfo(FBeginInfo, true);
    if (!FBegin)
        return true;
    try {
        const TCallbackScope scope(this);
        return FBegin(&FBeginInfo);
    } catch (...) {
        return false;
    }
}

bool TQuentimGraph::Video(double start, double end, uint8_t* frame) noexcept
{
    if (!FVideo)
        return true;
    try {
        const TCallbackScope scope(this);
        return FVideo(start, end, frame);
    } catch (...) {
        return false;
    }
}

bool TQuentimGraph::Audio(double start, double end, uint8_t* samples, int32_t bytes) noexcept
{
    if (!FAudio || !FWithAudio)
        return true;
    try {
        const TCallbackScope scope(this);
        return FAudio(start, end, samples, bytes);
    } catch (...) {
        return false;
    }
}

bool TQuentimGraph::End() noexcept
{
    if (!FEnd)
        return true;
    try {
        const TCallbackScope scope(this);
        return FEnd();
    } catch (...) {
        return false;
    }
}
