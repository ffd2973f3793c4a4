#include "codecs/tiberl/TTiberlEncoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

constexpr uint8_t kOk = 0;

// FFmpeg writes none of the RealAudio codecs of today, so the names stand for what the RealMedia muxer takes and
// FFmpeg encodes: AAC ("raac"), AC-3 ("dnet") and RealAudio 1.0 for voice at 8 kHz ("lpcJ"). MP3 would not mux.
// Music codecs first, from the lowest rate up: a caller that finds no codec of the name it wants takes the first.
constexpr TTiberlAudioCodec kAudioCodecs[] = {
    { "20 Kbps Music - RealAudio (music)", "aac", 22050, 1, 20000 },
    { "32 Kbps Music - RealAudio (music)", "aac", 32000, 1, 32000 },
    { "44 Kbps Music - RealAudio (music)", "aac", 44100, 1, 44000 },
    { "64 Kbps Stereo Music - RealAudio (music)", "aac", 44100, 2, 64000 },
    { "96 Kbps Stereo Music - RealAudio (music)", "aac", 44100, 2, 96000 },
    { "128 Kbps Stereo Music - RealAudio (music)", "aac", 44100, 2, 128000 },
    { "192 Kbps Stereo Music - Dolby Digital (music)", "ac3", 48000, 2, 192000 },
    { "8 Kbps Voice - RealAudio 1.0 (voice)", "real_144", 8000, 1, 8000 },
    { "384 Kbps 5.1 Multichannel - Dolby Digital", "ac3", 48000, 6, 384000 },
};
constexpr int32_t kDefaultAudioCodec = 2;
static_assert(std::string_view(kAudioCodecs[kDefaultAudioCodec].Name) == "44 Kbps Music - RealAudio (music)");

constexpr TTiberlAudience kAudiences[] = {
    { "56k Dial-up Modem", 26000, 0 },
    { "64k Single ISDN", 32000, 1 },
    { "128k Dual ISDN", 84000, 2 },
    { "256k DSL or Cable", 192000, 3 },
    { "512k DSL or Cable", 384000, 5 },
};

// RealVideo G2 is the best RealVideo FFmpeg writes; it codes sizes in multiples of 4.
constexpr const char* kVideoEncoder = "rv20";

constexpr double kMaxFrameRate = 1000.0;
// The largest kbit/s count whose bit/s still fits an int32.
constexpr int32_t kMaxKbps = INT32_MAX / 1000;
constexpr double kMaxSeconds = 3600.0;

// DCT-domain noise reduction of the encoder for the strong and light filter.
constexpr const char* kNoiseReduction[] = { "500", "200" };

std::string Number(int64_t value)
{
    return std::to_string(value);
}

RealManualSettings DefaultManualSettings()
{
    RealManualSettings settings {};
    settings.VideoCodec = 2;
    settings.NoiseFilter = 2;
    settings.AverageKbps = 120;
    settings.MaxKbps = 120;
    settings.TargetKbps = 120;
    settings.Quality = 90;
    settings.AudioCodec = kDefaultAudioCodec;
    settings.MaxStartupLatency = 4.0;
    settings.MaxKeyframeInterval = 10.0;
    settings.Flags[0] = 1;
    settings.Flags[1] = 1;
    return settings;
}

bool InRange(double value, double low, double high)
{
    return value >= low && value <= high; // False for NaN as well.
}

} // namespace

TTiberlEncoder::TTiberlEncoder()
    : TWriterRun("Tiberl")
{
    Settings.Manual = DefaultManualSettings();
}

int32_t TTiberlEncoder::AudioCodecCount()
{
    return int32_t(std::size(kAudioCodecs));
}

const TTiberlAudioCodec* TTiberlEncoder::AudioCodec(int32_t index)
{
    return index >= 0 && index < AudioCodecCount() ? &kAudioCodecs[index] : nullptr;
}

int32_t TTiberlEncoder::AudienceCount()
{
    return int32_t(std::size(kAudiences));
}

const TTiberlAudience* TTiberlEncoder::Audience(int32_t index)
{
    return index >= 0 && index < AudienceCount() ? &kAudiences[index] : nullptr;
}

bool TTiberlEncoder::SetManual(const RealManualSettings& settings)
{
    if (!InRange(settings.FrameRate, 0.0, kMaxFrameRate) || settings.AverageKbps <= 0 || settings.AverageKbps > kMaxKbps
        || settings.MaxKbps < 0 || settings.MaxKbps > kMaxKbps || !AudioCodec(settings.AudioCodec)
        || !InRange(settings.MaxStartupLatency, 0.0, kMaxSeconds)
        || !InRange(settings.MaxKeyframeInterval, 0.0, kMaxSeconds))
        return Fail("manual settings out of range");
    Settings.Manual = settings;
    return true;
}

