// TThread, the framework's worker thread, and the queue through which threads hand calls to the main thread.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TObject.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

// Raised when a thread is misused: started twice, waited for by itself, or waited for while it frees itself.
class EThread : public Exception {
public:
    using Exception::Exception;
};

struct TThreadState;

// A worker thread: derive from it and override Execute.
//
// Starting. A C++ base constructor cannot start the thread, because the derived object (and its
// Execute) does not exist yet. So, like the framework's after-construction step, AfterConstruction
// starts it unless it was created suspended, and the factory does both steps:
//     auto* worker = TThread::Create<TWorker>(false, ...);   // running
//     auto* later = TThread::Create<TWorker>(true, ...);     // waits for Start()
// A thread made with plain `new` never starts by itself: it starts on Start() (or Resume()),
// whatever createSuspended said.
//
// Ending. Execute returns (check Terminated() in a loop; Terminate() only sets the flag). An exception
// that escapes Execute is kept in FatalException() and the thread finishes normally. Then Finished()
// becomes true, OnTerminate runs on the main thread (through Synchronize), and a FreeOnTerminate thread
// deletes itself.
//
// Deleting. Its user deletes a thread, from any other thread; a started FreeOnTerminate thread is
// deleted only by itself. The destructor of a started thread that has not ended calls Terminate and
// waits for it (serving synchronised calls when on the main thread) before it joins, so no running
// thread is ever destroyed; an exception from a call served there is dropped, since a destructor
// cannot raise it.
// NOTE: the base destructor runs after the derived one, so by then the derived members are gone and
// the derived TerminatedSet is no longer called. A thread whose Execute uses members of its own class,
// or waits for something that its TerminatedSet signals, stops in its own destructor first:
//     ~TWorker() override { Terminate(); WaitFor(); }   // not for FreeOnTerminate threads
class TThread : public TObject {
    using inherited = TObject;

public:
    explicit TThread(bool createSuspended);
    ~TThread() override;

    // Creates a T with `args` and runs its AfterConstruction. With FreeOnTerminate set in T's constructor
    // and the thread running, the returned pointer is valid only until the thread ends.
    template <class T, class... Args> static T* Create(Args&&... args);
    // Starts the thread unless it was created suspended. Overrides call inherited::AfterConstruction().
    virtual void AfterConstruction();

    // Starts a thread that has not started yet; EThread "Cannot call Start on a running or terminated
    // thread" once it has. A thread terminated before it started runs no Execute and finishes at once.
    void Start();
    void Resume() { Start(); }
    // Asks Execute to stop: sets Terminated() and calls TerminatedSet.
    void Terminate();
    // Waits until the thread has ended (Execute returned, OnTerminate ran) and returns ReturnValue().
    // Returns at once for a thread that never started. On the main thread it keeps running synchronised
    // and queued calls while it waits, and returns only after the calls the thread queued have run;
    // an exception thrown by one of those calls leaves WaitFor (call it again to go on waiting).
    // EThread when called on the thread itself, or on a FreeOnTerminate thread (which may be deleted
    // at any moment; wait for an event that its OnTerminate or destructor sets instead).
    int WaitFor();

    bool Terminated() const;
    // True once Execute has returned (or thrown).
    bool Finished() const;
    // True until the thread is started.
    bool Suspended() const;
    int ReturnValue() const;
    void SetReturnValue(int value);
    // The system id of the thread (comparable with GetCurrentThreadId()), 0 before it starts.
    uint64_t ThreadID() const;
    // The exception that escaped Execute (or, failing that, OnTerminate), or null.
    std::exception_ptr FatalException() const;
    bool FreeOnTerminate() const;
    // Set it before the thread can end (before Start, or in the constructor).
    void SetFreeOnTerminate(bool value);

    // Runs on the main thread after Execute returns, with the thread as sender.
    TNotifyEvent OnTerminate;

    // Runs `method` on the main thread and waits until it has run; on the main thread it just calls
    // it. An exception thrown by `method` is raised again in the calling thread. `thread` may be
    // nullptr, so that code which is not a TThread can hand work to the main thread too.
    static void Synchronize(TThread* thread, std::function<void()> method);
    // Like Synchronize without waiting: the main thread runs `method` in its turn. Calls queued with a
    // thread that is deleted before they ran are dropped, because they may refer to it; queue with
    // nullptr what must run regardless.
    static void Queue(TThread* thread, std::function<void()> method);

protected:
    virtual void Execute() = 0;
    // Called by Terminate, on the thread that calls it, so that an Execute which waits for something
    // can be woken.
    virtual void TerminatedSet();

    void Synchronize(std::function<void()> method) { Synchronize(this, std::move(method)); }
    void Queue(std::function<void()> method) { Queue(this, std::move(method)); }

private:
    void ThreadProc();
    void WaitUntilEnded();

    std::unique_ptr<TThreadState> FState;
};

template <class T, class... Args> T* TThread::Create(Args&&... args)
{
    T* thread = new T(std::forward<Args>(args)...);
    try {
        thread->AfterConstruction();
    } catch (...) {
        delete thread;
        throw;
    }
    return thread;
}

// Runs, in order, every synchronised and queued call that is pending when it starts, and returns true
// if it ran any. With a timeout it first waits up to that long (INFINITE: without limit) for a call to
// arrive. A call queued with Queue that throws leaves the exception to the caller; the calls after it
// stay queued. Must be called on the main thread: anywhere else it stops the program with a message,
// because it would run main-thread work on the wrong thread.
bool CheckSynchronize(uint32_t timeoutMs = 0);

// Called (on the queuing thread) whenever a call is queued for the main thread, so that a message loop
// can wake up and call CheckSynchronize. Empty by default. Set it while no other thread runs; it must
// not throw (an exception from it is ignored: the call is queued anyway).
extern std::function<void()> WakeMainThread;

// The process's initial thread is the main thread, so no start-up call is needed.
uint64_t MainThreadID();
uint64_t GetCurrentThreadId();

// For blocking objects that the main thread may wait on (TEvent, TThread::WaitFor). On the main thread,
// waits until `ready()` is true or timeoutMs has passed, running synchronised and queued calls in the
// meantime; elsewhere it only waits. Returns the last value of `ready()`. `ready` is called with the
// queue's lock held: it may take locks of its own but must not queue calls. Whatever makes it true
// must call WakeMainThreadWaiters afterwards (not while holding a lock that `ready` takes).
bool MainThreadWaitUntil(const std::function<bool()>& ready, uint32_t timeoutMs);
void WakeMainThreadWaiters();
