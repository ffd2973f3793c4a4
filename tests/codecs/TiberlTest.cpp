// The RealMedia encoder library through its exported entry points: handles, lists, the manual-settings block, and
// runs read back as RealMedia files.
#include "codecs/tiberl/Tiberl.h"

#include "tests/codecs/EncoderLibraryTestSupport.h"

#include <functional>
#include <set>

namespace {

// A handle of the library for the scope's lifetime.
class THandle {
public:
    THandle()
        : Value(Real_CreateEncoderHandle())
    {
    }
    ~THandle() { Real_FreeEncoderHandle(Value); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;

    RealEncoderHandle Value;
};

class Tiberl : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }

    static void SetInput(RealEncoderHandle handle, const TFeed& feed, bool hasAudio = true)
    {
        ASSERT_EQ(Real_SetInputParms(handle, 1, hasAudio ? 1 : 0, feed.Width, feed.Height, feed.FrameRate, 5,
                      feed.SampleRate, std::max(feed.Channels, 1)),
            1);
    }
    static bool Feed(RealEncoderHandle handle, const TFeed& feed)
    {
        return FeedRun(
            feed,
            [&](const void* frame, double start, double end) {
                return Real_EncodeVideoSample(handle, frame, start, end) != 0;
            },
            [&](const void* samples, int32_t byteCount, double start, double end) {
                return Real_EncodeAudioSample(handle, samples, byteCount, start, end) != 0;
            });
    }
    static std::string CodecName(RealEncoderHandle handle, int32_t index)
    {
        TNameBuffer name;
        Real_GetAudioCodecName(handle, index, name.Bytes);
        return name.Text();
    }
    // The block the engine sends for its default profile.
    static RealManualSettings DefaultBlock()
    {
        RealManualSettings block {};
        block.VideoCodec = 2;
        block.NoiseFilter = 2;
        block.FrameRate = 15.0;
        block.AverageKbps = 120;
        block.MaxKbps = 120;
        block.TargetKbps = 120;
        block.Quality = 90;
        block.AudioCodec = 2;
        block.MaxStartupLatency = 4.0;
        block.MaxKeyframeInterval = 10.0;
        block.Flags[0] = block.Flags[1] = 1;
        return block;
    }

    TTestFolder Folder;
};

TEST_F(Tiberl, HandlesAreDistinctAndAFreedOneIsRefused)
{
    std::set<RealEncoderHandle> handles;
    for (int i = 0; i < 3; ++i) {
        const RealEncoderHandle handle = Real_CreateEncoderHandle();
        EXPECT_NE(handle, 0u);
        handles.insert(handle);
    }
    EXPECT_EQ(handles.size(), 3u);
    const RealEncoderHandle freed = *handles.begin();
    for (RealEncoderHandle handle : handles)
        Real_FreeEncoderHandle(handle);
    Real_FreeEncoderHandle(freed);

    // A freed handle, 0 and a handle never given out all do nothing.
    for (const RealEncoderHandle handle : { freed, RealEncoderHandle(0), RealEncoderHandle(0xFFFFFF) }) {
        SCOPED_TRACE(handle);
        EXPECT_EQ(Real_GetAudioCodecCount(handle), 0);
        EXPECT_EQ(CodecName(handle, 0), "");
        EXPECT_EQ(Real_SetupDestinationFile(handle, Folder.File("x.rm").c_str()), 0);
        EXPECT_EQ(Real_BeginEncoding(handle), 0);
        EXPECT_EQ(Real_EndEncoding(handle), 0);
        EXPECT_EQ(Real_GetOutputSize(handle), 0u);
    }
    // A new handle is never one given out before.
    THandle fresh;
    EXPECT_EQ(handles.count(fresh.Value), 0u);
}

TEST_F(Tiberl, ListsHoldTheDefaultCodecAndTheAudiences)
{
    THandle handle;
    std::vector<std::string> names;
    for (int32_t i = 0; i < Real_GetAudioCodecCount(handle.Value); ++i)
        names.push_back(CodecName(handle.Value, i));
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(names[2], "44 Kbps Music - RealAudio (music)");
    EXPECT_NE(names[7].find("(voice)"), std::string::npos);
    EXPECT_NE(names.back().find("Multichannel"), std::string::npos);
    EXPECT_EQ(CodecName(handle.Value, int32_t(names.size())), "");

    ASSERT_GT(Real_GetAvailableAudiencesCount(handle.Value), 0);
    TNameBuffer audience;
    Real_GetAvailableAudiencesName(handle.Value, 0, audience.Bytes);
    EXPECT_EQ(audience.Text(), "56k Dial-up Modem");
    EXPECT_EQ(Real_SetupAudiences(handle.Value, 99), 0);
    EXPECT_EQ(Real_SetUse2Pass(handle.Value, 1), 0);
    EXPECT_EQ(Real_SetUse2Pass(handle.Value, 0), 1);
    EXPECT_EQ(Real_StartDo2Pass(handle.Value), 0);
    EXPECT_EQ(Real_SetParamsMode(handle.Value, 2), 0);
}

