#include "controls/graphs/curve_smoothing.h"

#include <algorithm>
#include <cstdlib>

namespace
{

constexpr long kHalfWidth = 4;

} // namespace

std::vector<double> SmoothCurveTriangular(const std::vector<double>& in)
{
    const long n = static_cast<long>(in.size());
    if (n < 3)
    {
        return in;
    }
    std::vector<double> out(in.size());
    for (long i = 0; i < n; ++i)
    {
        double sum = 0.0;
        double weights = 0.0;
        for (long j = std::max(0L, i - kHalfWidth); j <= std::min(n - 1, i + kHalfWidth); ++j)
        {
            const double weight = double(kHalfWidth + 1 - std::labs(i - j));
            sum += weight * in[j];
            weights += weight;
        }
        out[i] = weights > 0.0 ? sum / weights : in[i];
    }
    return out;
}
