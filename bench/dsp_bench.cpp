// The DSP blocks against the libraries that set the standard for each job:
// FFTW for the FFT, libsamplerate's best converter for resampling.
#include "engine/dsp/fft.h"
#include "engine/dsp/oversampler.h"
#include "engine/dsp/sinc_resampler.h"
#include "bench/usage_counters.h"
#include "bench/yardstick.h"
#include "tests/support/signals.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <samplerate.h>

#include <cmath>
#include <complex>
#include <random>
#include <stdexcept>
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

// FFTW's in-place forward transform of the same noise, planned by measuring.
class FftwTransform
{
public:
    explicit FftwTransform(std::size_t n) : m_buffer(fftw_alloc_complex(n))
    {
        m_plan =
            fftw_plan_dft_1d(static_cast<int>(n), m_buffer, m_buffer, FFTW_FORWARD, FFTW_MEASURE);
        const auto noise = NoiseSpectrum(n);
        for (std::size_t i = 0; i < n; ++i)
        {
            m_buffer[i][0] = noise[i].real();
            m_buffer[i][1] = noise[i].imag();
        }
    }
    ~FftwTransform()
    {
        fftw_destroy_plan(m_plan);
        fftw_free(m_buffer);
    }
    FftwTransform(const FftwTransform&) = delete;
    FftwTransform& operator=(const FftwTransform&) = delete;

    void Run()
    {
        fftw_execute(m_plan);
        benchmark::DoNotOptimize(m_buffer);
        benchmark::ClobberMemory();
    }

private:
    fftw_complex* m_buffer;
    fftw_plan m_plan;
};

// Reports "x_fftw": this transform's time over FFTW's, taken side by side.
void BM_Fft4096(benchmark::State& state)
{
    auto data = NoiseSpectrum(kFftSize);
    Fft(data, false); // build the plan outside the timing
    const auto ours = [&data]
    {
        Fft(data, false);
        benchmark::DoNotOptimize(data.data());
        benchmark::ClobberMemory();
    };
    for (auto _ : state)
    {
        ours();
    }
    FftwTransform fftw(kFftSize);
    ReportRatio(
        state, "fftw", ours, [&fftw] { fftw.Run(); }, 0.05);
}
BENCHMARK(BM_Fft4096);

void BM_Fftw4096Measure(benchmark::State& state)
{
    FftwTransform fftw(kFftSize);
    for (auto _ : state)
    {
        fftw.Run();
    }
}
BENCHMARK(BM_Fftw4096Measure);

constexpr int kTrackSeconds = 240;

// A four-minute stereo track of noise, the worst case for no converter.
std::vector<double> StereoTrack(int rate)
{
    return StereoNoise(rate, kTrackSeconds, 0.5, 11).samples;
}

// libsamplerate's best converter over the same interleaved stereo values.
void LibsamplerateBest(const std::vector<float>& in, std::vector<float>& out)
{
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size() / 2);
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size() / 2);
    data.src_ratio = 48000.0 / 44100.0;
    if (src_simple(&data, SRC_SINC_BEST_QUALITY, 2) != 0)
    {
        throw std::runtime_error("libsamplerate failed");
    }
    benchmark::DoNotOptimize(out.data());
}

// Reports "x_libsamplerate": this resampler's time over libsamplerate's best.
void BM_ResampleTrack44100To48000(benchmark::State& state)
{
    const auto track = StereoTrack(44100);
    const SincResampler resampler;
    const auto ours = [&]
    {
        auto out = resampler.Process(track, 44100, 48000);
        benchmark::DoNotOptimize(out.data());
    };
    {
        const UsageCounters usage(state);
        for (auto _ : state)
        {
            ours();
        }
    }
    const std::vector<float> in(track.begin(), track.end());
    std::vector<float> out(in.size() * 48000 / 44100 + 256);
    ReportRatio(
        state, "libsamplerate", ours, [&] { LibsamplerateBest(in, out); }, 0.0, 1);
}
BENCHMARK(BM_ResampleTrack44100To48000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LibsamplerateBestTrack44100To48000(benchmark::State& state)
{
    const auto track = StereoTrack(44100);
    const std::vector<float> in(track.begin(), track.end());
    std::vector<float> out(in.size() * 48000 / 44100 + 256);
    for (auto _ : state)
    {
        LibsamplerateBest(in, out);
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
    const UsageCounters usage(state);
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
    const UsageCounters usage(state);
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
    const UsageCounters usage(state);
    for (auto _ : state)
    {
        AudioBuffer down = oversampler.Downsample(up, 48000);
        benchmark::DoNotOptimize(down.samples.data());
    }
}
BENCHMARK(BM_Downsample4xTrack)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
