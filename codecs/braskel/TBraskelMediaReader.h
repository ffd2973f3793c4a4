// TBraskelMediaReader: the library's media reader, its slots mapped onto the shared decode engine.
#pragma once
#include "codecs/avcore/TAvDecodeEngine.h"
#include "codecs/braskel/Braskel.h"

#include <string>

class TBraskelMediaReader final : public MediaReader, private TAvDecodeSink {
    using inherited = MediaReader;

public:
    explicit TBraskelMediaReader(std::string fileName);
    ~TBraskelMediaReader() override;

    uint8_t Open(MediaReaderOpenParams* params) override;
    uint8_t Prepare() override;
    uint8_t Unused2() override;
    uint8_t SetRange(double startTime, double endTime) override;
    uint8_t Unnamed4(int32_t first, int32_t second) override;
    uint8_t GetInfo(MediaReaderInfo* info) override;
    uint8_t SetVideoStream(int32_t index) override;
    uint8_t SetAudioStream(int32_t index) override;
    uint8_t Run() override;
    uint8_t Pause() override;
    uint8_t Stop() override;
    uint8_t Play(uintptr_t window) override;
    uint8_t Resume() override;
    uint8_t GetPosition(double* position) override;
    uint8_t Seek(double position) override;
    int32_t GetState() override;

    // Why the last Open, Prepare or decode went wrong, for logs.
    std::string ErrorText() const { return FEngine.ErrorText(); }

private:
    // The engine's calls, passed on to the engine's plain callbacks. An exception from a callback must not
    // unwind through the decode loop, so it counts as a refusal.
    bool Begin(TAvColorCode code) noexcept override;
    bool Video(double start, double end, uint8_t* frame) noexcept override;
    bool Audio(double start, double end, uint8_t* samples, int32_t bytes) noexcept override;
    bool End() noexcept override;

    void FillInfo(MediaReaderInfo& info, int32_t colorFormat) const;

    std::string FFileName;
    TAvDecodeEngine FEngine;
    bool FOpened = false;
    int32_t FColorFormat = 0;
    MediaReaderBeginCallback FBegin = nullptr;
    MediaReaderVideoCallback FVideo = nullptr;
    MediaReaderAudioCallback FAudio = nullptr;
    MediaReaderEndCallback FEnd = nullptr;
    // The block handed to the begin callback; it describes the frames of that start.
    MediaReaderInfo FBeginInfo {};
};
