// Opening targets with xdg-open through a replaceable runner; the runner starts programs without a shell.
#include "platform/shell/ShellExecute.h"

#include "framework/core/FileSystem.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/win/Windows.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <strings.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::mutex RunnerLock;
TShellRunner CurrentRunner;

bool RunWithCurrentRunner(const TShellCommand& command)
{
    TShellRunner runner;
    {
        std::lock_guard<std::mutex> lock(RunnerLock);
        runner = CurrentRunner;
    }
    return runner ? runner(command) : RunShellCommand(command);
}

// Waits up to `ms` for the child to end, without polling: a pidfd becomes readable when it exits.
// Returns its wait status, or -1 when it is still running.
int WaitForExit(pid_t pid, unsigned ms)
{
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd entry { pidfd, POLLIN, 0 };
        int ready;
        do
            ready = poll(&entry, 1, static_cast<int>(ms));
        while (ready < 0 && errno == EINTR);
        close(pidfd);
        if (ready == 0)
            return -1;
    }
    int status = 0;
    // Without a pidfd (old kernels) this blocks until the child ends, which an opener does quickly.
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return 0;
    }
    return status;
}

// A child still running after the settle time is reaped by a thread of its own, so it leaves no zombie.
void ReapLater(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    }).detach();
}

bool IsUrl(const std::string& target)
{
    // A scheme of at least two characters, so "C:" style names never count.
    size_t i = 0;
    while (i < target.size() && (std::isalnum(static_cast<unsigned char>(target[i])) || std::strchr("+.-", target[i]))) {
        if (i == 0 && !std::isalpha(static_cast<unsigned char>(target[i])))
            return false;
        ++i;
    }
    return i >= 2 && i < target.size() && target[i] == ':';
}

bool EqualsIgnoreCase(const char* a, const char* b)
{
    return strcasecmp(a, b) == 0;
}

HINSTANCE AsInstance(DWORD code)
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(code));
}

} // namespace

bool RunShellCommand(const TShellCommand& command, unsigned settleMs)
{
    if (command.Argv.empty())
        return false;
    std::vector<char*> argv;
    for (const std::string& argument : command.Argv)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!command.Directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, command.Directory.c_str());
    // The opener must not inherit our standard input (a terminal, or a pipe a test reads).
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return false;

    const int status = WaitForExit(pid, settleMs);
    if (status < 0) {
        ReapLater(pid);
        return true;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TShellRunner SetShellRunner(TShellRunner runner)
{
    std::lock_guard<std::mutex> lock(RunnerLock);
    std::swap(CurrentRunner, runner);
    return runner;
}

std::vector<TShellCommand> OpenCommands(const std::string& target, const std::string& directory)
{
    const std::string argument = !target.empty() && target[0] == '-' ? "./" + target : target;
    return {
        TShellCommand { { "xdg-open", argument }, directory },
        TShellCommand { { "gio", "open", argument }, directory },
    };
}

DWORD ShellOpen(const std::string& target, const std::string& directory)
{
    if (target.empty())
        return ERROR_FILE_NOT_FOUND;
    if (!IsUrl(target)) {
        const std::string path = target[0] == '/' || directory.empty() ? target : IncludeTrailingPathDelimiter(directory) + target;
        if (access(path.c_str(), F_OK) != 0)
            return ERROR_FILE_NOT_FOUND;
    }
    for (const TShellCommand& command : OpenCommands(target, directory)) {
        if (RunWithCurrentRunner(command))
            return 0;
    }
    return SE_ERR_NOASSOC;
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info)
{
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DWORD result = SE_ERR_NOASSOC;
    const char* verb = info->lpVerb ? info->lpVerb : "";
    const bool knownVerb = verb[0] == '\0' || EqualsIgnoreCase(verb, "open") || EqualsIgnoreCase(verb, "explore");
    const bool hasParameters = info->lpParameters && info->lpParameters[0] != '\0';
    if (knownVerb && !hasParameters) {
        std::string target = info->lpFile ? info->lpFile : "";
        // A namespace item opens through its path; virtual folders (the computer, the trash) have none.
        if ((info->fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST && info->lpIDList
            && !SHGetPathFromIDList(static_cast<LPCITEMIDLIST>(info->lpIDList), target))
            target.clear();
        if (!target.empty() || !((info->fMask & SEE_MASK_INVOKEIDLIST) == SEE_MASK_INVOKEIDLIST && info->lpIDList))
            result = ShellOpen(target, info->lpDirectory ? info->lpDirectory : "");
    }
    info->hInstApp = AsInstance(result == 0 ? 42 : result);
    info->hProcess = nullptr;
    if (result != 0) {
        SetLastError(result == ERROR_FILE_NOT_FOUND ? ERROR_FILE_NOT_FOUND : ERROR_NO_ASSOCIATION);
        return 0;
    }
    return 1;
}

HINSTANCE ShellExecute(HWND hwnd, const char* operation, const char* file, const char* parameters,
    const char* directory, int showCmd)
{
    SHELLEXECUTEINFO info;
    info.hwnd = hwnd;
    info.lpVerb = operation;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = showCmd;
    ShellExecuteEx(&info);
    return info.hInstApp;
}

TShellCommandRecorder::TShellCommandRecorder(bool result)
    : FResult(result)
{
    FPrevious = SetShellRunner([this](const TShellCommand& command) {
        std::lock_guard<std::mutex> lock(FLock);
        FCommands.push_back(command);
        return FResult;
    });
}

TShellCommandRecorder::~TShellCommandRecorder()
{
    SetShellRunner(std::move(FPrevious));
}

std::vector<TShellCommand> TShellCommandRecorder::Commands() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FCommands;
}

void TShellCommandRecorder::SetResult(bool result)
{
    std::lock_guard<std::mutex> lock(FLock);
    FResult = result;
}
