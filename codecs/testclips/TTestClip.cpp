#include "codecs/testclips/TTestClip.h"

#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"
#include "codecs/testclips/TestPicture.h"

#include <algorithm>
#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
#include <libavutil/opt.h>
}

#include <vector>

namespace {

struct TVideoOut {
    TTestVideoStream Spec;
    AVStream* Stream = nullptr;
    TAvCodecContextPtr Codec;
    TAvFramePtr Frame;
    int64_t Next = 0;
    int64_t Count = 0;
    bool Resized = false;

    double NextTime() const { return double(Next) * Spec.FrameRateDen / Spec.FrameRateNum; }
};

struct TAudioOut {
    TTestAudioStream Spec;
    AVStream* Stream = nullptr;
    TAvCodecContextPtr Codec;
    TAvFramePtr Frame;
    int64_t Next = 0;
    int64_t Total = 0;

    double NextTime() const { return double(Next) / Spec.SampleRate; }
};

void WriteSample(AVFrame* frame, int index, int channel, double value)
{
    const int channels = frame->ch_layout.nb_channels;
    const bool planar = av_sample_fmt_is_planar(AVSampleFormat(frame->format));
    const int plane = planar ? channel : 0;
    const int slot = planar ? index : index * channels + channel;
    switch (av_get_packed_sample_fmt(AVSampleFormat(frame->format))) {
    case AV_SAMPLE_FMT_S16:
        reinterpret_cast<int16_t*>(frame->extended_data[plane])[slot] = int16_t(std::lround(value * 32767));
        break;
    case AV_SAMPLE_FMT_S32:
        reinterpret_cast<int32_t*>(frame->extended_data[plane])[slot] = int32_t(std::lround(value * 2147483647.0));
        break;
    case AV_SAMPLE_FMT_FLT:
        reinterpret_cast<float*>(frame->extended_data[plane])[slot] = float(value);
        break;
    case AV_SAMPLE_FMT_DBL:
        reinterpret_cast<double*>(frame->extended_data[plane])[slot] = value;
        break;
    default:
        break;
    }
}

// Draws the test picture as it is shown, then stores it in the frame turned `rotation` degrees counterclockwise.
void DrawTurnedPicture(AVFrame* frame, int rotation, int number, bool moving)
{
    const bool sideways = rotation == 90 || rotation == 270;
    const int shownWidth = sideways ? frame->height : frame->width;
    const int shownHeight = sideways ? frame->width : frame->height;
    std::vector<uint8_t> planes[3];
    int widths[3];
    int heights[3];
    for (int p = 0; p < 3; ++p) {
        widths[p] = p == 0 ? shownWidth : (shownWidth + 1) / 2;
        heights[p] = p == 0 ? shownHeight : (shownHeight + 1) / 2;
        planes[p].resize(size_t(widths[p]) * heights[p]);
    }
    DrawTestPicture(planes[0].data(), widths[0], planes[1].data(), widths[1], planes[2].data(), widths[2], shownWidth,
        shownHeight, number, moving);
    for (int p = 0; p < 3; ++p) {
        const int w = widths[p];
        const int h = heights[p];
        // The shown pixel that stored pixel (x, y) holds.
        const int storedWidth = sideways ? h : w;
        const int storedHeight = sideways ? w : h;
        for (int y = 0; y < storedHeight; ++y) {
            for (int x = 0; x < storedWidth; ++x) {
                int sx = x;
                int sy = y;
                if (rotation == 90) {
                    sx = w - 1 - y;
                    sy = x;
                } else if (rotation == 180) {
                    sx = w - 1 - x;
                    sy = h - 1 - y;
                } else if (rotation == 270) {
                    sx = y;
                    sy = h - 1 - x;
                }
                frame->data[p][size_t(y) * frame->linesize[p] + x] = planes[p][size_t(sy) * w + sx];
            }
        }
    }
}

class TClipWriter {
public:
    bool Write(const std::string& path, const TTestClipSpec& spec);
    std::string Error;

private:
    bool Fail(const std::string& what, int error = 0)
    {
        Error = error < 0 ? what + ": " + AvErrorText(error) : what;
        return false;
    }
    bool OpenVideo(TVideoOut& out, int width, int height);
    bool OpenAudio(TAudioOut& out);
    bool Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
    bool WriteVideoFrame(TVideoOut& out);
    bool WriteAudioFrame(TAudioOut& out);

