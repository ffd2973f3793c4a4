// The test clip maker: small media files written with libav directly, in any container and codecs, showing the
// test picture and a tone; plus the standard clips the suites share.
#pragma once
#include <string>
#include <vector>

struct TTestVideoStream {
    std::string Codec = "mpeg4"; // An FFmpeg encoder name.
    int Width = 64;
    int Height = 48;
    int FrameRateNum = 10;
    int FrameRateDen = 1;
    int AspectNum = 0; // Sample aspect; 0 leaves it unset.
    int AspectDen = 1;
    bool Moving = false; // A moving, noisy picture instead of a still one (see DrawTestPicture).
    // When ResizeAt is positive, frames from that time on are coded at ResizeWidth x ResizeHeight by a fresh
    // encoder. Only for containers without global headers (AVI, MPEG-TS).
    double ResizeAt = 0.0;
    int ResizeWidth = 0;
    int ResizeHeight = 0;
    // 90, 180 or 270: the picture is stored turned that many degrees counterclockwise, in a Width x Height frame,
    // and the stream's display matrix turns it back, so players show it upright (as phones record). Containers
    // with a track matrix only (MP4, MOV).
    int Rotation = 0;
};

struct TTestAudioStream {
    std::string Codec = "aac";
    int SampleRate = 44100;
    int Channels = 2;
    double ToneHz = 440.0;
    int ToneChannel = -1; // -1 puts the tone in every channel; otherwise only that channel sounds.
    double StartAt = 0.0; // Seconds after the video's start where the stream's first sample lies.
};

struct TTestClipSpec {
    std::string Container = "mp4"; // An FFmpeg muxer name.
    double Duration = 1.0; // Seconds.
    std::vector<TTestVideoStream> Video; // Written first, in this order, then the audio streams.
    std::vector<TTestAudioStream> Audio;
};

// Writes the clip; on failure returns false with the reason in `error` and leaves no promise about the file.
bool MakeTestClip(const std::string& path, const TTestClipSpec& spec, std::string* error = nullptr);

// The clips the suites share, all 1 s long. Frame numbers and a red top band on every picture.
enum class TTestClipKind {
    Mp4H264Aac, // mp4: libx264 64x48 10 fps SAR 1:1, aac 44100 Hz stereo.
    AviMpeg4Mp3, // avi: mpeg4 64x48 10 fps, libmp3lame 44100 Hz stereo.
    MkvTwoVideoTwoAudio, // matroska: mpeg4 64x48 10 fps, mpeg4 96x64 15 fps, aac 44100 Hz stereo, aac 22050 Hz mono.
    Wmv, // asf: wmv2 64x48 10 fps, wmav2 44100 Hz stereo.
    Flv, // flv: flv1 64x48 10 fps, libmp3lame 44100 Hz stereo.
    MpegProgram, // mpeg: mpeg1video 64x48 25 fps, mp2 44100 Hz stereo.
    VideoOnly, // mp4: mpeg4 64x48 10 fps.
    AudioOnly, // mp3: libmp3lame 44100 Hz stereo.
    OddSize, // mp4: mpeg4 175x143 10 fps, aac 44100 Hz mono.
};

TTestClipSpec TestClipSpec(TTestClipKind kind);
// The usual file extension of the kind's container, dot included.
std::string TestClipExtension(TTestClipKind kind);
