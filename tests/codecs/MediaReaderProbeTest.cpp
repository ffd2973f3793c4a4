// What Open and GetInfo report for each kind of clip.
#include "CodecTestSupport.h"

#include <cmath>

namespace {

struct ProbeCase {
    TTestClipKind Kind;
    int VideoCount;
    const char* VideoCodec;
    int Width;
    int Height;
    int AspectX;
    int AspectY;
    double FrameRate;
    int AudioCount;
    const char* AudioCodec;
    int SampleRate;
    int Channels;
};

const ProbeCase kProbeCases[] = {
    { TTestClipKind::Mp4H264Aac, 1, "h264", 64, 48, 4, 3, 10.0, 1, "aac", 44100, 2 },
    { TTestClipKind::AviMpeg4Mp3, 1, "mpeg4", 64, 48, 4, 3, 10.0, 1, "mp3", 44100, 2 },
    { TTestClipKind::MkvTwoVideoTwoAudio, 2, "mpeg4", 64, 48, 4, 3, 10.0, 2, "aac", 44100, 2 },
    { TTestClipKind::Wmv, 1, "wmv2", 64, 48, 0, 1, 10.0, 1, "wmav2", 44100, 2 },
    { TTestClipKind::Flv, 1, "flv1", 64, 48, 0, 1, 10.0, 1, "mp3", 44100, 2 },
    { TTestClipKind::MpegProgram, 1, "mpeg1video", 64, 48, 4, 3, 25.0, 1, "mp2", 44100, 2 },
    { TTestClipKind::VideoOnly, 1, "mpeg4", 64, 48, 4, 3, 10.0, 0, "", 0, 0 },
    { TTestClipKind::AudioOnly, 0, "", 0, 0, 0, 1, 0.0, 1, "mp3", 44100, 2 },
    { TTestClipKind::OddSize, 1, "mpeg4", 175, 143, 175, 143, 10.0, 1, "aac", 44100, 1 },
};

MediaReaderInfo Probe(const std::string& path, int32_t colorFormat, uint8_t* openResult = nullptr)
{
    TReaderPtr reader(Braskel_CreateMediaReader(path.c_str()));
    MediaReaderOpenParams params;
    params.Marker0 = params.Marker1 = 1;
    params.ColorFormat = colorFormat;
    const uint8_t opened = reader->Open(&params);
    if (openResult)
        *openResult = opened;
    MediaReaderInfo info;
    std::memset(&info, 0xAB, sizeof(info));
    EXPECT_EQ(reader->GetInfo(&info), 0);
    return info;
}

} // namespace

TEST(MediaReader, ProbeReportsEveryStreamOfEachContainer)
{
    TTestFolder folder;
    for (const ProbeCase& expected : kProbeCases) {
        SCOPED_TRACE(TestClipExtension(expected.Kind) + " kind " + std::to_string(int(expected.Kind)));
        uint8_t opened = 1;
        const MediaReaderInfo info = Probe(MakeClip(folder, expected.Kind), 5, &opened);
        EXPECT_EQ(opened, 0);
        EXPECT_EQ(info.Opened, 1);
        EXPECT_NEAR(info.Duration, 1.0, 0.12);
        EXPECT_EQ(info.ColorFormat, 5);
        EXPECT_EQ(info.HasVideo, expected.VideoCount > 0 ? 1 : 0);
        EXPECT_EQ(info.VideoStreamCount, expected.VideoCount);
        if (expected.VideoCount > 0) {
            const MediaReaderVideoStream& video = info.VideoStreams[0];
            EXPECT_STREQ(video.CodecName, expected.VideoCodec);
            EXPECT_EQ(video.Width, expected.Width);
            EXPECT_EQ(video.Height, expected.Height);
            EXPECT_EQ(video.AspectX, expected.AspectX);
            EXPECT_EQ(video.AspectY, expected.AspectY);
            EXPECT_NEAR(video.FrameRate, expected.FrameRate, 1e-3);
        }
        EXPECT_EQ(info.HasAudio, expected.AudioCount > 0 ? 1 : 0);
        EXPECT_EQ(info.AudioStreamCount, expected.AudioCount);
        if (expected.AudioCount > 0) {
            const MediaReaderAudioStream& audio = info.AudioStreams[0];
            EXPECT_STREQ(audio.CodecName, expected.AudioCodec);
            EXPECT_EQ(audio.SampleRate, expected.SampleRate);
            EXPECT_EQ(audio.Channels, expected.Channels);
        }
    }
}

TEST(MediaReader, ProbeListsStreamsOfEachKindInFileOrder)
{
    TTestFolder folder;
    const MediaReaderInfo info = Probe(MakeClip(folder, TTestClipKind::MkvTwoVideoTwoAudio), 5);
    ASSERT_EQ(info.VideoStreamCount, 2);
    EXPECT_EQ(info.VideoStreams[1].Width, 96);
    EXPECT_EQ(info.VideoStreams[1].Height, 64);
    EXPECT_EQ(info.VideoStreams[1].AspectX, 3);
    EXPECT_EQ(info.VideoStreams[1].AspectY, 2);
    EXPECT_NEAR(info.VideoStreams[1].FrameRate, 15.0, 1e-3);
    ASSERT_EQ(info.AudioStreamCount, 2);
    EXPECT_EQ(info.AudioStreams[1].SampleRate, 22050);
    EXPECT_EQ(info.AudioStreams[1].Channels, 1);
    // Records past the counts stay zero, so a reader of the block never sees stale bytes.
    EXPECT_EQ(info.VideoStreams[2].Width, 0);
    EXPECT_EQ(info.AudioStreams[2].CodecName[0], 0);
}

TEST(MediaReader, ProbeKeepsTheFirstSixteenStreamsOfAKind)
{
    TTestFolder folder;
    TTestClipSpec spec { "matroska", 0.2, {}, {} };
    for (int i = 0; i < 18; ++i)
        spec.Audio.push_back(TTestAudioStream { "pcm_s16le", 8000 + 1000 * i, 1, 440.0, -1 });
    const MediaReaderInfo info = Probe(MakeClip(folder, "many.mkv", spec), 5);
    ASSERT_EQ(info.AudioStreamCount, 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(info.AudioStreams[i].SampleRate, 8000 + 1000 * i) << i;
    EXPECT_STREQ(info.AudioStreams[0].CodecName, "pcm_s16le");
}

TEST(MediaReader, InfoReportsTheRequestedColourCode)
{
    TTestFolder folder;
    const std::string path = MakeClip(folder, TTestClipKind::VideoOnly);
    for (const int32_t code : { 1, 3, 4, 5 }) {
        SCOPED_TRACE(code);
        EXPECT_EQ(Probe(path, code).ColorFormat, code);
    }
}

TEST(MediaReader, ProbeDoesNotDecode)
{
    // A probe passes no callbacks; Open and GetInfo alone must not call anything or start a thread.
    TTestFolder folder;
    TReaderRecorder recorder;
    const std::string path = MakeClip(folder, TTestClipKind::Mp4H264Aac);
    {
        TReaderPtr reader = OpenReader(path, 5);
        MediaReaderInfo info;
        EXPECT_EQ(reader->GetInfo(&info), 0);
        EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    }
    EXPECT_TRUE(recorder.Calls().empty());
}
