#include "GdiTestSupport.h"
#include "PlatformTestSupport.h"
#include "platform/win/WindowSurface.h"

#include <functional>

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;

uint32_t Rgb(COLORREF c)
{
    return PixelFromColor(c);
}

// The window layer over the headless backend with the GDI's DCs installed.
class GdiWindowDC : public PlatformTest {
protected:
    void SetUp() override
    {
        InstallGdiDCProvider();
        GetStockObject(WHITE_BRUSH);
        GetSysColorBrush(COLOR_WINDOW);
        PlatformTest::SetUp();
        FObjects = GdiObjectCount();
    }
    void TearDown() override
    {
        PlatformTest::TearDown();
        EXPECT_EQ(GdiObjectCount(), FObjects) << "GDI objects leaked";
    }

    static void Fill(HDC dc, COLORREF color)
    {
        HBRUSH brush = CreateSolidBrush(color);
        const RECT all { -1000, -1000, 1000, 1000 };
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }

private:
    size_t FObjects = 0;
};

} // namespace

TEST_F(GdiWindowDC, ClientDCsStartAtTheClientAreaAndStayInsideIt)
{
    HWND w = CreateTop(RECT { 10, 10, 60, 50 }, WS_POPUP | WS_VISIBLE | WS_BORDER);
    Pump();
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), OBJ_DC);
    EXPECT_EQ(WindowFromDC(dc), w);
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT { 0, 0, 48, 38 }));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(Backend.WindowPixel(w, 1, 1), kRed) << "client (0, 0) is inside the one-pixel border";
    Fill(dc, RGB(0, 0, 0));
    EXPECT_EQ(Backend.WindowPixel(w, 10, 10), kBlack);
    EXPECT_EQ(Backend.WindowPixel(w, 0, 0), Rgb(GetSysColor(COLOR_WINDOWFRAME))) << "the border is untouched";
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
    EXPECT_FALSE(DeleteDC(dc)) << "window DCs go back with ReleaseDC";
    EXPECT_EQ(ReleaseDC(w, dc), 1);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST_F(GdiWindowDC, WindowDCsCoverTheFrameUntilTheClientIsExcluded)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 80 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    RECT window;
    RECT client;
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    POINT origin { 0, 0 };
    ClientToScreen(w, &origin);
    const int cx = origin.x - window.left;
    const int cy = origin.y - window.top;
    HDC dc = GetWindowDC(w);
    // The skinned frame excludes the client area and paints everything else.
    ExcludeClipRect(dc, cx, cy, cx + client.right, cy + client.bottom);
    Fill(dc, RGB(255, 0, 0));
    ReleaseDC(w, dc);
    EXPECT_EQ(Backend.WindowPixel(w, 0, 0), kRed);
    EXPECT_EQ(Backend.WindowPixel(w, 50, cy - 1), kRed);
    EXPECT_NE(Backend.WindowPixel(w, cx, cy), kRed);
    EXPECT_NE(Backend.WindowPixel(w, cx + client.right - 1, cy + client.bottom - 1), kRed);
}

TEST_F(GdiWindowDC, TheWindowRegionClipsEveryDC)
{
    HWND w = CreateTop(RECT { 0, 0, 40, 40 });
    Pump();
    ASSERT_TRUE(SetWindowRgn(w, CreateEllipticRgn(0, 0, 40, 40), TRUE));
    Pump();
    for (bool client : { true, false }) {
        SCOPED_TRACE(client);
        HDC dc = client ? GetDC(w) : GetWindowDC(w);
        Fill(dc, client ? RGB(255, 0, 0) : RGB(0, 0, 0));
        ReleaseDC(w, dc);
        const uint32_t expected = client ? kRed : kBlack;
        EXPECT_EQ(Backend.WindowPixel(w, 20, 20), expected);
        EXPECT_NE(Backend.WindowPixel(w, 1, 1), expected) << "a corner outside the ellipse";
    }
}

TEST_F(GdiWindowDC, BeginPaintClipsToTheUpdateRegion)
{
    HWND w = CreateTop(RECT { 0, 0, 50, 50 });
    Pump();
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h != w || m != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        EXPECT_EQ(ps.rcPaint, (RECT { 10, 10, 20, 20 }));
        RECT box;
        EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
        EXPECT_EQ(box, ps.rcPaint) << "painting code skips what lies outside";
        const RECT outside { 30, 30, 40, 40 };
        EXPECT_FALSE(RectVisible(dc, &outside));
        Fill(dc, RGB(255, 0, 0));
        EndPaint(h, &ps);
        return 0;
    };
    const RECT dirty { 10, 10, 20, 20 };
    InvalidateRect(w, &dirty, FALSE);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(w, 15, 15), kRed);
    EXPECT_NE(Backend.WindowPixel(w, 25, 25), kRed);
    EXPECT_NE(Backend.WindowPixel(w, 9, 15), kRed);
}

