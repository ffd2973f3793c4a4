#include "engine/FormatProfiles.h"

#include "engine/CodecEncoderObjects.h"
#include "engine/ProfileLayout.h"
#include "engine/WmvRealEncoderObjects.h"
#include "framework/core/SysUtils.h"

#include <array>

using namespace ProfileLayout;

namespace {

// The audio bit rate assumed for the two formats whose audio is picked by name.
constexpr int32_t kNamedAudioBitrate = 48;

// Each table lists a format section's keys in file order with the value of a new profile, which is also
// the value Load takes for a missing key.

constexpr TProfileField k3GPFields[] = {
    Field<&T3GPProfile::Width>("Width", 176),
    Field<&T3GPProfile::Height>("Height", 144),
    Field<&T3GPProfile::Format3GP>("3GPFormat", 0),
    Field<&T3GPProfile::FrameRate>("FrameRate", 15.0),
    Field<&T3GPProfile::VideoCodec>("VideoCodec", 1),
    Field<&T3GPProfile::VideoBitrate>("VideoBitrate", 120000),
    Field<&T3GPProfile::VideoBitrateTolerance>("VideoBitrateTolerance", 60000),
    Field<&T3GPProfile::AudioCodec>("AudioCodec", 2),
    Field<&T3GPProfile::AudioFrequency>("AudioFrequency", 16000),
    Field<&T3GPProfile::AudioChannels>("AudioChannels", 1),
    Field<&T3GPProfile::AudioBitrate>("AudioBitrate", 48000),
};

constexpr TProfileField kAVIFields[] = {
    Field<&TAVIProfile::Width>("Width", 320),
    Field<&TAVIProfile::Height>("Height", 240),
    Field<&TAVIProfile::AVIVideoCodec>("AVIVideoCodec", 0),
    Field<&TAVIProfile::FrameRate>("FrameRate", 23.97),
    Field<&TAVIProfile::VideoBitrate>("VideoBitrate", 768000),
    Field<&TAVIProfile::UseVBR>("UseVBR", false),
    Field<&TAVIProfile::VideoVBRMaxBitrate>("VideoVBRMaxBitrate", 768000),
    Field<&TAVIProfile::VideoVBRMinBitrate>("VideoVBRMinBitrate", 0),
    Field<&TAVIProfile::AVIAudioCodec>("AVIAudioCodec", 0),
    Field<&TAVIProfile::AudioFrequency>("AudioFrequency", 44100),
    Field<&TAVIProfile::AudioChannels>("AudioChannels", 2),
    Field<&TAVIProfile::AudioBitrate>("AudioBitrate", 96000),
};

constexpr TProfileField kMPEGFields[] = {
    Field<&TMPEGProfile::MPEGVersion>("MPEGVersion", 1),
    Field<&TMPEGProfile::Width>("Width", 320),
    Field<&TMPEGProfile::Height>("Height", 240),
    Field<&TMPEGProfile::FrameRate>("FrameRate", 23.97),
    Field<&TMPEGProfile::VideoBitrate>("VideoBitrate", 1150000),
    Field<&TMPEGProfile::UseVBR>("UseVBR", false),
    Field<&TMPEGProfile::VideoVBRMaxBitrate>("VideoVBRMaxBitrate", 1150000),
    Field<&TMPEGProfile::VideoVBRMinBitrate>("VideoVBRMinBitrate", 0),
    Field<&TMPEGProfile::MPEGAudioType>("MPEGAudioType", 0),
    Field<&TMPEGProfile::AudioFrequency>("AudioFrequency", 48000),
    Field<&TMPEGProfile::AudioChannels>("AudioChannels", 2),
    Field<&TMPEGProfile::AudioBitrate>("AudioBitrate", 224000),
};

constexpr TProfileField kMP4Fields[] = {
    Field<&TMP4Profile::Width>("Width", 320),
    Field<&TMP4Profile::Height>("Height", 240),
    Field<&TMP4Profile::MP4VideoCodec>("MP4VideoCodec", 0),
    Field<&TMP4Profile::FrameRate>("FrameRate", 23.97),
    Field<&TMP4Profile::VideoBitrate>("VideoBitrate", 768000),
    Field<&TMP4Profile::UseVBR>("UseVBR", false),
    Field<&TMP4Profile::VideoVBRMaxBitrate>("VideoVBRMaxBitrate", 768000),
    Field<&TMP4Profile::VideoVBRMinBitrate>("VideoVBRMinBitrate", 0),
    Field<&TMP4Profile::AudioFrequency>("AudioFrequency", 48000),
    Field<&TMP4Profile::AudioChannels>("AudioChannels", 2),
    Field<&TMP4Profile::AudioBitrate>("AudioBitrate", 96000),
};

// With both profiles on a system profile, TWMVProfile::Equals compares SystemProfileName alone; otherwise
// every other field counts.
constexpr TProfileField kWMVFields[] = {
    Field<&TWMVProfile::UseSystemProfile>("UseSystemProfile", false),
    Field<&TWMVProfile::SystemProfileName>("SystemProfileName", "", NotCompared),
    Field<&TWMVProfile::Width>("Width", 320),
    Field<&TWMVProfile::Height>("Height", 240),
    Field<&TWMVProfile::WMV_Version>("WMV_Version", 1),
    Field<&TWMVProfile::FrameRate>("FrameRate", 23.97),
    Field<&TWMVProfile::VideoBitrate>("VideoBitrate", 768000),
    Field<&TWMVProfile::UseVBR>("UseVBR", false),
    Field<&TWMVProfile::VBRVideoQuality>("VBRVideoQuality", 90),
    Field<&TWMVProfile::AudioFormatName>("AudioFormatName", "64 kbps, 44 kHz, stereo CBR"),
};

constexpr TProfileField kRealFields[] = {
    Field<&TRealProfile::Width>("Width", 176),
    Field<&TRealProfile::Height>("Height", 144),
    Field<&TRealProfile::RealVersion>("RealVersion", 0),
    Field<&TRealProfile::FrameRate>("FrameRate", 15.0),
    Field<&TRealProfile::VideoBitrate>("VideoBitrate", 120000),
    Field<&TRealProfile::UseVBR>("UseVBR", false),
    Field<&TRealProfile::VideoVBRMaxBitrate>("VideoVBRMaxBitrate", 120000),
    Field<&TRealProfile::VideoNoiseReduction>("VideoNoiseReduction", false),
    Field<&TRealProfile::AudioFormatName>("AudioFormatName", "44 Kbps Music - RealAudio"),
};

// The MOV encoder does not use the rate-control fields, so they take no part in Equals.
constexpr TProfileField kMOVFields[] = {
    Field<&TMOVProfile::Width>("Width", 320),
    Field<&TMOVProfile::Height>("Height", 240),
    Field<&TMOVProfile::MOVVideoCodec>("MOVVideoCodec", 0),
    Field<&TMOVProfile::FrameRate>("FrameRate", 23.97),
    Field<&TMOVProfile::VideoBitrate>("VideoBitrate", 768000),
    Field<&TMOVProfile::UseVBR>("UseVBR", false, NotCompared),
    Field<&TMOVProfile::VideoVBRMaxBitrate>("VideoVBRMaxBitrate", 768000, NotCompared),
    Field<&TMOVProfile::VideoVBRMinBitrate>("VideoVBRMinBitrate", 0, NotCompared),
    Field<&TMOVProfile::AudioFrequency>("AudioFrequency", 48000),
    Field<&TMOVProfile::AudioChannels>("AudioChannels", 2),
    Field<&TMOVProfile::AudioBitrate>("AudioBitrate", 96000),
};

constexpr TProfileField kFLVFields[] = {
    Field<&TFLVProfile::Width>("Width", 320),
    Field<&TFLVProfile::Height>("Height", 240),
    Field<&TFLVProfile::FrameRate>("FrameRate", 24.0),
    Field<&TFLVProfile::VideoBitrate>("VideoBitrate", 768000),
    Field<&TFLVProfile::AudioFrequency>("AudioFrequency", 44100),
    Field<&TFLVProfile::AudioChannels>("AudioChannels", 2),
    Field<&TFLVProfile::AudioBitrate>("AudioBitrate", 96000),
};

// In format-code order, which is also the order in which format words are tried.
constexpr TProfileLayout kLayouts[] = {
    { vf3GP, "3GPP", "3GPProfile", ".3gp", k3GPFields, &Create<T3GPProfile>, &Copy<T3GPProfile> },
    { vfAVI, "AVI", "AVIProfile", ".avi", kAVIFields, &Create<TAVIProfile>, &Copy<TAVIProfile> },
    { vfMPEG, "MPEG", "MPEGProfile", ".mpg", kMPEGFields, &Create<TMPEGProfile>, &Copy<TMPEGProfile> },
    { vfMP4, "MP4", "MP4Profile", ".mp4", kMP4Fields, &Create<TMP4Profile>, &Copy<TMP4Profile> },
    { vfWMV, "WMV", "WMVProfile", ".wmv", kWMVFields, &Create<TWMVProfile>, &Copy<TWMVProfile> },
    { vfReal, "REAL", "RealProfile", ".rm", kRealFields, &Create<TRealProfile>, &Copy<TRealProfile> },
    { vfMOV, "MOV", "MOVProfile", ".mov", kMOVFields, &Create<TMOVProfile>, &Copy<TMOVProfile> },
    { vfFLV, "FLV", "FLVProfile", ".flv", kFLVFields, &Create<TFLVProfile>, &Copy<TFLVProfile> },
};

// Each class finds its table by its own code.
static_assert([] {
    for (size_t i = 0; i < std::size(kLayouts); ++i) {
        if (kLayouts[i].Code != i)
            return false;
    }
    return true;
}());

// Creates the encoder object and lets it configure itself from the profile. Its result is not examined: an object
// whose configuration failed has no writer left, and its Open reports that.
template <class TObject, class TProfile>
std::unique_ptr<TEncoderObject> CreateConfigured(const TProfile& profile, const std::string& outputPath,
    int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate,
    int32_t sourceChannels, bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight,
    int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4)
{
    auto object = std::make_unique<TObject>(outputPath, sourceWidth, sourceHeight, colorFormat, sourceFrameRate,
        sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop, cropBottom,
        extra1, extra2, extra3, extra4);
    object->Configure(profile);
    return object;
}

} // namespace

