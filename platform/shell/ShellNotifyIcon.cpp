#include "platform/shell/ShellNotifyIcon.h"

#include "framework/core/Clock.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace {

TTrayHost* GTrayHost = nullptr;

// Windows that asked for an icon, told when a tray appears (an add may have failed for want of one).
std::vector<HWND>& AskingWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

// The last press per icon and button, for double clicks.
struct TPress {
    uint64_t Time = 0;
    bool Valid = false;
};
std::map<std::pair<std::pair<HWND, UINT>, int>, TPress>& Presses()
{
    static std::map<std::pair<std::pair<HWND, UINT>, int>, TPress> presses;
    return presses;
}

// The callback message of each icon the tray holds.
std::map<std::pair<HWND, UINT>, UINT>& Callbacks()
{
    static std::map<std::pair<HWND, UINT>, UINT> callbacks;
    return callbacks;
}

// ---- The balloon: our own popup near the icon ------------------------------------------------------------------

constexpr const char* kBalloonClass = "TarnwickTrayBalloon";
constexpr UINT_PTR kBalloonTimer = 1;
constexpr UINT kBalloonMs = 10000;

struct TBalloon {
    HWND Window = nullptr;
    HWND Owner = nullptr; // the icon's window
    UINT ID = 0;
    UINT CallbackMessage = 0;
    std::string Title;
    std::string Text;
};
TBalloon GBalloon;

void CloseBalloon()
{
    if (GBalloon.Window) {
        HWND window = GBalloon.Window;
        GBalloon.Window = nullptr;
        DestroyWindow(window);
    }
}

LRESULT BalloonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH back = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
        FillRect(dc, &r, back);
        DeleteObject(back);
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
        FrameRect(dc, &r, frame);
        DeleteObject(frame);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        RECT text { 6, 4, r.right - 6, r.bottom - 4 };
        std::string all = GBalloon.Title.empty() ? GBalloon.Text : GBalloon.Title + "\n" + GBalloon.Text;
        DrawText(dc, all.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONUP:
        if (GBalloon.Owner)
            PostMessage(GBalloon.Owner, GBalloon.CallbackMessage, GBalloon.ID, NIN_BALLOONUSERCLICK);
        CloseBalloon();
        return 0;
    case WM_TIMER:
        if (wParam == kBalloonTimer)
            CloseBalloon();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

void ShowBalloon(const TTrayIconState& icon)
{
    CloseBalloon();
    if (icon.BalloonText.empty())
        return;
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc {};
        wc.lpfnWndProc = BalloonProc;
        wc.lpszClassName = kBalloonClass;
        registered = RegisterClass(&wc) != 0;
    }
    GBalloon = TBalloon { nullptr, icon.Window, icon.ID, icon.CallbackMessage, icon.BalloonTitle, icon.BalloonText };
    // Measured with the system font, laid out below the icon (or above it when the icon is low on the screen).
    HDC screen = GetDC(nullptr);
    std::string all = icon.BalloonTitle.empty() ? icon.BalloonText : icon.BalloonTitle + "\n" + icon.BalloonText;
    RECT measured { 0, 0, 240, 0 };
    DrawText(screen, all.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ReleaseDC(nullptr, screen);
    const int w = measured.right + 12;
    const int h = measured.bottom + 8;
    RECT at = GTrayHost ? GTrayHost->IconRect(icon.Window, icon.ID) : RECT {};
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    int x = std::clamp(int(at.left), 0, std::max(0, screenW - w));
    int y = at.bottom + h <= screenH ? int(at.bottom) : int(at.top) - h;
    y = std::clamp(y, 0, std::max(0, screenH - h));
    GBalloon.Window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kBalloonClass, "", WS_POPUP,
        x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    if (!GBalloon.Window)
        return;
    SetTimer(GBalloon.Window, kBalloonTimer, kBalloonMs, nullptr);
    ShowWindow(GBalloon.Window, SW_SHOWNOACTIVATE);
}

TTrayIconState StateOf(const NOTIFYICONDATA& data)
{
    TTrayIconState state;
    state.Window = data.hWnd;
    state.ID = data.uID;
    state.CallbackMessage = data.uCallbackMessage;
    state.Icon = data.hIcon;
    state.Tip = std::string(data.szTip, strnlen(data.szTip, sizeof(data.szTip)));
    state.BalloonText = std::string(data.szInfo, strnlen(data.szInfo, sizeof(data.szInfo)));
    state.BalloonTitle = std::string(data.szInfoTitle, strnlen(data.szInfoTitle, sizeof(data.szInfoTitle)));
    state.BalloonFlags = data.dwInfoFlags;
    return state;
}

} // namespace

void SetTrayHost(TTrayHost* host)
{
    GTrayHost = host;
}

TTrayHost* GetTrayHost()
{
    return GTrayHost;
}

BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data)
{
    if (!data)
        return FALSE;
    if (message == NIM_ADD
        && std::find(AskingWindows().begin(), AskingWindows().end(), data->hWnd) == AskingWindows().end())
        AskingWindows().push_back(data->hWnd);
    if (message == NIM_DELETE) {
        if (GBalloon.Owner == data->hWnd && GBalloon.ID == data->uID)
            CloseBalloon();
        AskingWindows().erase(
            std::remove(AskingWindows().begin(), AskingWindows().end(), data->hWnd), AskingWindows().end());
    }
    if (!GTrayHost || !GTrayHost->Available())
        return FALSE;
    const TTrayIconState state = StateOf(*data);
    bool ok = false;
    switch (message) {
    case NIM_ADD:
        ok = GTrayHost->AddIcon(state);
        break;
    case NIM_MODIFY:
        ok = GTrayHost->ModifyIcon(state);
        break;
    case NIM_DELETE:
        Callbacks().erase({ data->hWnd, data->uID });
        return GTrayHost->DeleteIcon(data->hWnd, data->uID);
    default:
        return FALSE;
    }
    if (ok && (data->uFlags & NIF_MESSAGE))
        Callbacks()[{ data->hWnd, data->uID }] = data->uCallbackMessage;
    if (ok && (data->uFlags & NIF_INFO))
        ShowBalloon(state);
    return ok;
}

void TrayIconPointer(HWND window, UINT id, int button, bool down)
{
    static constexpr UINT kDown[] = { WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN };
    static constexpr UINT kUp[] = { WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP };
    static constexpr UINT kDouble[] = { WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK };
    const auto found = Callbacks().find({ window, id });
    if (found == Callbacks().end() || !found->second)
        return;
    UINT mouse = WM_MOUSEMOVE;
    if (button >= 0 && button <= 2) {
        TPress& press = Presses()[{ { window, id }, button }];
        const uint64_t now = GetTickCount64();
        if (!down) {
            mouse = kUp[button];
        } else if (press.Valid && now - press.Time <= GetDoubleClickTime()) {
            mouse = kDouble[button];
            press.Valid = false;
        } else {
            mouse = kDown[button];
            press = TPress { now, true };
        }
    }
    PostMessage(window, found->second, id, LPARAM(mouse));
}

void TrayAppeared()
{
    const UINT taskbarCreated = RegisterWindowMessage("TaskbarCreated");
    for (HWND window : AskingWindows())
        PostMessage(window, taskbarCreated, 0, 0);
}

HWND TrayBalloonWindow()
{
    return GBalloon.Window;
}
