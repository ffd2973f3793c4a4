#include "framework/controls/TTimer.h"

#include "ControlsTestSupport.h"

namespace {

class TimerTest : public ControlsTest {
protected:
    // Moves the virtual clock on in steps and runs the loop after each.
    void Run(int steps, int stepMs)
    {
        for (int i = 0; i < steps; ++i) {
            Backend.AdvanceClock(uint64_t(stepMs));
            Pump();
        }
    }
};

} // namespace

TEST_F(TimerTest, FiresEveryIntervalOfTheVirtualClockWhileEnabledAndAssigned)
{
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    Run(5, 100);
    EXPECT_EQ(ticks, 0); // no OnTimer: no timer
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    Run(3, 50);
    EXPECT_EQ(ticks, 1);
    Run(4, 50);
    EXPECT_EQ(ticks, 3);
    timer.SetEnabled(false);
    Run(5, 100);
    EXPECT_EQ(ticks, 3);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    Run(5, 100);
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, MissedPeriodsCoalesceIntoOneTick)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    Run(1, 1000);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, TheHandlerMayChangeTheIntervalOrDeleteItsTimer)
{
    auto* timer = new TTimer(Application);
    timer->SetInterval(100);
    std::vector<uint32_t> at;
    timer->SetOnTimer([&](TObject*) {
        at.push_back(GetTickCount());
        if (at.size() == 1)
            timer->SetInterval(300);
        else
            delete timer;
    });
    const uint32_t start = GetTickCount();
    Run(10, 50);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0] - start, 100u);
    EXPECT_EQ(at[1] - at[0], 300u);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(TimerTest, AnExceptionFromOnTimerGoesToTheApplicationAndTheTimerGoesOn)
{
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw Exception("tick failed");
    });
    std::vector<std::string> errors;
    Application->OnException = [&](TObject* sender, const Exception& e) {
        errors.push_back(e.Message() + (sender == &timer ? " (timer)" : ""));
    };
    Run(2, 100);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(errors, (std::vector<std::string> { "tick failed (timer)", "tick failed (timer)" }));
}

// A timer's window is made when it first runs: here inside another timer's tick, while that tick's window is
// being served.
TEST_F(TimerTest, ATimerFirstStartedInsideAnotherTimersTickRuns)
{
    TTimer outer(nullptr);
    TTimer inner(nullptr);
    inner.SetInterval(100);
    outer.SetInterval(100);
    int innerTicks = 0;
    outer.SetOnTimer([&](TObject*) {
        outer.SetEnabled(false);
        inner.SetOnTimer([&](TObject*) { ++innerTicks; });
    });
    Run(1, 100);
    EXPECT_EQ(innerTicks, 0);
    Run(2, 100);
    EXPECT_EQ(innerTicks, 2);
}
