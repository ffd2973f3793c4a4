#include "codecs/avcore/TAvAudioResampler.h"

#include <algorithm>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

TAvAudioResampler::TAvAudioResampler() = default;
TAvAudioResampler::~TAvAudioResampler() = default;

TAvStatus TAvAudioResampler::Init(int outputRate, int sourceChannels)
{
    if (outputRate < 1 || sourceChannels < 1)
        return TAvStatus::InvalidArgument;
    FRate = outputRate;
    FChannels = std::min(sourceChannels, 2);
    FSamples = 0;
    FResampler.reset();
    FInputFormat = -1;
    return TAvStatus::Ok;
}

TAvStatus TAvAudioResampler::Configure(const AVFrame* frame)
{
    const uint64_t mask = frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame->ch_layout.u.mask : 0;
    const int channels = frame->ch_layout.nb_channels;
    if (FResampler && frame->format == FInputFormat && frame->sample_rate == FInputRate && mask == FInputMask
        && channels == FInputChannels)
        return TAvStatus::Ok;

    // Layouts without a channel order (a bare count) get FFmpeg's default order for that count, so the
    // mixer knows which channels are centre and surround.
    AVChannelLayout input {};
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&input, channels);
    else if (av_channel_layout_copy(&input, &frame->ch_layout) < 0)
        return TAvStatus::NoMemory;
    AVChannelLayout output {};
    av_channel_layout_default(&output, FChannels);

    SwrContext* raw = nullptr;
    int error = swr_alloc_set_opts2(
        &raw, &output, AV_SAMPLE_FMT_S16, FRate, &input, AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&input);
    av_channel_layout_uninit(&output);
    TAvSwrContextPtr resampler(raw);
    if (error >= 0)
        error = swr_init(resampler.get());
    if (error < 0) {
        FResampler.reset();
        return AvStatusFromError(error) == TAvStatus::NoMemory ? TAvStatus::NoMemory : TAvStatus::Unsupported;
    }
    FResampler = std::move(resampler);
    FInputFormat = frame->format;
    FInputRate = frame->sample_rate;
    FInputMask = mask;
    FInputChannels = channels;
    return TAvStatus::Ok;
}

TAvStatus TAvAudioResampler::Convert(const AVFrame* frame)
{
    FSamples = 0;
    if (FChannels == 0)
        return TAvStatus::InvalidState;
    if (!frame || frame->nb_samples < 1 || frame->sample_rate < 1 || frame->ch_layout.nb_channels < 1)
        return TAvStatus::Corrupt;
    const TAvStatus status = Configure(frame);
    if (status != TAvStatus::Ok)
        return status;
    const int capacity = swr_get_out_samples(FResampler.get(), frame->nb_samples);
    if (capacity < 0)
        return TAvStatus::Corrupt;
    FBuffer.resize(size_t(capacity) * FChannels * 2 + 16);
    uint8_t* out[1] = { FBuffer.data() };
    const int samples = swr_convert(
        FResampler.get(), out, capacity, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (samples < 0)
        return TAvStatus::Corrupt;
    FSamples = samples;
    return TAvStatus::Ok;
}
