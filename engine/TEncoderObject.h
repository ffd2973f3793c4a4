// TEncoderObject, the writer of one output file as the conversion job drives it, with what it is created for.
#pragma once
#include <cstdint>
#include <string>

// The pixels to cut from each edge of a source frame, stored in this order (the constructor and the codec
// library take them as left, right, top, bottom).
struct TCropRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// The abstract encoder object: a profile creates it for one run (CreateEncoderObject), the job hands it its tags,
// opens it, hands it every decoded video frame and audio block, and deletes it, which closes the output file.
// Open and the tags come from the user-interface thread; the writes, and the deletion when the job's end callback
// does it, from the decoder's thread. The job's order of operations keeps them apart, so there are no locks.
class TEncoderObject {
public:
    // Stores every argument; the four further values go to Extra1 to Extra4 in the order first, third, second,
    // fourth. The tags start empty.
    TEncoderObject(std::string outputPath, int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat,
        double sourceFrameRate, int32_t sampleRate, int32_t channels, bool fixAspectRatio, bool disableAudio,
        int32_t cropLeft, int32_t cropRight, int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2,
        int32_t extra3, int32_t extra4);
    TEncoderObject(const TEncoderObject&) = delete;
    TEncoderObject& operator=(const TEncoderObject&) = delete;
    // Closes the output file when it is still open.
    virtual ~TEncoderObject();

    // True when the output file is open for writing.
    virtual bool Open() = 0;
    // Finishes and closes the output file.
    virtual bool Close() = 0;
    // One frame in ColorFormat of SourceWidth x SourceHeight; times in seconds. True when it was accepted.
    virtual bool WriteVideo(const uint8_t* frame, double startTime, double endTime) = 0;
    // One block of interleaved signed 16-bit samples at SampleRate with Channels; times in seconds.
    virtual bool WriteAudio(const uint8_t* samples, int32_t byteCount, double startTime, double endTime) = 0;
    // Bytes written so far, as the library reports them.
    virtual int64_t GetOutputSize() = 0;

    std::string OutputPath;
    int32_t SourceWidth = 0;
    int32_t SourceHeight = 0;
    int32_t ColorFormat = 0;
    double SourceFrameRate = 0.0;
    int32_t SampleRate = 0;
    int32_t Channels = 0;
    bool FixAspectRatio = false;
    bool DisableAudio = false;
    // The source has no video: the output gets its audio only. The owner sets it, like the tags, between
    // creation and Open; the frame size and format above then describe no real frames.
    bool DisableVideo = false;
    TCropRect Crop;
    int32_t Extra1 = 0;
    int32_t Extra2 = 0;
    int32_t Extra3 = 0;
    int32_t Extra4 = 0;
    // The output's metadata; the owner sets them between creation and Open.
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Year;
    // Why the last refused call (Open, a write or Close) was refused, in the library's words ("cannot write to
    // the file: No space left on device"); empty when the library gave no reason or nothing was refused.
    std::string ErrorText;
};
