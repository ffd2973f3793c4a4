#include "codecs/braskel/TBraskelMediaWriter.h"

#include "codecs/avcore/TAvColorCode.h"
#include "codecs/braskel/BraskelWriterCodecs.h"
#include "codecs/braskel/TBraskelWriterState.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/parseutils.h>
}

using namespace BraskelWriterCodecs;

namespace {

constexpr uint8_t kOk = 0;
constexpr uint8_t kFailed = 1;

// The largest sample rate and channel count the writer takes: well beyond any encoder we offer.
constexpr int32_t kMaxSampleRate = 768000;
constexpr int32_t kMaxChannels = 8;
constexpr double kMaxFrameRate = 1000.0;

// A whole decimal number without sign, blanks or anything after it, as the rate options are sent.
bool ParseCount(const char* text, int64_t& value)
{
    if (!text || *text < '0' || *text > '9')
        return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != 0)
        return false;
    value = parsed;
    return true;
}

bool ParseSwitch(const char* text, bool& value)
{
    if (std::strcmp(text, "1") == 0 || std::strcmp(text, "0") == 0) {
        value = text[0] == '1';
        return true;
    }
    return false;
}

} // namespace

TBraskelMediaWriter::TBraskelMediaWriter(std::string path)
    : FPath(std::move(path))
{
}

TBraskelMediaWriter::~TBraskelMediaWriter()
{
    Close();
}

uint8_t TBraskelMediaWriter::Fail(std::string text)
{
    FError = std::move(text);
    return kFailed;
}

bool TBraskelMediaWriter::Failed(std::string text)
{
    FError = std::move(text);
    return false;
}

uint8_t TBraskelMediaWriter::SetVideoCodec(const char* name)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (!name || !FindVideoEncoder(name))
        return Fail(std::string("no video encoder for \"") + (name ? name : "") + "\"");
    FSettings.VideoCodec = name;
    return kOk;
}

uint8_t TBraskelMediaWriter::SetAudioCodec(const char* name)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (!name || !FindAudioEncoder(name))
        return Fail(std::string("no audio encoder for \"") + (name ? name : "") + "\"");
    FSettings.AudioCodec = name;
    return kOk;
}

uint8_t TBraskelMediaWriter::SetFormat(const char* name)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (!name || !*name || !av_guess_format(name, nullptr, nullptr))
        return Fail(std::string("no container \"") + (name ? name : "") + "\"");
    FSettings.Format = name;
    return kOk;
}

uint8_t TBraskelMediaWriter::SetAudioParams(
    int32_t outputRate, int32_t outputChannels, int32_t bitRate, int32_t sourceRate, int32_t sourceChannels)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (outputRate < 1 || outputRate > kMaxSampleRate || sourceRate < 1 || sourceRate > kMaxSampleRate)
        return Fail("bad audio sample rate");
    if (outputChannels < 1 || outputChannels > kMaxChannels || sourceChannels < 1 || sourceChannels > kMaxChannels)
        return Fail("bad audio channel count");
    if (bitRate < 0)
        return Fail("bad audio bit rate");
    FSettings.HasAudioParams = true;
    FSettings.OutputRate = outputRate;
    FSettings.OutputChannels = outputChannels;
    FSettings.AudioBitRate = bitRate;
    FSettings.SourceRate = sourceRate;
    FSettings.SourceChannels = sourceChannels;
    return kOk;
}

