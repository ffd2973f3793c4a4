// The decode loop: packets to frames, range and seek filtering, preview pacing, and the sink calls.
#include "codecs/avcore/TAvDecodeEngine.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace {

// Time stamps computed from different time bases differ by rounding; this much counts as equal.
constexpr double kTimeSlack = 1e-6;
// A preview that falls this far behind (a slow decode, a debugger) restarts its clock instead of racing.
constexpr double kMaxLateness = 0.5;
// Damaged data may fail this many packets in a row before the rest of the file counts as lost.
constexpr int kMaxErrorRun = 64;

} // namespace

TAvStatus TAvDecodeEngine::Loop(TAvDecodeSink& sink, TAvColorCode code, bool preview)
{
    TExit exit = TExit::Stopped;
    const TAvStatus status = StartDecoding(code, preview);
    if (status == TAvStatus::Ok && sink.Begin(code))
        exit = DecodeUntilDone(sink, preview);

    std::unique_lock lock(FLock);
    // A stop that arrives while the last frame is delivered wins over the natural end.
    if (exit == TExit::NaturalEnd && !FStopRequested) {
        // The next start replays the range; meanwhile the position says the whole span was played.
        FPosition = EndPosition();
        FNeedSeek = true;
        FStartAt = FRangeStart;
        lock.unlock();
        sink.End();
        lock.lock();
    } else {
        FNeedSeek = true;
        FStartAt = FResumeAt;
    }
    // Nothing of this object is touched after this block: a waiting Stop may destroy it once the lock is free.
    FLoopActive = false;
    FState = TAvEngineState::Stopped;
    FStopRequested = false;
    FSeekRequested = false;
    FChanged.notify_all();
    return status;
}

TAvDecodeEngine::TExit TAvDecodeEngine::DecodeUntilDone(TAvDecodeSink& sink, bool preview)
{
    TOutput output;
    bool pending = false;
    for (;;) {
        {
            std::unique_lock lock(FLock);
            for (;;) {
                if (FStopRequested)
                    return TExit::Stopped;
                if (FSeekRequested) {
                    const double target = FSeekTarget;
                    FSeekRequested = false;
                    lock.unlock();
                    SeekDecoding(target);
                    pending = false;
                    lock.lock();
                    continue;
                }
                if (FState == TAvEngineState::Paused) {
                    FChanged.wait(lock);
                    FReanchor = true;
                    continue;
                }
                break;
            }
            if (pending && preview && !WaitForDueTime(output, lock))
                continue; // Woken by a stop, a pause or a seek.
        }
        if (!pending) {
            if (NextOutput(output) != TAvStatus::Ok)
                return TExit::NaturalEnd;
            pending = true;
            if (preview)
                continue; // Through the controls again, then the wait for the frame's time.
        }
        bool accepted = true;
        if (output.Kind == TOutput::Video)
            accepted = sink.Video(output.Start, output.End, output.Data);
        else if (output.Kind == TOutput::Audio)
            accepted = sink.Audio(output.Start, output.End, output.Data, output.Bytes);
        pending = false;
        if (!accepted)
            return TExit::Stopped;
        const bool tellsPosition = output.Kind == TOutput::Video || !FVideoDecoder.IsOpen();
        std::lock_guard lock(FLock);
        if (tellsPosition && !FSeekRequested) {
            FPosition = output.Start;
            FResumeAt = output.End;
        }
    }
}

bool TAvDecodeEngine::WaitForDueTime(const TOutput& output, std::unique_lock<std::mutex>& lock)
{
    TAvPaceClock& clock = PaceClock();
    const double rate = PreviewPaceRate();
    const double now = clock.Now();
    if (FReanchor || output.Start < FAnchorMedia) {
        FAnchorWall = now;
        FAnchorMedia = output.Start;
        FReanchor = false;
    }
    const double due = FAnchorWall + (output.Start - FAnchorMedia) / rate;
    if (now > due + kMaxLateness) {
        FAnchorWall = now;
        FAnchorMedia = output.Start;
        return true;
    }
    const bool interrupted = clock.WaitUntil(
        FChanged, lock, due, [this] { return FStopRequested || FSeekRequested || FState == TAvEngineState::Paused; });
    return !interrupted;
}

