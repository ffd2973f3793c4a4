#include "framework/core/TThread.h"

#include "framework/core/Clock.h"
#include "framework/core/SyncObjs.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

// A thread whose Execute is given by the test.
class TTestThread : public TThread {
    using inherited = TThread;

public:
    using TBody = std::function<void(TTestThread& self)>;

    TTestThread(bool createSuspended, TBody body)
        : inherited(createSuspended)
        , FBody(std::move(body))
    {
    }
    // Execute uses FBody, a member of this class, so the thread stops before it goes.
    ~TTestThread() override
    {
        if (!FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
        if (OnDestroy)
            OnDestroy();
    }

    using inherited::Queue;
    using inherited::Synchronize;
    std::function<void()> OnDestroy;

protected:
    void Execute() override { FBody(*this); }

private:
    TBody FBody;
};

bool OnMainThread()
{
    return GetCurrentThreadId() == MainThreadID();
}

TEST(TThread, SynchronizeWhileTheMainThreadWaitsForTheThread)
{
    uint64_t ranOn = 0;
    std::unique_ptr<TTestThread> thread(TThread::Create<TTestThread>(false, [&](TTestThread& self) {
        self.Synchronize([&] { ranOn = GetCurrentThreadId(); });
        self.SetReturnValue(7);
    }));
    EXPECT_EQ(thread->WaitFor(), 7);
    EXPECT_EQ(ranOn, MainThreadID());
    EXPECT_NE(thread->ThreadID(), MainThreadID());
    EXPECT_TRUE(thread->Finished());
}

TEST(TThread, OnTerminateRunsOnTheMainThreadAfterExecute)
{
    std::vector<std::string> log;
    std::unique_ptr<TTestThread> thread(
        TThread::Create<TTestThread>(true, [&](TTestThread&) { log.push_back("execute"); }));
    thread->OnTerminate = [&](TObject* sender) {
        log.push_back(std::string("terminate") + (OnMainThread() ? " on main" : " elsewhere")
            + (static_cast<TThread*>(sender)->Finished() ? " finished" : " running"));
    };
    thread->Start();
    thread->WaitFor();
    EXPECT_EQ(log, (std::vector<std::string> { "execute", "terminate on main finished" }));
}

TEST(TThread, FreeOnTerminateDeletesTheThreadAfterOnTerminate)
{
    std::vector<std::string> log;
    TEvent deleted;
    auto* thread = TThread::Create<TTestThread>(true, [&](TTestThread&) { log.push_back("execute"); });
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject*) { log.push_back("terminate"); };
    thread->OnDestroy = [&] {
        log.push_back("delete");
        deleted.SetEvent();
    };
    EXPECT_THROW(thread->WaitFor(), EThread);
    thread->Start();
    // The main thread serves OnTerminate while it waits; the thread then deletes itself.
    EXPECT_EQ(deleted.WaitFor(), wrSignaled);
    EXPECT_EQ(log, (std::vector<std::string> { "execute", "terminate", "delete" }));
}

TEST(TThread, AnExceptionThatEscapesIsKeptInFatalException)
{
    struct Case {
        const char* what;
        bool fromExecute;
    };
    const Case kCases[] = { { "from Execute", true }, { "from OnTerminate", false } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        bool terminated = false;
        std::unique_ptr<TTestThread> thread(TThread::Create<TTestThread>(true, [&](TTestThread&) {
            if (c.fromExecute)
                throw EConvertError("lost frame");
        }));
        thread->OnTerminate = [&](TObject*) {
            terminated = true;
            if (!c.fromExecute)
                throw EConvertError("lost frame");
        };
        thread->Start();
        thread->WaitFor();
        EXPECT_TRUE(thread->Finished());
        EXPECT_TRUE(terminated);
        ASSERT_TRUE(thread->FatalException());
        try {
            std::rethrow_exception(thread->FatalException());
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), "lost frame");
        }
    }
}

TEST(TThread, AnExceptionInASynchronizedMethodIsRaisedInTheWorker)
{
    std::string caught;
    std::unique_ptr<TTestThread> thread(TThread::Create<TTestThread>(false, [&](TTestThread& self) {
        try {
            self.Synchronize([] { throw Exception("refused on main"); });
        } catch (const Exception& error) {
            caught = error.Message() + (OnMainThread() ? " (caught on main)" : " (caught in worker)");
        }
    }));
    thread->WaitFor();
    EXPECT_EQ(caught, "refused on main (caught in worker)");
    EXPECT_FALSE(thread->FatalException());
}

TEST(TThread, QueuedCallsRunInOrderOnTheMainThread)
{
    std::vector<int> order;
    bool allOnMain = true;
    std::unique_ptr<TTestThread> thread(TThread::Create<TTestThread>(false, [&](TTestThread& self) {
        for (int i = 0; i < 100; ++i) {
            self.Queue([&, i] {
                allOnMain = allOnMain && OnMainThread();
                order.push_back(i);
            });
        }
    }));
    // WaitFor returns once the thread has ended and what it queued has run.
    thread->WaitFor();
    ASSERT_EQ(order.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnMain);
}

