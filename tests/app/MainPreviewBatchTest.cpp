// The main window's preview player, its frame display during a conversion and its batch, on the headless display:
// the cut and letterbox of preview frames, a real preview of a clip, the trim rules and the stop order against a
// recording decoder, the conversion hook with real and failing converters, and batches of real conversions and of
// recorded jobs for the stop prompt and a close during the batch.
#include "app/ConversionPreview.h"
#include "app/MainBatch.h"
#include "app/MainPreview.h"
#include "app/PreviewFrames.h"

#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestClip.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TTimer.h"
#include "framework/core/Exception.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/shell/ShellExecute.h"
#include "skin/controls/SkinTrackBars.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/framework/ControlsTestSupport.h"

#include <chrono>
#include <thread>

namespace {

constexpr TColor32 kBlack = 0xFF000000;

// A frame whose every pixel tells its own position: red = x, green = y, blue 0x80.
void FillPositionFrame(TBitmap32& frame, int width, int height)
{
    frame.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            frame.SetPixel(x, y, 0xFF000080 | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8);
    }
}

TEST(RenderPreviewFrame, CropAndLetterboxBars)
{
    struct Case {
        const char* Name;
        TPreviewGeometry Geometry;
        int LeftBar, RightBar, TopBar, BottomBar;
    };
    const Case cases[] = {
        { "square middle of 640x480", { 640, 480, 80, 80, 0, 0, true }, 80, 80, 0, 0 },
        { "band of 800x600", { 800, 600, 0, 0, 100, 100, true }, 0, 0, 100, 100 },
        { "bars of 6 split 2 and 4", { 106, 100, 3, 3, 0, 0, true }, 2, 4, 0, 0 },
        { "bars of 7 split 2 and 5", { 107, 100, 4, 3, 0, 0, true }, 2, 5, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const int w = c.Geometry.StreamWidth;
        const int h = c.Geometry.StreamHeight;
        TBitmap32 frame;
        FillPositionFrame(frame, w, h);
        TBitmap32 display;
        RenderPreviewFrame(c.Geometry, frame, display);
        ASSERT_EQ(display.Width(), w);
        ASSERT_EQ(display.Height(), h);
        const int midX = w / 2;
        const int midY = h / 2;
        // Each bar is opaque black up to its edge, and the picture begins right after it.
        if (c.LeftBar > 0) {
            EXPECT_EQ(display.Pixel(c.LeftBar - 1, midY), kBlack);
            EXPECT_NE(display.Pixel(c.LeftBar, midY), kBlack);
        } else {
            EXPECT_NE(display.Pixel(0, midY), kBlack);
        }
        if (c.RightBar > 0) {
            EXPECT_EQ(display.Pixel(w - c.RightBar, midY), kBlack);
            EXPECT_NE(display.Pixel(w - c.RightBar - 1, midY), kBlack);
        }
        if (c.TopBar > 0) {
            EXPECT_EQ(display.Pixel(midX, c.TopBar - 1), kBlack);
            EXPECT_NE(display.Pixel(midX, c.TopBar), kBlack);
            EXPECT_EQ(display.Pixel(midX, h - c.BottomBar), kBlack);
            EXPECT_NE(display.Pixel(midX, h - c.BottomBar - 1), kBlack);
        }
    }
}

TEST(RenderPreviewFrame, WithoutFixAspectTheCutIsStretchedOverTheWholeFrame)
{
    TBitmap32 frame;
    FillPositionFrame(frame, 640, 480);
    TBitmap32 display;
    RenderPreviewFrame(TPreviewGeometry { 640, 480, 80, 80, 0, 0, false }, frame, display);
    ASSERT_EQ(display.Width(), 640);
    // The first column shows the cut's first column (x = 80), the last one the cut's last (x = 559).
    EXPECT_NEAR(int(display.Pixel(0, 240) >> 16 & 0xFF), 80, 1);
    EXPECT_NEAR(int(display.Pixel(639, 240) >> 16 & 0xFF), 559 & 0xFF, 1);
    EXPECT_NE(display.Pixel(0, 240), kBlack);
}

TEST(RenderPreviewFrame, ACropLeavingNothingOrAStreamLargerThanTheFrameStaysInsideTheFrame)
{
    // The probe said 64x48 but frames are 32x24; and a crop that takes the whole width.
    const TPreviewGeometry cases[] = { { 64, 48, 0, 0, 0, 0, true }, { 32, 24, 20, 20, 0, 0, true },
        { 0, 0, 40, 0, 30, 0, false } };
    for (const TPreviewGeometry& geometry : cases) {
        TBitmap32 frame;
        FillPositionFrame(frame, 32, 24);
        TBitmap32 display;
        RenderPreviewFrame(geometry, frame, display);
        EXPECT_GT(display.Width(), 0);
        EXPECT_NE(display.Pixel(display.Width() / 2, display.Height() / 2), kBlack);
    }
}

// --- The preview player -----------------------------------------------------------------------------------------

// A decoder that records what the player asks of it and delivers the callbacks the test hands it.
class TRecordingDecoder final : public DecoderBase {
public:
    TRecordingDecoder(std::vector<std::string>& log, TPreviewFrames& frames)
        : DecoderBase("recorded")
        , FLog(log)
        , FFrames(frames)
    {
    }
    ~TRecordingDecoder() override { FLog.push_back("Delete"); }

    bool SetVideoStream(int32_t) override { return true; }
    bool SetAudioStream(int32_t) override { return true; }
    bool Start() override { return true; }
    bool Pause() override
    {
        FLog.push_back("Pause");
        State = dsPaused;
        return true;
    }
    bool Stop() override
    {
        // A callback may be waiting for the frame lock: it must be free while the decoder stops.
        const bool lockFree = FFrames.Lock.try_lock();
        if (lockFree)
            FFrames.Lock.unlock();
        FLog.push_back(lockFree ? "Stop" : "Stop under the frame lock");
        State = dsStopped;
        return true;
    }
    bool Play(uintptr_t) override
    {
        FLog.push_back("Play");
        State = dsPlaying;
        return true;
    }
    int32_t GetPosition(double* position) override
    {
        *position = Position;
        return 0;
    }
    int32_t Seek(double position) override
    {
        FLog.push_back("Seek " + std::to_string(int(position * 100)));
        return 0;
    }
    DecoderState GetState() override { return State; }
    bool Unnamed11(int32_t, int32_t) override { return false; }

    void Begin(StreamFormat format) { BeginCallback.load()(&format); }
    void Frame(void* data) { VideoCallback.load()(0.0, 0.0, data); }
    void End() { EndCallback.load()(); }

    double Position = 0.0;
    DecoderState State = dsStopped;

private:
    std::vector<std::string>& FLog;
    TPreviewFrames& FFrames;
};

class MainPreviewTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 785, 521);
        Form->Show();
        Controls.tbPreview = new TspSkinTrackBar(Form);
        Controls.tbPreview->SetParent(Form);
        Controls.tbPreview->SetBounds(541, 400, 179, 20);
        Controls.PreviewImage = new TImage32(Form);
        Controls.PreviewImage->SetParent(Form);
        Controls.PreviewImage->SetBounds(500, 100, 240, 180);
        Controls.imgStartTime = new TImage(Form);
        Controls.imgEndTime = new TImage(Form);
        for (TImage* marker : { Controls.imgStartTime, Controls.imgEndTime }) {
            marker->SetParent(Form);
            marker->SetBounds(0, 0, 9, 9);
            marker->SetVisible(false);
        }
        Controls.StartEndTimeShape = new TShape(Form);
        Controls.StartEndTimeShape->SetParent(Form);
        Controls.StartEndTimeShape->SetBounds(0, 0, 10, 5);
        Player = std::make_unique<TMainPreview>(Frames, Controls);
        Player->UpdateControlStates = [this] { Log.push_back("UpdateControlStates"); };
        Player->CreateDecoder = [this](TConvertJob&) {
            auto decoder = std::make_unique<TRecordingDecoder>(Log, Frames);
            Decoder = decoder.get();
            return decoder;
        };
    }
    void TearDown() override
    {
        Player.reset();
        ControlsTest::TearDown();
    }

    // A job on a clip of `seconds`, owned by the test so it outlives the player.
    TConvertJob* ClipJob(double seconds, int frameRate = 1)
    {
        TTestClipSpec spec;
        spec.Duration = seconds;
        spec.Video.push_back(TTestVideoStream {});
        spec.Video.back().FrameRateNum = frameRate;
        const std::string path = Clips.File("clip" + std::to_string(++ClipCount) + ".avi");
        spec.Container = "avi";
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        OwnedJobs.push_back(std::make_unique<TConvertJob>(path));
        return OwnedJobs.back().get();
    }

    TForm* Form = nullptr;
    TMainPreviewControls Controls;
    TPreviewFrames Frames;
    std::unique_ptr<TMainPreview> Player;
    TRecordingDecoder* Decoder = nullptr;
    std::vector<std::string> Log;
    TTempFolder Clips;
    int ClipCount = 0;
    TJobList OwnedJobs;
};

