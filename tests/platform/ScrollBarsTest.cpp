#include "PlatformTestSupport.h"

#include <string>

namespace {

constexpr int kBar = 16; // the scroll bars' thickness and arrow length

uint32_t Rgb(COLORREF c)
{
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// One WM_HSCROLL/WM_VSCROLL as the window got it.
struct TScroll {
    UINT Message;
    WORD Code;
    WORD Pos;
    DWORD Time;
    bool operator==(const TScroll&) const = default;
};

std::string Describe(const std::vector<TScroll>& list)
{
    std::string out;
    for (const TScroll& s : list)
        out += std::to_string(s.Code) + "/" + std::to_string(s.Pos) + "@" + std::to_string(s.Time) + " ";
    return out;
}

// A 200x150 popup at (100, 100) with both bars (range 0..100, page 10) and no frame, so its bars sit at the
// window's right and bottom edges.
class ScrollBars : public PlatformTest {
protected:
    void SetUp() override
    {
        PlatformTest::SetUp();
        Handler = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (hwnd == Form && (message == WM_VSCROLL || message == WM_HSCROLL)) {
                Scrolls.push_back(TScroll { message, LOWORD(wParam), HIWORD(wParam), GetTickCount() });
                if (OnScroll)
                    OnScroll(message, LOWORD(wParam));
                return 0;
            }
            if (hwnd == Form && message == WM_TIMER && wParam == 7 && OnTimer) {
                OnTimer();
                return 0;
            }
            return std::nullopt;
        };
        Form = CreateTop(RECT { 100, 100, 300, 250 }, WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL);
        SCROLLINFO info { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0 };
        SetScrollInfo(Form, SB_VERT, &info, TRUE);
        SetScrollInfo(Form, SB_HORZ, &info, TRUE);
        Pump();
    }

    SCROLLINFO Info(int bar)
    {
        SCROLLINFO info { sizeof(SCROLLINFO), SIF_ALL, -1, -1, 999, -1, -1 };
        EXPECT_TRUE(GetScrollInfo(Form, bar, &info));
        return info;
    }

    SCROLLBARINFO BarInfo(LONG object)
    {
        SCROLLBARINFO info {};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetScrollBarInfo(Form, object, &info));
        return info;
    }

    // Screen x of the vertical bar's middle.
    int BarX() const { return 300 - kBar / 2; }

    HWND Form = nullptr;
    std::vector<TScroll> Scrolls;
    std::function<void(UINT, WORD)> OnScroll;
    std::function<void()> OnTimer;
};

