// The control side of the decode engine: opening, stream choice, preparing, and the calls that steer the loop.
#include "codecs/avcore/TAvDecodeEngine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <system_error>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
}

namespace {

std::atomic<double> gPreviewPaceRate { 1.0 };

class TSteadyPaceClock final : public TAvPaceClock {
public:
    double Now() override
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    bool WaitUntil(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, double due,
        const std::function<bool()>& interrupted) override
    {
        using namespace std::chrono;
        const steady_clock::time_point until(duration_cast<steady_clock::duration>(duration<double>(due)));
        return changed.wait_until(lock, until, interrupted);
    }
};

TSteadyPaceClock gSteadyPaceClock;
std::atomic<TAvPaceClock*> gPaceClock { &gSteadyPaceClock };

// FFmpeg's informational chatter would flood the log of a batch; its errors are still shown.
void QuietFFmpegLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

} // namespace

void TAvDecodeEngine::SetPreviewPaceRate(double rate)
{
    gPreviewPaceRate = rate > 0.0 ? rate : 1.0;
}

double TAvDecodeEngine::PreviewPaceRate()
{
    return gPreviewPaceRate;
}

void TAvDecodeEngine::SetPaceClock(TAvPaceClock* clock)
{
    gPaceClock = clock ? clock : &gSteadyPaceClock;
}

TAvPaceClock& TAvDecodeEngine::PaceClock()
{
    return *gPaceClock;
}

TAvDecodeEngine::TAvDecodeEngine()
    : FPacket(av_packet_alloc())
    , FFrame(av_frame_alloc())
{
    QuietFFmpegLog();
}

TAvDecodeEngine::~TAvDecodeEngine()
{
    Stop();
}

void TAvDecodeEngine::SetError(const std::string& text)
{
    std::lock_guard lock(FLock);
    FErrorText = text;
}

std::string TAvDecodeEngine::ErrorText() const
{
    std::lock_guard lock(FLock);
    return FErrorText;
}

TAvStatus TAvDecodeEngine::Open(const std::string& fileName)
{
    Stop();
    FVideoDecoder.Close();
    FAudioDecoder.Close();
    FVideoStreams.clear();
    FAudioStreams.clear();
    FVideoChoice = FAudioChoice = 0;
    FPrepared = false;
    FConverterReady = false;
    FDemuxTouched = false;
    if (!FPacket || !FFrame) {
        SetError("out of memory");
        return TAvStatus::NoMemory;
    }
    const TAvStatus status = FDemuxer.Open(fileName);
    SetError(FDemuxer.ErrorText());
    if (status != TAvStatus::Ok)
        return status;
    for (const TAvStreamInfo& stream : FDemuxer.Streams()) {
        if (stream.Kind == TAvMediaKind::Video)
            FVideoStreams.push_back(stream.Index);
        else if (stream.Kind == TAvMediaKind::Audio)
            FAudioStreams.push_back(stream.Index);
    }
    std::lock_guard lock(FLock);
    FPosition = FResumeAt = FStartAt = 0.0;
    FNeedSeek = false;
    FStopPending = false;
    return TAvStatus::Ok;
}

int TAvDecodeEngine::DefaultStreamNumber(TAvMediaKind kind) const
{
    const std::vector<int>& streams = kind == TAvMediaKind::Video ? FVideoStreams : FAudioStreams;
    const int best = FDemuxer.BestStream(kind);
    const auto found = std::find(streams.begin(), streams.end(), best);
    return found != streams.end() ? int(found - streams.begin()) : 0;
}

