// Menus: the menu model's calls, and TrackPopupMenu driven by keys and by the mouse through the headless display.
#include "PlatformTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Menus.h"

#include <string>

namespace {

constexpr UINT kOpen = 1;
constexpr UINT kSave = 2;
constexpr UINT kExit = 3;
constexpr UINT kOne = 11;
constexpr UINT kTwo = 12;

// "&Open", "&Save" (disabled), a separator, "&Recent" > { "&One", "&Two" }, "E&xit".
HMENU FileMenu(HMENU* recentOut = nullptr)
{
    HMENU recent = CreatePopupMenu();
    AppendMenu(recent, MF_STRING, kOne, "&One");
    AppendMenu(recent, MF_STRING, kTwo, "&Two");
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, kOpen, "&Open\tCtrl+O");
    AppendMenu(menu, MF_STRING | MF_GRAYED, kSave, "&Save");
    AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(recent), "&Recent");
    AppendMenu(menu, MF_STRING, kExit, "E&xit");
    if (recentOut)
        *recentOut = recent;
    return menu;
}

POINT Centre(const RECT& r)
{
    return POINT { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

} // namespace

TEST(Menus, TheModelBuildsReadsAndChangesItems)
{
    HMENU recent = nullptr;
    HMENU menu = FileMenu(&recent);
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuItemID(menu, 0), kOpen);
    EXPECT_EQ(GetMenuItemID(menu, 3), UINT(-1));
    EXPECT_EQ(GetSubMenu(menu, 3), recent);
    EXPECT_EQ(GetMenuState(menu, kSave, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION), MF_POPUP | (2u << 8));
    // By command, items are found in the submenus too.
    EXPECT_EQ(CheckMenuItem(menu, kTwo, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(recent, 1, MF_BYPOSITION), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu, kSave, MF_ENABLED), UINT(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(menu, 99, MF_ENABLED), UINT(-1));
    char text[32];
    EXPECT_EQ(GetMenuString(menu, kOpen, text, sizeof text, MF_BYCOMMAND), 12);
    EXPECT_STREQ(text, "&Open\tCtrl+O");
    EXPECT_TRUE(ModifyMenu(menu, kExit, MF_BYCOMMAND | MF_STRING, 4, "&Quit"));
    EXPECT_EQ(GetMenuItemID(menu, 4), 4u);
    EXPECT_TRUE(InsertMenu(menu, 0, MF_BYPOSITION | MF_STRING, 5, "&New"));
    EXPECT_EQ(GetMenuItemID(menu, 0), 5u);

    MENUITEMINFO info {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    info.fType = MFT_RADIOCHECK;
    info.wID = 6;
    info.dwTypeData = const_cast<char*>("&Radio");
    info.dwItemData = 77;
    EXPECT_TRUE(InsertMenuItem(menu, 1, TRUE, &info));
    MENUITEMINFO back {};
    back.cbSize = sizeof back;
    back.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    back.dwTypeData = text;
    back.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfo(menu, 6, FALSE, &back));
    EXPECT_EQ(back.fType, MFT_RADIOCHECK);
    EXPECT_EQ(back.dwItemData, 77u);
    EXPECT_STREQ(text, "&Radio");

    // RemoveMenu keeps the submenu alive, DeleteMenu and DestroyMenu take submenus with them.
    const int recentAt = 5;
    ASSERT_EQ(GetSubMenu(menu, recentAt), recent);
    EXPECT_TRUE(RemoveMenu(menu, recentAt, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(recent));
    EXPECT_TRUE(AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(recent), "&Recent"));
    EXPECT_FALSE(AppendMenu(menu, MF_POPUP, reinterpret_cast<uintptr_t>(menu), "self"));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(recent));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(DestroyMenu(menu));
}

