// TConvertJob: the conversion run, its wait, the unique output name and the decoder's callbacks.
#include "engine/AppServices.h"
#include "engine/TConvertJob.h"
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TThread.h"

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

namespace {

constexpr int32_t kBuiltInKind = 1;
constexpr int32_t kHourGlassCursor = -11;
// The longest the wait sleeps between two rounds of message processing.
constexpr uint32_t kWaitSliceMs = 10;
// How long a decoder may read as stopped after Start before its first callback: a decoding thread needs a moment
// to begin, so only a decoder still stopped after this has ended without ever beginning.
constexpr std::chrono::milliseconds kStartGrace(2000);

// Stream choices that name no stream of the file decode its first stream, so they describe that one too.
int32_t ChosenStream(int32_t index, int32_t count)
{
    return index >= 0 && index < count ? index : 0;
}

// Anything under the name counts, a folder or a dangling link included: the writer could not create the file.
bool PathTaken(const std::string& path)
{
    struct stat info { };
    return lstat(path.c_str(), &info) == 0;
}

} // namespace

std::string TConvertJob::UniqueOutputName(const std::string& outputFile)
{
    // The extension is cut from the file-name part only, so a dot in a folder name never moves the counter there.
    const std::string extension = ExtractFileExt(outputFile);
    const std::string stem = outputFile.substr(0, outputFile.size() - extension.size());
    std::string candidate = outputFile;
    for (int64_t counter = 1; !candidate.empty() && PathTaken(candidate); ++counter)
        candidate = stem + "_" + IntToStr(counter) + extension;
    return candidate;
}

void TConvertJob::Fail()
{
    Status = jsFailed;
    WakeMainThreadWaiters();
}

bool TConvertJob::RunOver() const
{
    const JobStatus status = Status;
    return status == jsCompleted || status == jsFailed || StopRequested;
}

std::unique_ptr<TEncoderObject> TConvertJob::CreateEncoder()
{
    if (!Profile)
        return nullptr;
    int32_t width = 320;
    int32_t height = 240;
    double frameRate = 24.0;
    int32_t colorFormat = 1;
    const VideoStreamInfo& video
        = VideoInfo.GetVideoStream(ChosenStream(VideoStreamIndex, VideoInfo.GetVideoStreamCount()));
    if (VideoInfo.HasVideo()) {
        width = video.Width;
        height = video.Height;
        frameRate = video.FrameRate;
        colorFormat = VideoInfo.GetColorFormat();
    }
    int32_t sampleRate = 44100;
    int32_t channels = 2;
    if (VideoInfo.HasAudio()) {
        const AudioStreamInfo& audio
            = VideoInfo.GetAudioStream(ChosenStream(AudioStreamIndex, VideoInfo.GetAudioStreamCount()));
        sampleRate = audio.SampleRate;
        // The decoders mix more channels down to stereo, so that is what the blocks carry.
        channels = std::min(audio.Channels, 2);
    }
    if (!AspectRatio.empty())
        Profile->SetOption("frame_aspect_ratio", AspectRatio);
    else if (VideoInfo.GetDecoderKind() == kBuiltInKind && video.AspectX != 0)
        Profile->SetOption("frame_aspect_ratio", IntToStr(video.AspectX) + ":" + IntToStr(video.AspectY));
    return Profile->CreateEncoderObject(OutputFile, width, height, colorFormat, frameRate, sampleRate, channels,
        FixAspectRatio, DisableAudio, CropLeft, CropRight, CropTop, CropBottom, 0, 0, 0, 0);
}

