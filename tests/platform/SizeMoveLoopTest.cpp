#include "PlatformTestSupport.h"

#include <thread>

namespace {

// A borderless form whose top 20 pixels are its caption and whose edges size it, as a skinned form answers.
class SizeMoveLoop : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        Form = CreateTop(RECT { 100, 100, 300, 300 });
        Pump();
    }

    LRESULT HitTest(LPARAM l)
    {
        RECT r;
        GetWindowRect(Form, &r);
        const int x = GET_X_LPARAM(l);
        const int y = GET_Y_LPARAM(l);
        const bool left = x < r.left + 5;
        const bool right = x >= r.right - 5;
        const bool top = y < r.top + 5;
        const bool bottom = y >= r.bottom - 5;
        if (top && left)
            return HTTOPLEFT;
        if (top && right)
            return HTTOPRIGHT;
        if (bottom && left)
            return HTBOTTOMLEFT;
        if (bottom && right)
            return HTBOTTOMRIGHT;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        if (top)
            return HTTOP;
        if (bottom)
            return HTBOTTOM;
        if (y < r.top + 20)
            return HTCAPTION;
        return HTCLIENT;
    }

    RECT FormRect()
    {
        RECT r;
        GetWindowRect(Form, &r);
        return r;
    }

    HWND Form = nullptr;
};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_F(SizeMoveLoop, ACaptionPressRunsTheMoveLoopInsideTheHandlerAndWmMovingCanSnap)
{
    bool exitedBeforeReturn = false;
    bool inLoop = false;
    Handler = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
        if (h != Form)
            return std::nullopt;
        switch (m) {
        case WM_NCHITTEST:
            return HitTest(l);
        case WM_NCLBUTTONDOWN: {
            // The chained default returns only once the loop is over.
            const LRESULT r = DefWindowProc(h, m, w, l);
            exitedBeforeReturn = !inLoop && !Only({ WM_EXITSIZEMOVE }).empty();
            return r;
        }
        case WM_ENTERSIZEMOVE:
            inLoop = true;
            return 0;
        case WM_EXITSIZEMOVE:
            inLoop = false;
            return 0;
        case WM_MOVING: {
            // Magnetic snapping: the left edge keeps to a 10-pixel grid.
            auto* r = reinterpret_cast<RECT*>(l);
            const int width = r->right - r->left;
            r->left -= r->left % 10;
            r->right = r->left + width;
            return TRUE;
        }
        default:
            return std::nullopt;
        }
    };
    StartLog();
    Backend.MouseMove(150, 110);
    Backend.MouseDown();
    Backend.MouseMove(163, 130);
    Backend.MouseMove(177, 150);
    Backend.MouseUp();
    Pump();
    EXPECT_TRUE(exitedBeforeReturn);
    EXPECT_TRUE(Same(FormRect(), RECT { 120, 140, 320, 340 }));
    EXPECT_EQ(Sequence({ WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVE, WM_EXITSIZEMOVE,
                           WM_LBUTTONUP, WM_NCLBUTTONUP, WM_SIZE },
                  Form),
        Messages({ WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVE, WM_MOVING, WM_MOVE,
            WM_EXITSIZEMOVE }));
    EXPECT_EQ(Only({ WM_SYSCOMMAND }, Form).front().WParam, SC_MOVE | HTCAPTION);
    // The rectangle the handler saw was in screen coordinates.
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Backend.MouseCaptured());
    EXPECT_EQ(Backend.Native(Form)->Bounds.left, 120);
}

