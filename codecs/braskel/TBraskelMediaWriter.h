// TBraskelMediaWriter: the library's media writer over libavformat, libavcodec, libswscale and libswresample.
#pragma once
#include "codecs/avcore/FFmpegForward.h"
#include "codecs/braskel/Braskel.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Named options as name and value, in the order given.
using TBraskelWriterOptions = std::vector<std::pair<std::string, std::string>>;

// Everything the Set* calls and SetOption record for Open. Numbers are as given; Open derives the values the
// encoders accept from them.
struct TBraskelWriterSettings {
    std::string Format;
    std::string VideoCodec;
    std::string AudioCodec;

    bool HasVideoParams = false;
    int32_t OutputWidth = 0;
    int32_t OutputHeight = 0;
    int32_t VideoBitRate = 0;
    double FrameRate = 0.0;
    int32_t SourceWidth = 0;
    int32_t SourceHeight = 0;
    int32_t ColorFormat = 0;
    int32_t CropLeft = 0;
    int32_t CropRight = 0;
    int32_t CropTop = 0;
    int32_t CropBottom = 0;

    bool HasAudioParams = false;
    int32_t OutputRate = 0;
    int32_t OutputChannels = 0;
    int32_t AudioBitRate = 0;
    int32_t SourceRate = 0;
    int32_t SourceChannels = 0;

    bool BitExact = false;
    bool FixAspectRatio = false;
    // "disable_video": the output gets no video stream, whatever the video settings say.
    bool DisableVideo = false;
    // The display aspect of the source frame from "frame_aspect_ratio"; 0 when not given.
    int FrameAspectNum = 0;
    int FrameAspectDen = 0;
    // -1 while the option was not given.
    int64_t RcMaxRate = -1;
    int64_t RcMinRate = -1;
    int64_t RcBufferSize = -1;
    int64_t BitRateTolerance = -1;
    uint32_t VideoCodecTag = 0;

    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Date;

    // Options of other names, in the order given, for the encoders or the muxer to take at Open.
    TBraskelWriterOptions FreeOptions;
};

struct TBraskelWriterState;

class TBraskelMediaWriter final : public MediaWriter {
    using inherited = MediaWriter;

public:
    explicit TBraskelMediaWriter(std::string path);
    ~TBraskelMediaWriter() override;

    uint8_t SetVideoCodec(const char* name) override;
    uint8_t SetAudioCodec(const char* name) override;
    uint8_t SetFormat(const char* name) override;
    uint8_t SetAudioParams(int32_t outputRate, int32_t outputChannels, int32_t bitRate, int32_t sourceRate,
        int32_t sourceChannels) override;
    uint8_t SetVideoParams(int32_t outputWidth, int32_t outputHeight, int32_t bitRate, double frameRate,
        int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) override;
    uint8_t Unused5() override;
    uint8_t Unused6() override;
    uint8_t Unused7() override;
    uint8_t Unused8() override;
    uint8_t Unused9() override;
    uint8_t Unused10() override;
    uint8_t Open() override;
    uint8_t Close() override;
    uint8_t WriteVideo(const void* frame, double time) override;
    uint8_t WriteAudio(const void* samples, int32_t byteCount, double time) override;
    uint8_t SetOption(const char* name, const char* value) override;
    int64_t GetOutputSize() override;
    const char* GetErrorText() override { return FError.c_str(); }

    // Why the last call failed, for logs and tests.
    const std::string& ErrorText() const { return FError; }

private:
    // Both keep the text in FError: Fail for the slots' byte results, Failed for the internal steps.
    uint8_t Fail(std::string text);
    bool Failed(std::string text);
    // Open's steps (TBraskelMediaWriter_Open.cpp); each returns false with FError set.
    bool CheckSettings();
    bool CreateOutput();
    bool SetUpVideo();
    bool SetUpAudio();
    bool SortFreeOptions();
    bool OpenEncoders();
    bool OpenVideoEncoder(AVCodecContext* video, std::string& failed);
    bool OpenAudioEncoder();
    bool WriteHeader();
    void Discard();
    // The writing side (TBraskelMediaWriter_Write.cpp).
    bool EncodePicture(const void* source, int64_t slot);
    bool FillVideoUntil(int64_t slot);
    // Places the audio by the first block's time, with silence before it; false with FError set.
    bool PlaceFirstAudio(double time);
    bool EncodeQueuedAudio(bool last);
    bool Finish();

    std::string FPath;
    TBraskelWriterSettings FSettings;
    std::unique_ptr<TBraskelWriterState> FState;
    bool FOpen = false;
    int64_t FWrittenSize = 0;
    std::string FError;
};
