// TQuentimGraph: the object behind one handle of the second decoding library, over the shared decode engine.
#pragma once
#include "codecs/avcore/TAvDecodeEngine.h"
#include "codecs/quentim/Quentim.h"

#include <cstdint>

// Plays the part of a player that sees only a file's default streams: one video and one audio stream, no codec
// names, no aspect ratio. A conversion decodes on the engine's own thread, unpaced and with audio; a preview
// plays there at real-time pace without audio. Either way Run returns at once.
class TQuentimGraph final : private TAvDecodeSink {
public:
    TQuentimGraph() = default;
    // Stops the decoding and waits for its thread before anything the callbacks read is destroyed.
    ~TQuentimGraph() override;
    TQuentimGraph(const TQuentimGraph&) = delete;
    TQuentimGraph& operator=(const TQuentimGraph&) = delete;

    void SetRange(double startTime, double endTime);
    bool Open(const QuentimOpenParams& params);
    void GetInfo(QuentimInfo& info) const;
    bool Run();
    bool Pause();
    // Returns once no callback runs; from inside a callback, the decoding ends when that callback returns.
    void Stop();
    bool GetPosition(double* position) const;
    bool Seek(double position);
    int32_t GetState() const;
    // True on the decoding thread while it is inside one of this graph's callbacks.
    bool InsideCallback() const;

private:
    bool Begin(TAvColorCode code) noexcept override;
    bool Video(double start, double end, uint8_t* frame) noexcept override;
    bool Audio(double start, double end, uint8_t* samples, int32_t bytes) noexcept override;
    bool End() noexcept override;

    // The block of the open file; `forBegin` reports the channels of the delivered blocks instead of the
    // stream's own count.
    void FillInfo(QuentimInfo& info, bool forBegin) const;

    TAvDecodeEngine FEngine;
    bool FOpened = false;
    bool FRealTime = false;
    bool FWithAudio = false;
    int32_t FColorFormat = 0;
    int FVideoStream = -1; // FFmpeg's index of the chosen stream; -1 when the file has none of that kind.
    int FAudioStream = -1;
    double FRangeStart = -1.0;
    double FRangeEnd = -1.0;
    QuentimBeginCallback FBegin = nullptr;
    QuentimVideoCallback FVideo = nullptr;
    QuentimAudioCallback FAudio = nullptr;
    QuentimEndCallback FEnd = nullptr;
    // Handed to the begin callback; written only on the decoding thread, one start at a time.
    QuentimInfo FBeginInfo {};
};
