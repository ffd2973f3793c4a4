// The system routines of the rendering unit: screen grab, layered alpha, version tests, scroll-bar info and
// monitor work areas, with the entry points bound on first use.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/Types.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"

#include <algorithm>

// NOTE: the window layer is always of the NT family, so SPDrawSkinText needs no wide-text flag: it always takes
// the one UTF-8 text path.

namespace {

// Bound on first use rather than at start-up, so no static object calls into the platform before main.
TspSystemEntryPoints& BoundEntryPoints()
{
    static TspSystemEntryPoints entryPoints { &::MonitorFromWindow, &::GetMonitorInfo, &::GetScrollBarInfo };
    return entryPoints;
}

} // namespace

TspSystemEntryPointsOverride::TspSystemEntryPointsOverride(const TspSystemEntryPoints& replacement)
    : FSaved(BoundEntryPoints())
{
    BoundEntryPoints() = replacement;
}

TspSystemEntryPointsOverride::~TspSystemEntryPointsOverride()
{
    BoundEntryPoints() = FSaved;
}

namespace SPUtils {

const TspSystemEntryPoints& SystemEntryPoints()
{
    return BoundEntryPoints();
}

void GetScreenImage(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return;
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, bitmap->Width(), bitmap->Height(), screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

void SetAlphaBlendTransparent(HWND window, int alpha)
{
    // A value outside the byte range would otherwise wrap (256 becoming fully transparent).
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), LWA_ALPHA);
}

void GetWindowsVersion(int& major, int& minor)
{
    const DWORD version = GetVersion();
    major = LOBYTE(version);
    minor = HIBYTE(version);
}

bool IsVistaOs()
{
    int major, minor;
    GetWindowsVersion(major, minor);
    return major > 5;
}

bool Is9XOS()
{
    int major, minor;
    GetWindowsVersion(major, minor);
    return major < 5;
}

bool CheckWXP()
{
    int major, minor;
    GetWindowsVersion(major, minor);
    return major > 5 || (major == 5 && minor == 1);
}

bool CheckW2KWXP()
{
    int major, minor;
    GetWindowsVersion(major, minor);
    return major > 5 || (major == 5 && minor <= 2);
}

BOOL MyGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info)
{
    if (const auto getScrollBarInfo = SystemEntryPoints().GetScrollBarInfo)
        return getScrollBarInfo(window, objectId, &info);
    info.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return FALSE;
}

void GetPrimaryMonitorWorkArea(bool workArea, TRect& result)
{
    if (!workArea) {
        result = TRect { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
        return;
    }
    RECT area;
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0))
        result = FromRECT(area);
}

void GetMonitorWorkArea(HWND window, bool workArea, TRect& result)
{
    const TspSystemEntryPoints& entryPoints = SystemEntryPoints();
    // Both calls are needed: a bound GetMonitorInfo alone has no monitor to ask about.
    if (GetSystemMetrics(SM_CMONITORS) <= 1 || !entryPoints.GetMonitorInfo || !entryPoints.MonitorFromWindow) {
        GetPrimaryMonitorWorkArea(workArea, result);
        return;
    }
    MONITORINFO info {};
    info.cbSize = sizeof(info);
    if (!entryPoints.GetMonitorInfo(entryPoints.MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return;
    result = FromRECT(workArea ? info.rcWork : info.rcMonitor);
}

} // namespace SPUtils
