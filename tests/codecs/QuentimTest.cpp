// The second decoding library over real clips: the info block, runs on the library's threads, the range, pause,
// restart, preview, destroying a running handle, and inputs it refuses.
#include "codecs/quentim/Quentim.h"

#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvDecodeEngine.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "tests/codecs/TCallbackLog.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TCall {
    char Kind = 0; // 'B'egin, 'V'ideo, 'A'udio, 'E'nd.
    double Start = 0.0;
    double End = 0.0;
    int32_t Bytes = 0;
    std::thread::id Thread;
};

// Records the callbacks of the handle under test, reached through one global the test installs for its lifetime.
class TQuentimRecorder : public TCallbackLog<TCall> {
public:
    TQuentimRecorder() { Current = this; }
    ~TQuentimRecorder() { Current = nullptr; }

    // Open parameters that route every callback here, as a conversion or a preview opens the file.
    static QuentimOpenParams Params(const std::string& path, bool preview)
    {
        QuentimOpenParams params;
        params.WithCallbacks = 1;
        params.Marker2 = 1;
        params.FileName = path.c_str();
        params.Marker8 = params.Marker9 = 1;
        params.WithAudio = preview ? 0 : 1;
        params.RealTime = preview ? 1 : 0;
        params.ColorFormat = preview ? 1 : 5;
        params.Begin = &OnBegin;
        params.Video = &OnVideo;
        params.Audio = &OnAudio;
        params.End = &OnEnd;
        return params;
    }

    // Called on the decoding thread after the numbered video frame (1-based) is recorded.
    std::function<void(int videoCount)> AfterVideo;

    QuentimInfo BeginInfo() const
    {
        std::lock_guard lock(FLock);
        return FBeginInfo;
    }

private:
    static bool OnBegin(QuentimInfo* info)
    {
        std::lock_guard lock(Current->FLock);
        Current->FBeginInfo = *info;
        Current->Add('B');
        return true;
    }
    static bool OnVideo(double start, double end, void* frame)
    {
        TQuentimRecorder* self = Current;
        int count = 0;
        {
            std::lock_guard lock(self->FLock);
            const int64_t size = AvColorFrameSize(
                TAvColorCode(self->FBeginInfo.ColorFormat), self->FBeginInfo.Width, self->FBeginInfo.Height);
            // Touch the whole frame, so a buffer smaller than the info block says shows under the sanitizer.
            const auto* bytes = static_cast<const uint8_t*>(frame);
            for (int64_t i = 0; i < size; ++i)
                self->FChecksum += bytes[i];
            self->Add('V', start, end, int32_t(size));
            count = self->CountLocked('V');
        }
        if (self->AfterVideo)
            self->AfterVideo(count);
        return true;
    }
    static bool OnAudio(double start, double end, void*, int32_t bytes)
    {
        std::lock_guard lock(Current->FLock);
        Current->Add('A', start, end, bytes);
        return true;
    }
    static bool OnEnd()
    {
        std::lock_guard lock(Current->FLock);
        Current->Add('E');
        return true;
    }
    void Add(char kind, double start = 0.0, double end = 0.0, int32_t bytes = 0)
    {
        TCallbackLog::Add(TCall { kind, start, end, bytes, std::this_thread::get_id() });
    }

    static inline TQuentimRecorder* Current = nullptr;
    QuentimInfo FBeginInfo {};
    uint64_t FChecksum = 0;
};

// The handle's state once the decoding thread has finished its last step; the end callback comes just before.
int32_t SettledState(QuentimHandle handle)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Quentim_GetState(handle) == kQuentimRunning && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return Quentim_GetState(handle);
}

// Destroys a handle at the end of a scope.
struct THandle {
    QuentimHandle Value = Quentim_Create();
    ~THandle() { Quentim_Destroy(Value); }
    operator QuentimHandle() const { return Value; }
};

// Blocks the decoding thread inside a callback until the test lets it go.
class TGate {
public:
    void Close()
    {
        std::lock_guard lock(FLock);
        FOpen = false;
    }
    void Open()
    {
        std::lock_guard lock(FLock);
        FOpen = true;
        FChanged.notify_all();
    }
    void Pass()
    {
        std::unique_lock lock(FLock);
        FChanged.wait(lock, [this] { return FOpen; });
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    bool FOpen = true;
};

class QuentimTest : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }

    std::string Clip(const std::string& name, const TTestClipSpec& spec)
    {
        const std::string path = Folder.File(name);
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        return path;
    }
    std::string Clip(TTestClipKind kind) { return Clip("clip" + TestClipExtension(kind), TestClipSpec(kind)); }

    TTestFolder Folder;
    TQuentimRecorder Recorder;
};

