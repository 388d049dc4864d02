#include "addons/spectral/spectral_correlation_guard.h"

#include "tests/support/addon_run.h"
#include "tests/support/signals.h"
#include "tests/support/spectrum_measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

namespace
{

constexpr int kRate = 48000;

// Wide, uncorrelated stereo: every bin's correlation wanders between -1 and 1.
AudioBuffer WideNoise()
{
    return StereoNoise(kRate, 2.0, 0.5, 21);
}

// The right channel the left one inverted: every bin's correlation is -1.
AudioBuffer OutOfPhase()
{
    const std::vector<double> left = Noise(FramesIn(3.0, kRate), 0.5, 22);
    std::vector<double> right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i)
    {
        right[i] = -left[i];
    }
    return InterleaveStereo(left, right, kRate);
}

const AddonSetting kSettings[] = {
    {},
    {{"amount", 1.0}, {"correlation_threshold", 1.0}, {"smoothing_bins", 0.0}},
    {{"amount", 0.3}, {"correlation_threshold", -0.5}, {"hold_ms", 500.0}},
    {{"amount", 1.0}, {"correlation_threshold", 0.5}, {"smoothing_bins", 12.0}, {"mix", 0.5}},
};

void ExpectSameWithin(const std::vector<double>& got, const std::vector<double>& want,
                      double tolerance, const char* what)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
    {
        ASSERT_NEAR(got[i], want[i], tolerance) << what << ", value " << i;
    }
}

std::vector<double> MonoFold(const AudioBuffer& buffer)
{
    std::vector<double> sum(buffer.samples.size() / 2);
    for (std::size_t i = 0; i < sum.size(); ++i)
    {
        sum[i] = buffer.samples[2 * i] + buffer.samples[2 * i + 1];
    }
    return sum;
}

} // namespace

TEST(BinCorrelation, IsTheCosineOfThePhaseDifferenceAndOneWhereASideIsSilent)
{
    using C = std::complex<double>;
    struct Case
    {
        C left;
        C right;
        double correlation;
    };
    const Case cases[] = {
        {C(3.0, 4.0), C(6.0, 8.0), 1.0},         {C(3.0, 4.0), C(-0.3, -0.4), -1.0},
        {C(1.0, 0.0), C(0.0, 2.0), 0.0},         {C(1.0, 1.0), C(0.0, 5.0), std::sqrt(0.5)},
        {C(100.0, 0.0), C(0.0, 0.0), 1.0},       {C(0.0, 0.0), C(-1.0, 0.0), 1.0},
        {C(1e-10, 0.0), C(-1e-10, 0.0), 1.0},    // too quiet for a phase
        {C(1000.0, 0.0), C(-3e-13, 1e-13), 1.0}, // the rounding residue of a silent side
        {C(1.0, 0.0), C(-1e-8, 0.0), -1.0},      // quiet, but not silent
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(BinCorrelation(c.left, c.right), c.correlation, 1e-12)
            << c.left << " with " << c.right;
    }
}

TEST(CorrelationNarrowing, RisesOnASmoothstepFromTheThresholdToMinusOne)
{
    struct Case
    {
        double envelope;
        double threshold;
        double amount;
        double narrowing;
    };
    const Case cases[] = {
        {0.0, 0.0, 1.0, 0.0},  // at the threshold: left alone
        {0.5, 0.0, 1.0, 0.0},  //
        {-1.0, 0.0, 1.0, 1.0}, // fully out of phase: the whole amount
        {-1.0, 0.0, 0.6, 0.6}, //
        {-0.5, 0.0, 1.0, 0.5}, // half way: the smoothstep's middle
        {-0.75, 0.0, 1.0, (3.0 - 1.5) * 0.5625},
        {0.0, 0.5, 1.0, (3.0 - 2.0 / 3.0) / 9.0},
        {-1.0, -1.0, 1.0, 0.0},        // no envelope lies below -1
        {-1.0, -1.0 + 1e-7, 0.8, 0.8}, // a threshold at -1 to rounding: all or nothing
    };
    for (const Case& c : cases)
    {
        EXPECT_NEAR(CorrelationNarrowing(c.envelope, c.threshold, c.amount), c.narrowing, 1e-12)
            << "envelope " << c.envelope << ", threshold " << c.threshold;
    }
}