TEST_F(MainPreviewTest, StartingAnalysesTheJobSetsTheBarAndMarksItPreviewing)
{
    TConvertJob* job = ClipJob(10.5, 2);
    Player->Preview(job);
    ASSERT_TRUE(Player->HasDecoder());
    EXPECT_TRUE(job->Analysed);
    EXPECT_EQ(Controls.tbPreview->MaxValue(), 1050);
    EXPECT_EQ(job->Status, jsPreviewing);
    EXPECT_EQ(Player->DecoderState(), dsPlaying);
    EXPECT_TRUE(Player->PreviewTimer()->Enabled());

    // At the end (the position truncates to the duration's whole seconds) "Preview" starts again from 0; a paused
    // preview resumes where it is.
    Log.clear();
    Decoder->Position = 10.2;
    Decoder->State = dsStopped;
    Player->Preview(job);
    Decoder->Position = 4.0;
    Decoder->State = dsPaused;
    Player->Preview(job);
    EXPECT_EQ(Log, (std::vector<std::string> { "Seek 0", "Play", "Play" }));

    // A decoder running a conversion start is left alone.
    Log.clear();
    Decoder->State = dsRunning;
    Player->Preview(job);
    Player->StopCommand();
    EXPECT_TRUE(Log.empty());
}

TEST_F(MainPreviewTest, StopStopsTheDecoderOutsideTheFrameLockBeforeDeletingIt)
{
    TConvertJob* job = ClipJob(3);
    Player->Preview(job);
    Decoder->Begin(StreamFormat { 3.0, true, 64, 48, 1.0, kColorFormat16 });
    Controls.tbPreview->SetValue(150);
    Log.clear();
    Player->StopCommand();
    EXPECT_EQ(Log, (std::vector<std::string> { "Stop", "Delete", "UpdateControlStates" }));
    EXPECT_FALSE(Player->HasDecoder());
    EXPECT_EQ(Player->DecoderState(), 0);
    EXPECT_EQ(job->Status, jsQueue);
    EXPECT_EQ(Player->PreviewJob(), nullptr);
    EXPECT_EQ(Controls.tbPreview->Value(), 0);
    EXPECT_FALSE(Player->PreviewTimer()->Enabled());
    std::lock_guard lock(Frames.Lock);
    EXPECT_EQ(Frames.PreviewConverter, 0u);
    EXPECT_NE(Frames.FrameBitmap, nullptr) << "the last frame outlives the preview";
}

