// Reading a written media file back for tests: its container, streams, tags and a decoded picture, as plain values.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TProbedStream {
    bool Video = false;
    bool Audio = false; // Neither: a data stream (a DVD's navigation packets).
    std::string Codec; // FFmpeg's codec name ("mpeg4", "aac").
    uint32_t CodecTag = 0; // The container's four-character code, when it stores one.
    int Width = 0;
    int Height = 0;
    int AspectNum = 0; // The sample aspect ratio, 0:1 when unset.
    int AspectDen = 1;
    double FrameRate = 0.0; // The stream's frame rate as the demuxer sees it (r_frame_rate).
    int SampleRate = 0;
    int Channels = 0;
    int64_t BitRate = 0; // As the container or the stream's header says; 0 when neither does.
    int64_t Packets = 0;
    int64_t KeyPackets = 0;
    // Seconds of coded media. Video: the packets' durations added up (a packet without one counts one frame at
    // FrameRate), so a gap in the time stamps does not count. Audio: the decoded samples over the rate.
    double Duration = 0.0;
    // Seconds from the file's start to the stream's first packet.
    double Start = 0.0;
    // Audio: seconds from the file's start to the first decoded sample louder than a whisper; -1 when none is.
    double SoundStart = -1.0;
};

struct TProbedFile {
    std::string Container; // The demuxer's name ("avi", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg", "flv").
    std::map<std::string, std::string> Tags; // The file's metadata, keys in lower case.
    double Duration = 0.0; // Seconds, as the container's header tells a player; 0 when it tells none.
    std::vector<TProbedStream> Streams; // In file order.

    const TProbedStream* FirstVideo() const;
    const TProbedStream* FirstAudio() const;
};

// Opens the file, reads every packet and decodes the audio; false with the reason in `error` when it cannot.
bool ProbeMediaFile(const std::string& path, TProbedFile& file, std::string* error = nullptr);

// The first decoded picture of the first video stream as unpadded I420 (Y, then U, then V).
struct TProbedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Planes;

    uint8_t Y(int x, int y) const { return Planes[size_t(y) * Width + x]; }
    uint8_t U(int x, int y) const { return Planes[size_t(Width) * Height + size_t(y / 2) * ((Width + 1) / 2) + x / 2]; }
    uint8_t V(int x, int y) const
    {
        const size_t chroma = size_t((Width + 1) / 2) * ((Height + 1) / 2);
        return Planes[size_t(Width) * Height + chroma + size_t(y / 2) * ((Width + 1) / 2) + x / 2];
    }
};

bool DecodeFirstPicture(const std::string& path, TProbedPicture& picture, std::string* error = nullptr);

// Lets FFmpeg print errors only, so a suite's output stays readable.
void QuietMediaLogs();
