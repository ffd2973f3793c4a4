// TTiberlEncoder, one RealMedia encoder behind a handle of the library, with the names the library offers.
#pragma once
#include "codecs/braskel/TWriterRun.h"
#include "codecs/tiberl/Tiberl.h"

#include <cstdint>
#include <memory>
#include <string>

// One audio codec as the library lists it and what it codes with.
struct TTiberlAudioCodec {
    const char* Name;
    const char* Encoder; // FFmpeg's encoder.
    int32_t SampleRate;
    int32_t Channels;
    int32_t BitRate;
};

// One audience: a bit rate for the video and an audio codec.
struct TTiberlAudience {
    const char* Name;
    int32_t VideoBitRate;
    int32_t AudioCodec;
};

// Everything the settings calls record, as given; Begin checks it.
struct TTiberlSettings {
    bool HasVideo = false;
    bool HasAudio = false;
    int32_t InputWidth = 0;
    int32_t InputHeight = 0;
    double InputFPS = 0.0;
    int32_t InputColorFormat = 0;
    int32_t InputSampleRate = 0;
    int32_t InputChannels = 0;

    std::string DestinationPath;
    uint8_t AudioContent = 0;
    uint8_t VideoContent = 0;
    uint8_t ParamsMode = 1;
    int32_t Audience = 0;
    RealManualSettings Manual {};

    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
};

// One encoder of the library: the settings of its next run and the run in progress, written through the codec
// library's media writer into a RealMedia file. Not thread-safe; the entry points serialise the calls.
class TTiberlEncoder final : public TWriterRun {
    using inherited = TWriterRun;

public:
    TTiberlEncoder();
    TTiberlEncoder(const TTiberlEncoder&) = delete;
    TTiberlEncoder& operator=(const TTiberlEncoder&) = delete;

    // The name lists; null or 0 for an index outside them.
    static int32_t AudioCodecCount();
    static const TTiberlAudioCodec* AudioCodec(int32_t index);
    static int32_t AudienceCount();
    static const TTiberlAudience* Audience(int32_t index);

    // False, keeping the settings, for values out of range.
    bool SetManual(const RealManualSettings& settings);
    // Creates the file from the settings; false, with ErrorText() set and no file left, when it cannot.
    bool Begin();

    TTiberlSettings Settings;

private:
    // The video stream of a run: codec, size and rate control from the manual settings.
    bool SetUpVideo(MediaWriter& writer, const RealManualSettings& manual, double frameRate);
};