TEST_F(MainPreviewTest, FramesAreCopiedOnlyWhen32BitOrConverted)
{
    // A 16-bit frame goes through the converter; a 32-bit one is copied; a YUV frame, or a 16-bit one whose
    // converter could not be made, is dropped instead of being read as 32-bit pixels past its end.
    struct Case {
        const char* Name;
        uint8_t Format;
        int Width;
        bool Shown;
    };
    const Case cases[] = {
        { "16-bit", kColorFormat16, 4, true },
        { "32-bit", kColorFormat32, 4, true },
        { "planar YUV", 5, 4, false },
        { "16-bit without a converter", kColorFormat16, 20000, false },
    };
    TConvertJob* job = ClipJob(2);
    Player->Preview(job);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const int height = 2;
        Decoder->Begin(StreamFormat { 2.0, true, c.Width, height, 1.0, c.Format });
        // Bottom-up source: its first row is the picture's bottom row. 16-bit 0xF800 is pure red.
        std::vector<uint8_t> frame(size_t(c.Width) * height * 4, 0);
        if (c.Format == kColorFormat16) {
            for (int x = 0; x < c.Width; ++x)
                frame[2 * x + 1] = 0xF8;
        } else {
            for (int x = 0; x < c.Width; ++x)
                reinterpret_cast<uint32_t*>(frame.data())[x] = 0xFFFF0000;
        }
        {
            std::lock_guard lock(Frames.Lock);
            Frames.FrameBitmap->Clear(0);
        }
        Decoder->Frame(frame.data());
        std::lock_guard lock(Frames.Lock);
        EXPECT_EQ(Frames.FrameBitmap->Pixel(0, height - 1), c.Shown ? 0xFFFF0000 : 0u);
        EXPECT_EQ(Frames.FrameBitmap->Pixel(0, 0), c.Shown && c.Format == kColorFormat16 ? 0xFF000000 : 0u);
    }
    // The end frees the converter and keeps the frame.
    Decoder->Begin(StreamFormat { 2.0, true, 4, 2, 1.0, kColorFormat16 });
    Decoder->End();
    std::lock_guard lock(Frames.Lock);
    EXPECT_EQ(Frames.PreviewConverter, 0u);
    EXPECT_NE(Frames.FrameBitmap, nullptr);
}

TEST_F(MainPreviewTest, PauseWorksOnlyWhilePlayingBetweenBeginAndEnd)
{
    TConvertJob* job = ClipJob(2);
    Player->Preview(job);
    Log.clear();
    Player->PauseCommand(); // No begin callback yet, so no converter.
    Decoder->Begin(StreamFormat { 2.0, true, 64, 48, 1.0, kColorFormat16 });
    Player->PauseCommand();
    Player->PauseCommand(); // Already paused.
    EXPECT_EQ(Log, (std::vector<std::string> { "Pause" }));
}