TEST_F(SizeMoveLoop, EdgeCodesSizeFromTheRightEdge)
{
    struct Case {
        const char* Name;
        POINT Grab;
        RECT Expected;
        WPARAM Edge;
    };
    // Every drag moves the pointer by (-30, -40).
    const Case kCases[] = {
        { "left", { 101, 200 }, { 70, 100, 300, 300 }, WMSZ_LEFT },
        { "right", { 298, 200 }, { 100, 100, 270, 300 }, WMSZ_RIGHT },
        { "top", { 200, 101 }, { 100, 60, 300, 300 }, WMSZ_TOP },
        { "bottom", { 200, 298 }, { 100, 100, 300, 260 }, WMSZ_BOTTOM },
        { "top left", { 101, 101 }, { 70, 60, 300, 300 }, WMSZ_TOPLEFT },
        { "top right", { 298, 101 }, { 100, 60, 270, 300 }, WMSZ_TOPRIGHT },
        { "bottom left", { 101, 298 }, { 70, 100, 300, 260 }, WMSZ_BOTTOMLEFT },
        { "bottom right", { 298, 298 }, { 100, 100, 270, 260 }, WMSZ_BOTTOMRIGHT },
    };
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h == Form && m == WM_NCHITTEST)
            return HitTest(l);
        return std::nullopt;
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        SetWindowPos(Form, nullptr, 100, 100, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        StartLog();
        Backend.MouseMove(c.Grab.x, c.Grab.y);
        Backend.MouseDown();
        Backend.MouseMove(c.Grab.x - 30, c.Grab.y - 40);
        Backend.MouseUp();
        Pump();
        EXPECT_TRUE(Same(FormRect(), c.Expected));
        const auto sizing = Only({ WM_SIZING }, Form);
        ASSERT_EQ(sizing.size(), 1u);
        EXPECT_EQ(sizing[0].WParam, c.Edge);
    }
}

TEST_F(SizeMoveLoop, WmSizingComesBeforeTheNewSizeAndTheTrackSizesClampIt)
{
    std::vector<RECT> sizedTo;
    bool sizingSawOldSize = true;
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h != Form)
            return std::nullopt;
        switch (m) {
        case WM_NCHITTEST:
            return HitTest(l);
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(l);
            info->ptMinTrackSize = POINT { 150, 120 };
            info->ptMaxTrackSize = POINT { 400, 300 };
            return 0;
        }
        case WM_SIZING: {
            // The window still has its previous size while it sees the proposal.
            auto* r = reinterpret_cast<RECT*>(l);
            if (!sizedTo.empty()) {
                RECT now;
                GetWindowRect(h, &now);
                sizingSawOldSize = sizingSawOldSize && Same(now, sizedTo.back());
            }
            // The handler keeps the width to steps of 25.
            r->right = r->left + (r->right - r->left) / 25 * 25;
            return TRUE;
        }
        case WM_SIZE: {
            RECT now;
            GetWindowRect(h, &now);
            sizedTo.push_back(now);
            return std::nullopt;
        }
        default:
            return std::nullopt;
        }
    };
    StartLog();
    Backend.MouseMove(298, 298);
    Backend.MouseDown();
    Backend.MouseMove(348, 338); // proposal 250x240 -> 250x240
    Backend.MouseMove(610, 620); // proposal 512x522 -> width 500 by the handler -> 400x300 by the limits
    Backend.MouseMove(0, 0); // proposal negative -> 150x120
    Backend.MouseUp();
    Pump();
    ASSERT_EQ(sizedTo.size(), 3u);
    EXPECT_TRUE(Same(sizedTo[0], RECT { 100, 100, 350, 340 }));
    EXPECT_TRUE(Same(sizedTo[1], RECT { 100, 100, 500, 400 }));
    EXPECT_TRUE(Same(sizedTo[2], RECT { 100, 100, 250, 220 }));
    EXPECT_TRUE(sizingSawOldSize);
    EXPECT_EQ(Sequence({ WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_SIZING, WM_WINDOWPOSCHANGING, WM_EXITSIZEMOVE }, Form),
        Messages({ WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_SIZING, WM_WINDOWPOSCHANGING, WM_SIZING, WM_WINDOWPOSCHANGING,
            WM_SIZING, WM_WINDOWPOSCHANGING, WM_EXITSIZEMOVE }));
    // The resized window repainted once the input was through.
    EXPECT_EQ(
        Sequence({ WM_EXITSIZEMOVE, WM_NCPAINT, WM_PAINT }, Form), Messages({ WM_EXITSIZEMOVE, WM_NCPAINT, WM_PAINT }));
}

