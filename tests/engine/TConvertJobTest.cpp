// TConvertJob: the unique output name, what the encoder object is created with, the callbacks' time shift and
// failure rules, the preview hook, the controls while a run is on, analysis, and real conversions of generated
// clips read back with the clip probe.
#include "engine/TConvertJob.h"

#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/AppServices.h"
#include "engine/BuiltInDecoder.h"
#include "engine/DirectShowDecoder.h"
#include "engine/FormatProfiles.h"
#include "framework/core/Clock.h"
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// ---- A profile whose encoder object records what it is given ------------------------------------------------

struct TEncoderArguments {
    std::string OutputPath;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ColorFormat = 0;
    double FrameRate = 0.0;
    int32_t SampleRate = 0;
    int32_t Channels = 0;
    bool FixAspectRatio = false;
    bool DisableAudio = false;
    int32_t Crop[4] = {}; // As passed: left, right, top, bottom.
    int32_t Extras[4] = {};
};

struct TTimes {
    double Start = 0.0;
    double End = 0.0;
};

// What the fake encoder objects of one test saw; shared by the profile and the objects it creates.
struct TEncoderLog {
    std::mutex Lock;
    int Created = 0;
    int Deleted = 0;
    TEncoderArguments Arguments;
    std::vector<std::string> Tags; // Title, Author, Copyright, Comment, Year as Open saw them.
    bool DisableVideo = false; // As Open saw it.
    std::vector<TTimes> Video;
    std::vector<TTimes> Audio;
    // The settings of the objects to come.
    bool OpenResult = true;
    bool WriteFile = false; // A successful Open creates the output file, as a real encoder object does.
    int RefuseVideo = 0; // The numbered frame (1-based) is refused; 0: none.
    int RefuseAudio = 0;
};

class TFakeEncoder final : public TEncoderObject {
    using inherited = TEncoderObject;

public:
    TFakeEncoder(TEncoderLog& log, const TEncoderArguments& a)
        : inherited(a.OutputPath, a.Width, a.Height, a.ColorFormat, a.FrameRate, a.SampleRate, a.Channels,
            a.FixAspectRatio, a.DisableAudio, a.Crop[0], a.Crop[1], a.Crop[2], a.Crop[3], a.Extras[0], a.Extras[1],
            a.Extras[2], a.Extras[3])
        , Log(log)
    {
    }
    ~TFakeEncoder() override
    {
        std::lock_guard lock(Log.Lock);
        ++Log.Deleted;
    }

    bool Open() override
    {
        std::lock_guard lock(Log.Lock);
        Log.Tags = { Title, Author, Copyright, Comment, Year };
        Log.DisableVideo = DisableVideo;
        if (Log.OpenResult && Log.WriteFile)
            WriteText(OutputPath, "the start of a file");
        return Log.OpenResult;
    }
    bool Close() override { return true; }
    bool WriteVideo(const uint8_t*, double startTime, double endTime) override
    {
        std::lock_guard lock(Log.Lock);
        Log.Video.push_back({ startTime, endTime });
        return int(Log.Video.size()) != Log.RefuseVideo;
    }
    bool WriteAudio(const uint8_t*, int32_t, double startTime, double endTime) override
    {
        std::lock_guard lock(Log.Lock);
        Log.Audio.push_back({ startTime, endTime });
        return int(Log.Audio.size()) != Log.RefuseAudio;
    }
    int64_t GetOutputSize() override { return 0; }

private:
    TEncoderLog& Log;
};

class TFakeProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    explicit TFakeProfile(TEncoderLog& log)
        : inherited("fake", "")
        , Log(log)
    {
    }

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override
    {
        const TEncoderArguments arguments { outputPath, sourceWidth, sourceHeight, colorFormat, sourceFrameRate,
            sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio,
            { cropLeft, cropRight, cropTop, cropBottom }, { extra1, extra2, extra3, extra4 } };
        std::lock_guard lock(Log.Lock);
        ++Log.Created;
        Log.Arguments = arguments;
        return std::make_unique<TFakeEncoder>(Log, arguments);
    }

    // The value of the free option `key`, or "(none)".
    std::string Option(const std::string& key) const
    {
        const int index = ParamKeys.IndexOf(key);
        return index < 0 ? "(none)" : ParamValues.Strings(index);
    }

private:
    TEncoderLog& Log;
};

// ---- Hooks that run on the decoder's thread ------------------------------------------------------------------

// The preview hook of a test: a function object reached through the user pointer.
using THookBody = std::function<void(void* frame, int32_t width, int32_t height, int32_t colorFormat)>;

bool CallHookBody(void* user, void* frame, int32_t width, int32_t height, int32_t colorFormat)
{
    (*static_cast<THookBody*>(user))(frame, width, height, colorFormat);
    return true;
}

// Hands `work` to the main thread, where the conversion's wait runs it, and waits until it has run.
void RunOnMainThread(std::function<void()> work)
{
    TSimpleEvent done;
    TThread::Queue(nullptr, [&] {
        work();
        done.SetEvent();
    });
    done.WaitFor();
}

// ---- The fixture ---------------------------------------------------------------------------------------------

