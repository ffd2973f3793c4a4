#include "codecs/avcore/AvHandles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

void TAvInputContextDeleter::operator()(AVFormatContext* context) const noexcept
{
    avformat_close_input(&context);
}

void TAvOutputContextDeleter::operator()(AVFormatContext* context) const noexcept
{
    if (!context)
        return;
    if (context->oformat && !(context->oformat->flags & AVFMT_NOFILE))
        avio_closep(&context->pb);
    avformat_free_context(context);
}

void TAvCodecContextDeleter::operator()(AVCodecContext* context) const noexcept
{
    avcodec_free_context(&context);
}

void TAvFrameDeleter::operator()(AVFrame* frame) const noexcept
{
    av_frame_free(&frame);
}

void TAvPacketDeleter::operator()(AVPacket* packet) const noexcept
{
    av_packet_free(&packet);
}

void TAvSwsContextDeleter::operator()(SwsContext* context) const noexcept
{
    sws_freeContext(context);
}

void TAvSwrContextDeleter::operator()(SwrContext* context) const noexcept
{
    swr_free(&context);
}
