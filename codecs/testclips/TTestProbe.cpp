#include "codecs/testclips/TTestProbe.h"

#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

bool Fail(std::string* error, const std::string& text, int code = 0)
{
    if (error)
        *error = code < 0 ? text + ": " + AvErrorText(code) : text;
    return false;
}

bool OpenInput(const std::string& path, TAvInputContextPtr& input, std::string* error)
{
    AVFormatContext* raw = nullptr;
    int code = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (code < 0)
        return Fail(error, "cannot open " + path, code);
    input.reset(raw);
    code = avformat_find_stream_info(raw, nullptr);
    if (code < 0)
        return Fail(error, "cannot read the streams of " + path, code);
    return true;
}

TAvCodecContextPtr OpenDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0
        || avcodec_open2(context.get(), codec, nullptr) < 0)
        return nullptr;
    return context;
}

// Sample `index` of `channel` in the decoded frame as a value in -1..1; 0 for formats the probe does not read.
double SampleValue(const AVFrame* frame, int index, int channel)
{
    const AVSampleFormat format = AVSampleFormat(frame->format);
    const bool planar = av_sample_fmt_is_planar(format);
    const uint8_t* data = frame->extended_data[planar ? channel : 0];
    const int slot = planar ? index : index * frame->ch_layout.nb_channels + channel;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const int16_t*>(data)[slot] / 32768.0;
    case AV_SAMPLE_FMT_S32:
        return reinterpret_cast<const int32_t*>(data)[slot] / 2147483648.0;
    case AV_SAMPLE_FMT_FLT:
        return reinterpret_cast<const float*>(data)[slot];
    case AV_SAMPLE_FMT_DBL:
        return reinterpret_cast<const double*>(data)[slot];
    default:
        return 0.0;
    }
}

// The number of the frame's first sample above a whisper, or -1.
int FirstSound(const AVFrame* frame)
{
    for (int i = 0; i < frame->nb_samples; ++i) {
        for (int channel = 0; channel < frame->ch_layout.nb_channels; ++channel) {
            if (std::abs(SampleValue(frame, i, channel)) > 0.05)
                return i;
        }
    }
    return -1;
}

} // namespace

const TProbedStream* TProbedFile::FirstVideo() const
{
    for (const TProbedStream& stream : Streams) {
        if (stream.Video)
            return &stream;
    }
    return nullptr;
}

const TProbedStream* TProbedFile::FirstAudio() const
{
    for (const TProbedStream& stream : Streams) {
        if (stream.Audio)
            return &stream;
    }
    return nullptr;
}

