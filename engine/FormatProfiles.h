// The eight format profiles (T3GPProfile ... TFLVProfile) and the factory that picks one by its format word.
#pragma once
#include "engine/TVideoProfile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Each class holds the settings of its format section; the field names are the INI keys (Format3GP is
// stored as "3GPFormat"). Codes are signed 8-bit, flags booleans, bit rates in bits per second, audio
// frequencies in Hz. A new profile holds the format's defaults (the tables in FormatProfiles.cpp), which are
// also Load's defaults for keys the file lacks.

// 3GPP and 3GPP2 (code 0, section "3GPProfile").
class T3GPProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    T3GPProfile(std::string profileName, std::string fileName);

    // Decides Extension again from Format3GP (".3g2" when not 0) once the format section is read. Assigning
    // Format3GP later does not change Extension.
    bool Load() override;
    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    int8_t Format3GP = 0;
    double FrameRate = 0;
    int8_t VideoCodec = 0;
    int32_t VideoBitrate = 0;
    int32_t VideoBitrateTolerance = 0;
    int8_t AudioCodec = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// AVI (code 1, section "AVIProfile").
class TAVIProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TAVIProfile(std::string profileName, std::string fileName);

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    int8_t AVIVideoCodec = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VideoVBRMaxBitrate = 0;
    int32_t VideoVBRMinBitrate = 0;
    int8_t AVIAudioCodec = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// MPEG-1 and MPEG-2 program streams (code 2, section "MPEGProfile"). MPEGVersion comes before Width in the
// file and in the comparison.
class TMPEGProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TMPEGProfile(std::string profileName, std::string fileName);

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    int8_t MPEGVersion = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VideoVBRMaxBitrate = 0;
    int32_t VideoVBRMinBitrate = 0;
    int8_t MPEGAudioType = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// MP4 (code 3, section "MP4Profile"); its audio is always AAC.
class TMP4Profile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TMP4Profile(std::string profileName, std::string fileName);

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    int8_t MP4VideoCodec = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VideoVBRMaxBitrate = 0;
    int32_t VideoVBRMinBitrate = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// Windows Media (code 4, section "WMVProfile"). SystemProfileName and AudioFormatName are names as the
// Windows Media encoder library lists them; WMV_Version 0, 1, 2 are the version 7, 8 and 9 codecs.
class TWMVProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TWMVProfile(std::string profileName, std::string fileName);

    // Two profiles that both use a system profile are equal when its name is; otherwise every other setting
    // counts, UseSystemProfile included.
    bool Equals(const TVideoProfile& other) const override;
    // A TWMVEncoderObject, which writes through the resource holder's Windows Media library binding.
    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    // Its audio is chosen by name and carries no bit rate, so 48 bits per second stand in for it.
    int32_t EstimateSize(double seconds) const override;

    bool UseSystemProfile = false;
    std::string SystemProfileName;
    int8_t WMV_Version = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VBRVideoQuality = 0;
    std::string AudioFormatName;
};

// RealMedia (code 5, section "RealProfile"). AudioFormatName names one of the RealMedia encoder library's
// audio codecs.
class TRealProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TRealProfile(std::string profileName, std::string fileName);

    // A TRealEncoderObject, which writes through the resource holder's RealMedia library binding.
    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    // Its audio is chosen by name and carries no bit rate, so 48 bits per second stand in for it.
    int32_t EstimateSize(double seconds) const override;

    int8_t RealVersion = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VideoVBRMaxBitrate = 0;
    bool VideoNoiseReduction = false;
    std::string AudioFormatName;
};

// QuickTime (code 6, section "MOVProfile"); its audio is always AAC. The three rate-control fields are only
// kept in the file: read, written and copied, but Equals ignores them and the encoder does not use them.
class TMOVProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TMOVProfile(std::string profileName, std::string fileName);

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    int8_t MOVVideoCodec = 0;
    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    bool UseVBR = false;
    int32_t VideoVBRMaxBitrate = 0;
    int32_t VideoVBRMinBitrate = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// Flash Video (code 7, section "FLVProfile").
class TFLVProfile final : public TVideoProfile {
    using inherited = TVideoProfile;

public:
    TFLVProfile(std::string profileName, std::string fileName);

    std::unique_ptr<TEncoderObject> CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
        int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
        int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3,
        int32_t extra4) const override;
    int32_t EstimateSize(double seconds) const override;

    double FrameRate = 0;
    int32_t VideoBitrate = 0;
    int32_t AudioFrequency = 0;
    int32_t AudioChannels = 0;
    int32_t AudioBitrate = 0;
};

// A new profile of the format whose "VideoFormat" word is `formatWord` ("3GPP", "AVI", "MPEG", "MP4", "WMV",
// "REAL", "MOV" or "FLV", compared in upper case), holding the format's defaults; nullptr for any other word.
std::unique_ptr<TVideoProfile> CreateVideoProfile(
    std::string_view formatWord, const std::string& profileName, const std::string& fileName);
