// The six codec-library encoder objects writing real files through the codec library, read back with the clip
// probe: each format's default profile, the job's flags, and the tags.
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "codecs/testclips/TestPicture.h"
#include "engine/FormatProfiles.h"
#include "engine/TEncoderObject.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSourceWidth = 160;
constexpr int kSourceHeight = 120;
constexpr double kSourceRate = 10.0;
constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;

// Two seconds of the test picture at 10 frames per second and a tone, handed over as a decoder would: frames
// and blocks of a tenth of a second, in time order, each with its start and end.
bool FeedTwoSeconds(TEncoderObject& object, int width = kSourceWidth, int height = kSourceHeight)
{
    std::vector<uint8_t> frame(size_t(AvColorFrameSize(TAvColorCode::Yuv420, width, height)));
    std::vector<int16_t> block(size_t(kSampleRate / 10) * kChannels);
    for (int step = 0; step < 20; ++step) {
        const double start = step / kSourceRate;
        const TAvColorPlanes planes = AvColorPlanes(TAvColorCode::Yuv420, width, height, frame.data());
        DrawTestPicture(planes.Data[0], planes.Stride[0], planes.Data[1], planes.Stride[1], planes.Data[2],
            planes.Stride[2], width, height, step);
        if (!object.WriteVideo(frame.data(), start, start + 1.0 / kSourceRate))
            return false;
        for (size_t i = 0; i < block.size() / kChannels; ++i) {
            const double t = start + double(i) / kSampleRate;
            block[i * 2] = block[i * 2 + 1] = int16_t(std::lround(9000 * std::sin(2.0 * M_PI * 440.0 * t)));
        }
        if (!object.WriteAudio(
                reinterpret_cast<const uint8_t*>(block.data()), int32_t(block.size() * 2), start, start + 0.1))
            return false;
    }
    return true;
}

struct WriteCase {
    const char* Name;
    std::function<std::unique_ptr<TVideoProfile>()> Profile;
    const char* Container; // Part of the demuxer's name.
    const char* VideoCodec;
    int Width;
    int Height;
    double FrameRate;
    const char* AudioCodec; // Empty: the file has no audio stream.
    int SampleRate;
    int Channels;
    bool FixAspect = false;
    bool DisableAudio = false;
    int CropTop = 0;
    int SourceWidth = kSourceWidth;
    int SourceHeight = kSourceHeight;
};

template <class TProfile>
std::function<std::unique_ptr<TVideoProfile>()> Make(std::function<void(TProfile&)> change = nullptr)
{
    return [change] {
        auto profile = std::make_unique<TProfile>("p", "");
        if (change)
            change(*profile);
        return profile;
    };
}

constexpr double kFilm = 24000.0 / 1001.0;

const WriteCase kWriteCases[] = {
    { "3GP defaults", Make<T3GPProfile>(), "mov,mp4", "mpeg4", 176, 144, 15.0, "aac", 16000, 1 },
    { "AVI defaults", Make<TAVIProfile>(), "avi", "mpeg4", 320, 240, kFilm, "mp3", 44100, 2 },
    { "MPEG defaults", Make<TMPEGProfile>(), "mpeg", "mpeg2video", 320, 240, kFilm, "mp2", 48000, 2 },
    { "MP4 defaults", Make<TMP4Profile>(), "mov,mp4", "mpeg4", 320, 240, kFilm, "aac", 48000, 2 },
    { "MOV defaults", Make<TMOVProfile>(), "mov,mp4", "mpeg4", 320, 240, kFilm, "aac", 48000, 2 },
    { "FLV defaults", Make<TFLVProfile>(), "flv", "flv1", 320, 240, 24.0, "mp3", 44100, 2 },
    { "Disable Audio leaves the audio stream out", Make<TMP4Profile>(), "mov,mp4", "mpeg4", 320, 240, kFilm, "", 0, 0,
        false, true },
    { "the source size minus the crop, letterboxed", Make<TAVIProfile>([](TAVIProfile& p) { p.Width = p.Height = 0; }),
        "avi", "mpeg4", 160, 112, kFilm, "mp3", 44100, 2, true, false, 8 },
    { "H.263 on an odd source size becomes its nearest picture format", Make<T3GPProfile>([](T3GPProfile& p) {
         p.Width = p.Height = 0;
         p.VideoCodec = 0;
     }),
        "mov,mp4", "h263", 176, 144, 15.0, "aac", 16000, 1, false, false, 0, 175, 143 },
};

} // namespace

