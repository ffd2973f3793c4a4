#include "tests/display/support/TChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The program's full path, looked up on PATH before the fork (the child may only make async-signal-safe calls).
std::string ResolveProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    throw std::runtime_error("the program '" + name + "' is not installed (see scripts/deps.sh)");
}

// Our environment with the options' variables replacing or added to it.
std::vector<std::string> BuildEnvironment(const TChildOptions& options)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        bool replaced = false;
        for (const auto& [name, value] : options.Environment)
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        for (const std::string& name : options.Unset)
            replaced = replaced || text.rfind(name + "=", 0) == 0;
        if (!replaced)
            result.push_back(text);
    }
    for (const auto& [name, value] : options.Environment)
        result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (auto& text : strings)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

void ThrowErrno(const std::string& what)
{
    throw std::runtime_error(what + ": " + strerror(errno));
}

int ReadAvailable(int fd, std::string& into)
{
    char chunk[4096];
    for (;;) {
        ssize_t count = read(fd, chunk, sizeof chunk);
        if (count > 0) {
            into.append(chunk, size_t(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        return count == 0 ? 0 : -1; // 0: end of file; -1: nothing more for now
    }
}

} // namespace

TChildProcess::TChildProcess(const std::vector<std::string>& argv, const TChildOptions& options)
{
    if (argv.empty())
        throw std::invalid_argument("TChildProcess: no program");
    FName = argv[0];
    std::string program = ResolveProgram(argv[0]);
    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment = BuildEnvironment(options);
    std::vector<char*> argPointers = Pointers(arguments);
    std::vector<char*> envPointers = Pointers(environment);

    int outPipe[2] = { -1, -1 };
    int errPipe[2] = { -1, -1 };
    int inPipe[2] = { -1, -1 };
    if (options.CaptureOutput && pipe2(outPipe, O_CLOEXEC) != 0)
        ThrowErrno("pipe");
    if (options.CaptureErrors && pipe2(errPipe, O_CLOEXEC) != 0)
        ThrowErrno("pipe");
    if (options.Input) {
        if (pipe2(inPipe, O_CLOEXEC) != 0)
            ThrowErrno("pipe");
        // Test inputs are short: the pipe holds them all, so no writer thread is needed.
        fcntl(inPipe[1], F_SETPIPE_SZ, 1 << 20);
        const std::string& text = *options.Input;
        if (write(inPipe[1], text.data(), text.size()) != ssize_t(text.size()))
            ThrowErrno("writing the input of " + FName);
        close(inPipe[1]);
    }
    const pid_t parent = getpid();

    FPid = fork();
    if (FPid < 0)
        ThrowErrno("fork");
    if (FPid == 0) {
        // Child: async-signal-safe calls only. Its own group so that Stop reaches whatever it forks; killed
        // when the test dies, even by a crash that runs no destructor.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        int devNull = open("/dev/null", O_RDWR);
        dup2(options.Input ? inPipe[0] : devNull, 0);
        if (options.CaptureOutput)
            dup2(outPipe[1], 1);
        if (options.CaptureErrors)
            dup2(errPipe[1], 2);
        if (options.InheritedFd >= 0)
            fcntl(options.InheritedFd, F_SETFD, 0);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execve(program.c_str(), argPointers.data(), envPointers.data());
        _exit(127);
    }
    // Parent: also set the group here, so a signal sent before the child ran its setpgid still finds it.
    setpgid(FPid, FPid);
    if (options.CaptureOutput) {
        close(outPipe[1]);
        FOutFd = outPipe[0];
        fcntl(FOutFd, F_SETFL, O_NONBLOCK);
    }
    if (options.CaptureErrors) {
        close(errPipe[1]);
        FErrFd = errPipe[0];
        fcntl(FErrFd, F_SETFL, O_NONBLOCK);
    }
    if (options.Input)
        close(inPipe[0]);
    FExitFd = int(syscall(SYS_pidfd_open, FPid, 0));
    if (FExitFd < 0) {
        Stop(std::chrono::milliseconds(0));
        ThrowErrno("pidfd_open");
    }
}

TChildProcess::~TChildProcess()
{
    Stop();
    CloseFds();
}

void TChildProcess::CloseFds()
{
    for (int* fd : { &FExitFd, &FOutFd, &FErrFd })
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
}

void TChildProcess::DrainPipes(int timeoutMs)
{
    pollfd fds[2];
    int count = 0;
    for (int fd : { FOutFd, FErrFd })
        if (fd >= 0)
            fds[count++] = pollfd { fd, POLLIN, 0 };
    if (count == 0 || poll(fds, nfds_t(count), timeoutMs) <= 0)
        return;
    if (FOutFd >= 0 && ReadAvailable(FOutFd, FOutput) == 0) {
        close(FOutFd);
        FOutFd = -1;
    }
    if (FErrFd >= 0 && ReadAvailable(FErrFd, FErrors) == 0) {
        close(FErrFd);
        FErrFd = -1;
    }
}

bool TChildProcess::Finished()
{
    if (FExited)
        return true;
    DrainPipes(0);
    // Seen but not reaped: the zombie keeps the process and group number ours until Stop has signalled the
    // group, so a signal can never reach a stranger that got the number again.
    siginfo_t info {};
    if (waitid(P_PID, id_t(FPid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid != FPid)
        return false;
    FExited = true;
    FExitCode = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    // What the child wrote before it ended is still in the pipes; a grandchild that keeps a pipe open
    // (xclip serving a selection) must not hold us, so read only what is there.
    DrainPipes(0);
    return true;
}

bool TChildProcess::WaitFinished(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!Finished()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fds[3];
        nfds_t count = 0;
        for (int fd : { FExitFd, FOutFd, FErrFd })
            if (fd >= 0)
                fds[count++] = pollfd { fd, POLLIN, 0 };
        poll(fds, count, int(left));
    }
    return true;
}

bool TChildProcess::WaitForText(const std::string& text, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    auto written = [&] { return FOutput.find(text) != std::string::npos || FErrors.find(text) != std::string::npos; };
    while (!written()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || Finished() || (FOutFd < 0 && FErrFd < 0))
            return written();
        pollfd fds[3];
        nfds_t count = 0;
        for (int fd : { FExitFd, FOutFd, FErrFd })
            if (fd >= 0)
                fds[count++] = pollfd { fd, POLLIN, 0 };
        poll(fds, count, int(left));
        DrainPipes(0);
    }
    return true;
}

void TChildProcess::SignalGroup(int signal)
{
    if (FPid > 0)
        kill(-FPid, signal);
}

void TChildProcess::Stop(std::chrono::milliseconds grace)
{
    if (FPid <= 0 || FReaped)
        return;
    // The group outlives its leader when the leader forked (xclip's server), so it is signalled even after
    // the leader ended.
    SignalGroup(SIGTERM);
    if (!WaitFinished(grace)) {
        SignalGroup(SIGKILL);
        WaitFinished(std::chrono::milliseconds(5000));
    }
    SignalGroup(SIGKILL);
    int status = 0;
    waitpid(FPid, &status, 0);
    FReaped = true;
}

TToolResult RunTool(
    const std::vector<std::string>& argv, const TChildOptions& options, std::chrono::milliseconds timeout)
{
    TChildOptions captured = options;
    captured.CaptureOutput = true;
    captured.CaptureErrors = true;
    TChildProcess process(argv, captured);
    if (!process.WaitFinished(timeout)) {
        process.Stop();
        throw std::runtime_error(argv[0] + " did not finish within " + std::to_string(timeout.count()) + " ms");
    }
    return TToolResult { process.ExitCode(), process.Output(), process.Errors() };
}
