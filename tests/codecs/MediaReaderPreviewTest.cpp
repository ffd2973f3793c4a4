// Play: preview playback on the reader's own thread, in 16-bit frames, paced to the clip's clock.
#include "CodecTestSupport.h"
#include "codecs/avcore/TAvDecodeEngine.h"

#include <cmath>

namespace {

// Previews run twenty times faster than real time here; one test checks the pacing on a clock of its own.
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

namespace {

// A pacing clock that jumps to each due time at once: a preview runs instantly, and the clock tells when each
// frame would have been shown.
class TJumpingPaceClock final : public TAvPaceClock {
public:
    double Now() override { return FNow; }
    bool WaitUntil(std::condition_variable&, std::unique_lock<std::mutex>&, double due,
        const std::function<bool()>& interrupted) override
    {
        if (interrupted())
            return true;
        if (due > FNow)
            FNow = due;
        return false;
    }

private:
    std::atomic<double> FNow { 1000.0 };
};

} // namespace

TEST_F(MediaReaderPreview, PacingFollowsTheClipClock)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    spec.Duration = 0.5;
    const std::string path = MakeClip(Folder, "half.mp4", spec);
    struct Case {
        double Rate;
        double Step; // Seconds of the clock between two frames.
    };
    const Case kCases[] = { { 1.0, 0.1 }, { 4.0, 0.025 } };
    TJumpingPaceClock clock;
    TAvDecodeEngine::SetPaceClock(&clock);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Rate);
        TAvDecodeEngine::SetPreviewPaceRate(c.Rate);
        TReaderRecorder recorder;
        std::vector<double> shown;
        recorder.AfterVideo = [&](int) {
            shown.push_back(clock.Now());
            return true;
        };
        TReaderPtr reader = OpenReader(path, 1);
        ASSERT_EQ(reader->Prepare(), 0);
        ASSERT_EQ(reader->Play(0), 0);
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        EXPECT_EQ(reader->Stop(), 0);
        // Five frames at 0.0 .. 0.4 s of the clip, each shown its step after the one before.
        ASSERT_EQ(shown.size(), 5u);
        for (size_t i = 1; i < shown.size(); ++i)
            EXPECT_NEAR(shown[i] - shown[i - 1], c.Step, 1e-6);
    }
    TAvDecodeEngine::SetPaceClock(nullptr);
}
