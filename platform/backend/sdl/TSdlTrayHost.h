// TSdlTrayHost, the system tray on the SDL backend's X display: each icon is a small window of ours docked into
// the desktop's tray, drawn from the icon's pixels, whose clicks come back as the icon's callback messages.
#pragma once
#include "platform/shell/ShellNotifyIcon.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

class TXSystemTray;

class TSdlTrayHost final : public TTrayHost {
public:
    // Opens a connection of its own to `displayName` when the program first asks for the tray, so a program that
    // shows no tray icon pays nothing; `wake` (any thread) ends the UI thread's wait for events when the tray has
    // news, so that the backend's pump calls Pump.
    TSdlTrayHost(const std::string& displayName, std::function<void()> wake);
    ~TSdlTrayHost() override;

    // Handles what the tray sent: pointer input on an icon becomes its callback message, a tray that appears is
    // announced to the windows that asked for icons ("TaskbarCreated"), and a tray that goes takes the icons
    // with it. UI thread.
    void Pump();
    // The X window that shows the icon of (window, id); 0 for none.
    unsigned long IconWindow(HWND window, UINT id) const;

    bool Available() override;
    bool AddIcon(const TTrayIconState& icon) override;
    bool ModifyIcon(const TTrayIconState& icon) override;
    bool DeleteIcon(HWND window, UINT id) override;
    RECT IconRect(HWND window, UINT id) override;

private:
    struct TDockedIcon {
        unsigned long XWindow = 0;
        TTrayIconState State;
    };

    // The connection, made on first use; null before, and after a failed attempt (no display: no tray).
    TXSystemTray* Tray();

    std::string FDisplayName;
    std::function<void()> FWake;
    bool FTried = false;
    std::unique_ptr<TXSystemTray> FTray;
    std::map<std::pair<HWND, UINT>, TDockedIcon> FIcons;
};