TEST_F(QuentimTest, InfoDescribesTheDefaultStreamsOfAnOpenFile)
{
    struct Case {
        const char* Name;
        TTestClipKind Kind;
        bool Video;
        bool Audio;
    };
    const Case kCases[] = {
        { "mp4 h264 aac", TTestClipKind::Mp4H264Aac, true, true },
        { "avi mpeg4 mp3", TTestClipKind::AviMpeg4Mp3, true, true },
        { "video only", TTestClipKind::VideoOnly, true, false },
        { "audio only", TTestClipKind::AudioOnly, false, true },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        const std::string path = Clip(c.Kind);
        THandle handle;
        ASSERT_NE(handle.Value, 0u);
        QuentimOpenParams params;
        params.FileName = path.c_str();
        params.ColorFormat = 5;
        ASSERT_EQ(Quentim_Open(handle, &params), 1);
        QuentimInfo info;
        std::memset(&info, 0xAB, sizeof(info));
        Quentim_GetInfo(handle, &info);
        EXPECT_EQ(info.Opened, 1);
        EXPECT_NEAR(info.Duration, 1.0, 0.15);
        EXPECT_EQ(info.HasVideo != 0, c.Video);
        EXPECT_EQ(info.HasAudio != 0, c.Audio);
        EXPECT_EQ(info.ColorFormat, 5);
        EXPECT_EQ(info.BitsPerSample, 16);
        EXPECT_EQ(info.Width, c.Video ? 64 : 0);
        EXPECT_EQ(info.Height, c.Video ? 48 : 0);
        EXPECT_NEAR(info.FrameRate, c.Video ? 10.0 : 0.0, 0.01);
        EXPECT_EQ(info.SampleRate, c.Audio ? 44100 : 0);
        EXPECT_EQ(info.Channels, c.Audio ? 2 : 0);
        // A probe open has no callbacks to call.
        EXPECT_EQ(Recorder.Calls().size(), 0u);
    }

    // A stream stored turned (a phone held upright) is described as it is shown.
    TTestClipSpec turned = TestClipSpec(TTestClipKind::VideoOnly);
    turned.Video[0].Width = 96;
    turned.Video[0].Height = 64;
    turned.Video[0].Rotation = 90;
    const std::string path = Clip("turned.mp4", turned);
    THandle handle;
    QuentimOpenParams params;
    params.FileName = path.c_str();
    params.ColorFormat = 5;
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    QuentimInfo info {};
    Quentim_GetInfo(handle, &info);
    EXPECT_EQ(info.Width, 64);
    EXPECT_EQ(info.Height, 96);
}

TEST_F(QuentimTest, RunReturnsAtOnceAndDecodesOnTheLibrarysThread)
{
    const std::string path = Clip(TTestClipKind::Mp4H264Aac);
    THandle handle;
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    // Held in the first frame, so the state is seen while the run is on.
    TGate gate;
    gate.Close();
    Recorder.AfterVideo = [&](int count) {
        if (count == 1)
            gate.Pass();
    };
    ASSERT_EQ(Quentim_Run(handle), 1);
    EXPECT_EQ(Quentim_GetState(handle), kQuentimRunning);
    ASSERT_TRUE(Recorder.WaitFor('V', 1));
    EXPECT_EQ(Quentim_GetState(handle), kQuentimRunning);
    gate.Open();
    ASSERT_TRUE(Recorder.WaitFor('E', 1));

    const std::vector<TCall> calls = Recorder.Calls();
    const std::string order = Recorder.Order();
    EXPECT_EQ(order.front(), 'B');
    EXPECT_EQ(order.back(), 'E');
    EXPECT_EQ(Recorder.Count('B'), 1);
    EXPECT_EQ(Recorder.Count('E'), 1);
    EXPECT_EQ(Recorder.Count('V'), 10);
    for (const TCall& call : calls)
        EXPECT_NE(call.Thread, std::this_thread::get_id());
    for (const TCall& call : Recorder.CallsOf('V')) {
        EXPECT_EQ(call.Bytes, 64 * 48 * 3 / 2);
        EXPECT_NEAR(call.End - call.Start, 0.1, 1e-6);
    }
    // A second of stereo 16-bit samples at 44100 Hz, give or take the codec's edges.
    int64_t audioBytes = 0;
    for (const TCall& call : Recorder.CallsOf('A'))
        audioBytes += call.Bytes;
    EXPECT_NEAR(double(audioBytes), 44100.0 * 4, 44100.0 * 4 * 0.1);

    const QuentimInfo begin = Recorder.BeginInfo();
    EXPECT_EQ(begin.Opened, 1);
    EXPECT_EQ(begin.Width, 64);
    EXPECT_EQ(begin.ColorFormat, 5);
    EXPECT_EQ(begin.Channels, 2);

    // The end is reported once the end callback has returned; then the handle reads as stopped.
    double position = -1.0;
    EXPECT_EQ(SettledState(handle), kQuentimStopped);
    EXPECT_EQ(Quentim_GetPosition(handle, &position), 1);
    EXPECT_NEAR(position, 1.0, 0.1);
}

