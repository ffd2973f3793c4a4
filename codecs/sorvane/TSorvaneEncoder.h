// TSorvaneEncoder, the Windows Media encoder behind the library's entry points, with the names it offers.
#pragma once
#include "codecs/braskel/TWriterRun.h"

#include <cstdint>
#include <memory>
#include <string>

// One audio format of an audio codec: its name as the library lists it and what it codes.
struct TSorvaneAudioFormat {
    const char* Name;
    int32_t SampleRate;
    int32_t Channels;
    int32_t BitRate;
};

// A system profile: named settings that replace the custom ones of a run.
struct TSorvaneSystemProfile {
    const char* Name;
    int32_t Width;
    int32_t Height;
    double FrameRate;
    int32_t VideoBitRate;
    int32_t VideoCodec; // Index into the video codec list.
    const char* AudioFormat; // A format name of audio codec 0.
};

// Everything the Set* entry points record, as given; BeginEncoding checks it.
struct TSorvaneSettings {
    int32_t Language = 0;
    bool UseSMPTEStream = false;
    int32_t AudioCodec = 0;
    int32_t AudioFormat = 0;
    bool AudioUncompressed = false;
    int32_t AudioBufferWindow = 1000;
    int32_t VideoCodec = 0;
    bool VideoUncompressed = false;
    int32_t VideoUncompressedFormat = 0;
    bool UseVBR = false;
    int32_t VBRMode = 0;
    int32_t VideoBufferWindow = 5000;
    int32_t VideoBitrate = 768000;
    int32_t VideoQuality = 100;
    int32_t VBRMaxBitrate = 0;
    int32_t VBRMaxBuffer = 0;
    int32_t VBRQuality = 90;
    int32_t VideoWidth = 0;
    int32_t VideoHeight = 0;
    double VideoFPS = 0.0;
    int32_t SecsKeyframe = 8;
    bool UseSystemProfile = false;
    int32_t SystemProfile = 0;

    // The input.
    bool HasVideo = false;
    bool HasAudio = false;
    int32_t InputWidth = 0;
    int32_t InputHeight = 0;
    double InputFPS = 0.0;
    int32_t InputColorFormat = 0;
    int32_t InputSampleRate = 0;
    int32_t InputChannels = 0;

    std::string DestinationPath;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Description;
};

// The library's one encoder: the settings of the next run and the run in progress, written through the codec
// library's media writer into an ASF file. Not thread-safe; the entry points serialise the calls.
class TSorvaneEncoder final : public TWriterRun {
    using inherited = TWriterRun;

public:
    TSorvaneEncoder();
    TSorvaneEncoder(const TSorvaneEncoder&) = delete;
    TSorvaneEncoder& operator=(const TSorvaneEncoder&) = delete;

    // The name lists; null or 0 for an index outside them.
    static int32_t AudioCodecCount();
    static const char* AudioCodecName(int32_t codec);
    static int32_t AudioFormatCount(int32_t codec);
    static const TSorvaneAudioFormat* AudioFormat(int32_t codec, int32_t format);
    static int32_t VideoCodecCount();
    static const char* VideoCodecName(int32_t codec);
    static int32_t SystemProfileCount();
    static const TSorvaneSystemProfile* SystemProfile(int32_t index);

    // Creates the file from the settings; false, with ErrorText() set and no file left, when it cannot.
    bool Begin();

    TSorvaneSettings Settings;
};