// Whatever the setting, a mono track comes back as it was, and the mono
// fold-down of any track does too: the blend moves both sides towards their
// mid by the same share.
TEST(SpectralCorrelationGuard, LeavesMonoAndTheMonoFoldDownAlone)
{
    const AudioBuffer mono = StereoSine(440.0, kRate, 1.0, 0.3);
    AudioBuffer monoNoise = WideNoise();
    for (std::size_t i = 0; i < monoNoise.samples.size(); i += 2)
    {
        monoNoise.samples[i + 1] = monoNoise.samples[i];
    }
    const AudioBuffer wide = WideNoise();
    for (const AddonSetting& setting : kSettings)
    {
        ExpectSameWithin(ProcessedBy<SpectralCorrelationGuard>(mono, setting).samples, mono.samples,
                         1e-12, "mono sine");
        ExpectSameWithin(ProcessedBy<SpectralCorrelationGuard>(monoNoise, setting).samples,
                         monoNoise.samples, 1e-12, "mono noise");
        const AudioBuffer guarded = ProcessedBy<SpectralCorrelationGuard>(wide, setting);
        EXPECT_FALSE(guarded.samples == wide.samples);
        ExpectSameWithin(MonoFold(guarded), MonoFold(wide), 1e-12, "fold-down");
    }
}

// Once the envelopes have settled at -1, the bins of an out-of-phase track
// keep 1 - amount of their content: the whole amount silences the band.
TEST(SpectralCorrelationGuard, NarrowsAnOutOfPhaseTrackByTheAmount)
{
    const AudioBuffer input = OutOfPhase();
    struct Case
    {
        double amount;
        double keptDb;
        double tolerance;
    };
    const Case cases[] = {{0.6, 20.0 * std::log10(0.4), 0.05}, {1.0, -200.0, 140.0}};
    for (const Case& c : cases)
    {
        const AudioBuffer output =
            ProcessedBy<SpectralCorrelationGuard>(input, {{"amount", c.amount}});
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            const double keptDb =
                BandGainDb(input.samples, output.samples, 2 * FramesIn(0.5, kRate) + channel,
                           1 << 16, kRate, 200.0, 15000.0, 2);
            EXPECT_NEAR(keptDb, c.keptDb, c.tolerance)
                << "amount " << c.amount << ", channel " << channel;
        }
    }
}

// A threshold of -1 disables the guard; a bin sounding on one side only is in
// no danger in mono, so a silent side leaves the other as it is even at the
// strictest threshold.
TEST(SpectralCorrelationGuard, LeavesTracksAloneAtThresholdMinusOneOrWithASilentSide)
{
    for (const AudioBuffer& input : {WideNoise(), OutOfPhase()})
    {
        const AudioBuffer output = ProcessedBy<SpectralCorrelationGuard>(
            input, {{"correlation_threshold", -1.0}, {"amount", 1.0}});
        ExpectSameWithin(output.samples, input.samples, 1e-12, "threshold -1");
    }
    AudioBuffer oneSided = WideNoise();
    for (std::size_t side = 0; side < 2; ++side)
    {
        AudioBuffer input = oneSided;
        for (std::size_t i = side; i < input.samples.size(); i += 2)
        {
            input.samples[i] = 0.0;
        }
        const AudioBuffer output = ProcessedBy<SpectralCorrelationGuard>(
            input, {{"correlation_threshold", 1.0}, {"amount", 1.0}});
        ExpectSameWithin(output.samples, input.samples, 1e-12, "one side silent");
    }
}

// Bad input beyond the frame's checks: short tracks, samples that are not
// finite.
TEST(SpectralCorrelationGuard, ShortTracksAndNonFiniteSamplesEndTheCall)
{
    for (std::size_t frames : {1u, 3u, 5000u})
    {
        AudioBuffer input;
        input.sampleRate = kRate;
        input.samples = Noise(2 * frames, 0.5, 9);
        const AudioBuffer output = ProcessedBy<SpectralCorrelationGuard>(input, {{"amount", 1.0}});
        ASSERT_EQ(output.samples.size(), input.samples.size());
        EXPECT_TRUE(AllFinite(output)) << frames << " frames";
    }
    const AudioBuffer clean = WideNoise();
    const AudioBuffer cleanOutput = ProcessedBy<SpectralCorrelationGuard>(clean);
    const std::size_t bad = FramesIn(1.0, kRate);
    for (double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()})
    {
        AudioBuffer input = clean;
        input.samples[2 * bad] = value;
        const AudioBuffer output = ProcessedBy<SpectralCorrelationGuard>(input);
        ASSERT_EQ(output.samples.size(), input.samples.size());
        for (std::size_t i = 0; i + 4096 <= bad; ++i)
        {
            ASSERT_EQ(output.samples[2 * i], cleanOutput.samples[2 * i])
                << value << ", frame " << i;
        }
    }
}
