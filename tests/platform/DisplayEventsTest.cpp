// What a display reports besides keys and buttons: the program gaining and losing the focus, the pointer
// leaving our windows or moving without telling us, the window manager moving and minimising windows, file
// drops; and what the window layer tells the display: owners and colour-key shapes.
#include "PlatformTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/win/FileDrops.h"

#include <string>

namespace {

class DisplayEvents : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        PlatformTest::SetUp();
    }
};

} // namespace

TEST_F(DisplayEvents, LosingTheFocusWithAPopupOpenEndsCaptureAndDeactivatesAndComingBackReactivates)
{
    HWND form = CreateTop(RECT { 0, 0, 300, 300 });
    HWND edit = CreateChild(form, RECT { 10, 10, 100, 30 });
    HWND popup = CreateTop(RECT { 50, 50, 150, 150 }, WS_POPUP, WS_EX_TOOLWINDOW, form);
    SetFocus(edit);
    SetWindowPos(popup, HWND_TOPMOST, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetCapture(popup);
    Pump();
    ASSERT_EQ(GetActiveWindow(), form);

    StartLog();
    Backend.AppDeactivate();
    Pump();
    const std::vector<TStep> lost = {
        { popup, WM_CAPTURECHANGED },
        { form, WM_NCACTIVATE },
        { form, WM_ACTIVATE },
        { edit, WM_KILLFOCUS },
        { popup, WM_ACTIVATEAPP },
        { form, WM_ACTIVATEAPP },
    };
    const auto kinds = { WM_CAPTURECHANGED, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS, WM_ACTIVATEAPP };
    EXPECT_EQ(Steps(kinds), lost);
    EXPECT_EQ(Only({ WM_ACTIVATE }).front().WParam, MAKEWPARAM(WA_INACTIVE, 0));
    EXPECT_EQ(Only({ WM_ACTIVATEAPP }).front().WParam, WPARAM(FALSE));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Backend.MouseCaptured());

    // Coming back activates the form that was active; its default gives it the focus.
    StartLog();
    Backend.AppActivate();
    Pump();
    const std::vector<TStep> regained = {
        { popup, WM_ACTIVATEAPP },
        { form, WM_ACTIVATEAPP },
        { form, WM_NCACTIVATE },
        { form, WM_ACTIVATE },
        { form, WM_SETFOCUS },
    };
    EXPECT_EQ(Steps(kinds), regained);
    EXPECT_EQ(GetActiveWindow(), form);
    // A second "gained" while active changes nothing.
    StartLog();
    Backend.AppActivate();
    Pump();
    EXPECT_TRUE(Only({ WM_ACTIVATE, WM_ACTIVATEAPP }).empty());
}

TEST_F(DisplayEvents, ThePointerPositionComesFromTheDisplay)
{
    HWND form = CreateTop(RECT { 0, 0, 200, 200 });
    Backend.MouseMove(20, 30);
    Pump();
    // A move only the display saw (over another program's window): GetCursorPos knows it, no message came.
    StartLog();
    Backend.MovePointerSilently(500, 400);
    Pump();
    POINT p {};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 500);
    EXPECT_EQ(p.y, 400);
    EXPECT_TRUE(Only({ WM_MOUSEMOVE, WM_NCMOUSEMOVE }).empty());

    // SetCursorPos moves the display's pointer, and the move comes back as input.
    SetCursorPos(50, 60);
    EXPECT_EQ(Backend.Pointer().x, 50);
    Pump();
    const auto moves = Only({ WM_MOUSEMOVE }, form);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].LParam, MAKELPARAM(50, 60));
}

TEST_F(DisplayEvents, ThePointerLeavingOurWindowsLeavesNoWindowUnderIt)
{
    HWND form = CreateTop(RECT { 0, 0, 200, 200 });
    Backend.MouseMove(20, 30);
    Pump();
    EXPECT_EQ(WindowFromPoint(POINT { 20, 30 }), form);
    // Over another program's window that covers ours: none of ours is under the pointer there.
    Backend.PointerLeave(120, 130);
    Pump();
    POINT p {};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(WindowFromPoint(p), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT { 20, 30 }), form); // other points are still hit tested
    Backend.MouseMove(120, 130);
    Pump();
    EXPECT_EQ(WindowFromPoint(p), form);
}