uint8_t TBraskelMediaWriter::SetVideoParams(int32_t outputWidth, int32_t outputHeight, int32_t bitRate,
    double frameRate, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat, int32_t cropLeft,
    int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t /*extra1*/, int32_t /*extra2*/, int32_t /*extra3*/,
    int32_t /*extra4*/)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (outputWidth < 1 || outputHeight < 1 || outputWidth > kAvMaxFrameSide || outputHeight > kAvMaxFrameSide)
        return Fail("bad output frame size " + std::to_string(outputWidth) + "x" + std::to_string(outputHeight));
    if (!IsAvColorCode(colorFormat))
        return Fail("unknown colour format " + std::to_string(colorFormat));
    if (AvColorFrameSize(TAvColorCode(colorFormat), sourceWidth, sourceHeight) < 0)
        return Fail("bad source frame size " + std::to_string(sourceWidth) + "x" + std::to_string(sourceHeight));
    if (!(frameRate > 0.0 && frameRate <= kMaxFrameRate))
        return Fail("bad frame rate");
    if (bitRate < 0)
        return Fail("bad video bit rate");
    if (cropLeft < 0 || cropRight < 0 || cropTop < 0 || cropBottom < 0 || int64_t(cropLeft) + cropRight >= sourceWidth
        || int64_t(cropTop) + cropBottom >= sourceHeight)
        return Fail("the crop leaves no picture");
    FSettings.HasVideoParams = true;
    FSettings.OutputWidth = outputWidth;
    FSettings.OutputHeight = outputHeight;
    FSettings.VideoBitRate = bitRate;
    FSettings.FrameRate = frameRate;
    FSettings.SourceWidth = sourceWidth;
    FSettings.SourceHeight = sourceHeight;
    FSettings.ColorFormat = colorFormat;
    FSettings.CropLeft = cropLeft;
    FSettings.CropRight = cropRight;
    FSettings.CropTop = cropTop;
    FSettings.CropBottom = cropBottom;
    return kOk;
}

uint8_t TBraskelMediaWriter::Unused5()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::Unused6()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::Unused7()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::Unused8()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::Unused9()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::Unused10()
{
    return kFailed;
}

uint8_t TBraskelMediaWriter::SetOption(const char* name, const char* value)
{
    if (FOpen)
        return Fail("the writer is already open");
    if (!name || !*name)
        return Fail("an option without a name");
    const std::string key = name;
    const char* text = value ? value : "";
    TBraskelWriterSettings& settings = FSettings;
    const auto bad = [&] { return Fail("bad value \"" + std::string(text) + "\" of option " + key); };

    if (key == "str_title")
        settings.Title = text;
    else if (key == "str_author")
        settings.Author = text;
    else if (key == "str_copyright")
        settings.Copyright = text;
    else if (key == "str_comment")
        settings.Comment = text;
    else if (key == "rec_timestamp")
        settings.Date = text;
    else if (key == "bitexact") {
        if (!ParseSwitch(text, settings.BitExact))
            return bad();
    } else if (key == "fix_aspect_ratio") {
        if (!ParseSwitch(text, settings.FixAspectRatio))
            return bad();
    } else if (key == "disable_video") {
        if (!ParseSwitch(text, settings.DisableVideo))
            return bad();
    } else if (key == "frame_aspect_ratio") {
        // "16:9", "4/3" or "1.7778"; empty leaves the aspect to the pixels.
        AVRational aspect { 0, 1 };
        if (*text && (av_parse_ratio(&aspect, text, 10000, 0, nullptr) < 0 || aspect.num <= 0 || aspect.den <= 0))
            return bad();
        settings.FrameAspectNum = aspect.num;
        settings.FrameAspectDen = aspect.den;
    } else if (key == "video_rc_max_rate" || key == "video_rc_min_rate" || key == "video_rc_buffer_size"
        || key == "video_bit_rate_tolerance") {
        int64_t number = 0;
        if (!ParseCount(text, number) || number > INT32_MAX)
            return bad();
        int64_t& slot = key == "video_rc_max_rate" ? settings.RcMaxRate
            : key == "video_rc_min_rate"           ? settings.RcMinRate
            : key == "video_rc_buffer_size"        ? settings.RcBufferSize
                                                   : settings.BitRateTolerance;
        slot = number;
    } else if (key == "vcodecTag") {
        // A four-character code such as "DIVX"; empty leaves the container's own tag.
        const size_t length = std::strlen(text);
        if (length != 0 && length != 4)
            return bad();
        settings.VideoCodecTag = length ? MKTAG(text[0], text[1], text[2], text[3]) : 0;
    } else
        settings.FreeOptions.emplace_back(key, text);
    return kOk;
}

int64_t TBraskelMediaWriter::GetOutputSize()
{
    if (FOpen && FState->Output && FState->Output->pb)
        return avio_tell(FState->Output->pb);
    return FWrittenSize;
}