TEST_F(QuentimTest, RangeSetBeforeTheOpenLimitsTheFrames)
{
    const std::string path = Clip(TTestClipKind::AviMpeg4Mp3);
    THandle handle;
    Quentim_SetConversionFlags(handle, 0);
    Quentim_SetRange(handle, 0.3, 0.7);
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    const std::vector<TCall> frames = Recorder.CallsOf('V');
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_NEAR(frames.front().Start, 0.3, 1e-6);
    EXPECT_NEAR(frames.back().Start, 0.6, 1e-6);
    for (const TCall& call : Recorder.CallsOf('A')) {
        EXPECT_GE(call.Start, 0.3 - 1e-6);
        EXPECT_LE(call.End, 0.7 + 1e-6);
    }
}

TEST_F(QuentimTest, PauseHoldsTheRunAndRunResumesIt)
{
    const std::string path = Clip(TTestClipKind::Mp4H264Aac);
    THandle handle;
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    // The run pauses itself in the third frame, the way a controlling thread's Pause lands between two frames.
    TGate paused;
    paused.Close();
    Recorder.AfterVideo = [&](int count) {
        if (count == 3) {
            EXPECT_EQ(Quentim_Pause(handle), 1);
            paused.Open();
        }
    };
    ASSERT_EQ(Quentim_Run(handle), 1);
    paused.Pass();
    EXPECT_EQ(Quentim_GetState(handle), kQuentimPaused);
    double position = -1.0;
    EXPECT_EQ(Quentim_GetPosition(handle, &position), 1);
    EXPECT_GE(position, 0.1 - 1e-6);
    EXPECT_LE(position, 0.2 + 1e-6);
    EXPECT_EQ(Recorder.Count('V'), 3);

    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(Recorder.Count('V'), 10);
    EXPECT_EQ(Recorder.Count('B'), 1);
}

TEST_F(QuentimTest, RunAfterTheEndStartsAgainWithANewBegin)
{
    const std::string path = Clip(TTestClipKind::AviMpeg4Mp3);
    THandle handle;
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    ASSERT_EQ(SettledState(handle), kQuentimStopped);
    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('E', 2));
    const std::string order = Recorder.Order();
    const size_t secondBegin = order.find('B', 1);
    ASSERT_NE(secondBegin, std::string::npos);
    EXPECT_EQ(order[secondBegin - 1], 'E');
    EXPECT_EQ(Recorder.Count('V'), 20);
}