void TConvertJob::Convert()
{
    FrameCount = 0;
    StopRequested = false;
    DeleteDecoder();
    if (!FileExists(VideoInfo.GetFileName())) {
        Status = jsFailed;
        return;
    }
    Decoder = CreateDecoder();
    Decoder->SetCallbacks(&JobBeginCallback, &JobVideoCallback, &JobAudioCallback, &JobEndCallback);
    Decoder->SetRange(StartTime, EndTime);

    CurrentJob = this;
    // Whatever way the run ends, no callback may find this job afterwards.
    struct TCurrentJobGuard {
        ~TCurrentJobGuard() { CurrentJob = nullptr; }
    } currentJobGuard;
    FrameCount = 0;
    Begun = false;
    Encoder.reset();
    OutputFile = UniqueOutputName(OutputFile);
    Encoder = CreateEncoder();
    if (Encoder) {
        Encoder->Title = Title;
        Encoder->Author = Author;
        Encoder->Copyright = Copyright;
        Encoder->Comment = Comment;
        Encoder->Year = Year;
    }
    if (!Encoder || !Encoder->Open()) {
        // The decoder, never started, stays with the job until its next run or its end.
        Encoder.reset();
        Status = jsFailed;
        return;
    }
    if (Decoder->Start())
        WaitForRun();
    else
        Status = jsFailed; // Nothing decodes, so the wait would never end.

    MyCursor hourGlass(kHourGlassCursor);
    // Stopping the decoder waits for its callbacks, so neither it nor the encoder object is deleted under one.
    DeleteDecoder();
    // Deleting the encoder object closes the output: a stopped run keeps what it has written.
    Encoder.reset();
}

void TConvertJob::WaitForRun()
{
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        ProcessMessages();
        // The state is read before the status: a decoder that ended by its end callback has set the status by
        // the time it reads as stopped.
        const bool decoderStopped = Decoder->GetState() == dsStopped;
        if (RunOver())
            return;
        // A decoder that stops without its end callback (it could not decode, or refused to begin) would
        // otherwise keep the batch waiting until the user stops it.
        if (decoderStopped && (Begun || std::chrono::steady_clock::now() - started > kStartGrace)) {
            Status = jsFailed;
            return;
        }
        // Serves the calls other threads hand to this one, and wakes at once when the run ends.
        MainThreadWaitUntil([this] { return RunOver(); }, kWaitSliceMs);
    }
}

bool TConvertJob::JobBeginCallback(StreamFormat* format)
{
    TConvertJob* job = CurrentJob;
    if (!job)
        return false;
    job->Begun = true;
    // Frames of another size or colour format than the encoder object expects would be read past their end.
    TEncoderObject* encoder = job->Encoder.get();
    if (format && format->HasVideo && encoder
        && (format->Width != encoder->SourceWidth || format->Height != encoder->SourceHeight
            || format->ColorFormat != encoder->ColorFormat)) {
        job->Fail();
        return false;
    }
    return true;
}

bool TConvertJob::JobVideoCallback(double startTime, double endTime, void* frame)
{
    TConvertJob* job = CurrentJob;
    if (!job)
        return false;
    if (job->StopRequested)
        return true;
    if (job->StartTime != -1.0) {
        startTime -= job->StartTime;
        endTime -= job->StartTime;
    }
    // No exception may unwind into the decoding library.
    try {
        const TVideoInfoReader& info = job->VideoInfo;
        const VideoStreamInfo& video
            = info.GetVideoStream(ChosenStream(job->VideoStreamIndex, info.GetVideoStreamCount()));
        job->CallPreviewHook(frame, video.Width, video.Height, info.GetColorFormat());
        TEncoderObject* encoder = job->Encoder.get();
        if (!encoder || !encoder->WriteVideo(static_cast<const uint8_t*>(frame), startTime, endTime))
            job->Fail();
        ++job->FrameCount;
        return true;
    } catch (...) {
        job->Fail();
        return false;
    }
}

bool TConvertJob::JobAudioCallback(double startTime, double endTime, void* samples, int32_t byteCount)
{
    TConvertJob* job = CurrentJob;
    if (!job)
        return false;
    if (job->StartTime != -1.0) {
        startTime -= job->StartTime;
        endTime -= job->StartTime;
    }
    if (job->StopRequested)
        return true;
    try {
        TEncoderObject* encoder = job->Encoder.get();
        if (!encoder || !encoder->WriteAudio(static_cast<const uint8_t*>(samples), byteCount, startTime, endTime))
            job->Fail();
        return true;
    } catch (...) {
        job->Fail();
        return false;
    }
}

bool TConvertJob::JobEndCallback()
{
    TConvertJob* job = CurrentJob;
    if (!job)
        return false;
    // Closes the output before the wait can see the run over.
    job->Encoder.reset();
    // A run with a refused frame or block stays failed. A stopped run dropped the frames after the stop, so it
    // never completes; the window may already have put it back into the queue.
    if (!job->StopRequested)
        job->ChangeRunStatus(jsCompleted);
    WakeMainThreadWaiters();
    return true;
}
