// TMockLogind, the machine's power-off service as the whole-program tests see it: a private D-Bus daemon of its
// own with org.freedesktop.login1 on it, which writes down every PowerOff request and refuses it. A program
// pointed at the bus (DBUS_SYSTEM_BUS_ADDRESS) asks it instead of the machine's logind.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TChildProcess;
struct TMockLogindState;

class TMockLogind final {
public:
    // Starts the bus and the service; Address() is empty (and Error() says why) when either failed.
    TMockLogind();
    ~TMockLogind();
    TMockLogind(const TMockLogind&) = delete;
    TMockLogind& operator=(const TMockLogind&) = delete;

    const std::string& Address() const { return FAddress; }
    const std::string& Error() const { return FError; }
    // The interactive flag of each PowerOff request so far.
    std::vector<bool> Requests() const;

private:
    void StartBus();

    std::unique_ptr<TChildProcess> FDaemon;
    std::string FAddress;
    std::string FError;
    std::unique_ptr<TMockLogindState> FState;
};
