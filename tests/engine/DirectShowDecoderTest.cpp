// DirectShowDecoder over real clips: the begin description, the library's threads, the state table, stop and
// restart, the preview, refused sources, and the probe it gives the source reader.
#include "engine/DirectShowDecoder.h"

#include "codecs/avcore/TAvDecodeEngine.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TVideoInfoReader.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"
#include "tests/engine/DecoderTestSupport.h"
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// The decoder's state once its decoding thread has taken its last step; the end callback comes just before.
DecoderState SettledState(DecoderBase& decoder)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((decoder.GetState() == dsRunning || decoder.GetState() == dsPlaying)
        && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return decoder.GetState();
}

// Runs previews faster than real time while it lives.
struct TFastPreviews {
    TFastPreviews() { TAvDecodeEngine::SetPreviewPaceRate(50.0); }
    ~TFastPreviews() { TAvDecodeEngine::SetPreviewPaceRate(1.0); }
};

class DirectShowDecoderTest : public testing::Test {
protected:
    static void SetUpTestSuite() { QuietMediaLogs(); }

    TTestFolder Folder;
    TDecoderRecorder Recorder;
};

TEST_F(DirectShowDecoderTest, StartDescribesTheRunAndDecodesOnTheLibrarysThread)
{
    TTestClipSpec surround = TestClipSpec(TTestClipKind::Mp4H264Aac);
    surround.Audio[0].Channels = 6;
    struct Case {
        const char* Name;
        std::string Path;
        int Frames;
        int Width;
        int Height;
        int SampleRate; // 0: no audio.
        int Channels;
    };
    const Case kCases[] = {
        { "mp4", MakeClip(Folder, TTestClipKind::Mp4H264Aac), 10, 64, 48, 44100, 2 },
        { "avi", MakeClip(Folder, TTestClipKind::AviMpeg4Mp3), 10, 64, 48, 44100, 2 },
        { "video only", MakeClip(Folder, TTestClipKind::VideoOnly), 10, 64, 48, 0, 0 },
        { "audio only", MakeClip(Folder, TTestClipKind::AudioOnly), 0, 0, 0, 44100, 2 },
        { "odd size, mono", MakeClip(Folder, TTestClipKind::OddSize), 10, 175, 143, 44100, 1 },
        // Six channels come mixed down to two, and the begin callback says so.
        { "5.1", MakeClip(Folder, "surround.mp4", surround), 10, 64, 48, 44100, 2 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TDecoderRecorder recorder;
        DirectShowDecoder decoder(c.Path);
        recorder.Install(decoder);
        ASSERT_TRUE(decoder.Start());
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        const std::string order = recorder.Order();
        EXPECT_EQ(order.front(), 'B');
        EXPECT_EQ(order.back(), 'E');
        EXPECT_EQ(recorder.Count('E'), 1);
        EXPECT_EQ(recorder.Count('V'), c.Frames);
        int64_t audioBytes = 0;
        for (const TCall& call : recorder.Calls()) {
            EXPECT_NE(call.Thread, MainThreadID());
            audioBytes += call.Kind == 'A' ? call.Bytes : 0;
        }
        EXPECT_NEAR(double(audioBytes), c.SampleRate * c.Channels * 2.0, c.SampleRate * c.Channels * 2.0 * 0.1);

        ASSERT_EQ(recorder.Formats().size(), 1u);
        const StreamFormat format = recorder.Formats().front();
        EXPECT_NEAR(format.Duration, 1.0, 0.12);
        EXPECT_EQ(format.HasVideo, c.Frames > 0);
        EXPECT_EQ(format.Width, c.Width);
        EXPECT_EQ(format.Height, c.Height);
        EXPECT_EQ(format.ColorFormat, 5);
        EXPECT_EQ(format.HasAudio, c.SampleRate > 0);
        EXPECT_EQ(format.SampleRate, c.SampleRate);
        EXPECT_EQ(format.Channels, c.Channels);
        EXPECT_EQ(format.BitsPerSample, 16);
    }
}

TEST_F(DirectShowDecoderTest, StateTableOfStartPauseResumeAndStop)
{
    DirectShowDecoder decoder(MakeClip(Folder, TTestClipKind::Mp4H264Aac));
    Recorder.Install(decoder);
    // Never started: stopped, nothing to pause or stop, no position written.
    EXPECT_EQ(decoder.GetState(), dsStopped);
    EXPECT_FALSE(decoder.Pause());
    EXPECT_FALSE(decoder.Stop());
    double position = -1.0;
    EXPECT_EQ(decoder.GetPosition(&position), 0);
    EXPECT_EQ(position, -1.0);
    // The library decodes its default streams, whatever is chosen.
    for (const int32_t index : { -1, 0, 1, 7, 1000 }) {
        EXPECT_TRUE(decoder.SetVideoStream(index));
        EXPECT_TRUE(decoder.SetAudioStream(index));
    }

    // The decoding thread is held in the second frame, so the states are seen while the run is on.
    TSimpleEvent inside;
    TSimpleEvent release;
    Recorder.AfterVideo = [&](int count) {
        if (count == 2) {
            inside.SetEvent();
            release.WaitFor();
        }
    };
    ASSERT_TRUE(decoder.Start());
    ASSERT_EQ(inside.WaitFor(20000), wrSignaled);
    EXPECT_EQ(decoder.GetState(), dsRunning);
    // Start on a running decoder changes nothing.
    EXPECT_TRUE(decoder.Start());
    EXPECT_TRUE(decoder.Pause());
    EXPECT_EQ(decoder.GetState(), dsPaused);
    release.SetEvent();
    EXPECT_EQ(decoder.GetState(), dsPaused);
    // Start on a paused decoder resumes it without opening the file again.
    EXPECT_TRUE(decoder.Start());
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(Recorder.Count('B'), 1);
    EXPECT_EQ(Recorder.Count('V'), 10);

    // Run to its end, the decoder is stopped but keeps its handle: Stop refuses, and the position is still there.
    EXPECT_EQ(SettledState(decoder), dsStopped);
    EXPECT_FALSE(decoder.Stop());
    EXPECT_NE(decoder.GetPosition(&position), 0);
    EXPECT_NEAR(position, 1.0, 0.12);
}

TEST_F(DirectShowDecoderTest, StopEndsTheDecodingForGoodAndStartOpensTheFileAnew)
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    spec.Duration = 3.0;
    DirectShowDecoder decoder(MakeClip(Folder, "long.mp4", spec));
    Recorder.Install(decoder);
    // The third frame waits for the main thread, which only the stop's wait serves: Stop comes while the frame is
    // in progress, and must keep serving the main thread's calls or neither could go on. (The decoding may still
    // reach its end while the stop gets under way; that is a race of any stop.)
    std::mutex lock;
    std::condition_variable changed;
    bool inside = false;
    bool served = false;
    Recorder.AfterVideo = [&](int count) {
        if (count != 3)
            return;
        {
            std::lock_guard guard(lock);
            inside = true;
        }
        changed.notify_all();
        TThread::Synchronize(nullptr, [&] { served = true; });
    };
    ASSERT_TRUE(decoder.Start());
    {
        std::unique_lock guard(lock);
        ASSERT_TRUE(changed.wait_for(guard, std::chrono::seconds(20), [&] { return inside; }));
    }
    EXPECT_TRUE(decoder.Stop());
    Recorder.MarkStopped();
    EXPECT_TRUE(served);
    EXPECT_EQ(decoder.GetState(), dsStopped);
    EXPECT_EQ(Recorder.CallsAfterStop(), 0);
    EXPECT_FALSE(decoder.Stop());
    double position = -1.0;
    EXPECT_EQ(decoder.GetPosition(&position), 0);

    // A new start opens the file again, from the range given now.
    Recorder.AfterVideo = nullptr;
    decoder.SetRange(1.0, 1.5);
    Recorder.Reset();
    ASSERT_TRUE(decoder.Start());
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(Recorder.Count('B'), 1);
    std::vector<double> secondRun;
    for (const TCall& call : Recorder.Calls()) {
        if (call.Kind == 'V')
            secondRun.push_back(call.Start);
    }
    ASSERT_EQ(secondRun.size(), 5u);
    EXPECT_NEAR(secondRun.front(), 1.0, 1e-6);
    EXPECT_NEAR(secondRun.back(), 1.4, 1e-6);
}

