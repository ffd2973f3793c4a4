// BuiltInDecoder, the decoder over the codec library's media reader, and BuiltInDecoderThread, its decoding thread.
#pragma once
#include "codecs/braskel/Braskel.h"
#include "engine/DecoderBase.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Runs one reader's Run, which calls the decoder's callbacks on this thread until the stream ends or the
// reader is stopped. The decoder that starts it owns it and deletes it only after Run has returned.
class BuiltInDecoderThread final : public TThread {
    using inherited = TThread;

public:
    BuiltInDecoderThread(bool createSuspended, MediaReader* reader);

    // Set once Run has returned (or at once without a reader): from then on the reader calls nothing.
    TSimpleEvent RunReturned;

protected:
    void Execute() override;

private:
    MediaReader* const Reader;
};

// The decoder over the codec library's media reader. It honours the choice of video and audio stream. For a
// conversion (Start) the callbacks run on a BuiltInDecoderThread, for a preview (Play) on the reader's own
// thread. Stop and the destructor return only once no callback runs and none can start.
class BuiltInDecoder final : public DecoderBase {
    using inherited = DecoderBase;

public:
    explicit BuiltInDecoder(std::string fileName);
    // Stops the decoding, waits for its thread and releases the reader.
    ~BuiltInDecoder() override;

    // Stores the index for the next open. With a reader, also passes it on and is true when the reader accepts
    // it (it refuses while decoding); without one, true.
    bool SetVideoStream(int32_t index) override;
    bool SetAudioStream(int32_t index) override;
    // Opens a reader in colour code 5 and runs it on a new thread; a running decoder stays as it is and a
    // paused one resumes. False when the file is missing or does not open.
    bool Start() override;
    // With a reader, true when it pauses; otherwise false.
    bool Pause() override;
    // With a reader, true when it stops. Waits until no callback runs and the decoding thread has ended
    // (unless called from a callback, where the stop takes effect once it returns), serving synchronised calls
    // meanwhile when called on the main thread. The reader is kept.
    bool Stop() override;
    // Opens a reader in colour code 1 when there is none, then plays it (or resumes a paused preview).
    bool Play(uintptr_t window) override;
    // The reader's result (0 = success); 0 without a reader, and `position` is then left alone.
    int32_t GetPosition(double* position) override;
    int32_t Seek(double position) override;
    // The reader's state; dsStopped without a reader.
    DecoderState GetState() override;
    bool Unnamed11(int32_t first, int32_t second) override;

private:
    friend bool BuiltInBeginAdapter(MediaReaderInfo* info) noexcept;

    bool OpenReader(int32_t colorFormat);
    // Stops the reader and, unless called from a callback, waits until the decoding thread's Run has returned
    // and deletes the thread. On the main thread it keeps serving synchronised calls meanwhile; an exception
    // one of them throws is passed on afterwards when `passOnErrors` is set. True when the reader stopped.
    bool StopReader(bool passOnErrors);
    // StopReader, then the reader is released.
    void ReleaseReader(bool passOnErrors = true);

    MediaReader* Reader = nullptr;
    MediaReaderInfo Info {};
    // Read by the begin adapter on the decoding thread.
    std::atomic<int32_t> VideoStreamIndex { 0 };
    std::atomic<int32_t> AudioStreamIndex { 0 };
    std::unique_ptr<BuiltInDecoderThread> Thread;
};

// The BuiltInDecoder that opened a reader last; null before the first open and once that decoder is deleted.
extern std::atomic<BuiltInDecoder*> CurrentBuiltInDecoder;

// The begin function handed to the reader: describes the start in a StreamFormat, with the streams that
// CurrentBuiltInDecoder chose, and returns what its begin callback returns. False without a current decoder;
// true when that decoder has no begin callback.
bool BuiltInBeginAdapter(MediaReaderInfo* info) noexcept;