TAvStatus TAvDecodeEngine::SetVideoStream(int index)
{
    {
        std::lock_guard lock(FLock);
        if (FLoopActive)
            return TAvStatus::InvalidState;
    }
    if (index < 0 || index >= VideoStreamCount())
        return TAvStatus::InvalidArgument;
    FPrepared = FPrepared && index == FVideoChoice;
    FVideoChoice = index;
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::SetAudioStream(int index)
{
    {
        std::lock_guard lock(FLock);
        if (FLoopActive)
            return TAvStatus::InvalidState;
    }
    if (index < 0 || index >= AudioStreamCount())
        return TAvStatus::InvalidArgument;
    FPrepared = FPrepared && index == FAudioChoice;
    FAudioChoice = index;
    return TAvStatus::Ok;
}

void TAvDecodeEngine::SetRange(double start, double end)
{
    FRangeStart = std::isfinite(start) && start > 0.0 ? start : 0.0;
    FRangeEnd = std::isfinite(end) && end >= 0.0 ? end : -1.0;
    std::lock_guard lock(FLock);
    if (!FLoopActive) {
        FNeedSeek = true;
        FStartAt = FResumeAt = FPosition = FRangeStart;
    }
}

TAvStatus TAvDecodeEngine::Prepare()
{
    {
        std::lock_guard lock(FLock);
        if (FLoopActive)
            return TAvStatus::InvalidState;
        FStopPending = false;
    }
    return PrepareDecoders();
}

TAvStatus TAvDecodeEngine::PrepareDecoders()
{
    if (!IsOpen()) {
        SetError("no file is open");
        return TAvStatus::InvalidState;
    }
    FPrepared = false;
    FVideoDecoder.Close();
    FAudioDecoder.Close();
    FWidth = FHeight = 0;
    FRotation = 0;
    if (!FVideoStreams.empty()) {
        const int index = FVideoStreams[size_t(FVideoChoice)];
        const TAvStatus status = FVideoDecoder.Open(FDemuxer.Stream(index));
        if (status != TAvStatus::Ok) {
            SetError(FVideoDecoder.ErrorText());
            return status;
        }
        const TAvStreamInfo& info = FDemuxer.Streams()[size_t(index)];
        FWidth = info.Width;
        FHeight = info.Height;
        FRotation = info.Rotation;
        // Unknown rates get 25 frames per second, the most common rate of files that do not say.
        FFrameDuration = info.FrameRate > 0.0 ? 1.0 / info.FrameRate : 0.04;
    }
    if (!FAudioStreams.empty()) {
        const int index = FAudioStreams[size_t(FAudioChoice)];
        TAvStatus status = FAudioDecoder.Open(FDemuxer.Stream(index));
        if (status == TAvStatus::Ok) {
            const TAvStreamInfo& info = FDemuxer.Streams()[size_t(index)];
            status = FResampler.Init(info.SampleRate, info.Channels);
        }
        if (status != TAvStatus::Ok) {
            SetError(FAudioDecoder.ErrorText());
            FVideoDecoder.Close();
            return status;
        }
    }
    FConverterReady = false;
    SeekDecoding(FRangeStart);
    FPrepared = true;
    std::lock_guard lock(FLock);
    FPosition = FResumeAt = FStartAt = FRangeStart;
    FNeedSeek = false;
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::Run(TAvDecodeSink& sink, TAvColorCode code)
{
    {
        std::lock_guard lock(FLock);
        if (FLoopActive)
            return TAvStatus::InvalidState;
        if (FStopPending) {
            FStopPending = false;
            return TAvStatus::Ok;
        }
    }
    if (!FPrepared) {
        const TAvStatus status = PrepareDecoders();
        if (status != TAvStatus::Ok)
            return status;
    }
    {
        std::lock_guard lock(FLock);
        // A Stop may have come while Prepare ran, before the loop was marked active.
        if (FStopPending) {
            FStopPending = false;
            return TAvStatus::Ok;
        }
        FLoopActive = true;
        FPreview = false;
        FStopRequested = false;
        FState = TAvEngineState::Running;
        FLoopThread = std::this_thread::get_id();
    }
    return Loop(sink, code, false);
}

TAvStatus TAvDecodeEngine::Play(TAvDecodeSink& sink, TAvColorCode code)
{
    return StartOnThread(sink, code, true);
}

TAvStatus TAvDecodeEngine::RunOnThread(TAvDecodeSink& sink, TAvColorCode code)
{
    return StartOnThread(sink, code, false);
}

TAvStatus TAvDecodeEngine::StartOnThread(TAvDecodeSink& sink, TAvColorCode code, bool preview)
{
    {
        std::unique_lock lock(FLock);
        if (FLoopActive) {
            // A preview and a run never replace each other; a paused one of the same kind resumes.
            if (FPreview != preview)
                return TAvStatus::InvalidState;
            if (FState == TAvEngineState::Paused) {
                FState = FPausedFrom;
                FChanged.notify_all();
            }
            return TAvStatus::Ok;
        }
        FStopPending = false;
    }
    // The thread of a start that ended by itself is finished but not yet joined.
    if (FPlayThread.joinable())
        FPlayThread.join();
    if (!FPrepared) {
        const TAvStatus status = Prepare();
        if (status != TAvStatus::Ok)
            return status;
    }
    std::lock_guard lock(FLock);
    FLoopActive = true;
    FPreview = preview;
    FStopRequested = false;
    FState = preview ? TAvEngineState::Playing : TAvEngineState::Running;
    // The lock is held until FLoopThread is set, so a Stop can never mistake itself for the loop's thread.
    try {
        FPlayThread = std::thread([this, &sink, code, preview] { Loop(sink, code, preview); });
    } catch (const std::system_error&) {
        // No thread to spare: nothing runs, and a later Stop must not wait for a loop.
        FLoopActive = false;
        FState = TAvEngineState::Stopped;
        FErrorText = "cannot start the decoding thread";
        return TAvStatus::NoMemory;
    }
    FLoopThread = FPlayThread.get_id();
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::Pause()
{
    std::lock_guard lock(FLock);
    if (FState == TAvEngineState::Paused)
        return TAvStatus::Ok;
    if (!FLoopActive)
        return TAvStatus::InvalidState;
    FPausedFrom = FState;
    FState = TAvEngineState::Paused;
    FChanged.notify_all();
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::Resume()
{
    std::lock_guard lock(FLock);
    if (FState != TAvEngineState::Paused)
        return TAvStatus::InvalidState;
    FState = FPausedFrom;
    FChanged.notify_all();
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::Stop()
{
    std::unique_lock lock(FLock);
    if (FLoopActive) {
        FStopRequested = true;
        FChanged.notify_all();
        if (FLoopThread == std::this_thread::get_id())
            return TAvStatus::Ok; // Inside a sink call: the loop ends as soon as the call returns.
        FChanged.wait(lock, [this] { return !FLoopActive; });
    } else {
        FStopPending = true;
    }
    const bool ownThread = FPlayThread.joinable() && FPlayThread.get_id() != std::this_thread::get_id();
    lock.unlock();
    if (ownThread)
        FPlayThread.join();
    return TAvStatus::Ok;
}

TAvStatus TAvDecodeEngine::Seek(double seconds)
{
    if (!IsOpen() || !std::isfinite(seconds))
        return !IsOpen() ? TAvStatus::InvalidState : TAvStatus::InvalidArgument;
    seconds = std::max(0.0, seconds);
    if (Duration() > 0.0)
        seconds = std::min(seconds, Duration());
    std::lock_guard lock(FLock);
    FPosition = FResumeAt = seconds;
    FStopPending = false;
    if (FLoopActive) {
        FSeekRequested = true;
        FSeekTarget = seconds;
        FChanged.notify_all();
    } else {
        FNeedSeek = true;
        FStartAt = seconds;
    }
    return TAvStatus::Ok;
}

double TAvDecodeEngine::Position() const
{
    std::lock_guard lock(FLock);
    return FPosition;
}

TAvEngineState TAvDecodeEngine::State() const
{
    std::lock_guard lock(FLock);
    return FState;
}