class TConvertJobTest : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }

    void SetUp() override
    {
        InstallDirectShowProbe();
        // Stop's pause then takes no time.
        SetTickSource(&Clock);
    }
    void TearDown() override
    {
        SetTickSource(nullptr);
        SetDirectShowProbeHook(nullptr);
        SetDecoderFactoryHook(nullptr);
        SetChooseStreamsHandler(nullptr);
        SetScreenCursorHandler(nullptr);
    }

    std::string Clip(const std::string& name, const TTestClipSpec& spec)
    {
        const std::string path = Clips.File(name);
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << name << ": " << error;
        return path;
    }
    std::string Clip(TTestClipKind kind)
    {
        return Clip("clip" + std::to_string(int(kind)) + TestClipExtension(kind), TestClipSpec(kind));
    }

    // A job on the source, analysed with `kind` first (-1: the table's order), writing into the output folder
    // through a fake profile.
    std::unique_ptr<TConvertJob> FakeJob(const std::string& source, int32_t kind = -1)
    {
        auto job = std::make_unique<TConvertJob>(source);
        EXPECT_TRUE(kind < 0 ? job->Analyse() : job->AnalyseWithMode(kind));
        job->SetProfile(std::make_unique<TFakeProfile>(Log));
        job->OutputFile = Output.File("out.fake");
        job->Status = jsProcessing;
        return job;
    }
    TFakeProfile& FakeProfile(TConvertJob& job) { return static_cast<TFakeProfile&>(*job.GetProfile()); }

    TManualClock Clock;
    TTestFolder Clips;
    TTempFolder Output;
    TProgramFolderScope ProgramFolder { Output.Path() };
    TEncoderLog Log;
};

// ---- Output names --------------------------------------------------------------------------------------------

TEST_F(TConvertJobTest, UniqueOutputNamePutsTheCounterIntoTheFileName)
{
    const std::string root = Output.Path();
    std::filesystem::create_directories(root + "my.videos");
    std::filesystem::create_directories(root + "taken_1.mp4");
    for (const char* name :
        { "clip.avi", "clip_1.avi", "plain", "plain_1", "plain_2", "my.videos/clip", "taken.mp4", ".hidden" })
        WriteText(root + name, "x");
    struct Case {
        const char* Given;
        const char* Expected;
    };
    const Case kCases[] = {
        { "free.avi", "free.avi" },
        { "clip.avi", "clip_2.avi" },
        { "plain", "plain_3" },
        // A dot in a folder name never moves the counter into the folder.
        { "my.videos/clip", "my.videos/clip_1" },
        // A folder under the candidate's name counts as taken too.
        { "taken.mp4", "taken_2.mp4" },
        { ".hidden", "_1.hidden" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Given);
        EXPECT_EQ(TConvertJob::UniqueOutputName(root + c.Given), root + c.Expected);
    }
    EXPECT_EQ(TConvertJob::UniqueOutputName(""), "");
}

TEST_F(TConvertJobTest, ANewJobHoldsItsDefaults)
{
    TConvertJob job("/videos/holiday.trip.mkv");
    EXPECT_EQ(job.Title, "holiday.trip");
    EXPECT_EQ(job.Status, jsQueue);
    EXPECT_FALSE(job.Analysed);
    EXPECT_EQ(job.StartTime, -1.0);
    EXPECT_EQ(job.EndTime, -1.0);
    EXPECT_EQ(job.GetProfile(), nullptr);
    EXPECT_EQ(job.VideoInfo.GetFileName(), "/videos/holiday.trip.mkv");
    EXPECT_FALSE(job.VideoInfo.IsOpened());
    EXPECT_EQ(job.GetProgress(), 0.0);
    EXPECT_EQ(job.GetPosition(), 0.0);
    // Without a decoder, Pause and Resume change nothing, not even the status.
    job.Status = jsProcessing;
    job.Pause();
    EXPECT_EQ(job.Status, jsProcessing);
    job.Resume();
    EXPECT_EQ(job.Status, jsProcessing);
    TConvertJob empty("");
    EXPECT_EQ(empty.Title, "");
}

// ---- What the encoder object is created with -------------------------------------------------------------------

