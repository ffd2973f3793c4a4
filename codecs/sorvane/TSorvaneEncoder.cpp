#include "codecs/sorvane/TSorvaneEncoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

// FFmpeg's factor from an H.263 quantiser to its lambda (FF_QP2LAMBDA); the library reaches FFmpeg only through
// the codec library, so it keeps the value rather than FFmpeg's headers.
constexpr int32_t kQuantiserToLambda = 118;

constexpr uint8_t kOk = 0;

// One codec: the WMA2 bitstream that FFmpeg writes is what the version 9 codec produces for these formats.
// The formats are those its encoder accepts: 24 kbit/s and more, at 22.05, 32, 44.1 or 48 kHz.
constexpr const char* kAudioCodecs[] = { "Windows Media Audio 9.2" };
constexpr const char* kAudioEncoder = "wmav2";

constexpr TSorvaneAudioFormat kAudioFormats[] = {
    { "192 kbps, 48 kHz, stereo CBR", 48000, 2, 192000 },
    { "160 kbps, 48 kHz, stereo CBR", 48000, 2, 160000 },
    { "128 kbps, 48 kHz, stereo CBR", 48000, 2, 128000 },
    { "192 kbps, 44 kHz, stereo CBR", 44100, 2, 192000 },
    { "160 kbps, 44 kHz, stereo CBR", 44100, 2, 160000 },
    { "128 kbps, 44 kHz, stereo CBR", 44100, 2, 128000 },
    { "96 kbps, 44 kHz, stereo CBR", 44100, 2, 96000 },
    { "80 kbps, 44 kHz, stereo CBR", 44100, 2, 80000 },
    { "64 kbps, 44 kHz, stereo CBR", 44100, 2, 64000 },
    { "48 kbps, 44 kHz, stereo CBR", 44100, 2, 48000 },
    { "48 kbps, 32 kHz, stereo CBR", 32000, 2, 48000 },
    { "40 kbps, 32 kHz, stereo CBR", 32000, 2, 40000 },
    { "32 kbps, 44 kHz, stereo CBR", 44100, 2, 32000 },
    { "32 kbps, 32 kHz, stereo CBR", 32000, 2, 32000 },
    { "32 kbps, 22 kHz, mono CBR", 22050, 1, 32000 },
    { "24 kbps, 22 kHz, mono CBR", 22050, 1, 24000 },
};

// Version 8 first: a caller that finds no codec of the version it wants takes the first one, and version 8 is
// the better of the two. FFmpeg has no encoder for version 9.
struct TVideoCodec {
    const char* Name;
    const char* Encoder;
};
constexpr TVideoCodec kVideoCodecs[] = {
    { "Windows Media Video 8", "wmv2" },
    { "Windows Media Video 7", "wmv1" },
};

constexpr TSorvaneSystemProfile kSystemProfiles[] = {
    { "Video for dial-up modems (56 Kbps)", 176, 144, 15.0, 24000, 0, "24 kbps, 22 kHz, mono CBR" },
    { "Video for broadband (256 Kbps)", 320, 240, 15.0, 192000, 0, "64 kbps, 44 kHz, stereo CBR" },
    { "Video for broadband (768 Kbps)", 320, 240, 25.0, 672000, 0, "96 kbps, 44 kHz, stereo CBR" },
    { "Video for local area network (1.5 Mbps)", 640, 480, 30.0, 1372000, 0, "128 kbps, 44 kHz, stereo CBR" },
};

// The highest sensible rate of a frame to code; anything above it is a caller's mistake.
constexpr double kMaxFrameRate = 1000.0;

int32_t FindAudioFormat(const char* name)
{
    for (size_t i = 0; i < std::size(kAudioFormats); ++i) {
        if (std::strcmp(kAudioFormats[i].Name, name) == 0)
            return int32_t(i);
    }
    return -1;
}

// The quantiser of constant-quality coding: quality 100 gives the finest (2), 0 the coarsest (31).
int QualityToQuantiser(int32_t quality)
{
    const int clamped = std::clamp(quality, 0, 100);
    return 31 - (clamped * 29 + 50) / 100;
}

std::string Number(int64_t value)
{
    return std::to_string(value);
}

} // namespace

TSorvaneEncoder::TSorvaneEncoder()
    : TWriterRun("Sorvane")
{
    Settings.AudioFormat = FindAudioFormat("64 kbps, 44 kHz, stereo CBR");
}

int32_t TSorvaneEncoder::AudioCodecCount()
{
    return int32_t(std::size(kAudioCodecs));
}

const char* TSorvaneEncoder::AudioCodecName(int32_t codec)
{
    return codec >= 0 && codec < AudioCodecCount() ? kAudioCodecs[codec] : nullptr;
}

int32_t TSorvaneEncoder::AudioFormatCount(int32_t codec)
{
    return AudioCodecName(codec) ? int32_t(std::size(kAudioFormats)) : 0;
}

const TSorvaneAudioFormat* TSorvaneEncoder::AudioFormat(int32_t codec, int32_t format)
{
    return format >= 0 && format < AudioFormatCount(codec) ? &kAudioFormats[format] : nullptr;
}

int32_t TSorvaneEncoder::VideoCodecCount()
{
    return int32_t(std::size(kVideoCodecs));
}

const char* TSorvaneEncoder::VideoCodecName(int32_t codec)
{
    return codec >= 0 && codec < VideoCodecCount() ? kVideoCodecs[codec].Name : nullptr;
}

int32_t TSorvaneEncoder::SystemProfileCount()
{
    return int32_t(std::size(kSystemProfiles));
}

