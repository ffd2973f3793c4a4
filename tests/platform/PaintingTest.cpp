#include "PlatformTestSupport.h"
#include "platform/win/WindowSurface.h"

#include <algorithm>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF; // COLOR_WINDOW, the test classes' background

uint32_t Rgb(COLORREF c)
{
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

using Painting = PlatformTest;

} // namespace

TEST_F(Painting, ASizeChangeSendsTheGeometrySequenceThenRepaints)
{
    HWND w = CreateTop(RECT { 10, 10, 110, 110 }, WS_POPUP | WS_VISIBLE | WS_BORDER);
    Pump();
    StartLog();
    SetWindowPos(w, nullptr, 20, 20, 150, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Sequence({ WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE }, w),
        Messages({ WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE }));
    const auto size = Only({ WM_SIZE, WM_MOVE }, w);
    EXPECT_EQ(size[0].LParam, MAKELPARAM(21, 21)); // client origin inside the 1-pixel border
    EXPECT_EQ(size[1].LParam, MAKELPARAM(148, 118));
    Pump();
    // The erase is sent from inside the WM_PAINT handler's BeginPaint.
    EXPECT_EQ(Sequence({ WM_NCPAINT, WM_ERASEBKGND, WM_PAINT }, w), Messages({ WM_NCPAINT, WM_PAINT, WM_ERASEBKGND }));
    // A move alone keeps the client size: no WM_SIZE, no repaint of a top-level window.
    StartLog();
    SetWindowPos(w, nullptr, 30, 30, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    Pump();
    EXPECT_EQ(Sequence({ WM_MOVE, WM_SIZE, WM_PAINT }, w), Messages({ WM_MOVE }));
    // Each one-pixel width change recalculates the frame.
    StartLog();
    SetWindowPos(w, nullptr, 0, 0, 151, 120, SWP_NOZORDER | SWP_NOMOVE);
    SetWindowPos(w, nullptr, 0, 0, 150, 120, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(Only({ WM_NCCALCSIZE }, w).size(), 2u);
    EXPECT_EQ(Only({ WM_SIZE }, w).size(), 2u);
}

TEST_F(Painting, WmWindowPosChangingCanRewriteThePlacement)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h == w && m == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(l);
            pos->cx = std::max(pos->cx, 80); // a minimum width for sizes set from code
        }
        return std::nullopt;
    };
    SetWindowPos(w, nullptr, 0, 0, 30, 30, SWP_NOZORDER | SWP_NOMOVE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 80);
    EXPECT_EQ(r.bottom - r.top, 30);
}

TEST_F(Painting, AHookOwningTheNonClientAreaSetsTheClientRectangle)
{
    bool frameMode = true;
    HWND w = nullptr;
    Handler = [&](HWND h, UINT m, WPARAM wp, LPARAM l) -> std::optional<LRESULT> {
        if (h != w || m != WM_NCCALCSIZE || !wp)
            return std::nullopt;
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
        if (frameMode) {
            params->rgrc[0].left += 3;
            params->rgrc[0].top += 22;
            params->rgrc[0].right -= 3;
            params->rgrc[0].bottom -= 3;
        } else {
            // An inverted rectangle is kept inside the window with no negative size.
            params->rgrc[0].right = params->rgrc[0].left - 50;
        }
        return 0;
    };
    w = CreateTop(RECT { 100, 100, 300, 300 }, WS_POPUP | WS_VISIBLE);
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 194);
    EXPECT_EQ(client.bottom, 175);
    POINT origin { 0, 0 };
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 103);
    EXPECT_EQ(origin.y, 122);
    frameMode = false;
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 0);
}

