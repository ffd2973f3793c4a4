// The system's message box through the headless backend: every button set with its keys, the mouse, the owner's
// windows while the box is up, the place and size of a long text, and the icon painted.
#include "platform/controls/MessageBox.h"

#include "platform/controls/ButtonControl.h"
#include "tests/platform/GdiTestSupport.h"
#include "tests/platform/PlatformTestSupport.h"

#include <string>
#include <vector>

namespace {

class MessageBoxTest : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        PlatformTest::SetUp();
        Owner = CreateTop(RECT { 100, 100, 700, 500 }, WS_POPUP | WS_VISIBLE | WS_CAPTION);
        SetActiveWindow(Owner);
    }
    void TearDown() override
    {
        SetMessageBoxHook(nullptr);
        PlatformTest::TearDown();
    }

    static std::vector<HWND> Buttons(HWND box)
    {
        std::vector<HWND> out;
        for (HWND h = GetWindow(box, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            out.push_back(h);
        // Children are listed top first; the buttons were made left to right.
        std::sort(out.begin(), out.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
        return out;
    }
    static std::string Text(HWND hwnd)
    {
        char buffer[64] {};
        GetWindowText(hwnd, buffer, sizeof buffer);
        return buffer;
    }

    HWND Owner = nullptr;
};

} // namespace

TEST_F(MessageBoxTest, EachButtonSetAnswersItsKeys)
{
    struct TKeys {
        std::vector<UINT> Keys;
        bool Alt = false;
    };
    struct TCase {
        UINT Type;
        std::string Captions;
        TKeys Keys;
        int Answer;
    };
    const TCase cases[] = {
        // Enter pushes the default button: the first, or the one MB_DEFBUTTONn names.
        { MB_OK, "OK", { { VK_RETURN } }, IDOK },
        { MB_OKCANCEL, "OK|Cancel", { { VK_RETURN } }, IDOK },
        { MB_OKCANCEL | MB_DEFBUTTON2, "OK|Cancel", { { VK_RETURN } }, IDCANCEL },
        { MB_YESNOCANCEL | MB_DEFBUTTON3, "&Yes|&No|Cancel", { { VK_RETURN } }, IDCANCEL },
        { MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, "&Abort|&Retry|&Ignore", { { VK_RETURN } }, IDRETRY },
        { MB_CANCELTRYCONTINUE, "Cancel|&Try Again|&Continue", { { VK_RETURN } }, IDCANCEL },
        // A default past the set's end is the first button.
        { MB_YESNO | MB_DEFBUTTON3, "&Yes|&No", { { VK_RETURN } }, IDYES },
        // Escape gives the cancelling answer of each set.
        { MB_OK, "OK", { { VK_ESCAPE } }, IDOK },
        { MB_OKCANCEL, "OK|Cancel", { { VK_ESCAPE } }, IDCANCEL },
        { MB_YESNO, "&Yes|&No", { { VK_ESCAPE } }, IDNO },
        { MB_YESNOCANCEL, "&Yes|&No|Cancel", { { VK_ESCAPE } }, IDCANCEL },
        { MB_ABORTRETRYIGNORE, "&Abort|&Retry|&Ignore", { { VK_ESCAPE } }, IDABORT },
        { MB_RETRYCANCEL, "&Retry|Cancel", { { VK_ESCAPE } }, IDCANCEL },
        // Tab and the arrows move the focus, and Enter follows it.
        { MB_YESNOCANCEL, "&Yes|&No|Cancel", { { VK_TAB, VK_RETURN } }, IDNO },
        { MB_YESNOCANCEL, "&Yes|&No|Cancel", { { VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RETURN } }, IDYES },
        { MB_YESNOCANCEL, "&Yes|&No|Cancel", { { VK_LEFT, VK_RETURN } }, IDCANCEL },
        // Space pushes the focused button as the button itself reads it.
        { MB_RETRYCANCEL | MB_DEFBUTTON2, "&Retry|Cancel", { { VK_SPACE } }, IDCANCEL },
        // The underlined letter, alone or with Alt.
        { MB_YESNO, "&Yes|&No", { { 'N' } }, IDNO },
        { MB_ABORTRETRYIGNORE, "&Abort|&Retry|&Ignore", { { 'I' }, true }, IDIGNORE },
        { MB_CANCELTRYCONTINUE, "Cancel|&Try Again|&Continue", { { 'C' }, true }, IDCONTINUE },
        // A letter no button has changes nothing; the Enter after it still answers.
        { MB_YESNO, "&Yes|&No", { { 'Q', VK_RETURN } }, IDYES },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.Type) + " answer " + std::to_string(c.Answer));
        std::string captions;
        SetMessageBoxHook([&](HWND box) {
            for (HWND button : Buttons(box))
                captions += (captions.empty() ? "" : "|") + Text(button);
            for (UINT key : c.Keys.Keys) {
                if (c.Keys.Alt)
                    Backend.KeyDown(VK_MENU);
                Backend.Key(key);
                if (c.Keys.Alt)
                    Backend.KeyUp(VK_MENU);
            }
        });
        EXPECT_EQ(MessageBox(Owner, "Question?", "Box", c.Type), c.Answer);
        EXPECT_EQ(captions, c.Captions);
    }
}