class MenuLoop : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        PlatformTest::SetUp();
        Owner = CreateTop(RECT { 50, 50, 450, 450 }, WS_OVERLAPPED | WS_VISIBLE);
        SetActiveWindow(Owner);
        SetFocus(Owner);
        Pump();
        Menu = FileMenu();
    }
    void TearDown() override
    {
        DestroyMenu(Menu);
        PlatformTest::TearDown();
    }

    // Runs the menu at (100, 100) with the owner's handler answering idle notifications through `onIdle`.
    UINT Track(UINT flags, std::function<void(HWND menuWindow)> onIdle = nullptr)
    {
        Handler = [this, onIdle](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (hwnd == Owner && message == WM_ENTERIDLE) {
                ++Idles;
                if (onIdle)
                    onIdle(reinterpret_cast<HWND>(lParam));
                else
                    EndMenu(); // nothing more will come: do not wait for it
            }
            return std::nullopt;
        };
        return UINT(TrackPopupMenu(Menu, flags, 100, 100, 0, Owner, nullptr));
    }

    HWND Owner = nullptr;
    HMENU Menu = nullptr;
    int Idles = 0;
};

// Keys queued before the menu opens choose items, open and close submenus, and cancel; the owner keeps the
// activation and the focus throughout.
TEST_F(MenuLoop, KeysChooseTheCommand)
{
    struct Case {
        const char* Name;
        std::vector<UINT> Keys;
        UINT Expected;
    };
    const Case cases[] = {
        { "down and enter", { VK_DOWN, VK_RETURN }, kOpen },
        { "separators are skipped, right opens", { VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN }, kTwo },
        { "up wraps to the end", { VK_UP, VK_RETURN }, kExit },
        { "mnemonic", { 'X' }, kExit },
        { "mnemonic into a submenu", { 'R', 'O' }, kOne },
        { "left closes the submenu", { 'R', VK_LEFT, VK_DOWN, VK_RETURN }, kExit },
        { "escape in a submenu goes back", { 'R', VK_ESCAPE, VK_UP, VK_UP, VK_RETURN }, kOpen },
        { "a disabled item is not chosen", { 'S', VK_RETURN, VK_ESCAPE }, 0 },
        { "escape cancels", { VK_DOWN, VK_ESCAPE }, 0 },
        { "alt cancels", { VK_MENU }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (UINT key : c.Keys)
            Backend.Key(key);
        StartLog();
        EXPECT_EQ(Track(TPM_RETURNCMD), c.Expected);
        EXPECT_EQ(GetActiveWindow(), Owner);
        EXPECT_EQ(GetFocus(), Owner);
        EXPECT_TRUE(Only({ WM_KILLFOCUS, WM_ACTIVATE, WM_NCACTIVATE }, Owner).empty());
        EXPECT_TRUE(Only({ WM_KEYDOWN, WM_CHAR }, Owner).empty()) << "the menu takes the keys";
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
        Pump();
        EXPECT_TRUE(Only({ WM_COMMAND }, Owner).empty()) << "TPM_RETURNCMD posts no command";
    }
}

// The owner hears of the loop, of each popup and of the highlight; the chosen command comes as WM_COMMAND when
// TPM_RETURNCMD is not given.
TEST_F(MenuLoop, NotificationsAndTheCommandMessage)
{
    for (UINT key : { UINT('R'), UINT(VK_DOWN), UINT(VK_RETURN) })
        Backend.Key(key);
    StartLog();
    EXPECT_EQ(Track(0), UINT(TRUE));
    const std::vector<TLoggedMessage> log
        = Only({ WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP, WM_EXITMENULOOP }, Owner);
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].Message, WM_ENTERMENULOOP);
    EXPECT_EQ(log[1].Message, WM_INITMENUPOPUP);
    EXPECT_EQ(log[1].WParam, reinterpret_cast<WPARAM>(Menu));
    EXPECT_EQ(log[2].Message, WM_INITMENUPOPUP);
    EXPECT_EQ(log[2].WParam, reinterpret_cast<WPARAM>(GetSubMenu(Menu, 3)));
    EXPECT_EQ(LOWORD(log[2].LParam), 3u);
    EXPECT_EQ(log[3].Message, WM_UNINITMENUPOPUP);
    EXPECT_EQ(log[4].Message, WM_UNINITMENUPOPUP);
    EXPECT_EQ(log[5].Message, WM_EXITMENULOOP);
    const std::vector<TLoggedMessage> selects = Only({ WM_MENUSELECT }, Owner);
    ASSERT_GE(selects.size(), 3u);
    EXPECT_EQ(LOWORD(selects[0].WParam), 3u) << "a submenu item reports its position";
    EXPECT_TRUE(HIWORD(selects[0].WParam) & MF_POPUP);
    EXPECT_EQ(LOWORD(selects[selects.size() - 2].WParam), kTwo);
    EXPECT_EQ(HIWORD(selects.back().WParam), 0xFFFFu) << "closing reports no item";
    EXPECT_EQ(selects.back().LParam, 0);
    Pump();
    const std::vector<TLoggedMessage> commands = Only({ WM_COMMAND }, Owner);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].WParam), kTwo);
    // A cancelled menu sends none.
    Backend.Key(VK_ESCAPE);
    StartLog();
    Track(0);
    Pump();
    EXPECT_TRUE(Only({ WM_COMMAND }, Owner).empty());
}