T3GPProfile::T3GPProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vf3GP]);
}

bool T3GPProfile::Load()
{
    if (!inherited::Load())
        return false;
    Extension = Format3GP != 0 ? ".3g2" : ".3gp";
    return true;
}

int32_t T3GPProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> T3GPProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<T3GPEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

TAVIProfile::TAVIProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfAVI]);
}

int32_t TAVIProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> TAVIProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TAVIEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

TMPEGProfile::TMPEGProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfMPEG]);
}

int32_t TMPEGProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> TMPEGProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TMPEGEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

TMP4Profile::TMP4Profile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfMP4]);
}

int32_t TMP4Profile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> TMP4Profile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TMP4EncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

TWMVProfile::TWMVProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfWMV]);
}

bool TWMVProfile::Equals(const TVideoProfile& other) const
{
    if (&other.Layout() != &Layout())
        return false;
    const auto& wmv = static_cast<const TWMVProfile&>(other);
    if (UseSystemProfile && wmv.UseSystemProfile)
        return FormatType == wmv.FormatType && ProfileName == wmv.ProfileName
            && SystemProfileName == wmv.SystemProfileName;
    return inherited::Equals(other);
}

std::unique_ptr<TEncoderObject> TWMVProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TWMVEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