TEST(TThread, CodeOutsideThreadsQueuesThroughCheckSynchronize)
{
    int wakes = 0;
    WakeMainThread = [&] { ++wakes; };
    std::vector<std::string> ran;
    std::thread plain([&] {
        TThread::Queue(nullptr, [&] { ran.push_back("first"); });
        TThread::Queue(nullptr, [&] { ran.push_back("second"); });
    });
    plain.join();
    EXPECT_EQ(wakes, 2);
    EXPECT_TRUE(ran.empty()); // nothing runs until the main thread asks
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(ran, (std::vector<std::string> { "first", "second" }));
    EXPECT_FALSE(CheckSynchronize());

    // With a timeout, CheckSynchronize waits for a call to arrive.
    std::thread late([&] { TThread::Queue(nullptr, [&] { ran.push_back("late"); }); });
    EXPECT_TRUE(CheckSynchronize(60000));
    late.join();
    EXPECT_EQ(ran.back(), "late");
    WakeMainThread = nullptr;

    // On the main thread both forms just call the method.
    TThread::Synchronize(nullptr, [&] { ran.push_back("direct"); });
    EXPECT_EQ(ran.back(), "direct");
}

TEST(TThread, QueuedCallsOfADeletedThreadAreDropped)
{
    // A FreeOnTerminate thread queues a call that refers to itself and one that does not, then
    // deletes itself while the main thread is not serving the queue.
    std::vector<std::string> ran;
    TEvent deleted;
    auto* thread = TThread::Create<TTestThread>(true, [&](TTestThread& self) {
        self.Queue([&self, &ran] { ran.push_back("own " + std::to_string(self.ReturnValue())); });
        TThread::Queue(nullptr, [&ran] { ran.push_back("shared"); });
    });
    thread->SetFreeOnTerminate(true);
    thread->OnDestroy = [&] { deleted.SetEvent(); };
    thread->Start();
    std::thread waiter([&] { deleted.WaitFor(); }); // waits off the main thread, which serves nothing meanwhile
    waiter.join();
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(ran, (std::vector<std::string> { "shared" }));
}

// Wakes its Execute through TerminatedSet, as a worker blocked on an event would be.
class TWaitingThread : public TThread {
    using inherited = TThread;

public:
    TWaitingThread()
        : inherited(false)
    {
    }
    ~TWaitingThread() override
    {
        Terminate();
        WaitFor();
    }

    TEvent Running;
    std::atomic<int> Rounds { 0 };

protected:
    void Execute() override
    {
        Running.SetEvent();
        while (!Terminated()) {
            FWake.WaitFor();
            ++Rounds;
        }
    }
    void TerminatedSet() override { FWake.SetEvent(); }

private:
    TEvent FWake { false, false };
};

TEST(TThread, TerminateEndsALoopingExecute)
{
    std::unique_ptr<TWaitingThread> thread(TThread::Create<TWaitingThread>());
    ASSERT_EQ(thread->Running.WaitFor(), wrSignaled);
    EXPECT_FALSE(thread->Terminated());
    thread->Terminate();
    thread->WaitFor();
    EXPECT_TRUE(thread->Terminated());
    EXPECT_LE(thread->Rounds, 1); // 0 when Terminate came before the first wait
}

// Spins until terminated, touching only what its base and the test own, so that the base destructor
// alone stops it.
class TSpinningThread : public TThread {
    using inherited = TThread;

public:
    TSpinningThread(TEvent* running, std::atomic<uint64_t>* endedOn)
        : inherited(false)
        , FRunning(running)
        , FEndedOn(endedOn)
    {
    }

protected:
    void Execute() override
    {
        TEvent* running = FRunning;
        std::atomic<uint64_t>* endedOn = FEndedOn;
        running->SetEvent();
        while (!Terminated())
            std::this_thread::yield();
        // Served by the destructor's wait on the main thread.
        Synchronize(nullptr, [endedOn] { *endedOn = GetCurrentThreadId(); });
    }

private:
    TEvent* FRunning;
    std::atomic<uint64_t>* FEndedOn;
};

TEST(TThread, DeletingARunningThreadTerminatesAndJoinsIt)
{
    TEvent running;
    std::atomic<uint64_t> endedOn { 0 };
    TThread* thread = TThread::Create<TSpinningThread>(&running, &endedOn);
    ASSERT_EQ(running.WaitFor(), wrSignaled);
    delete thread;
    EXPECT_EQ(endedOn, MainThreadID());
}

