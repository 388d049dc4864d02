// A reference profile made from a 4-minute 44.1 kHz stereo WAV file, as the
// profile creator page runs it: reading, resampling to 48 kHz, loudness, level,
// dynamics and tone fingerprint, writing. The time of each step is taken from
// the run's own progress reports.
#include "engine/io/wav_writer.h"
#include "tests/support/signals.h"
#include "engine/profiles/profile_creation.h"
#include "base/unicode_text.h"

#include "bench/usage_counters.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

namespace
{

constexpr int kSourceRate = 44100;
void BM_ProfileFromFourMinuteWav(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("brvl_profile_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::wstring reference = Utf8ToWide((folder / "reference.wav").string());
    const std::wstring output = Utf8ToWide((folder / "reference.prs").string());
    WriteWavFile(reference, SwellingNoise(kSourceRate, 240.0, 11), 24);

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

    {
        const UsageCounters usage(state);
        for (auto _ : state)
        {
            currentStep.clear();
            const ReferenceProfile profile =
                CreateReferenceProfile(request, reference, output, "Bench", "");
            benchmark::DoNotOptimize(profile.referenceMatchRms);
        }
    }
    const double n = static_cast<double>(state.iterations());
    for (const auto& [step, seconds] : stepSeconds)
    {
        state.counters[step + " ms"] = 1e3 * seconds / n;
    }
    rusage peak{};
    ::getrusage(RUSAGE_SELF, &peak);
    state.counters["peak_rss_MB"] = static_cast<double>(peak.ru_maxrss) / 1e3;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ProfileFromFourMinuteWav)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
