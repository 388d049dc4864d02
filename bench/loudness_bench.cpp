// Loudness measurement of a 4-minute 48 kHz stereo track, beside libebur128's
// integrated loudness and loudness range on the same buffer.

#include "engine/loudness/loudness.h"

#include "bench/usage_counters.h"
#include "bench/yardstick.h"

#include <benchmark/benchmark.h>
#include <ebur128.h>

#include <cmath>
#include <numbers>
#include <random>

namespace
{

constexpr int kSampleRate = 48000;
constexpr double kTrackSeconds = 240.0;

// Noise whose level swells and falls every few seconds, so that the gates and
// the range have work to do.
const AudioBuffer& Track()
{
    static const AudioBuffer track = []
    {
        AudioBuffer buffer;
        buffer.sampleRate = kSampleRate;
        const size_t frames = static_cast<size_t>(kTrackSeconds * kSampleRate);
        buffer.samples.resize(2 * frames);
        std::mt19937 random(1);
        std::normal_distribution<double> white(0.0, 0.1);
        double lowLeft = 0.0, lowRight = 0.0;
        for (size_t i = 0; i < frames; ++i)
        {
            const double t = static_cast<double>(i) / kSampleRate;
            const double level = 0.55 + 0.45 * std::sin(2.0 * std::numbers::pi * t / 7.0);
            lowLeft = 0.98 * lowLeft + 0.2 * white(random);
            lowRight = 0.98 * lowRight + 0.2 * white(random);
            buffer.samples[2 * i] = level * (lowLeft + white(random));
            buffer.samples[2 * i + 1] = level * (lowRight + white(random));
        }
        return buffer;
    }();
    return track;
}

void ReportRealTime(benchmark::State& state)
{
    state.counters["xRealTime"] = benchmark::Counter(
        kTrackSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// libebur128's integrated loudness and loudness range of the same buffer.
void Ebur128IntegratedAndRange(const AudioBuffer& track)
{
    ebur128_state* meter = ebur128_init(2, kSampleRate, EBUR128_MODE_I | EBUR128_MODE_LRA);
    double integrated = 0.0, range = 0.0;
    ebur128_add_frames_double(meter, track.samples.data(), track.FrameCount());
    ebur128_loudness_global(meter, &integrated);
    ebur128_loudness_range(meter, &range);
    ebur128_destroy(&meter);
    benchmark::DoNotOptimize(integrated);
    benchmark::DoNotOptimize(range);
}

// Reports "x_ebur128": this measurement's time over libebur128's.
void BM_MeasureLoudness(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    {
        const UsageCounters usage(state);
        for (auto _ : state)
        {
            benchmark::DoNotOptimize(MeasureLoudness(track));
        }
    }
    ReportRatio(
        state, "ebur128", [&track] { benchmark::DoNotOptimize(MeasureLoudness(track)); },
        [&track] { Ebur128IntegratedAndRange(track); }, 0.0);
    ReportRealTime(state);
}
BENCHMARK(BM_MeasureLoudness)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ebur128IntegratedAndRange(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        Ebur128IntegratedAndRange(track);
    }
    ReportRealTime(state);
}
BENCHMARK(BM_Ebur128IntegratedAndRange)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
