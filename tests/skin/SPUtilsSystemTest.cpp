// The rendering unit's system routines over the headless display: screen grab, layered alpha, version tests,
// scroll-bar info and monitor work areas.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SPUtils.h"
#include "tests/framework/ControlsTestSupport.h"

#include <gtest/gtest.h>
#include <optional>

using namespace SPUtils;

namespace {

class SPUtilsSystemTest : public ControlsTest {
protected:
    // A shown form filled with `color`.
    TForm* ShownForm(int x, int y, int width, int height, TColor color = clRed)
    {
        TForm* form = NewForm(x, y, width, height);
        form->SetColor(color);
        form->Show();
        Pump();
        return form;
    }

    // A screen pixel (0x00RRGGBB) as a TColor (0x00BBGGRR).
    TColor ScreenColor(int x, int y)
    {
        const uint32_t rgb = Backend.ScreenPixel(x, y);
        return TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
};

TMonitorLayout Monitor(RECT bounds, RECT work, bool primary)
{
    TMonitorLayout monitor;
    monitor.Monitor = bounds;
    monitor.Work = work;
    monitor.Primary = primary;
    return monitor;
}

const RECT kPrimary { 0, 0, 1024, 768 };
const RECT kPrimaryWork { 0, 0, 1024, 728 };
const RECT kSecond { 1024, 0, 2304, 1024 };
const RECT kSecondWork { 1024, 30, 2304, 1024 };

} // namespace

TEST_F(SPUtilsSystemTest, GetScreenImageCopiesTheScreenUnderTheBitmap)
{
    ShownForm(100, 100, 50, 40, clRed);
    TBitmap bitmap;
    bitmap.SetSize(20, 20);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 20, 20));

    GetScreenImage(90, 90, &bitmap);
    struct Case {
        int x, y;
    };
    // Desktop above and left of the form, the form's face from (10, 10) on.
    const Case kCases[] = { { 0, 0 }, { 9, 19 }, { 19, 9 }, { 10, 10 }, { 19, 19 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(bitmap.Canvas()->Pixels(c.x, c.y), ScreenColor(90 + c.x, 90 + c.y));
    }
    EXPECT_EQ(bitmap.Canvas()->Pixels(15, 15), clRed);
    EXPECT_NE(bitmap.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), TColor(GetSysColor(COLOR_DESKTOP))) << "the desktop was copied too";

    // The display's own desktop colour, and screen coordinates that stay put when a monitor lies left of the
    // primary one.
    Backend.SetDesktopColor(RGB(0, 128, 0));
    Backend.SetMonitors({ TMonitorLayout { RECT { 0, 0, 1024, 768 }, RECT { 0, 0, 1024, 768 }, true },
        TMonitorLayout { RECT { -800, 0, 0, 600 }, RECT { -800, 0, 0, 600 }, false } });
    GetScreenImage(90, 90, &bitmap);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), TColor(RGB(0, 128, 0)));
    EXPECT_EQ(bitmap.Canvas()->Pixels(15, 15), clRed);
    GetScreenImage(-30, 100, &bitmap);
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 5), TColor(RGB(0, 128, 0))) << "the left monitor's desktop";

    // Nothing to copy into: no crash, nothing else changes.
    GetScreenImage(0, 0, nullptr);
    TBitmap empty;
    GetScreenImage(0, 0, &empty);
    EXPECT_TRUE(empty.Empty());
}

