// Stage 3 over a 4-minute 48 kHz stereo track with the macro-dynamics step on:
// the four level passes and the gain curve over the whole track.
#include "engine/stages/stage3_dynamics.h"

#include "tests/engine/stages/limiter_fixtures.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int kRate = 48000;
constexpr double kTrackSeconds = 240.0;

void BM_Stage3WithMacroDynamics(benchmark::State& state)
{
    const AudioBuffer track = MusicLikeBursts(kRate, kTrackSeconds, 0.9, 21);
    const PieceAnalysis pieces = SplitIntoPieces(track, 15.0);
    const std::vector<double> mid = SplitMidSide(track).mid;
    PieceAnalysis reference;
    reference.selectedRms = 0.2;
    DynamicsMetrics metrics;
    DynamicsSettings settings;
    settings.strength = 1.0;
    settings.macroStrength = 1.0;
    settings.sampleRate = kRate;
    settings.hasShortTermDistribution = true;
    settings.shortTermLufsPercentiles = {-16.0, -14.0, -12.0, -10.5, -9.5};
    settings.loudnessRange = 6.0;
    settings.metrics = &metrics;
    for (auto _ : state)
    {
        state.PauseTiming();
        std::vector<double> workMid = mid;
        AudioBuffer workAudio = track;
        state.ResumeTiming();
        ApplyDynamicsStage(workMid, workAudio, pieces, reference, settings);
        benchmark::DoNotOptimize(workAudio.samples.data());
    }
    state.counters["macro_applied"] = metrics.macroApplied ? 1 : 0;
}
BENCHMARK(BM_Stage3WithMacroDynamics)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
