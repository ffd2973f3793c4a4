#include "engine/WmvRealEncoderObjects.h"

#include "engine/BraskelLibrary.h"
#include "engine/FormatProfiles.h"
#include "engine/LibraryBinding.h"
#include "engine/RealEncoderDllWarper.h"
#include "engine/ReplaceFirst.h"
#include "engine/TResourceForm.h"
#include "engine/WM9EncoderDllWarper.h"
#include "framework/core/Exception.h"
#include "framework/core/SysUtils.h"

#include <cstring>
#include <initializer_list>
#include <utility>

using LibraryBinding::ReadName;

static_assert(LibraryBinding::kNameBufferSize == size_t(kSorvaneNameBufferSize)
    && LibraryBinding::kNameBufferSize == size_t(kTiberlNameBufferSize));

namespace {

// The bindings the resource holder keeps; null when it holds none.
WM9EncoderDllWarper* WmvLibrary()
{
    return ResourceForm ? ResourceForm->WM9EncoderDll.get() : nullptr;
}

RealEncoderDllWarper* RealLibrary()
{
    return ResourceForm ? ResourceForm->RealEncoderDll.get() : nullptr;
}

// The profile's size, or the source's less the crop when it is 0, cut down to a multiple of `step` (truncating
// toward zero).
int32_t OutputSide(int32_t profileValue, int32_t source, int32_t cropBefore, int32_t cropAfter, int32_t step)
{
    const int32_t value = profileValue != 0 ? profileValue : source - cropBefore - cropAfter;
    return value / step * step;
}

void InitScaler(TEncoderObject& object, FrameScaler* scaler, int32_t outputWidth, int32_t outputHeight)
{
    if (!scaler)
        return;
    const TCropRect& crop = object.Crop;
    scaler->Init(outputWidth, outputHeight, object.SourceWidth, object.SourceHeight, object.ColorFormat,
        object.FixAspectRatio, crop.Left, crop.Right, crop.Top, crop.Bottom, object.Extra1, object.Extra2,
        object.Extra3, object.Extra4);
}

// The scaled frame of `frame`, or null when the scaler refuses it.
const uint8_t* ScaleFrame(FrameScaler* scaler, const uint8_t* frame)
{
    if (!scaler || scaler->Process(frame) == 0)
        return nullptr;
    return scaler->GetOutput();
}

FrameScaler* CreateScaler()
{
    FrameScaler* scaler = BraskelLibrary.CreateFrameScaler();
    if (!scaler)
        BraskelLibrary.ReleaseFrameScaler(nullptr);
    return scaler;
}

// Whether `rest` is `major` followed by '.' and one digit from `firstMinor` to '9'.
bool HasMinor(std::string_view rest, std::string_view major, char firstMinor)
{
    return rest.size() == major.size() + 2 && rest.substr(0, major.size()) == major && rest[major.size()] == '.'
        && rest.back() >= firstMinor && rest.back() <= '9';
}

// A RealMedia codec name as the encoder object compares it: none for voice and multichannel codecs, otherwise the
// name without its first "(music)".
bool RealMusicName(const std::string& name, std::string& listed)
{
    if (name.find("(voice)") != std::string::npos || name.find("Multichannel") != std::string::npos)
        return false;
    listed = ReplaceFirst(name, "(music)", "");
    return true;
}

constexpr int32_t kRealQuality = 90;
constexpr double kRealStartupLatency = 4.0;
constexpr double kRealKeyframeInterval = 10.0;

// The manual-settings block of a RealMedia run: every byte zero, then the fields.
RealManualSettings RealSettingsBlock(const TRealProfile& profile, int32_t audioCodec)
{
    RealManualSettings block;
    std::memset(&block, 0, sizeof block);
    const int32_t kbps = profile.VideoBitrate / 1000;
    block.UseVBR = profile.UseVBR ? 1 : 0;
    block.VideoCodec = profile.RealVersion == 0 ? 2 : profile.RealVersion == 1 ? 1 : 0;
    block.NoiseFilter = profile.VideoNoiseReduction ? 0 : 2;
    block.FrameRate = profile.FrameRate;
    block.AverageKbps = kbps;
    block.MaxKbps = profile.UseVBR ? profile.VideoVBRMaxBitrate / 1000 : kbps;
    block.TargetKbps = kbps;
    block.Quality = kRealQuality;
    block.AudioCodec = audioCodec;
    block.MaxStartupLatency = kRealStartupLatency;
    block.MaxKeyframeInterval = kRealKeyframeInterval;
    block.VBRMode = profile.UseVBR ? 2 : 0;
    block.Flags[0] = 1;
    block.Flags[1] = 1;
    return block;
}

} // namespace

