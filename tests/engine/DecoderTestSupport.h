// The decoder tests' shared parts: a recorder of every decoder callback, and clips made on the fly.
#pragma once
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/DecoderBase.h"
#include "framework/core/TThread.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
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
class TDecoderRecorder {
public:
    TDecoderRecorder() { Current = this; }
    ~TDecoderRecorder() { Current = nullptr; }
    TDecoderRecorder(const TDecoderRecorder&) = delete;
    TDecoderRecorder& operator=(const TDecoderRecorder&) = delete;

    void Install(DecoderBase& decoder) { decoder.SetCallbacks(&OnBegin, &OnVideo, &OnAudio, &OnEnd); }

    // Called on the decoding thread after the numbered video frame (1-based) is recorded.
    std::function<void(int videoCount)> AfterVideo;

    // From now on every callback counts as a fault.
    void MarkStopped()
    {
        std::lock_guard lock(FLock);
        FStopped = true;
    }
    // Forget the calls so far (a new start follows).
    void Reset()
    {
        std::lock_guard lock(FLock);
        FCalls.clear();
        FFormats.clear();
        FStopped = false;
    }

    std::vector<TCall> Calls() const
    {
        std::lock_guard lock(FLock);
        return FCalls;
    }
    std::string Order() const
    {
        std::string order;
        for (const TCall& call : Calls())
            order += call.Kind;
        return order;
    }
    int Count(char kind) const
    {
        const std::string order = Order();
        return int(std::count(order.begin(), order.end(), kind));
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
    int CallsAfterStop() const
    {
        std::lock_guard lock(FLock);
        return FCallsAfterStop;
    }

    // Waits (without polling) until `count` callbacks of the kind have arrived; false after 20 s.
    bool WaitFor(char kind, int count) const
    {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, std::chrono::seconds(20), [&] {
            return std::count_if(FCalls.begin(), FCalls.end(), [&](const TCall& call) { return call.Kind == kind; })
                >= count;
        });
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
            count = int(std::count_if(
                self->FCalls.begin(), self->FCalls.end(), [](const TCall& call) { return call.Kind == 'V'; }));
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

    void Add(const TCall& call)
    {
        FCallsAfterStop += FStopped;
        FCalls.push_back(call);
        FChanged.notify_all();
    }

    static inline std::atomic<TDecoderRecorder*> Current { nullptr };
    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    std::vector<TCall> FCalls;
    std::vector<StreamFormat> FFormats;
    bool FStopped = false;
    int FCallsAfterStop = 0;
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