TEST_F(SPUtilsSystemTest, SetAlphaBlendTransparentSetsTheClampedOpacity)
{
    TForm* form = ShownForm(10, 10, 60, 60);
    HWND window = form->Handle();
    SetWindowLong(window, GWL_EXSTYLE, GetWindowLong(window, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
    struct Case {
        int alpha;
        BYTE opacity;
    };
    const Case kCases[]
        = { { 128, 128 }, { 0, 0 }, { 255, 255 }, { 256, 255 }, { 1000, 255 }, { -1, 0 }, { -300, 0 }, { 77, 77 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.alpha);
        SetAlphaBlendTransparent(window, c.alpha);
        ASSERT_NE(Backend.Native(window), nullptr);
        EXPECT_EQ(Backend.Native(window)->Opacity, c.opacity);
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
        EXPECT_EQ(alpha, c.opacity);
        EXPECT_EQ(flags, LWA_ALPHA);
    }

    // A display without layered windows: the call does nothing.
    Backend.SetLayeredWindows(false);
    SetAlphaBlendTransparent(window, 10);
    EXPECT_EQ(Backend.Native(window)->Opacity, 77);
}

TEST_F(SPUtilsSystemTest, VersionTestsFollowTheReportedVersion)
{
    struct Case {
        uint8_t major, minor;
        bool vista, nine, xp, w2k;
    };
    const Case kCases[] = {
        { 4, 0, false, true, false, false },
        { 4, 10, false, true, false, false },
        { 4, 90, false, true, false, false },
        { 5, 0, false, false, false, true },
        { 5, 1, false, false, true, true },
        { 5, 2, false, false, false, true },
        { 5, 3, false, false, false, false },
        { 6, 0, true, false, true, true },
        { 6, 1, true, false, true, true },
        { 10, 0, true, false, true, true },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << int(c.major) << "." << int(c.minor));
        Backend.SetSystemVersion(c.major, c.minor);
        int major = -1, minor = -1;
        GetWindowsVersion(major, minor);
        EXPECT_EQ(major, c.major);
        EXPECT_EQ(minor, c.minor);
        EXPECT_EQ(IsVistaOs(), c.vista);
        EXPECT_EQ(Is9XOS(), c.nine);
        EXPECT_EQ(CheckWXP(), c.xp);
        EXPECT_EQ(CheckW2KWXP(), c.w2k);
    }
}

TEST_F(SPUtilsSystemTest, TheLayerIsAModernNTSystemByDefault)
{
    int major = 0, minor = 0;
    GetWindowsVersion(major, minor);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 1);
    EXPECT_TRUE(IsVistaOs() && CheckWXP() && CheckW2KWXP());
    EXPECT_FALSE(Is9XOS());
    // Bound from the platform.
    EXPECT_EQ(SystemEntryPoints().MonitorFromWindow, &::MonitorFromWindow);
    EXPECT_EQ(SystemEntryPoints().GetMonitorInfo, &::GetMonitorInfo);
    EXPECT_EQ(SystemEntryPoints().GetScrollBarInfo, &::GetScrollBarInfo);
}

namespace {

LONG GAskedObject = 0;
HWND GAskedWindow = nullptr;

BOOL FakeScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO* info)
{
    GAskedWindow = window;
    GAskedObject = objectId;
    info->rcScrollBar = RECT { 1, 2, 3, 4 };
    info->xyThumbTop = 17;
    info->rgstate[0] = 0;
    return TRUE;
}

} // namespace

TEST_F(SPUtilsSystemTest, MyGetScrollBarInfoReadsInvisibleWithoutTheCallAndAsksTheBoundOne)
{
    TForm* form = ShownForm(10, 10, 60, 60);
    SCROLLBARINFO info {};
    info.cbSize = sizeof(info);
    info.xyThumbTop = 5;
    {
        TspSystemEntryPoints unbound = SystemEntryPoints();
        unbound.GetScrollBarInfo = nullptr;
        TspSystemEntryPointsOverride override(unbound);
        EXPECT_FALSE(MyGetScrollBarInfo(form->Handle(), OBJID_VSCROLL, info));
        EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_INVISIBLE);
        EXPECT_EQ(info.xyThumbTop, 5);
    }
    // The platform's own call: the form has no bars.
    info.rgstate[0] = 0;
    EXPECT_TRUE(MyGetScrollBarInfo(form->Handle(), OBJID_VSCROLL, info));
    EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_INVISIBLE);

    {
        TspSystemEntryPoints bound = SystemEntryPoints();
        bound.GetScrollBarInfo = &FakeScrollBarInfo;
        TspSystemEntryPointsOverride override(bound);
        SCROLLBARINFO answer {};
        answer.cbSize = sizeof(answer);
        answer.rgstate[0] = STATE_SYSTEM_INVISIBLE;
        EXPECT_TRUE(MyGetScrollBarInfo(form->Handle(), OBJID_HSCROLL, answer));
        EXPECT_EQ(GAskedWindow, form->Handle());
        EXPECT_EQ(GAskedObject, OBJID_HSCROLL);
        EXPECT_EQ(answer.rgstate[0], 0u);
        EXPECT_EQ(answer.xyThumbTop, 17);
        EXPECT_EQ(answer.rcScrollBar.right, 3);
    }

    // The override restored the platform's binding.
    EXPECT_EQ(SystemEntryPoints().GetScrollBarInfo, &::GetScrollBarInfo);
    EXPECT_EQ(SystemEntryPoints().MonitorFromWindow, &::MonitorFromWindow);
}

