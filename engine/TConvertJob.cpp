// TConvertJob: construction, the controls the windows use while a job runs, the preview hook, analysis and the
// decoder factory.
#include "engine/TConvertJob.h"

#include "engine/AppServices.h"
#include "engine/BuiltInDecoder.h"
#include "engine/DirectShowDecoder.h"
#include "framework/core/Clock.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TThread.h"

std::atomic<TConvertJob*> CurrentJob { nullptr };

namespace {

constexpr int32_t kDirectShowKind = 0;

std::atomic<TDecoderFactoryHook> DecoderFactoryHook { nullptr };

} // namespace

void SetDecoderFactoryHook(TDecoderFactoryHook hook)
{
    DecoderFactoryHook = hook;
}

TConvertJob::TConvertJob(const std::string& sourcePath)
    : VideoInfo(sourcePath)
    , Title(ChangeFileExt(ExtractFileName(sourcePath), ""))
{
}

TConvertJob::~TConvertJob()
{
    // The decoder goes first: its callbacks use the encoder object until it has stopped.
    DeleteDecoder();
    Encoder.reset();
    TConvertJob* self = this;
    CurrentJob.compare_exchange_strong(self, nullptr);
}

void TConvertJob::DeleteDecoder()
{
    if (!Decoder)
        return;
    Decoder->Stop();
    Decoder.reset();
}

void TConvertJob::Stop()
{
    StopRequested = true;
    WakeMainThreadWaiters();
    Sleep(100);
}

void TConvertJob::Pause()
{
    if (!Decoder)
        return;
    Decoder->Pause();
    ChangeRunStatus(jsPaused);
}

void TConvertJob::Resume()
{
    if (!Decoder)
        return;
    // Start would open the file anew for a decoder that has already stopped, so only a paused one is started.
    if (Decoder->GetState() == dsPaused)
        Decoder->Start();
    ChangeRunStatus(jsProcessing);
}

void TConvertJob::ChangeRunStatus(JobStatus value)
{
    // A run that has finished keeps its outcome: a resume after a refused frame must not hide the failure.
    JobStatus current = Status;
    while (current != jsCompleted && current != jsFailed) {
        if (Status.compare_exchange_weak(current, value))
            return;
    }
}

double TConvertJob::GetPosition()
{
    double position = 0.0;
    if (Decoder)
        Decoder->GetPosition(&position);
    return position;
}

double TConvertJob::GetProgress()
{
    if (!Decoder)
        return 0.0;
    const double position = GetPosition();
    const double start = StartTime == -1.0 ? 0.0 : StartTime;
    const double end = EndTime == -1.0 ? VideoInfo.GetDuration() : EndTime;
    const double span = end - start;
    if (!(span > 0.0))
        return 0.0;
    return (position - start) / span;
}

void TConvertJob::SetProfile(std::unique_ptr<TVideoProfile> profile)
{
    Profile = std::move(profile);
}

void TConvertJob::SetPreviewHook(::PreviewHook hook, void* user)
{
    std::lock_guard lock(PreviewHookLock);
    PreviewHook = hook;
    PreviewHookUser = user;
}

void TConvertJob::CallPreviewHook(void* frame, int32_t width, int32_t height, int32_t colorFormat)
{
    ::PreviewHook hook = nullptr;
    void* user = nullptr;
    {
        std::lock_guard lock(PreviewHookLock);
        hook = PreviewHook;
        user = PreviewHookUser;
    }
    // Called without the lock: the hook may disarm itself, or the window re-arm it, meanwhile.
    if (hook)
        hook(user, frame, width, height, colorFormat);
}

bool TConvertJob::Analyse()
{
    return AnalyseResult(VideoInfo.Probe());
}

bool TConvertJob::AnalyseWithMode(int32_t kind)
{
    return AnalyseResult(VideoInfo.ProbeWithMode(kind));
}

bool TConvertJob::AnalyseResult(bool result)
{
    if (!VideoInfo.IsOpened() || (VideoInfo.GetVideoStreamCount() <= 1 && VideoInfo.GetAudioStreamCount() <= 1))
        return result;
    int method = 0;
    try {
        const TIniFile settings(ProgramFolder() + "LastSettings.ini");
        method = settings.ReadInteger("LastSettings", "MultiStreamsMethod", 0);
    } catch (const Exception&) {
        // Settings that cannot be read count as absent.
    }
    if (method == 0) {
        VideoStreamIndex = 0;
        AudioStreamIndex = 0;
    } else {
        ChooseStreams(VideoInfo, VideoStreamIndex, AudioStreamIndex);
    }
    return result;
}

std::unique_ptr<DecoderBase> TConvertJob::CreateDecoder() const
{
    std::unique_ptr<DecoderBase> decoder;
    if (const TDecoderFactoryHook hook = DecoderFactoryHook)
        decoder = hook(VideoInfo.GetFileName());
    else if (VideoInfo.GetDecoderKind() == kDirectShowKind)
        decoder = std::make_unique<DirectShowDecoder>(VideoInfo.GetFileName());
    else
        decoder = std::make_unique<BuiltInDecoder>(VideoInfo.GetFileName());
    decoder->SetVideoStream(VideoStreamIndex);
    decoder->SetAudioStream(AudioStreamIndex);
    return decoder;
}
