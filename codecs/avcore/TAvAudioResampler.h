// TAvAudioResampler: turns decoded audio frames into interleaved signed 16-bit at most in stereo.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>
#include <vector>

// More than two source channels are mixed down to stereo (centre and surround folded in), never cut off.
class TAvAudioResampler final {
public:
    TAvAudioResampler();
    ~TAvAudioResampler();

    // The output rate and the source's channel count fix the output format for the whole stream.
    TAvStatus Init(int outputRate, int sourceChannels);

    // Converts one frame; the block stays valid until the next Convert or Init.
    TAvStatus Convert(const AVFrame* frame);

    uint8_t* Data() { return FBuffer.data(); }
    int32_t Bytes() const { return int32_t(FSamples * FChannels * 2); }
    int Samples() const { return FSamples; }
    int Channels() const { return FChannels; }
    int Rate() const { return FRate; }

private:
    TAvStatus Configure(const AVFrame* frame);

    int FRate = 0;
    int FChannels = 0;
    int FSamples = 0;
    std::vector<uint8_t> FBuffer;
    TAvSwrContextPtr FResampler;
    // The input the resampler was built for; a frame that differs rebuilds it.
    int FInputFormat = -1;
    int FInputRate = 0;
    uint64_t FInputMask = 0;
    int FInputChannels = 0;
};
