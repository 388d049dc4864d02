#include "engine/zero_phase_one_pole.h"

#include <algorithm>
#include <cmath>

namespace
{

// Odd-mirrored samples added at each end before filtering.
constexpr size_t kEdgeExtension = 3;
constexpr size_t kShortestExtended = 8;

void FilterForwards(std::span<double> y, double b0, double b1, double a1, double zi)
{
    if (y.empty())
    {
        return;
    }
    double z = zi * y[0];
    for (double& value : y)
    {
        const double in = value;
        value = b0 * in + z;
        z = b1 * in - a1 * value;
    }
}

} // namespace

std::vector<double> ZeroPhaseOnePole(std::span<const double> x, double b0, double b1, double a1)
{
    const double zi = std::fabs(1.0 + a1) < 1e-18 ? 0.0 : (b1 - b0 * a1) / (1.0 + a1);
    const size_t n = x.size();
    const size_t pad = n >= kShortestExtended ? kEdgeExtension : 0;

    std::vector<double> work(n + 2 * pad);
    for (size_t k = 0; k < pad; ++k)
    {
        // work[pad - 1 - k] mirrors x[k + 1] through x[0]; likewise at the end.
        work[pad - 1 - k] = 2.0 * x[0] - x[k + 1];
        work[pad + n + k] = 2.0 * x[n - 1] - x[n - 2 - k];
    }
    std::copy(x.begin(), x.end(), work.begin() + static_cast<std::ptrdiff_t>(pad));

    FilterForwards(work, b0, b1, a1, zi);
    std::reverse(work.begin(), work.end());
    FilterForwards(work, b0, b1, a1, zi);
    std::reverse(work.begin(), work.end());

    work.erase(work.end() - static_cast<std::ptrdiff_t>(pad), work.end());
    work.erase(work.begin(), work.begin() + static_cast<std::ptrdiff_t>(pad));
    return work;
}
