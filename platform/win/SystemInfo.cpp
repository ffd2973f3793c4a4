// System queries: metrics of the default frame and controls, system parameters and colours, the system
// version, and the monitors of the backend's screen.
#include "platform/win/PlatformState.h"

#include <algorithm>
#include <climits>

using namespace WinCore;

namespace {

std::vector<TMonitorLayout> Monitors()
{
    std::vector<TMonitorLayout> monitors;
    if (GPlatform)
        monitors = GPlatform->Backend->Monitors();
    if (monitors.empty())
        monitors.push_back(TMonitorLayout { RECT { 0, 0, 1024, 768 }, RECT { 0, 0, 1024, 768 }, true });
    return monitors;
}

size_t PrimaryIndex(const std::vector<TMonitorLayout>& monitors)
{
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Primary)
            return i;
    return 0;
}

RECT VirtualScreen()
{
    const std::vector<TMonitorLayout> monitors = Monitors();
    RECT r = monitors.front().Monitor;
    for (const TMonitorLayout& m : monitors)
        UnionRect(&r, &r, &m.Monitor);
    return r;
}

HMONITOR MonitorHandle(size_t index)
{
    return reinterpret_cast<HMONITOR>(uintptr_t(index + 1) << 4);
}

// The squared distance from a point to a rectangle (0 inside).
long long Distance(const RECT& r, POINT p)
{
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

HMONITOR FromRect(const RECT& rect, DWORD flags)
{
    const std::vector<TMonitorLayout> monitors = Monitors();
    long long bestArea = 0;
    size_t best = SIZE_MAX;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const RECT overlap = RectIntersection(rect, monitors[i].Monitor);
        const long long area = (long long)RectWidth(overlap) * RectHeight(overlap);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (best != SIZE_MAX)
        return MonitorHandle(best);
    if (flags == MONITOR_DEFAULTTONULL)
        return nullptr;
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return MonitorHandle(PrimaryIndex(monitors));
    const POINT centre { rect.left + RectWidth(rect) / 2, rect.top + RectHeight(rect) / 2 };
    long long nearest = LLONG_MAX;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long d = Distance(monitors[i].Monitor, centre);
        if (d < nearest) {
            nearest = d;
            best = i;
        }
    }
    return MonitorHandle(best);
}

} // namespace

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        const std::vector<TMonitorLayout> monitors = Monitors();
        const RECT& r = monitors[PrimaryIndex(monitors)].Monitor;
        return index == SM_CXSCREEN ? RectWidth(r) : RectHeight(r);
    }
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN: {
        const std::vector<TMonitorLayout> monitors = Monitors();
        const RECT& r = monitors[PrimaryIndex(monitors)].Work;
        return index == SM_CXFULLSCREEN ? RectWidth(r) : RectHeight(r) - GetSystemMetrics(SM_CYCAPTION);
    }
    case SM_XVIRTUALSCREEN:
        return VirtualScreen().left;
    case SM_YVIRTUALSCREEN:
        return VirtualScreen().top;
    case SM_CXVIRTUALSCREEN:
        return RectWidth(VirtualScreen());
    case SM_CYVIRTUALSCREEN:
        return RectHeight(VirtualScreen());
    case SM_CMONITORS:
        return static_cast<int>(Monitors().size());
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 16;
    case SM_CYCAPTION:
        return 19;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 19;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
        return 12;
    case SM_CXMIN:
        return 112;
    case SM_CYMIN:
        return 27;
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMINTRACK:
        return 27;
    case SM_CXMAXTRACK:
        return RectWidth(VirtualScreen()) + 12;
    case SM_CYMAXTRACK:
        return RectHeight(VirtualScreen()) + 12;
    case SM_CXMAXIMIZED:
    case SM_CYMAXIMIZED: {
        const std::vector<TMonitorLayout> monitors = Monitors();
        const RECT& r = monitors[PrimaryIndex(monitors)].Work;
        return (index == SM_CXMAXIMIZED ? RectWidth(r) : RectHeight(r)) + 8;
    }
    case SM_CXDOUBLECLK:
        return GPlatform ? GPlatform->Backend->Capabilities().DoubleClickWidth : 4;
    case SM_CYDOUBLECLK:
        return GPlatform ? GPlatform->Backend->Capabilities().DoubleClickHeight : 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CMOUSEBUTTONS:
        return 3;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    case SM_SWAPBUTTON:
        return 0;
    default:
        return 0;
    }
}

