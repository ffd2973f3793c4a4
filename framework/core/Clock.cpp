#include "framework/core/Clock.h"

#include <chrono>
#include <thread>
#include <time.h>

namespace {

std::atomic<TTickSource*> CurrentSource { nullptr };

} // namespace

TTickSource::~TTickSource() = default;

void TManualClock::SleepFor(uint32_t ms)
{
    Advance(ms);
    std::this_thread::yield();
}

uint64_t GetTickCount64()
{
    if (TTickSource* source = CurrentSource.load())
        return source->Milliseconds();
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1'000'000;
}

uint32_t GetTickCount()
{
    return static_cast<uint32_t>(GetTickCount64());
}

void Sleep(uint32_t ms)
{
    if (TTickSource* source = CurrentSource.load()) {
        source->SleepFor(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetTickSource(TTickSource* source)
{
    CurrentSource.store(source);
}

TTickSource* CurrentTickSource()
{
    return CurrentSource.load();
}
