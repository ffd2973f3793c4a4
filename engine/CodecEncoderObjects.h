// The six encoder objects that write through the codec library's media writer: 3GP, AVI, MPEG, MP4, MOV and FLV.
#pragma once
#include "codecs/braskel/Braskel.h"
#include "engine/Forward.h"
#include "engine/TEncoderObject.h"

#include <string>

// What the six share: the writer they own, the configuration steps they are built from, and Open, Close and the
// writes. Each step is one library call; the first one the library refuses releases the writer, after which
// every step and Open fail and the writes refuse.
class TCodecEncoderObject : public TEncoderObject {
    using inherited = TEncoderObject;

public:
    // The base's arguments; then the writer is created on OutputPath (Writer stays null when that fails).
    TCodecEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat,
        double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio, bool disableAudio,
        int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2,
        int32_t extra3, int32_t extra4);
    // Closes and releases the writer when it exists.
    ~TCodecEncoderObject() override;

    // Sends the five tags (and, with DisableVideo, drops the video stream) and opens the writer; a refused option
    // releases the writer, a refused open closes and releases it.
    bool Open() override;
    // Closes and releases the writer. False only when the writer could not finish the file; true when there is
    // no writer (after a failure or an earlier Close).
    bool Close() override;
    // The end time is not passed on: the writer places frames by their start. False without a writer.
    bool WriteVideo(const uint8_t* frame, double startTime, double endTime) override;
    // With DisableAudio the block is accepted and dropped: the output has no audio stream.
    bool WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double endTime) override;
    int64_t GetOutputSize() override;

    // The library's writer, owned; null when creating it failed, after a refusal and after Close.
    MediaWriter* Writer = nullptr;

protected:
    // How a format cuts the output size down to what its codec needs.
    enum class TSizeRule { None, Even, Multiple16 };

    // The configuration steps; each returns false once the writer is gone.
    bool Container(const char* name);
    bool BitExact();
    bool FixAspect();
    bool Size(int32_t profileWidth, int32_t profileHeight, TSizeRule rule, int32_t bitRate, double frameRate);
    bool VideoCodec(const char* name, bool divxTag = false);
    bool RateControl(bool useVBR, int32_t bitRate, int32_t maxBitRate, int32_t minBitRate);
    bool Tolerance(int32_t tolerance);
    // The audio codec and parameters; with DisableAudio neither is sent and the output has no audio.
    bool Audio(const char* codec, int32_t frequency, int32_t channels, int32_t bitRate);
    // The profile's free options: "f" replaces the container, any other key is sent as an option.
    bool FreeOptions(const TVideoProfile& profile);

private:
    // The failure path: releases the writer (without closing it) and returns false.
    bool Refused();
    // Keeps the writer's reason for its last refusal in ErrorText; returns false.
    bool KeepReason();
    bool Step(uint8_t result);
};

// AVI: ten video codecs (H.264 in sizes of 16) and nine audio codecs.
class TAVIEncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const TAVIProfile& profile);
};

// MPEG-1 or MPEG-2 program streams; no bitexact step.
class TMPEGEncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const TMPEGProfile& profile);
};

// 3GPP and 3GPP2; the size goes to the writer unchanged.
class T3GPEncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const T3GPProfile& profile);
};

// MP4 with AAC audio.
class TMP4EncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const TMP4Profile& profile);
};

// QuickTime with AAC audio; no rate control.
class TMOVEncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const TMOVProfile& profile);
};

// Flash Video: Sorenson Spark and MP3.
class TFLVEncoderObject final : public TCodecEncoderObject {
    using inherited = TCodecEncoderObject;

public:
    using inherited::inherited;
    bool Configure(const TFLVProfile& profile);
};
