// Run: what the callbacks receive, in which order and on which thread, and how Stop, Pause and Seek steer it.
#include "CodecTestSupport.h"
#include "codecs/testclips/TestPicture.h"

#include <atomic>
#include <cmath>

namespace {

// Two seconds of H.264 at 10 fps with key frames every second, and stereo AAC.
TTestClipSpec TwoSecondClip()
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 2.0;
    return spec;
}

int FrameNumber(const TRecordedCall& call, int width, int height)
{
    return ReadTestPictureNumber(call.Data.data(), width, width, height);
}

// Runs the reader on a thread of its own, as the engine's decoder thread does.
class TRunThread {
public:
    explicit TRunThread(MediaReader* reader)
        : FThread([this, reader] { FResult = reader->Run(); })
    {
    }
    ~TRunThread()
    {
        if (FThread.joinable())
            FThread.join();
    }
    uint8_t Join()
    {
        FThread.join();
        return FResult;
    }

private:
    std::atomic<uint8_t> FResult { 255 };
    std::thread FThread;
};

// A gate a callback waits at until the test opens it.
class TGate {
public:
    void Open()
    {
        std::lock_guard lock(FLock);
        FOpen = true;
        FChanged.notify_all();
    }
    void Wait()
    {
        std::unique_lock lock(FLock);
        FChanged.wait(lock, [this] { return FOpen; });
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FOpen = false;
};

} // namespace

TEST(MediaReader, RangeDeliversOnlyFramesAndSamplesInside)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, "two.mp4", TwoSecondClip()), 5);
    reader->SetRange(0.5, 1.5);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Run(), 0);

    const std::vector<TRecordedCall> video = recorder.CallsOf('V');
    ASSERT_EQ(video.size(), 10u);
    for (size_t i = 0; i < video.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(video[i].Start, 0.5 + 0.1 * double(i), 1e-6);
        EXPECT_NEAR(video[i].End - video[i].Start, 0.1, 1e-9);
        EXPECT_EQ(FrameNumber(video[i], 64, 48), 5 + int(i));
    }
    const std::vector<TRecordedCall> audio = recorder.CallsOf('A');
    ASSERT_FALSE(audio.empty());
    EXPECT_NEAR(audio.front().Start, 0.5, 1e-6);
    EXPECT_NEAR(audio.back().End, 1.5, 1e-4);
    int64_t samples = 0;
    for (const TRecordedCall& block : audio) {
        EXPECT_GE(block.Start, 0.5 - 1e-9);
        EXPECT_LE(block.End, 1.5 + 1e-4);
        EXPECT_EQ(block.Bytes % 4, 0); // Whole stereo 16-bit samples.
        EXPECT_NEAR((block.End - block.Start) * 44100.0, block.Bytes / 4, 1.0);
        samples += block.Bytes / 4;
    }
    EXPECT_NEAR(double(samples), 44100.0, 2.0);
}

TEST(MediaReader, BeginComesBeforeEveryStartAndEndOnceAtEachNaturalEnd)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, TTestClipKind::Mp4H264Aac), 5);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Run(), 0);
    ASSERT_EQ(reader->Run(), 0); // A restart after the end plays the range again.

    const std::vector<TRecordedCall> calls = recorder.Calls();
    const std::string order = CallOrder(calls);
    ASSERT_EQ(std::count(order.begin(), order.end(), 'B'), 2);
    ASSERT_EQ(std::count(order.begin(), order.end(), 'E'), 2);
    const size_t firstEnd = order.find('E');
    EXPECT_EQ(order.front(), 'B');
    EXPECT_EQ(order[firstEnd + 1], 'B');
    EXPECT_EQ(order.back(), 'E');
    EXPECT_EQ(std::count(order.begin(), order.end(), 'V'), 20);
    // Both runs start at frame 0, and every call comes on the thread that called Run.
    EXPECT_EQ(FrameNumber(calls[order.find('V')], 64, 48), 0);
    EXPECT_EQ(FrameNumber(calls[order.find('V', firstEnd)], 64, 48), 0);
    for (const TRecordedCall& call : calls)
        EXPECT_EQ(call.Thread, std::this_thread::get_id());
}

