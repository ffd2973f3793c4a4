// TVideoInfoReader: the built-in probe over real clips, the DirectShow probe through a fake hook, the order of
// attempts that the decoder-mode table gives, and inputs that no decoder opens.
#include "engine/TVideoInfoReader.h"

#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/TDecoderModeMap.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace {

std::string MakeClip(const TTestFolder& folder, const std::string& name, const TTestClipSpec& spec)
{
    const std::string path = folder.File(name);
    std::string error;
    EXPECT_TRUE(MakeTestClip(path, spec, &error)) << name << ": " << error;
    return path;
}

std::string MakeClip(const TTestFolder& folder, TTestClipKind kind)
{
    return MakeClip(folder, "clip" + std::to_string(int(kind)) + TestClipExtension(kind), TestClipSpec(kind));
}

// A DirectShow library stand-in: counts its probes and answers each with `Answer`, opened or not.
struct TFakeDirectShow {
    static inline int Calls = 0;
    static inline bool Opens = true;
    static inline TDirectShowProbeInfo Answer;

    static bool Probe(const std::string&, TDirectShowProbeInfo& info)
    {
        ++Calls;
        if (!Opens)
            return false;
        info = Answer;
        return true;
    }
};

// What the fake reports for a file it opens: 320 x 240 video and mono sound, unlike every test clip.
TDirectShowProbeInfo FakeAnswer(bool hasVideo = true)
{
    TDirectShowProbeInfo info;
    info.Opened = true;
    info.Duration = 5.0;
    info.HasVideo = hasVideo;
    info.Width = hasVideo ? 320 : 0;
    info.Height = hasVideo ? 240 : 0;
    info.FrameRate = hasVideo ? 25.0 : 0.0;
    info.ColorFormat = 5;
    info.HasAudio = true;
    info.SampleRate = 8000;
    info.Channels = 1;
    return info;
}

// Each test gets a fresh global decoder-mode table and the fake DirectShow probe, both removed afterwards.
class TVideoInfoReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateGlobalDecoderModeMap();
        TFakeDirectShow::Calls = 0;
        TFakeDirectShow::Opens = true;
        TFakeDirectShow::Answer = FakeAnswer();
        SetDirectShowProbeHook(&TFakeDirectShow::Probe);
    }
    void TearDown() override
    {
        SetDirectShowProbeHook(nullptr);
        DestroyGlobalDecoderModeMap();
    }

    void SetMode(const char* extension, DecoderMode mode)
    {
        GlobalDecoderModeMap->SetItem(TDecoderModeMapItem { extension, "", mode });
    }

    TTestFolder Folder;
};

} // namespace