// ---- Windows Media -------------------------------------------------------------------------------------------

TWMVEncoderObject::TWMVEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight,
    int32_t colorFormat, double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio,
    bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1,
    int32_t extra2, int32_t extra3, int32_t extra4)
    : inherited(std::move(outputPath), sourceWidth, sourceHeight, colorFormat, sourceFrameRate, sampleRate, channels,
        fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop, cropBottom, extra1, extra2, extra3, extra4)
    , Scaler(CreateScaler())
{
}

TWMVEncoderObject::~TWMVEncoderObject()
{
    // The library's end is harmless without a run, and ending here covers an object deleted without Close.
    if (WM9EncoderDllWarper* dll = WmvLibrary())
        dll->WMV_EndEncoding();
    if (Scaler)
        BraskelLibrary.ReleaseFrameScaler(Scaler);
    Scaler = nullptr;
}

bool TWMVEncoderObject::IsAudioCodecName(std::string_view name)
{
    constexpr std::string_view prefix = "Windows Media Audio ";
    if (name.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view rest = name.substr(prefix.size());
    for (const std::string_view major : { "8", "9", "10" }) {
        if (rest == major || HasMinor(rest, major, '0'))
            return true;
    }
    return false;
}

bool TWMVEncoderObject::IsVideoCodecName(std::string_view name, int version)
{
    constexpr std::string_view prefix = "Windows Media Video ";
    if (version < 0 || version > 2 || name.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view rest = name.substr(prefix.size());
    // Version 0 takes the names of 7 and up, 1 of 8 and up, 2 of 9 only.
    constexpr std::string_view families[] = { "7", "8", "9" };
    for (int family = version; family < 3; ++family) {
        const std::string_view major = families[family];
        if (rest == major || HasMinor(rest, major, '1')
            || (rest.starts_with('V') && HasMinor(rest.substr(1), major, '1')))
            return true;
    }
    return false;
}

void TWMVEncoderObject::Configure(const TWMVProfile& profile)
{
    const int32_t outW = OutputWidth = OutputSide(profile.Width, SourceWidth, Crop.Left, Crop.Right, 2);
    const int32_t outH = OutputHeight = OutputSide(profile.Height, SourceHeight, Crop.Top, Crop.Bottom, 2);
    InitScaler(*this, Scaler, outW, outH);
    WM9EncoderDllWarper* dll = WmvLibrary();
    if (!dll)
        return;

    dll->WMV_SetUseSMPTEStream(0);
    dll->WMV_SetLanguage(0);
    dll->WMV_SetAudioUseUncompressed(0);

    // Codec names count as the library gives them; format and video names without blanks at their ends.
    int32_t audioCodec = 0;
    for (int32_t i = 0, count = dll->WMV_GetAudioCodecCount(); i < count; ++i) {
        if (IsAudioCodecName(ReadName([&](char* buffer) { dll->WMV_GetAudioCodecName(i, buffer); }))) {
            audioCodec = i;
            break;
        }
    }
    int32_t audioFormat = 0;
    for (int32_t j = 0, count = dll->WMV_GetAudioFormatCount(audioCodec); j < count; ++j) {
        if (Trim(ReadName([&](char* buffer) { dll->WMV_GetAudioFormat(audioCodec, j, buffer); }))
            == profile.AudioFormatName) {
            audioFormat = j;
            break;
        }
    }
    dll->WMV_SetAudioCodecAndFormat(audioCodec, audioFormat);
    dll->WMV_SetAudioBufferWindow(1000);
    dll->WMV_SetVideoUseUncompressed(0);

    int32_t videoCodec = 0;
    for (int32_t i = 0, count = dll->WMV_GetVideoCodecCount(); i < count; ++i) {
        if (IsVideoCodecName(
                Trim(ReadName([&](char* buffer) { dll->WMV_GetVideoCodecName(i, buffer); })), profile.WMV_Version)) {
            videoCodec = i;
            break;
        }
    }
    dll->WMV_SetVideoCodec(videoCodec);

    dll->WMV_SetVideoUseVBR(profile.UseVBR ? 1 : 0);
    if (profile.UseVBR) {
        dll->WMV_SetVideoVBRMode(1);
        dll->WMV_SetVideoQuality(100);
        dll->WMV_SetVideoBitrate(profile.VideoBitrate);
        dll->WMV_SetVideoVBRQuality(profile.VBRVideoQuality);
        dll->WMV_SetVideoVBRMaxBitrate(0);
        dll->WMV_SetVideoVBRMaxBuffer(0);
    } else {
        dll->WMV_SetVideoVBRMode(0);
        dll->WMV_SetVideoQuality(100);
        dll->WMV_SetVideoBitrate(profile.VideoBitrate);
    }
    dll->WMV_SetVideoBufferWindow(10000);
    dll->WMV_SetVideoFPS(profile.FrameRate);
    dll->WMV_SetVideoSecsKeyframe(8);

    int32_t systemProfile = 0;
    if (profile.UseSystemProfile) {
        const std::string wanted = Trim(profile.SystemProfileName);
        for (int32_t j = 0, count = dll->WMV_GetUseSystemProfileCount(); j < count; ++j) {
            if (Trim(ReadName([&](char* buffer) { dll->WMV_GetUseSystemProfileName(j, buffer); })) == wanted) {
                systemProfile = j;
                break;
            }
        }
    }
    dll->WMV_SetUseSystemProfile(profile.UseSystemProfile ? 1 : 0, systemProfile);

    dll->WMV_SetVideoWidth(outW);
    dll->WMV_SetVideoHeight(outH);
    dll->WMV_SetInputParms(1, DisableAudio ? 0 : 1, outW, outH, SourceFrameRate, 5, SampleRate, Channels);
    dll->WMV_SetupDestinationFile(OutputPath.c_str());
}

bool TWMVEncoderObject::Open()
{
    WM9EncoderDllWarper* dll = WmvLibrary();
    if (!dll || !Scaler)
        return false;
    // Configure described a video input; a source without video would leave that stream empty.
    if (DisableVideo)
        dll->WMV_SetInputParms(0, DisableAudio ? 0 : 1, OutputWidth, OutputHeight, SourceFrameRate, 5, SampleRate,
            Channels);
    dll->WMV_SetVideoTag(Title.c_str(), Author.c_str(), Copyright.c_str(), Comment.c_str(), "");
    return dll->WMV_BeginEncoding() != 0 || KeepReason(dll);
}

bool TWMVEncoderObject::KeepReason(WM9EncoderDllWarper* dll)
{
    ErrorText = dll->WMV_GetLastError();
    return false;
}

bool TWMVEncoderObject::Close()
{
    WM9EncoderDllWarper* dll = WmvLibrary();
    return !dll || dll->WMV_EndEncoding() != 0 || KeepReason(dll);
}

bool TWMVEncoderObject::WriteVideo(const uint8_t* frame, double startTime, double /*endTime*/)
{
    try {
        WM9EncoderDllWarper* dll = WmvLibrary();
        const uint8_t* scaled = dll ? ScaleFrame(Scaler, frame) : nullptr;
        return scaled && (dll->WMV_EncodeVideoSample(scaled, startTime) != 0 || KeepReason(dll));
    } catch (const Exception&) {
        return false;
    }
}

bool TWMVEncoderObject::WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double /*endTime*/)
{
    try {
        WM9EncoderDllWarper* dll = WmvLibrary();
        return dll && (dll->WMV_EncodeAudioSample(samples, byteCount, startTime) != 0 || KeepReason(dll));
    } catch (const Exception&) {
        return false;
    }
}

int64_t TWMVEncoderObject::GetOutputSize()
{
    WM9EncoderDllWarper* dll = WmvLibrary();
    // The library's count is unsigned 32-bit.
    return dll ? int64_t(uint32_t(dll->WMV_GetOutputSize())) : 0;
}

// ---- RealMedia -----------------------------------------------------------------------------------------------

TRealEncoderObject::TRealEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight,
    int32_t colorFormat, double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio,
    bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1,
    int32_t extra2, int32_t extra3, int32_t extra4)
    : inherited(std::move(outputPath), sourceWidth, sourceHeight, colorFormat, sourceFrameRate, sampleRate, channels,
        fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop, cropBottom, extra1, extra2, extra3, extra4)
    , Scaler(CreateScaler())
{
}

