#include "codecs/avcore/TAvFrameConverter.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

TAvFrameConverter::TAvFrameConverter() = default;
TAvFrameConverter::~TAvFrameConverter() = default;

namespace {

// A planar 4:4:4 frame of the size, or null when memory runs out.
TAvFramePtr PlanarFrame(int width, int height)
{
    TAvFramePtr frame(av_frame_alloc());
    if (!frame)
        return nullptr;
    frame->format = AV_PIX_FMT_YUV444P;
    frame->width = width;
    frame->height = height;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    return frame;
}

// Writes `source` (w x h) into `target` turned clockwise by a quarter turn count of `rotation`.
void TurnPlane(const uint8_t* source, int sourceStride, int width, int height, uint8_t* target, int targetStride,
    int rotation)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = source + size_t(y) * sourceStride;
        for (int x = 0; x < width; ++x) {
            int tx = x;
            int ty = y;
            if (rotation == 90) {
                tx = height - 1 - y;
                ty = x;
            } else if (rotation == 180) {
                tx = width - 1 - x;
                ty = height - 1 - y;
            } else if (rotation == 270) {
                tx = y;
                ty = width - 1 - x;
            }
            target[size_t(ty) * targetStride + tx] = row[x];
        }
    }
}

} // namespace

TAvStatus TAvFrameConverter::Init(int width, int height, TAvColorCode code, int rotation)
{
    const int64_t size = AvColorFrameSize(code, width, height);
    if (size < 0 || (rotation != 0 && rotation != 90 && rotation != 180 && rotation != 270))
        return TAvStatus::InvalidArgument;
    FWidth = width;
    FHeight = height;
    FCode = code;
    FRotation = rotation;
    FBuffer.assign(size_t(size), 0);
    FScaler.reset();
    FStoredScaler.reset();
    FStored.reset();
    FTurned.reset();
    if (rotation != 0) {
        const bool sideways = rotation == 90 || rotation == 270;
        FStored = PlanarFrame(sideways ? height : width, sideways ? width : height);
        FTurned = PlanarFrame(width, height);
        if (!FStored || !FTurned)
            return TAvStatus::NoMemory;
    }
    return TAvStatus::Ok;
}

TAvStatus TAvFrameConverter::Turn(const AVFrame* frame)
{
    SwsContext* scaler = sws_getCachedContext(FStoredScaler.release(), frame->width, frame->height,
        AVPixelFormat(frame->format), FStored->width, FStored->height, AV_PIX_FMT_YUV444P, SWS_BICUBIC, nullptr,
        nullptr, nullptr);
    FStoredScaler.reset(scaler);
    if (!scaler)
        return TAvStatus::Unsupported;
    sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, FStored->data, FStored->linesize);
    for (int plane = 0; plane < 3; ++plane)
        TurnPlane(FStored->data[plane], FStored->linesize[plane], FStored->width, FStored->height,
            FTurned->data[plane], FTurned->linesize[plane], FRotation);
    return TAvStatus::Ok;
}

TAvStatus TAvFrameConverter::Convert(const AVFrame* frame)
{
    if (FBuffer.empty())
        return TAvStatus::InvalidState;
    if (!frame || frame->width < 1 || frame->height < 1 || frame->format < 0)
        return TAvStatus::Corrupt;
    if (FRotation != 0) {
        if (const TAvStatus status = Turn(frame); status != TAvStatus::Ok)
            return status;
        frame = FTurned.get();
    }
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