TEST_F(DisplayEvents, TheWindowManagersMovesAndMinimisingReachTheWindow)
{
    HWND form = CreateTop(RECT { 10, 10, 210, 110 }, WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX);
    Pump();
    StartLog();
    Backend.WindowManagerMove(form, RECT { 40, 50, 340, 250 });
    Pump();
    RECT r {};
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.bottom, 250);
    EXPECT_EQ(Sequence({ WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE }, form),
        Messages({ WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE }));
    EXPECT_EQ(Only({ WM_SIZE }, form).front().LParam, MAKELPARAM(300, 200));

    StartLog();
    Backend.WindowManagerMinimize(form, true);
    Pump();
    EXPECT_TRUE(IsIconic(form));
    ASSERT_FALSE(Only({ WM_SYSCOMMAND }, form).empty());
    EXPECT_EQ(Only({ WM_SYSCOMMAND }, form).front().WParam, SC_MINIMIZE);
    Backend.WindowManagerMinimize(form, false);
    Pump();
    EXPECT_FALSE(IsIconic(form));
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 40);
}

TEST_F(DisplayEvents, MaximisingReachesTheDisplayAndTheWindowManagersMaximisingReachesTheWindow)
{
    HWND form = CreateTop(RECT { 10, 10, 210, 110 }, WS_POPUP | WS_VISIBLE | WS_MAXIMIZEBOX);
    Pump();
    // The layer's own maximising and restoring are told to the display.
    ShowWindow(form, SW_MAXIMIZE);
    EXPECT_TRUE(Backend.Native(form)->Maximized);
    ShowWindow(form, SW_MINIMIZE);
    ShowWindow(form, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(form)) << "a minimised maximised window comes back maximised";
    EXPECT_TRUE(Backend.Native(form)->Maximized);
    ShowWindow(form, SW_RESTORE);
    EXPECT_FALSE(Backend.Native(form)->Maximized);
    RECT r {};
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 210);
    // The window manager's, as system commands.
    StartLog();
    Backend.WindowManagerMaximize(form, true);
    Pump();
    EXPECT_TRUE(IsZoomed(form));
    ASSERT_FALSE(Only({ WM_SYSCOMMAND }, form).empty());
    EXPECT_EQ(Only({ WM_SYSCOMMAND }, form).front().WParam, SC_MAXIMIZE);
    Backend.WindowManagerMaximize(form, false);
    Pump();
    EXPECT_FALSE(IsZoomed(form));
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, 10);
}

TEST_F(DisplayEvents, ADropReachesTheWindowThatAcceptsFilesWithItsPathsAndPoint)
{
    HWND form = CreateTop(RECT { 100, 100, 400, 300 }, WS_POPUP | WS_VISIBLE | WS_CAPTION);
    HWND list = CreateChild(form, RECT { 10, 10, 200, 150 });
    HWND inner = CreateChild(list, RECT { 5, 5, 50, 50 });
    DragAcceptFiles(list, TRUE);
    RECT client {};
    GetClientRect(list, &client);
    POINT origin { 0, 0 };
    ClientToScreen(list, &origin);
    const std::vector<std::string> paths = { "/tmp/a clip.mp4", "/tmp/f\xC3\xBCr \xE6\x97\xA5\xE6\x9C\xAC.avi" };

    // Dropped on a child without the style: its accepting parent gets it.
    HDROP drop = nullptr;
    Handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DROPFILES && hwnd == list)
            drop = reinterpret_cast<HDROP>(wParam);
        return std::nullopt;
    };
    StartLog();
    Backend.DropFiles(origin.x + 20, origin.y + 25, paths);
    Pump();
    EXPECT_EQ(Steps({ WM_DROPFILES }), (std::vector<TStep> { { list, WM_DROPFILES } }));
    ASSERT_NE(drop, nullptr);
    ASSERT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    for (UINT i = 0; i < 2; ++i) {
        const UINT length = DragQueryFile(drop, i, nullptr, 0);
        ASSERT_EQ(length, paths[i].size());
        std::string buffer(length + 2, 'x');
        EXPECT_EQ(DragQueryFile(drop, i, buffer.data(), length + 1), length);
        EXPECT_EQ(std::string(buffer.c_str()), paths[i]);
    }
    char small[5];
    EXPECT_EQ(DragQueryFile(drop, 0, small, sizeof small), 4u);
    EXPECT_STREQ(small, "/tmp");
    EXPECT_EQ(DragQueryFile(drop, 2, small, sizeof small), 0u);
    POINT at {};
    EXPECT_TRUE(DragQueryPoint(drop, &at));
    EXPECT_EQ(at.x, 20);
    EXPECT_EQ(at.y, 25);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 0u);

    // The window is disabled behind a modal dialog: it takes no drop until it is enabled again.
    EnableWindow(form, FALSE);
    StartLog();
    Backend.DropFiles(origin.x + 20, origin.y + 25, paths);
    Pump();
    EXPECT_TRUE(Only({ WM_DROPFILES }).empty());
    EnableWindow(form, TRUE);

    // No window under the point accepts files: the drop goes nowhere.
    (void)inner;
    DragAcceptFiles(list, FALSE);
    StartLog();
    Backend.DropFiles(origin.x + 20, origin.y + 25, paths);
    Backend.DropFiles(900, 700, paths);
    Pump();
    EXPECT_TRUE(Only({ WM_DROPFILES }).empty());
}

