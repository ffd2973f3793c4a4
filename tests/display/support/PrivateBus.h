// A private D-Bus daemon for the display tests: started in the foreground (so it stays in the process group of its
// TChildProcess and goes with it), its address read from the line it prints once it listens.
#pragma once
#include "tests/display/support/TChildProcess.h"

#include <memory>
#include <string>

// Starts `dbus-daemon --session` with `options` (its environment reaches the services the bus activates). Returns
// the running daemon with its address in `address`; null, or an empty address, with the reason in `error` when it
// did not start or printed no address.
std::unique_ptr<TChildProcess> StartPrivateBus(TChildOptions options, std::string& address, std::string& error);
