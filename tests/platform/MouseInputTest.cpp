#include "PlatformTestSupport.h"

namespace {

class MouseInput : public PlatformTest { };

} // namespace

TEST_F(MouseInput, ClickOnAChildOfAnInactiveWindow)
{
    HWND active = CreateTop(RECT { 500, 100, 700, 300 });
    HWND form = CreateTop(RECT { 100, 100, 300, 300 }, WS_POPUP | WS_VISIBLE);
    HWND panel = CreateChild(form, RECT { 10, 10, 110, 110 });
    HWND button = CreateChild(panel, RECT { 10, 10, 50, 30 });
    SetActiveWindow(active);
    ASSERT_EQ(GetActiveWindow(), active);
    ASSERT_EQ(GetFocus(), active);
    Pump();
    StartLog();
    Backend.MouseMove(125, 125);
    Backend.MouseDown();
    Pump();
    const std::vector<TStep> expected = {
        { button, WM_NCHITTEST },
        { button, WM_SETCURSOR }, // the move
        { panel, WM_SETCURSOR },
        { form, WM_SETCURSOR },
        { button, WM_MOUSEMOVE },
        { button, WM_NCHITTEST },
        { button, WM_MOUSEACTIVATE }, // passed up to the top-level window by DefWindowProc
        { panel, WM_MOUSEACTIVATE },
        { form, WM_MOUSEACTIVATE },
        { active, WM_NCACTIVATE },
        { active, WM_ACTIVATE },
        { active, WM_KILLFOCUS },
        { form, WM_NCACTIVATE },
        { form, WM_ACTIVATE },
        { form, WM_SETFOCUS },
        { button, WM_SETCURSOR },
        { panel, WM_SETCURSOR },
        { form, WM_SETCURSOR },
        { panel, WM_PARENTNOTIFY }, // every ancestor hears of it before the button
        { form, WM_PARENTNOTIFY },
        { button, WM_LBUTTONDOWN },
    };
    EXPECT_EQ(Steps({ WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE,
                  WM_KILLFOCUS, WM_SETFOCUS, WM_PARENTNOTIFY, WM_LBUTTONDOWN }),
        expected);
    const auto activate = Only({ WM_MOUSEACTIVATE }, button).front();
    EXPECT_EQ(reinterpret_cast<HWND>(activate.WParam), form);
    EXPECT_EQ(activate.LParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(activate.Result, MA_ACTIVATE);
    EXPECT_EQ(LOWORD(Only({ WM_ACTIVATE }, form).front().WParam), WA_CLICKACTIVE);
    const auto notify = Only({ WM_PARENTNOTIFY });
    EXPECT_EQ(notify[0].WParam, MAKEWPARAM(WM_LBUTTONDOWN, 0));
    EXPECT_EQ(notify[0].LParam, MAKELPARAM(15, 15)); // in the panel's client coordinates
    EXPECT_EQ(notify[1].LParam, MAKELPARAM(25, 25)); // in the form's
    const auto down = Only({ WM_LBUTTONDOWN }).front();
    EXPECT_EQ(down.LParam, MAKELPARAM(5, 5));
    EXPECT_EQ(down.WParam, MK_LBUTTON);
    EXPECT_EQ(GetActiveWindow(), form);
    EXPECT_EQ(Backend.Stacking().front(), form);
    EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, IDC_IBEAM)); // the class cursor
}

TEST_F(MouseInput, APopupAnsweringNoActivateTakesTheClickWithoutActivation)
{
    HWND form = CreateTop(RECT { 100, 100, 300, 300 });
    HWND popup = CreateTop(RECT { 150, 150, 250, 250 }, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, form);
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == popup && m == WM_MOUSEACTIVATE)
            return MA_NOACTIVATE;
        return std::nullopt;
    };
    SetActiveWindow(form);
    SetWindowPos(popup, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump();
    StartLog();
    Backend.Click(200, 200);
    Pump();
    EXPECT_EQ(GetActiveWindow(), form);
    EXPECT_EQ(GetFocus(), form);
    EXPECT_TRUE(Only({ WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS }).empty());
    EXPECT_EQ(Sequence({ WM_MOUSEACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP }, popup),
        Messages({ WM_MOUSEACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP }));
}

