// The synchronisation objects: TCriticalSection, TEvent and TSimpleEvent, and the INFINITE timeout.
#pragma once
#include "framework/core/TObject.h"

#include <cstdint>
#include <memory>

// A timeout that never expires.
constexpr uint32_t INFINITE = 0xFFFFFFFF;

// The outcome of a wait. wrAbandoned and wrError exist for callers that test for them; the objects
// here never abandon a waiter and never fail, so a wait ends in wrSignaled or wrTimeout.
enum TWaitResult : uint8_t { wrSignaled, wrTimeout, wrAbandoned, wrError };

struct TCriticalSectionState;
struct TEventState;

// A recursive lock, like the system's critical sections: the thread that holds it may enter it again,
// and must leave it as many times as it entered. Only the holding thread may leave it.
class TCriticalSection : public TObject {
    using inherited = TObject;

public:
    TCriticalSection();
    ~TCriticalSection() override;

    void Acquire();
    void Release();
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    // Enters when no other thread holds the lock; false (without waiting) when one does.
    bool TryEnter();

private:
    std::unique_ptr<TCriticalSectionState> FState;
};

// A signal that threads wait for. A manual-reset event stays signalled until ResetEvent and releases
// every waiter; an auto-reset event releases one waiter per SetEvent and resets itself as that waiter
// leaves (a SetEvent with nobody waiting keeps it signalled for the next one).
// NOTE: a WaitFor on the main thread keeps running the calls that other threads hand to it through
// TThread::Synchronize and Queue, so a worker that synchronises while the main thread waits for its
// event does not deadlock. An exception thrown by such a queued call leaves WaitFor.
// Timeouts are real time, whatever tick source the tests install.
class TEvent : public TObject {
    using inherited = TObject;

public:
    explicit TEvent(bool manualReset = true, bool initialState = false);
    // No thread may still be waiting when the event is deleted.
    ~TEvent() override;

    void SetEvent();
    void ResetEvent();
    // wrSignaled when the event was (or became) signalled within timeoutMs, else wrTimeout.
    // A timeout of 0 only tests the event.
    TWaitResult WaitFor(uint32_t timeoutMs = INFINITE);

private:
    // Takes the signal when it is set (resetting an auto-reset event); true when it was set.
    bool TakeSignal();

    std::unique_ptr<TEventState> FState;
};

// The plain event of the framework: by default manual-reset and not signalled.
class TSimpleEvent : public TEvent {
    using inherited = TEvent;

public:
    using TEvent::TEvent;
};
