// A 10-second preview of a 4-minute track: from scratch (cut, stages 1 to 4)
// and resumed after a stage-4 or a stage-2 blend change, as the preview worker
// asks for it (half the FFT size, no oversampling). Targets: under 200 ms from
// scratch, under 30 ms resumed at stage 4.
#include "engine/runs/preview_cache.h"
#include "engine/runs/preview_run.h"
#include "engine/profiles/synthetic_profile.h"

#include "tests/support/signals.h"

#include "bench/usage_counters.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr double kRangeStartSec = 60.0;
constexpr double kRangeEndSec = 70.0;

const ReferenceProfile& Profile()
{
    static const ReferenceProfile profile = BuildSyntheticDefaultProfile();
    return profile;
}

const AudioBuffer& Track(int sampleRate)
{
    static const AudioBuffer track48 = SwellingNoise(48000, 240.0, 11);
    static const AudioBuffer track44 = SwellingNoise(44100, 240.0, 11);
    return sampleRate == 48000 ? track48 : track44;
}

EngineRequest PreviewRequest(int scope)
{
    EngineRequest request;
    request.settings.fftSize = 2048;
    request.settings.linLogOversampling = 1;
    request.settings.limiterOversample = 1;
    request.previewScope = scope;
    return request;
}

ProcessResult Preview(const AudioBuffer& track, EngineRequest& request)
{
    return ProcessPreviewRange(track, kRangeStartSec, kRangeEndSec, request, &Profile(),
                               ProcessorChain());
}

// Argument: the source track's sample rate (44.1 kHz adds the resampling).
void BM_PreviewFromScratch(benchmark::State& state)
{
    const AudioBuffer& track = Track(static_cast<int>(state.range(0)));
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        state.PauseTiming();
        PreviewCache::Instance().Clear();
        state.ResumeTiming();
        EngineRequest request = PreviewRequest(PreviewFromStart);
        benchmark::DoNotOptimize(Preview(track, request));
    }
    PreviewCache::Instance().Clear();
}
BENCHMARK(BM_PreviewFromScratch)->Arg(48000)->Arg(44100)->Unit(benchmark::kMillisecond);

// Alternates a setting so that every run really recomputes from its point.
void ResumedAfterChange(benchmark::State& state, int scope, double MatchSettings::*setting,
                        double first, double second)
{
    const AudioBuffer& track = Track(48000);
    PreviewCache::Instance().Clear();
    EngineRequest prime = PreviewRequest(PreviewFromStart);
    Preview(track, prime);
    bool flip = false;
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        EngineRequest request = PreviewRequest(scope);
        request.settings.*setting = flip ? first : second;
        flip = !flip;
        benchmark::DoNotOptimize(Preview(track, request));
    }
    PreviewCache::Instance().Clear();
}

void BM_PreviewResumedAtStage4(benchmark::State& state)
{
    ResumedAfterChange(state, PreviewStage4, &MatchSettings::stage4LimiterStrength, 1.0, 0.9);
}
BENCHMARK(BM_PreviewResumedAtStage4)->Unit(benchmark::kMillisecond);

void BM_PreviewReblendedStage2(benchmark::State& state)
{
    ResumedAfterChange(state, PreviewStage2PostFft, &MatchSettings::stage2Strength, 0.75, 0.5);
}
BENCHMARK(BM_PreviewReblendedStage2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
