#include "framework/core/TThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <pthread.h>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>

std::function<void()> WakeMainThread;

namespace {

// A Synchronize call waiting on its thread's stack for the main thread to run it.
struct TSyncRequest {
    bool Done = false;
    std::exception_ptr Error;
};

struct TSyncEntry {
    uint64_t Seq = 0;
    TThread* Thread = nullptr;
    std::function<void()> Method;
    TSyncRequest* Request = nullptr; // null for a queued call that nobody waits for
};

// The calls waiting for the main thread. One condition variable wakes the main thread both for a new
// call and for whatever it is waiting for (a thread that ended, an event that was set), so every
// main-thread wait serves the queue without polling.
struct TSyncQueue {
    std::mutex Lock;
    std::condition_variable MainWake;
    std::condition_variable RequestDone;
    std::deque<TSyncEntry> Entries;
    uint64_t NextSeq = 1;
};

// Never destroyed: detached threads that free themselves may still queue calls while the process exits.
TSyncQueue& SyncQueue()
{
    static TSyncQueue* queue = new TSyncQueue;
    return *queue;
}

bool IsMainThread()
{
    // Asked on every pass of the message loop: the answer cannot change for a thread, so it is worked out once per
    // thread instead of costing two system calls each time.
    static thread_local const bool main = gettid() == getpid();
    return main;
}

void CallWakeMainThread() noexcept
{
    if (!WakeMainThread)
        return;
    try {
        WakeMainThread();
    } catch (...) {
        // The call is already queued; the hook only hurries the main thread along.
    }
}

void Push(TThread* thread, std::function<void()> method, TSyncRequest* request)
{
    TSyncQueue& queue = SyncQueue();
    {
        std::lock_guard lock(queue.Lock);
        queue.Entries.push_back(TSyncEntry { queue.NextSeq++, thread, std::move(method), request });
    }
    queue.MainWake.notify_all();
    CallWakeMainThread();
}

// Drops the queued calls of a thread that is going away. Synchronize calls are never pending here:
// their thread waits inside Synchronize until they have run.
void RemoveQueuedCalls(TThread* thread)
{
    TSyncQueue& queue = SyncQueue();
    std::deque<TSyncEntry> dropped;
    std::lock_guard lock(queue.Lock);
    for (auto it = queue.Entries.begin(); it != queue.Entries.end();) {
        if (it->Thread == thread && !it->Request) {
            dropped.push_back(std::move(*it));
            it = queue.Entries.erase(it);
        } else {
            ++it;
        }
    }
    // `dropped` is destroyed after the lock is released (declared first), so a captured object's
    // destructor may queue calls again.
}

} // namespace

struct TThreadState {
    bool CreateSuspended = false;
    std::atomic<bool> Started { false };
    std::atomic<bool> Terminated { false };
    std::atomic<bool> Finished { false };
    std::atomic<bool> FreeOnTerminate { false };
    std::atomic<int> ReturnValue { 0 };
    std::thread Handle;
    std::mutex JoinLock;

    // Guards the start handshake, ThreadID and FatalException.
    mutable std::mutex Lock;
    std::condition_variable StartCond;
    uint64_t ThreadID = 0;
    bool GateOpen = false;
    std::exception_ptr FatalException;

    // Guarded by the sync queue's lock, which main-thread waits hold while they test it.
    bool Ended = false;
};

TThread::TThread(bool createSuspended)
    : FState(std::make_unique<TThreadState>())
{
    FState->CreateSuspended = createSuspended;
}

TThread::~TThread()
{
    TThreadState& s = *FState;
    if (s.Started) {
        if (s.Handle.get_id() == std::this_thread::get_id()) {
            // A FreeOnTerminate thread deleting itself at the very end of its run.
            s.Handle.detach();
        } else {
            // Never destroy a running thread. Terminate here reaches only the base TerminatedSet.
            Terminate();
            for (;;) {
                try {
                    WaitUntilEnded();
                    break;
                } catch (...) {
                    // A call that the main thread ran while waiting threw; a destructor cannot pass
                    // that on, and the thread still has to be joined.
                }
            }
        }
    }
    RemoveQueuedCalls(this);
}