TEST_F(DisplayEvents, TheDisplayKnowsEachWindowsOwner)
{
    HWND form = CreateTop(RECT { 0, 0, 300, 300 });
    HWND other = CreateTop(RECT { 0, 0, 300, 300 });
    HWND dialog = CreateTop(RECT { 50, 50, 150, 150 }, WS_POPUP | WS_VISIBLE, 0, form);
    ASSERT_NE(Backend.Native(dialog), nullptr);
    EXPECT_EQ(Backend.Native(dialog)->Owner, form);
    EXPECT_EQ(Backend.Native(form)->Owner, nullptr);
    SetWindowLongPtr(dialog, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(other));
    EXPECT_EQ(Backend.Native(dialog)->Owner, other);
    SetWindowLongPtr(dialog, GWLP_HWNDPARENT, 0);
    EXPECT_EQ(Backend.Native(dialog)->Owner, nullptr);
}

TEST_F(DisplayEvents, AColourKeyCutsTheNativeWindowOrIsNotAvailable)
{
    HWND form = CreateTop(RECT { 0, 0, 100, 80 }, WS_POPUP | WS_VISIBLE, WS_EX_LAYERED);
    Pump();
    const COLORREF key = RGB(255, 0, 255);
    HDC dc = GetDC(form);
    HBRUSH magenta = CreateSolidBrush(key);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    RECT all { 0, 0, 100, 80 };
    FillRect(dc, &all, grey);
    RECT hole { 20, 10, 60, 30 };
    FillRect(dc, &hole, magenta);
    ASSERT_EQ(Backend.WindowPixel(form, 30, 20), 0xFF00FFu);
    ASSERT_TRUE(SetLayeredWindowAttributes(form, key, 255, LWA_COLORKEY));
    const THeadlessBackend::TNativeState* native = Backend.Native(form);
    ASSERT_TRUE(native->Shaped);
    EXPECT_FALSE(native->Shape.Contains(30, 20));
    EXPECT_TRUE(native->Shape.Contains(10, 20));
    EXPECT_TRUE(native->Shape.Contains(70, 20));
    // Drawing over the key colour fills the hole at the next present.
    FillRect(dc, &hole, grey);
    UpdateWindow(form);
    Pump();
    EXPECT_TRUE(Backend.Native(form)->Shape.Contains(30, 20));
    // Without the key the window is whole again.
    ASSERT_TRUE(SetLayeredWindowAttributes(form, 0, 200, LWA_ALPHA));
    EXPECT_FALSE(Backend.Native(form)->Shaped);
    ReleaseDC(form, dc);
    DeleteObject(magenta);
    DeleteObject(grey);

    // A display that cannot shape cannot key; opacity alone still works.
    Backend.SetShaping(false);
    SetLastError(0);
    EXPECT_FALSE(SetLayeredWindowAttributes(form, key, 255, LWA_COLORKEY));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_TRUE(SetLayeredWindowAttributes(form, 0, 128, LWA_ALPHA));
}