TEST_F(SizeMoveLoop, EscapeCancelsAndPutsTheWindowBack)
{
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h == Form && m == WM_NCHITTEST)
            return HitTest(l);
        return std::nullopt;
    };
    StartLog();
    Backend.MouseMove(150, 110);
    Backend.MouseDown();
    Backend.MouseMove(250, 210);
    Backend.KeyDown(VK_ESCAPE);
    Backend.KeyUp(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Same(FormRect(), RECT { 100, 100, 300, 300 }));
    // The loop took the key press; the release after it is an ordinary message.
    EXPECT_EQ(Sequence({ WM_EXITSIZEMOVE, WM_KEYDOWN, WM_KEYUP }, Form), Messages({ WM_EXITSIZEMOVE, WM_KEYUP }));
    EXPECT_EQ(GetCapture(), nullptr);
    // The loop is over: the release is an ordinary message again.
    StartLog();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Only({ WM_LBUTTONUP, WM_NCLBUTTONUP }).size(), 1u);
}

TEST_F(SizeMoveLoop, TheLoopKeepsPumpingTimersAndPostedMessages)
{
    SetTimer(Form, 1, 100, nullptr);
    int timersInLoop = 0;
    int postsInLoop = 0;
    bool inLoop = false;
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h != Form)
            return std::nullopt;
        switch (m) {
        case WM_NCHITTEST:
            return HitTest(l);
        case WM_ENTERSIZEMOVE:
            inLoop = true;
            PostMessage(h, WM_USER, 0, 0);
            return 0;
        case WM_EXITSIZEMOVE:
            inLoop = false;
            return 0;
        case WM_USER:
            postsInLoop += inLoop;
            return 0;
        case WM_TIMER:
            // Only the timer can end this drag: it lets go of the button.
            timersInLoop += inLoop;
            Backend.MouseUp();
            return 0;
        default:
            return std::nullopt;
        }
    };
    Backend.MouseMove(150, 110);
    Backend.MouseDown();
    Backend.MouseMove(160, 120);
    std::thread clockHand([&] { Backend.AdvanceClock(100); });
    Pump();
    clockHand.join();
    EXPECT_EQ(postsInLoop, 1);
    EXPECT_EQ(timersInLoop, 1);
    EXPECT_FALSE(inLoop);
    EXPECT_TRUE(Same(FormRect(), RECT { 110, 110, 310, 310 }));
}

TEST_F(SizeMoveLoop, CaptionButtonsOfTheDefaultFrameSendTheirCommandOnRelease)
{
    HWND w = CreateTop(RECT { 400, 100, 600, 300 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    RECT r;
    GetWindowRect(w, &r);
    // The close button sits at the right end of the caption.
    const int y = r.top + 4 + 9;
    const int closeX = r.right - 4 - 8;
    ASSERT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(closeX, y)), HTCLOSE);
    // Released elsewhere: nothing happens.
    Backend.MouseMove(closeX, y);
    Backend.MouseDown();
    Backend.MouseMove(closeX - 100, y + 50);
    Backend.MouseUp();
    Pump();
    EXPECT_TRUE(IsWindow(w));
    StartLog();
    Backend.AdvanceClock(1000); // not a double click
    Backend.Click(closeX, y);
    Pump();
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Sequence({ WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY }), Messages({ WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY }));
}

TEST_F(SizeMoveLoop, TheKeyboardMovesAndSizesAfterTheSystemCommand)
{
    struct Case {
        const char* Name;
        WPARAM Command;
        std::vector<UINT> Keys;
        RECT Expected;
    };
    const Case kCases[] = {
        { "move right twice", SC_MOVE, { VK_RIGHT, VK_RIGHT, VK_RETURN }, { 116, 100, 316, 300 } },
        { "move then cancel", SC_MOVE, { VK_DOWN, VK_ESCAPE }, { 100, 100, 300, 300 } },
        { "size: the first arrow picks the edge", SC_SIZE, { VK_LEFT, VK_LEFT, VK_RETURN }, { 84, 100, 300, 300 } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        SetWindowPos(Form, nullptr, 100, 100, 200, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        for (UINT key : c.Keys)
            Backend.Key(key);
        SendMessage(Form, WM_SYSCOMMAND, c.Command, 0);
        EXPECT_TRUE(Same(FormRect(), c.Expected));
        Pump();
    }
}
