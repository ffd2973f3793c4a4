// BuiltInDecoder over real clips: callback order and threads, the stream choice, stop, pause and resume, the
// state table, restarts, and inputs that do not decode.
#include "engine/BuiltInDecoder.h"

#include "codecs/avcore/TAvDecodeEngine.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"
#include "tests/engine/DecoderTestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Opens the gates a test's callbacks may wait at, so a failed check cannot leave the decoder's thread waiting.
struct TOpenGatesOnExit {
    TSimpleEvent* First;
    TSimpleEvent* Second;
    ~TOpenGatesOnExit()
    {
        First->SetEvent();
        Second->SetEvent();
    }
};

// Runs previews faster than real time while it lives.
struct TFastPreviews {
    TFastPreviews() { TAvDecodeEngine::SetPreviewPaceRate(50.0); }
    ~TFastPreviews() { TAvDecodeEngine::SetPreviewPaceRate(1.0); }
};

// Three seconds of MPEG-4 video only: long enough that a stop lands well before the end.
TTestClipSpec LongVideoClip()
{
    TTestClipSpec spec = TestClipSpec(TTestClipKind::VideoOnly);
    spec.Duration = 3.0;
    return spec;
}

} // namespace

TEST(BuiltInDecoder, StartDeliversBeginFramesAndOneEndOnItsOwnThread)
{
    struct Case {
        TTestClipKind Kind;
        int Frames;
        int Width;
        int Height;
        double FrameRate;
        int SampleRate; // 0: no audio.
        int Channels;
    };
    const Case kCases[] = {
        { TTestClipKind::Mp4H264Aac, 10, 64, 48, 10.0, 44100, 2 },
        { TTestClipKind::AviMpeg4Mp3, 10, 64, 48, 10.0, 44100, 2 },
        { TTestClipKind::Wmv, 10, 64, 48, 10.0, 44100, 2 },
        { TTestClipKind::Flv, 10, 64, 48, 10.0, 44100, 2 },
        { TTestClipKind::MpegProgram, 25, 64, 48, 25.0, 44100, 2 },
        { TTestClipKind::VideoOnly, 10, 64, 48, 10.0, 0, 0 },
        { TTestClipKind::AudioOnly, 0, 0, 0, 0.0, 44100, 2 },
        { TTestClipKind::OddSize, 10, 175, 143, 10.0, 44100, 1 },
    };
    TTestFolder folder;
    for (const Case& expected : kCases) {
        SCOPED_TRACE("kind " + std::to_string(int(expected.Kind)));
        TDecoderRecorder recorder;
        BuiltInDecoder decoder(MakeClip(folder, expected.Kind));
        recorder.Install(decoder);
        ASSERT_TRUE(decoder.Start());
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        EXPECT_TRUE(decoder.Stop());
        recorder.MarkStopped();

        const std::string order = recorder.Order();
        EXPECT_EQ(order.front(), 'B');
        EXPECT_EQ(order.back(), 'E');
        EXPECT_EQ(recorder.Count('B'), 1);
        EXPECT_EQ(recorder.Count('E'), 1);
        EXPECT_EQ(recorder.Count('V'), expected.Frames);
        EXPECT_EQ(recorder.Count('A') > 0, expected.SampleRate > 0);
        // Stereo 16-bit samples for one second of sound (mono comes as mono).
        if (expected.SampleRate > 0) {
            EXPECT_NEAR(double(recorder.AudioBytes()), expected.SampleRate * expected.Channels * 2.0,
                expected.SampleRate * expected.Channels * 2.0 * 0.1);
        }

        // Every callback comes on one thread, and never on the main (user-interface) thread.
        const std::vector<TCall> calls = recorder.Calls();
        for (const TCall& call : calls) {
            EXPECT_NE(call.Thread, MainThreadID());
            EXPECT_EQ(call.Thread, calls.front().Thread);
        }

        ASSERT_EQ(recorder.Formats().size(), 1u);
        const StreamFormat format = recorder.Formats().front();
        EXPECT_NEAR(format.Duration, 1.0, 0.12);
        EXPECT_EQ(format.HasVideo, expected.Frames > 0);
        EXPECT_EQ(format.Width, expected.Width);
        EXPECT_EQ(format.Height, expected.Height);
        EXPECT_NEAR(format.FrameRate, expected.FrameRate, 1e-3);
        EXPECT_EQ(format.ColorFormat, 5);
        EXPECT_EQ(format.HasAudio, expected.SampleRate > 0);
        EXPECT_EQ(format.BitsPerSample, 16);
        EXPECT_EQ(format.SampleRate, expected.SampleRate);
        EXPECT_EQ(format.Channels, expected.Channels);

        // At the natural end the position is the duration, and the decoder is stopped.
        double position = -1.0;
        EXPECT_EQ(decoder.GetPosition(&position), 0);
        EXPECT_NEAR(position, 1.0, 0.12);
        EXPECT_EQ(decoder.GetState(), dsStopped);
        EXPECT_EQ(recorder.CallsAfterStop(), 0);
    }
}