TRealEncoderObject::~TRealEncoderObject()
{
    Close();
    if (Scaler)
        BraskelLibrary.ReleaseFrameScaler(Scaler);
    Scaler = nullptr;
}

void TRealEncoderObject::Configure(const TRealProfile& profile)
{
    const int32_t outW = OutputWidth = OutputSide(profile.Width, SourceWidth, Crop.Left, Crop.Right, 4);
    const int32_t outH = OutputHeight = OutputSide(profile.Height, SourceHeight, Crop.Top, Crop.Bottom, 4);
    InitScaler(*this, Scaler, outW, outH);
    RealEncoderDllWarper* dll = RealLibrary();
    if (!dll)
        return;

    dll->CreateHandle();
    dll->Real_SetInputParms(1, DisableAudio ? 0 : 1, outW, outH, SourceFrameRate, 5, SampleRate, Channels);
    if (dll->Real_SetupDestinationFile(OutputPath.c_str()) == 0)
        return;
    if (dll->Real_SetupMediaProfile(0, 0) == 0)
        return;
    dll->Real_SetParamsMode(1);

    int32_t audioCodec = 0;
    const std::string wanted = Trim(profile.AudioFormatName);
    for (int32_t i = 0, count = dll->Real_GetAudioCodecCount(); i < count; ++i) {
        std::string listed;
        if (RealMusicName(ReadName([&](char* buffer) { dll->Real_GetAudioCodecName(i, buffer); }), listed)
            && Trim(listed) == wanted) {
            audioCodec = i;
            break;
        }
    }
    const RealManualSettings block = RealSettingsBlock(profile, audioCodec);
    dll->Real_SetManualSettingsParams(&block);
    dll->Real_SetUse2Pass(0);
}

