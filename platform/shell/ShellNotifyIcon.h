// Shell_NotifyIcon: icons in the desktop's notification area (the system tray), behind a tray host that a
// display backend or a test provides. The record and its constants are the notify-icon ones.
#pragma once
#include "platform/win/WinMessages.h"
#include "platform/win/WinTypes.h"

#include <string>

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_INFO = 0x10;
constexpr DWORD NIIF_NONE = 0;
constexpr DWORD NIIF_INFO = 1;
constexpr DWORD NIIF_WARNING = 2;
constexpr DWORD NIIF_ERROR = 3;
// The callback's lParam for a click on the icon's balloon.
constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;

// The icon record in its 488-byte form; texts are UTF-8 and cut to the field sizes (tooltip 127, balloon text
// 255, balloon title 63 bytes of text).
struct NOTIFYICONDATA {
    DWORD cbSize = 488;
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    char szTip[128] {};
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char szInfo[256] {};
    UINT uTimeout = 0;
    char szInfoTitle[64] {};
    DWORD dwInfoFlags = 0;
};

// Copies `text` into a fixed field, cut to fit with its terminating zero.
template <size_t N> void SetNotifyText(char (&field)[N], const std::string& text)
{
    size_t n = text.size() < N - 1 ? text.size() : N - 1;
    // A cut never splits a character.
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    text.copy(field, n);
    field[n] = 0;
}

// What the tray knows of one icon.
struct TTrayIconState {
    HWND Window = nullptr;
    UINT ID = 0;
    UINT CallbackMessage = 0;
    HICON Icon = nullptr;
    std::string Tip;
    std::string BalloonText;
    std::string BalloonTitle;
    DWORD BalloonFlags = 0;
};

// A system tray. The window layer's UI thread calls it; it answers false when it cannot place an icon (no tray
// on the display). Pointer input on an icon comes back through TrayIconPointer.
class TTrayHost {
public:
    virtual ~TTrayHost() = default;
    // A tray is there to take icons.
    virtual bool Available() = 0;
    virtual bool AddIcon(const TTrayIconState& icon) = 0;
    virtual bool ModifyIcon(const TTrayIconState& icon) = 0;
    virtual bool DeleteIcon(HWND window, UINT id) = 0;
    // Where the icon is on the screen (for its balloon); empty when unknown.
    virtual RECT IconRect(HWND window, UINT id) = 0;
};

// The tray host in use (null: the display has no tray, and Shell_NotifyIcon fails without effect).
void SetTrayHost(TTrayHost* host);
TTrayHost* GetTrayHost();
// Adds, changes or removes an icon; FALSE when there is no tray or it refused. A balloon text (NIF_INFO) shows
// as a popup of ours near the icon; a click on it sends NIN_BALLOONUSERCLICK to the icon's window.
BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data);

// The tray reports a button going down or up (button 0 left, 1 right, 2 middle) or the pointer moving (button
// -1) over an icon. The icon's window gets its callback message with the mouse message in lParam; a second
// press of a button within the double-click time of the first arrives as a double click.
void TrayIconPointer(HWND window, UINT id, int button, bool down);
// A tray appeared (or restarted): every window that ever asked for an icon hears "TaskbarCreated".
void TrayAppeared();
// The balloon window shown now, or null.
HWND TrayBalloonWindow();
