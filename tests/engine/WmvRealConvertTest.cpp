// Whole conversions to Windows Media and RealMedia through TConvertJob and the program's encoder libraries, read
// back with libavformat.
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "codecs/testclips/TestPicture.h"
#include "engine/DirectShowDecoder.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "framework/core/Clock.h"
#include "framework/core/FileSystem.h"
#include "tests/engine/EncoderLibraryTestSupport.h"
#include "tests/engine/PrivateDiskSupport.h"

#include <algorithm>
#include <functional>

namespace {

using TProfileMaker = std::function<std::unique_ptr<TVideoProfile>()>;

// The default profile of each of the eight formats.
std::vector<TProfileMaker> EveryFormat()
{
    return {
        [] { return std::make_unique<T3GPProfile>("3GP", ""); },
        [] { return std::make_unique<TAVIProfile>("AVI", ""); },
        [] { return std::make_unique<TMPEGProfile>("MPEG", ""); },
        [] { return std::make_unique<TMP4Profile>("MP4", ""); },
        [] { return std::make_unique<TWMVProfile>("WMV", ""); },
        [] { return std::make_unique<TRealProfile>("Real", ""); },
        [] { return std::make_unique<TMOVProfile>("MOV", ""); },
        [] { return std::make_unique<TFLVProfile>("FLV", ""); },
    };
}

class WmvRealConvert : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }
    void SetUp() override
    {
        InstallDirectShowProbe();
        // The job's short pauses then take no time.
        SetTickSource(&Clock);
        TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
        spec.Video[0].Width = 96;
        spec.Video[0].Height = 64;
        std::string error;
        Source = Clips.File("source.mp4");
        ASSERT_TRUE(MakeTestClip(Source, spec, &error)) << error;
    }
    void TearDown() override { SetTickSource(nullptr); }

    // A job on the source with the profile, writing next to the libraries, run to its end.
    std::unique_ptr<TConvertJob> Convert(std::unique_ptr<TVideoProfile> profile, bool disableAudio = false)
    {
        auto job = std::make_unique<TConvertJob>(Source);
        EXPECT_TRUE(job->AnalyseWithMode(1));
        job->OutputFile = Folder.File(job->Title + profile->Extension);
        job->DisableAudio = disableAudio;
        job->Title = "The Title";
        job->SetProfile(std::move(profile));
        job->Status = jsProcessing;
        job->Convert();
        return job;
    }

    // Makes the clip the next conversions read.
    void MakeSource(const std::string& name, const TTestClipSpec& spec)
    {
        std::string error;
        Source = Clips.File(name);
        ASSERT_TRUE(MakeTestClip(Source, spec, &error)) << error;
    }

    // Converts the source with the default profile of each of the eight formats, changed by `adjust` when given,
    // and hands each completed job to `check`.
    void ConvertInEveryFormat(const std::function<void(TConvertJob& job)>& check,
        const std::function<void(TVideoProfile& profile)>& adjust = nullptr)
    {
        TResourceFormScope form;
        for (const TProfileMaker& make : EveryFormat()) {
            std::unique_ptr<TVideoProfile> profile = make();
            SCOPED_TRACE(profile->Extension);
            if (adjust)
                adjust(*profile);
            auto job = Convert(std::move(profile));
            ASSERT_EQ(job->Status, jsCompleted) << job->GetNote();
            check(*job);
        }
    }

    TManualClock Clock;
    TTestFolder Clips;
    std::string Source;
    TLibraryFolder Folder { kSorvane, kTiberl };
};

