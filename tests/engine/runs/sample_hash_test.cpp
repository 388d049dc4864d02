#include "engine/runs/sample_hash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(SampleHash, TellsSignalsOfTheSameLengthApart)
{
    std::vector<double> signal(1001);
    for (std::size_t i = 0; i < signal.size(); ++i)
    {
        signal[i] = std::sin(0.01 * static_cast<double>(i));
    }
    const std::uint64_t hash = HashSamples(signal);
    EXPECT_EQ(HashSamples(std::vector<double>(signal)), hash);

    // One changed sample in each lane and in the tail, the last bit of a
    // mantissa, a sign of zero, and a shorter signal each change the hash.
    for (std::size_t index : {0u, 1u, 2u, 3u, 500u, 1000u})
    {
        std::vector<double> changed = signal;
        changed[index] = std::nextafter(changed[index], 2.0);
        EXPECT_NE(HashSamples(changed), hash) << "sample " << index;
    }
    EXPECT_NE(HashSamples(std::vector<double>{0.0}), HashSamples(std::vector<double>{-0.0}));
    EXPECT_NE(HashSamples(std::span<const double>(signal).first(1000)), hash);
    EXPECT_NE(HashSamples(std::vector<double>(8, 0.0)), HashSamples(std::vector<double>(10, 0.0)));
}