TEST(TThread, StartRules)
{
    TEvent selfWait;
    std::string selfWaitError;
    // Made with new: it does not start whatever createSuspended says.
    std::unique_ptr<TTestThread> thread(new TTestThread(false, [&](TTestThread& self) {
        try {
            self.WaitFor();
        } catch (const EThread& error) {
            selfWaitError = error.Message();
        }
    }));
    EXPECT_TRUE(thread->Suspended());
    EXPECT_EQ(thread->ThreadID(), 0u);
    EXPECT_EQ(thread->WaitFor(), 0); // never started: nothing to wait for
    thread->Start();
    EXPECT_FALSE(thread->Suspended());
    EXPECT_NE(thread->ThreadID(), 0u);
    try {
        thread->Start();
        ADD_FAILURE() << "no exception";
    } catch (const EThread& error) {
        EXPECT_EQ(error.Message(), "Cannot call Start on a running or terminated thread");
    }
    thread->WaitFor();
    EXPECT_EQ(selfWaitError, "A thread cannot wait for itself");
    EXPECT_THROW(thread->Resume(), EThread);

    // Terminated before it started: it starts and finishes without running Execute.
    bool executed = false;
    std::unique_ptr<TTestThread> early(TThread::Create<TTestThread>(true, [&](TTestThread&) { executed = true; }));
    early->Terminate();
    early->Start();
    early->WaitFor();
    EXPECT_TRUE(early->Finished());
    EXPECT_FALSE(executed);
}

TEST(TThreadDeathTest, CheckSynchronizeOffTheMainThreadStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            std::thread other([] { CheckSynchronize(); });
            other.join();
        },
        "CheckSynchronize must be called on the main thread");
}

TEST(TEvent, ManualAndAutoReset)
{
    struct Case {
        const char* what;
        bool manualReset;
        bool initialState;
        std::vector<TWaitResult> waitsAfterSet; // WaitFor(0) results after one SetEvent
    };
    const Case kCases[] = {
        { "manual reset stays signalled", true, false, { wrSignaled, wrSignaled, wrSignaled } },
        { "auto reset releases one wait", false, false, { wrSignaled, wrTimeout, wrTimeout } },
        { "auto reset created signalled", false, true, { wrSignaled, wrTimeout } },
    };
    // The same on the main thread (which serves the queue while it waits) and on another thread.
    for (bool onMain : { true, false }) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(c.what) + (onMain ? " on main" : " on a worker"));
            auto check = [&] {
                TEvent event(c.manualReset, c.initialState);
                if (!c.initialState) {
                    EXPECT_EQ(event.WaitFor(0), wrTimeout);
                    event.SetEvent();
                }
                for (TWaitResult expected : c.waitsAfterSet)
                    EXPECT_EQ(event.WaitFor(0), expected);
                event.SetEvent();
                event.ResetEvent();
                EXPECT_EQ(event.WaitFor(0), wrTimeout);
            };
            if (onMain) {
                check();
            } else {
                std::thread worker(check);
                worker.join();
            }
        }
    }
}

TEST(TEvent, AutoResetReleasesOneWaiterPerSetEvent)
{
    TEvent gate(false, false);
    TEvent woke(false, false);
    std::atomic<int> released { 0 };
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i) {
        waiters.emplace_back([&] {
            gate.WaitFor();
            ++released;
            woke.SetEvent();
        });
    }
    gate.SetEvent();
    ASSERT_EQ(woke.WaitFor(), wrSignaled);
    EXPECT_EQ(woke.WaitFor(50), wrTimeout); // the second waiter stays blocked
    EXPECT_EQ(released, 1);
    gate.SetEvent();
    ASSERT_EQ(woke.WaitFor(), wrSignaled);
    EXPECT_EQ(released, 2);
    for (std::thread& waiter : waiters)
        waiter.join();
}

TEST(TEvent, TimeoutsAreRealTimeEvenUnderAManualClock)
{
    TManualClock clock(1000);
    SetTickSource(&clock);
    TEvent event;
    for (bool onMain : { true, false }) {
        SCOPED_TRACE(onMain ? "on main" : "on a worker");
        std::chrono::steady_clock::duration took {};
        TWaitResult result = wrError;
        auto wait = [&] {
            auto start = std::chrono::steady_clock::now();
            result = event.WaitFor(30);
            took = std::chrono::steady_clock::now() - start;
        };
        if (onMain) {
            wait();
        } else {
            std::thread worker(wait);
            worker.join();
        }
        EXPECT_EQ(result, wrTimeout);
        EXPECT_GE(took, std::chrono::milliseconds(30));
    }
    SetTickSource(nullptr);
}

TEST(TEvent, AWaitOnTheMainThreadServesSynchronize)
{
    TEvent done;
    uint64_t ranOn = 0;
    std::thread plain([&] {
        TThread::Synchronize(nullptr, [&] { ranOn = GetCurrentThreadId(); });
        done.SetEvent();
    });
    EXPECT_EQ(done.WaitFor(), wrSignaled);
    plain.join();
    EXPECT_EQ(ranOn, MainThreadID());
}

TEST(TCriticalSection, IsRecursiveAndExcludesOtherThreads)
{
    TCriticalSection section;
    auto otherThreadCanEnter = [&] {
        bool entered = false;
        std::thread other([&] {
            entered = section.TryEnter();
            if (entered)
                section.Leave();
        });
        other.join();
        return entered;
    };
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    section.Acquire();
    EXPECT_FALSE(otherThreadCanEnter());
    section.Release();
    section.Leave();
    EXPECT_FALSE(otherThreadCanEnter()); // entered three times, left twice
    section.Leave();
    EXPECT_TRUE(otherThreadCanEnter());
}

} // namespace
