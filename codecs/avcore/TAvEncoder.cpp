#include "codecs/avcore/TAvEncoder.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

TAvEncoder::TAvEncoder() = default;
TAvEncoder::~TAvEncoder() = default;

TAvStatus TAvEncoder::Fail(int error, const char* what)
{
    FError = std::string(what) + ": " + AvErrorText(error);
    return AvStatusFromError(error);
}

TAvStatus TAvEncoder::Open(TAvCodecContextPtr context, AVFormatContext* output)
{
    FContext = std::move(context);
    FStream = nullptr;
    FOutput = output;
    FFlushed = false;
    FPacket.reset(av_packet_alloc());
    if (!FContext || !FOutput || !FPacket)
        return Fail(AVERROR(ENOMEM), "cannot set up the encoder");
    // A failed avcodec_open2 clears the context's codec, so its name is taken first.
    const AVCodec* codec = FContext->codec;
    int error = avcodec_open2(FContext.get(), codec, nullptr);
    if (error < 0)
        return Fail(error, (std::string("cannot open the encoder ") + codec->name).c_str());
    AVStream* stream = avformat_new_stream(FOutput, nullptr);
    if (!stream)
        return Fail(AVERROR(ENOMEM), "cannot add a stream");
    error = avcodec_parameters_from_context(stream->codecpar, FContext.get());
    if (error < 0)
        return Fail(error, "cannot describe the stream");
    // The encoder's stream-wide facts (the MPEG encoders' buffer size and peak rate) go to the muxer, which
    // sizes its own buffers by them.
    for (int i = 0; i < FContext->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = FContext->coded_side_data[i];
        uint8_t* copy = av_stream_new_side_data(stream, data.type, data.size);
        if (!copy)
            return Fail(AVERROR(ENOMEM), "cannot describe the stream");
        std::memcpy(copy, data.data, data.size);
    }
    stream->time_base = FContext->time_base;
    stream->sample_aspect_ratio = FContext->sample_aspect_ratio;
    if (FContext->codec_type == AVMEDIA_TYPE_VIDEO)
        stream->avg_frame_rate = FContext->framerate;
    FStream = stream;
    return TAvStatus::Ok;
}

TAvStatus TAvEncoder::Send(const AVFrame* frame)
{
    if (!FStream)
        return TAvStatus::InvalidState;
    if (FFlushed)
        return frame ? TAvStatus::InvalidState : TAvStatus::Ok;
    FFlushed = !frame;
    int error = avcodec_send_frame(FContext.get(), frame);
    if (error < 0)
        return Fail(error, "cannot encode");
    for (;;) {
        error = avcodec_receive_packet(FContext.get(), FPacket.get());
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF)
            return TAvStatus::Ok;
        if (error < 0)
            return Fail(error, "cannot encode");
        av_packet_rescale_ts(FPacket.get(), FContext->time_base, FStream->time_base);
        FPacket->stream_index = FStream->index;
        // The muxer takes the packet's data over and leaves the packet blank.
        error = av_interleaved_write_frame(FOutput, FPacket.get());
        if (error < 0)
            return Fail(error, "cannot write to the file");
    }
}
