// Every add-on the registry knows, each a fresh instance at its defaults, over
// a 4-minute 48 kHz stereo track of music-like bursts with 30 s of digital
// silence in the middle: followers and filter states decay through the
// silence, which is where subnormal numbers would slow an add-on down. An
// add-on that joins the registry gets its benchmark without a line here.
#include "registry/addon_registry.h"

#include "engine/decibels.h"
#include "engine/stages/lookahead_limiter.h"
#include "tests/engine/stages/limiter_fixtures.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace
{

constexpr int kRate = 48000;
constexpr double kTrackSeconds = 240.0;
constexpr double kSilenceStartSeconds = 120.0;
constexpr double kSilenceSeconds = 30.0;

AudioBuffer MakeTrack(int rate)
{
    AudioBuffer bursts = MusicLikeBursts(rate, kTrackSeconds, 1.0, 22);
    const auto silenceBegin = bursts.samples.begin() + 2 * FramesIn(kSilenceStartSeconds, rate);
    std::fill(silenceBegin, silenceBegin + 2 * FramesIn(kSilenceSeconds, rate), 0.0);
    return bursts;
}

const AudioBuffer& Track()
{
    static const AudioBuffer track = MakeTrack(kRate);
    return track;
}

// The copy of the track and the creation of the add-on stay outside the
// timing; whatever process allocates is counted.
void BM_Addon(benchmark::State& state, const std::string& id)
{
    const AudioBuffer& track = Track();
    ProcessContext context;
    context.sampleRate = kRate;
    for (auto _ : state)
    {
        state.PauseTiming();
        AudioBuffer work = track;
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
        state.ResumeTiming();
        addon->process(work, context);
        benchmark::DoNotOptimize(work.samples.data());
        benchmark::ClobberMemory();
    }
}

// Phase Align's lag search at its widest: 2 ms at 96 kHz is 385 lags over
// twice the frames of the 48 kHz track.
void BM_PhaseAlignWidestAt96kHz(benchmark::State& state)
{
    constexpr int kHighRate = 96000;
    const AudioBuffer track = MakeTrack(kHighRate);
    ProcessContext context;
    context.sampleRate = kHighRate;
    for (auto _ : state)
    {
        state.PauseTiming();
        AudioBuffer work = track;
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor("phase_align");
        addon->setParameter("max_delay_ms", 2.0);
        state.ResumeTiming();
        addon->process(work, context);
        benchmark::DoNotOptimize(work.samples.data());
        benchmark::ClobberMemory();
    }
}

// The engine's look-ahead limiter alone, set as the true-peak guard sets it at
// its defaults on this track (-1 dBTP, strength 0.7, four times oversampling):
// the guard's own cost is the difference.
void BM_BareLookaheadLimiter(benchmark::State& state)
{
    const AudioBuffer& track = Track();
    const LookaheadLimiter limiter{DbToGain(-1.0), 4, 0.7};
    for (auto _ : state)
    {
        const AudioBuffer limited = limiter.Process(track);
        benchmark::DoNotOptimize(limited.samples.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        benchmark::RegisterBenchmark(("BM_Addon/" + descriptor.id).c_str(), BM_Addon, descriptor.id)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::RegisterBenchmark("BM_PhaseAlignWidestAt96kHz", BM_PhaseAlignWidestAt96kHz)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark("BM_BareLookaheadLimiter", BM_BareLookaheadLimiter)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
    {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