TEST_F(TConvertJobTest, TheEncoderObjectGetsTheProbedStreamsAndTheJobsChoices)
{
    TTestClipSpec surround = TestClipSpec(TTestClipKind::Mp4H264Aac);
    surround.Audio[0].Channels = 6;
    const std::string mp4 = Clip(TTestClipKind::Mp4H264Aac);
    struct Case {
        const char* Name;
        std::string Source;
        int32_t Kind; // -1: the table's order.
        const char* AspectRatio;
        TEncoderArguments Expected;
        const char* AspectOption;
        bool DisableVideo = false;
    };
    // A missing stream is described as the placeholder values, and switched off: no audio as DisableAudio, no
    // video as DisableVideo, so the output gets no empty stream.
    const Case kCases[] = {
        { "probed streams, the stream's aspect", mp4, -1, "", { "", 64, 48, 5, 10.0, 44100, 2 }, "4:3" },
        { "the job's aspect wins", mp4, -1, "16:9", { "", 64, 48, 5, 10.0, 44100, 2 }, "16:9" },
        { "a DirectShow probe sends no stream aspect", mp4, 0, "", { "", 64, 48, 5, 10.0, 44100, 2 }, "(none)" },
        { "no video", Clip(TTestClipKind::AudioOnly), -1, "", { "", 320, 240, 1, 24.0, 44100, 2 }, "(none)", true },
        { "no audio", Clip(TTestClipKind::VideoOnly), -1, "",
            { "", 64, 48, 5, 10.0, 44100, 2, false, /*DisableAudio*/ true }, "4:3" },
        { "mono", Clip(TTestClipKind::OddSize), -1, "", { "", 175, 143, 5, 10.0, 44100, 1 }, "175:143" },
        { "six channels are passed as two", Clip("surround.mp4", surround), -1, "", { "", 64, 48, 5, 10.0, 44100, 2 },
            "4:3" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Log.OpenResult = false;
        auto job = FakeJob(c.Source, c.Kind);
        job->AspectRatio = c.AspectRatio;
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        ASSERT_EQ(Log.Created, 1);
        Log.Created = 0;
        const TEncoderArguments& got = Log.Arguments;
        EXPECT_EQ(got.Width, c.Expected.Width);
        EXPECT_EQ(got.Height, c.Expected.Height);
        EXPECT_EQ(got.ColorFormat, c.Expected.ColorFormat);
        EXPECT_NEAR(got.FrameRate, c.Expected.FrameRate, 1e-3);
        EXPECT_EQ(got.SampleRate, c.Expected.SampleRate);
        EXPECT_EQ(got.Channels, c.Expected.Channels);
        EXPECT_EQ(got.DisableAudio, c.Expected.DisableAudio);
        EXPECT_EQ(Log.DisableVideo, c.DisableVideo);
        EXPECT_EQ(FakeProfile(*job).Option("frame_aspect_ratio"), c.AspectOption);
    }

    // The flags, the crop (left, right, top, bottom), four zeros, and the five tags before Open.
    Log.OpenResult = false;
    auto job = FakeJob(mp4);
    job->FixAspectRatio = true;
    job->DisableAudio = true;
    job->CropLeft = 1;
    job->CropRight = 2;
    job->CropTop = 3;
    job->CropBottom = 4;
    job->Author = "An Author";
    job->Copyright = "(c) Us";
    job->Comment = "A comment";
    job->Year = "2024";
    job->Convert();
    const TEncoderArguments& got = Log.Arguments;
    EXPECT_EQ(got.OutputPath, Output.File("out.fake"));
    EXPECT_TRUE(got.FixAspectRatio);
    EXPECT_TRUE(got.DisableAudio);
    EXPECT_EQ(std::vector<int32_t>(got.Crop, got.Crop + 4), (std::vector<int32_t> { 1, 2, 3, 4 }));
    EXPECT_EQ(std::vector<int32_t>(got.Extras, got.Extras + 4), (std::vector<int32_t> { 0, 0, 0, 0 }));
    EXPECT_EQ(Log.Tags, (std::vector<std::string> { "clip0", "An Author", "(c) Us", "A comment", "2024" }));
    // An encoder object that does not open is deleted, and the run fails without a frame.
    EXPECT_EQ(Log.Deleted, 8);
    EXPECT_TRUE(Log.Video.empty());
    EXPECT_EQ(job->GetFrameCount(), 0);
    EXPECT_EQ(CurrentJob, nullptr);
}

TEST_F(TConvertJobTest, AMissingSourceFailsBeforeAnyDecoderOrEncoder)
{
    const std::string source = Clip(TTestClipKind::AviMpeg4Mp3);
    auto job = FakeJob(source);
    std::filesystem::remove(source);
    job->Convert();
    EXPECT_EQ(job->Status, jsFailed);
    EXPECT_EQ(Log.Created, 0);
    // No decoder was made: Pause leaves the status alone.
    job->Status = jsProcessing;
    job->Pause();
    EXPECT_EQ(job->Status, jsProcessing);
    EXPECT_EQ(CurrentJob, nullptr);
}

TEST_F(TConvertJobTest, ProgressOfAKeptDecoderFollowsTheTrimmedSpan)
{
    // An encoder object that does not open leaves the unstarted decoder with the job; it reports position 0.
    Log.OpenResult = false;
    auto job = FakeJob(Clip(TTestClipKind::VideoOnly));
    job->Convert();
    struct Case {
        double Start;
        double End;
        double Progress;
    };
    const Case kCases[] = {
        { -1.0, -1.0, 0.0 },
        { 0.5, 1.0, -1.0 }, // Not clamped.
        { 0.5, 0.5, 0.0 },
        { 0.5, 0.25, 0.0 }, // A span that is not positive gives 0.
        { -1.0, 2.0, 0.0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.Start) + " " + std::to_string(c.End));
        job->StartTime = c.Start;
        job->EndTime = c.End;
        EXPECT_DOUBLE_EQ(job->GetProgress(), c.Progress);
    }
    // An unprobed job has no duration: its whole-file span is empty.
    TConvertJob unprobed(job->VideoInfo.GetFileName());
    unprobed.SetProfile(std::make_unique<TFakeProfile>(Log));
    unprobed.OutputFile = Output.File("other.fake");
    unprobed.Convert();
    EXPECT_EQ(unprobed.GetProgress(), 0.0);
}

// ---- The callbacks -----------------------------------------------------------------------------------------