TEST_F(MainPreviewTest, TrimRulesMarkersAndHint)
{
    TConvertJob* job = ClipJob(10);
    Player->Preview(job);
    ASSERT_EQ(Controls.tbPreview->MaxValue(), 1000);
    struct Step {
        const char* Name;
        bool Start;
        double Position;
        double StartTime, EndTime;
        int StartLeft, EndLeft;
    };
    const Step steps[] = {
        { "start at 2 s", true, 2.0, 2.0, -1.0, 575, 711 },
        { "end at 8 s", false, 8.0, 2.0, 8.0, 575, 677 },
        { "start past the end goes 1 s before it", true, 9.0, 7.0, 8.0, 660, 677 },
        { "end before the start goes 1 s after it", false, 5.0, 7.0, 8.0, 660, 677 },
        { "start at 0 clears it", true, 0.0, -1.0, 8.0, 541, 677 },
        { "end at 0 clears it", false, 0.0, -1.0, -1.0, 541, 541 },
        { "end within the first second", false, 0.5, -1.0, 0.5, 541, 549 },
        { "a start past it stays at the beginning", true, 0.8, 0.0, 0.5, 541, 549 },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Name);
        Decoder->Position = s.Position;
        if (s.Start)
            Player->SetStartTime();
        else
            Player->SetEndTime();
        EXPECT_DOUBLE_EQ(job->StartTime, s.StartTime);
        EXPECT_DOUBLE_EQ(job->EndTime, s.EndTime);
        EXPECT_EQ(Controls.imgStartTime->Left(), s.StartLeft);
        EXPECT_EQ(Controls.imgEndTime->Left(), s.EndLeft);
        EXPECT_TRUE(Controls.imgStartTime->Visible());
        EXPECT_TRUE(Controls.StartEndTimeShape->Visible());
    }
    // The bar spans from right of the start marker to left of the end marker.
    job->StartTime = 2.5;
    job->EndTime = 7.5;
    Player->ShowTrimMarkers(job);
    EXPECT_EQ(Controls.imgStartTime->Left(), 583); // trunc(541 + 170 * 2.5 / 10)
    EXPECT_EQ(Controls.imgEndTime->Left(), 668);
    EXPECT_EQ(Controls.StartEndTimeShape->Left(), 583 + 9 + 1);
    EXPECT_EQ(Controls.StartEndTimeShape->Width(), 668 - 593 - 1);
    Player->UpdateTrimHint();
    EXPECT_EQ(Controls.imgEndTime->Hint(),
        "Start Time:  00:00:02 \nEnd Time:    00:00:07 \nClip Lenght: 00:00:05 ");
    // A job without a trim hides them.
    job->StartTime = job->EndTime = -1.0;
    Player->ShowTrimMarkers(job);
    EXPECT_FALSE(Controls.imgStartTime->Visible());
    EXPECT_FALSE(Controls.StartEndTimeShape->Visible());
}

TEST_F(MainPreviewTest, MarkersOfASourceOfUnknownLengthStayAtTheTrackEnds)
{
    TConvertJob job("/nothing/here.avi");
    job.StartTime = 3.0;
    job.EndTime = 5.0;
    Player->ShowTrimMarkers(&job);
    EXPECT_TRUE(job.Analysed);
    EXPECT_EQ(Controls.imgStartTime->Left(), kTrimTrackLeft);
    EXPECT_EQ(Controls.imgEndTime->Left(), kTrimTrackRight);
}

TEST_F(MainPreviewTest, TheTrackBarFollowsTheDecoderAndSeeksWhenMoved)
{
    TConvertJob* job = ClipJob(10);
    Player->Preview(job);
    Log.clear();
    Decoder->Position = 3.456;
    Backend.AdvanceClock(200);
    Pump();
    EXPECT_EQ(Controls.tbPreview->Value(), 345);
    EXPECT_TRUE(Log.empty()) << "following the decoder does not seek it";
    Controls.tbPreview->SetValue(700);
    EXPECT_EQ(Log, (std::vector<std::string> { "Seek 700" }));
    EXPECT_TRUE(Player->PreviewTimer()->Enabled());
}

TEST_F(MainPreviewTest, ANoticeAfterTheStopDrawsNothing)
{
    TConvertJob* job = ClipJob(2);
    Player->Preview(job);
    Decoder->Begin(StreamFormat { 2.0, true, 4, 2, 1.0, kColorFormat32 });
    std::vector<uint32_t> frame(8, 0xFF00FF00);
    const int width = Controls.PreviewImage->Bitmap()->Width();
    Decoder->Frame(frame.data()); // Posts its notice, still queued.
    Player->StopPreview();
    Pump();
    Backend.AdvanceClock(10);
    Pump();
    EXPECT_FALSE(Player->DisplayTimer()->Enabled());
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Width(), width) << "nothing was drawn";
}

TEST_F(MainPreviewTest, TheDisplayTimerDrawsIntoTheAdvancedWindowWhileItTakesTheFrames)
{
    TConvertJob* job = ClipJob(2);
    Player->Preview(job);
    Decoder->Begin(StreamFormat { 2.0, true, 4, 2, 1.0, kColorFormat32 });
    std::vector<uint32_t> frame(8, 0xFF00FF00);
    int taken = 0;
    bool take = true;
    Player->DrawAdvanceFrame = [&](TBitmap32* bitmap) {
        EXPECT_EQ(bitmap->Width(), 4);
        taken += take;
        return take;
    };
    for (bool open : { true, false }) {
        take = open;
        Decoder->Frame(frame.data());
        Pump();
        EXPECT_TRUE(Player->DisplayTimer()->Enabled());
        Backend.AdvanceClock(10);
        Pump();
        EXPECT_FALSE(Player->DisplayTimer()->Enabled()) << "one-shot";
    }
    EXPECT_EQ(taken, 1);
    // Once the window is closed the frame goes to the preview image, at the stream's size.
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Width(), 64);
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Pixel(1, 1), 0xFF00FF00u);
}