TEST_F(TVideoInfoReaderTest, BuiltInProbeReportsEveryStreamOfEachContainer)
{
    struct VideoRecord {
        const char* Codec;
        int Width;
        int Height;
        int AspectX;
        int AspectY;
        double FrameRate;
    };
    struct AudioRecord {
        const char* Codec;
        int SampleRate;
        int Channels;
    };
    struct Case {
        const char* Name;
        TTestClipSpec Spec;
        std::vector<VideoRecord> Video;
        std::vector<AudioRecord> Audio;
    };
    TTestClipSpec threeAudio = TestClipSpec(TTestClipKind::AviMpeg4Mp3);
    threeAudio.Container = "matroska";
    threeAudio.Audio[0].Codec = "aac";
    threeAudio.Audio.push_back({ "mp2", 32000, 1 });
    threeAudio.Audio.push_back({ "aac", 48000, 6 });
    const Case kCases[] = {
        { "clip.mp4", TestClipSpec(TTestClipKind::Mp4H264Aac), { { "h264", 64, 48, 4, 3, 10.0 } },
            { { "aac", 44100, 2 } } },
        { "clip.avi", TestClipSpec(TTestClipKind::AviMpeg4Mp3), { { "mpeg4", 64, 48, 4, 3, 10.0 } },
            { { "mp3", 44100, 2 } } },
        { "clip.mkv", TestClipSpec(TTestClipKind::MkvTwoVideoTwoAudio),
            { { "mpeg4", 64, 48, 4, 3, 10.0 }, { "mpeg4", 96, 64, 3, 2, 15.0 } },
            { { "aac", 44100, 2 }, { "aac", 22050, 1 } } },
        { "three.mkv", threeAudio, { { "mpeg4", 64, 48, 4, 3, 10.0 } },
            { { "aac", 44100, 2 }, { "mp2", 32000, 1 }, { "aac", 48000, 6 } } },
        { "clip.wmv", TestClipSpec(TTestClipKind::Wmv), { { "wmv2", 64, 48, 0, 1, 10.0 } }, { { "wmav2", 44100, 2 } } },
        { "clip.flv", TestClipSpec(TTestClipKind::Flv), { { "flv1", 64, 48, 0, 1, 10.0 } }, { { "mp3", 44100, 2 } } },
        { "clip.mpg", TestClipSpec(TTestClipKind::MpegProgram), { { "mpeg1video", 64, 48, 4, 3, 25.0 } },
            { { "mp2", 44100, 2 } } },
        { "video.mp4", TestClipSpec(TTestClipKind::VideoOnly), { { "mpeg4", 64, 48, 4, 3, 10.0 } }, {} },
        { "audio.mp3", TestClipSpec(TTestClipKind::AudioOnly), {}, { { "mp3", 44100, 2 } } },
    };
    for (const Case& expected : kCases) {
        SCOPED_TRACE(expected.Name);
        TVideoInfoReader reader(MakeClip(Folder, expected.Name, expected.Spec));
        ASSERT_TRUE(reader.Probe());
        EXPECT_TRUE(reader.IsOpened());
        EXPECT_EQ(reader.GetDecoderKind(), 1);
        EXPECT_EQ(TFakeDirectShow::Calls, 0); // Mode 0 tries the built-in decoder first.
        EXPECT_NEAR(reader.GetDuration(), 1.0, 0.12);
        EXPECT_EQ(reader.GetColorFormat(), 5);
        EXPECT_EQ(reader.HasVideo(), !expected.Video.empty());
        EXPECT_EQ(reader.HasAudio(), !expected.Audio.empty());
        ASSERT_EQ(reader.GetVideoStreamCount(), int(expected.Video.size()));
        ASSERT_EQ(reader.GetAudioStreamCount(), int(expected.Audio.size()));
        for (size_t i = 0; i < expected.Video.size(); ++i) {
            const VideoStreamInfo& video = reader.GetVideoStream(int32_t(i));
            EXPECT_STREQ(video.CodecName, expected.Video[i].Codec);
            EXPECT_EQ(video.Width, expected.Video[i].Width);
            EXPECT_EQ(video.Height, expected.Video[i].Height);
            EXPECT_EQ(video.AspectX, expected.Video[i].AspectX);
            EXPECT_EQ(video.AspectY, expected.Video[i].AspectY);
            EXPECT_NEAR(video.FrameRate, expected.Video[i].FrameRate, 1e-3);
        }
        for (size_t i = 0; i < expected.Audio.size(); ++i) {
            const AudioStreamInfo& audio = reader.GetAudioStream(int32_t(i));
            EXPECT_STREQ(audio.CodecName, expected.Audio[i].Codec);
            EXPECT_EQ(audio.SampleRate, expected.Audio[i].SampleRate);
            EXPECT_EQ(audio.Channels, expected.Audio[i].Channels);
        }
    }
}

