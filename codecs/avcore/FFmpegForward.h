// Forward declarations of the FFmpeg structures our headers mention, so no header includes libav.
#pragma once

extern "C" {
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;
struct SwsContext;
}
