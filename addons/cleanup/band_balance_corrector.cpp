#include "addons/cleanup/band_balance_corrector.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"
#include "engine/decibels.h"
#include "engine/dsp/one_pole_low_pass.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace
{

enum Param
{
    MidBalance,
    HighBalance
};

constexpr AddonIdentity kIdentity{
    "band_balance_corrector", "Band Balance Corrector",
    "Pushes fixed mid and high bands left or right to offset persistent image bias.",
    "Use when the stereo bias view shows mids or highs leaning to one side over time.",
    ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"mid_balance.amount", "Mid Balance", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
    {"high_balance.amount", "High Balance", kAddonParamContinuous, -1.0, 1.0, 0.0, 0.01, ""},
}};

constexpr double kIdleBalance = 1e-6;
constexpr double kMidLowerHz = 350.0;
constexpr double kMidUpperHz = 2400.0;
// The lean at a balance of 1, for each side of the band.
constexpr double kMidLeanDb = 1.5;
constexpr double kHighLeanDb = 2.0;

double CornerPole(double cornerHz, double fs)
{
    return OnePoleCoefficient(ClampToRange(cornerHz, 20.0, 0.475 * fs), fs);
}

// The gains of one channel's middle and high bands.
struct BandGains
{
    double middle;
    double high;
};

} // namespace

BandBalanceCorrector::BandBalanceCorrector() : AddonBase(kIdentity, kTable)
{
}

// Two one-pole low-passes cut each channel into low (below 350 Hz), middle and
// high (above 2400 Hz) bands that sum back to the input; a positive balance
// lowers a band on the left and raises it on the right by the same dB. The
// lows, which carry the mono foundation, never move.
void BandBalanceCorrector::process(AudioBuffer& buffer, const ProcessContext& context)
{
    if (!IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const double bm = ClampToRange(Value(MidBalance), -1.0, 1.0);
    const double bh = ClampToRange(Value(HighBalance), -1.0, 1.0);
    if (std::fabs(bm) <= kIdleBalance && std::fabs(bh) <= kIdleBalance)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double fs = context.sampleRate;
    const double upperPole = CornerPole(kMidUpperHz, fs);
    const double lowerPole = CornerPole(kMidLowerHz, fs);
    const std::array<BandGains, 2> gains{{
        {DbToGain(-kMidLeanDb * bm), DbToGain(-kHighLeanDb * bh)},
        {DbToGain(kMidLeanDb * bm), DbToGain(kHighLeanDb * bh)},
    }};
    std::array<double, 2> belowUpper{};
    std::array<double, 2> belowLower{};
    for (std::size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (std::size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double below2400 = OnePoleLowPassStep(belowUpper[channel], x, upperPole);
            const double below350 = OnePoleLowPassStep(belowLower[channel], x, lowerPole);
            x = below350 + (below2400 - below350) * gains[channel].middle +
                (x - below2400) * gains[channel].high;
        }
    }
}
