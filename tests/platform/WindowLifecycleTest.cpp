#include "PlatformTestSupport.h"

#include <cstring>
#include <string>

using WindowLifecycle = PlatformTest;

TEST_F(WindowLifecycle, CreationSendsItsMessagesInOrderThroughTheClassProcedure)
{
    std::vector<UINT> seen;
    void* createParam = nullptr;
    Handler = [&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        seen.push_back(m);
        if (m == WM_NCCREATE)
            createParam = reinterpret_cast<CREATESTRUCT*>(l)->lpCreateParams;
        return std::nullopt;
    };
    int param = 0;
    HWND hwnd = CreateWindowEx(
        0, kPlain, "caption", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr, nullptr, &param);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(seen, Messages({ WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE }));
    EXPECT_EQ(createParam, &param);
    char text[32];
    EXPECT_EQ(GetWindowText(hwnd, text, sizeof text), 7);
    EXPECT_STREQ(text, "caption");
    // The default frame of an overlapped window: 4-pixel sizing border, 19-pixel caption.
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 300 - 8);
    EXPECT_EQ(client.bottom, 200 - 8 - 19);
    POINT origin { 0, 0 };
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(origin.x, 14);
    EXPECT_EQ(origin.y, 20 + 4 + 19);
    RECT adjusted = client;
    AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(adjusted.right - adjusted.left, 300);
    EXPECT_EQ(adjusted.bottom - adjusted.top, 200);
}

TEST_F(WindowLifecycle, CreationFailsCleanlyWhenTheProcedureRefuses)
{
    struct Case {
        UINT Message;
        LRESULT Answer;
        std::vector<UINT> Expected;
    };
    const Case kCases[] = {
        { WM_NCCREATE, FALSE, { WM_NCCREATE, WM_NCDESTROY } },
        { WM_CREATE, -1, { WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Message);
        std::vector<UINT> seen;
        Handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            seen.push_back(m);
            if (m == c.Message)
                return c.Answer;
            return std::nullopt;
        };
        EXPECT_EQ(CreateTop(RECT { 0, 0, 50, 50 }, WS_POPUP), nullptr);
        EXPECT_EQ(seen, c.Expected);
    }
    Handler = nullptr;
    // The class has no windows left, so it can go.
    EXPECT_TRUE(UnregisterClass(kPlain, nullptr));
}

TEST_F(WindowLifecycle, DestroyOrdersDestroyParentsFirstAndNcDestroyChildrenFirst)
{
    HWND top = CreateTop(RECT { 0, 0, 200, 200 });
    HWND child = CreateChild(top, RECT { 10, 10, 100, 100 });
    HWND grandchild = CreateChild(child, RECT { 5, 5, 20, 20 });
    HWND owned = CreateTop(RECT { 50, 50, 80, 80 }, WS_POPUP | WS_VISIBLE, 0, top);
    StartLog();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (const TLoggedMessage& e : Only({ WM_DESTROY, WM_NCDESTROY }))
        order.emplace_back(e.Window, e.Message);
    const std::vector<std::pair<HWND, UINT>> expected = {
        { owned, WM_DESTROY },
        { owned, WM_NCDESTROY },
        { top, WM_DESTROY },
        { child, WM_DESTROY },
        { grandchild, WM_DESTROY },
        { grandchild, WM_NCDESTROY },
        { child, WM_NCDESTROY },
        { top, WM_NCDESTROY },
    };
    EXPECT_EQ(order, expected);
    for (HWND h : { top, child, grandchild, owned })
        EXPECT_FALSE(IsWindow(h));
    // A stale handle is recognised and every call on it fails harmlessly.
    EXPECT_EQ(SendMessage(child, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessage(child, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(child));
    EXPECT_EQ(GetWindowLongPtr(child, GWL_STYLE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    // A new window does not inherit an old handle.
    HWND again = CreateTop(RECT { 0, 0, 10, 10 });
    EXPECT_NE(again, top);
    EXPECT_NE(again, child);
}

TEST_F(WindowLifecycle, AWindowDestroyedInsideItsOwnHandlerUnwindsSafely)
{
    HWND top = CreateTop(RECT { 0, 0, 200, 200 });
    HWND child = CreateChild(top, RECT { 0, 0, 100, 100 });
    SetTimer(child, 1, 100, nullptr);
    PostMessage(child, WM_USER + 1, 0, 0);
    std::vector<std::string> afterwards;
    Handler = [&](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == child && m == WM_USER) {
            EXPECT_TRUE(DestroyWindow(hwnd));
            // Still inside the handler: the handle is dead, the calls fail, nothing crashes.
            afterwards.push_back(IsWindow(hwnd) ? "alive" : "dead");
            afterwards.push_back(std::to_string(DefWindowProc(hwnd, WM_NCHITTEST, 0, 0)));
            afterwards.push_back(std::to_string(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)));
            afterwards.push_back(GetParent(hwnd) ? "parent" : "no parent");
            return 42;
        }
        return std::nullopt;
    };
    StartLog();
    EXPECT_EQ(SendMessage(child, WM_USER, 0, 0), 42);
    EXPECT_EQ(afterwards, (std::vector<std::string> { "dead", "0", "0", "no parent" }));
    const auto log = Backend.Log().ForWindow(child);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().Message, UINT(WM_USER));
    EXPECT_EQ(log.front().Result, 42);
    EXPECT_TRUE(IsWindow(top));
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
    // Its posted message and its timer went with it.
    Backend.AdvanceClock(500);
    StartLog();
    Pump();
    EXPECT_TRUE(Backend.Log().ForWindow(child).empty());
}

TEST_F(WindowLifecycle, DestroyInsideWmDestroyIsRefused)
{
    HWND top = CreateTop(RECT { 0, 0, 50, 50 });
    int calls = 0;
    Handler = [&](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_DESTROY) {
            ++calls;
            EXPECT_FALSE(DestroyWindow(hwnd));
        }
        return std::nullopt;
    };
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_EQ(calls, 1);
}