TEST_F(DirectShowDecoderTest, StopFromInsideACallbackEndsTheRunWhenItReturns)
{
    DirectShowDecoder decoder(MakeClip(Folder, TTestClipKind::AviMpeg4Mp3));
    Recorder.Install(decoder);
    TSimpleEvent stopped;
    Recorder.AfterVideo = [&](int count) {
        if (count == 2) {
            EXPECT_TRUE(decoder.Stop());
            Recorder.MarkStopped();
            stopped.SetEvent();
        }
    };
    ASSERT_TRUE(decoder.Start());
    ASSERT_EQ(stopped.WaitFor(20000), wrSignaled);
    EXPECT_EQ(decoder.GetState(), dsStopped);
    // The run ends behind the stop; deleting the decoder then waits for nothing.
    EXPECT_EQ(Recorder.CallsAfterStop(), 0);
    EXPECT_EQ(Recorder.Count('E'), 0);
}

TEST_F(DirectShowDecoderTest, PlayPreviewsIn16BitColourWithoutAudio)
{
    TFastPreviews fast;
    TMessageBoxRecorder messages;
    DirectShowDecoder decoder(MakeClip(Folder, TTestClipKind::Mp4H264Aac));
    Recorder.Install(decoder);
    TSimpleEvent inside;
    TSimpleEvent release;
    Recorder.AfterVideo = [&](int count) {
        if (count == 1) {
            inside.SetEvent();
            release.WaitFor();
        }
    };
    ASSERT_TRUE(decoder.Play(0));
    ASSERT_EQ(inside.WaitFor(20000), wrSignaled);
    EXPECT_EQ(decoder.GetState(), dsPlaying);
    release.SetEvent();
    ASSERT_TRUE(Recorder.WaitFor('E', 1));
    EXPECT_EQ(Recorder.Count('A'), 0);
    EXPECT_EQ(Recorder.Count('V'), 10);
    ASSERT_EQ(Recorder.Formats().size(), 1u);
    EXPECT_EQ(Recorder.Formats().front().ColorFormat, 1);
    // After the end the preview plays again from the start, with a new begin.
    EXPECT_EQ(SettledState(decoder), dsStopped);
    Recorder.AfterVideo = nullptr;
    ASSERT_TRUE(decoder.Play(0));
    ASSERT_TRUE(Recorder.WaitFor('E', 2));
    EXPECT_EQ(Recorder.Order().substr(Recorder.Order().size() - 12), "BVVVVVVVVVVE");
    EXPECT_TRUE(messages.Texts.empty());
}