TEST_F(WmvRealConvert, TheDefaultProfilesWriteFilesWithTheExpectedStreams)
{
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TVideoProfile>()> Profile;
        bool DisableAudio;
        const char* Container;
        const char* VideoCodec;
        int Width;
        int Height;
        const char* AudioCodec; // Null: no audio stream.
        int SampleRate;
        int Channels;
    };
    const auto wmv = [] { return std::make_unique<TWMVProfile>("WMV", ""); };
    const auto real = [] { return std::make_unique<TRealProfile>("Real", ""); };
    const Case kCases[] = {
        { "Windows Media", wmv, false, "asf", "wmv2", 320, 240, "wmav2", 44100, 2 },
        { "RealMedia", real, false, "rm", "rv20", 176, 144, "aac", 44100, 1 },
        { "Windows Media without audio", wmv, true, "asf", "wmv2", 320, 240, nullptr, 0, 0 },
        { "RealMedia without audio", real, true, "rm", "rv20", 176, 144, nullptr, 0, 0 },
    };
    TResourceFormScope form;
    ASSERT_NE(form->WM9EncoderDll, nullptr);
    ASSERT_NE(form->RealEncoderDll, nullptr);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        auto job = Convert(c.Profile(), c.DisableAudio);
        ASSERT_EQ(job->Status, jsCompleted);
        EXPECT_EQ(job->GetFrameCount(), 10);
        TProbedFile file;
        std::string error;
        ASSERT_TRUE(ProbeMediaFile(job->OutputFile, file, &error)) << error;
        EXPECT_EQ(file.Container, c.Container);
        EXPECT_EQ(file.Tags.count("title") ? file.Tags.at("title") : "", "The Title");
        const TProbedStream* video = file.FirstVideo();
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Codec, c.VideoCodec);
        EXPECT_EQ(video->Width, c.Width);
        EXPECT_EQ(video->Height, c.Height);
        EXPECT_NEAR(video->Duration, 1.0, 0.15);
        const TProbedStream* audio = file.FirstAudio();
        if (!c.AudioCodec) {
            EXPECT_EQ(audio, nullptr);
            continue;
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Codec, c.AudioCodec);
        EXPECT_EQ(audio->SampleRate, c.SampleRate);
        EXPECT_EQ(audio->Channels, c.Channels);
        EXPECT_NEAR(audio->Duration, 1.0, 0.15);
    }
}

// A source of one kind of stream gives a file of that stream alone in every format, with the source's length in
// its header: an empty second stream is unreadable in AVI and makes RealMedia claim an hour.
TEST_F(WmvRealConvert, SourcesWithoutAudioOrVideoGiveFilesOfTheirOneStream)
{
    struct OneKind {
        TTestClipKind Kind;
        bool Video;
        bool Audio;
    };
    const OneKind kSources[] = { { TTestClipKind::VideoOnly, true, false }, { TTestClipKind::AudioOnly, false, true } };
    const std::vector<TProfileMaker> kProfiles = EveryFormat();
    TResourceFormScope form;
    for (const OneKind& source : kSources) {
        std::string error;
        Source = Clips.File("one-kind" + std::to_string(int(source.Kind)) + TestClipExtension(source.Kind));
        ASSERT_TRUE(MakeTestClip(Source, TestClipSpec(source.Kind), &error)) << error;
        for (const auto& make : kProfiles) {
            std::unique_ptr<TVideoProfile> profile = make();
            SCOPED_TRACE(profile->Extension + (source.Video ? " from video only" : " from audio only"));
            auto job = Convert(std::move(profile));
            ASSERT_EQ(job->Status, jsCompleted) << job->GetNote();
            EXPECT_EQ(job->GetNote(), "");
            TProbedFile file;
            ASSERT_TRUE(ProbeMediaFile(job->OutputFile, file, &error)) << error;
            // A DVD stream's navigation packets are neither video nor audio and do not count.
            const auto media = std::count_if(file.Streams.begin(), file.Streams.end(),
                [](const TProbedStream& stream) { return stream.Video || stream.Audio; });
            EXPECT_EQ(media, 1);
            const TProbedStream* stream = source.Video ? file.FirstVideo() : file.FirstAudio();
            ASSERT_NE(stream, nullptr);
            EXPECT_NEAR(stream->Duration, 1.0, 0.15);
            EXPECT_NEAR(file.Duration, 1.0, 0.3);
        }
    }
}

// A library the program could not bind fails the run at the start; no file is made and nothing crashes.
TEST_F(WmvRealConvert, AFormatWithoutItsLibraryFailsTheJob)
{
    TLibraryFolder empty(nullptr, nullptr);
    TResourceFormScope form;
    ASSERT_EQ(form->WM9EncoderDll, nullptr);
    ASSERT_EQ(form->RealEncoderDll, nullptr);
    const std::function<std::unique_ptr<TVideoProfile>()> kProfiles[] = {
        [] { return std::make_unique<TWMVProfile>("WMV", ""); },
        [] { return std::make_unique<TRealProfile>("Real", ""); },
    };
    for (const auto& make : kProfiles) {
        std::unique_ptr<TVideoProfile> profile = make();
        SCOPED_TRACE(profile->Extension);
        auto job = Convert(std::move(profile));
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_FALSE(FileExists(job->OutputFile));
    }
}

