// The program's start-up, from starting its process to its main window's first frame on the display, against a
// minimal SDL2 program that opens a window of the main window's size (785 x 521) and presents one frame. Both are
// whole processes under the same Xvfb, which this benchmark starts; each writes "presented" on its standard output
// once its frame is on the display (the program when TP_QUIT_AFTER_FIRST_PRESENT is set), and the time is taken when
// that line arrives. The peer is this benchmark started again with "--peer".
#include "bench/BenchProcess.h"
#include "bench/BenchTiming.h"
#include "tests/display/support/TXSession.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <poll.h>

namespace {

constexpr int kWidth = 785;
constexpr int kHeight = 521;
constexpr int kRounds = 5;

// The peer: one window of the main window's size, one frame filled and presented.
int PresentOneFrame()
{
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "peer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("peer", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight,
        SDL_WINDOW_BORDERLESS);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) {
        std::fprintf(stderr, "peer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0xE0, 0xE4, 0xEA));
    // SDL waits for the server to take the pixels, so they are on the display when it returns.
    SDL_UpdateWindowSurface(window);
    std::puts("presented");
    std::fflush(stdout);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

// Starts `arguments` with `environment` and its standard output on a pipe; the milliseconds until it writes
// "presented". Waits for its exit, which must be clean; anything else ends the benchmark.
double TimeToPresent(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv = ArgumentVector(arguments);
    std::vector<char*> envp = ArgumentVector(environment);
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const bool spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string said;
    double ms = -1.0;
    char buffer[256];
    while (spawned && ms < 0.0) {
        pollfd fd { out[0], POLLIN, 0 };
        if (poll(&fd, 1, 60000) <= 0)
            break;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        said.append(buffer, size_t(n));
        if (said.find("presented\n") != std::string::npos)
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    }
    close(out[0]);
    int status = 0;
    const bool clean = spawned && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (ms < 0.0 || !clean) {
        std::fprintf(stderr, "%s did not present and exit cleanly\n", arguments[0].c_str());
        std::exit(1);
    }
    return ms;
}

// This process's environment with DISPLAY naming the benchmark's own server (never the user's), and `extra` added
// when given.
std::vector<std::string> Environment(const std::string& display, const std::string& extra)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "DISPLAY=", 8) != 0 && std::strncmp(*entry, "WAYLAND_DISPLAY=", 16) != 0)
            environment.emplace_back(*entry);
    }
    environment.push_back("DISPLAY=" + display);
    if (!extra.empty())
        environment.push_back(extra);
    return environment;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--peer") == 0)
        return PresentOneFrame();

    TXSession session;
    const std::vector<std::string> oursEnvironment
        = Environment(session.DisplayName(), "TP_QUIT_AFTER_FIRST_PRESENT=1");
    const std::vector<std::string> peerEnvironment = Environment(session.DisplayName(), "");
    const std::string self = BenchProgram();
    // A first start of each fills the file cache, so the rounds compare start-ups, not disk reads.
    TimeToPresent({ TP_PROGRAM_PATH }, oursEnvironment);
    TimeToPresent({ self, "--peer" }, peerEnvironment);
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        ours = std::min(ours, TimeToPresent({ TP_PROGRAM_PATH }, oursEnvironment));
        peer = std::min(peer, TimeToPresent({ self, "--peer" }, peerEnvironment));
    }
    Report("startup_to_main_window_first_present", ours, peer);
    return 0;
}
