// TVideoInfoReader, the probe result of one source file, and the hook through which it probes with DirectShow.
#pragma once
#include <cstdint>
#include <string>

// One video stream of a probed file. The fields are those of the codec library's video stream record.
struct VideoStreamInfo {
    char CodecName[32] = {}; // Zero-terminated.
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t AspectX = 0; // Display aspect; 0:1 when unknown.
    int32_t AspectY = 0;
    double FrameRate = 0.0;
};

// One audio stream of a probed file.
struct AudioStreamInfo {
    char CodecName[32] = {};
    int32_t SampleRate = 0;
    int32_t Channels = 0; // The stream's own count.
};

// What the DirectShow library reports about a file it opened: the fields of its info block that the probe
// reads.
struct TDirectShowProbeInfo {
    bool Opened = false;
    double Duration = 0.0;
    bool HasVideo = false;
    int32_t Width = 0;
    int32_t Height = 0;
    double FrameRate = 0.0;
    uint8_t ColorFormat = 0;
    bool HasAudio = false;
    int32_t SampleRate = 0;
    int32_t Channels = 0;
};

// Opens `fileName` with the DirectShow library in probe mode and fills `info`; false when the library made no
// handle or did not open the file. It releases whatever it created before it returns.
using TDirectShowProbeHook = bool (*)(const std::string& fileName, TDirectShowProbeInfo& info);

// Replaces the DirectShow probe (tests put in fakes); null makes that decoder unavailable, so its probes fail.
// The start-up state is the real one, ProbeWithQuentim.
void SetDirectShowProbeHook(TDirectShowProbeHook hook);
TDirectShowProbeHook GetDirectShowProbeHook();

// What is known of one source file: whether a decoder opens it, its duration, the colour format of its frames,
// its streams, and which decoder opened it. Copying it copies the whole probe result.
class TVideoInfoReader {
public:
    static constexpr int32_t kMaxStreams = 16;

    explicit TVideoInfoReader(std::string fileName);

    const std::string& GetFileName() const { return FileName; }
    bool IsOpened() const { return Opened; }
    double GetDuration() const { return Duration; }
    uint8_t GetColorFormat() const { return ColorFormat; }
    // 0 DirectShow, 1 built-in: the decoder that opened the file last.
    int32_t GetDecoderKind() const { return DecoderKind; }
    int32_t GetVideoStreamCount() const { return VideoStreamCount; }
    int32_t GetAudioStreamCount() const { return AudioStreamCount; }
    bool HasVideo() const { return VideoStreamCount > 0; }
    bool HasAudio() const { return AudioStreamCount > 0; }
    // The record of that index in the table. An index outside 0..15 (such as the -1 of a stream choice with
    // nothing selected) gives an all-zero record.
    const VideoStreamInfo& GetVideoStream(int32_t index) const;
    const AudioStreamInfo& GetAudioStream(int32_t index) const;

    // One probe each. Every probe first forgets what an earlier one found (open flag, duration, streams), so
    // the fields describe this probe only.
    bool ProbeWithDirectShow();
    bool ProbeWithBuiltIn();
    // Probes in the order that GlobalDecoderModeMap gives for the file's lower-cased extension (the default
    // mode 0 while there is no global table). A mode outside 0..3 probes nothing and leaves the file unopened.
    bool Probe();
    // Probes with one decoder first (kind 0 DirectShow, otherwise built-in), then in the table's order. True
    // at once when that kind already opened the file.
    bool ProbeWithMode(int32_t kind);

private:
    void Clear();

    std::string FileName;
    bool Opened = false;
    double Duration = 0.0;
    uint8_t ColorFormat = 3;
    int32_t VideoStreamCount = 0;
    VideoStreamInfo VideoStreams[kMaxStreams] = {};
    int32_t AudioStreamCount = 0;
    AudioStreamInfo AudioStreams[kMaxStreams] = {};
    int32_t DecoderKind = 1;
};