TEST_F(WindowLifecycle, WindowDataAndRelations)
{
    WNDCLASS wc {};
    wc.lpfnWndProc = &PlatformTest::TestProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.lpszClassName = "Extra";
    ASSERT_NE(RegisterClass(&wc), 0);
    EXPECT_EQ(RegisterClass(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    HWND owner = CreateTop(RECT { 0, 0, 100, 100 });
    HWND w = CreateWindowEx(0, "extra", "x", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetParent(w), owner); // a top-level window's "parent" is its owner
    EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
    EXPECT_EQ(GetAncestor(w, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(w, GA_ROOTOWNER), owner);
    EXPECT_EQ(SetWindowLongPtr(w, sizeof(LONG_PTR), 77), 0);
    EXPECT_EQ(GetWindowLongPtr(w, sizeof(LONG_PTR)), 77);
    EXPECT_EQ(GetWindowLongPtr(w, 2 * sizeof(LONG_PTR)), 0); // past the extra bytes
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetWindowLongPtr(w, GWLP_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
    char name[16];
    EXPECT_EQ(GetClassName(w, name, sizeof name), 5);
    EXPECT_STREQ(name, "Extra");
    // Text keeps UTF-8 sequences whole when the buffer is short.
    SetWindowText(w, "a\xC3\xA9z");
    EXPECT_EQ(GetWindowTextLength(w), 4);
    EXPECT_EQ(GetWindowText(w, name, 3), 1);
    EXPECT_STREQ(name, "a");
    // The class cannot go while its window lives.
    EXPECT_FALSE(UnregisterClass("Extra", nullptr));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClass("Extra", nullptr));

    const UINT a = RegisterWindowMessage("TaskbarCreated");
    EXPECT_GE(a, WM_REGISTERED_FIRST);
    EXPECT_EQ(RegisterWindowMessage("taskbarcreated"), a);
    EXPECT_NE(RegisterWindowMessage("Other"), a);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(WindowLifecycle, ChildCreationAndDestructionNotifyTheAncestors)
{
    HWND top = CreateTop(RECT { 0, 0, 200, 200 });
    HWND panel = CreateChild(top, RECT { 0, 0, 100, 100 });
    StartLog();
    HWND button = CreateChild(panel, RECT { 0, 0, 10, 10 }, WS_CHILD | WS_VISIBLE, kPlain, 7);
    const auto created = Only({ WM_PARENTNOTIFY });
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].Window, panel);
    EXPECT_EQ(created[1].Window, top);
    EXPECT_EQ(LOWORD(created[0].WParam), WM_CREATE);
    EXPECT_EQ(HIWORD(created[0].WParam), 7);
    EXPECT_EQ(reinterpret_cast<HWND>(created[0].LParam), button);
    StartLog();
    DestroyWindow(button);
    EXPECT_EQ(Sequence({ WM_PARENTNOTIFY, WM_DESTROY }), Messages({ WM_PARENTNOTIFY, WM_PARENTNOTIFY, WM_DESTROY }));
}

TEST_F(WindowLifecycle, MessageOnlyWindowsGetMessagesAndTimersButNoInput)
{
    HWND hidden = CreateWindowEx(
        0, kPlain, "app", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetAncestor(hidden, GA_PARENT), nullptr);
    EXPECT_TRUE(PostMessage(hidden, WM_USER, 1, 2));
    SetTimer(hidden, 5, 50, nullptr);
    Backend.AdvanceClock(50);
    StartLog();
    Backend.Click(10, 10);
    Pump();
    EXPECT_EQ(Sequence({ WM_USER, WM_TIMER, WM_LBUTTONDOWN, WM_NCHITTEST, WM_PAINT }, hidden),
        Messages({ WM_USER, WM_TIMER }));
    EXPECT_EQ(WindowFromPoint(POINT { 10, 10 }), nullptr);
    EXPECT_EQ(Backend.Native(hidden), nullptr);
}

TEST_F(WindowLifecycle, SetParentMovesAWindowBetweenTrees)
{
    HWND a = CreateTop(RECT { 0, 0, 200, 200 });
    HWND b = CreateTop(RECT { 300, 0, 500, 200 });
    HWND panel = CreateChild(a, RECT { 10, 10, 50, 50 });
    EXPECT_EQ(SetParent(panel, b), a);
    EXPECT_TRUE(IsChild(b, panel));
    EXPECT_FALSE(IsChild(a, panel));
    RECT r;
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.left, 310);
    // Cycles are refused.
    EXPECT_EQ(SetParent(b, panel), nullptr);
    // Out to the desktop it becomes a top-level window with a native window of its own.
    EXPECT_EQ(SetParent(panel, nullptr), b);
    EXPECT_NE(Backend.Native(panel), nullptr);
    EXPECT_EQ(GetAncestor(panel, GA_ROOT), panel);
}

TEST_F(WindowLifecycle, HandlersMayDestroyOtherWindowsOfTheTreeBeingDestroyed)
{
    HWND top = CreateTop(RECT { 0, 0, 200, 200 });
    HWND a = CreateChild(top, RECT { 0, 0, 10, 10 });
    HWND b = CreateChild(top, RECT { 20, 0, 30, 10 });
    HWND c = CreateChild(b, RECT { 0, 0, 5, 5 });
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == top && m == WM_DESTROY)
            DestroyWindow(b); // a child still free to go on its own
        if (h == a && m == WM_DESTROY) {
            EXPECT_FALSE(DestroyWindow(top)); // already on its way
        }
        return std::nullopt;
    };
    StartLog();
    EXPECT_TRUE(DestroyWindow(top));
    for (HWND h : { top, a, b, c }) {
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(Only({ WM_DESTROY }, h).size(), 1u);
        EXPECT_EQ(Only({ WM_NCDESTROY }, h).size(), 1u);
    }
}

