// The job list's model over real probed clips: the texts of each row, output paths as the output folder changes,
// the add road, the list commands, and the progress bar of the running row drawn on a real bitmap.
#include "app/AddJobs.h"
#include "app/BatchProgress.h"
#include "app/JobList.h"

#include "codecs/testclips/TTestClip.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class JobListTest : public testing::Test {
protected:
    // A probed job on a 64x48 clip of `seconds` (one frame a second, so a minute is cheap to make).
    std::unique_ptr<TConvertJob> AnalysedJob(const std::string& name, double seconds)
    {
        TTestClipSpec spec;
        spec.Duration = seconds;
        spec.Video.push_back(TTestVideoStream {});
        spec.Video.back().FrameRateNum = 1;
        const std::string path = Clips.File(name);
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        auto job = std::make_unique<TConvertJob>(path);
        EXPECT_TRUE(job->Analyse());
        job->Analysed = true; // What the analysis window sets for every readable source.
        return job;
    }

    TTempFolder Clips;
};

template <typename Profile>
std::unique_ptr<Profile> NamedProfile(const std::string& name)
{
    return std::make_unique<Profile>(name, "");
}

TEST(JobListTexts, DurationsAndStatusNames)
{
    EXPECT_EQ(FormatDuration(0), "00:00:00 ");
    EXPECT_EQ(FormatDuration(60), "00:01:00 ");
    EXPECT_EQ(FormatDuration(3661), "01:01:01 ");
    EXPECT_EQ(FormatDuration(360000), "100:00:00 ");
    const std::pair<JobStatus, const char*> names[] = { { jsQueue, "Queue" }, { jsProcessing, "Processing" },
        { jsPaused, "" }, { jsCompleted, "Completed" }, { jsFailed, "Failed" }, { jsPreviewing, "Previewing" } };
    for (const auto& [status, name] : names)
        EXPECT_EQ(JobStatusName(status), name) << int(status);
}

TEST(JobListTexts, TargetFormatFollowsTheProfileVariant)
{
    auto gp = NamedProfile<T3GPProfile>("p");
    EXPECT_EQ(TargetFormatName(gp.get()), "3GP");
    gp->Format3GP = 1;
    EXPECT_EQ(TargetFormatName(gp.get()), "3GP2");
    auto mpeg = NamedProfile<TMPEGProfile>("p");
    mpeg->MPEGVersion = 0;
    EXPECT_EQ(TargetFormatName(mpeg.get()), "MPEG1");
    mpeg->MPEGVersion = 1;
    EXPECT_EQ(TargetFormatName(mpeg.get()), "MPEG2");
    auto mp4 = NamedProfile<TMP4Profile>("p");
    mp4->MP4VideoCodec = 3;
    EXPECT_EQ(TargetFormatName(mp4.get()), "MP4-AVC(H.264)");
    mp4->MP4VideoCodec = 2;
    EXPECT_EQ(TargetFormatName(mp4.get()), "MP4");
    EXPECT_EQ(TargetFormatName(NamedProfile<TAVIProfile>("p").get()), "AVI");
    EXPECT_EQ(TargetFormatName(NamedProfile<TWMVProfile>("p").get()), "WMV");
    EXPECT_EQ(TargetFormatName(NamedProfile<TRealProfile>("p").get()), "RealMedia");
    EXPECT_EQ(TargetFormatName(NamedProfile<TMOVProfile>("p").get()), "MOV");
    EXPECT_EQ(TargetFormatName(NamedProfile<TFLVProfile>("p").get()), "FLV");
    EXPECT_EQ(TargetFormatName(nullptr), "");
}

