#include "framework/core/SyncObjs.h"

#include "framework/core/TThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct TCriticalSectionState {
    std::recursive_mutex Mutex;
};

TCriticalSection::TCriticalSection()
    : FState(std::make_unique<TCriticalSectionState>())
{
}

TCriticalSection::~TCriticalSection() = default;

void TCriticalSection::Acquire()
{
    FState->Mutex.lock();
}
void TCriticalSection::Release()
{
    FState->Mutex.unlock();
}
bool TCriticalSection::TryEnter()
{
    return FState->Mutex.try_lock();
}

struct TEventState {
    std::mutex Lock;
    std::condition_variable Cond;
    bool ManualReset = true;
    bool Signaled = false;
};

TEvent::TEvent(bool manualReset, bool initialState)
    : FState(std::make_unique<TEventState>())
{
    FState->ManualReset = manualReset;
    FState->Signaled = initialState;
}

TEvent::~TEvent() = default;

void TEvent::SetEvent()
{
    {
        // Notifying under the lock: a waiter that wakes may delete the event as soon as the lock is free.
        // Waiters that lose the race for an auto-reset signal go back to sleep, so waking them all is safe.
        std::lock_guard lock(FState->Lock);
        FState->Signaled = true;
        FState->Cond.notify_all();
    }
    // The main thread waits on the synchronise queue's condition instead, so it is woken there.
    WakeMainThreadWaiters();
}

void TEvent::ResetEvent()
{
    std::lock_guard lock(FState->Lock);
    FState->Signaled = false;
}

bool TEvent::TakeSignal()
{
    std::lock_guard lock(FState->Lock);
    if (!FState->Signaled)
        return false;
    if (!FState->ManualReset)
        FState->Signaled = false;
    return true;
}

TWaitResult TEvent::WaitFor(uint32_t timeoutMs)
{
    if (GetCurrentThreadId() == MainThreadID())
        return MainThreadWaitUntil([this] { return TakeSignal(); }, timeoutMs) ? wrSignaled : wrTimeout;

    TEventState& s = *FState;
    std::unique_lock lock(s.Lock);
    auto signaled = [&] { return s.Signaled; };
    if (timeoutMs == INFINITE)
        s.Cond.wait(lock, signaled);
    else if (!s.Cond.wait_for(lock, std::chrono::milliseconds(timeoutMs), signaled))
        return wrTimeout;
    if (!s.ManualReset)
        s.Signaled = false;
    return wrSignaled;
}
