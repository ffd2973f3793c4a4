#include "tests/display/DesktopSession.h"

#include "tests/display/support/PrivateBus.h"
#include "tests/display/support/TChildProcess.h"
#include "tests/display/support/TXSession.h"

#include <chrono>
#include <filesystem>
#include <sstream>

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
    TChildOptions options = Session().ToolOptions();
    for (const auto& e : environment)
        options.Environment.push_back(e);
    FDaemon = StartPrivateBus(options, FAddress, FError);
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
