// The stage-4 limiters over a 4-minute 48 kHz stereo track that peaks 6 dB over
// the ceiling, so the limiters work all through the track.
#include "engine/stages/stage4_limiters.h"

#include "tests/engine/stages/limiter_fixtures.h"

#include "bench/usage_counters.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int kRate = 48000;
constexpr double kTrackSeconds = 240.0;
constexpr double kCeiling = 0.5;

const AudioBuffer& Track()
{
    static const AudioBuffer track = MusicLikeBursts(kRate, kTrackSeconds, 2.0 * kCeiling, 22);
    return track;
}

void BM_StandardLimit(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(StandardLimit(track, kCeiling, 1.0));
    }
}
BENCHMARK(BM_StandardLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

// Argument: the oversampling factor.
void BM_TruePeakLimit(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(
            TruePeakLimit(track, kCeiling, static_cast<int>(state.range(0)), 1.0));
    }
}
BENCHMARK(BM_TruePeakLimit)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LookaheadLimit(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(
            LookaheadLimit(track, kCeiling, static_cast<int>(state.range(0)), 1.0));
    }
}
BENCHMARK(BM_LookaheadLimit)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
