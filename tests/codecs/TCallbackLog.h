// TCallbackLog, the thread-safe log behind the suites' callback recorders: calls in arrival order, waiting for
// them without polling, and counting the calls that came after the test marked a stop.
#pragma once
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

// TCallT has a `char Kind` ('B'egin, 'V'ideo, 'A'udio, 'E'nd).
template <class TCallT> class TCallbackLog {
public:
    TCallbackLog() = default;
    TCallbackLog(const TCallbackLog&) = delete;
    TCallbackLog& operator=(const TCallbackLog&) = delete;

    // From now on every callback counts as a fault.
    void MarkStopped()
    {
        std::lock_guard lock(FLock);
        FStopped = true;
    }

    std::vector<TCallT> Calls() const
    {
        std::lock_guard lock(FLock);
        return FCalls;
    }
    std::vector<TCallT> CallsOf(char kind) const
    {
        std::vector<TCallT> calls = Calls();
        calls.erase(
            std::remove_if(calls.begin(), calls.end(), [kind](const TCallT& call) { return call.Kind != kind; }),
            calls.end());
        return calls;
    }
    // The kinds in arrival order, as in "BVVAE".
    std::string Order() const
    {
        std::string order;
        for (const TCallT& call : Calls())
            order += call.Kind;
        return order;
    }
    int Count(char kind) const
    {
        std::lock_guard lock(FLock);
        return CountLocked(kind);
    }
    int CallsAfterStop() const
    {
        std::lock_guard lock(FLock);
        return FCallsAfterStop;
    }

    // Waits until `count` callbacks of the kind have arrived; false after 20 s.
    bool WaitFor(char kind, int count) const
    {
        std::unique_lock lock(FLock);
        return FChanged.wait_for(lock, std::chrono::seconds(20), [&] { return CountLocked(kind) >= count; });
    }

protected:
    // The callers of these hold FLock.
    void Add(TCallT call)
    {
        FCallsAfterStop += FStopped;
        FCalls.push_back(std::move(call));
        FChanged.notify_all();
    }
    int CountLocked(char kind) const
    {
        return int(
            std::count_if(FCalls.begin(), FCalls.end(), [kind](const TCallT& call) { return call.Kind == kind; }));
    }

    mutable std::mutex FLock;
    std::vector<TCallT> FCalls;
    bool FStopped = false;

private:
    mutable std::condition_variable FChanged;
    int FCallsAfterStop = 0;
};
