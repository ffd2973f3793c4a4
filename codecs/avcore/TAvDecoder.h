// TAvDecoder: one stream's libavcodec decoder, fed packets and drained of frames.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <string>

class TAvDecoder final {
public:
    TAvDecoder();
    ~TAvDecoder();

    // Opens the stream's decoder with as many threads as libavcodec chooses (frame and slice threads, as the
    // ffmpeg command line does).
    TAvStatus Open(AVStream* stream);
    void Close();
    bool IsOpen() const { return FContext != nullptr; }
    int StreamIndex() const { return FStreamIndex; }

    // Hands over a packet; nullptr starts draining. A damaged packet gives Corrupt and is simply skipped.
    TAvStatus Send(const AVPacket* packet);
    // Ok with a frame, NeedsInput, or EndOfStream once drained.
    TAvStatus Receive(AVFrame* frame);
    // Forgets buffered data after a seek; a drained decoder accepts packets again.
    void Flush();

    const std::string& ErrorText() const { return FErrorText; }

private:
    TAvCodecContextPtr FContext;
    int FStreamIndex = -1;
    std::string FErrorText;
};