TEST_F(TVideoInfoReaderTest, ProbeOrderFollowsTheModeOfTheExtension)
{
    // A real clip opens with the built-in decoder, a text file does not; the fake DirectShow decoder opens
    // whatever it is asked to (or nothing). Who opened the file shows in the kind and in the fields: the fake
    // reports 320 x 240 without a codec name, the clip 64 x 48 "mpeg4".
    struct Case {
        DecoderMode Mode;
        bool BuiltInOpens;
        bool DirectShowOpens;
        int DirectShowCalls;
        bool Opened;
        int Kind;
    };
    const Case kCases[] = {
        { dmBuiltInThenDirectShow, true, true, 0, true, 1 }, { dmBuiltInThenDirectShow, false, true, 1, true, 0 },
        { dmBuiltInThenDirectShow, false, false, 1, false, 1 }, { dmDirectShowThenBuiltIn, true, true, 1, true, 0 },
        { dmDirectShowThenBuiltIn, true, false, 1, true, 1 }, { dmDirectShowThenBuiltIn, false, false, 1, false, 1 },
        { dmBuiltInOnly, true, true, 0, true, 1 },
        { dmBuiltInOnly, false, true, 0, false, 1 }, // DirectShow could open it, but may not try.
        { dmDirectShowOnly, true, true, 1, true, 0 },
        { dmDirectShowOnly, true, false, 1, false, 1 }, // The built-in decoder could open it, but may not try.
        { DecoderMode(7), true, true, 0, false, 1 }, // A mode the table should never hold tries nothing.
    };
    const std::string clip = MakeClip(Folder, "clip.avi", TestClipSpec(TTestClipKind::VideoOnly));
    const std::string text = Folder.File("notes.avi");
    WriteTextFile(text, "Not a video.\n");
    for (const Case& order : kCases) {
        SCOPED_TRACE("mode " + std::to_string(int(order.Mode)) + (order.BuiltInOpens ? ", clip" : ", text")
            + (order.DirectShowOpens ? ", DirectShow opens" : ", DirectShow fails"));
        SetMode(".avi", order.Mode);
        TFakeDirectShow::Calls = 0;
        TFakeDirectShow::Opens = order.DirectShowOpens;
        TVideoInfoReader reader(order.BuiltInOpens ? clip : text);

        EXPECT_EQ(reader.Probe(), order.Opened);
        EXPECT_EQ(reader.IsOpened(), order.Opened);
        EXPECT_EQ(TFakeDirectShow::Calls, order.DirectShowCalls);
        EXPECT_EQ(reader.GetDecoderKind(), order.Kind);
        if (order.Opened) {
            EXPECT_EQ(reader.GetVideoStream(0).Width, order.Kind == 0 ? 320 : 64);
        } else {
            EXPECT_EQ(reader.GetVideoStreamCount(), 0);
            EXPECT_EQ(reader.GetAudioStreamCount(), 0);
        }
    }
}

TEST_F(TVideoInfoReaderTest, ExtensionIsLookedUpLowerCasedAndWithoutOneTheDefaultHolds)
{
    struct Case {
        const char* Name;
        int DirectShowCalls;
    };
    // ".mkv" and the default are DirectShow only; ".mp4" is built-in only.
    const Case kCases[] = {
        { "CLIP.MP4", 0 },
        { "clip.Mp4", 0 },
        { "clip.mkv.mp4", 0 },
        { "clip", 1 },
        { "clip.mp4.mkv", 1 },
        { "clip.webm", 1 },
    };
    SetMode(".mp4", dmBuiltInOnly);
    SetMode(".mkv", dmDirectShowOnly);
    GlobalDecoderModeMap->SetDefaultMode(dmDirectShowOnly);
    const TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    for (const Case& file : kCases) {
        SCOPED_TRACE(file.Name);
        TFakeDirectShow::Calls = 0;
        TVideoInfoReader reader(MakeClip(Folder, file.Name, spec));
        EXPECT_TRUE(reader.Probe());
        EXPECT_EQ(TFakeDirectShow::Calls, file.DirectShowCalls);
        EXPECT_EQ(reader.GetDecoderKind(), file.DirectShowCalls == 1 ? 0 : 1);
    }
}

