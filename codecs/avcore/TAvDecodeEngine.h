// TAvDecodeEngine: demuxes and decodes one chosen video and audio stream into callbacks, with range, seek,
// pause, stop and real-time preview; and TAvDecodeSink, what it calls.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvAudioResampler.h"
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvDecoder.h"
#include "codecs/avcore/TAvDemuxer.h"
#include "codecs/avcore/TAvFrameConverter.h"
#include "codecs/avcore/TAvStatus.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The values are the ones the reader's GetState reports.
enum class TAvEngineState : int32_t { Running = 1, Stopped = 2, Paused = 3, Playing = 4 };

// What the decode loop delivers. Every call comes from the thread that runs the loop, never while the engine's
// lock is held, so a call may use the engine's control operations. Data pointers are valid during the call only.
// A false result ends the loop as a Stop would: nothing further is called, End included.
class TAvDecodeSink {
public:
    virtual ~TAvDecodeSink() = default;
    // Before the first frame of every start (a restart after the end included); frames will come in `code`.
    virtual bool Begin(TAvColorCode code) noexcept = 0;
    // One frame of the probe's size; times in seconds from the start of the file, end = start + 1 / fps.
    virtual bool Video(double start, double end, uint8_t* frame) noexcept = 0;
    // Interleaved signed 16-bit samples, min(channels, 2) channels, at the stream's own rate.
    virtual bool Audio(double start, double end, uint8_t* samples, int32_t bytes) noexcept = 0;
    // Exactly once when a start runs to its natural end (the range end or the end of the file); never after a
    // stop or a refused call.
    virtual bool End() noexcept = 0;
};

// The clock that preview pacing reads and waits on: the steady clock, unless a test installs its own.
class TAvPaceClock {
public:
    virtual ~TAvPaceClock() = default;
    // Seconds since any fixed point.
    virtual double Now() = 0;
    // Waits on `changed`, which `lock` guards, until Now() reaches `due` or `interrupted` holds (checked under
    // the lock whenever `changed` is signalled). True when interrupted.
    virtual bool WaitUntil(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, double due,
        const std::function<bool()>& interrupted)
        = 0;
};

class TAvDecodeEngine final {
public:
    TAvDecodeEngine();
    // Stops and waits for the decode loop. Never destroy an engine from inside one of its own sink calls.
    ~TAvDecodeEngine();

    // Opens the file and lists its streams; the first video and audio streams are chosen.
    TAvStatus Open(const std::string& fileName);
    bool IsOpen() const { return FDemuxer.IsOpen(); }
    const std::vector<TAvStreamInfo>& Streams() const { return FDemuxer.Streams(); }
    double Duration() const { return FDemuxer.Duration(); }
    int VideoStreamCount() const { return int(FVideoStreams.size()); }
    int AudioStreamCount() const { return int(FAudioStreams.size()); }

    // The number (among the streams of that kind, in file order) of the stream a player picks by default;
    // 0 when the file marks none of the usable streams.
    int DefaultStreamNumber(TAvMediaKind kind) const;
    // Chooses among the video (audio) streams by their number in file order, counting that kind only.
    // Takes effect at the next Prepare; refused while decoding.
    TAvStatus SetVideoStream(int index);
    TAvStatus SetAudioStream(int index);
    // Seconds from the start of the file; a negative start means the beginning, a negative end the end.
    void SetRange(double start, double end);
    // Opens the chosen streams' decoders and moves to the range start.
    TAvStatus Prepare();

    // Decodes on the calling thread, audio included, until the range ends, a sink call refuses or Stop.
    TAvStatus Run(TAvDecodeSink& sink, TAvColorCode code);
    // Plays on the engine's own thread at real-time pace, without audio, and returns at once; resumes a
    // paused preview.
    TAvStatus Play(TAvDecodeSink& sink, TAvColorCode code);
    // Decodes as Run does (unpaced, audio included) on the engine's own thread, and returns at once; resumes a
    // paused run. The state reads Running from the moment it returns Ok, so a Pause or Stop that follows at
    // once finds the run. Like Play, it forgets a Stop that came while nothing ran.
    TAvStatus RunOnThread(TAvDecodeSink& sink, TAvColorCode code);
    TAvStatus Pause();
    TAvStatus Resume();
    // Returns once no sink call runs and none can start; the blocked Run returns. Called from inside a sink
    // call, it ends the loop when that call returns. A Stop that comes while nothing runs makes the next Run
    // return at once (it raced that Run's start); Prepare, Seek and Play forget it.
    TAvStatus Stop();
    // Works while decoding, paused or stopped; the next start continues from there.
    TAvStatus Seek(double seconds);
    // The start of the last frame delivered, the seek target, or at a natural end the duration (the range end
    // when the range ends earlier).
    double Position() const;
    TAvEngineState State() const;
    std::string ErrorText() const;

