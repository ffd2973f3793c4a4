#include "tests/display/support/PrivateBus.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The first line the daemon writes on `fd`, waited for at most ten seconds.
std::string ReadLine(int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (line.find('\n') == std::string::npos) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready { fd, POLLIN, 0 };
        if (left.count() <= 0 || poll(&ready, 1, int(left.count())) <= 0)
            return {};
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return {};
        line.append(buffer, size_t(got));
    }
    return line.substr(0, line.find('\n'));
}

} // namespace

std::unique_ptr<TChildProcess> StartPrivateBus(TChildOptions options, std::string& address, std::string& error)
{
    address.clear();
    // The daemon prints its address on a pipe of its own once it listens.
    int pipeFds[2] = { -1, -1 };
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return nullptr;
    }
    options.InheritedFd = pipeFds[1];
    std::unique_ptr<TChildProcess> daemon;
    try {
        daemon = std::make_unique<TChildProcess>(std::vector<std::string> { "dbus-daemon", "--session", "--nofork",
                                                     "--print-address=" + std::to_string(pipeFds[1]) },
            options);
    } catch (const std::exception& e) {
        error = e.what();
    }
    close(pipeFds[1]);
    if (daemon)
        address = ReadLine(pipeFds[0]);
    close(pipeFds[0]);
    if (daemon && address.empty())
        error = "dbus-daemon printed no address";
    return daemon;
}