TEST_F(TConvertJobTest, TrimmedRunsReachTheEncoderShiftedToStartAtZero)
{
    auto job = FakeJob(Clip(TTestClipKind::Mp4H264Aac));
    job->StartTime = 0.5;
    job->Convert();
    EXPECT_EQ(job->Status, jsCompleted);
    ASSERT_EQ(Log.Video.size(), 5u);
    EXPECT_EQ(job->GetFrameCount(), 5);
    for (size_t i = 0; i < Log.Video.size(); ++i) {
        EXPECT_NEAR(Log.Video[i].Start, 0.1 * double(i), 1e-6);
        EXPECT_NEAR(Log.Video[i].End, 0.1 * double(i + 1), 1e-6);
    }
    ASSERT_FALSE(Log.Audio.empty());
    EXPECT_NEAR(Log.Audio.front().Start, 0.0, 1e-3);
    // The sound runs to the end of the file, half a second after the shifted start.
    EXPECT_NEAR(Log.Audio.back().End, 0.5, 0.05);
    // The end callback deleted the encoder object, which closed the output, before the run counted as done.
    EXPECT_EQ(Log.Deleted, 1);
}

TEST_F(TConvertJobTest, ARefusedFrameOrBlockLeavesTheRunFailed)
{
    struct Case {
        const char* Name;
        int RefuseVideo;
        int RefuseAudio;
        const char* Note;
    };
    // The last frame: the stream ends right after it, and the end callback must not make the run a success.
    const Case kCases[] = {
        { "last frame", 10, 0, "The encoder refused the video frame at 0.9 s." },
        { "first frame", 1, 0, "The encoder refused the video frame at 0.0 s." },
        { "an audio block", 0, 2, "The encoder refused the audio at " },
    };
    const std::string source = Clip(TTestClipKind::Mp4H264Aac);
    Log.WriteFile = true;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Log.RefuseVideo = c.RefuseVideo;
        Log.RefuseAudio = c.RefuseAudio;
        Log.Video.clear();
        Log.Audio.clear();
        auto job = FakeJob(source);
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_EQ(CurrentJob, nullptr);
        // The first failure is the one told; the unfinished file is gone.
        EXPECT_EQ(job->GetNote().rfind(c.Note, 0), 0u) << job->GetNote();
        EXPECT_FALSE(FileExists(job->OutputFile));
    }

    // The end callback itself never turns a failed run into a completed one.
    TConvertJob job(source);
    CurrentJob = &job;
    job.Status = jsFailed;
    EXPECT_TRUE(TConvertJob::JobEndCallback());
    EXPECT_EQ(job.Status, jsFailed);
    job.Status = jsPaused;
    EXPECT_TRUE(TConvertJob::JobEndCallback());
    EXPECT_EQ(job.Status, jsCompleted);
    // Nor a stopped one, which the window may have put back into the queue already.
    job.Status = jsQueue;
    job.StopRequested = true;
    EXPECT_TRUE(TConvertJob::JobEndCallback());
    EXPECT_EQ(job.Status, jsQueue);
    CurrentJob = nullptr;
    // Without a current job, callbacks do nothing and report failure.
    EXPECT_FALSE(TConvertJob::JobEndCallback());
    EXPECT_FALSE(TConvertJob::JobVideoCallback(0.0, 0.1, nullptr));
    EXPECT_FALSE(TConvertJob::JobAudioCallback(0.0, 0.1, nullptr, 0));
    EXPECT_FALSE(TConvertJob::JobBeginCallback(nullptr));
}

