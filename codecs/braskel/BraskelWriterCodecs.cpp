#include "codecs/braskel/BraskelWriterCodecs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace BraskelWriterCodecs {

namespace {

    struct TEncoderChoice {
        std::string_view Name;
        // FFmpeg encoders in order of preference; the first one this FFmpeg has is taken.
        std::initializer_list<const char*> Encoders;
    };

    // No MS-MPEG-4 v1 encoder exists in FFmpeg; v2 is its nearest relative.
    const TEncoderChoice kVideoChoices[] = {
        { "mpeg4", { "mpeg4" } },
        { "xvid", { "libxvid", "mpeg4" } },
        { "h263", { "h263" } },
        { "msmpeg4v1", { "msmpeg4v2", "msmpeg4" } },
        { "msmpeg4v2", { "msmpeg4v2" } },
        { "msmpeg4", { "msmpeg4" } },
        { "mjpeg", { "mjpeg" } },
        { "h264", { "libx264", "mpeg4" } },
        { "zlib", { "zlib" } },
        { "rawvideo", { "rawvideo" } },
        { "svq1", { "svq1" } },
        { "mpeg1video", { "mpeg1video" } },
        { "mpeg2video", { "mpeg2video" } },
        { "flv", { "flv" } },
    };

    // FFmpeg's own Vorbis encoder is experimental; AAC stands in when libvorbis is missing.
    const TEncoderChoice kAudioChoices[] = {
        { "mp3", { "libmp3lame", "mp2" } },
        { "pcm_s16le", { "pcm_s16le" } },
        { "adpcm_ms", { "adpcm_ms" } },
        { "pcm_alaw", { "pcm_alaw" } },
        { "pcm_mulaw", { "pcm_mulaw" } },
        { "ac3", { "ac3" } },
        { "mp2", { "mp2" } },
        { "vorbis", { "libvorbis", "aac" } },
        { "aac", { "aac" } },
        { "amr_nb", { "libopencore_amrnb", "aac" } },
        { "amr_wb", { "libvo_amrwbenc", "aac" } },
    };

    const AVCodec* FindEncoder(std::string_view name, const TEncoderChoice* choices, size_t count, AVMediaType type)
    {
        for (size_t i = 0; i < count; ++i) {
            if (choices[i].Name != name)
                continue;
            for (const char* encoder : choices[i].Encoders) {
                if (const AVCodec* codec = avcodec_find_encoder_by_name(encoder))
                    return codec;
            }
            return nullptr;
        }
        const AVCodec* codec = avcodec_find_encoder_by_name(std::string(name).c_str());
        return codec && codec->type == type ? codec : nullptr;
    }

    // The rates MPEG-1 video can signal, and the NTSC rates people write short.
    const AVRational kMpeg1Rates[]
        = { { 24000, 1001 }, { 24, 1 }, { 25, 1 }, { 30000, 1001 }, { 30, 1 }, { 50, 1 }, { 60000, 1001 }, { 60, 1 } };
    const int kNtscRates[] = { 24, 30, 48, 60, 120 };

    bool IsOneOf(const AVCodec* codec, std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            if (std::string_view(codec->name) == name)
                return true;
        }
        return false;
    }

    int Nearest(int value, std::initializer_list<int> choices)
    {
        int best = *choices.begin();
        for (int choice : choices) {
            // Ties go to the higher value: rather a little more quality than less.
            if (std::abs(choice - value) < std::abs(best - value)
                || (std::abs(choice - value) == std::abs(best - value) && choice > best))
                best = choice;
        }
        return best;
    }

} // namespace

const AVCodec* FindVideoEncoder(std::string_view name)
{
    return FindEncoder(name, kVideoChoices, std::size(kVideoChoices), AVMEDIA_TYPE_VIDEO);
}

const AVCodec* FindAudioEncoder(std::string_view name)
{
    return FindEncoder(name, kAudioChoices, std::size(kAudioChoices), AVMEDIA_TYPE_AUDIO);
}

const AVCodec* AudioEncoderForContainer(const AVCodec* encoder, const AVOutputFormat* format)
{
    const std::string_view muxer = format->name;
    const bool programStream = muxer == "mpeg" || muxer == "vob" || muxer == "dvd" || muxer == "svcd" || muxer == "vcd";
    if (programStream && encoder->id == AV_CODEC_ID_PCM_S16LE) {
        // DVD LPCM first: the muxers buffer plain big-endian PCM badly.
        for (const AVCodecID lpcm : { AV_CODEC_ID_PCM_DVD, AV_CODEC_ID_PCM_S16BE }) {
            if (const AVCodec* codec = avcodec_find_encoder(lpcm))
                return codec;
        }
    }
    return encoder;
}