TAvStatus TAvDecodeEngine::StartDecoding(TAvColorCode code, bool preview)
{
    if (FVideoDecoder.IsOpen() && (!FConverterReady || FConverterCode != code)) {
        const TAvStatus status = FFrameConverter.Init(FWidth, FHeight, code, FRotation);
        if (status != TAvStatus::Ok) {
            SetError("cannot deliver frames of this size");
            return status;
        }
        FConverterReady = true;
        FConverterCode = code;
    }
    FDecodeAudio = !preview && FAudioDecoder.IsOpen();
    bool needSeek = false;
    double startAt = 0.0;
    {
        std::lock_guard lock(FLock);
        needSeek = FNeedSeek;
        startAt = FStartAt;
        FNeedSeek = false;
    }
    if (needSeek)
        SeekDecoding(startAt);
    FReanchor = true;
    return TAvStatus::Ok;
}

void TAvDecodeEngine::SeekDecoding(double seconds)
{
    const int stream = FVideoDecoder.IsOpen() ? FVideoDecoder.StreamIndex() : FAudioDecoder.StreamIndex();
    // A file that has just been opened is already at its start; some formats do not seek back to 0 well.
    if (stream >= 0 && (seconds > 0.0 || FDemuxTouched)) {
        if (FDemuxer.Seek(seconds, stream) != TAvStatus::Ok)
            SetError(FDemuxer.ErrorText());
    }
    FVideoDecoder.Flush();
    FAudioDecoder.Flush();
    FDemuxEnded = FVideoDrained = FAudioDrained = FVideoDone = FAudioDone = false;
    FDropBefore = std::max(seconds, FRangeStart);
    FNextVideoTime = FNextAudioTime = seconds;
    FReanchor = true;
}

bool TAvDecodeEngine::AllDone() const
{
    const bool video = FVideoDecoder.IsOpen();
    const bool audio = FDecodeAudio || (!video && FAudioDecoder.IsOpen());
    if (!video && !audio)
        return false; // Nothing chosen: read on to the end of the file.
    return (!video || FVideoDone) && (!audio || FAudioDone);
}

double TAvDecodeEngine::EndPosition() const
{
    double end = Duration();
    if (FRangeEnd >= 0.0 && (end <= 0.0 || FRangeEnd < end))
        end = FRangeEnd;
    return end > 0.0 ? end : FResumeAt;
}

TAvStatus TAvDecodeEngine::NextOutput(TOutput& output)
{
    int errorRun = 0;
    for (;;) {
        if (AllDone())
            return TAvStatus::EndOfStream;
        if (FVideoDecoder.IsOpen() && !FVideoDrained) {
            const TAvStatus status = FVideoDecoder.Receive(FFrame.get());
            if (status == TAvStatus::Ok) {
                const bool taken = TakeVideoFrame(output);
                av_frame_unref(FFrame.get());
                if (taken)
                    return TAvStatus::Ok;
                continue;
            }
            if (status == TAvStatus::EndOfStream || (status != TAvStatus::Corrupt && FDemuxEnded))
                FVideoDrained = true;
            else if (status == TAvStatus::Corrupt && ++errorRun < kMaxErrorRun)
                continue;
        }
        if (FDecodeAudio && !FAudioDrained) {
            const TAvStatus status = FAudioDecoder.Receive(FFrame.get());
            if (status == TAvStatus::Ok) {
                const bool taken = TakeAudioFrame(output);
                av_frame_unref(FFrame.get());
                if (taken)
                    return TAvStatus::Ok;
                continue;
            }
            if (status == TAvStatus::EndOfStream || (status != TAvStatus::Corrupt && FDemuxEnded))
                FAudioDrained = true;
            else if (status == TAvStatus::Corrupt && ++errorRun < kMaxErrorRun)
                continue;
        }
        if (FDemuxEnded) {
            const bool videoFinished = !FVideoDecoder.IsOpen() || FVideoDrained;
            const bool audioFinished = !FDecodeAudio || FAudioDrained;
            if (videoFinished && audioFinished)
                return TAvStatus::EndOfStream;
            errorRun = 0;
            continue;
        }

        const TAvStatus read = FDemuxer.ReadPacket(FPacket.get());
        FDemuxTouched = true;
        if (read != TAvStatus::Ok) {
            if (read == TAvStatus::Corrupt && ++errorRun < kMaxErrorRun)
                continue;
            // The end of the file, or the point where it is cut short: drain what the decoders hold.
            if (read != TAvStatus::EndOfStream)
                SetError(FDemuxer.ErrorText());
            FDemuxEnded = true;
            FVideoDecoder.Send(nullptr);
            if (FDecodeAudio)
                FAudioDecoder.Send(nullptr);
            continue;
        }
        const int index = FPacket->stream_index;
        bool ticked = false;
        if (index == FVideoDecoder.StreamIndex() && FVideoDecoder.IsOpen()) {
            if (!FVideoDone)
                FVideoDecoder.Send(FPacket.get());
        } else if (index == FAudioDecoder.StreamIndex() && FAudioDecoder.IsOpen() && !FAudioDone) {
            if (FDecodeAudio) {
                FAudioDecoder.Send(FPacket.get());
            } else if (!FVideoDecoder.IsOpen()) {
                // A preview of a file without video still keeps time, by the audio packets' stamps.
                const int64_t stamp = FPacket->pts != AV_NOPTS_VALUE ? FPacket->pts : FPacket->dts;
                const double start = FDemuxer.TimeOf(stamp, index);
                if (std::isfinite(start) && start >= FDropBefore - kTimeSlack) {
                    if (FRangeEnd >= 0.0 && start >= FRangeEnd - kTimeSlack) {
                        FAudioDone = true;
                    } else {
                        output = TOutput { TOutput::Tick, start, start, nullptr, 0 };
                        ticked = true;
                    }
                }
            }
        }
        av_packet_unref(FPacket.get());
        if (ticked)
            return TAvStatus::Ok;
    }
}

