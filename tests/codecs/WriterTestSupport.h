// Shared helpers of the media writer's suites: source frames and tone, and a writer driven as the engine drives it.
#pragma once
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/avcore/TAvImageConverter.h"
#include "codecs/braskel/Braskel.h"
#include "codecs/braskel/TBraskelMediaWriter.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "codecs/testclips/TestPicture.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct TWriterDeleter {
    void operator()(MediaWriter* writer) const { Braskel_ReleaseMediaWriter(writer); }
};
using TWriterPtr = std::unique_ptr<MediaWriter, TWriterDeleter>;

// A source frame in the colour code showing the test picture (red top band, frame number cells at the bottom).
inline std::vector<uint8_t> MakeSourceFrame(int width, int height, int number, int colorFormat = 5)
{
    std::vector<uint8_t> frame(size_t(AvColorFrameSize(TAvColorCode::Yuv420, width, height)));
    const TAvColorPlanes planes = AvColorPlanes(TAvColorCode::Yuv420, width, height, frame.data());
    DrawTestPicture(planes.Data[0], planes.Stride[0], planes.Data[1], planes.Stride[1], planes.Data[2],
        planes.Stride[2], width, height, number);
    if (colorFormat == 5)
        return frame;
    TAvImageConverter converter;
    EXPECT_EQ(converter.Init(width, height, TAvColorCode::Yuv420, TAvColorCode(colorFormat)), TAvStatus::Ok);
    std::vector<uint8_t> converted(size_t(converter.OutputSize()));
    EXPECT_EQ(converter.Convert(frame.data(), converted.data()), TAvStatus::Ok);
    return converted;
}

// Interleaved 16-bit samples of a 440 Hz tone, starting at sample `first`.
inline std::vector<int16_t> MakeTone(int rate, int channels, int64_t first, int count)
{
    std::vector<int16_t> samples(size_t(count) * channels);
    for (int i = 0; i < count; ++i) {
        const double value = 0.3 * std::sin(2.0 * M_PI * 440.0 * double(first + i) / rate);
        for (int channel = 0; channel < channels; ++channel)
            samples[size_t(i) * channels + channel] = int16_t(std::lround(value * 32767));
    }
    return samples;
}

// What a writer is asked to write: the calls of an encoder object, in its order.
struct TWriterJob {
    std::string Format = "mp4";
    std::string VideoCodec = "mpeg4";
    std::string AudioCodec = "aac"; // Empty: no SetAudioCodec and no SetAudioParams.
    int OutputWidth = 160;
    int OutputHeight = 120;
    int VideoBitRate = 400000;
    double FrameRate = 23.97;
    int SourceWidth = 160;
    int SourceHeight = 120;
    int ColorFormat = 5;
    int CropLeft = 0;
    int CropRight = 0;
    int CropTop = 0;
    int CropBottom = 0;
    int OutputRate = 44100;
    int OutputChannels = 2;
    int AudioBitRate = 96000;
    int SourceRate = 44100;
    int SourceChannels = 2;
    std::vector<std::pair<std::string, std::string>> Options; // Sent in order, after the parameters.
    // The source: `Seconds` of frames at `SourceFrameRate` and of tone in blocks of a tenth of a second.
    double Seconds = 2.0;
    double SourceFrameRate = 10.0;
};

// Configures the writer as the job says; false (with the writer's reason in `error`) at the first refusal.
inline bool ConfigureWriter(MediaWriter& writer, const TWriterJob& job, std::string& error)
{
    const auto check = [&](uint8_t result, const char* what) {
        if (result != 0)
            error = std::string(what) + ": " + static_cast<TBraskelMediaWriter&>(writer).ErrorText();
        return result == 0;
    };
    if (!check(writer.SetFormat(job.Format.c_str()), "SetFormat")
        || !check(writer.SetVideoParams(job.OutputWidth, job.OutputHeight, job.VideoBitRate, job.FrameRate,
                      job.SourceWidth, job.SourceHeight, job.ColorFormat, job.CropLeft, job.CropRight, job.CropTop,
                      job.CropBottom, 0, 0, 0, 0),
            "SetVideoParams")
        || !check(writer.SetVideoCodec(job.VideoCodec.c_str()), "SetVideoCodec"))
        return false;
    if (!job.AudioCodec.empty()
        && (!check(writer.SetAudioCodec(job.AudioCodec.c_str()), "SetAudioCodec")
            || !check(writer.SetAudioParams(
                          job.OutputRate, job.OutputChannels, job.AudioBitRate, job.SourceRate, job.SourceChannels),
                "SetAudioParams")))
        return false;
    for (const auto& [name, value] : job.Options) {
        if (!check(writer.SetOption(name.c_str(), value.c_str()), "SetOption"))
            return false;
    }
    return true;
}

// Writes the source into the opened writer, video and audio interleaved by time as a decoder delivers them.
inline bool FeedWriter(MediaWriter& writer, const TWriterJob& job, std::string& error)
{
    const int frames = int(std::lround(job.Seconds * job.SourceFrameRate));
    const int blockSamples = job.SourceRate / 10;
    const int64_t totalSamples = std::llround(job.Seconds * job.SourceRate);
    int frame = 0;
    int64_t sample = 0;
    while (frame < frames || (!job.AudioCodec.empty() && sample < totalSamples)) {
        const double videoTime = frame / job.SourceFrameRate;
        const double audioTime = double(sample) / job.SourceRate;
        if (frame < frames && (job.AudioCodec.empty() || sample >= totalSamples || videoTime <= audioTime)) {
            const std::vector<uint8_t> picture
                = MakeSourceFrame(job.SourceWidth, job.SourceHeight, frame, job.ColorFormat);
            if (writer.WriteVideo(picture.data(), videoTime) != 0) {
                error = "WriteVideo: " + static_cast<TBraskelMediaWriter&>(writer).ErrorText();
                return false;
            }
            ++frame;
        } else {
            const int count = int(std::min<int64_t>(blockSamples, totalSamples - sample));
            const std::vector<int16_t> tone = MakeTone(job.SourceRate, job.SourceChannels, sample, count);
            if (writer.WriteAudio(tone.data(), int32_t(tone.size() * 2), audioTime) != 0) {
                error = "WriteAudio: " + static_cast<TBraskelMediaWriter&>(writer).ErrorText();
                return false;
            }
            sample += count;
        }
    }
    return true;
}

// Configures, opens, feeds and closes a writer on `path`.
inline bool WriteJob(const std::string& path, const TWriterJob& job, std::string& error)
{
    TWriterPtr writer(Braskel_CreateMediaWriter(path.c_str()));
    if (!writer)
        return error = "no writer", false;
    if (!ConfigureWriter(*writer, job, error))
        return false;
    if (writer->Open() != 0)
        return error = "Open: " + static_cast<TBraskelMediaWriter&>(*writer).ErrorText(), false;
    if (!FeedWriter(*writer, job, error))
        return false;
    if (writer->Close() != 0)
        return error = "Close: " + static_cast<TBraskelMediaWriter&>(*writer).ErrorText(), false;
    return true;
}
