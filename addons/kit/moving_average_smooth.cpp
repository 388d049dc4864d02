#include "addons/kit/moving_average_smooth.h"

#include "addons/kit/clamp_range.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

int SmoothingRadius(double smoothingBins)
{
    // Parameters reach here within their table's range; the clamp keeps the
    // conversion defined for any other caller (a NaN gives 0).
    const double bins = ClampToRange(smoothingBins, 0.0, 1e6);
    return static_cast<int>(std::lround(bins));
}

void MovingAverageSmooth(std::vector<double>& values, int radius, std::vector<double>& prefix)
{
    if (radius < 1 || values.empty())
    {
        return;
    }
    const std::size_t count = values.size();
    prefix.resize(count + 1);
    prefix[0] = 0.0;
    for (std::size_t i = 0; i < count; ++i)
    {
        prefix[i + 1] = prefix[i] + values[i];
    }
    const std::size_t r = static_cast<std::size_t>(radius);
    for (std::size_t i = 0; i < count; ++i)
    {
        const std::size_t first = i > r ? i - r : 0;
        const std::size_t last = std::min(count - 1, i + r);
        values[i] = (prefix[last + 1] - prefix[first]) / static_cast<double>(last - first + 1);
    }
}

void MovingAverageSmooth(std::vector<double>& values, int radius)
{
    std::vector<double> prefix;
    MovingAverageSmooth(values, radius, prefix);
}
