// The X session of the desktop dialog tests, behind plain calls: the test program itself includes the framework,
// whose names clash with the session support's.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TChildProcess;

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
// A private session bus whose activated services show on this display, with `environment` added to theirs. It
// lasts as long as the object; its end stops the bus and every service the bus started, which share its process
// group. The daemon stays in the foreground: a daemon that forks leaves that group only some time after its
// parent has printed the address, so the end of the parent could take the new daemon with it.
class TPrivateSessionBus final {
public:
    explicit TPrivateSessionBus(const std::vector<std::pair<std::string, std::string>>& environment);
    ~TPrivateSessionBus();
    TPrivateSessionBus(const TPrivateSessionBus&) = delete;
    TPrivateSessionBus& operator=(const TPrivateSessionBus&) = delete;
    // The bus's address once it listens; empty when it did not start (Error says why).
    const std::string& Address() const { return FAddress; }
    const std::string& Error() const { return FError; }

private:
    std::unique_ptr<TChildProcess> FDaemon;
    std::string FAddress;
    std::string FError;
};
bool Installed(const std::string& program);

} // namespace DesktopSession
