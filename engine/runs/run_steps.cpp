#include "engine/runs/run_steps.h"

#include "engine/decibels.h"
#include "engine/loudness/loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace
{

// A loudness gain this small is no gain at all.
constexpr double kNegligibleGainDb = 1e-9;

// Dynamics fingerprints carry between one and eight bands.
constexpr int kMaxDynamicsBands = 8;

// The first profile format version that carries the full analysis metadata.
constexpr uint32_t kCurrentMetadataVersion = 4;

const char* DynamicsSetError(const std::vector<DynamicsSet>& sets)
{
    for (const DynamicsSet& set : sets)
    {
        if (set.bandCount < 1 || set.bandCount > kMaxDynamicsBands)
        {
            return "profile dynamics set has invalid band count";
        }
        if (set.bandRms.size() != static_cast<std::size_t>(set.bandCount))
        {
            return "profile dynamics fingerprint is inconsistent";
        }
    }
    return nullptr;
}

} // namespace

ProfileCompatibility CheckProfileCompatibility(const ReferenceProfile& profile,
                                               const EngineRequest& request)
{
    const MatchSettings& settings = request.settings;
    ProfileCompatibility result;
    if (settings.internalSampleRate != profile.sampleRate)
    {
        result.errors.push_back("sample rate mismatch");
    }
    const SpectrumSet* spectra = FindSpectrumSet(profile, settings.fftSize);
    if (spectra == nullptr)
    {
        result.errors.push_back("FFT size mismatch");
    }
    else if (spectra->mid.empty() || spectra->side.empty())
    {
        result.errors.push_back("profile spectra are missing");
    }
    if (const char* dynamicsError = DynamicsSetError(profile.dynamicsSets))
    {
        result.errors.push_back(dynamicsError);
    }

    if (profile.version < kCurrentMetadataVersion)
    {
        result.warnings.push_back("profile uses older metadata version");
    }
    if (settings.linLogOversampling != profile.linLogOversampling)
    {
        result.warnings.push_back("profile oversampling metadata differs");
    }
    if (settings.psychoacoustic != profile.psychoacoustic)
    {
        result.warnings.push_back("profile psychoacoustic metadata differs");
    }
    if (settings.adaptiveStrength != profile.adaptiveStrength)
    {
        result.warnings.push_back("profile adaptive-strength metadata differs");
    }
    if (!profile.hasIntegratedLufs)
    {
        result.warnings.push_back("profile has no integrated LUFS target");
    }
    if (!profile.hasShortTermDistribution)
    {
        result.warnings.push_back("profile has no short-term loudness distribution");
    }
    return result;
}

std::string ProfileIncompatibleText(const ProfileCompatibility& compatibility)
{
    std::string text = "Reference profile incompatible:";
    for (const std::string& error : compatibility.errors)
    {
        text += " " + error + ";";
    }
    return text;
}

const SpectrumSet* FindSpectrumSet(const ReferenceProfile& profile, int fftSize)
{
    for (const SpectrumSet& set : profile.spectrumSets)
    {
        if (set.fftSize == fftSize)
        {
            return &set;
        }
    }
    return nullptr;
}

double ComputeStage4Ceiling(double baseCeiling, double referencePeak, double strength, double floor)
{
    const double base = std::max(baseCeiling, floor);
    if (referencePeak <= 0.0)
    {
        return base;
    }
    const double peak = std::clamp(referencePeak, floor, base);
    const double share = std::clamp(strength, 0.0, 1.0);
    return base + (peak - base) * share;
}

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