TEST(MediaReader, StateFollowsRunPauseResumeAndStop)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, "two.mp4", TwoSecondClip()), 5);
    ASSERT_EQ(reader->Prepare(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    EXPECT_NE(reader->Pause(), 0); // Nothing to pause yet.

    // Frames 3 and 6 hold the decoding thread until the test has made its move, so each step lands exactly
    // between two frames.
    TGate afterThree;
    TGate afterSix;
    recorder.AfterVideo = [&](int count) {
        if (count == 3)
            afterThree.Wait();
        if (count == 6)
            afterSix.Wait();
        return true;
    };
    TRunThread run(reader.get());
    ASSERT_TRUE(recorder.WaitFor('V', 3));
    EXPECT_EQ(reader->GetState(), kMediaReaderRunning);
    EXPECT_EQ(reader->Pause(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderPaused);
    afterThree.Open();
    EXPECT_EQ(reader->Resume(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderRunning);

    ASSERT_TRUE(recorder.WaitFor('V', 6));
    EXPECT_EQ(reader->Pause(), 0);
    afterSix.Open();
    EXPECT_EQ(reader->Stop(), 0);
    recorder.MarkStopped();
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    EXPECT_EQ(run.Join(), 0); // The blocked Run returns.

    // The pause held the loop right after frame 6; the stop ended it there, without an end callback.
    EXPECT_EQ(recorder.Count('V'), 6);
    EXPECT_EQ(recorder.Count('E'), 0);
    EXPECT_EQ(recorder.CallsAfterStop(), 0);
    double position = 0.0;
    EXPECT_EQ(reader->GetPosition(&position), 0);
    EXPECT_NEAR(position, 0.5, 1e-6);
}

TEST(MediaReader, StopInsideACallbackEndsTheRunAfterIt)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, TTestClipKind::VideoOnly), 5);
    recorder.AfterVideo = [&](int count) {
        if (count == 3) {
            EXPECT_EQ(reader->Stop(), 0);
        }
        return true;
    };
    ASSERT_EQ(reader->Prepare(), 0);
    EXPECT_EQ(reader->Run(), 0);
    EXPECT_EQ(CallOrder(recorder.Calls()), "BVVV");
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
}

TEST(MediaReader, RefusedFrameEndsTheRunWithoutEnd)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, TTestClipKind::VideoOnly), 5);
    recorder.AfterVideo = [](int count) { return count < 3; };
    ASSERT_EQ(reader->Prepare(), 0);
    EXPECT_EQ(reader->Run(), 0);
    EXPECT_EQ(CallOrder(recorder.Calls()), "BVVV");
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
}

TEST(MediaReader, StopBeforeRunStartsMakesThatRunReturnAtOnce)
{
    // The engine starts its decoding thread and may stop the reader before that thread reaches Run.
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, TTestClipKind::VideoOnly), 5);
    ASSERT_EQ(reader->Prepare(), 0);
    EXPECT_EQ(reader->Stop(), 0);
    EXPECT_EQ(reader->Run(), 0);
    EXPECT_TRUE(recorder.Calls().empty());
    // The stop is used up: the next Run decodes.
    EXPECT_EQ(reader->Run(), 0);
    EXPECT_EQ(recorder.Count('E'), 1);
}

TEST(MediaReader, PositionAtTheNaturalEndIsTheDuration)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    const std::string path = MakeClip(folder, TTestClipKind::Mp4H264Aac);
    {
        TReaderPtr reader = OpenReader(path, 5);
        MediaReaderInfo info;
        reader->GetInfo(&info);
        ASSERT_EQ(reader->Prepare(), 0);
        ASSERT_EQ(reader->Run(), 0);
        double position = -1.0;
        ASSERT_EQ(reader->GetPosition(&position), 0);
        EXPECT_DOUBLE_EQ(position, info.Duration);
    }
    {
        // A range that ends early ends the position there.
        TReaderPtr reader = OpenReader(path, 5);
        reader->SetRange(-1.0, 0.55);
        ASSERT_EQ(reader->Prepare(), 0);
        ASSERT_EQ(reader->Run(), 0);
        double position = -1.0;
        ASSERT_EQ(reader->GetPosition(&position), 0);
        EXPECT_DOUBLE_EQ(position, 0.55);
    }
}

TEST(MediaReader, SeekMovesTheNextFrames)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TReaderPtr reader = OpenReader(MakeClip(folder, "two.mp4", TwoSecondClip()), 5);
    ASSERT_EQ(reader->Prepare(), 0);

    // While stopped: the position moves at once and the run starts there.
    ASSERT_EQ(reader->Seek(1.2), 0);
    double position = 0.0;
    reader->GetPosition(&position);
    EXPECT_DOUBLE_EQ(position, 1.2);
    // While running, from inside a callback: the frames after it come from the new place.
    recorder.AfterVideo = [&](int count) {
        if (count == 2) {
            EXPECT_EQ(reader->Seek(0.3), 0);
        }
        return true;
    };
    ASSERT_EQ(reader->Run(), 0);
    const std::vector<TRecordedCall> video = recorder.CallsOf('V');
    ASSERT_GE(video.size(), 3u);
    EXPECT_NEAR(video[0].Start, 1.2, 1e-6);
    EXPECT_NEAR(video[1].Start, 1.3, 1e-6);
    EXPECT_NEAR(video[2].Start, 0.3, 1e-6);
    EXPECT_EQ(FrameNumber(video[2], 64, 48), 3);
    EXPECT_EQ(video.size(), 2u + 17u);
    EXPECT_NE(reader->Seek(std::nan("")), 0);
}

