#pragma once

// Side-by-side timing of our code and the library that sets the standard for
// the same job, in the same process and moment, so the ratio holds even when
// the machine's speed drifts between benchmarks.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

// Seconds per call of f, repeated until at least minSeconds have passed.
template <typename F> double SecondsPerCall(F&& f, double minSeconds)
{
    using Clock = std::chrono::steady_clock;
    long calls = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0.0;
    do
    {
        f();
        ++calls;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < minSeconds);
    return elapsed / static_cast<double>(calls);
}

// Times ours and theirs alternately for some rounds and reports the best of
// each as the counter "x_<name>": our time over theirs.
template <typename Ours, typename Theirs>
void ReportRatio(benchmark::State& state, const std::string& name, Ours&& ours, Theirs&& theirs,
                 double minSeconds, int rounds = 3)
{
    double bestOurs = 1e300;
    double bestTheirs = 1e300;
    for (int round = 0; round < rounds; ++round)
    {
        const double o = SecondsPerCall(ours, minSeconds);
        const double t = SecondsPerCall(theirs, minSeconds);
        bestOurs = o < bestOurs ? o : bestOurs;
        bestTheirs = t < bestTheirs ? t : bestTheirs;
    }
    state.counters["x_" + name] = bestOurs / bestTheirs;
}
