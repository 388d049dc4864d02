#include "engine/dsp/band_split.h"

#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace
{

double Rms(const std::vector<double>& x, size_t from)
{
    double sum = 0.0;
    for (size_t i = from; i < x.size(); ++i)
    {
        sum += x[i] * x[i];
    }
    return std::sqrt(sum / static_cast<double>(x.size() - from));
}

} // namespace

TEST(SplitIntoBands, CrossoversAreLogSpacedBetween80HzAndTheTop)
{
    struct Case
    {
        int sampleRate;
        int bands;
        std::vector<double> crossoversHz;
    };
    const Case cases[] = {
        {48000, 3, {467.8, 2736.0}},
        {44100, 3, {467.8, 2736.0}},
        {48000, 6, {193.5, 467.8, 1131.4, 2736.0, 6616.3}},
        // At 16 kHz the top is 90 % of Nyquist, 7.2 kHz.
        {16000, 2, {80.0 * std::sqrt(7200.0 / 80.0)}},
    };
    for (const Case& c : cases)
    {
        for (size_t j = 0; j < c.crossoversHz.size(); ++j)
        {
            EXPECT_NEAR(BandCrossoverHz(c.sampleRate, c.bands, static_cast<int>(j) + 1),
                        c.crossoversHz[j], 0.05)
                << c.bands << " bands at " << c.sampleRate << " Hz, crossover " << j + 1;
        }
    }
}

TEST(SplitIntoBands, BandsAddUpToTheSignal)
{
    const std::vector<double> x = Noise(4800, 0.9, 11);
    for (const int bands : {1, 3, 6, 8})
    {
        const auto split = SplitIntoBands(x, 48000, bands);
        ASSERT_EQ(split.size(), static_cast<size_t>(bands));
        for (size_t i = 0; i < x.size(); ++i)
        {
            double sum = 0.0;
            for (const auto& band : split)
            {
                ASSERT_EQ(band.size(), x.size());
                sum += band[i];
            }
            ASSERT_NEAR(sum, x[i], 1e-14) << bands << " bands do not add up at sample " << i;
        }
    }
    EXPECT_EQ(SplitIntoBands(x, 48000, 0).front(), x) << "fewer than one band is one band";
    EXPECT_TRUE(SplitIntoBands({}, 48000, 3).front().empty());
}

TEST(SplitIntoBands, ToneLandsInItsOwnBand)
{
    // 3 bands at 48 kHz cross over at 468 Hz and 2736 Hz: 100 Hz belongs to
    // the lowest band, 1.1 kHz to the middle one, 10 kHz to the top one.
    const double tonesHz[] = {100.0, 1100.0, 10000.0};
    for (size_t expected = 0; expected < 3; ++expected)
    {
        const std::vector<double> x = Sine(tonesHz[expected], 48000, 48000, 1.0);
        const auto split = SplitIntoBands(x, 48000, 3);
        for (size_t band = 0; band < 3; ++band)
        {
            if (band != expected)
            {
                EXPECT_LT(Rms(split[band], 4800), Rms(split[expected], 4800))
                    << tonesHz[expected] << " Hz is loudest in the wrong band";
            }
        }
    }
}

TEST(SplitIntoBands, RateOfZeroIsRefused)
{
    EXPECT_THROW(SplitIntoBands(Noise(10, 0.9, 1), 0, 3), std::runtime_error);
}
