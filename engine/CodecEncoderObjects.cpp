#include "engine/CodecEncoderObjects.h"

#include "engine/BraskelLibrary.h"
#include "engine/FormatProfiles.h"
#include "framework/core/Exception.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

constexpr uint8_t kOk = 0;

// The video codec of a profile code; a code past the table takes the "other" name.
struct TVideoChoice {
    const char* Name;
    bool DivxTag; // The writer also gets "vcodecTag" = "DIVX" right after the codec.
};

constexpr TVideoChoice kAVIVideo[]
    = { { "mpeg4", false }, { "xvid", true }, { "xvid", false }, { "msmpeg4v1", false }, { "msmpeg4v2", false },
          { "msmpeg4", false }, { "mjpeg", false }, { "h264", false }, { "zlib", false }, { "rawvideo", false } };
constexpr TVideoChoice kMP4Video[] = { { "mpeg4", false }, { "xvid", true }, { "xvid", false }, { "h264", false } };
constexpr TVideoChoice kMOVVideo[] = { { "mpeg4", false }, { "xvid", true }, { "xvid", false }, { "h264", false },
    { "mjpeg", false }, { "svq1", false } };
constexpr TVideoChoice k3GPVideo[] = { { "h263", false }, { "mpeg4", false }, { "xvid", false } };
constexpr TVideoChoice kOtherVideo = { "mpeg4", false };

constexpr const char* kAVIAudio[]
    = { "mp3", "pcm_s16le", "adpcm_ms", "pcm_alaw", "pcm_mulaw", "ac3", "mp2", "vorbis", "aac" };
constexpr const char* kMPEGAudio[] = { "mp2", "ac3", "pcm_s16le" };
constexpr const char* k3GPAudio[] = { "amr_nb", "amr_wb" };

template <size_t N> TVideoChoice Choose(const TVideoChoice (&table)[N], int8_t code)
{
    return code >= 0 && size_t(code) < N ? table[code] : kOtherVideo;
}

template <size_t N> const char* Choose(const char* const (&table)[N], int8_t code, const char* other)
{
    return code >= 0 && size_t(code) < N ? table[code] : other;
}

} // namespace

TCodecEncoderObject::TCodecEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight,
    int32_t colorFormat, double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio,
    bool disableAudio, int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1,
    int32_t extra2, int32_t extra3, int32_t extra4)
    : inherited(std::move(outputPath), sourceWidth, sourceHeight, colorFormat, sourceFrameRate, sampleRate, channels,
        fixAspectRatio, disableAudio, cropLeft, cropRight, cropTop, cropBottom, extra1, extra2, extra3, extra4)
{
    Writer = BraskelLibrary.CreateMediaWriter(OutputPath.c_str());
    if (!Writer)
        BraskelLibrary.ReleaseMediaWriter(nullptr);
}

TCodecEncoderObject::~TCodecEncoderObject()
{
    if (Writer) {
        Writer->Close();
        BraskelLibrary.ReleaseMediaWriter(Writer);
        Writer = nullptr;
    }
}

bool TCodecEncoderObject::KeepReason()
{
    if (Writer)
        ErrorText = Writer->GetErrorText();
    return false;
}

bool TCodecEncoderObject::Refused()
{
    KeepReason();
    if (Writer) {
        BraskelLibrary.ReleaseMediaWriter(Writer);
        Writer = nullptr;
    }
    return false;
}

bool TCodecEncoderObject::Step(uint8_t result)
{
    return result == kOk || Refused();
}

bool TCodecEncoderObject::Container(const char* name)
{
    return Writer && Step(Writer->SetFormat(name));
}

bool TCodecEncoderObject::BitExact()
{
    return Writer && Step(Writer->SetOption("bitexact", "1"));
}

bool TCodecEncoderObject::FixAspect()
{
    return !FixAspectRatio || (Writer && Step(Writer->SetOption("fix_aspect_ratio", "1")));
}