TEST_F(Painting, TheBackgroundIsErasedIntoTheTopLevelBufferAroundClippedChildren)
{
    HWND form = CreateTop(RECT { 100, 100, 200, 200 }, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND child = CreateChild(form, RECT { 10, 10, 30, 30 });
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == child && m == WM_ERASEBKGND) {
            FillWindowRect(h, true, RECT { 0, 0, 100, 100 }, RGB(255, 0, 0)); // clipped to the child
            return 1;
        }
        return std::nullopt;
    };
    InvalidateRect(child, nullptr, TRUE);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(form, 5, 5), kWhite);
    EXPECT_EQ(Backend.WindowPixel(form, 15, 15), 0xFF0000u);
    EXPECT_EQ(Backend.WindowPixel(form, 30, 30), kWhite);
    // The parent repainting alone stays off the child.
    InvalidateRect(form, nullptr, TRUE);
    StartLog();
    Pump();
    EXPECT_TRUE(Backend.Log().ForWindow(child).empty());
    EXPECT_EQ(Backend.WindowPixel(form, 15, 15), 0xFF0000u);
    EXPECT_EQ(Backend.ScreenPixel(115, 115), 0xFF0000u);
    EXPECT_GT(Backend.Native(form)->Presents, 0);
}

TEST_F(Painting, WithoutClipChildrenAParentsInvalidationReachesItsChildren)
{
    HWND form = CreateTop(RECT { 0, 0, 100, 100 });
    HWND child = CreateChild(form, RECT { 10, 10, 30, 30 });
    HWND clipping = CreateTop(RECT { 200, 0, 300, 100 }, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND clipped = CreateChild(clipping, RECT { 10, 10, 30, 30 });
    Pump();
    StartLog();
    InvalidateRect(form, nullptr, FALSE);
    InvalidateRect(clipping, nullptr, FALSE);
    Pump();
    EXPECT_EQ(Only({ WM_PAINT }, child).size(), 1u);
    EXPECT_TRUE(Only({ WM_PAINT }, clipped).empty());
    // Parents paint before their children.
    const auto paints = Only({ WM_PAINT });
    const auto formPaint = std::find_if(paints.begin(), paints.end(), [&](auto& e) { return e.Window == form; });
    const auto childPaint = std::find_if(paints.begin(), paints.end(), [&](auto& e) { return e.Window == child; });
    EXPECT_LT(formPaint, childPaint);
    // RedrawWindow can force the children and the frame, and paint at once.
    StartLog();
    RedrawWindow(clipping, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(Sequence({ WM_NCPAINT, WM_PAINT }), Messages({ WM_NCPAINT, WM_PAINT, WM_NCPAINT, WM_PAINT }));
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

// A window that appears brings its children with it: each paints, also under a parent that clips them.
TEST_F(Painting, ShowingAClippingParentPaintsItsChildren)
{
    HWND clipping = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP | WS_CLIPCHILDREN);
    HWND child = CreateChild(clipping, RECT { 10, 10, 30, 30 });
    HWND grandchild = CreateChild(child, RECT { 2, 2, 8, 8 });
    Pump();
    StartLog();
    ShowWindow(clipping, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_EQ(Only({ WM_PAINT }, clipping).size(), 1u);
    EXPECT_EQ(Only({ WM_PAINT }, child).size(), 1u);
    EXPECT_EQ(Only({ WM_PAINT }, grandchild).size(), 1u);
}

// A transparent child (an edit drawing only its text) shows the parent that clips its other children: the parent
// paints under it, and each time it does the child paints again over it, its caret kept.
TEST_F(Painting, AClippingParentPaintsUnderATransparentChildThatThenPaintsAgain)
{
    constexpr uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kYellow = 0xFFFF00;
    HWND form = CreateTop(RECT { 0, 0, 100, 100 }, WS_POPUP | WS_CLIPCHILDREN);
    HWND opaque = CreateChild(form, RECT { 50, 10, 70, 30 });
    HWND child = CreateWindowEx(
        WS_EX_TRANSPARENT, kPlain, "", WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, form, nullptr, nullptr, nullptr);
    const auto paint = [](HWND h, const RECT& r, COLORREF colour) {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        FillWindowRect(h, true, r, colour);
        EndPaint(h, &ps);
    };
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == child && m == WM_ERASEBKGND)
            return 1;
        if (m != WM_PAINT || (h != form && h != child))
            return std::nullopt;
        // The parent fills its client area; the child draws one red "letter" at (2, 2).
        if (h == form)
            paint(h, RECT { 0, 0, 100, 100 }, RGB(0, 0, 255));
        else
            paint(h, RECT { 2, 2, 4, 4 }, RGB(255, 0, 0));
        return 0;
    };
    ShowWindow(form, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(form, 20, 20), kBlue) << "the parent under the transparent child";
    EXPECT_EQ(Backend.WindowPixel(form, 12, 12), kRed);
    EXPECT_EQ(Backend.WindowPixel(form, 60, 20), kWhite) << "an opaque child stays clipped out";

    // The parent repainting alone brings the child's paint after its own.
    ASSERT_TRUE(CreateCaret(child, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(20, 5));
    ASSERT_TRUE(ShowCaret(child));
    EXPECT_EQ(Backend.WindowPixel(form, 30, 15), kYellow) << "the caret inverts the blue";
    StartLog();
    InvalidateRect(form, nullptr, FALSE);
    Pump();
    EXPECT_EQ(Sequence({ WM_PAINT }), Messages({ WM_PAINT, WM_PAINT }));
    EXPECT_EQ(Only({ WM_PAINT }, child).size(), 1u);
    EXPECT_EQ(Backend.WindowPixel(form, 12, 12), kRed);
    EXPECT_EQ(Backend.WindowPixel(form, 30, 15), kYellow) << "the caret still shows";
    Backend.AdvanceClock(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(Backend.WindowPixel(form, 30, 15), kBlue) << "and blinks off to the parent's paint";
    DestroyCaret();
}

TEST_F(Painting, UpdateWindowPaintsNowAndValidationCancelsAPaint)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    Pump();
    InvalidateRect(w, nullptr, FALSE);
    StartLog();
    UpdateWindow(w);
    EXPECT_EQ(Sequence({ WM_PAINT }, w), Messages({ WM_PAINT }));
    const RECT part { 0, 0, 10, 10 };
    InvalidateRect(w, &part, FALSE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    EXPECT_EQ(update.right, 10);
    ValidateRect(w, nullptr);
    StartLog();
    Pump();
    EXPECT_TRUE(Only({ WM_PAINT }).empty());
}

TEST_F(Painting, BeginPaintClipsToTheUpdateRegion)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 100 });
    Pump();
    RECT painted {};
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h != w || m != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        painted = ps.rcPaint;
        // Painting everything touches only the invalid part.
        FillWindowRect(h, true, RECT { 0, 0, 100, 100 }, RGB(0, 0, 255));
        EndPaint(h, &ps);
        return 0;
    };
    const RECT part { 20, 20, 40, 40 };
    InvalidateRect(w, &part, FALSE);
    Pump();
    EXPECT_EQ(painted.left, 20);
    EXPECT_EQ(painted.right, 40);
    EXPECT_EQ(Backend.WindowPixel(w, 25, 25), 0x0000FFu);
    EXPECT_EQ(Backend.WindowPixel(w, 45, 25), kWhite);
}

