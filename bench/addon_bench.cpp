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
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>

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

// One add-on with one parameter set, on a track of its own.
void TimeAddonOn(benchmark::State& state, const AudioBuffer& track, const std::string& id,
                 const std::string& parameter, double value)
{
    ProcessContext context;
    context.sampleRate = track.sampleRate;
    for (auto _ : state)
    {
        state.PauseTiming();
        AudioBuffer work = track;
        const std::unique_ptr<IAudioProcessor> addon = CreateProcessor(id);
        addon->setParameter(parameter, value);
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
    TimeAddonOn(state, MakeTrack(96000), "phase_align", "max_delay_ms", 2.0);
}

// The declipper's cost follows the marks: a track with none costs a scan,
// short clips cost the frames around them, a track clipped throughout costs
// every frame of every pass. Each case starts from the runner's track.
AudioBuffer DeclipTrack(const std::string& clipping)
{
    const double level = DbToGain(-0.1);
    AudioBuffer track = Track();
    if (clipping == "unclipped")
    {
        for (double& value : track.samples)
        {
            value *= 0.9;
        }
    }
    else if (clipping == "clips_each_second")
    {
        // Half a millisecond flattened at the clip level once a second.
        for (std::size_t frame = 0; 2 * frame < track.samples.size(); frame += kRate)
        {
            const std::size_t end = std::min(track.samples.size(), 2 * (frame + 24));
            for (std::size_t i = 2 * frame; i < end; ++i)
            {
                track.samples[i] = std::signbit(track.samples[i]) ? -level : level;
            }
        }
    }
    else
    {
        for (double& value : track.samples)
        {
            value = std::clamp(4.0 * value, -level, level);
        }
    }
    return track;
}

void BM_SpectralDeclip(benchmark::State& state, const std::string& clipping, double iterations)
{
    TimeAddonOn(state, DeclipTrack(clipping), "spectral_declip", "iterations", iterations);
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
    if (FindProcessorDescriptor("spectral_declip") != nullptr)
    {
        const std::pair<const char*, double> declipCases[] = {{"unclipped", 8.0},
                                                              {"clips_each_second", 8.0},
                                                              {"clipped_throughout", 8.0},
                                                              {"clipped_throughout", 32.0}};
        for (const auto& [clipping, iterations] : declipCases)
        {
            const std::string name = "BM_Addon/spectral_declip/" + std::string(clipping) + "/" +
                                     std::to_string(static_cast<int>(iterations)) + "_passes";
            benchmark::RegisterBenchmark(name.c_str(), BM_SpectralDeclip, std::string(clipping),
                                         iterations)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
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
