#include "PlatformTestSupport.h"

namespace {

class Activation : public PlatformTest { };

} // namespace

TEST_F(Activation, ActivationMovesBetweenTwoWindowsInOrder)
{
    HWND first = CreateTop(RECT { 0, 0, 100, 100 });
    HWND second = CreateTop(RECT { 200, 0, 300, 100 }, WS_POPUP);
    HWND edit = CreateChild(first, RECT { 0, 0, 50, 20 });
    ASSERT_EQ(GetActiveWindow(), first); // shown at creation, it took the activation
    SetFocus(edit);
    Pump();
    StartLog();
    ShowWindow(second, SW_SHOW);
    const std::vector<TStep> expected = {
        { second, WM_SHOWWINDOW },
        { first, WM_NCACTIVATE },
        { first, WM_ACTIVATE },
        { edit, WM_KILLFOCUS },
        { second, WM_NCACTIVATE },
        { second, WM_ACTIVATE },
        { second, WM_SETFOCUS },
        { second, WM_NCPAINT },
        { second, WM_ERASEBKGND },
    };
    EXPECT_EQ(Steps({ WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS, WM_NCPAINT, WM_ERASEBKGND,
                  WM_ACTIVATEAPP }),
        expected);
    const auto activate = Only({ WM_ACTIVATE });
    EXPECT_EQ(activate[0].WParam, MAKEWPARAM(WA_INACTIVE, 0));
    EXPECT_EQ(reinterpret_cast<HWND>(activate[0].LParam), second);
    EXPECT_EQ(activate[1].WParam, MAKEWPARAM(WA_ACTIVE, 0));
    EXPECT_EQ(reinterpret_cast<HWND>(activate[1].LParam), first);
    EXPECT_EQ(Only({ WM_NCACTIVATE }).front().WParam, WPARAM(FALSE));
    EXPECT_EQ(Backend.ActiveNative(), second);
    // The paint itself waits for the queue.
    EXPECT_TRUE(Only({ WM_PAINT }).empty());
    Pump();
    EXPECT_EQ(Only({ WM_PAINT }, second).size(), 1u);
}

TEST_F(Activation, TopmostNoActivateShowsAPopupWithoutDisturbingTheForm)
{
    HWND form = CreateTop(RECT { 0, 0, 300, 300 });
    HWND popup = CreateTop(RECT { 50, 50, 150, 150 }, WS_POPUP, WS_EX_TOOLWINDOW, form);
    Pump();
    StartLog();
    SetWindowPos(popup, HWND_TOPMOST, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump();
    EXPECT_TRUE(Backend.Log().ForWindow(form).empty());
    EXPECT_EQ(GetActiveWindow(), form);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(Backend.Stacking().front(), popup);
    EXPECT_EQ(GetWindowLongPtr(popup, GWL_EXSTYLE) & WS_EX_TOPMOST, LONG_PTR(WS_EX_TOPMOST));
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right, 160);
    // Activating the form keeps the top-most popup above it.
    HWND other = CreateTop(RECT { 400, 0, 500, 100 });
    SetActiveWindow(form);
    EXPECT_EQ(Backend.Stacking(), (std::vector<HWND> { popup, form, other }));
}

TEST_F(Activation, HidingOrDestroyingTheActiveWindowActivatesTheNextOne)
{
    HWND owner = CreateTop(RECT { 0, 0, 100, 100 });
    HWND unrelated = CreateTop(RECT { 200, 0, 300, 100 });
    HWND dialog = CreateTop(RECT { 20, 20, 80, 80 }, WS_POPUP | WS_VISIBLE, 0, owner);
    ASSERT_EQ(GetActiveWindow(), dialog);
    // The owner comes first, even when another window lies above it.
    SetWindowPos(unrelated, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(GetFocus(), owner);
    DestroyWindow(owner);
    EXPECT_EQ(GetActiveWindow(), unrelated);
    StartLog();
    DestroyWindow(unrelated);
    // Nothing is left: the application loses the activation.
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Activation, TheApplicationHearsWhenItGainsOrLosesTheActivation)
{
    HWND a = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP);
    HWND b = CreateTop(RECT { 200, 0, 300, 100 }, WS_POPUP);
    StartLog();
    SetActiveWindow(a);
    SetActiveWindow(b);
    SetActiveWindow(nullptr);
    const auto app = Only({ WM_ACTIVATEAPP });
    ASSERT_EQ(app.size(), 4u); // two windows hear it when the application gains it, two when it loses it
    EXPECT_EQ(app[0].WParam, WPARAM(TRUE));
    EXPECT_EQ(app[3].WParam, WPARAM(FALSE));
}

TEST_F(Activation, FocusMovesWithKillAndSetFocusAndSkipsDisabledWindows)
{
    HWND form = CreateTop(RECT { 0, 0, 100, 100 });
    HWND a = CreateChild(form, RECT { 0, 0, 10, 10 });
    HWND b = CreateChild(form, RECT { 20, 0, 30, 10 });
    SetFocus(a);
    StartLog();
    EXPECT_EQ(SetFocus(b), a);
    const auto steps = Only({ WM_KILLFOCUS, WM_SETFOCUS });
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].Window, a);
    EXPECT_EQ(reinterpret_cast<HWND>(steps[0].WParam), b);
    EXPECT_EQ(steps[1].Window, b);
    EXPECT_EQ(reinterpret_cast<HWND>(steps[1].WParam), a);
    // Disabling the focus window takes the focus away; a disabled window cannot take it.
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(b), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EnableWindow(b, TRUE);
    // Hiding a child with the focus hands it to the parent.
    SetFocus(b);
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), form);
}

TEST_F(Activation, OwnedWindowsStayAboveTheirOwner)
{
    HWND owner = CreateTop(RECT { 0, 0, 100, 100 });
    HWND owned = CreateTop(RECT { 10, 10, 50, 50 }, WS_POPUP | WS_VISIBLE, 0, owner);
    HWND other = CreateTop(RECT { 0, 0, 100, 100 });
    EXPECT_EQ(Backend.Stacking(), (std::vector<HWND> { other, owned, owner }));
    SetActiveWindow(owner);
    EXPECT_EQ(Backend.Stacking(), (std::vector<HWND> { owned, owner, other }));
    SetWindowPos(other, owner, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(Backend.Stacking(), (std::vector<HWND> { owned, owner, other }));
    SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(Backend.Stacking(), (std::vector<HWND> { other, owned, owner }));
}