TEST_F(Painting, LayeredOpacityShowsInTheComposedScreenAtOnce)
{
    Backend.SetDesktopColor(RGB(0, 0, 0));
    HWND w = CreateTop(RECT { 0, 0, 50, 50 }, WS_POPUP | WS_VISIBLE, WS_EX_LAYERED);
    Pump();
    ASSERT_EQ(Backend.ScreenPixel(10, 10), kWhite);
    // A fade in steps, without pumping messages.
    struct Step {
        BYTE Alpha;
        uint32_t Expected;
    };
    const Step kSteps[] = { { 0, 0x000000 }, { 51, 0x333333 }, { 128, 0x808080 }, { 255, 0xFFFFFF } };
    for (const Step& s : kSteps) {
        SCOPED_TRACE(int(s.Alpha));
        ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, s.Alpha, LWA_ALPHA));
        EXPECT_EQ(Backend.ScreenPixel(10, 10), s.Expected);
        EXPECT_EQ(Backend.Native(w)->Opacity, s.Alpha);
    }
    // Clearing the style makes the window opaque again.
    SetLayeredWindowAttributes(w, 0, 100, LWA_ALPHA);
    SetWindowLongPtr(w, GWL_EXSTYLE, 0);
    EXPECT_EQ(Backend.ScreenPixel(10, 10), kWhite);
    EXPECT_EQ(Backend.Native(w)->Opacity, 255);
    EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 100, LWA_ALPHA)); // not layered any more
    // Without the capability the call fails and the window stays opaque.
    Backend.SetLayeredWindows(false);
    SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_LAYERED);
    EXPECT_FALSE(SetLayeredWindowAttributes(w, 0, 100, LWA_ALPHA));
    EXPECT_EQ(Backend.ScreenPixel(10, 10), kWhite);
}

