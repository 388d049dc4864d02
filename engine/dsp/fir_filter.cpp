#include "engine/dsp/fir_filter.h"

#include "engine/dsp/fft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <stdexcept>

namespace
{

// Small enough for the transform's working set (the block and the filter's
// spectrum, 1 MB) to stay in a core's own cache, large enough that short
// filters waste little of each block on the overlap; on the 4,096-tap
// correction filter of stage 2 it runs faster than half or twice the size.
constexpr std::size_t kSmallestBlockFft = std::size_t{1} << 15;
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

// Copies x[start, start + destination.size()) to destination, with zeros
// where that lies outside the signal.
void CopyWithZeros(std::span<double> destination, std::span<const double> x, std::ptrdiff_t start)
{
    const auto n = static_cast<std::ptrdiff_t>(destination.size());
    const auto size = static_cast<std::ptrdiff_t>(x.size());
    const std::ptrdiff_t firstInside = std::clamp<std::ptrdiff_t>(-start, 0, n);
    const std::ptrdiff_t firstAfter = std::clamp<std::ptrdiff_t>(size - start, firstInside, n);
    std::fill(destination.begin(), destination.begin() + firstInside, 0.0);
    if (firstAfter > firstInside)
    {
        std::copy(x.begin() + (start + firstInside), x.begin() + (start + firstAfter),
                  destination.begin() + firstInside);
    }
    std::fill(destination.begin() + firstAfter, destination.end(), 0.0);
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
    // Filled in order, block after block, so it is appended rather than
    // zeroed first.
    std::vector<double> y;
    y.reserve(x.size());
    FastConvolveBlocks(x, h,
                       [&y](std::size_t, std::span<const double> filtered)
                       { y.insert(y.end(), filtered.begin(), filtered.end()); });
    return y;
}

void FastConvolveBlocks(std::span<const double> x, std::span<const double> h,
                        const FilteredBlockSink& sink)
{
    if (x.empty())
    {
        return;
    }
    if (h.empty())
    {
        const std::vector<double> silence(std::min(x.size(), kSmallestBlockFft), 0.0);
        for (std::size_t first = 0; first < x.size(); first += silence.size())
        {
            sink(first, std::span<const double>(silence).first(
                            std::min(silence.size(), x.size() - first)));
        }
        return;
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
    // the imaginary part: the filter is real, so the two never mix. Together
    // they read blockFft + step inputs, of which the next pair reads the last
    // filterLength - 1 again; those are kept here rather than read from x,
    // where the sink may already have written over them.
    std::vector<double> inputs(blockFft + step);
    const std::size_t reread = filterLength - 1;
    std::vector<std::complex<double>> work(blockFft);
    std::vector<double> filtered(step);
    // Output j is linear-convolution sample centre + j, which needs x from
    // centre + j - (filterLength - 1) on.
    std::ptrdiff_t inputStart =
        static_cast<std::ptrdiff_t>(centre) - static_cast<std::ptrdiff_t>(reread);
    CopyWithZeros(inputs, x, inputStart);
    for (std::size_t first = 0; first < x.size(); first += 2 * step)
    {
        if (first > 0)
        {
            std::copy(inputs.end() - static_cast<std::ptrdiff_t>(reread), inputs.end(),
                      inputs.begin());
            inputStart += static_cast<std::ptrdiff_t>(2 * step);
            CopyWithZeros(std::span<double>(inputs).subspan(reread), x,
                          inputStart + static_cast<std::ptrdiff_t>(reread));
        }
        for (std::size_t t = 0; t < blockFft; ++t)
        {
            work[t] = {inputs[t], inputs[step + t]};
        }
        Fft(work, false);
        for (std::size_t k = 0; k < blockFft; ++k)
        {
            // Written out: the library's operator* adds a slow path that
            // rescues infinities, which finite spectra never need.
            const double re =
                work[k].real() * response[k].real() - work[k].imag() * response[k].imag();
            const double im =
                work[k].real() * response[k].imag() + work[k].imag() * response[k].real();
            work[k] = {re, im};
        }
        Fft(work, true);

        const std::size_t realCount = std::min(step, x.size() - first);
        for (std::size_t t = 0; t < realCount; ++t)
        {
            filtered[t] = work[reread + t].real();
        }
        sink(first, std::span<const double>(filtered).first(realCount));
        const std::size_t imagFirst = first + step;
        if (imagFirst < x.size())
        {
            const std::size_t imagCount = std::min(step, x.size() - imagFirst);
            for (std::size_t t = 0; t < imagCount; ++t)
            {
                filtered[t] = work[reread + t].imag();
            }
            sink(imagFirst, std::span<const double>(filtered).first(imagCount));
        }
    }
}
