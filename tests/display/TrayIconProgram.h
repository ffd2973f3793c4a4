// The program side of the tray display test: the application with one tray icon showing a four-colour icon,
// and the events it raised. Apart from the test, which drives the X server, because the framework's and the
// X session's mouse-button names clash.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class TWindowStage;
class TspTrayIcon;

class TTrayIconProgram final {
public:
    static constexpr int kIconSide = 16;
    // The icon's quadrants, 0xAARRGGBB: red, green, blue, and a transparent one whose colour must not show.
    static constexpr uint32_t kQuadrants[4] = { 0xFFCC2020, 0xFF20A040, 0xFF2040CC, 0x00FFFFFF };
    static constexpr const char* kHint = "Converting 3 files";

    // Starts the application on the stage (which runs its loop from then on) and makes the icon, not yet shown.
    explicit TTrayIconProgram(TWindowStage& stage);
    ~TTrayIconProgram();
    TTrayIconProgram(const TTrayIconProgram&) = delete;
    TTrayIconProgram& operator=(const TTrayIconProgram&) = delete;

    void SetIconVisible(bool visible);
    bool IconVisible() const;
    // The display has a tray to take icons.
    static bool TrayAvailable();
    // The X window the SDL backend's tray host shows the icon in; 0 while it is in no tray.
    unsigned long IconWindow() const;
    RECT IconRect() const;
    // Shows a balloon and gives its rectangle (empty when none opened), then hides it.
    RECT BalloonRect();

    // "down0", "up1", "click", "dblclick" (buttons: 0 left, 1 right, 2 middle), in order.
    std::vector<std::string> Events;
    // Where the last press was reported.
    POINT Pressed {};

private:
    TWindowStage& FStage;
    TspTrayIcon* FIcon = nullptr;
};
