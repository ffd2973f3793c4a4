// TChildProcess, a program the display tests start (Xvfb, a window manager, xdotool, xclip, the drop source):
// its own process group, killed with its parent, stopped with everything it forked when the owner goes.
#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct TChildOptions {
    // Set in the child's environment (DISPLAY above all: a test never uses the display it inherited).
    std::vector<std::pair<std::string, std::string>> Environment;
    // Removed from the child's environment.
    std::vector<std::string> Unset;
    // Collect what the child writes to standard output / standard error (else they go to ours).
    bool CaptureOutput = false;
    bool CaptureErrors = false;
    // Bytes written to the child's standard input, which is then closed (else /dev/null).
    std::optional<std::string> Input;
    // A descriptor the child inherits under the same number (Xvfb's -displayfd).
    int InheritedFd = -1;
};

class TChildProcess final {
public:
    // Starts `argv[0]` (searched on PATH). Throws std::runtime_error when it cannot be started.
    TChildProcess(const std::vector<std::string>& argv, const TChildOptions& options = {});
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    pid_t Pid() const { return FPid; }
    const std::string& Name() const { return FName; }
    // A descriptor that becomes readable when the child has exited (for poll next to other descriptors).
    int ExitFd() const { return FExitFd; }

    // True once the child has exited; collects its status and output without blocking.
    bool Finished();
    // Waits at most `timeout` for the child to exit; true when it did.
    bool WaitFinished(std::chrono::milliseconds timeout);
    // Waits at most `timeout` until the child has written `text` (to standard output or error, whichever is
    // captured); false when it did not, or ended first.
    bool WaitForText(const std::string& text, std::chrono::milliseconds timeout);
    // The exit code, or 128 + signal number; only meaningful after Finished().
    int ExitCode() const { return FExitCode; }
    const std::string& Output() const { return FOutput; }
    const std::string& Errors() const { return FErrors; }

    // Signals the whole process group (the child and whatever it forked).
    void SignalGroup(int signal);
    // Asks the group to end (SIGTERM), then kills it (SIGKILL) if it has not ended within `grace`.
    void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));

private:
    void DrainPipes(int timeoutMs);
    void CloseFds();

    std::string FName;
    pid_t FPid = -1;
    int FExitFd = -1;
    int FOutFd = -1;
    int FErrFd = -1;
    bool FExited = false;
    bool FReaped = false;
    int FExitCode = -1;
    std::string FOutput;
    std::string FErrors;
};

// Runs a program to its end; throws std::runtime_error when it does not end within `timeout`.
struct TToolResult {
    int ExitCode = -1;
    std::string Output;
    std::string Errors;
};
TToolResult RunTool(const std::vector<std::string>& argv, const TChildOptions& options,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));