// The mouse: hovering highlights (drawn in the highlight colour), a submenu opens under its item, a click chooses;
// a click outside cancels and does not reach the window under it.
TEST_F(MenuLoop, MouseHotTracksOpensAndChooses)
{
    int step = 0;
    COLORREF hotPixel = 0;
    const UINT chosen = Track(TPM_RETURNCMD, [&](HWND) {
        RECT r {};
        switch (step++) {
        case 0:
            ASSERT_TRUE(GetMenuItemRect(Owner, Menu, 0, &r));
            Backend.MouseMove(r.left + 4, Centre(r).y);
            break;
        case 1:
            ASSERT_TRUE(GetMenuItemRect(Owner, Menu, 0, &r));
            hotPixel = Backend.ScreenPixel(r.left + 2, r.top + 2);
            ASSERT_TRUE(GetMenuItemRect(Owner, Menu, 3, &r));
            Backend.MouseMove(Centre(r).x, Centre(r).y);
            break;
        case 2:
            // The submenu is open beside its item.
            ASSERT_TRUE(GetMenuItemRect(Owner, GetSubMenu(Menu, 3), 1, &r));
            Backend.Click(Centre(r).x, Centre(r).y);
            break;
        default:
            EndMenu();
        }
    });
    EXPECT_EQ(chosen, kTwo);
    const DWORD highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(hotPixel, (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight));

    // Outside every menu: cancelled, and the window under the press sees nothing of it.
    HWND other = CreateTop(RECT { 600, 600, 700, 700 });
    StartLog();
    EXPECT_EQ(Track(TPM_RETURNCMD, [&](HWND) { Backend.Click(650, 650); }), 0u);
    Pump();
    EXPECT_TRUE(Only({ WM_LBUTTONDOWN }, other).empty());
    DestroyWindow(other);

    // A disabled item is highlighted but not chosen.
    step = 0;
    EXPECT_EQ(Track(TPM_RETURNCMD, [&](HWND) {
        RECT r {};
        if (step++ == 0 && GetMenuItemRect(Owner, Menu, 1, &r))
            Backend.Click(Centre(r).x, Centre(r).y);
        else
            EndMenu();
    }),
        0u);
}

// Calls that cannot run fail cleanly: a bad menu or owner, and a second loop while one runs.
TEST_F(MenuLoop, BadCallsFail)
{
    EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(uintptr_t(0x1B)), 0, 0, 0, 0, Owner, nullptr));
    EXPECT_FALSE(TrackPopupMenu(Menu, 0, 0, 0, 0, nullptr, nullptr));
    BOOL nested = TRUE;
    Track(TPM_RETURNCMD, [&](HWND) {
        nested = TrackPopupMenu(Menu, 0, 0, 0, 0, Owner, nullptr);
        EXPECT_EQ(GetLastError(), ERROR_POPUP_ALREADY_ACTIVE);
        EndMenu();
    });
    EXPECT_FALSE(nested);
    EXPECT_FALSE(EndMenu()) << "no loop runs";
}
