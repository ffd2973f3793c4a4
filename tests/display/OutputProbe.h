// What ffprobe reads in a converted file: its container, its first video and audio streams and its length, so
// the display tests check the program's outputs with a tool of its own.
#pragma once
#include <string>

struct TOutputProbe {
    bool Readable = false; // ffprobe opened the file and found at least one stream.
    std::string Error; // What ffprobe said when it could not.
    std::string Format; // The demuxer's name ("mov,mp4,m4a,3gp,3g2,mj2", "avi", "flv").
    double Duration = 0.0; // Seconds, as the container says.
    std::string VideoCodec; // Empty when there is no video stream.
    int Width = 0;
    int Height = 0;
    std::string AudioCodec; // Empty when there is no audio stream.
    std::string DisplayAspect; // The first video stream's display aspect ratio ("16:9"), as ffprobe gives it.
    std::string Title; // The file's title tag.
    int VideoStreams = 0;
    int AudioStreams = 0;
};

// Runs ffprobe on the file.
TOutputProbe ProbeOutput(const std::string& path);
// One line for test messages: "mp4 h264 320x240 1.00 s, aac".
std::string Describe(const TOutputProbe& probe);
