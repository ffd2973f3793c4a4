#include "codecs/avcore/TAvSampleQueue.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace {

// The frame length used for encoders that take any length (PCM): about 23 ms at 44.1 kHz.
constexpr int kVariableFrameSize = 1024;

} // namespace

TAvSampleQueue::TAvSampleQueue() = default;

TAvSampleQueue::~TAvSampleQueue()
{
    if (FFifo)
        av_audio_fifo_free(FFifo);
}

TAvStatus TAvSampleQueue::Init(int sourceRate, int sourceChannels, const AVCodecContext* encoder)
{
    if (sourceRate < 1 || sourceChannels < 1 || sourceChannels > 8 || !encoder)
        return TAvStatus::InvalidArgument;
    FSourceChannels = sourceChannels;
    FEncoder = encoder;
    FFormat = encoder->sample_fmt;
    FRate = encoder->sample_rate;
    const bool variable = encoder->frame_size < 1 || (encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    FFrameSize = encoder->frame_size > 0 ? encoder->frame_size : kVariableFrameSize;
    // Encoders with a fixed frame size take a shorter last frame only when they say so.
    FFixedFrames = !variable && !(encoder->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME);

    AVChannelLayout input {};
    av_channel_layout_default(&input, sourceChannels);
    AVChannelLayout output {};
    int error = av_channel_layout_copy(&output, &encoder->ch_layout);
    SwrContext* raw = nullptr;
    if (error >= 0)
        error = swr_alloc_set_opts2(
            &raw, &output, AVSampleFormat(FFormat), FRate, &input, AV_SAMPLE_FMT_S16, sourceRate, 0, nullptr);
    av_channel_layout_uninit(&input);
    av_channel_layout_uninit(&output);
    FResampler.reset(raw);
    if (error >= 0)
        error = swr_init(FResampler.get());
    if (error < 0)
        return AvStatusFromError(error) == TAvStatus::NoMemory ? TAvStatus::NoMemory : TAvStatus::Unsupported;
    if (FFifo)
        av_audio_fifo_free(FFifo);
    FFifo = av_audio_fifo_alloc(AVSampleFormat(FFormat), encoder->ch_layout.nb_channels, FFrameSize * 2);
    return FFifo ? TAvStatus::Ok : TAvStatus::NoMemory;
}

TAvStatus TAvSampleQueue::Convert(const uint8_t* const* input, int count)
{
    const int capacity = swr_get_out_samples(FResampler.get(), count);
    if (capacity < 0)
        return TAvStatus::Corrupt;
    if (capacity == 0)
        return TAvStatus::Ok;
    const int channels = FEncoder->ch_layout.nb_channels;
    const int bytes = av_samples_get_buffer_size(nullptr, channels, capacity, AVSampleFormat(FFormat), 1);
    if (bytes < 0)
        return TAvStatus::NoMemory;
    if (FBuffer.size() < size_t(bytes))
        FBuffer.resize(size_t(bytes));
    FPlanes.assign(size_t(channels), nullptr);
    av_samples_fill_arrays(FPlanes.data(), nullptr, FBuffer.data(), channels, capacity, AVSampleFormat(FFormat), 1);
    const int made = swr_convert(FResampler.get(), FPlanes.data(), capacity, const_cast<const uint8_t**>(input), count);
    if (made < 0)
        return TAvStatus::Corrupt;
    if (made > 0 && av_audio_fifo_write(FFifo, reinterpret_cast<void**>(FPlanes.data()), made) < made)
        return TAvStatus::NoMemory;
    return TAvStatus::Ok;
}

TAvStatus TAvSampleQueue::Push(const int16_t* samples, int count)
{
    if (!FFifo)
        return TAvStatus::InvalidState;
    if (count < 0 || (count > 0 && !samples))
        return TAvStatus::InvalidArgument;
    if (count == 0)
        return TAvStatus::Ok;
    const uint8_t* input[1] = { reinterpret_cast<const uint8_t*>(samples) };
    return Convert(input, count);
}

TAvStatus TAvSampleQueue::Drain()
{
    if (!FFifo)
        return TAvStatus::InvalidState;
    return Convert(nullptr, 0);
}

int TAvSampleQueue::Queued() const
{
    return FFifo ? av_audio_fifo_size(FFifo) : 0;
}

TAvStatus TAvSampleQueue::Next(bool last, TAvFramePtr& frame)
{
    frame.reset();
    const int queued = Queued();
    if (queued == 0 || (queued < FFrameSize && !last))
        return TAvStatus::Ok;
    const int count = std::min(queued, FFrameSize);
    TAvFramePtr made(av_frame_alloc());
    if (!made)
        return TAvStatus::NoMemory;
    made->format = FFormat;
    made->sample_rate = FRate;
    made->nb_samples = FFixedFrames ? FFrameSize : count;
    if (av_channel_layout_copy(&made->ch_layout, &FEncoder->ch_layout) < 0 || av_frame_get_buffer(made.get(), 0) < 0)
        return TAvStatus::NoMemory;
    if (count < made->nb_samples)
        av_samples_set_silence(
            made->extended_data, count, made->nb_samples - count, made->ch_layout.nb_channels, AVSampleFormat(FFormat));
    if (av_audio_fifo_read(FFifo, reinterpret_cast<void**>(made->extended_data), count) < count)
        return TAvStatus::Corrupt;
    frame = std::move(made);
    return TAvStatus::Ok;
}
