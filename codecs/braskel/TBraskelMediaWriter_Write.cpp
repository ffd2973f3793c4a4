// TBraskelMediaWriter's writing side: frames onto the output frame rate's grid, audio into encoder frames, Close.
#include "codecs/braskel/TBraskelMediaWriter.h"
#include "codecs/braskel/TBraskelWriterState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

constexpr uint8_t kOk = 0;
constexpr uint8_t kFailed = 1;

// Times past this are taken for garbage rather than a position in a video (about 115 days).
constexpr double kMaxTime = 1e7;
// A gap on the frame grid is filled with repeats of the frame before it for at most this many seconds; a longer
// one stays a gap in the time stamps, which players show as a still picture too.
constexpr double kMaxRepeatSeconds = 10.0;
// The last frame lasts as long as the one before it did, but no longer than this: a source that ends on a long
// still picture must not stretch the output.
constexpr double kMaxLastFrameSeconds = 1.0;
// Audio that starts later than this is placed by its time stamp rather than behind silence.
constexpr double kMaxSilenceSeconds = 3600.0;
// Sample frames of silence pushed at a time.
constexpr int kSilenceBlock = 4096;

// RealMedia header layout: a chunk is a four-character tag and a big-endian 32-bit size (the whole chunk's).
constexpr long kRealChunkHeader = 8;
constexpr long kRealPropDuration = 30; // In "PROP", after version, four rates and sizes, and the packet count.
constexpr long kRealMdprDuration = 36; // In "MDPR", after version, stream number, four rates and sizes, start, preroll.

// FFmpeg's RealMedia muxer gives a file of AAC audio alone a duration of 0 in its header, which players take as
// the length. Writes `milliseconds` into the file's and each stream's header; false when the file is not laid
// out as expected.
bool WriteRealMediaDuration(const std::string& path, uint32_t milliseconds)
{
    FILE* file = std::fopen(path.c_str(), "r+b");
    if (!file)
        return false;
    const auto readTag = [&](long at, char tag[4], uint32_t& size) {
        unsigned char header[kRealChunkHeader];
        if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(header, 1, sizeof header, file) != sizeof header)
            return false;
        std::memcpy(tag, header, 4);
        size = uint32_t(header[4]) << 24 | uint32_t(header[5]) << 16 | uint32_t(header[6]) << 8 | header[7];
        return size >= kRealChunkHeader;
    };
    const unsigned char value[4] = { uint8_t(milliseconds >> 24), uint8_t(milliseconds >> 16),
        uint8_t(milliseconds >> 8), uint8_t(milliseconds) };
    const auto write = [&](long at) {
        return std::fseek(file, at, SEEK_SET) == 0 && std::fwrite(value, 1, 4, file) == 4;
    };
    char tag[4];
    uint32_t size = 0;
    bool written = readTag(0, tag, size) && std::memcmp(tag, ".RMF", 4) == 0;
    // The header chunks come first and end where the data does.
    for (long at = long(size); written && readTag(at, tag, size) && std::memcmp(tag, "DATA", 4) != 0; at += long(size)) {
        if (std::memcmp(tag, "PROP", 4) == 0)
            written = write(at + kRealPropDuration);
        else if (std::memcmp(tag, "MDPR", 4) == 0)
            written = write(at + kRealMdprDuration);
    }
    return std::fclose(file) == 0 && written;
}

} // namespace

uint8_t TBraskelMediaWriter::WriteVideo(const void* frame, double time)
{
    if (!FOpen)
        return Fail("the writer is not open");
    if (!frame)
        return Fail("no frame");
    if (!std::isfinite(time) || time > kMaxTime)
        return Fail("bad frame time");
    TBraskelWriterState& state = *FState;
    // A writer without a video stream takes every frame and drops it.
    if (!state.HasVideo)
        return kOk;
    time = std::max(time, 0.0);
    if (std::isfinite(state.LastTime) && time > state.LastTime)
        state.LastInterval = time - state.LastTime;
    state.LastTime = time;

    // The frame takes the grid slot nearest its time; a slot already taken keeps its first frame.
    const int64_t slot = std::llround(time * av_q2d(state.FrameRate));
    if (slot <= state.LastSlot)
        return kOk;
    if (!FillVideoUntil(slot) || !EncodePicture(frame, slot))
        return kFailed;
    return kOk;
}

bool TBraskelMediaWriter::EncodePicture(const void* source, int64_t slot)
{
    TBraskelWriterState& state = *FState;
    const AVCodecContext* context = state.Video.Context();
    // A fresh buffer for every picture: the encoder may still hold the previous one.
    TAvFramePtr picture(av_frame_alloc());
    if (!picture)
        return Failed("out of memory");
    picture->format = context->pix_fmt;
    picture->width = context->width;
    picture->height = context->height;
    picture->sample_aspect_ratio = context->sample_aspect_ratio;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return Failed("out of memory");
    if (state.Scaler.Scale(source, picture->data, picture->linesize) != TAvStatus::Ok)
        return Failed("cannot convert the frame");
    picture->pts = slot;
    picture->pkt_duration = 1;
    if (state.Video.Send(picture.get()) != TAvStatus::Ok)
        return Failed(state.Video.ErrorText());
    state.LastPicture = std::move(picture);
    state.LastSlot = slot;
    return true;
}

bool TBraskelMediaWriter::FillVideoUntil(int64_t slot)
{
    TBraskelWriterState& state = *FState;
    if (!state.LastPicture)
        return true;
    const int64_t limit = state.LastSlot + int64_t(std::ceil(kMaxRepeatSeconds * av_q2d(state.FrameRate)));
    for (int64_t next = state.LastSlot + 1; next < slot && next <= limit; ++next) {
        // The same picture again, sharing its buffer.
        TAvFramePtr repeat(av_frame_clone(state.LastPicture.get()));
        if (!repeat)
            return Failed("out of memory");
        repeat->pts = next;
        if (state.Video.Send(repeat.get()) != TAvStatus::Ok)
            return Failed(state.Video.ErrorText());
        state.LastSlot = next;
    }
    return true;
}