// Every codec the library lists is one the RealMedia muxer takes and the file reads back with.
TEST_F(Tiberl, EveryAudioCodecEncodes)
{
    struct Case {
        const char* Codec;
        int SampleRate;
        int Channels;
    };
    const Case kCases[] = {
        { "aac", 22050, 1 },
        { "aac", 32000, 1 },
        { "aac", 44100, 1 },
        { "aac", 44100, 2 },
        { "aac", 44100, 2 },
        { "aac", 44100, 2 },
        { "ac3", 48000, 2 },
        { "ra_144", 8000, 1 },
        { "ac3", 48000, 6 },
    };
    THandle handle;
    ASSERT_EQ(Real_GetAudioCodecCount(handle.Value), int32_t(std::size(kCases)));
    TFeed feed;
    feed.Seconds = 0.3;
    for (int32_t i = 0; i < int32_t(std::size(kCases)); ++i) {
        const Case& c = kCases[i];
        SCOPED_TRACE(CodecName(handle.Value, i));
        const std::string path = Folder.File("codec" + std::to_string(i) + ".rm");
        SetInput(handle.Value, feed);
        RealManualSettings block = DefaultBlock();
        block.AudioCodec = i;
        ASSERT_EQ(Real_SetManualSettingsParams(handle.Value, &block), 1);
        ASSERT_EQ(Real_SetupDestinationFile(handle.Value, path.c_str()), 1);
        ASSERT_EQ(Real_BeginEncoding(handle.Value), 1);
        EXPECT_TRUE(Feed(handle.Value, feed));
        ASSERT_EQ(Real_EndEncoding(handle.Value), 1);
        const TProbedFile file = ReadBackFile(path);
        const TProbedStream* audio = file.FirstAudio();
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Codec, c.Codec);
        EXPECT_EQ(audio->SampleRate, c.SampleRate);
        EXPECT_EQ(audio->Channels, c.Channels);
    }
}

TEST_F(Tiberl, ARunWritesRealVideoInMultiplesOfFour)
{
    struct Case {
        const char* Name;
        TFeed Feed;
        std::function<void(RealEncoderHandle)> Settings;
        bool HasAudio;
        int Width;
        int Height;
        int Packets; // Video frames coded in the second fed.
        int SampleRate; // 0: no audio stream.
        int Channels;
    };
    const auto manual = [](std::function<void(RealManualSettings&)> change) {
        return [change](RealEncoderHandle handle) {
            RealManualSettings block = DefaultBlock();
            change(block);
            ASSERT_EQ(Real_SetManualSettingsParams(handle, &block), 1);
        };
    };
    TFeed odd;
    odd.Width = 98;
    odd.Height = 66;
    const Case kCases[] = {
        { "the default profile's block", TFeed {}, manual([](RealManualSettings&) {}), true, 64, 48, 15, 44100, 1 },
        { "a size cut down to multiples of 4", odd, manual([](RealManualSettings&) {}), true, 96, 64, 15, 44100, 1 },
        { "VBR, noise filter and the input's frame rate", TFeed {}, manual([](RealManualSettings& block) {
             block.UseVBR = 1;
             block.VBRMode = 2;
             block.MaxKbps = 768;
             block.NoiseFilter = 0;
             block.FrameRate = 0.0;
         }),
            true, 64, 48, 10, 44100, 1 },
        { "an audience in place of the block", TFeed {},
            [](RealEncoderHandle handle) {
                ASSERT_EQ(Real_SetupAudiences(handle, 3), 1);
                ASSERT_EQ(Real_SetParamsMode(handle, 0), 1);
            },
            true, 64, 48, 10, 44100, 2 },
        { "audio switched off", TFeed {}, manual([](RealManualSettings&) {}), false, 64, 48, 15, 0, 0 },
    };
    int run = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        THandle handle;
        const std::string path = Folder.File("run" + std::to_string(run++) + ".rm");
        SetInput(handle.Value, c.Feed, c.HasAudio);
        ASSERT_EQ(Real_SetupDestinationFile(handle.Value, path.c_str()), 1);
        ASSERT_EQ(Real_SetupMediaProfile(handle.Value, 0, 0), 1);
        ASSERT_EQ(Real_SetupTag(handle.Value, "The Title", "The Author", "The Copyright", "The Comment", ""), 1);
        c.Settings(handle.Value);
        ASSERT_EQ(Real_BeginEncoding(handle.Value), 1);
        EXPECT_TRUE(Feed(handle.Value, c.Feed));
        ASSERT_EQ(Real_EndEncoding(handle.Value), 1);
        EXPECT_EQ(int64_t(Real_GetOutputSize(handle.Value)), int64_t(FileSizeOf(path)));

        const TProbedFile file = ReadBackFile(path);
        EXPECT_EQ(file.Container, "rm");
        const TProbedStream* video = file.FirstVideo();
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Codec, "rv20");
        EXPECT_EQ(video->Width, c.Width);
        EXPECT_EQ(video->Height, c.Height);
        EXPECT_NEAR(video->Packets, c.Packets, 1);
        EXPECT_EQ(file.Tags.count("title") ? file.Tags.at("title") : "", "The Title");
        const TProbedStream* audio = file.FirstAudio();
        if (c.SampleRate == 0) {
            EXPECT_EQ(audio, nullptr);
            continue;
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->SampleRate, c.SampleRate);
        EXPECT_EQ(audio->Channels, c.Channels);
        EXPECT_NEAR(audio->Duration, c.Feed.Seconds, 0.15);
    }
}