bool ProbeMediaFile(const std::string& path, TProbedFile& file, std::string* error)
{
    file = TProbedFile {};
    TAvInputContextPtr input;
    if (!OpenInput(path, input, error))
        return false;
    file.Container = input->iformat->name;
    if (input->duration > 0)
        file.Duration = double(input->duration) / AV_TIME_BASE;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = av_dict_get(input->metadata, "", entry, AV_DICT_IGNORE_SUFFIX))) {
        std::string key = entry->key;
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        file.Tags[key] = entry->value;
    }

    const unsigned count = input->nb_streams;
    std::vector<TAvCodecContextPtr> decoders(count);
    std::vector<double> coded(count, 0.0);
    std::vector<int64_t> samples(count, 0);
    for (unsigned i = 0; i < count; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        TProbedStream probed;
        probed.Video = parameters->codec_type == AVMEDIA_TYPE_VIDEO;
        probed.Audio = parameters->codec_type == AVMEDIA_TYPE_AUDIO;
        probed.Codec = avcodec_get_name(parameters->codec_id);
        probed.CodecTag = parameters->codec_tag;
        probed.Width = parameters->width;
        probed.Height = parameters->height;
        probed.AspectNum = parameters->sample_aspect_ratio.num;
        probed.AspectDen = parameters->sample_aspect_ratio.den;
        probed.FrameRate = stream->r_frame_rate.den ? av_q2d(stream->r_frame_rate) : 0.0;
        probed.SampleRate = parameters->sample_rate;
        probed.Channels = parameters->ch_layout.nb_channels;
        probed.BitRate = parameters->bit_rate;
        file.Streams.push_back(probed);
        if (parameters->codec_type == AVMEDIA_TYPE_AUDIO)
            decoders[i] = OpenDecoder(stream);
    }

    TAvPacketPtr packet(av_packet_alloc());
    TAvFramePtr frame(av_frame_alloc());
    const double fileStart = input->start_time != AV_NOPTS_VALUE ? double(input->start_time) / AV_TIME_BASE : 0.0;
    std::vector<bool> started(count, false);
    const auto drain = [&](unsigned index) {
        while (avcodec_receive_frame(decoders[index].get(), frame.get()) >= 0) {
            // Players play decoded samples back to back from the stream's start, whatever time stamps the
            // container gives each packet (RealMedia gives AAC none), so the sound is placed by counting them.
            TProbedStream& probed = file.Streams[index];
            const int sound = probed.SoundStart < 0.0 && frame->sample_rate > 0 ? FirstSound(frame.get()) : -1;
            if (sound >= 0)
                probed.SoundStart = probed.Start + double(samples[index] + sound) / frame->sample_rate;
            samples[index] += frame->nb_samples;
        }
    };
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        const unsigned index = unsigned(packet->stream_index);
        if (index < count) {
            const AVStream* stream = input->streams[index];
            TProbedStream& probed = file.Streams[index];
            ++probed.Packets;
            if (packet->pts != AV_NOPTS_VALUE) {
                const double start = double(packet->pts) * av_q2d(stream->time_base) - fileStart;
                probed.Start = started[index] ? std::min(probed.Start, start) : start;
                started[index] = true;
            }
            probed.KeyPackets += (packet->flags & AV_PKT_FLAG_KEY) != 0;
            double length = double(packet->duration) * av_q2d(stream->time_base);
            if (length <= 0.0 && probed.FrameRate > 0.0)
                length = 1.0 / probed.FrameRate;
            coded[index] += length;
            if (decoders[index] && avcodec_send_packet(decoders[index].get(), packet.get()) >= 0)
                drain(index);
        }
        av_packet_unref(packet.get());
    }
    for (unsigned i = 0; i < count; ++i) {
        if (decoders[i]) {
            avcodec_send_packet(decoders[i].get(), nullptr);
            drain(i);
            if (file.Streams[i].SampleRate > 0)
                file.Streams[i].Duration = double(samples[i]) / file.Streams[i].SampleRate;
        } else
            file.Streams[i].Duration = coded[i];
    }
    return true;
}

void QuietMediaLogs()
{
    av_log_set_level(AV_LOG_ERROR);
}

bool DecodeFirstPicture(const std::string& path, TProbedPicture& picture, std::string* error)
{
    picture = TProbedPicture {};
    TAvInputContextPtr input;
    if (!OpenInput(path, input, error))
        return false;
    const int index = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return Fail(error, "no video stream in " + path);
    TAvCodecContextPtr decoder = OpenDecoder(input->streams[index]);
    if (!decoder)
        return Fail(error, "cannot decode the video of " + path);
    TAvPacketPtr packet(av_packet_alloc());
    TAvFramePtr frame(av_frame_alloc());
    bool decoded = false;
    bool ended = false;
    while (!decoded) {
        if (!ended) {
            int code = av_read_frame(input.get(), packet.get());
            if (code < 0) {
                ended = true;
                avcodec_send_packet(decoder.get(), nullptr);
            } else {
                if (packet->stream_index == index)
                    avcodec_send_packet(decoder.get(), packet.get());
                av_packet_unref(packet.get());
            }
        }
        const int code = avcodec_receive_frame(decoder.get(), frame.get());
        if (code >= 0)
            decoded = true;
        else if (ended || (code != AVERROR(EAGAIN)))
            return Fail(error, "no picture in " + path, code);
    }
    picture.Width = frame->width;
    picture.Height = frame->height;
    const int chromaWidth = (frame->width + 1) / 2;
    const int chromaHeight = (frame->height + 1) / 2;
    picture.Planes.assign(size_t(frame->width) * frame->height + 2 * size_t(chromaWidth) * chromaHeight, 0);
    uint8_t* planes[4] = { picture.Planes.data(), picture.Planes.data() + size_t(frame->width) * frame->height,
        picture.Planes.data() + size_t(frame->width) * frame->height + size_t(chromaWidth) * chromaHeight, nullptr };
    int strides[4] = { frame->width, chromaWidth, chromaWidth, 0 };
    TAvSwsContextPtr scaler(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
        frame->height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr));
    if (!scaler)
        return Fail(error, "cannot convert the picture of " + path);
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return true;
}
