// Stages 1 and 2 over a 4-minute 48 kHz stereo track: time on one core and the
// heap they hold at their peak beyond the input track.
#include "engine/stage1_level_match.h"
#include "engine/stage2_tone_match.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>

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
constexpr std::size_t kFrames = 4 * 60 * kRate;

// Coloured noise whose level swells and fades over the minutes, so that the
// piece selection has loud and quiet pieces to tell apart.
AudioBuffer MakeTrack()
{
    std::mt19937 random(11);
    std::normal_distribution<double> normal(0.0, 0.1);
    AudioBuffer track;
    track.sampleRate = kRate;
    track.samples.resize(2 * kFrames);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i < kFrames; ++i)
    {
        const double envelope = 0.6 + 0.4 * std::sin(2.0 * 3.141592653589793 * i / (70.0 * kRate));
        const double common = normal(random);
        left = 0.7 * left + common + 0.3 * normal(random);
        right = 0.7 * right + common + 0.3 * normal(random);
        track.samples[2 * i] = envelope * left;
        track.samples[2 * i + 1] = envelope * right;
    }
    return track;
}

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

void BM_Stages12FourMinutes(benchmark::State& state)
{
    const AudioBuffer track = MakeTrack();
    ToneMatchSettings settings;
    settings.stage2Strength = 0.75;
    settings.adaptiveStrength = true;
    settings.psychoacoustic = true;
    const MidSideMagnitudes targets = MakeTargets(settings.fftSize);
    const double trackBytes = static_cast<double>(track.samples.size() * sizeof(double));

    double stage1Seconds = 0.0;
    double correctionSeconds = 0.0;
    double applySeconds = 0.0;
    double peakExtraBytes = 0.0;
    double recordBytes = 0.0; // what the stages return, all held at once
    for (auto _ : state)
    {
        const std::size_t before = g_liveBytes.load();
        g_peakBytes = before;
        const auto t0 = std::chrono::steady_clock::now();
        const LevelAnalysis level = MatchLevel(track, {0.12, 1.0}, LevelSettings{});
        const auto t1 = std::chrono::steady_clock::now();
        const ToneCorrection correction = ComputeToneCorrection(level, targets, settings, kRate);
        const auto t2 = std::chrono::steady_clock::now();
        ToneMatchResult result = ApplyToneMatch(level, correction, settings, kRate);
        const auto t3 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(result.audio.samples.data());
        stage1Seconds += std::chrono::duration<double>(t1 - t0).count();
        correctionSeconds += std::chrono::duration<double>(t2 - t1).count();
        applySeconds += std::chrono::duration<double>(t3 - t2).count();
        peakExtraBytes = std::max(peakExtraBytes, static_cast<double>(g_peakBytes - before));
        const std::size_t recordValues =
            level.mid.capacity() + level.side.capacity() + level.selectedMid.capacity() +
            level.selectedSide.capacity() + correction.processedMid.capacity() +
            correction.processedSide.capacity() + result.mid.capacity() +
            result.audio.samples.capacity();
        recordBytes = static_cast<double>(recordValues * sizeof(double));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["stage1_ms"] = 1e3 * stage1Seconds / n;
    state.counters["correction_ms"] = 1e3 * correctionSeconds / n;
    state.counters["apply_ms"] = 1e3 * applySeconds / n;
    state.counters["track_MB"] = trackBytes / 1e6;
    state.counters["peak_extra_MB"] = peakExtraBytes / 1e6;
    state.counters["peak_extra_x_track"] = peakExtraBytes / trackBytes;
    state.counters["records_MB"] = recordBytes / 1e6;
    state.counters["working_MB"] = (peakExtraBytes - recordBytes) / 1e6;
}
BENCHMARK(BM_Stages12FourMinutes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
