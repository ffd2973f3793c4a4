// The main window's batch loop, its progress step and Stop.
#include "app/MainBatch.h"

#include "app/BatchProgress.h"
#include "app/TShutDownForm.h"
#include "app/TStopPromptForm.h"
#include "engine/AppServices.h"
#include "framework/core/FileSystem.h"
#include "framework/controls/TTimer.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/WinStyles.h"

#include <algorithm>

namespace {

constexpr uint32_t kProgressInterval = 1000;

template <class F, class... A> void Call(const F& function, A&&... arguments)
{
    if (function)
        function(std::forward<A>(arguments)...);
}

} // namespace

TMainBatch::TMainBatch(TJobList& jobs, TTimer* timer)
    : FJobs(jobs)
    , FOwnTimer(timer ? nullptr : std::make_unique<TTimer>(nullptr))
    , FConvertInfoTimer(timer ? timer : FOwnTimer.get())
{
    FConvertInfoTimer->SetEnabled(false);
    FConvertInfoTimer->SetInterval(kProgressInterval);
    FConvertInfoTimer->SetOnTimer([this](TObject*) { ProgressStep(); });
}

TMainBatch::~TMainBatch()
{
    FConvertInfoTimer->SetOnTimer(nullptr);
}

TConvertJob* TMainBatch::RunningJob() const
{
    return RunningIndex >= 0 && size_t(RunningIndex) < FJobs.size() ? FJobs[RunningIndex].get() : nullptr;
}

void TMainBatch::Go()
{
    if (Converting)
        return;
    Call(StopPreview);
    RunningIndex = 0;
    TickCount = 0;
    FramesAtLastTick = 0;
    FCloseRequested = false;
    FFailed.clear();
    Call(ConvertingChanged, true);
    Converting = true;
    // The count is read again at every turn; nothing may shrink the list during a batch, but it may grow.
    for (size_t i = 0; i < FJobs.size() && Converting; ++i) {
        if (FJobs[i]->Status == jsQueue)
            RunQueuedJob(int(i));
    }
    Converting = false;
    Call(ConvertingChanged, false);
    Call(UpdateControlStates);
    FConvertInfoTimer->SetEnabled(false);
    Call(ShowConvertInfo, false);
    if (FCloseRequested) {
        // The user is leaving: the folder is not opened and nothing is shut down.
        FCloseRequested = false;
        Call(CloseAfterBatch);
        return;
    }
    Finish();
}

void TMainBatch::RunQueuedJob(int index)
{
    TConvertJob& job = *FJobs[index];
    Call(UpdateControlStates);
    job.Status = jsProcessing;
    Call(RefreshJobList);
    RunningIndex = index;
    FJobStartTick = TickCount;
    ProgressStep();
    Call(ShowConvertInfo, true);
    ProcessMessages();
    FConvertInfoTimer->SetEnabled(true);
    Call(JobStarting, job);
    if (RunJob)
        RunJob(job);
    else
        job.Convert();
    if (job.Status == jsFailed) {
        // The list only shows "Failed"; the job's note is the one place that says why.
        const std::string note = job.GetNote();
        FFailed.push_back(ExtractFileName(job.VideoInfo.GetFileName()) + (note.empty() ? std::string() : ": " + note));
    }
    Call(RefreshJobList);
    ProgressStep();
    // A finished job's hook stays unarmed, so no later run of it calls into the preview uninvited.
    job.SetPreviewHook(nullptr, nullptr);
}

void TMainBatch::ProgressStep()
{
    TConvertJob* job = RunningJob();
    if (!job)
        return;
    TBatchStep step;
    const double rawProgress = job->GetProgress();
    step.Gauge = std::clamp(int(rawProgress * 100), 0, 100);
    step.TotalTime = FormatDuration(JobSpanSeconds(*job));
    const int32_t frames = job->GetFrameCount();
    step.FPS = std::to_string(FramesSinceLastStep(frames, FramesAtLastTick));
    FramesAtLastTick = frames;
    TickCount += 1;
    const double position = job->GetPosition();
    const double progress = std::max(rawProgress, 0.0);
    step.Hint = ProgressHintText(position, TickCount, progress);
    step.RemainTime = RemainingTimeText(TickCount - FJobStartTick, progress);
    step.TrackMax = int(job->VideoInfo.GetDuration() * 100);
    step.TrackValue = int(position * 100);
    step.TargetFile = job->OutputFile;
    Call(ShowStep, step);
    Call(RedrawRow, RunningIndex);
    // The hook shows one frame and disarms itself, so a frame is converted at most once a step.
    if (Converting && PreviewMovie && PreviewMovie())
        Call(ArmPreview, *job);
}

void TMainBatch::Stop()
{
    TConvertJob* job = RunningJob();
    if (!Converting || !job)
        return;
    if (PauseJob)
        PauseJob(*job);
    else
        job->Pause();
    const bool stop = ConfirmStop ? ConfirmStop() : ::ConfirmStop();
    // The window may have been closed while the question was open, which already ended the batch.
    if (!Converting)
        return;
    if (stop) {
        EndRunningJob();
        return;
    }
    if (ResumeJob)
        ResumeJob(*job);
    else
        job->Resume();
}

void TMainBatch::EndRunningJob()
{
    TConvertJob* job = RunningJob();
    Converting = false;
    if (job) {
        if (StopJob)
            StopJob(*job);
        else
            job->Stop();
        job->Status = jsQueue;
    }
    Call(RefreshJobList);
    RunningIndex = 0;
    FramesAtLastTick = 0;
    Call(ShowConvertInfo, false);
    Call(UpdateControlStates);
}

bool TMainBatch::RequestClose()
{
    if (!Converting)
        return true;
    FCloseRequested = true;
    EndRunningJob();
    return false;
}

void TMainBatch::Finish()
{
    if (AutoShutdown && AutoShutdown()) {
        if (ShowShutdownDialog)
            ShowShutdownDialog();
        else
            ::ShowShutdownDialog();
        return;
    }
    const std::string folder = OutputFolder ? OutputFolder() : std::string();
    ShellExecute(nullptr, "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (!FFailed.empty())
        Call(ReportFailures, FailuresText());
}

std::string TMainBatch::FailuresText() const
{
    std::string text = "Not converted: ";
    for (size_t i = 0; i < FFailed.size(); ++i)
        text += (i ? "   " : "") + FFailed[i];
    return text;
}