    TAvOutputContextPtr FOutput;
    TAvPacketPtr FPacket;
};

bool TClipWriter::OpenVideo(TVideoOut& out, int width, int height)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(out.Spec.Codec.c_str());
    if (!codec)
        return Fail("no encoder " + out.Spec.Codec);
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return Fail("out of memory");
    context->width = width;
    context->height = height;
    context->time_base = AVRational { out.Spec.FrameRateDen, out.Spec.FrameRateNum };
    context->framerate = AVRational { out.Spec.FrameRateNum, out.Spec.FrameRateDen };
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->gop_size = 10;
    if (out.Spec.AspectNum > 0)
        context->sample_aspect_ratio = AVRational { out.Spec.AspectNum, out.Spec.AspectDen };
    if (FOutput->oformat->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (out.Spec.Codec == "libx264") {
        av_opt_set(context->priv_data, "preset", "veryfast", 0);
        av_opt_set(context->priv_data, "crf", "18", 0);
    } else {
        // Fine quantisation keeps the frame-number cells and the red band readable after decoding.
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * 2;
        context->bit_rate = int64_t(width) * height * 8;
    }
    const int error = avcodec_open2(context.get(), codec, nullptr);
    if (error < 0)
        return Fail("cannot open " + out.Spec.Codec, error);
    if (!out.Stream) {
        out.Stream = avformat_new_stream(FOutput.get(), nullptr);
        if (!out.Stream || avcodec_parameters_from_context(out.Stream->codecpar, context.get()) < 0)
            return Fail("cannot add a video stream");
        out.Stream->time_base = context->time_base;
        out.Stream->avg_frame_rate = context->framerate;
        out.Stream->sample_aspect_ratio = context->sample_aspect_ratio;
        if (out.Spec.Rotation != 0) {
            auto* matrix = reinterpret_cast<int32_t*>(
                av_stream_new_side_data(out.Stream, AV_PKT_DATA_DISPLAYMATRIX, 9 * sizeof(int32_t)));
            if (!matrix)
                return Fail("out of memory");
            // A matrix that FFmpeg reads as turning the frame clockwise by the angle (its reading, -90 degrees
            // counterclockwise, is what phones store for a portrait recording).
            av_display_rotation_set(matrix, double(out.Spec.Rotation));
        }
    }
    out.Frame.reset(av_frame_alloc());
    if (!out.Frame)
        return Fail("out of memory");
    out.Frame->format = AV_PIX_FMT_YUV420P;
    out.Frame->width = width;
    out.Frame->height = height;
    if (av_frame_get_buffer(out.Frame.get(), 0) < 0)
        return Fail("out of memory");
    out.Codec = std::move(context);
    return true;
}

bool TClipWriter::OpenAudio(TAudioOut& out)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(out.Spec.Codec.c_str());
    if (!codec)
        return Fail("no encoder " + out.Spec.Codec);
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context)
        return Fail("out of memory");
    context->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    context->sample_rate = out.Spec.SampleRate;
    av_channel_layout_default(&context->ch_layout, out.Spec.Channels);
    // Encoders that list their layouts may not take FFmpeg's default one for the count.
    if (codec->ch_layouts && av_channel_layout_check(&context->ch_layout)) {
        bool listed = false;
        for (const AVChannelLayout* layout = codec->ch_layouts; layout->nb_channels; ++layout)
            listed = listed || av_channel_layout_compare(layout, &context->ch_layout) == 0;
        for (const AVChannelLayout* layout = codec->ch_layouts; !listed && layout->nb_channels; ++layout) {
            if (layout->nb_channels == out.Spec.Channels) {
                av_channel_layout_copy(&context->ch_layout, layout);
                listed = true;
            }
        }
    }
    context->bit_rate = 64000 * std::min(out.Spec.Channels, 2) + 32000 * std::max(0, out.Spec.Channels - 2);
    context->time_base = AVRational { 1, out.Spec.SampleRate };
    if (FOutput->oformat->flags & AVFMT_GLOBALHEADER)
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int error = avcodec_open2(context.get(), codec, nullptr);
    if (error < 0)
        return Fail("cannot open " + out.Spec.Codec, error);
    out.Stream = avformat_new_stream(FOutput.get(), nullptr);
    if (!out.Stream || avcodec_parameters_from_context(out.Stream->codecpar, context.get()) < 0)
        return Fail("cannot add an audio stream");
    out.Stream->time_base = context->time_base;
    out.Frame.reset(av_frame_alloc());
    if (!out.Frame)
        return Fail("out of memory");
    out.Frame->format = context->sample_fmt;
    out.Frame->sample_rate = context->sample_rate;
    av_channel_layout_copy(&out.Frame->ch_layout, &context->ch_layout);
    out.Frame->nb_samples = context->frame_size > 0 ? context->frame_size : 1024;
    if (av_frame_get_buffer(out.Frame.get(), 0) < 0)
        return Fail("out of memory");
    out.Codec = std::move(context);
    return true;
}