TEST_F(JobListTest, RowTextsOfAnAnalysedAndAFreshJob)
{
    auto analysed = AnalysedJob("minute.mp4", 60.0);
    ASSERT_DOUBLE_EQ(analysed->VideoInfo.GetDuration(), 60.0);
    auto avc = NamedProfile<TMP4Profile>("Phone AVC");
    avc->MP4VideoCodec = 3;
    avc->VideoBitrate = 768000;
    avc->AudioBitrate = 96000;
    analysed->SetProfile(std::move(avc));
    analysed->OutputFile = "/out/minute.mp4";
    const TJobRowTexts row = JobRowTexts(*analysed);
    EXPECT_EQ(row.Caption, Clips.File("minute.mp4"));
    const std::array<std::string, 7> expected { "64 x 48", "00:01:00 ", "MP4-AVC(H.264)", "Queue",
        "6328 KB", "/out/minute.mp4", "Phone AVC" };
    EXPECT_EQ(row.SubItems, expected) << "60 s at 864000 bit/s is 6,480,000 bytes, 6328 KB truncated";

    // Before the analysis only the choices show; a paused job has no status text.
    TConvertJob fresh("/videos/clip.avi");
    auto gp = NamedProfile<T3GPProfile>("Small");
    gp->Format3GP = 1;
    fresh.SetProfile(std::move(gp));
    fresh.Status = jsPaused;
    const std::array<std::string, 7> dashes { "-", "-", "3GP2", "", "-", "", "Small" };
    EXPECT_EQ(JobRowTexts(fresh).SubItems, dashes);
}

TEST_F(JobListTest, AJobWithNoVideoStreamChosenShowsAnEmptyFrameSize)
{
    auto job = AnalysedJob("short.mp4", 2.0);
    job->SetProfile(NamedProfile<TAVIProfile>("p"));
    for (const int32_t index : { -1, 16, 1000 }) {
        job->VideoStreamIndex = index;
        EXPECT_EQ(JobRowTexts(*job).SubItems[0], "0 x 0") << index;
    }
}

TEST(JobListOutputPaths, OutputFileNamesAndTheOutputFolder)
{
    struct Case {
        const char* Source;
        const char* Expected;
    };
    const Case cases[] = {
        { "/videos/clip.part1.avi", "/out/clip.part1.mp4" },
        { "/videos/noextension", "/out/noextension.mp4" },
        { "/videos.old/take", "/out/take.mp4" }, // A dot in a folder name is not an extension.
        { "relative.mkv", "/out/relative.mp4" },
    };
    for (const Case& c : cases) {
        TConvertJob job(c.Source);
        job.SetProfile(NamedProfile<TMP4Profile>("p"));
        EXPECT_EQ(BuildOutputPath("/out/", job), c.Expected) << c.Source;
    }

    TJobList jobs;
    for (const char* source : { "/v/a.avi", "/v/b.wmv" }) {
        jobs.push_back(std::make_unique<TConvertJob>(source));
        jobs.back()->SetProfile(NamedProfile<TFLVProfile>("p"));
    }
    jobs[1]->OutputFile = "/elsewhere/custom name.flv"; // Chosen in the job's own settings.
    MoveOutputFiles(jobs, "/browsed/");
    EXPECT_EQ(jobs[0]->OutputFile, "/browsed/");
    EXPECT_EQ(jobs[1]->OutputFile, "/browsed/custom name.flv");
    RetargetJobs(jobs, "/typed/");
    EXPECT_EQ(jobs[0]->OutputFile, "/typed/a.flv");
    EXPECT_EQ(jobs[1]->OutputFile, "/typed/b.flv");
}

// The add road over real clips: the analysis probes them (what the analysis window does) and drops the ones no
// decoder reads; the settings window's answer is given by the test.
class AddRoadTest : public JobListTest {
protected:
    void SetUp() override
    {
        SetMessageBoxHandler([this](const std::string& text, const std::string& caption, int32_t flags) {
            Boxes.push_back(text + "|" + caption + "|" + std::to_string(flags));
            return 1;
        });
        SetScreenCursorHandler([this](int32_t cursor) { Cursors.push_back(cursor); });
        Road.Analyse = [](TJobList& jobs) {
            std::erase_if(jobs, [](const std::unique_ptr<TConvertJob>& job) { return !job->Analyse(); });
            for (auto& job : jobs)
                job->Analysed = true;
        };
        Road.ChooseSettings = [this]() -> std::optional<TNewJobSettings> {
            ++SettingsShown;
            if (Cancel)
                return std::nullopt;
            auto profile = std::make_unique<TMP4Profile>("Phone", "");
            return TNewJobSettings { std::move(profile), true, true };
        };
    }
    void TearDown() override
    {
        SetMessageBoxHandler(nullptr);
        SetScreenCursorHandler(nullptr);
    }

