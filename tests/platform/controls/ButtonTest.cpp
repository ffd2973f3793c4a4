// The "BUTTON" window class driven by raw input through the headless backend: clicks, keys, the auto kinds and
// radio groups, the state and style messages, the dialog codes, owner draw and a few painted pixels.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/ButtonControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"
#include "tests/platform/GdiTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class ButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Window DCs draw into the windows' buffers, so painted pixels can be read back.
        InstallGdiDCProvider();
        Backend.UseManualClock(1000);
        ASSERT_TRUE(Backend.Install());
        ASSERT_NE(RegisterButtonClass(), 0);
        WNDCLASS wc {};
        wc.lpfnWndProc = &ButtonTest::ParentProc;
        wc.lpszClassName = "ButtonTestParent";
        ASSERT_NE(RegisterClass(&wc), 0);
        Parent = CreateWindowEx(
            0, "ButtonTestParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(Parent, nullptr);
        Font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        Current = this;
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        DeleteObject(Font);
        Current = nullptr;
        Backend.Uninstall();
    }

    // Buttons are placed at (x, y) with ids from 1 on.
    HWND Make(DWORD style, int x, int y, int width = 100, int height = 24, const char* text = "Press")
    {
        HWND button = CreateWindowEx(0, WC_BUTTON, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, Parent,
            reinterpret_cast<HMENU>(uintptr_t(++LastId)), nullptr, nullptr);
        SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
        return button;
    }

    void Pump()
    {
        MSG msg;
        for (int guard = 0; guard < 10000 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    void Click(int x, int y)
    {
        Backend.AdvanceClock(1000);
        Backend.Click(x, y);
        Pump();
    }
    static LRESULT Check(HWND button) { return SendMessage(button, BM_GETCHECK, 0, 0); }
    static DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }
    // The parent's pixel as a COLORREF, after the pending painting.
    COLORREF Pixel(int x, int y)
    {
        Pump();
        uint32_t rgb = Backend.WindowPixel(Parent, x, y);
        return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }

    static LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (Current) {
            if (message == WM_COMMAND)
                Current->Log.push_back(std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
            if (message == WM_CTLCOLORSTATIC && Current->StaticBrush)
                return reinterpret_cast<LRESULT>(Current->StaticBrush);
            if (message == WM_DRAWITEM) {
                const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                Current->Drawn.push_back(*item);
                FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                return TRUE;
            }
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }

    static inline ButtonTest* Current = nullptr;
    THeadlessBackend Backend;
    HWND Parent = nullptr;
    HFONT Font = nullptr;
    int LastId = 0;
    std::vector<std::string> Log; // "id:code" of every WM_COMMAND
    std::vector<DRAWITEMSTRUCT> Drawn;
    HBRUSH StaticBrush = nullptr;
};

TEST_F(ButtonTest, APressReleasedOverThePushButtonClicksOnceAndOneReleasedOutsideDoesNot)
{
    HWND button = Make(BS_PUSHBUTTON, 10, 10);
    Backend.MouseMove(20, 20);
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
    EXPECT_EQ(GetFocus(), button);
    // Leaving the button while held raises it; coming back pushes it again.
    Backend.MouseMove(200, 200);
    Pump();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    Backend.MouseMove(30, 20);
    Pump();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string> { "1:0" }));

    Log.clear();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(20, 20);
    Backend.MouseDown();
    Backend.MouseMove(250, 20);
    Backend.MouseUp();
    Pump();
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0), BST_FOCUS);
}

TEST_F(ButtonTest, SpaceClicksOnItsReleaseAndLosingTheFocusMeanwhileCancels)
{
    HWND button = Make(BS_PUSHBUTTON | BS_NOTIFY, 10, 10);
    HWND other = Make(BS_PUSHBUTTON, 10, 50);
    SetFocus(button);
    Log.clear();
    Backend.KeyDown(VK_SPACE);
    Pump();
    EXPECT_EQ(SendMessage(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    Backend.KeyUp(VK_SPACE);
    Pump();
    // BS_NOTIFY tells the push and the release, then the click.
    EXPECT_EQ(Log, (std::vector<std::string> { "1:2", "1:3", "1:0" }));

    Log.clear();
    Backend.KeyDown(VK_SPACE);
    Pump();
    SetFocus(other);
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string> { "1:2", "1:3", "1:7" }));
}

