#include "PlatformTestSupport.h"

#include <string>

namespace {

std::vector<std::string> Trace;
WNDPROC SavedBefore = nullptr;
WNDPROC SavedAfter = nullptr;
WNDPROC SavedInstead = nullptr;

// Does its own work, then the procedure it replaced.
LRESULT BeforeHook(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m >= WM_USER)
        Trace.push_back("before");
    return CallWindowProc(SavedBefore, h, m, w, l);
}

// Lets the procedure it replaced run first, then adds to the result.
LRESULT AfterHook(HWND h, UINT m, WPARAM w, LPARAM l)
{
    const LRESULT result = CallWindowProc(SavedAfter, h, m, w, l);
    if (m >= WM_USER)
        Trace.push_back("after");
    return m >= WM_USER ? result + 100 : result;
}

// Answers WM_USER itself; everything else goes down the chain.
LRESULT InsteadHook(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_USER) {
        Trace.push_back("instead");
        return 7;
    }
    return CallWindowProc(SavedInstead, h, m, w, l);
}

class WindowProc : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        Trace.clear();
        Handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m < WM_USER)
                return std::nullopt;
            Trace.push_back("class");
            return 1;
        };
        Window = CreateTop(RECT { 0, 0, 50, 50 });
    }

    std::vector<std::string> Send(UINT message, LRESULT* result = nullptr)
    {
        Trace.clear();
        const LRESULT r = SendMessage(Window, message, 0, 0);
        if (result)
            *result = r;
        return Trace;
    }

    WNDPROC Hook(WNDPROC proc)
    {
        return reinterpret_cast<WNDPROC>(SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    void Unhook(WNDPROC saved) { SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved)); }

    HWND Window = nullptr;
};

using TTrace = std::vector<std::string>;

} // namespace

TEST_F(WindowProc, HooksChainBeforeAfterOrInsteadAndComeOffInAnyOrder)
{
    SavedBefore = Hook(&BeforeHook);
    SavedAfter = Hook(&AfterHook);
    SavedInstead = Hook(&InsteadHook);
    LRESULT result = 0;
    EXPECT_EQ(Send(WM_USER, &result), (TTrace { "instead" }));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(Send(WM_USER + 1, &result), (TTrace { "before", "class", "after" }));
    EXPECT_EQ(result, 101);

    // The first hook comes off while two hooks above it still chain through it.
    Unhook(SavedBefore);
    EXPECT_EQ(Send(WM_USER + 1), (TTrace { "class", "after" }));
    EXPECT_EQ(Send(WM_USER), (TTrace { "instead" }));

    // Now the top one, then the last.
    Unhook(SavedInstead);
    EXPECT_EQ(Send(WM_USER, &result), (TTrace { "class", "after" }));
    EXPECT_EQ(result, 101);
    Unhook(SavedAfter);
    EXPECT_EQ(Send(WM_USER, &result), (TTrace { "class" }));
    EXPECT_EQ(result, 1);

    // What is left is the class's procedure, and a removed hook can hook again.
    EXPECT_EQ(GetWindowLongPtr(Window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(SavedBefore));
    SavedBefore = Hook(&BeforeHook);
    EXPECT_EQ(Send(WM_USER), (TTrace { "before", "class" }));
}

TEST_F(WindowProc, TheMiddleHookLeavesFirstAndTheOuterHooksStillWork)
{
    SavedBefore = Hook(&BeforeHook);
    SavedAfter = Hook(&AfterHook);
    SavedInstead = Hook(&InsteadHook);
    Unhook(SavedAfter); // the hook between the two others
    EXPECT_EQ(Send(WM_USER + 1), (TTrace { "before", "class" }));
    Unhook(SavedInstead);
    EXPECT_EQ(Send(WM_USER), (TTrace { "before", "class" }));
    Unhook(SavedBefore);
    EXPECT_EQ(Send(WM_USER), (TTrace { "class" }));
}

TEST_F(WindowProc, ValuesAreHandedBackAndCheckedAndTheClassProcedureStaysReachable)
{
    const LONG_PTR original = GetWindowLongPtr(Window, GWLP_WNDPROC);
    SavedAfter = Hook(&AfterHook);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(SavedAfter), original);
    EXPECT_NE(GetWindowLongPtr(Window, GWLP_WNDPROC), original);
    // A value that was never handed out is refused and changes nothing.
    EXPECT_EQ(SetWindowLongPtr(Window, GWLP_WNDPROC, 0), 0);
    EXPECT_EQ(Send(WM_USER), (TTrace { "class", "after" }));
    // The class procedure as a plain address is callable directly.
    auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtr(Window, GCLP_WNDPROC));
    Trace.clear();
    EXPECT_EQ(CallWindowProc(classProc, Window, WM_USER, 0, 0), 1);
    EXPECT_EQ(Trace, (TTrace { "class" }));
    // Creation messages reach a hook installed by subclassing the class itself.
    SetClassLongPtr(Window, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BeforeHook));
    SavedBefore = classProc;
    Trace.clear();
    HWND second = CreateTop(RECT { 0, 0, 10, 10 }, WS_POPUP);
    EXPECT_NE(second, nullptr);
    SendMessage(second, WM_USER, 0, 0);
    EXPECT_EQ(Trace, (TTrace { "before", "class" }));
}

TEST_F(WindowProc, SendMessageIsReentrant)
{
    int depth = 0;
    int deepest = 0;
    Handler = [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER)
            return std::nullopt;
        ++depth;
        deepest = std::max(deepest, depth);
        const LRESULT r = w > 0 ? SendMessage(h, WM_USER, w - 1, 0) + 1 : 0;
        --depth;
        return r;
    };
    EXPECT_EQ(SendMessage(Window, WM_USER, 20, 0), 20);
    EXPECT_EQ(deepest, 21);
    const auto log = Backend.Log().Only({ WM_USER });
    ASSERT_EQ(log.size(), 21u);
    EXPECT_EQ(log[0].Depth, 0);
    EXPECT_EQ(log[20].Depth, 20);
    EXPECT_EQ(log[0].Result, 20);
}