    TJobList NewJobs(std::initializer_list<std::string> paths)
    {
        TJobList jobs;
        for (const std::string& path : paths)
            jobs.push_back(std::make_unique<TConvertJob>(path));
        return jobs;
    }
    std::string Unreadable()
    {
        const std::string path = Clips.File("notes.avi");
        WriteText(path, "not a video");
        return path;
    }

    TAddRoad Road;
    bool Cancel = false;
    int SettingsShown = 0;
    std::vector<std::string> Boxes;
    std::vector<int32_t> Cursors;
};

TEST_F(AddRoadTest, ReadableFilesJoinQueuedWithTheirOwnProfileCopies)
{
    TJobList jobs;
    jobs.push_back(std::make_unique<TConvertJob>("/v/earlier.avi"));
    const std::string first = AnalysedJob("first.mp4", 2.0)->VideoInfo.GetFileName();
    const std::string second = AnalysedJob("second.part1.mp4", 2.0)->VideoInfo.GetFileName();
    EXPECT_EQ(AddAnalysedJobs(jobs, NewJobs({ first, Unreadable(), second }), "/out/", Road), 1);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[1]->VideoInfo.GetFileName(), first);
    EXPECT_EQ(jobs[2]->VideoInfo.GetFileName(), second);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(jobs[i]->Status, jsQueue);
        EXPECT_EQ(jobs[i]->GetProfile()->ProfileName, "Phone");
        EXPECT_TRUE(jobs[i]->DisableAudio);
        EXPECT_TRUE(jobs[i]->FixAspectRatio);
    }
    EXPECT_NE(jobs[1]->GetProfile(), jobs[2]->GetProfile());
    EXPECT_EQ(jobs[1]->OutputFile, "/out/first.mp4");
    EXPECT_EQ(jobs[2]->OutputFile, "/out/second.part1.mp4");
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Cursors, (std::vector<int32_t> { -11, 0 }));
}

TEST_F(AddRoadTest, NothingReadableOrACancelledSettingsWindowAddsNothing)
{
    TJobList jobs;
    jobs.push_back(std::make_unique<TConvertJob>("/v/earlier.avi"));
    EXPECT_EQ(AddAnalysedJobs(jobs, NewJobs({ Unreadable() }), "/out/", Road), -1);
    EXPECT_EQ(Boxes, (std::vector<std::string> {
        "These file formats are not supported. There is no video file to be added.|Tarnwick Pro|64" }));
    EXPECT_EQ(SettingsShown, 0) << "no settings are asked for nothing";

    Cancel = true;
    const std::string clip = AnalysedJob("clip.mp4", 1.0)->VideoInfo.GetFileName();
    EXPECT_EQ(AddAnalysedJobs(jobs, NewJobs({ clip, clip }), "/out/", Road), -1);
    EXPECT_EQ(SettingsShown, 1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0]->VideoInfo.GetFileName(), "/v/earlier.avi");
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(Cursors.empty());
}

// Five jobs on a.avi ... e.avi, each with an AVI profile and an output file in /out/.
TJobList FiveJobs()
{
    TJobList jobs;
    for (const char* name : { "a", "b", "c", "d", "e" }) {
        jobs.push_back(std::make_unique<TConvertJob>(std::string("/v/") + name + ".avi"));
        jobs.back()->SetProfile(std::make_unique<TAVIProfile>("p", ""));
        jobs.back()->OutputFile = std::string("/out/") + name + ".avi";
    }
    return jobs;
}

std::string Names(const TJobList& jobs)
{
    std::string names;
    for (const auto& job : jobs)
        names += job->Title;
    return names;
}