TEST_F(GdiWindowDC, ChildrenDrawAtTheirOwnOriginAndParentsClipThemOutOnRequest)
{
    HWND parent = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND child = CreateChild(parent, RECT { 20, 20, 60, 60 });
    Pump();
    HDC dc = GetDC(child);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    Fill(dc, RGB(0, 0, 255));
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    ReleaseDC(child, dc);
    EXPECT_EQ(Backend.WindowPixel(parent, 20, 20), kRed);
    EXPECT_EQ(Backend.WindowPixel(parent, 59, 59), 0x0000FFu);
    EXPECT_NE(Backend.WindowPixel(parent, 60, 60), 0x0000FFu) << "the child's DC stops at its edge";
    HDC parentDc = GetDC(parent);
    Fill(parentDc, RGB(0, 0, 0));
    ReleaseDC(parent, parentDc);
    EXPECT_EQ(Backend.WindowPixel(parent, 10, 10), kBlack);
    EXPECT_EQ(Backend.WindowPixel(parent, 30, 30), 0x0000FFu) << "WS_CLIPCHILDREN keeps the child";
    // The hole moves with the child: the parent's next DC draws where the child was and not where it is now.
    SetWindowPos(child, nullptr, 70, 70, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    parentDc = GetDC(parent);
    Fill(parentDc, RGB(0, 255, 0));
    ReleaseDC(parent, parentDc);
    EXPECT_EQ(Backend.WindowPixel(parent, 30, 30), 0x00FF00u);
    EXPECT_NE(Backend.WindowPixel(parent, 75, 75), 0x00FF00u);
    ShowWindow(child, SW_HIDE);
    parentDc = GetDC(parent);
    Fill(parentDc, RGB(0, 255, 0));
    ReleaseDC(parent, parentDc);
    EXPECT_EQ(Backend.WindowPixel(parent, 75, 75), 0x00FF00u) << "a hidden child leaves no hole";
}

TEST_F(GdiWindowDC, TheDefaultCaptionShowsTheWindowText)
{
    HWND w = CreateWindowEx(0, kPlain, "Caption text", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100, nullptr,
        nullptr, nullptr, nullptr);
    Pump();
    RECT window;
    GetWindowRect(w, &window);
    POINT origin { 0, 0 };
    ClientToScreen(w, &origin);
    const uint32_t text = Rgb(GetSysColor(COLOR_CAPTIONTEXT));
    int textPixels = 0;
    for (int y = 0; y < origin.y - window.top; ++y)
        for (int x = 0; x < 150; ++x)
            textPixels += Backend.WindowPixel(w, x, y) == text ? 1 : 0;
    EXPECT_GT(textPixels, 20);
}

TEST_F(GdiWindowDC, TheScreenDCMeasuresAndReadsTheComposedScreen)
{
    HWND w = CreateTop(RECT { 100, 100, 150, 150 });
    Pump();
    HDC window = GetDC(w);
    Fill(window, RGB(12, 34, 56));
    ReleaseDC(w, window);
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetPixel(screen, 120, 120), RGB(12, 34, 56));
    // A screen grab into a bitmap.
    TTestCanvas grab(10, 10);
    EXPECT_TRUE(BitBlt(grab.Dc, 0, 0, 10, 10, screen, 95, 95, SRCCOPY));
    EXPECT_TRUE(grab.Is(9, 9, RGB(12, 34, 56)));
    EXPECT_FALSE(grab.Is(0, 0, RGB(12, 34, 56)));
    // Drawing on the screen succeeds and changes no window.
    EXPECT_TRUE(PatBlt(screen, 0, 0, 500, 500, PATINVERT));
    EXPECT_EQ(Backend.WindowPixel(w, 20, 20), 0x0C2238u);
    SIZE size {};
    EXPECT_TRUE(GetTextExtentPoint32(screen, "Measure", 7, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(GdiWindowDC, ADCOfADestroyedWindowFailsCleanly)
{
    HWND w = CreateTop(RECT { 0, 0, 30, 30 });
    Pump();
    HDC dc = GetDC(w);
    DestroyWindow(w);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 10, 10));
    EXPECT_FALSE(BitBlt(dc, 0, 0, 5, 5, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
    EXPECT_FALSE(TextOut(dc, 0, 0, "x", 1));
    EXPECT_EQ(ReleaseDC(w, dc), 1) << "the DC itself is still freed";
    EXPECT_EQ(GetDC(w), nullptr);
}

TEST_F(GdiWindowDC, TheDefaultEraseFillsTheDCItIsGiven)
{
    HWND w = CreateTop(RECT { 10, 10, 40, 30 });
    Pump();
    HDC dc = GetDC(w);
    Fill(dc, RGB(0, 0, 0));
    ReleaseDC(w, dc);

    // A memory DC, as when a control captures its parent's background: the erase lands there, not on screen.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Fill(memory, RGB(255, 0, 0));
    SetWindowOrgEx(memory, -5, 0, nullptr);
    EXPECT_EQ(SendMessage(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
    SetWindowOrgEx(memory, 0, 0, nullptr);
    EXPECT_EQ(GetPixel(memory, 4, 3), RGB(255, 0, 0)) << "left of the shifted origin";
    EXPECT_EQ(GetPixel(memory, 5, 3), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(memory, 34, 19), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetPixel(memory, 35, 19), RGB(255, 0, 0)) << "the erase covers the client area only";
    EXPECT_EQ(Backend.WindowPixel(w, 3, 3), kBlack) << "the window itself is untouched";
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// A window's visible area is kept between drawing calls until the window layout changes. Each change that moves
// what a window may draw on is made after every window has drawn (so each has its area kept), then every window
// fills its DC again: an area kept from before the change would leave the old picture or paint over a sibling.
TEST_F(GdiWindowDC, EveryLayoutChangeRenewsTheKeptVisibleAreas)
{
    struct TWindows {
        HWND Top = nullptr; // 100x100, clips its children
        HWND A = nullptr; // (10,10)-(60,60)
        HWND B = nullptr; // (40,40)-(90,90), created last, so above A where they overlap
        HWND Other = nullptr; // a second top-level, 100x100
    };
    struct TPixelCheck {
        bool InOther;
        int X;
        int Y;
        uint32_t Expected;
    };
    constexpr uint32_t kTop = 0x000000, kA = 0xFF0000, kB = 0x0000FF, kOther = 0x808080;
    struct TCase {
        const char* Name;
        void (*Change)(TWindows&);
        std::vector<TPixelCheck> Checks;
    };
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const TCase kCases[] = {
        { "moved",
            [](TWindows& w) { SetWindowPos(w.A, nullptr, 10, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); },
            { { false, 20, 20, kTop }, { false, 20, 70, kA }, { false, 50, 70, kB } } },
        { "resized",
            [](TWindows& w) { SetWindowPos(w.A, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); },
            { { false, 15, 15, kA }, { false, 30, 30, kTop }, { false, 45, 45, kB } } },
        { "hidden", [](TWindows& w) { ShowWindow(w.B, SW_HIDE); },
            { { false, 50, 50, kA }, { false, 80, 80, kTop }, { false, 20, 20, kA } } },
        { "shown again",
            [](TWindows& w) {
                ShowWindow(w.B, SW_HIDE);
                HDC dc = GetDC(w.A);
                Fill(dc, RGB(0, 255, 0));
                ReleaseDC(w.A, dc);
                ShowWindow(w.B, SW_SHOWNA);
            },
            { { false, 50, 50, kB }, { false, 80, 80, kB }, { false, 20, 20, kA } } },
        { "z-order changed",
            [](TWindows& w) {
                SetWindowPos(w.A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            },
            { { false, 50, 50, kA }, { false, 70, 70, kB } } },
        { "region set",
            [](TWindows& w) { SetWindowRgn(w.A, CreateRectRgn(0, 0, 10, 10), FALSE); },
            { { false, 15, 15, kA }, { false, 30, 30, kTop }, { false, 50, 50, kB } } },
        { "parent changed", [](TWindows& w) { SetParent(w.A, w.Other); },
            { { false, 20, 20, kTop }, { false, 50, 50, kB }, { true, 20, 20, kA }, { true, 70, 70, kOther } } },
        { "destroyed",
            [](TWindows& w) {
                SetWindowPos(w.A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                HDC dc = GetDC(w.B);
                Fill(dc, RGB(0, 255, 0));
                ReleaseDC(w.B, dc);
                DestroyWindow(w.A);
                w.A = nullptr;
            },
            { { false, 20, 20, kTop }, { false, 50, 50, kB } } },
    };
    for (const TCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        TWindows w;
        w.Top = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
        w.Other = CreateTop(RECT { 200, 0, 300, 100 });
        w.A = CreateChild(w.Top, RECT { 10, 10, 60, 60 }, child);
        w.B = CreateChild(w.Top, RECT { 40, 40, 90, 90 }, child);
        Pump();
        auto paintAll = [&](COLORREF top, COLORREF a, COLORREF b, COLORREF other) {
            // Lower windows draw later, so an area kept from before the change paints over what lies above it. The
            // other top-level does not clip its children: it goes first.
            for (auto [window, color] : { std::pair { w.Other, other }, { w.B, b }, { w.A, a }, { w.Top, top } }) {
                if (!window)
                    continue;
                HDC dc = GetDC(window);
                Fill(dc, color);
                ReleaseDC(window, dc);
            }
        };
        // Every window draws once, so each has its visible area kept, and the picture is known.
        paintAll(RGB(255, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 255, 255));
        EXPECT_EQ(Backend.WindowPixel(w.Top, 50, 50), 0xFFFF00u) << "B lies above A";
        c.Change(w);
        paintAll(RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(128, 128, 128));
        for (const TPixelCheck& check : c.Checks)
            EXPECT_EQ(Backend.WindowPixel(check.InOther ? w.Other : w.Top, check.X, check.Y), check.Expected)
                << "at " << check.X << "," << check.Y << (check.InOther ? " of the other window" : "");
        DestroyWindow(w.Top);
        DestroyWindow(w.Other);
        Pump();
    }
}

// A new window takes the buffer of the last closed window of its size, still holding that window's pixels, and
// fills it with the unpainted colour only when its pixels are first used: by its first paint, or by the first
// present at the latest. Whatever reads or draws on them first, the old window's red never shows: where the new
// window has not drawn it is black. A copy through the window layer fills only what it leaves.
TEST_F(GdiWindowDC, ANewWindowOnAReusedBufferShowsTheUnpaintedColourWhereverItHasNotDrawn)
{
    const RECT place { 50, 40, 90, 70 };
    const uint32_t green = 0x00FF00;
    const std::vector<uint32_t> greenPixels(25, 0xFF000000u | green);
    struct TCase {
        const char* What;
        // Uses the new window's pixels first, in its first erase (before anything presents it) or while it is
        // still hidden; gives the pixel at client (10, 10), which it did not draw.
        std::function<uint32_t(HWND)> Read;
        bool InErase = true;
        uint32_t Expected = kBlack;
    };
    const TCase cases[] = {
        { "a DC's pixel",
            [&](HWND w) {
                HDC dc = GetDC(w);
                const COLORREF c = GetPixel(dc, 10, 10);
                ReleaseDC(w, dc);
                return Rgb(c);
            } },
        { "its surface, hidden", [&](HWND w) { return Backend.WindowPixel(w, 10, 10); }, false },
        { "the screen", [&](HWND) { return Backend.ScreenPixel(place.left + 10, place.top + 10); } },
        { "a scroll",
            [&](HWND w) {
                ScrollWindowEx(w, 0, 5, nullptr, nullptr, nullptr, nullptr, 0);
                return Backend.WindowPixel(w, 10, 10);
            } },
        { "a larger size, keeping what was drawn",
            [&](HWND w) {
                SetWindowPos(w, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                return Backend.WindowPixel(w, 10, 10);
            },
            false },
        { "the caret (drawn inverted)",
            [&](HWND w) {
                CreateCaret(w, nullptr, 2, 10);
                SetCaretPos(10, 10);
                ShowCaret(w);
                const uint32_t pixel = Backend.WindowPixel(w, 10, 10);
                DestroyCaret();
                return pixel;
            },
            true, 0xFFFFFF },
        { "a fill of part of it",
            [&](HWND w) {
                FillWindowRect(w, true, RECT { 0, 0, 5, 5 }, RGB(0, 255, 0));
                EXPECT_EQ(Backend.WindowPixel(w, 2, 2), green);
                return Backend.WindowPixel(w, 10, 10);
            } },
        { "a copy of part of it",
            [&](HWND w) {
                EXPECT_TRUE(CopyToWindow(w, true, RECT { 0, 0, 5, 5 }, greenPixels.data(), 5 * 4));
                EXPECT_EQ(Backend.WindowPixel(w, 2, 2), green);
                return Backend.WindowPixel(w, 10, 10);
            } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        // The windows paint nothing of their own: only the case's calls touch the new window's pixels.
        HWND fresh = nullptr;
        std::optional<uint32_t> read;
        Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m == WM_ERASEBKGND) {
                if (h == fresh && c.InErase && !read)
                    read = c.Read(h);
                return 1;
            }
            if (m != WM_PAINT)
                return std::nullopt;
            PAINTSTRUCT ps;
            BeginPaint(h, &ps);
            EndPaint(h, &ps);
            return 0;
        };
        HWND old = CreateTop(place);
        Pump();
        FillWindowRect(old, true, RECT { 0, 0, 40, 30 }, RGB(255, 0, 0));
        ASSERT_EQ(Backend.WindowPixel(old, 10, 10), kRed);
        DestroyWindow(old);
        fresh = CreateTop(place, WS_POPUP);
        if (!c.InErase)
            read = c.Read(fresh);
        ShowWindow(fresh, SW_SHOWNA);
        Pump();
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, c.Expected);
        for (const POINT p : { POINT { 0, 29 }, POINT { 39, 0 }, POINT { 39, 29 } })
            EXPECT_EQ(Backend.WindowPixel(fresh, p.x, p.y), kBlack);
        DestroyWindow(fresh);
    }
}

// A copy through the window layer clips as the window's DCs do: to the visible part and, while the window paints,
// to its paint region. A first paint that copies the whole window leaves nothing of the old buffer.
TEST_F(GdiWindowDC, ACopyToTheWindowClipsAsItsPaintDoes)
{
    const std::vector<uint32_t> blue(40 * 30, 0xFF0000FFu);
    std::vector<uint32_t> pattern(40 * 30);
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    const std::vector<uint32_t>* copied = &pattern;
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_ERASEBKGND)
            return std::nullopt;
        EXPECT_TRUE(CopyToWindow(h, true, RECT { 0, 0, 40, 30 }, copied->data(), 40 * 4));
        return 1;
    };
    HWND old = CreateTop(RECT { 50, 40, 90, 70 });
    FillWindowRect(old, true, RECT { 0, 0, 40, 30 }, RGB(255, 0, 0));
    ASSERT_EQ(Backend.WindowPixel(old, 10, 10), kRed);
    DestroyWindow(old);
    HWND w = CreateTop(RECT { 50, 40, 90, 70 }, WS_POPUP | WS_VISIBLE);
    Pump();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(Backend.WindowPixel(w, x, y), pattern[size_t(y * 40 + x)] & 0xFFFFFF) << x << "," << y;
    // Bottom-up rows: the last row in memory first, a negative stride.
    copied = &blue;
    const RECT spoiled { 30, 20, 40, 30 };
    InvalidateRect(w, &spoiled, TRUE);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(w, 35, 25), 0x0000FFu);
    EXPECT_EQ(Backend.WindowPixel(w, 29, 25), pattern[size_t(25 * 40 + 29)] & 0xFFFFFF);
    EXPECT_EQ(Backend.WindowPixel(w, 35, 19), pattern[size_t(19 * 40 + 35)] & 0xFFFFFF);
    EXPECT_TRUE(CopyToWindow(w, true, RECT { 0, 0, 40, 30 }, pattern.data() + 29 * 40, -40 * 4));
    EXPECT_EQ(Backend.WindowPixel(w, 0, 0), pattern[size_t(29 * 40)] & 0xFFFFFF);
    EXPECT_EQ(Backend.WindowPixel(w, 5, 29), pattern[size_t(5)] & 0xFFFFFF);
    // A hidden window or one that is gone takes no copy.
    ShowWindow(w, SW_HIDE);
    EXPECT_FALSE(CopyToWindow(w, true, RECT { 0, 0, 40, 30 }, blue.data(), 40 * 4));
    EXPECT_EQ(Backend.WindowPixel(w, 0, 0), pattern[size_t(29 * 40)] & 0xFFFFFF);
    DestroyWindow(w);
    EXPECT_FALSE(CopyToWindow(w, true, RECT { 0, 0, 40, 30 }, blue.data(), 40 * 4));
}
