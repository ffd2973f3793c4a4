#include "framework/core/Clock.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// Installs a manual clock for one test and always restores the real one.
class ClockTest : public testing::Test {
protected:
    void SetUp() override { SetTickSource(&FClock); }
    void TearDown() override { SetTickSource(nullptr); }

    TManualClock FClock { 1000 };
};

} // namespace

TEST_F(ClockTest, ManualClockDrivesTheTickCount)
{
    EXPECT_EQ(CurrentTickSource(), &FClock);
    EXPECT_EQ(GetTickCount(), 1000u);
    EXPECT_EQ(GetTickCount64(), 1000u);
    FClock.Advance(250);
    EXPECT_EQ(GetTickCount(), 1250u);
    FClock.Set(7);
    EXPECT_EQ(GetTickCount64(), 7u);
}

TEST_F(ClockTest, GetTickCountWrapsAt32Bits)
{
    FClock.Set(0xFFFFFFFFull - 10);
    const uint32_t before = GetTickCount();
    FClock.Advance(20);
    EXPECT_EQ(GetTickCount(), 9u);
    EXPECT_EQ(GetTickCount64(), 0x100000009ull);
    // Elapsed time computed in unsigned 32-bit arithmetic survives the wrap.
    EXPECT_EQ(GetTickCount() - before, 20u);
}

TEST_F(ClockTest, SleepAdvancesTheManualClockAtOnce)
{
    Sleep(60'000);
    EXPECT_EQ(GetTickCount64(), 61'000u);

    // A timeout loop of the usual shape finishes without real waiting.
    const uint64_t deadline = GetTickCount64() + 5'000;
    int rounds = 0;
    while (GetTickCount64() < deadline) {
        Sleep(100);
        ++rounds;
    }
    EXPECT_EQ(rounds, 50);
}

TEST_F(ClockTest, ConcurrentAdvancesAllCount)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 1000; ++i)
                Sleep(1);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(GetTickCount64(), 1000u + 4000u);
}

TEST(Clock, RealClockIsMonotonicWithoutASource)
{
    ASSERT_EQ(CurrentTickSource(), nullptr);
    const uint64_t first = GetTickCount64();
    const uint64_t second = GetTickCount64();
    EXPECT_GE(second, first);
    EXPECT_GT(first, 0u);
    Sleep(0);
}
