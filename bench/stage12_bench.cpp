// Stages 1 and 2 over a 4-minute 48 kHz stereo track: time on one core and the
// heap they hold at their peak beyond the track handed to stage 1, both as the
// full run calls them and as the preview run does.
#include "tests/support/signals.h"
#include "engine/stages/stage1_level_match.h"
#include "engine/stages/stage2_tone_match.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

namespace
{

std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

void* Allocate(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
    {
        throw std::bad_alloc();
    }
    const std::size_t live = g_liveBytes += malloc_usable_size(p);
    std::size_t peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live))
    {
    }
    return p;
}

void Release(void* p)
{
    if (p != nullptr)
    {
        g_liveBytes -= malloc_usable_size(p);
        std::free(p);
    }
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    Release(p);
}
void operator delete[](void* p) noexcept
{
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    Release(p);
}

namespace
{

constexpr int kRate = 48000;
// Targets with a gentle downward tilt, as a mastered reference would have.
MidSideMagnitudes MakeTargets(int fftSize)
{
    MidSideMagnitudes targets;
    for (int k = 0; k <= fftSize / 2; ++k)
    {
        const double hz = std::max(1.0, k * double(kRate) / fftSize);
        targets.mid.push_back(300.0 / std::sqrt(hz / 100.0));
        targets.side.push_back(60.0 / std::sqrt(hz / 100.0));
    }
    return targets;
}

// Time of each stage and the heap held at the peak beyond what was live
// before stage 1, summed over the iterations of one case.
struct Figures
{
    double stage1Seconds = 0.0;
    double stage2Seconds = 0.0;
    double peakExtraBytes = 0.0;
};

void Report(benchmark::State& state, const Figures& figures, double trackBytes)
{
    const double n = static_cast<double>(state.iterations());
    state.counters["stage1_ms"] = 1e3 * figures.stage1Seconds / n;
    state.counters["stage2_ms"] = 1e3 * figures.stage2Seconds / n;
    state.counters["track_MB"] = trackBytes / 1e6;
    state.counters["peak_extra_MB"] = figures.peakExtraBytes / 1e6;
    state.counters["peak_extra_x_track"] = figures.peakExtraBytes / trackBytes;
}

ToneMatchSettings BenchSettings()
{
    ToneMatchSettings settings;
    settings.stage2Strength = 0.75;
    settings.adaptiveStrength = true;
    settings.psychoacoustic = true;
    return settings;
}

// Times stage1(track) and then stage2(level, track), whose result is held
// until the peak is read. The track is a copy made for each iteration, untimed
// and live before stage 1, so the peak counts only what the stages add to it.
template <typename Stage1, typename Stage2>
void MeasureStages(benchmark::State& state, Stage1 stage1, Stage2 stage2)
{
    const AudioBuffer track = SwellingNoise(kRate, 240.0, 11);
    Figures figures;
    for (auto _ : state)
    {
        state.PauseTiming();
        AudioBuffer work = track;
        state.ResumeTiming();
        const std::size_t before = g_liveBytes.load();
        g_peakBytes = before;
        const auto t0 = std::chrono::steady_clock::now();
        LevelAnalysis level = stage1(work);
        const auto t1 = std::chrono::steady_clock::now();
        auto kept = stage2(level, work);
        const auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(&kept);
        figures.stage1Seconds += std::chrono::duration<double>(t1 - t0).count();
        figures.stage2Seconds += std::chrono::duration<double>(t2 - t1).count();
        figures.peakExtraBytes =
            std::max(figures.peakExtraBytes, static_cast<double>(g_peakBytes - before));
    }
    Report(state, figures, static_cast<double>(track.samples.size() * sizeof(double)));
}

LevelAnalysis Stage1(const AudioBuffer& track)
{
    return MatchLevel(track, {0.12, 1.0}, LevelSettings{});
}

// As the full run: stage 2 consumes the stage-1 signals and takes over the
// track, the run's own copy, for the stereo result.
void BM_Stages12FullRun(benchmark::State& state)
{
    const ToneMatchSettings settings = BenchSettings();
    const MidSideMagnitudes targets = MakeTargets(settings.fftSize);
    MeasureStages(state, Stage1,
                  [&](LevelAnalysis& level, AudioBuffer& track)
                  { return MatchTone(level, targets, settings, kRate, std::move(track)); });
}
BENCHMARK(BM_Stages12FullRun)->Unit(benchmark::kMillisecond)->Iterations(3);

// As the preview run, which stores the stage-1 analysis, the correction and
// the result together: all of them are held at the end.
void BM_Stages12KeepingIntermediates(benchmark::State& state)
{
    const ToneMatchSettings settings = BenchSettings();
    const MidSideMagnitudes targets = MakeTargets(settings.fftSize);
    MeasureStages(state, Stage1,
                  [&](LevelAnalysis& level, AudioBuffer&)
                  {
                      ToneCorrection correction =
                          ComputeToneCorrection(level, targets, settings, kRate);
                      ToneMatchResult result = ApplyToneMatch(level, correction, settings, kRate);
                      return std::pair(std::move(correction), std::move(result));
                  });
}
BENCHMARK(BM_Stages12KeepingIntermediates)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
