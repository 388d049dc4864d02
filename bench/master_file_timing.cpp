// Masters one file end to end with the default settings and an empty chain,
// and prints how long each part of the run took, its system time and minor
// page faults (first touches of fresh memory), and the process's peak memory.
//
//   master_file_timing [--all-addons] <input audio> <profile.prs | synthetic> <output audio>
//   master_file_timing --generate <output.wav> <seconds> <sample rate>
//
// With --all-addons the chain holds every add-on the registry knows, enabled at
// its defaults, in the order of the descriptor list.
//
// The second form writes a test mix (pink noise with a quiet and a loud half,
// 24-bit) to time with the first; run it as its own process so that its memory
// does not count. The engine creates no thread: the run uses one core.

#include "bench/process_usage.h"
#include "engine/io/audio_file_reader.h"
#include "engine/io/audio_file_writer.h"
#include "engine/runs/full_run.h"
#include "engine/loudness/loudness.h"
#include "engine/profiles/reference_profile.h"
#include "engine/runs/run_metrics.h"
#include "engine/profiles/synthetic_profile.h"
#include "base/unicode_text.h"
#include "registry/addon_registry.h"
#include "tests/support/signals.h"

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <numeric>
#include <string>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

double SecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

double PeakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB on Linux
}

double TrackMb(const AudioBuffer& buffer)
{
    return static_cast<double>(buffer.samples.size() * sizeof(double)) / (1024.0 * 1024.0);
}

// The 4 KiB pages the track's doubles fill.
double TrackPages(const AudioBuffer& buffer)
{
    return static_cast<double>(buffer.samples.size() * sizeof(double)) / 4096.0;
}

// Independent pink noise per channel, the second half 9.5 dB louder, scaled to
// peak near -3 dBFS.
AudioBuffer TestMix(double seconds, int sampleRate)
{
    AudioBuffer buffer = StereoPinkNoise(sampleRate, seconds, 0.1, 1);
    const std::size_t frames = buffer.FrameCount();
    for (std::size_t i = frames / 2; i < frames; ++i)
    {
        buffer.samples[2 * i] *= 3.0;
        buffer.samples[2 * i + 1] *= 3.0;
    }
    const double peak = BufferPeak(buffer);
    if (peak > 0.0)
    {
        const double gain = 0.7 / peak;
        for (double& sample : buffer.samples)
        {
            sample *= gain;
        }
    }
    return buffer;
}

int Generate(const char* path, double seconds, int sampleRate)
{
    const AudioBuffer mix = TestMix(seconds, sampleRate);
    AudioWriteOptions options;
    options.bitDepth = 24;
    WriteAudioFile(Utf8ToWide(path), mix, options);
    std::printf("wrote %s: %.1f s at %d Hz\n", path, seconds, sampleRate);
    return 0;
}

// Every add-on the registry knows, enabled at its defaults, in descriptor order.
ProcessorChain EveryAddon()
{
    MasteringSettings settings;
    for (const ProcessorDescriptor& descriptor : GetProcessorDescriptors())
    {
        settings.addons.push_back({descriptor.id, true, {}});
    }
    return BuildProcessorChain(settings);
}

std::size_t AddonsIn(const ProcessorChain& chain)
{
    return std::accumulate(chain.buckets.begin(), chain.buckets.end(), std::size_t{0},
                           [](std::size_t n, const ProcessorBucket& b) { return n + b.size(); });
}

int Master(const char* inputPath, const std::string& profilePath, const char* outputPath,
           bool allAddons)
{
    const Clock::time_point start = Clock::now();
    const AudioBuffer track = ReadAudioFile(Utf8ToWide(inputPath));
    const ReferenceProfile profile = profilePath == "synthetic"
                                         ? BuildSyntheticDefaultProfile()
                                         : ReadReferenceProfile(Utf8ToWide(profilePath));
    const Clock::time_point read = Clock::now();
    const double memoryAfterRead = PeakMemoryMb();
    const ProcessUsage usageAfterRead = ProcessUsage::Now();

    struct Point
    {
        std::string text;
        Clock::time_point at;
        double peakMb; // the peak up to this point
    };
    std::vector<Point> points;
    EngineRequest request;
    request.progress = [&points](double, const char* text) {
        points.push_back({text, Clock::now(), PeakMemoryMb()});
    };
    const ProcessorChain chain = allAddons ? EveryAddon() : ProcessorChain();
    const Clock::time_point built = Clock::now();
    const ProcessResult result = ProcessTrack(track, request, &profile, chain);
    const Clock::time_point processed = Clock::now();
    const ProcessUsage runUsage = ProcessUsage::Now() - usageAfterRead;

    AudioWriteOptions options;
    options.bitDepth = 24;
    WriteAudioFile(Utf8ToWide(outputPath), result.audio, options);
    const Clock::time_point written = Clock::now();

    std::printf("input: %zu frames at %d Hz (%.1f s), %.1f MB of doubles\n", track.FrameCount(),
                track.sampleRate, static_cast<double>(track.FrameCount()) / track.sampleRate,
                TrackMb(track));
    std::printf("%-22s %8.3f s\n", "read", SecondsBetween(start, read));
    std::printf("%-22s %8.3f s   %zu add-ons\n", "chain built", SecondsBetween(read, built),
                AddonsIn(chain));
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
    {
        std::printf("%-22s %8.3f s   peak memory by its end %7.1f MB\n", points[i].text.c_str(),
                    SecondsBetween(points[i].at, points[i + 1].at), points[i + 1].peakMb);
    }
    std::printf("%-22s %8.3f s   system %.3f s, %.0f minor page faults (%.2f x the track's "
                "own pages)\n",
                "run total", SecondsBetween(built, processed), runUsage.systemSeconds,
                runUsage.minorFaults, runUsage.minorFaults / TrackPages(track));
    std::printf("%-22s %8.3f s\n", "write", SecondsBetween(processed, written));

    const LoudnessStats loudness = MeasureLoudness(result.audio);
    std::printf("output: %zu frames at %d Hz, %.2f LUFS, sample peak %.2f dBFS\n",
                result.audio.FrameCount(), result.audio.sampleRate, loudness.integratedLufs,
                20.0 * std::log10(std::max(BufferPeak(result.audio), 1e-9)));
    const double peakMb = PeakMemoryMb();
    std::printf("peak memory: %.1f MB after reading, %.1f MB in all (%.2f x the input)\n",
                memoryAfterRead, peakMb, peakMb / TrackMb(track));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try
    {
        if (argc == 5 && std::string(argv[1]) == "--generate")
        {
            return Generate(argv[2], std::atof(argv[3]), std::atoi(argv[4]));
        }
        if (argc == 5 && std::string(argv[1]) == "--all-addons")
        {
            return Master(argv[2], argv[3], argv[4], true);
        }
        if (argc == 4)
        {
            return Master(argv[1], argv[2], argv[3], false);
        }
        std::fprintf(stderr,
                     "usage: %s [--all-addons] <input audio> <profile.prs | synthetic> "
                     "<output audio>\n"
                     "       %s --generate <output.wav> <seconds> <sample rate>\n",
                     argv[0], argv[0]);
        return 2;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
}
