#include "addons/eq/master_deesser.h"

#include "engine/decibels.h"
#include "tests/support/addon_run.h"
#include "tests/support/addon_test_rates.h"
#include "tests/support/signals.h"
#include "tests/support/tone_level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <numbers>

namespace
{

class MasterDeEsserAtRate : public ::testing::TestWithParam<int>
{
};

// A tone in both channels, silent outside [start, end) seconds and shaped by
// raised-cosine ramps of `rampSeconds` at both ends.
AudioBuffer Burst(double toneHz, int rate, double seconds, double start, double end,
                  double amplitude, double rampSeconds)
{
    AudioBuffer buffer = StereoSine(toneHz, rate, seconds, amplitude);
    for (size_t frame = 0; frame < buffer.samples.size() / 2; ++frame)
    {
        const double t = static_cast<double>(frame) / rate;
        const double in = std::min(t - start, end - t) / rampSeconds;
        const double shape = in <= 0.0   ? 0.0
                             : in >= 1.0 ? 1.0
                                         : 0.5 - 0.5 * std::cos(std::numbers::pi * in);
        buffer.samples[2 * frame] *= shape;
        buffer.samples[2 * frame + 1] *= shape;
    }
    return buffer;
}

} // namespace

// A loud 7 kHz burst above a 4 kHz frequency is cut by 3 dB or more while it
// lasts; a 1 kHz tone at -12 dBFS, faded in so that it starts no transient,
// stays under the threshold and keeps every bit.
TEST_P(MasterDeEsserAtRate, CutsALoudSibilantBurstAndSparesTheTone)
{
    const int rate = GetParam();
    const AudioBuffer burst = Burst(7000.0, rate, 1.0, 0.25, 0.75, 0.5, 0.002);
    const AudioBuffer cut = ProcessedBy<MasterDeEsser>(burst, {{"frequency_hz", 4000.0}});
    const size_t from = FramesIn(0.3, rate);
    const size_t to = FramesIn(0.7, rate);
    AudioBuffer burstPart = burst;
    AudioBuffer cutPart = cut;
    burstPart.samples.assign(burst.samples.begin() + 2 * from, burst.samples.begin() + 2 * to);
    cutPart.samples.assign(cut.samples.begin() + 2 * from, cut.samples.begin() + 2 * to);
    const double cutDb = ToneGainDb(burstPart, cutPart, 7000.0, 0);
    std::cout << "7 kHz burst at -6 dBFS, " << rate << " Hz: cut by " << -cutDb << " dB\n";
    EXPECT_LE(cutDb, -3.0);

    const AudioBuffer tone = Burst(1000.0, rate, 1.0, 0.0, 2.0, DbToGain(-12.0), 0.05);
    EXPECT_TRUE(ProcessedBy<MasterDeEsser>(tone, {{"frequency_hz", 4000.0}}).samples ==
                tone.samples);
}

// The high output carries the Nyquist tone whole, so there the gain is G
// itself: a loud one is cut by 12 dB times the amount, and no more.
TEST_P(MasterDeEsserAtRate, NoCutPassesTwelveDbTimesTheAmount)
{
    const int rate = GetParam();
    for (double amount : {0.3, 1.0})
    {
        AudioBuffer input;
        input.sampleRate = rate;
        for (int i = 0; i < rate; ++i)
        {
            input.samples.push_back(i % 2 == 0 ? 1.5 : -1.5);
            input.samples.push_back(i % 2 == 0 ? 1.5 : -1.5);
        }
        const AudioBuffer output = ProcessedBy<MasterDeEsser>(input, {{"amount", amount}});
        EXPECT_NEAR(output.samples.back() / input.samples.back(), DbToGain(-12.0 * amount), 1e-9)
            << "amount " << amount;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, MasterDeEsserAtRate, AddonTestRates(), RateTestName);
