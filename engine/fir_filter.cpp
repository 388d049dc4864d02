#include "engine/fir_filter.h"

#include "engine/fft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <stdexcept>

namespace
{

// Small enough for the transform's working set to stay in cache, large enough
// that short filters waste little of each block on the overlap.
constexpr std::size_t kSmallestBlockFft = std::size_t{1} << 14;
// A block four times the filter's length keeps the overlap's share of the work at a quarter.
constexpr std::size_t kBlockToFilterRatio = 4;

std::size_t NextPowerOfTwo(std::size_t n)
{
    std::size_t power = 1;
    while (power < n)
    {
        power *= 2;
    }
    return power;
}

// Sample i of x, zero outside the signal.
double SampleAt(std::span<const double> x, std::ptrdiff_t i)
{
    return i >= 0 && i < static_cast<std::ptrdiff_t>(x.size()) ? x[static_cast<std::size_t>(i)]
                                                               : 0.0;
}

} // namespace

std::vector<double> DesignFirFromCurve(const std::vector<double>& curve, int fftSize)
{
    if (fftSize < 2 || (fftSize & (fftSize - 1)) != 0)
    {
        throw std::invalid_argument("FIR design needs a power-of-two FFT size");
    }
    const std::size_t n = static_cast<std::size_t>(fftSize);
    if (curve.size() != n / 2 + 1)
    {
        throw std::invalid_argument("FIR design needs fftSize / 2 + 1 curve values");
    }
    std::vector<std::complex<double>> spectrum(n);
    spectrum[0] = curve[0];
    for (std::size_t i = 1; i < n / 2; ++i)
    {
        spectrum[i] = curve[i];
        spectrum[n - i] = curve[i];
    }
    spectrum[n / 2] = curve.back();
    Fft(spectrum, true);

    const double pi = std::acos(-1.0);
    std::vector<double> taps(n);
    for (std::size_t k = 0; k < n; ++k)
    {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * pi * k / static_cast<double>(n - 1));
        taps[k] = spectrum[(k + n / 2) % n].real() * hann;
    }
    return taps;
}

std::vector<double> FastConvolve(std::span<const double> x, std::span<const double> h)
{
    std::vector<double> y(x.size(), 0.0);
    if (x.empty() || h.empty())
    {
        return y;
    }
    const std::size_t filterLength = h.size();
    const std::size_t fullLength = x.size() + filterLength - 1;
    const std::size_t blockFft =
        std::min(NextPowerOfTwo(std::max(kSmallestBlockFft, kBlockToFilterRatio * filterLength)),
                 NextPowerOfTwo(fullLength));
    // Of each circular block, the first filterLength - 1 outputs wrap around;
    // the rest are samples of the linear convolution.
    const std::size_t step = blockFft - filterLength + 1;
    const std::size_t centre = filterLength / 2;

    std::vector<std::complex<double>> response(blockFft);
    std::copy(h.begin(), h.end(), response.begin());
    Fft(response, false);

    // Two consecutive blocks share one transform, one as the real and one as
    // the imaginary part: the filter is real, so the two never mix.
    std::vector<std::complex<double>> work(blockFft);
    const std::ptrdiff_t history = static_cast<std::ptrdiff_t>(filterLength) - 1;
    for (std::size_t first = 0; first < y.size(); first += 2 * step)
    {
        // Output j is linear-convolution sample centre + j, which needs x from
        // centre + j - (filterLength - 1) on.
        const std::ptrdiff_t realStart = static_cast<std::ptrdiff_t>(centre + first) - history;
        const std::ptrdiff_t imagStart = realStart + static_cast<std::ptrdiff_t>(step);
        for (std::size_t t = 0; t < blockFft; ++t)
        {
            const auto offset = static_cast<std::ptrdiff_t>(t);
            work[t] = {SampleAt(x, realStart + offset), SampleAt(x, imagStart + offset)};
        }
        Fft(work, false);
        for (std::size_t k = 0; k < blockFft; ++k)
        {
            // Written out: the library's operator* adds a slow path that
            // rescues infinities, which finite spectra never need.
            const double re = work[k].real() * response[k].real() -
                              work[k].imag() * response[k].imag();
            const double im = work[k].real() * response[k].imag() +
                              work[k].imag() * response[k].real();
            work[k] = {re, im};
        }
        Fft(work, true);

        const std::size_t realCount = std::min(step, y.size() - first);
        for (std::size_t t = 0; t < realCount; ++t)
        {
            y[first + t] = work[filterLength - 1 + t].real();
        }
        const std::size_t imagFirst = first + step;
        const std::size_t imagCount = imagFirst < y.size() ? std::min(step, y.size() - imagFirst) : 0;
        for (std::size_t t = 0; t < imagCount; ++t)
        {
            y[imagFirst + t] = work[filterLength - 1 + t].imag();
        }
    }
    return y;
}