TEST_F(MouseInput, EatingAnswersSwallowTheClick)
{
    struct Case {
        LRESULT Answer;
        bool Activates;
        bool Delivered;
    };
    const Case kCases[] = {
        { MA_ACTIVATE, true, true },
        { MA_ACTIVATEANDEAT, true, false },
        { MA_NOACTIVATE, false, true },
        { MA_NOACTIVATEANDEAT, false, false },
    };
    HWND other = CreateTop(RECT { 500, 0, 600, 100 });
    HWND target = CreateTop(RECT { 0, 0, 100, 100 });
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Answer);
        SetActiveWindow(other);
        Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (h == target && m == WM_MOUSEACTIVATE)
                return c.Answer;
            return std::nullopt;
        };
        Pump();
        StartLog();
        Backend.Click(50, 50);
        Pump();
        EXPECT_EQ(GetActiveWindow() == target, c.Activates);
        EXPECT_EQ(!Only({ WM_LBUTTONDOWN }, target).empty(), c.Delivered);
        // Eating takes the press only: the release still comes.
        EXPECT_EQ(Only({ WM_LBUTTONUP }, target).size(), 1u);
    }
}

TEST_F(MouseInput, CaptureKeepsADragThatLeavesTheWindowWithoutHitTests)
{
    HWND below = CreateTop(RECT { 0, 0, 90, 90 });
    HWND form = CreateTop(RECT { 100, 100, 300, 300 });
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == form && m == WM_LBUTTONDOWN)
            SetCapture(h);
        if (h == form && m == WM_LBUTTONUP)
            ReleaseCapture();
        return std::nullopt;
    };
    Backend.MouseMove(150, 150);
    Backend.MouseDown();
    Pump();
    ASSERT_EQ(GetCapture(), form);
    EXPECT_TRUE(Backend.MouseCaptured());
    StartLog();
    Backend.MouseMove(50, 60);
    Backend.MouseMove(-20, 5);
    Backend.MouseUp();
    Pump();
    EXPECT_TRUE(Only({ WM_NCHITTEST, WM_SETCURSOR }).empty());
    EXPECT_TRUE(Backend.Log().ForWindow(below).empty());
    const auto moves = Only({ WM_MOUSEMOVE, WM_LBUTTONUP }, form);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].LParam), -50);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].LParam), -40);
    EXPECT_EQ(moves[0].WParam, MK_LBUTTON);
    EXPECT_EQ(GET_X_LPARAM(moves[1].LParam), -120);
    EXPECT_EQ(moves[2].Message, UINT(WM_LBUTTONUP));
    EXPECT_EQ(GET_Y_LPARAM(moves[2].LParam), -95);
    EXPECT_EQ(Only({ WM_CAPTURECHANGED }, form).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    // Released, the pointer's events follow the window under it again.
    StartLog();
    Backend.MouseMove(40, 40);
    Pump();
    EXPECT_EQ(Sequence({ WM_NCHITTEST, WM_MOUSEMOVE }, below), Messages({ WM_NCHITTEST, WM_MOUSEMOVE }));
}

TEST_F(MouseInput, WithoutCaptureAHeldButtonFollowsTheWindowUnderThePointer)
{
    HWND left = CreateTop(RECT { 0, 0, 100, 100 });
    HWND right = CreateTop(RECT { 100, 0, 200, 100 });
    Backend.MouseMove(50, 50);
    Backend.MouseDown();
    Backend.MouseMove(150, 50);
    Backend.MouseUp();
    StartLog();
    Pump();
    EXPECT_EQ(
        Sequence({ WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP }, right), Messages({ WM_MOUSEMOVE, WM_LBUTTONUP }));
    EXPECT_EQ(Only({ WM_MOUSEMOVE }, right).front().WParam, MK_LBUTTON);
    EXPECT_EQ(Sequence({ WM_LBUTTONDOWN, WM_LBUTTONUP }, left), Messages({ WM_LBUTTONDOWN }));
}