// A real preview: the built-in decoder plays a clip made here, its 16-bit frames are converted and turned upright
// on its thread, and the display timer draws them into the preview image.
TEST_F(MainPreviewTest, ARealClipIsDrawnUprightIntoThePreviewImage)
{
    Player->CreateDecoder = nullptr;
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    const std::string path = Clips.File("real.mp4");
    ASSERT_TRUE(MakeTestClip(path, spec));
    TConvertJob job(path);
    Player->Preview(&job);
    ASSERT_TRUE(Player->HasDecoder());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    TBitmap32* image = Controls.PreviewImage->Bitmap();
    while (image->Width() != 64 && std::chrono::steady_clock::now() < deadline) {
        Pump();
        Backend.AdvanceClock(10);
        std::this_thread::yield();
    }
    Player->StopPreview();
    ASSERT_EQ(image->Width(), 64);
    ASSERT_EQ(image->Height(), 48);
    // The test picture's red band is at its top.
    const TColor32 top = image->Pixel(32, 1);
    EXPECT_GT(int(top >> 16 & 0xFF), 160);
    EXPECT_LT(int(top >> 8 & 0xFF), 90);
    const TColor32 bottom = image->Pixel(32, 46);
    EXPECT_FALSE((bottom >> 16 & 0xFF) > 160 && (bottom >> 8 & 0xFF) < 90) << std::hex << bottom;
}

// --- The conversion preview ---------------------------------------------------------------------------------------

// The codec library's converter, with its calls counted, or one that fails as told.
class TCountingConverter final : public ColorConverter {
public:
    TCountingConverter(int& converts, const bool& initFails, const bool& convertFails)
        : FInner(Braskel_CreateColorConverter())
        , FConverts(converts)
        , FInitFails(initFails)
        , FConvertFails(convertFails)
    {
    }
    ~TCountingConverter() override { Braskel_ReleaseColorConverter(FInner); }
    bool Init(int32_t w, int32_t h, int32_t source, int32_t target) override
    {
        return !FInitFails && FInner->Init(w, h, source, target);
    }
    int32_t GetOutputSize() override { return FInner->GetOutputSize(); }
    bool Convert(const void* source, void* target) override
    {
        ++FConverts;
        return !FConvertFails && FInner->Convert(source, target);
    }

private:
    ColorConverter* FInner;
    int& FConverts;
    const bool& FInitFails;
    const bool& FConvertFails;
};

class ConversionPreviewTest : public MainPreviewTest {
protected:
    void SetUp() override
    {
        MainPreviewTest::SetUp();
        Shown = std::make_unique<TConversionPreview>(Frames, Controls.PreviewImage);
        Shown->CreateConverter = [this]() -> ColorConverter* {
            ++Created;
            if (ThrowOnCreate)
                throw Exception("no converter");
            return new TCountingConverter(Converts, InitFails, ConvertFails);
        };
        Shown->PreviewFailed = [this] { ++Failures; };
    }
    void TearDown() override
    {
        Shown.reset();
        MainPreviewTest::TearDown();
    }

    // A planar 4:2:0 frame of w x h: all grey.
    static std::vector<uint8_t> YuvFrame(int w, int h) { return std::vector<uint8_t>(size_t(w) * h * 3 / 2, 128); }

    // The job whose run the hook belongs to; it outlives the preview, as the window's jobs do.
    TConvertJob RunningJob { "running.avi" };
    std::unique_ptr<TConversionPreview> Shown;
    int Created = 0;
    int Converts = 0;
    int Failures = 0;
    bool InitFails = false;
    bool ConvertFails = false;
    bool ThrowOnCreate = false;
};

TEST_F(ConversionPreviewTest, OneFramePerArmingAndNoneOnceUnticked)
{
    TConvertJob& job = RunningJob;
    Shown->PreviewMovieClick(true, &job);
    std::vector<uint8_t> frame = YuvFrame(8, 6);
    for (int step = 0; step < 3; ++step) {
        for (int i = 0; i < 5; ++i)
            job.CallPreviewHook(frame.data(), 8, 6, 5);
        Shown->Arm(job); // The progress step.
    }
    EXPECT_EQ(Converts, 3);
    EXPECT_EQ(Created, 1) << "the converter lives for the job";
    Pump();
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Width(), 8);
    // Mid grey in, mid grey out (the converter expands video levels a little).
    const TColor32 grey = Controls.PreviewImage->Bitmap()->Pixel(0, 0);
    EXPECT_EQ(grey >> 16 & 0xFF, grey & 0xFF);
    EXPECT_NEAR(int(grey & 0xFF), 0x80, 8);

    Shown->PreviewMovieClick(false, &job);
    for (int i = 0; i < 5; ++i)
        job.CallPreviewHook(frame.data(), 8, 6, 5);
    EXPECT_EQ(Converts, 3);
    std::lock_guard lock(Frames.Lock);
    EXPECT_EQ(Frames.ConversionConverter, nullptr);
    EXPECT_EQ(Frames.FrameBitmap, nullptr);
}

