// TAvDemuxer: an opened media file, its streams in file order, packet reading and seeking.
#pragma once
#include "codecs/avcore/AvHandles.h"
#include "codecs/avcore/TAvStatus.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TAvMediaKind { Video, Audio, Other };

// What the probe reports of one stream. Streams we could not decode (no size, no rate, unknown codec) are
// listed as Other.
struct TAvStreamInfo {
    TAvMediaKind Kind = TAvMediaKind::Other;
    int Index = -1; // FFmpeg's stream index.
    std::string CodecName;
    // The size and display aspect as the picture is shown: a stream stored turned (a phone held upright) reports
    // them upright, and its decoded frames are turned to match.
    int Width = 0;
    int Height = 0;
    int AspectX = 0; // Display aspect, reduced; 0:1 when the file does not say.
    int AspectY = 1;
    int Rotation = 0; // 0, 90, 180 or 270: degrees clockwise that turn a decoded frame upright.
    double FrameRate = 0.0;
    int SampleRate = 0;
    int Channels = 0;
};

class TAvDemuxer final {
public:
    TAvDemuxer();
    ~TAvDemuxer();

    // Opens the file and reads enough of it to know its streams. A file without any decodable audio or video
    // stream is refused, so a text file under a video extension never counts as opened.
    TAvStatus Open(const std::string& fileName);
    void Close();
    bool IsOpen() const { return FContext != nullptr; }

    const std::vector<TAvStreamInfo>& Streams() const { return FStreams; }
    AVStream* Stream(int index) const;
    // Seconds; 0 when the file does not say.
    double Duration() const { return FDuration; }

    // The next packet of any stream. EndOfStream at the end; a read error cuts the file short there.
    TAvStatus ReadPacket(AVPacket* packet);
    // Moves to the key frame at or before `seconds` (from the start of the file) of the given stream.
    TAvStatus Seek(double seconds, int streamIndex);
    // A time stamp of the stream in seconds from the start of the file (the container's start time is 0).
    double TimeOf(int64_t timestamp, int streamIndex) const;
    // FFmpeg's index of the stream of that kind a player would pick by default (the file's default
    // disposition, then the best-described stream), or -1 when there is none.
    int BestStream(TAvMediaKind kind) const;

    const std::string& ErrorText() const { return FErrorText; }

private:
    TAvStatus Fail(int error, const std::string& what);

    TAvInputContextPtr FContext;
    std::vector<TAvStreamInfo> FStreams;
    double FDuration = 0.0;
    double FStartOffset = 0.0;
    std::string FErrorText;
};
