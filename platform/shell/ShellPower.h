// Shutting the machine down: power-off through systemd-logind over D-Bus, behind a replaceable runner so that
// tests record the request instead.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

// ExitWindowsEx flags.
constexpr UINT EWX_LOGOFF = 0x0;
constexpr UINT EWX_SHUTDOWN = 0x1;
constexpr UINT EWX_REBOOT = 0x2;
constexpr UINT EWX_FORCE = 0x4;
constexpr UINT EWX_POWEROFF = 0x8;

// Asks for the power-off; true when it was accepted, else false with the reason in `error`.
using TPowerOffRunner = std::function<bool(bool interactive, std::string& error)>;

// Calls org.freedesktop.login1.Manager.PowerOff(interactive) on the bus at `busAddress` ("" for the system
// bus). With `interactive` logind may ask the user to authenticate (polkit) rather than refuse at once.
// Returns false with logind's (or the bus's) reason when the request is refused or cannot be sent.
bool LogindPowerOff(const std::string& busAddress, bool interactive, std::string& error);

// Replaces the runner (empty restores the real one) and returns the one it replaces. Thread-safe.
TPowerOffRunner SetPowerOffRunner(TPowerOffRunner runner);

// Powers the machine off through the current runner. The real runner asks logind on the system bus, except
// when the environment has TP_NO_POWEROFF set (every test has): then it refuses without sending anything.
bool RequestPowerOff(bool interactive, std::string& error);
// Why the last request failed ("" after a success).
std::string LastPowerOffError();

// EWX_SHUTDOWN and EWX_POWEROFF (EWX_FORCE is ignored) request the power-off, interactively. Other actions
// are not offered (ERROR_CALL_NOT_IMPLEMENTED). A refused request gives FALSE with ERROR_ACCESS_DENIED, and
// LastPowerOffError tells why.
BOOL ExitWindowsEx(UINT flags, DWORD reason);

// --- Process privileges -------------------------------------------------------------------------------------
// Linux has no privilege tokens: logind (through polkit) decides whether the user may power off, when the
// request arrives. These let the Windows sequence (open the token, look up "SeShutdownPrivilege", enable it)
// run unchanged: they succeed for the current process and the shutdown privilege.
constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr DWORD ERROR_NO_SUCH_PRIVILEGE = 1313;
constexpr const char* SE_SHUTDOWN_NAME = "SeShutdownPrivilege";

struct LUID {
    DWORD LowPart = 0;
    LONG HighPart = 0;
};
struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes = 0;
};
struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount = 0;
    LUID_AND_ATTRIBUTES Privileges[1];
};

// A pseudo handle for the current process.
HANDLE GetCurrentProcess();
// TRUE with a token handle for the current process; FALSE (ERROR_INVALID_HANDLE) for any other.
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token);
// TRUE for "SeShutdownPrivilege" (any case) on the local system (null or empty name); else FALSE with
// ERROR_NO_SUCH_PRIVILEGE.
BOOL LookupPrivilegeValue(const char* systemName, const char* name, LUID* luid);
// TRUE and GetLastError 0 for the current process's token and the shutdown privilege; FALSE
// (ERROR_INVALID_PARAMETER) for another token or an unknown privilege.
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
    TOKEN_PRIVILEGES* previousState, DWORD* returnLength);

// While it lives, power-off requests are recorded here (their interactive flags) and answered `Result`,
// with `Error` as the reason of a refusal.
class TPowerOffRecorder final {
public:
    explicit TPowerOffRecorder(bool result = true, std::string error = {});
    ~TPowerOffRecorder();
    TPowerOffRecorder(const TPowerOffRecorder&) = delete;
    TPowerOffRecorder& operator=(const TPowerOffRecorder&) = delete;

    std::vector<bool> Requests() const;

private:
    mutable std::mutex FLock;
    std::vector<bool> FRequests;
    bool FResult;
    std::string FError;
    TPowerOffRunner FPrevious;
};
