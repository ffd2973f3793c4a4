// Whole-process timing: each side of a benchmark runs as a program of its own, so both pay their start-up (loading
// the FFmpeg libraries, above all) and the comparison is of equal work.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

// This benchmark's own program, which runs our side of the work when started with "--ours".
inline std::string BenchProgram()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        std::fprintf(stderr, "cannot find the benchmark's own program\n");
        std::exit(1);
    }
    return std::string(path, size_t(length));
}

// Starts `arguments` (the program first, looked up in PATH; no shell) and waits for it. Returns the milliseconds
// from the start to the exit; a program that cannot start or fails ends the benchmark.
// The argument vector posix_spawn takes, pointing into `arguments`.
inline std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

inline double TimeProcess(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv = ArgumentVector(arguments);
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    const bool ran = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0
        && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    if (!ran) {
        std::string command;
        for (const std::string& argument : arguments)
            command += argument + " ";
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    return ms;
}

// Starts `arguments` (the program looked up in PATH; no shell) with its standard output written to `output`
// (created or emptied) and waits for it; a program that cannot start or fails ends the benchmark.
inline void RunWithOutput(const std::vector<std::string>& arguments, const std::string& output = "/dev/null")
{
    std::vector<char*> argv = ArgumentVector(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    int status = 0;
    const bool ran = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0
        && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!ran) {
        std::fprintf(stderr, "failed: %s\n", argv[0]);
        std::exit(1);
    }
}

// Starts `arguments` (the program looked up in PATH; no shell), waits for it and returns its peak resident memory
// in megabytes, as the kernel counted it for the child; a program that cannot start or fails ends the benchmark.
inline double PeakResidentMegabytes(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv = ArgumentVector(arguments);
    pid_t child = 0;
    int status = 0;
    rusage usage {};
    const bool ran = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0
        && wait4(child, &status, 0, &usage) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ran) {
        std::fprintf(stderr, "failed: %s\n", argv[0]);
        std::exit(1);
    }
    return double(usage.ru_maxrss) / 1024.0;
}
