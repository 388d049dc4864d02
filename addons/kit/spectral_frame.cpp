#include "addons/kit/spectral_frame.h"

#include "addons/kit/hann_window.h"
#include "engine/dsp/fft.h"

#include <algorithm>
#include <stdexcept>

namespace
{

// Below this summed window power a sample keeps its accumulated value instead
// of being divided by next to nothing.
constexpr double kLeastWindowPower = 1e-8;

// Every frame overlaps the next three.
constexpr std::size_t kFramesPerSample = 4;

bool IsUsableFrameLength(std::size_t n)
{
    return n >= 8 && (n & (n - 1)) == 0;
}

// Bins N/2 + 1 to N - 1 as the conjugates of bins N/2 - 1 down to 1, so the
// inverse transform is real; bins 0 and N/2 stay as the rule left them.
void MirrorSpectrum(FrameSpectrum& spectrum)
{
    const std::size_t n = spectrum.size();
    for (std::size_t k = 1; k < n / 2; ++k)
    {
        spectrum[n - k] = std::conj(spectrum[k]);
    }
}

} // namespace

std::size_t SpectralFrameCount(std::size_t sampleFrames, std::size_t frameLength)
{
    const std::size_t hop = frameLength / kFramesPerSample;
    return (sampleFrames + frameLength - hop - 1) / hop + 1;
}

SpectralFrame::SpectralFrame(std::size_t frameLength)
{
    if (!IsUsableFrameLength(frameLength))
    {
        throw std::invalid_argument("spectral frame length must be a power of two of at least 8");
    }
    FillHannWindow(m_window, frameLength);
    const std::size_t hop = Hop();
    // The first frame over a sample meets it furthest into its window, so the
    // sum runs from the last quarter of the window to the first.
    m_hopPower.assign(hop, 0.0);
    for (std::size_t r = 0; r < hop; ++r)
    {
        for (std::size_t quarter = kFramesPerSample; quarter-- > 0;)
        {
            const double w = m_window[r + quarter * hop];
            m_hopPower[r] += w * w;
        }
    }
    for (std::size_t c = 0; c < 2; ++c)
    {
        m_spectra[c].resize(frameLength);
        m_accumulators[c].sum.resize(frameLength);
    }
}

void SpectralFrame::Analyse(std::span<const double> input, long start,
                            FrameSpectrum& spectrum) const
{
    const long n = static_cast<long>(FrameLength());
    const long count = static_cast<long>(input.size());
    for (long j = 0; j < n; ++j)
    {
        const long i = start + j;
        const double x = i >= 0 && i < count ? input[static_cast<std::size_t>(i)] : 0.0;
        spectrum[static_cast<std::size_t>(j)] = {x * m_window[static_cast<std::size_t>(j)], 0.0};
    }
    Fft(spectrum, false);
}

void SpectralFrame::Synthesise(FrameSpectrum& spectrum, Accumulator& accumulator) const
{
    MirrorSpectrum(spectrum);
    Fft(spectrum, true);
    const std::size_t n = FrameLength();
    for (std::size_t j = 0; j < n; ++j)
    {
        accumulator.sum[j] += spectrum[j].real() * m_window[j];
    }
}

// The first hop of the accumulator is complete once the frame at `start` is
// in: no later frame reaches back to it. Those samples go out divided by their
// window power, and the accumulator moves on by a hop.
void SpectralFrame::Emit(Accumulator& accumulator, long start, std::span<double> output) const
{
    const std::size_t hop = Hop();
    const long count = static_cast<long>(output.size());
    for (std::size_t j = 0; j < hop; ++j)
    {
        const long i = start + static_cast<long>(j);
        if (i < 0 || i >= count)
        {
            continue;
        }
        const double power = m_hopPower[static_cast<std::size_t>(i) % hop];
        const double sum = accumulator.sum[j];
        output[static_cast<std::size_t>(i)] = power > kLeastWindowPower ? sum / power : sum;
    }
    std::copy(accumulator.sum.begin() + static_cast<long>(hop), accumulator.sum.end(),
              accumulator.sum.begin());
    std::fill(accumulator.sum.end() - static_cast<long>(hop), accumulator.sum.end(), 0.0);
}

void SpectralFrame::Process(std::span<const double> input, std::span<double> output,
                            const MonoFrameRule& rule)
{
    const long hop = static_cast<long>(Hop());
    const std::size_t samples = std::min(input.size(), output.size());
    const long count = static_cast<long>(samples);
    output = output.first(samples);
    Accumulator& accumulator = m_accumulators[0];
    FrameSpectrum& spectrum = m_spectra[0];
    std::fill(accumulator.sum.begin(), accumulator.sum.end(), 0.0);
    for (long start = hop - static_cast<long>(FrameLength()); start < count; start += hop)
    {
        Analyse(input, start, spectrum);
        rule(spectrum);
        Synthesise(spectrum, accumulator);
        Emit(accumulator, start, output);
    }
}

void SpectralFrame::Process(std::span<const double> left, std::span<const double> right,
                            std::span<double> leftOutput, std::span<double> rightOutput,
                            const StereoFrameRule& rule)
{
    const long hop = static_cast<long>(Hop());
    const std::size_t samples =
        std::min({left.size(), right.size(), leftOutput.size(), rightOutput.size()});
    const long count = static_cast<long>(samples);
    for (Accumulator& accumulator : m_accumulators)
    {
        std::fill(accumulator.sum.begin(), accumulator.sum.end(), 0.0);
    }
    const std::span<const double> inputs[2] = {left.first(samples), right.first(samples)};
    const std::span<double> outputs[2] = {leftOutput.first(samples), rightOutput.first(samples)};
    for (long start = hop - static_cast<long>(FrameLength()); start < count; start += hop)
    {
        Analyse(inputs[0], start, m_spectra[0]);
        Analyse(inputs[1], start, m_spectra[1]);
        rule(m_spectra[0], m_spectra[1]);
        for (std::size_t c = 0; c < 2; ++c)
        {
            Synthesise(m_spectra[c], m_accumulators[c]);
            Emit(m_accumulators[c], start, outputs[c]);
        }
    }
}
