// The DSP blocks against the libraries that set the standard for each job:
// FFTW for the FFT, libsamplerate's best converter for resampling.
#include "engine/dsp/fft.h"
#include "engine/dsp/oversampler.h"
#include "engine/dsp/sinc_resampler.h"
#include "tests/support/signals.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <samplerate.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace
{

constexpr std::size_t kFftSize = 4096;

std::vector<std::complex<double>> NoiseSpectrum(std::size_t n)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<std::complex<double>> data(n);
    for (auto& value : data)
    {
        value = {uniform(random), uniform(random)};
    }
    return data;
}

void BM_Fft4096(benchmark::State& state)
{
    auto data = NoiseSpectrum(kFftSize);
    Fft(data, false); // build the plan outside the timing
    for (auto _ : state)
    {
        Fft(data, false);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fft4096);

void BM_Fftw4096Measure(benchmark::State& state)
{
    auto* buffer = fftw_alloc_complex(kFftSize);
    fftw_plan plan =
        fftw_plan_dft_1d(static_cast<int>(kFftSize), buffer, buffer, FFTW_FORWARD, FFTW_MEASURE);
    const auto noise = NoiseSpectrum(kFftSize);
    for (std::size_t i = 0; i < kFftSize; ++i)
    {
        buffer[i][0] = noise[i].real();
        buffer[i][1] = noise[i].imag();
    }
    for (auto _ : state)
    {
        fftw_execute(plan);
        benchmark::DoNotOptimize(buffer);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(buffer);
}
BENCHMARK(BM_Fftw4096Measure);

constexpr int kTrackSeconds = 240;

// A four-minute stereo track of noise, the worst case for no converter.
std::vector<double> StereoTrack(int rate)
{
    return StereoNoise(rate, kTrackSeconds, 0.5, 11).samples;
}

void BM_ResampleTrack44100To48000(benchmark::State& state)
{
    const auto track = StereoTrack(44100);
    const SincResampler resampler;
    for (auto _ : state)
    {
        auto out = resampler.Process(track, 44100, 48000);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ResampleTrack44100To48000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LibsamplerateBestTrack44100To48000(benchmark::State& state)
{
    const auto track = StereoTrack(44100);
    const std::vector<float> in(track.begin(), track.end());
    std::vector<float> out(in.size() * 48000 / 44100 + 256);
    for (auto _ : state)
    {
        SRC_DATA data{};
        data.data_in = in.data();
        data.input_frames = static_cast<long>(in.size() / 2);
        data.data_out = out.data();
        data.output_frames = static_cast<long>(out.size() / 2);
        data.src_ratio = 48000.0 / 44100.0;
        if (src_simple(&data, SRC_SINC_BEST_QUALITY, 2) != 0)
        {
            state.SkipWithError("libsamplerate failed");
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_LibsamplerateBestTrack44100To48000)->Unit(benchmark::kMillisecond)->Iterations(1);

// 4x oversampling of a four-minute 48 kHz track, with the taps per phase of
// the look-ahead limiter (8) and of the true-peak limiter (32).
void BM_Upsample4xTrack(benchmark::State& state)
{
    AudioBuffer track;
    track.sampleRate = 48000;
    track.samples = StereoTrack(48000);
    const Oversampler oversampler({4, static_cast<int>(state.range(0)), 0.94});
    for (auto _ : state)
    {
        AudioBuffer up = oversampler.Upsample(track);
        benchmark::DoNotOptimize(up.samples.data());
    }
}
BENCHMARK(BM_Upsample4xTrack)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the 4x result alone costs to allocate and zero (about 737 MB): the
// floor under BM_Upsample4xTrack, which must return a buffer that size.
void BM_AllocateUpsampled4xTrack(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::vector<double> samples(static_cast<std::size_t>(2) * 4 * kTrackSeconds * 48000);
        benchmark::DoNotOptimize(samples.data());
    }
}
BENCHMARK(BM_AllocateUpsampled4xTrack)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Downsample4xTrack(benchmark::State& state)
{
    const Oversampler oversampler({4, static_cast<int>(state.range(0)), 0.94});
    AudioBuffer track;
    track.sampleRate = 48000;
    track.samples = StereoTrack(48000);
    const AudioBuffer up = oversampler.Upsample(track);
    for (auto _ : state)
    {
        AudioBuffer down = oversampler.Downsample(up, 48000);
        benchmark::DoNotOptimize(down.samples.data());
    }
}
BENCHMARK(BM_Downsample4xTrack)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
