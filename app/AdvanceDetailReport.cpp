#include "app/AdvanceDetailReport.h"

#include "app/JobList.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "engine/TProfileManager.h"

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

// One report line from a printf format; numbers are printed in the C locale's style, as the program never
// changes LC_NUMERIC.
__attribute__((format(printf, 2, 3))) void AddLine(std::vector<std::string>& lines, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(length > 0 ? size_t(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);
    lines.push_back(std::move(line));
}

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

// The name of `code` in `names`; an empty name for a code outside the list.
template <size_t N> const char* CodeName(const char* const (&names)[N], int code)
{
    return code >= 0 && size_t(code) < N ? names[code] : "";
}

// Bit rates are stored in bit/s and shown in kbit/s.
int Kbps(int32_t bitsPerSecond) { return bitsPerSecond / 1000; }

// The source's size in whole MB. The size is a 64-bit count, so sources of 2 GB and more show their real size;
// a file that cannot be read counts as 0.
long long SourceSizeMB(const std::string& path)
{
    std::error_code error;
    const uintmax_t bytes = std::filesystem::file_size(path, error);
    return error ? 0 : (long long)(bytes / 1048576);
}


// "(Changed)" when the last profile of the same name in the manager differs from the job's copy.
const char* ChangedMark(const TVideoProfile& profile, const TProfileManager* manager)
{
    if (!manager)
        return "";
    const TVideoProfile* namesake = nullptr;
    for (int32_t i = 0; i < manager->Count(); ++i)
        if (manager->Get(i)->ProfileName == profile.ProfileName)
            namesake = manager->Get(i);
    return namesake && !namesake->Equals(profile) ? "(Changed)" : "";
}

// The lines every block shares.
void FrameRateLine(std::vector<std::string>& lines, double frameRate)
{
    AddLine(lines, " Output FrameRate      : %.2f fps", frameRate);
}

void VideoBitrateLines(std::vector<std::string>& lines, int32_t bitrate, bool useVBR, const int32_t* maxBitrate)
{
    AddLine(lines, " Output VideoBitrate   : %d kbps(%s)", Kbps(bitrate), useVBR ? "VBR" : "CBR");
    if (useVBR && maxBitrate)
        AddLine(lines, " Output MaxBitrate     : %d kbps", Kbps(*maxBitrate));
}

void AudioLines(std::vector<std::string>& lines, const char* codec, int32_t frequency, int32_t channels,
    int32_t bitrate)
{
    AddLine(lines, " Output AudioCodec     : %s ", codec);
    AddLine(lines, " Output Audio Frequency: %d Hz", frequency);
    AddLine(lines, " Output Audio Channels : %d", channels);
    AddLine(lines, " Output Audio Bitrate  : %d kbps", Kbps(bitrate));
}

void AudioFormatLine(std::vector<std::string>& lines, const std::string& name)
{
    AddLine(lines, " Output Audio Format   : %s", name.c_str());
}

void VideoCodecLine(std::vector<std::string>& lines, const char* codec)
{
    AddLine(lines, " Output VideoCodec     : %s", codec);
}

void Add3GPBlock(std::vector<std::string>& lines, const T3GPProfile& p)
{
    static const char* const kVideo[] = { "H.263", "MPEG4", "XVID" };
    static const char* const kAudio[] = { "AMR Narrow-Band", "AMR Wide-Band", "AAC" };
    AddLine(lines, " Output Format         : 3GP(%s)", p.Extension.c_str());
    AddLine(lines, " 3GP Format            : 3GPP - 3rd Generation Partnership Project%s",
        p.Format3GP == 0 ? "" : " 2");
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, CodeName(kVideo, p.VideoCodec));
    AddLine(lines, " Output VideoBitrate   : %d kbps", Kbps(p.VideoBitrate));
    AddLine(lines, " Output VideoBitrate Tolerance : %d kbps", Kbps(p.VideoBitrateTolerance));
    AudioLines(lines, CodeName(kAudio, p.AudioCodec), p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

void AddAVIBlock(std::vector<std::string>& lines, const TAVIProfile& p)
{
    static const char* const kVideo[] = { "MPEG4", "DIVX", "XVID", "MS-MPEG4 V1", "MS-MPEG4 V2", "MS-MPEG4 V3",
        "Motion JPEG", "H.264", "ZLIB", "RAW Video" };
    static const char* const kAudio[] = { "MP3", "PCM", "ADPCM", "A-LAW", "U-LAW", "AC3" };
    AddLine(lines, " Output Format         : AVI(%s)", p.Extension.c_str());
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, CodeName(kVideo, p.AVIVideoCodec));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, &p.VideoVBRMaxBitrate);
    AudioLines(lines, CodeName(kAudio, p.AVIAudioCodec), p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

void AddMPEGBlock(std::vector<std::string>& lines, const TMPEGProfile& p)
{
    static const char* const kVersion[] = { "MPEG 1", "MPEG 2" };
    static const char* const kAudio[] = { "MPEG-1 Audio Layer2", "AC3", "Linear PCM" };
    AddLine(lines, " Output Format         : MPEG(%s)", p.Extension.c_str());
    FrameRateLine(lines, p.FrameRate);
    AddLine(lines, " Output MPEG Version   : %s", CodeName(kVersion, p.MPEGVersion));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, &p.VideoVBRMaxBitrate);
    AudioLines(lines, CodeName(kAudio, p.MPEGAudioType), p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

void AddMP4Block(std::vector<std::string>& lines, const TMP4Profile& p)
{
    static const char* const kVideo[] = { "MPEG4", "DIVX", "XVID", "H.264(AVC)" };
    AddLine(lines, " Output Format         : MP4(%s)", p.Extension.c_str());
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, CodeName(kVideo, p.MP4VideoCodec));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, &p.VideoVBRMaxBitrate);
    AudioLines(lines, "AAC", p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

void AddWMVBlock(std::vector<std::string>& lines, const TWMVProfile& p)
{
    static const char* const kVersion[] = { "Window Media Video 7", "Window Media Video 8", "Window Media Video 9" };
    AddLine(lines, " Output Format         : WMV(%s)", p.Extension.c_str());
    if (p.UseSystemProfile) {
        AddLine(lines, " Use System Profile    : %s", p.SystemProfileName.c_str());
        return;
    }
    FrameRateLine(lines, p.FrameRate);
    AddLine(lines, " Output WMV Version    : %s", CodeName(kVersion, p.WMV_Version));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, nullptr);
    if (p.UseVBR)
        AddLine(lines, " Output Video Quality  : %d", p.VBRVideoQuality);
    AudioFormatLine(lines, p.AudioFormatName);
}

void AddRealBlock(std::vector<std::string>& lines, const TRealProfile& p)
{
    static const char* const kVideo[] = { "Real Video 8", "Real Video 9", "Real Video 10" };
    AddLine(lines, " Output Format         : Real Video(%s)", p.UseVBR ? ".rmvb" : ".rm");
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, CodeName(kVideo, p.RealVersion));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, &p.VideoVBRMaxBitrate);
    AddLine(lines, " Video Noise Reduction : %s", YesNo(p.VideoNoiseReduction));
    AudioFormatLine(lines, p.AudioFormatName);
}