TEST_F(TConvertJobTest, AJobThatCannotRunSaysWhyAndWritesNothing)
{
    const std::string source = Clip(TTestClipKind::Mp4H264Aac);
    const std::string audioOnly = Clip(TTestClipKind::AudioOnly);
    std::filesystem::create_directories(Output.File("locked"));
    std::filesystem::permissions(Output.File("locked"), std::filesystem::perms::owner_read
            | std::filesystem::perms::owner_exec);
    const bool lockHolds = access(Output.File("locked").c_str(), W_OK) != 0; // Not for root.
    struct Case {
        const char* Name;
        std::string Source;
        std::string OutputFile;
        bool DisableAudio;
        bool OpenResult;
        std::string Note;
        int Created; // Encoder objects created.
    };
    const std::string missing = Output.File("no such folder");
    const Case kCases[] = {
        { "a missing output folder", source, missing + "/clip.mp4", false, true,
            "The output folder " + missing + " does not exist.", 0 },
        { "audio switched off on a source of audio alone", audioOnly, Output.File("out.fake"), true, true,
            "The source has no video and its audio is switched off: there is nothing to convert.", 0 },
        { "an encoder object that does not open", source, Output.File("out.fake"), false, false,
            "The output file " + Output.File("out.fake") + " could not be created with the profile's settings.", 1 },
        { "a folder the user cannot write to", source, Output.File("locked/clip.mp4"), false, true,
            "The output folder " + Output.File("locked") + " cannot be written to.", 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        if (!lockHolds && c.OutputFile.find("locked") != std::string::npos)
            continue;
        Log.Created = 0;
        Log.OpenResult = c.OpenResult;
        auto job = FakeJob(c.Source);
        job->OutputFile = c.OutputFile;
        job->DisableAudio = c.DisableAudio;
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_EQ(job->GetNote(), c.Note);
        EXPECT_EQ(Log.Created, c.Created);
        EXPECT_FALSE(std::filesystem::exists(c.OutputFile));
        EXPECT_EQ(CurrentJob, nullptr);
    }
    std::filesystem::permissions(Output.File("locked"), std::filesystem::perms::owner_all);

    // A source no decoder reads is not taken for one without streams whose audio was switched off.
    const std::string unreadable = Clips.File("unreadable.mp4");
    WriteText(unreadable, "not a video at all");
    for (const bool disableAudio : { false, true }) {
        Log.Created = 0;
        auto job = std::make_unique<TConvertJob>(unreadable);
        EXPECT_FALSE(job->Analyse());
        job->SetProfile(std::make_unique<TFakeProfile>(Log));
        job->OutputFile = Output.File("out.fake");
        job->DisableAudio = disableAudio;
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_EQ(job->GetNote(), "The source could not be decoded.");
        EXPECT_EQ(Log.Created, 0);
    }

    // A missing source says so too, and the next run starts without the old note.
    auto job = FakeJob(source);
    const std::string moved = source + ".moved";
    std::filesystem::rename(source, moved);
    job->Convert();
    EXPECT_EQ(job->GetNote(), "The source file " + source + " no longer exists.");
    std::filesystem::rename(moved, source);
    Log.OpenResult = true;
    job->Status = jsProcessing;
    job->Convert();
    EXPECT_EQ(job->Status, jsCompleted);
    EXPECT_EQ(job->GetNote(), "");
}

TEST_F(TConvertJobTest, AnExceptionInACallbackFailsTheRun)
{
    auto job = FakeJob(Clip(TTestClipKind::VideoOnly));
    THookBody hook = [](void*, int32_t, int32_t, int32_t) { throw Exception("the preview broke"); };
    job->SetPreviewHook(&CallHookBody, &hook);
    job->Convert();
    EXPECT_EQ(job->Status, jsFailed);
    EXPECT_TRUE(Log.Video.empty());
}

TEST_F(TConvertJobTest, ADecoderThatCannotStartFailsTheRunAtOnce)
{
    // The probe opened the file; then it was replaced by something no decoder reads.
    const std::string source = Clip(TTestClipKind::AviMpeg4Mp3);
    for (const int32_t kind : { 1, 0 }) {
        SCOPED_TRACE(kind);
        auto job = FakeJob(source, kind);
        ASSERT_EQ(job->VideoInfo.GetDecoderKind(), kind);
        WriteText(source + ".bad", "no longer a video");
        std::filesystem::copy_file(source, source + ".good", std::filesystem::copy_options::overwrite_existing);
        std::filesystem::rename(source + ".bad", source);
        Log.WriteFile = true;
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_EQ(job->GetNote(), "The source could not be decoded.");
        // The encoder object was opened, then deleted, which closed the output, and the file it began is gone.
        EXPECT_EQ(Log.Created, 1);
        EXPECT_EQ(Log.Deleted, 1);
        EXPECT_FALSE(FileExists(job->OutputFile));
        Log.Created = Log.Deleted = 0;
        std::filesystem::rename(source + ".good", source);
    }
}

// A decoder whose decoding moves on each time its state is read, right after the read: the first read finds it
// not begun yet (its thread has not started) and it begins at once; the next finds it running and it ends by its
// end callback. So the job's wait always sees a begin that came just after it read the state.
class TBeginsAfterTheReadDecoder final : public DecoderBase {
public:
    using DecoderBase::DecoderBase;
    bool SetVideoStream(int32_t) override { return true; }
    bool SetAudioStream(int32_t) override { return true; }
    bool Start() override { return true; }
    bool Pause() override { return false; }
    bool Stop() override { return true; }
    bool Play(uintptr_t) override { return false; }
    int32_t GetPosition(double*) override { return 0; }
    int32_t Seek(double) override { return 0; }
    bool Unnamed11(int32_t, int32_t) override { return true; }
    DecoderState GetState() override
    {
        const DecoderState read = Step == 0 ? dsStopped : Step == 1 ? dsRunning : dsStopped;
        if (Step == 0) {
            StreamFormat format; // Neither video nor audio described: nothing to check against the encoder.
            BeginCallback.load()(&format);
        } else if (Step == 1) {
            EndCallback.load()();
        }
        ++Step;
        return read;
    }

private:
    int Step = 0;
};

TEST_F(TConvertJobTest, ADecoderThatBeginsJustAfterItsStateWasReadIsNotTakenForOneThatStopped)
{
    SetDecoderFactoryHook([](const std::string& file) -> std::unique_ptr<DecoderBase> {
        return std::make_unique<TBeginsAfterTheReadDecoder>(file);
    });
    auto job = FakeJob(Clip(TTestClipKind::VideoOnly));
    job->Convert();
    SetDecoderFactoryHook(nullptr);
    // It delivered nothing, so the note says the output is short; what matters is that the run completed.
    EXPECT_EQ(job->Status, jsCompleted) << job->GetNote();
}

TEST_F(TConvertJobTest, ThePreviewHookSeesEveryFrameUntilItDisarmsItself)
{
    auto job = FakeJob(Clip(TTestClipKind::OddSize));
    int calls = 0;
    TConvertJob* seenJob = nullptr;
    THookBody hook = [&](void* frame, int32_t width, int32_t height, int32_t colorFormat) {
        ++calls;
        seenJob = CurrentJob;
        EXPECT_NE(frame, nullptr);
        EXPECT_EQ(width, 175);
        EXPECT_EQ(height, 143);
        EXPECT_EQ(colorFormat, 5);
        EXPECT_NE(GetCurrentThreadId(), MainThreadID());
        // Disarming from inside the call must not wait for the call to end.
        if (calls == 3)
            job->SetPreviewHook(nullptr, nullptr);
    };
    job->SetPreviewHook(&CallHookBody, &hook);
    job->Convert();
    EXPECT_EQ(job->Status, jsCompleted);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(seenJob, job.get());
    EXPECT_EQ(Log.Video.size(), 10u);
    EXPECT_EQ(CurrentJob, nullptr);
}

// ---- Controls while the run is on ------------------------------------------------------------------------------

TEST_F(TConvertJobTest, PauseAndResumeWhileTheRunIsOn)
{
    auto job = FakeJob(Clip(TTestClipKind::Mp4H264Aac));
    std::vector<int32_t> cursors;
    SetScreenCursorHandler([&](int32_t cursor) { cursors.push_back(cursor); });
    THookBody hook = [&](void*, int32_t, int32_t, int32_t) {
        if (job->GetFrameCount() != 3)
            return;
        // The windows' stop prompt: pause, look at the progress, then go on.
        RunOnMainThread([&] {
            job->Pause();
            EXPECT_EQ(job->Status, jsPaused);
            EXPECT_EQ(CurrentJob, job.get());
            EXPECT_GE(job->GetProgress(), 0.0);
            EXPECT_LE(job->GetProgress(), 1.0);
            EXPECT_GE(job->GetPosition(), 0.0);
            job->Resume();
            EXPECT_EQ(job->Status, jsProcessing);
        });
    };
    job->SetPreviewHook(&CallHookBody, &hook);
    job->Convert();
    EXPECT_EQ(job->Status, jsCompleted);
    EXPECT_EQ(job->GetFrameCount(), 10);
    // The hourglass is shown over the clean-up only.
    EXPECT_EQ(cursors, (std::vector<int32_t> { -11, 0 }));
    {
        MyCursor outer(-19);
        MyCursor inner(-11);
    }
    EXPECT_EQ(cursors.back(), 0);
}

TEST_F(TConvertJobTest, AnalyseSettlesTheStreamChoice)
{
    const std::string source = Clip(TTestClipKind::MkvTwoVideoTwoAudio);
    int asked = 0;
    SetChooseStreamsHandler([&](const TVideoInfoReader& info, int32_t& video, int32_t& audio) {
        ++asked;
        EXPECT_EQ(info.GetAudioStreamCount(), 2);
        video = 1;
        audio = -1;
    });
    // Without the setting, the first streams are taken without asking.
    TConvertJob job(source);
    job.VideoStreamIndex = 1;
    job.AudioStreamIndex = 1;
    EXPECT_TRUE(job.Analyse());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(job.VideoStreamIndex, 0);
    EXPECT_EQ(job.AudioStreamIndex, 0);
    EXPECT_FALSE(job.Analysed);
    // With it, the user is asked.
    WriteText(Output.File("LastSettings.ini"), "[LastSettings]\nMultiStreamsMethod=1\n");
    EXPECT_TRUE(job.Analyse());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(job.VideoStreamIndex, 1);
    EXPECT_EQ(job.AudioStreamIndex, -1);
    // One stream of each kind: nothing to choose, the indices stay.
    TConvertJob single(Clip(TTestClipKind::AviMpeg4Mp3));
    single.VideoStreamIndex = 3;
    EXPECT_TRUE(single.Analyse());
    EXPECT_EQ(single.VideoStreamIndex, 3);
    EXPECT_EQ(asked, 1);
    // A file no decoder opens.
    const std::string text = Output.File("notes.avi");
    WriteText(text, "not a video");
    TConvertJob unreadable(text);
    EXPECT_FALSE(unreadable.Analyse());
    EXPECT_EQ(asked, 1);
}

TEST_F(TConvertJobTest, CreateDecoderFollowsTheProbesDecoderKind)
{
    const std::string source = Clip(TTestClipKind::AviMpeg4Mp3);
    TConvertJob job(source);
    ASSERT_TRUE(job.AnalyseWithMode(0));
    std::unique_ptr<DecoderBase> directShow = job.CreateDecoder();
    EXPECT_NE(dynamic_cast<DirectShowDecoder*>(directShow.get()), nullptr);
    ASSERT_TRUE(job.AnalyseWithMode(1));
    std::unique_ptr<DecoderBase> builtIn = job.CreateDecoder();
    EXPECT_NE(dynamic_cast<BuiltInDecoder*>(builtIn.get()), nullptr);

    // The windows copy a job's whole probe result into another job; its decoder follows the copy.
    ASSERT_TRUE(job.AnalyseWithMode(0));
    TConvertJob copy("");
    copy.VideoInfo = job.VideoInfo;
    EXPECT_EQ(copy.VideoInfo.GetFileName(), source);
    EXPECT_EQ(copy.VideoInfo.GetVideoStream(0).Width, 64);
    std::unique_ptr<DecoderBase> copied = copy.CreateDecoder();
    EXPECT_NE(dynamic_cast<DirectShowDecoder*>(copied.get()), nullptr);
}

// ---- Real conversions ---------------------------------------------------------------------------------------

// A job on the source converting with `profile` into the output folder.
std::unique_ptr<TConvertJob> RealJob(
    const std::string& source, std::unique_ptr<TVideoProfile> profile, const std::string& output, int32_t kind = 1)
{
    auto job = std::make_unique<TConvertJob>(source);
    EXPECT_TRUE(job->AnalyseWithMode(kind));
    job->OutputFile = output + job->Title + profile->Extension;
    job->SetProfile(std::move(profile));
    job->Status = jsProcessing;
    return job;
}

// The converted file read back; fails the test when it cannot be read.
TProbedFile ReadBack(const std::string& path)
{
    TProbedFile file;
    std::string error;
    EXPECT_TRUE(ProbeMediaFile(path, file, &error)) << path << ": " << error;
    return file;
}

TEST_F(TConvertJobTest, EachFormatsDefaultProfileConvertsAClip)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Video[0].Width = 96;
    spec.Video[0].Height = 64;
    const std::string source = Clip("source.mp4", spec);
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TVideoProfile>()> Profile;
        const char* VideoCodec;
        const char* AudioCodec;
    };
    const Case kCases[] = {
        { "3GP", [] { return std::make_unique<T3GPProfile>("3GP", ""); }, "mpeg4", "aac" },
        { "AVI", [] { return std::make_unique<TAVIProfile>("AVI", ""); }, "mpeg4", "mp3" },
        { "MPEG", [] { return std::make_unique<TMPEGProfile>("MPEG", ""); }, "mpeg2video", "mp2" },
        { "MP4", [] { return std::make_unique<TMP4Profile>("MP4", ""); }, "mpeg4", "aac" },
        { "MOV", [] { return std::make_unique<TMOVProfile>("MOV", ""); }, "mpeg4", "aac" },
        { "FLV", [] { return std::make_unique<TFLVProfile>("FLV", ""); }, "flv1", "mp3" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto job = RealJob(source, c.Profile(), Output.Path());
        job->Convert();
        ASSERT_EQ(job->Status, jsCompleted) << job->GetNote();
        EXPECT_EQ(job->GetNote(), "");
        EXPECT_EQ(job->GetFrameCount(), 10);
        const TProbedFile file = ReadBack(job->OutputFile);
        const TProbedStream* video = file.FirstVideo();
        const TProbedStream* audio = file.FirstAudio();
        ASSERT_NE(video, nullptr);
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(video->Codec, c.VideoCodec);
        EXPECT_EQ(audio->Codec, c.AudioCodec);
        EXPECT_NEAR(video->Duration, 1.0, 0.15);
        EXPECT_NEAR(audio->Duration, 1.0, 0.15);
    }
}

