// The Windows Media encoder library through its exported entry points: its lists, its runs read back as ASF files,
// and the calls it refuses or tolerates.
#include "codecs/sorvane/Sorvane.h"

#include "tests/codecs/EncoderLibraryTestSupport.h"

#include <functional>

namespace {

class Sorvane : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }
    void SetUp() override { ASSERT_EQ(WMV_Init(), 1); }
    void TearDown() override { WMV_Uninit(); }

    // A fresh library: every setting back to its default.
    static void Restart()
    {
        WMV_Uninit();
        ASSERT_EQ(WMV_Init(), 1);
    }
    static void SetInput(const TFeed& feed, bool hasAudio = true)
    {
        WMV_SetInputParms(1, hasAudio ? 1 : 0, feed.Width, feed.Height, feed.FrameRate, 5, feed.SampleRate,
            std::max(feed.Channels, 1));
    }
    static bool Feed(const TFeed& feed)
    {
        return FeedRun(
            feed, [](const void* frame, double start, double) { return WMV_EncodeVideoSample(frame, start) != 0; },
            [](const void* samples, int32_t byteCount, double start, double) {
                return WMV_EncodeAudioSample(samples, byteCount, start) != 0;
            });
    }

    TTestFolder Folder;
};

TEST_F(Sorvane, EntryPointsDoNothingBeforeInitAndAfterUninit)
{
    WMV_Uninit();
    TNameBuffer name;
    WMV_GetAudioCodecName(0, name.Bytes);
    EXPECT_EQ(name.Text(), "");
    EXPECT_EQ(WMV_GetAudioCodecCount(), 0);
    EXPECT_EQ(WMV_SetupDestinationFile(Folder.File("a.wmv").c_str()), 0);
    EXPECT_EQ(WMV_BeginEncoding(), 0);
    EXPECT_EQ(WMV_EndEncoding(), 0);
    EXPECT_EQ(WMV_Uninit(), 0);

    // A second WMV_Init keeps what the first one set up.
    ASSERT_EQ(WMV_Init(), 1);
    WMV_SetVideoUseVBR(1);
    ASSERT_EQ(WMV_Init(), 1);
    EXPECT_EQ(WMV_GetVideoIsVBR(), 1);
}

TEST_F(Sorvane, ListsHoldTheNamesTheEngineLooksFor)
{
    const auto name = [](const std::function<void(char*)>& get) {
        TNameBuffer buffer;
        get(buffer.Bytes);
        return buffer.Text();
    };
    ASSERT_EQ(WMV_GetAudioCodecCount(), 1);
    EXPECT_EQ(name([](char* b) { WMV_GetAudioCodecName(0, b); }), "Windows Media Audio 9.2");
    ASSERT_EQ(WMV_GetVideoCodecCount(), 2);
    EXPECT_EQ(name([](char* b) { WMV_GetVideoCodecName(0, b); }), "Windows Media Video 8");
    EXPECT_EQ(name([](char* b) { WMV_GetVideoCodecName(1, b); }), "Windows Media Video 7");
    EXPECT_GT(WMV_GetUseSystemProfileCount(), 0);
    for (int32_t i = 0; i < WMV_GetUseSystemProfileCount(); ++i)
        EXPECT_NE(name([&](char* b) { WMV_GetUseSystemProfileName(i, b); }), "");

    // Outside the lists: empty names and no formats.
    EXPECT_EQ(name([](char* b) { WMV_GetAudioCodecName(1, b); }), "");
    EXPECT_EQ(name([](char* b) { WMV_GetVideoCodecName(-1, b); }), "");
    EXPECT_EQ(name([](char* b) { WMV_GetAudioFormat(0, 999, b); }), "");
    EXPECT_EQ(WMV_GetAudioFormatCount(1), 0);
    WMV_GetAudioCodecName(0, nullptr);
}

