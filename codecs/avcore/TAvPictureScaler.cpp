#include "codecs/avcore/TAvPictureScaler.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

// The full-range ("JPEG") formats are deprecated inside swscale: it wants their limited-range twin plus the
// range given separately.
AVPixelFormat LimitedRangeTwin(AVPixelFormat format, bool& fullRange)
{
    fullRange = true;
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        return AV_PIX_FMT_YUV444P;
    default:
        fullRange = false;
        return format;
    }
}

// Rounds `value` to a multiple of `step` (a power of two), staying inside 1..limit where the step allows.
int AlignSize(double value, int step, int limit)
{
    if (limit <= step)
        return limit;
    const int aligned = int(std::lround(value / step)) * step;
    return std::clamp(aligned, step, limit);
}

} // namespace

TAvPictureScaler::TAvPictureScaler() = default;
TAvPictureScaler::~TAvPictureScaler() = default;

TAvStatus TAvPictureScaler::Fail(TAvStatus status, std::string text)
{
    FInputSize = 0;
    FScaler.reset();
    FError = std::move(text);
    return status;
}

TAvStatus TAvPictureScaler::Init(const TAvPictureLayout& layout)
{
    FLayout = layout;
    FError.clear();
    const int64_t inputSize = AvColorFrameSize(layout.SourceCode, layout.SourceWidth, layout.SourceHeight);
    if (inputSize < 0)
        return Fail(TAvStatus::InvalidArgument, "bad source size");
    if (layout.OutputWidth < 1 || layout.OutputHeight < 1 || layout.OutputWidth > kAvMaxFrameSide
        || layout.OutputHeight > kAvMaxFrameSide)
        return Fail(TAvStatus::InvalidArgument, "bad output size");
    const TAvCrop& crop = layout.Crop;
    if (crop.Left < 0 || crop.Right < 0 || crop.Top < 0 || crop.Bottom < 0)
        return Fail(TAvStatus::InvalidArgument, "negative crop");
    // Computed in 64 bits: a crop near INT32_MAX must not wrap around into a plausible width.
    const int64_t cropWidth = int64_t(layout.SourceWidth) - crop.Left - crop.Right;
    const int64_t cropHeight = int64_t(layout.SourceHeight) - crop.Top - crop.Bottom;
    if (cropWidth < 1 || cropHeight < 1)
        return Fail(TAvStatus::InvalidArgument, "the crop leaves no picture");
    if (!std::isfinite(layout.SourceAspect) || layout.SourceAspect < 0.0)
        return Fail(TAvStatus::InvalidArgument, "bad aspect ratio");
    if (!av_pix_fmt_desc_get(AVPixelFormat(layout.OutputPixelFormat)))
        return Fail(TAvStatus::InvalidArgument, "unknown output pixel format");
    FCropWidth = int(cropWidth);
    FCropHeight = int(cropHeight);
    PlacePicture();

    const AVPixelFormat source = AVPixelFormat(AvColorPixelFormat(layout.SourceCode));
    const AVPixelFormat target = LimitedRangeTwin(AVPixelFormat(layout.OutputPixelFormat), FFullRange);
    FCopyOnly = source == target && !FFullRange && source == AV_PIX_FMT_YUV420P && FCropWidth == FPictureWidth
        && FCropHeight == FPictureHeight;
    FScaler.reset();
    if (!FCopyOnly) {
        FScaler.reset(sws_getContext(FCropWidth, FCropHeight, source, FPictureWidth, FPictureHeight, target,
            SWS_BICUBIC, nullptr, nullptr, nullptr));
        if (!FScaler)
            return Fail(TAvStatus::Unsupported, "no conversion to the output pixel format");
        if (FFullRange) {
            int* inverse = nullptr;
            int* table = nullptr;
            int sourceRange = 0;
            int targetRange = 0;
            int brightness = 0;
            int contrast = 0;
            int saturation = 0;
            sws_getColorspaceDetails(
                FScaler.get(), &inverse, &sourceRange, &table, &targetRange, &brightness, &contrast, &saturation);
            sws_setColorspaceDetails(FScaler.get(), inverse, sourceRange, table, 1, brightness, contrast, saturation);
        }
    }
    FInputSize = inputSize;
    return TAvStatus::Ok;
}

