#include "engine/dsp/zero_phase_one_pole.h"

#include <array>
#include <cmath>

namespace
{

// Odd-mirrored samples added at each end before filtering.
constexpr size_t kEdgeExtension = 3;
constexpr size_t kShortestExtended = 8;
// A state this small is silence to any caller (far below the rounding of a
// gain near 1); it is flushed to zero every few samples so that a decay to
// silence stops there instead of crawling through the subnormal numbers,
// where every step costs a hundred times more.
constexpr double kTailFlushLevel = 1e-30;
constexpr size_t kTailCheckSamples = 64;

// One step of the filter; z carries its state.
struct OnePoleStep
{
    double b0;
    double b1;
    double a1;
    double z = 0.0;

    double operator()(double in)
    {
        const double out = b0 * in + z;
        const double feedForward = b1 * in;
        // Subtracting a zero feed-forward term (b1 = 0, finite input) changes
        // nothing, so it is left out of the recursion's critical path.
        if (feedForward == 0.0) [[likely]]
        {
            z = -a1 * out;
        }
        else
        {
            z = feedForward - a1 * out;
        }
        return out;
    }

    // Called with a running count, so the test stays out of the recursion.
    void FlushTail(size_t count)
    {
        if (count % kTailCheckSamples == 0 && std::fabs(z) < kTailFlushLevel)
        {
            z = 0.0;
        }
    }
};

} // namespace

void ZeroPhaseOnePoleInPlace(std::span<double> x, double b0, double b1, double a1)
{
    const size_t n = x.size();
    if (n == 0)
    {
        return;
    }
    const double zi = std::fabs(1.0 + a1) < 1e-18 ? 0.0 : (b1 - b0 * a1) / (1.0 + a1);
    OnePoleStep step{b0, b1, a1};

    if (n < kShortestExtended)
    {
        step.z = zi * x[0];
        for (double& value : x)
        {
            value = step(value);
        }
        step.z = zi * x[n - 1];
        for (size_t i = n; i-- > 0;)
        {
            x[i] = step(x[i]);
        }
        return;
    }

    // The extension, in the order the forward pass meets it: before the signal
    // 2x0 - x3, 2x0 - x2, 2x0 - x1; after it 2xn-1 - xn-2, 2xn-1 - xn-3, 2xn-1 - xn-4.
    std::array<double, kEdgeExtension> head{};
    std::array<double, kEdgeExtension> tail{};
    for (size_t k = 0; k < kEdgeExtension; ++k)
    {
        head[k] = 2.0 * x[0] - x[kEdgeExtension - k];
        tail[k] = 2.0 * x[n - 1] - x[n - 2 - k];
    }

    step.z = zi * head[0];
    for (const double value : head)
    {
        step(value);
    }
    for (size_t i = 0; i < n; ++i)
    {
        x[i] = step(x[i]);
        step.FlushTail(i);
    }
    for (double& value : tail)
    {
        value = step(value);
    }

    // Backwards from the far end of the extension; the head's outputs are not needed.
    step.z = zi * tail[kEdgeExtension - 1];
    for (size_t k = kEdgeExtension; k-- > 0;)
    {
        step(tail[k]);
    }
    for (size_t i = n; i-- > 0;)
    {
        x[i] = step(x[i]);
        step.FlushTail(i);
    }
}

std::vector<double> ZeroPhaseOnePole(std::span<const double> x, double b0, double b1, double a1)
{
    std::vector<double> y(x.begin(), x.end());
    ZeroPhaseOnePoleInPlace(y, b0, b1, a1);
    return y;
}