// Camera and screen recordings often start their sound later than their picture. Every format keeps that gap:
// AVI and RealMedia cannot carry a start offset, so the writer starts their audio with silence.
TEST_F(WmvRealConvert, AudioThatStartsLateKeepsItsStartInEveryFormat)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 3.0;
    spec.Audio[0].StartAt = 1.5;
    MakeSource("late-audio.mp4", spec);
    ConvertInEveryFormat([](TConvertJob& job) {
        TProbedFile file;
        std::string error;
        ASSERT_TRUE(ProbeMediaFile(job.OutputFile, file, &error)) << error;
        const TProbedStream* video = file.FirstVideo();
        const TProbedStream* audio = file.FirstAudio();
        ASSERT_NE(video, nullptr);
        ASSERT_NE(audio, nullptr);
        EXPECT_NEAR(audio->SoundStart - video->Start, 1.5, 0.1);
    });
}

// A phone video recorded upright is stored sideways with a track matrix that turns it. Every format converts it
// the way it is shown: "same size as source" is the upright size, and the first frame has the picture's red
// band on top and its frame number readable at the bottom left.
TEST_F(WmvRealConvert, AVideoStoredTurnedConvertsUprightInEveryFormat)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    spec.Duration = 0.5;
    spec.Video[0].Width = 1280;
    spec.Video[0].Height = 720;
    spec.Video[0].Rotation = 90;
    MakeSource("turned.mp4", spec);
    // 0 stands for the source's size.
    const auto sameSizeAsSource = [](TVideoProfile& profile) {
        *std::get<int32_t*>(FieldSlot(profile, "Width")) = 0;
        *std::get<int32_t*>(FieldSlot(profile, "Height")) = 0;
    };
    ConvertInEveryFormat(
        [](TConvertJob& job) {
            EXPECT_EQ(job.VideoInfo.GetVideoStream(0).Width, 720);
            EXPECT_EQ(job.VideoInfo.GetVideoStream(0).Height, 1280);
            TProbedPicture picture;
            std::string error;
            ASSERT_TRUE(DecodeFirstPicture(job.OutputFile, picture, &error)) << error;
            ASSERT_EQ(picture.Width, 720);
            ASSERT_EQ(picture.Height, 1280);
            for (const int x : { 4, 360, 715 })
                EXPECT_NEAR(picture.Y(x, 3), kTestRedY, 16) << "top row at " << x;
            EXPECT_NEAR(picture.Y(4, 640), kTestGreyY, 16);
            EXPECT_NEAR(picture.Y(715, 640), kTestGreyY, 16);
            EXPECT_EQ(ReadTestPictureNumber(picture.Planes.data(), picture.Width, picture.Width, picture.Height), 0);
        },
        sameSizeAsSource);
}

// A disk that fills up during a conversion is named as the cause, never the profile's settings, and the unfinished
// file goes.
TEST_F(WmvRealConvert, AFullDiskFailsTheRunWithANoteThatSaysSo)
{
    TPrivateDisk disk;
    std::string why;
    const std::string folder = Clips.File("small-disk");
    if (!disk.Mount(folder, why) || !disk.FillUp(why))
        GTEST_SKIP() << "needs a tmpfs of its own (" << why << ")";
    TResourceFormScope form;
    for (const TProfileMaker& make : EveryFormat()) {
        std::unique_ptr<TVideoProfile> profile = make();
        SCOPED_TRACE(profile->Extension);
        auto job = std::make_unique<TConvertJob>(Source);
        ASSERT_TRUE(job->AnalyseWithMode(1));
        job->OutputFile = folder + "/out" + profile->Extension;
        job->SetProfile(std::move(profile));
        job->Status = jsProcessing;
        job->Convert();
        EXPECT_EQ(job->Status, jsFailed);
        EXPECT_EQ(job->GetNote().rfind("The disk is full: " + job->OutputFile, 0), 0u) << job->GetNote();
        EXPECT_NE(job->GetNote().find("No space left on device"), std::string::npos) << job->GetNote();
        EXPECT_FALSE(PathExists(job->OutputFile));
    }
}

} // namespace