const TSorvaneSystemProfile* TSorvaneEncoder::SystemProfile(int32_t index)
{
    return index >= 0 && index < SystemProfileCount() ? &kSystemProfiles[index] : nullptr;
}

bool TSorvaneEncoder::Begin()
{
    const TSorvaneSettings& s = Settings;
    if (Running())
        return Fail("a run is already in progress");
    if (s.DestinationPath.empty())
        return Fail("no destination file");
    if (!s.HasVideo && !s.HasAudio)
        return Fail("the input has neither video nor audio");
    if (s.VideoUncompressed || s.AudioUncompressed)
        return Fail("uncompressed output is not supported");

    // A system profile brings its own size, rates and codecs; the input stays as described.
    const TSorvaneSystemProfile* system = nullptr;
    if (s.UseSystemProfile) {
        system = SystemProfile(s.SystemProfile);
        if (!system)
            return Fail("no system profile " + Number(s.SystemProfile));
    }
    const int32_t width = system ? system->Width : s.VideoWidth > 0 ? s.VideoWidth : s.InputWidth;
    const int32_t height = system ? system->Height : s.VideoHeight > 0 ? s.VideoHeight : s.InputHeight;
    const double frameRate = system ? system->FrameRate : s.VideoFPS > 0.0 ? s.VideoFPS : s.InputFPS;
    const int32_t videoCodec = system ? system->VideoCodec : s.VideoCodec;
    const int32_t bitRate = system ? system->VideoBitRate : s.VideoBitrate;
    // Constant quality needs no bit rate; a system profile always has one.
    const bool quality = s.UseVBR && s.VBRMode == 1 && !system;
    if (s.HasVideo && (videoCodec < 0 || videoCodec >= VideoCodecCount()))
        return Fail("no video codec " + Number(videoCodec));
    if (s.HasVideo && !(frameRate > 0.0 && frameRate <= kMaxFrameRate))
        return Fail("bad frame rate");
    if (s.HasVideo && bitRate <= 0 && !quality)
        return Fail("bad video bit rate");
    const TSorvaneAudioFormat* format = nullptr;
    if (s.HasAudio) {
        format
            = system ? AudioFormat(0, FindAudioFormat(system->AudioFormat)) : AudioFormat(s.AudioCodec, s.AudioFormat);
        if (!format)
            return Fail("no audio format " + Number(s.AudioFormat) + " of codec " + Number(s.AudioCodec));
    }

    TWriter writer = NewWriter(s.DestinationPath);
    if (!writer)
        return Fail("out of memory");
    const auto refused = [&] { return Fail(writer->GetErrorText()); };
    const auto option
        = [&](const char* name, const std::string& value) { return writer->SetOption(name, value.c_str()) == kOk; };
    if (writer->SetFormat("asf") != kOk)
        return refused();
    // An input without video gives a file of audio alone, as Windows Media Audio files are.
    if (!s.HasVideo) {
        if (!option("disable_video", "1"))
            return refused();
    } else {
        // The WMV encoders take even sizes only; an odd side loses its last pixel, as the callers' own rule does.
        const int32_t evenWidth = std::max(2, width / 2 * 2);
        const int32_t evenHeight = std::max(2, height / 2 * 2);
        if (writer->SetVideoCodec(kVideoCodecs[videoCodec].Encoder) != kOk
            || writer->SetVideoParams(evenWidth, evenHeight, quality ? 0 : bitRate, frameRate, s.InputWidth,
                   s.InputHeight, s.InputColorFormat, 0, 0, 0, 0, 0, 0, 0, 0)
                != kOk)
            return refused();
    }

    // Rate control, as the options of the writer. Buffer windows are milliseconds of the bit rate.
    const auto window = [](int64_t bits, int32_t milliseconds) {
        return std::min<int64_t>(bits * std::max(milliseconds, 0) / 1000, INT32_MAX);
    };
    bool accepted = true;
    if (!s.HasVideo) {
        // Nothing to control.
    } else if (quality) {
        accepted = option("flags", "+qscale")
            && option("global_quality", Number(QualityToQuantiser(s.VBRQuality) * kQuantiserToLambda));
    } else if (s.UseVBR && !system) {
        if (s.VBRMaxBitrate > 0)
            accepted = option("video_rc_max_rate", Number(s.VBRMaxBitrate))
                && (s.VBRMaxBuffer <= 0
                    || option("video_rc_buffer_size", Number(window(s.VBRMaxBitrate, s.VBRMaxBuffer))));
    } else {
        const int64_t buffer = window(bitRate, s.VideoBufferWindow);
        accepted = option("video_rc_max_rate", Number(bitRate))
            && (buffer <= 0 || option("video_rc_buffer_size", Number(buffer)));
    }
    if (accepted && s.HasVideo && s.SecsKeyframe > 0)
        accepted = option("g", Number(std::max<int64_t>(1, std::llround(std::min(s.SecsKeyframe * frameRate, 1e6)))));
    if (!accepted)
        return refused();

    if (format
        && (writer->SetAudioCodec(kAudioEncoder) != kOk
            || writer->SetAudioParams(
                   format->SampleRate, format->Channels, format->BitRate, s.InputSampleRate, s.InputChannels)
                != kOk))
        return refused();
    if (!option("str_title", s.Title) || !option("str_author", s.Author) || !option("str_copyright", s.Copyright)
        || !option("str_comment", s.Description))
        return refused();
    if (writer->Open() != kOk)
        return refused();
    StartRun(std::move(writer));
    return true;
}
