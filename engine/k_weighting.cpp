#include "engine/k_weighting.h"

#include <cmath>
#include <stdexcept>

namespace
{

// K-filter high shelf: about +4 dB above about 1.68 kHz.
constexpr double kShelfGainExponent = 0.09999609634925; // A = 10^(G/40), G = 3.99984 dB
constexpr double kShelfAngularHz = 10568.157157295256; // 2 pi x 1681.974450955533 Hz
constexpr double kShelfTwoQ = 1.4143504739108392;      // 2 Q, Q = 0.7071752369554196

// K-filter high-pass (RLB weighting) at about 38 Hz.
constexpr double kHighPassAngularHz = 239.6122302906118; // 2 pi x 38.13547087602444 Hz
constexpr double kHighPassTwoQ = 1.0006540746477546;     // 2 Q, Q = 0.5003270373238773

// Added and taken away again after every output so that a decaying tail rounds
// to exact zero instead of dwelling among the subnormal numbers, which are
// slow on x86; values this small are far below any loudness gate.
constexpr double kDenormalGuard = 1e-18;

BiquadCoefficients Normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

void RunBiquad(const BiquadCoefficients& c, std::vector<double>& samples)
{
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (double& sample : samples)
    {
        const double x0 = sample;
        double y0 = c.b0 * x0 + c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
        y0 = (y0 + kDenormalGuard) - kDenormalGuard;
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
        sample = y0;
    }
}

} // namespace

BiquadCoefficients KWeightShelfCoefficients(double sampleRate)
{
    const double a = std::pow(10.0, kShelfGainExponent);
    const double w0 = kShelfAngularHz / sampleRate;
    const double cosW = std::cos(w0);
    const double alpha = std::sin(w0) / kShelfTwoQ;
    const double twoSqrtAAlpha = 2.0 * std::sqrt(a) * alpha;
    return Normalised(a * ((a + 1.0) + (a - 1.0) * cosW + twoSqrtAAlpha),
                      -2.0 * a * ((a - 1.0) + (a + 1.0) * cosW),
                      a * ((a + 1.0) + (a - 1.0) * cosW - twoSqrtAAlpha),
                      (a + 1.0) - (a - 1.0) * cosW + twoSqrtAAlpha,
                      2.0 * ((a - 1.0) - (a + 1.0) * cosW),
                      (a + 1.0) - (a - 1.0) * cosW - twoSqrtAAlpha);
}

BiquadCoefficients KWeightHighPassCoefficients(double sampleRate)
{
    const double w0 = kHighPassAngularHz / sampleRate;
    const double cosW = std::cos(w0);
    const double alpha = std::sin(w0) / kHighPassTwoQ;
    return Normalised((1.0 + cosW) / 2.0, -(1.0 + cosW), (1.0 + cosW) / 2.0, 1.0 + alpha,
                      -2.0 * cosW, 1.0 - alpha);
}

std::vector<double> KWeightChannel(std::vector<double> channel, int sampleRate)
{
    if (sampleRate < 1)
    {
        throw std::invalid_argument("K-weighting needs a sample rate above 0 Hz");
    }
    RunBiquad(KWeightShelfCoefficients(sampleRate), channel);
    RunBiquad(KWeightHighPassCoefficients(sampleRate), channel);
    return channel;
}
