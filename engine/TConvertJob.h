// TConvertJob, one entry of the conversion batch, with the job states, the preview hook type and CurrentJob.
#pragma once
#include "engine/DecoderBase.h"
#include "engine/TEncoderObject.h"
#include "engine/TVideoInfoReader.h"
#include "engine/TVideoProfile.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// The state of a job in the batch.
enum JobStatus : uint8_t {
    jsQueue, // A new job, or one the user stopped.
    jsProcessing, // Set by the batch before Convert, and by Resume.
    jsPaused, // While the stop prompt is open.
    jsCompleted, // The run reached the end of its span.
    jsFailed,
    jsPreviewing, // The main window previews the job.
};

// Called with each video frame before it is encoded, on the decoder's thread: the user pointer given with the
// hook, the frame (in the probe's colour format), its size and colour-format code. The result is ignored.
using PreviewHook = bool (*)(void* user, void* frame, int32_t width, int32_t height, int32_t colorFormat);

// One entry of the batch: a source with its probe result, the user's choices for it, and, while it runs, the
// decoder and encoder object of that run. Convert runs the whole conversion on the user-interface thread while
// the decoder's callbacks feed the encoder object from the decoder's thread; the fields they share are atomic,
// and the decoder is stopped, waiting for its callbacks to end, before the decoder or the encoder object go.
class TConvertJob final {
public:
    // A job on `sourcePath` (which may be empty), its probe not run yet, Title the file name without folder and
    // extension.
    explicit TConvertJob(const std::string& sourcePath);
    ~TConvertJob();
    TConvertJob(const TConvertJob&) = delete;
    TConvertJob& operator=(const TConvertJob&) = delete;

    // Converts the source into OutputFile (made unique first) and returns when the run is over: Completed,
    // Failed or stopped. Keeps the application's messages processed meanwhile. Status tells the outcome, and
    // GetNote why a run failed or what fell short in a completed one. A failed run removes the file it wrote; a
    // stopped one keeps it. A source without audio converts as with DisableAudio, one without video into a file
    // of its audio alone.
    void Convert();
    // Asks the run to stop and waits 100 ms; the caller puts the job back in the queue.
    void Stop();
    // With a decoder, pauses it and sets jsPaused; never over a finished run's status.
    void Pause();
    // With a paused decoder, resumes it and sets jsProcessing; never over a finished run's status.
    void Resume();
    // The decoded fraction of the trimmed span; 0 without a decoder or when the span is not positive; not clamped.
    double GetProgress();
    int32_t GetFrameCount() const { return FrameCount; }
    // Why the last run failed ("The output folder ... does not exist."), or, for a completed run that ended well
    // short of the analysed span, by how much; empty when there is nothing to tell. Reset by Convert.
    std::string GetNote() const;
    // The decoder's position in seconds; 0 without a decoder or when it reports none.
    double GetPosition();
    // Takes ownership, deleting the profile held before.
    void SetProfile(std::unique_ptr<TVideoProfile> profile);
    TVideoProfile* GetProfile() const { return Profile.get(); }
    // Stores the pair as one unit; a null hook disarms it. Safe from any thread, the hook's own call included.
    void SetPreviewHook(::PreviewHook hook, void* user);
    // Calls the armed hook, if any, with its user pointer; the pair is read under a lock and called without it.
    void CallPreviewHook(void* frame, int32_t width, int32_t height, int32_t colorFormat);
    // Probes the source (in the decoder-mode table's order, or with `kind` first: 0 DirectShow, 1 built-in) and
    // settles the stream choice of a source with several streams. True when the probe opened the file.
    bool Analyse();
    bool AnalyseWithMode(int32_t kind);
    // A new decoder of the probe's kind on the source, with the job's streams chosen; owned by the caller.
    std::unique_ptr<DecoderBase> CreateDecoder() const;

