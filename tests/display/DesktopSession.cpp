#include "tests/display/DesktopSession.h"

#include "tests/display/support/TChildProcess.h"
#include "tests/display/support/TXSession.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace DesktopSession {

namespace {

TXSession& Session()
{
    TXSessionOptions options;
    options.WindowManager = TWindowManager::Openbox;
    return SharedXSession(options);
}

} // namespace

std::string DisplayName()
{
    return Session().DisplayName();
}

void Key(const std::string& keys)
{
    Session().Key(keys);
}

void ClickAt(int x, int y)
{
    Session().MoveTo(x, y);
    Session().Click();
}

std::string Xprop(const std::string& window, const std::vector<std::string>& properties)
{
    std::vector<std::string> argv { "xprop", "-id", window };
    argv.insert(argv.end(), properties.begin(), properties.end());
    TChildOptions options = Session().ToolOptions();
    options.CaptureOutput = true;
    // xprop prints UTF-8 titles only in a UTF-8 locale.
    options.Environment.push_back({ "LC_ALL", "C.UTF-8" });
    return RunTool(argv, options).Output;
}

void KeysToWindow(const std::string& title, const std::vector<std::string>& chords)
{
    const TChildOptions options = Session().ToolOptions();
    RunTool({ "xdotool", "search", "--sync", "--name", title, "windowactivate", "--sync" }, options,
        std::chrono::milliseconds(30000));
    for (const std::string& chord : chords)
        RunTool({ "xdotool", "key", "--clearmodifiers", chord }, options);
    // A dialog the keys did not close is cancelled, so that a test fails instead of waiting for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline)
        if (RunTool({ "xdotool", "search", "--name", title }, options).ExitCode != 0)
            return;
    RunTool({ "xdotool", "search", "--name", title, "windowactivate", "--sync", "key", "Escape" }, options);
}

TPrivateSessionBus::TPrivateSessionBus(const std::vector<std::pair<std::string, std::string>>& environment)
{
    // The daemon prints its address on a pipe of its own once it listens.
    int address[2] = { -1, -1 };
    if (pipe2(address, O_CLOEXEC) != 0) {
        FError = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    TChildOptions options = Session().ToolOptions();
    for (const auto& e : environment)
        options.Environment.push_back(e);
    options.InheritedFd = address[1];
    try {
        FDaemon = std::make_unique<TChildProcess>(std::vector<std::string> { "dbus-daemon", "--session", "--nofork",
                                                      "--print-address=" + std::to_string(address[1]) },
            options);
    } catch (const std::exception& e) {
        FError = e.what();
    }
    close(address[1]);
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (FDaemon && line.find('\n') == std::string::npos) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready { address[0], POLLIN, 0 };
        if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0)
            break;
        char buffer[256];
        const ssize_t got = read(address[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        line.append(buffer, size_t(got));
    }
    close(address[0]);
    if (const size_t end = line.find('\n'); end != std::string::npos)
        FAddress = line.substr(0, end);
    else if (FError.empty())
        FError = "dbus-daemon printed no address";
}

TPrivateSessionBus::~TPrivateSessionBus() = default;

bool Installed(const std::string& program)
{
    for (const char* folder : { "/usr/bin/", "/usr/libexec/" })
        if (std::filesystem::exists(folder + program))
            return true;
    return false;
}

} // namespace DesktopSession