TEST_F(SPUtilsSystemTest, WorkAreasOfOneAndTwoMonitors)
{
    TForm* form = NewForm(1200, 100, 200, 150);
    HWND window = form->Handle();
    const TspSystemEntryPoints noMonitorInfo { &::MonitorFromWindow, nullptr, nullptr };
    const TspSystemEntryPoints noMonitorFromWindow { nullptr, &::GetMonitorInfo, nullptr };
    struct Case {
        const char* name;
        bool twoMonitors;
        const TspSystemEntryPoints* entryPoints; // null: the platform's
        bool workArea;
        RECT expected;
    };
    const Case kCases[] = {
        { "one monitor, work area", false, nullptr, true, kPrimaryWork },
        { "one monitor, whole screen", false, nullptr, false, kPrimary },
        { "on the second monitor, work area", true, nullptr, true, kSecondWork },
        { "on the second monitor, whole monitor", true, nullptr, false, kSecond },
        { "GetMonitorInfo missing, work area", true, &noMonitorInfo, true, kPrimaryWork },
        { "GetMonitorInfo missing, whole screen", true, &noMonitorInfo, false, kPrimary },
        { "MonitorFromWindow missing", true, &noMonitorFromWindow, true, kPrimaryWork },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<TMonitorLayout> monitors { Monitor(kPrimary, kPrimaryWork, true) };
        if (c.twoMonitors)
            monitors.push_back(Monitor(kSecond, kSecondWork, false));
        Backend.SetMonitors(monitors);
        std::optional<TspSystemEntryPointsOverride> override;
        if (c.entryPoints)
            override.emplace(*c.entryPoints);
        TRect result = Rect(-1, -1, -1, -1);
        GetMonitorWorkArea(window, c.workArea, result);
        EXPECT_EQ(result, FromRECT(c.expected));

        TRect primary = Rect(-1, -1, -1, -1);
        GetPrimaryMonitorWorkArea(c.workArea, primary);
        EXPECT_EQ(primary, FromRECT(c.workArea ? kPrimaryWork : kPrimary));
    }
}

namespace {

int GMonitorInfoCalls = 0;

BOOL FailingMonitorInfo(HMONITOR, MONITORINFO* info)
{
    ++GMonitorInfoCalls;
    // A failing call may still have scribbled on its output.
    info->rcWork = RECT { 7, 7, 7, 7 };
    info->rcMonitor = RECT { 7, 7, 7, 7 };
    return FALSE;
}

} // namespace

TEST_F(SPUtilsSystemTest, FailingMonitorInfoLeavesTheRectangleAsPassed)
{
    TForm* form = NewForm(1200, 100, 200, 150);
    Backend.SetMonitors({ Monitor(kPrimary, kPrimaryWork, true), Monitor(kSecond, kSecondWork, false) });
    TspSystemEntryPointsOverride override(TspSystemEntryPoints { &::MonitorFromWindow, &FailingMonitorInfo, nullptr });
    for (bool workArea : { true, false }) {
        SCOPED_TRACE(workArea);
        GMonitorInfoCalls = 0;
        TRect result = Rect(10, 20, 30, 40);
        GetMonitorWorkArea(form->Handle(), workArea, result);
        EXPECT_EQ(GMonitorInfoCalls, 1);
        EXPECT_EQ(result, Rect(10, 20, 30, 40));
    }
}
