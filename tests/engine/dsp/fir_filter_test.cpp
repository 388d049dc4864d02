#include "engine/dsp/fir_filter.h"

#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

// The textbook sum, aligned on the centre tap as FastConvolve promises.
std::vector<double> DirectConvolve(const std::vector<double>& x, const std::vector<double>& h)
{
    const auto length = static_cast<std::ptrdiff_t>(x.size());
    const auto centre = static_cast<std::ptrdiff_t>(h.size() / 2);
    std::vector<double> y(x.size(), 0.0);
    for (std::ptrdiff_t j = 0; j < length; ++j)
    {
        long double sum = 0.0L;
        for (std::ptrdiff_t k = 0; k < static_cast<std::ptrdiff_t>(h.size()); ++k)
        {
            const std::ptrdiff_t i = j + centre - k;
            if (i >= 0 && i < length)
            {
                sum += static_cast<long double>(h[k]) * x[i];
            }
        }
        y[j] = static_cast<double>(sum);
    }
    return y;
}

TEST(FastConvolve, ACentredUnitFilterReturnsTheSignal)
{
    const std::vector<double> y =
        FastConvolve(std::vector<double>{1, 2, 3}, std::vector<double>{0, 1, 0});
    ASSERT_EQ(y.size(), 3u);
    for (int j = 0; j < 3; ++j)
    {
        EXPECT_NEAR(y[j], j + 1.0, 1e-12) << "the output is not aligned on the centre tap";
    }
    EXPECT_TRUE(FastConvolve({}, std::vector<double>{0, 1, 0}).empty());
}

struct SizeCase
{
    std::size_t signalLength;
    std::size_t filterLength;
};

class FastConvolveSizes : public testing::TestWithParam<SizeCase>
{
};

TEST_P(FastConvolveSizes, EqualsTheDirectSum)
{
    const SizeCase c = GetParam();
    const std::vector<double> x = Noise(c.signalLength, 1.0, 1);
    const std::vector<double> h = Noise(c.filterLength, 1.0, 2);
    const std::vector<double> fast = FastConvolve(x, h);
    const std::vector<double> direct = DirectConvolve(x, h);
    ASSERT_EQ(fast.size(), x.size());
    double worst = 0.0;
    for (std::size_t j = 0; j < x.size(); ++j)
    {
        worst = std::max(worst, std::abs(fast[j] - direct[j]));
    }
    EXPECT_LT(worst, 1e-9) << "block convolution strays from the direct sum";
}

TEST_P(FastConvolveSizes, FilteringInPlaceBlockByBlockGivesTheSameSignal)
{
    const SizeCase c = GetParam();
    const std::vector<double> x = Noise(c.signalLength, 1.0, 1);
    const std::vector<double> h = Noise(c.filterLength, 1.0, 2);
    std::vector<double> inPlace = x;
    std::size_t next = 0;
    FastConvolveBlocks(inPlace, h,
                       [&](std::size_t first, std::span<const double> filtered)
                       {
                           ASSERT_EQ(first, next) << "blocks must arrive in order, without gaps";
                           std::copy(filtered.begin(), filtered.end(), inPlace.begin() + first);
                           next += filtered.size();
                       });
    EXPECT_EQ(next, x.size());
    EXPECT_EQ(inPlace, FastConvolve(x, h))
        << "overwriting the input as blocks arrive changed what later blocks read";
}

INSTANTIATE_TEST_SUITE_P(Blocks, FastConvolveSizes,
                         testing::Values(SizeCase{100000, 1000}, // two block pairs, even filter
                                         SizeCase{80000,
                                                  1001},      // an odd number of blocks, odd filter
                                         SizeCase{100, 4096}, // a signal shorter than the filter
                                         SizeCase{7, 0},      // no filter at all: silence
                                         SizeCase{7, 1}),
                         [](const testing::TestParamInfo<SizeCase>& info)
                         {
                             return std::to_string(info.param.signalLength) + "_by_" +
                                    std::to_string(info.param.filterLength);
                         });

TEST(DesignFirFromCurve, AFlatCurveGivesOneWindowedTapAtTheCentre)
{
    const int n = 4096;
    const std::vector<double> taps = DesignFirFromCurve(std::vector<double>(n / 2 + 1, 1.0), n);
    ASSERT_EQ(taps.size(), static_cast<std::size_t>(n));
    const double pi = std::acos(-1.0);
    const double hannAtCentre = 0.5 - 0.5 * std::cos(2.0 * pi * (n / 2) / (n - 1));
    EXPECT_NEAR(taps[n / 2], hannAtCentre, 1e-12);
    EXPECT_LT(taps[n / 2], 1.0);
    for (int k = 0; k < n; ++k)
    {
        if (k != n / 2)
        {
            ASSERT_NEAR(taps[k], 0.0, 1e-12) << "tap " << k;
        }
    }
}

TEST(DesignFirFromCurve, RefusesACurveOfTheWrongSize)
{
    EXPECT_THROW(DesignFirFromCurve(std::vector<double>(5, 1.0), 16), std::invalid_argument);
    EXPECT_THROW(DesignFirFromCurve(std::vector<double>(7, 1.0), 12), std::invalid_argument);
}

} // namespace