TEST(JobListCommands, RemovingSelectsTheRowOfTheLastRemovedOne)
{
    struct Case {
        std::vector<bool> Selected;
        const char* Left;
        int Selection;
    };
    const Case cases[] = {
        { { false, false, false, true, true }, "abc", 2 }, // The last two: the new last row.
        { { false, true, false, true, false }, "ace", 2 },
        { { true, false, false, false, false }, "bcde", 0 },
        { { true, true, true, true, true }, "", -1 },
        { { false, false, false, false, false }, "abcde", -1 },
        { { true }, "bcde", 0 }, // A shorter selection leaves the rows it does not reach.
    };
    for (const Case& c : cases) {
        TJobList jobs = FiveJobs();
        EXPECT_EQ(RemoveSelectedJobs(jobs, c.Selected), c.Selection) << c.Left;
        EXPECT_EQ(Names(jobs), c.Left);
    }
}

TEST(JobListCommands, MovingStopsAtTheEnds)
{
    TJobList jobs = FiveJobs();
    EXPECT_EQ(MoveJob(jobs, 0, -1), -1);
    EXPECT_EQ(MoveJob(jobs, 4, +1), -1);
    EXPECT_EQ(MoveJob(jobs, 7, -1), -1);
    EXPECT_EQ(Names(jobs), "abcde");
    EXPECT_EQ(MoveJob(jobs, 2, -1), 1);
    EXPECT_EQ(MoveJob(jobs, 3, +1), 4);
    EXPECT_EQ(Names(jobs), "acbed");
}

TEST(JobListCommands, AProfileGivenToSelectedJobsRequeuesThemWithTheirOwnCopy)
{
    TJobList jobs = FiveJobs();
    jobs[1]->Status = jsCompleted;
    jobs[3]->Status = jsFailed;
    jobs[3]->DisableAudio = true;
    auto flv = std::make_unique<TFLVProfile>("Web", "");
    ApplyProfile(jobs, { 1, 3 }, *flv);
    flv.reset(); // The jobs hold copies.
    for (const int i : { 1, 3 }) {
        EXPECT_EQ(jobs[i]->Status, jsQueue);
        EXPECT_EQ(jobs[i]->GetProfile()->ProfileName, "Web");
        EXPECT_EQ(TargetFormatName(jobs[i]->GetProfile()), "FLV");
    }
    EXPECT_NE(jobs[1]->GetProfile(), jobs[3]->GetProfile());
    EXPECT_EQ(jobs[1]->OutputFile, "/out/b.flv");
    EXPECT_TRUE(jobs[3]->DisableAudio);
    EXPECT_EQ(jobs[0]->OutputFile, "/out/a.avi");
    EXPECT_EQ(TargetFormatName(jobs[0]->GetProfile()), "AVI");
}

// A white bitmap with a progress cell drawn at (10, 6, 90, 22).
std::unique_ptr<TBitmap> ProgressBitmap(double progress)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(100, 30);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect { 0, 0, 100, 30 });
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetSize(8);
    DrawProgressCell(bitmap->Canvas(), TRect { 10, 6, 90, 22 }, progress, &font);
    return bitmap;
}

// How many pixels of the bar's inside (x 11..88, rows 6..20: the bar starts one above the box) `match`.
template <typename Match>
int CountInside(TBitmap& bitmap, Match match)
{
    int count = 0;
    for (int y = 6; y < 21; ++y)
        for (int x = 11; x < 89; ++x)
            count += match(static_cast<uint32_t>(bitmap.Canvas()->Pixels(x, y)));
    return count;
}

// The letters are white on black, copied inverting: over green they come out magenta, over white dark. Their
// smoothed edges give in-between colours, so the tests look at the channels rather than at exact values.
bool Magenta(uint32_t color)
{
    return (color & 0xFF) >= 0x80 && (color >> 8 & 0xFF) < 0x80 && (color >> 16 & 0xFF) >= 0x80;
}
bool Dark(uint32_t color)
{
    return (color & 0xFF) < 0x80 && (color >> 8 & 0xFF) < 0x80 && (color >> 16 & 0xFF) < 0x80;
}