bool TTiberlEncoder::Begin()
{
    const TTiberlSettings& s = Settings;
    if (Running())
        return Fail("a run is already in progress");
    if (s.DestinationPath.empty())
        return Fail("no destination file");
    if (!s.HasVideo && !s.HasAudio)
        return Fail("the input has neither video nor audio");

    // The audience gives the bit rate and audio codec in mode 0; the rest keeps the encoder's defaults.
    RealManualSettings manual = s.Manual;
    if (s.ParamsMode == 0) {
        const TTiberlAudience* audience = Audience(s.Audience);
        if (!audience)
            return Fail("no audience " + Number(s.Audience));
        manual = DefaultManualSettings();
        manual.AverageKbps = audience->VideoBitRate / 1000;
        manual.MaxKbps = manual.AverageKbps;
        manual.AudioCodec = audience->AudioCodec;
    }
    const double frameRate = manual.FrameRate > 0.0 ? manual.FrameRate : s.InputFPS;
    if (s.HasVideo && !InRange(frameRate, 0.001, kMaxFrameRate))
        return Fail("bad frame rate");
    const TTiberlAudioCodec* audio = s.HasAudio ? AudioCodec(manual.AudioCodec) : nullptr;
    if (s.HasAudio && !audio)
        return Fail("no audio codec " + Number(manual.AudioCodec));

    TWriter writer = NewWriter(s.DestinationPath);
    if (!writer)
        return Fail("out of memory");
    const auto refused = [&] { return Fail(writer->GetErrorText()); };
    const auto option
        = [&](const char* name, const std::string& value) { return writer->SetOption(name, value.c_str()) == kOk; };
    if (writer->SetFormat("rm") != kOk)
        return refused();
    // An input without video gives a file of audio alone.
    if (s.HasVideo ? !SetUpVideo(*writer, manual, frameRate) : !option("disable_video", "1"))
        return refused();
    if (audio
        && (writer->SetAudioCodec(audio->Encoder) != kOk
            || writer->SetAudioParams(
                   audio->SampleRate, audio->Channels, audio->BitRate, s.InputSampleRate, s.InputChannels)
                != kOk))
        return refused();
    if (!option("str_title", s.Title) || !option("str_author", s.Author) || !option("str_copyright", s.Copyright)
        || !option("str_comment", s.Comment))
        return refused();
    if (writer->Open() != kOk)
        return refused();
    StartRun(std::move(writer));
    return true;
}

bool TTiberlEncoder::SetUpVideo(MediaWriter& writer, const RealManualSettings& manual, double frameRate)
{
    const TTiberlSettings& s = Settings;
    const auto option
        = [&](const char* name, const std::string& value) { return writer.SetOption(name, value.c_str()) == kOk; };
    const int64_t bitRate = int64_t(manual.AverageKbps) * 1000;
    const int32_t width = std::max(4, s.InputWidth / 4 * 4);
    const int32_t height = std::max(4, s.InputHeight / 4 * 4);
    if (writer.SetVideoCodec(kVideoEncoder) != kOk
        || writer.SetVideoParams(width, height, int32_t(bitRate), frameRate, s.InputWidth, s.InputHeight,
               s.InputColorFormat, 0, 0, 0, 0, 0, 0, 0, 0)
            != kOk)
        return false;

    // Rate control: the peak is the maximum with VBR and the average without; the player's start-up buffer is
    // the window it keeps to.
    const int64_t peak = manual.UseVBR ? std::max<int64_t>(bitRate, int64_t(manual.MaxKbps) * 1000) : bitRate;
    const double window = manual.MaxStartupLatency > 0.0 ? manual.MaxStartupLatency : 1.0;
    const int64_t buffer = std::min<int64_t>(std::llround(peak * window), INT32_MAX);
    bool accepted = option("video_rc_max_rate", Number(peak)) && option("video_rc_buffer_size", Number(buffer));
    if (accepted && manual.MaxKeyframeInterval > 0.0)
        accepted = option("g", Number(std::max<int64_t>(1, std::llround(manual.MaxKeyframeInterval * frameRate))));
    if (accepted && manual.NoiseFilter >= 0 && manual.NoiseFilter < int32_t(std::size(kNoiseReduction)))
        accepted = option("noise_reduction", kNoiseReduction[manual.NoiseFilter]);
    return accepted;
}
