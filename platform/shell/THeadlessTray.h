// THeadlessTray, the tests' system tray: it holds the icons it is given, can come and go, and clicks them.
#pragma once
#include "platform/shell/ShellNotifyIcon.h"

#include <map>
#include <utility>

// Installs itself as the tray host while it lives. Icons sit in a row along the top right of the screen, 24
// pixels each, in the order they came.
class THeadlessTray final : public TTrayHost {
public:
    explicit THeadlessTray(bool available = true);
    ~THeadlessTray() override;

    // A tray appears (every window that asked for an icon hears "TaskbarCreated") or goes (its icons go).
    void SetAvailable(bool available);
    // The icon of (window, id), or null.
    const TTrayIconState* Icon(HWND window, UINT id) const;
    int IconCount() const { return static_cast<int>(FIcons.size()); }
    // Presses and releases, or moves over, an icon as the tray's owner would report it.
    void Press(HWND window, UINT id, int button = 0) { TrayIconPointer(window, id, button, true); }
    void Release(HWND window, UINT id, int button = 0) { TrayIconPointer(window, id, button, false); }
    void Click(HWND window, UINT id, int button = 0);
    void Move(HWND window, UINT id) { TrayIconPointer(window, id, -1, false); }
    int Adds = 0;
    int Modifies = 0;

    bool Available() override { return FAvailable; }
    bool AddIcon(const TTrayIconState& icon) override;
    bool ModifyIcon(const TTrayIconState& icon) override;
    bool DeleteIcon(HWND window, UINT id) override;
    RECT IconRect(HWND window, UINT id) override;

private:
    bool FAvailable;
    std::map<std::pair<HWND, UINT>, std::pair<int, TTrayIconState>> FIcons;
    int FNextSlot = 0;
};