TEST(BuiltInDecoder, ChosenStreamsDescribeTheBeginAndTheDecoding)
{
    // Two video streams and three audio streams, the last with six channels.
    TTestClipSpec spec = TestClipSpec(TTestClipKind::MkvTwoVideoTwoAudio);
    TTestAudioStream surround;
    surround.SampleRate = 48000;
    surround.Channels = 6;
    spec.Audio.push_back(surround);
    struct Case {
        int32_t VideoIndex;
        int32_t AudioIndex;
        int Width;
        int Height;
        int Frames;
        int SampleRate;
        int Channels; // What the blocks carry.
    };
    const Case kCases[] = {
        { 1, 2, 96, 64, 15, 48000, 2 }, // Six channels arrive mixed down to two.
        { 0, 1, 64, 48, 10, 22050, 1 },
        // A choice outside the file's streams leaves the reader on its first streams, and the begin says so.
        { 7, -1, 64, 48, 10, 44100, 2 },
    };
    TTestFolder folder;
    const std::string path = MakeClip(folder, "streams.mkv", spec);
    for (const Case& chosen : kCases) {
        SCOPED_TRACE("video " + std::to_string(chosen.VideoIndex) + ", audio " + std::to_string(chosen.AudioIndex));
        TDecoderRecorder recorder;
        BuiltInDecoder decoder(path);
        recorder.Install(decoder);
        // Before a start there is no reader: the choice is kept for the open.
        EXPECT_TRUE(decoder.SetVideoStream(chosen.VideoIndex));
        EXPECT_TRUE(decoder.SetAudioStream(chosen.AudioIndex));
        ASSERT_TRUE(decoder.Start());
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        decoder.Stop();

        ASSERT_EQ(recorder.Formats().size(), 1u);
        const StreamFormat format = recorder.Formats().front();
        EXPECT_EQ(format.Width, chosen.Width);
        EXPECT_EQ(format.Height, chosen.Height);
        EXPECT_EQ(format.SampleRate, chosen.SampleRate);
        EXPECT_EQ(format.Channels, chosen.Channels);
        EXPECT_EQ(recorder.Count('V'), chosen.Frames);
        const double oneSecond = chosen.SampleRate * chosen.Channels * 2.0;
        EXPECT_NEAR(double(recorder.AudioBytes()), oneSecond, oneSecond * 0.1);
    }
}

