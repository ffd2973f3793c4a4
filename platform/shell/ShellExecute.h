// Opening documents, folders and URLs with the desktop's default program (xdg-open), and the seam that
// lets tests record the commands instead of running them.
#pragma once
#include "platform/shell/ShellTypes.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

// One program to start: its argument vector (Argv[0] is the program, looked up in PATH) and the folder it
// starts in ("" for ours). Nothing here ever goes through a shell, so no text in it is interpreted.
struct TShellCommand {
    std::vector<std::string> Argv;
    std::string Directory;
};

// Starts a command and tells whether it succeeded. The real runner is RunShellCommand.
using TShellRunner = std::function<bool(const TShellCommand& command)>;

// Starts the command without a shell (posix_spawnp) and does not wait for it to finish: it succeeds when the
// program started and did not fail (exit status other than 0) within `settleMs`; a program still running then
// counts as started and is reaped in the background. False when it cannot be started (not in PATH).
bool RunShellCommand(const TShellCommand& command, unsigned settleMs = 2000);

// Replaces the runner every shell call uses (an empty runner restores RunShellCommand) and returns the one
// it replaces. Thread-safe.
TShellRunner SetShellRunner(TShellRunner runner);

// The commands that open `target` with the desktop's default program, in the order they are tried: xdg-open,
// then gio open (for a system without xdg-utils). A target starting with '-' is made "./-..." so that no
// opener reads it as an option.
std::vector<TShellCommand> OpenCommands(const std::string& target, const std::string& directory);

// Opens a file, folder or URL ("https://...", "mailto:...") with the desktop's default program, through the
// current runner. A file target (not a URL) must exist, relative to `directory` when it is relative.
// Returns 0 on success, else ERROR_FILE_NOT_FOUND (the file is missing) or SE_ERR_NOASSOC (no opener ran).
DWORD ShellOpen(const std::string& target, const std::string& directory = {});

// --- The Win32 calls ----------------------------------------------------------------------------------------

// ShellExecute's failure codes (results <= 32): ERROR_FILE_NOT_FOUND, and this one.
constexpr DWORD SE_ERR_NOASSOC = 31;

// SHELLEXECUTEINFO masks. DDEWAIT and NO_UI are satisfied anyway: an opener is waited for briefly and never
// shows an error box of ours. INVOKEIDLIST opens lpIDList instead of lpFile (namespace items).
constexpr DWORD SEE_MASK_INVOKEIDLIST = 0x0000000C;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr DWORD SEE_MASK_FLAG_DDEWAIT = 0x00000100;
constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr;
    const char* lpFile = nullptr;
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
    // Set on return: a value > 32 on success, else the failure code.
    HINSTANCE hInstApp = nullptr;
    // The absolute item-ID list to open with SEE_MASK_INVOKEIDLIST.
    const void* lpIDList = nullptr;
    HANDLE hProcess = nullptr;
};

// The verbs "open" and "explore" (any case; none means "open") open the target with ShellOpen; with
// SEE_MASK_INVOKEIDLIST the target is the path of lpIDList, and a virtual item fails with SE_ERR_NOASSOC.
// Parameters for the opened document are not supported: a non-empty lpParameters fails with SE_ERR_NOASSOC,
// as does any other verb. The window and show command are accepted and ignored. On failure GetLastError tells why.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* info);
// The same; returns a value > 32 on success, else the failure code.
HINSTANCE ShellExecute(HWND hwnd, const char* operation, const char* file, const char* parameters,
    const char* directory, int showCmd);

// --- Tests --------------------------------------------------------------------------------------------------

// While it lives, every command the shell calls would start is recorded here instead, and the runner
// answers `Result`. Thread-safe; restores the previous runner when it ends.
class TShellCommandRecorder final {
public:
    explicit TShellCommandRecorder(bool result = true);
    ~TShellCommandRecorder();
    TShellCommandRecorder(const TShellCommandRecorder&) = delete;
    TShellCommandRecorder& operator=(const TShellCommandRecorder&) = delete;

    std::vector<TShellCommand> Commands() const;
    void SetResult(bool result);

private:
    mutable std::mutex FLock;
    std::vector<TShellCommand> FCommands;
    bool FResult;
    TShellRunner FPrevious;
};