// Every format the library lists is one its encoder writes, at the rate and channels its name says.
TEST_F(Sorvane, EveryAudioFormatEncodes)
{
    struct Case {
        const char* Name;
        int SampleRate;
        int Channels;
    };
    const Case kCases[] = {
        { "192 kbps, 48 kHz, stereo CBR", 48000, 2 },
        { "160 kbps, 48 kHz, stereo CBR", 48000, 2 },
        { "128 kbps, 48 kHz, stereo CBR", 48000, 2 },
        { "192 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "160 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "128 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "96 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "80 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "64 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "48 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "48 kbps, 32 kHz, stereo CBR", 32000, 2 },
        { "40 kbps, 32 kHz, stereo CBR", 32000, 2 },
        { "32 kbps, 44 kHz, stereo CBR", 44100, 2 },
        { "32 kbps, 32 kHz, stereo CBR", 32000, 2 },
        { "32 kbps, 22 kHz, mono CBR", 22050, 1 },
        { "24 kbps, 22 kHz, mono CBR", 22050, 1 },
    };
    ASSERT_EQ(WMV_GetAudioFormatCount(0), int32_t(std::size(kCases)));
    TFeed feed;
    feed.Seconds = 0.3;
    for (int32_t i = 0; i < int32_t(std::size(kCases)); ++i) {
        const Case& c = kCases[i];
        SCOPED_TRACE(c.Name);
        TNameBuffer name;
        WMV_GetAudioFormat(0, i, name.Bytes);
        EXPECT_EQ(name.Text(), c.Name);

        const std::string path = Folder.File("format" + std::to_string(i) + ".wmv");
        SetInput(feed);
        WMV_SetAudioCodecAndFormat(0, i);
        ASSERT_EQ(WMV_SetupDestinationFile(path.c_str()), 1);
        ASSERT_EQ(WMV_BeginEncoding(), 1);
        EXPECT_TRUE(Feed(feed));
        ASSERT_EQ(WMV_EndEncoding(), 1);
        const TProbedFile file = ReadBackFile(path);
        const TProbedStream* audio = file.FirstAudio();
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Codec, "wmav2");
        EXPECT_EQ(audio->SampleRate, c.SampleRate);
        EXPECT_EQ(audio->Channels, c.Channels);
    }
}

TEST_F(Sorvane, ARunWritesAsfWithTheChosenCodecsSizeAndRate)
{
    struct Case {
        const char* Name;
        std::function<void()> Settings;
        bool HasAudio;
        const char* VideoCodec;
        int Width;
        int Height;
        int Packets; // Video frames coded in the second fed.
        int SampleRate; // 0: no audio stream.
        int Channels;
    };
    const Case kCases[] = {
        { "the input as it comes", [] {}, true, "wmv2", 64, 48, 10, 44100, 2 },
        { "version 7 at 25 fps and 96 x 72",
            [] {
                WMV_SetVideoCodec(1);
                WMV_SetVideoFPS(25.0);
                WMV_SetVideoWidth(96);
                WMV_SetVideoHeight(72);
            },
            true, "wmv1", 96, 72, 25, 44100, 2 },
        { "an odd size loses its last pixel",
            [] {
                WMV_SetVideoWidth(99);
                WMV_SetVideoHeight(75);
            },
            true, "wmv2", 98, 74, 10, 44100, 2 },
        { "a system profile replaces the custom settings", [] { WMV_SetUseSystemProfile(1, 0); }, true, "wmv2", 176,
            144, 15, 22050, 1 },
        { "constant quality",
            [] {
                WMV_SetVideoUseVBR(1);
                WMV_SetVideoVBRMode(1);
                WMV_SetVideoVBRQuality(50);
            },
            true, "wmv2", 64, 48, 10, 44100, 2 },
        { "a bit rate with a peak",
            [] {
                WMV_SetVideoUseVBR(1);
                WMV_SetVideoVBRMode(2);
                WMV_SetVideoBitrate(300000);
                WMV_SetVideoVBRMaxBitrate(600000);
                WMV_SetVideoVBRMaxBuffer(2000);
            },
            true, "wmv2", 64, 48, 10, 44100, 2 },
        { "audio switched off takes the blocks and drops them", [] {}, false, "wmv2", 64, 48, 10, 0, 0 },
    };
    const TFeed feed;
    int run = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Restart();
        const std::string path = Folder.File("run" + std::to_string(run++) + ".wmv");
        SetInput(feed, c.HasAudio);
        WMV_SetupDestinationFile(path.c_str());
        WMV_SetVideoTag("The Title", "The Author", "The Copyright", "The Description", "");
        c.Settings();
        ASSERT_EQ(WMV_BeginEncoding(), 1);
        EXPECT_TRUE(Feed(feed));
        ASSERT_EQ(WMV_EndEncoding(), 1);
        EXPECT_EQ(uint32_t(WMV_GetOutputSize()), uint64_t(FileSizeOf(path)));

        const TProbedFile file = ReadBackFile(path);
        EXPECT_EQ(file.Container, "asf");
        const TProbedStream* video = file.FirstVideo();
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Codec, c.VideoCodec);
        EXPECT_EQ(video->Width, c.Width);
        EXPECT_EQ(video->Height, c.Height);
        EXPECT_NEAR(video->Packets, c.Packets, 1);
        EXPECT_EQ(file.Tags.count("title") ? file.Tags.at("title") : "", "The Title");
        EXPECT_EQ(file.Tags.count("copyright") ? file.Tags.at("copyright") : "", "The Copyright");
        const TProbedStream* audio = file.FirstAudio();
        if (c.SampleRate == 0) {
            EXPECT_EQ(audio, nullptr);
            continue;
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->SampleRate, c.SampleRate);
        EXPECT_EQ(audio->Channels, c.Channels);
        EXPECT_NEAR(audio->Duration, feed.Seconds, 0.15);
    }
}

