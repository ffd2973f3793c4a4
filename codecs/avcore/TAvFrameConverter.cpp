#include "codecs/avcore/TAvFrameConverter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

TAvFrameConverter::TAvFrameConverter() = default;
TAvFrameConverter::~TAvFrameConverter() = default;

TAvStatus TAvFrameConverter::Init(int width, int height, TAvColorCode code)
{
    const int64_t size = AvColorFrameSize(code, width, height);
    if (size < 0)
        return TAvStatus::InvalidArgument;
    FWidth = width;
    FHeight = height;
    FCode = code;
    FBuffer.assign(size_t(size), 0);
    FScaler.reset();
    return TAvStatus::Ok;
}

TAvStatus TAvFrameConverter::Convert(const AVFrame* frame)
{
    if (FBuffer.empty())
        return TAvStatus::InvalidState;
    if (!frame || frame->width < 1 || frame->height < 1 || frame->format < 0)
        return TAvStatus::Corrupt;
    const TAvColorPlanes out = AvColorPlanes(FCode, FWidth, FHeight, FBuffer.data());

    // The common case needs no conversion at all: copy the three planes into our unpadded buffer.
    if (frame->format == AV_PIX_FMT_YUV420P && out.PixelFormat == AV_PIX_FMT_YUV420P && frame->width == FWidth
        && frame->height == FHeight) {
        const int chromaWidth = (FWidth + 1) / 2;
        const int chromaHeight = (FHeight + 1) / 2;
        av_image_copy_plane(out.Data[0], out.Stride[0], frame->data[0], frame->linesize[0], FWidth, FHeight);
        av_image_copy_plane(out.Data[1], out.Stride[1], frame->data[1], frame->linesize[1], chromaWidth, chromaHeight);
        av_image_copy_plane(out.Data[2], out.Stride[2], frame->data[2], frame->linesize[2], chromaWidth, chromaHeight);
        return TAvStatus::Ok;
    }

    SwsContext* scaler
        = sws_getCachedContext(FScaler.release(), frame->width, frame->height, AVPixelFormat(frame->format), FWidth,
            FHeight, AVPixelFormat(out.PixelFormat), SWS_BICUBIC, nullptr, nullptr, nullptr);
    FScaler.reset(scaler);
    if (!scaler)
        return TAvStatus::Unsupported;
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, out.Data, out.Stride);
    return TAvStatus::Ok;
}