TEST_F(ConversionPreviewTest, A32BitFrameIsCopiedWithoutAConverter)
{
    TConvertJob& job = RunningJob;
    Shown->PreviewMovieClick(true, &job);
    std::vector<uint32_t> frame(4 * 2, 0xFF0000FF);
    frame[0] = 0xFFFF0000; // Bottom-left in a bottom-up frame.
    job.CallPreviewHook(frame.data(), 4, 2, kColorFormat32);
    EXPECT_EQ(Created, 0);
    Pump();
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Pixel(0, 1), 0xFFFF0000u);
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Pixel(0, 0), 0xFF0000FFu);
}

TEST_F(ConversionPreviewTest, FailuresOfTheConverter)
{
    TConvertJob& job = RunningJob;
    std::vector<uint8_t> frame = YuvFrame(8, 6);

    // A converter that does not start shows nothing and leaves the hook armed for the next frame.
    Shown->PreviewMovieClick(true, &job);
    InitFails = true;
    job.CallPreviewHook(frame.data(), 8, 6, 5);
    InitFails = false;
    job.CallPreviewHook(frame.data(), 8, 6, 5);
    EXPECT_EQ(Created, 2);
    EXPECT_EQ(Converts, 1);

    // A failed conversion drops the converter and the frame until the next step.
    ConvertFails = true;
    Shown->Arm(job);
    job.CallPreviewHook(frame.data(), 8, 6, 5);
    {
        std::lock_guard lock(Frames.Lock);
        EXPECT_EQ(Frames.ConversionConverter, nullptr);
        EXPECT_EQ(Frames.FrameBitmap, nullptr);
    }
    job.CallPreviewHook(frame.data(), 8, 6, 5);
    EXPECT_EQ(Converts, 2) << "disarmed until the next step";
    EXPECT_EQ(Failures, 0);

    // A framework exception is reported to the user-interface thread, which unticks the box.
    ThrowOnCreate = true;
    Shown->Arm(job);
    job.CallPreviewHook(frame.data(), 8, 6, 5);
    EXPECT_EQ(Failures, 0) << "not on the decoder's thread";
    Pump();
    EXPECT_EQ(Failures, 1);
}

TEST_F(ConversionPreviewTest, NoticesArrivingLateShowNothing)
{
    TConvertJob& job = RunningJob;
    std::vector<uint32_t> frame(4 * 2, 0xFF00FF00);
    // Unticked after the frame was made: the queued notice finds nothing to show.
    Shown->PreviewMovieClick(true, &job);
    job.CallPreviewHook(frame.data(), 4, 2, kColorFormat32);
    const int width = Controls.PreviewImage->Bitmap()->Width();
    Shown->PreviewMovieClick(false, &job);
    Pump();
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Width(), width);
    // The preview is gone before its notice arrives.
    Shown->PreviewMovieClick(true, &job);
    job.CallPreviewHook(frame.data(), 4, 2, kColorFormat32);
    Shown.reset();
    Pump();
    EXPECT_EQ(Controls.PreviewImage->Bitmap()->Width(), width);
}

// --- The batch ----------------------------------------------------------------------------------------------------

class MainBatchTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Batch = std::make_unique<TMainBatch>(Jobs);
        Batch->OutputFolder = [this] { return Output.Path(); };
        Batch->RefreshJobList = [this] { Log.push_back("Refresh"); };
        Batch->RedrawRow = [this](int row) { Log.push_back("Row " + std::to_string(row)); };
        Batch->ShowStep = [this](const TBatchStep& step) { Steps.push_back(step); };
        Batch->ConfirmStop = [this] {
            Log.push_back("Prompt");
            return Answer;
        };
        Batch->ShowShutdownDialog = [this] { Log.push_back("Shutdown"); };
        Batch->AutoShutdown = [this] { return AutoShutdown; };
    }
    void TearDown() override
    {
        Batch.reset();
        ControlsTest::TearDown();
    }

    // Jobs whose runs only record themselves; `run` says what each run does.
    void RecordedJobs(std::initializer_list<JobStatus> statuses)
    {
        for (JobStatus status : statuses) {
            Jobs.push_back(std::make_unique<TConvertJob>("source" + std::to_string(Jobs.size()) + ".avi"));
            Jobs.back()->Status = status;
        }
        Batch->RunJob = [this](TConvertJob& job) {
            const int index = int(&job == Jobs[0].get() ? 0 : &job == Jobs[1].get() ? 1 : 2);
            Log.push_back("Run " + std::to_string(index));
            if (OnRun)
                OnRun(index, job);
            if (job.Status == jsProcessing)
                job.Status = jsCompleted;
        };
        Batch->PauseJob = [this](TConvertJob& job) {
            Log.push_back("Pause");
            job.Status = jsPaused;
        };
        Batch->ResumeJob = [this](TConvertJob& job) {
            Log.push_back("Resume");
            job.Status = jsProcessing;
        };
        Batch->StopJob = [this](TConvertJob&) { Log.push_back("Stop"); };
    }
    std::vector<std::string> Only(const std::string& prefix) const
    {
        std::vector<std::string> kept;
        for (const std::string& entry : Log) {
            if (entry.rfind(prefix, 0) == 0)
                kept.push_back(entry);
        }
        return kept;
    }

    TJobList Jobs;
    std::unique_ptr<TMainBatch> Batch;
    std::vector<std::string> Log;
    std::vector<TBatchStep> Steps;
    std::function<void(int, TConvertJob&)> OnRun;
    bool Answer = false;
    bool AutoShutdown = false;
    TTempFolder Output;
};