TEST_F(QuentimTest, DestroyWhileRunningReturnsOnceNoCallbackRuns)
{
    const std::string path = Clip(TTestClipKind::Mp4H264Aac);
    const QuentimHandle handle = Quentim_Create();
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    // The second frame holds the decoding thread until the destroy has begun (the handle is unknown from then
    // on), so the destroy has to wait for that frame to end.
    Recorder.AfterVideo = [&](int count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (count == 2 && Quentim_GetState(handle) == kQuentimRunning && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('V', 2));
    Quentim_Destroy(handle);
    Recorder.MarkStopped();
    EXPECT_EQ(Recorder.CallsAfterStop(), 0);
    EXPECT_EQ(Recorder.Count('E'), 0);
    // The handle is gone.
    EXPECT_EQ(Quentim_GetState(handle), kQuentimStopped);
    EXPECT_EQ(Quentim_Run(handle), 0);
}

TEST_F(QuentimTest, PreviewPlaysPacedFramesInColourCode1WithoutAudio)
{
    TAvDecodeEngine::SetPreviewPaceRate(50.0);
    const std::string path = Clip(TTestClipKind::Mp4H264Aac);
    THandle handle;
    QuentimOpenParams params = TQuentimRecorder::Params(path, true);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    ASSERT_EQ(Quentim_Run(handle), 1);
    EXPECT_EQ(Quentim_GetState(handle), kQuentimRunning);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    TAvDecodeEngine::SetPreviewPaceRate(1.0);
    EXPECT_EQ(Recorder.Count('A'), 0);
    EXPECT_EQ(Recorder.Count('V'), 10);
    EXPECT_EQ(Recorder.BeginInfo().ColorFormat, 1);
    for (const TCall& call : Recorder.CallsOf('V'))
        EXPECT_EQ(call.Bytes, 64 * 48 * 2);
}

TEST_F(QuentimTest, MoreThanTwoChannelsAreMixedDownToStereo)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Audio[0].Channels = 6;
    const std::string path = Clip("surround.mp4", spec);
    THandle handle;
    QuentimOpenParams params = TQuentimRecorder::Params(path, false);
    ASSERT_EQ(Quentim_Open(handle, &params), 1);
    QuentimInfo info {};
    Quentim_GetInfo(handle, &info);
    EXPECT_EQ(info.Channels, 6);
    ASSERT_EQ(Quentim_Run(handle), 1);
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(Recorder.BeginInfo().Channels, 2);
    int64_t audioBytes = 0;
    for (const TCall& call : Recorder.CallsOf('A')) {
        EXPECT_EQ(call.Bytes % 4, 0);
        audioBytes += call.Bytes;
    }
    EXPECT_NEAR(double(audioBytes), 44100.0 * 4, 44100.0 * 4 * 0.1);
}

TEST_F(QuentimTest, RefusedInputsFailWithoutHarm)
{
    const std::string clip = Clip(TTestClipKind::Mp4H264Aac);
    const std::string text = Folder.File("notes.mp4");
    ASSERT_TRUE(WriteTextFile(text, "not a video"));
    struct Case {
        const char* Name;
        const char* Path;
        int32_t ColorFormat;
    };
    const Case kCases[] = {
        { "missing file", "/nonexistent/clip.mp4", 5 },
        { "text file", text.c_str(), 5 },
        { "no path", nullptr, 5 },
        { "empty path", "", 5 },
        { "unknown colour code", clip.c_str(), 2 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        THandle handle;
        QuentimOpenParams params = TQuentimRecorder::Params("", false);
        params.FileName = c.Path;
        params.ColorFormat = c.ColorFormat;
        EXPECT_EQ(Quentim_Open(handle, &params), 0);
        QuentimInfo info;
        std::memset(&info, 0xAB, sizeof(info));
        Quentim_GetInfo(handle, &info);
        EXPECT_EQ(info.Opened, 0);
        EXPECT_EQ(info.Width, 0);
        EXPECT_EQ(Quentim_Run(handle), 0);
        EXPECT_EQ(Quentim_Pause(handle), 0);
        double position = -5.0;
        EXPECT_EQ(Quentim_GetPosition(handle, &position), 0);
        EXPECT_EQ(position, -5.0);
        EXPECT_EQ(Quentim_GetState(handle), kQuentimStopped);
    }
    // Unknown handles, and a null block, change nothing.
    THandle live;
    EXPECT_EQ(Quentim_Open(live, nullptr), 0);
    const QuentimHandle unknown = live.Value + 1000;
    QuentimOpenParams params = TQuentimRecorder::Params(clip, false);
    EXPECT_EQ(Quentim_Open(unknown, &params), 0);
    EXPECT_EQ(Quentim_Open(0, &params), 0);
    EXPECT_EQ(Quentim_Seek(unknown, 0.5), 0);
    EXPECT_EQ(Quentim_GetState(unknown), kQuentimStopped);
    Quentim_GetInfo(unknown, nullptr);
    Quentim_SetRange(unknown, 0.0, 1.0);
    Quentim_Destroy(unknown);
    Quentim_Destroy(0);
    EXPECT_EQ(Recorder.Calls().size(), 0u);
}

} // namespace