TEST_F(MouseInput, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance)
{
    Backend.SetDoubleClickTime(400);
    struct Case {
        const char* Name;
        const char* ClassName;
        uint64_t Delay;
        int Dx;
        UINT Second;
    };
    const Case kCases[] = {
        { "double click", kDoubleClicks, 100, 0, WM_LBUTTONDBLCLK },
        { "at the time limit", kDoubleClicks, 400, 2, WM_LBUTTONDBLCLK },
        { "too slow", kDoubleClicks, 401, 0, WM_LBUTTONDOWN },
        { "too far", kDoubleClicks, 100, 3, WM_LBUTTONDOWN },
        { "class without CS_DBLCLKS", kPlain, 100, 0, WM_LBUTTONDOWN },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        HWND w = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP | WS_VISIBLE, 0, nullptr, c.ClassName);
        Backend.AdvanceClock(1000); // far from any earlier click
        Backend.Click(50, 50);
        Pump();
        Backend.AdvanceClock(c.Delay);
        StartLog();
        Backend.Click(50 + c.Dx, 50);
        Pump();
        EXPECT_EQ(Sequence({ WM_LBUTTONDOWN, WM_LBUTTONDBLCLK }, w), Messages({ c.Second }));
        DestroyWindow(w);
    }
}

TEST_F(MouseInput, NonClientDoubleClicksComeWhateverTheClassAndAThirdClickStartsOver)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    // The top strip is a skin object: no default action of its own.
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h == w && m == WM_NCHITTEST && GET_Y_LPARAM(l) < 20)
            return HTOBJECT;
        return std::nullopt;
    };
    StartLog();
    Backend.Click(50, 10);
    Backend.Click(50, 10);
    Backend.Click(50, 10);
    Pump();
    EXPECT_EQ(Sequence({ WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_LBUTTONDOWN }, w),
        Messages({ WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONDOWN }));
    const auto down = Only({ WM_NCLBUTTONDOWN }, w).front();
    EXPECT_EQ(down.WParam, WPARAM(HTOBJECT));
    EXPECT_EQ(down.LParam, MAKELPARAM(50, 10)); // screen coordinates
}

TEST_F(MouseInput, HitTestingGoesThroughARegionToTheWindowBelow)
{
    HWND below = CreateTop(RECT { 0, 0, 200, 200 });
    HWND shaped = CreateTop(RECT { 50, 50, 150, 150 });
    // A frame 10 pixels wide with a hole in the middle (window-relative coordinates).
    HRGN frame = CreateRectRgn(0, 0, 100, 100);
    HRGN hole = CreateRectRgn(10, 10, 90, 90);
    CombineRgn(frame, frame, hole, RGN_DIFF);
    DeleteObject(hole);
    ASSERT_TRUE(SetWindowRgn(shaped, frame, TRUE));
    EXPECT_EQ(WindowFromPoint(POINT { 55, 55 }), shaped);
    EXPECT_EQ(WindowFromPoint(POINT { 100, 100 }), below);
    StartLog();
    Backend.Click(100, 100);
    Pump();
    EXPECT_TRUE(Only({ WM_NCHITTEST, WM_LBUTTONDOWN }, shaped).empty());
    EXPECT_EQ(Only({ WM_LBUTTONDOWN }, below).size(), 1u);
    // The window owns the region: replacing it frees the old one.
    const size_t objects = GdiObjectCount();
    SetWindowRgn(shaped, nullptr, FALSE);
    EXPECT_EQ(GdiObjectCount(), objects - 1);
    // The click activated the window below and raised it; raised again, the whole square counts.
    SetWindowPos(shaped, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint(POINT { 100, 100 }), shaped);
}

TEST_F(MouseInput, TransparentAndDisabledChildrenPassThePointOn)
{
    HWND form = CreateTop(RECT { 0, 0, 200, 200 });
    HWND under = CreateChild(form, RECT { 0, 0, 100, 100 });
    HWND glass = CreateChild(form, RECT { 0, 0, 100, 100 });
    HWND disabled = CreateChild(form, RECT { 100, 100, 150, 150 }, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == glass && m == WM_NCHITTEST)
            return HTTRANSPARENT;
        return std::nullopt;
    };
    StartLog();
    Backend.Click(50, 50);
    Backend.Click(120, 120);
    Pump();
    EXPECT_EQ(Only({ WM_LBUTTONDOWN }, under).size(), 1u);
    EXPECT_TRUE(Only({ WM_LBUTTONDOWN }, glass).empty());
    EXPECT_TRUE(Only({ WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN }, disabled).empty());
    const auto formDown = Only({ WM_LBUTTONDOWN }, form);
    ASSERT_EQ(formDown.size(), 1u);
    EXPECT_EQ(formDown[0].LParam, MAKELPARAM(120, 120));
    EXPECT_EQ(WindowFromPoint(POINT { 120, 120 }), form);
    EXPECT_EQ(ChildWindowFromPoint(form, POINT { 120, 120 }), disabled);
    EXPECT_EQ(ChildWindowFromPointEx(form, POINT { 120, 120 }, CWP_SKIPDISABLED), form);
}