TEST_F(WindowLifecycle, TheLayerCannotBeStoppedFromInsideAHandler)
{
    HWND top = CreateTop(RECT { 0, 0, 10, 10 });
    bool stopped = true;
    Handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER)
            stopped = PlatformStop();
        return std::nullopt;
    };
    SendMessage(top, WM_USER, 0, 0);
    EXPECT_FALSE(stopped);
    EXPECT_TRUE(PlatformStarted());
    EXPECT_TRUE(IsWindow(top));
}

// Every entry point fails the same way on a bad window or a missing out-pointer, and says why.
TEST_F(WindowLifecycle, EntryPointsRejectBadWindowsAndMissingPointersWithTheirLastError)
{
    HWND top = CreateTop(RECT { 0, 0, 50, 50 });
    HWND stale = CreateTop(RECT { 0, 0, 10, 10 });
    DestroyWindow(stale);
    HWND messageOnly = CreateWindowEx(0, kPlain, "m", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(messageOnly, nullptr);
    RECT rect {};
    POINT point {};
    char text[8];
    struct TCase {
        const char* Call;
        std::function<bool()> Fails;
        DWORD Error;
    };
    const TCase cases[] = {
        { "GetWindowRect(stale)", [&] { return !GetWindowRect(stale, &rect); }, ERROR_INVALID_WINDOW_HANDLE },
        { "GetWindowRect(null rect)", [&] { return !GetWindowRect(top, nullptr); }, ERROR_INVALID_PARAMETER },
        { "ClientToScreen(null point)", [&] { return !ClientToScreen(top, nullptr); }, ERROR_INVALID_PARAMETER },
        { "ScreenToClient(stale)", [&] { return !ScreenToClient(stale, &point); }, ERROR_INVALID_WINDOW_HANDLE },
        { "GetClassName(null buffer)", [&] { return GetClassName(top, nullptr, 8) == 0; }, ERROR_INVALID_PARAMETER },
        { "GetWindowText(stale)", [&] { return GetWindowText(stale, text, 8) == 0; }, ERROR_INVALID_WINDOW_HANDLE },
        { "BeginPaint(null paint)", [&] { return BeginPaint(top, nullptr) == nullptr; }, ERROR_INVALID_PARAMETER },
        { "ShowWindow(message-only)", [&] { return !ShowWindow(messageOnly, SW_SHOW); }, ERROR_INVALID_WINDOW_HANDLE },
        { "SetFocus(message-only)", [&] { return SetFocus(messageOnly) == nullptr; }, ERROR_INVALID_WINDOW_HANDLE },
        { "SetCapture(stale)", [&] { return SetCapture(stale) == nullptr; }, ERROR_INVALID_WINDOW_HANDLE },
        { "IsWindowVisible(stale)", [&] { return !IsWindowVisible(stale); }, ERROR_INVALID_WINDOW_HANDLE },
        { "MapWindowPoints(to stale)", [&] { return MapWindowPoints(top, stale, &point, 1) == 0; },
            ERROR_INVALID_WINDOW_HANDLE },
    };
    for (const TCase& c : cases) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_TRUE(c.Fails()) << c.Call;
        EXPECT_EQ(GetLastError(), c.Error) << c.Call;
    }
    // The desktop is a window for the geometry queries.
    EXPECT_TRUE(GetWindowRect(GetDesktopWindow(), &rect));
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
}
