// DirectShowDecoder, the decoder over the second decoding library, and the probe that library provides.
#pragma once
#include "codecs/quentim/Quentim.h"
#include "engine/DecoderBase.h"
#include "engine/TVideoInfoReader.h"

#include <atomic>
#include <cstdint>
#include <string>

// The decoder over the second decoding library (the system's DirectShow player). That library decodes the file's
// default streams only, so the stream choice is accepted and ignored. Its Run returns at once and the callbacks
// come from the library's threads. Stop ends the decoding for good: it destroys the library handle, which
// returns only once no callback runs, and a later Start opens the file anew.
class DirectShowDecoder final : public DecoderBase {
    using inherited = DecoderBase;

public:
    explicit DirectShowDecoder(std::string fileName);
    // Destroys the handle, waiting for its callbacks to end.
    ~DirectShowDecoder() override;

    // True; the library decodes its default streams.
    bool SetVideoStream(int32_t index) override;
    bool SetAudioStream(int32_t index) override;
    // Opens the file for a conversion (colour code 5, audio included) and runs it; a running decoder stays as it
    // is and a paused one resumes. False when the file is missing, does not open or does not run.
    bool Start() override;
    // With a running handle, the library's Pause; otherwise false.
    bool Pause() override;
    // With a running or paused handle: destroys it and returns true; otherwise false, and the handle stays.
    bool Stop() override;
    // Opens the file for a preview (colour code 1, paced, no audio) when no handle exists, and runs it; a paused
    // preview resumes. An open that fails shows "Can not preview this video!".
    bool Play(uintptr_t window) override;
    // The library's result (nonzero = written); 0 without a handle, and `position` is then left alone.
    int32_t GetPosition(double* position) override;
    int32_t Seek(double position) override;
    // dsStopped without a handle; a running handle reads dsPlaying when Play started it.
    DecoderState GetState() override;
    // True.
    bool Unnamed11(int32_t first, int32_t second) override;

private:
    friend bool DirectShowBeginAdapter(QuentimInfo* info) noexcept;

    // Opens a new handle with `params`, with the stored callbacks filled in; false (and no handle) when the
    // file does not open.
    bool OpenHandle(QuentimOpenParams& params);
    // Destroys the handle, waiting for its callbacks.
    void DestroyHandle();

    QuentimHandle Handle = 0;
    bool StartedByPlay = false;
};

// The DirectShowDecoder that opened a handle last; null before the first open and once that decoder is deleted.
extern std::atomic<DirectShowDecoder*> CurrentDirectShowDecoder;

// The begin function handed to the library: describes the start in a StreamFormat and returns what the begin
// callback of CurrentDirectShowDecoder returns. False without a current decoder; true when it has no begin
// callback.
bool DirectShowBeginAdapter(QuentimInfo* info) noexcept;

// The source probe through the library: opens the file without callbacks and reads its info block. False when
// the library makes no handle or does not open the file; the handle is destroyed before it returns.
bool ProbeWithQuentim(const std::string& fileName, TDirectShowProbeInfo& info);
// Puts ProbeWithQuentim back as TVideoInfoReader's DirectShow probe (it is the start-up state).
void InstallDirectShowProbe();