TEST_F(ScrollBars, TheBarsTakeTheirWidthFromTheClientAreaAndComeAndGoWithTheStyle)
{
    RECT client;
    GetClientRect(Form, &client);
    EXPECT_EQ(client.right, 200 - kBar);
    EXPECT_EQ(client.bottom, 150 - kBar);

    // The default WM_NCCALCSIZE answer, asked directly, for each style.
    struct TCase {
        DWORD Style;
        DWORD ExStyle;
        RECT Client;
    };
    const TCase cases[] = {
        { WS_VSCROLL, 0, RECT { 0, 0, 200 - kBar, 150 } },
        { WS_HSCROLL, 0, RECT { 0, 0, 200, 150 - kBar } },
        { WS_VSCROLL | WS_HSCROLL | WS_BORDER, 0, RECT { 1, 1, 199 - kBar, 149 - kBar } },
        { WS_VSCROLL, WS_EX_LEFTSCROLLBAR, RECT { kBar, 0, 200, 150 } },
    };
    for (const TCase& c : cases) {
        HWND w = CreateTop(RECT { 0, 0, 200, 150 }, WS_POPUP | c.Style, c.ExStyle);
        RECT r { 0, 0, 200, 150 };
        SendMessage(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        EXPECT_TRUE(EqualRect(&r, &c.Client)) << std::hex << c.Style << " " << c.ExStyle;
        DestroyWindow(w);
    }

    // Hiding a bar gives its room back to the client at once, with the frame recalculated.
    StartLog();
    EXPECT_TRUE(ShowScrollBar(Form, SB_VERT, FALSE));
    EXPECT_EQ(Sequence({ WM_NCCALCSIZE, WM_SIZE }, Form), Messages({ WM_NCCALCSIZE, WM_SIZE }));
    GetClientRect(Form, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(GetWindowLong(Form, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(BarInfo(OBJID_VSCROLL).rgstate[0] & STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(ShowScrollBar(Form, SB_BOTH, TRUE));
    GetClientRect(Form, &client);
    EXPECT_EQ(client.right, 200 - kBar);
    EXPECT_EQ(BarInfo(OBJID_VSCROLL).rgstate[0], 0u);
}

TEST_F(ScrollBars, HitsOnTheBarsGiveTheScrollHitCodes)
{
    auto hit = [&](int x, int y) { return SendMessage(Form, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
    EXPECT_EQ(hit(BarX(), 150), HTVSCROLL);
    EXPECT_EQ(hit(150, 250 - kBar / 2), HTHSCROLL);
    EXPECT_EQ(hit(BarX(), 250 - kBar / 2), HTSIZE) << "the corner between both bars";
    EXPECT_EQ(hit(150, 150), HTCLIENT);

    // The pointer over a bar gets the non-client mouse messages with the scroll hit code.
    StartLog();
    Backend.MouseMove(BarX(), 150);
    Pump();
    const std::vector<TLoggedMessage> moves = Only({ WM_NCMOUSEMOVE }, Form);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].WParam, WPARAM(HTVSCROLL));
}

TEST_F(ScrollBars, GetScrollInfoReturnsWhatWasSetWithPageAndPositionClamped)
{
    struct TCase {
        const char* What;
        SCROLLINFO Set;
        int Min, Max;
        UINT Page;
        int Pos;
    };
    const TCase cases[] = {
        { "all within bounds", { sizeof(SCROLLINFO), SIF_ALL, 0, 99, 20, 30, 0 }, 0, 99, 20, 30 },
        { "position past the last page", { sizeof(SCROLLINFO), SIF_ALL, 0, 99, 20, 95, 0 }, 0, 99, 20, 80 },
        { "position before the start", { sizeof(SCROLLINFO), SIF_ALL, 10, 50, 5, -7, 0 }, 10, 50, 5, 10 },
        { "page larger than the range", { sizeof(SCROLLINFO), SIF_ALL, 0, 9, 500, 4, 0 }, 0, 9, 10, 0 },
        { "no page: the position may reach Max", { sizeof(SCROLLINFO), SIF_ALL, -5, 5, 0, 5, 0 }, -5, 5, 0, 5 },
        { "inverted range is no range", { sizeof(SCROLLINFO), SIF_ALL, 50, 10, 3, 20, 0 }, 0, 0, 1, 0 },
        { "a position alone is clamped to the range set before",
            { sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 1000, 0 }, 0, 0, 1, 0 },
        { "a range alone re-clamps page and position", { sizeof(SCROLLINFO), SIF_RANGE, 0, 49, 0, 0, 0 }, 0, 49, 1,
            0 },
    };
    for (const TCase& c : cases) {
        const int returned = SetScrollInfo(Form, SB_VERT, &c.Set, TRUE);
        const SCROLLINFO got = Info(SB_VERT);
        EXPECT_EQ(got.nMin, c.Min) << c.What;
        EXPECT_EQ(got.nMax, c.Max) << c.What;
        EXPECT_EQ(got.nPage, c.Page) << c.What;
        EXPECT_EQ(got.nPos, c.Pos) << c.What;
        EXPECT_EQ(got.nTrackPos, c.Pos) << c.What << ": no drag, so the tracked position is the position";
        EXPECT_EQ(returned, c.Pos) << c.What;
    }

    // The older calls read and write the same values.
    EXPECT_TRUE(SetScrollRange(Form, SB_HORZ, 0, 200, TRUE));
    EXPECT_EQ(SetScrollPos(Form, SB_HORZ, 150, TRUE), 0);
    EXPECT_EQ(SetScrollPos(Form, SB_HORZ, 500, TRUE), 150);
    EXPECT_EQ(GetScrollPos(Form, SB_HORZ), 191) << "200 less the page of 10, less one";
    int min = -1;
    int max = -1;
    EXPECT_TRUE(GetScrollRange(Form, SB_HORZ, &min, &max));
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 200);

    // A window that never had a bar has nothing to report.
    HWND plain = CreateTop(RECT { 0, 0, 50, 50 });
    SCROLLINFO none { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &none));
    EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);
    none.cbSize = 3;
    EXPECT_EQ(SetScrollInfo(Form, SB_VERT, &none, TRUE), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(ScrollBars, ARangeWithNothingToScrollHidesTheBarOrGreysItOut)
{
    SCROLLINFO fits { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 9, 10, 0, 0 };
    SetScrollInfo(Form, SB_VERT, &fits, TRUE);
    EXPECT_EQ(GetWindowLong(Form, GWL_STYLE) & WS_VSCROLL, 0);
    RECT client;
    GetClientRect(Form, &client);
    EXPECT_EQ(client.right, 200);

    SCROLLINFO needs { sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0 };
    SetScrollInfo(Form, SB_VERT, &needs, TRUE);
    EXPECT_NE(GetWindowLong(Form, GWL_STYLE) & WS_VSCROLL, 0);

    fits.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(Form, SB_VERT, &fits, TRUE);
    EXPECT_NE(GetWindowLong(Form, GWL_STYLE) & WS_VSCROLL, 0) << "kept, greyed";
    const SCROLLBARINFO info = BarInfo(OBJID_VSCROLL);
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(info.rgstate[3], STATE_SYSTEM_INVISIBLE) << "no thumb";

    // A greyed bar ignores presses.
    Backend.Click(BarX(), 100 + kBar / 2);
    Pump();
    EXPECT_TRUE(Scrolls.empty());
}

TEST_F(ScrollBars, ArrowsAndPageAreasSendTheirRequestsAndRepeatOnTheClockWhileHeld)
{
    // A click on the down arrow: one line, then the end of scrolling.
    Backend.Click(BarX(), 250 - kBar - kBar / 2);
    Pump();
    EXPECT_EQ(Scrolls, (std::vector<TScroll> { { WM_VSCROLL, SB_LINEDOWN, 0, 1000 }, { WM_VSCROLL, SB_ENDSCROLL, 0, 1000 } }))
        << Describe(Scrolls);

    // Held: the first repeat comes after 200 ms, the next every 50 ms. The handler moves the clock on (and at
    // the fourth line lets go), as time passing with the button down would.
    Scrolls.clear();
    int lines = 0;
    OnScroll = [&](UINT, WORD code) {
        if (code != SB_LINEDOWN)
            return;
        if (++lines == 4)
            Backend.MouseUp();
        else
            Backend.AdvanceClock(lines == 1 ? 200 : 50);
    };
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(Scrolls,
        (std::vector<TScroll> { { WM_VSCROLL, SB_LINEDOWN, 0, 1000 }, { WM_VSCROLL, SB_LINEDOWN, 0, 1200 },
            { WM_VSCROLL, SB_LINEDOWN, 0, 1250 }, { WM_VSCROLL, SB_LINEDOWN, 0, 1300 },
            { WM_VSCROLL, SB_ENDSCROLL, 0, 1300 } }))
        << Describe(Scrolls);

    // Held on the page area above the thumb, which the window moves up on each request: the repeats stop once
    // the thumb reaches the pointer, though the button stays down. The clock runs on by itself here, and a
    // timer of the window's own lets go a second later.
    SetScrollPos(Form, SB_VERT, 90, TRUE);
    Scrolls.clear();
    OnScroll = [&](UINT, WORD code) {
        if (code == SB_PAGEUP)
            SetScrollPos(Form, SB_VERT, GetScrollPos(Form, SB_VERT) - 10, TRUE);
    };
    OnTimer = [&] {
        KillTimer(Form, 7);
        Backend.MouseUp();
    };
    SetTimer(Form, 7, 1000, nullptr);
    Backend.SetClockStepPerRead(5);
    // The track runs from 16 to 118 in the window with a 10-pixel thumb, whose top sits at 16 + 92 * pos / 91:
    // 107 at 90, 97 at 80, 87 at 70 and 77 at 60, which covers the pointer at 82.
    Backend.MouseMove(BarX(), 100 + 82);
    Backend.MouseDown();
    Pump();
    ASSERT_EQ(Scrolls.size(), 4u) << Describe(Scrolls);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Scrolls[i].Code, SB_PAGEUP);
    EXPECT_EQ(Scrolls[3].Code, SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(Form, SB_VERT), 60);
}

TEST_F(ScrollBars, DraggingTheThumbTracksThenSetsThePosition)
{
    std::vector<int> trackPos;
    OnScroll = [&](UINT, WORD code) {
        SCROLLINFO info { sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0 };
        GetScrollInfo(Form, SB_VERT, &info);
        if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
            trackPos.push_back(info.nTrackPos);
        if (code == SB_THUMBPOSITION)
            SetScrollPos(Form, SB_VERT, info.nTrackPos, TRUE);
    };
    const SCROLLBARINFO bar = BarInfo(OBJID_VSCROLL);
    ASSERT_GT(bar.xyThumbBottom, bar.xyThumbTop);
    EXPECT_EQ(bar.xyThumbTop, kBar) << "position 0: the thumb sits right below the up arrow";
    const int grabY = 100 + bar.xyThumbTop + 3;
    // The track is 150 - 2*16 - 16 (the corner) = 102 pixels, the thumb 102*10/101 = 10 of them: 92 to move in
    // for positions 0..91.
    Backend.MouseMove(BarX(), grabY);
    Backend.MouseDown();
    Backend.MouseMove(BarX(), grabY + 23);
    Backend.MouseMove(BarX() + 30, grabY + 46); // beside the bar, still near enough
    Backend.MouseMove(BarX(), grabY + 46);
    Backend.MouseUp();
    Pump();
    const std::vector<TScroll> expected = {
        { WM_VSCROLL, SB_THUMBTRACK, 23, 1000 },
        { WM_VSCROLL, SB_THUMBTRACK, 46, 1000 },
        { WM_VSCROLL, SB_THUMBPOSITION, 46, 1000 },
        { WM_VSCROLL, SB_ENDSCROLL, 0, 1000 },
    };
    EXPECT_EQ(Scrolls, expected) << Describe(Scrolls);
    EXPECT_EQ(trackPos, (std::vector<int> { 23, 46, 46 }));
    EXPECT_EQ(Info(SB_VERT).nPos, 46);
    EXPECT_EQ(Info(SB_VERT).nTrackPos, 46);
    EXPECT_EQ(BarInfo(OBJID_VSCROLL).rgstate[3], 0u) << "released";
    EXPECT_EQ(GetCapture(), nullptr);

    // Far from the bar the thumb goes back to where the drag started; the end position is that one.
    Scrolls.clear();
    const SCROLLBARINFO now = BarInfo(OBJID_VSCROLL);
    const int y = 100 + now.xyThumbTop + 2;
    Backend.MouseMove(BarX(), y);
    Backend.MouseDown();
    Backend.MouseMove(BarX(), y + 20);
    Backend.MouseMove(BarX() - 300, y + 20);
    Backend.MouseUp();
    Pump();
    ASSERT_EQ(Scrolls.size(), 4u) << Describe(Scrolls);
    EXPECT_EQ(Scrolls[0].Pos, 66);
    EXPECT_EQ(Scrolls[1].Code, SB_THUMBTRACK);
    EXPECT_EQ(Scrolls[1].Pos, 46);
    EXPECT_EQ(Scrolls[2].Code, SB_THUMBPOSITION);
    EXPECT_EQ(Scrolls[2].Pos, 46);
}

TEST_F(ScrollBars, TheHorizontalBarScrollsSideways)
{
    Backend.Click(100 + kBar / 2, 250 - kBar / 2);
    Pump();
    ASSERT_EQ(Scrolls.size(), 2u);
    EXPECT_EQ(Scrolls[0].Message, WM_HSCROLL);
    EXPECT_EQ(Scrolls[0].Code, SB_LINELEFT);
    Scrolls.clear();
    Backend.Click(100 + 150, 250 - kBar / 2);
    Pump();
    ASSERT_FALSE(Scrolls.empty());
    EXPECT_EQ(Scrolls[0].Code, SB_PAGERIGHT);
}

TEST_F(ScrollBars, TheBarsArePaintedInTheFrameWithTheirArrowsEnabledOrNot)
{
    RedrawWindow(Form, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const int x = 200 - kBar / 2;
    // The glyph of the down arrow sits in the middle of its button.
    const int arrowY = 150 - kBar - kBar / 2;
    EXPECT_EQ(Backend.WindowPixel(Form, x, arrowY), Rgb(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_EQ(Backend.WindowPixel(Form, x, 150 - kBar - 1), Rgb(GetSysColor(COLOR_3DDKSHADOW))) << "button edge";
    const SCROLLBARINFO bar = BarInfo(OBJID_VSCROLL);
    EXPECT_EQ(Backend.WindowPixel(Form, x, bar.xyThumbTop), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))) << "thumb edge";
    EXPECT_EQ(Backend.WindowPixel(Form, x, bar.xyThumbBottom + 5), Rgb(GetSysColor(COLOR_SCROLLBAR))) << "track";

    EXPECT_TRUE(EnableScrollBar(Form, SB_VERT, ESB_DISABLE_DOWN));
    EXPECT_FALSE(EnableScrollBar(Form, SB_VERT, ESB_DISABLE_DOWN)) << "already so";
    EXPECT_EQ(Backend.WindowPixel(Form, x, arrowY), Rgb(GetSysColor(COLOR_GRAYTEXT)));
    EXPECT_EQ(BarInfo(OBJID_VSCROLL).rgstate[5], STATE_SYSTEM_UNAVAILABLE);
    Backend.Click(BarX(), 100 + arrowY);
    Pump();
    EXPECT_TRUE(Scrolls.empty()) << "a disabled arrow does nothing";
}

} // namespace

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

using ScrollWindowTest = PlatformTest;

// A 100x100 window whose upper half is red and lower half blue, painted and with nothing left to paint.
HWND Striped(HWND window)
{
    ValidateRect(window, nullptr);
    FillWindowRect(window, true, RECT { 0, 0, 100, 50 }, kRed);
    FillWindowRect(window, true, RECT { 0, 50, 100, 100 }, kBlue);
    return window;
}

TEST_F(ScrollWindowTest, PixelsMoveAndTheUncoveredStripIsToBeRepainted)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    HWND child = CreateChild(w, RECT { 10, 60, 30, 80 });
    Pump();
    Striped(w);
    // Something already waiting for paint inside the scrolled area moves with it.
    RECT waiting { 0, 70, 10, 80 };
    InvalidateRect(w, &waiting, FALSE);

    HRGN update = CreateRectRgn(0, 0, 0, 0);
    RECT bounds {};
    EXPECT_EQ(ScrollWindowEx(w, 0, -10, nullptr, nullptr, update, &bounds, SW_INVALIDATE | SW_SCROLLCHILDREN),
        COMPLEXREGION);
    EXPECT_EQ(Backend.WindowPixel(w, 50, 39), Rgb(kRed));
    EXPECT_EQ(Backend.WindowPixel(w, 50, 40), Rgb(kBlue)) << "the edge moved up by 10";
    const RECT expected { 0, 60, 100, 100 };
    EXPECT_TRUE(EqualRect(&bounds, &expected));
    EXPECT_TRUE(PtInRegion(update, 50, 95)) << "the uncovered strip";
    EXPECT_TRUE(PtInRegion(update, 5, 65)) << "the pending area, moved";
    EXPECT_FALSE(PtInRegion(update, 50, 65));
    RECT pending;
    GetUpdateRect(w, &pending, FALSE);
    EXPECT_EQ(pending.bottom, 100);
    RECT childRect;
    GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.top, 50) << "SW_SCROLLCHILDREN moves the children along";
    DeleteObject(update);
}

TEST_F(ScrollWindowTest, OnlyTheScrollAreaMovesAndTheClipLimitsWhatChanges)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    HWND child = CreateChild(w, RECT { 60, 60, 70, 70 });
    Pump();
    Striped(w);
    // The left half scrolls down by 20; the right half stays.
    const RECT left { 0, 0, 50, 100 };
    const RECT clip { 0, 0, 50, 60 };
    RECT bounds {};
    EXPECT_EQ(ScrollWindowEx(w, 0, 20, &left, &clip, nullptr, &bounds, 0), SIMPLEREGION);
    EXPECT_EQ(Backend.WindowPixel(w, 10, 55), Rgb(kRed)) << "red moved down into the clip";
    EXPECT_EQ(Backend.WindowPixel(w, 10, 65), Rgb(kBlue)) << "below the clip nothing changed";
    EXPECT_EQ(Backend.WindowPixel(w, 80, 55), Rgb(kBlue)) << "outside the scroll area nothing moved";
    const RECT uncovered { 0, 0, 50, 20 };
    EXPECT_TRUE(EqualRect(&bounds, &uncovered));
    RECT none;
    EXPECT_FALSE(GetUpdateRect(w, &none, FALSE)) << "without SW_INVALIDATE nothing is invalidated";
    RECT childRect;
    GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.top, 60) << "children stay without SW_SCROLLCHILDREN";

    // ScrollWindow invalidates with an erase and moves the children when it scrolls everything.
    EXPECT_TRUE(ScrollWindow(w, 5, 0, nullptr, nullptr));
    GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.left, 65);
    RECT updateNow;
    EXPECT_TRUE(GetUpdateRect(w, &updateNow, FALSE));
    EXPECT_EQ(updateNow.left, 0);
    EXPECT_EQ(updateNow.right, 70) << "the uncovered column, and the child's old place";
    ValidateRect(w, nullptr);
    EXPECT_EQ(ScrollWindowEx(w, 0, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE), NULLREGION);
}

} // namespace