AVRational VideoFrameRate(const AVCodec* encoder, double frameRate)
{
    AVRational rate = av_d2q(frameRate, 65535);
    for (int ntsc : kNtscRates) {
        if (std::fabs(frameRate - ntsc * 1000.0 / 1001.0) < 0.01)
            rate = AVRational { ntsc * 1000, 1001 };
    }
    // MPEG-1's own list also holds rates its encoder refuses unless told to break the standard (15, 12.5 ...).
    if (encoder->id == AV_CODEC_ID_MPEG1VIDEO) {
        // The list ends with a zero entry, as FFmpeg's own lists do.
        AVRational list[std::size(kMpeg1Rates) + 1] = {};
        std::copy(std::begin(kMpeg1Rates), std::end(kMpeg1Rates), list);
        return list[av_find_nearest_q_idx(rate, list)];
    }
    if (encoder->supported_framerates)
        return encoder->supported_framerates[av_find_nearest_q_idx(rate, encoder->supported_framerates)];
    return rate;
}

void SnapVideoSize(const AVCodec* encoder, int& width, int& height)
{
    if (encoder->id == AV_CODEC_ID_H263) {
        struct TSize {
            int Width;
            int Height;
        };
        static const TSize kSizes[] = { { 128, 96 }, { 176, 144 }, { 352, 288 }, { 704, 576 }, { 1408, 1152 } };
        // The nearest by area on a log scale: 320x240 goes to 352x288, 160x120 to 176x144.
        const double area = std::log(double(width) * height);
        const TSize* best = &kSizes[0];
        for (const TSize& size : kSizes) {
            if (std::fabs(std::log(double(size.Width) * size.Height) - area)
                < std::fabs(std::log(double(best->Width) * best->Height) - area))
                best = &size;
        }
        width = best->Width;
        height = best->Height;
        return;
    }
    if (IsOneOf(encoder, { "libx264", "libxvid", "wmv1", "wmv2" })) {
        width = std::max(2, width / 2 * 2);
        height = std::max(2, height / 2 * 2);
    }
}

bool KeepsMinimumRate(const AVCodec* encoder)
{
    return IsOneOf(encoder, { "mpeg1video", "mpeg2video", "mpeg4", "libx264" });
}

int VideoPixelFormat(const AVCodec* encoder)
{
    return encoder->pix_fmts ? encoder->pix_fmts[0] : AV_PIX_FMT_YUV420P;
}

int SnapSampleRate(const AVCodec* encoder, const AVOutputFormat* format, int rate)
{
    // The AMR encoders take one rate each but do not list it.
    if (encoder->id == AV_CODEC_ID_AMR_NB)
        return 8000;
    if (encoder->id == AV_CODEC_ID_AMR_WB)
        return 16000;
    if (encoder->supported_samplerates) {
        int best = encoder->supported_samplerates[0];
        for (const int* candidate = encoder->supported_samplerates; *candidate; ++candidate) {
            if (std::abs(*candidate - rate) < std::abs(best - rate)
                || (std::abs(*candidate - rate) == std::abs(best - rate) && *candidate > best))
                best = *candidate;
        }
        rate = best;
    }
    const std::string_view muxer = format->name;
    // FLV's header can only say 5.5, 11, 22 or 44 kHz; AAC is exempt (it carries its own rate).
    if (muxer == "flv" && encoder->id != AV_CODEC_ID_AAC)
        return Nearest(rate, { 11025, 22050, 44100 });
    // The program stream's LPCM header knows four rates.
    if (encoder->id == AV_CODEC_ID_PCM_S16BE
        && (muxer == "mpeg" || muxer == "vob" || muxer == "dvd" || muxer == "svcd" || muxer == "vcd"))
        return Nearest(rate, { 32000, 44100, 48000, 96000 });
    return rate;
}

void ChooseChannelLayout(const AVCodec* encoder, int channels, AVChannelLayout* layout)
{
    av_channel_layout_uninit(layout);
    // AMR is mono only, without saying so in a list.
    if (encoder->id == AV_CODEC_ID_AMR_NB || encoder->id == AV_CODEC_ID_AMR_WB)
        channels = 1;
    if (!encoder->ch_layouts) {
        av_channel_layout_default(layout, channels);
        return;
    }
    const AVChannelLayout* best = nullptr;
    for (const AVChannelLayout* candidate = encoder->ch_layouts; candidate->nb_channels; ++candidate) {
        if (!best || std::abs(candidate->nb_channels - channels) < std::abs(best->nb_channels - channels))
            best = candidate;
    }
    // The encoder's own layout for the count, so its channel order is one it knows.
    av_channel_layout_copy(layout, best);
}

int64_t SnapAudioBitRate(const AVCodec* encoder, int rate, int64_t bitRate)
{
    if (bitRate <= 0 || encoder->id != AV_CODEC_ID_MP2)
        return bitRate;
    // Layer II bit rates in kbit/s: MPEG-1 at 32 kHz and above, MPEG-2's half rates below.
    const int kbits = int(std::min<int64_t>(bitRate / 1000, 100000));
    if (rate >= 32000)
        return 1000 * int64_t(Nearest(kbits, { 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 }));
    return 1000 * int64_t(Nearest(kbits, { 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 }));
}

bool ContainerTakesTag(const AVOutputFormat* format, int codecId, uint32_t tag)
{
    return format->codec_tag && av_codec_get_id(format->codec_tag, tag) == AVCodecID(codecId);
}

} // namespace BraskelWriterCodecs
