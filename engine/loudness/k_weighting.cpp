#include "engine/loudness/k_weighting.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace
{

// K-filter high shelf: about +4 dB above about 1.68 kHz.
constexpr double kShelfGainExponent = 0.09999609634925; // A = 10^(G/40), G = 3.99984 dB
constexpr double kShelfAngularHz = 10568.157157295256;  // 2 pi x 1681.974450955533 Hz
constexpr double kShelfTwoQ = 1.4143504739108392;       // 2 Q, Q = 0.7071752369554196

// K-filter high-pass (RLB weighting) at about 38 Hz.
constexpr double kHighPassAngularHz = 239.6122302906118; // 2 pi x 38.13547087602444 Hz
constexpr double kHighPassTwoQ = 1.0006540746477546;     // 2 Q, Q = 0.5003270373238773

BiquadCoefficients Normalised(double b0, double b1, double b2, double a0, double a1, double a2)
{
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

// Direct form I memory of one section.
struct BiquadMemory
{
    double x1 = 0.0;
    double x2 = 0.0;
    double y1 = 0.0;
    double y2 = 0.0;
};

double StepBiquad(const BiquadCoefficients& c, BiquadMemory& m, double x0)
{
    const double y0 = c.b0 * x0 + c.b1 * m.x1 + c.b2 * m.x2 - c.a1 * m.y1 - c.a2 * m.y2;
    m.x2 = m.x1;
    m.x1 = x0;
    m.y2 = m.y1;
    m.y1 = y0;
    return y0;
}

// A tail decaying in silence would sink into subnormal numbers, which are slow
// on x86. The feedback memory is cleared once it falls under this level (far
// below any loudness gate), checked every few frames to keep the test out of
// the recursion; the tail takes thousands of frames to get from here to the
// subnormal range.
constexpr double kTailFlushLevel = 1e-30;
constexpr size_t kTailCheckFrames = 64;

void FlushTail(BiquadMemory& m)
{
    if (std::abs(m.y1) < kTailFlushLevel && std::abs(m.y2) < kTailFlushLevel)
    {
        m.y1 = 0.0;
        m.y2 = 0.0;
    }
}

// The shelf and the high-pass in series, one sample at a time.
class KWeightingFilter
{
public:
    explicit KWeightingFilter(int sampleRate)
        : m_shelf(KWeightShelfCoefficients(CheckedRate(sampleRate))),
          m_highPass(KWeightHighPassCoefficients(sampleRate))
    {
    }

    double Step(double x)
    {
        return StepBiquad(m_highPass, m_highPassMemory, StepBiquad(m_shelf, m_shelfMemory, x));
    }

    void FlushTinyTail()
    {
        FlushTail(m_shelfMemory);
        FlushTail(m_highPassMemory);
    }

private:
    static int CheckedRate(int sampleRate)
    {
        if (sampleRate < 1)
        {
            throw std::invalid_argument("K-weighting needs a sample rate above 0 Hz");
        }
        return sampleRate;
    }

    BiquadCoefficients m_shelf;
    BiquadCoefficients m_highPass;
    BiquadMemory m_shelfMemory;
    BiquadMemory m_highPassMemory;
};

// Calls perFrame(i) for every frame in runs of kTailCheckFrames, flushing the
// filters' tails between runs.
template <typename PerFrame>
void RunFrames(size_t frames, std::initializer_list<KWeightingFilter*> filters, PerFrame perFrame)
{
    for (size_t start = 0; start < frames; start += kTailCheckFrames)
    {
        const size_t end = std::min(frames, start + kTailCheckFrames);
        for (size_t i = start; i < end; ++i)
        {
            perFrame(i);
        }
        for (KWeightingFilter* filter : filters)
        {
            filter->FlushTinyTail();
        }
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
    KWeightingFilter filter(sampleRate);
    RunFrames(channel.size(), {&filter}, [&](size_t i) { channel[i] = filter.Step(channel[i]); });
    return channel;
}

void KWeightedCumulativeSquares(std::span<const double> interleaved, int sampleRate,
                                std::vector<double>& leftSums, std::vector<double>& rightSums)
{
    KWeightingFilter left(sampleRate);
    KWeightingFilter right(sampleRate);
    const size_t frames = interleaved.size() / 2;
    leftSums.clear();
    rightSums.clear();
    leftSums.reserve(frames + 1);
    rightSums.reserve(frames + 1);
    leftSums.push_back(0.0);
    rightSums.push_back(0.0);
    double leftSum = 0.0;
    double rightSum = 0.0;
    // Both channels in one loop: their recursions are independent, so the
    // processor overlaps them.
    RunFrames(frames, {&left, &right},
              [&](size_t i)
              {
                  const double l = left.Step(interleaved[2 * i]);
                  const double r = right.Step(interleaved[2 * i + 1]);
                  leftSum += l * l;
                  rightSum += r * r;
                  leftSums.push_back(leftSum);
                  rightSums.push_back(rightSum);
              });
}
