// A reference profile made from a 4-minute 44.1 kHz stereo WAV file, as the
// profile creator page runs it: reading, resampling to 48 kHz, loudness, level,
// dynamics and tone fingerprint, writing. The time of each step is taken from
// the run's own progress reports.
#include "engine/audio_file_writer.h"
#include "engine/profile_creation.h"
#include "engine/unicode_text.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace
{

constexpr int kSourceRate = 44100;
constexpr std::size_t kFrames = 4 * 60 * kSourceRate;

// Correlated coloured noise whose level swells and fades over the minutes, so
// that the piece selection has loud and quiet pieces to tell apart.
AudioBuffer MakeTrack()
{
    std::mt19937 random(11);
    std::normal_distribution<double> normal(0.0, 0.08);
    AudioBuffer track;
    track.sampleRate = kSourceRate;
    track.samples.resize(2 * kFrames);
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i < kFrames; ++i)
    {
        const double envelope =
            0.6 + 0.4 * std::sin(2.0 * 3.141592653589793 * i / (70.0 * kSourceRate));
        const double common = normal(random);
        left = 0.7 * left + common + 0.3 * normal(random);
        right = 0.7 * right + common + 0.3 * normal(random);
        track.samples[2 * i] = envelope * left;
        track.samples[2 * i + 1] = envelope * right;
    }
    return track;
}

void BM_ProfileFromFourMinuteWav(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("brvl_profile_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::wstring reference = Utf8ToWide((folder / "reference.wav").string());
    const std::wstring output = Utf8ToWide((folder / "reference.prs").string());
    WriteWavFile(reference, MakeTrack(), 24);

    using Clock = std::chrono::steady_clock;
    std::map<std::string, double> stepSeconds;
    std::string currentStep;
    Clock::time_point stepStart;
    EngineRequest request;
    request.progress = [&](double, const char* text)
    {
        const Clock::time_point now = Clock::now();
        if (!currentStep.empty())
        {
            stepSeconds[currentStep] += std::chrono::duration<double>(now - stepStart).count();
        }
        currentStep = text;
        stepStart = now;
    };

    for (auto _ : state)
    {
        currentStep.clear();
        const ReferenceProfile profile =
            CreateReferenceProfile(request, reference, output, "Bench", "");
        benchmark::DoNotOptimize(profile.referenceMatchRms);
    }
    const double n = static_cast<double>(state.iterations());
    for (const auto& [step, seconds] : stepSeconds)
    {
        state.counters[step + " ms"] = 1e3 * seconds / n;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProfileFromFourMinuteWav)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