TEST_F(MainBatchTest, EndingsOpenTheFolderOrTheCountdown)
{
    struct Case {
        const char* Name;
        std::vector<JobStatus> Statuses;
        bool AutoShutdown;
        std::vector<std::string> Runs;
        bool FolderOpened;
    };
    const Case cases[] = {
        { "nothing queued", { jsCompleted, jsFailed }, false, {}, true },
        { "nothing queued, auto shutdown", { jsCompleted }, true, {}, false },
        { "finished and failed rows are skipped", { jsCompleted, jsQueue, jsFailed }, false, { "Run 1" }, true },
        { "all queued, auto shutdown", { jsQueue, jsQueue }, true, { "Run 0", "Run 1" }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Jobs.clear();
        Log.clear();
        TShellCommandRecorder shell;
        RecordedJobs({});
        for (JobStatus status : c.Statuses) {
            Jobs.push_back(std::make_unique<TConvertJob>("x.avi"));
            Jobs.back()->Status = status;
        }
        AutoShutdown = c.AutoShutdown;
        Batch->Go();
        EXPECT_EQ(Only("Run"), c.Runs);
        EXPECT_EQ(Only("Shutdown").size(), c.AutoShutdown ? 1u : 0u);
        const auto commands = shell.Commands();
        ASSERT_EQ(commands.size(), c.FolderOpened ? 1u : 0u);
        if (c.FolderOpened) {
            EXPECT_EQ(commands[0].Argv.back(), Output.Path());
        }
        EXPECT_FALSE(Batch->Converting);
    }
}

TEST_F(MainBatchTest, AFailedJobDoesNotStopTheBatch)
{
    RecordedJobs({ jsQueue, jsQueue, jsQueue });
    OnRun = [](int index, TConvertJob& job) {
        if (index == 1)
            job.Status = jsFailed;
    };
    int reports = 0;
    Batch->ReportFailures = [&](const std::string&) { ++reports; };
    TShellCommandRecorder shell;
    Batch->Go();
    EXPECT_EQ(Only("Run"), (std::vector<std::string> { "Run 0", "Run 1", "Run 2" }));
    EXPECT_EQ(Jobs[0]->Status, jsCompleted);
    EXPECT_EQ(Jobs[1]->Status, jsFailed);
    EXPECT_EQ(Jobs[2]->Status, jsCompleted);
    EXPECT_EQ(reports, 1);
    // The failure was reported; the next batch skips the failed row and reports nothing again. Nor does one that
    // ends in the shutdown countdown, which must run unattended.
    Batch->Go();
    EXPECT_EQ(reports, 1);
    Jobs[2]->Status = jsQueue;
    OnRun = [](int, TConvertJob& job) { job.Status = jsFailed; };
    AutoShutdown = true;
    Batch->Go();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(Only("Shutdown").size(), 1u);
}

TEST_F(MainBatchTest, StopAnsweredNoResumesAndYesRequeuesAndEndsTheBatch)
{
    RecordedJobs({ jsQueue, jsQueue });
    OnRun = [this](int index, TConvertJob& job) {
        if (index != 0)
            return;
        Answer = false;
        Batch->Stop();
        EXPECT_EQ(job.Status, jsProcessing) << "resumed";
        EXPECT_TRUE(Batch->Converting);
        Answer = true;
        Batch->Stop();
    };
    TShellCommandRecorder shell;
    Batch->Go();
    EXPECT_EQ(Only("Run"), (std::vector<std::string> { "Run 0" })) << "the loop ended";
    std::vector<std::string> stopOrder;
    for (const std::string& entry : Log) {
        if (entry == "Pause" || entry == "Prompt" || entry == "Resume" || entry == "Stop")
            stopOrder.push_back(entry);
    }
    EXPECT_EQ(stopOrder, (std::vector<std::string> { "Pause", "Prompt", "Resume", "Pause", "Prompt", "Stop" }));
    EXPECT_EQ(Jobs[0]->Status, jsQueue);
    EXPECT_EQ(Jobs[1]->Status, jsQueue);
    EXPECT_EQ(shell.Commands().size(), 1u) << "the folder opens after a stop too";
    // Stop outside a batch does nothing.
    Log.clear();
    Batch->Stop();
    EXPECT_TRUE(Log.empty());
}

TEST_F(MainBatchTest, ClosingDuringTheBatchEndsItBeforeTheWindowGoes)
{
    RecordedJobs({ jsQueue, jsQueue });
    int closes = 0;
    Batch->CloseAfterBatch = [&] { ++closes; };
    OnRun = [&](int index, TConvertJob&) {
        if (index == 0) {
            EXPECT_FALSE(Batch->RequestClose()) << "the window stays while Go runs";
            EXPECT_EQ(closes, 0);
        }
    };
    TShellCommandRecorder shell;
    Batch->Go();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(Only("Run"), (std::vector<std::string> { "Run 0" }));
    EXPECT_EQ(Only("Stop"), (std::vector<std::string> { "Stop" }));
    EXPECT_EQ(Jobs[0]->Status, jsQueue);
    EXPECT_TRUE(shell.Commands().empty()) << "no folder opens as the program closes";
    EXPECT_TRUE(Batch->RequestClose()) << "no batch: close at once";
}

TEST_F(MainBatchTest, ProgressStepsRedrawOnlyTheRunningRowAndReArmThePreview)
{
    RecordedJobs({ jsCompleted, jsQueue, jsQueue });
    int armed = 0;
    Batch->PreviewMovie = [] { return true; };
    Batch->ArmPreview = [&](TConvertJob&) { ++armed; };
    OnRun = [this](int, TConvertJob&) {
        for (int tick = 0; tick < 3; ++tick) {
            Backend.AdvanceClock(1000);
            Pump();
        }
    };
    TShellCommandRecorder shell;
    Batch->Go();
    // Per job: one direct step, three timer steps, one direct step after the run.
    EXPECT_EQ(Batch->TickCount, 10u);
    std::vector<std::string> rows = Only("Row");
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Row 1"), 5);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Row 2"), 5);
    EXPECT_EQ(armed, 10);
    EXPECT_FALSE(Batch->ConvertInfoTimer()->Enabled());
    for (const TBatchStep& step : Steps) {
        EXPECT_EQ(step.RemainTime, "-");
        EXPECT_EQ(step.FPS, "0");
    }
    EXPECT_EQ(Steps.back().Hint, "Current Time: 00:00:00    Time Used: 00:00:10    Percent: 0.00");
}

