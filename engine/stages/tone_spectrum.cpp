#include "engine/stages/tone_spectrum.h"

#include "engine/decibels.h"
#include "engine/dsp/fft.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace
{

bool IsPowerOfTwo(int n)
{
    return n >= 2 && (n & (n - 1)) == 0;
}

// Adds the magnitude spectra of two real frames (b may be absent) to sum, from
// one complex transform of a + i*b: with Z = FFT(a + i*b), A[k] = (Z[k] +
// conj Z[n-k]) / 2 and B[k] = (Z[k] - conj Z[n-k]) / 2i.
void AddFrameMagnitudes(const double* a, const double* b, std::vector<std::complex<double>>& work,
                        std::vector<double>& sum)
{
    const std::size_t n = work.size();
    for (std::size_t t = 0; t < n; ++t)
    {
        work[t] = {a[t], b != nullptr ? b[t] : 0.0};
    }
    Fft(work, false);
    // sqrt of the sum of squares, not hypot: these magnitudes are far from
    // overflow, and hypot's care would cost a large share of the analysis.
    for (std::size_t k = 0; k <= n / 2; ++k)
    {
        const std::complex<double> z = work[k];
        const std::complex<double> mirror = std::conj(work[(n - k) % n]);
        const std::complex<double> twiceA = z + mirror;
        sum[k] += 0.5 * std::sqrt(twiceA.real() * twiceA.real() + twiceA.imag() * twiceA.imag());
        if (b != nullptr)
        {
            const std::complex<double> twiceB = z - mirror;
            sum[k] +=
                0.5 * std::sqrt(twiceB.real() * twiceB.real() + twiceB.imag() * twiceB.imag());
        }
    }
}

// The A-weighting magnitude response (IEC 61672), constants as the squares of
// its pole frequencies in Hz.
double AWeighting(double frequencyHz)
{
    const double q = frequencyHz * frequencyHz;
    const double numerator = 12194.0 * 12194.0 * q * q;
    const double denominator = std::sqrt((q + 737.9 * 737.9) * (q + 107.7 * 107.7)) *
                               (q + 20.6 * 20.6) * (q + 12194.0 * 12194.0);
    return numerator / denominator;
}

} // namespace

std::vector<double> AverageSpectrum(std::span<const double> signal, int pieceCount, int pieceLength,
                                    int fftSize)
{
    if (fftSize < 2)
    {
        return {};
    }
    const std::size_t n = static_cast<std::size_t>(fftSize);
    std::vector<double> sum(n / 2 + 1, 0.0);
    if (!IsPowerOfTwo(fftSize) || pieceCount <= 0 || pieceLength <= 0)
    {
        return sum;
    }
    const std::size_t length = static_cast<std::size_t>(pieceLength);
    const std::size_t pieces =
        std::min(static_cast<std::size_t>(pieceCount), signal.size() / length);
    const std::size_t framesPerPiece = length / n;

    std::vector<const double*> frames;
    frames.reserve(pieces * framesPerPiece);
    for (std::size_t p = 0; p < pieces; ++p)
    {
        for (std::size_t j = 0; j < framesPerPiece; ++j)
        {
            frames.push_back(signal.data() + p * length + j * n);
        }
    }
    if (frames.empty())
    {
        return sum;
    }

    std::vector<std::complex<double>> work(n);
    for (std::size_t f = 0; f < frames.size(); f += 2)
    {
        const double* second = f + 1 < frames.size() ? frames[f + 1] : nullptr;
        AddFrameMagnitudes(frames[f], second, work, sum);
    }
    for (double& bin : sum)
    {
        bin /= static_cast<double>(frames.size());
    }
    return sum;
}

