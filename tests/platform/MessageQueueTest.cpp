#include "PlatformTestSupport.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"

#include <atomic>
#include <thread>

using MessageQueue = PlatformTest;

TEST_F(MessageQueue, PostsFromAnotherThreadWakeGetMessage)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    Pump();
    TSimpleEvent waiting;
    std::thread worker([&] {
        // Let the UI thread block first; the post must wake it, not find it already awake.
        waiting.WaitFor();
        for (int i = 0; i < 100; ++i)
            PostMessage(hwnd, WM_USER, WPARAM(i), 0);
        PostThreadMessage(DWORD(MainThreadID()), WM_APP, 0, 0);
    });
    std::vector<WPARAM> received;
    MSG msg;
    waiting.SetEvent();
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_APP && !msg.hwnd)
            break;
        if (msg.message == WM_USER)
            received.push_back(msg.wParam);
        DispatchMessage(&msg);
    }
    worker.join();
    ASSERT_EQ(received.size(), 100u);
    for (size_t i = 0; i < received.size(); ++i)
        EXPECT_EQ(received[i], i);
    EXPECT_FALSE(PostThreadMessage(DWORD(MainThreadID()) + 1, WM_APP, 0, 0));
}

TEST_F(MessageQueue, SynchronizeFromAWorkerIsServedByGetMessage)
{
    std::atomic<int> ranOn { 0 };
    std::thread worker([&] {
        TThread::Synchronize(nullptr, [&] { ranOn = int(GetCurrentThreadId() == MainThreadID()) + 1; });
        PostThreadMessage(DWORD(MainThreadID()), WM_QUIT + WM_USER, 0, 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT + WM_USER);
    worker.join();
    EXPECT_EQ(ranOn.load(), 2);
}

TEST_F(MessageQueue, SendMessageFromAnotherThreadWaitsForTheUiThreadToPump)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    std::atomic<uint64_t> handledOn { 0 };
    Handler = [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER)
            return std::nullopt;
        handledOn = GetCurrentThreadId();
        EXPECT_TRUE(InSendMessage());
        return LRESULT(w * 2);
    };
    std::atomic<LRESULT> result { 0 };
    std::thread worker([&] {
        result = SendMessage(hwnd, WM_USER, 21, 0);
        PostMessage(hwnd, WM_APP, 0, 0);
    });
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0) && msg.message != WM_APP)
        DispatchMessage(&msg);
    worker.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_EQ(handledOn.load(), MainThreadID());
    EXPECT_FALSE(InSendMessage());
}

TEST_F(MessageQueue, WindowCallsFromOtherThreadsFail)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    std::thread worker([&] {
        EXPECT_EQ(CreateTop(RECT { 0, 0, 5, 5 }), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_WINDOW_OF_OTHER_THREAD);
        EXPECT_FALSE(DestroyWindow(hwnd));
        EXPECT_TRUE(IsWindow(hwnd));
    });
    worker.join();
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(MessageQueue, RetrievalOrderPutsPaintAndTimersLast)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 100, 100 });
    Pump();
    SetTimer(hwnd, 1, 100, nullptr);
    Backend.AdvanceClock(100);
    InvalidateRect(hwnd, nullptr, TRUE);
    PostMessage(hwnd, WM_USER, 0, 0);
    PostQuitMessage(3);
    Backend.MouseMove(50, 50);
    std::vector<UINT> order;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessage(&msg);
        if (order.size() > 10)
            break;
    }
    EXPECT_EQ(order, Messages({ WM_USER, WM_MOUSEMOVE, WM_QUIT, WM_PAINT, WM_TIMER }));
    EXPECT_EQ(msg.message, WM_TIMER);
}

