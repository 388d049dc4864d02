// Whole-track file I/O: reading a 16-bit WAV, decoding an MP3 and writing a
// 24-bit WAV, each a 4-minute 48 kHz stereo track.
#include "engine/io/audio_file_reader.h"
#include "engine/io/wav_writer.h"
#include "engine/io/audio_file_writer.h"
#include "tests/support/signals.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace
{

constexpr int kSampleRateHz = 48000;
constexpr double kTrackSeconds = 240.0;

// A 440 Hz tone over independent white noise in each channel.
AudioBuffer MakeTrack()
{
    AudioBuffer track = StereoNoise(kSampleRateHz, kTrackSeconds, 0.1, 1);
    const AudioBuffer tone = StereoSine(440.0, kSampleRateHz, kTrackSeconds, 0.5);
    for (size_t i = 0; i < track.samples.size(); ++i)
    {
        track.samples[i] += tone.samples[i];
    }
    return track;
}

// The fixtures live for the whole program: one folder, each file written once.
struct Fixtures
{
    std::filesystem::path folder;
    AudioBuffer track;

    Fixtures() : track(MakeTrack())
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "brvl-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
        {
            throw std::runtime_error("cannot create a temporary folder");
        }
        folder = pattern;
        WriteWavFile((folder / "track16.wav").wstring(), track, 16);
        WriteAudioFile((folder / "track.mp3").wstring(), track, {});
    }
    ~Fixtures() { std::filesystem::remove_all(folder); }
};

Fixtures& Shared()
{
    static Fixtures fixtures;
    return fixtures;
}

void BM_ReadWav16Stereo4Min(benchmark::State& state)
{
    const std::wstring path = (Shared().folder / "track16.wav").wstring();
    for (auto _ : state)
    {
        AudioBuffer buffer = ReadAudioFile(path);
        benchmark::DoNotOptimize(buffer.samples.data());
    }
}
BENCHMARK(BM_ReadWav16Stereo4Min)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DecodeMp34Min(benchmark::State& state)
{
    const std::wstring path = (Shared().folder / "track.mp3").wstring();
    for (auto _ : state)
    {
        AudioBuffer buffer = ReadAudioFile(path);
        benchmark::DoNotOptimize(buffer.samples.data());
    }
}
BENCHMARK(BM_DecodeMp34Min)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteWav24Stereo4Min(benchmark::State& state)
{
    const std::wstring path = (Shared().folder / "out24.wav").wstring();
    const AudioBuffer& track = Shared().track;
    for (auto _ : state)
    {
        WriteWavFile(path, track, 24);
    }
}
BENCHMARK(BM_WriteWav24Stereo4Min)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