TEST(MediaReader, ChosenStreamsDecideFrameSizeAndAudioFormat)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    recorder.VideoStream = 1;
    TReaderPtr reader = OpenReader(MakeClip(folder, TTestClipKind::MkvTwoVideoTwoAudio), 5);
    EXPECT_NE(reader->SetVideoStream(2), 0);
    EXPECT_NE(reader->SetAudioStream(-1), 0);
    ASSERT_EQ(reader->SetVideoStream(1), 0);
    ASSERT_EQ(reader->SetAudioStream(1), 0);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Run(), 0);

    const std::vector<TRecordedCall> video = recorder.CallsOf('V');
    ASSERT_EQ(video.size(), 15u);
    EXPECT_NEAR(video[1].End - video[1].Start, 1.0 / 15.0, 1e-9);
    EXPECT_EQ(FrameNumber(video[4], 96, 64), 4);
    // The second audio stream is mono at 22050 Hz: one 16-bit value per sample.
    const std::vector<TRecordedCall> audio = recorder.CallsOf('A');
    ASSERT_FALSE(audio.empty());
    for (const TRecordedCall& block : audio)
        EXPECT_NEAR((block.End - block.Start) * 22050.0, block.Bytes / 2, 1.0);
}

TEST(MediaReader, FramesKeepTheColourContract)
{
    struct ColourCase {
        int32_t Code;
        int Width;
        int Height;
    };
    const ColourCase kColourCases[] = { { 5, 64, 48 }, { 4, 64, 48 }, { 5, 175, 143 }, { 4, 175, 143 }, { 3, 64, 48 },
        { 1, 64, 48 }, { 3, 175, 143 } };
    TTestFolder folder;
    const std::string small = MakeClip(folder, TTestClipKind::VideoOnly);
    const std::string odd = MakeClip(folder, TTestClipKind::OddSize);
    for (const ColourCase& colour : kColourCases) {
        SCOPED_TRACE("code " + std::to_string(colour.Code) + " at " + std::to_string(colour.Width));
        TReaderRecorder recorder;
        TReaderPtr reader = OpenReader(colour.Width == 64 ? small : odd, colour.Code);
        ASSERT_EQ(reader->Prepare(), 0);
        ASSERT_EQ(reader->Run(), 0);
        EXPECT_EQ(recorder.BeginInfo().ColorFormat, colour.Code);
        const std::vector<TRecordedCall> video = recorder.CallsOf('V');
        ASSERT_EQ(video.size(), 10u);
        const std::vector<uint8_t>& frame = video[3].Data;
        const int w = colour.Width;
        const int h = colour.Height;
        const size_t luma = size_t(w) * h;
        const size_t chroma = size_t((w + 1) / 2) * ((h + 1) / 2);
        switch (colour.Code) {
        case 5:
        case 4: {
            ASSERT_EQ(frame.size(), luma + 2 * chroma);
            // Top-down planes without padding: the red band is in the first rows of Y and of both chroma planes.
            const uint8_t first = frame[luma];
            const uint8_t second = frame[luma + chroma];
            EXPECT_NEAR(frame[w + w / 2], kTestRedY, 8);
            EXPECT_NEAR(colour.Code == 5 ? first : second, kTestRedU, 8);
            EXPECT_NEAR(colour.Code == 5 ? second : first, kTestRedV, 8);
            EXPECT_NEAR(frame[size_t(h / 2) * w + w / 2], kTestGreyY, 8);
            EXPECT_EQ(ReadTestPictureNumber(frame.data(), w, w, h), 3);
            break;
        }
        case 3: {
            ASSERT_EQ(frame.size(), luma * 4);
            // Bottom-up: the picture's top row is the buffer's last row.
            EXPECT_TRUE(IsTestRed(&frame[(luma - size_t(w) + size_t(w / 2)) * 4]));
            EXPECT_FALSE(IsTestRed(&frame[size_t(w / 2) * 4]));
            EXPECT_EQ(frame[3], 255);
            break;
        }
        case 1: {
            ASSERT_EQ(frame.size(), luma * 2);
            const auto pixel = [&](size_t index) { return uint16_t(frame[index * 2] | frame[index * 2 + 1] << 8); };
            const uint16_t top = pixel(luma - size_t(w) + size_t(w / 2));
            EXPECT_GT(top >> 11, 24);
            EXPECT_LT((top >> 5) & 63, 10);
            EXPECT_LT(top & 31, 5);
            const uint16_t bottomGrey = pixel(size_t(w) * 10 + size_t(w / 2));
            EXPECT_NEAR(bottomGrey >> 11, 16, 2);
            break;
        }
        }
    }
}