TEST_F(Painting, AColourKeyMakesThosePixelsShowWhatIsBelow)
{
    Backend.SetDesktopColor(RGB(0, 0, 0));
    HWND w = CreateTop(RECT { 0, 0, 50, 50 }, WS_POPUP | WS_VISIBLE, WS_EX_LAYERED);
    Pump();
    FillWindowRect(w, true, RECT { 0, 0, 10, 10 }, RGB(255, 0, 255));
    ASSERT_TRUE(SetLayeredWindowAttributes(w, RGB(255, 0, 255), 0, LWA_COLORKEY));
    EXPECT_EQ(Backend.ScreenPixel(5, 5), 0x000000u);
    EXPECT_EQ(Backend.ScreenPixel(20, 20), kWhite);
}

TEST_F(Painting, TheWindowRegionClipsDrawingAndShapesTheWindowWhereTheDisplayCan)
{
    Backend.SetDesktopColor(RGB(0, 0, 0));
    HWND w = CreateTop(RECT { 100, 100, 200, 200 });
    Pump();
    ASSERT_TRUE(SetWindowRgn(w, CreateRectRgn(0, 0, 50, 100), TRUE));
    EXPECT_TRUE(Backend.Native(w)->Shaped);
    FillWindowRect(w, false, RECT { 0, 0, 100, 100 }, RGB(0, 255, 0));
    EXPECT_EQ(Backend.WindowPixel(w, 25, 50), 0x00FF00u);
    EXPECT_NE(Backend.WindowPixel(w, 75, 50), 0x00FF00u); // outside the region: not drawn
    EXPECT_EQ(Backend.ScreenPixel(125, 150), 0x00FF00u);
    EXPECT_EQ(Backend.ScreenPixel(175, 150), 0x000000u); // the desktop shows through
    // Without shaping the window shows as a rectangle, while drawing and hit tests still follow the region.
    Backend.SetShaping(false);
    EXPECT_NE(Backend.ScreenPixel(175, 150), 0x000000u);
    EXPECT_EQ(WindowFromPoint(POINT { 175, 150 }), nullptr);
}

