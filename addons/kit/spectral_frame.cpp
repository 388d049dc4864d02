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
    m_packed.resize(frameLength);
    for (std::size_t c = 0; c < 2; ++c)
    {
        m_spectra[c].resize(frameLength);
        m_accumulators[c].sum.resize(frameLength);
    }
}

void SpectralFrame::AnalysePair(std::span<const double> a, long startA, std::span<const double> b,
                                long startB, bool withB)
{
    const std::size_t n = FrameLength();
    const auto sample = [](std::span<const double> x, long i)
    { return i >= 0 && i < static_cast<long>(x.size()) ? x[static_cast<std::size_t>(i)] : 0.0; };
    for (std::size_t j = 0; j < n; ++j)
    {
        const long offset = static_cast<long>(j);
        const double xb = withB ? sample(b, startB + offset) : 0.0;
        m_packed[j] = {sample(a, startA + offset) * m_window[j], xb * m_window[j]};
    }
    Fft(m_packed, false);
    // With z = a + i b: A[k] = (Z[k] + conj Z[N - k]) / 2 and
    // B[k] = (Z[k] - conj Z[N - k]) / 2i; bins above N/2 are their mirrors.
    FrameSpectrum& spectrumA = m_spectra[0];
    FrameSpectrum& spectrumB = m_spectra[1];
    for (std::size_t k = 0; k <= n / 2; ++k)
    {
        const double zr = m_packed[k].real();
        const double zi = m_packed[k].imag();
        const double mr = m_packed[(n - k) & (n - 1)].real();
        const double mi = -m_packed[(n - k) & (n - 1)].imag();
        const double ar = 0.5 * (zr + mr);
        const double ai = 0.5 * (zi + mi);
        const double br = 0.5 * (zi - mi);
        const double bi = -0.5 * (zr - mr);
        spectrumA[k] = {ar, ai};
        spectrumB[k] = {br, bi};
        if (k > 0 && k < n / 2)
        {
            spectrumA[n - k] = {ar, -ai};
            spectrumB[n - k] = {br, -bi};
        }
    }
}

void SpectralFrame::SynthesisePair(Accumulator& a, Accumulator& b, bool withB)
{
    const FrameSpectrum& spectrumA = m_spectra[0];
    const FrameSpectrum& spectrumB = m_spectra[1];
    // Bins above N/2 are taken as the conjugates of bins N/2 - 1 down to 1,
    // whatever the rule left there, so both frames come back real: a + i b
    // returns with a in the real parts and b in the imaginary parts.
    const std::size_t n = FrameLength();
    for (std::size_t j = 0; j < n; ++j)
    {
        const bool mirrored = j > n / 2;
        const std::size_t k = mirrored ? n - j : j;
        const double sign = mirrored ? -1.0 : 1.0;
        const double ar = spectrumA[k].real();
        const double ai = sign * spectrumA[k].imag();
        const double br = spectrumB[k].real();
        const double bi = sign * spectrumB[k].imag();
        m_packed[j] = {ar - bi, ai + br};
    }
    Fft(m_packed, true);
    for (std::size_t j = 0; j < n; ++j)
    {
        a.sum[j] += m_packed[j].real() * m_window[j];
    }
    if (withB)
    {
        for (std::size_t j = 0; j < n; ++j)
        {
            b.sum[j] += m_packed[j].imag() * m_window[j];
        }
    }
}

// The first hop of the accumulator is complete once the frame at `start` is
// in: no later frame reaches back to it. Those samples go out divided by their
// window power, and the accumulator moves on by a hop.
void SpectralFrame::Emit(Accumulator& accumulator, long start, std::span<double> output,
                         long writeFrom) const
{
    const std::size_t hop = Hop();
    const long count = static_cast<long>(output.size());
    for (std::size_t j = 0; j < hop; ++j)
    {
        const long i = start + static_cast<long>(j);
        if (i < 0 || i < writeFrom || i >= count)
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
    Process(input, output, rule, FrameWanted{});
}

void SpectralFrame::ForEachFramePair(std::span<const double> input, const MonoFrameRule& rule,
                                     const FramePairDone& done, const FrameWanted& wanted)
{
    const long hop = static_cast<long>(Hop());
    const long count = static_cast<long>(input.size());
    for (long start = hop - static_cast<long>(FrameLength()); start < count; start += 2 * hop)
    {
        const long second = start + hop;
        const bool pair = second < count;
        const bool worked = !wanted || wanted(start) || (pair && wanted(second));
        if (worked)
        {
            AnalysePair(input, start, input, second, pair);
            rule(m_spectra[0]);
            if (pair)
            {
                rule(m_spectra[1]);
            }
        }
        if (done)
        {
            done(start, pair, worked);
        }
    }
}

void SpectralFrame::Process(std::span<const double> input, std::span<double> output,
                            const MonoFrameRule& rule, const FrameWanted& wanted)
{
    const long hop = static_cast<long>(Hop());
    const long frameLength = static_cast<long>(FrameLength());
    const std::size_t samples = std::min(input.size(), output.size());
    input = input.first(samples);
    output = output.first(samples);
    Accumulator& accumulator = m_accumulators[0];
    std::fill(accumulator.sum.begin(), accumulator.sum.end(), 0.0);
    // Samples before this lie under a left-out frame and are not written.
    long writeFrom = 0;
    // Frames in pairs a hop apart; the second frame of a pair reads samples
    // from its start on, which no emitted sample has reached yet.
    ForEachFramePair(
        input, rule,
        [&](long start, bool pair, bool worked)
        {
            const long second = start + hop;
            if (!worked)
            {
                // The accumulator still moves on by the pair's two hops.
                writeFrom = (pair ? second : start) + frameLength;
                Emit(accumulator, start, output, writeFrom);
                Emit(accumulator, second, output, writeFrom);
                return;
            }
            SynthesisePair(accumulator, m_accumulators[1], pair);
            // The second frame's sum waits in its own accumulator until the
            // first has moved on by a hop.
            Emit(accumulator, start, output, writeFrom);
            if (pair)
            {
                for (std::size_t j = 0; j < FrameLength(); ++j)
                {
                    accumulator.sum[j] += m_accumulators[1].sum[j];
                }
                std::fill(m_accumulators[1].sum.begin(), m_accumulators[1].sum.end(), 0.0);
                Emit(accumulator, second, output, writeFrom);
            }
        },
        wanted);
}

void SpectralFrame::Analyse(std::span<const double> input, const FrameReader& reader)
{
    ForEachFramePair(
        input, [&](FrameSpectrum& spectrum) { reader(spectrum); }, nullptr, FrameWanted{});
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
    left = left.first(samples);
    right = right.first(samples);
    for (long start = hop - static_cast<long>(FrameLength()); start < count; start += hop)
    {
        AnalysePair(left, start, right, start, true);
        rule(m_spectra[0], m_spectra[1]);
        SynthesisePair(m_accumulators[0], m_accumulators[1], true);
        Emit(m_accumulators[0], start, leftOutput.first(samples));
        Emit(m_accumulators[1], start, rightOutput.first(samples));
    }
}