TEST_F(TConvertJobTest, TrimCropAspectTagsAndDisableAudioShowInTheOutput)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 2.0;
    spec.Video[0].Width = 96;
    spec.Video[0].Height = 64;
    const std::string source = Clip("two-seconds.mp4", spec);
    // The source's own size, less the crop.
    auto sourceSized = [] {
        auto profile = std::make_unique<TMP4Profile>("MP4", "");
        profile->Width = 0;
        profile->Height = 0;
        return profile;
    };

    auto trimmed = RealJob(source, sourceSized(), Output.Path());
    trimmed->StartTime = 0.5;
    trimmed->EndTime = 1.5;
    trimmed->CropLeft = 8;
    trimmed->CropRight = 8;
    trimmed->CropTop = 8;
    trimmed->CropBottom = 8;
    trimmed->AspectRatio = "16:9";
    trimmed->Title = "The Title";
    trimmed->Author = "The Author";
    trimmed->Copyright = "The Copyright";
    trimmed->Comment = "The Comment";
    trimmed->Year = "2024";
    trimmed->Convert();
    ASSERT_EQ(trimmed->Status, jsCompleted);
    const TProbedFile file = ReadBack(trimmed->OutputFile);
    const TProbedStream* video = file.FirstVideo();
    ASSERT_NE(video, nullptr);
    ASSERT_NE(file.FirstAudio(), nullptr);
    EXPECT_NEAR(video->Duration, 1.0, 0.15);
    EXPECT_NEAR(file.FirstAudio()->Duration, 1.0, 0.15);
    EXPECT_EQ(video->Width, 80);
    EXPECT_EQ(video->Height, 48);
    ASSERT_GT(video->AspectDen, 0);
    // The aspect text describes the source frame (96 x 64 shown at 16:9); the crop keeps the pixels' shape.
    const double pixelAspect = (16.0 / 9.0) / (96.0 / 64.0);
    EXPECT_NEAR(double(video->AspectNum) / video->AspectDen, pixelAspect, 0.01);
    const std::map<std::string, std::string> expectedTags { { "title", "The Title" }, { "artist", "The Author" },
        { "copyright", "The Copyright" }, { "comment", "The Comment" }, { "date", "2024" } };
    for (const auto& [key, value] : expectedTags) {
        SCOPED_TRACE(key);
        const auto found = file.Tags.find(key);
        ASSERT_NE(found, file.Tags.end());
        EXPECT_EQ(found->second, value);
    }

    // The same output name again gets a counter; without audio the file has no audio stream.
    auto silent = RealJob(source, sourceSized(), Output.Path());
    silent->DisableAudio = true;
    silent->Convert();
    ASSERT_EQ(silent->Status, jsCompleted);
    EXPECT_EQ(silent->OutputFile, Output.File("two-seconds_1.mp4"));
    const TProbedFile silentFile = ReadBack(silent->OutputFile);
    EXPECT_NE(silentFile.FirstVideo(), nullptr);
    EXPECT_EQ(silentFile.FirstAudio(), nullptr);
}