bool TClipWriter::Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame)
{
    int error = avcodec_send_frame(codec, frame);
    if (error < 0)
        return Fail("encode", error);
    for (;;) {
        error = avcodec_receive_packet(codec, FPacket.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return true;
        if (error < 0)
            return Fail("encode", error);
        av_packet_rescale_ts(FPacket.get(), codec->time_base, stream->time_base);
        FPacket->stream_index = stream->index;
        error = av_interleaved_write_frame(FOutput.get(), FPacket.get());
        if (error < 0)
            return Fail("write", error);
    }
}

bool TClipWriter::WriteVideoFrame(TVideoOut& out)
{
    if (!out.Resized && out.Spec.ResizeAt > 0.0 && out.NextTime() >= out.Spec.ResizeAt) {
        // The old encoder's last frames go out before the new size starts with a key frame of its own.
        if (!Encode(out.Codec.get(), out.Stream, nullptr)
            || !OpenVideo(out, out.Spec.ResizeWidth, out.Spec.ResizeHeight))
            return false;
        out.Resized = true;
    }
    AVFrame* frame = out.Frame.get();
    if (av_frame_make_writable(frame) < 0)
        return Fail("out of memory");
    if (out.Spec.Rotation != 0)
        DrawTurnedPicture(frame, out.Spec.Rotation, int(out.Next & 0xFF), out.Spec.Moving);
    else
        DrawTestPicture(frame->data[0], frame->linesize[0], frame->data[1], frame->linesize[1], frame->data[2],
            frame->linesize[2], frame->width, frame->height, int(out.Next & 0xFF), out.Spec.Moving);
    frame->pts = out.Next++;
    return Encode(out.Codec.get(), out.Stream, frame);
}

bool TClipWriter::WriteAudioFrame(TAudioOut& out)
{
    AVFrame* frame = out.Frame.get();
    if (av_frame_make_writable(frame) < 0)
        return Fail("out of memory");
    const int samples
        = int(std::min<int64_t>(out.Codec->frame_size > 0 ? out.Codec->frame_size : 1024, out.Total - out.Next));
    if (out.Codec->frame_size > 0 && !(out.Codec->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
        frame->nb_samples = out.Codec->frame_size; // The last frame is padded with silence.
    else
        frame->nb_samples = samples;
    const int channels = frame->ch_layout.nb_channels;
    for (int i = 0; i < frame->nb_samples; ++i) {
        const double time = double(out.Next + i) / out.Spec.SampleRate;
        const double tone = i < samples ? 0.3 * std::sin(2.0 * M_PI * out.Spec.ToneHz * time) : 0.0;
        for (int channel = 0; channel < channels; ++channel)
            WriteSample(frame, i, channel, out.Spec.ToneChannel < 0 || out.Spec.ToneChannel == channel ? tone : 0.0);
    }
    frame->pts = out.Next;
    out.Next += samples;
    return Encode(out.Codec.get(), out.Stream, frame);
}

bool TClipWriter::Write(const std::string& path, const TTestClipSpec& spec)
{
    AVFormatContext* raw = nullptr;
    int error = avformat_alloc_output_context2(&raw, nullptr, spec.Container.c_str(), path.c_str());
    if (error < 0 || !raw)
        return Fail("no muxer " + spec.Container, error);
    FOutput.reset(raw);
    FOutput->flags |= AVFMT_FLAG_BITEXACT;
    FPacket.reset(av_packet_alloc());
    if (!FPacket)
        return Fail("out of memory");

    std::vector<TVideoOut> videos(spec.Video.size());
    std::vector<TAudioOut> audios(spec.Audio.size());
    for (size_t i = 0; i < videos.size(); ++i) {
        videos[i].Spec = spec.Video[i];
        videos[i].Count = std::llround(spec.Duration * spec.Video[i].FrameRateNum / spec.Video[i].FrameRateDen);
        if (!OpenVideo(videos[i], spec.Video[i].Width, spec.Video[i].Height))
            return false;
    }
    for (size_t i = 0; i < audios.size(); ++i) {
        audios[i].Spec = spec.Audio[i];
        audios[i].Total = std::llround(spec.Duration * spec.Audio[i].SampleRate);
        audios[i].Next = std::min<int64_t>(audios[i].Total, std::llround(spec.Audio[i].StartAt * spec.Audio[i].SampleRate));
        if (!OpenAudio(audios[i]))
            return false;
    }
    if (!(FOutput->oformat->flags & AVFMT_NOFILE)) {
        error = avio_open(&FOutput->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (error < 0)
            return Fail("cannot create " + path, error);
    }
    error = avformat_write_header(FOutput.get(), nullptr);
    if (error < 0)
        return Fail("cannot write the header", error);

    // Streams are written in time order, the way real files interleave them.
    for (;;) {
        double earliest = std::numeric_limits<double>::infinity();
        TVideoOut* video = nullptr;
        TAudioOut* audio = nullptr;
        for (TVideoOut& out : videos) {
            if (out.Next < out.Count && out.NextTime() < earliest) {
                earliest = out.NextTime();
                video = &out;
            }
        }
        for (TAudioOut& out : audios) {
            if (out.Next < out.Total && out.NextTime() < earliest) {
                earliest = out.NextTime();
                audio = &out;
                video = nullptr;
            }
        }
        if (audio ? !WriteAudioFrame(*audio) : video ? !WriteVideoFrame(*video) : false)
            return false;
        if (!audio && !video)
            break;
    }
    for (TVideoOut& out : videos) {
        if (!Encode(out.Codec.get(), out.Stream, nullptr))
            return false;
    }
    for (TAudioOut& out : audios) {
        if (!Encode(out.Codec.get(), out.Stream, nullptr))
            return false;
    }
    error = av_write_trailer(FOutput.get());
    if (error < 0)
        return Fail("cannot write the trailer", error);
    FOutput.reset();
    return true;
}

} // namespace

bool MakeTestClip(const std::string& path, const TTestClipSpec& spec, std::string* error)
{
    av_log_set_level(AV_LOG_ERROR);
    TClipWriter writer;
    const bool written = writer.Write(path, spec);
    if (!written && error)
        *error = writer.Error;
    return written;
}
