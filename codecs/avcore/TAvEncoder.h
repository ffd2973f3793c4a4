// TAvEncoder: one opened encoder and the stream of the output file it feeds.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <string>

class TAvEncoder final {
public:
    TAvEncoder();
    ~TAvEncoder();
    TAvEncoder(const TAvEncoder&) = delete;
    TAvEncoder& operator=(const TAvEncoder&) = delete;

    // Opens the set-up context and adds its stream to `output`, whose header is not written yet. The context is
    // kept either way, so a failed open can still be inspected.
    TAvStatus Open(TAvCodecContextPtr context, AVFormatContext* output);
    bool IsOpen() const { return FStream != nullptr; }
    AVCodecContext* Context() const { return FContext.get(); }
    AVStream* Stream() const { return FStream; }
    const std::string& ErrorText() const { return FError; }

    // Encodes the frame (null: flushes the encoder) and writes every packet it gives to the file.
    TAvStatus Send(const AVFrame* frame);

private:
    TAvStatus Fail(int error, const char* what);

    TAvCodecContextPtr FContext;
    AVStream* FStream = nullptr;
    AVFormatContext* FOutput = nullptr;
    TAvPacketPtr FPacket;
    bool FFlushed = false;
    std::string FError;
};