// The encoder object opens (and writes the file's header) before decoding starts; a source that then cannot be
// decoded must not leave that stub under the output's name.
TEST_F(TConvertJobTest, AFailedRunLeavesNoFileBehind)
{
    const std::string source = Clip(TTestClipKind::Mp4H264Aac);
    auto job = RealJob(source, std::make_unique<TMP4Profile>("MP4", ""), Output.Path());
    WriteText(source, "no longer a video");
    job->Convert();
    EXPECT_EQ(job->Status, jsFailed);
    EXPECT_EQ(job->GetNote(), "The source could not be decoded.");
    EXPECT_FALSE(std::filesystem::exists(job->OutputFile));
}

// A source cut off after its header (a copy that broke off) reads as the whole file until its data runs out: the
// run completes, keeps its output, and says how much shorter it is than the analysis promised.
TEST_F(TConvertJobTest, ARunThatEndsWellShortOfTheAnalysedSpanSaysSo)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Container = "matroska"; // Its header carries the length; the index comes last.
    spec.Duration = 4.0;
    const std::string whole = Clip("whole.mkv", spec);
    const std::string cut = Output.File("cut.mkv");
    std::filesystem::copy_file(whole, cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(whole) / 2);

    auto job = RealJob(cut, std::make_unique<TMP4Profile>("MP4", ""), Output.Path());
    EXPECT_NEAR(job->VideoInfo.GetDuration(), 4.0, 0.1);
    job->Convert();
    ASSERT_EQ(job->Status, jsCompleted) << job->GetNote();
    const std::string note = job->GetNote();
    EXPECT_EQ(note.rfind("The source ended after ", 0), 0u) << note;
    EXPECT_NE(note.find(" of the 4.0 s analysed; the output is that much shorter."), std::string::npos) << note;
    const TProbedFile file = ReadBack(job->OutputFile);
    ASSERT_NE(file.FirstVideo(), nullptr);
    EXPECT_GT(file.FirstVideo()->Duration, 1.0);
    EXPECT_LT(file.FirstVideo()->Duration, 3.0);

    // The whole file, and a trimmed span of it, end where they should: nothing to tell.
    auto full = RealJob(whole, std::make_unique<TMP4Profile>("MP4", ""), Output.Path());
    full->StartTime = 1.0;
    full->EndTime = 2.5;
    full->Convert();
    ASSERT_EQ(full->Status, jsCompleted);
    EXPECT_EQ(full->GetNote(), "");
}

