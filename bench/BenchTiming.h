// The timing every benchmark shares: the best of several rounds, and the one line each case prints.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

// The fastest of `rounds` runs, in milliseconds: the least disturbed by whatever else the machine does.
inline double BestOf(const std::function<void()>& run, int rounds = 7)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto started = std::chrono::steady_clock::now();
        run();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        best = std::min(best, ms);
    }
    return best;
}

// Prints "name ours=<ms> peer=<ms> ratio=<ours/peer>".
inline void Report(const char* name, double ours, double peer)
{
    std::printf("%s ours=%.3f peer=%.3f ratio=%.3f\n", name, ours, peer, ours / peer);
    std::fflush(stdout);
}