// A phone held upright stores its frames turned and says so in the track matrix: the probe reports the size as
// shown, and every frame comes upright (the red band on top, the frame number readable at the bottom left).
TEST(MediaReader, TurnedStreamsAreProbedAndDecodedUpright)
{
    TTestFolder folder;
    for (const int rotation : { 0, 90, 180, 270 }) {
        SCOPED_TRACE(rotation);
        TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
        spec.Video[0].Width = 96;
        spec.Video[0].Height = 64;
        spec.Video[0].Rotation = rotation;
        const std::string path = MakeClip(folder, "turned" + std::to_string(rotation) + ".mp4", spec);
        const bool sideways = rotation == 90 || rotation == 270;
        const int w = sideways ? 64 : 96;
        const int h = sideways ? 96 : 64;
        TReaderRecorder recorder;
        TReaderPtr reader = OpenReader(path, 5);
        MediaReaderInfo info {};
        reader->GetInfo(&info);
        EXPECT_EQ(info.VideoStreams[0].Width, w);
        EXPECT_EQ(info.VideoStreams[0].Height, h);
        ASSERT_EQ(reader->Prepare(), 0);
        ASSERT_EQ(reader->Run(), 0);
        const std::vector<TRecordedCall> video = recorder.CallsOf('V');
        ASSERT_EQ(video.size(), 10u);
        const std::vector<uint8_t>& frame = video[3].Data;
        ASSERT_EQ(frame.size(), size_t(w) * h * 3 / 2);
        for (const int x : { 2, w / 2, w - 3 })
            EXPECT_NEAR(frame[size_t(w) * 2 + size_t(x)], kTestRedY, 10) << "top row at " << x;
        EXPECT_NEAR(frame[size_t(h / 2) * w + 2], kTestGreyY, 10);
        EXPECT_NEAR(frame[size_t(h / 2) * w + size_t(w - 3)], kTestGreyY, 10);
        EXPECT_EQ(FrameNumber(video[3], w, h), 3);
    }
}

TEST(MediaReader, SurroundAudioIsMixedDownToStereo)
{
    // Only the centre channel sounds: taking the first two channels would give silence, a real mix does not.
    TTestFolder folder;
    TReaderRecorder recorder;
    TTestClipSpec spec { "mp4", 1.0, {}, { TTestAudioStream { "aac", 44100, 6, 440.0, 2 } } };
    TReaderPtr reader = OpenReader(MakeClip(folder, "surround.mp4", spec), 5);
    MediaReaderInfo info;
    reader->GetInfo(&info);
    EXPECT_EQ(info.AudioStreams[0].Channels, 6);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Run(), 0);

    double left = 0.0;
    double right = 0.0;
    int64_t samples = 0;
    for (const TRecordedCall& block : recorder.CallsOf('A')) {
        ASSERT_EQ(block.Bytes % 4, 0);
        EXPECT_NEAR((block.End - block.Start) * 44100.0, block.Bytes / 4, 1.0);
        const auto* values = reinterpret_cast<const int16_t*>(block.Data.data());
        for (int i = 0; i < block.Bytes / 4; ++i) {
            left += double(values[2 * i]) * values[2 * i];
            right += double(values[2 * i + 1]) * values[2 * i + 1];
        }
        samples += block.Bytes / 4;
    }
    ASSERT_GT(samples, 40000);
    const double leftRms = std::sqrt(left / double(samples));
    const double rightRms = std::sqrt(right / double(samples));
    EXPECT_GT(leftRms, 1000.0); // The tone is 0.3 of full scale; the centre comes in at about -3 dB.
    EXPECT_NEAR(leftRms, rightRms, leftRms * 0.05);
}

TEST(MediaReader, FramesKeepTheProbeSizeWhenTheStreamChangesSize)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    TTestVideoStream video;
    video.ResizeAt = 0.5;
    video.ResizeWidth = 128;
    video.ResizeHeight = 96;
    TReaderPtr reader = OpenReader(MakeClip(folder, "resize.avi", TTestClipSpec { "avi", 1.0, { video }, {} }), 5);
    MediaReaderInfo info;
    reader->GetInfo(&info);
    ASSERT_EQ(info.VideoStreams[0].Width, 64);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Run(), 0);

    const std::vector<TRecordedCall> frames = recorder.CallsOf('V');
    ASSERT_EQ(frames.size(), 10u);
    for (const TRecordedCall& frame : frames) {
        SCOPED_TRACE(frame.Start);
        ASSERT_EQ(frame.Data.size(), 64u * 48u * 3u / 2u);
        // The red band stays on top, scaled to half its height in the larger frames.
        EXPECT_NEAR(frame.Data[64 * 2 + 32], kTestRedY, 10);
        EXPECT_NEAR(frame.Data[64 * 24 + 32], kTestGreyY, 10);
    }
}