TEST_F(MessageBoxTest, TheCloseBoxAndTheMouseAnswer)
{
    // The window manager's close button gives the cancelling answer.
    SetMessageBoxHook([&](HWND box) { Backend.CloseRequest(box); });
    EXPECT_EQ(MessageBox(Owner, "Close me", "Box", MB_YESNOCANCEL), IDCANCEL);
    SetMessageBoxHook([&](HWND box) { Backend.CloseRequest(box); });
    EXPECT_EQ(MessageBox(Owner, "Close me", "Box", MB_YESNO), IDNO);
    // A click on the second button answers with it, whatever the default.
    SetMessageBoxHook([&](HWND box) {
        RECT r;
        GetWindowRect(Buttons(box)[1], &r);
        Backend.AdvanceClock(1000);
        Backend.Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(MessageBox(Owner, "Click", "Box", MB_YESNO), IDNO);
}

TEST_F(MessageBoxTest, TheOwnersWindowsTakeNoInputWhileOthersKeepPainting)
{
    HWND ownedByOwner = CreateTop(RECT { 150, 150, 250, 250 }, WS_POPUP | WS_VISIBLE, 0, Owner);
    HWND apart = CreateTop(RECT { 800, 100, 900, 200 });
    int apartPaints = 0;
    Handler = [&](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == apart && message == WM_PAINT) {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            // The answer comes only once this window has painted while the box is up.
            if (++apartPaints == 1)
                Backend.Key(VK_ESCAPE);
            return 0;
        }
        return std::nullopt;
    };
    SetActiveWindow(Owner);
    Pump();
    apartPaints = 0;
    bool ownerEnabled = true, ownedEnabled = true, apartEnabled = false;
    RECT box {}, owner {};
    HWND boxOwner = nullptr;
    SetMessageBoxHook([&](HWND hwnd) {
        ownerEnabled = IsWindowEnabled(Owner);
        ownedEnabled = IsWindowEnabled(ownedByOwner);
        apartEnabled = IsWindowEnabled(apart);
        boxOwner = GetWindow(hwnd, GW_OWNER);
        GetWindowRect(hwnd, &box);
        GetWindowRect(Owner, &owner);
        InvalidateRect(apart, nullptr, TRUE);
    });
    EXPECT_EQ(MessageBox(Owner, "Modal", "Box", MB_OKCANCEL), IDCANCEL);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(ownedEnabled);
    EXPECT_TRUE(apartEnabled);
    EXPECT_EQ(apartPaints, 1);
    EXPECT_EQ(boxOwner, Owner);
    // Centred on the owner.
    EXPECT_NEAR((box.left + box.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
    EXPECT_TRUE(IsWindowEnabled(Owner));
    EXPECT_TRUE(IsWindowEnabled(ownedByOwner));
    EXPECT_EQ(GetActiveWindow(), Owner);

    // Without an owner every window of the program waits, and all are enabled again afterwards.
    SetMessageBoxHook([&](HWND) {
        ownerEnabled = IsWindowEnabled(Owner);
        apartEnabled = IsWindowEnabled(apart);
        Backend.Key(VK_RETURN);
    });
    EXPECT_EQ(MessageBox(nullptr, "Task modal", nullptr, MB_OK), IDOK);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(apartEnabled);
    EXPECT_TRUE(IsWindowEnabled(Owner));
    EXPECT_TRUE(IsWindowEnabled(apart));
}

TEST_F(MessageBoxTest, ALongTextWrapsIntoAParagraphAndTheIconShows)
{
    struct TSeen {
        SIZE Client {};
        std::string Caption;
        uint32_t IconPixel = 0;
    };
    auto show = [&](const std::string& text, UINT type, const char* caption) {
        TSeen seen;
        SetMessageBoxHook([&](HWND box) {
            RECT client;
            GetClientRect(box, &client);
            seen.Client = SIZE { client.right, client.bottom };
            seen.Caption = Text(box);
            POINT origin { 0, 0 };
            ClientToScreen(box, &origin);
            RECT window;
            GetWindowRect(box, &window);
            // The left part of the icon's disc (or the triangle's lower middle).
            const bool triangle = (type & MB_ICONMASK) == MB_ICONEXCLAMATION;
            seen.IconPixel = Backend.WindowPixel(box, origin.x - window.left + 12 + (triangle ? 8 : 5),
                origin.y - window.top + 12 + (triangle ? 27 : 16));
            Backend.Key(VK_RETURN);
        });
        MessageBox(Owner, text.c_str(), caption, type);
        return seen;
    };
    const TSeen shortBox = show("Short.", MB_OK, nullptr);
    EXPECT_EQ(shortBox.Caption, "Error");
    std::string paragraph;
    for (int i = 0; i < 60; ++i)
        paragraph += "word" + std::to_string(i) + " ";
    const TSeen longBox = show(paragraph, MB_OK | MB_ICONINFORMATION, "Long");
    EXPECT_EQ(longBox.Caption, "Long");
    // Wrapped: no wider than the text's limit with the icon and margins, and several lines high.
    EXPECT_LE(longBox.Client.cx, 12 + 32 + 12 + 420 + 12);
    EXPECT_GT(longBox.Client.cy, shortBox.Client.cy + 3 * 10);
    EXPECT_EQ(longBox.IconPixel, 0x0054BEu);
    EXPECT_EQ(show("Stop", MB_OK | MB_ICONSTOP, "S").IconPixel, 0xCC0000u);
    EXPECT_EQ(show("Warn", MB_OK | MB_ICONWARNING, "W").IconPixel, 0xFFCC00u);
    EXPECT_EQ(show("Ask", MB_YESNO | MB_ICONQUESTION, "Q").IconPixel, 0x0054BEu);
}

TEST_F(MessageBoxTest, AQuitWhileTheBoxIsUpCancelsItAndReachesTheLoopsOutside)
{
    SetMessageBoxHook([&](HWND) { PostQuitMessage(3); });
    EXPECT_EQ(MessageBox(Owner, "Quit", "Box", MB_YESNO), IDNO);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(IsWindowEnabled(Owner));
}