TEST_F(TConvertJobTest, AStoppedRunKeepsItsPartialOutputAndGoesBackToTheQueue)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::AviMpeg4Mp3);
    spec.Duration = 3.0;
    const std::string source = Clip("three-seconds.avi", spec);
    for (const int32_t kind : { 1, 0 }) {
        SCOPED_TRACE(kind);
        auto job = RealJob(source, std::make_unique<TAVIProfile>("AVI", ""), Output.Path(), kind);
        // The user confirms the stop prompt during the fifth frame: the frame waits until the stop is requested.
        THookBody hook = [&](void*, int32_t, int32_t, int32_t) {
            if (job->GetFrameCount() == 4)
                RunOnMainThread([&] { job->Stop(); });
        };
        job->SetPreviewHook(&CallHookBody, &hook);
        job->Convert();
        EXPECT_EQ(job->Status, jsProcessing);
        EXPECT_TRUE(job->StopRequested);
        // The main window puts a stopped job back into the queue.
        job->Status = jsQueue;
        EXPECT_EQ(job->GetFrameCount(), 5);
        EXPECT_EQ(job->GetProgress(), 0.0);
        const TProbedFile file = ReadBack(job->OutputFile);
        ASSERT_NE(file.FirstVideo(), nullptr);
        EXPECT_GT(file.FirstVideo()->Duration, 0.0);
        EXPECT_LT(file.FirstVideo()->Duration, 1.0);
        EXPECT_EQ(CurrentJob, nullptr);
    }
}

TEST_F(TConvertJobTest, ManyStartsAndStopsInARow)
{
    const std::string source = Clip(TTestClipKind::AviMpeg4Mp3);
    for (int cycle = 0; cycle < 50; ++cycle) {
        SCOPED_TRACE(cycle);
        auto profile = std::make_unique<TAVIProfile>("AVI", "");
        profile->Width = 64;
        profile->Height = 48;
        auto job = RealJob(source, std::move(profile), Output.Path(), cycle % 2);
        // Stop at once, from the first frame, while the decoder runs at full speed.
        THookBody hook = [&](void*, int32_t, int32_t, int32_t) {
            if (job->GetFrameCount() == 0)
                TThread::Queue(nullptr, [&] { job->Stop(); });
        };
        job->SetPreviewHook(&CallHookBody, &hook);
        job->Convert();
        EXPECT_TRUE(job->StopRequested || job->Status == jsCompleted);
        EXPECT_NE(job->Status, jsFailed);
        EXPECT_TRUE(FileExists(job->OutputFile));
        EXPECT_EQ(CurrentJob, nullptr);
        // A queued stop that came too late must not outlive the job.
        CheckSynchronize(0);
    }
}

} // namespace