int32_t TWMVProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, kNamedAudioBitrate, seconds);
}

TRealProfile::TRealProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfReal]);
}

std::unique_ptr<TEncoderObject> TRealProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TRealEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

int32_t TRealProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, kNamedAudioBitrate, seconds);
}

TMOVProfile::TMOVProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfMOV]);
}

int32_t TMOVProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> TMOVProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TMOVEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

TFLVProfile::TFLVProfile(std::string profileName, std::string fileName)
    : inherited(std::move(profileName), std::move(fileName))
{
    ApplyDefaults(kLayouts[vfFLV]);
}

int32_t TFLVProfile::EstimateSize(double seconds) const
{
    return EstimateFromBitrates(VideoBitrate, AudioBitrate, seconds);
}

std::unique_ptr<TEncoderObject> TFLVProfile::CreateEncoderObject(const std::string& outputPath, int32_t sourceWidth,
    int32_t sourceHeight, int32_t colorFormat, double sourceFrameRate, int32_t sourceSampleRate, int32_t sourceChannels,
    bool fixAspectRatio, bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom,
    int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) const
{
    return CreateConfigured<TFLVEncoderObject>(*this, outputPath, sourceWidth, sourceHeight, colorFormat,
        sourceFrameRate, sourceSampleRate, sourceChannels, fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop,
        cropBottom, extra1, extra2, extra3, extra4);
}

std::unique_ptr<TVideoProfile> CreateVideoProfile(
    std::string_view formatWord, const std::string& profileName, const std::string& fileName)
{
    const std::string word = UpperCase(formatWord);
    for (const TProfileLayout& layout : kLayouts) {
        if (word == layout.FormatWord)
            return layout.Create(profileName, fileName);
    }
    return nullptr;
}