bool TCodecEncoderObject::Size(
    int32_t profileWidth, int32_t profileHeight, TSizeRule rule, int32_t bitRate, double frameRate)
{
    // 0 stands for the source size minus the crop. Both adjustments truncate toward zero, as C++ division does.
    int32_t width = profileWidth != 0 ? profileWidth : SourceWidth - Crop.Left - Crop.Right;
    int32_t height = profileHeight != 0 ? profileHeight : SourceHeight - Crop.Top - Crop.Bottom;
    const int32_t step = rule == TSizeRule::Multiple16 ? 16 : rule == TSizeRule::Even ? 2 : 1;
    width = width / step * step;
    height = height / step * step;
    return Writer
        && Step(Writer->SetVideoParams(width, height, bitRate, frameRate, SourceWidth, SourceHeight, ColorFormat,
            Crop.Left, Crop.Right, Crop.Top, Crop.Bottom, Extra1, Extra2, Extra3, Extra4));
}

bool TCodecEncoderObject::VideoCodec(const char* name, bool divxTag)
{
    return Writer && Step(Writer->SetVideoCodec(name)) && (!divxTag || Step(Writer->SetOption("vcodecTag", "DIVX")));
}

bool TCodecEncoderObject::RateControl(bool useVBR, int32_t bitRate, int32_t maxBitRate, int32_t minBitRate)
{
    const std::string max = std::to_string(useVBR ? maxBitRate : bitRate);
    const std::string min = std::to_string(useVBR ? minBitRate : bitRate);
    return Writer && Step(Writer->SetOption("video_rc_max_rate", max.c_str()))
        && Step(Writer->SetOption("video_rc_min_rate", min.c_str()))
        && Step(Writer->SetOption("video_rc_buffer_size", max.c_str()));
}

bool TCodecEncoderObject::Tolerance(int32_t tolerance)
{
    return Writer && Step(Writer->SetOption("video_bit_rate_tolerance", std::to_string(tolerance).c_str()));
}

bool TCodecEncoderObject::Audio(const char* codec, int32_t frequency, int32_t channels, int32_t bitRate)
{
    // The user switched the output's audio off: the writer gets no audio stream at all.
    if (DisableAudio)
        return Writer != nullptr;
    return Writer && Step(Writer->SetAudioCodec(codec))
        && Step(Writer->SetAudioParams(frequency, channels, bitRate, SampleRate, Channels));
}

bool TCodecEncoderObject::FreeOptions(const TVideoProfile& profile)
{
    if (!Writer)
        return false;
    const int count = std::min(profile.ParamKeys.Count(), profile.ParamValues.Count());
    for (int i = 0; i < count; ++i) {
        const std::string& key = profile.ParamKeys.Strings(i);
        const std::string& value = profile.ParamValues.Strings(i);
        const uint8_t result
            = key == "f" ? Writer->SetFormat(value.c_str()) : Writer->SetOption(key.c_str(), value.c_str());
        if (!Step(result))
            return false;
    }
    return true;
}

bool TCodecEncoderObject::Open()
{
    if (!Writer)
        return false;
    const std::pair<const char*, const std::string*> tags[] = { { "str_title", &Title }, { "str_author", &Author },
        { "str_copyright", &Copyright }, { "str_comment", &Comment }, { "rec_timestamp", &Year } };
    for (const auto& [name, value] : tags) {
        if (!Step(Writer->SetOption(name, value->c_str())))
            return false;
    }
    // A source without video: the configured video stream would stay empty, which some containers cannot read.
    if (DisableVideo && !Step(Writer->SetOption("disable_video", "1")))
        return false;
    if (Writer->Open() == kOk)
        return true;
    KeepReason();
    Writer->Close();
    return Refused();
}

bool TCodecEncoderObject::Close()
{
    if (!Writer)
        return true;
    // A file that could not be finished (a full disk while the index is written) is reported, not passed off
    // as complete.
    const bool finished = Writer->Close() == kOk || KeepReason();
    BraskelLibrary.ReleaseMediaWriter(Writer);
    Writer = nullptr;
    return finished;
}

bool TCodecEncoderObject::WriteVideo(const uint8_t* frame, double startTime, double /*endTime*/)
{
    try {
        return Writer && (Writer->WriteVideo(frame, startTime) == kOk || KeepReason());
    } catch (const Exception&) {
        return false;
    }
}

bool TCodecEncoderObject::WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double /*endTime*/)
{
    if (DisableAudio)
        return true;
    try {
        return Writer && (Writer->WriteAudio(samples, byteCount, startTime) == kOk || KeepReason());
    } catch (const Exception&) {
        return false;
    }
}

int64_t TCodecEncoderObject::GetOutputSize()
{
    return Writer ? Writer->GetOutputSize() : 0;
}

