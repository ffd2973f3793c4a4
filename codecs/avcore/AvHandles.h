// Owning pointers for FFmpeg objects, each with the deleter FFmpeg pairs with its allocator.
#pragma once
#include "codecs/avcore/FFmpegForward.h"

#include <memory>

// Closes an input context opened with avformat_open_input.
struct TAvInputContextDeleter {
    void operator()(AVFormatContext* context) const noexcept;
};

// Closes the output file (when open) and frees a context made with avformat_alloc_output_context2.
struct TAvOutputContextDeleter {
    void operator()(AVFormatContext* context) const noexcept;
};

struct TAvCodecContextDeleter {
    void operator()(AVCodecContext* context) const noexcept;
};

struct TAvFrameDeleter {
    void operator()(AVFrame* frame) const noexcept;
};

struct TAvPacketDeleter {
    void operator()(AVPacket* packet) const noexcept;
};

struct TAvSwsContextDeleter {
    void operator()(SwsContext* context) const noexcept;
};

struct TAvSwrContextDeleter {
    void operator()(SwrContext* context) const noexcept;
};

using TAvInputContextPtr = std::unique_ptr<AVFormatContext, TAvInputContextDeleter>;
using TAvOutputContextPtr = std::unique_ptr<AVFormatContext, TAvOutputContextDeleter>;
using TAvCodecContextPtr = std::unique_ptr<AVCodecContext, TAvCodecContextDeleter>;
using TAvFramePtr = std::unique_ptr<AVFrame, TAvFrameDeleter>;
using TAvPacketPtr = std::unique_ptr<AVPacket, TAvPacketDeleter>;
using TAvSwsContextPtr = std::unique_ptr<SwsContext, TAvSwsContextDeleter>;
using TAvSwrContextPtr = std::unique_ptr<SwrContext, TAvSwrContextDeleter>;