    // The speed of preview pacing for every engine: 1 is real time. Tests raise it to keep previews short.
    static void SetPreviewPaceRate(double rate);
    static double PreviewPaceRate();
    // The pacing clock of every engine; null restores the steady clock. The caller keeps `clock` alive until it
    // restores the steady clock with no preview playing.
    static void SetPaceClock(TAvPaceClock* clock);

private:
    // Opens the chosen streams' decoders and moves to the range start; unlike Prepare, keeps a pending Stop.
    TAvStatus PrepareDecoders();
    // What Play and RunOnThread share: starts the loop on the engine's own thread, or resumes a paused one.
    TAvStatus StartOnThread(TAvDecodeSink& sink, TAvColorCode code, bool preview);

    struct TOutput {
        enum { Video, Audio, Tick } Kind = Video;
        double Start = 0.0;
        double End = 0.0;
        uint8_t* Data = nullptr;
        int32_t Bytes = 0;
    };
    enum class TExit { NaturalEnd, Stopped };

    void SetError(const std::string& text);
    TAvStatus Loop(TAvDecodeSink& sink, TAvColorCode code, bool preview);
    TExit DecodeUntilDone(TAvDecodeSink& sink, bool preview);
    bool WaitForDueTime(const TOutput& output, std::unique_lock<std::mutex>& lock);
    static TAvPaceClock& PaceClock();
    TAvStatus StartDecoding(TAvColorCode code, bool preview);
    void SeekDecoding(double seconds);
    TAvStatus NextOutput(TOutput& output);
    bool TakeVideoFrame(TOutput& output);
    bool TakeAudioFrame(TOutput& output);
    bool AllDone() const;
    double EndPosition() const;

    // Decoding state: touched by the control thread only while no loop runs, and by the loop's thread while
    // one does.
    TAvDemuxer FDemuxer;
    TAvDecoder FVideoDecoder;
    TAvDecoder FAudioDecoder;
    TAvFrameConverter FFrameConverter;
    TAvAudioResampler FResampler;
    TAvPacketPtr FPacket;
    TAvFramePtr FFrame;
    std::vector<int> FVideoStreams; // FFmpeg indices of the usable streams of each kind, in file order.
    std::vector<int> FAudioStreams;
    int FVideoChoice = 0;
    int FAudioChoice = 0;
    double FRangeStart = 0.0;
    double FRangeEnd = -1.0;
    bool FPrepared = false;
    int FWidth = 0;
    int FHeight = 0;
    int FRotation = 0; // Degrees clockwise that turn the chosen stream's frames upright.
    double FFrameDuration = 0.04;
    bool FConverterReady = false;
    TAvColorCode FConverterCode = TAvColorCode::Yuv420;
    bool FDecodeAudio = false;
    bool FDemuxTouched = false; // Packets were read since the file was opened.
    bool FDemuxEnded = false;
    bool FVideoDrained = false;
    bool FAudioDrained = false;
    bool FVideoDone = false;
    bool FAudioDone = false;
    double FDropBefore = 0.0;
    double FNextVideoTime = 0.0;
    double FNextAudioTime = 0.0;
    bool FReanchor = true;
    double FAnchorWall = 0.0; // Seconds of the pacing clock.
    double FAnchorMedia = 0.0;

    // Shared between the control calls and the loop, under FLock.
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    TAvEngineState FState = TAvEngineState::Stopped;
    TAvEngineState FPausedFrom = TAvEngineState::Running;
    bool FLoopActive = false;
    bool FPreview = false;
    bool FStopRequested = false;
    bool FStopPending = false;
    bool FSeekRequested = false;
    double FSeekTarget = 0.0;
    bool FNeedSeek = false;
    double FStartAt = 0.0;
    double FPosition = 0.0;
    double FResumeAt = 0.0;
    std::thread::id FLoopThread;
    std::thread FPlayThread; // The loop's thread of Play and RunOnThread.
    std::string FErrorText;
};