std::vector<double> SmoothSpectrum(const std::vector<double>& curve, int sampleRate, int fftSize,
                                   int denominator, double floor)
{
    const int half = fftSize / 2;
    if (denominator < 1 || half < 2 || sampleRate <= 0 ||
        curve.size() != static_cast<std::size_t>(half) + 1)
    {
        return curve;
    }
    const std::size_t h = static_cast<std::size_t>(half);
    std::vector<double> frequencyHz(h + 1);
    std::vector<double> logCurve(h + 1, 0.0);
    std::vector<double> octaveOfBin(h + 1, 0.0); // log2 of the bin index
    for (std::size_t k = 1; k <= h; ++k)
    {
        frequencyHz[k] = static_cast<double>(k) * sampleRate / fftSize;
        logCurve[k] = std::log(FloorLevel(curve[k], floor));
        octaveOfBin[k] = std::log2(static_cast<double>(k));
    }

    const double halfWidthOctaves = 0.5 / denominator;
    // The window spans about two standard deviations each side.
    const double sigma = std::max(halfWidthOctaves / 2.0, 1e-6);
    const double g = 1.0 / (2.0 * sigma * sigma);
    const double lowRatio = std::exp2(-halfWidthOctaves);
    const double highRatio = std::exp2(halfWidthOctaves);

    std::vector<double> result(h + 1);
    result[0] = 0.0;
    result[1] = curve[1];
    const auto binsBegin = frequencyHz.begin() + 1;
    const auto binsEnd = frequencyHz.end();
    for (std::size_t i = 2; i <= h; ++i)
    {
        const double centreHz = frequencyHz[i];
        std::size_t a =
            std::lower_bound(binsBegin, binsEnd, lowRatio * centreHz) - frequencyHz.begin();
        std::size_t b =
            std::upper_bound(binsBegin, binsEnd, highRatio * centreHz) - frequencyHz.begin() - 1;
        a = std::clamp<std::size_t>(a, 1, h);
        b = std::clamp<std::size_t>(b, 1, h);
        b = std::max(a, b);
        double weightSum = 0.0;
        double weightedLogSum = 0.0;
        for (std::size_t k = a; k <= b; ++k)
        {
            const double octaves = octaveOfBin[k] - octaveOfBin[i];
            const double w = std::exp(-octaves * octaves * g);
            weightSum += w;
            weightedLogSum += w * logCurve[k];
        }
        result[i] = weightSum > 0.0 ? std::exp(weightedLogSum / weightSum) : curve[i];
    }
    return result;
}

void PsychoacousticExponent(std::vector<double>& curve, int sampleRate, int fftSize, double floor)
{
    if (fftSize < 2)
    {
        return;
    }
    const std::size_t m = std::min(static_cast<std::size_t>(fftSize) / 2 + 1, curve.size());
    // Below 20 Hz A-weighting is not defined for this purpose; hold its value there.
    constexpr double kLowestWeightedHz = 20.0;
    // A-weighting is normalised to 0 dB at 1 kHz by this offset (IEC 61672).
    constexpr double kAWeightingOffsetDb = 2.0;
    // The levels between which the exponent moves from its least to its full value.
    constexpr double kQuietestDb = -20.0;
    constexpr double kRangeDb = 22.0;
    constexpr double kLeastExponent = 0.35;
    for (std::size_t k = 1; k < m; ++k)
    {
        const double frequencyHz =
            std::max(static_cast<double>(k) * sampleRate / fftSize, kLowestWeightedHz);
        const double weightDb =
            20.0 * std::log10(std::max(AWeighting(frequencyHz), 1e-30)) + kAWeightingOffsetDb;
        const double t = std::clamp((weightDb - kQuietestDb) / kRangeDb, 0.0, 1.0);
        const double exponent = kLeastExponent + (1.0 - kLeastExponent) * t;
        curve[k] = std::pow(FloorLevel(curve[k], floor), exponent);
    }
}

double SpectralDistance(const std::vector<double>& a, const std::vector<double>& b, double floor)
{
    if (a.size() != b.size() || a.empty())
    {
        return 0.0;
    }
    double sumOfSquares = 0.0;
    for (std::size_t k = 0; k < a.size(); ++k)
    {
        const double differenceDb =
            GainToDb(FloorLevel(a[k], floor), floor) - GainToDb(FloorLevel(b[k], floor), floor);
        sumOfSquares += differenceDb * differenceDb;
    }
    return std::sqrt(sumOfSquares / static_cast<double>(a.size()));
}
