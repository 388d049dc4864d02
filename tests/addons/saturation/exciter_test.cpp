#include "addons/saturation/exciter.h"

#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/harmonic_level.h"
#include "tests/support/signals.h"

#include <gtest/gtest.h>

#include <iostream>

namespace
{

class ExciterAtRate : public ::testing::TestWithParam<int>
{
};

} // namespace

// Only the band above the focus is driven: a 200 Hz sine lies almost wholly
// under it and gains far less 3rd harmonic than a 6 kHz one.
TEST_P(ExciterAtRate, DrivesOnlyTheBandAboveTheFocus)
{
    const int rate = GetParam();
    const AddonSetting setting = {{"amount", 1.0}, {"drive_db", 12.0}, {"focus_hz", 4500.0}};
    double thirdDb[2];
    const double frequencies[2] = {200.0, 6000.0};
    for (int k = 0; k < 2; ++k)
    {
        const AudioBuffer input = StereoSine(frequencies[k], rate, 1.0, 0.5);
        const AudioBuffer output = ProcessedBy<Exciter>(input, setting);
        thirdDb[k] = HarmonicDb(output, frequencies[k], 3, FramesIn(0.5, rate));
    }
    std::cout << "[ exciter  ] " << rate << " Hz: 3rd harmonic of 200 Hz " << thirdDb[0]
              << " dB, of 6 kHz " << thirdDb[1] << " dB\n";
    EXPECT_GT(thirdDb[1] - thirdDb[0], 30.0) << "the lows must stay nearly clean";
    EXPECT_GT(thirdDb[1], -30.0) << "the highs must gain harmonics";
}

INSTANTIATE_TEST_SUITE_P(Rates, ExciterAtRate, AddonTestRates(), RateTestName);

// Its two low-pass states live in the object: a track in two calls on one
// exciter comes out as in one call.
TEST(Exciter, CarriesItsFilterStatesFromOneCallToTheNext)
{
    const AudioBuffer track = StereoNoise(48000, 0.5, 0.7, 3);
    const AudioBuffer whole = ProcessedBy<Exciter>(track);

    const size_t half = track.samples.size() / 2;
    AudioBuffer first = track;
    first.samples.resize(half);
    AudioBuffer second = track;
    second.samples.erase(second.samples.begin(), second.samples.begin() + half);
    Exciter exciter;
    first = ProcessedBy(exciter, first);
    second = ProcessedBy(exciter, second);
    first.samples.insert(first.samples.end(), second.samples.begin(), second.samples.end());
    EXPECT_TRUE(first.samples == whole.samples);
}
