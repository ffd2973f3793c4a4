// Power-off through logind's D-Bus interface with GDBus.
#include "platform/shell/ShellPower.h"

#include "platform/win/Windows.h"

#include <cstdlib>
#include <strings.h>
#include <gio/gio.h>

namespace {

std::mutex PowerLock;
TPowerOffRunner CurrentRunner;
std::string LastError;

std::string TakeError(GError*& error, const char* fallback)
{
    std::string text = fallback;
    if (error) {
        // Keep the D-Bus error name's meaning but not GDBus's "GDBus.Error:name: " wrapping.
        g_dbus_error_strip_remote_error(error);
        text = error->message;
        g_clear_error(&error);
    }
    return text;
}

bool SystemPowerOff(bool interactive, std::string& error)
{
    if (std::getenv("TP_NO_POWEROFF")) {
        error = "Power-off is disabled here (TP_NO_POWEROFF is set)";
        return false;
    }
    return LogindPowerOff({}, interactive, error);
}

} // namespace

bool LogindPowerOff(const std::string& busAddress, bool interactive, std::string& error)
{
    GError* failure = nullptr;
    GDBusConnection* bus = busAddress.empty()
        ? g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &failure)
        : g_dbus_connection_new_for_address_sync(busAddress.c_str(),
              static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
              nullptr, nullptr, &failure);
    if (!bus) {
        error = "Cannot reach the system bus: " + TakeError(failure, "no connection");
        return false;
    }
    // Interactive: logind may ask polkit to let the user authenticate, which takes as long as the user does.
    const GDBusCallFlags flags = interactive ? G_DBUS_CALL_FLAGS_ALLOW_INTERACTIVE_AUTHORIZATION : G_DBUS_CALL_FLAGS_NONE;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.login1", "/org/freedesktop/login1",
        "org.freedesktop.login1.Manager", "PowerOff", g_variant_new("(b)", interactive), nullptr, flags,
        interactive ? G_MAXINT : 25000, nullptr, &failure);
    if (!busAddress.empty())
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
    if (!reply) {
        error = "The system refused to power off: " + TakeError(failure, "no reason given");
        return false;
    }
    g_variant_unref(reply);
    return true;
}

TPowerOffRunner SetPowerOffRunner(TPowerOffRunner runner)
{
    std::lock_guard<std::mutex> lock(PowerLock);
    std::swap(CurrentRunner, runner);
    return runner;
}

bool RequestPowerOff(bool interactive, std::string& error)
{
    TPowerOffRunner runner;
    {
        std::lock_guard<std::mutex> lock(PowerLock);
        runner = CurrentRunner;
    }
    error.clear();
    const bool accepted = runner ? runner(interactive, error) : SystemPowerOff(interactive, error);
    if (!accepted && error.empty())
        error = "The system refused to power off";
    std::lock_guard<std::mutex> lock(PowerLock);
    LastError = accepted ? std::string() : error;
    return accepted;
}

std::string LastPowerOffError()
{
    std::lock_guard<std::mutex> lock(PowerLock);
    return LastError;
}

BOOL ExitWindowsEx(UINT flags, DWORD)
{
    const UINT action = flags & ~EWX_FORCE;
    if (action != EWX_SHUTDOWN && action != EWX_POWEROFF) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return 0;
    }
    std::string error;
    if (!RequestPowerOff(true, error)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    SetLastError(0);
    return 1;
}

namespace {

// The one token there is: the current process's. The shutdown privilege's number is arbitrary but fixed.
int ProcessToken;
constexpr DWORD ShutdownPrivilegeId = 19;

} // namespace

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

BOOL OpenProcessToken(HANDLE process, DWORD, HANDLE* token)
{
    if (process != GetCurrentProcess() || !token) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    *token = &ProcessToken;
    SetLastError(0);
    return 1;
}

BOOL LookupPrivilegeValue(const char* systemName, const char* name, LUID* luid)
{
    const bool local = !systemName || !systemName[0];
    if (!local || !name || strcasecmp(name, SE_SHUTDOWN_NAME) != 0 || !luid) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return 0;
    }
    *luid = LUID { ShutdownPrivilegeId, 0 };
    SetLastError(0);
    return 1;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL, TOKEN_PRIVILEGES* newState, DWORD, TOKEN_PRIVILEGES* previousState, DWORD* returnLength)
{
    if (token != &ProcessToken || !newState || newState->PrivilegeCount != 1 || newState->Privileges[0].Luid.LowPart != ShutdownPrivilegeId) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (previousState)
        previousState->PrivilegeCount = 0;
    if (returnLength)
        *returnLength = 0;
    SetLastError(0);
    return 1;
}

TPowerOffRecorder::TPowerOffRecorder(bool result, std::string error)
    : FResult(result)
    , FError(std::move(error))
{
    FPrevious = SetPowerOffRunner([this](bool interactive, std::string& error) {
        std::lock_guard<std::mutex> lock(FLock);
        FRequests.push_back(interactive);
        if (!FResult)
            error = FError;
        return FResult;
    });
}

TPowerOffRecorder::~TPowerOffRecorder()
{
    SetPowerOffRunner(std::move(FPrevious));
}

std::vector<bool> TPowerOffRecorder::Requests() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FRequests;
}