void TThread::AfterConstruction()
{
    if (!FState->CreateSuspended)
        Start();
}

void TThread::Start()
{
    TThreadState& s = *FState;
    if (s.Started.exchange(true))
        throw EThread("Cannot call Start on a running or terminated thread");
    try {
        s.Handle = std::thread([this] { ThreadProc(); });
    } catch (const std::system_error& error) {
        s.Started = false;
        throw EThread(std::string("Thread creation error: ") + error.what());
    }
    // The new thread waits at a gate until Handle is assigned: a FreeOnTerminate thread may delete
    // itself as soon as it passes, and nothing here may touch the object after that.
    std::unique_lock lock(s.Lock);
    s.StartCond.wait(lock, [&] { return s.ThreadID != 0; });
    s.GateOpen = true;
    s.StartCond.notify_all();
}

void TThread::ThreadProc()
{
    TThreadState& s = *FState;
    {
        std::unique_lock lock(s.Lock);
        s.ThreadID = GetCurrentThreadId();
        s.StartCond.notify_all();
        s.StartCond.wait(lock, [&] { return s.GateOpen; });
    }
    if (!Terminated()) {
        try {
            Execute();
        } catch (...) {
            std::lock_guard lock(s.Lock);
            s.FatalException = std::current_exception();
        }
    }
    s.Finished = true;
    if (OnTerminate) {
        try {
            Synchronize(this, [this] {
                if (OnTerminate)
                    OnTerminate(this);
            });
        } catch (...) {
            // Nothing above this thread could catch it; keep it where Execute's would be.
            std::lock_guard lock(s.Lock);
            if (!s.FatalException)
                s.FatalException = std::current_exception();
        }
    }
    if (s.FreeOnTerminate) {
        // Drop its queued calls before the destructors run: the main thread could otherwise pick one up
        // while the derived part is already being torn down.
        RemoveQueuedCalls(this);
        delete this;
        return;
    }
    {
        std::lock_guard lock(SyncQueue().Lock);
        s.Ended = true;
    }
    // From here on the object may already be deleted by a waiter.
    WakeMainThreadWaiters();
}

void TThread::Terminate()
{
    FState->Terminated = true;
    TerminatedSet();
}

void TThread::TerminatedSet()
{
}

int TThread::WaitFor()
{
    if (FreeOnTerminate())
        throw EThread("Cannot call WaitFor on a FreeOnTerminate thread");
    WaitUntilEnded();
    return ReturnValue();
}

void TThread::WaitUntilEnded()
{
    TThreadState& s = *FState;
    if (!s.Started)
        return;
    if (GetCurrentThreadId() == ThreadID())
        throw EThread("A thread cannot wait for itself");
    if (IsMainThread())
        MainThreadWaitUntil([&] { return s.Ended; }, INFINITE);
    std::lock_guard lock(s.JoinLock);
    if (s.Handle.joinable())
        s.Handle.join();
}

bool TThread::Terminated() const
{
    return FState->Terminated;
}
bool TThread::Finished() const
{
    return FState->Finished;
}
bool TThread::Suspended() const
{
    return !FState->Started;
}
int TThread::ReturnValue() const
{
    return FState->ReturnValue;
}
void TThread::SetReturnValue(int value)
{
    FState->ReturnValue = value;
}
bool TThread::FreeOnTerminate() const
{
    return FState->FreeOnTerminate;
}
void TThread::SetFreeOnTerminate(bool value)
{
    FState->FreeOnTerminate = value;
}

uint64_t TThread::ThreadID() const
{
    std::lock_guard lock(FState->Lock);
    return FState->ThreadID;
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(FState->Lock);
    return FState->FatalException;
}

void TThread::Synchronize(TThread* thread, std::function<void()> method)
{
    if (!method)
        return;
    if (IsMainThread()) {
        method();
        return;
    }
    TSyncRequest request;
    Push(thread, std::move(method), &request);
    TSyncQueue& queue = SyncQueue();
    {
        std::unique_lock lock(queue.Lock);
        queue.RequestDone.wait(lock, [&] { return request.Done; });
    }
    if (request.Error)
        std::rethrow_exception(request.Error);
}

