// The DSP blocks against the libraries that set the standard for each job:
// FFTW for the FFT, libsamplerate's best converter for resampling.
#include "engine/fft.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

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
    fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(kFftSize), buffer, buffer,
                                      FFTW_FORWARD, FFTW_MEASURE);
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

} // namespace

BENCHMARK_MAIN();