void AddMOVBlock(std::vector<std::string>& lines, const TMOVProfile& p)
{
    static const char* const kVideo[] = { "MPEG4", "DIVX", "XVID", "H.264(AVC)", "Motion JPEG", "Sorenson 1" };
    AddLine(lines, " Output Format         : MOV(%s)", p.Extension.c_str());
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, CodeName(kVideo, p.MOVVideoCodec));
    VideoBitrateLines(lines, p.VideoBitrate, p.UseVBR, &p.VideoVBRMaxBitrate);
    AudioLines(lines, "AAC", p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

// Flash video has a single video codec and no video bit-rate line.
void AddFLVBlock(std::vector<std::string>& lines, const TFLVProfile& p)
{
    AddLine(lines, " Output Format         : FLV(%s)", p.Extension.c_str());
    FrameRateLine(lines, p.FrameRate);
    VideoCodecLine(lines, "Sorenson Spark");
    AudioLines(lines, "MP3", p.AudioFrequency, p.AudioChannels, p.AudioBitrate);
}

// The block of the profile's own format; nothing for a profile whose class does not match its format code.
void AddFormatBlock(std::vector<std::string>& lines, const TVideoProfile& profile)
{
    switch (profile.FormatType) {
    case vf3GP:
        if (auto* p = dynamic_cast<const T3GPProfile*>(&profile))
            Add3GPBlock(lines, *p);
        break;
    case vfAVI:
        if (auto* p = dynamic_cast<const TAVIProfile*>(&profile))
            AddAVIBlock(lines, *p);
        break;
    case vfMPEG:
        if (auto* p = dynamic_cast<const TMPEGProfile*>(&profile))
            AddMPEGBlock(lines, *p);
        break;
    case vfMP4:
        if (auto* p = dynamic_cast<const TMP4Profile*>(&profile))
            AddMP4Block(lines, *p);
        break;
    case vfWMV:
        if (auto* p = dynamic_cast<const TWMVProfile*>(&profile))
            AddWMVBlock(lines, *p);
        break;
    case vfReal:
        if (auto* p = dynamic_cast<const TRealProfile*>(&profile))
            AddRealBlock(lines, *p);
        break;
    case vfMOV:
        if (auto* p = dynamic_cast<const TMOVProfile*>(&profile))
            AddMOVBlock(lines, *p);
        break;
    case vfFLV:
        if (auto* p = dynamic_cast<const TFLVProfile*>(&profile))
            AddFLVBlock(lines, *p);
        break;
    }
}

// The output size: the profile's, or the source stream's when the profile keeps it (0), marked when it is the
// source's own.
void OutputSizeLine(std::vector<std::string>& lines, const char* label, int32_t profileSize, int32_t sourceSize,
    const char* originalMark)
{
    const bool original = profileSize == 0 || profileSize == sourceSize;
    AddLine(lines, " Output %-15s: %d pixels%s", label, profileSize == 0 ? sourceSize : profileSize,
        original ? originalMark : "");
}

} // namespace

