// Play: preview playback on the reader's own thread, in 16-bit frames, paced to the clip's clock.
#include "CodecTestSupport.h"
#include "codecs/avcore/TAvDecodeEngine.h"

#include <cmath>

namespace {

// Previews run twenty times faster than real time here; one test checks real-time pacing itself.
class MediaReaderPreview : public ::testing::Test {
protected:
    void SetUp() override { TAvDecodeEngine::SetPreviewPaceRate(20.0); }
    void TearDown() override { TAvDecodeEngine::SetPreviewPaceRate(1.0); }

    TTestFolder Folder;
    TReaderRecorder Recorder;
};

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

TEST_F(MediaReaderPreview, PlaysSixteenBitFramesOnItsOwnThreadWithoutAudio)
{
    TReaderPtr reader = OpenReader(MakeClip(Folder, TTestClipKind::Mp4H264Aac), 1);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));

    const std::vector<TRecordedCall> calls = Recorder.Calls();
    EXPECT_EQ(CallOrder(calls), "BVVVVVVVVVVE");
    for (const TRecordedCall& call : calls)
        EXPECT_NE(call.Thread, std::this_thread::get_id());
    EXPECT_EQ(Recorder.BeginInfo().ColorFormat, 1);
    const std::vector<uint8_t>& frame = calls[1].Data;
    ASSERT_EQ(frame.size(), 64u * 48u * 2u);
    const uint16_t top = uint16_t(frame[(47 * 64 + 32) * 2] | frame[(47 * 64 + 32) * 2 + 1] << 8);
    EXPECT_GT(top >> 11, 24); // Bottom-up: the red top row is the last row.
    EXPECT_EQ(reader->Stop(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
}

TEST_F(MediaReaderPreview, ReplaysFromTheStartAfterTheEndWithANewBegin)
{
    TReaderPtr reader = OpenReader(MakeClip(Folder, TTestClipKind::VideoOnly), 1);
    MediaReaderInfo info;
    reader->GetInfo(&info);
    ASSERT_EQ(reader->Prepare(), 0);
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    // The end callback may still be returning; Stop waits for it.
    EXPECT_EQ(reader->Stop(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    double position = 0.0;
    ASSERT_EQ(reader->GetPosition(&position), 0);
    EXPECT_EQ(std::trunc(position), std::trunc(info.Duration));
    EXPECT_DOUBLE_EQ(position, info.Duration);

    // What the main window does at the end: seek to 0 and play again.
    ASSERT_EQ(reader->Seek(0.0), 0);
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 2));
    const std::string order = CallOrder(Recorder.Calls());
    EXPECT_EQ(order, "BVVVVVVVVVVEBVVVVVVVVVVE");
}

TEST_F(MediaReaderPreview, PauseHoldsAndPlayResumes)
{
    TReaderPtr reader = OpenReader(MakeClip(Folder, TTestClipKind::VideoOnly), 1);
    TGate afterTwo;
    Recorder.AfterVideo = [&](int count) {
        if (count == 2)
            afterTwo.Wait();
        return true;
    };
    ASSERT_EQ(reader->Play(0), 0); // Play prepares a reader that was not prepared.
    EXPECT_EQ(reader->GetState(), kMediaReaderPlaying);
    ASSERT_TRUE(Recorder.WaitFor('V', 2));
    EXPECT_EQ(reader->Pause(), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderPaused);
    afterTwo.Open();
    ASSERT_EQ(reader->Play(0), 0);
    EXPECT_EQ(reader->GetState(), kMediaReaderPlaying);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(CallOrder(Recorder.Calls()), "BVVVVVVVVVVE");
}

TEST_F(MediaReaderPreview, StopAndReleaseWaitForTheCallbacks)
{
    const std::string path = MakeClip(Folder, TTestClipKind::VideoOnly);
    {
        TReaderPtr reader = OpenReader(path, 1);
        ASSERT_EQ(reader->Play(0), 0);
        ASSERT_TRUE(Recorder.WaitFor('V', 1));
        EXPECT_EQ(reader->Stop(), 0);
        Recorder.MarkStopped();
        EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    }
    EXPECT_EQ(Recorder.CallsAfterStop(), 0);
    EXPECT_EQ(Recorder.Count('E'), 0);

    TReaderRecorder second;
    {
        TReaderPtr reader = OpenReader(path, 1);
        ASSERT_EQ(reader->Play(0), 0);
        ASSERT_TRUE(second.WaitFor('V', 1));
        reader.reset(); // Released while playing.
        second.MarkStopped();
    }
    EXPECT_EQ(second.CallsAfterStop(), 0);
}

TEST_F(MediaReaderPreview, SeekWhilePlayingMovesTheNextFrames)
{
    TReaderPtr reader = OpenReader(MakeClip(Folder, TTestClipKind::VideoOnly), 1);
    Recorder.AfterVideo = [&](int count) {
        if (count == 2) {
            EXPECT_EQ(reader->Seek(0.7), 0);
        }
        return true;
    };
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    const std::vector<TRecordedCall> video = Recorder.CallsOf('V');
    ASSERT_EQ(video.size(), 5u);
    EXPECT_NEAR(video[2].Start, 0.7, 1e-6);
}

TEST_F(MediaReaderPreview, AudioOnlyPreviewKeepsTimeAndEnds)
{
    TReaderPtr reader = OpenReader(MakeClip(Folder, TTestClipKind::AudioOnly), 1);
    MediaReaderInfo info;
    reader->GetInfo(&info);
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(CallOrder(Recorder.Calls()), "BE");
    EXPECT_EQ(reader->Stop(), 0);
    double position = 0.0;
    reader->GetPosition(&position);
    EXPECT_DOUBLE_EQ(position, info.Duration);
}

TEST_F(MediaReaderPreview, PacingFollowsTheClipClock)
{
    TAvDecodeEngine::SetPreviewPaceRate(1.0);
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    spec.Duration = 0.5;
    TReaderPtr reader = OpenReader(MakeClip(Folder, "half.mp4", spec), 1);
    ASSERT_EQ(reader->Prepare(), 0);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(reader->Play(0), 0);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // Five frames at 0.0 .. 0.4 s: the last one is due 0.4 s after the first.
    EXPECT_GE(elapsed, 0.38);
    EXPECT_LT(elapsed, 3.0);
    EXPECT_EQ(Recorder.Count('V'), 5);
}