TEST(JobListProgressCell, TheBarFillsToTheProgressWithTheTextInverted)
{
    EXPECT_EQ(ProgressText(0.1234), "12.34");
    EXPECT_EQ(ProgressText(1.0), "100.00");
    EXPECT_EQ(ProgressText(-0.2), "0.00");

    struct Case {
        double Progress;
        int GreenUpTo; // The first column of the inside left white; 90 when full.
    };
    // 80 px wide from x 10: half fills bar columns 1..39, x 11..49.
    const Case cases[] = { { 1.0, 90 }, { 1.7, 90 }, { 0.5, 50 }, { -0.2, 11 }, { 0.0, 11 } };
    for (const Case& c : cases) {
        auto bitmap = ProgressBitmap(c.Progress);
        TCanvas* canvas = bitmap->Canvas();
        // The top row inside, above the text, shows the bar alone: green up to the progress, white after.
        const int y = 6;
        for (int x = 11; x < 89; ++x)
            ASSERT_EQ(canvas->Pixels(x, y), x < c.GreenUpTo ? clGreen : clWhite) << c.Progress << " at " << x;
        // The letters show inverted over both parts of the bar.
        const int overGreen = CountInside(*bitmap, Magenta);
        const int overWhite = CountInside(*bitmap, Dark);
        EXPECT_GT(overGreen + overWhite, 20) << c.Progress;
        if (c.GreenUpTo == 90) {
            EXPECT_EQ(overWhite, 0) << c.Progress;
            EXPECT_EQ(CountInside(*bitmap, [](uint32_t color) { return color == clWhite; }), 0) << "a full bar";
        }
        if (c.GreenUpTo == 11) {
            EXPECT_EQ(overGreen, 0) << c.Progress;
            EXPECT_EQ(CountInside(*bitmap, [](uint32_t color) { return color == clGreen; }), 0) << "an empty bar";
        }
        if (c.GreenUpTo == 50) {
            EXPECT_GT(overGreen, 0);
            EXPECT_GT(overWhite, 0) << "the text is centred on the whole bar, across the end of the green";
        }
        // Nothing is drawn outside the bar: one row above the box to one below its bottom.
        EXPECT_EQ(canvas->Pixels(9, 10), clWhite);
        EXPECT_EQ(canvas->Pixels(50, 4), clWhite);
        EXPECT_EQ(canvas->Pixels(50, 23), clWhite);
    }
}

TEST(BatchProgressTexts, TheProgressStepsTexts)
{
    // The duration's trailing blank and the format's three blanks make four between the parts.
    EXPECT_EQ(ProgressHintText(3.9, 5, 0.1234), "Current Time: 00:00:03    Time Used: 00:00:05    Percent: 12.34");
    EXPECT_EQ(ProgressHintText(-1.0, 0, -0.5), "Current Time: 00:00:00    Time Used: 00:00:00    Percent: 0.00");

    struct Remaining {
        uint32_t Seconds;
        double Progress;
        const char* Text;
    };
    const Remaining remaining[] = { { 10, 0.0, "-" }, { 10, -0.1, "-" }, { 10, 0.25, "00:00:30 " },
        { 90, 0.5, "00:01:30 " }, { 10, 1.0, "00:00:00 " }, { 10, 1.3, "00:00:00 " } };
    for (const Remaining& r : remaining)
        EXPECT_EQ(RemainingTimeText(r.Seconds, r.Progress), r.Text) << r.Seconds << " " << r.Progress;

    EXPECT_EQ(FramesSinceLastStep(40, 25), 15);
    EXPECT_EQ(FramesSinceLastStep(3, 250), 0) << "a new job counts from 0";
}

TEST_F(JobListTest, TheSpanOfAJobFollowsItsTrim)
{
    auto job = AnalysedJob("ten.mp4", 10.0);
    struct Case {
        double Start;
        double End;
        uint32_t Seconds;
    };
    const Case cases[] = { { -1, -1, 10 }, { 2.5, -1, 7 }, { -1, 4.9, 4 }, { 3, 5, 2 }, { 6, 5, 0 } };
    for (const Case& c : cases) {
        job->StartTime = c.Start;
        job->EndTime = c.End;
        EXPECT_EQ(JobSpanSeconds(*job), c.Seconds) << c.Start << " " << c.End;
    }
}

} // namespace