TEST_F(Painting, TheDefaultFramePaintsCaptionColoursByActivation)
{
    HWND first = CreateTop(RECT { 0, 0, 200, 100 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    const int captionY = 4 + 9;
    EXPECT_EQ(Backend.WindowPixel(first, 60, captionY), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(Backend.WindowPixel(first, 100, 97), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(Backend.WindowPixel(first, 100, 99), Rgb(GetSysColor(COLOR_3DDKSHADOW)));
    HWND second = CreateTop(RECT { 300, 0, 500, 100 }, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(first, 60, captionY), Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
    EXPECT_EQ(Backend.WindowPixel(second, 60, captionY), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
    // A hook that answers WM_NCACTIVATE and WM_NCPAINT itself owns the frame.
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == first && (m == WM_NCACTIVATE || m == WM_NCPAINT))
            return m == WM_NCACTIVATE ? 1 : 0;
        return std::nullopt;
    };
    SetActiveWindow(first);
    Pump();
    EXPECT_EQ(Backend.WindowPixel(first, 60, captionY), Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

TEST_F(Painting, MaximizeUsesTheWorkAreaAndMinMaxInfoAndRestoreComesBack)
{
    Backend.SetMonitors({ TMonitorLayout { RECT { 0, 0, 800, 600 }, RECT { 0, 0, 800, 570 }, true },
        TMonitorLayout { RECT { 800, 0, 1440, 480 }, RECT { 800, 0, 1440, 480 }, false } });
    HWND w = CreateTop(RECT { 900, 50, 1100, 250 }, WS_POPUP | WS_VISIBLE | WS_THICKFRAME);
    Handler = [&](HWND h, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (h == w && m == WM_GETMINMAXINFO) {
            auto* info = reinterpret_cast<MINMAXINFO*>(l);
            info->ptMaxPosition = POINT { 0, 0 };
            info->ptMaxSize = POINT { 640, 400 };
        }
        return std::nullopt;
    };
    Pump();
    StartLog();
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 800); // the monitor the window is on
    EXPECT_EQ(r.right, 1440);
    EXPECT_EQ(r.bottom, 400);
    const auto size = Only({ WM_SIZE }, w);
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(size[0].WParam, SIZE_MAXIMIZED);
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 900);
    EXPECT_EQ(r.right, 1100);
    EXPECT_FALSE(IsZoomed(w));
    // Minimized, the window leaves the screen and hands the activation on; restored, it is back.
    HWND other = CreateTop(RECT { 0, 0, 100, 100 });
    SetActiveWindow(w);
    StartLog();
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(Only({ WM_SIZE }, w).front().WParam, SIZE_MINIMIZED);
    EXPECT_TRUE(Backend.Native(w)->Minimized);
    EXPECT_EQ(WindowFromPoint(POINT { 950, 100 }), nullptr);
    ShowWindow(w, SW_RESTORE);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(WindowFromPoint(POINT { 950, 100 }), w);
    HMONITOR monitor = MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
    ASSERT_TRUE(GetMonitorInfo(monitor, &info));
    EXPECT_EQ(info.rcMonitor.left, 800);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1440);
    EXPECT_EQ(MonitorFromPoint(POINT { 5000, 5000 }, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT { 5000, 100 }, MONITOR_DEFAULTTONEAREST), monitor);
}

namespace {

// Every pixel of the window's back buffer, alpha included, as the window layer hands it to drawing calls.
std::vector<uint32_t> BufferPixels(HWND w)
{
    TWindowSurface surface;
    if (!GetWindowSurface(w, false, surface))
        return {};
    std::vector<uint32_t> pixels;
    for (int y = 0; y < surface.Height; ++y)
        for (int x = 0; x < surface.Width; ++x)
            pixels.push_back(surface.Pixels[size_t(y) * size_t(surface.Stride / 4) + size_t(x)]);
    return pixels;
}

} // namespace

TEST_F(Painting, ANewBufferShowsOpaqueBlackWhereTheFirstPaintDidNotReach)
{
    // Windows of one size, one after the other: each takes over the buffer the one before gave up, so a pixel
    // the new window leaves alone would show the old window's paint if the buffer were not filled again.
    constexpr int kWidth = 60;
    constexpr int kHeight = 40;
    struct Case {
        const char* Name;
        RECT Painted;
        COLORREF Color;
    };
    const Case kCases[] = {
        { "painted in full", { 0, 0, kWidth, kHeight }, RGB(255, 0, 0) },
        { "left half", { 0, 0, kWidth / 2, kHeight }, RGB(0, 255, 0) },
        { "a middle block", { 10, 5, 50, 30 }, RGB(0, 0, 255) },
        { "nothing", { 0, 0, 0, 0 }, RGB(0, 0, 0) },
        { "painted in full again", { 0, 0, kWidth, kHeight }, RGB(10, 20, 30) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        // The first paint (the erase when the window is shown) draws only that rectangle.
        Handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_ERASEBKGND)
                return std::nullopt;
            if (!IsRectEmpty(&c.Painted))
                FillWindowRect(h, true, c.Painted, c.Color);
            return 1;
        };
        HWND w = CreateTop(RECT { 5, 5, 5 + kWidth, 5 + kHeight });
        ASSERT_NE(w, nullptr);
        Pump();
        const uint32_t paint = 0xFF000000u | Rgb(c.Color);
        const std::vector<uint32_t> pixels = BufferPixels(w);
        ASSERT_EQ(pixels.size(), size_t(kWidth * kHeight));
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const POINT p { x, y };
                const uint32_t expected = PtInRect(&c.Painted, p) ? paint : 0xFF000000u;
                wrong += pixels[size_t(y * kWidth + x)] != expected;
            }
        EXPECT_EQ(wrong, 0);
        // The display shows the same.
        const bool cornerPainted = PtInRect(&c.Painted, POINT { kWidth - 1, kHeight - 1 });
        EXPECT_EQ(Backend.ScreenPixel(5 + kWidth - 1, 5 + kHeight - 1), cornerPainted ? Rgb(c.Color) : 0u);
        DestroyWindow(w);
    }
}

TEST_F(Painting, AGrownBufferKeepsWhatWasDrawnAndFillsTheNewPart)
{
    HWND w = CreateTop(RECT { 0, 0, 30, 20 });
    Pump();
    Handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_ERASEBKGND)
            return std::nullopt;
        return 1; // the new part is not painted
    };
    FillWindowRect(w, false, RECT { 0, 0, 30, 20 }, RGB(1, 2, 3));
    // Narrower and taller: the kept columns stay, the new rows are black.
    SetWindowPos(w, nullptr, 0, 0, 20, 35, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    Pump();
    std::vector<uint32_t> pixels = BufferPixels(w);
    ASSERT_EQ(pixels.size(), size_t(20 * 35));
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(pixels[size_t(y * 20 + x)], y < 20 ? 0xFF010203u : 0xFF000000u) << x << "," << y;
    // Wider and shorter: the new columns are black, the kept rows keep their pixels.
    SetWindowPos(w, nullptr, 0, 0, 45, 10, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    Pump();
    pixels = BufferPixels(w);
    ASSERT_EQ(pixels.size(), size_t(45 * 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 45; ++x)
            ASSERT_EQ(pixels[size_t(y * 45 + x)], x < 20 ? 0xFF010203u : 0xFF000000u) << x << "," << y;
}

TEST_F(Painting, AHiddenWindowIsPresentedOnlyOnceShownAndKeepsWhatWasDrawnMeanwhile)
{
    HWND w = CreateTop(RECT { 0, 0, 100, 80 }, WS_POPUP);
    Pump();
    FillWindowRect(w, false, RECT { 10, 10, 40, 30 }, RGB(255, 0, 0));
    RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(Backend.Native(w)->Presents, 0);
    // Shown without a repaint, the area drawn while hidden still reaches the display.
    SetWindowPos(w, nullptr, 0, 0, 0, 0,
        SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ASSERT_EQ(Backend.Native(w)->Presents, 1);
    const RECT presented = Backend.Native(w)->LastPresent;
    const RECT drawn { 10, 10, 40, 30 };
    RECT covered {};
    IntersectRect(&covered, &presented, &drawn);
    EXPECT_TRUE(EqualRect(&covered, &drawn));
    // Hidden again, its drawing waits once more.
    ShowWindow(w, SW_HIDE);
    Pump();
    const int presents = Backend.Native(w)->Presents;
    FillWindowRect(w, false, RECT { 0, 0, 5, 5 }, RGB(0, 0, 255));
    Pump();
    EXPECT_EQ(Backend.Native(w)->Presents, presents);
}
