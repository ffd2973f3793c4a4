// TMainBatch, the main window's batch: "Go" converts every queued job in turn with a progress step once a second,
// Stop pauses the running job and asks, and the end opens the output folder or the shutdown countdown.
#pragma once
#include "app/JobList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TTimer;

// What one progress step shows.
struct TBatchStep {
    int Gauge = 0; // The running job's percentage, 0 to 100.
    std::string TotalTime; // The length of the span the job converts.
    std::string FPS; // Frames since the previous step.
    std::string Hint; // The progress line of the hint bar.
    std::string RemainTime; // "-" until the job has made progress.
    int TrackMax = 0; // The preview track bar in hundredths of a second: the source's length,
    int TrackValue = 0; // and the position reached.
    std::string TargetFile;
};

// Runs on the user-interface thread. Without a window every hook may stay empty: the batch then converts the
// queued jobs, and ends by opening the output folder in the shell. A bench drives it as
//     TMainBatch batch(jobs); batch.OutputFolder = [] { return folder; }; batch.Go();
// with the jobs queued, analysed and given profiles and output files.
class TMainBatch final {
public:
    // `timer` is the window's progress timer; without one the batch makes its own.
    explicit TMainBatch(TJobList& jobs, TTimer* timer = nullptr);
    ~TMainBatch();
    TMainBatch(const TMainBatch&) = delete;
    TMainBatch& operator=(const TMainBatch&) = delete;

    // The window's parts the batch tells.
    std::function<void()> UpdateControlStates;
    std::function<void()> RefreshJobList;
    // Repaints one row of the job list (the running job's, for its progress bar).
    std::function<void(int row)> RedrawRow;
    std::function<void(const TBatchStep& step)> ShowStep;
    // Shows or hides the progress panel.
    std::function<void(bool visible)> ShowConvertInfo;
    // The batch starts (true) or ends (false): the window detaches or binds the track bar's change event and hides
    // or shows the list's selection.
    std::function<void(bool converting)> ConvertingChanged;
    // Stops a preview under way before the batch begins.
    std::function<void()> StopPreview;
    // A job is about to run: the window releases the previous job's frame converter and, with "Preview Movie"
    // ticked, arms the job's preview hook.
    std::function<void(TConvertJob& job)> JobStarting;
    // "Preview Movie" is ticked; the progress step then arms the running job's hook again.
    std::function<bool()> PreviewMovie;
    std::function<void(TConvertJob& job)> ArmPreview;
    // "Auto Shutdown" is ticked, and the folder opened at the end (the output folder's text).
    std::function<bool()> AutoShutdown;
    std::function<std::string()> OutputFolder;
    // The stop prompt (true: stop) and the shutdown countdown; ConfirmStop and ShowShutdownDialog unless replaced.
    std::function<bool()> ConfirmStop;
    std::function<void()> ShowShutdownDialog;
    // The window asked to close during the batch; called once "Go" has ended it.
    std::function<void()> CloseAfterBatch;
    // Some jobs of the batch failed: the end of the batch tells which and why, in one line naming each source file
    // and its cause (the list shows only "Failed"). Not when the shutdown countdown follows.
    std::function<void(const std::string& text)> ReportFailures;
    // The job's own Convert, Pause, Resume and Stop unless replaced.
    std::function<void(TConvertJob& job)> RunJob;
    std::function<void(TConvertJob& job)> PauseJob;
    std::function<void(TConvertJob& job)> ResumeJob;
    std::function<void(TConvertJob& job)> StopJob;

    // "Go": converts every job in the queue, one after another, and returns when the batch is over.
    void Go();
    // "Stop": pauses the running job and asks; YES puts it back in the queue and ends the batch, NO resumes it.
    void Stop();
    // The progress step of the running job; the timer runs it once a second.
    void ProgressStep();
    // The window is closing. During a batch the running job is stopped and put back in the queue, and the batch
    // ends; the window must not go before Go has returned, which then calls CloseAfterBatch. Answers whether the
    // window may close at once (no batch runs).
    bool RequestClose();

    bool Converting = false;
    int RunningIndex = 0;
    int32_t FramesAtLastTick = 0;
    uint32_t TickCount = 0;

    TTimer* ConvertInfoTimer() const { return FConvertInfoTimer; }

private:
    void RunQueuedJob(int index);
    // Puts the running job back in the queue after a stop, as a confirmed Stop does.
    void EndRunningJob();
    void Finish();
    TConvertJob* RunningJob() const;
    // What the failed jobs of this batch say went wrong, in one line.
    std::string FailuresText() const;

    TJobList& FJobs;
    std::unique_ptr<TTimer> FOwnTimer;
    TTimer* FConvertInfoTimer = nullptr;
    // TickCount when the running job started: its seconds so far, for the remaining time.
    uint32_t FJobStartTick = 0;
    bool FCloseRequested = false;
    // The sources of the jobs this batch ran that failed, each with its cause, in the order they ran.
    std::vector<std::string> FFailed;
};