std::string FormatAdvanceTime(uint32_t seconds)
{
    return FormatDuration(seconds);
}

std::vector<std::string> BuildDetailReport(
    const TConvertJob& job, const TProfileManager* manager, const TDetailReportEdits& edits)
{
    std::vector<std::string> lines;
    const TVideoInfoReader& info = job.VideoInfo;
    const bool hasVideo = info.HasVideo();
    const bool hasAudio = info.HasAudio();

    lines.push_back(" =======================   File Information     ============================== ");
    AddLine(lines, " Source File           : %s", info.GetFileName().c_str());
    AddLine(lines, " File Size             : %lld MB", SourceSizeMB(info.GetFileName()));
    AddLine(lines, " Duration              : %s", FormatAdvanceTime(WholeSeconds(info.GetDuration())).c_str());
    AddLine(lines, " Video Stream          : %s", YesNo(hasVideo));
    AddLine(lines, " Audio Stream          : %s", YesNo(hasAudio));

    const VideoStreamInfo& video = info.GetVideoStream(job.VideoStreamIndex);
    if (hasVideo) {
        lines.push_back(" =======================   Video Information    ============================== ");
        AddLine(lines, " Video Size            : %d x %d pixels", video.Width, video.Height);
        AddLine(lines, " Aspect Ratio          : %d : %d", video.AspectX, video.AspectY);
        AddLine(lines, " Video FrameRate       : %.3f fps", video.FrameRate);
    }
    if (hasAudio) {
        const AudioStreamInfo& audio = info.GetAudioStream(job.AudioStreamIndex);
        lines.push_back(" =======================   Audio Information    ============================== ");
        AddLine(lines, " Audio Sample Rate     : %d Hz", audio.SampleRate);
        AddLine(lines, " Audio Sample Channels : %d", audio.Channels);
    }

    lines.push_back(" =======================   Output Information   ============================== ");
    AddLine(lines, " Output File           : %s", edits.OutputFile.c_str());
    AddLine(lines, " Fix Aspect Ratio      : %s", YesNo(job.FixAspectRatio));
    AddLine(lines, " Disable Audio         : %s", YesNo(job.DisableAudio));

    lines.push_back(" =======================    Encoder Settings    ============================== ");
    if (const TVideoProfile* profile = job.GetProfile()) {
        AddLine(lines, " Profile Name          : %s%s", profile->ProfileName.c_str(), ChangedMark(*profile, manager));
        const int32_t sourceWidth = hasVideo ? video.Width : 0;
        const int32_t sourceHeight = hasVideo ? video.Height : 0;
        OutputSizeLine(lines, "Width", profile->Width, sourceWidth, "(Original Width)");
        OutputSizeLine(lines, "Height", profile->Height, sourceHeight, "(Original Height)");
        AddFormatBlock(lines, *profile);
    }

    lines.push_back(" ======================= Additional Information ============================== ");
    AddLine(lines, " Crop Left             : %d pixels", edits.CropLeft);
    AddLine(lines, " Crop Right            : %d pixels", edits.CropRight);
    AddLine(lines, " Crop Top              : %d pixels", edits.CropTop);
    AddLine(lines, " Crop Bottom           : %d pixels", edits.CropBottom);
    AddLine(lines, " Title                 : %s", job.Title.c_str());
    AddLine(lines, " Author                : %s", job.Author.c_str());
    AddLine(lines, " Copyright             : %s", job.Copyright.c_str());
    AddLine(lines, " Comment               : %s", job.Comment.c_str());
    AddLine(lines, " Year                  : %s", job.Year.c_str());
    return lines;
}