TEST_F(MouseInput, AClickOnADisabledOwnerBringsUpItsModalPopup)
{
    HWND owner = CreateTop(RECT { 0, 0, 300, 300 });
    HWND list = CreateChild(owner, RECT { 150, 150, 250, 250 });
    HWND dialog = CreateTop(RECT { 400, 0, 500, 100 }, WS_POPUP | WS_VISIBLE, 0, owner);
    EnableWindow(owner, FALSE);
    // On the owner itself, and on one of its enabled children: the children are disabled with it.
    for (const POINT at : { POINT { 100, 100 }, POINT { 200, 200 } }) {
        SetActiveWindow(CreateTop(RECT { 600, 0, 700, 100 }));
        Pump();
        StartLog();
        Backend.Click(at.x, at.y);
        Pump();
        EXPECT_EQ(GetActiveWindow(), dialog);
        EXPECT_TRUE(Only({ WM_LBUTTONDOWN, WM_NCHITTEST, WM_MOUSEACTIVATE }, owner).empty());
        EXPECT_TRUE(Only({ WM_LBUTTONDOWN, WM_NCHITTEST, WM_MOUSEACTIVATE, WM_SETCURSOR }, list).empty());
        const auto cursor = Only({ WM_SETCURSOR }, owner);
        ASSERT_FALSE(cursor.empty());
        EXPECT_EQ(static_cast<int16_t>(LOWORD(cursor.front().LParam)), HTERROR);
    }
}

TEST_F(MouseInput, TheWheelGoesToTheFocusAndUpToItsParents)
{
    HWND form = CreateTop(RECT { 0, 0, 200, 200 });
    HWND edit = CreateChild(form, RECT { 0, 0, 50, 50 });
    SetFocus(edit);
    Pump();
    StartLog();
    Backend.MouseMove(150, 150); // over the form, not the edit
    Backend.Wheel(-WHEEL_DELTA);
    Pump();
    const auto wheel = Only({ WM_MOUSEWHEEL });
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(wheel[0].Window, edit);
    EXPECT_EQ(wheel[1].Window, form); // DefWindowProc passes it up
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].WParam), -120);
    EXPECT_EQ(wheel[0].LParam, MAKELPARAM(150, 150));
}

TEST_F(MouseInput, DefaultCursorsFollowTheHitCode)
{
    HWND w = CreateTop(RECT { 100, 100, 300, 300 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    struct Case {
        POINT At;
        const char* Cursor;
    };
    const Case kCases[] = {
        { { 101, 200 }, IDC_SIZEWE }, { { 200, 298 }, IDC_SIZENS }, { { 101, 101 }, IDC_SIZENWSE },
        { { 298, 101 }, IDC_SIZENESW }, { { 150, 110 }, IDC_ARROW }, // caption
        { { 200, 200 }, IDC_IBEAM }, // client: the class cursor
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.At.x * 1000 + c.At.y);
        Backend.MouseMove(c.At.x, c.At.y);
        Pump();
        EXPECT_EQ(Backend.Cursor(), LoadCursor(nullptr, c.Cursor));
    }
    (void)w;
}

TEST_F(MouseInput, TheRightButtonAsksForAContextMenuUpTheParents)
{
    HWND form = CreateTop(RECT { 0, 0, 200, 200 });
    HWND child = CreateChild(form, RECT { 10, 10, 60, 60 });
    StartLog();
    Backend.Click(20, 30, TRawButton::Right);
    Pump();
    const auto menus = Only({ WM_CONTEXTMENU });
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].Window, child);
    EXPECT_EQ(menus[1].Window, form);
    EXPECT_EQ(reinterpret_cast<HWND>(menus[1].WParam), child);
    EXPECT_EQ(menus[1].LParam, MAKELPARAM(20, 30));
}