bool TRealEncoderObject::Open()
{
    RealEncoderDllWarper* dll = RealLibrary();
    if (!dll || !Scaler)
        return false;
    if (DisableVideo)
        dll->Real_SetInputParms(0, DisableAudio ? 0 : 1, OutputWidth, OutputHeight, SourceFrameRate, 5, SampleRate,
            Channels);
    if (dll->Real_SetupTag(Title.c_str(), Author.c_str(), Copyright.c_str(), Comment.c_str(), "") == 0)
        return false;
    const bool begun = dll->Real_BeginEncoding() != 0;
    if (begun)
        Closed = false;
    return begun || KeepReason(dll);
}

bool TRealEncoderObject::KeepReason(RealEncoderDllWarper* dll)
{
    ErrorText = dll->Real_GetLastError();
    return false;
}

bool TRealEncoderObject::Close()
{
    if (Closed)
        return true;
    Closed = true;
    RealEncoderDllWarper* dll = RealLibrary();
    return !dll || dll->Real_EndEncoding() != 0 || KeepReason(dll);
}

bool TRealEncoderObject::WriteVideo(const uint8_t* frame, double startTime, double endTime)
{
    try {
        RealEncoderDllWarper* dll = RealLibrary();
        const uint8_t* scaled = dll ? ScaleFrame(Scaler, frame) : nullptr;
        return scaled && (dll->Real_EncodeVideoSample(scaled, startTime, endTime) != 0 || KeepReason(dll));
    } catch (const Exception&) {
        return false;
    }
}

bool TRealEncoderObject::WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double endTime)
{
    try {
        RealEncoderDllWarper* dll = RealLibrary();
        return dll && (dll->Real_EncodeAudioSample(samples, byteCount, startTime, endTime) != 0 || KeepReason(dll));
    } catch (const Exception&) {
        return false;
    }
}

int64_t TRealEncoderObject::GetOutputSize()
{
    RealEncoderDllWarper* dll = RealLibrary();
    return dll ? int64_t(dll->Real_GetOutputSize() * 1024 * 1024) : 0;
}