BOOL SystemParametersInfo(UINT action, UINT, void* pvParam, UINT)
{
    switch (action) {
    case SPI_GETWORKAREA: {
        if (!pvParam)
            return FALSE;
        const std::vector<TMonitorLayout> monitors = Monitors();
        *static_cast<RECT*>(pvParam) = monitors[PrimaryIndex(monitors)].Work;
        return TRUE;
    }
    case SPI_GETDRAGFULLWINDOWS:
        if (!pvParam)
            return FALSE;
        *static_cast<BOOL*>(pvParam) = TRUE;
        return TRUE;
    case SPI_GETWHEELSCROLLLINES:
        if (!pvParam)
            return FALSE;
        *static_cast<UINT*>(pvParam) = 3;
        return TRUE;
    default:
        return FALSE;
    }
}

DWORD GetSysColor(int index)
{
    // The classic colour scheme.
    static constexpr COLORREF kColors[] = {
        RGB(212, 208, 200), // COLOR_SCROLLBAR
        RGB(58, 110, 165), // COLOR_BACKGROUND
        RGB(10, 36, 106), // COLOR_ACTIVECAPTION
        RGB(128, 128, 128), // COLOR_INACTIVECAPTION
        RGB(212, 208, 200), // COLOR_MENU
        RGB(255, 255, 255), // COLOR_WINDOW
        RGB(0, 0, 0), // COLOR_WINDOWFRAME
        RGB(0, 0, 0), // COLOR_MENUTEXT
        RGB(0, 0, 0), // COLOR_WINDOWTEXT
        RGB(255, 255, 255), // COLOR_CAPTIONTEXT
        RGB(212, 208, 200), // COLOR_ACTIVEBORDER
        RGB(212, 208, 200), // COLOR_INACTIVEBORDER
        RGB(128, 128, 128), // COLOR_APPWORKSPACE
        RGB(10, 36, 106), // COLOR_HIGHLIGHT
        RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
        RGB(212, 208, 200), // COLOR_BTNFACE
        RGB(128, 128, 128), // COLOR_BTNSHADOW
        RGB(128, 128, 128), // COLOR_GRAYTEXT
        RGB(0, 0, 0), // COLOR_BTNTEXT
        RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
        RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
        RGB(64, 64, 64), // COLOR_3DDKSHADOW
        RGB(212, 208, 200), // COLOR_3DLIGHT
        RGB(0, 0, 0), // COLOR_INFOTEXT
        RGB(255, 255, 225), // COLOR_INFOBK
        RGB(181, 181, 181), // 25, unused
        RGB(0, 0, 128), // COLOR_HOTLIGHT
        RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
        RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
        RGB(49, 106, 197), // COLOR_MENUHILIGHT
        RGB(236, 233, 216), // COLOR_MENUBAR
    };
    if (index < 0 || size_t(index) >= std::size(kColors))
        return 0;
    if (index == COLOR_DESKTOP && GPlatform)
        return GPlatform->Backend->Capabilities().DesktopColor;
    return kColors[index];
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags)
{
    return FromRect(RECT { point.x, point.y, point.x + 1, point.y + 1 }, flags);
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags)
{
    if (!rect)
        return nullptr;
    RECT r = *rect;
    // An empty rectangle still has a place.
    if (r.right <= r.left)
        r.right = r.left + 1;
    if (r.bottom <= r.top)
        r.bottom = r.top + 1;
    return FromRect(r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags)
{
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint(POINT { 0, 0 }, MONITOR_DEFAULTTOPRIMARY);
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info)
{
    if (!info || info->cbSize < sizeof(MONITORINFO))
        return FALSE;
    const uintptr_t value = reinterpret_cast<uintptr_t>(monitor) >> 4;
    const std::vector<TMonitorLayout> monitors = Monitors();
    if (value == 0 || value > monitors.size())
        return FALSE;
    const TMonitorLayout& m = monitors[value - 1];
    info->rcMonitor = m.Monitor;
    info->rcWork = m.Work;
    info->dwFlags = m.Primary ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

DWORD GetVersion()
{
    const TBackendCapabilities capabilities = GPlatform ? GPlatform->Backend->Capabilities() : TBackendCapabilities {};
    return DWORD(capabilities.VersionMajor) | DWORD(capabilities.VersionMinor) << 8;
}