bool TAvDecodeEngine::TakeVideoFrame(TOutput& output)
{
    double start = FDemuxer.TimeOf(FFrame->best_effort_timestamp, FVideoDecoder.StreamIndex());
    if (!std::isfinite(start))
        start = FNextVideoTime;
    FNextVideoTime = start + FFrameDuration;
    if (start < FDropBefore - kTimeSlack)
        return false;
    if (FRangeEnd >= 0.0 && start >= FRangeEnd - kTimeSlack) {
        FVideoDone = true;
        return false;
    }
    if (FFrameConverter.Convert(FFrame.get()) != TAvStatus::Ok)
        return false;
    output = TOutput { TOutput::Video, start, start + FFrameDuration, FFrameConverter.Data(),
        int32_t(FFrameConverter.Size()) };
    return true;
}

bool TAvDecodeEngine::TakeAudioFrame(TOutput& output)
{
    double start = FDemuxer.TimeOf(FFrame->best_effort_timestamp, FAudioDecoder.StreamIndex());
    if (!std::isfinite(start))
        start = FNextAudioTime;
    if (FResampler.Convert(FFrame.get()) != TAvStatus::Ok || FResampler.Samples() == 0)
        return false;
    const double rate = FResampler.Rate();
    const int samples = FResampler.Samples();
    const int frameBytes = FResampler.Channels() * 2;
    const double end = start + samples / rate;
    FNextAudioTime = end;
    if (FRangeEnd >= 0.0 && start >= FRangeEnd - kTimeSlack) {
        FAudioDone = true;
        return false;
    }
    if (end <= FDropBefore + kTimeSlack)
        return false;
    // Blocks that straddle the range start or end are cut at the sample nearest to it.
    int first = 0;
    int last = samples;
    if (start < FDropBefore)
        first = std::clamp(int(std::lround((FDropBefore - start) * rate)), 0, samples);
    if (FRangeEnd >= 0.0 && end >= FRangeEnd) {
        last = std::clamp(int(std::lround((FRangeEnd - start) * rate)), first, samples);
        FAudioDone = true;
    }
    if (last <= first)
        return false;
    // Rounding to whole samples may leave the start a fraction of a sample before the range.
    const double outStart = std::max(start + first / rate, start < FDropBefore ? FDropBefore : start);
    output = TOutput { TOutput::Audio, outStart, start + last / rate, FResampler.Data() + first * frameBytes,
        int32_t((last - first) * frameBytes) };
    return true;
}