TEST(BuiltInDecoder, StateFollowsPauseResumeAndStopInTheMiddle)
{
    TTestFolder folder;
    TDecoderRecorder recorder;
    // Frames 3 and 6 hold the decoding thread until the test has made its move, so each move lands exactly
    // between two frames. The gates outlive the decoder and open before it goes, whatever happens here.
    TSimpleEvent afterThree;
    TSimpleEvent afterSix;
    BuiltInDecoder decoder(MakeClip(folder, "long.mp4", LongVideoClip()));
    TOpenGatesOnExit openGates { &afterThree, &afterSix };
    recorder.Install(decoder);

    // Without a reader: stopped, and the controls do nothing.
    EXPECT_EQ(decoder.GetState(), dsStopped);
    EXPECT_FALSE(decoder.Pause());
    EXPECT_FALSE(decoder.Stop());
    double position = -7.0;
    EXPECT_EQ(decoder.GetPosition(&position), 0);
    EXPECT_EQ(position, -7.0);
    EXPECT_EQ(decoder.Seek(0.5), 0);
    EXPECT_TRUE(decoder.Unnamed11(1, 2));

    recorder.AfterVideo = [&](int count) {
        if (count == 3)
            afterThree.WaitFor();
        if (count == 6)
            afterSix.WaitFor();
    };
    ASSERT_TRUE(decoder.Start());
    ASSERT_TRUE(recorder.WaitFor('V', 3));
    EXPECT_EQ(decoder.GetState(), dsRunning);
    EXPECT_TRUE(decoder.Start()); // Running already: nothing changes.
    EXPECT_TRUE(decoder.Pause());
    EXPECT_EQ(decoder.GetState(), dsPaused);
    afterThree.SetEvent();
    // Start on a paused decoder resumes it: the same thread goes on, with no second begin.
    EXPECT_TRUE(decoder.Start());
    EXPECT_EQ(decoder.GetState(), dsRunning);

    ASSERT_TRUE(recorder.WaitFor('V', 6));
    EXPECT_TRUE(decoder.Pause());
    afterSix.SetEvent();
    EXPECT_TRUE(decoder.Stop());
    recorder.MarkStopped();
    EXPECT_EQ(decoder.GetState(), dsStopped);

    EXPECT_EQ(recorder.Order(), "BVVVVVV");
    const std::vector<TCall> calls = recorder.Calls();
    for (const TCall& call : calls)
        EXPECT_EQ(call.Thread, calls.front().Thread);
    EXPECT_EQ(decoder.GetPosition(&position), 0);
    EXPECT_NEAR(position, 0.5, 1e-6);
    // Stop keeps the reader; a second Stop finds nothing running and still succeeds.
    EXPECT_TRUE(decoder.Stop());
    EXPECT_EQ(recorder.CallsAfterStop(), 0);
}

TEST(BuiltInDecoder, NothingIsCalledBackAfterStopOrDeleteReturns)
{
    // Stops and deletions at every moment of a run: before it begins decoding, during it, after it.
    TTestFolder folder;
    const std::string path = MakeClip(folder, "long.mp4", LongVideoClip());
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        TDecoderRecorder recorder;
        auto decoder = std::make_unique<BuiltInDecoder>(path);
        recorder.Install(*decoder);
        ASSERT_TRUE(decoder->Start());
        if (round % 3 == 1) {
            ASSERT_TRUE(recorder.WaitFor('V', round));
        }
        if (round % 2 == 0)
            EXPECT_TRUE(decoder->Stop());
        else
            decoder.reset();
        recorder.MarkStopped();
        decoder.reset();
        EXPECT_EQ(recorder.CallsAfterStop(), 0);
        // A begin, when it came, came first. An end comes only when the run reached the end of the clip
        // before the stop (a busy machine may let the decoding thread get that far); a stopped run gives none.
        const std::string order = recorder.Order();
        if (!order.empty()) {
            EXPECT_EQ(order.front(), 'B');
        }
        if (recorder.Count('E') > 0) {
            EXPECT_EQ(recorder.Count('V'), 30) << order;
            EXPECT_EQ(order.back(), 'E');
        }
    }
}

TEST(BuiltInDecoder, StopKeepsServingCallsThatACallbackHandsToTheMainThread)
{
    // The third frame's callback waits until the main thread has run a call for it, as a callback that shows
    // something in a window would; the main thread meanwhile is stopping the decoder.
    TTestFolder folder;
    TDecoderRecorder recorder;
    BuiltInDecoder decoder(MakeClip(folder, "long.mp4", LongVideoClip()));
    recorder.Install(decoder);
    std::atomic<bool> served { false };
    recorder.AfterVideo = [&](int count) {
        if (count == 3)
            TThread::Synchronize(nullptr, [&] { served = GetCurrentThreadId() == MainThreadID(); });
    };
    ASSERT_TRUE(decoder.Start());
    ASSERT_TRUE(recorder.WaitFor('V', 3));
    // The pause holds the decoding right after that callback, whenever the stop reaches the reader.
    EXPECT_TRUE(decoder.Pause());
    EXPECT_TRUE(decoder.Stop());
    recorder.MarkStopped();
    EXPECT_TRUE(served);
    EXPECT_EQ(recorder.Order(), "BVVV");
    EXPECT_EQ(recorder.CallsAfterStop(), 0);
}