void TThread::Queue(TThread* thread, std::function<void()> method)
{
    if (!method)
        return;
    if (IsMainThread()) {
        method();
        return;
    }
    Push(thread, std::move(method), nullptr);
}

bool CheckSynchronize(uint32_t timeoutMs)
{
    if (!IsMainThread()) {
        std::fprintf(stderr, "CheckSynchronize must be called on the main thread\n");
        std::abort();
    }
    TSyncQueue& queue = SyncQueue();
    std::unique_lock lock(queue.Lock);
    auto arrived = [&] { return !queue.Entries.empty(); };
    if (timeoutMs == INFINITE)
        queue.MainWake.wait(lock, arrived);
    else if (timeoutMs > 0)
        queue.MainWake.wait_for(lock, std::chrono::milliseconds(timeoutMs), arrived);
    if (queue.Entries.empty())
        return false;
    // Calls that arrive while these run wait for the next round, so a busy worker cannot keep the
    // main thread here. Taking one entry at a time keeps the order when a call re-enters.
    const uint64_t last = queue.Entries.back().Seq;
    bool ran = false;
    while (!queue.Entries.empty() && queue.Entries.front().Seq <= last) {
        TSyncEntry entry = std::move(queue.Entries.front());
        queue.Entries.pop_front();
        lock.unlock();
        ran = true;
        if (!entry.Request) {
            entry.Method(); // An exception goes to the caller; the remaining calls stay queued.
            entry.Method = nullptr;
            lock.lock();
            continue;
        }
        std::exception_ptr error;
        try {
            entry.Method();
        } catch (...) {
            error = std::current_exception();
        }
        entry.Method = nullptr;
        lock.lock();
        entry.Request->Error = error;
        entry.Request->Done = true; // The waiting thread may free the request once the lock is released.
        queue.RequestDone.notify_all();
    }
    return ran;
}

// Every message send asks both ids, so each thread remembers them rather than making two system calls each
// time. A forked child starts with the copies of the thread that forked; it forgets them and asks again.
namespace {
thread_local uint64_t CachedThreadID = 0;
std::atomic<uint64_t> CachedProcessID {0};

void ForgetIdsInChild()
{
    CachedThreadID = 0;
    CachedProcessID = 0;
}

[[maybe_unused]] const bool ForkHandlerInstalled = pthread_atfork(nullptr, nullptr, &ForgetIdsInChild) == 0;
} // namespace

uint64_t MainThreadID()
{
    uint64_t id = CachedProcessID.load(std::memory_order_relaxed);
    if (id == 0) {
        id = static_cast<uint64_t>(getpid());
        CachedProcessID.store(id, std::memory_order_relaxed);
    }
    return id;
}

uint64_t GetCurrentThreadId()
{
    if (CachedThreadID == 0)
        CachedThreadID = static_cast<uint64_t>(gettid());
    return CachedThreadID;
}

bool MainThreadWaitUntil(const std::function<bool()>& ready, uint32_t timeoutMs)
{
    const bool onMain = IsMainThread();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    TSyncQueue& queue = SyncQueue();
    std::unique_lock lock(queue.Lock);
    for (;;) {
        if (onMain && !queue.Entries.empty()) {
            lock.unlock();
            CheckSynchronize(0);
            lock.lock();
            continue;
        }
        if (ready())
            return true;
        if (timeoutMs == INFINITE)
            queue.MainWake.wait(lock);
        else if (queue.MainWake.wait_until(lock, deadline) == std::cv_status::timeout)
            return ready();
    }
}

void WakeMainThreadWaiters()
{
    TSyncQueue& queue = SyncQueue();
    // Taking the lock orders this wake after a waiter's test of its condition: a waiter either sees
    // the new state or is already asleep and gets the notification.
    {
        std::lock_guard lock(queue.Lock);
    }
    queue.MainWake.notify_all();
}