TEST_F(TVideoInfoReaderTest, DirectShowProbeGivesOneStreamOfEachKindAndNoStaleFields)
{
    const std::string path = MakeClip(Folder, TTestClipKind::MkvTwoVideoTwoAudio);
    TVideoInfoReader reader(path);
    ASSERT_TRUE(reader.ProbeWithBuiltIn());
    ASSERT_EQ(reader.GetVideoStreamCount(), 2);
    ASSERT_EQ(reader.GetAudioStreamCount(), 2);

    // With video and audio: exactly one stream of each, no codec names, aspect 0:1.
    ASSERT_TRUE(reader.ProbeWithDirectShow());
    EXPECT_EQ(reader.GetVideoStreamCount(), 1);
    EXPECT_EQ(reader.GetAudioStreamCount(), 1);
    EXPECT_DOUBLE_EQ(reader.GetDuration(), 5.0);
    const VideoStreamInfo& video = reader.GetVideoStream(0);
    EXPECT_STREQ(video.CodecName, "");
    EXPECT_EQ(video.Width, 320);
    EXPECT_EQ(video.Height, 240);
    EXPECT_EQ(video.AspectX, 0);
    EXPECT_EQ(video.AspectY, 1);
    EXPECT_DOUBLE_EQ(video.FrameRate, 25.0);
    EXPECT_STREQ(reader.GetAudioStream(0).CodecName, "");
    EXPECT_EQ(reader.GetAudioStream(0).SampleRate, 8000);
    EXPECT_EQ(reader.GetAudioStream(0).Channels, 1);
    // The second records of the built-in probe are gone.
    EXPECT_EQ(reader.GetVideoStream(1).Width, 0);
    EXPECT_EQ(reader.GetAudioStream(1).SampleRate, 0);

    // Audio only: no video is left over, and the duration is still taken.
    TFakeDirectShow::Answer = FakeAnswer(false);
    TFakeDirectShow::Answer.Duration = 7.5;
    ASSERT_TRUE(reader.ProbeWithDirectShow());
    EXPECT_FALSE(reader.HasVideo());
    EXPECT_EQ(reader.GetVideoStream(0).Width, 0);
    EXPECT_TRUE(reader.HasAudio());
    EXPECT_DOUBLE_EQ(reader.GetDuration(), 7.5);

    // A failed attempt leaves nothing that looks opened, and no library at all fails the same way.
    TFakeDirectShow::Opens = false;
    EXPECT_FALSE(reader.ProbeWithDirectShow());
    EXPECT_FALSE(reader.IsOpened());
    EXPECT_FALSE(reader.HasAudio());
    EXPECT_EQ(reader.GetDuration(), 0.0);
    SetDirectShowProbeHook(nullptr);
    ASSERT_TRUE(reader.ProbeWithBuiltIn());
    EXPECT_FALSE(reader.ProbeWithDirectShow());
    EXPECT_FALSE(reader.IsOpened());

    // A stream choice with nothing selected (-1) or past the table reads as an empty record.
    EXPECT_EQ(reader.GetVideoStream(-1).Width, 0);
    EXPECT_EQ(reader.GetAudioStream(16).SampleRate, 0);
}