uint8_t TBraskelMediaWriter::WriteAudio(const void* samples, int32_t byteCount, double time)
{
    if (!FOpen)
        return Fail("the writer is not open");
    TBraskelWriterState& state = *FState;
    // A writer without an audio stream takes every block and drops it.
    if (!state.HasAudio)
        return kOk;
    const int frameBytes = 2 * state.AudioSourceChannels;
    if (byteCount < 0 || byteCount % frameBytes != 0)
        return Fail("an audio block of " + std::to_string(byteCount) + " bytes is not whole sample frames");
    if (byteCount > 0 && !samples)
        return Fail("no samples");
    if (!std::isfinite(time) || time > kMaxTime)
        return Fail("bad audio time");
    if (byteCount == 0)
        return kOk;
    if (state.NextAudioPts < 0 && !PlaceFirstAudio(time))
        return kFailed;
    if (state.Samples.Push(static_cast<const int16_t*>(samples), byteCount / frameBytes) != TAvStatus::Ok)
        return Fail("cannot convert the audio");
    return EncodeQueuedAudio(false) ? kOk : kFailed;
}

bool TBraskelMediaWriter::PlaceFirstAudio(double time)
{
    TBraskelWriterState& state = *FState;
    state.NextAudioPts = 0;
    time = std::max(time, 0.0);
    // Audio that starts after the video (camera and screen recordings) keeps its place by starting with silence:
    // AVI and RealMedia cannot carry a start offset and would play the sound that much too early. A start beyond
    // an hour is taken for a broken time stamp and only placed by its time, as the containers that can allow.
    if (time > kMaxSilenceSeconds) {
        state.NextAudioPts = std::llround(time * state.Audio.Context()->sample_rate);
        return true;
    }
    const int64_t total = std::llround(time * FSettings.SourceRate);
    const std::vector<int16_t> silence(size_t(kSilenceBlock) * state.AudioSourceChannels, 0);
    for (int64_t done = 0; done < total;) {
        const int count = int(std::min<int64_t>(kSilenceBlock, total - done));
        if (state.Samples.Push(silence.data(), count) != TAvStatus::Ok)
            return Failed("cannot convert the audio");
        if (!EncodeQueuedAudio(false))
            return false;
        done += count;
    }
    return true;
}

bool TBraskelMediaWriter::EncodeQueuedAudio(bool last)
{
    TBraskelWriterState& state = *FState;
    for (;;) {
        TAvFramePtr frame;
        if (state.Samples.Next(last, frame) != TAvStatus::Ok)
            return Failed("cannot queue the audio");
        if (!frame)
            return true;
        frame->pts = std::max<int64_t>(state.NextAudioPts, 0);
        state.NextAudioPts = frame->pts + frame->nb_samples;
        if (state.Audio.Send(frame.get()) != TAvStatus::Ok)
            return Failed(state.Audio.ErrorText());
    }
}

uint8_t TBraskelMediaWriter::Close()
{
    if (!FOpen)
        return kOk;
    const bool finished = Finish();
    FOpen = false;
    FState.reset();
    return finished ? kOk : kFailed;
}

bool TBraskelMediaWriter::Finish()
{
    TBraskelWriterState& state = *FState;
    // Every step runs even after a failure, so the file is as complete as it can be and always closed.
    bool finished = true;
    // The last frame lasts as long as the one before it did, so the video ends where its source does.
    if (state.LastPicture && state.LastInterval > 0.0) {
        const double end = state.LastTime + std::min(state.LastInterval, kMaxLastFrameSeconds);
        finished = FillVideoUntil(std::llround(end * av_q2d(state.FrameRate)));
    }
    if (state.HasVideo && state.Video.Send(nullptr) != TAvStatus::Ok)
        finished = Failed(state.Video.ErrorText());
    if (state.HasAudio) {
        if (state.NextAudioPts < 0)
            state.NextAudioPts = 0;
        if (state.Samples.Drain() != TAvStatus::Ok || !EncodeQueuedAudio(true))
            finished = false;
        if (state.Audio.Send(nullptr) != TAvStatus::Ok)
            finished = Failed(state.Audio.ErrorText());
    }
    AVFormatContext* output = state.Output.get();
    if (const int error = av_write_trailer(output); error < 0)
        finished = Failed("cannot finish " + FPath + ": " + AvErrorText(error));
    if (output->pb) {
        // Some muxers go back to rewrite their header, so the position after the trailer is not the file's size.
        const int64_t size = avio_size(output->pb);
        FWrittenSize = size >= 0 ? size : avio_tell(output->pb);
        if (!(output->oformat->flags & AVFMT_NOFILE)) {
            // Closing writes what is still buffered, so a full disk may first show here.
            if (const int error = avio_closep(&output->pb); error < 0)
                finished = Failed("cannot close " + FPath + ": " + AvErrorText(error));
        }
    }
    if (finished && !state.HasVideo && state.HasAudio && std::strcmp(output->oformat->name, "rm") == 0) {
        const double seconds = double(std::max<int64_t>(state.NextAudioPts, 0)) / state.Audio.Context()->sample_rate;
        if (!WriteRealMediaDuration(FPath, uint32_t(std::llround(std::min(seconds * 1000.0, 4e9)))))
            finished = Failed("cannot write the length into " + FPath);
    }
    return finished;
}
