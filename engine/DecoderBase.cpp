#include "engine/DecoderBase.h"

#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"

#include <system_error>
#include <thread>
#include <utility>

DecoderBase::DecoderBase(std::string fileName)
    : FileName(std::move(fileName))
{
}

DecoderBase::~DecoderBase() = default;

void DecoderBase::SetCallbacks(
    DecoderBeginCallback onBegin, DecoderVideoCallback onVideo, DecoderAudioCallback onAudio, DecoderEndCallback onEnd)
{
    BeginCallback = onBegin;
    VideoCallback = onVideo;
    AudioCallback = onAudio;
    EndCallback = onEnd;
}

void DecoderBase::SetRange(double startTime, double endTime)
{
    StartTime = startTime;
    EndTime = endTime;
}

std::exception_ptr WaitServingMainThread(const std::function<void()>& work)
{
    if (GetCurrentThreadId() != MainThreadID()) {
        work();
        return nullptr;
    }
    TSimpleEvent done;
    std::thread helper;
    try {
        helper = std::thread([&] {
            work();
            done.SetEvent();
        });
    } catch (const std::system_error&) {
        // No thread to spare: stop here, as long as no callback needs the main thread.
        work();
        return nullptr;
    }
    std::exception_ptr error;
    for (;;) {
        try {
            done.WaitFor();
            break;
        } catch (...) {
            if (!error)
                error = std::current_exception();
        }
    }
    helper.join();
    return error;
}
