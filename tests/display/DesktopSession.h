// The X session of the desktop dialog tests, behind plain calls: the test program itself includes the framework,
// whose names clash with the session support's.
#pragma once
#include <string>
#include <vector>

namespace DesktopSession {

// ":N" of the shared session under openbox.
std::string DisplayName();
// xdotool key names ("Tab", "ctrl+a").
void Key(const std::string& keys);
void ClickAt(int x, int y);
// xprop's report of `properties` of the X window `window` ("0x..."), as it prints them.
std::string Xprop(const std::string& window, const std::vector<std::string>& properties);
// Waits (30 s at most) for a window named `title`, activates it, then sends each chord in turn; a window still
// there 20 s later gets Escape.
void KeysToWindow(const std::string& title, const std::vector<std::string>& chords);
// Starts a private session bus whose activated services show on this display; its address, and the daemon's
// process id in `pid` (0 when it did not start).
std::string StartSessionBus(long& pid, const std::vector<std::pair<std::string, std::string>>& environment);
bool Installed(const std::string& program);

} // namespace DesktopSession