TEST_F(DirectShowDecoderTest, RefusedSources)
{
    TMessageBoxRecorder messages;
    // A missing source: no library call, no message.
    {
        DirectShowDecoder decoder(Folder.File("missing.mp4"));
        Recorder.Install(decoder);
        EXPECT_FALSE(decoder.Start());
        EXPECT_FALSE(decoder.Play(0));
        EXPECT_EQ(decoder.GetState(), dsStopped);
        EXPECT_TRUE(messages.Texts.empty());
    }
    // A file the library cannot open: Start fails quietly, Play tells the user once.
    const std::string text = Folder.File("notes.mp4");
    ASSERT_TRUE(WriteTextFile(text, "not a video"));
    DirectShowDecoder decoder(text);
    Recorder.Install(decoder);
    EXPECT_FALSE(decoder.Start());
    EXPECT_TRUE(messages.Texts.empty());
    EXPECT_FALSE(decoder.Play(0));
    ASSERT_EQ(messages.Texts.size(), 1u);
    EXPECT_EQ(messages.Texts[0], "Can not preview this video!");
    EXPECT_EQ(messages.Captions[0], "Tarnwick Pro");
    EXPECT_EQ(messages.Flags[0], 64);
    EXPECT_EQ(decoder.GetState(), dsStopped);
    EXPECT_TRUE(Recorder.Calls().empty());
}

TEST_F(DirectShowDecoderTest, ProbeSeesOneVideoAndOneAudioStreamWithoutNamesOrAspect)
{
    InstallDirectShowProbe();
    CreateGlobalDecoderModeMap();
    GlobalDecoderModeMap->SetItem({ ".mkv", "", dmDirectShowOnly });
    GlobalDecoderModeMap->SetItem({ ".mp4", "", dmDirectShowOnly });
    struct TRestore {
        ~TRestore()
        {
            DestroyGlobalDecoderModeMap();
            SetDirectShowProbeHook(nullptr);
        }
    } restore;

    struct Case {
        const char* Name;
        std::string Path;
        int Width;
        int SampleRate;
        int Channels;
    };
    const Case kCases[] = {
        // Two video and two audio streams: the library sees the default one of each.
        { "mkv", MakeClip(Folder, TTestClipKind::MkvTwoVideoTwoAudio), 0, 0, 0 },
        { "mp4 with a sample aspect", MakeClip(Folder, TTestClipKind::Mp4H264Aac), 64, 44100, 2 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TVideoInfoReader reader(c.Path);
        ASSERT_TRUE(reader.Probe());
        EXPECT_EQ(reader.GetDecoderKind(), 0);
        EXPECT_NEAR(reader.GetDuration(), 1.0, 0.12);
        EXPECT_EQ(reader.GetColorFormat(), 5);
        ASSERT_EQ(reader.GetVideoStreamCount(), 1);
        ASSERT_EQ(reader.GetAudioStreamCount(), 1);
        const VideoStreamInfo& video = reader.GetVideoStream(0);
        const AudioStreamInfo& audio = reader.GetAudioStream(0);
        EXPECT_STREQ(video.CodecName, "");
        EXPECT_STREQ(audio.CodecName, "");
        EXPECT_EQ(video.AspectX, 0);
        EXPECT_EQ(video.AspectY, 1);
        if (c.Width) {
            EXPECT_EQ(video.Width, c.Width);
            EXPECT_EQ(audio.SampleRate, c.SampleRate);
            EXPECT_EQ(audio.Channels, c.Channels);
        }
        EXPECT_GT(video.Width, 0);
        EXPECT_GT(video.FrameRate, 0.0);
        EXPECT_GT(audio.SampleRate, 0);
    }
    // A file the library cannot open leaves the reader unopened.
    const std::string text = Folder.File("notes.mkv");
    ASSERT_TRUE(WriteTextFile(text, "not a video"));
    TVideoInfoReader unreadable(text);
    EXPECT_FALSE(unreadable.Probe());
    EXPECT_FALSE(unreadable.IsOpened());
}

} // namespace