// Real conversions of clips made here: outputs that play, a missing source failing without stopping the batch,
// progress steps that end at 100 and never count frames backwards, and one preview frame per job.
TEST_F(MainBatchTest, RealConversionsWithTheFramePreview)
{
    TTempFolder clips;
    std::vector<std::string> outputs;
    for (int i = 0; i < 3; ++i) {
        const std::string source = clips.File("clip" + std::to_string(i) + ".avi");
        if (i != 1) {
            ASSERT_TRUE(MakeTestClip(source, TestClipSpec(TTestClipKind::AviMpeg4Mp3)));
        }
        auto job = std::make_unique<TConvertJob>(source);
        job->Analysed = i == 1 ? false : job->Analyse();
        job->SetProfile(std::make_unique<TAVIProfile>("AVI", ""));
        job->OutputFile = Output.File("clip" + std::to_string(i) + ".avi");
        outputs.push_back(job->OutputFile);
        Jobs.push_back(std::move(job));
    }
    TPreviewFrames frames;
    TImage32* image = new TImage32(NewForm(0, 0, 200, 200));
    TConversionPreview shown(frames, image);
    int converts = 0;
    const bool fails = false;
    shown.CreateConverter = [&]() -> ColorConverter* { return new TCountingConverter(converts, fails, fails); };
    Batch->JobStarting = [&](TConvertJob& job) {
        shown.ReleaseConverter();
        shown.PreviewMovieClick(true, &job);
    };
    Batch->PreviewMovie = [] { return true; };
    Batch->ArmPreview = [&](TConvertJob& job) { shown.Arm(job); };
    std::vector<std::string> reports;
    Batch->ReportFailures = [&](const std::string& text) { reports.push_back(text); };
    TShellCommandRecorder shell;
    Batch->Go();
    EXPECT_EQ(Jobs[0]->Status, jsCompleted) << Jobs[0]->GetNote();
    EXPECT_EQ(Jobs[1]->Status, jsFailed);
    // The list shows only "Failed": the end of the batch names the source and why, once.
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_FALSE(Jobs[1]->GetNote().empty());
    EXPECT_EQ(reports[0], "Not converted: clip1.avi: " + Jobs[1]->GetNote());
    EXPECT_EQ(Jobs[2]->Status, jsCompleted) << Jobs[2]->GetNote();
    for (int i : { 0, 2 }) {
        TConvertJob check(outputs[i]);
        EXPECT_TRUE(check.Analyse()) << outputs[i];
        EXPECT_NEAR(check.VideoInfo.GetDuration(), 1.0, 0.2);
    }
    // Without timer ticks each job is armed before its run only: one frame converted per job.
    EXPECT_EQ(converts, 2);
    Pump();
    EXPECT_EQ(image->Bitmap()->Width(), 64);
    ASSERT_FALSE(Steps.empty());
    for (const TBatchStep& step : Steps)
        EXPECT_GE(std::stoi(step.FPS), 0);
    EXPECT_EQ(Steps.back().TotalTime, "00:00:01 ");
    EXPECT_EQ(shell.Commands().size(), 1u);
}

} // namespace
