// TConvertJob: the conversion run, its wait, the unique output name and the decoder's callbacks.
#include "engine/AppServices.h"
#include "engine/TConvertJob.h"
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TThread.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <unistd.h>
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

// A completed run counts as short when it decoded less of the analysed span than this: a source cut off after
// its index was written (a copy that broke off) reads as the whole file until the data runs out.
constexpr double kShortfallShare = 0.1;
constexpr double kShortfallSeconds = 0.5;

std::string Seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", value);
    return text;
}

// Whether a library's reason says that the file system has no room left for the output (or the user's share of
// it is used up): the user must free space, and nothing in the profile would help.
bool SaysDiskFull(const std::string& reason)
{
    for (const int error : { ENOSPC, EDQUOT }) {
        if (reason.find(std::strerror(error)) != std::string::npos)
            return true;
    }
    return false;
}

// Raises `value` to `candidate` when that is later.
void RaiseTo(std::atomic<double>& value, double candidate)
{
    double current = value;
    while (candidate > current && !value.compare_exchange_weak(current, candidate)) {
    }
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

void TConvertJob::Fail(const std::string& reason)
{
    {
        std::lock_guard lock(NoteLock);
        // The first failure is the cause; what follows from it would only hide it.
        if (Note.empty())
            Note = reason;
    }
    Status = jsFailed;
    WakeMainThreadWaiters();
}

void TConvertJob::FailWithReason(const std::string& what, const std::string& reason)
{
    if (SaysDiskFull(reason))
        Fail("The disk is full: " + OutputFile + " could not be written (" + reason + ").");
    else if (!reason.empty())
        Fail(what + ": " + reason + ".");
    else
        Fail(what + ".");
}

void TConvertJob::SetNote(const std::string& note)
{
    std::lock_guard lock(NoteLock);
    Note = note;
}

std::string TConvertJob::GetNote() const
{
    std::lock_guard lock(NoteLock);
    return Note;
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
    // A source without audio converts as with audio switched off: an audio stream that never gets a sample
    // leaves an empty stream that some containers report wrongly or cannot read.
    const bool disableAudio = DisableAudio || !VideoInfo.HasAudio();
    std::unique_ptr<TEncoderObject> encoder = Profile->CreateEncoderObject(OutputFile, width, height, colorFormat,
        frameRate, sampleRate, channels, FixAspectRatio, disableAudio, CropLeft, CropRight, CropTop, CropBottom, 0, 0,
        0, 0);
    if (encoder)
        encoder->DisableVideo = !VideoInfo.HasVideo();
    return encoder;
}

bool TConvertJob::OpenEncoder()
{
    // Every reason is checked before anything is written, so a job that cannot run leaves no file behind.
    if (!Profile) {
        Fail("The job has no output profile.");
        return false;
    }
    // A source that no decoder could read is not taken for one without streams.
    if (!VideoInfo.IsOpened()) {
        Fail("The source could not be decoded.");
        return false;
    }
    if (!VideoInfo.HasVideo() && !VideoInfo.HasAudio()) {
        Fail("The source holds neither video nor audio: there is nothing to convert.");
        return false;
    }
    if (!VideoInfo.HasVideo() && DisableAudio) {
        Fail("The source has no video and its audio is switched off: there is nothing to convert.");
        return false;
    }
    const std::string folder = ExtractFileDir(OutputFile);
    if (!folder.empty() && !DirectoryExists(folder)) {
        Fail("The output folder " + folder + " does not exist.");
        return false;
    }
    if (!folder.empty() && access(folder.c_str(), W_OK) != 0) {
        Fail("The output folder " + folder + " cannot be written to.");
        return false;
    }
    Encoder = CreateEncoder();
    if (Encoder) {
        Encoder->Title = Title;
        Encoder->Author = Author;
        Encoder->Copyright = Copyright;
        Encoder->Comment = Comment;
        Encoder->Year = Year;
    }
    if (!Encoder || !Encoder->Open()) {
        const std::string reason = Encoder ? Encoder->ErrorText : std::string();
        Encoder.reset();
        // The library's reason tells a refused setting from a file system that said no.
        if (reason.empty())
            Fail("The output file " + OutputFile + " could not be created with the profile's settings.");
        else
            FailWithReason("The output file " + OutputFile + " could not be created", reason);
        return false;
    }
    OutputOpened = true;
    return true;
}

void TConvertJob::CheckDecodedSpan()
{
    const double duration = VideoInfo.GetDuration();
    const double start = StartTime == -1.0 ? 0.0 : StartTime;
    double end = EndTime == -1.0 ? duration : EndTime;
    if (duration > 0.0)
        end = std::min(end, duration);
    const double span = end - start;
    const double decoded = DecodedUntil;
    if (span > 0.0 && span - decoded > std::max(kShortfallSeconds, kShortfallShare * span))
        SetNote("The source ended after " + Seconds(decoded) + " of the " + Seconds(span)
            + " analysed; the output is that much shorter.");
}

void TConvertJob::Convert()
{
    FrameCount = 0;
    StopRequested = false;
    SetNote("");
    OutputOpened = false;
    DeleteDecoder();
    if (!FileExists(VideoInfo.GetFileName())) {
        Fail("The source file " + VideoInfo.GetFileName() + " no longer exists.");
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
    DecodedUntil = 0.0;
    Encoder.reset();
    OutputFile = UniqueOutputName(OutputFile);
    // On failure the decoder, never started, stays with the job until its next run or its end.
    if (!OpenEncoder())
        return;
    if (Decoder->Start())
        WaitForRun();
    else
        Fail("The source could not be decoded."); // Nothing decodes, so the wait would never end.

    MyCursor hourGlass(kHourGlassCursor);
    // Stopping the decoder waits for its callbacks, so neither it nor the encoder object is deleted under one.
    DeleteDecoder();
    // Deleting the encoder object closes the output: a stopped run keeps what it has written.
    Encoder.reset();
    // A failed run's file is unfinished or wrong; nobody should take it for the converted video.
    if (Status == jsFailed)
        DeleteFile(OutputFile);
    else if (Status == jsCompleted)
        CheckDecodedSpan();
}

void TConvertJob::WaitForRun()
{
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        ProcessMessages();
        // Whether the decoding had begun is read before the decoder's state: read after it, a begin that came
        // between the two (a thread that had not started yet when its state was read) would pass for a decoder
        // that began and then stopped. The state is read before the status: a decoder that ended by its end
        // callback has set the status by the time it reads as stopped.
        const bool begun = Begun;
        const bool decoderStopped = Decoder->GetState() == dsStopped;
        if (RunOver())
            return;
        // A decoder that stops without its end callback (it could not decode, or refused to begin) would
        // otherwise keep the batch waiting until the user stops it.
        if (decoderStopped && (begun || std::chrono::steady_clock::now() - started > kStartGrace)) {
            Fail("Decoding stopped before the end of the source.");
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
        job->Fail("The source's frames differ from what its analysis found; analyse it again.");
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
            job->FailWithReason(
                "The encoder refused the video frame at " + Seconds(startTime), encoder ? encoder->ErrorText : "");
        else
            RaiseTo(job->DecodedUntil, endTime);
        ++job->FrameCount;
        return true;
    } catch (const std::exception& error) {
        job->Fail(std::string("The conversion broke off: ") + error.what());
        return false;
    } catch (...) {
        job->Fail("The conversion broke off.");
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
            job->FailWithReason(
                "The encoder refused the audio at " + Seconds(startTime), encoder ? encoder->ErrorText : "");
        else
            RaiseTo(job->DecodedUntil, endTime);
        return true;
    } catch (const std::exception& error) {
        job->Fail(std::string("The conversion broke off: ") + error.what());
        return false;
    } catch (...) {
        job->Fail("The conversion broke off.");
        return false;
    }
}

bool TConvertJob::JobEndCallback()
{
    TConvertJob* job = CurrentJob;
    if (!job)
        return false;
    // Closes the output before the wait can see the run over. A file that could not be finished (a full disk
    // while the index is written) is no complete conversion.
    TEncoderObject* encoder = job->Encoder.get();
    const bool finished = !encoder || encoder->Close();
    const std::string reason = encoder ? encoder->ErrorText : std::string();
    job->Encoder.reset();
    // A run with a refused frame or block stays failed. A stopped run dropped the frames after the stop, so it
    // never completes; the window may already have put it back into the queue.
    if (!job->StopRequested) {
        if (finished)
            job->ChangeRunStatus(jsCompleted);
        else
            job->FailWithReason("The output file " + job->OutputFile + " could not be finished", reason);
    }
    WakeMainThreadWaiters();
    return true;
}
