// The ffmpeg command line that converts as the default MP4 profile does, for the benchmarks that hold a conversion
// of ours against ffmpeg's.
#pragma once
#include <string>
#include <vector>

// The default MP4 profile as the writer applies it: MPEG-4 Part 2 at 320 x 240, 23.97 frames per second and
// 768 kbit/s held constant, AAC at 48 kHz in stereo at 96 kbit/s, bit-exact.
inline std::vector<std::string> FfmpegMp4Command(const std::string& source, const std::string& output)
{
    return { "ffmpeg", "-nostdin", "-v", "error", "-i", source, "-c:v", "mpeg4", "-s", "320x240", "-r", "23.97",
        "-b:v", "768k", "-maxrate", "768k", "-minrate", "768k", "-bufsize", "768k", "-c:a", "aac", "-ar", "48000",
        "-ac", "2", "-b:a", "96k", "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact", "-f",
        "mp4", "-y", output };
}
