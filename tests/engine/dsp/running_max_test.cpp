#include "engine/dsp/running_max.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{

std::vector<double> BruteWindowMax(const std::vector<double>& x, size_t before, size_t after,
                                   double outside)
{
    const long n = static_cast<long>(x.size());
    std::vector<double> out(x.size());
    for (long i = 0; i < n; ++i)
    {
        double largest = -1e300;
        for (long j = i - static_cast<long>(before); j <= i + static_cast<long>(after); ++j)
        {
            largest = std::max(largest, j < 0 || j >= n ? outside : x[static_cast<size_t>(j)]);
        }
        out[static_cast<size_t>(i)] = largest;
    }
    return out;
}

} // namespace

TEST(RunningMax, ExamplesLookBackAndAhead)
{
    const std::vector<double> x{1, 3, 2, 5, 4};
    EXPECT_EQ(RunningMax(x, 2), (std::vector<double>{1, 3, 3, 5, 5}));
    EXPECT_EQ(FutureMax(x, 2), (std::vector<double>{3, 3, 5, 5, 4}));
    EXPECT_EQ(RunningMax(x, 1), x);
    EXPECT_TRUE(FutureMax({}, 5).empty());
}

TEST(RunningMax, QueueAgreesWithTheDefinitionOnRandomSignals)
{
    struct Case
    {
        size_t length;
        size_t before;
        size_t after;
    };
    // Windows shorter, equal to and longer than the signal, one-sided and centred.
    const Case cases[] = {{1, 0, 0},    {2, 1, 1},   {50, 3, 0},  {50, 0, 7},  {50, 48, 48},
                          {20, 40, 40}, {20, 0, 19}, {20, 19, 0}, {200, 5, 11}};
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (const Case& c : cases)
    {
        std::vector<double> x(c.length);
        for (double& value : x)
        {
            // Repeated values exercise the ties of the queue.
            value = std::round(unit(random) * 4.0);
        }
        const double none = -1e300;
        EXPECT_EQ(WindowMax(x, c.before, c.after), BruteWindowMax(x, c.before, c.after, none))
            << "window max wrong for length " << c.length << " before " << c.before << " after "
            << c.after;
        EXPECT_EQ(FutureMax(x, c.after + 1), BruteWindowMax(x, 0, c.after, none));
        EXPECT_EQ(RunningMax(x, c.before + 1), BruteWindowMax(x, c.before, 0, none));
        // Before the start the sliding window reads zeros.
        EXPECT_EQ(SlidingMax(x, c.before + 1), BruteWindowMax(x, c.before, 0, 0.0));
    }
}

TEST(RunningMax, BlockMethodAgreesWithTheDefinition)
{
    struct Case
    {
        size_t signal;
        size_t length;
        size_t outputs; // only the first ones wanted
    };
    // Windows of one, shorter than, dividing, equal to and longer than the signal.
    const Case cases[] = {{1, 1, 1},    {7, 1, 7},   {50, 3, 50}, {50, 5, 50},   {50, 50, 50},
                          {20, 40, 20}, {97, 8, 90}, {97, 8, 0},  {300, 17, 283}};
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Case& c : cases)
    {
        std::vector<double> x(c.signal);
        for (double& value : x)
        {
            value = std::round(unit(random) * 6.0);
        }
        std::vector<double> out(c.outputs, -1.0);
        BlockWindowMax(x, c.length, out);
        std::vector<double> expected = BruteWindowMax(x, 0, c.length - 1, -1e300);
        expected.resize(c.outputs);
        EXPECT_EQ(out, expected) << "signal " << c.signal << ", window " << c.length;
    }
}
