#include "addons/kit/bin_gain_pass.h"

#include "addons/kit/spectral_frame.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

class BinGainPassAtRate : public ::testing::TestWithParam<int>
{
};

constexpr std::size_t kN = 4096;

} // namespace

// A bin-centred sine of amplitude A reads A * N / 4 in its bin, and the bin's
// envelope settles there; the law sees the band's bins only, and the gain it
// gives reaches the track, with the make-up on top.
TEST_P(BinGainPassAtRate, EnvelopesSettleOnTheBinMagnitudeAndGainsReachTheTrack)
{
    const int rate = GetParam();
    const std::size_t bin = 200;
    const double frequency = static_cast<double>(bin) * rate / static_cast<double>(kN);
    const std::vector<double> sine = Sine(frequency, rate, FramesIn(1.0, rate), 0.5);
    const BinGainPassSettings settings{.attackMs = 5.0,
                                       .releaseMs = 50.0,
                                       .lowHz = 100.0,
                                       .highHz = 10000.0,
                                       .smoothingBins = 0.0,
                                       .makeup = 2.0};
    const std::size_t lowest = static_cast<std::size_t>(std::ceil(100.0 * kN / rate));
    std::vector<double> samples = sine;
    // The law is asked once per band bin and frame, in bin order; the sine's
    // bin is the (bin - lowest)th of each frame.
    const std::size_t bandSize =
        static_cast<std::size_t>(std::floor(10000.0 * kN / rate)) - lowest + 1;
    std::size_t calls = 0;
    double settledEnvelope = 0.0;
    RunBinGainPass(samples, rate, settings,
                   [&](double envelope)
                   {
                       if (calls++ == 20 * bandSize + (bin - lowest)) // well inside the track
                       {
                           settledEnvelope = envelope;
                       }
                       return 0.25;
                   });
    EXPECT_EQ(calls, bandSize * SpectralFrameCount(sine.size(), kN));
    EXPECT_NEAR(settledEnvelope, 0.5 * kN / 4.0, 1e-6 * kN);
    // Inside the band: 0.25 times the make-up of 2.
    const std::size_t settled = FramesIn(0.3, rate);
    for (std::size_t i = settled; i + settled < sine.size(); ++i)
    {
        ASSERT_NEAR(samples[i], 0.5 * sine[i], 1e-9) << i;
    }
}

// Bins outside the band keep unity before the make-up, and the smoother
// spreads the band's gains only a radius beyond its edges.
TEST_P(BinGainPassAtRate, BinsOutsideTheBandKeepUnityExceptForTheSmoothersSpread)
{
    const int rate = GetParam();
    const double spacing = static_cast<double>(rate) / kN;
    const double lowHz = 400.0;
    const double highHz = 4000.0;
    // Bin-centred tones well away from the band, at its edge, and in it.
    const std::size_t lowest = static_cast<std::size_t>(std::ceil(lowHz / spacing));
    const std::size_t highest = static_cast<std::size_t>(std::floor(highHz / spacing));
    struct Tone
    {
        std::size_t bin;
        double expectedGain; // smoothing radius 2, band gains 0
    };
    const Tone tones[] = {
        {lowest - 10, 1.0},
        {highest + 10, 1.0},
        {lowest + 20, 0.0},
        // Two bins below the band: one band gain of 0 in its mean of five.
        {lowest - 2, 0.8},
    };
    for (const Tone& tone : tones)
    {
        const double frequency = static_cast<double>(tone.bin) * spacing;
        const std::vector<double> sine = Sine(frequency, rate, FramesIn(1.0, rate), 0.5);
        std::vector<double> samples = sine;
        RunBinGainPass(samples, rate,
                       {.attackMs = 5.0,
                        .releaseMs = 50.0,
                        .lowHz = lowHz,
                        .highHz = highHz,
                        .smoothingBins = 2.0},
                       [](double) { return 0.0; });
        // A bin-centred sine lies in three bins (its own and the two beside
        // it); read away from the track's ends, whose frames spread it wider.
        const std::size_t edge = FramesIn(0.25, rate);
        const auto middle = [&](const std::vector<double>& values)
        { return std::span<const double>(values).first(values.size() - edge); };
        const double amplitude = GoertzelAmplitude(middle(samples), frequency, rate, edge);
        const double expected = GoertzelAmplitude(middle(sine), frequency, rate, edge);
        if (tone.bin == lowest - 2)
        {
            // Bins lowest - 3 .. lowest - 1 carry gains 1, 0.8 and 0.6.
            EXPECT_GT(amplitude, 0.6 * expected) << "bin " << tone.bin;
            EXPECT_LT(amplitude, 0.9 * expected) << "bin " << tone.bin;
        }
        else
        {
            EXPECT_NEAR(amplitude, tone.expectedGain * expected, 1e-9) << "bin " << tone.bin;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, BinGainPassAtRate, AddonTestRates(), RateTestName);