// The engine ends encoding when its object goes, whether or not encoding began or already ended.
TEST_F(Sorvane, EndEncodingIsHarmlessAtAnyTime)
{
    EXPECT_EQ(WMV_EndEncoding(), 1);

    const TFeed feed;
    const std::string path = Folder.File("ended.wmv");
    SetInput(feed);
    WMV_SetupDestinationFile(path.c_str());
    ASSERT_EQ(WMV_BeginEncoding(), 1);
    // A second run cannot begin over the first, which goes on.
    EXPECT_EQ(WMV_BeginEncoding(), 0);
    EXPECT_TRUE(Feed(feed));
    EXPECT_EQ(WMV_EndEncoding(), 1);
    const uint32_t size = uint32_t(WMV_GetOutputSize());
    EXPECT_EQ(WMV_EndEncoding(), 1);
    EXPECT_EQ(uint32_t(WMV_GetOutputSize()), size);
    EXPECT_EQ(WMV_EncodeVideoSample(TestYuvFrame(64, 48, 0).data(), 2.0), 0);
    EXPECT_NEAR(ReadBackFile(path).FirstVideo()->Duration, 1.0, 0.15);

    // Uninitialising the library in the middle of a run finishes its file.
    const std::string unfinished = Folder.File("uninit.wmv");
    WMV_SetupDestinationFile(unfinished.c_str());
    ASSERT_EQ(WMV_BeginEncoding(), 1);
    EXPECT_TRUE(Feed(feed));
    WMV_Uninit();
    const TProbedFile file = ReadBackFile(unfinished);
    ASSERT_NE(file.FirstVideo(), nullptr);
    EXPECT_NEAR(file.FirstVideo()->Duration, 1.0, 0.15);
}

TEST_F(Sorvane, RefusedRunsLeaveNoFile)
{
    struct Case {
        const char* Name;
        std::function<void(const std::string& path)> Spoil;
    };
    const Case kCases[] = {
        { "no destination", [](const std::string&) { EXPECT_EQ(WMV_SetupDestinationFile(""), 0); } },
        { "a folder that does not exist",
            [](const std::string& path) { WMV_SetupDestinationFile((path + ".missing/out.wmv").c_str()); } },
        { "neither video nor audio", [](const std::string&) { WMV_SetInputParms(0, 0, 64, 48, 10.0, 5, 44100, 2); } },
        { "an unknown colour code", [](const std::string&) { WMV_SetInputParms(1, 1, 64, 48, 10.0, 2, 44100, 2); } },
        { "no frame rate anywhere", [](const std::string&) { WMV_SetInputParms(1, 1, 64, 48, 0.0, 5, 44100, 2); } },
        { "a bad sample rate", [](const std::string&) { WMV_SetInputParms(1, 1, 64, 48, 10.0, 5, 0, 2); } },
        { "uncompressed video", [](const std::string&) { WMV_SetVideoUseUncompressed(1); } },
        { "uncompressed audio", [](const std::string&) { WMV_SetAudioUseUncompressed(1); } },
        { "an unknown video codec", [](const std::string&) { WMV_SetVideoCodec(2); } },
        { "an unknown audio codec", [](const std::string&) { WMV_SetAudioCodecAndFormat(1, 0); } },
        { "an unknown audio format", [](const std::string&) { WMV_SetAudioCodecAndFormat(0, 99); } },
        { "an unknown system profile", [](const std::string&) { WMV_SetUseSystemProfile(1, 99); } },
        { "no bit rate", [](const std::string&) { WMV_SetVideoBitrate(0); } },
    };
    const TFeed feed;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Restart();
        const std::string path = Folder.File("refused.wmv");
        SetInput(feed);
        WMV_SetupDestinationFile(path.c_str());
        c.Spoil(path);
        EXPECT_EQ(WMV_BeginEncoding(), 0);
        EXPECT_EQ(FileSizeOf(path), -1);
        EXPECT_EQ(WMV_EncodeVideoSample(TestYuvFrame(64, 48, 0).data(), 0.0), 0);
        EXPECT_EQ(WMV_EndEncoding(), 1);
    }
}

} // namespace