TEST_F(MessageQueue, PaintComesOnlyOnceTheQueueIsEmptyAndStopsWhenValidated)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 100, 100 });
    Pump();
    int paints = 0;
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            // Posting from a handler keeps the paint waiting.
            if (paints == 0)
                PostMessage(h, WM_USER + 1, 0, 0);
            EXPECT_EQ(paints, 0);
        }
        if (m == WM_PAINT)
            ++paints;
        return std::nullopt;
    };
    StartLog();
    InvalidateRect(hwnd, nullptr, FALSE);
    InvalidateRect(hwnd, nullptr, FALSE); // invalidations merge into one WM_PAINT
    PostMessage(hwnd, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(Sequence({ WM_USER, WM_USER + 1, WM_PAINT }), Messages({ WM_USER, WM_USER + 1, WM_PAINT }));
    EXPECT_EQ(paints, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageQueue, TimersFireFromTheVirtualClockAndCoalesce)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    Pump();
    EXPECT_EQ(SetTimer(hwnd, 7, 100, nullptr), 1u);
    SetTimer(hwnd, 8, 250, nullptr);
    StartLog();
    auto timerIds = [&] {
        std::vector<WPARAM> ids;
        for (const TLoggedMessage& e : Only({ WM_TIMER }))
            ids.push_back(e.WParam);
        return ids;
    };
    Backend.AdvanceClock(99);
    Pump();
    EXPECT_TRUE(timerIds().empty());
    Backend.AdvanceClock(1);
    Pump();
    EXPECT_EQ(timerIds(), (std::vector<WPARAM> { 7 }));
    // Ten periods later the timer fires once, and its next period counts from then.
    StartLog();
    Backend.AdvanceClock(1000);
    Pump();
    EXPECT_EQ(timerIds(), (std::vector<WPARAM> { 7, 8 }));
    StartLog();
    Backend.AdvanceClock(99);
    Pump();
    EXPECT_TRUE(timerIds().empty());
    // Killing a timer stops it; an interval below the minimum is raised to it.
    EXPECT_TRUE(KillTimer(hwnd, 7));
    EXPECT_FALSE(KillTimer(hwnd, 7));
    SetTimer(hwnd, 9, 1, nullptr);
    StartLog();
    Backend.AdvanceClock(9);
    Pump();
    EXPECT_TRUE(timerIds().empty());
    Backend.AdvanceClock(1);
    Pump();
    EXPECT_EQ(timerIds(), (std::vector<WPARAM> { 9 }));
}

TEST_F(MessageQueue, ThreadTimersCallTheirProcedure)
{
    static int calls = 0;
    static UINT_PTR firedId = 0;
    calls = 0;
    const UINT_PTR id
        = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timerId, DWORD) { ++calls, firedId = timerId; });
    ASSERT_NE(id, 0u);
    Backend.AdvanceClock(50);
    Pump();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(firedId, id);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(MessageQueue, GetMessageWaitsForTheNextTimerOnAStillClockUntilItIsAdvanced)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    Pump();
    SetTimer(hwnd, 1, 500, nullptr);
    std::thread clockHand([&] { Backend.AdvanceClock(500); });
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    clockHand.join();
    EXPECT_EQ(msg.message, WM_TIMER);
}

TEST_F(MessageQueue, ASteppingClockEndsBusyLoopsAndIdleWaits)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    Pump();
    Backend.SetClockStepPerRead(1);
    // A fade-in style loop that waits for the clock without pumping.
    const DWORD start = GetTickCount();
    int reads = 0;
    while (GetTickCount() - start < 200)
        ++reads;
    EXPECT_GT(reads, 0);
    SetTimer(hwnd, 1, 1000, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_TIMER);
}

TEST_F(MessageQueue, QuitEndsGetMessageWithItsCode)
{
    PostQuitMessage(5);
    MSG msg;
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange)
{
    HWND a = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    HWND b = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    HWND child = CreateChild(b, RECT { 0, 0, 5, 5 }, WS_CHILD);
    Pump();
    PostMessage(a, WM_USER, 1, 0);
    PostMessage(child, WM_USER, 2, 0);
    PostMessage(b, WM_USER + 5, 3, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE)); // a parent's filter takes its children's messages
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 1, WM_USER + 10, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 1, WM_USER + 10, PM_REMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, AForgedTimerProcedureIsNeverCalled)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    Pump();
    // Anyone may post WM_TIMER with anything in lParam; only a live timer's procedure is ever called.
    PostMessage(hwnd, WM_TIMER, 3, LPARAM(0x1234));
    StartLog();
    Pump();
    const auto timers = Only({ WM_TIMER }, hwnd);
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].LParam, 0x1234);
}

TEST_F(MessageQueue, WaitMessageReturnsForPendingWork)
{
    HWND hwnd = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP | WS_VISIBLE);
    // A window waiting for its paint is work: no block.
    EXPECT_TRUE(WaitMessage());
    Pump();
    PostMessage(hwnd, WM_USER, 0, 0);
    EXPECT_TRUE(WaitMessage());
}
