#include "PlatformTestSupport.h"

namespace {

class Keyboard : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        Form = CreateTop(RECT { 0, 0, 200, 200 });
        Edit = CreateChild(Form, RECT { 10, 10, 100, 30 });
        SetFocus(Edit);
        Pump();
    }

    // The characters that reached `hwnd` as `message`.
    std::u32string Chars(UINT message, HWND hwnd)
    {
        std::u32string out;
        for (const TLoggedMessage& e : Only({ message }, hwnd))
            out.push_back(char32_t(e.WParam));
        return out;
    }

    std::vector<TLoggedMessage> SysCommands() { return Only({ WM_SYSCOMMAND }); }

    HWND Form = nullptr;
    HWND Edit = nullptr;
};

} // namespace

TEST_F(Keyboard, KeysGoToTheFocusAndTranslateToCharacters)
{
    StartLog();
    Backend.KeyDown(VK_SHIFT);
    Backend.Key('A');
    Backend.Key('1');
    Backend.KeyUp(VK_SHIFT);
    Backend.Key('B');
    Backend.Key(VK_OEM_2);
    Backend.Key(VK_RETURN);
    Backend.KeyDown(VK_CONTROL);
    Backend.Key('C');
    Backend.KeyUp(VK_CONTROL);
    Backend.Char(0xE9); // from outside the layout
    Pump();
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"A!b/\r\x03\xE9");
    EXPECT_TRUE(Only({ WM_KEYDOWN, WM_CHAR }, Form).empty());
    // Each character follows its key-down, before the key-up.
    EXPECT_EQ(Sequence({ WM_KEYDOWN, WM_CHAR, WM_KEYUP }, Edit).size(), 16u + 7u); // 16 key messages, 7 characters
    const auto keys = Only({ WM_KEYDOWN, WM_KEYUP, WM_CHAR }, Edit);
    EXPECT_EQ(keys[0].Message, UINT(WM_KEYDOWN));
    EXPECT_EQ(keys[0].WParam, VK_SHIFT);
    EXPECT_EQ(keys[1].WParam, WPARAM('A'));
    EXPECT_EQ(keys[2].Message, UINT(WM_CHAR));
    EXPECT_EQ(keys[3].Message, UINT(WM_KEYUP));
    EXPECT_EQ(keys[3].LParam & (LPARAM(1) << 31), LPARAM(1) << 31);
}

TEST_F(Keyboard, AConsumedKeyIsNotTranslated)
{
    // A loop that handles the key itself (a shortcut) neither translates nor dispatches it.
    StartLog();
    Backend.Key('S');
    Backend.Key('T');
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'S')
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"t");
}

TEST_F(Keyboard, CharactersAreTheTextTheDisplayAttachedToTheKey)
{
    // Another layout: the key's text, not its virtual key, makes the characters; a key may make several
    // (a dead key and a letter that do not combine) or none (a dead key alone).
    StartLog();
    Backend.Key('Y', U"z");
    Backend.Key(VK_OEM_1, U"\u00F6");
    Backend.Key(VK_OEM_7, U"");
    Backend.Key('E', U"\u00B4e");
    Backend.Key(VK_F5);
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"z\u00F6\u00B4e\r");
    EXPECT_EQ(Sequence({ WM_KEYDOWN, WM_CHAR }, Edit),
        Messages({ WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_CHAR, WM_KEYDOWN,
            WM_KEYDOWN, WM_CHAR }));

    // A consumed key's text is dropped; it never turns up at a later key or a later translation.
    StartLog();
    Backend.Key('S', U"\u00DF");
    Backend.Key('T', U"t");
    MSG consumed {};
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'S') {
            consumed = msg;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"t");
    TranslateMessage(&consumed);
    Pump();
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"t");
}

TEST_F(Keyboard, KeyStateFollowsTheRetrievedMessagesAndTheAsyncStateTheInput)
{
    Backend.KeyDown(VK_SHIFT);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000); // not retrieved yet
    Pump();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    Backend.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    // Caps Lock toggles.
    Backend.Key(VK_CAPITAL);
    Backend.Key('Q');
    StartLog();
    Pump();
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
    EXPECT_EQ(Chars(WM_CHAR, Edit), U"Q");
}

TEST_F(Keyboard, F10AndALoneAltAskTheTopLevelWindowForItsMenu)
{
    struct Case {
        const char* Name;
        std::vector<std::pair<UINT, bool>> Keys; // key, down
        std::vector<LPARAM> Commands; // SC_KEYMENU lParams
    };
    const Case kCases[] = {
        { "F10", { { VK_F10, true }, { VK_F10, false } }, { 0 } },
        { "lone Alt", { { VK_MENU, true }, { VK_MENU, false } }, { 0 } },
        { "Alt with a letter", { { VK_MENU, true }, { 'F', true }, { 'F', false }, { VK_MENU, false } }, { 'f' } },
        { "Alt and Space", { { VK_MENU, true }, { VK_SPACE, true }, { VK_SPACE, false }, { VK_MENU, false } },
            { ' ' } },
        { "Alt with Ctrl",
            { { VK_CONTROL, true }, { VK_MENU, true }, { 'F', true }, { 'F', false }, { VK_MENU, false },
                { VK_CONTROL, false } },
            {} },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        StartLog();
        for (const auto& [key, down] : c.Keys)
            down ? Backend.KeyDown(key) : Backend.KeyUp(key);
        Pump();
        std::vector<LPARAM> commands;
        for (const TLoggedMessage& e : SysCommands()) {
            EXPECT_EQ(e.Window, Form);
            EXPECT_EQ(e.WParam, SC_KEYMENU);
            commands.push_back(e.LParam);
        }
        EXPECT_EQ(commands, c.Commands);
    }
    // The keys of an Alt combination are system keys for the focus window.
    StartLog();
    Backend.KeyDown(VK_MENU);
    Backend.Key('X');
    Backend.KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(Sequence({ WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYDOWN, WM_CHAR }, Edit),
        Messages({ WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP }));
}

TEST_F(Keyboard, AltF4ClosesTheTopLevelWindow)
{
    StartLog();
    Backend.KeyDown(VK_MENU);
    Backend.Key(VK_F4);
    Backend.KeyUp(VK_MENU);
    Pump();
    const auto commands = SysCommands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].Window, Form);
    EXPECT_EQ(commands[0].WParam, SC_CLOSE);
    EXPECT_EQ(Sequence({ WM_CLOSE }, Form), Messages({ WM_CLOSE }));
    EXPECT_FALSE(IsWindow(Form));
}

TEST_F(Keyboard, WithoutAFocusKeysGoToTheActiveWindowAsSystemKeys)
{
    SetFocus(nullptr);
    ASSERT_EQ(GetActiveWindow(), Form);
    StartLog();
    Backend.Key('K');
    Pump();
    EXPECT_EQ(Sequence({ WM_KEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP }, Form), Messages({ WM_SYSKEYDOWN, WM_SYSKEYUP }));
    // With no active window either, keys go nowhere.
    SetActiveWindow(nullptr);
    StartLog();
    Backend.Key('K');
    Pump();
    EXPECT_TRUE(Only({ WM_KEYDOWN, WM_SYSKEYDOWN }).empty());
}

TEST_F(Keyboard, TheWindowManagersCloseButtonArrivesAsScClose)
{
    StartLog();
    Backend.CloseRequest(Form);
    Pump();
    EXPECT_EQ(Sequence({ WM_SYSCOMMAND, WM_CLOSE }, Form), Messages({ WM_SYSCOMMAND, WM_CLOSE }));
    EXPECT_FALSE(IsWindow(Form));
}
