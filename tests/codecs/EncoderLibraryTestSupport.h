// Helpers of the two encoder libraries' suites: frames and tone blocks to feed, and the written file read back.
#pragma once
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

// A planar Y,U,V frame (colour code 5) of the size: a grey picture with a light bar that moves with `index`.
inline std::vector<uint8_t> TestYuvFrame(int width, int height, int index)
{
    const size_t luma = size_t(width) * height;
    const size_t chroma = size_t((width + 1) / 2) * ((height + 1) / 2);
    std::vector<uint8_t> frame(luma + 2 * chroma, 128);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            frame[size_t(y) * width + x] = (x + index * 4) % width < width / 4 ? 220 : 90;
    }
    return frame;
}

// `frames` sample frames of a 440 Hz tone, interleaved signed 16-bit, starting at sample frame `first`.
inline std::vector<int16_t> TestToneBlock(int sampleRate, int channels, int frames, int64_t first)
{
    std::vector<int16_t> samples(size_t(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double t = double(first + i) / sampleRate;
        const auto value = int16_t(8000 * std::sin(2 * std::numbers::pi * 440.0 * t));
        for (int c = 0; c < channels; ++c)
            samples[size_t(i) * channels + c] = value;
    }
    return samples;
}

// What a library run gets fed: frames of the size at the rate, and tone blocks of a tenth of a second.
struct TFeed {
    double Seconds = 1.0;
    int Width = 64;
    int Height = 48;
    double FrameRate = 10.0;
    int SampleRate = 44100;
    int Channels = 2; // 0: no audio blocks.
};

using TVideoSink = std::function<bool(const void* frame, double start, double end)>;
using TAudioSink = std::function<bool(const void* samples, int32_t byteCount, double start, double end)>;

// Feeds frames and blocks in time order; true when the sinks took every one.
inline bool FeedRun(const TFeed& feed, const TVideoSink& video, const TAudioSink& audio)
{
    const int frameCount = int(std::lround(feed.Seconds * feed.FrameRate));
    const int blockFrames = feed.SampleRate / 10;
    const int blockCount = feed.Channels ? int(std::lround(feed.Seconds * 10)) : 0;
    bool accepted = true;
    int block = 0;
    for (int i = 0; i < frameCount; ++i) {
        const double start = i / feed.FrameRate;
        while (block < blockCount && block / 10.0 <= start) {
            const std::vector<int16_t> samples
                = TestToneBlock(feed.SampleRate, feed.Channels, blockFrames, int64_t(block) * blockFrames);
            accepted
                &= audio(samples.data(), int32_t(samples.size() * sizeof(int16_t)), block / 10.0, (block + 1) / 10.0);
            ++block;
        }
        const std::vector<uint8_t> frame = TestYuvFrame(feed.Width, feed.Height, i);
        accepted &= video(frame.data(), start, start + 1 / feed.FrameRate);
    }
    for (; block < blockCount; ++block) {
        const std::vector<int16_t> samples
            = TestToneBlock(feed.SampleRate, feed.Channels, blockFrames, int64_t(block) * blockFrames);
        accepted &= audio(samples.data(), int32_t(samples.size() * sizeof(int16_t)), block / 10.0, (block + 1) / 10.0);
    }
    return accepted;
}

// The written file read back; fails the test when it cannot be read.
inline TProbedFile ReadBackFile(const std::string& path)
{
    TProbedFile file;
    std::string error;
    EXPECT_TRUE(ProbeMediaFile(path, file, &error)) << path << ": " << error;
    return file;
}

// A 1024-byte name buffer prefilled with garbage, so a name the library does not terminate shows.
struct TNameBuffer {
    TNameBuffer() { std::fill(std::begin(Bytes), std::end(Bytes), 'x'); }
    char Bytes[1024];
    std::string Text() const { return std::string(Bytes, strnlen(Bytes, sizeof Bytes)); }
};
