// The millisecond tick count that every timer and timeout reads, behind a source that tests can drive.
#pragma once
#include <atomic>
#include <cstdint>

// Where the ticks come from. Without a source set, the real monotonic clock (milliseconds since boot).
class TTickSource {
public:
    virtual ~TTickSource();
    virtual uint64_t Milliseconds() = 0;
    virtual void SleepFor(uint32_t ms) = 0;
};

// Milliseconds of the current source; GetTickCount wraps about every 49.7 days as the Windows one does.
uint32_t GetTickCount();
uint64_t GetTickCount64();
// Waits `ms` milliseconds of the current source (instantly under a TManualClock).
void Sleep(uint32_t ms);

// Installs `source` for every thread; nullptr restores the real clock. The caller owns the source and must
// clear it before deleting it, once no thread can still be inside its SleepFor.
void SetTickSource(TTickSource* source);
TTickSource* CurrentTickSource();

// A clock that moves only when told to, so code that waits or times out runs instantly under a test.
// Thread-safe.
class TManualClock final : public TTickSource {
    using inherited = TTickSource;

public:
    explicit TManualClock(uint64_t start = 0)
        : FNow(start)
    {
    }

    void Advance(uint64_t ms) { FNow.fetch_add(ms); }
    void Set(uint64_t ms) { FNow.store(ms); }

    uint64_t Milliseconds() override { return FNow.load(); }
    // Advances the clock by `ms` at once and yields, so a thread polling in a loop lets others run.
    void SleepFor(uint32_t ms) override;

private:
    std::atomic<uint64_t> FNow;
};
