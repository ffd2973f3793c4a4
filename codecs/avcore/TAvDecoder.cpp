#include "codecs/avcore/TAvDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

TAvDecoder::TAvDecoder() = default;
TAvDecoder::~TAvDecoder() = default;

TAvStatus TAvDecoder::Open(AVStream* stream)
{
    Close();
    if (!stream) {
        FErrorText = "no stream";
        return TAvStatus::InvalidArgument;
    }
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        FErrorText = std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
        return TAvStatus::Unsupported;
    }
    TAvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) {
        FErrorText = "out of memory";
        return TAvStatus::NoMemory;
    }
    int error = avcodec_parameters_to_context(context.get(), stream->codecpar);
    if (error >= 0) {
        context->pkt_timebase = stream->time_base;
        context->thread_count = 0;
        context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        error = avcodec_open2(context.get(), codec, nullptr);
    }
    if (error < 0) {
        FErrorText = std::string("cannot open the ") + codec->name + " decoder: " + AvErrorText(error);
        return AvStatusFromError(error);
    }
    FContext = std::move(context);
    FStreamIndex = stream->index;
    FErrorText.clear();
    return TAvStatus::Ok;
}

void TAvDecoder::Close()
{
    FContext.reset();
    FStreamIndex = -1;
}

TAvStatus TAvDecoder::Send(const AVPacket* packet)
{
    if (!FContext)
        return TAvStatus::InvalidState;
    const int error = avcodec_send_packet(FContext.get(), packet);
    if (error == AVERROR_EOF)
        return TAvStatus::EndOfStream; // Already draining: nothing more is taken.
    if (error < 0) {
        FErrorText = "decode error: " + AvErrorText(error);
        const TAvStatus status = AvStatusFromError(error);
        return status == TAvStatus::NoMemory || status == TAvStatus::NeedsInput ? status : TAvStatus::Corrupt;
    }
    return TAvStatus::Ok;
}

TAvStatus TAvDecoder::Receive(AVFrame* frame)
{
    if (!FContext)
        return TAvStatus::EndOfStream;
    const int error = avcodec_receive_frame(FContext.get(), frame);
    if (error >= 0)
        return TAvStatus::Ok;
    if (error == AVERROR(EAGAIN))
        return TAvStatus::NeedsInput;
    if (error == AVERROR_EOF)
        return TAvStatus::EndOfStream;
    // A frame that fails to decode is lost, but the decoder goes on with the next one.
    FErrorText = "decode error: " + AvErrorText(error);
    return TAvStatus::Corrupt;
}

void TAvDecoder::Flush()
{
    if (FContext)
        avcodec_flush_buffers(FContext.get());
}