TEST(EncoderObjectWrite, EachFormatWritesAReadableFile)
{
    QuietMediaLogs();
    TTestFolder folder;
    for (const WriteCase& test : kWriteCases) {
        SCOPED_TRACE(test.Name);
        std::unique_ptr<TVideoProfile> profile = test.Profile();
        const std::string path = folder.File(std::string("clip") + profile->Extension);
        std::unique_ptr<TEncoderObject> object
            = profile->CreateEncoderObject(path, test.SourceWidth, test.SourceHeight, 5, kSourceRate, kSampleRate,
                kChannels, test.FixAspect, test.DisableAudio, 0, 0, test.CropTop, 0, 0, 0, 0, 0);
        ASSERT_NE(object, nullptr);
        ASSERT_TRUE(object->Open());
        EXPECT_TRUE(FeedTwoSeconds(*object, test.SourceWidth, test.SourceHeight));
        EXPECT_GT(object->GetOutputSize(), 0);
        object.reset(); // Deleting the object closes the file.

        TProbedFile file;
        std::string error;
        ASSERT_TRUE(ProbeMediaFile(path, file, &error)) << error;
        EXPECT_NE(file.Container.find(test.Container), std::string::npos) << file.Container;
        const TProbedStream* video = file.FirstVideo();
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Codec, test.VideoCodec);
        EXPECT_EQ(video->Width, test.Width);
        EXPECT_EQ(video->Height, test.Height);
        EXPECT_NEAR(video->FrameRate, test.FrameRate, 0.01);
        EXPECT_NEAR(video->Duration, 2.0, 1.0 / test.FrameRate + 1e-6);
        const TProbedStream* audio = file.FirstAudio();
        if (*test.AudioCodec == 0) {
            EXPECT_EQ(audio, nullptr);
            continue;
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Codec, test.AudioCodec);
        EXPECT_EQ(audio->SampleRate, test.SampleRate);
        EXPECT_EQ(audio->Channels, test.Channels);
        EXPECT_NEAR(audio->Duration, 2.0, 0.1);
    }
}

TEST(EncoderObjectWrite, TagsReachTheFile)
{
    QuietMediaLogs();
    TTestFolder folder;
    TMP4Profile profile("p", "");
    const std::string path = folder.File("tagged.mp4");
    std::unique_ptr<TEncoderObject> object = profile.CreateEncoderObject(path, kSourceWidth, kSourceHeight, 5,
        kSourceRate, kSampleRate, kChannels, false, false, 0, 0, 0, 0, 0, 0, 0, 0);
    object->Title = "A title";
    object->Author = "An author";
    object->Copyright = "(c) 2024 Someone";
    object->Comment = "Made by a test";
    object->Year = "2024";
    ASSERT_TRUE(object->Open());
    EXPECT_TRUE(FeedTwoSeconds(*object));
    EXPECT_TRUE(object->Close());
    EXPECT_TRUE(object->Close());

    TProbedFile file;
    ASSERT_TRUE(ProbeMediaFile(path, file));
    EXPECT_EQ(file.Tags["title"], "A title");
    EXPECT_EQ(file.Tags["artist"], "An author");
    EXPECT_EQ(file.Tags["copyright"], "(c) 2024 Someone");
    EXPECT_EQ(file.Tags["comment"], "Made by a test");
    EXPECT_EQ(file.Tags["date"], "2024");
}
