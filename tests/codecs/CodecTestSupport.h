// Shared helpers of the codec suites: clip making and a recorder behind the reader's plain callbacks.
#pragma once
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "tests/codecs/TCallbackLog.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Writes a clip into the folder and returns its path; fails the test when the clip cannot be made.
inline std::string MakeClip(const TTestFolder& folder, const std::string& name, const TTestClipSpec& spec)
{
    const std::string path = folder.File(name);
    std::string error;
    EXPECT_TRUE(MakeTestClip(path, spec, &error)) << name << ": " << error;
    return path;
}

inline std::string MakeClip(const TTestFolder& folder, TTestClipKind kind)
{
    return MakeClip(folder, "clip" + std::to_string(int(kind)) + TestClipExtension(kind), TestClipSpec(kind));
}

// Releases a reader at the end of a scope.
struct TReaderDeleter {
    void operator()(MediaReader* reader) const { Braskel_ReleaseMediaReader(reader); }
};
using TReaderPtr = std::unique_ptr<MediaReader, TReaderDeleter>;

// One callback as the recorder saw it.
struct TRecordedCall {
    char Kind = 0; // 'B'egin, 'V'ideo, 'A'udio, 'E'nd.
    double Start = 0.0;
    double End = 0.0;
    int32_t Bytes = 0;
    std::thread::id Thread;
    std::vector<uint8_t> Data; // A copy of the frame or samples.
};

// Collects every callback of the reader under test. The reader's callbacks carry no user pointer, so the
// recorder is reached through one global that the test installs for its lifetime.
class TReaderRecorder : public TCallbackLog<TRecordedCall> {
public:
    TReaderRecorder() { Current() = this; }
    ~TReaderRecorder() { Current() = nullptr; }

    static TReaderRecorder*& Current()
    {
        static TReaderRecorder* current = nullptr;
        return current;
    }

    // The open parameters that route every callback here.
    static MediaReaderOpenParams Params(int32_t colorFormat)
    {
        MediaReaderOpenParams params;
        params.Marker0 = params.Marker1 = 1;
        params.ColorFormat = colorFormat;
        params.Begin = &OnBegin;
        params.Video = &OnVideo;
        params.Audio = &OnAudio;
        params.End = &OnEnd;
        return params;
    }

    // Which video stream the frames come from (their size follows that record).
    int VideoStream = 0;
    // When set, called on the decoding thread after each video frame is recorded; its result is the callback's.
    std::function<bool(int frameCount)> AfterVideo;

    MediaReaderInfo BeginInfo() const
    {
        std::lock_guard lock(FLock);
        return FBeginInfo;
    }

private:
    static bool OnBegin(MediaReaderInfo* info)
    {
        TReaderRecorder* self = Current();
        std::lock_guard lock(self->FLock);
        self->FBeginInfo = *info;
        self->Add(TRecordedCall { 'B', 0.0, 0.0, 0, std::this_thread::get_id(), {} });
        return true;
    }

    static bool OnVideo(double start, double end, void* frame)
    {
        TReaderRecorder* self = Current();
        int count = 0;
        {
            std::lock_guard lock(self->FLock);
            const MediaReaderVideoStream& stream = self->FBeginInfo.VideoStreams[self->VideoStream];
            const int64_t size
                = AvColorFrameSize(TAvColorCode(self->FBeginInfo.ColorFormat), stream.Width, stream.Height);
            const auto* bytes = static_cast<const uint8_t*>(frame);
            self->Add(TRecordedCall { 'V', start, end, int32_t(size), std::this_thread::get_id(),
                std::vector<uint8_t>(bytes, bytes + (size > 0 ? size : 0)) });
            count = self->CountLocked('V');
        }
        return self->AfterVideo ? self->AfterVideo(count) : true;
    }

    static bool OnAudio(double start, double end, void* samples, int32_t bytes)
    {
        TReaderRecorder* self = Current();
        std::lock_guard lock(self->FLock);
        const auto* data = static_cast<const uint8_t*>(samples);
        self->Add(TRecordedCall {
            'A', start, end, bytes, std::this_thread::get_id(), std::vector<uint8_t>(data, data + bytes) });
        return true;
    }

    static bool OnEnd()
    {
        TReaderRecorder* self = Current();
        std::lock_guard lock(self->FLock);
        self->Add(TRecordedCall { 'E', 0.0, 0.0, 0, std::this_thread::get_id(), {} });
        return true;
    }

    MediaReaderInfo FBeginInfo {};
};

// A reader for the file, opened with the recorder's callbacks and the colour code.
inline TReaderPtr OpenReader(const std::string& path, int32_t colorFormat)
{
    TReaderPtr reader(Braskel_CreateMediaReader(path.c_str()));
    MediaReaderOpenParams params = TReaderRecorder::Params(colorFormat);
    EXPECT_EQ(reader->Open(&params), 0) << path;
    return reader;
}

// The text of the call kinds in order ("BVVAE"), for order checks.
inline std::string CallOrder(const std::vector<TRecordedCall>& calls)
{
    std::string order;
    for (const TRecordedCall& call : calls)
        order += call.Kind;
    return order;
}