TEST_F(TVideoInfoReaderTest, ProbeWithModeKeepsAKnownResultOrProbesAgain)
{
    const TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    const std::string path = MakeClip(Folder, "video.mp4", spec);
    TVideoInfoReader reader(path);
    ASSERT_TRUE(reader.ProbeWithMode(1));
    EXPECT_EQ(reader.GetDecoderKind(), 1);
    EXPECT_EQ(TFakeDirectShow::Calls, 0);

    // Already opened by that kind: true without asking any library, as the file's removal shows.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_TRUE(reader.ProbeWithMode(1));
    EXPECT_EQ(reader.GetVideoStream(0).Width, 64);
    EXPECT_EQ(TFakeDirectShow::Calls, 0);

    // Another kind probes with it first.
    EXPECT_TRUE(reader.ProbeWithMode(0));
    EXPECT_EQ(reader.GetDecoderKind(), 0);
    EXPECT_EQ(reader.GetVideoStream(0).Width, 320);
    EXPECT_EQ(TFakeDirectShow::Calls, 1);

    MakeClip(Folder, "video.mp4", spec);
    TFakeDirectShow::Opens = false;
    TFakeDirectShow::Calls = 0;
    EXPECT_TRUE(reader.ProbeWithMode(1));
    EXPECT_EQ(reader.GetDecoderKind(), 1);
    EXPECT_EQ(TFakeDirectShow::Calls, 0);

    // When that kind fails, the table's order decides: mode 0 tries the built-in decoder, then DirectShow.
    EXPECT_TRUE(reader.ProbeWithMode(0));
    EXPECT_EQ(reader.GetDecoderKind(), 1);
    EXPECT_EQ(reader.GetVideoStream(0).Width, 64);
    EXPECT_EQ(TFakeDirectShow::Calls, 1);

    // And when nothing opens the file, the result is false.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    TFakeDirectShow::Calls = 0;
    EXPECT_FALSE(reader.ProbeWithMode(0));
    EXPECT_FALSE(reader.IsOpened());
    EXPECT_EQ(TFakeDirectShow::Calls, 2);
}

TEST_F(TVideoInfoReaderTest, BadInputIsReportedUnopenedOrReadAsFarAsItGoes)
{
    struct Case {
        const char* Name;
        std::function<std::string(const TTestFolder&)> Make;
        bool Opens;
    };
    const Case kCases[] = {
        { "missing file", [](const TTestFolder& folder) { return folder.File("missing.avi"); }, false },
        { "empty file",
            [](const TTestFolder& folder) {
                WriteTextFile(folder.File("empty.avi"), "");
                return folder.File("empty.avi");
            },
            false },
        { "text renamed .avi",
            [](const TTestFolder& folder) {
                WriteTextFile(folder.File("notes.avi"), "Not a video at all.\nJust two lines of text.\n");
                return folder.File("notes.avi");
            },
            false },
        { "folder",
            [](const TTestFolder& folder) {
                mkdir(folder.File("clips.avi").c_str(), 0700);
                return folder.File("clips.avi");
            },
            false },
        { "empty name", [](const TTestFolder&) { return std::string(); }, false },
        // MP4 keeps its index at the end, so a cut MP4 cannot be opened at all.
        { "truncated mp4",
            [](const TTestFolder& folder) {
                const std::string path = MakeClip(folder, TTestClipKind::Mp4H264Aac);
                EXPECT_TRUE(TruncateFile(path, 0.6));
                return path;
            },
            false },
        { "truncated avi",
            [](const TTestFolder& folder) {
                const std::string path = MakeClip(folder, TTestClipKind::AviMpeg4Mp3);
                EXPECT_TRUE(TruncateFile(path, 0.6));
                return path;
            },
            true },
        { "corrupted middle",
            [](const TTestFolder& folder) {
                const std::string path = MakeClip(folder, TTestClipKind::Mp4H264Aac);
                EXPECT_TRUE(CorruptFileMiddle(path, 0.2));
                return path;
            },
            true },
    };
    // No decoder but the built-in one opens anything here.
    TFakeDirectShow::Opens = false;
    for (const Case& bad : kCases) {
        SCOPED_TRACE(bad.Name);
        TTestFolder folder;
        TVideoInfoReader reader(bad.Make(folder));
        EXPECT_EQ(reader.Probe(), bad.Opens);
        EXPECT_EQ(reader.IsOpened(), bad.Opens);
        if (bad.Opens) {
            EXPECT_TRUE(reader.HasVideo());
            EXPECT_EQ(reader.GetVideoStream(0).Width, 64);
        } else {
            EXPECT_EQ(reader.GetVideoStreamCount(), 0);
            EXPECT_EQ(reader.GetAudioStreamCount(), 0);
        }
    }
}
