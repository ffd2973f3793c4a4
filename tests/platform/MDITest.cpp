#include "PlatformTestSupport.h"
#include "platform/win/Menus.h"

#include <ostream>
#include <string>

// Found by the test macros through RECT's own (global) namespace.
static bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

// A frame at the screen's top-left with an MDI client of 600 x 400 in it. The children are test windows that
// pass what they do not answer to DefMDIChildProc; the frame passes its messages to DefFrameProc.
class MDI : public PlatformTest {
protected:
    static constexpr UINT kFirstChild = 0xFF00;
    static constexpr UINT kTileCommand = 100;

    void SetUp() override
    {
        PlatformTest::SetUp();
        Handler = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (Client && hwnd == Frame)
                return DefFrameProc(hwnd, Client, message, wParam, lParam);
            if (Client && GetParent(hwnd) == Client)
                return DefMDIChildProc(hwnd, message, wParam, lParam);
            return std::nullopt;
        };
        Frame = CreateTop(RECT { 0, 0, 640, 480 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        WindowMenu = CreatePopupMenu();
        AppendMenu(WindowMenu, MF_STRING, kTileCommand, "&Tile");
        CLIENTCREATESTRUCT params { WindowMenu, kFirstChild };
        Client = CreateWindowEx(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 600, 400, Frame,
            nullptr, nullptr, &params);
        ASSERT_NE(Client, nullptr);
        SetActiveWindow(Frame);
    }

    void TearDown() override
    {
        DestroyWindow(Frame);
        DestroyMenu(WindowMenu);
        PlatformTest::TearDown();
    }

    HWND NewChild(const char* title, DWORD style = WS_VISIBLE, RECT r = { CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, 0 })
    {
        return CreateMDIWindow(kPlain, title, style, r.left, r.top, r.right, r.bottom, Client, nullptr, 0);
    }

    // The window rectangle in the client's coordinates.
    RECT Place(HWND child)
    {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, Client, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    HWND Active(BOOL* maximized = nullptr)
    {
        return reinterpret_cast<HWND>(SendMessage(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
    }

    std::vector<HWND> Stacking()
    {
        std::vector<HWND> order;
        for (HWND h = GetWindow(Client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            order.push_back(h);
        return order;
    }

    // The window menu's items as "text" with "*" for a check mark and "-" for a separator.
    std::vector<std::string> MenuItems()
    {
        std::vector<std::string> items;
        for (int i = 0; i < GetMenuItemCount(WindowMenu); ++i) {
            const UINT state = GetMenuState(WindowMenu, UINT(i), MF_BYPOSITION);
            if (state & MF_SEPARATOR) {
                items.push_back("-");
                continue;
            }
            char text[64] = {};
            GetMenuString(WindowMenu, UINT(i), text, sizeof text, MF_BYPOSITION);
            items.push_back(std::string(text) + ((state & MF_CHECKED) ? "*" : ""));
        }
        return items;
    }

    HWND Frame = nullptr;
    HWND Client = nullptr;
    HMENU WindowMenu = nullptr;
};

TEST_F(MDI, TileFillsColumnsFromTheTopWindowAndTheLastColumnTakesTheRest)
{
    struct TCase {
        int Children;
        WPARAM Flags;
        // Top of the stacking order first (the child made last).
        std::vector<RECT> Expected;
    };
    const TCase cases[] = {
        { 1, MDITILE_VERTICAL, { { 0, 0, 600, 400 } } },
        { 3, MDITILE_VERTICAL, { { 0, 0, 200, 400 }, { 200, 0, 400, 400 }, { 400, 0, 600, 400 } } },
        { 3, MDITILE_HORIZONTAL, { { 0, 0, 600, 133 }, { 0, 133, 600, 266 }, { 0, 266, 600, 399 } } },
        { 4, MDITILE_VERTICAL,
            { { 0, 0, 300, 200 }, { 0, 200, 300, 400 }, { 300, 0, 600, 200 }, { 300, 200, 600, 400 } } },
        { 5, MDITILE_VERTICAL,
            { { 0, 0, 300, 200 }, { 0, 200, 300, 400 }, { 300, 0, 600, 133 }, { 300, 133, 600, 266 },
                { 300, 266, 600, 399 } } },
    };
    for (const TCase& c : cases) {
        std::vector<HWND> made;
        for (int i = 0; i < c.Children; ++i)
            made.push_back(NewChild("doc"));
        EXPECT_TRUE(SendMessage(Client, WM_MDITILE, c.Flags, 0));
        for (int i = 0; i < c.Children; ++i)
            EXPECT_EQ(Place(made[size_t(c.Children - 1 - i)]), c.Expected[size_t(i)])
                << c.Children << " children, flags " << c.Flags << ", window " << i;
        for (HWND h : made)
            SendMessage(Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(h), 0);
    }
    // Nothing to tile.
    EXPECT_FALSE(SendMessage(Client, WM_MDITILE, MDITILE_VERTICAL, 0));
}

TEST_F(MDI, TileRestoresTheMaximizedChildAndLeavesTheIconsTheirRow)
{
    HWND a = NewChild("a");
    HWND b = NewChild("b");
    HWND c = NewChild("c");
    SendMessage(Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(c), 0);
    ShowWindow(a, SW_MINIMIZE);
    SendMessage(Client, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_FALSE(IsZoomed(c));
    // Two windows side by side above one row of icons 27 high (caption 19 and two frames of 4).
    EXPECT_EQ(Place(c), (RECT { 0, 0, 300, 373 }));
    EXPECT_EQ(Place(b), (RECT { 300, 0, 600, 373 }));
    EXPECT_EQ(Place(a), (RECT { 0, 373, 160, 400 }));
}

TEST_F(MDI, CascadeStepsByTheCaptionFromTheBottomWindowAndStartsOverAtTheEdge)
{
    // Steps of 22 (caption 19 plus frame 4, less 1); 400 / 66 gives 6 steps, so every window is
    // 600 - 6 * 22 by 400 - 6 * 22, and the eighth window is back at the corner.
    std::vector<HWND> made;
    for (int i = 0; i < 8; ++i)
        made.push_back(NewChild("doc", WS_VISIBLE, RECT { 5, 5, 50, 50 }));
    EXPECT_TRUE(SendMessage(Client, WM_MDICASCADE, 0, 0));
    for (int i = 0; i < 8; ++i) {
        const int offset = 22 * (i % 7);
        EXPECT_EQ(Place(made[size_t(i)]), (RECT { offset, offset, offset + 468, offset + 268 })) << "window " << i;
    }
    EXPECT_EQ(Stacking().front(), made.back());
    // New children without a place of their own go on the same cascade.
    for (HWND h : made)
        DestroyWindow(h);
    HWND first = NewChild("first");
    HWND second = NewChild("second");
    EXPECT_EQ(Place(first), (RECT { 0, 0, 468, 268 }));
    EXPECT_EQ(Place(second), (RECT { 22, 22, 490, 290 }));
}

TEST_F(MDI, ActivationMessagesStackingAndTheNextChild)
{
    HWND a = NewChild("a");
    HWND b = NewChild("b");
    HWND c = NewChild("c");
    EXPECT_EQ(Active(), c);
    EXPECT_EQ(GetFocus(), c);

    StartLog();
    SendMessage(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a), 0);
    const std::vector<TStep> expected { { c, WM_NCACTIVATE }, { c, WM_MDIACTIVATE }, { a, WM_NCACTIVATE },
        { a, WM_CHILDACTIVATE }, { a, WM_MDIACTIVATE } };
    std::vector<TStep> steps;
    for (const TLoggedMessage& m : Only({ WM_NCACTIVATE, WM_MDIACTIVATE, WM_CHILDACTIVATE })) {
        if (m.Window == Client)
            continue;
        steps.emplace_back(m.Window, m.Message);
        if (m.Message == WM_MDIACTIVATE) {
            EXPECT_EQ(reinterpret_cast<HWND>(m.WParam), c);
            EXPECT_EQ(reinterpret_cast<HWND>(m.LParam), a);
        }
    }
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(Active(), a);
    EXPECT_EQ(GetFocus(), a);
    EXPECT_EQ(Stacking(), (std::vector<HWND> { a, c, b }));

    // Forwards sends the window left to the back, so every child comes round; backwards takes the last one.
    const std::vector<HWND> forwards { c, b, a, c };
    for (HWND next : forwards) {
        SendMessage(Client, WM_MDINEXT, 0, 0);
        EXPECT_EQ(Active(), next);
    }
    EXPECT_EQ(Stacking(), (std::vector<HWND> { c, b, a }));
    SendMessage(Client, WM_MDINEXT, 0, 1);
    EXPECT_EQ(Active(), a);

    // A click anywhere on a child activates it.
    SendMessage(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(c), 0);
    SendMessage(Client, WM_MDITILE, MDITILE_VERTICAL, 0);
    const RECT r = Place(b);
    POINT p { r.left + 40, r.top + 40 };
    ClientToScreen(Client, &p);
    Backend.Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Active(), b);

    // Closing or destroying the active child activates the one below it.
    EXPECT_EQ(Stacking().front(), b);
    const HWND below = Stacking()[1];
    SendMessage(b, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(Active(), below);
    DestroyWindow(below);
    EXPECT_EQ(Active(), Stacking().front());
    DestroyWindow(Stacking().front());
    EXPECT_EQ(Active(), nullptr);
    EXPECT_EQ(GetFocus(), Client);
}

TEST_F(MDI, TheWindowMenuListsTheShownChildrenAndFollowsTheirCaptions)
{
    using TItems = std::vector<std::string>;
    HWND a = NewChild("Alpha");
    HWND b = NewChild("Beta");
    EXPECT_EQ(MenuItems(), (TItems { "&Tile", "-", "&1 Alpha", "&2 Beta*" }));

    SetWindowText(a, "Gamma");
    HWND hidden = NewChild("Hidden", 0);
    EXPECT_EQ(MenuItems(), (TItems { "&Tile", "-", "&1 Gamma", "&2 Beta*" }));
    ShowWindow(hidden, SW_SHOW);
    EXPECT_EQ(MenuItems(), (TItems { "&Tile", "-", "&1 Gamma", "&2 Beta*", "&3 Hidden" }));

    // The frame turns an item's command into activating that child, restoring it when minimized.
    ShowWindow(a, SW_MINIMIZE);
    SendMessage(Frame, WM_COMMAND, kFirstChild, 0);
    EXPECT_EQ(Active(), a);
    EXPECT_FALSE(IsIconic(a));
    EXPECT_EQ(MenuItems(), (TItems { "&Tile", "-", "&1 Gamma*", "&2 Beta", "&3 Hidden" }));

    DestroyWindow(b);
    ShowWindow(hidden, SW_HIDE);
    EXPECT_EQ(MenuItems(), (TItems { "&Tile", "-", "&1 Gamma*" }));
    SendMessage(Frame, WM_COMMAND, kFirstChild + 1, 0); // no such item any more
    EXPECT_EQ(Active(), a);

    // Another window menu takes the list over; the old one keeps only its own items.
    HMENU other = CreatePopupMenu();
    SendMessage(Client, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(MenuItems(), (TItems { "&Tile" }));
    EXPECT_EQ(GetMenuItemCount(other), 1);
    SendMessage(Client, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(WindowMenu));
    DestroyMenu(other);
    DestroyWindow(a);
    EXPECT_EQ(MenuItems(), (TItems { "&Tile" }));
}

TEST_F(MDI, OneMaximizedChildCoversTheClientAndPassesTheStateOn)
{
    HWND a = NewChild("a", WS_VISIBLE, RECT { 10, 10, 200, 150 });
    HWND b = NewChild("b", WS_VISIBLE, RECT { 30, 30, 200, 150 });
    SendMessage(Client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a), 0);
    BOOL maximized = FALSE;
    EXPECT_EQ(Active(&maximized), a);
    EXPECT_TRUE(maximized);
    // The client area of the maximized child is the client's.
    RECT client;
    GetClientRect(a, &client);
    POINT origin { 0, 0 };
    MapWindowPoints(a, Client, &origin, 1);
    EXPECT_EQ(client, (RECT { 0, 0, 600, 400 }));
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    // Activating another child maximizes it and restores the first; a new child comes maximized.
    SendMessage(Client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(b), 0);
    EXPECT_TRUE(IsZoomed(b));
    EXPECT_FALSE(IsZoomed(a));
    EXPECT_EQ(Place(a), (RECT { 10, 10, 210, 160 }));
    HWND c = NewChild("c");
    EXPECT_TRUE(IsZoomed(c));
    EXPECT_FALSE(IsZoomed(b));
    EXPECT_EQ(Active(), c);

    // The maximized child follows the client's size.
    MoveWindow(Client, 0, 0, 500, 300, TRUE);
    GetClientRect(c, &client);
    EXPECT_EQ(client, (RECT { 0, 0, 500, 300 }));

    // Maximizing a child that is not active makes it the active one and the only maximized one.
    ShowWindow(a, SW_SHOWMAXIMIZED);
    EXPECT_EQ(Active(), a);
    EXPECT_FALSE(IsZoomed(c));

    // Destroying the maximized child leaves the next one maximized.
    SendMessage(Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(a), 0);
    EXPECT_TRUE(IsZoomed(Active()));

    // Once restored, activation leaves sizes alone.
    SendMessage(Client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(Active()), 0);
    SendMessage(Client, WM_MDINEXT, 0, 0);
    EXPECT_FALSE(IsZoomed(Active(&maximized)));
    EXPECT_FALSE(maximized);
}

TEST_F(MDI, MinimizingTheActiveChildActivatesAnotherAndLinesTheIconsUp)
{
    HWND a = NewChild("a");
    HWND b = NewChild("b");
    HWND c = NewChild("c");
    SendMessage(c, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(c));
    EXPECT_EQ(Active(), b);
    SendMessage(b, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(Active(), a);
    // Icons in the order the children were made.
    EXPECT_EQ(Place(b), (RECT { 0, 373, 160, 400 }));
    EXPECT_EQ(Place(c), (RECT { 160, 373, 320, 400 }));
    ShowWindow(b, SW_RESTORE);
    SendMessage(Client, WM_MDIICONARRANGE, 0, 0);
    EXPECT_EQ(Place(c), (RECT { 0, 373, 160, 400 }));
    EXPECT_EQ(Place(b), (RECT { 22, 22, 490, 290 }));
}

TEST_F(MDI, CtrlF6AndCtrlF4AreTheMDIKeys)
{
    HWND a = NewChild("a");
    HWND b = NewChild("b");
    auto run = [&] {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!TranslateMDISysAccel(Client, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
    };
    Backend.KeyDown(VK_CONTROL);
    Backend.Key(VK_F6);
    run();
    EXPECT_EQ(Active(), a);
    Backend.Key(VK_F4);
    run();
    Backend.KeyUp(VK_CONTROL);
    run();
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(Active(), b);
    // F6 alone is an ordinary key.
    Backend.Key(VK_F6);
    run();
    EXPECT_EQ(Active(), b);
}

} // namespace