void TAvPictureScaler::PlacePicture()
{
    const int outWidth = FLayout.OutputWidth;
    const int outHeight = FLayout.OutputHeight;
    FPictureX = FPictureY = 0;
    FPictureWidth = outWidth;
    FPictureHeight = outHeight;
    if (!FLayout.Fit)
        return;
    // The cropped picture's display shape: the source's pixel aspect times the cropped pixel counts.
    const double pixelAspect
        = FLayout.SourceAspect > 0.0 ? FLayout.SourceAspect * FLayout.SourceHeight / FLayout.SourceWidth : 1.0;
    const double pictureAspect = pixelAspect * FCropWidth / FCropHeight;
    // Bars and picture meet on whole chroma samples, so neither smears into the other.
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(AVPixelFormat(FLayout.OutputPixelFormat));
    const int stepX = 1 << descriptor->log2_chroma_w;
    const int stepY = 1 << descriptor->log2_chroma_h;
    if (pictureAspect * outHeight > outWidth) {
        FPictureHeight = AlignSize(outWidth / pictureAspect, stepY, outHeight);
        FPictureY = (outHeight - FPictureHeight) / 2 / stepY * stepY;
    } else {
        FPictureWidth = AlignSize(outHeight * pictureAspect, stepX, outWidth);
        FPictureX = (outWidth - FPictureWidth) / 2 / stepX * stepX;
    }
}

TAvStatus TAvPictureScaler::Scale(const void* source, uint8_t* const target[4], const int targetStride[4])
{
    if (!IsReady())
        return TAvStatus::InvalidState;
    if (!source || !target || !target[0])
        return TAvStatus::InvalidArgument;
    const AVPixelFormat outFormat = AVPixelFormat(FLayout.OutputPixelFormat);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(outFormat);

    // swscale and the copies only read the source; the pointer type is theirs.
    TAvColorPlanes in = AvColorPlanes(FLayout.SourceCode, FLayout.SourceWidth, FLayout.SourceHeight,
        static_cast<uint8_t*>(const_cast<void*>(source)));
    const TAvCrop& crop = FLayout.Crop;
    if (AvColorIsBottomUp(FLayout.SourceCode)) {
        // The plane pointer is the picture's top row with a negative stride, so the crop moves it the same way.
        const int pixelBytes = FLayout.SourceCode == TAvColorCode::Bgra ? 4 : 2;
        in.Data[0] += int64_t(crop.Top) * in.Stride[0] + int64_t(crop.Left) * pixelBytes;
    } else {
        in.Data[0] += int64_t(crop.Top) * in.Stride[0] + crop.Left;
        for (int plane = 1; plane < 3; ++plane)
            in.Data[plane] += int64_t(crop.Top / 2) * in.Stride[plane] + crop.Left / 2;
    }

    uint8_t* out[4] = {};
    int outStride[4] = {};
    int pixelSteps[4] = {};
    av_image_fill_max_pixsteps(pixelSteps, nullptr, descriptor);
    const bool bars = FPictureWidth != FLayout.OutputWidth || FPictureHeight != FLayout.OutputHeight;
    if (bars) {
        const ptrdiff_t strides[4] = { targetStride[0], targetStride[1], targetStride[2], targetStride[3] };
        uint8_t* planes[4] = { target[0], target[1], target[2], target[3] };
        av_image_fill_black(planes, strides, outFormat, FFullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG,
            FLayout.OutputWidth, FLayout.OutputHeight);
    }
    for (int plane = 0; plane < 4 && target[plane]; ++plane) {
        const bool chroma = plane == 1 || plane == 2;
        const int x = chroma ? FPictureX >> descriptor->log2_chroma_w : FPictureX;
        const int y = chroma ? FPictureY >> descriptor->log2_chroma_h : FPictureY;
        out[plane] = target[plane] + int64_t(y) * targetStride[plane] + int64_t(x) * pixelSteps[plane];
        outStride[plane] = targetStride[plane];
    }

    if (FCopyOnly) {
        const int chromaWidth = (FPictureWidth + 1) / 2;
        const int chromaHeight = (FPictureHeight + 1) / 2;
        av_image_copy_plane(out[0], outStride[0], in.Data[0], in.Stride[0], FPictureWidth, FPictureHeight);
        av_image_copy_plane(out[1], outStride[1], in.Data[1], in.Stride[1], chromaWidth, chromaHeight);
        av_image_copy_plane(out[2], outStride[2], in.Data[2], in.Stride[2], chromaWidth, chromaHeight);
        return TAvStatus::Ok;
    }
    const int rows = sws_scale(FScaler.get(), in.Data, in.Stride, 0, FCropHeight, out, outStride);
    return rows == FPictureHeight ? TAvStatus::Ok : TAvStatus::Unsupported;
}
