#include "addons/cleanup/dc_blocker.h"

#include "addons/kit/clamp_range.h"
#include "addons/kit/dc_blocker.h"
#include "addons/kit/denormal_flush.h"
#include "addons/kit/entry_guard.h"

#include <cmath>
#include <numbers>

namespace
{

enum Param
{
    Amount,
    CutoffHz
};

constexpr AddonIdentity kIdentity{
    "dc_blocker", "DC Blocker", "Removes DC offset and ultra-low drift before analysis.",
    "Use by default as a safe corrective cleanup stage.", ChainPreMatch};

constexpr std::array<AddonParamDef, 2> kTable{{
    {"amount", "Amount", kAddonParamContinuous, 0.0, 1.0, 1.0, 0.01, ""},
    {"cutoff_hz", "Cutoff", kAddonParamContinuous, 2.0, 40.0, 10.0, 0.5, "Hz"},
}};

} // namespace

DCBlocker::DCBlocker() : AddonBase(kIdentity, kTable)
{
}

// The pole sits at exp(-2 pi fc / fs), so a step dies away with the time
// constant 1 / (2 pi fc): about 16 ms at the default 10 Hz.
void DCBlocker::process(AudioBuffer& buffer, const ProcessContext& context)
{
    const double a = ClampToRange(Value(Amount), 0.0, 1.0);
    if (a <= 0.0 || !IsWholeStereoBuffer(buffer) || context.sampleRate <= 0)
    {
        return;
    }
    const ScopedDenormalFlush flush;
    const double cutoff = ClampToRange(Value(CutoffHz), 2.0, 40.0);
    const double pole = std::exp(-2.0 * std::numbers::pi * cutoff / context.sampleRate);
    for (size_t i = 0; i < buffer.samples.size(); i += 2)
    {
        for (size_t channel = 0; channel < 2; ++channel)
        {
            double& x = buffer.samples[i + channel];
            const double y =
                DcBlockStep(m_previousInput[channel], m_previousOutput[channel], x, pole);
            x = x * (1.0 - a) + y * a;
        }
    }
}