bool TAVIEncoderObject::Configure(const TAVIProfile& profile)
{
    const TVideoChoice video = Choose(kAVIVideo, profile.AVIVideoCodec);
    const TSizeRule rule = profile.AVIVideoCodec == 7 ? TSizeRule::Multiple16 : TSizeRule::Even;
    return Container("avi") && BitExact() && FixAspect()
        && Size(profile.Width, profile.Height, rule, profile.VideoBitrate, profile.FrameRate)
        && VideoCodec(video.Name, video.DivxTag)
        && RateControl(profile.UseVBR, profile.VideoBitrate, profile.VideoVBRMaxBitrate, profile.VideoVBRMinBitrate)
        && Audio(Choose(kAVIAudio, profile.AVIAudioCodec, "mp3"), profile.AudioFrequency, profile.AudioChannels,
            profile.AudioBitrate)
        && FreeOptions(profile);
}

bool TMPEGEncoderObject::Configure(const TMPEGProfile& profile)
{
    const bool mpeg1 = profile.MPEGVersion == 0;
    return Container(mpeg1 ? "mpeg" : "dvd") && VideoCodec(mpeg1 ? "mpeg1video" : "mpeg2video") && FixAspect()
        && Size(profile.Width, profile.Height, TSizeRule::Even, profile.VideoBitrate, profile.FrameRate)
        && RateControl(profile.UseVBR, profile.VideoBitrate, profile.VideoVBRMaxBitrate, profile.VideoVBRMinBitrate)
        && Audio(Choose(kMPEGAudio, profile.MPEGAudioType, "mp2"), profile.AudioFrequency, profile.AudioChannels,
            profile.AudioBitrate)
        && FreeOptions(profile);
}

bool T3GPEncoderObject::Configure(const T3GPProfile& profile)
{
    const TVideoChoice video = Choose(k3GPVideo, profile.VideoCodec);
    return Container(profile.Format3GP == 0 ? "3gp" : "3g2") && BitExact() && FixAspect()
        && Size(profile.Width, profile.Height, TSizeRule::None, profile.VideoBitrate, profile.FrameRate)
        && VideoCodec(video.Name) && Tolerance(profile.VideoBitrateTolerance)
        && Audio(Choose(k3GPAudio, profile.AudioCodec, "aac"), profile.AudioFrequency, profile.AudioChannels,
            profile.AudioBitrate)
        && FreeOptions(profile);
}

bool TMP4EncoderObject::Configure(const TMP4Profile& profile)
{
    const TVideoChoice video = Choose(kMP4Video, profile.MP4VideoCodec);
    const TSizeRule rule = profile.MP4VideoCodec == 3 ? TSizeRule::Multiple16 : TSizeRule::Even;
    return Container("mp4") && BitExact() && FixAspect()
        && Size(profile.Width, profile.Height, rule, profile.VideoBitrate, profile.FrameRate)
        && VideoCodec(video.Name, video.DivxTag)
        && RateControl(profile.UseVBR, profile.VideoBitrate, profile.VideoVBRMaxBitrate, profile.VideoVBRMinBitrate)
        && Audio("aac", profile.AudioFrequency, profile.AudioChannels, profile.AudioBitrate) && FreeOptions(profile);
}

bool TMOVEncoderObject::Configure(const TMOVProfile& profile)
{
    const TVideoChoice video = Choose(kMOVVideo, profile.MOVVideoCodec);
    const TSizeRule rule = profile.MOVVideoCodec == 3 ? TSizeRule::Multiple16 : TSizeRule::Even;
    return Container("mov") && BitExact() && FixAspect()
        && Size(profile.Width, profile.Height, rule, profile.VideoBitrate, profile.FrameRate)
        && VideoCodec(video.Name, video.DivxTag)
        && Audio("aac", profile.AudioFrequency, profile.AudioChannels, profile.AudioBitrate) && FreeOptions(profile);
}

bool TFLVEncoderObject::Configure(const TFLVProfile& profile)
{
    return Container("flv") && BitExact() && FixAspect()
        && Size(profile.Width, profile.Height, TSizeRule::Even, profile.VideoBitrate, profile.FrameRate)
        && VideoCodec("flv") && Audio("mp3", profile.AudioFrequency, profile.AudioChannels, profile.AudioBitrate)
        && FreeOptions(profile);
}
