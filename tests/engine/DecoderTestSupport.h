// The decoder tests' shared parts: a recorder of every decoder callback, and clips made on the fly.
#pragma once
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/DecoderBase.h"
#include "framework/core/TThread.h"
#include "tests/codecs/TCallbackLog.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct TCall {
    char Kind = 0; // 'B'egin, 'V'ideo, 'A'udio, 'E'nd.
    uint64_t Thread = 0;
    double Start = 0.0;
    double End = 0.0;
    int32_t Bytes = 0;
};

// Records every callback of the decoder under test. The callbacks are plain functions, so they reach the
// recorder through one global that the test installs for its lifetime.
class TDecoderRecorder : public TCallbackLog<TCall> {
public:
    TDecoderRecorder() { Current = this; }
    ~TDecoderRecorder() { Current = nullptr; }

    void Install(DecoderBase& decoder) { decoder.SetCallbacks(&OnBegin, &OnVideo, &OnAudio, &OnEnd); }

    // Called on the decoding thread after the numbered video frame (1-based) is recorded.
    std::function<void(int videoCount)> AfterVideo;

    // Forget the calls so far (a new start follows).
    void Reset()
    {
        std::lock_guard lock(FLock);
        FCalls.clear();
        FFormats.clear();
        FStopped = false;
    }

    int64_t AudioBytes() const
    {
        int64_t bytes = 0;
        for (const TCall& call : Calls())
            bytes += call.Kind == 'A' ? call.Bytes : 0;
        return bytes;
    }
    std::vector<StreamFormat> Formats() const
    {
        std::lock_guard lock(FLock);
        return FFormats;
    }

private:
    static bool OnBegin(StreamFormat* format)
    {
        TDecoderRecorder* self = Current;
        std::lock_guard lock(self->FLock);
        self->FFormats.push_back(*format);
        self->Add({ 'B', GetCurrentThreadId() });
        return true;
    }
    static bool OnVideo(double start, double end, void*)
    {
        TDecoderRecorder* self = Current;
        int count = 0;
        {
            std::lock_guard lock(self->FLock);
            self->Add({ 'V', GetCurrentThreadId(), start, end });
            count = self->CountLocked('V');
        }
        if (self->AfterVideo)
            self->AfterVideo(count);
        return true;
    }
    static bool OnAudio(double start, double end, void*, int32_t bytes)
    {
        TDecoderRecorder* self = Current;
        std::lock_guard lock(self->FLock);
        self->Add({ 'A', GetCurrentThreadId(), start, end, bytes });
        return true;
    }
    static bool OnEnd()
    {
        TDecoderRecorder* self = Current;
        std::lock_guard lock(self->FLock);
        self->Add({ 'E', GetCurrentThreadId() });
        return true;
    }

    static inline std::atomic<TDecoderRecorder*> Current { nullptr };
    std::vector<StreamFormat> FFormats;
};

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
