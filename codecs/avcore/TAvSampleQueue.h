// TAvSampleQueue: turns blocks of interleaved 16-bit samples into frames an audio encoder takes.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>
#include <vector>

struct AVAudioFifo;

// Resamples to the encoder's rate, sample format and channel layout, and queues the result until a whole frame
// of the encoder's frame size is there. Blocks of any length go in; frames of the right length come out.
class TAvSampleQueue final {
public:
    TAvSampleQueue();
    ~TAvSampleQueue();
    TAvSampleQueue(const TAvSampleQueue&) = delete;
    TAvSampleQueue& operator=(const TAvSampleQueue&) = delete;

    // The blocks' rate and channel count, and the opened encoder the frames are for.
    TAvStatus Init(int sourceRate, int sourceChannels, const AVCodecContext* encoder);

    // Adds `count` sample frames (count x channels values).
    TAvStatus Push(const int16_t* samples, int count);
    // Pushes what the resampler still holds; call once, after the last block.
    TAvStatus Drain();

    // The next frame when a whole one is queued, or, with `last`, whatever is left (padded with silence up to
    // the frame size when the encoder needs whole frames). `frame` stays null when there is nothing to give.
    TAvStatus Next(bool last, TAvFramePtr& frame);
    int Queued() const;

private:
    TAvStatus Convert(const uint8_t* const* input, int count);

    int FSourceChannels = 0;
    int FFrameSize = 0;
    bool FFixedFrames = false;
    int FFormat = -1;
    int FRate = 0;
    const AVCodecContext* FEncoder = nullptr;
    TAvSwrContextPtr FResampler;
    AVAudioFifo* FFifo = nullptr;
    std::vector<uint8_t*> FPlanes;
    std::vector<uint8_t> FBuffer;
};
