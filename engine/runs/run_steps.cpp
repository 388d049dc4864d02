#include "engine/runs/run_steps.h"

#include "engine/decibels.h"
#include "engine/loudness/loudness.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{

// A loudness gain this small is no gain at all.
constexpr double kNegligibleGainDb = 1e-9;

} // namespace

LateStageInputs LateStageInputsOf(const ReferenceProfile& profile, double makeupCoefficient)
{
    LateStageInputs late;
    late.makeupCoefficient = makeupCoefficient;
    late.truePeak = profile.truePeak;
    late.hasIntegratedLufs = profile.hasIntegratedLufs;
    late.integratedLufs = profile.integratedLufs;
    late.hasShortTermDistribution = profile.hasShortTermDistribution;
    std::copy(std::begin(profile.shortTermLufsPercentiles),
              std::end(profile.shortTermLufsPercentiles), late.shortTermLufsPercentiles.begin());
    late.loudnessRange = profile.loudnessRange;
    return late;
}

MidSideMagnitudes LinearTargets(const SpectrumSet& set)
{
    MidSideMagnitudes targets;
    targets.mid.reserve(set.mid.size());
    targets.side.reserve(set.side.size());
    for (double valueDb : set.mid)
    {
        targets.mid.push_back(DbToGain(valueDb));
    }
    for (double valueDb : set.side)
    {
        targets.side.push_back(DbToGain(valueDb));
    }
    return targets;
}

ToneMatchSettings ToneSettingsOf(const MatchSettings& settings)
{
    ToneMatchSettings tone;
    tone.fftSize = settings.fftSize;
    tone.linLogOversampling = settings.linLogOversampling;
    tone.toneReserved = settings.toneReserved;
    tone.smoothingOctaveDenominator = settings.smoothingOctaveDenominator;
    tone.floor = settings.floor;
    tone.sideAmount = settings.stereoWidthAmount * settings.stereoBoostAmount;
    tone.psychoacoustic = settings.psychoacoustic;
    tone.adaptiveStrength = settings.adaptiveStrength;
    tone.stage2Strength = settings.stage2Strength;
    return tone;
}

DynamicsSettings DynamicsSettingsOf(const MatchSettings& settings, const LateStageInputs& late,
                                    double toneConfidence, int sampleRate, DynamicsMetrics* metrics)
{
    DynamicsSettings dynamics;
    dynamics.iterations = settings.stage3Iterations;
    dynamics.floor = settings.floor;
    dynamics.strength = toneConfidence * settings.stage3Strength;
    dynamics.macroStrength = settings.stage3MacroStrength;
    dynamics.sampleRate = sampleRate;
    dynamics.hasShortTermDistribution = late.hasShortTermDistribution;
    dynamics.shortTermLufsPercentiles = late.shortTermLufsPercentiles;
    dynamics.loudnessRange = late.loudnessRange;
    dynamics.metrics = metrics;
    return dynamics;
}

ProcessContext PreMatchContextOf(const MatchSettings& settings, int sampleRate)
{
    ProcessContext context;
    context.sampleRate = sampleRate;
    context.floor = settings.floor;
    context.ceiling = settings.peakCeiling;
    return context;
}

ProcessContext LaterContextOf(const MatchSettings& settings, const LateStageInputs& late,
                              double ceiling, int sampleRate)
{
    ProcessContext context;
    context.sampleRate = sampleRate;
    context.floor = settings.floor;
    context.ceiling = ceiling;
    context.hasIntegratedLufs = late.hasIntegratedLufs;
    context.integratedLufs = late.integratedLufs;
    context.hasLoudnessRange = late.hasShortTermDistribution;
    context.loudnessRange = late.loudnessRange;
    return context;
}

void ScaleSamples(AudioBuffer& buffer, double gain)
{
    for (double& sample : buffer.samples)
    {
        sample *= gain;
    }
}

LoudnessMove ApplyMakeupAndLoudness(AudioBuffer& buffer, const LateStageInputs& late,
                                    double loudnessStrength)
{
    if (late.makeupCoefficient != 1.0)
    {
        ScaleSamples(buffer, late.makeupCoefficient);
    }
    LoudnessMove move;
    if (!late.hasIntegratedLufs)
    {
        return move;
    }
    const LoudnessStats stats = MeasureLoudness(buffer);
    if (!stats.hasIntegratedLufs)
    {
        return move;
    }
    move.measuredLufs = stats.integratedLufs;
    const double gainDb =
        (late.integratedLufs - stats.integratedLufs) * std::clamp(loudnessStrength, 0.0, 1.0);
    const double gain = DbToGain(gainDb);
    if (std::fabs(gainDb) > kNegligibleGainDb && gain != 1.0)
    {
        ScaleSamples(buffer, gain);
        move.gainDb = gainDb;
    }
    return move;
}
