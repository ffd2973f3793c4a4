#include "codecs/avcore/TAvColorCode.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

bool IsAvColorCode(int32_t value)
{
    return value == 1 || value == 3 || value == 4 || value == 5;
}

bool AvColorIsBottomUp(TAvColorCode code)
{
    return code == TAvColorCode::Rgb565 || code == TAvColorCode::Bgra;
}

int64_t AvColorFrameSize(TAvColorCode code, int width, int height)
{
    if (width < 1 || height < 1 || width > kAvMaxFrameSide || height > kAvMaxFrameSide)
        return -1;
    const int64_t pixels = int64_t(width) * height;
    switch (code) {
    case TAvColorCode::Rgb565:
        return pixels * 2;
    case TAvColorCode::Bgra:
        return pixels * 4;
    case TAvColorCode::Yvu420:
    case TAvColorCode::Yuv420:
        return pixels + 2 * int64_t((width + 1) / 2) * ((height + 1) / 2);
    }
    return -1;
}

int AvColorPixelFormat(TAvColorCode code)
{
    switch (code) {
    case TAvColorCode::Rgb565:
        return AV_PIX_FMT_RGB565LE;
    case TAvColorCode::Bgra:
        return AV_PIX_FMT_BGRA;
    case TAvColorCode::Yvu420:
    case TAvColorCode::Yuv420:
        return AV_PIX_FMT_YUV420P;
    }
    return AV_PIX_FMT_NONE;
}

TAvColorPlanes AvColorPlanes(TAvColorCode code, int width, int height, uint8_t* buffer)
{
    TAvColorPlanes planes;
    switch (code) {
    case TAvColorCode::Rgb565:
    case TAvColorCode::Bgra: {
        const int rowBytes = width * (code == TAvColorCode::Bgra ? 4 : 2);
        planes.PixelFormat = AvColorPixelFormat(code);
        planes.Data[0] = buffer + int64_t(rowBytes) * (height - 1);
        planes.Stride[0] = -rowBytes;
        break;
    }
    case TAvColorCode::Yvu420:
    case TAvColorCode::Yuv420: {
        const int chromaWidth = (width + 1) / 2;
        const int64_t lumaSize = int64_t(width) * height;
        const int64_t chromaSize = int64_t(chromaWidth) * ((height + 1) / 2);
        // FFmpeg's I420 order is Y, U, V; code 4 stores V before U, so its U pointer is the third plane.
        const bool swapped = code == TAvColorCode::Yvu420;
        planes.PixelFormat = AvColorPixelFormat(code);
        planes.Data[0] = buffer;
        planes.Data[1] = buffer + lumaSize + (swapped ? chromaSize : 0);
        planes.Data[2] = buffer + lumaSize + (swapped ? 0 : chromaSize);
        planes.Stride[0] = width;
        planes.Stride[1] = chromaWidth;
        planes.Stride[2] = chromaWidth;
        break;
    }
    }
    return planes;
}