TEST_F(ButtonTest, AutoKindsChangeTheirCheckOnAClickButSetCheckIsSilent)
{
    struct Case {
        DWORD kind;
        std::vector<LRESULT> afterClicks;
    };
    const Case cases[] = {
        { BS_CHECKBOX, { 0, 0, 0 } },
        { BS_AUTOCHECKBOX, { 1, 0, 1 } },
        { BS_3STATE, { 0, 0, 0 } },
        { BS_AUTO3STATE, { 1, 2, 0 } },
    };
    int y = 10;
    for (const Case& c : cases) {
        HWND box = Make(c.kind, 10, y);
        std::vector<LRESULT> seen;
        for (int i = 0; i < 3; ++i) {
            Click(15, y + 10);
            seen.push_back(Check(box));
        }
        EXPECT_EQ(seen, c.afterClicks) << "kind " << c.kind;
        y += 30;
    }
    EXPECT_EQ(Log.size(), 12u); // every click is told, changed or not

    Log.clear();
    HWND box = Make(BS_AUTOCHECKBOX, 200, 10);
    SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Check(box), BST_CHECKED);
    // A two-state box shows the indeterminate state as checked.
    SendMessage(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(box), BST_CHECKED);
    EXPECT_TRUE(Log.empty());
}

TEST_F(ButtonTest, AnAutoRadioButtonUnchecksOnlyItsOwnGroupAndOnlyTheCheckedOneIsATabStop)
{
    HWND a = Make(BS_AUTORADIOBUTTON | WS_GROUP, 10, 10);
    HWND b = Make(BS_AUTORADIOBUTTON, 10, 40);
    HWND c = Make(BS_AUTORADIOBUTTON, 10, 70);
    HWND d = Make(BS_AUTORADIOBUTTON | WS_GROUP, 10, 100); // the next group
    SendMessage(a, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(d, BM_SETCHECK, BST_CHECKED, 0);
    Click(15, 50);
    EXPECT_EQ((std::vector<LRESULT> { Check(a), Check(b), Check(c), Check(d) }), (std::vector<LRESULT> { 0, 1, 0, 1 }));
    EXPECT_FALSE(Style(a) & WS_TABSTOP);
    EXPECT_TRUE(Style(b) & WS_TABSTOP);
    EXPECT_TRUE(Style(d) & WS_TABSTOP);
    EXPECT_EQ(Log, (std::vector<std::string> { "2:0" }));
}

TEST_F(ButtonTest, ARadioButtonReachedByTheKeysIsChosenButNotOneReachedByAPress)
{
    HWND plain = Make(BS_RADIOBUTTON | WS_GROUP, 10, 10);
    HWND automatic = Make(BS_AUTORADIOBUTTON, 10, 40);
    HWND other = Make(BS_AUTORADIOBUTTON, 10, 70);
    SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(plain);
    EXPECT_EQ(Log, (std::vector<std::string> { "1:0" })); // told, but the plain kind leaves the check to the parent
    EXPECT_EQ(Check(plain), BST_UNCHECKED);
    SetFocus(automatic);
    EXPECT_EQ(Check(automatic), BST_CHECKED);
    EXPECT_EQ(Check(other), BST_UNCHECKED);

    // A press focuses it and chooses it on the release only; dragged away, nothing is chosen.
    SendMessage(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(automatic, BM_SETCHECK, BST_UNCHECKED, 0);
    Log.clear();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(15, 50);
    Backend.MouseDown();
    Backend.MouseMove(300, 50);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(GetFocus(), automatic);
    EXPECT_EQ(Check(automatic), BST_UNCHECKED);
    EXPECT_TRUE(Log.empty());
}

TEST_F(ButtonTest, DialogCodesAndStyleChanges)
{
    struct Case {
        DWORD kind;
        LRESULT code;
    };
    const Case cases[] = {
        { BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON },
        { BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON },
        { BS_AUTOCHECKBOX, DLGC_BUTTON },
        { BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON },
        { BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON },
        { BS_GROUPBOX, DLGC_STATIC },
    };
    for (const Case& c : cases) {
        HWND button = Make(c.kind, 10, 10);
        EXPECT_EQ(SendMessage(button, WM_GETDLGCODE, 0, 0), c.code) << "kind " << c.kind;
        DestroyWindow(button);
    }
    HWND button = Make(BS_PUSHBUTTON | BS_NOTIFY, 10, 10);
    SendMessage(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(Style(button), WS_CHILD | WS_VISIBLE | BS_NOTIFY | BS_DEFPUSHBUTTON);
    // BM_CLICK clicks, but not a disabled button.
    SendMessage(button, BM_CLICK, 0, 0);
    EnableWindow(button, FALSE);
    SendMessage(button, BM_CLICK, 0, 0);
    EXPECT_EQ(Log, (std::vector<std::string> { "7:2", "7:3", "7:0" }));
}

TEST_F(ButtonTest, AnOwnerDrawnButtonIsDrawnByItsParentWithItsState)
{
    HWND button = Make(BS_OWNERDRAW, 10, 10, 60, 20);
    UpdateWindow(Parent);
    ASSERT_FALSE(Drawn.empty());
    EXPECT_EQ(Drawn.back().CtlType, ODT_BUTTON);
    EXPECT_EQ(Drawn.back().CtlID, 1u);
    EXPECT_EQ(Drawn.back().hwndItem, button);
    EXPECT_EQ(Drawn.back().itemState, 0u);
    EXPECT_EQ(Drawn.back().rcItem.right, 60);
    Backend.MouseMove(20, 20);
    Backend.MouseDown();
    Pump();
    UpdateWindow(Parent);
    EXPECT_EQ(Drawn.back().itemState, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(Pixel(15, 15), RGB(0, 0, 0));
    Backend.MouseUp();
    Pump();
    // A double click is told as such.
    Backend.Click(20, 20);
    Pump();
    EXPECT_EQ(Log.back(), "1:5");
}

TEST_F(ButtonTest, PaintsTheDefaultRingTheParentsBackgroundAndTheCheckMark)
{
    Make(BS_DEFPUSHBUTTON, 10, 10, 80, 24);
    StaticBrush = CreateSolidBrush(RGB(0, 128, 0));
    HWND box = Make(BS_CHECKBOX, 10, 50, 120, 20, "");
    EXPECT_EQ(Pixel(10, 10), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(Pixel(16, 28), GetSysColor(COLOR_BTNFACE));
    // The empty box is white inside; the rest of the control shows the parent's brush.
    EXPECT_EQ(Pixel(10 + 6, 50 + 10), RGB(255, 255, 255));
    EXPECT_EQ(Pixel(100, 60), RGB(0, 128, 0));
    // The checked box is what DrawFrameControl draws for it.
    SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);
    TTestCanvas expected(kButtonCheckSize, kButtonCheckSize);
    RECT r { 0, 0, kButtonCheckSize, kButtonCheckSize };
    DrawFrameControl(expected.Dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    int top = 50 + (20 - kButtonCheckSize) / 2;
    int differing = 0;
    for (int y = 0; y < kButtonCheckSize; ++y)
        for (int x = 0; x < kButtonCheckSize; ++x)
            differing += Pixel(10 + x, top + y) != GetPixel(expected.Dc, x, y);
    EXPECT_EQ(differing, 0);
    DestroyWindow(box);
    DeleteObject(StaticBrush);
    StaticBrush = nullptr;
}

} // namespace
