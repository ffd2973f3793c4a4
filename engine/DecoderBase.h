// DecoderBase, the one decoding interface of the engine, with the stream description and the callback types.
#pragma once
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// What the begin callback is told about the decoding that starts. It lives only for the duration of the call.
struct StreamFormat {
    double Duration = 0.0; // Seconds.
    bool HasVideo = false;
    int32_t Width = 0;
    int32_t Height = 0;
    double FrameRate = 0.0;
    uint8_t ColorFormat = 0; // The colour code of the frames that follow.
    bool HasAudio = false;
    int32_t BitsPerSample = 0;
    int32_t SampleRate = 0; // Hz.
    // The channels of the audio blocks that follow: the source's count, at most 2, since decoders mix more
    // channels down to stereo.
    int32_t Channels = 0;
};

// The decoder's callbacks. They cross into the codec libraries and run on their threads, so they are plain
// functions; each result goes back to the library, and false asks it to stop decoding. Times are seconds from
// the start of the file; data pointers are valid during the call only.
using DecoderBeginCallback = bool (*)(StreamFormat* format);
using DecoderVideoCallback = bool (*)(double startTime, double endTime, void* frame);
using DecoderAudioCallback = bool (*)(double startTime, double endTime, void* samples, int32_t byteCount);
using DecoderEndCallback = bool (*)();

// GetState's results. A library may report other values; callers act only on these.
enum DecoderState : int32_t {
    dsRunning = 1,
    dsStopped = 2, // Also when no library object exists.
    dsPaused = 3,
    dsPlaying = 4, // A preview started by Play.
};

// Opens one source file and delivers its decoded video frames and audio blocks through the four callbacks,
// on threads of the decoding library, never on the caller's. Start, Pause, Stop, Play, GetPosition, Seek and
// GetState are called from one controlling thread (the user-interface thread). A decoder must not be deleted
// from inside one of its own callbacks.
class DecoderBase {
public:
    explicit DecoderBase(std::string fileName);
    DecoderBase(const DecoderBase&) = delete;
    DecoderBase& operator=(const DecoderBase&) = delete;
    // Implementations stop decoding first: no callback runs once the destructor has returned.
    virtual ~DecoderBase();

    // Chooses the video (audio) stream by its number among the file's video (audio) streams.
    virtual bool SetVideoStream(int32_t index) = 0;
    virtual bool SetAudioStream(int32_t index) = 0;
    // Begins decoding for a conversion, or resumes a paused decoder.
    virtual bool Start() = 0;
    virtual bool Pause() = 0;
    // Ends the decoding; when it returns, no callback runs and none will.
    virtual bool Stop() = 0;
    // Begins or resumes preview playback; `window` is the platform window the preview belongs to.
    virtual bool Play(uintptr_t window) = 0;
    // The library's own success value, passed on; `position` (seconds) is written only when the library
    // reports one, so callers initialise it.
    virtual int32_t GetPosition(double* position) = 0;
    virtual int32_t Seek(double position) = 0;
    virtual DecoderState GetState() = 0;
    // An operation of the libraries that no caller uses.
    virtual bool Unnamed11(int32_t first, int32_t second) = 0;

    void SetCallbacks(DecoderBeginCallback onBegin, DecoderVideoCallback onVideo, DecoderAudioCallback onAudio,
        DecoderEndCallback onEnd);
    // Seconds from the start of the file; -1.0 is no limit. Used by the next start.
    void SetRange(double startTime, double endTime);

protected:
    std::string FileName;
    double StartTime = -1.0;
    double EndTime = -1.0;
    // Read on the library's threads while the controlling thread may set them.
    std::atomic<DecoderBeginCallback> BeginCallback { nullptr };
    std::atomic<DecoderVideoCallback> VideoCallback { nullptr };
    std::atomic<DecoderAudioCallback> AudioCallback { nullptr };
    std::atomic<DecoderEndCallback> EndCallback { nullptr };
};

// Runs `work`, which may wait for a decoding callback that itself waits for the main thread (Synchronize).
// On the main thread the work runs on a helper thread while this one waits on an event, which keeps serving
// synchronised calls; elsewhere it runs at once. Returns an exception that a call served meanwhile threw,
// once the work is done.
std::exception_ptr WaitServingMainThread(const std::function<void()>& work);