TEST(BuiltInDecoder, EveryRestartBeginsBeforeItsFirstFrame)
{
    TFastPreviews fastPreviews;
    struct Case {
        const char* Name;
        std::function<bool(BuiltInDecoder&)> Begin;
        uint8_t ColorFormat;
    };
    const Case kCases[] = {
        { "conversion", [](BuiltInDecoder& decoder) { return decoder.Start(); }, 5 },
        { "preview", [](BuiltInDecoder& decoder) { return decoder.Play(0); }, 1 },
    };
    TTestFolder folder;
    const std::string path = MakeClip(folder, TTestClipKind::VideoOnly);
    for (const Case& run : kCases) {
        SCOPED_TRACE(run.Name);
        TDecoderRecorder recorder;
        BuiltInDecoder decoder(path);
        recorder.Install(decoder);
        ASSERT_TRUE(run.Begin(decoder));
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        decoder.Stop();
        ASSERT_TRUE(run.Begin(decoder));
        ASSERT_TRUE(recorder.WaitFor('E', 2));
        decoder.Stop();

        EXPECT_EQ(recorder.Order(), "BVVVVVVVVVVEBVVVVVVVVVVE");
        for (const StreamFormat& format : recorder.Formats())
            EXPECT_EQ(format.ColorFormat, run.ColorFormat);
        for (const TCall& call : recorder.Calls())
            EXPECT_NE(call.Thread, MainThreadID());
    }
}

TEST(BuiltInDecoder, BeginAdapterNeedsACurrentDecoder)
{
    TTestFolder folder;
    const std::string path = MakeClip(folder, TTestClipKind::VideoOnly);
    MediaReaderInfo info;
    std::memset(&info, 0, sizeof(info));
    {
        TDecoderRecorder recorder;
        BuiltInDecoder decoder(path);
        recorder.Install(decoder);
        ASSERT_TRUE(decoder.Start());
        EXPECT_EQ(CurrentBuiltInDecoder.load(), &decoder);
        ASSERT_TRUE(recorder.WaitFor('E', 1));
        EXPECT_TRUE(BuiltInBeginAdapter(&info));
    }
    // The deleted decoder is no longer current, so a late begin is refused instead of reaching it.
    EXPECT_EQ(CurrentBuiltInDecoder.load(), nullptr);
    EXPECT_FALSE(BuiltInBeginAdapter(&info));
}

TEST(BuiltInDecoder, BadInputFailsCleanlyOrDecodesWhatItCan)
{
    struct Case {
        const char* Name;
        // Makes the input in the folder and returns its path.
        std::function<std::string(const TTestFolder&)> Make;
        bool Starts;
    };
    const Case kCases[] = {
        { "missing file", [](const TTestFolder& folder) { return folder.File("missing.avi"); }, false },
        { "empty file",
            [](const TTestFolder& folder) {
                WriteTextFile(folder.File("empty.avi"), "");
                return folder.File("empty.avi");
            },
            false },
        { "text renamed .avi",
            [](const TTestFolder& folder) {
                WriteTextFile(folder.File("notes.avi"), "Not a video at all.\nJust two lines of text.\n");
                return folder.File("notes.avi");
            },
            false },
        { "empty name", [](const TTestFolder&) { return std::string(); }, false },
        { "truncated clip",
            [](const TTestFolder& folder) {
                const std::string path = MakeClip(folder, TTestClipKind::AviMpeg4Mp3);
                EXPECT_TRUE(TruncateFile(path, 0.6));
                return path;
            },
            true },
        { "corrupted middle",
            [](const TTestFolder& folder) {
                const std::string path = MakeClip(folder, TTestClipKind::Mp4H264Aac);
                EXPECT_TRUE(CorruptFileMiddle(path, 0.2));
                return path;
            },
            true },
    };
    for (const Case& bad : kCases) {
        SCOPED_TRACE(bad.Name);
        TTestFolder folder;
        TDecoderRecorder recorder;
        BuiltInDecoder decoder(bad.Make(folder));
        recorder.Install(decoder);
        ASSERT_EQ(decoder.Start(), bad.Starts);
        if (bad.Starts) {
            // Whatever part decodes comes between one begin and one end.
            ASSERT_TRUE(recorder.WaitFor('E', 1));
            decoder.Stop();
            const std::string order = recorder.Order();
            EXPECT_EQ(order.front(), 'B');
            EXPECT_EQ(order.back(), 'E');
            EXPECT_EQ(recorder.Count('E'), 1);
            EXPECT_GT(recorder.Count('V'), 0);
            EXPECT_LE(recorder.Count('V'), 10);
        } else {
            EXPECT_FALSE(decoder.Play(0));
            EXPECT_EQ(decoder.GetState(), dsStopped);
            EXPECT_FALSE(decoder.Stop());
            EXPECT_TRUE(recorder.Calls().empty());
        }
    }
}