    // The decoder's callbacks during Convert. They reach their job through CurrentJob and do nothing (false)
    // without one. Times are shifted by StartTime, so the output starts at 0.
    static bool JobBeginCallback(StreamFormat* format);
    static bool JobVideoCallback(double startTime, double endTime, void* frame);
    static bool JobAudioCallback(double startTime, double endTime, void* samples, int32_t byteCount);
    static bool JobEndCallback();

    // OutputFile with "_1", "_2" ... before its extension until it names nothing that exists. The counter goes
    // into the file name only, never into a folder name.
    static std::string UniqueOutputName(const std::string& outputFile);

    // Shared with the decoder's thread.
    std::atomic<bool> StopRequested { false };
    std::atomic<int32_t> FrameCount { 0 };
    std::atomic<JobStatus> Status { jsQueue };

    bool Analysed = false;
    // What the job list gives every job it adds, kept with the status and the profile ahead of the probe's large
    // stream tables: adding thousands of jobs then touches only the first two cache lines of each.
    std::string OutputFile;
    bool FixAspectRatio = false;
    bool DisableAudio = false;

private:
    std::unique_ptr<TVideoProfile> Profile;

public:
    TVideoInfoReader VideoInfo;
    double StartTime = -1.0; // Seconds; -1.0 = from the start.
    double EndTime = -1.0; // Seconds; -1.0 = to the end.
    int32_t CropLeft = 0;
    int32_t CropRight = 0;
    int32_t CropTop = 0;
    int32_t CropBottom = 0;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Year;
    int32_t VideoStreamIndex = 0;
    int32_t AudioStreamIndex = 0;
    // Width and height joined by a colon ("4:3"); empty = automatic.
    std::string AspectRatio;

private:
    bool AnalyseResult(bool result);
    // Creates the encoder object for this run from the profile and the probe; null when there is none.
    std::unique_ptr<TEncoderObject> CreateEncoder();
    // Stops the decoder, which waits for its callbacks, and deletes it.
    void DeleteDecoder();
    // The wait of Convert, until the run is over.
    void WaitForRun();
    bool RunOver() const;
    // Sets jsFailed, keeps `reason` as the note unless an earlier failure gave one, and wakes the wait.
    void Fail(const std::string& reason);
    // Fails with `what` and the library's `reason` for it; a reason that says the disk is full makes the note say
    // that instead, since no setting would help.
    void FailWithReason(const std::string& what, const std::string& reason);
    void SetNote(const std::string& note);
    // Opens the encoder object for this run; false, with the job failed, when there is none or it does not open.
    bool OpenEncoder();
    // Notes a completed run whose decoded span falls well short of the span the analysis promised.
    void CheckDecodedSpan();
    // Sets `value` unless the run has finished (jsCompleted or jsFailed), whichever thread got there first.
    void ChangeRunStatus(JobStatus value);

    std::mutex PreviewHookLock;
    ::PreviewHook PreviewHook = nullptr;
    void* PreviewHookUser = nullptr;
    std::unique_ptr<DecoderBase> Decoder;
    // Deleted by the end callback on the decoder's thread, or by Convert once the decoder has stopped.
    std::unique_ptr<TEncoderObject> Encoder;
    // The decoder's begin callback came in this run.
    std::atomic<bool> Begun { false };
    // The latest end time of a frame or block handed to the encoder object in this run, trim-shifted.
    std::atomic<double> DecodedUntil { 0.0 };
    // The encoder object of this run opened its output, so the file under OutputFile is this run's.
    bool OutputOpened = false;
    mutable std::mutex NoteLock;
    std::string Note;
};

// The job whose run is in progress, or null; the job callbacks find their job only through it, so one conversion
// runs at a time.
extern std::atomic<TConvertJob*> CurrentJob;

// Makes the decoders of the jobs in place of the one each probe names: tests put in decoders whose decoding they
// move on at chosen points. Null, the start-up state, gives the real ones.
using TDecoderFactoryHook = std::unique_ptr<DecoderBase> (*)(const std::string& fileName);
void SetDecoderFactoryHook(TDecoderFactoryHook hook);