TEST_F(Tiberl, BadBlocksAreRefusedAndChangeNothing)
{
    struct Case {
        const char* Name;
        std::function<void(RealManualSettings&)> Spoil;
    };
    const Case kCases[] = {
        { "no bit rate", [](RealManualSettings& b) { b.AverageKbps = 0; } },
        { "a bit rate beyond int32 bits", [](RealManualSettings& b) { b.AverageKbps = 3000000; } },
        { "a negative peak", [](RealManualSettings& b) { b.MaxKbps = -1; } },
        { "a negative frame rate", [](RealManualSettings& b) { b.FrameRate = -1.0; } },
        { "a frame rate that is no number", [](RealManualSettings& b) { b.FrameRate = std::nan(""); } },
        { "an unknown audio codec", [](RealManualSettings& b) { b.AudioCodec = 99; } },
        { "a negative key frame interval", [](RealManualSettings& b) { b.MaxKeyframeInterval = -10.0; } },
    };
    THandle handle;
    const TFeed feed;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        RealManualSettings block = DefaultBlock();
        c.Spoil(block);
        EXPECT_EQ(Real_SetManualSettingsParams(handle.Value, &block), 0);
    }
    EXPECT_EQ(Real_SetManualSettingsParams(handle.Value, nullptr), 0);

    // The library's defaults are still in force: 120 kbit/s at the input's rate with the 44 kbit/s codec.
    const std::string path = Folder.File("kept.rm");
    SetInput(handle.Value, feed);
    Real_SetupDestinationFile(handle.Value, path.c_str());
    ASSERT_EQ(Real_BeginEncoding(handle.Value), 1);
    EXPECT_TRUE(Feed(handle.Value, feed));
    ASSERT_EQ(Real_EndEncoding(handle.Value), 1);
    const TProbedFile file = ReadBackFile(path);
    ASSERT_NE(file.FirstAudio(), nullptr);
    EXPECT_EQ(file.FirstAudio()->Channels, 1);
    EXPECT_NEAR(file.FirstVideo()->Packets, 10, 1);
}

TEST_F(Tiberl, RefusedRunsLeaveNoFileAndEndingIsHarmless)
{
    const TFeed feed;
    {
        THandle handle;
        EXPECT_EQ(Real_EndEncoding(handle.Value), 1);
        const std::string path = Folder.File("missing/out.rm");
        SetInput(handle.Value, feed);
        EXPECT_EQ(Real_BeginEncoding(handle.Value), 0); // No destination yet.
        Real_SetupDestinationFile(handle.Value, path.c_str());
        EXPECT_EQ(Real_BeginEncoding(handle.Value), 0); // Its folder does not exist.
        EXPECT_EQ(Real_SetupDestinationFile(handle.Value, ""), 0);
        // An input of neither video nor audio leaves nothing to write.
        Real_SetInputParms(handle.Value, 0, 0, 64, 48, 10.0, 5, 44100, 2);
        Real_SetupDestinationFile(handle.Value, Folder.File("nothing.rm").c_str());
        EXPECT_EQ(Real_BeginEncoding(handle.Value), 0);
        EXPECT_EQ(FileSizeOf(Folder.File("nothing.rm")), -1);
        EXPECT_EQ(Real_EncodeVideoSample(handle.Value, TestYuvFrame(64, 48, 0).data(), 0.0, 0.1), 0);
    }

    // Ending twice ends once; freeing a handle in the middle of a run finishes its file.
    const std::string ended = Folder.File("ended.rm");
    const std::string freed = Folder.File("freed.rm");
    {
        THandle handle;
        SetInput(handle.Value, feed);
        Real_SetupDestinationFile(handle.Value, ended.c_str());
        ASSERT_EQ(Real_BeginEncoding(handle.Value), 1);
        EXPECT_EQ(Real_BeginEncoding(handle.Value), 0);
        EXPECT_TRUE(Feed(handle.Value, feed));
        EXPECT_EQ(Real_EndEncoding(handle.Value), 1);
        EXPECT_EQ(Real_EndEncoding(handle.Value), 1);
        EXPECT_EQ(int64_t(Real_GetOutputSize(handle.Value)), int64_t(FileSizeOf(ended)));

        Real_SetupDestinationFile(handle.Value, freed.c_str());
        ASSERT_EQ(Real_BeginEncoding(handle.Value), 1);
        EXPECT_TRUE(Feed(handle.Value, feed));
    }
    for (const std::string& path : { ended, freed }) {
        SCOPED_TRACE(path);
        const TProbedFile file = ReadBackFile(path);
        ASSERT_NE(file.FirstVideo(), nullptr);
        EXPECT_NEAR(file.FirstVideo()->Duration, 1.0, 0.15);
    }
}

} // namespace
