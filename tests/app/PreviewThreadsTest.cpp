// The preview's threads under ThreadSanitizer: a decoder thread hands frames to the preview player and to the
// conversion preview hook, every frame, while the user-interface thread draws, re-arms, unticks "Preview Movie"
// and stops and restarts the preview. Any data race or lock-order problem fails the run.
#include "app/ConversionPreview.h"
#include "app/MainPreview.h"
#include "app/PreviewFrames.h"

#include "engine/TConvertJob.h"
#include "framework/controls/ExtCtrls.h"
#include "imaging/TImage32.h"
#include "skin/controls/SkinTrackBars.h"
#include "tests/framework/ControlsTestSupport.h"

#include <atomic>
#include <thread>

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 12;

// A decoder whose own thread delivers 16-bit frames from Play until Stop, which waits for that thread as the
// real decoders do.
class TThreadedDecoder final : public DecoderBase {
public:
    TThreadedDecoder()
        : DecoderBase("threaded")
    {
    }
    ~TThreadedDecoder() override { Stop(); }

    bool SetVideoStream(int32_t) override { return true; }
    bool SetAudioStream(int32_t) override { return true; }
    bool Start() override { return true; }
    bool Pause() override { return true; }
    bool Stop() override
    {
        FStop = true;
        if (FThread.joinable())
            FThread.join();
        return true;
    }
    bool Play(uintptr_t) override
    {
        if (FThread.joinable())
            return true;
        FThread = std::thread([this] { Run(); });
        return true;
    }
    int32_t GetPosition(double* position) override
    {
        *position = FFrames * 0.04;
        return 0;
    }
    int32_t Seek(double) override { return 0; }
    DecoderState GetState() override { return FStop ? dsStopped : dsPlaying; }
    bool Unnamed11(int32_t, int32_t) override { return false; }

private:
    void Run()
    {
        StreamFormat format { 10.0, true, kWidth, kHeight, 25.0, kColorFormat16 };
        BeginCallback.load()(&format);
        std::vector<uint16_t> frame(kWidth * kHeight, 0xF800);
        while (!FStop) {
            VideoCallback.load()(0.0, 0.04, frame.data());
            ++FFrames;
        }
        EndCallback.load()();
    }

    std::atomic<bool> FStop { false };
    std::atomic<int> FFrames { 0 };
    std::thread FThread;
};

class PreviewThreadsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 785, 521);
        Controls.tbPreview = new TspSkinTrackBar(Form);
        Controls.tbPreview->SetParent(Form);
        Controls.PreviewImage = new TImage32(Form);
        Controls.PreviewImage->SetParent(Form);
        Controls.imgStartTime = new TImage(Form);
        Controls.imgEndTime = new TImage(Form);
        Controls.StartEndTimeShape = new TShape(Form);
    }

    TForm* Form = nullptr;
    TMainPreviewControls Controls;
    TPreviewFrames Frames;
};

TEST_F(PreviewThreadsTest, ThePlayerStopsAndRestartsWhileTheDecoderDeliversFrames)
{
    TConvertJob job("threaded.avi");
    job.Analysed = true;
    TMainPreview player(Frames, Controls);
    player.CreateDecoder = [](TConvertJob&) { return std::make_unique<TThreadedDecoder>(); };
    for (int round = 0; round < 20; ++round) {
        player.Preview(&job);
        for (int i = 0; i < 20; ++i) {
            Backend.AdvanceClock(10);
            Pump();
        }
        player.StopPreview();
    }
    EXPECT_FALSE(player.HasDecoder());
}

TEST_F(PreviewThreadsTest, TheHookRunsEveryFrameWhileTheBoxIsTickedAndUntickedAndTheStepReArmsIt)
{
    TConvertJob job("running.avi");
    TConversionPreview shown(Frames, Controls.PreviewImage);
    shown.PreviewMovieClick(true, &job);
    std::atomic<bool> done { false };
    // The decoder's thread: every frame goes past the hook, as the job's video callback does it.
    std::thread decoder([&] {
        std::vector<uint8_t> frame(kWidth * kHeight * 3 / 2, 100);
        while (!done)
            job.CallPreviewHook(frame.data(), kWidth, kHeight, 5);
    });
    for (int step = 0; step < 400; ++step) {
        shown.Arm(job); // The progress step.
        Pump(); // Shows what arrived.
        if (step % 7 == 3)
            shown.PreviewMovieClick(false, &job);
        if (step % 7 == 5)
            shown.PreviewMovieClick(true, &job);
        if (step % 50 == 0)
            shown.ReleaseConverter(); // A new job starts.
    }
    done = true;
    decoder.join();
    Pump();
}

} // namespace
